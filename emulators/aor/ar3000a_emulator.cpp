#include "emulators/aor/ar3000a_emulator.h"

#include <algorithm>
#include <cinttypes>
#include <stdexcept>

#include "emulators/aor/aor_command.h"

namespace emulators {

namespace {

constexpr uint64_t kMegahertz = 1'000'000;
constexpr uint64_t kKilohertz = 1'000;
constexpr uint64_t kLongestStepHz = 999'990;

// The program's mode letters in the memory, the mode keys, and the letters of the replies.
constexpr std::string_view kModes = "FWALUC";
constexpr std::string_view kModeKeys = "nwaluc";
constexpr std::string_view kReplyModes = "QRSTUV";

std::optional<uint64_t> Megahertz(std::string_view text) {
    if (text.find('.') == text.npos) return std::nullopt;
    const auto hz = ParseHz(text, 4, kMegahertz);
    if (!hz || *hz < Ar3000a::kLowerLimitHz || *hz > Ar3000a::kUpperLimitHz) return std::nullopt;
    return hz;
}

std::optional<uint32_t> StepHz(std::string_view text) {
    const auto hz = ParseHz(text, 6, kKilohertz);
    if (!hz || *hz == 0 || *hz > kLongestStepHz || *hz % 10 != 0) return std::nullopt;
    return static_cast<uint32_t>(*hz);
}

}  // namespace

Ar3000a::Ar3000a(SignalPlan plan)
    : AorModel(std::move(plan)), channels_(static_cast<size_t>(kBanks * kChannels)) {}

std::vector<std::string> Ar3000a::Answer(std::string_view line, Clock::time_point) {
    std::string command;
    for (const char c : line)
        if (c != ' ') command += c;
    return Command(command).value_or(std::vector<std::string>{"?"});
}

std::optional<std::vector<std::string>> Ar3000a::Command(std::string_view command) {
    using Lines = std::vector<std::string>;
    if (command.empty()) return std::nullopt;
    const char last = command.back();
    const std::string_view head = command.substr(0, command.size() - 1);
    if (command.size() == 1) {
        switch (last) {
            case 'Y': {
                const int level = Plan().LevelAt(state_.tuned.frequencyHz);
                if (level <= state_.squelch) return Lines{"%"};
                return Lines{std::string(1, static_cast<char>('A' + std::min(15, level / 16)))};
            }
            case 'D':
                return Lines{SettingsText(state_.tuned)};
            case 'R':
            case 'T':
                state_.tuned.attenuator = last == 'R';
                return Lines{};
            case 'G':
            case 'E':
                state_.sound = last == 'G';
                return Lines{};
            default:
                if (const size_t mode = kModeKeys.find(last); mode != kModeKeys.npos) {
                    state_.tuned.mode = kModes[mode];
                    return Lines{};
                }
                return std::nullopt;
        }
    }
    if (const size_t m = command.find('M'); m != command.npos) {
        if (!WriteChannel(command.substr(0, m), command.substr(m + 1))) return std::nullopt;
        return Lines{};
    }
    if (last == 'X') {
        const auto bank = ParseDigits(head, 1);
        if (!bank || *bank < 1 || *bank > kBanks) return std::nullopt;
        state_.bank = static_cast<int>(*bank) - 1;
        return Lines{};
    }
    if (last == 'Z') {
        const auto channel = ParseDigits(head, 2);
        if (!channel || *channel >= kChannels) return std::nullopt;
        const Ar3000aChannel& record = Channel(state_.bank, static_cast<int>(*channel));
        const std::string place = Format("#%02" PRIu64 "J", *channel);
        if (record.Empty()) return Lines{place + "---"};
        // The set recalls the channel: it is tuned there, and its level is the channel's.
        state_.tuned = record;
        return Lines{place + SettingsText(record)};
    }
    if (last == 'S') {
        const auto step = StepHz(head);
        if (!step) return std::nullopt;
        state_.tuned.stepHz = *step;
        return Lines{};
    }
    const auto hz = Megahertz(command);
    if (!hz) return std::nullopt;
    state_.tuned.frequencyHz = *hz;
    return Lines{};
}

// nn M step S R|T MHz mode
bool Ar3000a::WriteChannel(std::string_view channelText, std::string_view record) {
    const auto channel = ParseDigits(channelText, 2);
    const size_t s = record.find('S');
    if (!channel || *channel >= kChannels || s == record.npos || s + 2 >= record.size())
        return false;
    const auto step = StepHz(record.substr(0, s));
    const char attenuator = record[s + 1];
    const char mode = record.back();
    const auto hz = Megahertz(record.substr(s + 2, record.size() - s - 3));
    if (!step || (attenuator != 'R' && attenuator != 'T') || !hz ||
        kModes.find(mode) == kModes.npos)
        return false;
    channels_[state_.bank * kChannels + static_cast<int>(*channel)] =
        Ar3000aChannel{*hz, *step, mode, attenuator == 'R'};
    return true;
}

std::string Ar3000a::SettingsText(const Ar3000aChannel& channel) const {
    return Format("%cZ%05" PRIu32 "Y%09" PRIu64 "%c", channel.attenuator ? 'W' : 'X',
                  channel.stepHz / 10, channel.frequencyHz / 10,
                  kReplyModes[kModes.find(channel.mode)]);
}

const Ar3000aChannel& Ar3000a::Channel(int bank, int channel) const {
    if (bank < 0 || bank >= kBanks || channel < 0 || channel >= kChannels)
        throw std::out_of_range("AR3000A memory channel");
    return channels_[bank * kChannels + channel];
}

void Ar3000a::SetChannel(int bank, int channel, Ar3000aChannel record) {
    Channel(bank, channel);  // checks the numbers
    channels_[bank * kChannels + channel] = record;
}

// The emulator -----------------------------------------------------------------------------

Ar3000aEmulator::Ar3000aEmulator(SignalPlan plan)
    : AorEmulator(std::make_unique<Ar3000a>(std::move(plan))) {}

Ar3000a& Ar3000aEmulator::Set() const {
    return static_cast<Ar3000a&>(Model());
}

Ar3000aState Ar3000aEmulator::State() const {
    return Locked([&] { return Set().State(); });
}

void Ar3000aEmulator::SetSquelch(int level) {
    Locked([&] { Set().SetSquelch(level); });
}

Ar3000aChannel Ar3000aEmulator::Channel(int bank, int channel) const {
    return Locked([&] { return Set().Channel(bank, channel); });
}

void Ar3000aEmulator::SetChannel(int bank, int channel, Ar3000aChannel record) {
    Locked([&] { Set().SetChannel(bank, channel, record); });
}

}  // namespace emulators
