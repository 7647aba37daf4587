#include "state/meg.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "state/fdx.h"
#include "state/key_value.h"
#include "state/level_array.h"
#include "state/record_fields.h"
#include "state/stamp_clock.h"
#include "state/text_file.h"

namespace {

constexpr std::string_view kFrequencyKey = "F";

// The longest frequency line of a levels file: "F=4294967295" and its CR LF.
constexpr std::size_t kLongestFrequencyLine = 14;

// The header lines before the start and end of the measuring, in the order they are written.
constexpr RecordField<Meg> kHeaderFields[] = {
    {"Идентификатор", &Meg::Identifier},
    {"Кол-во_частот", &Meg::FrequencyCount},
    {"Кол-во_измерений", &Meg::MeasurementCount},
    {"Дата", &Meg::Date},
    {"Время", &Meg::Time},
};

// The first channel of `frequency` that no block of the file has filled yet.
std::optional<std::size_t> nextChannelOf(uint32_t frequency,
                                         std::span<const MeasuredChannel> channels,
                                         const std::vector<bool>& filled) {
    for (std::size_t i = 0; i < channels.size(); ++i)
        if (!filled[i] && channels[i].Frequency == frequency) return i;
    return std::nullopt;
}

}  // namespace

bool Meg::WriteHeader() {
    StampNow(Date, Time);
    TextFileWriter out;
    WriteFields(out, *this, kHeaderFields);
    WriteMomentLines(out, Start, End);
    return out.Save(HeaderPath);
}

bool Meg::ReadHeader(FDX& fdx, const std::string& path) {
    Identifier = "Измерения ?";
    Date = "00/00/00";
    Time = "00:00";
    FrequencyCount = 0;
    MeasurementCount = 0;
    fdx.LoadFileName = path;
    if (!fdx.LoadTextFile() || fdx.Lines.empty()) return false;
    for (const auto& line : fdx.Lines)
        if (const auto kv = SplitKeyValue(line); kv && !ReadField(*this, kHeaderFields, *kv))
            ReadMomentLine(*kv, Start, End);
    // The counts size the channels' arrays when the set is loaded.
    FrequencyCount = std::min(FrequencyCount, kMaxBankChannels);
    MeasurementCount = std::min(MeasurementCount, kMaxMeasurements);
    return true;
}

bool WriteMeasurementLevels(const std::string& path, std::span<const MeasuredChannel> channels,
                            std::size_t count) {
    TextFileWriter writer;
    for (const auto& channel : channels) {
        writer.KeyValue(kFrequencyKey, std::to_string(channel.Frequency));
        WriteLevelLines(writer, channel.Levels.first(std::min(count, channel.Levels.size())));
    }
    return writer.Save(path);
}

void ReadMeasurementLevels(const std::vector<std::string>& lines,
                           std::span<const MeasuredChannel> channels) {
    for (const auto& channel : channels) std::ranges::fill(channel.Levels, uint8_t{0});
    std::vector<bool> filled(channels.size());
    // Level lines before the first "F", and after an "F" without a channel, go nowhere.
    std::optional<LevelArrayDecoder> decoder;
    for (const auto& line : lines) {
        const auto pair = SplitKeyValue(line);
        if (!pair) continue;
        if (pair->key != kFrequencyKey) {
            if (decoder) decoder->Apply(*pair);
            continue;
        }
        decoder.reset();
        if (const auto i = nextChannelOf(ReadU32(pair->value), channels, filled)) {
            filled[*i] = true;
            decoder.emplace(channels[*i].Levels);
        }
    }
}

bool LoadMeasurementLevels(FDX& fdx, const std::string& path,
                           std::span<const MeasuredChannel> channels) {
    std::size_t longest = 0;
    for (const auto& channel : channels) longest = std::max(longest, channel.Levels.size());
    const std::size_t written =
        channels.size() * (kLongestFrequencyLine + LevelLinesLimit(longest));
    fdx.LoadFileName = path;
    const bool loaded = fdx.LoadTextFile(std::max(kTextFileLimit, written));
    ReadMeasurementLevels(fdx.Lines, channels);
    return loaded;
}
