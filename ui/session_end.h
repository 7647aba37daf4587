#pragma once
// A logout or a system shutdown ends the program with SIGTERM or SIGHUP, and Ctrl+C in the
// terminal that started it with SIGINT. While a SessionEndWatch lives, such a signal runs its
// action on the user-interface thread instead of killing the process: the signal handler only
// writes a byte into a pipe, and a socket notifier of the message loop reads it and runs the
// action.

#include <functional>
#include <memory>

namespace ui {

class SessionEndWatch {
  public:
    // One watch at a time; the previous signal handlers come back when it ends. A signal the
    // process ignores is left ignored: a program started by nohup outlives the logout.
    explicit SessionEndWatch(std::function<void()> action);
    ~SessionEndWatch();
    // From now until the process ends the signals are ignored, the watch's end included: for
    // the program's last steps after its close, which a further signal must neither cut nor
    // end with an exit code of its own.
    static void IgnoreFromNowOn();
    SessionEndWatch(const SessionEndWatch&) = delete;
    SessionEndWatch& operator=(const SessionEndWatch&) = delete;

  private:
    struct Pipe;
    std::unique_ptr<Pipe> pipe_;
};

}  // namespace ui
