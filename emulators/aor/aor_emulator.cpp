#include "emulators/aor/aor_emulator.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "emulators/common/line_rate.h"

namespace emulators {

AorEmulator::AorEmulator(std::unique_ptr<AorModel> model)
    : model_(std::move(model)), engine_(*model_) {
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "wake pipe");
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
}

AorEmulator::~AorEmulator() {
    Stop();
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

void AorEmulator::Start() {
    if (thread_.joinable()) return;
    stop_ = false;
    thread_ = std::thread([this] { Serve(); });
}

void AorEmulator::Stop() {
    RequestStop();
    if (thread_.joinable()) thread_.join();
}

void AorEmulator::RequestStop() noexcept {
    stop_ = true;
    Wake();
}

void AorEmulator::Wake() const noexcept {
    const char byte = 0;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &byte, 1);
}

void AorEmulator::UpdateByteTime() {
    // The program may change the speed of its end at any time.
    engine_.SetByteTime(lineRate_ ? pty_.ByteTime() : std::chrono::nanoseconds{});
}

void AorEmulator::Serve() {
    UseExactTimers();
    char buffer[256];
    while (!stop_) {
        timespec timeout{};
        const timespec* wait = nullptr;
        bool lineFull = false;
        {
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
            UpdateByteTime();
            engine_.Poll(now);
            lineFull = !Flush(now);
            const auto next = lineFull ? Clock::time_point::max() : engine_.NextDue();
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
            return;  // nothing left to wait on: the receiver falls silent
        }
        if (fds[1].revents & POLLIN)
            while (::read(wakeRead_, buffer, sizeof buffer) > 0) {
            }
        if (fds[0].revents & POLLIN) {
            const ssize_t count = ::read(pty_.master(), buffer, sizeof buffer);
            if (count <= 0) continue;
            std::lock_guard lock(mutex_);
            UpdateByteTime();
            engine_.Receive(std::string_view(buffer, static_cast<size_t>(count)), Clock::now());
            lineArrived_.notify_all();
        }
    }
}

bool AorEmulator::Flush(Clock::time_point now) {
    for (auto bytes = engine_.Pending(now); !bytes.empty(); bytes = engine_.Pending(now)) {
        const ssize_t n = ::write(pty_.master(), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
        // The line is gone: the bytes are lost, as on a cut cable.
        engine_.Sent(n <= 0 ? bytes.size() : static_cast<size_t>(n));
    }
    return true;
}

void AorEmulator::SetSignalPlan(SignalPlan plan) {
    Locked([&] { model_->SetSignalPlan(std::move(plan)); });
}

void AorEmulator::SetLineRate(bool on) {
    Locked([&] { lineRate_ = on; });
}

void AorEmulator::SetSilent(bool silent) {
    Locked([&] { engine_.SetSilent(silent); });
}

void AorEmulator::SetGarbage(std::string garbage) {
    Locked([&] { engine_.SetGarbage(std::move(garbage)); });
}

void AorEmulator::SetSplitLines(bool on, std::optional<std::chrono::milliseconds> lfDelay) {
    Locked([&] {
        engine_.SetSplitLines(
            on, lfDelay ? std::optional<std::chrono::nanoseconds>(*lfDelay) : std::nullopt);
    });
}

void AorEmulator::ReleaseSplitLines() {
    Locked([&] { engine_.ReleaseSplitLines(); });
}

void AorEmulator::SetRefused(std::vector<std::string> tokens) {
    Locked([&] { engine_.SetRefused(std::move(tokens)); });
}

void AorEmulator::SetRefuseAll(bool refuse) {
    Locked([&] { engine_.SetRefuseAll(refuse); });
}

std::vector<std::string> AorEmulator::ReceivedLines() const {
    std::lock_guard lock(mutex_);
    const auto& lines = engine_.ReceivedLines();
    return {lines.begin(), lines.end()};
}

void AorEmulator::ClearReceivedLines() {
    std::lock_guard lock(mutex_);
    engine_.ClearReceivedLines();
}

bool AorEmulator::WaitForLines(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return lineArrived_.wait_for(lock, timeout, [&] { return engine_.ReceivedCount() >= count; });
}

}  // namespace emulators
