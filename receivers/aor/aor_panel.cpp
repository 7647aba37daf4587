#include "receivers/aor/aor_panel.h"

#include <algorithm>
#include <new>

#include "state/message_bus.h"

namespace {

// "Ошибка запуска внутреннего сканирования приемника"
constexpr int kScanStartFailed = 28;

// While a scan or a transfer runs the operator may still look at the scale and stop the
// receiver's own scan.
constexpr std::string_view kStayEnabled[] = {"clear", "scale"};

}  // namespace

AorPanel::AorPanel(const AorModel& model, AorReply& reply)
    : AorBankPanel(model.list), model_(model), reply_(reply), Fine(*this, model.fineScale) {
    ui::RegisterFormResource(*model.form);
    Link.LineByLine = model.lineByLine;
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { OnDestroy(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
}

bool AorPanel::Create(ui::Form* parent, FDX* fdx) {
    return CreatePanel(model_.form->name, parent, fdx);
}

std::size_t AorPanel::Index(int bank, int channel) const {
    return static_cast<std::size_t>(std::clamp(bank, 0, model_.banks - 1) * BankSize() +
                                    std::clamp(channel, 0, BankSize() - 1));
}

// ---------------------------------------------------------------------------------------
// Creation and destruction

void AorPanel::OnCreate() {
    FDX& s = *fdx_;
    s.BuildingControls = 1;
    CreateControls();
    MakeListColumns();
    if (s.OptMaxMon) StretchControls();
    SetDefaults();
    try {
        Scale.Allocate(UpperLimit);
    } catch (const std::bad_alloc&) {
        s.BuildingControls = 0;
        MarkCreateFailed();
        return;
    }
    Scale.LimitTo254 = true;
    Scale.FillWindow = model_.fillWindowBandwidths * Bandwidth;
    PendingCommand = NoExchange;
    ReplyComplete = false;
    s.Calibration = model_.calibration;
    s.BuildLevelTable();
    if (s.OptRecvSave) ReadStateFile();
    WireControls();
    WireBankControls();
    Fine.SetViewStep(ViewStep);
    ShowAll();
    Show();
}

void AorPanel::SetDefaults() {
    LowerLimit = model_.lowerLimit;
    UpperLimit = model_.upperLimit;
    ViewStep = 10000;
    ViewPosition = 0;
    Bandwidth = 150;
    const ChannelLayout& layout = *model_.list.layout;
    Channels.resize(static_cast<std::size_t>(model_.banks * BankSize()));
    for (std::size_t i = 0; i < Channels.size(); ++i)
        Channels[i] = layout.Empty(static_cast<int32_t>(i % layout.bankSize));
    SearchBanks.assign(static_cast<std::size_t>(model_.searchBanks), {});
    BankPositions.fill(0);
    CurrentBank = CurrentSearchBank = 0;
    SetModelDefaults();
}

void AorPanel::OnDestroy() {
    SaveStateFileAtEnd();
    Scale.Free();
    Fine.Detach();
    ForgetControls();
}

void AorPanel::LockControls(bool locked) {
    PanelBusy = locked;
    for (const ui::ControlResource& row : model_.form->controls) {
        // A control the form makes disabled (a read-only display) stays so.
        if (std::find(std::begin(kStayEnabled), std::end(kStayEnabled), row.name) !=
                std::end(kStayEnabled) ||
            (row.style & ui::style::kDisabled) != 0)
            continue;
        if (ui::Control* control = FindControl(row.name)) control->SetEnabled(!locked);
    }
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

void AorPanel::OnUserEvent(uint32_t code) {
    if (!fdx_ || !HasWindow()) return;
    switch (code) {
        case PostSyncReceiver:
            Synchronise();
            break;
        case PostItemLoaded:
            TakeBankItem(CurrentBankChannels(), *model_.list.layout);
            BankPositions[static_cast<std::size_t>(CurrentBank)] = 0;
            ShowBankList();
            break;
        case PostSaveBank:
            GiveBankItem(CurrentBankChannels());
            break;
        case PostRefreshData:
        case PostRefreshLevels:
        case PostRefreshCurves:
            Fine.Redraw();
            PostToSelf(PostRefreshDisplay);
            break;
        case PostRefreshDisplay:
            if (label_1) label_1->SetText(aor::Format("%9.4f", fdx_->Frequency / 10000.0));
            ShowBandwidth();
            Fine.Redraw();
            break;
        case PostMeasureLevel:
            SetFrequencyWait();
            fdx_->Level = ReadLevel();
            Fine.Redraw();
            break;
        case PostLockControls:
        case PostUnlockControls:
            LockControls(code == PostLockControls);
            break;
        case PostJobStep:
            ExecuteCommand();
            break;
        case PostClearData:
            ClearBanks();
            break;
        case PostLoadReceiverSetup:
            LoadReceiverSetup();
            break;
        case PostStepUp:
        case PostStepDown:
            StepBy(code == PostStepUp ? +1 : -1);
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
    ShowSearchBank();
}

void AorPanel::StepBy(int direction) {
    const int64_t target = int64_t{fdx_->Frequency} + direction * int64_t{ViewStep};
    if (target >= LowerLimit && target <= UpperLimit && !PanelBusy &&
        PendingCommand == NoExchange) {
        Fine.TuneTo(static_cast<uint32_t>(target));
        PostToSelf(PostRefreshDisplay);
    }
    PostToOwner(PostFrequencyStepped);
}

// ---------------------------------------------------------------------------------------
// Display

void AorPanel::ShowAll() {
    FollowTuning();
    ShowBandwidth();
    if (cbank) cbank->SetChecked(DirectWrite);
    if (mem) mem->SetChecked(WholeMemory);
    ShowBankList();
    ShowSearchBank();
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

std::string AorPanel::StateFilePath() const {
    return StateFileName(fdx_->ProgramDir, model_.stateFileStem,
                         static_cast<uint32_t>(fdx_->PortIndex));
}

void AorPanel::WriteHead(StateFileWriter& file,
                         const std::function<void(StateFileWriter&)>& afterModulation) {
    StateFileHead head = Head();
    file.Head(head, afterModulation);
    SavedDate = head.Date;
    SavedTime = head.Time;
}

void AorPanel::TakeHead(const StateFileHead& head) {
    FDX& s = *fdx_;
    SavedDate = head.Date;
    SavedTime = head.Time;
    s.Frequency = std::clamp(head.Frequency, LowerLimit, UpperLimit);
    s.Step = head.Step;
    s.Modulation = head.Modulation;
    Fine.SetViewStep(head.ViewStep);
    ViewPosition = std::min(head.ViewPosition, UpperLimit);
}

bool AorPanel::Refuse(JobStr& line, uint32_t last, const char* message) {
    if (line.VAL <= last) return false;
    line.Message = message;
    line.ReturnCode = 2;
    return true;
}

void AorPanel::SearchBankCommand(JobStr& line) {
    if (Refuse(line, static_cast<uint32_t>(model_.searchBanks - 1), kNoBank)) return;
    CurrentSearchBank = static_cast<int32_t>(line.VAL);
    ShowSearchBank();
}

void AorPanel::DirectCommand(JobStr&) {
    DirectWrite = true;
    if (cbank) cbank->SetChecked(true);
}

void AorPanel::BankCommand(JobStr& line) {
    if (Refuse(line, static_cast<uint32_t>(model_.banks - 1), kNoBank)) return;
    CurrentBank = static_cast<int32_t>(line.VAL);
    rows_.clear();  // another bank shows in channel order
    ShowBankList();
}

void AorPanel::ChannelCommand(JobStr& line) {
    if (Refuse(line, static_cast<uint32_t>(BankSize() - 1), kNoChannel)) return;
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

void AorPanel::LeaveAuto() {
    if (!AutoOn) return;
    AutoOn = false;
    if (cauto) cauto->SetChecked(false);
    SetAuto(false);
}

// A link text is sent after the links are cleared: the receiver adds to the links it holds.
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
