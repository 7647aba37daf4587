#include "app/line.h"

#include <cstdio>
#include <initializer_list>

#include "app/orvel_ini.h"
#include "receivers/panel_registry.h"
#include "state/fdx.h"
#include "state/message_bus.h"
#include "state/user_job.h"
#include "ui/post.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height.
// clang-format off
constexpr ui::ControlResource kLineControls[] = {
    {101, ControlKind::ComboBox, "com", {59, 12, 56, 77}, 0, nullptr, nullptr},
    {102, ControlKind::Label, "label_1", {11, 15, 48, 9}, st::kNoWrap, "Номер порта:", nullptr},
    {103, ControlKind::ComboBox, "speed", {59, 27, 56, 77}, 0, nullptr, nullptr},
    {104, ControlKind::Label, "label_2", {12, 30, 45, 9}, st::kNoWrap, "Скорость:", nullptr},
    {105, ControlKind::Label, "label_3", {78, 3, 132, 9}, st::kNoWrap, "ПАРАМЕТРЫ   НАСТРОЙКИ", nullptr},
    {106, ControlKind::ComboBox, "recv", {59, 41, 56, 77}, 0, nullptr, nullptr},
    {107, ControlKind::Label, "label_4", {11, 45, 42, 9}, st::kNoWrap, "Приемник:", nullptr},
    {108, ControlKind::CommandButton, "cb_1", {96, 195, 63, 12}, 0, "Записать", nullptr},
    {109, ControlKind::OptionButton, "natural", {12, 92, 213, 10}, 0, "Все циклы  диапазона = переход к следующему диапазону", nullptr},
    {110, ControlKind::OptionButton, "one_cycle", {12, 102, 213, 10}, 0, "Один цикл  диапазона = переход к следующему диапазону", nullptr},
    {111, ControlKind::OptionButton, "one_mes", {12, 112, 234, 10}, 0, "Одно измерение  диапазона = переход к следующему диапазону", nullptr},
    {112, ControlKind::GroupBox, "groupb_1", {9, 81, 240, 44}, 0, "______________ СТИЛЬ СКАНИРОВАНИЯ В ГРУППЕ __________", nullptr},
    {113, ControlKind::GroupBox, "groupb_2", {9, 156, 240, 36}, 0, "_____СОХРАНЕНИЕ ИНФОРМАЦИИ ПРИ ПЕРЕЗАГРУЗКЕ ______", nullptr},
    {114, ControlKind::CheckBox, "recv_save", {30, 168, 198, 9}, 0, "Информация о состоянии приемника - банки, частоты", nullptr},
    {115, ControlKind::CheckBox, "scan_save", {30, 180, 195, 9}, 0, "Информация сканирования - диапазоны, измерения", nullptr},
    {116, ControlKind::CheckBox, "autovalue", {27, 57, 108, 11}, 0, "Постоянный опрос частоты", nullptr},
    {117, ControlKind::CheckBox, "spy", {12, 135, 108, 11}, 0, "Автоматическое слежение", nullptr},
    {120, ControlKind::ComboBox, "autoexec", {120, 39, 129, 77}, 0, nullptr, nullptr},
    {121, ControlKind::Label, "label_7", {120, 30, 69, 8}, st::kNoWrap, "Задание при старте:", nullptr},
    {122, ControlKind::CheckBox, "dB", {27, 69, 100, 11}, 0, "Величина сигналов в дБ", nullptr},
    {123, ControlKind::CheckBox, "algroup", {162, 195, 96, 9}, st::kHidden | st::kDisabled, "Выравнивание в группе", nullptr},
    {124, ControlKind::CheckBox, "sound", {135, 126, 120, 9}, 0, "Выкл звука при  сканировании", nullptr},
    {125, ControlKind::Edit, "plusFt", {207, 54, 42, 13}, 0, nullptr, nullptr},
    {126, ControlKind::Label, "label_5", {138, 57, 69, 11}, st::kNoWrap, "Приращение   Fт  +", nullptr},
    {127, ControlKind::Edit, "minFt", {207, 68, 42, 13}, 0, nullptr, nullptr},
    {128, ControlKind::Label, "label_6", {138, 69, 70, 10}, st::kNoWrap, "Уменьшение   Fт  -", nullptr},
    {129, ControlKind::CheckBox, "end_scan", {135, 135, 117, 10}, 0, "Извещение о завершении", nullptr},
    {130, ControlKind::CheckBox, "lg", {12, 125, 108, 11}, 0, "Логарифмическая шкала", nullptr},
    {131, ControlKind::CheckBox, "monitor", {39, 144, 177, 13}, 0, "Использовать разрешение монитора 800x600", nullptr},
};
// clang-format on

// The form fills the main window's parameters page, whose size it takes.
constexpr ui::FormResource kLine{"ID_line",  283,     209,          "8.MS Sans Serif",
                                 st::kChild, nullptr, kLineControls};

// Titles are drawn in colour 6 of the form library's sixteen-colour palette.
constexpr ui::Color kTitleColor = 0x008080;
constexpr int kListHeight = 125;

constexpr const char* kNoJob = "нет задания";

// The entry chosen in a list, or `kept` when none is (the value lay outside the list): a
// value from an odd file is written back as it was, never as a huge number.
int32_t ChosenOr(const ui::ComboBox* list, int32_t kept) {
    const int index = list->SelectedIndex();
    return index < 0 ? kept : index;
}

std::string MHzText(uint32_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "%8.4f", offset / 10000.0);
    return text;
}

}  // namespace

line::line() {
    ui::RegisterFormResource(kLine);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { OnDestroy(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    // The right mouse button runs the macro or trigger job, as on every window.
    AddHandler(ui::EventId::RightButtonUp, [this](ui::Object&, ui::EventData&) {
        if (fdx_) PostPrivateMessage(fdx_->Owner, PostRunMacro);
        return false;
    });
}

line::~line() {
    Destroy();
}

bool line::Create(ui::Form* parent, FDX* fdx) {
    if (fdx) fdx_ = fdx;
    if (!fdx_) return false;
    return ui::Form::Create("ID_line", parent);
}

void line::OnCreate() {
    CreateControls();
    FillFixedLists();
    WireEvents();
    InitControls();
    Show();
}

void line::CreateControls() {
    com = CreateControl<ui::ComboBox>(101);
    label_1 = CreateControl<ui::Label>(102);
    speed = CreateControl<ui::ComboBox>(103);
    label_2 = CreateControl<ui::Label>(104);
    label_3 = CreateControl<ui::Label>(105);
    recv = CreateControl<ui::ComboBox>(106);
    label_4 = CreateControl<ui::Label>(107);
    cb_1 = CreateControl<ui::CommandButton>(108);
    natural = CreateControl<ui::OptionButton>(109);
    one_cycle = CreateControl<ui::OptionButton>(110);
    one_mes = CreateControl<ui::OptionButton>(111);
    groupb_1 = CreateControl<ui::GroupBox>(112);
    groupb_2 = CreateControl<ui::GroupBox>(113);
    recv_save = CreateControl<ui::CheckBox>(114);
    scan_save = CreateControl<ui::CheckBox>(115);
    autovalue = CreateControl<ui::CheckBox>(116);
    spy = CreateControl<ui::CheckBox>(117);
    autoexec = CreateControl<ui::ComboBox>(120);
    label_7 = CreateControl<ui::Label>(121);
    dB = CreateControl<ui::CheckBox>(122);
    algroup = CreateControl<ui::CheckBox>(123);
    sound = CreateControl<ui::CheckBox>(124);
    plusFt = CreateControl<ui::Edit>(125);
    label_5 = CreateControl<ui::Label>(126);
    minFt = CreateControl<ui::Edit>(127);
    label_6 = CreateControl<ui::Label>(128);
    end_scan = CreateControl<ui::CheckBox>(129);
    lg = CreateControl<ui::CheckBox>(130);
    monitor = CreateControl<ui::CheckBox>(131);

    for (ui::ComboBox* list : {com, speed, recv, autoexec}) list->SetListHeight(kListHeight);
    for (ui::Window* title : std::initializer_list<ui::Window*>{label_3, groupb_1, groupb_2})
        title->SetTextColor(kTitleColor);
    // The template hides the alignment option; an explicit hide keeps it hidden when the
    // form itself is shown later.
    algroup->Hide();
    natural->SetChecked(true);
    recv_save->SetChecked(true);
    scan_save->SetChecked(true);
}

void line::FillFixedLists() {
    for (const char* text : kPortList) com->AddString(text);
    for (const char* text : kSpeedList) speed->AddString(text);
    for (const char* text : kReceiverList) recv->AddString(text);
}

void line::WireEvents() {
    cb_1->AddHandler(ui::EventId::Click, [this](ui::Object&, ui::EventData&) {
        WriteSettings();
        return false;
    });
    // Natural and one-cycle scans may follow signals; a single measurement per range may not.
    for (ui::OptionButton* style : {natural, one_cycle})
        style->AddHandler(ui::EventId::Click, [this, style](ui::Object&, ui::EventData&) {
            if (style->IsChecked()) spy->SetEnabled(true);
            return false;
        });
    one_mes->AddHandler(ui::EventId::Click, [this](ui::Object&, ui::EventData&) {
        OnOneMesClick();
        return false;
    });
}

// The form deletes the controls once the destroy event is over.
void line::OnDestroy() {
    com = speed = recv = autoexec = nullptr;
    label_1 = label_2 = label_3 = label_4 = label_5 = label_6 = label_7 = nullptr;
    cb_1 = nullptr;
    natural = one_cycle = one_mes = nullptr;
    groupb_1 = groupb_2 = nullptr;
    recv_save = scan_save = autovalue = spy = dB = algroup = sound = end_scan = lg = monitor =
        nullptr;
    plusFt = minFt = nullptr;
}

void line::OnOneMesClick() {
    if (one_mes->IsChecked()) {
        spy->SetChecked(false);
        spy->SetEnabled(false);
    } else {
        spy->SetEnabled(true);
    }
}

void line::InitControls() {
    // Receiver panels created after this form look at the mark (the start-up relies on it).
    fdx_->BuildingControls = 1;
    if (fdx_->OptMaxMon) {
        for (ui::Window* control : std::initializer_list<ui::Window*>{
                 com,     label_1,   speed,    label_2,  label_3,  recv,      label_4,   cb_1,
                 natural, one_cycle, one_mes,  groupb_1, groupb_2, recv_save, scan_save, autovalue,
                 spy,     autoexec,  label_7,  dB,       algroup,  sound,     plusFt,    label_5,
                 minFt,   label_6,   end_scan, lg,       monitor}) {
            ui::Rect r = control->Geometry();
            r.x += fdx_->LayoutOffset;
            control->Move(r);
        }
    }
    FillControls();
}

void line::OnUserEvent(uint32_t code) {
    if (!fdx_ || !HasWindow()) return;
    if (code == PostRefreshDisplay) FillControls();
    if (code == PostSaveSettings) WriteSettings();
}

void line::FillControls() {
    if (!fdx_ || !HasWindow()) return;
    const FDX& s = *fdx_;
    plusFt->SetText(MHzText(s.PlusOffset));
    minFt->SetText(MHzText(s.MinusOffset));

    com->SetSelectedIndex(s.PortIndex);
    speed->SetSelectedIndex(s.SpeedIndex);
    // The IC-R9000 and the AR8600 run on another model's panel but are shown as themselves.
    shownReceiver_ = panel_registry::ConfiguredType(s.ReceiverType, s.ReceiverVariant);
    recv->SetSelectedIndex(shownReceiver_);

    autovalue->SetChecked(s.OptAuto);
    monitor->SetChecked(s.OptMaxMon);
    recv_save->SetChecked(s.OptRecvSave);
    scan_save->SetChecked(s.OptScanSave);
    end_scan->SetChecked(s.OptEndScan);
    natural->SetChecked(s.OptNatural);
    one_cycle->SetChecked(s.OptOneCycle);
    one_mes->SetChecked(s.OptOneMes);
    spy->SetChecked(s.OptSpy);
    sound->SetChecked(s.OptSound);
    algroup->SetChecked(s.OptAllign);
    dB->SetChecked(s.OptDb);
    lg->SetChecked(s.OptLg);

    autoexec->Clear();
    shownJobFolders_.clear();
    autoexec->AddString(kNoJob);
    for (const UserJob* job : s.Jobs) {
        if (!job) continue;
        autoexec->AddString(job->Identifier);
        shownJobFolders_.push_back(job->FolderName);
    }
    autoexec->SetSelectedIndex(s.AutoexecIndex);
}

void line::WriteSettings() {
    if (!fdx_ || !HasWindow()) return;
    FDX& s = *fdx_;

    OrvelSettings settings;
    settings.PortIndex = ChosenOr(com, s.PortIndex);
    settings.SpeedIndex = ChosenOr(speed, s.SpeedIndex);
    settings.ReceiverType = ChosenOr(recv, shownReceiver_);
    settings.PlusOffset = FDX::ParseMHz(plusFt->Text());
    settings.MinusOffset = FDX::ParseMHz(minFt->Text());
    settings.OptAuto = autovalue->IsChecked();
    settings.OptMaxMon = monitor->IsChecked();
    settings.OptSound = sound->IsChecked();
    settings.OptAllign = algroup->IsChecked();
    settings.OptLg = lg->IsChecked();
    settings.OptDb = dB->IsChecked();

    // Entry 0 is "no job"; with no entry chosen (the job was not in the list) the job
    // stays as it was.
    const int job = autoexec->SelectedIndex();
    if (job > 0 && job <= static_cast<int>(shownJobFolders_.size()))
        settings.AutoexecJob = shownJobFolders_[job - 1];
    else if (job < 0)
        settings.AutoexecJob = s.AutoexecJob;

    if (natural->IsChecked()) settings.GroupStyle = GroupScanStyle::Natural;
    if (one_cycle->IsChecked()) settings.GroupStyle = GroupScanStyle::OneCycle;
    if (one_mes->IsChecked()) settings.GroupStyle = GroupScanStyle::OneMes;

    settings.OptRecvSave = recv_save->IsChecked();
    settings.OptScanSave = scan_save->IsChecked();
    settings.OptEndScan = end_scan->IsChecked();
    settings.OptSpy = spy->IsChecked();

    if (!WriteOrvelIni(s, settings)) return;

    TakeOverOptions(s, settings);
    if (settings.OptLg) dB->SetChecked(true);
    if (job >= 0) s.AutoexecIndex = job;
    // Receiver, port and speed are set up only at start; the state keeps the running ones.
    if (settings.ReceiverType != shownReceiver_ || settings.PortIndex != s.PortIndex ||
        settings.SpeedIndex != s.SpeedIndex) {
        s.ShowError(3);
        s.RestartPending = 1;
    }
}
