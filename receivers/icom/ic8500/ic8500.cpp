#include "receivers/icom/ic8500/ic8500.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "receivers/icom/ic8500/ric8500.h"
#include "state/message_bus.h"
#include "state/user_job.h"

namespace {

constexpr ui::ControlResource kIc8500Controls[] = {UI_CONTROL_ROWS(IC8500_CONTROLS)};

constexpr ui::FormResource kIc8500Form = PanelForm("ID_IC8500", kIc8500Controls);

// Modes and filters: what SetMode sends, what the receiver reports, the bandwidth in kHz.
// clang-format off
constexpr CivMode kModes[] = {
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

// Tuning steps with a code of their own (100 Hz units), as the step command and a channel
// record carry them; any other goes out as the programmed step (code 13).
struct StepEntry {
    uint32_t step;
    const char* code;
};
// clang-format off
constexpr StepEntry kStepCodes[] = {
    {1, "02"}, {10, "03"}, {25, "04"}, {50, "05"}, {90, "06"}, {100, "07"},
    {125, "08"}, {200, "09"}, {250, "10"}, {1000, "11"}, {10000, "12"},
};
// clang-format on
constexpr const char* kProgrammedStep = "1013";

// A channel's step (kHz) and mode as the channel controls offer them.
constexpr const char* kChannelSteps[] = {"10.0", "12.5", "20.0", "25.0", "100.0", "1000.0"};
constexpr const char* kChannelModes[] = {"F", "W", "A", "L", "U", "C"};

// Off, then the depths; on at another depth is 10 dB.
constexpr CivAttenuator kAttenuators[] = {{0, "1100"}, {10, "1110"}, {20, "1120"}, {30, "1130"}};

constexpr FineScaleLook kFineScale{
    .overviewHeight = 40, .barDivisor = 8, .viewSteps = kUnitViewSteps};

constexpr CivModel kIc8500Model = CivModelOf<IC8500>(kIc8500Form, kModes, "IC8500", kFineScale);

}  // namespace

IC8500::IC8500() : CivMemoryPanel(kIc8500Model, kChannelLayout, kAttenuators) {
    AddJobs(jobs_, OwnJobs());
    AddJobs(jobs_, SharedJobs(), kJobBase);
}

// The form goes while the model's hooks are still there: its state file is written then.
IC8500::~IC8500() {
    dialog_.reset();
    Destroy();
}

const char* IC8500::StepCode(uint32_t step) {
    for (const StepEntry& entry : kStepCodes)
        if (entry.step == step) return entry.code;
    return nullptr;
}

uint32_t IC8500::StepOfCode(uint32_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "%02u", code);
    for (const StepEntry& entry : kStepCodes)
        if (std::string_view(entry.code) == text) return entry.step;
    // Codes 00 and 01 (10 and 50 Hz) are finer than the program counts.
    return 1;
}

void IC8500::ServeDialogCode(uint32_t code) {
    if (code == PostOpenScanSettings) OpenScanSettings();
}

void IC8500::OpenScanSettings() {
    OpenScanDialog(dialog_, *this, Settings.Scan);
}

// ---------------------------------------------------------------------------------------
// Controls

void IC8500::CreateControls() {
    CreateFormControls();
    label_1->SetFont("12.MS Sans Serif", true);
    for (const char* text : kChannelSteps) sstep->AddString(text);
    for (const char* text : kChannelModes) smod->AddString(text);
    for (ui::ComboBox* list : {step, bname, smod, sstep}) list->SetListHeight(125);
    porog->SetRange(0, kSliderTop);
    zvuk->SetRange(0, kSliderTop);
    updwbnum->SetRange(0, static_cast<int>(kLastBank));
    // Each title whole, a frequency up to the set's top ("2000.0000") whole, and all five
    // columns within the list (171 units) beside the scroll bar its 40 rows need.
    lv_1->SetColumns(
        {{"Частота", 54}, {"Уровень", 42}, {"Комментарий", 67}, {"Выбор", 35}, {"Пропуск", 42}});
}

void IC8500::SetModelDefaults() {
    Settings = Ic8500Settings{};
    ReceiverScanRunning = false;
    SetBankDefaults();
}

void IC8500::WireControls() {
    CivMemoryPanel::WireControls();
    power->On(ui::EventId::Click, [this](ui::EventData&) { Standby ? PowerOn() : PowerOff(); });
    pictbttn_6->On(ui::EventId::Click,
                   [this](ui::EventData&) { PostToOwner(PostOpenScanSettings); });
    porog->On(ui::EventId::Change, [this](ui::EventData& e) {
        Settings.SquelchThreshold = static_cast<uint32_t>(e.value) * kSliderUnit;
        if (!SendThreshold(Settings.SquelchThreshold)) SliderRetry = true;
    });
    zvuk->On(ui::EventId::Change, [this](ui::EventData& e) {
        Settings.AudioLevel = static_cast<uint32_t>(e.value) * kSliderUnit;
        if (!SendAudioLevel(Settings.AudioLevel)) SliderRetry = true;
    });
    // The arrows wrap from 24 to 0 and back; the panel places the arrows itself.
    updwbnum->AddHandler(ui::EventId::DeltaPosition, [this](ui::Object&, ui::EventData& e) {
        ChooseBank(e.value > 0 ? (CurrentBank >= kLastBank ? 0 : CurrentBank + 1)
                               : (CurrentBank == 0 ? kLastBank : CurrentBank - 1));
        e.cancel = true;
        return true;
    });
    bname->On(ui::EventId::Select, [this](ui::EventData& e) {
        if (e.value >= 0 && e.value <= static_cast<int64_t>(kLastBank))
            ChooseBank(static_cast<uint32_t>(e.value));
    });
    // Typing in the list's field names the current bank (the receiver names banks 0..19).
    bname->On(ui::EventId::Change, [this](ui::EventData& e) { RenameBank(CurrentBank, e.text); });
    WireChannelControls();
    cbank->On(ui::EventId::Click,
              [this](ui::EventData&) { SwitchDirectWrite(cbank->IsChecked(), /*apply=*/false); });
    memory->On(ui::EventId::Click,
               [this](ui::EventData&) { Settings.AllMemory = memory->IsChecked(); });
}

// ---------------------------------------------------------------------------------------
// Operations of the main window

bool IC8500::SetStep() {
    const char* code = StepCode(fdx_->Step);
    return Exchange(code ? std::string("10") + code : kProgrammedStep, civ::kStepSet);
}

bool IC8500::SetAttenuator() {
    uint32_t db = 10;
    if (Settings.DefaultAttenuatorDb == 20) db = 20;
    if (Settings.DefaultAttenuatorDb == 30) db = 30;
    if (fdx_->Attenuator) fdx_->AttenuatorDb = db;
    return SendAttenuator();
}

// The filter variant the settings choose for a mode.
int32_t IC8500::FilterFor(char letter) const {
    if (letter == 'F' && Settings.Fnar) return 1;
    if (letter == 'C' && Settings.Cnar) return 1;
    if (letter == 'A') return Settings.Anar ? 1 : Settings.Awide ? 2 : 0;
    return 0;
}

// ---------------------------------------------------------------------------------------
// Replies and synchronisation

void IC8500::OnIdentified(bool answered) {
    // The receiver keeps the names of the operator's banks; a name it does not give stays
    // as stored.
    if (answered && Link.RejectCount == 0)
        for (uint32_t bank = 0; bank < kFirstFixedBank; ++bank) ReadBankName(bank);
    FillBankNames();
    if (answered) ShowBank();
}

// ---------------------------------------------------------------------------------------
// Receiver settings

bool IC8500::PowerOff() {
    if (!Exchange("1800", civ::kPowerSet)) return false;
    EnterStandby();
    return true;
}

bool IC8500::PowerOn() {
    if (!Exchange("1801", civ::kPowerSet)) return false;
    LeaveStandby();
    return true;
}

bool IC8500::SelectBank(uint32_t bank) {
    char payload[16];
    std::snprintf(payload, sizeof payload, "08A0%02u", bank);
    return Exchange(payload, civ::kChannelSelect);
}

// ---------------------------------------------------------------------------------------
// Display

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
    ShowChannels();
}

std::array<CivMemoryPanel::CivSwitch, 3> IC8500::Switches() {
    return {{{&Settings.Agc, faru, "1611", "1610"},
             {&Settings.PeakFilter, fpik, "1631", "1630"},
             {&Settings.NoiseBlanker, noise, "1621", "1620"}}};
}

void IC8500::ShowSwitches() {
    CivMemoryPanel::ShowSwitches();
    if (memory) memory->SetChecked(Settings.AllMemory);
}

// ---------------------------------------------------------------------------------------
// The selected channel on the panel

void IC8500::WireChannelControls() {
    const auto on = [this](ui::Control* control, ui::EventId id, auto action) {
        control->AddHandler(id, [this, action](ui::Object&, ui::EventData& e) {
            if (showingChannel_) return false;
            const MemoryChannel before = SelectedChannel();
            action(e);
            ChannelEdited(before);
            return false;
        });
    };
    RunMacroOnRightButton(*lv_1);
    lv_1->AddHandler(ui::EventId::Select, [this](ui::Object&, ui::EventData& e) {
        if (e.value >= 0) ChoosePosition(PositionOfRow(static_cast<int>(e.value)));
        return false;
    });
    // A frequency of 0 or above the receiver's range keeps the one the channel has.
    on(textb_1, ui::EventId::Change, [this](ui::EventData& e) {
        const uint32_t frequency = FDX::ParseMHz(e.text);
        if (frequency != 0 && frequency <= UpperLimit) SelectedChannel().Frequency = frequency;
    });
    on(smod, ui::EventId::Select, [this](ui::EventData& e) {
        if (e.value < 0 || e.value >= static_cast<int64_t>(std::size(kChannelModes))) return;
        SelectedChannel().Modulation = kChannelModes[e.value][0];
        SelectedChannel().Filter = 0;
    });
    on(sstep, ui::EventId::Select, [this](ui::EventData& e) {
        if (e.value >= 0 && e.value < static_cast<int64_t>(std::size(kChannelSteps)))
            SelectedChannel().Step = FDX::ParseKHz(kChannelSteps[e.value]);
    });
    on(satt, ui::EventId::Click, [this](ui::EventData&) {
        MemoryChannel& channel = SelectedChannel();
        channel.Attenuator = satt->IsChecked();
        const uint32_t db = channel.AttenuatorDb;
        if (channel.Attenuator && db != 10 && db != 20 && db != 30)
            channel.AttenuatorDb = Settings.DefaultAttenuatorDb;
    });
    on(comment, ui::EventId::Change,
       [this](ui::EventData& e) { SelectedChannel().Label = kChannelLayout.CutLabel(e.text); });
    on(select, ui::EventId::Click,
       [this](ui::EventData&) { SelectedChannel().Select = select->IsChecked(); });
    on(skip, ui::EventId::Click,
       [this](ui::EventData&) { SelectedChannel().Skip = skip->IsChecked(); });
}

// The channel controls show the selected channel; they work only on a channel with a
// frequency, and not while the panel is locked.
void IC8500::ShowChannel() {
    if (!textb_1) return;
    const MemoryChannel& channel = SelectedChannel();
    showingChannel_ = true;
    char text[32] = "";
    if (channel.Frequency != 0)
        std::snprintf(text, sizeof text, "%.4f", channel.Frequency / 10000.0);
    textb_1->SetText(text);
    int mode = -1;
    for (int i = 0; i < static_cast<int>(std::size(kChannelModes)); ++i)
        if (kChannelModes[i][0] == channel.Modulation) mode = i;
    smod->SetSelectedIndex(mode);
    // An empty channel shows the first step, which a new one would take.
    int stepIndex = 0;
    for (int i = 0; i < static_cast<int>(std::size(kChannelSteps)); ++i)
        if (FDX::ParseKHz(kChannelSteps[i]) == channel.Step) stepIndex = i;
    sstep->SetSelectedIndex(stepIndex);
    comment->SetText(channel.Label);
    satt->SetChecked(channel.Attenuator);
    select->SetChecked(channel.Select);
    skip->SetChecked(channel.Skip);
    showingChannel_ = false;
    const bool editable = channel.Frequency != 0 && !PanelBusy;
    for (ui::Window* control :
         std::initializer_list<ui::Window*>{textb_1, smod, sstep, comment, satt, select, skip})
        control->SetEnabled(editable);
}
