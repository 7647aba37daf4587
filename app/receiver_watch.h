#pragma once
// The main window's watch over the receiver on the serial line. A line that hangs up (an
// adapter pulled, the receiver's end gone) closes the port; a sync the receiver does not answer
// leaves it silent, and so does a receiver that stops answering in the middle of a scan (its
// port still open). Either way the operator hears of it once (message 39, at the next second
// tick with no job running and no wait running: a box nobody closes must hold up neither the
// job nor the scans),
// and every few seconds the receiver is looked for again: a lost port is opened by the path it
// was opened with, never looked up anew, and the panel syncs; a silent receiver is synced
// again. The receiver counts as back only when it answers a sync. A reopened port whose
// receiver answers nothing is closed again at once, so that nothing but the sync reaches
// whatever now holds that device.
//
// While the watch's box stands, a further loss opens no second box; while a close of the
// program is asked, nothing is looked for and nothing told.
//
// A port that does not open at the start is told once, why and which (a box as for a lost
// receiver, and standard error), and looked for every few seconds as a lost port is, its COMn
// entry looked up anew; the program goes on without a link meanwhile. A port the settings name
// as none is not watched. A receiver without a serial line (the WiNRADiO card) is watched alike:
// a card that does not open, or fails its level reads in a row during a scan, is a silent
// receiver, connected again every few seconds. A panel that knows why its sync went unanswered (no
// card to open) names its own message (2), which is told the same way in place of 39.

#include <cstdint>
#include <string>

#include "app/receiver_dispatch.h"
#include "receivers/comm.h"
#include "state/fdx.h"

class ReceiverWatch {
  public:
    // Seconds from a failed try to the next.
    static constexpr int32_t kRetrySeconds = 3;
    // Exchanges of a running scan given up in a row, beyond which its receiver counts as gone
    // silent (one a second: a step's tune waits that long).
    static constexpr uint32_t kSilentExchanges = 3;

    ReceiverWatch(FDX& fdx, Comm& comm, ReceiverDispatch& receiver)
        : fdx_(fdx), comm_(comm), receiver_(receiver) {}
    ReceiverWatch(const ReceiverWatch&) = delete;
    ReceiverWatch& operator=(const ReceiverWatch&) = delete;

    // The port's line hung up: the port is closed and the exchange awaited is dropped.
    void PortHungUp();
    // The start-up's open of the port failed (Comm::OpenFailure says why).
    void PortNotOpened();
    // A sync of the panel ended, answered or not.
    void SyncEnded(bool answered);
    // The one-second tick: the next try when its time has come, then the message when due.
    void SecondTick();

  private:
    enum class State {
        Watching,  // the receiver answers, or its first sync runs
        PortLost,  // the port is closed; it is opened again at the next try
        Silent,    // the port is open but the receiver answers nothing; synced at the next try
        Probing,   // a try's sync runs
    };
    void LoseReceiver(State lost);
    void NoticeSilence();
    void TryAgain();
    void TellOnce();

    FDX& fdx_;
    Comm& comm_;
    ReceiverDispatch& receiver_;
    State state_ = State::Watching;
    bool reopened_ = false;  // the sync that runs is on a port reopened for it
    int32_t countdown_ = 0;  // seconds to the next try
    bool told_ = false;      // a message due or shown since the receiver last answered
    std::string textDue_;    // the message still to be shown: 39, the panel's, the port's, or none
    bool boxStanding_ = false;  // the message's box waits for the operator
};
