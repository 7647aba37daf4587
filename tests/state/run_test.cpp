#include "state/run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "state/fdx.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::ElementsAre;

TEST(RunFile, WritesGoldenBytesAndReadsBackStartAndEnd) {
    FixedStampClock clock;
    TempDir dir;
    ::Run run;
    run.Identifier = "Запуск 1";
    run.File = dir.File("0001.run");
    run.Start = {5, 11, 2001, 9, 7, 3};
    run.End = {6, 11, 2001, 10, 0, 0};
    ASSERT_TRUE(run.WriteFile());
    EXPECT_EQ(ReadBytes(run.File), Golden("job_run.run"));

    FDX fdx;
    ::Run back;
    ASSERT_TRUE(back.ReadFile(fdx, run.File));
    EXPECT_EQ(back.Identifier, "Запуск 1");
    EXPECT_EQ(back.Date, "07/03/2001");
    EXPECT_EQ(back.Time, "09:05");
    EXPECT_THAT(back.Start, ElementsAre(5, 11, 2001, 9, 7, 3));
    EXPECT_THAT(back.End, ElementsAre(6, 11, 2001, 10, 0, 0));
}

TEST(RunFile, PartsAreCutAtTheirPlacesAndMissingFileGivesDefaults) {
    TempDir dir;
    FDX fdx;
    ::Run run;
    EXPECT_FALSE(run.ReadFile(fdx, dir.File("0001.run")));
    EXPECT_EQ(run.Identifier, "Запуск ???");
    EXPECT_EQ(run.Date, "00/00/00");
    EXPECT_EQ(run.Time, "00:00");

    WriteBytes(dir.File("0002.run"),
               StoredLines({"Дата_начала=05.11.2001", "Время_начала=09:07", "Дата_конца=31/12"}));
    ASSERT_TRUE(run.ReadFile(fdx, dir.File("0002.run")));
    EXPECT_THAT(run.Start, ElementsAre(5, 11, 2001, 9, 7, 0));
    EXPECT_THAT(run.End, ElementsAre(31, 12, 0, 0, 0, 0));
}

}  // namespace
