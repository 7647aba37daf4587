#include "receivers/panel.h"

#include "receivers/comm.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/post.h"
#include "ui/timer.h"

ReceiverPanel::ReceiverPanel() {
    // The right mouse button runs the macro or trigger job, as on every window.
    AddHandler(ui::EventId::RightButtonUp, [this](ui::Object&, ui::EventData&) {
        PostToOwner(PostRunMacro);
        return false;
    });
}

ReceiverPanel::~ReceiverPanel() = default;

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
    if (!fdx_ || !fdx_->OptRecvSave || !HasStateToKeep()) return true;
    stateFileSaved_ = WriteStateFile();
    return stateFileSaved_;
}

// After the close the program ends: what the close wrote is what there is to keep.
void ReceiverPanel::SaveStateFileAtEnd() {
    if (!stateFileSaved_) SaveStateFile();
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

bool ReceiverPanel::ServeUntil(const std::function<bool()>& done) {
    const int64_t deadline = ui::Clock::NowMs() + kReplyWaitMs;
    ++serving_;
    bool ended = true;
    while (!done()) {
        const int64_t left = deadline - ui::Clock::NowMs();
        // A program that quits serves nothing more: the reply would never be read.
        if (left <= 0 || ui::Application::Quitting()) {
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
        const bool ended = ServeUntil([&] { return Ended(id); });
        --waitDepth_;
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
    PendingCommand = NoExchange;
    ReplyEvent.Set();
}

void ReceiverPanel::Cancel(bool keepPort) {
    ReplyComplete = false;
    ReplyCountdown = kReplyTicks;
    ReplyEvent.Set();
    PendingCommand = NoExchange;
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

bool ReceiverPanel::BeginExchange(int32_t awaited, bool cancelStale) {
    if (!AwaitTurn()) {
        if (watch_ && watch_->level_ == serving_) watch_->refused_ = true;
        return false;
    }
    // Inside a parse pass the ring holds what just arrived, not a stale reply: emptying it
    // there would lose the frames behind the one being parsed (and the pass's reports).
    if (cancelStale && !ReplyComplete && !PollGuard) Cancel(false);
    ReplyComplete = false;
    ReplyCountdown = kReplyTicks;
    PendingCommand = awaited;
    ++exchange_;
    outcomes_[Slot(exchange_)] = Outcome{exchange_, false};
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
    if (PendingCommand != NoExchange) outcomes_[Slot(exchange_)].accepted = accepted;
    ReplyCountdown = 0;
    PendingCommand = NoExchange;
    ReplyComplete = accepted;
    ReplyEvent.Set();
}

bool ReceiverPanel::DataArrived(const std::function<PassResult()>& walk) {
    if (PollGuard) return ReplyComplete;
    PollGuard = true;
    FrequencyPosted = false;
    LevelPosted = false;
    struct Release {
        bool& guard;
        ~Release() { guard = false; }
    } release{PollGuard};
    const PassResult pass = walk();
    // A pass that took a reply out has found the ring in order, whatever else it stepped
    // over; the bytes left behind are judged again by the next pass.
    if (pass.steppedOver > Comm::kRingSize / 2 && !pass.replyTaken) Cancel(false);
    return ReplyComplete;
}

bool ReceiverPanel::TimerTick() {
    if (!ReplyComplete && ReplyCountdown != 0 && --ReplyCountdown == 0) Abandon();
    return ReplyComplete;
}

void ReceiverPanel::EndSync(bool answered) {
    syncEnded_ = true;
    receiverAnswered_ = answered;
    if (answered) unansweredInARow_ = 0;
    ++syncCount_;
    PostToOwner(PostReceiverState);
}

bool ReceiverPanel::PostToOwner(uint32_t code) const {
    return fdx_ && PostPrivateMessage(fdx_->Owner, code);
}

bool ReceiverPanel::PostToSelf(uint32_t code) {
    return PostPrivateMessage(this, code);
}

void ReceiverPanel::AnswerNoAccess(JobStr& line, const char* text) {
    line.Message = text;
    line.ReturnCode = 1;
}
