#pragma once
// The event a receiver panel waits on for a reply ("RECV_REPLY"). Waiting keeps serving
// posted codes and timer ticks, so the handler that sets the event runs inside the wait;
// waits nest, by design.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QEventLoop;

namespace ui {

class Window;

class ReplyEvent {
  public:
    explicit ReplyEvent(std::string name = {}) : name_(std::move(name)) {}
    ReplyEvent(const ReplyEvent&) = delete;
    ReplyEvent& operator=(const ReplyEvent&) = delete;

    void Set();
    void Reset() { set_ = false; }
    bool IsSet() const { return set_; }
    const std::string& Name() const { return name_; }
    // How often the event was set so far: a waiter learns whether it was set meanwhile even
    // when a nested wait has reset it since.
    uint64_t Sets() const { return sets_; }

    // Serves messages until the event is set (true) or ms have passed (false). A Set during
    // the wait ends it even when a nested wait reset the event afterwards. While the program
    // quits (Application::Quitting) it ends at once.
    bool Wait(int ms);
    // Waits running now, one nested in another; ServeFor's serving is none. A handler run
    // meanwhile runs inside the innermost: until it returns, that wait cannot end.
    static int Running() { return running_; }

  private:
    bool Serve(int ms);
    friend void ServeFor(int ms);

    static inline int running_ = 0;
    std::string name_;
    bool set_ = false;
    uint64_t sets_ = 0;
    // The loops of the waits on this event that are running now, outermost first;
    // Set ends them all.
    std::vector<QEventLoop*> loops_;
};

// Runs the action now when no wait for a reply runs; otherwise once the waits have ended, after
// what was held before it. For what opens a box that waits, or waits in a loop of its own (a
// program a job runs): inside a reply wait it would keep that wait, and a scan's exchange with
// the receiver, standing until the box is closed, while above no wait the scan goes on under
// it. Dropped when the owner's window is gone by then, or the program quits.
void OutsideReplyWaits(Window* owner, std::function<void()> action);

// Serves posted codes and timer ticks for ms milliseconds (virtual or real).
void ServeFor(int ms);
// Serves what is already posted, without waiting.
void ServePending();

}  // namespace ui
