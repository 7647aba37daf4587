#pragma once
// Timers and the program clock. In normal runs timers are precise Qt timers on the
// real clock. Tests switch the clock to virtual time: then timers tick only when the
// clock is advanced, and a wait that finds nothing to do advances it itself, so a test
// of time-outs and ticks runs at once and the same way every time.

#include <cstdint>
#include <functional>
#include <memory>

#include "ui/event.h"

namespace ui {

// Raises Timer on every tick.
class Timer : public Object {
  public:
    Timer();
    ~Timer() override;
    void Start(int intervalMs);
    void Stop();
    bool IsRunning() const;
    int Interval() const { return interval_; }

  private:
    friend class Clock;
    void Tick();
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int interval_ = 0;
    int64_t due_ = 0;  // virtual time of the next tick
};

class Clock {
  public:
    // Milliseconds since an arbitrary start; virtual time in virtual mode.
    static int64_t NowMs();
    static bool IsVirtual();
    // Switches virtual time on (starting at 0) or off (the peer forgotten); timers must be
    // stopped meanwhile.
    static void SetVirtual(bool on);
    // Virtual mode: moves time forward by ms, ticking every timer that falls due, in
    // order, and serving the codes posted meanwhile; it stops at each moment the peer has
    // something to do and lets it do that first, and no time passes while the peer owes the
    // program something.
    static void Advance(int64_t ms);
    // Virtual mode: how long a wait gives other threads (the serial reader) to deliver
    // before it moves virtual time on. Real milliseconds.
    static void SetIdleSliceMs(int ms);
    static int IdleSliceMs();

    // ---- Test seams: Peer, SetPeer and SettleOwed serve the tests' clock
    // (tests/support/test_clock.h) alone; the program never sets a peer.
    // Virtual mode: the other side of a test, an emulated receiver that keeps its time on this
    // clock and takes its turns when asked.
    struct Peer {
        // Whether it owes the program something now: bytes of the program it has not read,
        // something due by its clock that it has not done or sent, what it sent that the
        // program's serial reader has not yet taken and announced. No time passes meanwhile,
        // so that a time-out is the program's, never a busy machine's delay.
        std::function<bool()> owes;
        // The virtual time at which it next has something to do by itself (an answer its
        // latency holds back, a report it makes every so often); -1 for nothing. Virtual time
        // stops there as at a timer's tick. Unset: nothing.
        std::function<int64_t()> nextDueMs;
        // It reads what the program wrote, does what has fallen due and sends it; returns
        // once done.
        std::function<void()> takeTurn;
    };
    // Unset (the default, and once virtual time is off): nothing is owed and nothing falls due.
    static void SetPeer(Peer peer);
    // Virtual mode: settles what is owed before time moves on: gives the peer its turns and
    // hands over what the serial reader posted, with the codes posted before it, in the order
    // posted, until nothing is owed or a code the program posted meanwhile comes first; at once
    // when nothing is.
    static void SettleOwed();
    // Virtual time of the next timer tick or of the peer's next deed after now, or -1 when
    // there is none.
    static int64_t NextDue();

  private:
    // The next timer tick, or -1.
    static int64_t NextTick();
};

}  // namespace ui
