#include "state/user_job.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "state/fdx.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

JobStr line(std::string dcl, uint32_t tab, uint32_t obj) {
    JobStr l;
    l.DCL = std::move(dcl);
    l.TAB = tab;
    l.OBJ = obj;
    return l;
}

class JobFile : public ::testing::Test {
  protected:
    // The job of the golden job.cfg: a line without VAL and STR, a frequency line, and a line with
    // every flag set.
    static UserJob Sample() {
        UserJob job;
        job.Identifier = "Ночной обход";
        job.Lines.push_back(line("Кнопка СТАРТ", 0, 5));
        JobStr frequency = line("Поле Частота-выбор", 10, 11);
        frequency.VAL = 1455000;
        frequency.COND = frequency.REQ = frequency.FREQ = 1;
        job.Lines.push_back(frequency);
        JobStr message = line("Сообщение", 4, 3);
        message.STR = "Конец связи";
        message.COND = message.GET = message.PUT = message.REQ = 1;
        message.STEP = message.FREQ = message.STRING = message.FILE = 1;
        job.Lines.push_back(message);
        return job;
    }

    UserJob Read() {
        UserJob job;
        EXPECT_TRUE(job.ReadFile(fdx, path));
        return job;
    }

    FixedStampClock clock;
    TempDir dir;
    FDX fdx;
    std::string path = dir.File("job.cfg");
};

TEST_F(JobFile, WritesLineFlagsInOrderAndLeavesOutEmptyValueAndText) {
    UserJob job = Sample();
    job.File = path;
    ASSERT_TRUE(job.WriteFile());
    EXPECT_EQ(ReadBytes(path), Golden("job.cfg"));
    EXPECT_EQ(job.Date, "07/03/2001");
    EXPECT_EQ(job.Time, "09:05");
}

TEST_F(JobFile, ReadsBackEveryLine) {
    WriteBytes(path, Golden("job.cfg"));
    const UserJob job = Read();
    EXPECT_EQ(job.Identifier, "Ночной обход");
    EXPECT_EQ(job.Date, "07/03/2001");
    EXPECT_EQ(job.Time, "09:05");
    EXPECT_EQ(job.Lines, Sample().Lines);
}

TEST_F(JobFile, MissingPanelReadsAsPanelFourAndOnlyOpenedLinesAreKept) {
    WriteBytes(path,
               StoredLines({"Кол-во=3", "STR_NO=0", "DCL=Пауза", "OBJ=2", "STR_NO=7", "TAB=1"}));
    const UserJob job = Read();
    ASSERT_THAT(job.Lines, SizeIs(2));
    EXPECT_EQ(job.Lines[0].TAB, 4u);
    EXPECT_EQ(job.Lines[0].OBJ, 2u);
    EXPECT_EQ(job.Lines[1].TAB, 1u);  // lines are taken in file order, whatever their number
}

// A count that disagrees with the lines drops none of them: the editor's save or a rename writes
// the job again.
TEST_F(JobFile, LineBeyondTheCountIsReadWhole) {
    WriteBytes(path, StoredLines({"Кол-во=1", "STR_NO=0", "DCL=Первая", "TAB=2", "STR_NO=1",
                                  "DCL=Вторая", "TAB=9", "COND=+", "Идентификатор=Обход"}));
    const UserJob job = Read();
    ASSERT_THAT(job.Lines, SizeIs(2));
    EXPECT_EQ(job.Lines[0].DCL, "Первая");
    EXPECT_EQ(job.Lines[0].TAB, 2u);
    EXPECT_EQ(job.Lines[0].COND, 0);
    EXPECT_EQ(job.Lines[1].DCL, "Вторая");
    EXPECT_EQ(job.Lines[1].TAB, 9u);
    EXPECT_EQ(job.Lines[1].COND, 1);
    EXPECT_EQ(job.Identifier, "Обход");
}

// The count line ends the line before it: its keys until the next "STR_NO" go nowhere.
TEST_F(JobFile, LinesBeforeTheCountAreReadToo) {
    WriteBytes(path,
               StoredLines({"STR_NO=0", "DCL=Рано", "Кол-во=1", "OBJ=9", "STR_NO=0", "OBJ=3"}));
    const UserJob job = Read();
    ASSERT_THAT(job.Lines, SizeIs(2));
    EXPECT_EQ(job.Lines[0].DCL, "Рано");
    EXPECT_EQ(job.Lines[0].OBJ, 0u);
    EXPECT_EQ(job.Lines[1].OBJ, 3u);
}

TEST_F(JobFile, LinesAreThoseTheFileHolds) {
    WriteBytes(path, StoredLines({"Кол-во=1000000000"}));
    EXPECT_EQ(Read().Lines.capacity(), 0u);
    for (const auto count : {"Кол-во=-5", "Кол-во=0"}) {
        WriteBytes(path, StoredLines({count, "STR_NO=0", "DCL=x"}));
        ASSERT_THAT(Read().Lines, SizeIs(1)) << count;
        EXPECT_EQ(Read().Lines[0].DCL, "x");
    }

    // A job longer than the editor holds keeps every line when it is written again.
    std::string bytes = StoredLines({"Кол-во=1200"});
    for (int i = 0; i < 1200; ++i) bytes += StoredLines({"STR_NO=0", "OBJ=" + std::to_string(i)});
    WriteBytes(path, bytes);
    UserJob job = Read();
    ASSERT_THAT(job.Lines, SizeIs(1200));
    job.File = path;
    ASSERT_TRUE(job.WriteFile());
    job = Read();
    ASSERT_THAT(job.Lines, SizeIs(1200));
    EXPECT_EQ(job.Lines.back().OBJ, 1199u);
}

TEST_F(JobFile, EmptyFileIsNotReadAndGivesTheDefaults) {
    WriteBytes(path, "");
    UserJob job = Sample();
    EXPECT_FALSE(job.ReadFile(fdx, path));
    EXPECT_EQ(job.Identifier, "Задание ???");
    EXPECT_EQ(job.Date, "00/00/00");
    EXPECT_EQ(job.Time, "00:00");
    EXPECT_THAT(job.Lines, IsEmpty());
}

TEST_F(JobFile, TextsWithQuotesAndEqualsSignsSurviveUnchanged) {
    const std::string name = "O'Brien = 1 \"x\"";
    UserJob job;
    job.Identifier = name;
    job.Lines.push_back(line(name, 4, 1));
    job.Lines[0].STR = name + ">>" + name;
    job.File = path;
    ASSERT_TRUE(job.WriteFile());
    const UserJob back = Read();
    EXPECT_EQ(back.Identifier, name);
    EXPECT_EQ(back.Lines, job.Lines);
}

TEST_F(JobFile, SaveMakesTheJobsFolderAndSetsItsPaths) {
    const std::string programDir = dir.path().string() + "/";
    std::filesystem::create_directory(dir.path() / "JOB");
    UserJob job = Sample();
    job.FolderName = "0002";
    ASSERT_TRUE(SaveJobFile(programDir, job));
    EXPECT_EQ(job.Directory, programDir + "JOB/0002/");
    EXPECT_EQ(job.File, programDir + "JOB/0002/job.cfg");
    EXPECT_EQ(ReadBytes(job.File), Golden("job.cfg"));
    // Saving again into the existing folder replaces the file.
    job.Lines.pop_back();
    ASSERT_TRUE(SaveJobFile(programDir, job));
    UserJob back;
    ASSERT_TRUE(back.ReadFile(fdx, job.File));
    EXPECT_THAT(back.Lines, SizeIs(2));
    EXPECT_THAT(dir.Entries("JOB/0002"), ElementsAre("job.cfg"));
}

TEST_F(JobFile, FailedSaveReturnsFalseAndKeepsTheOldFile) {
    const std::string programDir = dir.path().string() + "/";
    UserJob job = Sample();
    job.FolderName = "0001";
    EXPECT_FALSE(SaveJobFile(programDir, job));  // no JOB folder to make it in

    std::filesystem::create_directories(dir.path() / "JOB" / "0001");
    WriteBytes(programDir + "JOB/0001/job.cfg", "old\r\n");
    EXPECT_FALSE(WithFileSizeLimit(16, [&] { return SaveJobFile(programDir, job); }));
    EXPECT_EQ(ReadBytes(programDir + "JOB/0001/job.cfg"), "old\r\n");
    EXPECT_THAT(dir.Entries("JOB/0001"), ElementsAre("job.cfg"));
}

}  // namespace
