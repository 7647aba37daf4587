#include "ui/timer.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

namespace ui {

namespace {
struct VirtualClock {
    bool on = false;
    int64_t now = 0;
    int idleSliceMs = 20;
    std::vector<Timer*> running;
    std::function<bool()> owed;
};
VirtualClock& Virtual() {
    static VirtualClock clock;
    return clock;
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
}

int64_t Clock::NextDue() {
    const auto& running = Virtual().running;
    if (running.empty()) return -1;
    return (*std::min_element(running.begin(), running.end(),
                              [](Timer* a, Timer* b) { return a->due_ < b->due_; }))
        ->due_;
}

void Clock::Advance(int64_t ms) {
    VirtualClock& v = Virtual();
    if (!v.on) return;
    const int64_t target = v.now + std::max<int64_t>(0, ms);
    QCoreApplication::processEvents();
    for (;;) {
        // Timers may start, stop or end inside a tick: look for the next one afresh.
        const int64_t next = NextDue();
        if (next < 0 || next > target) break;
        auto it = std::find_if(v.running.begin(), v.running.end(),
                               [next](Timer* t) { return t->due_ == next; });
        Timer* timer = *it;
        v.now = std::max(v.now, next);
        timer->due_ += timer->interval_;
        timer->Tick();
        QCoreApplication::processEvents();
    }
    v.now = std::max(v.now, target);
}

void Clock::SetIdleSliceMs(int ms) {
    Virtual().idleSliceMs = std::max(0, ms);
}

int Clock::IdleSliceMs() {
    return Virtual().idleSliceMs;
}

void Clock::SetOwed(std::function<bool()> owed) {
    Virtual().owed = std::move(owed);
}

bool Clock::Owed() {
    const VirtualClock& v = Virtual();
    return v.on && v.owed && v.owed();
}

}  // namespace ui
