#include "state/level_array.h"

#include <algorithm>

#include "state/text_file.h"

namespace {

constexpr std::string_view kLevelKey = "FL";
constexpr std::string_view kCountKey = "FC";

// The longest line of a level: "FL=255" and its CR LF. A run of more cells costs less per cell.
constexpr std::size_t kLongestCellBytes = 8;

}  // namespace

void WriteLevelLines(TextFileWriter& writer, std::span<const uint8_t> cells) {
    for (std::size_t first = 0; first < cells.size();) {
        const uint8_t level = cells[first];
        std::size_t end = first + 1;
        while (end < cells.size() && cells[end] == level) ++end;
        writer.KeyValue(kLevelKey, std::to_string(level));
        if (end - first > 1) writer.KeyValue(kCountKey, std::to_string(end - first - 1));
        first = end;
    }
}

bool WriteLevelFile(const std::string& path, std::span<const uint8_t> cells) {
    TextFileWriter writer;
    WriteLevelLines(writer, cells);
    return writer.Save(path);
}

std::size_t LevelLinesLimit(std::size_t cells) {
    return cells * kLongestCellBytes;
}

bool LevelArrayDecoder::Apply(const KeyValue& line) {
    if (line.key == kLevelKey) {
        // Stored as a number of any size; the cell keeps its low eight bits.
        last_ = static_cast<uint8_t>(ReadInteger(line.value));
        if (position_ < cells_.size()) cells_[position_++] = last_;
        return true;
    }
    if (line.key == kCountKey) {
        // The count is bounded by the room left, however large the file says it is.
        const auto room = static_cast<int64_t>(cells_.size() - position_);
        const auto count =
            static_cast<std::size_t>(std::clamp(ReadInteger(line.value), int64_t{0}, room));
        std::fill_n(cells_.begin() + static_cast<std::ptrdiff_t>(position_), count, last_);
        position_ += count;
        return true;
    }
    return false;
}

void ReadLevelLines(const std::vector<std::string>& lines, std::span<uint8_t> cells) {
    std::fill(cells.begin(), cells.end(), uint8_t{0});
    LevelArrayDecoder decoder(cells);
    for (const auto& line : lines)
        if (const auto pair = SplitKeyValue(line)) decoder.Apply(*pair);
}
