#include "receivers/panel.h"

#include <algorithm>
#include <new>
#include <utility>

#include "receivers/comm.h"
#include "receivers/memory_channel.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/post.h"
#include "ui/timer.h"

ReceiverPanel::ReceiverPanel() : ReceiverPanel(PanelShape{}) {}

ReceiverPanel::ReceiverPanel(const PanelShape& shape) : Fine(*this, shape.fineScale), shape_(shape) {
    // The right mouse button runs the macro or trigger job, as on every window.
    AddHandler(ui::EventId::RightButtonUp, [this](ui::Object&, ui::EventData&) {
        PostToOwner(PostRunMacro);
        return false;
    });
    // A panel without a shape makes its form itself.
    if (!shape.form) return;
    ui::RegisterFormResource(*shape.form);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { OnDestroy(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
}

ReceiverPanel::~ReceiverPanel() = default;

bool ReceiverPanel::Create(ui::Form* parent, FDX* fdx) {
    return shape_.form && CreatePanel(shape_.form->name, parent, fdx);
}

// ---------------------------------------------------------------------------------------
// The making and the end of the form

void ReceiverPanel::OnCreate() {
    FDX& s = *fdx_;
    s.BuildingControls = 1;
    CreateControls();
    ShowPanelPictures(*this, shape_.pictures);
    Fine.Attach(FineScaleOnForm());
    if (s.OptMaxMon) StretchControls();
    LowerLimit = shape_.lowerLimit;
    UpperLimit = shape_.upperLimit;
    ViewStep = shape_.viewStep;
    ViewPosition = 0;
    SetDefaults();
    PendingCommand = NoExchange;
    ReplyComplete = false;
    if (Prepare()) {
        try {
            Scale.Allocate(UpperLimit);
        } catch (const std::bad_alloc&) {
            s.BuildingControls = 0;
            createFailed_ = true;
            return;
        }
        const std::span<const int32_t> points = shape_.calibration;
        std::copy_n(points.begin(), std::min(points.size(), s.Calibration.size()),
                    s.Calibration.begin());
        s.BuildLevelTable();
        if (s.OptRecvSave) ReadStateFile();
    }
    WireControls();
    Fine.SetViewStep(ViewStep);
    ShowControls();
    FollowTuning();
    Show();
}

// After the close the program ends: what the close wrote is what there is to keep.
void ReceiverPanel::OnDestroy() {
    if (!stateFileSaved_) SaveStateFile();
    ForgetControls();
    Scale.Free();
    Fine.Detach();
}

void ReceiverPanel::FollowTuning() {
    Fine.FollowFrequency();
    Fine.Redraw();
}

void ReceiverPanel::EnableFormControls(bool enabled, std::span<const std::string_view> staying) {
    if (!Resource()) return;
    for (const ui::ControlResource& row : Resource()->controls) {
        // A control the form makes disabled (a read-only display) stays so.
        if ((row.style & ui::style::kDisabled) != 0 ||
            std::find(staying.begin(), staying.end(), row.name) != staying.end())
            continue;
        ui::Control* control = FindControl(row.name);
        if (control && control != Fine.Canvas() && control != Fine.ScrollBar())
            control->SetEnabled(enabled);
    }
    Fine.EnableScrollBar(enabled);
}

void ReceiverPanel::WireSwitchBoxes(ui::CheckBox* attenuator, ui::CheckBox* sound) {
    if (attenuator) {
        attenuator->On(ui::EventId::Click, [this, attenuator](ui::EventData&) {
            fdx_->Attenuator = attenuator->IsChecked() ? 1 : 0;
            SetAttenuator();
            PostToOwner(PostReceiverState);
        });
    }
    if (sound) {
        sound->On(ui::EventId::Click, [this, sound](ui::EventData&) {
            fdx_->Sound = sound->IsChecked() ? 1 : 0;
            SetSound();
        });
    }
}

void ReceiverPanel::OnUserEvent(uint32_t code) {
    if (!fdx_ || !HasWindow()) return;
    switch (code) {
        case PostSyncReceiver:
            Synchronise();
            break;
        case PostLockControls:
        case PostUnlockControls:
            PanelBusy = code == PostLockControls;
            LockControls(PanelBusy);
            break;
        case PostJobStep:
            ExecuteCommand();
            break;
        case PostStepUp:
        case PostStepDown:
            StepBy(code == PostStepUp ? +1 : -1);
            break;
        case PostRefreshData:
        case PostRefreshLevels:
            RefreshData();
            PostToSelf(PostRefreshDisplay);
            break;
        case PostRefreshDisplay:
            RefreshDisplay();
            break;
        case PostItemLoaded:
            if (MemoryLayout()) TakeBankItem();
            break;
        case PostSaveBank:
            if (MemoryLayout()) GiveBankItem();
            break;
        default:
            OnPanelCode(code);
            break;
    }
}

void ReceiverPanel::StepBy(int direction) {
    const int64_t target = int64_t{fdx_->Frequency} + direction * int64_t{ViewStep};
    const bool within = target >= LowerLimit && target <= UpperLimit;
    if (within && MayTuneOnStep() && PendingCommand == NoExchange) {
        Fine.TuneTo(static_cast<uint32_t>(target));
        PostToSelf(PostRefreshDisplay);
    }
    if (within || shape_.stepBeyondLimitsAnswered) PostToOwner(PostFrequencyStepped);
}

// ---------------------------------------------------------------------------------------
// The state file's path and head

std::string ReceiverPanel::StateFilePath() const {
    return StateFileName(fdx_->ProgramDir, shape_.stateFileStem ? shape_.stateFileStem : "",
                         static_cast<uint32_t>(fdx_->PortIndex));
}

StateFileHead ReceiverPanel::CurrentHead() const {
    StateFileHead head;
    head.Frequency = fdx_->Frequency;
    head.Step = fdx_->Step;
    head.Modulation = fdx_->Modulation;
    head.ViewStep = ViewStep;
    head.ViewPosition = ViewPosition;
    return head;
}

void ReceiverPanel::WriteHead(StateFileWriter& file,
                              const std::function<void(StateFileWriter&)>& afterModulation) {
    StateFileHead head = CurrentHead();
    file.Head(head, afterModulation);
    SavedDate = head.Date;
    SavedTime = head.Time;
}

std::optional<StateFileHead> ReceiverPanel::ReadStateFileKeys(
    const std::function<void(std::string_view key, std::string_view value)>& modelKey,
    KeptStateLines* kept) {
    StateFileHead head = CurrentHead();
    if (!::ReadStateFile(StateFilePath(), head, Scale, modelKey, kept)) {
        fdx_->SetAsideUnreadFile(StateFilePath(), kStateFileLimit);
        return std::nullopt;
    }
    TakeHead(head);
    return head;
}

void ReceiverPanel::TakeHead(const StateFileHead& head) {
    FDX& s = *fdx_;
    SavedDate = head.Date;
    SavedTime = head.Time;
    s.Frequency = std::clamp(head.Frequency, LowerLimit, std::max(LowerLimit, UpperLimit));
    // The step within the steps the model's channels hold (the program's step field's for a
    // model without banks), never 0.
    const ChannelLayout steps = MemoryLayout() ? *MemoryLayout() : ChannelLayout{};
    s.Step = std::max<uint32_t>(steps.HeldStep(head.Step), 1);
    s.Modulation = head.Modulation;
    Fine.SetViewStep(head.ViewStep);
    ViewPosition = std::min(head.ViewPosition, UpperLimit);
}

bool ReceiverPanel::CreatePanel(const std::string& resourceName, ui::Form* parent, FDX* fdx) {
    if (HasWindow()) return false;
    if (fdx) {
        fdx_ = fdx;
    } else {
        if (!ownState_) ownState_ = std::make_unique<FDX>();
        fdx_ = ownState_.get();
    }
    createFailed_ = false;
    stateFileSaved_ = false;
    if (!ui::Form::Create(resourceName, parent)) return false;
    if (createFailed_) {
        Destroy();
        return false;
    }
    return HasWindow();
}

bool ReceiverPanel::SaveStateFile() {
    if (!fdx_ || !fdx_->OptRecvSave || !HasStateToKeep() || fdx_->KeepsUnread(StateFilePath()))
        return true;
    stateFileSaved_ = WriteStateFile();
    return stateFileSaved_;
}

void ReceiverPanel::StretchControls() {
    if (!Resource() || !fdx_) return;
    const float factor = fdx_->LayoutScale;
    for (const ui::ControlResource& row : Resource()->controls) {
        ui::Control* control = FindControl(row.name);
        if (!control) continue;
        ui::Rect r = control->Geometry();
        r.x = static_cast<int>(static_cast<float>(r.x) * factor);
        r.width = static_cast<int>(static_cast<float>(r.width) * factor);
        control->Move(r);
    }
}

bool ReceiverPanel::Closing() const {
    return ui::Application::Quitting() || ui::Application::SessionEnding() ||
           (syncing_ && ui::Application::CloseAsked());
}

bool ReceiverPanel::ServeUntil(const std::function<bool()>& done) {
    const int64_t deadline = ui::Clock::NowMs() + kReplyWaitMs;
    ++serving_;
    bool ended = true;
    while (!done()) {
        const int64_t left = deadline - ui::Clock::NowMs();
        // A program that closes serves nothing more: the reply would never be read, or would
        // only lead the broken-off sequence on.
        if (left <= 0 || Closing()) {
            ended = false;
            break;
        }
        ReplyEvent.Reset();
        ReplyEvent.Wait(static_cast<int>(left));
    }
    --serving_;
    return ended;
}

bool ReceiverPanel::WaitReply() {
    if (ReplyComplete) return true;
    ReplyCountdown = kReplyTicks;
    if (PendingCommand != NoExchange) return WaitFor(exchange_);
    // Nothing is awaited: a reply line the link takes by itself may still end the wait.
    const uint64_t sets = ReplyEvent.Sets();
    ++waitDepth_;
    ServeUntil([&] { return ReplyEvent.Sets() != sets; });
    --waitDepth_;
    return ReplyComplete;
}

bool ReceiverPanel::WaitFor(ExchangeId id) {
    if (!Ended(id)) {
        ++waitDepth_;
        const ExchangeId outer = std::exchange(awaited_, id);
        const bool ended = ServeUntil([&] { return Ended(id); });
        awaited_ = outer;
        --waitDepth_;
        if (heldFor_ == id) ReleaseHeldLines();
        if (!ended) Abandon();
    }
    return Accepted(id);
}

bool ReceiverPanel::Ended(ExchangeId id) const {
    return id != exchange_ || PendingCommand == NoExchange;
}

bool ReceiverPanel::Accepted(ExchangeId id) const {
    const Outcome& outcome = outcomes_[Slot(id)];
    return Ended(id) && outcome.id == id && outcome.accepted;
}

void ReceiverPanel::Abandon() {
    if (PendingCommand != NoExchange) ++unansweredInARow_;
    DropOutstanding();
    ReplyEvent.Set();
}

void ReceiverPanel::DropOutstanding() {
    if (PendingCommand == NoExchange) return;
    NoteTuneOutcome(false);
    Outcome& outcome = outcomes_[Slot(exchange_)];
    if (outcome.id == exchange_ && outcome.watch) outcome.watch->unanswered_ = true;
    outcome.watch = nullptr;
    PendingCommand = NoExchange;
}

void ReceiverPanel::Cancel(bool keepPort) {
    ReplyComplete = false;
    ReplyCountdown = kReplyTicks;
    ReplyEvent.Set();
    DropOutstanding();
    FrequencyPosted = false;
    LevelPosted = false;
    if (!keepPort && Port()) Port()->Purge();
}

bool ReceiverPanel::Tune() {
    const ExchangeId before = exchange_;
    const bool sent = SetFrequency();
    tune_ = TuneState{exchange_, std::nullopt};
    if (!sent)
        tune_->answered = false;
    else if (exchange_ == before)
        tune_->answered = true;  // a model that tunes without an exchange
    return sent;
}

// The outcomes kept are the last few exchanges'; a scan that holds measures its point long
// after its tune, over whatever a job sent meanwhile (a bank read), so the tune's own is kept
// with it.
void ReceiverPanel::NoteTuneOutcome(bool accepted) {
    if (tune_ && tune_->id == exchange_ && !tune_->answered) tune_->answered = accepted;
}

bool ReceiverPanel::ReplyReady() {
    if (!tune_) {
        if (!ReplyComplete) Poll(false);
        return ReplyComplete || WaitFor(exchange_);
    }
    if (!tune_->answered) {
        if (!Ended(tune_->id)) Poll(false);
        tune_->answered = WaitFor(tune_->id);
    }
    return *tune_->answered;
}

int32_t ReceiverPanel::ScanLevel() {
    return ReplyReady() ? ReadLevel() : -1;
}

int32_t ReceiverPanel::TuneAndRead() {
    return SetFrequencyWait() ? ReadLevel() : -1;
}

void ReceiverPanel::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<ReceiverPanel>>{});
}

std::vector<uint32_t> ReceiverPanel::JobNumbers() {
    std::vector<uint32_t> numbers;
    servedJobs_ = &numbers;
    ExecuteCommand();
    servedJobs_ = nullptr;
    std::ranges::sort(numbers);
    numbers.erase(std::ranges::unique(numbers).begin(), numbers.end());
    return numbers;
}

ReceiverPanel::PanelCommand ReceiverPanel::FineScaleCommand(const FineScaleJobs& jobs,
                                                            uint32_t number) {
    const std::pair<uint32_t, PanelCommand> commands[] = {
        {jobs.fixedLeft, &ReceiverPanel::FixedLeftCommand},
        {jobs.fixedRight, &ReceiverPanel::FixedRightCommand},
        {jobs.peakLeft, &ReceiverPanel::PeakLeftCommand},
        {jobs.peakRight, &ReceiverPanel::PeakRightCommand},
        {jobs.viewStep, &ReceiverPanel::ViewStepCommand},
        {jobs.clearScale, &ReceiverPanel::ClearScaleCommand},
    };
    for (const auto& [job, command] : commands)
        if (job != 0 && job == number) return command;
    return nullptr;
}

bool ReceiverPanel::BeginExchange(int32_t awaited, bool cancelStale) {
    // Once the close is asked nothing more goes to the receiver: whatever sequence the close
    // broke off (a sync, a bank walk, a speed search) ends with its next request.
    if (Closing()) return false;
    if (!AwaitTurn()) {
        if (watch_ && watch_->level_ == serving_) watch_->refused_ = true;
        return false;
    }
    // Inside a parse pass the ring holds what just arrived, not a stale reply: emptying it
    // there would lose the frames behind the one being parsed (and the pass's reports).
    if (cancelStale && !ReplyComplete && !PollGuard) Cancel(false);
    ReleaseHeldLines();
    ReplyComplete = false;
    ReplyCountdown = kReplyTicks;
    PendingCommand = awaited;
    ++exchange_;
    outcomes_[Slot(exchange_)] =
        Outcome{exchange_, false, watch_ && watch_->AtItsLevel() ? watch_ : nullptr};
    return true;
}

// The request waits for the outstanding exchange, whose own waiter, if any, gets its outcome
// as always. Only one request waits at a time: one made inside that wait (a code or a tick
// served there) cannot wait for the request below it and is refused; so is one made inside
// a parse pass, whose reply no wait could parse.
bool ReceiverPanel::AwaitTurn() {
    if (requestWaiting_) return false;
    if (PendingCommand == NoExchange) return true;
    if (PollGuard) return false;
    requestWaiting_ = true;
    const ExchangeId outstanding = exchange_;
    if (!ServeUntil([&] { return Ended(outstanding); })) Abandon();
    requestWaiting_ = false;
    return PendingCommand == NoExchange;
}

void ReceiverPanel::EndExchange(bool accepted) {
    unansweredInARow_ = 0;
    if (PendingCommand != NoExchange) {
        NoteTuneOutcome(accepted);
        Outcome& outcome = outcomes_[Slot(exchange_)];
        outcome.accepted = accepted;
        if (!accepted && outcome.id == exchange_ && outcome.watch) outcome.watch->rejected_ = true;
        outcome.watch = nullptr;
    }
    ReplyCountdown = 0;
    PendingCommand = NoExchange;
    ReplyComplete = accepted;
    ReplyEvent.Set();
}

void ReceiverPanel::HoldLinesForWaiter() {
    if (awaited_ != 0 && awaited_ == exchange_) heldFor_ = exchange_;
}

void ReceiverPanel::ReleaseHeldLines() {
    heldFor_ = 0;
    if (std::exchange(heldPassSkipped_, false)) PostToOwner(PostSerialData);
}

bool ReceiverPanel::TakeReply(const TakePiece& take) {
    Comm* port = Port();
    if (!port) return false;
    RingCursor cursor(*port);
    for (;;) {
        const RingPiece piece = take(cursor);
        if (piece.kind != RingPiece::Kind::Skip) return piece.kind == RingPiece::Kind::Whole;
    }
}

bool ReceiverPanel::TakeReplies(const TakePiece& take, const std::function<bool()>& reply) {
    Comm* port = Port();
    if (PollGuard || !port) return ReplyComplete;
    if (heldFor_ != 0) {
        heldPassSkipped_ = true;
        return ReplyComplete;
    }
    PollGuard = true;
    FrequencyPosted = false;
    LevelPosted = false;
    struct Release {
        bool& guard;
        ~Release() { guard = false; }
    } release{PollGuard};
    RingCursor cursor(*port);
    std::size_t steppedOver = 0;
    bool replyTaken = false;
    while (steppedOver < Comm::kRingSize) {
        const RingPiece piece = take(cursor);
        steppedOver += piece.examined;
        if (piece.kind == RingPiece::Kind::None) break;
        if (piece.kind != RingPiece::Kind::Whole) continue;
        replyTaken = true;
        if (!reply()) break;
    }
    // A pass that took a reply out has found the ring in order, whatever else it stepped
    // over; the bytes left behind are judged again by the next pass.
    if (steppedOver > Comm::kRingSize / 2 && !replyTaken) Cancel(false);
    return ReplyComplete;
}

bool ReceiverPanel::TimerTick() {
    if (!ReplyComplete && ReplyCountdown != 0 && --ReplyCountdown == 0) Abandon();
    return ReplyComplete;
}

void ReceiverPanel::EndSync(bool answered, int why) {
    syncEnded_ = true;
    syncing_ = false;
    receiverAnswered_ = answered;
    syncFailureWhy_ = answered ? 0 : why;
    syncBrokenOff_ = !answered && ui::Application::CloseAsked();
    if (answered) unansweredInARow_ = 0;
    ++syncCount_;
    PostToOwner(PostReceiverState);
}

bool ReceiverPanel::PostToOwner(uint32_t code) const {
    return fdx_ && PostPrivateMessage(fdx_->Owner, code);
}

void ReceiverPanel::RunMacroOnRightButton(ui::Window& control) {
    control.On(ui::EventId::RightButtonUp, [this](ui::EventData&) { PostToOwner(PostRunMacro); });
}

bool ReceiverPanel::PostToSelf(uint32_t code) {
    return PostPrivateMessage(this, code);
}

bool ReceiverPanel::Refuse(JobStr& line, uint32_t count, const char* message, uint32_t first) {
    if (line.VAL >= first && line.VAL - first < count) return false;
    line.Message = message;
    line.ReturnCode = 2;
    return true;
}

ReceiverPanel::RefusalWatch::~RefusalWatch() {
    // An exchange still outstanding tells nobody once its watch is gone.
    for (Outcome& outcome : panel_.outcomes_)
        if (outcome.watch == this) outcome.watch = nullptr;
    panel_.watch_ = outer_;
}

bool ReceiverPanel::RefusalWatch::Outstanding() const {
    const ExchangeId last = panel_.exchange_;
    return panel_.PendingCommand != NoExchange && panel_.outcomes_[Slot(last)].id == last &&
           panel_.outcomes_[Slot(last)].watch == this;
}

// A write the receiver never answered or refused (FA, "?") fails its line as a main-window line
// fails, so that a COND line after it does not run as after a setting taken; a failure text of
// the command's own stays.
void ReceiverPanel::JudgeJobLine(JobStr& line, const RefusalWatch& watch, const char* noAccess) {
    if (watch.Outstanding()) WaitFor(exchange_);
    const bool noAccessText = line.Message == noAccess || line.Message == kNoAccess ||
                              line.Message == kNoAccessSpeltWithSoftSign;
    if ((watch.Unanswered() || watch.Rejected()) && (line.ReturnCode == 0 || noAccessText))
        AnswerReceiverSilent(line);
    else if (watch.Refused() && line.ReturnCode == 0) {
        AnswerNoAccess(line, noAccess);
    }
}

void ReceiverPanel::AnswerReceiverSilent(JobStr& line) const {
    line.Message = fdx_->MessageText(kReceiverSilent);
    line.ReturnCode = 1;
}

void ReceiverPanel::AnswerNoAccess(JobStr& line, const char* text) {
    line.Message = text;
    line.ReturnCode = 1;
}
