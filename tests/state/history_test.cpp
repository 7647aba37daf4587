#include "state/history.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/fdx.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::IsEmpty;
using ::testing::SizeIs;

// The two main-window fields whose values are remembered.
constexpr uint32_t kMainPanel = 10;
constexpr uint32_t kFrequencyField = 11;
constexpr uint32_t kStepField = 12;

class HistoryFile : public ::testing::Test {
  protected:
    HistoryFile() { fdx.ProgramDir = dir.path().string() + "/"; }

    TempDir dir;
    FDX fdx;
};

TEST_F(HistoryFile, NamesFollowPanelAndObject) {
    EXPECT_EQ(HistoryFileName(fdx.ProgramDir, kMainPanel, kFrequencyField),
              fdx.ProgramDir + "010011.dat");
    EXPECT_EQ(HistoryFileName("/p/", kMainPanel, kStepField), "/p/010012.dat");
    EXPECT_EQ(HistoryFileName("/p/", 1234, 5), "/p/1234005.dat");
}

TEST_F(HistoryFile, StepsAreShownInKilohertz) {
    WriteBytes(fdx.ProgramDir + "010012.dat", "125\r\n2500\r\n");
    const auto entries = ReadHistoryEntries(fdx, kMainPanel, kStepField, false);
    ASSERT_THAT(entries, SizeIs(2));
    EXPECT_EQ(entries[0].Name, "12.5");
    EXPECT_EQ(entries[0].Value, 125u);
    EXPECT_EQ(entries[1].Name, "250.0");
    EXPECT_EQ(entries[1].Value, 2500u);
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.Panel, kMainPanel);
        EXPECT_EQ(entry.Object, kStepField);
        EXPECT_EQ(entry.REQ + entry.TakesValue + entry.Preset, 3);
        EXPECT_EQ(entry.FREQ + entry.STEP + entry.STRING, 0);
    }
}

TEST_F(HistoryFile, FrequenciesAreShownInMegahertz) {
    EXPECT_EQ(HistoryEntry(kMainPanel, kFrequencyField, 1455000, true).Name, "145.5000");
    EXPECT_EQ(HistoryEntry(kMainPanel, kFrequencyField, 125000, true).Name, " 12.5000");
    EXPECT_EQ(HistoryEntry(kMainPanel, kStepField, 5, false).Name, " 0.5");
}

TEST_F(HistoryFile, MissingFileGivesNoEntries) {
    EXPECT_THAT(ReadHistoryEntries(fdx, kMainPanel, kFrequencyField, true), IsEmpty());
}

TEST_F(HistoryFile, WrittenValuesReadBackInOrder) {
    const std::string path = HistoryFileName(fdx.ProgramDir, kMainPanel, kFrequencyField);
    const std::vector<uint32_t> values{1455000, 0, 4294967295u};
    ASSERT_TRUE(WriteHistoryFile(path, values));
    EXPECT_EQ(ReadBytes(path), "1455000\r\n0\r\n4294967295\r\n");
    std::vector<uint32_t> back;
    for (const auto& entry : ReadHistoryEntries(fdx, kMainPanel, kFrequencyField, true))
        back.push_back(entry.Value);
    EXPECT_EQ(back, values);
}

// A damaged line is a number the field cannot hold, or none: it reads as 0, never as the bits of
// it that fit ("99999999999" is no 121575.2191 MHz, "-5" no 429496.7291 MHz).
TEST_F(HistoryFile, ADamagedLineReadsAsNoNumber) {
    WriteBytes(fdx.ProgramDir + "010011.dat",
               StoredLines({"99999999999", "-5", "abc", "4294967296", "1455000", " +125x"}));
    EXPECT_EQ(ReadHistoryValues(fdx, kMainPanel, kFrequencyField),
              (std::vector<uint32_t>{0, 0, 0, 0, 1455000, 125}));
    const auto entries = ReadHistoryEntries(fdx, kMainPanel, kFrequencyField, true);
    ASSERT_THAT(entries, SizeIs(6));
    EXPECT_EQ(entries[0].Name, "  0.0000");
    EXPECT_EQ(entries[0].Value, 0u);
    EXPECT_EQ(entries[4].Name, "145.5000");
}

TEST_F(HistoryFile, FailedWriteKeepsTheOldList) {
    const std::string path = HistoryFileName(fdx.ProgramDir, kMainPanel, kStepField);
    WriteBytes(path, "125\r\n");
    const std::vector<uint32_t> values(100, 2500);
    EXPECT_FALSE(WithFileSizeLimit(8, [&] { return WriteHistoryFile(path, values); }));
    EXPECT_EQ(ReadBytes(path), "125\r\n");
}

}  // namespace
