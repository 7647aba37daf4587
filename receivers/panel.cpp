#include "receivers/panel.h"

#include "receivers/comm.h"
#include "ui/controls.h"
#include "ui/post.h"

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
    if (!ui::Form::Create(resourceName, parent)) return false;
    if (createFailed_) {
        Destroy();
        return false;
    }
    return HasWindow();
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

bool ReceiverPanel::WaitReply() {
    if (ReplyComplete) return true;
    ReplyCountdown = kReplyTicks;
    ReplyEvent.Reset();
    ++waitDepth_;
    ReplyEvent.Wait(kReplyWaitMs);
    --waitDepth_;
    PendingCommand = NoExchange;
    return ReplyComplete;
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

bool ReceiverPanel::ReplyReady() {
    if (!ReplyComplete) Poll(false);
    return ReplyComplete || WaitReply();
}

int32_t ReceiverPanel::ScanLevel() {
    const int32_t level = ReplyReady() ? ReadLevel() : -1;
    PendingCommand = NoExchange;
    return level;
}

int32_t ReceiverPanel::TuneAndRead() {
    return SetFrequencyWait() ? ReadLevel() : -1;
}

void ReceiverPanel::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<ReceiverPanel>>{});
}

bool ReceiverPanel::BeginExchange(int32_t awaited, bool cancelStale) {
    if (PendingCommand != NoExchange) return false;
    // Inside a parse pass the ring holds what just arrived, not a stale reply: emptying it
    // there would lose the frames behind the one being parsed (and the pass's reports).
    if (cancelStale && !ReplyComplete && !PollGuard) Cancel(false);
    ReplyComplete = false;
    ReplyCountdown = kReplyTicks;
    PendingCommand = awaited;
    return true;
}

void ReceiverPanel::EndExchange(bool accepted) {
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
    if (!ReplyComplete && ReplyCountdown != 0 && --ReplyCountdown == 0) {
        PendingCommand = NoExchange;
        ReplyEvent.Set();
    }
    return ReplyComplete;
}

void ReceiverPanel::EndSync(bool answered) {
    syncEnded_ = true;
    receiverAnswered_ = answered;
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
