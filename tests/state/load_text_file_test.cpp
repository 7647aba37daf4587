#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "state/fdx.h"
#include "tests/state/temp_dir.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Loads `bytes` as a stored file through FDX::LoadTextFile.
class LoadTextFile : public ::testing::Test {
  protected:
    bool Load(const std::string& bytes, std::size_t limit = kTextFileLimit) {
        fdx.LoadFileName = dir.File("file.cfg");
        WriteBytes(fdx.LoadFileName, bytes);
        return fdx.LoadTextFile(limit);
    }

    TempDir dir;
    FDX fdx;
};

TEST_F(LoadTextFile, FileOfExactlyTheLimitLoadsWhole) {
    const std::string longLine(kTextFileLimit - 3, 'a');
    ASSERT_TRUE(Load(longLine + "\r\nZ"));
    EXPECT_EQ(fdx.LoadedBytes, kTextFileLimit);
    ASSERT_EQ(fdx.Lines.size(), 2u);
    EXPECT_EQ(fdx.Lines[0], longLine);
    EXPECT_EQ(fdx.Lines[1], "Z");
}

TEST_F(LoadTextFile, FileOneByteOverTheLimitIsRefusedAndLeavesNoLines) {
    ASSERT_TRUE(Load("A=1\r\n"));
    ASSERT_EQ(fdx.Lines.size(), 1u);
    EXPECT_FALSE(Load(std::string(kTextFileLimit + 1, 'a')));
    EXPECT_THAT(fdx.Lines, IsEmpty());
}

TEST_F(LoadTextFile, CallerMayAllowLargerFiles) {
    const std::string big = std::string(kTextFileLimit, 'a') + "\nZ";
    ASSERT_TRUE(Load(big, 2 * kTextFileLimit));
    EXPECT_THAT(fdx.Lines, ElementsAre(std::string(kTextFileLimit, 'a'), "Z"));
    EXPECT_FALSE(Load("12345", 4));
}

TEST_F(LoadTextFile, EmptyFileLoadsWithNoLines) {
    ASSERT_TRUE(Load("A=1\r\n"));
    EXPECT_TRUE(Load(""));
    EXPECT_THAT(fdx.Lines, IsEmpty());
    EXPECT_EQ(fdx.LoadedBytes, 0u);
    EXPECT_EQ(fdx.LoadedText, "");
}

TEST_F(LoadTextFile, MissingFileOrFolderIsRefused) {
    fdx.LoadFileName = dir.File("absent.cfg");
    EXPECT_FALSE(fdx.LoadTextFile());
    fdx.LoadFileName = dir.path().string();
    EXPECT_FALSE(fdx.LoadTextFile());
    EXPECT_THAT(fdx.Lines, IsEmpty());
}

// How the bytes of a file become its lines, as the files have always been read.
TEST_F(LoadTextFile, SplitsLinesAndKeepsQuotedStretchesWhole) {
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"a run of line ends ends one line", "A\r\n\r\n\nB", {"A", "B"}},
        {"whatever its order", "\n\rA\rB\n\rC\r\n", {"A", "B", "C"}},
        {"a quoted stretch keeps its line ends", "K=\"a\r\nb\"\r\nN=1", {"K=a\r\nb", "N=1"}},
        {"an equals sign in quotes stays", "K='x=y'\r\nL=\"p=q\"", {"K=x=y", "L=p=q"}},
        {"backslash escapes only inside quotes",
         "K=\"a\\\"b\\\\c\\d\"\r\nL=a\\\"b\r\nM=\"it's\"",
         {"K=a\"b\\c\\d", "L=a\\\"b", "M=it's"}},
        {"a lone quote joins the lines after it",
         "A=\"x\r\nB=y\r\nC=z\r\n",
         {"A=x\r\nB=y\r\nC=z\r\n"}},
        {"up to the closing one", "A=\"x\r\nB=y\"\r\nC=z", {"A=x\r\nB=y", "C=z"}},
        {"a line of only quotes is dropped", "A\r\n\"\"\r\nB", {"A", "B"}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Load(c.bytes)) << c.what;
        EXPECT_EQ(fdx.Lines, c.lines) << c.what;
    }
}

// The reader of a file the program writes back learns that it was cut, so as not to take part
// of it for the whole.
TEST_F(LoadTextFile, NulByteEndsTheTextAndSaysSo) {
    const std::string bytes("A=1\r\nB=2\0C=3\r\nD=4\r\n", 19);
    ASSERT_TRUE(Load(bytes));
    EXPECT_THAT(fdx.Lines, ElementsAre("A=1", "B=2"));
    EXPECT_EQ(fdx.LoadedText, "A=1\r\nB=2");
    EXPECT_EQ(fdx.LoadedBytes, bytes.size());
    EXPECT_TRUE(fdx.CutAtNul);

    ASSERT_TRUE(Load("A=1\r\n"));
    EXPECT_FALSE(fdx.CutAtNul);
    ASSERT_TRUE(Load(std::string(3, '\0')));
    EXPECT_THAT(fdx.Lines, IsEmpty());
    EXPECT_TRUE(fdx.CutAtNul);
    EXPECT_FALSE(Load(std::string(kTextFileLimit + 1, '\0')));
    EXPECT_FALSE(fdx.CutAtNul);
}

TEST_F(LoadTextFile, Cp1251TextBecomesUtf8Lines) {
    // Идентификатор=Банк\r\nАтт=ДА
    ASSERT_TRUE(
        Load("\xC8\xE4\xE5\xED\xF2\xE8\xF4\xE8\xEA\xE0\xF2\xEE\xF0=\xC1\xE0\xED\xEA\r\n"
             "\xC0\xF2\xF2=\xC4\xC0"));
    EXPECT_THAT(fdx.Lines, ElementsAre("Идентификатор=Банк", "Атт=ДА"));
    EXPECT_EQ(fdx.LoadedText, "Идентификатор=Банк\r\nАтт=ДА");
    EXPECT_EQ(fdx.LoadedBytes, 26u);
}

}  // namespace
