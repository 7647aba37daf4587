#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "state/fdx.h"
#include "state/user_dp.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::ElementsAre;

class RangeFile : public ::testing::Test {
  protected:
    // The range of the golden diap.cfg, before its stamp.
    static UserDp Sample() {
        UserDp range;
        range.Identifier = "Диапазон УКВ 1";
        range.StartFrequency = 1460000;
        range.EndFrequency = 1740000;
        range.Step = 125;
        range.Modulation = 'F';
        range.Level = 40;
        range.Waiting = 1;
        range.WaitTime = 5;
        range.Condition = 2;
        range.Processing = 1;
        range.Cycles = 3;
        range.Interval = 10;
        range.Etalon = "0001";
        range.Job = "Обход";
        range.Selection = 1;
        range.Fixing = 1;
        range.Journal = 1;
        return range;
    }

    UserDp Written(UserDp range) {
        range.FilePath = path;
        EXPECT_TRUE(range.WriteFile());
        return range;
    }

    UserDp Read() {
        UserDp range;
        EXPECT_TRUE(range.ReadFile(fdx, path));
        return range;
    }

    FixedStampClock clock;
    TempDir dir;
    FDX fdx;
    std::string path = dir.File("diap.cfg");
};

TEST_F(RangeFile, WritesModulationWithTrailingBlankAndNoAttenuatorLineWhenOff) {
    const UserDp range = Written(Sample());
    EXPECT_EQ(ReadBytes(path), Golden("diap.cfg"));
    EXPECT_EQ(range.Date, "07/03/2001");
    EXPECT_EQ(range.Time, "09:05");
}

TEST_F(RangeFile, AttenuatorLineStandsBeforeTheFiveYesNoLines) {
    UserDp range = Sample();
    range.Attenuator = 1;
    Written(range);
    fdx.LoadFileName = path;
    ASSERT_TRUE(fdx.LoadTextFile());
    ASSERT_EQ(fdx.Lines.size(), 22u);
    EXPECT_THAT(std::vector(fdx.Lines.begin() + 15, fdx.Lines.end()),
                ElementsAre("Задание=Обход", "Атт=ДА", "Выделение=ДА", "Исключение=НЕТ",
                            "Фиксирование=ДА", "Маркер=НЕТ", "Журнал=ДА"));
    EXPECT_EQ(Read().Attenuator, 1);
}

// Written again, what was read gives the same bytes: every field came back, each into its own
// member (the golden write above pins the members).
TEST_F(RangeFile, ReadsBackEveryField) {
    WriteBytes(path, Golden("diap.cfg"));
    UserDp range = Read();
    EXPECT_EQ(range.Modulation, 'F');  // "F " with its blank
    range.FilePath = dir.File("again.cfg");
    ASSERT_TRUE(range.WriteFile());
    EXPECT_EQ(ReadBytes(range.FilePath), Golden("diap.cfg"));
}

TEST_F(RangeFile, MissingKeysKeepTheDefaultsOfTheCurrentRange) {
    fdx.RangeStart = 1000000;
    fdx.RangeEnd = 1100000;
    fdx.RangeStep = 50;
    fdx.RangeMode = 'A';
    WriteBytes(path, StoredLines({"Fк=1200000", "Эталон=", "Маркер=да", "Журнал=ДА", "Циклов"}));
    UserDp range;
    range.FolderName = "0002";
    range.Etalon = "old";
    ASSERT_TRUE(range.ReadFile(fdx, path));
    EXPECT_EQ(range.Identifier, "Диапазон...???");
    EXPECT_EQ(range.Date, "00/00/00");
    EXPECT_EQ(range.Time, "00:00");
    EXPECT_EQ(range.StartFrequency, 1000000u);
    EXPECT_EQ(range.EndFrequency, 1200000u);
    EXPECT_EQ(range.Step, 50u);
    EXPECT_EQ(range.Modulation, 'A');
    EXPECT_EQ(range.Cycles, 1u);
    EXPECT_EQ(range.Etalon, "");  // an empty value leaves the default
    EXPECT_EQ(range.Marker, 0);   // only "ДА" sets a flag
    EXPECT_EQ(range.Journal, 1);
    EXPECT_EQ(range.FolderName, "0002");  // names and paths are the caller's
}

TEST_F(RangeFile, MissingOrEmptyFileGivesDefaultsAndFalse) {
    UserDp range = Sample();
    EXPECT_FALSE(range.ReadFile(fdx, dir.File("absent.cfg")));
    EXPECT_EQ(range.Identifier, "Диапазон...???");
    EXPECT_EQ(range.StartFrequency, fdx.RangeStart);
    WriteBytes(path, "\r\n\r\n");
    EXPECT_FALSE(range.ReadFile(fdx, path));
}

TEST_F(RangeFile, IdentifierWithQuotesEqualsAndLineEndsSurvives) {
    UserDp range = Sample();
    range.Identifier = "O'Brien = 1 \"x\"";
    range.Job = "две\r\nстроки";
    range.Etalon = "C:\\эталоны\\";
    Written(range);
    const UserDp back = Read();
    EXPECT_EQ(back.Identifier, range.Identifier);
    EXPECT_EQ(back.Job, range.Job);
    EXPECT_EQ(back.Etalon, range.Etalon);
    EXPECT_EQ(back.Step, 125u);  // the lines after the quoted ones are read too
    EXPECT_EQ(back.Journal, 1);
}

TEST_F(RangeFile, FailedWriteReportsFalseAndKeepsTheOldFile) {
    WriteBytes(path, "old\r\n");
    UserDp range = Sample();
    range.FilePath = path;
    EXPECT_FALSE(WithFileSizeLimit(64, [&] { return range.WriteFile(); }));
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_THAT(dir.Entries(), ElementsAre("diap.cfg"));
}

}  // namespace
