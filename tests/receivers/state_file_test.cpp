#include "receivers/state_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "state/cp1251.h"
#include "state/fdx.h"
#include "tests/receivers/receiver_files.h"

namespace {

class PanelStateFile : public ::testing::Test {
  protected:
    PanelStateFile() { scale.Allocate(20'000'000); }

    std::string WriteScale() {
        StateFileWriter writer;
        writer.Scale(scale);
        EXPECT_TRUE(writer.Save(path));
        return Cp1251ToUtf8(ReadBytes(path));
    }
    bool Read(LevelScale& into, std::vector<std::pair<std::string, std::string>>* keys = nullptr) {
        return ReadStateFile(path, head, into,
                             [keys](std::string_view key, std::string_view value) {
                                 if (keys) keys->emplace_back(key, value);
                             });
    }

    StampedAt7March2001 clock;
    TempDir dir;
    std::string path = dir.File("IC8500.001");
    LevelScale scale;
    StateFileHead head;
};

TEST(StateFileName, ProgramFolderStemAndThreeDigitPort) {
    EXPECT_EQ(StateFileName("/orvel/", "IC8500", 1), "/orvel/IC8500.001");
    EXPECT_EQ(StateFileName("/orvel/", "IC10", 12), "/orvel/IC10.012");
}

TEST_F(PanelStateFile, AnEmptyScaleIsOneRunOfZeros) {
    EXPECT_EQ(WriteScale(), "Измерения=200001\r\nFL=0\r\nFC=200000\r\n");
}

TEST_F(PanelStateFile, RunsStartAtCellZeroAndSingleCellsHaveNoCount) {
    scale.SetCell(0, 5);
    scale.SetCell(2, 9);
    scale.SetCell(3, 9);
    scale.SetCell(200'000, 77);
    EXPECT_EQ(WriteScale(),
              "Измерения=200001\r\nFL=5\r\nFL=0\r\nFL=9\r\nFC=1\r\nFL=0\r\nFC=199995\r\nFL=77\r\n");
}

TEST_F(PanelStateFile, HeadLinesInOrderWithTheModulationFollowedByABlank) {
    StateFileWriter writer;
    head.Frequency = 1'450'000;
    head.Step = 250;
    head.Modulation = 'F';
    head.ViewStep = 10000;
    head.ViewPosition = 1'000'000;
    writer.Head(head);
    ASSERT_TRUE(writer.Save(path));
    EXPECT_EQ(Cp1251ToUtf8(ReadBytes(path)),
              "Дата=07/03/2001\r\nВремя=09:05\r\nFt=1450000\r\nШаг=250\r\nМодуляция=F \r\n"
              "Шаг_просмотра=10000\r\nПозиция_просмотра=1000000\r\n");
    EXPECT_EQ(head.Date, "07/03/2001");
    EXPECT_EQ(head.Time, "09:05");
}

TEST_F(PanelStateFile, EveryCellRoundTripsAndTheHeadComesBack) {
    for (int64_t c = 0; c < 200'001; ++c) scale.SetCell(c, static_cast<uint8_t>((c * 37) % 251));
    StateFileWriter writer;
    head = {"", "", 1'234'567, 125, 'A', 500, 42};
    writer.Head(head);
    writer.Scale(scale);
    ASSERT_TRUE(writer.Save(path));
    // Far beyond the limit of the program's other stored files.
    ASSERT_GT(ReadBytes(path).size(), kTextFileLimit);

    LevelScale back;
    back.Allocate(20'000'000);
    head = {};
    ASSERT_TRUE(Read(back));
    EXPECT_EQ(back.Cells(), scale.Cells());
    EXPECT_EQ(head.Frequency, 1'234'567u);
    EXPECT_EQ(head.Step, 125u);
    EXPECT_EQ(head.Modulation, 'A');
    EXPECT_EQ(head.ViewStep, 500u);
    EXPECT_EQ(head.ViewPosition, 42u);
    EXPECT_EQ(head.Date, "07/03/2001");
}

TEST_F(PanelStateFile, RunsAreCutAtTheScaleAndCellsTheyDoNotReachStayAsTheyWere) {
    WriteBytes(path, Cp1251Lines({"Измерения=999999", "FL=3", "FC=999999"}));
    LevelScale small;
    small.Allocate(100'000);  // 1001 cells
    ASSERT_TRUE(Read(small));
    EXPECT_EQ(small.Cell(1000), 3);
    EXPECT_EQ(head.ScaleCells, 999'999u);
    EXPECT_EQ(head.ScaleCellsRead, 1001u);

    small.SetCell(5, 99);
    WriteBytes(path, Cp1251Lines({"FL=8", "Измерения=3", "FL=1", "FC=2", "FL=2"}));
    ASSERT_TRUE(Read(small));
    EXPECT_EQ(small.Cell(0), 1);  // the count line starts the runs again
    EXPECT_EQ(small.Cell(2), 1);
    EXPECT_EQ(small.Cell(3), 2);
    EXPECT_EQ(small.Cell(4), 3);  // beyond the runs: as it was
    EXPECT_EQ(small.Cell(5), 99);
}

// A count that disagrees with the runs behind it leaves none of them unread: the close would
// write the whole scale cleared.
TEST_F(PanelStateFile, ACountThatDisagreesWithTheRunsBoundsNothing) {
    for (const char* count : {"Измерения=0", "Измерения=2", "Измерения=-3", "Измерения=x"}) {
        SCOPED_TRACE(count);
        scale.Clear();
        WriteBytes(path, Cp1251Lines({count, "FL=9", "FC=5", "FL=4"}));
        ASSERT_TRUE(Read(scale));
        EXPECT_EQ(scale.Cell(5), 9);
        EXPECT_EQ(scale.Cell(6), 4);
        EXPECT_EQ(scale.Cell(7), 0);
        EXPECT_EQ(head.ScaleCellsRead, 7u);
        EXPECT_NE(WriteScale().find("FL=9\r\nFC=5\r\nFL=4\r\n"), std::string::npos);
    }
}

TEST_F(PanelStateFile, OtherKeysGoToTheModelInOrderAndEmptyValuesAreSkipped) {
    WriteBytes(path,
               Cp1251Lines({"Банк=3", "Fnar=", "Cnar=ДА", "Нечто", "Модуляция=Q ", "Измерения=x"}));
    std::vector<std::pair<std::string, std::string>> keys;
    head.Modulation = 'W';
    ASSERT_TRUE(Read(scale, &keys));
    EXPECT_EQ(keys,
              (std::vector<std::pair<std::string, std::string>>{{"Банк", "3"}, {"Cnar", "ДА"}}));
    EXPECT_EQ(head.Modulation, 'W');  // no such mode letter
}

// The head's mode letter is the first "Модуляция"; a second one is the model's (the AR8200's
// mode choice of its scan dialog) and never the head's letter.
TEST_F(PanelStateFile, ASecondModulationLineGoesToTheModel) {
    WriteBytes(path, Cp1251Lines({"Модуляция=A ", "Мод_точно=1 ", "Модуляция=6", "Модуляция=U "}));
    std::vector<std::pair<std::string, std::string>> keys;
    ASSERT_TRUE(Read(scale, &keys));
    EXPECT_EQ(head.Modulation, 'A');
    EXPECT_EQ(keys, (std::vector<std::pair<std::string, std::string>>{
                        {"Мод_точно", "1 "}, {"Модуляция", "6"}, {"Модуляция", "U "}}));
}

TEST_F(PanelStateFile, AStepOfZeroLeavesTheStepAsItWas) {
    head.Step = 250;
    for (const char* line : {"Шаг=0", "Шаг=x", "Шаг=-0"}) {
        WriteBytes(path, Cp1251Lines({line}));
        ASSERT_TRUE(Read(scale)) << line;
        EXPECT_EQ(head.Step, 250u) << line;
    }
    WriteBytes(path, Cp1251Lines({"Шаг=5"}));
    ASSERT_TRUE(Read(scale));
    EXPECT_EQ(head.Step, 5u);
}

// Numbers beyond their fields read as no number at all, never as the bits of them that fit
// ("99999999999" is not 1215752191, "-5" not 4294967291).
TEST_F(PanelStateFile, NumbersBeyondTheirFieldsReadAsNoNumber) {
    head = {"", "", 1'455'000, 250, 'F', 500, 42};
    scale.SetCell(0, 7);
    WriteBytes(path, Cp1251Lines({"Ft=99999999999", "Шаг=-5", "Шаг_просмотра=4294967296",
                                  "Позиция_просмотра=-1", "Измерения=3", "FL=99999999999",
                                  "FC=99999999999"}));
    ASSERT_TRUE(Read(scale));
    EXPECT_EQ(head.Frequency, 0u);
    EXPECT_EQ(head.Step, 250u);
    EXPECT_EQ(head.ViewStep, 0u);
    EXPECT_EQ(head.ViewPosition, 0u);
    EXPECT_EQ(scale.Cell(0), 0);
    EXPECT_EQ(scale.Cell(1), 0);

    WriteBytes(path, Cp1251Lines({"Шаг=99999999999", "Измерения=-3", "FL=9", "FC=5"}));
    scale.SetCell(0, 7);
    ASSERT_TRUE(Read(scale));
    EXPECT_EQ(head.Step, 250u);
    EXPECT_EQ(head.ScaleCells, 0u);
    EXPECT_EQ(scale.Cell(0), 9);  // a count that is no number bounds no run
}

TEST_F(PanelStateFile, MissingOrEmptyFileReadsNothing) {
    EXPECT_FALSE(Read(scale));
    WriteBytes(path, "");
    EXPECT_FALSE(Read(scale));
}

}  // namespace
