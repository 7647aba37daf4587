#include "app/orvel.h"

#include <filesystem>

#include "app/application.h"
#include "app/orvel_resources.h"
#include "ui/message_box.h"

namespace {

// Tab pages: text and the one-label form that fills the page until its window exists.
struct TabPage {
    const char* text;
    const char* form;
};
constexpr TabPage kTabPages[8] = {
    {"Приемник", "rcv"}, {"Банк", "cfreq"},  {"Диап", "cdiap"},    {"Группа", "cgroup"},
    {"Задание", "cjob"}, {"Текст", "cinfo"}, {"Сигнал", "cfield"}, {"Параметры", "parm"},
};

// Right edges of the status bar parts, in pixels; the last one reaches the window's edge.
const std::vector<int> kStatusParts = {152, 192, 227, 266, 336, 396, 466, -1};

bool ShowFdxMessage(const FDX& fdx, const MessageRequest& r) {
    ui::MessageBoxRequest box;
    box.owner = fdx.Owner;
    box.text = r.text;
    box.caption = r.caption;
    box.icon = r.icon == MessageIcon::Stop ? ui::MessageIcon::Stop : ui::MessageIcon::Exclamation;
    box.buttons = r.yesNo ? ui::MessageButtons::YesNo : ui::MessageButtons::Ok;
    const ui::MessageAnswer answer = ui::ShowMessageBox(box);
    return answer == ui::MessageAnswer::Yes || answer == ui::MessageAnswer::Ok;
}

std::string CurrentFolder() {
    std::string dir = std::filesystem::current_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace

ORVEL::ORVEL() {
    RegisterOrvelResources();
    MessageBox = ShowFdxMessage;
    AddHandler(ui::EventId::Create, [this](ui::Object&, ui::EventData&) {
        OnCreate();
        return false;
    });
    AddHandler(ui::EventId::Destroy, [this](ui::Object&, ui::EventData&) {
        OnDestroy();
        return false;
    });
    // The base close handler: an accepted close of the main form ends the program.
    AddHandler(ui::EventId::Close, [this](ui::Object&, ui::EventData&) {
        Alive = false;
        if (MainForm == this) ui::Application::Quit(0);
        return false;
    });
}

ORVEL::~ORVEL() {
    Destroy();
}

bool ORVEL::Create() {
    return ui::Form::Create("ID_ORVEL");
}

void ORVEL::OnCreate() {
    CenterOnParent();
    CreateControls();
    statusBar = Adopt(std::make_unique<ui::StatusBar>(this));
    CreatePages();
    InitMainForm();
    Show();
}

void ORVEL::CreateControls() {
    op = CreateControl<ui::TreeView>(101);
    tabctrl_1 = CreateControl<ui::TabControl>(102);
    groupb_1 = CreateControl<ui::GroupBox>(103);
    pictbttn_2 = CreateControl<ui::PictureButton>(104);
    pictbttn_3 = CreateControl<ui::PictureButton>(105);
    start = CreateControl<ui::CommandButton>(106);
    ft = CreateControl<ui::ComboBox>(107);
    ftup = CreateControl<ui::UpDown>(108);
    nfm = CreateControl<ui::OptionButton>(109);
    label_1 = CreateControl<ui::Label>(110);
    wfm = CreateControl<ui::OptionButton>(111);
    am = CreateControl<ui::OptionButton>(112);
    lsb = CreateControl<ui::OptionButton>(113);
    usb = CreateControl<ui::OptionButton>(114);
    cw = CreateControl<ui::OptionButton>(115);
    Jornal = CreateControl<ui::Label>(116);
    label_4 = CreateControl<ui::Label>(118);
    label_7 = CreateControl<ui::Label>(119);
    pictbttn_1 = CreateControl<ui::PictureButton>(120);
    pictbttn_4 = CreateControl<ui::PictureButton>(121);
    pictb_1 = CreateControl<ui::PictureBox>(122);
    progb_1 = CreateControl<ui::ProgressBar>(123);
    pause = CreateControl<ui::CommandButton>(124);
    step = CreateControl<ui::ComboBox>(126);
    groupb_2 = CreateControl<ui::GroupBox>(127);
    clock = CreateControl<ui::Label>(128);
    pictbttn_5 = CreateControl<ui::PictureButton>(129);
    pictbttn_6 = CreateControl<ui::PictureButton>(130);
    pictbttn_7 = CreateControl<ui::PictureButton>(131);
    pictbttn_8 = CreateControl<ui::PictureButton>(132);
    pictbttn_9 = CreateControl<ui::PictureButton>(133);
    pictbttn_10 = CreateControl<ui::PictureButton>(134);
    pictbttn_11 = CreateControl<ui::PictureButton>(136);
    pictbttn_12 = CreateControl<ui::PictureButton>(137);
    pictbttn_13 = CreateControl<ui::PictureButton>(138);
    rtty = CreateControl<ui::OptionButton>(139);

    tabctrl_1->SetTabSize(96, 16);
    ft->SetListHeight(125);
    step->SetListHeight(125);
    ftup->SetRange(0, 9);
    ftup->SetPosition(0);
    progb_1->SetMaximum(255);
    progb_1->SetPosition(0);
    progb_1->SetStep(1);
    progb_1->SetBarColor(0x00c000);
    label_4->SetTextColor(0xff0000);
    label_7->SetTextColor(0x0000ff);
    clock->SetTextColor(0x000080);
}

void ORVEL::CreatePages() {
    for (int i = 0; i < 8; ++i) {
        pages[i] = std::make_unique<PageForm>(kTabPages[i].form);
        pages[i]->Create(this);
        tabctrl_1->AddTab(kTabPages[i].text);
        tabctrl_1->SetPage(i, pages[i].get());
    }
}

void ORVEL::InitMainForm() {
    Owner = this;
    ProgramDir = CurrentFolder();
    statusBar->SetParts(kStatusParts);
    statusBar->SetPartText(0, "Сканирование по Шкале");
    wfm->SetChecked(true);
    step->SetText("25.0");
    BuildLevelTable();
    Alive = true;
    timer.Start(100);
}

void ORVEL::OnDestroy() {
    timer.Stop();
    Alive = false;
    for (auto& page : pages) page.reset();
}
