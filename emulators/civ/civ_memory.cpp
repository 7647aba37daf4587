#include "emulators/civ/civ_memory.h"

#include <algorithm>

namespace emulators {

namespace {

constexpr size_t kFrequencyBytes = 5;
constexpr uint8_t kBothFlags = kScanFlagSkip | kScanFlagSelect;
constexpr uint64_t kLowestTone = 670;  // 67.0 .. 254.1 Hz, the subaudible tones
constexpr uint64_t kHighestTone = 2541;

bool Printable(uint8_t c) {
    return c >= 0x20 && c <= 0x7E;
}

// Bytes a field takes; a name as long as the layout's.
size_t FieldSize(CivField field, const CivMemoryLayout& layout) {
    switch (field) {
        case CivField::Frequency:
            return kFrequencyBytes;
        case CivField::Step:
        case CivField::RepeaterTone:
        case CivField::SquelchTone:
            return 3;
        case CivField::Name:
            return layout.channelNameLength;
        default:
            return 1;
    }
}

// A byte of 00..most.
std::optional<uint8_t> Small(uint8_t byte, uint8_t most) {
    if (byte > most) return std::nullopt;
    return byte;
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
    return bank >= 0 && bank < layout_.banks && channel >= FirstChannel() && channel < EndChannel();
}

CivChannel& CivMemory::At(int bank, int channel) {
    return channels_[static_cast<size_t>(bank * layout_.channelsPerBank + channel -
                                         layout_.firstChannel)];
}

const CivChannel& CivMemory::At(int bank, int channel) const {
    return channels_[static_cast<size_t>(bank * layout_.channelsPerBank + channel -
                                         layout_.firstChannel)];
}

Bytes CivMemory::Encode(const CivChannel& channel) const {
    if (channel.Empty()) return {kEmptyChannel};
    Bytes record;
    const auto add = [&](const Bytes& bytes) {
        record.insert(record.end(), bytes.begin(), bytes.end());
    };
    for (const CivField field : layout_.record) {
        switch (field) {
            case CivField::Frequency:
                add(EncodeBcdLeastFirst(channel.frequencyHz, kFrequencyBytes));
                break;
            case CivField::Mode:
                record.push_back(channel.mode);
                break;
            case CivField::Filter:
                record.push_back(channel.filter);
                break;
            case CivField::Step:
                add(EncodeBcdMostFirst(static_cast<uint64_t>(channel.stepCode), 1));
                add(EncodeBcdLeastFirst(static_cast<uint64_t>(channel.programmedStep), 2));
                break;
            case CivField::Attenuator:
                add(EncodeBcdMostFirst(static_cast<uint64_t>(channel.attenuatorDb), 1));
                break;
            case CivField::ScanFlag:
                record.push_back(channel.scanFlag);
                break;
            case CivField::Select:
                record.push_back(channel.Selected() ? 0x01 : 0x00);
                break;
            case CivField::ToneFlags:
                record.push_back(channel.toneFlags);
                break;
            case CivField::RepeaterTone:
                add(EncodeBcdMostFirst(static_cast<uint64_t>(channel.repeaterTone), 3));
                break;
            case CivField::SquelchTone:
                add(EncodeBcdMostFirst(static_cast<uint64_t>(channel.squelchTone), 3));
                break;
            case CivField::Preamp:
                record.push_back(channel.preamp);
                break;
            case CivField::Antenna:
                record.push_back(channel.antenna);
                break;
            case CivField::Name: {
                const std::string name = Fit(channel.name, layout_.channelNameLength);
                record.insert(record.end(), name.begin(), name.end());
                break;
            }
        }
    }
    return record;
}

std::optional<CivChannel> CivMemory::Decode(std::span<const uint8_t> record,
                                            const CivProfile& profile) const {
    if (record.size() == 1 && record[0] == kEmptyChannel) return CivChannel{};
    size_t size = 0;
    for (const CivField field : layout_.record) size += FieldSize(field, layout_);
    if (record.size() != size) return std::nullopt;
    CivChannel channel;
    for (const CivField field : layout_.record) {
        const auto bytes = record.first(FieldSize(field, layout_));
        record = record.subspan(bytes.size());
        if (!DecodeField(field, bytes, profile, channel)) return std::nullopt;
    }
    if (!profile.ValidModeAndFilter(channel.mode, channel.filter)) return std::nullopt;
    return channel;
}

bool CivMemory::DecodeField(CivField field, std::span<const uint8_t> bytes,
                            const CivProfile& profile, CivChannel& channel) {
    switch (field) {
        case CivField::Frequency: {
            const auto hz = DecodeBcdLeastFirst(bytes);
            if (!hz || !profile.InRange(*hz)) return false;
            channel.frequencyHz = *hz;
            return true;
        }
        case CivField::Mode:
            channel.mode = bytes[0];
            return true;
        case CivField::Filter:
            channel.filter = bytes[0];
            return true;
        case CivField::Step: {
            const auto code = DecodeBcdMostFirst(bytes.first(1));
            const auto step = DecodeBcdLeastFirst(bytes.subspan(1));
            // 0.5 .. 199.5 kHz in 0.5 kHz, counted in 100 Hz.
            if (!code || *code > static_cast<uint64_t>(profile.LastStepCode()) || !step ||
                *step < 5 || *step > 1995 || *step % 5 != 0)
                return false;
            channel.stepCode = static_cast<int>(*code);
            channel.programmedStep = static_cast<int>(*step);
            return true;
        }
        case CivField::Attenuator: {
            const auto db = DecodeBcdMostFirst(bytes);
            if (!db || std::ranges::find(profile.attenuatorsDb, *db) == profile.attenuatorsDb.end())
                return false;
            channel.attenuatorDb = static_cast<int>(*db);
            return true;
        }
        case CivField::ScanFlag:
            if (bytes[0] > kBothFlags) return false;
            channel.scanFlag = bytes[0];
            return true;
        case CivField::Select:
            if (bytes[0] > 0x01) return false;
            channel.scanFlag = bytes[0] == 0x01 ? kScanFlagSelect : 0;
            return true;
        case CivField::RepeaterTone:
        case CivField::SquelchTone: {
            const auto tone = DecodeBcdMostFirst(bytes);
            if (!tone || *tone < kLowestTone || *tone > kHighestTone) return false;
            (field == CivField::RepeaterTone ? channel.repeaterTone : channel.squelchTone) =
                static_cast<int>(*tone);
            return true;
        }
        case CivField::ToneFlags:
        case CivField::Preamp:
        case CivField::Antenna: {
            const uint8_t most = field == CivField::Antenna ? 1 : 2;
            const auto value = Small(bytes[0], most);
            if (!value) return false;
            (field == CivField::ToneFlags ? channel.toneFlags
             : field == CivField::Preamp  ? channel.preamp
                                          : channel.antenna) = *value;
            return true;
        }
        case CivField::Name:
            if (!std::ranges::all_of(bytes, Printable)) return false;
            channel.name.assign(bytes.begin(), bytes.end());
            return true;
    }
    return false;
}

std::string CivMemory::Fit(std::string text, size_t length) {
    text.resize(length, ' ');
    return text;
}

}  // namespace emulators
