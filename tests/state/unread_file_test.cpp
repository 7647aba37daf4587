// A stored file that is there but too large to read: moved aside before any save can replace it,
// and the operator told where.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "state/fdx.h"
#include "state/text_file.h"
#include "tests/state/record_files.h"
#include "tests/state/temp_dir.h"
#include "tests/support/read_only_folder.h"

namespace {

constexpr std::size_t kStateLimit = 16 * 1024 * 1024;

class UnreadFiles : public ::testing::Test {
  protected:
    UnreadFiles() {
        fdx.ProgramDir = dir.path().string() + "/";
        fdx.MessageBox = [this](const FDX&, const MessageRequest& request) {
            shown.push_back(request);
            return true;
        };
    }
    // A file of `size` bytes that no read takes whole (NUL bytes after its first line).
    std::string Big(const std::string& name, std::size_t size) {
        WriteBytes(dir.File(name), "Банк=Посты\r\n");
        std::filesystem::resize_file(dir.File(name), size);
        return dir.File(name);
    }

    TempDir dir;
    FDX fdx;
    std::vector<MessageRequest> shown;
};

TEST_F(UnreadFiles, OneTooLargeIsMovedAsideWholeAndTheOperatorToldWhereWithoutWaiting) {
    const std::string cfg = Big("ORVEL.CFG", kTextFileLimit + 1);
    fdx.LoadFileName = cfg;
    ASSERT_FALSE(fdx.LoadTextFile());
    EXPECT_TRUE(fdx.SetAsideUnreadFile(cfg));
    EXPECT_FALSE(std::filesystem::exists(cfg));
    EXPECT_EQ(std::filesystem::file_size(cfg + ".не_прочитан"), kTextFileLimit + 1);
    EXPECT_TRUE(ReadBytes(cfg + ".не_прочитан").starts_with("Банк=Посты\r\n"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "Файл ORVEL.CFG больше 500 Кб и не прочитан: приняты значения по умолчанию. "
              "Файл сохранен как ORVEL.CFG.не_прочитан");
    EXPECT_FALSE(shown[0].waits);
    EXPECT_FALSE(fdx.KeepsUnread(cfg));

    // One set aside earlier stays as it is.
    Big("ORVEL.CFG", kTextFileLimit + 2);
    EXPECT_TRUE(fdx.SetAsideUnreadFile(cfg));
    EXPECT_EQ(std::filesystem::file_size(cfg + ".не_прочитан"), kTextFileLimit + 1);
    EXPECT_EQ(std::filesystem::file_size(cfg + ".не_прочитан2"), kTextFileLimit + 2);
    EXPECT_EQ(shown.back().text.substr(shown.back().text.rfind(' ') + 1), "ORVEL.CFG.не_прочитан2");

    // A receiver's state file has a limit of its own.
    const std::string state = Big("IC8500.001", kStateLimit + 1);
    EXPECT_TRUE(fdx.SetAsideUnreadFile(state, kStateLimit));
    EXPECT_EQ(shown.back().text,
              "Файл IC8500.001 больше 16 Мб и не прочитан: приняты значения по умолчанию. "
              "Файл сохранен как IC8500.001.не_прочитан");
}

TEST_F(UnreadFiles, OneThatReadsOrIsNotThereIsLeftAlone) {
    // Over the limit of other files, within a state file's, and without a NUL byte.
    const std::string state = dir.File("IC8500.001");
    WriteBytes(state, StoredLines({"Банк=Посты"}) + std::string(kTextFileLimit, 'x'));
    EXPECT_FALSE(fdx.SetAsideUnreadFile(state, kStateLimit));
    EXPECT_TRUE(std::filesystem::exists(state));
    EXPECT_FALSE(fdx.SetAsideUnreadFile(dir.File("ORVEL.INI")));
    std::filesystem::create_directory(dir.File("ORVEL.CFG"));  // no file at all
    EXPECT_FALSE(fdx.SetAsideUnreadFile(dir.File("ORVEL.CFG")));
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(fdx.UnreadFiles.empty());
}

// A file whose text stops at a NUL byte would lose all after it at the next save: it is set aside
// whole as one too large is, and the notice says why.
TEST_F(UnreadFiles, OneHoldingANulByteIsMovedAsideWholeAndTheNoticeSaysWhy) {
    const std::string bytes = StoredLines({"Банк=Посты", "Частот_Банков=95"}) + '\0' +
                              StoredLines({"F=1455000", "F_MOD=F"});
    for (const char* name : {"ORVEL.CFG", "AR8000.001"}) {
        WriteBytes(dir.File(name), bytes);
        fdx.LoadFileName = dir.File(name);
        ASSERT_TRUE(fdx.LoadTextFile());
        ASSERT_TRUE(fdx.CutAtNul);
        EXPECT_TRUE(fdx.SetAsideUnreadFile(dir.File(name), kStateLimit));
        EXPECT_FALSE(std::filesystem::exists(dir.File(name)));
        EXPECT_EQ(ReadBytes(dir.File(name) + ".не_прочитан"), bytes);
        EXPECT_EQ(shown.back().text, "Файл " + std::string(name) +
                                         " содержит нулевой байт и не прочитан: приняты значения "
                                         "по умолчанию. Файл сохранен как " +
                                         name + ".не_прочитан");
        EXPECT_FALSE(shown.back().waits);
    }
    // Nothing but NUL bytes (a file a crash left unwritten) has no line at all.
    WriteBytes(dir.File("IC75.001"), std::string(4096, '\0'));
    EXPECT_TRUE(fdx.SetAsideUnreadFile(dir.File("IC75.001"), kStateLimit));
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_TRUE(HoldsNulByte(dir.File("IC75.001.не_прочитан")));
    EXPECT_FALSE(HoldsNulByte(dir.File("IC75.001")));
    EXPECT_FALSE(HoldsNulByte(dir.path().string()));
}

// A file that cannot be moved stays where it is, and the saves are told to leave it.
TEST_F(UnreadFiles, OneThatCannotBeMovedIsKeptFromTheSaves) {
    const std::string ini = Big("ORVEL.INI", kTextFileLimit + 1);
    {
        const ReadOnlyFolder readOnly(dir.path().string());
        EXPECT_TRUE(fdx.SetAsideUnreadFile(ini));
    }
    EXPECT_EQ(std::filesystem::file_size(ini), kTextFileLimit + 1);
    EXPECT_TRUE(fdx.KeepsUnread(ini));
    EXPECT_FALSE(fdx.KeepsUnread(dir.File("ORVEL.CFG")));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "Файл ORVEL.INI больше 500 Кб и не прочитан: приняты значения по умолчанию. "
              "Переименовать его не удалось: при выходе он не будет перезаписан");
}

}  // namespace
