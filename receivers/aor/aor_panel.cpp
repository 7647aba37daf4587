#include "receivers/aor/aor_panel.h"

#include <algorithm>

#include "state/message_bus.h"

namespace {

// "Ошибка запуска внутреннего сканирования приемника"
constexpr int kScanStartFailed = 28;

// While a scan or a transfer runs the operator may still look at the scale and stop the
// receiver's own scan.
constexpr std::string_view kStayEnabled[] = {"clear"};

}  // namespace

AorPanel::AorPanel(const AorModel& model, AorReply& reply)
    : AorBankPanel(ModelShape(model, model.list.layout, /*stepBeyondLimitsAnswered=*/true),
                   model.list),
      model_(model),
      reply_(reply) {
    Link.LineByLine = model.lineByLine;
}

std::size_t AorPanel::Index(int bank, int channel) const {
    return static_cast<std::size_t>(std::clamp(bank, 0, model_.banks - 1) * BankSize() +
                                    std::clamp(channel, 0, BankSize() - 1));
}

// ---------------------------------------------------------------------------------------
// Creation

// The model's form makes the core's controls with its own; the lists the core drives take
// the model's modes and bank names.
void AorPanel::CreateControls() {
    CreateModelControls();
    if (label_1) label_1->SetFont("12.MS Sans Serif", true);
    for (ui::ComboBox* modes : {smod, combo_mod})
        for (const AorModeEntry& mode : model_.list.modes)
            if (modes) modes->AddString(mode.text);
    for (int bank = 0; bank < model_.banks; ++bank)
        if (bn) bn->AddString(BankName(bank));
    for (ui::ComboBox* list : {FineScaleOnForm().stepList, bn, sbn, smod, combo_mod})
        if (list) list->SetListHeight(125);
}

void AorPanel::SetDefaults() {
    Bandwidth = 150;
    const ChannelLayout& layout = *model_.list.layout;
    Channels.resize(static_cast<std::size_t>(model_.banks * BankSize()));
    for (std::size_t i = 0; i < Channels.size(); ++i)
        Channels[i] = layout.Empty(static_cast<int32_t>(i % layout.bankSize));
    SearchBanks.assign(static_cast<std::size_t>(model_.searchBanks), {});
    BankPositions.fill(0);
    CurrentBank = CurrentSearchBank = 0;
    Scale.LimitTo254 = true;
    SetModelDefaults();
    Scale.FillWindow = model_.fillWindowBandwidths * Bandwidth;
}

void AorPanel::BankItemTaken() {
    BankPositions[static_cast<std::size_t>(CurrentBank)] = 0;
    ShowBankList();
}

void AorPanel::WireControls() {
    using ui::EventId;
    MakeListColumns();
    WireModelControls();
    WireBankControls();
    if (pictbttn_1) pictbttn_1->On(EventId::Click, [this](ui::EventData&) { StartOwnScan(); });
    if (pictbttn_6) {
        pictbttn_6->On(EventId::Click,
                       [this](ui::EventData&) { PostToOwner(PostOpenScanSettings); });
    }
    if (clear) {
        clear->On(EventId::Click,
                  [this](ui::EventData&) { Scanning ? StopOwnScan() : Fine.ConfirmClear(); });
    }
    if (catt) {
        catt->On(EventId::Click, [this](ui::EventData&) {
            SwitchAttenuator(catt->IsChecked());
            fdx_->Level = ReadLevel();
            PostToOwner(PostReceiverState);
        });
    }
    if (csound)
        csound->On(EventId::Click, [this](ui::EventData&) { SwitchSound(csound->IsChecked()); });
}

void AorPanel::LockControls(bool locked) {
    EnableFormControls(!locked, kStayEnabled);
    if (locked) return;
    ShowChannelBoxes();
    ShowSearchBank();
}

// ---------------------------------------------------------------------------------------
// The line link

bool AorPanel::Poll(bool timerTick) {
    if (timerTick) return TimerTick();
    const auto parse = [this] {
        reply_.FrequencyReported = false;
        ParseLine();
    };
    return Link.Poll(parse, [this](bool ended) { AfterLine(ended); });
}

int32_t AorPanel::ScanLevel() {
    if (!ReplyReady()) return -1;
    ReadReply();
    return ReadLevel();
}

int32_t AorPanel::TuneAndRead() {
    SetFrequencyWait();
    return ReadLevel();
}

// The level after a stop is read only from a receiver that answers: one that has not answered
// its sync is sent nothing.
void AorPanel::ReleaseForStop() {
    CancelUnawaited();
    if (ReceiverAnswered()) ReadLevel();
}

bool AorPanel::SetAttenuator() {
    fdx_->AttenuatorDb = fdx_->Attenuator ? model_.list.layout->Depth(0) : 0;
    return SendText(fdx_->Attenuator ? "AT1" : "AT0");
}

bool AorPanel::SendText(std::string_view text) {
    return Link.Exchange(std::string(text) + "\r\n", "");
}

// ---------------------------------------------------------------------------------------
// Posted codes

void AorPanel::OnPanelCode(uint32_t code) {
    switch (code) {
        case PostRefreshCurves:
            RefreshData();
            PostToSelf(PostRefreshDisplay);
            break;
        case PostMeasureLevel:
            SetFrequencyWait();
            fdx_->Level = ReadLevel();
            Fine.Redraw();
            break;
        case PostClearData:
            ClearBanks();
            break;
        case PostLoadReceiverSetup:
            LoadReceiverSetup();
            break;
        default:
            OnModelCode(code);
            break;
    }
}

// The range slot shown becomes the current search bank.
void AorPanel::LoadReceiverSetup() {
    const FDX& s = *fdx_;
    if (s.SlotIndex < 0 || static_cast<std::size_t>(s.SlotIndex) >= s.ScanSlots.size()) return;
    const Bank& slot = s.ScanSlots[static_cast<std::size_t>(s.SlotIndex)];
    if (!slot.InUse) return;
    AorSearchBank& bank = CurrentSearch();
    bank.Lower = std::clamp(slot.Start, LowerLimit, UpperLimit);
    bank.Upper = std::clamp(slot.End, LowerLimit, UpperLimit);
    bank.Step = slot.Step;
    bank.Mode = slot.Modulation;
    bank.Filter = 0;
    // A range's step may be one the set does not have: the bank takes the set's nearest.
    SettleSearchBank(bank, *model_.list.layout);
    ShowSearchBank();
}

// ---------------------------------------------------------------------------------------
// Display

void AorPanel::ShowAll() {
    FollowTuning();
    ShowBandwidth();
    if (cbank) cbank->SetChecked(DirectWrite);
    if (mem) mem->SetChecked(WholeMemory);
    if (csound) csound->SetChecked(fdx_->Sound != 0);
    ShowBankList();
    ShowSearchBank();
}

void AorPanel::RefreshDisplay() {
    if (label_1) label_1->SetText(aor::Format("%9.4f", fdx_->Frequency / 10000.0));
    ShowBandwidth();
    Fine.Redraw();
}

void AorPanel::FollowTuning() {
    if (label_1) label_1->SetText(aor::Format("%9.4f", fdx_->Frequency / 10000.0));
    Fine.FollowFrequency();
    Fine.Redraw();
}

void AorPanel::ShowBandwidth() {
    if (width) width->SetText(aor::Format("%4.1f", Bandwidth / 10.0));
    Scale.FillWindow = model_.fillWindowBandwidths * Bandwidth;
}

// ---------------------------------------------------------------------------------------
// The receiver's own scan

bool AorPanel::StartOwnScan() {
    std::string status;
    const bool prepared = PrepareOwnScan();
    const std::string line = prepared ? OwnScanLine(status) : std::string();
    // The receiver may report a stop right behind its answer to the scan line, and the wait
    // for that answer may serve the report: the scan runs from the line on.
    Scanning = prepared;
    // "---": the search bank is empty and the receiver scans nothing.
    if (!prepared || !SendText(line) || AnsweredEmpty) {
        Scanning = false;
        fdx_->ShowError(kScanStartFailed);
        return false;
    }
    OwnScanStarted();
    PanelWorkStarted(status);
    PostToSelf(PostRefreshCurves);
    return true;
}

void AorPanel::StopOwnScan() {
    Scanning = false;
    PanelWorkEnded();
    AfterOwnScanStop();
    PostToOwner(PostReceiverState);
    PostToSelf(PostRefreshDisplay);
}

void AorPanel::OwnScanLeftBySync() {
    if (!Scanning) return;
    Scanning = false;
    StopPending = false;
    PanelWorkEnded();
}

// A stop of the receiver's own scan comes as an LC line with the level, then the state line
// with the frequency; or as one LC line that carries the frequency too.
void AorPanel::AfterLine(bool ended) {
    // An acknowledgement (an empty line) says nothing of what is there; a "---" parsed
    // before it was another line's.
    if (ended) AnsweredEmpty = !Link.ReplyLine.empty() && !reply_.ChannelPresent;
    // "LC1", the reports switch read back, is no stop.
    if (!ended && Link.ReplyKind == "LC" && Link.ReplyLine.size() > 3) {
        StopLevel = reply_.Level;
        StopPending = !reply_.FrequencyReported;
        if (!StopPending) ReportStop();
        return;
    }
    const bool stop = !ended && StopPending && Link.ReplyKind == "RF";
    StopPending = false;
    if (stop) ReportStop();
}

void AorPanel::ReportStop() {
    FDX& s = *fdx_;
    s.Frequency = std::clamp(reply_.Frequency, LowerLimit, UpperLimit);
    s.Level = StopLevel;
    Scale.Measure(s.Frequency, StopLevel);
    FollowTuning();
    PostToSelf(PostRefreshDisplay);
    if (!LevelPosted) {
        LevelPosted = true;
        PostToOwner(PostPanelLevelDisplay);
    }
    if (!FrequencyPosted) {
        FrequencyPosted = true;
        PostToOwner(PostFrequencyChanged);
    }
    ActOnScanStop(ScanSettings);
}

// ---------------------------------------------------------------------------------------
// State file and job commands

void AorPanel::SearchBankCommand(JobStr& line) {
    if (Refuse(line, static_cast<uint32_t>(model_.searchBanks), kNoBank)) return;
    CurrentSearchBank = static_cast<int32_t>(line.VAL);
    ShowSearchBank();
}

void AorPanel::DirectCommand(JobStr&) {
    DirectWrite = true;
    if (cbank) cbank->SetChecked(true);
}

void AorPanel::BankCommand(JobStr& line) {
    if (Refuse(line, static_cast<uint32_t>(model_.banks), kNoBank)) return;
    CurrentBank = static_cast<int32_t>(line.VAL);
    rows_.clear();  // another bank shows in channel order
    ShowBankList();
    if (!model_.searchBankFollowsBank) return;
    CurrentSearchBank = CurrentBank;
    ShowSearchBank();
}

void AorPanel::ChannelCommand(JobStr& line) {
    if (Refuse(line, static_cast<uint32_t>(BankSize()), kNoChannel)) return;
    BankPositions[static_cast<std::size_t>(CurrentBank)] = static_cast<int32_t>(line.VAL);
    ShowChannelBoxes();
}

bool AorPanel::SetAuto(bool on) {
    return SendText(on ? "AU1" : "AU0");
}

AorVfo AorPanel::CurrentVfo() const {
    const FDX& s = *fdx_;
    return {s.Frequency, s.Modulation, s.Filter, s.Attenuator != 0, s.Step, AutoOn};
}

void AorPanel::TakeVfo(const AorVfo& vfo) {
    if (!vfo.Known()) return;
    FDX& s = *fdx_;
    s.Frequency = std::clamp(vfo.Frequency, LowerLimit, UpperLimit);
    s.Modulation = vfo.Mode;
    s.Filter = vfo.Filter;
    s.Attenuator = vfo.Attenuator ? 1 : 0;
    if (vfo.Step != 0) s.Step = vfo.Step;
}

bool AorPanel::SwitchAuto(bool on) {
    const bool before = AutoOn;
    AutoOn = on;
    const bool taken = SetAuto(on);
    if (!taken) AutoOn = before;
    if (cauto) cauto->SetChecked(AutoOn);
    if (!taken) fdx_->ShowError(kReceiverSilent);
    return taken;
}

bool AorPanel::SwitchAttenuator(bool on) {
    FDX& s = *fdx_;
    const uint8_t before = s.Attenuator;
    const uint32_t depthBefore = s.AttenuatorDb;
    s.Attenuator = on ? 1 : 0;
    const bool taken = SetAttenuator();
    if (!taken) {
        s.Attenuator = before;
        s.AttenuatorDb = depthBefore;
    }
    if (catt) catt->SetChecked(s.Attenuator != 0);
    if (!taken) fdx_->ShowError(kReceiverSilent);
    return taken;
}

bool AorPanel::SwitchSound(bool on) {
    FDX& s = *fdx_;
    const uint8_t before = s.Sound;
    s.Sound = on ? 1 : 0;
    const bool taken = SendMute();
    if (!taken) s.Sound = before;
    if (csound) csound->SetChecked(s.Sound != 0);
    if (!taken) fdx_->ShowError(kReceiverSilent);
    return taken;
}

void AorPanel::LeaveAuto() {
    if (!AutoOn) return;
    AutoOn = false;
    if (cauto) cauto->SetChecked(false);
    SetAuto(false);
}

// A link text is sent after the links are cleared ("BM" or "BS" with two percent signs): the
// AR5000 and the AR8200 add to the links they hold.
bool AorPanel::SendBankLinks() {
    const char* token = ScanSettings.kind == AorScanSettings::Kind::MemoryBanks ? "BM" : "BS";
    const bool cleared = SendText(std::string(token) + "%%");
    return SendText(token + ScanSettings.ChosenLinks()) && cleared;
}

void AorScanSettings::Link(char letter, bool linked) {
    std::string& links = ChosenLinks();
    const std::size_t at = links.find(letter);
    if (linked && at == std::string::npos) links += letter;
    if (!linked && at != std::string::npos) links.erase(at, 1);
}

void AorPanel::WholeMemoryCommand(JobStr&) {
    WholeMemory = true;
    if (mem) mem->SetChecked(true);
}
