#include "emulators/civ/ic8500_emulator.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "emulators/common/line_rate.h"

namespace emulators {

namespace {

constexpr uint8_t kReadFrequency = 0x03;
constexpr uint8_t kReadMode = 0x04;
constexpr uint8_t kSetFrequency = 0x05;
constexpr uint8_t kSetMode = 0x06;
constexpr uint8_t kStep = 0x10;
constexpr uint8_t kAttenuator = 0x11;
constexpr uint8_t kLevelSetting = 0x14;
constexpr uint8_t kMeter = 0x15;
constexpr uint8_t kFunction = 0x16;
constexpr uint8_t kPower = 0x18;
constexpr uint8_t kIdentity = 0x19;
constexpr uint8_t kTransceiveFrequency = 0x00;
constexpr uint8_t kTransceiveMode = 0x01;

constexpr int kProgrammedStepCode = 13;
// A line nobody reads fills up; past this much waiting output new frames are dropped
// rather than kept without bound.
constexpr size_t kMostOutgoingBytes = 65536;
constexpr size_t kLoggedFrames = 10000;

// The filters each mode of the set accepts: 01..lastFilter; normalFilter when a mode is set
// without its filter byte.
struct ModeFilters {
    uint8_t mode;
    uint8_t normalFilter;
    uint8_t lastFilter;
};
constexpr ModeFilters kModes[] = {
    {kModeLsb, 0x01, 0x01}, {kModeUsb, 0x01, 0x01}, {kModeAm, 0x02, 0x03},
    {kModeCw, 0x01, 0x02},  {kModeFm, 0x01, 0x02},  {kModeWfm, 0x01, 0x01},
};

const ModeFilters* FindMode(uint8_t mode) {
    for (const auto& entry : kModes)
        if (entry.mode == mode) return &entry;
    return nullptr;
}

bool ValidModeAndFilter(uint8_t mode, uint8_t filter) {
    const auto* entry = FindMode(mode);
    return entry && filter >= 0x01 && filter <= entry->lastFilter;
}

Bytes Reply(std::initializer_list<uint8_t> head, const Bytes& tail = {}) {
    Bytes reply(head);
    reply.insert(reply.end(), tail.begin(), tail.end());
    return reply;
}

const Bytes kAcknowledge{kOk};
const Bytes kRefusal{kNg};

bool SetModeFrom(Ic8500State& state, std::span<const uint8_t> data) {
    if (data.empty() || data.size() > 2) return false;
    const auto* entry = FindMode(data[0]);
    if (!entry) return false;
    const uint8_t filter = data.size() == 2 ? data[1] : entry->normalFilter;
    if (!ValidModeAndFilter(data[0], filter)) return false;
    state.mode = data[0];
    state.filter = filter;
    return true;
}

Bytes StepCommand(Ic8500State& state, std::span<const uint8_t> data) {
    if (data.empty()) {
        const auto code = static_cast<uint64_t>(state.stepCode);
        return Reply({kStep, EncodeBcdMostFirst(code, 1)[0]},
                     state.stepCode == kProgrammedStepCode
                         ? EncodeBcdLeastFirst(static_cast<uint64_t>(state.programmedStep), 2)
                         : Bytes{});
    }
    const auto code = DecodeBcdMostFirst(data.first(1));
    if (!code || *code > kProgrammedStepCode) return kRefusal;
    if (data.size() == 1) {
        state.stepCode = static_cast<int>(*code);
        return kAcknowledge;
    }
    if (data.size() != 3 || *code != kProgrammedStepCode) return kRefusal;
    // 0.5 .. 199.5 kHz in 0.5 kHz, counted in 100 Hz.
    const auto step = DecodeBcdLeastFirst(data.subspan(1));
    if (!step || *step < 5 || *step > 1995 || *step % 5 != 0) return kRefusal;
    state.stepCode = kProgrammedStepCode;
    state.programmedStep = static_cast<int>(*step);
    return kAcknowledge;
}

Bytes LevelCommand(Ic8500State& state, std::span<const uint8_t> data) {
    if (data.empty()) return kRefusal;
    int* level = nullptr;
    switch (data[0]) {
        case 0x01:
            level = &state.afLevel;
            break;
        case 0x03:
            level = &state.squelchLevel;
            break;
        case 0x04:
            level = &state.ifShift;
            break;
        case 0x05:
            level = &state.apfLevel;
            break;
        default:
            return kRefusal;
    }
    if (data.size() == 1)
        return Reply({kLevelSetting, data[0]},
                     EncodeBcdMostFirst(static_cast<uint64_t>(*level), 2));
    if (data.size() != 3) return kRefusal;
    const auto value = DecodeBcdMostFirst(data.subspan(1));
    if (!value || *value > 255) return kRefusal;
    *level = static_cast<int>(*value);
    return kAcknowledge;
}

Bytes FunctionCommand(Ic8500State& state, std::span<const uint8_t> data) {
    if (data.size() != 1 || (data[0] & 0x0F) > 1) return kRefusal;
    const bool on = (data[0] & 0x0F) == 1;
    switch (data[0] >> 4) {
        case 1:
            state.agc = on;
            break;
        case 2:
            state.noiseBlanker = on;
            break;
        case 3:
            state.peakFilter = on;
            break;
        default:
            return kRefusal;
    }
    return kAcknowledge;
}

}  // namespace

Ic8500Emulator::Ic8500Emulator(SignalPlan plan) : plan_(std::move(plan)) {
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "wake pipe");
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
}

Ic8500Emulator::~Ic8500Emulator() {
    Stop();
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

void Ic8500Emulator::Start() {
    if (thread_.joinable()) return;
    stop_ = false;
    thread_ = std::thread([this] { Serve(); });
}

void Ic8500Emulator::Stop() {
    RequestStop();
    if (thread_.joinable()) thread_.join();
}

void Ic8500Emulator::RequestStop() noexcept {
    stop_ = true;
    Wake();
}

void Ic8500Emulator::Wake() noexcept {
    const char byte = 0;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &byte, 1);
}

void Ic8500Emulator::Serve() {
    UseExactTimers();
    FrameScanner scanner;
    uint8_t buffer[256];
    while (!stop_) {
        // Frames due later leave when due, to the microsecond.
        timespec timeout{};
        const timespec* wait = nullptr;
        bool lineFull = false;
        {
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
            if (announceInterval_.count() > 0 && now >= nextAnnounce_) {
                SendUnsolicited(
                    Reply({kTransceiveFrequency}, EncodeBcdLeastFirst(state_.frequencyHz, 5)));
                SendUnsolicited({kTransceiveMode, state_.mode, state_.filter});
                nextAnnounce_ = now + announceInterval_;
            }
            lineFull = lineFull_ = !Flush(now);
            auto next = Clock::time_point::max();
            if (!lineFull && !outgoing_.empty()) next = outgoing_.front().due;
            if (announceInterval_.count() > 0) next = std::min(next, nextAnnounce_);
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
            const auto now = Clock::now();
            for (ssize_t i = 0; i < count; ++i)
                if (scanner.Feed(buffer[i])) HandleFrame(scanner.Frame(), now);
        }
    }
}

void Ic8500Emulator::HandleFrame(const Bytes& frame, Clock::time_point now) {
    received_.push_back(frame);
    if (received_.size() > kLoggedFrames) received_.pop_front();
    ++receivedCount_;
    frameArrived_.notify_all();
    if (echo_) Queue(now, frame);
    // FE FE to from command FD at least.
    if (frame.size() < 6 || dead_) return;
    const uint8_t to = frame[2];
    const uint8_t from = frame[3];
    if (to != kAddress && to != kBroadcastAddress) return;
    const std::span<const uint8_t> data(frame.data() + 5, frame.size() - 6);
    const Bytes answer = refuseAll_ ? kRefusal : Answer(frame[4], data);
    Bytes out = garbage_;
    const Bytes reply = BuildFrame(from, kAddress, answer);
    out.insert(out.end(), reply.begin(), reply.end());
    Queue(now + latency_, std::move(out));
}

Bytes Ic8500Emulator::Answer(uint8_t command, std::span<const uint8_t> data) {
    const bool powerOnCommand = command == kPower && data.size() == 1 && data[0] == 0x01;
    if (!state_.powerOn && !powerOnCommand) return kRefusal;
    switch (command) {
        case kReadFrequency:
            if (!data.empty()) return kRefusal;
            return Reply({kReadFrequency}, EncodeBcdLeastFirst(state_.frequencyHz, 5));
        case kReadMode:
            if (!data.empty()) return kRefusal;
            return Reply({kReadMode, state_.mode, state_.filter});
        case kSetFrequency: {
            if (data.size() != 5) return kRefusal;
            const auto hz = DecodeBcdLeastFirst(data);
            if (!hz || *hz < kLowerLimitHz || *hz > kUpperLimitHz) return kRefusal;
            state_.frequencyHz = *hz;
            return kAcknowledge;
        }
        case kSetMode:
            return SetModeFrom(state_, data) ? kAcknowledge : kRefusal;
        case kStep:
            return StepCommand(state_, data);
        case kAttenuator: {
            const auto db = data.size() == 1 ? DecodeBcdMostFirst(data) : std::nullopt;
            if (!db || (*db != 0 && *db != 10 && *db != 20 && *db != 30)) return kRefusal;
            state_.attenuatorDb = static_cast<int>(*db);
            return kAcknowledge;
        }
        case kLevelSetting:
            return LevelCommand(state_, data);
        case kMeter: {
            if (data.size() != 1) return kRefusal;
            const int level = plan_.LevelAt(state_.frequencyHz);
            if (data[0] == 0x01)
                return Reply({kMeter, 0x01, level > state_.squelchLevel ? uint8_t{1} : uint8_t{0}});
            if (data[0] == 0x02)
                return Reply({kMeter, 0x02}, EncodeBcdMostFirst(static_cast<uint64_t>(level), 2));
            return kRefusal;
        }
        case kFunction:
            return FunctionCommand(state_, data);
        case kPower:
            if (data.size() != 1 || data[0] > 0x01) return kRefusal;
            state_.powerOn = data[0] == 0x01;
            return kAcknowledge;
        case kIdentity:
            if (data.size() != 1 || data[0] != 0x00) return kRefusal;
            return Reply({kIdentity, 0x00, kAddress});
        default:
            return kRefusal;
    }
}

void Ic8500Emulator::SendUnsolicited(const Bytes& body) {
    // Nobody reads a full line: a report the set broadcasts then is lost, as on the bus,
    // instead of piling up for whoever opens the port next.
    if (!state_.powerOn || dead_ || lineFull_) return;
    Bytes out = garbage_;
    const Bytes frame = BuildFrame(kBroadcastAddress, kAddress, body);
    out.insert(out.end(), frame.begin(), frame.end());
    Queue(Clock::now(), std::move(out));
}

void Ic8500Emulator::Queue(Clock::time_point due, Bytes bytes) {
    if (outgoingBytes_ + bytes.size() > kMostOutgoingBytes) return;
    if (lineRate_) due = AfterTheLine(due, lineFree_, pty_.ByteTime(), bytes.size());
    outgoingBytes_ += bytes.size();
    const auto place = std::upper_bound(
        outgoing_.begin(), outgoing_.end(), due,
        [](Clock::time_point time, const Outgoing& item) { return time < item.due; });
    outgoing_.insert(place, Outgoing{due, std::move(bytes)});
}

bool Ic8500Emulator::Flush(Clock::time_point now) {
    while (!outgoing_.empty() && outgoing_.front().due <= now) {
        const Bytes& bytes = outgoing_.front().bytes;
        while (written_ < bytes.size()) {
            const size_t chunk = byteByByte_ ? 1 : bytes.size() - written_;
            const ssize_t n = ::write(pty_.master(), bytes.data() + written_, chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
            if (n <= 0) break;  // the line is gone: the frame is lost, as on a cut cable
            written_ += static_cast<size_t>(n);
        }
        outgoingBytes_ -= bytes.size();
        outgoing_.pop_front();
        written_ = 0;
    }
    return true;
}

void Ic8500Emulator::SetEcho(bool on) {
    std::lock_guard lock(mutex_);
    echo_ = on;
}

void Ic8500Emulator::SetSignalPlan(SignalPlan plan) {
    std::lock_guard lock(mutex_);
    plan_ = std::move(plan);
}

void Ic8500Emulator::SetAnnounceInterval(std::chrono::milliseconds interval) {
    {
        std::lock_guard lock(mutex_);
        announceInterval_ = interval;
        nextAnnounce_ = Clock::now() + interval;
    }
    Wake();
}

void Ic8500Emulator::SetLatency(std::chrono::milliseconds latency) {
    std::lock_guard lock(mutex_);
    latency_ = latency;
}

void Ic8500Emulator::SetDead(bool dead) {
    std::lock_guard lock(mutex_);
    dead_ = dead;
}

void Ic8500Emulator::SetRefuseAll(bool refuse) {
    std::lock_guard lock(mutex_);
    refuseAll_ = refuse;
}

void Ic8500Emulator::SetGarbage(Bytes garbage) {
    std::lock_guard lock(mutex_);
    garbage_ = std::move(garbage);
}

void Ic8500Emulator::SetByteByByte(bool on) {
    std::lock_guard lock(mutex_);
    byteByByte_ = on;
}

void Ic8500Emulator::SetLineRate(bool on) {
    std::lock_guard lock(mutex_);
    lineRate_ = on;
    lineFree_ = Clock::now();
}

bool Ic8500Emulator::TuneByHand(uint64_t frequencyHz) {
    {
        std::lock_guard lock(mutex_);
        if (!state_.powerOn || frequencyHz < kLowerLimitHz || frequencyHz > kUpperLimitHz)
            return false;
        state_.frequencyHz = frequencyHz;
        SendUnsolicited(Reply({kTransceiveFrequency}, EncodeBcdLeastFirst(frequencyHz, 5)));
    }
    Wake();
    return true;
}

bool Ic8500Emulator::SwitchModeByHand(uint8_t mode, uint8_t filter) {
    {
        std::lock_guard lock(mutex_);
        if (!state_.powerOn || !ValidModeAndFilter(mode, filter)) return false;
        state_.mode = mode;
        state_.filter = filter;
        SendUnsolicited({kTransceiveMode, mode, filter});
    }
    Wake();
    return true;
}

void Ic8500Emulator::AnnounceFrequency() {
    {
        std::lock_guard lock(mutex_);
        SendUnsolicited(Reply({kTransceiveFrequency}, EncodeBcdLeastFirst(state_.frequencyHz, 5)));
    }
    Wake();
}

void Ic8500Emulator::AnnounceMode() {
    {
        std::lock_guard lock(mutex_);
        SendUnsolicited({kTransceiveMode, state_.mode, state_.filter});
    }
    Wake();
}

std::vector<Bytes> Ic8500Emulator::ReceivedFrames() const {
    std::lock_guard lock(mutex_);
    return {received_.begin(), received_.end()};
}

void Ic8500Emulator::ClearReceivedFrames() {
    std::lock_guard lock(mutex_);
    received_.clear();
    receivedCount_ = 0;
}

bool Ic8500Emulator::WaitForFrames(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return frameArrived_.wait_for(lock, timeout, [&] { return receivedCount_ >= count; });
}

Ic8500State Ic8500Emulator::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

}  // namespace emulators
