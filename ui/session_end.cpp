#include "ui/session_end.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

namespace ui {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The write end of the watch's pipe, read by the signal handler.
std::atomic<int> wakeFd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads it");
// The watch's end leaves the signals ignored rather than as they were (IgnoreFromNowOn).
bool ignoreFromNowOn = false;

void OnSessionEndSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing is lost by dropping this one.
    [[maybe_unused]] const ssize_t written = ::write(wakeFd.load(), &byte, 1);
    errno = savedErrno;
}

}  // namespace

struct SessionEndWatch::Pipe {
    int fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    bool acting = false;  // a signal that comes while the action runs asks for nothing more
    struct sigaction previous[std::size(kSignals)] = {};
};

SessionEndWatch::SessionEndWatch(std::function<void()> action) : pipe_(std::make_unique<Pipe>()) {
    if (wakeFd.load() != -1 || ::pipe2(pipe_->fds, O_NONBLOCK | O_CLOEXEC) != 0) {
        pipe_.reset();  // a watch already runs, or no pipe: the signals keep their action
        return;
    }
    pipe_->notifier = std::make_unique<QSocketNotifier>(pipe_->fds[0], QSocketNotifier::Read);
    QObject::connect(pipe_->notifier.get(), &QSocketNotifier::activated,
                     [pipe = pipe_.get(), action = std::move(action)] {
                         char bytes[16];
                         while (::read(pipe->fds[0], bytes, sizeof bytes) > 0) {
                         }
                         if (pipe->acting) return;
                         pipe->acting = true;
                         action();
                         pipe->acting = false;
                     });
    wakeFd.store(pipe_->fds[1]);
    struct sigaction handler = {};
    handler.sa_handler = OnSessionEndSignal;
    sigemptyset(&handler.sa_mask);
    handler.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], nullptr, &pipe_->previous[i]);
        // Whoever started the program with the signal ignored (nohup, a script's background
        // job) meant it to outlive that signal: it stays ignored. Ignored by this program's own
        // earlier session end, it is watched again.
        if (pipe_->previous[i].sa_handler == SIG_IGN && !ignoreFromNowOn) continue;
        ::sigaction(kSignals[i], &handler, nullptr);
    }
}

void SessionEndWatch::IgnoreFromNowOn() {
    ignoreFromNowOn = true;
    // A watch that lives keeps its handler till its end, which only wakes a loop that no
    // longer runs.
    if (wakeFd.load() == -1)
        for (const int signal : kSignals) ::signal(signal, SIG_IGN);
}

SessionEndWatch::~SessionEndWatch() {
    if (!pipe_) return;
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    for (size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], ignoreFromNowOn ? &ignore : &pipe_->previous[i], nullptr);
    wakeFd.store(-1);
    pipe_->notifier.reset();
    ::close(pipe_->fds[0]);
    ::close(pipe_->fds[1]);
}

}  // namespace ui
