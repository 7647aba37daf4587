#pragma once
// What every serial emulator does around its protocol: it owns the pseudo-terminal, serves it
// on a thread of its own (or the caller's), wakes when the program writes, when bytes fall
// due or when a test changes the set, and writes what the set has to send when it is due, to
// the microsecond in line-rate mode. A family's emulator derives from it and plugs its side
// of the protocol into the hooks below; the loop calls them with the lock held.
//
// The set keeps its time on the steady clock, or on a test's own (UseClock). On a test's
// clock it does nothing by itself: it takes its turns on the test's thread when the test asks
// (TakeTurn), and everything it does in its own time (a latency, a line's bytes, a scan's
// pause, a report every so often) happens when the test's clock gets there. So what it does
// and when depends on the program and the test alone, never on how fast the machine runs.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "emulators/common/line_rate.h"
#include "emulators/common/pseudo_terminal.h"
#include "emulators/common/trace.h"

namespace emulators {

class PtyServer {
  public:
    using Clock = LineClock;

    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;
    // The serving thread calls the hooks of the family: its destructor calls Stop first.
    virtual ~PtyServer();

    // The device the program opens as its port.
    const std::string& SlavePath() const { return pty_.slavePath(); }
    // See PseudoTerminal::LinkAs; the link goes when the emulator does.
    void LinkAs(const std::filesystem::path& link) { pty_.LinkAs(link); }

    // The clock the set keeps its time by from now on, instead of the steady clock: a test's,
    // which moves only when the test moves it. Set it before serving starts. HoldUp alone
    // stays on the steady clock: it stands for a machine that holds the set up.
    void UseClock(std::function<Clock::time_point()> now);
    // The set's time now.
    Clock::time_point Now() const;
    // On a test's clock, while serving: the set reads what the program wrote, does what has
    // fallen due by its clock and writes what it has to send (as far as the line takes it),
    // then returns. On the steady clock it does all that by itself: nothing.
    void TakeTurn();

    // Serves on a thread of its own until Stop; on a test's clock it serves from now on, in
    // the turns the test gives it. Use either this or Serve, not both.
    void Start();
    void Stop();
    // Serves on the calling thread until RequestStop (or Stop from another thread).
    void Serve();
    // Safe in a signal handler.
    void RequestStop() noexcept;

    // Test hooks, safe from any thread while serving.
    // Every byte goes out in a write of its own.
    void SetByteByByte(bool on);
    // Every piece the set sends (a reply, an echo, a report) goes out in two writes, its
    // second half `gap` after its first, as a line may hand a reply to the program in two
    // reads; a gap of zero sends pieces whole again. On a test's clock the program has read
    // the first half before the clock gets to the second.
    void SetSplitReplies(Clock::duration gap);
    // Line-rate mode: what the set sends takes its bytes' time on the line at the speed the
    // program set on its end of the terminal (start, data, parity and stop bits), one byte
    // after the other as on a wire; each family says what else. Off by default: answers
    // leave at once.
    void SetLineRate(bool on);
    // The serving stands still for `time` of real time, neither reading nor writing, as a
    // loaded machine holds up its thread (a turn waits it out); then it goes on with what came
    // meanwhile.
    void HoldUp(std::chrono::milliseconds time);
    // A silent set: it hears what it is sent and answers nothing, nor says anything unasked
    // (a CI-V bus still echoes every frame, as the bus itself does that).
    virtual void SetSilent(bool silent) = 0;

    // While serving (from Start on): the set owes the program something now. The program's
    // bytes wait to be read (on their way through the terminal too), an answer or what the set
    // does by itself is due and not yet done (not one its latency still holds back), or what
    // it wrote waits on the program's open port. A test on virtual time lets no time pass while
    // it does (ui::Clock::SetPeer).
    bool Owes() const;
    // When the set next has something to do by itself or to send, on its clock: a test's
    // clock stops there. Max for nothing.
    Clock::time_point NextDue() const;

  protected:
    // Opens the pseudo-terminal (std::system_error when there is none); nothing is served
    // until Start or Serve.
    PtyServer();

    // The hooks, called with the lock held.
    // Bytes from the program that came at `now`. WaitFor looks again after each call.
    virtual void Receive(std::string_view bytes, Clock::time_point now) = 0;
    // What the set does by itself by `now`; called before what is due is written.
    virtual void Tick(Clock::time_point /*now*/) {}
    // When Tick next has something to do; max for nothing.
    virtual Clock::time_point NextTick() const { return Clock::time_point::max(); }
    // The bytes due on the line at `now`, the rest of one piece at a time; empty when none.
    // Sent says how many of them went out: all of them when the line is gone (they are lost,
    // as on a cut cable).
    virtual std::string_view Pending(Clock::time_point now) = 0;
    virtual void Sent(size_t count) = 0;
    // When Pending next has bytes; max for none. Not waited for while the line is full.
    virtual Clock::time_point NextSend() const = 0;

    // Runs `action` with the serving loop held off, once the set has heard what the program
    // wrote, then lets the loop look again: a change to the set may have something to send.
    template <typename Action>
    auto Locked(Action&& action) const {
        struct WakeAfter {
            const PtyServer& server;
            ~WakeAfter() { server.Wake(); }
        } wake{*this};
        const std::unique_lock lock = Listened();
        return action();
    }
    // The lock the hooks are called under, taken for reading the set's state once the set has
    // heard what the program wrote: on a test's clock the set reads it now, as its own thread
    // would have by then.
    std::unique_lock<std::mutex> Listened() const;
    // True as soon as `done` holds (looked at under the lock whenever bytes have come); false
    // when `timeout` passes first. Lets a test know a command has been dealt with. On a test's
    // clock the set has heard everything at once: `done` is looked at once.
    template <typename Done>
    bool WaitFor(std::chrono::milliseconds timeout, Done done) const {
        std::unique_lock lock = Listened();
        if (now_) return done();
        return arrived_.wait_for(lock, timeout, done);
    }

    // With the lock held.
    const PseudoTerminal& Terminal() const { return pty_; }
    // True while nobody reads: the last write found the line full, and the loop waits for
    // room before it writes on.
    bool LineFull() const { return lineFull_; }
    // In line-rate mode, how long a byte takes on the line at the program's settings now
    // (they may change at any time); nothing when bytes take no time.
    std::optional<std::chrono::nanoseconds> LineByteTime() const;

    // Serving has begun, with the lock held: a family starts what it does every so often.
    virtual void ServingStarts(Clock::time_point /*now*/) {}

  private:
    void Wake() const noexcept;
    void ServeLoop();
    // With the lock held.
    Clock::time_point Due() const;
    // Reads what the program wrote, as much as has come, and hears it.
    void Hear();
    // Writes what is due; false when the line is full and the rest must wait for room.
    bool Flush(Clock::time_point now);

    PseudoTerminal pty_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> stop_{false};
    std::thread thread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    bool byteByByte_ = false;
    Clock::duration splitGap_{};
    // Of the piece going out: the bytes not yet written, those of its first half among them,
    // and when its second half is due once the first has gone.
    size_t pieceLeft_ = 0;
    size_t headLeft_ = 0;
    std::optional<Clock::time_point> restDue_;
    bool lineRate_ = false;
    bool lineFull_ = false;
    bool serving_ = false;
    std::function<Clock::time_point()> now_;  // empty: the steady clock
    // On the steady clock whatever the set's clock.
    std::chrono::steady_clock::time_point heldUntil_{};
};

}  // namespace emulators
