#include "state/level_array.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/fdx.h"
#include "tests/state/temp_dir.h"

namespace {

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

// One level line per run of equal cells, and the count of its further cells when there are any.
TEST(LevelArrayWriting, EachRunIsALevelAndTheCountOfItsFurtherCells) {
    EXPECT_EQ(written({7}), "FL=7\r\n");
    EXPECT_EQ(written(std::vector<uint8_t>(10, 3)), "FL=3\r\nFC=9\r\n");
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

// What a file of any shape leaves in an array of the exact size (so that the address
// sanitizer catches a write past it).
TEST(LevelArrayReading, FillsTheArrayAndNothingBeyondIt) {
    const struct {
        const char* what;
        std::string bytes;
        std::vector<uint8_t> cells;
    } cases[] = {
        {"a count before any level gives zeros", "FC=4\r\nFL=9\r\n", {0, 0, 0, 0, 9, 0}},
        {"cells the file leaves out are cleared", "FL=5\r\n", {5, 0, 0}},
        {"an empty file clears every cell", "", {0, 0, 0}},
        {"a level keeps its low eight bits", "FL=258\r\nFL=-1\r\n", {2, 255}},
        {"an overlong run is cut at the end",
         "FL=1\r\nFC=4000000000\r\nFL=2\r\nFC=7\r\n",
         {1, 1, 1, 1}},
        {"so are surplus levels", "FL=1\r\nFL=2\r\nFL=3\r\n", {1, 2}},
        {"a negative count and other keys are skipped",
         "FL=6\r\nFC=-3\r\nX=1\r\nFC\r\nFC=1\r\n",
         {6, 6, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(read(c.bytes, c.cells.size()), c.cells) << c.what;
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
