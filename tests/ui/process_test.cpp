#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/state/temp_dir.h"
#include "ui/process.h"

namespace {

using Words = std::vector<std::string>;

void WriteScript(const std::string& path, const std::string& body) {
    WriteBytes(path, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

TEST(RunProcess, GivesTheProgramsExitCode) {
    EXPECT_EQ(ui::RunProcess({"sh", "-c", "exit 3"}).exitCode, 3);
    const ui::ProcessResult ok = ui::RunProcess({"/bin/true"});
    EXPECT_TRUE(ok.started);
    EXPECT_EQ(ok.exitCode, 0);
    const ui::ProcessResult killed = ui::RunProcess({"sh", "-c", "kill -9 $$"});
    EXPECT_TRUE(killed.started);
    EXPECT_EQ(killed.exitCode, 128 + 9);
}

TEST(RunProcess, TellsAProgramThatCannotStartFromAnExitCode) {
    TempDir dir;
    WriteBytes(dir.File("data.txt"), "not a program");
    EXPECT_FALSE(ui::RunProcess({"orvel-no-such-program"}).started);
    EXPECT_FALSE(ui::RunProcess({dir.File("missing")}).started);
    EXPECT_FALSE(ui::RunProcess({dir.File("data.txt")}).started);
    EXPECT_FALSE(ui::RunProcess({"data.txt"}, dir.path().string()).started);
    EXPECT_FALSE(ui::RunProcess({}).started);
    EXPECT_TRUE(ui::RunProcess({"sh", "-c", "exit 99"}).started);
}

TEST(RunProcess, PassesShellCharactersThroughAsTheyAre) {
    TempDir dir;
    const Words tricky = {";", "|",  "$(touch made)", "`touch made`", ">", "two  words", "*",
                          "'", "\"", "&& exit 5"};
    Words command = {"sh", "-c", "printf '%s\\n' \"$@\" > \"$0\"", dir.File("argv")};
    command.insert(command.end(), tricky.begin(), tricky.end());
    const ui::ProcessResult result = ui::RunProcess(command, dir.path().string());
    EXPECT_EQ(result.exitCode, 0);
    std::string expected;
    for (const std::string& word : tricky) expected += word + "\n";
    EXPECT_EQ(ReadBytes(dir.File("argv")), expected);
    EXPECT_FALSE(std::filesystem::exists("made"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("made")));
}

TEST(RunProcess, FindsABareNameInTheProgramFolderBeforePath) {
    TempDir dir;
    WriteScript(dir.File("true"), "exit 7");  // shadows the system's true
    std::filesystem::create_directory(dir.File("tools"));
    WriteScript(dir.File("tools/probe"), "exit 8");
    const std::string folder = dir.path().string();
    EXPECT_EQ(ui::FindProgram("true", folder), dir.File("true"));
    EXPECT_EQ(ui::RunProcess({"true"}, folder).exitCode, 7);
    EXPECT_EQ(ui::RunProcess({"tools/probe"}, folder).exitCode, 8);
    EXPECT_EQ(ui::RunProcess({"true"}).exitCode, 0);  // no folder: along PATH
    EXPECT_EQ(ui::RunProcess({"sh", "-c", "exit 4"}, folder).exitCode, 4);
    EXPECT_EQ(ui::FindProgram("orvel-no-such-program", folder), "");
}

TEST(RunProcess, WaitingServesWhatIsPostedMeanwhile) {
    TempDir dir;
    const std::string flag = dir.File("flag");
    // The program ends with 0 only once the flag appears, and only work served during the
    // wait makes it.
    QMetaObject::invokeMethod(
        qApp, [&] { WriteBytes(flag, ""); }, Qt::QueuedConnection);
    const ui::ProcessResult result = ui::RunProcess(
        {"sh", "-c",
         "i=0; while [ ! -e \"$0\" ] && [ $i -lt 1000000 ]; do i=$((i+1)); done; [ -e \"$0\" ]",
         flag});
    EXPECT_EQ(result.exitCode, 0);
}

TEST(SplitCommandLine, BlanksSeparateWordsAndQuotesKeepThem) {
    const struct {
        const char* line;
        Words words;
    } cases[] = {
        {"player  -q\tmelody.wav ", {"player", "-q", "melody.wav"}},
        {R"("C:\My progs\x.exe" -f "a b")", {R"(C:\My progs\x.exe)", "-f", "a b"}},
        {R"(pre"fix mid"post "" x)", {"prefix midpost", "", "x"}},
        {R"(a "open to the end)", {"a", "open to the end"}},
        {" \t ", {}},
        // Single quotes as a shell takes them, with no escapes inside.
        {"sh -c 'exit 3'", {"sh", "-c", "exit 3"}},
        {R"(pre'fix mid'post '' 'C:\a b\' x)", {"prefix midpost", "", R"(C:\a b\)", "x"}},
        {"a 'open to the end", {"a", "open to the end"}},
        // Each kind of quote is a plain character inside the other.
        {R"("C:\Bob's progs\x.exe" '"a b"')", {R"(C:\Bob's progs\x.exe)", R"("a b")"}},
        // Backslashes escape nothing: a Windows path ending in one keeps its quote's end.
        {R"("C:\dir\" next \'x y\')", {R"(C:\dir\)", "next", R"(\x y\)"}},
        // Shell metacharacters are plain characters of their words.
        {"echo a;b|c $(x) > y `z` &", {"echo", "a;b|c", "$(x)", ">", "y", "`z`", "&"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ui::SplitCommandLine(c.line), c.words) << c.line;
}

}  // namespace
