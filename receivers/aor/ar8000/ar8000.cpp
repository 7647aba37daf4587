#include "receivers/aor/ar8000/ar8000.h"

#include <algorithm>
#include <cinttypes>
#include <utility>

#include "receivers/aor/aor_handhelds.h"
#include "receivers/aor/ar8000/rar8000.h"
#include "state/message_bus.h"

namespace {

using aor::Format;
using Kind = AorScanSettings::Kind;

// The mode lists' entries ("N" is NFM) with the bandwidth the panel shows for each (100 Hz
// units): the fill window of the level scale, too.
// clang-format off
constexpr AorModeEntry kModes[] = {
    {"N", 'F', 0, 120}, {"W", 'W', 0, 1800}, {"A", 'A', 0, 120}, {"L", 'L', 0, 24},
    {"U", 'U', 0, 24}, {"C", 'C', 0, 24},
};
// clang-format on
// A mode the set lacks shows the WFM bandwidth.
constexpr int32_t kOtherBandwidth = 1800;

constexpr const char* kVfoCaptions[] = {"BVFO", "AVFO"};

// Its line is answered line by line, its level scale filled within the bandwidth itself, its
// search bank the bank's, which a read of the current bank takes along; a read of the whole
// memory asks its level once, before bank A.
const AorModel kModel = [] {
    AorModel model = aor::HandheldModel<AR8000>(ar8000::kForm, kModes, "AR8000", 200,
                                                AorMemoryRules::ReadOrder::BankWithItsSearchBank);
    model.list.modeLetters = true;
    model.fillWindowBandwidths = 1;
    model.memory.readProbes = AorMemoryRules::ReadProbes::Once;
    model.lineByLine = true;
    model.searchBankFollowsBank = true;
    model.currentReadTakesSearchBank = true;
    return model;
}();

int32_t BandwidthOf(char letter) {
    for (const AorModeEntry& mode : kModes)
        if (mode.letter == letter) return mode.bandwidth;
    return kOtherBandwidth;
}

}  // namespace

const ChannelLayout AR8000::kChannelLayout{.holds = {.filter = false, .depth = false},
                                           .labelWidth = kLabelWidth,
                                           .depths = aor::kHandheldAttenuatorDepths,
                                           .emptyModulation = 'W',
                                           .bankSize = kChannels,
                                           .modeLetters = kModeDigits};

AR8000::AR8000() : AorPanel(kModel, Reply, OwnJobs()) {}

// The form goes while the panel is whole: its state file is written then.
AR8000::~AR8000() {
    scanDialog_.reset();
    Destroy();
}

int AR8000::ModeDigit(char letter) {
    const std::size_t at = kModeDigits.find(letter);
    return at == std::string_view::npos ? 0 : static_cast<int>(at);
}

// ---------------------------------------------------------------------------------------
// Creation

void AR8000::SetModelDefaults() {
    VfoA = true;
    Vfos = {};
    Bandwidth = BandwidthOf(fdx_->Modulation);
    ScanSettings.kind = Kind::Search;
}

void AR8000::WireModelControls() {
    using ui::EventId;
    const std::pair<ui::Control*, void (AR8000::*)()> clicks[] = {
        {vfobutton, &AR8000::OnVfoButton},
        {cauto, &AR8000::OnAutoBox},
        {off, &AR8000::OnConnectButton},
    };
    for (const auto& [control, action] : clicks)
        control->On(EventId::Click, [this, action = action](ui::EventData&) { (this->*action)(); });
    updwbnum->On(EventId::DeltaPosition,
                 [this](ui::EventData& e) { StepBank(e.value < 0 ? -1 : 1); });
}

void AR8000::OnVfoButton() {
    SwitchVfo();
}

void AR8000::OnAutoBox() {
    ChooseAuto(cauto->IsChecked());
}

// ---------------------------------------------------------------------------------------
// Operations of the main window

// The active VFO is tuned; the display follows while the line carries the command.
bool AR8000::SetFrequency() {
    const bool sent = Link.Send(
        Format("V%c%" PRIu64 "\r\n", VfoA ? 'A' : 'B', uint64_t{fdx_->Frequency} * 100), "");
    FollowTuning();
    return sent;
}

int32_t AR8000::ModeParameter(char letter) const {
    return BandwidthOf(letter);
}

// AUTO goes off for a mode or a step asked for; the one asked for is the one sent.
bool AR8000::SetMode() {
    FDX& s = *fdx_;
    LeaveAuto();
    // The set has no RTTY: WFM goes out, and the program's mode shows what the set does.
    if (kModeDigits.find(s.Modulation) == std::string_view::npos) {
        s.Modulation = 'W';
        PostToOwner(PostModulationChanged);
    }
    s.Filter = 0;
    Bandwidth = BandwidthOf(s.Modulation);
    ShowBandwidth();
    return SendText(Format("MD%d", ModeDigit(s.Modulation)));
}

bool AR8000::SetStep() {
    LeaveAuto();
    return SendText(Format("ST%" PRIu64, uint64_t{fdx_->Step} * 100));
}

// A line that is not the level's (an acknowledgement or a report still on its way) is
// followed by the level's own once.
int32_t AR8000::ReadLevel() {
    const auto levelLine = [this] { return Link.AnswerLine.find("LM") != std::string::npos; };
    if (!Link.Exchange("LM\r\n", "")) return -1;
    if (!levelLine() && !(Link.Rearm("") && WaitReply() && levelLine())) return -1;
    const int32_t level = LevelOfLine(Link.AnswerLine);
    if (level < 0) return -1;
    Scale.Measure(fdx_->Frequency, level);
    return level;
}

// ---------------------------------------------------------------------------------------
// The receiver's state and its VFOs

// An unanswered query leaves nothing of an earlier answer in Reply.
bool AR8000::ReadState(const std::string& query) {
    const bool answered = Link.Exchange(query + "\r\n", "");
    Reply = TakeApart(Link.AnswerLine);
    return answered && Reply.Marked && Reply.FrequencyReported && Reply.Stepped;
}

void AR8000::TakeReceiverState() {
    FDX& s = *fdx_;
    s.Frequency = std::clamp(Reply.Frequency, LowerLimit, UpperLimit);
    s.Modulation = Reply.Mode;
    s.Filter = 0;
    s.Attenuator = Reply.Attenuator ? 1 : 0;
    s.AttenuatorDb = Reply.AttenuatorDb;
    if (Reply.Step > 0) s.Step = Reply.Step;
    AutoOn = Reply.Auto;
    Bandwidth = BandwidthOf(s.Modulation);
    Vfos[VfoA ? 0 : 1] = CurrentVfo();
}

// Start-up: where the receiver stands; in memory read its bank and channel become the
// panel's. The panel works on a VFO: unless the set stands on one, the active one is asked for
// (which ends a memory read or an own scan of the set). A VFO's line with its frequency, step
// and mark is the set's state, named VFO or not (a line that does not name it leaves the
// active VFO the panel's).
void AR8000::Synchronise() {
    BeginSync();
    Cancel(false);
    const bool answered = Link.Exchange("RX\r\n", "");
    if (answered) {
        Reply = TakeApart(Link.AnswerLine);
        bool read = Reply.Marked && Reply.FrequencyReported && Reply.Stepped;
        if (Reply.State != AorState::Vfo) {
            if (Reply.Marked && Reply.Bank >= 0 && Reply.Channel >= 0) {
                CurrentBank = CurrentSearchBank = Reply.Bank;
                BankPositions[static_cast<std::size_t>(CurrentBank)] = Reply.Channel;
            }
            read = ReadState(VfoA ? "VA" : "VB") && Reply.State == AorState::Vfo;
        }
        if (Reply.Vfo >= 0) VfoA = Reply.Vfo == 0;
        if (read) TakeReceiverState();
        OwnScanLeftBySync();
    }
    ShowAll();
    PostToSelf(PostRefreshDisplay);
    EndSync(answered);
}

// The VFO left keeps where the receiver stood; the other comes back as it was kept, or, the
// first time, as the receiver holds it.
bool AR8000::SwitchVfo() {
    FDX& s = *fdx_;
    Vfos[VfoA ? 0 : 1] = CurrentVfo();
    VfoA = !VfoA;
    const AorVfo next = Vfos[VfoA ? 0 : 1];
    bool taken = false;
    if (!next.Known()) {
        taken = ReadState(VfoA ? "VA" : "VB");
        if (taken) TakeReceiverState();
    } else {
        TakeVfo(next);
        taken = SetFrequencyWait();
        taken = SetStep() && taken;
        taken = SetAttenuator() && taken;
        taken = SetMode() && taken;
    }
    s.Level = ReadLevel();
    ShowVfo();
    ShowBandwidth();
    PostToOwner(PostReceiverState);
    FollowTuning();
    return taken;
}

// On: the receiver chooses mode and step by itself and says which; off: the mode and step of
// before come back. AUTO the receiver refuses leaves the mode and step as they were.
bool AR8000::ChooseAuto(bool on) {
    FDX& s = *fdx_;
    const AorVfo before = CurrentVfo();
    if (on && !AutoOn) BeforeAuto = {.Mode = s.Modulation, .Step = s.Step};
    if (!on && AutoOn) {
        s.Modulation = BeforeAuto.Mode;
        if (BeforeAuto.Step != 0) s.Step = BeforeAuto.Step;
    }
    const bool taken = SwitchAuto(on);
    if (!taken) {
        TakeVfo(before);
    } else if (on && ReadState("RX")) {
        s.Modulation = Reply.Mode;
        if (Reply.Step > 0) s.Step = Reply.Step;
    }
    Bandwidth = BandwidthOf(s.Modulation);
    if (on && taken) s.Level = ReadLevel();
    PostToOwner(PostReceiverState);
    PostToSelf(PostRefreshDisplay);
    return taken;
}

// ---------------------------------------------------------------------------------------
// Banks and channels chosen

// The search bank in use is always the one of the bank's number; with direct writing the
// receiver goes to both and the channel and the search bank are read from it.
void AR8000::BankChosen(int bank) {
    CurrentSearchBank = bank;
    if (DirectWrite) GoToCurrentPlaces();
    ShowSearchBank();
}

// From 19 up comes 0, from 0 down 19.
void AR8000::StepBank(int delta) {
    ChooseBank((CurrentBank + delta + kBanks) % kBanks);
}

// ---------------------------------------------------------------------------------------
// The receiver's own scan

// The pause and the delay of the scan kind: reset by the delay, the set leaves a busy channel
// once the delay time has run (the pause, at most the set's 60 s) and goes on at once when the
// signal goes before; reset by the signal's loss, it stays while the signal lasts (no pause)
// and goes on at once after.
bool AR8000::SendPauseAndDelay() {
    const bool bank = ScanSettings.kind == Kind::MemoryBanks;
    const std::string pause =
        Format(bank ? "XP%02u" : "SP%02u", ScanSettings.DelayOn ? std::min(DelaySeconds, 60u) : 0u);
    const std::string delay = bank ? "XD00" : "SD00";
    if (ScanSettings.DelayOn) return SendText(pause) && SendText(delay);
    return SendText(delay) && SendText(pause);
}

// What the scan works with goes out first: its pause and delay, the mode filter of a bank
// scan, the links, and for a selective scan the selected channels of the bank. A setting the
// set refuses fails the start, and so does a set that has not answered its sync: nothing goes
// to it.
bool AR8000::PrepareOwnScan() {
    if (!ReceiverAnswered()) return false;
    const bool bank = ScanSettings.kind == Kind::MemoryBanks;
    bool taken = SendPauseAndDelay();
    if (bank)
        taken = SendText(ScanSettings.ModeScan ? Format("XM%u", ScanSettings.ModeChoice) : "XMF") &&
                taken;
    taken = SendLinks() && taken;
    if (bank && ScanSettings.SelectScan) {
        for (int channel = 0; channel < kChannels; ++channel) {
            const MemoryChannel& record = ChannelAt(CurrentBank, channel);
            if (record.Select && !record.Empty())
                taken = SendText(Format("GA%c%02d", BankLetter(CurrentBank), channel)) && taken;
        }
    }
    CancelUnawaited();
    return taken;
}

// The links of the scan kind in one line, "BM" with the memory banks' letters for a bank
// scan, else "BS" with the search banks': the set takes them in place of those it held. The
// set has no line that clears its links, and "BM" or "BS" alone asks for them: with no link
// chosen nothing goes out and the set scans with the links it holds (OwnScanStarted says so).
bool AR8000::SendLinks() {
    const bool bank = ScanSettings.kind == Kind::MemoryBanks;
    const std::string links = ScanSettings.ChosenLinks();
    if (links.empty()) return true;
    return SendText((bank ? "BM" : "BS") + links);
}

// Only a scan that runs scans with the set's own links: a start that failed tells its failure
// alone.
void AR8000::OwnScanStarted() {
    if (ScanSettings.ChosenLinks().empty()) fdx_->Advise(kLinksKept);
}

std::string AR8000::OwnScanLine(std::string& status) {
    if (ScanSettings.kind == Kind::MemoryBanks) {
        status = ScanSettings.SelectScan ? kSelectScanText : kBankScanText;
        return ScanSettings.SelectScan ? std::string("SM LC")
                                       : Format("MS%c MG", BankLetter(CurrentBank));
    }
    status = kSearchScanText;
    return Format("SS%c SG", BankLetter(CurrentSearchBank));
}

// Tuning its VFO again ends the set's own scan; what the scan still reported on its way is
// not taken for the level.
void AR8000::AfterOwnScanStop() {
    SetFrequencyWait();
    fdx_->Level = ReadLevel();
}

// ---------------------------------------------------------------------------------------
// Dialogs and display

// The dialog opens on the links the receiver holds (asked only once it has answered).
void AR8000::ServeDialogCode(uint32_t code) {
    if (code == PostRefreshPanelDialogs) {
        if (scanDialog_) scanDialog_->Refresh();
        return;
    }
    if (code != PostOpenScanSettings) return;
    if (ReceiverAnswered()) ReadBankLinks();
    OpenScanDialog(scanDialog_, *this, ScanSettings);
}

void AR8000::ShowAll() {
    AorPanel::ShowAll();
    ShowVfo();
}

void AR8000::ShowVfo() {
    if (vfobutton) vfobutton->SetText(kVfoCaptions[VfoA ? 1 : 0]);
}

void AR8000::FollowTuning() {
    if (catt) catt->SetChecked(fdx_->Attenuator != 0);
    if (cauto) cauto->SetChecked(AutoOn);
    AorPanel::FollowTuning();
}
