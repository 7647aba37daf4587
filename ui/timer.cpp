#include "ui/timer.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "ui/form_widget.h"

namespace ui {

namespace {
struct VirtualClock {
    // Read from any thread.
    std::atomic<bool> on = false;
    std::atomic<int64_t> now = 0;
    int idleSliceMs = 20;
    std::vector<Timer*> running;
    Clock::Peer peer;
};
VirtualClock& Virtual() {
    static VirtualClock clock;
    return clock;
}

// How long the clock gives the program's serial reader to take what the peer sent before it
// looks again.
constexpr std::chrono::microseconds kReaderSlice{200};

// The peer's next deed after now, or -1.
int64_t PeerDue() {
    const VirtualClock& v = Virtual();
    if (!v.on || !v.peer.nextDueMs) return -1;
    const int64_t due = v.peer.nextDueMs();
    return due > v.now ? due : -1;
}

}  // namespace

struct Timer::Impl {
    QTimer qt;
};

Timer::Timer() : impl_(std::make_unique<Impl>()) {
    impl_->qt.setTimerType(Qt::PreciseTimer);
    QObject::connect(&impl_->qt, &QTimer::timeout, [this] { Tick(); });
}

Timer::~Timer() {
    Stop();
}

void Timer::Start(int intervalMs) {
    Stop();
    interval_ = std::max(1, intervalMs);
    if (Clock::IsVirtual()) {
        due_ = Clock::NowMs() + interval_;
        Virtual().running.push_back(this);
    } else {
        impl_->qt.start(interval_);
    }
}

void Timer::Stop() {
    std::erase(Virtual().running, this);
    impl_->qt.stop();
}

bool Timer::IsRunning() const {
    const auto& running = Virtual().running;
    return impl_->qt.isActive() || std::find(running.begin(), running.end(), this) != running.end();
}

void Timer::Tick() {
    Raise(EventId::Timer);
}

int64_t Clock::NowMs() {
    if (Virtual().on) return Virtual().now;
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool Clock::IsVirtual() {
    return Virtual().on;
}

void Clock::SetVirtual(bool on) {
    Virtual().on = on;
    Virtual().now = 0;
    Virtual().running.clear();
    if (!on) Virtual().peer = {};
}

int64_t Clock::NextTick() {
    const auto& running = Virtual().running;
    if (running.empty()) return -1;
    return (*std::min_element(running.begin(), running.end(),
                              [](Timer* a, Timer* b) { return a->due_ < b->due_; }))
        ->due_;
}

namespace {
int64_t Earlier(int64_t a, int64_t b) {
    if (a < 0) return b;
    if (b < 0) return a;
    return std::min(a, b);
}
}  // namespace

int64_t Clock::NextDue() {
    return Earlier(NextTick(), PeerDue());
}

void Clock::Advance(int64_t ms) {
    VirtualClock& v = Virtual();
    if (!v.on) return;
    const int64_t target = v.now + std::max<int64_t>(0, ms);
    QCoreApplication::processEvents();
    for (;;) {
        // No time passes while the peer owes the program something.
        SettleOwed();
        // Timers may start, stop or end inside a tick, and the peer may have more to do
        // after what it did: look for the next deed afresh.
        const int64_t tick = NextTick();
        const int64_t next = Earlier(tick, PeerDue());
        if (next < 0 || next > target) break;
        if (next > v.now) {
            v.now = next;
            // What the peer does at this moment comes before the timers' ticks of it.
            continue;
        }
        if (tick != next) continue;
        auto it = std::find_if(v.running.begin(), v.running.end(),
                               [next](Timer* t) { return t->due_ == next; });
        if (it == v.running.end()) continue;
        Timer* timer = *it;
        timer->due_ += timer->interval_;
        timer->Tick();
        QCoreApplication::processEvents();
    }
    if (target > v.now) {
        v.now = target;
        SettleOwed();
    }
}

void Clock::SetIdleSliceMs(int ms) {
    Virtual().idleSliceMs = std::max(0, ms);
}

int Clock::IdleSliceMs() {
    return Virtual().idleSliceMs;
}

void Clock::SetPeer(Peer peer) {
    Virtual().peer = std::move(peer);
}

void Clock::SettleOwed() {
    const VirtualClock& v = Virtual();
    if (!v.on) return;
    const uint64_t postedBefore = CodesPostedForTesting();
    for (;;) {
        if (v.peer.owes && v.peer.owes()) {
            if (v.peer.takeTurn) v.peer.takeTurn();
            // The program's serial reader takes what the peer sent on a thread of its own.
            if (v.peer.owes()) std::this_thread::sleep_for(kReaderSlice);
            continue;
        }
        // Once all of it is in, what the reader announced arrives (its handlers may ask the
        // peer again): whole, however the reader's reads cut it, and after the codes posted
        // before it, as the program's own event loop hands them over. A code the program posts
        // meanwhile is its next pass, not this one: what came after it waits for that pass.
        if (!DeliverTowardsForeignCodesForTesting(postedBefore)) return;
    }
}

}  // namespace ui
