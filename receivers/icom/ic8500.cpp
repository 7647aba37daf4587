#include "receivers/icom/ic8500.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <new>
#include <string_view>
#include <utility>

#include "receivers/comm.h"
#include "receivers/icom/ic8500_pictures.h"
#include "receivers/state_file.h"
#include "state/key_value.h"
#include "state/user_sc.h"

namespace {

using ui::ControlKind;
namespace st = ui::style;

// Rectangles in dialog units: left, top, width, height.
// clang-format off
constexpr ui::ControlResource kIc8500Controls[] = {
    {101, ControlKind::Label, "label_1", {4, 2, 92, 14}, st::kBold | st::kNoWrap, nullptr, nullptr},
    {102, ControlKind::Label, "width", {98, 5, 26, 9}, st::kNoWrap, nullptr, "Полоса пропускания, кГц"},
    {103, ControlKind::ComboBox, "step", {226, 3, 52, 77}, 0, nullptr, "Шаг частоты точной шкалы"},
    {104, ControlKind::Canvas, "scale", {4, 18, 275, 66}, 0, nullptr, nullptr},
    {105, ControlKind::CommandButton, "power", {128, 3, 28, 12}, 0, "выкл", "Перевод приемника в ожидание включения"},
    {106, ControlKind::PictureButton, "pictbttn_1", {124, 95, 18, 16}, 0, nullptr, "Пуск Сканирования"},
    {107, ControlKind::PictureButton, "pictbttn_2", {64, 95, 18, 16}, 0, nullptr, "Вправо до Мах"},
    {108, ControlKind::PictureButton, "pictbttn_3", {4, 95, 18, 16}, 0, nullptr, "Влево до Мах"},
    {109, ControlKind::PictureButton, "pictbttn_4", {24, 95, 18, 16}, 0, nullptr, "Влево до Фикс частоты"},
    {110, ControlKind::PictureButton, "pictbttn_5", {44, 95, 18, 16}, 0, nullptr, "Вправо до Фикс частоты"},
    {111, ControlKind::PictureButton, "pictbttn_6", {104, 95, 18, 16}, 0, nullptr, "Установка Параметров"},
    {112, ControlKind::PictureButton, "pictbttn_7", {84, 95, 18, 16}, 0, nullptr, "Очистить точную шкалу"},
    {113, ControlKind::Label, "label_2", {150, 99, 14, 9}, st::kNoWrap, "Атт", nullptr},
    {114, ControlKind::OptionButton, "catt0", {166, 98, 24, 10}, 0, "0", "Выключить Аттеньюатор"},
    {115, ControlKind::OptionButton, "catt10", {192, 98, 26, 10}, 0, "10", "Установить значение Аттеньюатора 10 дБ"},
    {116, ControlKind::OptionButton, "catt20", {220, 98, 26, 10}, 0, "20", "Установить значение Аттеньюатора 20 дБ"},
    {117, ControlKind::OptionButton, "catt30", {248, 98, 26, 10}, 0, "30", "Установить значение Аттеньюатора 30 дБ"},
    {118, ControlKind::CheckBox, "faru", {4, 115, 34, 10}, 0, "АРУ", "Вкл /выкл аппаратного АРУ"},
    {119, ControlKind::CheckBox, "fpik", {40, 115, 34, 10}, 0, "ПИК", "Вкл /выкл ПИК фильтра центральной частоты"},
    {120, ControlKind::CheckBox, "noise", {76, 115, 34, 10}, 0, "ШУМ", "Вкл / выкл  фильтра шумоподавителя"},
    {121, ControlKind::Label, "label_3", {114, 116, 22, 9}, st::kNoWrap, "Порог", nullptr},
    {122, ControlKind::Slider, "porog", {136, 113, 60, 14}, 0, nullptr, nullptr},
    {123, ControlKind::Label, "label_4", {200, 116, 18, 9}, st::kNoWrap, "Звук", nullptr},
    {124, ControlKind::Slider, "zvuk", {218, 113, 60, 14}, 0, nullptr, nullptr},
    {125, ControlKind::ListView, "lv_1", {4, 130, 160, 62}, 0, nullptr, nullptr},
    {126, ControlKind::ComboBox, "bname", {168, 130, 62, 77}, 0, nullptr, "Выбор банка по названию(англ)"},
    {127, ControlKind::Label, "bnum", {234, 132, 18, 10}, st::kBold | st::kCentered | st::kNoWrap, nullptr, "Выбор номера банка"},
    {128, ControlKind::UpDown, "updwbnum", {254, 130, 10, 14}, 0, nullptr, "Выбор номера банка"},
    {129, ControlKind::Edit, "textb_1", {168, 146, 52, 12}, 0, nullptr, nullptr},
    {130, ControlKind::ComboBox, "smod", {222, 146, 26, 77}, 0, nullptr, nullptr},
    {131, ControlKind::ComboBox, "sstep", {250, 146, 29, 77}, 0, nullptr, nullptr},
    {132, ControlKind::Edit, "comment", {168, 161, 111, 12}, 0, nullptr, nullptr},
    {133, ControlKind::CheckBox, "satt", {168, 176, 30, 10}, 0, "Атт", nullptr},
    {134, ControlKind::CheckBox, "select", {200, 176, 36, 10}, 0, "Выбор", nullptr},
    {135, ControlKind::CheckBox, "skip", {238, 176, 41, 10}, 0, "Пропуск", nullptr},
    {136, ControlKind::CommandButton, "cb_3", {168, 190, 35, 14}, 0, "В банк", "Внесение в банк текущих установок приемника"},
    {137, ControlKind::CommandButton, "cb_2", {206, 190, 35, 14}, 0, "Чтение", "Чтение содержимого банков памяти из приемников"},
    {138, ControlKind::CommandButton, "cb_1", {244, 190, 35, 14}, 0, "Запись", "Запись содержимого банков памяти в приемник"},
    {139, ControlKind::CheckBox, "cbank", {4, 195, 80, 10}, 0, "Прямая запись", "Непосредственная запись в приемник при управлении банками"},
    {140, ControlKind::CheckBox, "memory", {88, 195, 76, 10}, 0, "Вся память", "Запись/чтение в приемник всей памяти"},
    {141, ControlKind::ScrollBar, "scrollb_1", {4, 84, 275, 9}, 0, nullptr, nullptr},
};
// clang-format on

// The panel fills the main window's receiver page.
constexpr ui::FormResource kIc8500Form{
    "ID_IC8500", 283, 209, "8.MS Sans Serif", st::kChild, nullptr, kIc8500Controls};

// Modes and filters: what SetMode sends, what the receiver reports, the bandwidth in kHz.
struct ModeEntry {
    char letter;
    int32_t filter;       // filter code: 0 normal, 1 narrow, 2 wide
    const char* payload;  // the mode command
    const char* code;     // mode and filter bytes of a reply
    const char* width;
};
// clang-format off
constexpr ModeEntry kModes[] = {
    {'F', 0, "060501", "0501", "12.0"},
    {'F', 1, "060502", "0502", "5.5"},
    {'W', 0, "060601", "0601", "150.0"},
    {'A', 0, "060202", "0202", "5.5"},
    {'A', 1, "060203", "0203", "2.2"},
    {'A', 2, "060201", "0201", "12.0"},
    {'L', 0, "060001", "0001", "2.2"},
    {'U', 0, "060101", "0101", "2.2"},
    {'C', 0, "060301", "0301", "2.2"},
    {'C', 1, "060302", "0302", "0.5"},
};
// clang-format on

// The entry of the mode with that filter, else the mode's first entry; none for R and for
// letters the receiver does not have.
const ModeEntry* FindMode(char letter, int32_t filter) {
    const ModeEntry* first = nullptr;
    for (const ModeEntry& mode : kModes) {
        if (mode.letter != letter) continue;
        if (mode.filter == filter) return &mode;
        if (!first) first = &mode;
    }
    return first;
}

// Tuning steps with a code of their own (100 Hz units); any other goes out as the
// programmed step.
struct StepCode {
    uint32_t step;
    const char* payload;
};
// clang-format off
constexpr StepCode kStepCodes[] = {
    {1, "1002"}, {10, "1003"}, {25, "1004"}, {50, "1005"}, {90, "1006"}, {100, "1007"},
    {125, "1008"}, {200, "1009"}, {250, "1010"}, {1000, "1011"}, {10000, "1012"},
};
// clang-format on
constexpr const char* kProgrammedStep = "1013";

// Steps of the fine scale, one pixel column each (100 Hz units).
struct ViewStepEntry {
    uint32_t step;
    const char* text;
};
// clang-format off
constexpr ViewStepEntry kViewSteps[] = {
    {100, "10 кГц"}, {200, "20 кГц"}, {500, "50 кГц"}, {1000, "100 кГц"}, {2000, "200 кГц"},
    {5000, "500 кГц"}, {10000, "1 МГц"}, {20000, "2 МГц"}, {50000, "5 МГц"},
};
// clang-format on

constexpr const char* kChannelSteps[] = {"10.0", "12.5", "20.0", "25.0", "100.0", "1000.0"};
constexpr const char* kChannelModes[] = {"F", "W", "A", "L", "U", "C"};

// Banks 20..24 have fixed names; the receiver names banks 0..19.
constexpr const char* kFixedBankNames[] = {"FREE", "AUTO", "SKIP", "PROG", "PRIO"};
constexpr uint32_t kFirstFixedBank = 20;
constexpr uint32_t kLastBank = 24;
// Channels counted in each bank at creation: 40 in the user banks, then FREE, AUTO, SKIP,
// PROG, PRIO.
constexpr uint32_t kUserBankChannels = 40;
constexpr uint32_t kFixedBankChannels[] = {0, 100, 100, 20, 1};

// The IC-R8500's calibration: tenths of dB at raw levels 0, 16, .. 256.
constexpr std::array<int32_t, 17> kCalibration = {0,   9,   18,  28,  39,  48,  57,  71, 84,
                                                  108, 132, 190, 246, 315, 384, 492, 600};

// CI-V command codes of the awaited replies.
constexpr int32_t kFrequencySet = 0x05;
constexpr int32_t kFrequencyRead = 0x03;
constexpr int32_t kModeRead = 0x04;
constexpr int32_t kModeSet = 0x06;
constexpr int32_t kChannelSelect = 0x08;
constexpr int32_t kStepSet = 0x10;
constexpr int32_t kAttenuatorSet = 0x11;
constexpr int32_t kLevelSet = 0x14;
constexpr int32_t kMeterRead = 0x15;
constexpr int32_t kFunctionSet = 0x16;
constexpr int32_t kPowerSet = 0x18;

// Levels of the sliders: one slider step is 16 level units.
constexpr int kSliderUnit = 16;
constexpr int kSliderTop = 15;

constexpr const char* kPowerOnText = "вкл";    // the receiver waits to be switched on
constexpr const char* kPowerOffText = "выкл";  // the receiver runs
constexpr const char* kNoBank = "Не существует указанного банка";
constexpr const char* kNoChannel = "Не существует канала для данного банка";
constexpr const char* kClearQuestion = "Вы действительно хотите очистить шкалу?";
constexpr int kNoPeakMessage = 29;
constexpr int kNoFixedMessage = 30;

// Fine-scale picture.
constexpr ui::Color kBlack = 0x000000;
constexpr ui::Color kSilver = 0xc0c0c0;
constexpr ui::Color kGrey = 0x606060;
constexpr ui::Color kGreen = 0x00c000;
constexpr ui::Color kYellow = 0xffff00;
constexpr ui::Color kRed = 0xff0000;
constexpr ui::Color kMarked = 0x000080;
constexpr int kOverviewHeight = 12;       // the strip of the whole range at the top
constexpr int64_t kOverviewUnit = 50000;  // 5 MHz a pixel
constexpr int kDetailTop = kOverviewHeight + 2;
constexpr int kBaseAboveBottom = 19;  // the detail window's base line above its bottom
constexpr int kBarScale = 8;          // a level of 8 is one pixel

std::string MHzText(uint32_t frequency) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", frequency / 10000.0);
    return text;
}

uint32_t ClampLevel(uint32_t level) {
    return std::min<uint32_t>(level, 255);
}

// The grid step of the fine scale by the 1-2-5 rule, 100 Hz units: about a third of the
// window's columns apart.
int64_t GridStep(int width, uint32_t viewStep) {
    float x = static_cast<float>(width / 3) * static_cast<float>(viewStep);
    int k = 0;
    while (x > 1) {
        x /= 10;
        ++k;
    }
    if (x < 0.15f) {
        x = 0.1f;
    } else if (x < 0.35f) {
        x = 0.2f;
    } else if (x < 0.85f) {
        x = 0.5f;
    } else {
        x = 0.1f;
        ++k;
    }
    const auto step = static_cast<int64_t>(std::lround(x * std::pow(10.0f, static_cast<float>(k))));
    return std::max<int64_t>(step, viewStep);
}

}  // namespace

// clang-format off
const JobCommand<IC8500> IC8500::kJobCommands[] = {
    // 411, 412 (bank transfers), 413 (store into a channel) and 434 (the receiver's own
    // scan) come with the memory banks.
    {414, &IC8500::AttenuatorOff},
    {415, &IC8500::Attenuator10},
    {416, &IC8500::Attenuator20},
    {417, &IC8500::Attenuator30},
    {418, &IC8500::AudioLevelCommand},
    {419, &IC8500::ThresholdCommand},
    {420, &IC8500::DirectModeCommand},
    {421, &IC8500::ClearScaleCommand},
    {422, &IC8500::PowerCommand},
    {423, &IC8500::AgcCommand},
    {424, &IC8500::PeakFilterCommand},
    {425, &IC8500::NoiseBlankerCommand},
    {426, &IC8500::ViewStepCommand},
    {427, &IC8500::BankCommand},
    {428, &IC8500::ChannelCommand},
    {429, &IC8500::FixedLeftCommand},
    {430, &IC8500::FixedRightCommand},
    {431, &IC8500::PeakLeftCommand},
    {432, &IC8500::PeakRightCommand},
    {433, &IC8500::DirectBoxCommand},
    {435, &IC8500::ScanSettingsCommand},
};
// clang-format on

std::span<const JobCommand<IC8500>> IC8500::JobCommands() {
    return kJobCommands;
}

IC8500::IC8500() {
    ui::RegisterFormResource(kIc8500Form);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { OnDestroy(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
}

IC8500::~IC8500() {
    Destroy();
}

bool IC8500::Create(ui::Form* parent, FDX* fdx) {
    return CreatePanel("ID_IC8500", parent, fdx);
}

// ---------------------------------------------------------------------------------------
// Creation and destruction

void IC8500::OnCreate() {
    FDX& s = *fdx_;
    s.BuildingControls = 1;
    CreateControls();
    if (s.OptMaxMon) ScaleLayout();
    SetDefaults();
    try {
        Scale.Allocate(UpperLimit);
    } catch (const std::bad_alloc&) {
        s.BuildingControls = 0;
        MarkCreateFailed();
        return;
    }
    PendingCommand = NoExchange;
    ReplyComplete = false;
    s.Calibration = kCalibration;
    s.BuildLevelTable();
    if (s.OptRecvSave) ReadStateFile();
    WireEvents();
    SetViewStep(ViewStep);

    FillBankNames();
    ShowBank();
    ShowSwitches();
    SetSliders();
    ShowAttenuator();
    FollowTuning();
    Show();
}

void IC8500::CreateControls() {
    label_1 = CreateControl<ui::Label>(101);
    width = CreateControl<ui::Label>(102);
    step = CreateControl<ui::ComboBox>(103);
    scale = CreateControl<ui::Canvas>(104);
    power = CreateControl<ui::CommandButton>(105);
    pictbttn_1 = CreateControl<ui::PictureButton>(106);
    pictbttn_2 = CreateControl<ui::PictureButton>(107);
    pictbttn_3 = CreateControl<ui::PictureButton>(108);
    pictbttn_4 = CreateControl<ui::PictureButton>(109);
    pictbttn_5 = CreateControl<ui::PictureButton>(110);
    pictbttn_6 = CreateControl<ui::PictureButton>(111);
    pictbttn_7 = CreateControl<ui::PictureButton>(112);
    label_2 = CreateControl<ui::Label>(113);
    catt0 = CreateControl<ui::OptionButton>(114);
    catt10 = CreateControl<ui::OptionButton>(115);
    catt20 = CreateControl<ui::OptionButton>(116);
    catt30 = CreateControl<ui::OptionButton>(117);
    faru = CreateControl<ui::CheckBox>(118);
    fpik = CreateControl<ui::CheckBox>(119);
    noise = CreateControl<ui::CheckBox>(120);
    label_3 = CreateControl<ui::Label>(121);
    porog = CreateControl<ui::Slider>(122);
    label_4 = CreateControl<ui::Label>(123);
    zvuk = CreateControl<ui::Slider>(124);
    lv_1 = CreateControl<ui::ListView>(125);
    bname = CreateControl<ui::ComboBox>(126);
    bnum = CreateControl<ui::Label>(127);
    updwbnum = CreateControl<ui::UpDown>(128);
    textb_1 = CreateControl<ui::Edit>(129);
    smod = CreateControl<ui::ComboBox>(130);
    sstep = CreateControl<ui::ComboBox>(131);
    comment = CreateControl<ui::Edit>(132);
    satt = CreateControl<ui::CheckBox>(133);
    select = CreateControl<ui::CheckBox>(134);
    skip = CreateControl<ui::CheckBox>(135);
    cb_3 = CreateControl<ui::CommandButton>(136);
    cb_2 = CreateControl<ui::CommandButton>(137);
    cb_1 = CreateControl<ui::CommandButton>(138);
    cbank = CreateControl<ui::CheckBox>(139);
    memory = CreateControl<ui::CheckBox>(140);
    scrollb_1 = CreateControl<ui::ScrollBar>(141);

    label_1->SetFont("12.MS Sans Serif", true);
    for (ui::PictureButton* button :
         {pictbttn_1, pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5, pictbttn_6, pictbttn_7}) {
        const ui::ArtPicture p = Ic8500Picture(button->Name());
        button->SetPicture(p.width, p.height, p.pixels);
    }
    for (const ViewStepEntry& entry : kViewSteps) step->AddString(entry.text);
    for (const char* text : kChannelSteps) sstep->AddString(text);
    for (const char* text : kChannelModes) smod->AddString(text);
    for (ui::ComboBox* list : {step, bname, smod, sstep}) list->SetListHeight(125);
    porog->SetRange(0, kSliderTop);
    zvuk->SetRange(0, kSliderTop);
    updwbnum->SetRange(0, static_cast<int>(kLastBank));
    // Each title whole, and all five columns within the list (160 units) until rows need a
    // scroll bar.
    lv_1->SetColumns(
        {{"Частота", 52}, {"Уровень", 42}, {"Комментарий", 67}, {"Выбор", 35}, {"Пропуск", 42}});
    scale->SetPainter([this](ui::Painter& painter) { DrawScale(painter); });
}

// MAXMON: the receiver page grows with the main window; the controls grow along.
void IC8500::ScaleLayout() {
    const float factor = fdx_->LayoutScale;
    for (const ui::ControlResource& row : kIc8500Controls) {
        ui::Control* control = FindControl(row.name);
        if (!control) continue;
        ui::Rect r = control->Geometry();
        r.x = static_cast<int>(static_cast<float>(r.x) * factor);
        r.width = static_cast<int>(static_cast<float>(r.width) * factor);
        control->Move(r);
    }
}

void IC8500::SetDefaults() {
    Settings = Ic8500Settings{};
    Standby = false;
    SquelchOpen = false;
    StoredLevel = 0;
    Link.RejectCount = 0;
    Link.SetReceiverAddress(kAddress);
    LowerLimit = kLowerLimit;
    UpperLimit = kUpperLimit;
    ViewStep = 10000;
    ViewPosition = 0;
    Scale.FillWindow = 100;
    CurrentBank = 0;
    for (uint32_t bank = 0; bank <= kLastBank; ++bank) {
        BankChannels[bank] =
            bank < kFirstFixedBank ? kUserBankChannels : kFixedBankChannels[bank - kFirstFixedBank];
        BankPositions[bank] = 0;
        BankNames[bank] =
            bank < kFirstFixedBank ? std::string() : kFixedBankNames[bank - kFirstFixedBank];
    }
}

void IC8500::WireEvents() {
    const auto on = [](ui::Control* control, ui::EventId id, auto action) {
        control->AddHandler(id, [action](ui::Object&, ui::EventData& e) {
            action(e);
            return false;
        });
    };
    on(step, ui::EventId::Select, [this](ui::EventData&) { OnViewStepChosen(); });
    on(scrollb_1, ui::EventId::Change, [this](ui::EventData& e) { OnScrolled(e.value); });
    on(power, ui::EventId::Click, [this](ui::EventData&) { Standby ? PowerOn() : PowerOff(); });
    on(pictbttn_2, ui::EventId::Click, [this](ui::EventData&) {
        if (!JumpToPeak(true)) fdx_->ShowError(kNoPeakMessage);
    });
    on(pictbttn_3, ui::EventId::Click, [this](ui::EventData&) {
        if (!JumpToPeak(false)) fdx_->ShowError(kNoPeakMessage);
    });
    on(pictbttn_4, ui::EventId::Click, [this](ui::EventData&) { JumpToFixed(false); });
    on(pictbttn_5, ui::EventId::Click, [this](ui::EventData&) { JumpToFixed(true); });
    on(pictbttn_6, ui::EventId::Click,
       [this](ui::EventData&) { PostToOwner(PostOpenScanSettings); });
    on(pictbttn_7, ui::EventId::Click, [this](ui::EventData&) {
        if (fdx_->Confirm(kClearQuestion)) ClearFineScale();
    });
    const std::pair<ui::OptionButton*, uint32_t> options[] = {
        {catt0, 0}, {catt10, 10}, {catt20, 20}, {catt30, 30}};
    for (const auto& [option, db] : options) {
        on(option, ui::EventId::Click, [this, option = option, db = db](ui::EventData&) {
            if (option->IsChecked()) ChooseAttenuator(db != 0, db);
        });
    }
    on(faru, ui::EventId::Click, [this](ui::EventData&) {
        Settings.Agc = faru->IsChecked();
        SendSwitch("1611", "1610", Settings.Agc);
    });
    on(fpik, ui::EventId::Click, [this](ui::EventData&) {
        Settings.PeakFilter = fpik->IsChecked();
        SendSwitch("1631", "1630", Settings.PeakFilter);
    });
    on(noise, ui::EventId::Click, [this](ui::EventData&) {
        Settings.NoiseBlanker = noise->IsChecked();
        SendSwitch("1621", "1620", Settings.NoiseBlanker);
    });
    on(porog, ui::EventId::Change, [this](ui::EventData& e) {
        Settings.SquelchThreshold = static_cast<uint32_t>(e.value) * kSliderUnit;
        if (!SendThreshold(Settings.SquelchThreshold)) SliderRetry = true;
    });
    on(zvuk, ui::EventId::Change, [this](ui::EventData& e) {
        Settings.AudioLevel = static_cast<uint32_t>(e.value) * kSliderUnit;
        if (!SendAudioLevel(Settings.AudioLevel)) SliderRetry = true;
    });
    // The arrows wrap from 24 to 0 and back; the panel places the arrows itself.
    updwbnum->AddHandler(ui::EventId::DeltaPosition, [this](ui::Object&, ui::EventData& e) {
        const uint32_t bank = e.value > 0 ? (CurrentBank >= kLastBank ? 0 : CurrentBank + 1)
                                          : (CurrentBank == 0 ? kLastBank : CurrentBank - 1);
        CurrentBank = bank;
        ShowBank();
        if (Settings.DirectMode && SelectBank(bank)) SelectChannel(BankPositions[bank]);
        e.cancel = true;
        return true;
    });
    on(bname, ui::EventId::Select, [this](ui::EventData& e) {
        if (e.value < 0 || e.value > static_cast<int64_t>(kLastBank)) return;
        CurrentBank = static_cast<uint32_t>(e.value);
        ShowBank();
        if (Settings.DirectMode && SelectBank(CurrentBank))
            SelectChannel(BankPositions[CurrentBank]);
    });
    on(cbank, ui::EventId::Click, [this](ui::EventData&) {
        // A receiver in standby takes no bank changes.
        Settings.DirectMode = cbank->IsChecked() && !Standby;
        cbank->SetChecked(Settings.DirectMode);
    });
    on(memory, ui::EventId::Click,
       [this](ui::EventData&) { Settings.AllMemory = memory->IsChecked(); });
    for (ui::EventId id : {ui::EventId::MouseMove, ui::EventId::LeftButtonDown,
                           ui::EventId::LeftButtonUp, ui::EventId::MouseLeave}) {
        on(scale, id, [this, id](ui::EventData& e) { OnScaleMouse(id, e.x, e.y); });
    }
    on(scale, ui::EventId::RightButtonUp, [this](ui::EventData&) { PostToOwner(PostRunMacro); });
}

void IC8500::OnDestroy() {
    if (fdx_ && fdx_->OptRecvSave && Scale.IsAllocated()) WriteStateFile();
    Scale.Free();
    label_1 = width = bnum = label_2 = label_3 = label_4 = nullptr;
    step = bname = smod = sstep = nullptr;
    scale = nullptr;
    scrollb_1 = nullptr;
    power = cb_1 = cb_2 = cb_3 = nullptr;
    pictbttn_1 = pictbttn_2 = pictbttn_3 = pictbttn_4 = pictbttn_5 = pictbttn_6 = pictbttn_7 =
        nullptr;
    catt0 = catt10 = catt20 = catt30 = nullptr;
    faru = fpik = noise = satt = select = skip = cbank = memory = nullptr;
    porog = zvuk = nullptr;
    lv_1 = nullptr;
    updwbnum = nullptr;
    textb_1 = comment = nullptr;
}

// ---------------------------------------------------------------------------------------
// Operations of the main window

bool IC8500::Exchange(const std::string& payload, int32_t awaited) {
    // A refused send must not wait: the wait would end the outstanding exchange it was
    // refused for.
    return Link.Send(payload, awaited) && WaitReply();
}

int32_t IC8500::ReadLevel() {
    if (!Exchange("1501", kMeterRead)) return -1;
    if (!Exchange("1502", kMeterRead)) return -1;
    return StoredLevel;
}

uint32_t IC8500::ReadReply() {
    return Link.ReadReply();
}

bool IC8500::SetFrequency() {
    FollowTuning();
    return Link.Send("05" + civ::FreqToBcd(fdx_->Frequency, 0), kFrequencySet);
}

bool IC8500::Poll(bool timerTick) {
    if (timerTick) return TimerTick();
    return Link.Poll([this](const civ::CivReply& reply) { ParseReply(reply); });
}

bool IC8500::SetStep() {
    const char* payload = kProgrammedStep;
    for (const StepCode& code : kStepCodes)
        if (code.step == fdx_->Step) payload = code.payload;
    return Exchange(payload, kStepSet);
}

bool IC8500::SetMode() {
    const char letter = fdx_->Modulation;
    int32_t filter = 0;
    if (letter == 'F' && Settings.Fnar) filter = 1;
    if (letter == 'C' && Settings.Cnar) filter = 1;
    if (letter == 'A') filter = Settings.Anar ? 1 : Settings.Awide ? 2 : 0;
    const ModeEntry* mode = FindMode(letter, filter);
    // The receiver has no RTTY: nothing to send.
    if (!mode) return false;
    fdx_->Filter = mode->filter;
    ShowWidth();
    // A stale reply is not cancelled here: the mode often follows a frequency at once.
    return Link.Send(mode->payload, kModeSet, /*cancelStale=*/false) && WaitReply();
}

bool IC8500::SetAttenuator() {
    uint32_t db = 10;
    if (Settings.DefaultAttenuatorDb == 20) db = 20;
    if (Settings.DefaultAttenuatorDb == 30) db = 30;
    if (fdx_->Attenuator) fdx_->AttenuatorDb = db;
    return SendAttenuatorDepth();
}

bool IC8500::SetSound() {
    Settings.AudioLevel = fdx_->Sound ? ClampLevel(Settings.DefaultAudioLevel) : 0;
    if (zvuk) zvuk->SetPosition(static_cast<int>(Settings.AudioLevel) / kSliderUnit);
    return SendAudioLevel(Settings.AudioLevel);
}

int32_t IC8500::ModeParameter(char letter) const {
    int32_t filter = 0;
    if (letter == 'F' && Settings.Fnar) filter = 1;
    if (letter == 'C' && Settings.Cnar) filter = 1;
    if (letter == 'A') filter = Settings.Anar ? 1 : Settings.Awide ? 2 : 0;
    const ModeEntry* mode = FindMode(letter, filter);
    return mode ? static_cast<int32_t>(FDX::ParseKHz(mode->width)) : 120;
}

// ---------------------------------------------------------------------------------------
// Replies

void IC8500::ParseReply(const civ::CivReply& reply) {
    // Frames of others (our own echo among them) and acknowledgements say nothing more.
    if (!reply.matched || reply.code == civ::kOk || reply.code == civ::kNg) return;
    const std::string& text = Link.ReplyText;
    if (text.starts_with("19")) {
        if (Link.ReplyBytes.size() > 3) {
            const uint8_t address = Link.ReplyBytes[2];
            Link.SetReceiverAddress(address == kAddress ? Link.ReplySource : address);
        }
    } else if (text.starts_with("00") || text.starts_with("03")) {
        ParseFrequency(text.starts_with("00"), reply.awaited);
    } else if (text.starts_with("1501")) {
        SquelchOpen = text.substr(4, 2) == "01";
        if (!reply.awaited) Link.Send("1502", kMeterRead);
    } else if (text.starts_with("1502")) {
        ParseLevel(reply.awaited);
    } else if (text.starts_with("01") || text.starts_with("04")) {
        ParseMode();
    }
}

void IC8500::ParseFrequency(bool reportedByReceiver, bool awaited) {
    (void)reportedByReceiver;  // stops of the receiver's own scan come with the banks
    fdx_->Frequency = std::clamp(civ::DecodeFrequency(Link.ReplyText), LowerLimit, UpperLimit);
    FollowTuning();
    if (!FrequencyPosted) {
        FrequencyPosted = true;
        PostToOwner(PostFrequencyChanged);
    }
    // Every frequency the receiver reports by itself gets its level; one that somebody waits
    // for is followed by the waiter's own queries.
    if (!awaited) Link.Send("1501", kMeterRead);
}

void IC8500::ParseLevel(bool awaited) {
    const int reading = civ::DecodeLevel(Link.ReplyText);
    // While the squelch is closed the reading follows the squelch knob of the set.
    if (!SquelchOpen && static_cast<uint32_t>(reading) != Settings.SquelchThreshold) {
        Settings.SquelchThreshold = static_cast<uint32_t>(reading);
        if (porog) porog->SetPosition(reading / kSliderUnit);
    }
    StoredLevel = SquelchOpen ? reading : 0;
    if (!awaited && Scale.At(fdx_->Frequency) != StoredLevel) {
        fdx_->Level = StoredLevel;
        Scale.Measure(fdx_->Frequency, StoredLevel);
        RedrawScale();
        if (!LevelPosted) {
            LevelPosted = true;
            PostToOwner(PostPanelLevelDisplay);
        }
        return;
    }
    Scale.Measure(fdx_->Frequency, StoredLevel);
}

void IC8500::ParseMode() {
    // A mode without its filter byte has the normal filter.
    const std::string text = Link.ReplyText + "01";
    const std::string code = text.substr(2, 4);
    for (const ModeEntry& mode : kModes) {
        if (code != mode.code) continue;
        fdx_->Modulation = mode.letter;
        fdx_->Filter = mode.filter;
        ShowWidth();
        PostToOwner(PostModulationChanged);
        return;
    }
}

// ---------------------------------------------------------------------------------------
// Receiver settings

bool IC8500::SendAttenuatorDepth() {
    const char* payload = "1100";
    if (fdx_->Attenuator) {
        payload = "1110";
        if (fdx_->AttenuatorDb == 20) payload = "1120";
        if (fdx_->AttenuatorDb == 30) payload = "1130";
    }
    return Exchange(payload, kAttenuatorSet);
}

void IC8500::ChooseAttenuator(bool on, uint32_t db) {
    fdx_->Attenuator = on ? 1 : 0;
    if (on) fdx_->AttenuatorDb = db;
    if (SendAttenuatorDepth()) fdx_->Level = ReadLevel();
    PostToOwner(PostReceiverState);
}

bool IC8500::SendAudioLevel(uint32_t level) {
    char payload[16];
    std::snprintf(payload, sizeof payload, "1401%04u", ClampLevel(level));
    return Exchange(payload, kLevelSet);
}

bool IC8500::SendThreshold(uint32_t level) {
    char payload[16];
    std::snprintf(payload, sizeof payload, "1403%04u", ClampLevel(level));
    return Exchange(payload, kLevelSet);
}

bool IC8500::SendSwitch(const char* on, const char* off, bool set) {
    return Exchange(set ? on : off, kFunctionSet);
}

bool IC8500::PowerOff() {
    if (!Exchange("1800", kPowerSet)) return false;
    EnterStandby();
    return true;
}

bool IC8500::PowerOn() {
    if (!Exchange("1801", kPowerSet)) return false;
    Standby = false;
    if (power) power->SetText(kPowerOffText);
    return true;
}

void IC8500::EnterStandby() {
    Standby = true;
    if (power) power->SetText(kPowerOnText);
    // Bank changes cannot reach a receiver in standby.
    Settings.DirectMode = false;
    if (cbank) cbank->SetChecked(false);
    PostToOwner(PostPanelProgress);
}

bool IC8500::SelectBank(uint32_t bank) {
    char payload[16];
    std::snprintf(payload, sizeof payload, "08A0%02u", bank);
    return Exchange(payload, kChannelSelect);
}

bool IC8500::SelectChannel(uint32_t position) {
    char payload[16];
    std::snprintf(payload, sizeof payload, "08%04u", std::min<uint32_t>(position, 9999));
    return Exchange(payload, kChannelSelect);
}

// Start-up synchronisation: who answers, where it is tuned, in which mode.
void IC8500::Synchronise() {
    Cancel(true);
    Link.RejectCount = 0;
    SetSliders();
    Standby = false;
    if (power) power->SetText(kPowerOffText);
    fdx_->Level = -1;
    // A refusal is an answer too: the set is there but switched off.
    const bool answered = Exchange("1900", civ::kIdentityCommand) || Link.RejectCount > 0;
    FillBankNames();
    if (answered) {
        ShowBank();
        Exchange("03", kFrequencyRead);
        Exchange("04", kModeRead);
        if (Link.RejectCount == 0) {
            fdx_->Level = 0;
            SquelchOpen = false;
            // The level query follows the squelch reply by itself.
            Link.Send("1501", kMeterRead);
        } else {
            EnterStandby();
        }
    }
    ShowWidth();
    PostToSelf(PostRefreshDisplay);
    PostToOwner(PostReceiverState);
    // The squelch query is left to the parser: the main window's level poll may go on.
    PendingCommand = NoExchange;
}

// ---------------------------------------------------------------------------------------
// Tuning from the panel

bool IC8500::TuneTo(uint32_t frequency) {
    if (PendingCommand != NoExchange) return false;
    fdx_->Frequency = frequency;
    const bool tuned = SetFrequencyWait();
    if (tuned) fdx_->Level = ReadLevel();
    PostToOwner(PostReceiverState);
    RedrawScale();  // with the level just measured
    return tuned;
}

void IC8500::StepBy(int direction) {
    const int64_t target = int64_t{fdx_->Frequency} + direction * int64_t{ViewStep};
    if (target < LowerLimit || target > UpperLimit) return;
    if (!PanelBusy && PendingCommand == NoExchange) TuneTo(static_cast<uint32_t>(target));
    PostToOwner(PostFrequencyStepped);
}

bool IC8500::JumpToPeak(bool right) {
    const int64_t peak = Scale.FindPeak(fdx_->Frequency, right, LowerLimit, UpperLimit);
    if (peak < 0) return false;
    TuneTo(static_cast<uint32_t>(std::clamp<int64_t>(peak, LowerLimit, UpperLimit)));
    return true;
}

bool IC8500::JumpToFixed(bool right) {
    const UserSc* target = nullptr;
    const uint32_t frequency = fdx_->Frequency;
    for (const UserSc* item : fdx_->Scales) {
        if (!item) continue;
        if (right) {
            if (item->StartFrequency > frequency) {
                target = item;
                break;
            }
        } else {
            if (item->EndFrequency >= frequency) break;
            target = item;
        }
    }
    if (!target) {
        fdx_->ShowError(kNoFixedMessage);
        return false;
    }
    const uint64_t centre = (uint64_t{target->StartFrequency} + target->EndFrequency) / 2;
    TuneTo(static_cast<uint32_t>(centre));
    PostToOwner(PostSelectScale);
    return true;
}

void IC8500::ClearFineScale() {
    Scale.Clear();
    FollowFrequency();
    PostToSelf(PostRefreshDisplay);
}

void IC8500::SetViewStep(uint32_t value) {
    int index = 0;
    ViewStep = kViewSteps[0].step;
    for (int i = 0; i < static_cast<int>(std::size(kViewSteps)); ++i) {
        if (kViewSteps[i].step != value) continue;
        index = i;
        ViewStep = value;
    }
    if (step) step->SetSelectedIndex(index);
    FollowFrequency();
    RedrawScale();
}

void IC8500::OnViewStepChosen() {
    const int index = step->SelectedIndex();
    if (index >= 0 && index < static_cast<int>(std::size(kViewSteps)))
        SetViewStep(kViewSteps[index].step);
}

// ---------------------------------------------------------------------------------------
// Posted codes

void IC8500::OnUserEvent(uint32_t code) {
    if (!fdx_ || !HasWindow()) return;
    switch (code) {
        case PostSyncReceiver:
            Synchronise();
            break;
        case PostRefreshData:
        case PostRefreshLevels:
            FollowTuning();
            ShowSwitches();
            SetSliders();
            PostToSelf(PostRefreshDisplay);
            break;
        case PostRefreshDisplay:
            RedrawScale();
            ShowAttenuator();
            break;
        case PostTimerTick:
            if (Link.RejectCount > 5 && !Standby) EnterStandby();
            break;
        case PostMeasureLevel:
            if (SetFrequencyWait()) {
                fdx_->Level = ReadLevel();
                RedrawScale();
            }
            break;
        case PostLockControls:
            PanelBusy = true;
            LockControls(true);
            break;
        case PostUnlockControls:
            PanelBusy = false;
            LockControls(false);
            break;
        case PostJobStep:
            ExecuteCommand();
            break;
        case PostStepUp:
            StepBy(+1);
            break;
        case PostStepDown:
            StepBy(-1);
            break;
        default:
            // The banks (PostItemLoaded, PostSaveBank, PostClearData, PostLoadReceiverSetup)
            // come with the memory banks.
            break;
    }
}

// ---------------------------------------------------------------------------------------
// Job commands

void IC8500::ExecuteCommand() {
    ServeJobLine(*this, JobCommands());
}

// A setting the receiver does not take leaves the line done all the same: the job goes on as
// after a setting taken, and a set that keeps refusing is found by the rejections the timer
// tick counts (standby). Only a bank or channel the panel does not have fails the line.

void IC8500::AttenuatorJob(bool on, uint32_t db) {
    fdx_->Attenuator = on ? 1 : 0;
    if (on) fdx_->AttenuatorDb = db;
    SendAttenuatorDepth();
    ShowAttenuator();
    PostToOwner(PostReceiverState);
}

void IC8500::AttenuatorOff(JobStr&) {
    AttenuatorJob(false, 0);
}

void IC8500::Attenuator10(JobStr&) {
    AttenuatorJob(true, 10);
}

void IC8500::Attenuator20(JobStr&) {
    AttenuatorJob(true, 20);
}

void IC8500::Attenuator30(JobStr&) {
    AttenuatorJob(true, 30);
}

void IC8500::AudioLevelCommand(JobStr& line) {
    Settings.AudioLevel = ClampLevel(line.VAL);
    if (zvuk) zvuk->SetPosition(static_cast<int>(Settings.AudioLevel) / kSliderUnit);
    SendAudioLevel(Settings.AudioLevel);
}

void IC8500::ThresholdCommand(JobStr& line) {
    Settings.SquelchThreshold = ClampLevel(line.VAL);
    if (porog) porog->SetPosition(static_cast<int>(Settings.SquelchThreshold) / kSliderUnit);
    SendThreshold(Settings.SquelchThreshold);
}

void IC8500::DirectModeCommand(JobStr& line) {
    Settings.DirectMode = line.VAL != 0 && !Standby;
    ShowSwitches();
}

void IC8500::ClearScaleCommand(JobStr&) {
    if (fdx_->Confirm(kClearQuestion)) ClearFineScale();
}

void IC8500::PowerCommand(JobStr& line) {
    // The panel takes the state the line asks for whatever the answer, unlike the power
    // button, which waits for the set to take it.
    if (line.VAL == 0) {
        Exchange("1800", kPowerSet);
        if (!Standby) EnterStandby();
    } else if (Standby) {
        Exchange("1801", kPowerSet);
        Standby = false;
        if (power) power->SetText(kPowerOffText);
    }
}

void IC8500::AgcCommand(JobStr& line) {
    Settings.Agc = line.VAL != 0;
    ShowSwitches();
    SendSwitch("1611", "1610", Settings.Agc);
}

void IC8500::PeakFilterCommand(JobStr& line) {
    Settings.PeakFilter = line.VAL != 0;
    ShowSwitches();
    SendSwitch("1631", "1630", Settings.PeakFilter);
}

void IC8500::NoiseBlankerCommand(JobStr& line) {
    Settings.NoiseBlanker = line.VAL != 0;
    ShowSwitches();
    SendSwitch("1621", "1620", Settings.NoiseBlanker);
}

void IC8500::ViewStepCommand(JobStr& line) {
    SetViewStep(line.VAL);
}

void IC8500::BankCommand(JobStr& line) {
    if (line.VAL > kLastBank) {
        line.Message = kNoBank;
        line.ReturnCode = 2;
        return;
    }
    CurrentBank = line.VAL;
    ShowBank();
    if (Settings.DirectMode && SelectBank(CurrentBank)) SelectChannel(BankPositions[CurrentBank]);
}

void IC8500::ChannelCommand(JobStr& line) {
    if (line.VAL >= BankChannels[CurrentBank]) {
        line.Message = kNoChannel;
        line.ReturnCode = 2;
        return;
    }
    BankPositions[CurrentBank] = line.VAL;
    if (Settings.DirectMode) SelectChannel(line.VAL);
}

void IC8500::FixedLeftCommand(JobStr&) {
    JumpToFixed(false);
}

void IC8500::FixedRightCommand(JobStr&) {
    JumpToFixed(true);
}

void IC8500::PeakLeftCommand(JobStr&) {
    if (!JumpToPeak(false)) fdx_->ShowError(kNoPeakMessage);
}

void IC8500::PeakRightCommand(JobStr&) {
    if (!JumpToPeak(true)) fdx_->ShowError(kNoPeakMessage);
}

void IC8500::DirectBoxCommand(JobStr& line) {
    Settings.DirectMode = line.VAL != 0 && !Standby;
    ShowSwitches();
}

void IC8500::ScanSettingsCommand(JobStr&) {
    PostToOwner(PostOpenScanSettings);
}

// ---------------------------------------------------------------------------------------
// State file

std::string IC8500::StateFilePath() const {
    return StateFileName(fdx_->ProgramDir, kStateFileStem, static_cast<uint32_t>(fdx_->PortIndex));
}

namespace {

// Flag keys of the state file, in the order they are written.
struct FlagKey {
    const char* key;
    bool Ic8500Settings::*flag;
};
// clang-format off
constexpr FlagKey kFilterKeys[] = {
    {"Fnar", &Ic8500Settings::Fnar},
    {"Anar", &Ic8500Settings::Anar},
    {"Awide", &Ic8500Settings::Awide},
    {"Cnar", &Ic8500Settings::Cnar},
};
struct ScanFlagKey {
    const char* key;
    bool Ic8500ScanSettings::*flag;
};
constexpr ScanFlagKey kScanKeysBeforePause[] = {
    {"Задержка", &Ic8500ScanSettings::Delay},
    {"Пропадание", &Ic8500ScanSettings::DropOut},
    {"Запрет", &Ic8500ScanSettings::NoReadBack},
    {"VSC", &Ic8500ScanSettings::Vsc},
};
constexpr ScanFlagKey kScanKeysAfterJob[] = {
    {"Прио", &Ic8500ScanSettings::Priority},
    {"Сканирование_Диапазон", &Ic8500ScanSettings::RangeScan},
    {"Сканирование_Банка", &Ic8500ScanSettings::BankScan},
    {"Сканирование_Ручное", &Ic8500ScanSettings::ManualScan},
    {"Авто", &Ic8500ScanSettings::Auto},
    {"Выбор_каналов", &Ic8500ScanSettings::SelectedChannels},
    {"Выбор_мод", &Ic8500ScanSettings::SelectedModes},
};
constexpr FlagKey kSwitchKeys[] = {
    {"АРУ", &Ic8500Settings::Agc},
    {"ПИК", &Ic8500Settings::PeakFilter},
    {"ШУМ", &Ic8500Settings::NoiseBlanker},
};
struct LevelKey {
    const char* key;
    uint32_t Ic8500Settings::*level;
};
constexpr LevelKey kLevelKeys[] = {
    {"Умолчание_Звук", &Ic8500Settings::DefaultAudioLevel},
    {"Уровень_Звук", &Ic8500Settings::AudioLevel},
    {"Уровень_Порог", &Ic8500Settings::SquelchThreshold},
    {"Уровень_Пик", &Ic8500Settings::PeakSetting},
    {"Уровень_Центр", &Ic8500Settings::CentreSetting},
};
constexpr FlagKey kBankFlagKeys[] = {
    {"Запись", &Ic8500Settings::DirectMode},
    {"Память", &Ic8500Settings::AllMemory},
};
struct DepthKey {
    const char* key;
    uint32_t db;
};
constexpr DepthKey kAttenuatorKeys[] = {{"Атт0", 0}, {"Атт10", 10}, {"Атт20", 20}, {"Атт30", 30}};
constexpr DepthKey kDefaultDepthKeys[] = {{"Умолч_Атт10", 10}, {"Умолч_Атт20", 20}, {"Умолч_Атт30", 30}};
// clang-format on

// Keys of the bank part: the position, count and name of each bank ("Позиция_Банк3"), the
// number of channel records and the fields of a record.
constexpr std::string_view kBankKeyStems[] = {"Позиция_Банк", "Каналов_Банк", "Имя_Банк"};
constexpr std::string_view kChannelKeys[] = {"Частот_Банков", "F",     "F_ATT",  "F_QATT",
                                             "F_STEP",        "F_SEL", "F_SKIP", "F_ID",
                                             "F_MOD",         "F_QMOD"};

bool IsBankPartKey(std::string_view key) {
    if (std::find(std::begin(kChannelKeys), std::end(kChannelKeys), key) != std::end(kChannelKeys))
        return true;
    for (const std::string_view stem : kBankKeyStems) {
        if (!key.starts_with(stem) || key.size() == stem.size()) continue;
        const std::string_view number = key.substr(stem.size());
        if (number.find_first_not_of("0123456789") == std::string_view::npos) return true;
    }
    return false;
}

// The attenuator option the panel shows: 0 (off) unless on at 10, 20 or 30 dB.
uint32_t AttenuatorOption(const FDX& s) {
    if (!s.Attenuator) return 0;
    return s.AttenuatorDb == 10 || s.AttenuatorDb == 20 || s.AttenuatorDb == 30 ? s.AttenuatorDb
                                                                                : 0;
}

}  // namespace

// The head of the state file as the panel stands now; reading starts from it, so that what
// the file lacks stays as it is.
StateFileHead IC8500::CurrentHead() const {
    StateFileHead head;
    head.Frequency = fdx_->Frequency;
    head.Step = fdx_->Step;
    head.Modulation = fdx_->Modulation;
    head.ViewStep = ViewStep;
    head.ViewPosition = ViewPosition;
    return head;
}

bool IC8500::WriteStateFile() {
    const FDX& s = *fdx_;
    StateFileWriter file;
    StateFileHead head = CurrentHead();
    file.Head(head);
    SavedDate = head.Date;
    SavedTime = head.Time;

    file.Number("Банк", CurrentBank);
    const uint32_t option = AttenuatorOption(s);
    for (const DepthKey& key : kAttenuatorKeys) file.Flag(key.key, option == key.db);
    const uint32_t depth = Settings.DefaultAttenuatorDb == 20   ? 20
                           : Settings.DefaultAttenuatorDb == 30 ? 30
                                                                : 10;
    for (const DepthKey& key : kDefaultDepthKeys) file.Flag(key.key, depth == key.db);
    for (const FlagKey& key : kFilterKeys) file.Flag(key.key, Settings.*key.flag);
    for (const ScanFlagKey& key : kScanKeysBeforePause) file.Flag(key.key, Settings.Scan.*key.flag);
    file.Number("Пауза", Settings.Scan.PauseMode);
    file.Text("Задание", Settings.Scan.JobName);
    for (const ScanFlagKey& key : kScanKeysAfterJob) file.Flag(key.key, Settings.Scan.*key.flag);
    for (const FlagKey& key : kSwitchKeys) file.Flag(key.key, Settings.*key.flag);
    for (const LevelKey& key : kLevelKeys) file.Number(key.key, Settings.*key.level);
    for (const FlagKey& key : kBankFlagKeys) file.Flag(key.key, Settings.*key.flag);
    file.Lines(StoredBankPart);
    file.Scale(Scale);
    return file.Save(StateFilePath());
}

bool IC8500::ReadStateFile() {
    FDX& s = *fdx_;
    StateFileHead head = CurrentHead();

    // A flag key stands in the file only while its flag is set, so every flag the file can
    // hold starts off: a setting switched off stays off.
    Ic8500Settings read = Settings;
    for (const FlagKey& key : kFilterKeys) read.*key.flag = false;
    for (const ScanFlagKey& key : kScanKeysBeforePause) read.Scan.*key.flag = false;
    for (const ScanFlagKey& key : kScanKeysAfterJob) read.Scan.*key.flag = false;
    for (const FlagKey& key : kSwitchKeys) read.*key.flag = false;
    for (const FlagKey& key : kBankFlagKeys) read.*key.flag = false;
    uint32_t bank = CurrentBank;
    bool attenuator = s.Attenuator != 0;
    uint32_t attenuatorDb = s.AttenuatorDb;

    const auto modelKey = [&](std::string_view key, std::string_view value) {
        for (const FlagKey& k : kFilterKeys)
            if (key == k.key) read.*k.flag = true;
        for (const ScanFlagKey& k : kScanKeysBeforePause)
            if (key == k.key) read.Scan.*k.flag = true;
        for (const ScanFlagKey& k : kScanKeysAfterJob)
            if (key == k.key) read.Scan.*k.flag = true;
        for (const FlagKey& k : kSwitchKeys)
            if (key == k.key) read.*k.flag = true;
        for (const FlagKey& k : kBankFlagKeys)
            if (key == k.key) read.*k.flag = true;
        for (const LevelKey& k : kLevelKeys)
            if (key == k.key) read.*k.level = ClampLevel(ReadU32(value));
        for (const DepthKey& k : kAttenuatorKeys) {
            if (key != k.key) continue;
            attenuator = k.db != 0;
            if (attenuator) attenuatorDb = k.db;
        }
        for (const DepthKey& k : kDefaultDepthKeys)
            if (key == k.key) read.DefaultAttenuatorDb = k.db;
        if (key == "Банк") {
            const uint32_t number = ReadU32(value);
            if (number <= kLastBank) bank = number;
        }
        if (key == "Пауза") read.Scan.PauseMode = ReadU32(value);
        if (key == "Задание") read.Scan.JobName = value;
    };
    KeptStateLines bankPart{IsBankPartKey, {}};
    if (!::ReadStateFile(StateFilePath(), head, Scale, modelKey, &bankPart)) return false;

    Settings = read;
    StoredBankPart = std::move(bankPart.Lines);
    CurrentBank = bank;
    s.Attenuator = attenuator ? 1 : 0;
    s.AttenuatorDb = attenuatorDb;
    SavedDate = head.Date;
    SavedTime = head.Time;
    // A frequency from the file is held to what the receiver can tune.
    s.Frequency = std::clamp(head.Frequency, LowerLimit, UpperLimit);
    PanelFrequency = s.Frequency;
    s.Step = head.Step;
    s.Modulation = head.Modulation;
    SetViewStep(head.ViewStep);
    ViewPosition = std::min(head.ViewPosition, UpperLimit);
    SetSliders();
    return true;
}

// ---------------------------------------------------------------------------------------
// Display

void IC8500::ShowFrequency() {
    if (label_1) label_1->SetText(MHzText(PanelFrequency));
}

void IC8500::ShowWidth() {
    const ModeEntry* mode = FindMode(fdx_->Modulation, fdx_->Filter);
    // RTTY keeps the width shown before.
    if (!mode) return;
    if (width) width->SetText(mode->width);
    Scale.FillWindow = 2 * static_cast<int32_t>(FDX::ParseKHz(mode->width));
}

void IC8500::ShowAttenuator() {
    if (!catt0) return;
    ui::OptionButton* chosen = catt0;
    switch (AttenuatorOption(*fdx_)) {
        case 10:
            chosen = catt10;
            break;
        case 20:
            chosen = catt20;
            break;
        case 30:
            chosen = catt30;
            break;
        default:
            break;
    }
    if (!chosen->IsChecked()) chosen->SetChecked(true);
}

void IC8500::FillBankNames() {
    if (!bname) return;
    bname->Clear();
    for (const std::string& name : BankNames) bname->AddString(name);
}

void IC8500::ShowBank() {
    if (!bnum) return;
    bnum->SetText(std::to_string(CurrentBank));
    updwbnum->SetPosition(static_cast<int>(CurrentBank));
    bname->SetSelectedIndex(static_cast<int>(CurrentBank));
}

void IC8500::ShowSwitches() {
    if (!faru) return;
    faru->SetChecked(Settings.Agc);
    fpik->SetChecked(Settings.PeakFilter);
    noise->SetChecked(Settings.NoiseBlanker);
    cbank->SetChecked(Settings.DirectMode);
    memory->SetChecked(Settings.AllMemory);
}

void IC8500::SetSliders() {
    if (!porog) return;
    porog->SetPosition(static_cast<int>(ClampLevel(Settings.SquelchThreshold)) / kSliderUnit);
    zvuk->SetPosition(static_cast<int>(ClampLevel(Settings.AudioLevel)) / kSliderUnit);
}

void IC8500::LockControls(bool locked) {
    for (const ui::ControlResource& row : kIc8500Controls)
        if (ui::Control* control = FindControl(row.name)) control->SetEnabled(!locked);
    // The channel controls work on the selected channel, and no channel holds a frequency
    // until the banks are read.
    if (!locked) {
        for (ui::Window* control :
             std::initializer_list<ui::Window*>{textb_1, smod, sstep, comment, satt, select, skip})
            if (control) control->SetEnabled(false);
    }
}

void IC8500::FollowTuning() {
    PanelFrequency = std::clamp(fdx_->Frequency, LowerLimit, UpperLimit);
    ShowFrequency();
    FollowFrequency();
    RedrawScale();
}

// The view moves by whole pages so that the current frequency stays on the page.
void IC8500::FollowFrequency() {
    if (!scale) return;
    scaleWidth_ = scale->Geometry().width;
    if (scaleWidth_ <= 0) return;
    const int64_t page = int64_t{scaleWidth_} * ViewStep;
    const int64_t f = fdx_->Frequency;
    int64_t position = ViewPosition;
    if (f < position) position -= (position - f + page - 1) / page * page;
    if (f >= position + page) position += (f - position) / page * page;
    ViewPosition = static_cast<uint32_t>(std::clamp<int64_t>(position, 0, UpperLimit));
    ShowScrollBar();
}

// The scroll bar counts grid divisions: an arrow moves the view by one, the track by a page.
void IC8500::ShowScrollBar() {
    if (!scrollb_1 || scaleWidth_ <= 0) return;
    const int64_t grid = GridStep(scaleWidth_, ViewStep);
    const int64_t divisions = (int64_t{UpperLimit} + grid - 1) / grid;
    const int64_t pageDivisions = std::max<int64_t>(int64_t{scaleWidth_} * ViewStep / grid, 1);
    scrollb_1->SetRange(0, static_cast<int>(std::max<int64_t>(divisions - pageDivisions, 0)));
    scrollb_1->SetPageStep(static_cast<int>(pageDivisions));
    scrollb_1->SetPosition(static_cast<int>(ViewPosition / grid));
}

void IC8500::OnScrolled(int64_t division) {
    if (scaleWidth_ <= 0) return;
    const int64_t grid = GridStep(scaleWidth_, ViewStep);
    ViewPosition =
        static_cast<uint32_t>(std::clamp<int64_t>(division, 0, scrollb_1->High()) * grid);
    RedrawScale();
}

void IC8500::RedrawScale() {
    if (scale) scale->Redraw();
}

int64_t IC8500::FrequencyAt(int x, int y) const {
    const int64_t frequency =
        y < kOverviewHeight ? int64_t{x} * kOverviewUnit : int64_t{ViewStep} * x + ViewPosition;
    return std::clamp<int64_t>(frequency, LowerLimit, UpperLimit);
}

void IC8500::OnScaleMouse(ui::EventId id, int x, int y) {
    FDX& s = *fdx_;
    if (id == ui::EventId::MouseLeave) {
        s.CursorFrequency = -1;
        if (marking_) {
            marking_ = false;
            s.SelectionStart = s.SelectionEnd = -1;
            RedrawScale();
        }
        PostToOwner(PostShowStatus);
        return;
    }
    if (id == ui::EventId::MouseMove) {
        s.CursorFrequency = static_cast<int32_t>(FrequencyAt(x, y));
        if (!marking_) return;
        const int64_t low = std::min<int64_t>(markStart_, s.CursorFrequency);
        const int64_t high = std::max<int64_t>(markStart_, s.CursorFrequency);
        const bool wide = high - low > ViewStep;
        s.SelectionStart = wide ? static_cast<int32_t>(low) : -1;
        s.SelectionEnd = wide ? static_cast<int32_t>(high) : -1;
        RedrawScale();
        return;
    }
    if (PanelBusy) return;
    if (id == ui::EventId::LeftButtonDown) {
        s.CursorFrequency = static_cast<int32_t>(FrequencyAt(x, y));
        marking_ = true;
        markStart_ = s.CursorFrequency;
        s.SelectionStart = s.SelectionEnd = -1;
        return;
    }
    if (id == ui::EventId::LeftButtonUp && marking_) {
        marking_ = false;
        RedrawScale();
        // A plain click tunes; a marked span stays as the selection.
        const bool plainClick =
            s.SelectionStart < 0 || int64_t{s.SelectionEnd} - s.SelectionStart <= ViewStep;
        if (plainClick && s.CursorFrequency >= 0) TuneTo(static_cast<uint32_t>(s.CursorFrequency));
    }
}

void IC8500::DrawScale(ui::Painter& p) {
    const int w = p.Width();
    const int h = p.Height();
    p.FillRect({0, 0, w, h}, kBlack);
    if (w <= 2 || h <= kDetailTop + kBaseAboveBottom || !fdx_) return;
    const FDX& s = *fdx_;
    const int64_t position = ViewPosition;
    const int64_t viewStep = std::max<uint32_t>(ViewStep, 1);

    // Overview of the whole range, 5 MHz a pixel, with the current frequency marked.
    p.Line(0, 0, w - 1, 0, kSilver);
    p.Line(0, kOverviewHeight - 1, w - 1, kOverviewHeight - 1, kSilver);
    const int64_t mark = int64_t{s.Frequency} / kOverviewUnit;
    if (mark < w) p.Line(int(mark), 1, int(mark), kOverviewHeight - 2, kRed);

    const int base = h - kBaseAboveBottom;
    const auto columnOf = [&](int64_t frequency) { return (frequency - position) / viewStep; };
    if (s.SelectionStart >= 0 && s.SelectionEnd >= s.SelectionStart) {
        const int64_t x1 = std::max<int64_t>(columnOf(s.SelectionStart), 0);
        const int64_t x2 = std::min<int64_t>(columnOf(s.SelectionEnd), w - 1);
        if (x1 <= x2)
            p.FillRect({int(x1), kDetailTop, int(x2 - x1 + 1), base - kDetailTop}, kMarked);
    }

    // Grid lines and their MHz labels.
    const int64_t grid = GridStep(w, ViewStep);
    for (int64_t line = (position + grid - 1) / grid * grid; columnOf(line) < w; line += grid) {
        const int x = int(columnOf(line));
        for (int y = kDetailTop; y < base; y += 3) p.Line(x, y, x, y, kGrey);
        char label[32];
        std::snprintf(label, sizeof label, "%5.1f", static_cast<double>(line) / 10000.0);
        // 2 pixels right of its line; the last one keeps 2 pixels inside the scale.
        p.Text(std::min(x + 2, w - 2 - p.TextWidth(label)), base + 2, label, kSilver);
    }

    // One bar per column: the largest cell the column covers.
    for (int x = 0; x < w; ++x) {
        const int64_t first = Scale.IndexOf(position + x * viewStep);
        if (first < 0) break;
        const int64_t last = std::max(first, Scale.IndexOf(position + (x + 1) * viewStep - 1));
        uint8_t value = 0;
        for (int64_t c = first; c <= (last < 0 ? first : last); ++c)
            value = std::max(value, Scale.Cell(c));
        if (value >= kBarScale) p.Line(x, base, x, base - value / kBarScale, kGreen);
    }
    p.Line(0, base, w - 1, base, kSilver);

    // The cursor: yellow up to the level, red above it.
    const int64_t cursor = columnOf(s.Frequency);
    if (s.Frequency >= position && cursor < w) {
        const int top = base - Scale.At(s.Frequency) / kBarScale;
        p.Line(int(cursor), base, int(cursor), top, kYellow);
        if (top > kDetailTop) p.Line(int(cursor), top - 1, int(cursor), kDetailTop, kRed);
    }
}
