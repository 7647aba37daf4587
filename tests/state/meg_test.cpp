#include "state/meg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/fdx.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;

// A bank's channels with their measurement arrays, as the bank scan holds them. The arrays keep
// their length, so that the views stay on them.
struct Channels {
    Channels(const std::vector<uint32_t>& frequencies, std::vector<std::vector<uint8_t>> arrays)
        : levels(std::move(arrays)) {
        for (std::size_t i = 0; i < frequencies.size(); ++i)
            views.push_back({frequencies[i], levels[i]});
    }
    Channels(const std::vector<uint32_t>& frequencies, std::size_t capacity, uint8_t level = 0)
        : Channels(frequencies,
                   std::vector(frequencies.size(), std::vector<uint8_t>(capacity, level))) {}
    Channels(const Channels&) = delete;
    Channels& operator=(const Channels&) = delete;

    std::vector<std::vector<uint8_t>> levels;
    std::vector<MeasuredChannel> views;
};

Meg sampleSet(const std::string& path) {
    Meg meg;
    meg.Identifier = "28-02-2000 23:59:30";
    meg.Name = "0001";
    meg.HeaderPath = path;
    meg.FrequencyCount = 3;
    meg.MeasurementCount = 120;
    meg.Start = {28, 2, 2000, 23, 59, 30};
    meg.End = {29, 2, 2000, 0, 9, 25};
    return meg;
}

TEST(MeasurementSetHeader, WritesGoldenBytesAndReadsThemBack) {
    FixedStampClock clock;
    TempDir dir;
    Meg meg = sampleSet(dir.File("0001.etl"));
    ASSERT_TRUE(meg.WriteHeader());
    EXPECT_EQ(meg.Date, "07/03/2001");
    EXPECT_EQ(meg.Time, "09:05");
    EXPECT_EQ(ReadBytes(meg.HeaderPath), Golden("meg_header.etl"));

    FDX fdx;
    Meg back;
    ASSERT_TRUE(back.ReadHeader(fdx, meg.HeaderPath));
    EXPECT_EQ(back.Identifier, meg.Identifier);
    EXPECT_EQ(back.Date, "07/03/2001");
    EXPECT_EQ(back.Time, "09:05");
    EXPECT_EQ(back.FrequencyCount, 3u);
    EXPECT_EQ(back.MeasurementCount, 120u);
    EXPECT_EQ(back.Start, meg.Start);
    EXPECT_EQ(back.End, meg.End);
}

TEST(MeasurementSetHeader, EmptyOrMissingFileKeepsThePresetValues) {
    TempDir dir;
    FDX fdx;
    Meg meg;
    meg.Start = {1, 2, 2003, 4, 5, 6};
    WriteBytes(dir.File("0002.etl"), "");
    EXPECT_FALSE(meg.ReadHeader(fdx, dir.File("0002.etl")));
    EXPECT_EQ(meg.Identifier, "Измерения ?");
    EXPECT_EQ(meg.Date, "00/00/00");
    EXPECT_EQ(meg.Time, "00:00");
    EXPECT_EQ(meg.MeasurementCount, 0u);
    EXPECT_FALSE(meg.ReadHeader(fdx, dir.File("0003.etl")));
    EXPECT_EQ(meg.Start, (Moment{1, 2, 2003, 4, 5, 6}));
}

TEST(MeasurementSetHeader, CountsStayWithinWhatABankScanMakes) {
    TempDir dir;
    FDX fdx;
    WriteBytes(dir.File("0001.etl"),
               StoredLines({"Кол-во_частот=5000", "Кол-во_измерений=999999999", "Дата_начала=7/"}));
    Meg meg;
    ASSERT_TRUE(meg.ReadHeader(fdx, dir.File("0001.etl")));
    EXPECT_EQ(meg.FrequencyCount, kMaxBankChannels);
    EXPECT_EQ(meg.MeasurementCount, kMaxMeasurements);
    EXPECT_THAT(meg.Start, ElementsAre(7, 0, 0, 0, 0, 0));
}

TEST(MeasurementLevels, WritesEachChannelsFrequencyAndItsMeasurements) {
    TempDir dir;
    Channels bank({1455000, 0}, {{5, 5, 5, 9, 1, 1}, {7, 7, 7, 7, 2, 3}});
    ASSERT_TRUE(WriteMeasurementLevels(dir.File("0001.meg"), bank.views, 4));
    EXPECT_EQ(ReadBytes(dir.File("0001.meg")),
              "F=1455000\r\nFL=5\r\nFC=2\r\nFL=9\r\nF=0\r\nFL=7\r\nFC=3\r\n");
}

TEST(MeasurementLevels, ThousandChannelsWithALongSeriesReloadEveryLevel) {
    constexpr std::size_t kMeasurements = 300;
    std::vector<uint32_t> frequencies;
    for (uint32_t i = 0; i < kMaxBankChannels; ++i) frequencies.push_back(1000000 + 250 * i);
    std::vector<std::vector<uint8_t>> levels(frequencies.size());
    for (std::size_t c = 0; c < levels.size(); ++c)
        for (std::size_t m = 0; m < kMeasurements; ++m)
            levels[c].push_back(static_cast<uint8_t>((c * 7 + m * 13 + m / 3) % 256));
    Channels saved(frequencies, std::move(levels));

    TempDir dir;
    const std::string path = dir.File("0001.meg");
    ASSERT_TRUE(WriteMeasurementLevels(path, saved.views, kMeasurements));
    ASSERT_GT(ReadBytes(path).size(), kTextFileLimit);

    FDX fdx;
    Channels loaded(frequencies, kMeasurements);
    ASSERT_TRUE(LoadMeasurementLevels(fdx, path, loaded.views));
    EXPECT_EQ(loaded.levels, saved.levels);
}

TEST(MeasurementLevels, DuplicateFrequenciesReloadChannelByChannel) {
    TempDir dir;
    const std::string path = dir.File("0001.meg");
    Channels saved({1455000, 1000000, 1455000}, {{1, 1, 1}, {2, 2, 2}, {3, 4, 5}});
    ASSERT_TRUE(WriteMeasurementLevels(path, saved.views, 3));

    FDX fdx;
    Channels loaded({1455000, 1000000, 1455000}, 3);
    ASSERT_TRUE(LoadMeasurementLevels(fdx, path, loaded.views));
    EXPECT_EQ(loaded.levels, saved.levels);
}

TEST(MeasurementLevels, BlocksWithoutAChannelAreSkippedAndTheRestStillParse) {
    TempDir dir;
    const std::string path = dir.File("0001.meg");
    WriteBytes(path,
               "FL=9\r\n"                        // before any frequency
               "F=1000000\r\nFL=1\r\nFC=99\r\n"  // more cells than the array holds
               "F=777\r\nFL=2\r\nFC=3\r\n"       // a frequency the bank lacks
               "F=1000000\r\nFL=3\r\n"           // the frequency once more than the bank has it
               "F=1455000\r\nFL=4\r\nFL=6\r\n");
    FDX fdx;
    Channels loaded({1455000, 1000000}, 3, 77);
    ASSERT_TRUE(LoadMeasurementLevels(fdx, path, loaded.views));
    EXPECT_THAT(loaded.levels[0], ElementsAre(4, 6, 0));
    EXPECT_THAT(loaded.levels[1], Each(1));
}

TEST(MeasurementLevels, MissingFileClearsTheArrays) {
    TempDir dir;
    FDX fdx;
    Channels loaded({1455000}, 4, 50);
    EXPECT_FALSE(LoadMeasurementLevels(fdx, dir.File("0009.meg"), loaded.views));
    EXPECT_THAT(loaded.levels[0], Each(0));
}

}  // namespace
