#include "state/text_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/state/record_files.h"
#include "tests/state/temp_dir.h"
#include "tests/support/ended_process.h"

namespace {

using ::testing::ElementsAre;

std::string golden(const std::string& name) {
    return ReadBytes(std::string(ORVEL_STATE_GOLDEN_DIR) + "/" + name);
}

TextFileWriter bankHeader() {
    TextFileWriter writer;
    writer.KeyValue("Идентификатор", "Группа частот 1");
    writer.KeyValue("Fн", "688000");
    writer.KeyValue("Опрос", "5");
    writer.KeyValue("Дата", "01/02/2000");
    writer.KeyValue("Время", "12:30");
    writer.KeyValue("Задание", "Ночной обход");
    writer.KeyValue("Кол-во", "1");
    writer.Line("F=1234500");
    writer.Line("F_ATT=+");
    writer.KeyValue("F_MOD", "W");
    return writer;
}

TEST(TextFileWriter, WritesCp1251LinesEndedByCrLf) {
    TempDir dir;
    ASSERT_TRUE(bankHeader().Save(dir.File("freq.cfg")));
    EXPECT_EQ(ReadBytes(dir.File("freq.cfg")), golden("bank_header.cfg"));
    EXPECT_THAT(dir.Entries(), ElementsAre("freq.cfg"));
}

TEST(TextFileWriter, ReplacesExistingFileWhole) {
    TempDir dir;
    const std::string path = dir.File("diap.cfg");
    WriteBytes(path, std::string(4096, 'x'));
    TextFileWriter writer;
    writer.KeyValue("Шаг", "250");
    ASSERT_TRUE(writer.Save(path));
    EXPECT_EQ(ReadBytes(path), "\xD8\xE0\xE3=250\r\n");
    EXPECT_THAT(dir.Entries(), ElementsAre("diap.cfg"));
}

// Saves with writes limited to `limit` bytes a file, as a full disk would stop them.
bool saveUnderSizeLimit(const TextFileWriter& writer, const std::string& path, rlim_t limit) {
    rlimit saved{};
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = limit;
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    const bool limited = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    EXPECT_TRUE(limited);
    const bool savedOk = !limited || writer.Save(path);  // an unlimited save proves nothing
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previousHandler);
    return savedOk;
}

// A stored file holding a NUL byte was read only up to it: a save copies it aside whole rather
// than write over what the program never read, and fails rather than lose it. The file keeps
// its name until the new one takes it, so a save cut between the two leaves it there.
TEST(TextFileWriter, AFileHoldingANulByteIsCopiedAsideRatherThanReplaced) {
    TempDir dir;
    const std::string path = dir.File("freq.cfg");
    const std::string damaged = StoredLines({"Кол-во=3", "F=1"}) + '\0' + StoredLines({"F=2"});
    WriteBytes(path, damaged);
    std::vector<std::string> told;
    SetKeptBesideNotice(
        [&told](const std::string&, const std::string& aside) { told.push_back(aside); });
    TextFileWriter large;
    for (int i = 0; i < 100; ++i) large.KeyValue("F", std::to_string(i));
    EXPECT_FALSE(saveUnderSizeLimit(large, path, 256));
    EXPECT_EQ(ReadBytes(path), damaged);
    EXPECT_THAT(dir.Entries(), ElementsAre("freq.cfg"));  // neither copy nor temporary stays
    TextFileWriter writer;
    writer.Line("Кол-во=1");
    const bool saved = writer.Save(path);
    SetKeptBesideNotice(nullptr);
    ASSERT_TRUE(saved);
    EXPECT_EQ(ReadBytes(path), StoredLines({"Кол-во=1"}));
    EXPECT_EQ(ReadBytes(path + ".не_прочитан"), damaged);
    EXPECT_THAT(told, ElementsAre(path + ".не_прочитан"));  // the failed save told nothing

    // A whole file is replaced as ever, nothing set beside it.
    ASSERT_TRUE(writer.Save(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".не_прочитан2"));

    // With every name to set it aside under taken, the damaged file stays and the save fails.
    WriteBytes(path, damaged);
    for (const char* n : {"", "2", "3", "4", "5", "6", "7", "8", "9", "10"})
        WriteBytes(path + ".не_прочитан" + n, "x");
    EXPECT_FALSE(writer.Save(path));
    EXPECT_EQ(ReadBytes(path), damaged);
    EXPECT_EQ(dir.Entries().size(), 11u);  // no temporary left
}

TEST(TextFileWriter, MissingFolderFailsAndCreatesNothing) {
    TempDir dir;
    EXPECT_FALSE(bankHeader().Save(dir.File("FREQ/0001/freq.cfg")));
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(TextFileWriter, FailedRenameLeavesNoTemporary) {
    TempDir dir;
    // A folder that is not empty cannot be replaced by a file, whoever runs the test.
    std::filesystem::create_directories(dir.path() / "freq.cfg" / "inside");
    EXPECT_FALSE(bankHeader().Save(dir.File("freq.cfg")));
    EXPECT_THAT(dir.Entries(), ElementsAre("freq.cfg"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "freq.cfg" / "inside"));
}

TEST(TextFileWriter, FailedWriteKeepsOldFileAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.File("job.cfg");
    WriteBytes(path, "old\r\n");
    TextFileWriter writer;
    for (int i = 0; i < 1000; ++i) writer.KeyValue("Строка", std::to_string(i));

    // A file size limit below the content makes the write itself fail, as a full disk would.
    EXPECT_FALSE(saveUnderSizeLimit(writer, path, 1024));
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_THAT(dir.Entries(), ElementsAre("job.cfg"));
}

// Bytes as they are (a printout), whole or not at all; a file already at a name that must not
// be replaced stays, and the failure says the name is taken.
TEST(SaveFileWhole, WritesBytesAsTheyAreAndReplacesOnlyWhenAsked) {
    TempDir dir;
    const std::string path = dir.File("report.pdf");
    const std::string pdf("%PDF-1.4\r\n\0\xff", 12);
    ASSERT_TRUE(SaveFileWhole(path, pdf, false));
    EXPECT_EQ(ReadBytes(path), pdf);
    errno = 0;
    EXPECT_FALSE(SaveFileWhole(path, "another", false));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadBytes(path), pdf);
    EXPECT_TRUE(SaveFileWhole(path, "another"));
    EXPECT_EQ(ReadBytes(path), "another");
    EXPECT_THAT(dir.Entries(), ::testing::ElementsAre("report.pdf"));
}

TEST(StaleTemporaries, ThoseOfEndedProcessesGoFromTheProgramAndItemFoldersOnly) {
    TempDir dir;
    const std::string ended = ".tmp" + std::to_string(EndedProcessId());
    const std::string own = ".tmp" + std::to_string(::getpid());
    const std::vector<std::string> removed = {"ORVEL.CFG" + ended + "_0",
                                              "FREQ/0001/freq.cfg" + ended + "_1",
                                              "DP/diap.cfg" + ended + "_2"};
    const std::vector<std::string> kept = {
        "ORVEL.CFG",
        "ORVEL.INI" + own + "_3",  // a save of this process may be under way
        "IC8500.001.tmp1_4",       // the system's first process runs
        "notes" + ended,
        "notes" + ended + "_",
        "notes.tmp_5",
        "OTHER/x.cfg" + ended + "_6",          // not a data folder
        "FREQ/0001/old/x.cfg" + ended + "_7",  // below an item's folder
    };
    for (const auto& names : {removed, kept}) {
        for (const auto& name : names) {
            std::filesystem::create_directories(
                std::filesystem::path(dir.File(name)).parent_path());
            WriteBytes(dir.File(name), "x");
        }
    }
    std::filesystem::create_directory(dir.File("DP/0001" + ended + "_8"));

    const char* const folders[] = {"FREQ", "DP"};
    RemoveStaleTemporaries(dir.path().string() + "/", folders);
    for (const auto& name : removed) EXPECT_FALSE(std::filesystem::exists(dir.File(name))) << name;
    for (const auto& name : kept) EXPECT_TRUE(std::filesystem::exists(dir.File(name))) << name;
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("DP/0001" + ended + "_8")));
}

}  // namespace

namespace {

// A disk that takes part of the line: the file goes back to what it was, so that the next line
// appended does not run into a cut one.
TEST(AppendLine, ALineCutByAFullDiskIsTakenBackWhole) {
    TempDir dir;
    const std::string path = dir.File("FIELD000.tag");
    WriteBytes(path, "old\r\n");
    EXPECT_FALSE(WithFileSizeLimit(8, [&] { return AppendLine(path, "Длинное значение"); }));
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    ASSERT_TRUE(AppendLine(path, "ab"));
    EXPECT_EQ(ReadBytes(path), "old\r\nab\r\n");
}

}  // namespace
