#include "app/receiver_watch.h"

#include "ui/reply_event.h"

void ReceiverWatch::PortHungUp() {
    comm_.Close();  // the reader has ended; the dead device is let go
    reopened_ = false;
    LoseReceiver(State::PortLost);
}

// The receiver is gone (`lost` says how): the operator hears of it once, and it is looked for
// again in kRetrySeconds.
void ReceiverWatch::LoseReceiver(State lost) {
    state_ = lost;
    countdown_ = kRetrySeconds;
    if (ReceiverPanel* panel = receiver_.Panel()) {
        panel->LoseReceiver();
        // A step waiting for its reply returns at once; the scan then waits for the receiver.
        panel->ReleaseForStop();
    }
    TellOnce();
}

void ReceiverWatch::SyncEnded(bool answered) {
    if (receiver_.Traits().serialPort && comm_.OpenedPath().empty()) return;
    if (state_ == State::PortLost) {
        // The line went while the sync ran: whatever it read last, nobody is there now.
        if (ReceiverPanel* panel = receiver_.Panel()) panel->LoseReceiver();
        return;
    }
    if (answered) {
        state_ = State::Watching;
        told_ = tellDue_ = false;
        return;
    }
    if (reopened_) comm_.Close();
    state_ = reopened_ ? State::PortLost : State::Silent;
    reopened_ = false;
    countdown_ = kRetrySeconds;
    // A panel that told why itself (no WiNRADiO card to open) is not told again.
    const ReceiverPanel* panel = receiver_.Panel();
    if (panel && panel->SyncFailureTold())
        told_ = true;
    else
        TellOnce();
}

void ReceiverWatch::SecondTick() {
    // The try first: a silence noticed now waits its full kRetrySeconds, as a failed try does.
    TryAgain();
    NoticeSilence();
    // A box shown inside a wait (a scan step's, broken off by the loss) would keep that wait,
    // and so its scan, beneath it until someone closes it.
    if (tellDue_ && !fdx_.JobRunning && ui::ReplyEvent::Running() == 0) {
        tellDue_ = false;
        fdx_.ShowError(39);
    }
}

// A receiver that answered its sync and then leaves the scan's exchanges unanswered, its port
// open, is treated as one that does not answer its sync: the scan's step waits on its point,
// and the receiver is synced again every few seconds. Outside a scan nothing asks it often
// enough to tell.
void ReceiverWatch::NoticeSilence() {
    if (state_ != State::Watching || !fdx_.Running) return;
    if (receiver_.Traits().serialPort && !comm_.IsOpen()) return;
    ReceiverPanel* panel = receiver_.Panel();
    if (!panel || !panel->SyncEnded() || !panel->ReceiverAnswered() ||
        panel->UnansweredInARow() < kSilentExchanges)
        return;
    LoseReceiver(State::Silent);
}

void ReceiverWatch::TryAgain() {
    if (state_ != State::PortLost && state_ != State::Silent) return;
    if (--countdown_ > 0) return;
    countdown_ = kRetrySeconds;
    if (state_ == State::PortLost) {
        if (!comm_.Reopen()) return;
        reopened_ = true;
    }
    state_ = State::Probing;
    // As at the end of the start-up: the panel asks the receiver what it is set to, and what
    // arrives from now on is kept.
    receiver_.SyncReceiverPanel();
    comm_.EnableReceive();
}

void ReceiverWatch::TellOnce() {
    if (told_) return;
    told_ = tellDue_ = true;
}
