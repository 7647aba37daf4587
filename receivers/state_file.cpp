#include "receivers/state_file.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "state/fdx.h"
#include "state/key_value.h"
#include "state/stamp_clock.h"

std::string StateFileName(const std::string& programDir, std::string_view stem, uint32_t port) {
    char number[16];
    std::snprintf(number, sizeof number, ".%03u", port);
    return programDir + std::string(stem) + number;
}

void StateFileWriter::Head(StateFileHead& head,
                           const std::function<void(StateFileWriter&)>& afterModulation) {
    StampNow(head.Date, head.Time);
    Text("Дата", head.Date);
    Text("Время", head.Time);
    Number("Ft", head.Frequency);
    Number("Шаг", head.Step);
    Text("Модуляция", std::string(1, head.Modulation) + " ");
    if (afterModulation) afterModulation(*this);
    Number("Шаг_просмотра", head.ViewStep);
    Number("Позиция_просмотра", head.ViewPosition);
}

void StateFileWriter::Number(std::string_view key, uint32_t value) {
    Text(key, std::to_string(value));
}

void StateFileWriter::Text(std::string_view key, std::string_view value) {
    // A name with a quote or a line end is quoted, so that it reads back unchanged.
    writer_.KeyValue(key, value);
}

void StateFileWriter::Flag(std::string_view key, bool set) {
    if (set) Text(key, "ДА");
}

void StateFileWriter::Lines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) writer_.Line(line);
}

void StateFileWriter::Scale(const LevelScale& scale) {
    ScaleCount(scale);
    ScaleRuns(scale);
}

void StateFileWriter::ScaleCount(const LevelScale& scale) {
    Number("Измерения", static_cast<uint32_t>(scale.CellCount()));
}

void StateFileWriter::ScaleRuns(const LevelScale& scale) {
    const auto& cells = scale.Cells();
    if (cells.empty()) return;
    const auto writeRun = [this](uint8_t value, std::size_t length) {
        Number("FL", value);
        if (length > 1) Number("FC", static_cast<uint32_t>(length - 1));
    };
    uint8_t value = cells[0];
    std::size_t length = 1;
    for (std::size_t i = 1; i < cells.size(); ++i) {
        if (cells[i] == value) {
            ++length;
            continue;
        }
        writeRun(value, length);
        value = cells[i];
        length = 1;
    }
    writeRun(value, length);
}

namespace {

// The key of a line as it stands in the file: the text before its first "=".
std::string_view RawKey(std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
}

// The kept lines come from the text as it stands, not from the lines the reader splits: those
// lose the quotes of a value and any line with nothing after its "=".
void KeepLines(std::string_view text, KeptStateLines& kept) {
    kept.Lines.clear();
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = text.substr(0, end);
        if (!line.empty() && kept.Owns(RawKey(line))) kept.Lines.emplace_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

}  // namespace

bool ReadStateFile(const std::string& path, StateFileHead& head, LevelScale& scale,
                   const std::function<void(std::string_view, std::string_view)>& modelKey,
                   KeptStateLines* kept) {
    FDX file;
    file.LoadFileName = path;
    // A file cut at a NUL byte is not taken in part: the close would write the panel's state
    // over what follows the NUL.
    if (!file.LoadTextFile(kStateFileLimit) || file.CutAtNul || file.Lines.empty()) return false;
    if (kept) KeepLines(file.LoadedText, *kept);

    // Runs fill the cells from 0, never beyond the scale. The count line starts them again
    // but bounds nothing: a count that disagrees with the runs behind it ("0", "-3") must not
    // leave the levels they hold unread, the whole scale cleared at the next write.
    const auto limit = static_cast<int64_t>(scale.CellCount());
    int64_t position = 0;
    uint8_t runValue = 0;
    bool modulationRead = false;
    for (const std::string& line : file.Lines) {
        const auto pair = SplitKeyValue(line);
        if (!pair) continue;
        const std::string_view key = pair->key;
        const std::string_view value = pair->value;
        if (kept && kept->Owns(key)) continue;
        if (key == "Дата") {
            head.Date = value;
        } else if (key == "Время") {
            head.Time = value;
        } else if (key == "Ft") {
            head.Frequency = ReadNumberOrZero(value);
        } else if (key == "Шаг") {
            // A step of 0 would leave a scale scan on one frequency for ever: the program's
            // step stays, as it does for a stored 0 in the step list (and for a step that is
            // no number the field holds, "-5" as much as "x").
            if (const uint32_t step = ReadNumberOrZero(value); step != 0) head.Step = step;
        } else if (key == "Модуляция" && !modulationRead) {
            // Only a letter the program knows: anything else would reach the receiver's
            // mode command. A later line of the same key is the model's own.
            modulationRead = true;
            if (kModeLetters.find(value.front()) != std::string_view::npos)
                head.Modulation = value.front();
        } else if (key == "Шаг_просмотра") {
            head.ViewStep = ReadNumberOrZero(value);
        } else if (key == "Позиция_просмотра") {
            head.ViewPosition = ReadNumberOrZero(value);
        } else if (key == "Измерения") {
            head.ScaleCells = ReadNumberOrZero(value);
            position = 0;
        } else if (key == "FL") {
            runValue = static_cast<uint8_t>(ReadLevelValue(value));
            if (position < limit) scale.SetCell(position++, runValue);
        } else if (key == "FC") {
            const int64_t count = ReadNumberOrZero(value);
            const int64_t end = std::min(limit, position + count);
            while (position < end) scale.SetCell(position++, runValue);
        } else {
            modelKey(key, value);
        }
        head.ScaleCellsRead = std::max(head.ScaleCellsRead, static_cast<uint32_t>(position));
    }
    return true;
}

uint32_t ReadLevelValue(std::string_view value) {
    return std::min<uint32_t>(ReadNumberOrZero(value), 255);
}

void WriteChoice(StateFileWriter& file, std::span<const ChoiceKey> keys, uint32_t chosen) {
    for (const ChoiceKey& k : keys) file.Flag(k.key, k.value == chosen);
}

std::optional<uint32_t> TakeChoice(std::string_view key, std::span<const ChoiceKey> keys) {
    for (const ChoiceKey& k : keys)
        if (key == k.key) return k.value;
    return std::nullopt;
}
