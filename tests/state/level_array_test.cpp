#include "state/level_array.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/fdx.h"
#include "tests/state/temp_dir.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::string written(const std::vector<uint8_t>& cells) {
    TempDir dir;
    const std::string path = dir.File("0001.cur");
    EXPECT_TRUE(WriteLevelFile(path, cells));
    return ReadBytes(path);
}

// Loads `bytes` as a level file into an array of `size` cells that held 99s.
std::vector<uint8_t> read(const std::string& bytes, std::size_t size) {
    TempDir dir;
    FDX fdx;
    fdx.LoadFileName = dir.File("0001.max");
    WriteBytes(fdx.LoadFileName, bytes);
    EXPECT_TRUE(fdx.LoadTextFile());
    std::vector<uint8_t> cells(size, 99);
    ReadLevelLines(fdx.Lines, cells);
    return cells;
}

TEST(LevelArrayWriting, OneCellIsOneLevelLine) {
    EXPECT_EQ(written({7}), "FL=7\r\n");
}

TEST(LevelArrayWriting, EqualCellsAreOneLevelAndTheFurtherCount) {
    EXPECT_EQ(written(std::vector<uint8_t>(10, 3)), "FL=3\r\nFC=9\r\n");
}

TEST(LevelArrayWriting, RunsFollowEachOtherToTheLastCell) {
    EXPECT_EQ(written({0, 0, 255, 4, 4, 4}), "FL=0\r\nFC=1\r\nFL=255\r\nFL=4\r\nFC=2\r\n");
    EXPECT_EQ(written({}), "");
}

TEST(LevelArrayRoundTrip, TrailingRunRestoresEveryCell) {
    const std::vector<uint8_t> cells{10, 20, 20, 30, 30, 30, 30};
    EXPECT_EQ(read(written(cells), cells.size()), cells);
}

TEST(LevelArrayRoundTrip, AlternatingLevelsStayWithinTheReadersLimit) {
    std::vector<uint8_t> cells(5000);
    for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = i % 2 ? 255 : 254;
    const std::string bytes = written(cells);
    EXPECT_EQ(bytes.size(), LevelLinesLimit(cells.size()));
    EXPECT_EQ(read(bytes, cells.size()), cells);
}

TEST(LevelArrayReading, CountBeforeAnyLevelGivesZeros) {
    EXPECT_THAT(read("FC=4\r\nFL=9\r\n", 6), ElementsAre(0, 0, 0, 0, 9, 0));
}

TEST(LevelArrayReading, CellsTheFileLeavesOutAreCleared) {
    EXPECT_THAT(read("FL=5\r\n", 3), ElementsAre(5, 0, 0));
    EXPECT_THAT(read("", 3), Each(0));
}

TEST(LevelArrayReading, LevelKeepsItsLowEightBits) {
    EXPECT_THAT(read("FL=258\r\nFL=-1\r\n", 2), ElementsAre(2, 255));
}

TEST(LevelArrayReading, OverLongBlockIsCutAtTheArraysEnd) {
    // A vector of the exact size lets the address sanitizer catch a write past it.
    EXPECT_THAT(read("FL=1\r\nFC=4000000000\r\nFL=2\r\nFC=7\r\n", 4), Each(1));
    EXPECT_THAT(read("FL=1\r\nFL=2\r\nFL=3\r\n", 2), ElementsAre(1, 2));
}

TEST(LevelArrayReading, NegativeCountAndOtherKeysAreSkipped) {
    EXPECT_THAT(read("FL=6\r\nFC=-3\r\nX=1\r\nFC\r\nFC=1\r\n", 3), ElementsAre(6, 6, 0));
}

TEST(LevelArrayDecoding, LeavesOtherKeysToItsCallerAndStopsAtTheArraysEnd) {
    std::vector<uint8_t> cells(2);
    LevelArrayDecoder decoder(cells);
    EXPECT_TRUE(decoder.Apply({"FL", "8"}));
    EXPECT_TRUE(decoder.Apply({"FC", "5"}));
    EXPECT_TRUE(decoder.Apply({"FL", "9"}));
    EXPECT_FALSE(decoder.Apply({"F", "1455000"}));
    EXPECT_THAT(cells, ElementsAreArray({8, 8}));
}

}  // namespace
