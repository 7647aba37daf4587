#include "receivers/aor/ar8200/ar8200.h"

#include <algorithm>
#include <cinttypes>

#include "receivers/aor/aor_handhelds.h"
#include "receivers/aor/ar8200/rar8200.h"
#include "receivers/panel_pictures.h"
#include "state/message_bus.h"

namespace {

using aor::Format;

// The modes in the order of their digits ("MD0" .. "MD8"), as the channel's and the search
// bank's lists offer them, with their bandwidths (100 Hz units).
// clang-format off
constexpr AorModeEntry kModes[] = {
    {"W", 'W', 0, 1500}, {"F", 'F', 0, 120}, {"A", 'A', 0, 90}, {"U", 'U', 0, 30},
    {"L", 'L', 0, 30}, {"C", 'C', 0, 30}, {"nF", 'F', 1, 90}, {"wA", 'A', 2, 120},
    {"nA", 'A', 1, 30},
};
// clang-format on

constexpr int kSliderTop = 15;
constexpr const char* kVfoLines[] = {"VB", "VA", "VF"};
constexpr const char* kVfoCaptions[] = {"BVFO", "AVFO", "VFO"};
// The VFO after each: B, then F, then A, then B again.
constexpr int kNextVfo[] = {AR8200::kVfoF, AR8200::kVfoB, AR8200::kVfoA};

const AorModel kModel = aor::HandheldModel<AR8200>(
    ar8200::kForm, kModes, "AR8200", 900, AorMemoryRules::ReadOrder::MemoryThenSearchBanks);

// The entry of a mode with the variant the panel uses; none for a letter the set lacks (R).
const AorModeEntry* FindMode(char letter, int32_t filter) {
    const AorModeEntry* normal = nullptr;
    for (const AorModeEntry& mode : kModes) {
        if (mode.letter != letter) continue;
        if (mode.filter == filter) return &mode;
        if (mode.filter == 0) normal = &mode;
    }
    return normal;
}

}  // namespace

const ChannelLayout AR8200::kChannelLayout{.holds = {.depth = false},
                                           .labelWidth = kLabelWidth,
                                           .depths = aor::kHandheldAttenuatorDepths,
                                           .emptyModulation = 'F',
                                           .bankSize = kChannels,
                                           .filterKeyFirst = true,
                                           .modeLetters = "WFAULC"};

int AR8200::ModeDigit(char letter, int32_t filter) {
    const AorModeEntry* mode = FindMode(letter, filter);
    return mode ? static_cast<int>(mode - kModes) : -1;
}

int32_t AR8200::FilterFor(char letter) const {
    if (letter == 'F') return Options.Fnar ? 1 : 0;
    if (letter == 'A') return Options.Anar ? 1 : Options.Awide ? 2 : 0;
    return 0;
}

AR8200::AR8200() : AorPanel(kModel, Reply, OwnJobs()) {}

// The form goes while the panel is whole: its state file is written then.
AR8200::~AR8200() {
    scanDialog_.reset();
    Destroy();
}

// ---------------------------------------------------------------------------------------
// Creation

void AR8200::CreateModelControls() {
    CreateFormControls();
    if (fdx_->ReceiverVariant) model->SetText("AR-8600");
    // The search banks offered here are the first 20; jobs reach all 40.
    for (int bank = 0; bank < kBanks; ++bank) sbn->AddString(BankName(bank));
    for (const char* span : Ar8200Scope::kSpanTexts) estep->AddString(span);
    estep->SetListHeight(125);
    sql->SetRange(0, kSliderTop);
    sql->SetPageStep(3);
    view->SetPainter([this](ui::Painter& painter) { Scope.Draw(painter, fdx_->ScopeStep); });
}

void AR8200::SetModelDefaults() {
    VfoChoice = kVfoF;
    ViewStep = kKilohertzViewSteps[0].step;
    ScanSettings.Delay = 0;
    Bandwidth = kModes[1].bandwidth;
}

// The controls' events come once the operator's input is delivered: what they send may wait.
void AR8200::WireModelControls() {
    using ui::EventId;
    const std::pair<ui::Control*, void (AR8200::*)()> clicks[] = {
        {vfobutton, &AR8200::NextVfo},   {cauto, &AR8200::OnAutoBox},
        {stopEL, &AR8200::PauseScope},   {stepEL, &AR8200::NextScopeFactor},
        {off, &AR8200::OnConnectButton},
    };
    for (const auto& [control, action] : clicks)
        control->On(EventId::Click, [this, action = action](ui::EventData&) { (this->*action)(); });
    sqlsel->On(EventId::Click, [this](ui::EventData&) { ChooseSquelchKind(sqlsel->IsChecked()); });
    sql->On(EventId::Change,
            [this](ui::EventData& e) { SetSquelch(static_cast<uint32_t>(e.value * kSliderUnit)); });
    scope->On(EventId::Click, [this](ui::EventData&) { SetScopeView(scope->IsChecked()); });
    estep->On(EventId::Select,
              [this](ui::EventData& e) { ChooseScopeSpan(static_cast<int>(e.value)); });
    // Direct writing on: the receiver goes back to its VFO after the channel was read.
    cbank->On(EventId::Click, [this](ui::EventData&) {
        if (DirectWrite) SelectVfo(VfoChoice);
    });
    view->On(EventId::RightButtonUp, [this](ui::EventData&) { PostToOwner(PostRunMacro); });
}

// ---------------------------------------------------------------------------------------
// Operations of the main window

bool AR8200::SetFrequency() {
    const bool sent =
        Link.Send(Format("RF%010" PRIu64 "\r\n", uint64_t{fdx_->Frequency} * 100), "");
    FollowTuning();
    return sent;
}

// While the analysis view runs, the sweep follows the tuned frequency.
bool AR8200::SetFrequencyWait() {
    const bool tuned = SetFrequency() && WaitReply();
    if (tuned && Scope.On && !Scope.Paused) StartSweep();
    return tuned;
}

int32_t AR8200::ModeParameter(char letter) const {
    const AorModeEntry* mode = FindMode(letter, FilterFor(letter));
    return mode ? 2 * mode->bandwidth : kNoModeValue;
}

// RTTY has no mode digit: nothing goes out and the set is not set.
bool AR8200::SetMode() {
    const char letter = fdx_->Modulation;
    const AorModeEntry* mode = FindMode(letter, FilterFor(letter));
    if (!mode) return false;
    LeaveAuto();
    fdx_->Filter = mode->filter;
    Bandwidth = mode->bandwidth;
    ShowBandwidth();
    return SendText(Format("MD%d", ModeDigit(mode->letter, mode->filter)));
}

// The step asked for is the one sent: leaving AUTO does not bring back the step saved when
// AUTO went on.
bool AR8200::SetStep() {
    LeaveAuto();
    return SendText(Format("ST%06" PRIu64, uint64_t{fdx_->Step} * 100));
}

int32_t AR8200::ReadLevel() {
    if (!Link.Exchange("LM\r\n", "LM")) return -1;
    Scale.Measure(fdx_->Frequency, Reply.Level);
    return Reply.Level;
}

bool AR8200::ChooseVariant(char letter, int32_t filter) {
    if (letter == 'F') Options.Fnar = filter == 1;
    if (letter == 'A') {
        Options.Anar = filter == 1;
        Options.Awide = filter == 2;
    }
    fdx_->Modulation = letter;
    const bool taken = SetMode();
    PostToOwner(PostReceiverState);
    return taken;
}

// ---------------------------------------------------------------------------------------
// The receiver's state

bool AR8200::ReadFrequency() {
    Reply.State = AorState::Unknown;
    Reply.SelectScan = false;
    return Link.Exchange("RX\r\n", "RF");
}

// What the state line said: the frequency, mode, attenuator and step into the program state.
// An empty channel's "---" says none of them.
void AR8200::TakeReceiverState() {
    if (!Reply.FrequencyReported) return;
    FDX& s = *fdx_;
    s.Frequency = std::clamp(Reply.Frequency, LowerLimit, UpperLimit);
    s.Modulation = Reply.Mode;
    s.Filter = Reply.Filter;
    s.Attenuator = Reply.Attenuator ? 1 : 0;
    s.AttenuatorDb = Reply.AttenuatorDb;
    if (Reply.Step > 0) s.Step = Reply.Step;
    if (const AorModeEntry* mode = FindMode(Reply.Mode, Reply.Filter)) Bandwidth = mode->bandwidth;
}

bool AR8200::SelectVfo(int choice) {
    VfoChoice = std::clamp(choice, 0, kVfos - 1);
    ShowVfo();
    return SendText(kVfoLines[VfoChoice]) && ReadFrequency();
}

// Start-up: where the receiver stands and what it does; then the VFO the panel works on.
void AR8200::Synchronise() {
    BeginSync();
    VfoChoice = kVfoF;
    Cancel(false);
    const bool answered = ReadFrequency();
    if (answered) {
        if (Reply.State != AorState::Vfo) {
            const bool memory = Reply.State == AorState::MemoryRead ||
                                Reply.State == AorState::MemoryScan || Reply.SelectScan;
            if (memory && Reply.Bank >= 0 && Reply.Bank < kBanks && Reply.Channel >= 0 &&
                Reply.Channel < kChannels) {
                CurrentBank = Reply.Bank;
                BankPositions[static_cast<std::size_t>(CurrentBank)] = Reply.Channel;
            }
            if (Reply.State == AorState::SearchScan && Reply.SearchBank >= 0)
                CurrentSearchBank = Reply.SearchBank;
            SelectVfo(VfoChoice);
        }
        if (Reply.State == AorState::Vfo) VfoChoice = Reply.Vfo;
        TakeReceiverState();
        if (Link.Exchange("DB\r\n", "DB") && Reply.ValueA != 0) {
            Options.VoiceSquelch = false;
            Options.LevelValue = static_cast<uint32_t>(Reply.ValueA);
        }
        if (Link.Exchange("DA\r\n", "DA") && Reply.ValueB != 0) {
            Options.VoiceSquelch = true;
            Options.VoiceValue = static_cast<uint32_t>(Reply.ValueB);
        }
        // A receiver back after a loss (switched off and on) has left its band scope: the
        // analysis view still on puts it there again, or every sweep asked is refused.
        if (Scope.On && !Scope.Paused) StartSweep();
        OwnScanLeftBySync();
    }
    ShowAll();
    PostToSelf(PostRefreshDisplay);
    EndSync(answered);
}

// The VFO button: the VFO left keeps where the receiver stood; the next one comes back as it
// was kept, or as the receiver reports it.
void AR8200::NextVfo() {
    if (Scope.On) {
        SetScopeView(false);
    } else {
        Vfo& left = Vfos[static_cast<std::size_t>(VfoChoice)];
        left = CurrentVfo();
        if (ReadFrequency() && Reply.State == AorState::Vfo && Reply.Vfo == VfoChoice)
            left = {std::clamp(Reply.Frequency, LowerLimit, UpperLimit),
                    Reply.Mode,
                    Reply.Filter,
                    Reply.Attenuator,
                    Reply.Step,
                    Reply.Auto};
        const int next = kNextVfo[VfoChoice];
        const Vfo& kept = Vfos[static_cast<std::size_t>(next)];
        if (kept.Known()) {
            TakeVfo(kept);
            AutoOn = kept.Auto;
        }
        if (SelectVfo(next) && Reply.State == AorState::Vfo && Reply.Vfo == next) {
            TakeReceiverState();
        } else {
            SetFrequencyWait();
            SetStep();
            SetAttenuator();
            SetMode();
        }
    }
    fdx_->Level = ReadLevel();
    ShowBandwidth();
    PostToOwner(PostReceiverState);
    FollowTuning();
}

// On, the receiver's mode and step are taken and the program's kept for after; off, they come
// back. AUTO the receiver refuses leaves the mode and step as they were.
void AR8200::OnAutoBox() {
    FDX& s = *fdx_;
    const Vfo before = CurrentVfo();
    const bool on = cauto->IsChecked();
    if (on) {
        BeforeAuto = {.Mode = s.Modulation, .Filter = s.Filter, .Step = s.Step};
    } else {
        s.Modulation = BeforeAuto.Mode;
        s.Filter = BeforeAuto.Filter;
        if (BeforeAuto.Step != 0) s.Step = BeforeAuto.Step;
    }
    if (!SwitchAuto(on)) {
        TakeVfo(before);
    } else if (on && ReadFrequency() && Reply.FrequencyReported) {
        s.Modulation = Reply.Mode;
        s.Filter = Reply.Filter;
        if (Reply.Step > 0) s.Step = Reply.Step;
    }
    PostToOwner(PostReceiverState);
    PostToSelf(PostRefreshDisplay);
}

void AR8200::ChooseSquelchKind(bool voice) {
    Options.VoiceSquelch = voice;
    ShowSquelch();
}

bool AR8200::SetSquelch(uint32_t value) {
    if (value > 255) value = 0;
    (Options.VoiceSquelch ? Options.VoiceValue : Options.LevelValue) = value;
    ShowSquelch();
    return SendText(Format("%s%03u", Options.VoiceSquelch ? "DA" : "DB", value));
}

// The pause and the delay go to the scan kind chosen: the range search's (SP, SD), the bank
// scan's (XP, XD) or the VFO scan's (DP, DD).
bool AR8200::SendPause() {
    static constexpr const char* kTokens[] = {"SP", "XP", "DP"};
    return SendText(Format("%s%02u", kTokens[static_cast<int>(ScanSettings.kind)],
                           std::min(ScanSettings.Pause, kMostPause)));
}

bool AR8200::SendDelay() {
    static constexpr const char* kTokens[] = {"SD", "XD", "DD"};
    const char* token = kTokens[static_cast<int>(ScanSettings.kind)];
    if (ScanSettings.Delay == kHold && ScanSettings.kind != AorScanSettings::Kind::MemoryBanks)
        return SendText(std::string(token) + "FF");
    return SendText(Format("%s%02u", token, ScanSettings.Delay));
}

// ---------------------------------------------------------------------------------------
// Channels chosen and tuned

// A channel tuned to gets its own variant of the mode, whatever the panel uses for the letter.
bool AR8200::SendChannelMode(const MemoryChannel& channel) {
    return SendText(Format("MD%d", std::max(ModeDigit(channel.Modulation, channel.Filter), 0)));
}

// ---------------------------------------------------------------------------------------
// The receiver's own scan

// The configuration of the scan kind tells which banks it links; a bank scan takes its mode
// filter, and one the receiver did not take would scan other channels than asked: no start.
// A stale exchange goes before the scan line.
bool AR8200::PrepareOwnScan() {
    ReadScanConfiguration();
    bool prepared = true;
    if (ScanSettings.kind == AorScanSettings::Kind::MemoryBanks) {
        const int digit =
            Options.ScanModeChoice < 9 ? static_cast<int>(Options.ScanModeChoice) : -1;
        static constexpr int kDigits[] = {1, 0, 2, 4, 3, 5, 6, 7, 8};  // F W A L U C nF wA nA
        prepared = SendText(digit < 0 ? std::string("XMF") : Format("XM%d", kDigits[digit]));
    }
    CancelUnawaited();
    return prepared;
}

// The range search's configuration ("GS") or the bank scan's ("GM"), with the banks it links:
// they become the scan kind's links. 0 ("по умолчанию") when the receiver reports none.
int AR8200::ReadScanConfiguration() {
    using Kind = AorScanSettings::Kind;
    const bool bank = ScanSettings.kind == Kind::MemoryBanks;
    Reply.Configuration = 0;
    Reply.Links.clear();
    const char* query = bank ? "GM" : "GS";
    if (ScanSettings.kind == Kind::Vfo || !Link.Exchange(std::string(query) + "\r\n", query))
        return 0;
    std::string letters = Reply.Links;
    std::erase(letters, '-');
    (bank ? ScanSettings.MemoryLinks : ScanSettings.SearchLinks) = letters;
    return Reply.Configuration;
}

std::string AR8200::OwnScanLine(std::string& status) {
    switch (ScanSettings.kind) {
        case AorScanSettings::Kind::Search:
            status = kSearchScanText;
            return "SS" + SearchBankName(CurrentSearchBank);
        case AorScanSettings::Kind::MemoryBanks:
            status = ScanSettings.SelectScan ? kSelectScanText : kBankScanText;
            return ScanSettings.SelectScan ? std::string("SM") : "MS" + BankName(CurrentBank);
        case AorScanSettings::Kind::Vfo:
            break;
    }
    return Options.TwoVfoScan ? "VV0" : "VS";
}

// The stops are reported while the scan runs.
void AR8200::OwnScanStarted() {
    SendText("LC1");
}

// Where the scan stopped becomes where the program stands, and the receiver is set to it.
void AR8200::AfterOwnScanStop() {
    SendText("LC0");
    if (!ReadFrequency()) return;
    TakeReceiverState();
    SetFrequencyWait();
    SetStep();
    SetMode();
    SetAttenuator();
}

// ---------------------------------------------------------------------------------------
// Dialogs and display

void AR8200::ServeDialogCode(uint32_t code) {
    if (code != PostOpenScanSettings && code != PostRefreshPanelDialogs) return;
    if (code == PostRefreshPanelDialogs && !scanDialog_) return;
    if (!scanDialog_) scanDialog_ = std::make_unique<RAR8200>(*this);
    if (code == PostOpenScanSettings)
        scanDialog_->Open(fdx_->Owner);
    else
        scanDialog_->Refresh();
}

void AR8200::OnModelCode(uint32_t code) {
    if (code == PostTimerTick) OnScopeTick();
}

void AR8200::ShowAll() {
    AorPanel::ShowAll();
    ShowVfo();
    ShowSquelch();
}

void AR8200::ShowVfo() {
    if (vfobutton) vfobutton->SetText(kVfoCaptions[VfoChoice]);
}

void AR8200::ShowSquelch() {
    if (!sql) return;
    sqlsel->SetChecked(Options.VoiceSquelch);
    sql->SetPosition(static_cast<int>(
        (Options.VoiceSquelch ? Options.VoiceValue : Options.LevelValue) / kSliderUnit));
}

void AR8200::FollowTuning() {
    if (catt) catt->SetChecked(fdx_->Attenuator != 0);
    if (cauto) cauto->SetChecked(AutoOn);
    if (off && off->Text() == "вкл") off->SetText("выкл");
    AorPanel::FollowTuning();
}
