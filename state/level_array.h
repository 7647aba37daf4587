#pragma once
// The one text format of every stored level array (the etalon arrays ".cur", ".min", ".sum",
// ".max", ".obr" and the channel arrays of a ".meg" file): runs of equal levels, each an "FL=v"
// line with the level and, for a run longer than one cell, an "FC=n" line with the n further
// cells of that level.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "state/key_value.h"

class TextFileWriter;

// Adds the run-length lines of `cells`, every cell included.
void WriteLevelLines(TextFileWriter& writer, std::span<const uint8_t> cells);

// Writes a level-array file holding `cells`; false when it cannot be written.
bool WriteLevelFile(const std::string& path, std::span<const uint8_t> cells);

// The largest level lines WriteLevelLines makes for `cells` cells. Readers of level files allow
// at least this much, so that every file the program writes loads back whole.
std::size_t LevelLinesLimit(std::size_t cells);

// Decodes level lines into one array, from its first cell on. Cells beyond the array are
// dropped, so an over-long block can never write past it; the caller clears the array first.
class LevelArrayDecoder {
  public:
    explicit LevelArrayDecoder(std::span<uint8_t> cells) : cells_(cells) {}

    // Takes an "FL" or "FC" line; false (and nothing done) for any other key.
    bool Apply(const KeyValue& line);

  private:
    std::span<uint8_t> cells_;
    std::size_t position_ = 0;
    uint8_t last_ = 0;  // level of the last FL line; an FC line before any FL repeats 0
};

// Clears `cells` and decodes every level line of `lines` into it; other lines are skipped.
void ReadLevelLines(const std::vector<std::string>& lines, std::span<uint8_t> cells);
