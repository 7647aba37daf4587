#include "receivers/memory_channel.h"

#include <algorithm>
#include <optional>

#include "receivers/state_file.h"
#include "state/cp1251.h"
#include "state/fdx.h"
#include "state/key_value.h"
#include "state/user_freq.h"

namespace {

constexpr std::string_view kCountKey = "Частот_Банков";
constexpr std::string_view kPlus = "+";

uint32_t Within(uint32_t frequency, uint32_t lower, uint32_t upper) {
    return frequency == 0 ? 0 : std::clamp(frequency, lower, std::max(lower, upper));
}

int32_t FilterOf(int64_t code) {
    return static_cast<int32_t>(std::clamp<int64_t>(code, 0, kWidestFilter));
}

// What a channel of the model's memory keeps of settings from a bank item or the program
// state: its frequency as given, the rest as the layout holds it.
struct Settings {
    uint32_t frequency;
    uint32_t step;
    char modulation;
    int64_t filter;
    bool attenuator;
    uint32_t depth;
};
void HoldSettings(MemoryChannel& channel, const ChannelLayout& layout, const Settings& from) {
    channel.Frequency = from.frequency;
    if (layout.holds.step) channel.Step = layout.HeldStep(from.step);
    if (layout.holds.mode) channel.Modulation = layout.KnownModulation(from.modulation);
    if (layout.holds.filter) channel.Filter = FilterOf(from.filter);
    if (layout.holds.attenuator && from.attenuator) {
        channel.Attenuator = true;
        channel.AttenuatorDb = layout.Depth(layout.holds.depth ? from.depth : 0);
    }
}

// The length of the UTF-8 character that starts with `lead`; 1 for a byte that starts none.
std::size_t CharacterLength(uint8_t lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

}  // namespace

std::string LabelForSet(std::string_view label, std::size_t width, const LabelCharacters& takes) {
    std::string field;
    for (std::size_t at = 0; at < label.size() && field.size() < width;) {
        std::size_t length =
            std::min(CharacterLength(static_cast<uint8_t>(label[at])), label.size() - at);
        const std::string_view character = label.substr(at, length);
        const std::string bytes = Utf8ToCp1251(character);
        // A well-formed character is one byte of code page 1251, or "?" when the code page
        // lacks it (no "?" of the label's); a malformed one is a "?" for each of its bytes, and
        // its first byte stands for itself.
        const bool one = bytes.size() == 1;
        if (!one) length = 1;
        const auto byte = one ? static_cast<uint8_t>(bytes.front()) : uint8_t{0};
        const bool taken =
            one && (byte != '?' || character == "?") && byte >= takes.first && byte <= takes.last;
        field += taken ? static_cast<char>(byte) : ' ';
        at += length;
    }
    return field;
}

std::string LabelReadBack(const std::string& held, const std::string& fromSet, std::size_t width,
                          const LabelCharacters& takes) {
    const auto unpadded = [](std::string_view text) {
        const std::size_t first = text.find_first_not_of(' ');
        if (first == std::string_view::npos) return std::string_view();
        return text.substr(first, text.find_last_not_of(' ') - first + 1);
    };
    const std::string sent = Cp1251ToUtf8(LabelForSet(held, width, takes));
    return unpadded(sent) == unpadded(fromSet) ? held : fromSet;
}

std::string HeldLabel(const MemoryChannel& held, uint32_t frequencyRead) {
    return !held.Empty() && held.Frequency == frequencyRead ? held.Label : std::string();
}

MemoryChannel ChannelLayout::Empty(int32_t number) const {
    MemoryChannel channel;
    channel.Modulation = emptyModulation;
    channel.Number = number;
    return channel;
}

uint32_t ChannelLayout::Depth(uint32_t db) const {
    if (depths.empty()) return db;
    for (const uint32_t depth : depths)
        if (db <= depth) return depth;
    return depths.back();
}

std::string ChannelLayout::CutLabel(std::string_view label) const {
    return Cp1251ToUtf8(Utf8ToCp1251(label).substr(0, labelWidth));
}

char ChannelLayout::KnownModulation(char letter) const {
    return letter != '\0' && modeLetters.find(letter) != std::string_view::npos ? letter
                                                                                : emptyModulation;
}

uint32_t ChannelLayout::HeldStep(uint32_t step) const {
    return std::clamp(step, stepLow, std::max(stepLow, stepHigh));
}

ChannelSortFields SortFieldsOf(const MemoryChannel& channel) {
    return {channel.Frequency,  channel.Step,  channel.Modulation, channel.Level,
            channel.Attenuator, channel.Label, channel.Number};
}

void TakeWorkingBank(const FDX& fdx, std::span<MemoryChannel> bank, const ChannelLayout& layout,
                     uint32_t lowerLimit, uint32_t upperLimit) {
    const auto count = static_cast<std::size_t>(
        std::clamp<int64_t>(fdx.ChannelCount, 0, static_cast<int64_t>(fdx.Channels.size())));
    for (std::size_t place = 0; place < bank.size(); ++place) {
        MemoryChannel& channel = bank[place];
        channel = layout.Empty(static_cast<int32_t>(place));
        if (place >= count) continue;
        const Mt& from = fdx.Channels[place];
        HoldSettings(channel, layout,
                     {Within(from.Frequency, lowerLimit, upperLimit), from.Step, from.Modulation,
                      from.QMOD, from.Attenuator != 0, from.QATT});
        if (layout.holds.label) channel.Label = layout.CutLabel(from.Identifier);
        if (layout.holds.select) channel.Select = from.Select != 0;
        if (layout.holds.skip) channel.Skip = from.Skip != 0;
    }
}

bool SettingsIntoChannel(const FDX& fdx, MemoryChannel& channel, const ChannelLayout& layout,
                         uint32_t lowerLimit, uint32_t upperLimit) {
    MemoryChannel stored = layout.Empty(channel.Number);
    HoldSettings(stored, layout,
                 {std::clamp(fdx.Frequency, lowerLimit, std::max(lowerLimit, upperLimit)),
                  fdx.Step, fdx.Modulation, fdx.Filter, fdx.Attenuator != 0, fdx.AttenuatorDb});
    stored.Level = std::max(fdx.Level, 0);
    const bool afresh = layout.store == ChannelStore::AfreshAndWritten;
    if (!afresh) {
        stored.Label = channel.Label;
        stored.Select = channel.Select;
        stored.Skip = channel.Skip;
    }
    channel = stored;
    return afresh;
}

void ChannelIntoSettings(const MemoryChannel& channel, FDX& fdx) {
    fdx.Frequency = channel.Frequency;
    fdx.Modulation = channel.Modulation;
    fdx.Filter = channel.Filter;
    // A step of 0 would stop a scale scan on the spot.
    if (channel.Step != 0) fdx.Step = channel.Step;
    fdx.Attenuator = channel.Attenuator ? 1 : 0;
    if (channel.Attenuator && channel.AttenuatorDb != 0) fdx.AttenuatorDb = channel.AttenuatorDb;
    fdx.Level = channel.Level;
}

uint32_t GiveWorkingBank(FDX& fdx, std::span<const MemoryChannel> bank) {
    std::size_t count = 0;
    for (std::size_t place = 0; place < bank.size(); ++place)
        if (!bank[place].Empty()) count = place + 1;
    count = std::min<std::size_t>(count, kMaxBankChannels);
    if (count == 0) return 0;
    if (fdx.Channels.size() < count) fdx.Channels.resize(count);
    for (std::size_t place = 0; place < count; ++place) {
        const MemoryChannel& channel = bank[place];
        Mt& to = fdx.Channels[place];
        to = Mt{};
        to.Frequency = channel.Frequency;
        to.Step = channel.Step;
        to.Modulation = channel.Modulation;
        to.Identifier = channel.Label;
        to.Number = static_cast<int32_t>(place);
        to.Attenuator = channel.Attenuator ? 1 : 0;
        to.Select = channel.Select ? 1 : 0;
        to.Skip = channel.Skip ? 1 : 0;
        to.QMOD = static_cast<uint32_t>(channel.Filter);
        to.QATT = channel.AttenuatorDb;
    }
    fdx.ChannelCount = static_cast<int32_t>(count);
    return static_cast<uint32_t>(count);
}

void WriteChannelKeys(StateFileWriter& file, std::span<const MemoryChannel> records,
                      const ChannelLayout& layout, bool countLine) {
    if (countLine) file.Number(kCountKey, static_cast<uint32_t>(records.size()));
    for (const MemoryChannel& channel : records) {
        file.Number("F", channel.Frequency);
        if (channel.Empty()) continue;
        if (layout.holds.attenuator && channel.Attenuator) {
            file.Text("F_ATT", kPlus);
            if (layout.holds.depth) file.Number("F_QATT", channel.AttenuatorDb);
        }
        if (layout.holds.step) file.Number("F_STEP", channel.Step);
        if (layout.holds.select && channel.Select) file.Text("F_SEL", kPlus);
        if (layout.holds.skip && channel.Skip) file.Text("F_SKIP", kPlus);
        if (layout.holds.label && !channel.Label.empty()) file.Text("F_ID", channel.Label);
        const bool filterKey = layout.holds.filter && channel.Filter != 0;
        if (filterKey && layout.filterKeyFirst)
            file.Number("F_QMOD", static_cast<uint32_t>(channel.Filter));
        if (layout.holds.mode) file.Text("F_MOD", std::string(1, channel.Modulation));
        if (filterKey && !layout.filterKeyFirst)
            file.Number("F_QMOD", static_cast<uint32_t>(channel.Filter));
    }
}

MemoryChannel* ChannelKeyReader::current() {
    return record_ >= 0 && static_cast<std::size_t>(record_) < records_.size()
               ? &records_[static_cast<std::size_t>(record_)]
               : nullptr;
}

bool ChannelKeyReader::Take(std::string_view key, std::string_view value) {
    if (key == kCountKey) {
        // The count bounds nothing: a count that disagrees with the records behind it ("0",
        // "-3") must not leave them unread, every one emptied at the next write.
        record_ = -1;
        return true;
    }
    if (key == "F") {
        ++record_;
        if (MemoryChannel* channel = current()) {
            const int64_t bankSize = std::max<uint32_t>(layout_.bankSize, 1);
            *channel = layout_.Empty(static_cast<int32_t>(record_ % bankSize));
            channel->Frequency = Within(ReadNumberOrZero(value), lower_, upper_);
            // A channel whose file has no step line still has one the model holds, so that
            // it is written and read back the same and never goes to the set as step 0.
            if (!channel->Empty() && layout_.holds.step) channel->Step = layout_.HeldStep(0);
        }
        return true;
    }
    if (!key.starts_with("F_")) return false;
    MemoryChannel* channel = current();
    if (!channel) return true;
    const ChannelLayout& l = layout_;
    if (key == "F_ATT" && l.holds.attenuator) {
        // A file without the depth reads as the model's first one.
        channel->Attenuator = value == kPlus;
        channel->AttenuatorDb = channel->Attenuator ? l.Depth(0) : 0;
    } else if (key == "F_QATT" && l.holds.depth) {
        channel->AttenuatorDb = l.Depth(ReadNumberOrZero(value));
    } else if (key == "F_STEP" && l.holds.step) {
        channel->Step = l.HeldStep(ReadNumberOrZero(value));
    } else if (key == "F_SEL" && l.holds.select) {
        channel->Select = value == kPlus;
    } else if (key == "F_SKIP" && l.holds.skip) {
        channel->Skip = value == kPlus;
    } else if (key == "F_ID" && l.holds.label) {
        channel->Label = l.CutLabel(value);
    } else if (key == "F_MOD" && l.holds.mode && !value.empty()) {
        // A letter the program does not know leaves the channel's.
        if (l.KnownModulation(value.front()) == value.front()) channel->Modulation = value.front();
    } else if (key == "F_QMOD" && l.holds.filter) {
        channel->Filter = FilterOf(ReadNumberOrZero(value));
    }
    return true;
}
