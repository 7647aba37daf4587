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
    // Switches virtual time on (starting at 0) or off; timers must be stopped meanwhile.
    static void SetVirtual(bool on);
    // Virtual mode: moves time forward by ms, ticking every timer that falls due, in
    // order, and serving the codes posted meanwhile.
    static void Advance(int64_t ms);
    // Virtual mode: how long a wait gives other threads (the serial reader) to deliver
    // before it moves virtual time on. Real milliseconds.
    static void SetIdleSliceMs(int ms);
    static int IdleSliceMs();
    // Virtual mode: whether another thread of a test (an emulated receiver) owes the program
    // something now. While it does, a wait gives it real slices and virtual time stands
    // still, so that a time-out is the program's, never a busy machine's delay. Unset:
    // nothing is owed.
    static void SetOwed(std::function<bool()> owed);
    static bool Owed();
    // Virtual time of the next timer tick, or -1 when no timer runs.
    static int64_t NextDue();
};

}  // namespace ui
