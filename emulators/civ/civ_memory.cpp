#include "emulators/civ/civ_memory.h"

#include <algorithm>

namespace emulators {

namespace {

constexpr size_t kFrequencyBytes = 5;
// Frequency, mode and filter, step code and programmed step, attenuator, scan flag.
constexpr size_t kRecordHead = kFrequencyBytes + 2 + 3 + 1 + 1;
constexpr uint8_t kBothFlags = kScanFlagSkip | kScanFlagSelect;

bool Printable(uint8_t c) {
    return c >= 0x20 && c <= 0x7E;
}

}  // namespace

CivMemory::CivMemory(const CivMemoryLayout& layout)
    : layout_(layout),
      capacity_(layout.channelsPerBank),
      channels_(static_cast<size_t>(layout.banks * layout.channelsPerBank)),
      names_(static_cast<size_t>(layout.banks), std::string(layout.bankNameLength, ' ')) {
    for (CivChannel& channel : channels_) channel.name = std::string(layout.channelNameLength, ' ');
}

void CivMemory::SetCapacity(int channels) {
    capacity_ = std::clamp(channels, 0, layout_.channelsPerBank);
}

bool CivMemory::Has(int bank, int channel) const {
    return bank >= 0 && bank < layout_.banks && channel >= 0 && channel < capacity_;
}

CivChannel& CivMemory::At(int bank, int channel) {
    return channels_[static_cast<size_t>(bank * layout_.channelsPerBank + channel)];
}

const CivChannel& CivMemory::At(int bank, int channel) const {
    return channels_[static_cast<size_t>(bank * layout_.channelsPerBank + channel)];
}

Bytes CivMemory::Encode(const CivChannel& channel) const {
    if (channel.Empty()) return {kEmptyChannel};
    Bytes record = EncodeBcdLeastFirst(channel.frequencyHz, kFrequencyBytes);
    record.push_back(channel.mode);
    record.push_back(channel.filter);
    record.push_back(EncodeBcdMostFirst(static_cast<uint64_t>(channel.stepCode), 1)[0]);
    const Bytes programmed = EncodeBcdLeastFirst(static_cast<uint64_t>(channel.programmedStep), 2);
    record.insert(record.end(), programmed.begin(), programmed.end());
    record.push_back(EncodeBcdMostFirst(static_cast<uint64_t>(channel.attenuatorDb), 1)[0]);
    record.push_back(channel.scanFlag);
    const std::string name = Fit(channel.name, layout_.channelNameLength);
    record.insert(record.end(), name.begin(), name.end());
    return record;
}

std::optional<CivChannel> CivMemory::Decode(std::span<const uint8_t> record,
                                            const CivProfile& profile) const {
    if (record.size() == 1 && record[0] == kEmptyChannel) return CivChannel{};
    if (record.size() != kRecordHead + layout_.channelNameLength) return std::nullopt;
    CivChannel channel;
    const auto hz = DecodeBcdLeastFirst(record.first(kFrequencyBytes));
    if (!hz || !profile.InRange(*hz)) return std::nullopt;
    channel.frequencyHz = *hz;
    auto rest = record.subspan(kFrequencyBytes);
    if (!profile.ValidModeAndFilter(rest[0], rest[1])) return std::nullopt;
    channel.mode = rest[0];
    channel.filter = rest[1];
    const auto code = DecodeBcdMostFirst(rest.subspan(2, 1));
    const auto step = DecodeBcdLeastFirst(rest.subspan(3, 2));
    // 0.5 .. 199.5 kHz in 0.5 kHz, counted in 100 Hz.
    if (!code || *code > static_cast<uint64_t>(profile.ProgrammedStepCode()) || !step ||
        *step < 5 || *step > 1995 || *step % 5 != 0)
        return std::nullopt;
    channel.stepCode = static_cast<int>(*code);
    channel.programmedStep = static_cast<int>(*step);
    const auto db = DecodeBcdMostFirst(rest.subspan(5, 1));
    if (!db || std::ranges::find(profile.attenuatorsDb, *db) == profile.attenuatorsDb.end())
        return std::nullopt;
    channel.attenuatorDb = static_cast<int>(*db);
    if (rest[6] > kBothFlags) return std::nullopt;
    channel.scanFlag = rest[6];
    const auto name = rest.subspan(7);
    if (!std::ranges::all_of(name, Printable)) return std::nullopt;
    channel.name.assign(name.begin(), name.end());
    return channel;
}

std::string CivMemory::Fit(std::string text, size_t length) {
    text.resize(length, ' ');
    return text;
}

}  // namespace emulators
