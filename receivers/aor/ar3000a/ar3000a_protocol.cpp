#include "receivers/aor/ar3000a/ar3000a_protocol.h"

#include <algorithm>
#include <array>

#include "receivers/memory_channel.h"
#include "state/format_text.h"
#include "state/key_value.h"

namespace ar3000a {

namespace {

// clang-format off
constexpr std::array<Mode, 6> kModes = {{
    {'F', 'n', 'Q', "12.0", "NFM"},
    {'W', 'w', 'R', "180.0", "WFM"},
    {'A', 'a', 'S', "12.0", "AM"},
    {'L', 'l', 'T', "2.4", "LSB"},
    {'U', 'u', 'U', "2.4", "USB"},
    {'C', 'c', 'V', "2.4", "CW"},
}};
// clang-format on

// The mode letter of a reply is the first of these the reply holds, looked for in this order.
constexpr std::string_view kReplyModeSearch = "RQSTUV";
constexpr char kLevelClosed = '%';
constexpr int32_t kLevelUnit = 16;
constexpr std::size_t kLevelFromEnd = 4;  // the letter, CR, LF, ">"

// The number of the reply's characters from..to (to excluded).
int64_t NumberBetween(std::string_view reply, std::size_t from, std::size_t to) {
    return ReadInteger(reply.substr(from, to - from));
}

}  // namespace

void ChannelReading::CopyTo(MemoryChannel& channel) const {
    channel.Frequency = Frequency;
    channel.Step = Step;
    channel.Modulation = Modulation;
    channel.Attenuator = Attenuator;
    channel.Level = Level;
}

std::span<const Mode> Modes() {
    return kModes;
}

const Mode* FindMode(char letter) {
    for (const Mode& mode : kModes)
        if (mode.letter == letter) return &mode;
    return nullptr;
}

std::string TuneCommand(uint32_t frequency) {
    return FormatText("%8.4f\r", frequency / 10000.0);
}

std::string StepCommand(uint32_t step) {
    return FormatText("%5.1fS\r", step / 10.0);
}

std::string LevelQuery() {
    return "Y\r";
}

std::string SettingsQuery() {
    return "D\r";
}

std::string BankCommand(int bank) {
    return FormatText("%dX\r", bank + 1);
}

std::string ChannelQuery(int channel) {
    return FormatText("%dZ\r", channel);
}

std::string ChannelCommand(int channel, const MemoryChannel& record) {
    return FormatText("%02dM%05.3fS%c%08.4f%c\r", channel, record.Step / 10.0,
                      record.Attenuator ? 'R' : 'T', record.Frequency / 10000.0,
                      record.Modulation);
}

int32_t LevelOfReply(std::string_view reply) {
    if (reply.size() < kLevelFromEnd) return -1;
    const char letter = reply[reply.size() - kLevelFromEnd];
    if (letter == kLevelClosed) return 0;
    if (letter < 'A' || letter > 'P') return -1;
    return (letter - 'A') * kLevelUnit;
}

bool IsEmptyChannel(std::string_view reply, int32_t channel) {
    const std::size_t hash = reply.find('#');
    const std::size_t j = reply.find('J');
    if (channel < 0 || hash == std::string_view::npos || j == std::string_view::npos ||
        j <= hash + 1 || reply.substr(j + 1, 3) != "---")
        return false;
    const std::string_view digits = reply.substr(hash + 1, j - hash - 1);
    return digits.find_first_not_of("0123456789") == std::string_view::npos &&
           NumberBetween(reply, hash + 1, j) == channel;
}

std::optional<ChannelReading> ParseChannel(std::string_view reply, int32_t channel,
                                           uint32_t lower, uint32_t upper) {
    constexpr auto npos = std::string_view::npos;
    const std::size_t z = reply.find('Z');
    const std::size_t y = reply.find('Y');
    const std::size_t hash = reply.find('#');
    const std::size_t j = reply.find('J');
    const int64_t number =
        hash != npos && j != npos && j > hash ? NumberBetween(reply, hash + 1, j) : -1;
    std::size_t attenuator = reply.find('W');
    if (attenuator == npos) attenuator = reply.find('X');
    std::size_t mode = npos;
    for (const char letter : kReplyModeSearch)
        if (mode == npos) mode = reply.find(letter);
    if (number != channel || z == npos || z == 0 || y == npos || y < z || attenuator == npos ||
        mode == npos || mode < y)
        return std::nullopt;

    ChannelReading reading;
    reading.Attenuator = reply[attenuator] == 'W';
    reading.Step = static_cast<uint32_t>(
        std::clamp<int64_t>(NumberBetween(reply, z + 1, y) / 10, kStepLow, kStepHigh));
    reading.Frequency = static_cast<uint32_t>(std::clamp<int64_t>(
        NumberBetween(reply, y + 1, mode) / 10, lower, std::max(lower, upper)));
    for (const Mode& m : kModes)
        if (m.replyLetter == reply[mode]) reading.Modulation = m.letter;
    return reading;
}

}  // namespace ar3000a
