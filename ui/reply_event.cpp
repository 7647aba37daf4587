#include "ui/reply_event.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "ui/application.h"
#include "ui/operator_input.h"
#include "ui/timer.h"

namespace ui {

void ReplyEvent::Set() {
    set_ = true;
    ++sets_;
    for (QEventLoop* loop : loops_) loop->quit();
}

namespace {

// Runs a nested message loop for at most ms real milliseconds, registered in loops so
// that Set can end it early.
void RunLoop(std::vector<QEventLoop*>& loops, int ms) {
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(std::max(0, ms));
    loops.push_back(&loop);
    loop.exec();
    std::erase(loops, &loop);
}
}  // namespace

bool ReplyEvent::Wait(int ms) {
    ++running_;
    const bool set = Serve(ms);
    --running_;
    ReplyWaitEnded();
    return set;
}

bool ReplyEvent::Serve(int ms) {
    if (set_) return true;
    // The program is ending: no loop runs any more, and what the wait waits for will not come.
    if (Application::Quitting()) return false;
    const uint64_t before = sets_;
    const auto setMeanwhile = [&] { return set_ || sets_ != before; };
    // Codes posted before this wait began can sit behind the handler that waits, and a
    // nested loop may block without looking at them: hand them over first.
    QCoreApplication::sendPostedEvents();
    if (setMeanwhile()) return true;
    if (!Clock::IsVirtual()) {
        RunLoop(loops_, ms);
        return setMeanwhile();
    }
    // Virtual time: serve what is posted, give other threads a real slice to deliver,
    // then move time on to the next timer tick, the peer's next deed or the deadline.
    const int64_t deadline = Clock::NowMs() + std::max(0, ms);
    for (;;) {
        QCoreApplication::processEvents();
        if (setMeanwhile()) return true;
        if (Application::Quitting()) return false;
        if (Clock::IdleSliceMs() > 0) RunLoop(loops_, Clock::IdleSliceMs());
        if (setMeanwhile()) return true;
        // What the peer owes comes in real time, however long a busy machine holds its thread
        // up: moving virtual time on meanwhile would end the wait with the answer on its way.
        Clock::SettleOwed();
        if (setMeanwhile()) return true;
        if (Application::Quitting()) return false;
        const int64_t now = Clock::NowMs();
        if (now >= deadline) return false;
        const int64_t next = Clock::NextDue();
        Clock::Advance((next >= 0 && next < deadline ? next : deadline) - now);
    }
}

void ServeFor(int ms) {
    ReplyEvent never;
    never.Serve(ms);
}

void ServePending() {
    QCoreApplication::processEvents();
}

}  // namespace ui
