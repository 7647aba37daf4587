#include "emulators/pcr/pcr1000_emulator.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <system_error>

#include "emulators/common/line_rate.h"

namespace emulators {

namespace {

constexpr char kAccepted[] = "G000";
constexpr char kRefused[] = "G001";
constexpr char kOff[] = "H100";
constexpr char kLineEnd[] = "\r\n";

// The longest command is 21 characters; a longer run without a line end is noise.
constexpr size_t kLongestLine = 64;
// A line nobody reads fills up; past this much waiting output new lines are dropped rather
// than kept without bound.
constexpr size_t kMostOutgoingBytes = 65536;
constexpr size_t kLoggedLines = 10000;

// G1nn: nn is the index into this table.
constexpr uint32_t kSpeeds[] = {300, 1200, 4800, 9600, 19200, 38400};

// Settings of J4snn: s, and the level (00..FF) or the switch (00, 01) it sets.
struct Setting {
    char code;
    int Pcr1000State::*level;
    bool Pcr1000State::*flag;
};
constexpr Setting kSettings[] = {
    {'0', &Pcr1000State::volume, nullptr},       {'1', &Pcr1000State::squelch, nullptr},
    {'3', &Pcr1000State::ifShift, nullptr},      {'5', nullptr, &Pcr1000State::agc},
    {'6', nullptr, &Pcr1000State::noiseBlanker}, {'7', nullptr, &Pcr1000State::attenuator},
};

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return std::nullopt;
}

// Two upper-case hex digits.
std::optional<int> HexByte(std::string_view text) {
    if (text.size() != 2) return std::nullopt;
    const auto high = HexDigit(text[0]);
    const auto low = HexDigit(text[1]);
    if (!high || !low) return std::nullopt;
    return *high * 16 + *low;
}

std::optional<uint64_t> Decimal(std::string_view text) {
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value;
}

std::string WithHex(std::string_view head, int value) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", value & 0xFF);
    return std::string(head) + digits;
}

bool ValidMode(int mode) {
    return (mode >= kPcrLsb && mode <= kPcrCw) || mode == kPcrFm || mode == kPcrWfm;
}

// K0 fffffffff f mm ff 00.
bool Tune(Pcr1000State& state, std::string_view line) {
    if (line.size() != 18 || line.substr(16) != "00") return false;
    const auto hz = Decimal(line.substr(2, 10));
    const auto mode = Decimal(line.substr(12, 2));
    const auto filter = Decimal(line.substr(14, 2));
    if (!hz || !mode || !filter) return false;
    if (*hz < Pcr1000Emulator::kLowerLimitHz || *hz > Pcr1000Emulator::kUpperLimitHz) return false;
    if (!ValidMode(static_cast<int>(*mode)) || *filter > 4) return false;
    state.frequencyHz = *hz;
    state.mode = static_cast<int>(*mode);
    state.filter = static_cast<int>(*filter);
    return true;
}

// J4snn.
bool Set(Pcr1000State& state, std::string_view line) {
    if (line.size() != 5 || line[1] != '4') return false;
    const auto value = HexByte(line.substr(3));
    if (!value) return false;
    for (const Setting& setting : kSettings) {
        if (setting.code != line[2]) continue;
        if (setting.level) {
            state.*setting.level = *value;
            return true;
        }
        if (*value > 1) return false;
        state.*setting.flag = *value == 1;
        return true;
    }
    return false;
}

// ME0000 1 cc pppppp ssssss.
bool StartScope(Pcr1000State& state, std::string_view line) {
    if (line.size() != 21 || line.substr(0, 7) != "ME00001") return false;
    const auto cells = HexByte(line.substr(7, 2));
    const auto step = Decimal(line.substr(15, 6));
    if (!cells || !step || !Decimal(line.substr(9, 6))) return false;
    state.scopeCells = *step == 0 ? 0 : *cells;
    state.scopeStepHz = static_cast<uint32_t>(*step);
    return true;
}

}  // namespace

Pcr1000Emulator::Pcr1000Emulator(SignalPlan plan) : plan_(std::move(plan)) {
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "wake pipe");
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    nextOffReport_ = Clock::now() + offReportInterval_;
}

Pcr1000Emulator::~Pcr1000Emulator() {
    Stop();
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

void Pcr1000Emulator::Start() {
    if (thread_.joinable()) return;
    stop_ = false;
    thread_ = std::thread([this] { Serve(); });
}

void Pcr1000Emulator::Stop() {
    RequestStop();
    if (thread_.joinable()) thread_.join();
}

void Pcr1000Emulator::RequestStop() noexcept {
    stop_ = true;
    Wake();
}

void Pcr1000Emulator::Wake() noexcept {
    const char byte = 0;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &byte, 1);
}

void Pcr1000Emulator::Serve() {
    UseExactTimers();
    char buffer[256];
    while (!stop_) {
        timespec timeout{};
        const timespec* wait = nullptr;
        bool lineFull = false;
        {
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
            const bool reporting = !state_.powerOn && offReportInterval_.count() > 0;
            if (reporting && now >= nextOffReport_) {
                // Nobody reads a full line: the report is lost rather than piled up.
                if (!lineFull_) Send(now, kOff, state_.lineSpeed);
                nextOffReport_ = now + offReportInterval_;
            }
            lineFull = lineFull_ = !Flush(now);
            auto next = Clock::time_point::max();
            if (!lineFull && !outgoing_.empty()) next = outgoing_.front().due;
            if (reporting) next = std::min(next, nextOffReport_);
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
            HandleInput(buffer, static_cast<size_t>(count), Clock::now());
        }
    }
}

void Pcr1000Emulator::HandleInput(const char* bytes, size_t count, Clock::time_point now) {
    const uint32_t programSpeed = pty_.LineSpeed();
    if (programSpeed != 0 && programSpeed != state_.lineSpeed) {
        // At another speed every byte is a garbled one, and so is the line it was part of.
        misheardBytes_ += count;
        inputArrived_.notify_all();
        partial_.clear();
        overlong_ = false;
        return;
    }
    // In line-rate mode the set hears a byte only once it has had its time on the line, so a
    // command is answered after its last byte would have arrived, as on a wire.
    const auto byteTime = lineRate_ ? pty_.ByteTime() : std::chrono::nanoseconds(0);
    Clock::time_point heard = lineRate_ ? std::max(now, inputFree_) : now;
    for (size_t i = 0; i < count; ++i) {
        const char c = bytes[i];
        heard += std::chrono::duration_cast<Clock::duration>(byteTime);
        if (c == '\r' || c == '\n') {
            // The set takes a command's whole line end, CR LF, before it answers.
            if (c == '\r' && i + 1 < count && bytes[i + 1] == '\n') {
                heard += std::chrono::duration_cast<Clock::duration>(byteTime);
                ++i;
            }
            if (!overlong_ && !partial_.empty()) HandleLine(partial_, heard);
            partial_.clear();
            overlong_ = false;
        } else if (partial_.size() < kLongestLine) {
            partial_.push_back(c);
        } else {
            partial_.clear();
            overlong_ = true;
        }
    }
    if (lineRate_) inputFree_ = heard;
}

void Pcr1000Emulator::HandleLine(const std::string& line, Clock::time_point now) {
    received_.push_back(line);
    if (received_.size() > kLoggedLines) received_.pop_front();
    ++receivedCount_;
    inputArrived_.notify_all();
    if (dead_) return;
    // The answer leaves at the speed the command came at, also when the command changes it.
    const uint32_t speed = state_.lineSpeed;
    Send(now + latency_, fault_ ? kRefused : Answer(line), speed);
}

std::string Pcr1000Emulator::Answer(std::string_view line) {
    if (line == "H101") {
        SwitchPower(true);
        return kAccepted;
    }
    if (!state_.powerOn) return kOff;
    if (line == "H100") {
        SwitchPower(false);
        return kAccepted;
    }
    if (line == "H1?") return "H101";
    if (line == "G0?") return kAccepted;
    if (line == "G300" || line == "G301") {
        state_.autoReports = line == "G301";
        return kAccepted;
    }
    if (line.starts_with("G1")) {
        const auto index = line.size() == 4 ? HexByte(line.substr(2)) : std::nullopt;
        if (!index || *index >= static_cast<int>(std::size(kSpeeds))) return kRefused;
        state_.lineSpeed = kSpeeds[*index];
        return kAccepted;
    }
    if (line.starts_with("K0")) return Tune(state_, line) ? kAccepted : kRefused;
    if (line == "I0?") {
        const bool open = plan_.LevelAt(state_.frequencyHz) > state_.squelch;
        return open ? "I007" : "I004";
    }
    if (line == "I1?") return WithHex("I1", plan_.LevelAt(state_.frequencyHz));
    if (line.starts_with("J")) return Set(state_, line) ? kAccepted : kRefused;
    if (line.starts_with("ME")) return StartScope(state_, line) ? kAccepted : kRefused;
    if (line.size() == 6 && line.starts_with("NE") && line.ends_with("0?")) {
        const auto block = HexByte(line.substr(2, 2));
        if (!block || *block < 0x10 || *block > 0x1F || state_.scopeCells == 0) return kRefused;
        return ScopeBlock(*block - 0x10);
    }
    return kRefused;
}

void Pcr1000Emulator::SwitchPower(bool on) {
    if (!on) {
        state_.lineSpeed = kPowerUpSpeed;
        state_.scopeCells = 0;
    }
    state_.powerOn = on;
    nextOffReport_ = Clock::now() + offReportInterval_;
}

std::string Pcr1000Emulator::ScopeBlock(int block) const {
    std::string reply = WithHex("NE", 0x10 + block) + "0";
    const int first = kScopeCells / 2 - state_.scopeCells / 2;
    for (int cell = 16 * block; cell < 16 * block + 16; ++cell) {
        int level = 0;
        const int64_t hz = static_cast<int64_t>(state_.frequencyHz) +
                           int64_t{cell - kScopeCells / 2} * state_.scopeStepHz;
        if (cell >= first && cell < first + state_.scopeCells &&
            hz >= static_cast<int64_t>(kLowerLimitHz) && hz <= static_cast<int64_t>(kUpperLimitHz))
            level = plan_.LevelAt(static_cast<uint64_t>(hz));
        reply = WithHex(reply, level);
    }
    return reply;
}

void Pcr1000Emulator::Send(Clock::time_point due, std::string_view line, uint32_t lineSpeed) {
    if (dead_) return;
    std::string bytes = std::string(line) + kLineEnd;
    if (outgoingBytes_ + bytes.size() > kMostOutgoingBytes) return;
    if (lineRate_) due = AfterTheLine(due, lineFree_, pty_.ByteTime(), bytes.size());
    outgoingBytes_ += bytes.size();
    const auto place = std::upper_bound(
        outgoing_.begin(), outgoing_.end(), due,
        [](Clock::time_point time, const Outgoing& item) { return time < item.due; });
    outgoing_.insert(place, Outgoing{due, std::move(bytes), lineSpeed});
}

bool Pcr1000Emulator::Flush(Clock::time_point now) {
    while (!outgoing_.empty() && outgoing_.front().due <= now) {
        const Outgoing& item = outgoing_.front();
        const uint32_t programSpeed = pty_.LineSpeed();
        // Sent at a speed the program does not listen at, the line reaches it as noise.
        const bool heard = programSpeed == 0 || programSpeed == item.lineSpeed;
        while (heard && written_ < item.bytes.size()) {
            const size_t chunk = byteByByte_ ? 1 : item.bytes.size() - written_;
            const ssize_t n = ::write(pty_.master(), item.bytes.data() + written_, chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
            if (n <= 0) break;  // the line is gone: the answer is lost, as on a cut cable
            written_ += static_cast<size_t>(n);
        }
        outgoingBytes_ -= item.bytes.size();
        outgoing_.pop_front();
        written_ = 0;
    }
    return true;
}

void Pcr1000Emulator::SetSignalPlan(SignalPlan plan) {
    std::lock_guard lock(mutex_);
    plan_ = std::move(plan);
}

void Pcr1000Emulator::SetOffReportInterval(std::chrono::milliseconds interval) {
    {
        std::lock_guard lock(mutex_);
        offReportInterval_ = interval;
        nextOffReport_ = Clock::now() + interval;
    }
    Wake();
}

void Pcr1000Emulator::SwitchPowerByHand(bool on) {
    {
        std::lock_guard lock(mutex_);
        SwitchPower(on);
    }
    Wake();
}

bool Pcr1000Emulator::SetLineSpeedByHand(uint32_t bitsPerSecond) {
    if (std::find(std::begin(kSpeeds), std::end(kSpeeds), bitsPerSecond) == std::end(kSpeeds))
        return false;
    std::lock_guard lock(mutex_);
    state_.lineSpeed = bitsPerSecond;
    return true;
}

void Pcr1000Emulator::SetLatency(std::chrono::milliseconds latency) {
    std::lock_guard lock(mutex_);
    latency_ = latency;
}

void Pcr1000Emulator::SetDead(bool dead) {
    std::lock_guard lock(mutex_);
    dead_ = dead;
}

void Pcr1000Emulator::SetFault(bool fault) {
    std::lock_guard lock(mutex_);
    fault_ = fault;
}

void Pcr1000Emulator::SetByteByByte(bool on) {
    std::lock_guard lock(mutex_);
    byteByByte_ = on;
}

void Pcr1000Emulator::SetLineRate(bool on) {
    std::lock_guard lock(mutex_);
    lineRate_ = on;
    lineFree_ = inputFree_ = Clock::now();
}

std::vector<std::string> Pcr1000Emulator::ReceivedLines() const {
    std::lock_guard lock(mutex_);
    return {received_.begin(), received_.end()};
}

void Pcr1000Emulator::ClearReceivedLines() {
    std::lock_guard lock(mutex_);
    received_.clear();
    receivedCount_ = 0;
}

bool Pcr1000Emulator::WaitForLines(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return inputArrived_.wait_for(lock, timeout, [&] { return receivedCount_ >= count; });
}

bool Pcr1000Emulator::WaitForMisheardBytes(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return inputArrived_.wait_for(lock, timeout, [&] { return misheardBytes_ >= count; });
}

Pcr1000State Pcr1000Emulator::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

}  // namespace emulators
