#include "app/receiver_watch.h"

#include <cstdio>
#include <utility>

#include "ui/application.h"
#include "ui/reply_event.h"

void ReceiverWatch::PortNotOpened() {
    // Standard error at once: an unattended station's log has it even while nobody can see the
    // box, which waits for the start-up job.
    std::fprintf(stderr, "%s\n", comm_.OpenFailure().c_str());
    std::fflush(stderr);
    textDue_ = comm_.OpenFailure();
    state_ = State::PortLost;
    countdown_ = kRetrySeconds;
}

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
    if (state_ == State::PortLost) {
        // The line went while the sync ran, or never came: whatever it read last, nobody is
        // there now.
        if (ReceiverPanel* panel = receiver_.Panel()) panel->LoseReceiver();
        return;
    }
    if (receiver_.Traits().serialPort && comm_.OpenedPath().empty()) return;
    if (answered) {
        state_ = State::Watching;
        told_ = false;
        textDue_.clear();
        return;
    }
    if (reopened_) comm_.Close();
    state_ = reopened_ ? State::PortLost : State::Silent;
    reopened_ = false;
    countdown_ = kRetrySeconds;
    // A close asked broke the sync off: the receiver was not heard out, and is looked for
    // again should the close be refused, before anyone hears of it. The close may have been
    // answered no since: the sync tells whether it was broken off.
    const ReceiverPanel* panel = receiver_.Panel();
    if (ui::Application::CloseAsked() || (panel && panel->SyncBrokenOffByClose())) return;
    // A panel that knows why (no WiNRADiO card to open) has its own message told instead, as
    // often as it asks, and message 39 not at all.
    const int why = panel ? panel->SyncFailureWhy() : 0;
    if (why == 0) {
        TellOnce();
    } else {
        told_ = true;
        if (why != ReceiverPanel::kWhyToldBefore) textDue_ = fdx_.MessageText(why);
    }
}

void ReceiverWatch::SecondTick() {
    // While a close of the program is asked the receiver is looked for no more, and the close
    // is not crossed by a box of the watch's.
    if (ui::Application::CloseAsked()) return;
    // The try first: a silence noticed now waits its full kRetrySeconds, as a failed try does.
    TryAgain();
    NoticeSilence();
    // A box shown inside a wait (a scan step's, broken off by the loss) would keep that wait,
    // and so its scan, beneath it until someone closes it.
    if (textDue_.empty() || fdx_.JobRunning || ui::ReplyEvent::Running() != 0) return;
    // The watch's box still standing (the station unattended) tells this loss too: the ticks
    // served beneath it, where the receiver came back and went again, open no second one.
    if (boxStanding_) {
        textDue_.clear();
        return;
    }
    boxStanding_ = true;
    fdx_.ShowErrorText(std::exchange(textDue_, {}));
    boxStanding_ = false;
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
        // No panel (the configured one could not be made): nothing to look for.
        if (receiver_.Panel() == nullptr || !comm_.Reopen()) return;
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
    told_ = true;
    textDue_ = fdx_.MessageText(kReceiverSilent);
}
