#include "emulators/pcr/pcr1000_emulator.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace emulators {

namespace {

constexpr char kAccepted[] = "G000";
constexpr char kRefused[] = "G001";
constexpr char kOff[] = "H100";
constexpr char kLineEnd[] = "\r\n";

// The longest command is 21 characters; a longer run without a line end is noise.
constexpr size_t kLongestLine = 64;

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

Pcr1000Emulator::Pcr1000Emulator(SignalPlan plan) : plan_(std::move(plan)) {}

void Pcr1000Emulator::ServingStarts(Clock::time_point now) {
    nextOffReport_ = now + offReportInterval_;
}

Pcr1000Emulator::~Pcr1000Emulator() {
    Stop();
}

void Pcr1000Emulator::Tick(Clock::time_point now) {
    if (OffReports() && now >= nextOffReport_) {
        // Nobody reads a full line: the report is lost rather than piled up.
        if (!LineFull()) Send(now, kOff, state_.lineSpeed);
        nextOffReport_ = now + offReportInterval_;
    }
}

Pcr1000Emulator::Clock::time_point Pcr1000Emulator::NextTick() const {
    return OffReports() ? nextOffReport_ : Clock::time_point::max();
}

void Pcr1000Emulator::Receive(std::string_view bytes, Clock::time_point now) {
    const size_t count = bytes.size();
    const uint32_t programSpeed = Terminal().LineSpeed();
    if (programSpeed != 0 && programSpeed != state_.lineSpeed) {
        // At another speed every byte is a garbled one, and so is the line it was part of.
        misheardBytes_ += count;
        partial_.clear();
        overlong_ = false;
        return;
    }
    // In line-rate mode the set hears a byte only once it has had its time on the line, so a
    // command is answered after its last byte would have arrived, as on a wire.
    const auto lineByteTime = LineByteTime();
    const auto byteTime = lineByteTime.value_or(std::chrono::nanoseconds(0));
    Clock::time_point heard = lineByteTime ? std::max(now, inputFree_) : now;
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
    if (lineByteTime) inputFree_ = heard;
}

void Pcr1000Emulator::HandleLine(const std::string& line, Clock::time_point now) {
    received_.Add(line);
    if (trace_) trace_('>', line);
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
    nextOffReport_ = Now() + offReportInterval_;
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
    if (trace_) trace_('<', line);
    outgoing_.Push(due, std::string(line) + kLineEnd, LineByteTime(), lineSpeed);
}

std::string_view Pcr1000Emulator::Pending(Clock::time_point now) {
    for (auto bytes = outgoing_.Pending(now); !bytes.empty(); bytes = outgoing_.Pending(now)) {
        const uint32_t programSpeed = Terminal().LineSpeed();
        // Sent at a speed the program does not listen at, the line reaches it as noise.
        if (programSpeed == 0 || programSpeed == outgoing_.PendingSpeed()) return bytes;
        outgoing_.Sent(bytes.size());
    }
    return {};
}

void Pcr1000Emulator::SetTrace(Trace trace) {
    Locked([&] { trace_ = std::move(trace); });
}

void Pcr1000Emulator::SetSignalPlan(SignalPlan plan) {
    Locked([&] { plan_ = std::move(plan); });
}

void Pcr1000Emulator::SetOffReportInterval(std::chrono::milliseconds interval) {
    Locked([&] {
        offReportInterval_ = interval;
        nextOffReport_ = Now() + interval;
    });
}

void Pcr1000Emulator::SwitchPowerByHand(bool on) {
    Locked([&] { SwitchPower(on); });
}

bool Pcr1000Emulator::HasLineSpeed(uint32_t bitsPerSecond) {
    return std::find(std::begin(kSpeeds), std::end(kSpeeds), bitsPerSecond) != std::end(kSpeeds);
}

bool Pcr1000Emulator::SetLineSpeedByHand(uint32_t bitsPerSecond) {
    if (!HasLineSpeed(bitsPerSecond)) return false;
    Locked([&] { state_.lineSpeed = bitsPerSecond; });
    return true;
}

void Pcr1000Emulator::SetLatency(std::chrono::milliseconds latency) {
    Locked([&] { latency_ = latency; });
}

void Pcr1000Emulator::SetDead(bool dead) {
    Locked([&] { dead_ = dead; });
}

void Pcr1000Emulator::SetFault(bool fault) {
    Locked([&] { fault_ = fault; });
}

std::vector<std::string> Pcr1000Emulator::ReceivedLines() const {
    const auto lock = Listened();
    return received_.Entries();
}

void Pcr1000Emulator::ClearReceivedLines() {
    const auto lock = Listened();
    received_.Clear();
}

bool Pcr1000Emulator::WaitForLines(size_t count, std::chrono::milliseconds timeout) const {
    return WaitFor(timeout, [&] { return received_.Count() >= count; });
}

size_t Pcr1000Emulator::MisheardBytes() const {
    return Locked([&] { return misheardBytes_; });
}

bool Pcr1000Emulator::WaitForMisheardBytes(size_t count, std::chrono::milliseconds timeout) const {
    return WaitFor(timeout, [&] { return misheardBytes_ >= count; });
}

Pcr1000State Pcr1000Emulator::State() const {
    const auto lock = Listened();
    return state_;
}

}  // namespace emulators
