#include "receivers/aor/ar5000/ar5000_dialogs.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#include "receivers/aor/ar5000/ar5000.h"
#include "receivers/aor/ar5000/ar5000_form.h"
#include "state/message_bus.h"
#include "state/user_job.h"

namespace {

using aor::Format;
using ui::ControlKind;
namespace st = ui::style;
using Kind = Ar5000ScanSettings::Kind;

// One step of a threshold slider is 16 level units.
constexpr int kSliderUnit = 16;
constexpr uint32_t kMostPause = 60;
constexpr uint32_t kMostDelay = 99;

// ---------------------------------------------------------------------------------------
// RAR5000

enum RarControl : int {
    kKindFrame = 201,
    kSearchKind,
    kBankKind,
    kVfoKind,
    kAutoStore,
    kMemoryFrame,
    kMemoryBox0,  // .. + 9
    kSearchFrame = kMemoryBox0 + 10,
    kSearchBox0,  // .. + 19
    kFirstLevelLabel = kSearchBox0 + 20,
    kFirstLevel,
    kSecondLevelLabel,
    kSecondLevel,
    kPauseLabel,
    kPause,
    kDelayOn,
    kDelay,
    kDelayShown,
    kModeScan,
    kModeFrame,
    kMode0,  // .. + 4
    kSelectScan = kMode0 + 5,
    kVoice,
    kHold,
    kLink,
    kLevelBox,
    kAction,
    kJobs,
    kSearchShown,
    kBankShown,
};

constexpr const char* kActions[] = {"режим пауза", "звуковой сигнал", "выполнение задания",
                                    "занести частоту в банк"};
constexpr const char* kNoJob = "нет задания";

// clang-format off
constexpr ui::ControlResource kRarControls[] = {
    {kKindFrame, ControlKind::GroupBox, "groupb_1", {4, 2, 124, 44}, 0, "Сканирование", nullptr},
    {kSearchKind, ControlKind::OptionButton, "diapscan", {8, 13, 116, 10}, 0, "по банкам поиска", nullptr},
    {kBankKind, ControlKind::OptionButton, "bankscan", {8, 23, 116, 10}, 0, "по банкам памяти", nullptr},
    {kVfoKind, ControlKind::OptionButton, "VFOscan", {8, 33, 116, 10}, 0, "по VFO", nullptr},
    {kAutoStore, ControlKind::CheckBox, "AUTO", {134, 13, 60, 10}, 0, "AUTO", nullptr},
    {kMemoryFrame, ControlKind::GroupBox, "groupb_2", {4, 48, 250, 24}, 0, "Банки памяти", nullptr},
    {kMemoryBox0 + 0, ControlKind::CheckBox, "checkbox_1", {8, 59, 22, 10}, 0, "0", nullptr},
    {kMemoryBox0 + 1, ControlKind::CheckBox, "checkbox_2", {32, 59, 22, 10}, 0, "1", nullptr},
    {kMemoryBox0 + 2, ControlKind::CheckBox, "checkbox_3", {56, 59, 22, 10}, 0, "2", nullptr},
    {kMemoryBox0 + 3, ControlKind::CheckBox, "checkbox_4", {80, 59, 22, 10}, 0, "3", nullptr},
    {kMemoryBox0 + 4, ControlKind::CheckBox, "checkbox_5", {104, 59, 22, 10}, 0, "4", nullptr},
    {kMemoryBox0 + 5, ControlKind::CheckBox, "checkbox_6", {128, 59, 22, 10}, 0, "5", nullptr},
    {kMemoryBox0 + 6, ControlKind::CheckBox, "checkbox_7", {152, 59, 22, 10}, 0, "6", nullptr},
    {kMemoryBox0 + 7, ControlKind::CheckBox, "checkbox_8", {176, 59, 22, 10}, 0, "7", nullptr},
    {kMemoryBox0 + 8, ControlKind::CheckBox, "checkbox_9", {200, 59, 22, 10}, 0, "8", nullptr},
    {kMemoryBox0 + 9, ControlKind::CheckBox, "checkbox_10", {224, 59, 22, 10}, 0, "9", nullptr},
    {kSearchFrame, ControlKind::GroupBox, "groupb_3", {4, 74, 250, 36}, 0, "Банки поиска", nullptr},
    {kSearchBox0 + 0, ControlKind::CheckBox, "checkbox_11", {8, 85, 22, 10}, 0, "00", nullptr},
    {kSearchBox0 + 1, ControlKind::CheckBox, "checkbox_12", {32, 85, 22, 10}, 0, "01", nullptr},
    {kSearchBox0 + 2, ControlKind::CheckBox, "checkbox_13", {56, 85, 22, 10}, 0, "02", nullptr},
    {kSearchBox0 + 3, ControlKind::CheckBox, "checkbox_14", {80, 85, 22, 10}, 0, "03", nullptr},
    {kSearchBox0 + 4, ControlKind::CheckBox, "checkbox_15", {104, 85, 22, 10}, 0, "04", nullptr},
    {kSearchBox0 + 5, ControlKind::CheckBox, "checkbox_16", {128, 85, 22, 10}, 0, "05", nullptr},
    {kSearchBox0 + 6, ControlKind::CheckBox, "checkbox_17", {152, 85, 22, 10}, 0, "06", nullptr},
    {kSearchBox0 + 7, ControlKind::CheckBox, "checkbox_18", {176, 85, 22, 10}, 0, "07", nullptr},
    {kSearchBox0 + 8, ControlKind::CheckBox, "checkbox_19", {200, 85, 22, 10}, 0, "08", nullptr},
    {kSearchBox0 + 9, ControlKind::CheckBox, "checkbox_20", {224, 85, 22, 10}, 0, "09", nullptr},
    {kSearchBox0 + 10, ControlKind::CheckBox, "checkbox_21", {8, 97, 22, 10}, 0, "10", nullptr},
    {kSearchBox0 + 11, ControlKind::CheckBox, "checkbox_22", {32, 97, 22, 10}, 0, "11", nullptr},
    {kSearchBox0 + 12, ControlKind::CheckBox, "checkbox_23", {56, 97, 22, 10}, 0, "12", nullptr},
    {kSearchBox0 + 13, ControlKind::CheckBox, "checkbox_24", {80, 97, 22, 10}, 0, "13", nullptr},
    {kSearchBox0 + 14, ControlKind::CheckBox, "checkbox_25", {104, 97, 22, 10}, 0, "14", nullptr},
    {kSearchBox0 + 15, ControlKind::CheckBox, "checkbox_26", {128, 97, 22, 10}, 0, "15", nullptr},
    {kSearchBox0 + 16, ControlKind::CheckBox, "checkbox_27", {152, 97, 22, 10}, 0, "16", nullptr},
    {kSearchBox0 + 17, ControlKind::CheckBox, "checkbox_28", {176, 97, 22, 10}, 0, "17", nullptr},
    {kSearchBox0 + 18, ControlKind::CheckBox, "checkbox_29", {200, 97, 22, 10}, 0, "18", nullptr},
    {kSearchBox0 + 19, ControlKind::CheckBox, "checkbox_30", {224, 97, 22, 10}, 0, "19", nullptr},
    {kFirstLevelLabel, ControlKind::Label, "label_1", {4, 114, 36, 9}, st::kNoWrap, "Порог 1", nullptr},
    {kFirstLevel, ControlKind::Slider, "value", {40, 112, 84, 14}, 0, nullptr, nullptr},
    {kSecondLevelLabel, ControlKind::Label, "label_2", {130, 114, 36, 9}, st::kNoWrap, "Порог 2", nullptr},
    {kSecondLevel, ControlKind::Slider, "value2", {166, 112, 88, 14}, 0, nullptr, nullptr},
    {kPauseLabel, ControlKind::Label, "label_3", {4, 130, 26, 9}, st::kNoWrap, "Пауза", nullptr},
    {kPause, ControlKind::Edit, "textb_1", {32, 128, 24, 12}, 0, nullptr, nullptr},
    {kDelayOn, ControlKind::CheckBox, "delay", {62, 129, 48, 10}, 0, "Задержка", nullptr},
    {kDelay, ControlKind::Edit, "textb_3", {112, 128, 24, 12}, 0, nullptr, nullptr},
    {kDelayShown, ControlKind::Label, "textb_2", {140, 130, 24, 9}, st::kNoWrap, nullptr, nullptr},
    {kModeScan, ControlKind::CheckBox, "modscan", {4, 148, 48, 10}, 0, "Модуляция", nullptr},
    {kModeFrame, ControlKind::GroupBox, "groupb_4", {54, 142, 200, 31}, 0, nullptr, nullptr},
    {kMode0 + 0, ControlKind::OptionButton, "mod_1", {57, 148, 65, 10}, 0, "Модуляция NFM", nullptr},
    {kMode0 + 1, ControlKind::OptionButton, "mod_2", {123, 148, 62, 10}, 0, "Модуляция AM", nullptr},
    {kMode0 + 2, ControlKind::OptionButton, "mod_3", {186, 148, 63, 10}, 0, "Модуляция LSB", nullptr},
    {kMode0 + 3, ControlKind::OptionButton, "mod_4", {57, 160, 65, 10}, 0, "Модуляция USB", nullptr},
    {kMode0 + 4, ControlKind::OptionButton, "mod_5", {123, 160, 62, 10}, 0, "Модуляция CW", nullptr},
    {kSelectScan, ControlKind::CheckBox, "selscan", {4, 175, 70, 10}, 0, "Выборочное", nullptr},
    {kVoice, ControlKind::CheckBox, "voice", {76, 175, 40, 10}, 0, "Голос", nullptr},
    {kHold, ControlKind::CheckBox, "hold", {118, 175, 40, 10}, 0, "Запрет", nullptr},
    {kLink, ControlKind::CheckBox, "link", {160, 175, 40, 10}, 0, "Связь", nullptr},
    {kLevelBox, ControlKind::CheckBox, "Lev_box", {202, 175, 52, 10}, 0, "Уровень", nullptr},
    {kAction, ControlKind::ComboBox, "pausemode", {4, 189, 110, 77}, 0, nullptr, nullptr},
    {kJobs, ControlKind::ComboBox, "jobs", {118, 189, 100, 77}, 0, nullptr, nullptr},
    {kSearchShown, ControlKind::Label, "sbank", {222, 191, 14, 9}, st::kNoWrap, nullptr, nullptr},
    {kBankShown, ControlKind::Label, "bank", {240, 191, 14, 9}, st::kNoWrap, nullptr, nullptr},
};
// clang-format on

constexpr ui::FormResource kRarForm{"ID_RAR5000",      258,          206,
                                    "8.MS Sans Serif", st::kCaption, "Режим сканирования AR5000",
                                    kRarControls};

// The banks a link text names: "0 3 " for memory banks, "00 05 " for search banks.
template <std::size_t N>
std::array<bool, N> LinkedBanks(const std::string& text) {
    std::array<bool, N> linked{};
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        if (word.find_first_not_of("0123456789") != std::string::npos) continue;
        const unsigned long bank = std::stoul(word);
        if (bank < N) linked[bank] = true;
    }
    return linked;
}

// ---------------------------------------------------------------------------------------
// PAR5000

enum ParControl : int {
    kFmFrame = 301,
    kFnar,
    kFwide,
    kAmFrame,
    kAnar,
    kAwide,
    kWfmFrame,
    kWnar,
    kAttFrame,
    kAtt10,
    kAtt20,
    kAttAu,
    kAntFrame,
    kAnt1,  // .. + 3
    kIfFrame = kAnt1 + 4,
    kIfOff,
    kIf1,
    kIf2,
    kBankFrame,
    kBank1,
    kBank2,
    kTune,
    kCwLabel,
    kCwPitch,
    kDeEmphasisLabel,
    kDeEmphasis,
    kLpfLabel,
    kLpf,
    kHpfLabel,
    kHpf,
};

// clang-format off
constexpr ui::ControlResource kParControls[] = {
    {kFmFrame, ControlKind::GroupBox, "groupb_1", {4, 2, 76, 22}, 0, "FM", nullptr},
    {kFnar, ControlKind::OptionButton, "Fnar", {8, 13, 34, 9}, 0, "узк", nullptr},
    {kFwide, ControlKind::OptionButton, "Fwide", {42, 13, 36, 9}, 0, "шир", nullptr},
    {kAmFrame, ControlKind::GroupBox, "groupb_2", {84, 2, 76, 22}, 0, "AM", nullptr},
    {kAnar, ControlKind::OptionButton, "Anar", {88, 13, 34, 9}, 0, "узк", nullptr},
    {kAwide, ControlKind::OptionButton, "Awide", {122, 13, 36, 9}, 0, "шир", nullptr},
    {kWfmFrame, ControlKind::GroupBox, "groupb_3", {164, 2, 40, 22}, 0, "WFM", nullptr},
    {kWnar, ControlKind::OptionButton, "Wnar", {168, 13, 34, 9}, 0, "узк", nullptr},
    {kAttFrame, ControlKind::GroupBox, "groupb_4", {208, 2, 90, 22}, 0, "Атт", nullptr},
    {kAtt10, ControlKind::OptionButton, "att10", {212, 13, 26, 9}, 0, "10", nullptr},
    {kAtt20, ControlKind::OptionButton, "att20", {240, 13, 26, 9}, 0, "20", nullptr},
    {kAttAu, ControlKind::OptionButton, "attAU", {268, 13, 28, 9}, 0, "AU", nullptr},
    {kAntFrame, ControlKind::GroupBox, "groupb_5", {4, 26, 112, 22}, 0, "Антенна", nullptr},
    {kAnt1, ControlKind::OptionButton, "ant1", {8, 37, 26, 9}, 0, "1", nullptr},
    {kAnt1 + 1, ControlKind::OptionButton, "ant2", {34, 37, 26, 9}, 0, "2", nullptr},
    {kAnt1 + 2, ControlKind::OptionButton, "ant3", {60, 37, 26, 9}, 0, "3", nullptr},
    {kAnt1 + 3, ControlKind::OptionButton, "ant4", {86, 37, 26, 9}, 0, "4", nullptr},
    {kIfFrame, ControlKind::GroupBox, "groupb_6", {120, 26, 98, 22}, 0, "Выход ПЧ", nullptr},
    {kIfOff, ControlKind::OptionButton, "if_off", {124, 37, 34, 9}, 0, "выкл", nullptr},
    {kIf1, ControlKind::OptionButton, "if_1", {160, 37, 26, 9}, 0, "1", nullptr},
    {kIf2, ControlKind::OptionButton, "if_2", {188, 37, 26, 9}, 0, "2", nullptr},
    {kBankFrame, ControlKind::GroupBox, "groupb_7", {222, 26, 76, 22}, 0, "Банк EEPROM", nullptr},
    {kBank1, ControlKind::OptionButton, "bank1", {226, 37, 30, 9}, 0, "0", nullptr},
    {kBank2, ControlKind::OptionButton, "bank2", {260, 37, 30, 9}, 0, "1", nullptr},
    {kTune, ControlKind::CheckBox, "tune", {4, 52, 80, 10}, 0, "Настройка", nullptr},
    {kCwLabel, ControlKind::Label, "label_1", {4, 68, 40, 9}, st::kNoWrap, "CW тон", nullptr},
    {kCwPitch, ControlKind::ComboBox, "cw_pitch", {46, 66, 60, 77}, 0, nullptr, nullptr},
    {kDeEmphasisLabel, ControlKind::Label, "label_2", {112, 68, 60, 9}, st::kNoWrap, "Предыскажения", nullptr},
    {kDeEmphasis, ControlKind::ComboBox, "de_emphasis", {174, 66, 60, 77}, 0, nullptr, nullptr},
    {kLpfLabel, ControlKind::Label, "label_3", {4, 84, 40, 9}, st::kNoWrap, "ФНЧ", nullptr},
    {kLpf, ControlKind::ComboBox, "LPF", {46, 82, 60, 77}, 0, nullptr, nullptr},
    {kHpfLabel, ControlKind::Label, "label_4", {112, 84, 60, 9}, st::kNoWrap, "ФВЧ", nullptr},
    {kHpf, ControlKind::ComboBox, "HPF", {174, 82, 60, 77}, 0, nullptr, nullptr},
};
// clang-format on

constexpr ui::FormResource kParForm{
    "ID_PAR5000", 302, 100, "8.MS Sans Serif", st::kCaption, "Функции AR5000", kParControls};

constexpr const char* kCwPitches[] = {"400 Гц", "500 Гц", "600 Гц",  "700 Гц",
                                      "800 Гц", "900 Гц", "1000 Гц", "1100 Гц"};
constexpr const char* kDeEmphases[] = {"25 uS", "50 uS", "75 uS", "750 uS"};
constexpr const char* kLowPasses[] = {"3 КГц", "4 КГц", "6 КГц", "12 КГц"};
constexpr const char* kHighPasses[] = {"0.05 КГц", "0.2  КГц", "0.3  КГц", "0.4  КГц"};

}  // namespace

// ---------------------------------------------------------------------------------------
// What both dialogs share

Ar5000Dialog::Ar5000Dialog(AR5000& panel, const ui::FormResource& form)
    : panel_(panel), form_(form) {
    ui::RegisterFormResource(form);
    AddHandler(ui::EventId::Create, [this](ui::Object&, ui::EventData&) {
        CreateControls();
        Wire();
        return false;
    });
    AddHandler(ui::EventId::RightButtonUp, [this](ui::Object&, ui::EventData&) {
        panel_.PostToOwner(PostRunMacro);
        return false;
    });
}

bool Ar5000Dialog::MakeWindow(ui::Form* parent) {
    return HasWindow() || Create(form_.name, parent);
}

// ---------------------------------------------------------------------------------------
// RAR5000

RAR5000::RAR5000(AR5000& panel) : Ar5000Dialog(panel, kRarForm) {}

RAR5000::~RAR5000() {
    Destroy();
}

void RAR5000::Open(ui::Form* parent) {
    if (!MakeWindow(parent)) return;
    Refresh();
    Show();
}

void RAR5000::CreateControls() {
    diapscan = CreateControl<ui::OptionButton>(kSearchKind);
    bankscan = CreateControl<ui::OptionButton>(kBankKind);
    VFOscan = CreateControl<ui::OptionButton>(kVfoKind);
    AUTO = CreateControl<ui::CheckBox>(kAutoStore);
    for (int frame : {kKindFrame, kMemoryFrame, kSearchFrame, kModeFrame})
        CreateControl<ui::GroupBox>(frame);
    for (int label : {kFirstLevelLabel, kSecondLevelLabel, kPauseLabel})
        CreateControl<ui::Label>(label);
    for (int i = 0; i < 10; ++i) memoryBoxes[i] = CreateControl<ui::CheckBox>(kMemoryBox0 + i);
    for (int i = 0; i < 20; ++i) searchBoxes[i] = CreateControl<ui::CheckBox>(kSearchBox0 + i);
    value = CreateControl<ui::Slider>(kFirstLevel);
    value2 = CreateControl<ui::Slider>(kSecondLevel);
    textb_1 = CreateControl<ui::Edit>(kPause);
    delay = CreateControl<ui::CheckBox>(kDelayOn);
    textb_3 = CreateControl<ui::Edit>(kDelay);
    textb_2 = CreateControl<ui::Label>(kDelayShown);
    modscan = CreateControl<ui::CheckBox>(kModeScan);
    for (int i = 0; i < 5; ++i) modes[i] = CreateControl<ui::OptionButton>(kMode0 + i);
    selscan = CreateControl<ui::CheckBox>(kSelectScan);
    voice = CreateControl<ui::CheckBox>(kVoice);
    hold = CreateControl<ui::CheckBox>(kHold);
    link = CreateControl<ui::CheckBox>(kLink);
    Lev_box = CreateControl<ui::CheckBox>(kLevelBox);
    pausemode = CreateControl<ui::ComboBox>(kAction);
    jobs = CreateControl<ui::ComboBox>(kJobs);
    sbank = CreateControl<ui::Label>(kSearchShown);
    bank = CreateControl<ui::Label>(kBankShown);
    value->SetRange(0, 15);
    value2->SetRange(0, 15);
    for (const char* text : kActions) pausemode->AddString(text);
}

void RAR5000::Wire() {
    using ui::EventId;
    ar5000::WhenRaised(diapscan, EventId::Click, [this](ui::EventData&) { ChooseKind(0); });
    ar5000::WhenRaised(bankscan, EventId::Click, [this](ui::EventData&) { ChooseKind(1); });
    ar5000::WhenRaised(VFOscan, EventId::Click, [this](ui::EventData&) { ChooseKind(2); });
    for (ui::CheckBox* box : memoryBoxes)
        ar5000::WhenRaised(box, EventId::Click, [this](ui::EventData&) { BanksChanged(); });
    for (ui::CheckBox* box : searchBoxes)
        ar5000::WhenRaised(box, EventId::Click, [this](ui::EventData&) { BanksChanged(); });
    ar5000::WhenRaised(AUTO, EventId::Click, [this](ui::EventData&) {
        panel_.SendSetting(AUTO->IsChecked() ? "AS1" : "AS0");
    });
    const auto threshold = [this](ui::Slider* slider, const char* search, const char* memory,
                                  uint32_t Ar5000ScanSettings::*kept) {
        ar5000::WhenRaised(slider, EventId::Change, [this, search, memory, kept](ui::EventData& e) {
            const uint32_t level =
                std::min<uint32_t>(static_cast<uint32_t>(e.value) * kSliderUnit, 255);
            Ar5000ScanSettings& scan = panel_.ScanSettings;
            if (scan.kind == Kind::Search)
                panel_.SendSetting(Format("%s%03u", search, level));
            else if (scan.kind == Kind::MemoryBanks)
                panel_.SendSetting(Format("%s%03u", memory, level));
            else
                scan.*kept = level;
        });
    };
    threshold(value, "SB", "XB", &Ar5000ScanSettings::FirstLevel);
    threshold(value2, "SA", "XA", &Ar5000ScanSettings::SecondLevel);
    ar5000::WhenRaised(textb_1, EventId::Change, [this](ui::EventData& e) {
        Ar5000ScanSettings& scan = panel_.ScanSettings;
        scan.Pause = std::min<uint32_t>(
            static_cast<uint32_t>(std::max<int64_t>(std::atoll(e.text.c_str()), 0)), kMostPause);
        if (scan.kind == Kind::Search) panel_.SendSetting(Format("SP%02u", scan.Pause));
        if (scan.kind == Kind::MemoryBanks) panel_.SendSetting(Format("XP%02u", scan.Pause));
    });
    ar5000::WhenRaised(textb_3, EventId::Change, [this](ui::EventData& e) {
        Ar5000ScanSettings& scan = panel_.ScanSettings;
        scan.Delay = std::min(FDX::ParseKHz(e.text), kMostDelay);
        textb_2->SetText(Format("%1.1f", scan.Delay / 10.0));
        if (!scan.DelayOn) return;
        const char* token = scan.kind == Kind::Search        ? "SD"
                            : scan.kind == Kind::MemoryBanks ? "XD"
                                                             : "DD";
        panel_.SendSetting(Format("%s%02u", token, scan.Delay));
    });
    ar5000::WhenRaised(delay, EventId::Click, [this](ui::EventData&) {
        panel_.ScanSettings.DelayOn = delay->IsChecked();
    });
    ar5000::WhenRaised(modscan, EventId::Click, [this](ui::EventData&) {
        panel_.ScanSettings.ModeScan = modscan->IsChecked();
        if (!panel_.ScanSettings.ModeScan) panel_.SendSetting("XMF");
        ShowModeBoxes();
    });
    for (int i = 0; i < 5; ++i) {
        ar5000::WhenRaised(modes[i], EventId::Click, [this, i](ui::EventData&) {
            if (!modes[i]->IsChecked()) return;
            panel_.ScanSettings.ModeChoice = static_cast<uint32_t>(i);
            panel_.SendSetting(Format("XM%d", i));
        });
    }
    ar5000::WhenRaised(selscan, EventId::Click, [this](ui::EventData&) {
        panel_.ScanSettings.SelectScan = selscan->IsChecked();
        ShowModeBoxes();
    });
    const std::pair<ui::CheckBox*, bool Ar5000ScanSettings::*> flags[] = {
        {voice, &Ar5000ScanSettings::Voice},
        {hold, &Ar5000ScanSettings::Hold},
        {Lev_box, &Ar5000ScanSettings::LevelBox}};
    for (const auto& [box, flag] : flags)
        ar5000::WhenRaised(box, EventId::Click, [this, box = box, flag = flag](ui::EventData&) {
            panel_.ScanSettings.*flag = box->IsChecked();
        });
    // Linking the ticked banks into the scan: BQ for the search banks, ML for the memory.
    ar5000::WhenRaised(link, EventId::Click, [this](ui::EventData&) {
        const bool on = link->IsChecked();
        panel_.Reply.BankLink = on;
        const bool memory = panel_.ScanSettings.kind == Kind::MemoryBanks;
        panel_.SendSetting(std::string(memory ? "ML" : "BQ") + (on ? "1" : "0"));
    });
    ar5000::WhenRaised(pausemode, EventId::Select, [this](ui::EventData& e) {
        if (e.value >= 0 && e.value < 4)
            panel_.ScanSettings.Action = static_cast<uint32_t>(e.value);
    });
    ar5000::WhenRaised(jobs, EventId::Select, [this](ui::EventData& e) {
        Ar5000ScanSettings& scan = panel_.ScanSettings;
        const auto& stored = panel_.State()->Jobs;
        if (e.value <= 0 || static_cast<std::size_t>(e.value) > stored.size() ||
            !stored[static_cast<std::size_t>(e.value - 1)]) {
            scan.JobIndex = 0;
            scan.JobName.clear();
            return;
        }
        scan.JobIndex = static_cast<int32_t>(e.value);
        scan.JobName = stored[static_cast<std::size_t>(e.value - 1)]->Identifier;
    });
}

void RAR5000::ChooseKind(int kind) {
    if (filling_) return;
    panel_.ScanSettings.kind = kind == 0 ? Kind::Search : kind == 1 ? Kind::MemoryBanks : Kind::Vfo;
    Refresh();
}

// Ticked memory banks "0 ".."9 ", ticked search banks "00 ".."19 ", in bank order; the
// receiver takes the list of the kind the scan runs.
void RAR5000::BanksChanged() {
    if (filling_) return;
    Ar5000ScanSettings& scan = panel_.ScanSettings;
    scan.MemoryLinks.clear();
    scan.SearchLinks.clear();
    for (int i = 0; i < 10; ++i)
        if (memoryBoxes[i]->IsChecked()) scan.MemoryLinks += Format("%d ", i);
    for (int i = 0; i < 20; ++i)
        if (searchBoxes[i]->IsChecked()) scan.SearchLinks += Format("%02d ", i);
    panel_.SendBankLinks();
}

void RAR5000::ShowModeBoxes() {
    const Ar5000ScanSettings& scan = panel_.ScanSettings;
    for (ui::OptionButton* option : modes) option->SetEnabled(scan.ModeScan && !scan.SelectScan);
    modscan->SetEnabled(!scan.SelectScan);
    selscan->SetEnabled(!scan.ModeScan);
}

void RAR5000::Refresh() {
    if (!HasWindow()) return;
    filling_ = true;
    const Ar5000ScanSettings& scan = panel_.ScanSettings;
    diapscan->SetChecked(scan.kind == Kind::Search);
    bankscan->SetChecked(scan.kind == Kind::MemoryBanks);
    VFOscan->SetChecked(scan.kind == Kind::Vfo);
    AUTO->SetChecked(panel_.Reply.AutoStore);
    const auto memory = LinkedBanks<10>(scan.MemoryLinks);
    const auto search = LinkedBanks<20>(scan.SearchLinks);
    for (int i = 0; i < 10; ++i) memoryBoxes[i]->SetChecked(memory[i]);
    for (int i = 0; i < 20; ++i) searchBoxes[i]->SetChecked(search[i]);
    textb_1->SetText(Format("%u", scan.Pause));
    textb_3->SetText(Format("%1.1f", scan.Delay / 10.0));
    textb_2->SetText(Format("%1.1f", scan.Delay / 10.0));
    delay->SetChecked(scan.DelayOn);
    modscan->SetChecked(scan.ModeScan);
    for (int i = 0; i < 5; ++i) modes[i]->SetChecked(static_cast<uint32_t>(i) == scan.ModeChoice);
    selscan->SetChecked(scan.SelectScan);
    voice->SetChecked(scan.Voice);
    hold->SetChecked(scan.Hold);
    link->SetChecked(panel_.Reply.BankLink);
    Lev_box->SetChecked(scan.LevelBox);
    value->SetPosition(static_cast<int>(scan.FirstLevel) / kSliderUnit);
    value2->SetPosition(static_cast<int>(scan.SecondLevel) / kSliderUnit);
    pausemode->SetSelectedIndex(static_cast<int>(std::min<uint32_t>(scan.Action, 3)));
    jobs->Clear();
    jobs->AddString(kNoJob);
    for (const UserJob* job : panel_.State()->Jobs) jobs->AddString(job ? job->Identifier : "");
    jobs->SetSelectedIndex(scan.JobIndex);
    sbank->SetText(Format("%02d", panel_.CurrentSearchBank));
    bank->SetText(Format("%d", panel_.CurrentBank));
    ShowModeBoxes();
    filling_ = false;
}

// ---------------------------------------------------------------------------------------
// PAR5000

PAR5000::PAR5000(AR5000& panel) : Ar5000Dialog(panel, kParForm) {}

PAR5000::~PAR5000() {
    Destroy();
}

void PAR5000::Open(ui::Form* parent) {
    if (!MakeWindow(parent)) return;
    // The answers come in order: the last one completes the exchange.
    panel_.Link.Exchange("AN\r\nAI\r\nMT\r\nCW\r\nEN\r\nLP\r\nHP\r\nBN\r\n", "BN");
    Refresh();
    Show();
}

void PAR5000::CreateControls() {
    for (int frame : {kFmFrame, kAmFrame, kWfmFrame, kAttFrame, kAntFrame, kIfFrame, kBankFrame})
        CreateControl<ui::GroupBox>(frame);
    for (int label : {kCwLabel, kDeEmphasisLabel, kLpfLabel, kHpfLabel})
        CreateControl<ui::Label>(label);
    Fnar = CreateControl<ui::OptionButton>(kFnar);
    Fwide = CreateControl<ui::OptionButton>(kFwide);
    Anar = CreateControl<ui::OptionButton>(kAnar);
    Awide = CreateControl<ui::OptionButton>(kAwide);
    Wnar = CreateControl<ui::OptionButton>(kWnar);
    att10 = CreateControl<ui::OptionButton>(kAtt10);
    att20 = CreateControl<ui::OptionButton>(kAtt20);
    attAU = CreateControl<ui::OptionButton>(kAttAu);
    for (int i = 0; i < 4; ++i) ant[i] = CreateControl<ui::OptionButton>(kAnt1 + i);
    if_off = CreateControl<ui::OptionButton>(kIfOff);
    if_1 = CreateControl<ui::OptionButton>(kIf1);
    if_2 = CreateControl<ui::OptionButton>(kIf2);
    bank1 = CreateControl<ui::OptionButton>(kBank1);
    bank2 = CreateControl<ui::OptionButton>(kBank2);
    tune = CreateControl<ui::CheckBox>(kTune);
    cw_pitch = CreateControl<ui::ComboBox>(kCwPitch);
    de_emphasis = CreateControl<ui::ComboBox>(kDeEmphasis);
    LPF = CreateControl<ui::ComboBox>(kLpf);
    HPF = CreateControl<ui::ComboBox>(kHpf);
    for (const char* text : kCwPitches) cw_pitch->AddString(text);
    for (const char* text : kDeEmphases) de_emphasis->AddString(text);
    for (const char* text : kLowPasses) LPF->AddString(text);
    for (const char* text : kHighPasses) HPF->AddString(text);
}

void PAR5000::Wire() {
    using ui::EventId;
    // A narrow or wide choice is taken back by a second click: the mode goes normal again.
    const auto choice = [this](ui::OptionButton* option, bool AR5000::*flag, bool AR5000::*other) {
        ar5000::WhenRaised(option, EventId::Click, [this, option, flag, other](ui::EventData&) {
            if (panel_.*flag) {
                panel_.*flag = false;
                option->SetChecked(false);
                return;
            }
            panel_.*flag = true;
            if (other) panel_.*other = false;
        });
    };
    choice(Fnar, &AR5000::Fnar, &AR5000::Fwide);
    choice(Fwide, &AR5000::Fwide, &AR5000::Fnar);
    choice(Anar, &AR5000::Anar, &AR5000::Awide);
    choice(Awide, &AR5000::Awide, &AR5000::Anar);
    choice(Wnar, &AR5000::Wnar, nullptr);
    const std::pair<ui::OptionButton*, uint32_t> depths[] = {
        {att10, 10}, {att20, 20}, {attAU, 255}};
    for (const auto& [option, db] : depths)
        ar5000::WhenRaised(option, EventId::Click,
                           [this, db = db](ui::EventData&) { panel_.AttenuatorDepth = db; });
    for (int i = 0; i < 4; ++i)
        ar5000::WhenRaised(ant[i], EventId::Click,
                           [this, i](ui::EventData&) { panel_.SendText(Format("AN%d", i + 1)); });
    const std::pair<ui::OptionButton*, const char*> outputs[] = {
        {if_off, "AI0"}, {if_1, "AI1"}, {if_2, "AI2"}, {bank1, "BN0"}, {bank2, "BN1"}};
    for (const auto& [option, text] : outputs)
        ar5000::WhenRaised(option, EventId::Click,
                           [this, text = text](ui::EventData&) { panel_.SendText(text); });
    ar5000::WhenRaised(tune, EventId::Click, [this](ui::EventData&) {
        panel_.SendText(tune->IsChecked() ? "MT1" : "MT0");
    });
    const std::pair<ui::ComboBox*, const char*> lists[] = {
        {cw_pitch, "CW%d"}, {de_emphasis, "EN%d"}, {LPF, "LP%d"}, {HPF, "HP%d"}};
    for (const auto& [list, format] : lists)
        ar5000::WhenRaised(list, EventId::Select, [this, format = format](ui::EventData& e) {
            if (e.value >= 0) panel_.SendText(Format(format, static_cast<int>(e.value)));
        });
}

void PAR5000::Refresh() {
    if (!HasWindow()) return;
    const Ar5000Reply& r = panel_.Reply;
    Fnar->SetChecked(panel_.Fnar);
    Fwide->SetChecked(panel_.Fwide);
    Anar->SetChecked(panel_.Anar);
    Awide->SetChecked(panel_.Awide);
    Wnar->SetChecked(panel_.Wnar);
    att10->SetChecked(panel_.AttenuatorDepth == 10);
    att20->SetChecked(panel_.AttenuatorDepth == 20);
    attAU->SetChecked(panel_.AttenuatorDepth == 255);
    for (int i = 0; i < 4; ++i) ant[i]->SetChecked(r.Antenna == i + 1);
    if_off->SetChecked(r.IfOutput == 0);
    if_1->SetChecked(r.IfOutput == 1);
    if_2->SetChecked(r.IfOutput == 2);
    bank1->SetChecked(r.EepromBank == 0);
    bank2->SetChecked(r.EepromBank == 1);
    tune->SetChecked(r.Tuning);
    cw_pitch->SetSelectedIndex(r.CwPitch);
    de_emphasis->SetSelectedIndex(r.DeEmphasis);
    LPF->SetSelectedIndex(r.LowPass);
    HPF->SetSelectedIndex(r.HighPass);
}
