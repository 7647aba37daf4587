#include "state/moment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "state/fdx.h"
#include "state/run.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(MomentLines, PartsThatAreNoNumberInTheirRangeKeepTheRecordsValue) {
    const Moment before = {7, 7, 1999, 7, 7, 7};
    Moment start = before;
    Moment end = before;
    ASSERT_TRUE(ReadMomentLine({"Дата_начала", "01/-2/2000"}, start, end));
    ASSERT_TRUE(ReadMomentLine({"Время_начала", "24:60:-0"}, start, end));
    EXPECT_THAT(start, ElementsAre(1, 7, 2000, 7, 7, 7));

    ReadMomentLine({"Дата_конца", "32/13/x999"}, start, end);
    EXPECT_EQ(end, before);
    ReadMomentLine({"Время_конца", "23:59"}, start, end);  // the seconds are missing
    EXPECT_THAT(end, ElementsAre(7, 7, 1999, 23, 59, 7));
    // Zeros are what an unset moment is written as.
    ReadMomentLine({"Дата_конца", "00/00/0000"}, start, end);
    ReadMomentLine({"Время_конца", "00:00:00"}, start, end);
    EXPECT_THAT(end, ElementsAre(0, 0, 0, 0, 0, 0));
}

TEST(MomentLines, ARunWithANegativePartIsWrittenBackWithTheSameLength) {
    TempDir dir;
    FDX fdx;
    ::Run run;
    run.File = dir.File("0001.run");
    WriteBytes(run.File, StoredLines({"Дата_начала=01/-2/2000", "Время_конца=-1:05:06"}));
    ASSERT_TRUE(run.ReadFile(fdx, run.File));
    ASSERT_TRUE(run.WriteFile());
    const std::string written = Cp1251ToUtf8(ReadBytes(run.File));
    EXPECT_THAT(written, HasSubstr("Дата_начала=01/00/2000\r\n"));
    EXPECT_THAT(written, HasSubstr("Время_конца=00:05:06\r\n"));
}

}  // namespace
