#include "emulators/common/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <system_error>

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

void PtyServer::Start() {
    if (thread_.joinable()) return;
    stop_ = false;
    thread_ = std::thread([this] { Serve(); });
}

void PtyServer::Stop() {
    RequestStop();
    if (thread_.joinable()) thread_.join();
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

void PtyServer::SetLineRate(bool on) {
    Locked([&] { lineRate_ = on; });
}

std::optional<std::chrono::nanoseconds> PtyServer::LineByteTime() const {
    if (!lineRate_) return std::nullopt;
    return pty_.ByteTime();
}

void PtyServer::HoldUp(std::chrono::milliseconds time) {
    Locked([&] { heldUntil_ = Clock::now() + time; });
}

bool PtyServer::Owes() const {
    std::lock_guard lock(mutex_);
    if (!serving_) return false;
    int unread = 0;
    if (::ioctl(pty_.master(), FIONREAD, &unread) == 0 && unread > 0) return true;
    if (!lineFull_ && NextSend() <= Clock::now()) return true;
    return pty_.ProgramHasUnread();
}

void PtyServer::Serve() {
    UseExactTimers();
    Locked([&] { serving_ = true; });
    char buffer[256];
    while (!stop_) {
        timespec timeout{};
        const timespec* wait = nullptr;
        bool lineFull = false;
        bool held = false;
        {
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
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
            const auto now = Clock::now();
            Tick(now);
            lineFull = lineFull_ = !Flush(now);
            auto next = NextTick();
            if (!lineFull) next = std::min(next, NextSend());
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
            const ssize_t count = ::read(pty_.master(), buffer, sizeof buffer);
            if (count <= 0) continue;
            Receive(std::string_view(buffer, static_cast<size_t>(count)), Clock::now());
            arrived_.notify_all();
        }
    }
    Locked([&] { serving_ = false; });
}

bool PtyServer::Flush(Clock::time_point now) {
    for (auto bytes = Pending(now); !bytes.empty(); bytes = Pending(now)) {
        const size_t chunk = byteByByte_ ? 1 : bytes.size();
        const ssize_t n = ::write(pty_.master(), bytes.data(), chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
        Sent(n <= 0 ? bytes.size() : static_cast<size_t>(n));
    }
    return true;
}

}  // namespace emulators
