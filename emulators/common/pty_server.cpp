#include "emulators/common/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <system_error>
#include <thread>

namespace emulators {

PtyServer::PtyServer() {
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "wake pipe");
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
}

PtyServer::~PtyServer() {
    // By now the family is gone: a thread still serving would call into nothing.
    assert(!thread_.joinable());
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

void PtyServer::UseClock(std::function<Clock::time_point()> now) {
    std::lock_guard lock(mutex_);
    now_ = std::move(now);
}

PtyServer::Clock::time_point PtyServer::Now() const {
    return now_ ? now_() : Clock::now();
}

void PtyServer::Start() {
    if (thread_.joinable()) return;
    stop_ = false;
    // Serving from here on: what the program writes before the thread has begun is owed.
    bool turns = false;
    Locked([&] {
        serving_ = true;
        ServingStarts(Now());
        turns = static_cast<bool>(now_);
    });
    if (!turns) thread_ = std::thread([this] { ServeLoop(); });
}

void PtyServer::Stop() {
    RequestStop();
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(mutex_);
    serving_ = false;
}

void PtyServer::TakeTurn() {
    std::unique_lock lock(mutex_);
    if (!now_ || !serving_) return;
    // A machine that holds the set up holds up its turn, and the test with it.
    while (std::chrono::steady_clock::now() < heldUntil_) {
        const auto until = heldUntil_;
        lock.unlock();
        std::this_thread::sleep_until(until);
        lock.lock();
    }
    Hear();
    const auto now = Now();
    Tick(now);
    lineFull_ = !Flush(now);
}

std::unique_lock<std::mutex> PtyServer::Listened() const {
    std::unique_lock lock(mutex_);
    if (now_ && serving_ && std::chrono::steady_clock::now() >= heldUntil_)
        const_cast<PtyServer*>(this)->Hear();
    return lock;
}

void PtyServer::Hear() {
    char buffer[256];
    for (;;) {
        const ssize_t count = ::read(pty_.master(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        Receive(std::string_view(buffer, static_cast<size_t>(count)), Now());
        arrived_.notify_all();
    }
}

void PtyServer::RequestStop() noexcept {
    stop_ = true;
    Wake();
}

void PtyServer::Wake() const noexcept {
    const char byte = 0;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &byte, 1);
}

void PtyServer::SetByteByByte(bool on) {
    Locked([&] { byteByByte_ = on; });
}

void PtyServer::SetSplitReplies(Clock::duration gap) {
    Locked([&] { splitGap_ = gap; });
}

void PtyServer::SetLineRate(bool on) {
    Locked([&] { lineRate_ = on; });
}

std::optional<std::chrono::nanoseconds> PtyServer::LineByteTime() const {
    if (!lineRate_) return std::nullopt;
    return pty_.ByteTime();
}

void PtyServer::HoldUp(std::chrono::milliseconds time) {
    Locked([&] { heldUntil_ = std::chrono::steady_clock::now() + time; });
}

PtyServer::Clock::time_point PtyServer::Due() const {
    auto next = NextTick();
    if (!lineFull_) {
        auto send = NextSend();
        if (restDue_ && send != Clock::time_point::max()) send = std::max(send, *restDue_);
        next = std::min(next, send);
    }
    return next;
}

PtyServer::Clock::time_point PtyServer::NextDue() const {
    const auto lock = Listened();
    return Due();
}

bool PtyServer::Owes() const {
    std::lock_guard lock(mutex_);
    if (!serving_) return false;
    // In the order the bytes travel: what the set has read is answered under this lock, and
    // what it has written the program's port holds until the program has read it.
    if (pty_.SetHasUnread()) return true;
    if (Due() <= Now()) return true;
    return pty_.ProgramHasUnread();
}

void PtyServer::Serve() {
    {
        std::lock_guard lock(mutex_);
        serving_ = true;
        ServingStarts(Now());
    }
    ServeLoop();
}

void PtyServer::ServeLoop() {
    UseExactTimers();
    char buffer[256];
    while (!stop_) {
        timespec timeout{};
        const timespec* wait = nullptr;
        bool lineFull = false;
        bool held = false;
        {
            std::lock_guard lock(mutex_);
            const auto now = std::chrono::steady_clock::now();
            held = now < heldUntil_;
            if (held) {
                timeout = WaitUntil(heldUntil_, now, false);
                wait = &timeout;
            }
        }
        if (held) {
            pollfd wake{wakeRead_, POLLIN, 0};
            if (::ppoll(&wake, 1, wait, nullptr) > 0)
                while (::read(wakeRead_, buffer, sizeof buffer) > 0) {
                }
            continue;
        }
        {
            std::lock_guard lock(mutex_);
            const auto now = Now();
            Tick(now);
            lineFull = lineFull_ = !Flush(now);
            const auto next = Due();
            if (next != Clock::time_point::max()) {
                timeout = WaitUntil(next, now, lineRate_);
                wait = &timeout;
            }
        }
        pollfd fds[2] = {
            {pty_.master(), static_cast<short>(POLLIN | (lineFull ? POLLOUT : 0)), 0},
            {wakeRead_, POLLIN, 0},
        };
        if (::ppoll(fds, 2, wait, nullptr) < 0) {
            if (errno == EINTR) continue;
            break;  // nothing left to wait on: the receiver falls silent
        }
        if (fds[1].revents & POLLIN)
            while (::read(wakeRead_, buffer, sizeof buffer) > 0) {
            }
        if (fds[0].revents & POLLIN) {
            // Read under the lock: what Owes sees is either unread or already answered.
            std::lock_guard lock(mutex_);
            Hear();
        }
    }
    std::lock_guard lock(mutex_);
    serving_ = false;
}

bool PtyServer::Flush(Clock::time_point now) {
    for (auto bytes = Pending(now); !bytes.empty(); bytes = Pending(now)) {
        if (pieceLeft_ == 0) {  // a piece begins
            pieceLeft_ = bytes.size();
            headLeft_ = splitGap_ > Clock::duration::zero() ? bytes.size() / 2 : 0;
            restDue_.reset();
        }
        if (headLeft_ == 0 && restDue_ && now < *restDue_) return true;
        size_t chunk = byteByByte_ ? 1 : bytes.size();
        if (headLeft_ > 0) chunk = std::min(chunk, headLeft_);
        const ssize_t n = ::write(pty_.master(), bytes.data(), chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
        const size_t sent = n <= 0 ? bytes.size() : static_cast<size_t>(n);
        Sent(sent);
        pieceLeft_ -= std::min(sent, pieceLeft_);
        if (headLeft_ > 0) {
            headLeft_ -= std::min(sent, headLeft_);
            if (headLeft_ == 0) restDue_ = now + splitGap_;
        }
        if (pieceLeft_ == 0) restDue_.reset();
    }
    return true;
}

}  // namespace emulators
