#include "state/etl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "state/bank.h"
#include "state/fdx.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::Each;
using ::testing::ElementsAre;

void setPoints(std::vector<uint8_t>& cells, std::initializer_list<uint8_t> points) {
    std::copy(points.begin(), points.end(), cells.begin());
}

Etl sampleEtalon(const TempDir& dir) {
    Etl etl;
    etl.Identifier = "05-11-2001 09:07:03";
    etl.Name = "0001";
    etl.Folder = dir.path().string() + "/";
    etl.HeaderPath = etl.Folder + "0001.etl";
    etl.PointCount = 4001;
    etl.CycleCount = 12;
    return etl;
}

TEST(EtalonHeader, WritesGoldenBytesAndReadsThemBack) {
    FixedStampClock clock;
    TempDir dir;
    Etl etl = sampleEtalon(dir);
    ASSERT_TRUE(etl.WriteHeader());
    EXPECT_EQ(ReadBytes(etl.HeaderPath), Golden("etl_header.etl"));

    FDX fdx;
    Etl back;
    ASSERT_TRUE(back.ReadHeader(fdx, etl.HeaderPath));
    EXPECT_EQ(back.Identifier, etl.Identifier);
    EXPECT_EQ(back.Date, "07/03/2001");
    EXPECT_EQ(back.Time, "09:05");
    EXPECT_EQ(back.PointCount, 4001u);
    EXPECT_EQ(back.CycleCount, 12u);
}

TEST(EtalonHeader, PresetValuesWithoutLinesAndPointCountWithinTheSlot) {
    TempDir dir;
    FDX fdx;
    Etl etl;
    EXPECT_FALSE(etl.ReadHeader(fdx, dir.File("0001.etl")));
    EXPECT_EQ(etl.Identifier, "Измерения ?");
    EXPECT_EQ(etl.Date, "00/00/00");
    EXPECT_EQ(etl.Time, "00:00");

    WriteBytes(dir.File("0002.etl"), StoredLines({"Кол-во_точек=100000", "Кол-во_циклов="}));
    ASSERT_TRUE(etl.ReadHeader(fdx, dir.File("0002.etl")));
    EXPECT_EQ(etl.PointCount, kBankPoints);
    EXPECT_EQ(etl.CycleCount, 0u);
}

// A program state with range slot 3 in use, its etalon saved in a temporary folder.
class LoadScale : public ::testing::Test {
  protected:
    LoadScale() : etl(sampleEtalon(dir)) {
        fdx.ScanSlots.resize(kScanSlotCount);
        etl.PointCount = 5;
        slot().InUse = 1;
        slot().HasEtalon = 1;
        slot().EtalonRecord = &etl;
        slot().PointCount = 5;
        std::fill(slot().Etalon.begin(), slot().Etalon.end(), uint8_t{77});
    }
    Bank& slot() { return fdx.ScanSlots[3]; }
    std::vector<uint8_t> etalonHead() { return {slot().Etalon.begin(), slot().Etalon.begin() + 7}; }

    TempDir dir;
    FDX fdx;
    Etl etl;
};

TEST_F(LoadScale, SavedArraysLoadByEtalonKind) {
    setPoints(slot().Current, {1, 1, 2, 2, 2});
    setPoints(slot().Minimum, {3, 3, 3, 3, 3});
    setPoints(slot().Average, {4, 5, 6, 7, 8});
    setPoints(slot().Maximum, {9, 9, 9, 9, 10});
    setPoints(slot().Processed, {0, 0, 0, 0, 11});
    ASSERT_TRUE(WriteEtalonArrays(etl, slot()));
    EXPECT_EQ(ReadBytes(dir.File("0001.cur")), "FL=1\r\nFC=1\r\nFL=2\r\nFC=2\r\n");

    const struct {
        int32_t kind;
        std::vector<uint8_t> loaded;
    } kinds[] = {
        {0, {1, 1, 2, 2, 2, 77, 77}},  {1, {3, 3, 3, 3, 3, 77, 77}},  {2, {4, 5, 6, 7, 8, 77, 77}},
        {3, {9, 9, 9, 9, 10, 77, 77}}, {5, {0, 0, 0, 0, 11, 77, 77}},
    };
    for (const auto& kind : kinds) {
        fdx.EtalonKind = kind.kind;
        EXPECT_TRUE(fdx.LoadScale(3));
        EXPECT_EQ(etalonHead(), kind.loaded) << "kind " << kind.kind;
    }
}

TEST_F(LoadScale, EtalonKindLoadsNothingAndLeavesTheArray) {
    WriteBytes(dir.File("0001.cur"), "FL=1\r\n");
    for (const int32_t kind : {4, 6, -1}) {
        fdx.EtalonKind = kind;
        EXPECT_FALSE(fdx.LoadScale(3));
        EXPECT_THAT(slot().Etalon, Each(77));
    }
}

TEST_F(LoadScale, SlotWithoutARangeOrAnEtalonIsRefused) {
    fdx.EtalonKind = 0;
    WriteBytes(dir.File("0001.cur"), "FL=1\r\n");
    EXPECT_FALSE(fdx.LoadScale(-1));
    EXPECT_FALSE(fdx.LoadScale(static_cast<int32_t>(kScanSlotCount)));
    slot().HasEtalon = 0;
    EXPECT_FALSE(fdx.LoadScale(3));
    slot().HasEtalon = 1;
    slot().InUse = 0;
    EXPECT_FALSE(fdx.LoadScale(3));
    EXPECT_THAT(slot().Etalon, Each(77));
}

TEST_F(LoadScale, MissingFileClearsTheEtalonsPoints) {
    fdx.EtalonKind = 3;
    EXPECT_TRUE(fdx.LoadScale(3));
    EXPECT_THAT(etalonHead(), ElementsAre(0, 0, 0, 0, 0, 77, 77));
}

TEST_F(LoadScale, FileIsDecodedOnlyOverTheEtalonsPoints) {
    fdx.EtalonKind = 1;
    WriteBytes(dir.File("0001.min"), "FL=8\r\nFC=100\r\n");
    EXPECT_TRUE(fdx.LoadScale(3));
    EXPECT_THAT(etalonHead(), ElementsAre(8, 8, 8, 8, 8, 77, 77));
}

TEST_F(LoadScale, FullRangeOfAlternatingLevelsLoadsWhole) {
    etl.PointCount = kBankPoints;
    slot().PointCount = kBankPoints;
    for (std::size_t i = 0; i < kBankPoints; ++i) slot().Maximum[i] = i % 2 ? 200 : 201;
    ASSERT_TRUE(WriteEtalonArrays(etl, slot()));
    fdx.EtalonKind = 3;
    EXPECT_TRUE(fdx.LoadScale(3));
    EXPECT_EQ(slot().Etalon, slot().Maximum);
}

TEST(EtalonArrays, UnwritableFileFailsButTheOthersAreWritten) {
    TempDir dir;
    Etl etl = sampleEtalon(dir);
    Bank slot;
    slot.PointCount = 2;
    // A folder in the place of the ".min" file cannot be replaced by a file.
    std::filesystem::create_directories(dir.path() / "0001.min" / "inside");
    EXPECT_FALSE(WriteEtalonArrays(etl, slot));
    for (const char* name : {"0001.cur", "0001.sum", "0001.max", "0001.obr"})
        EXPECT_EQ(ReadBytes(dir.File(name)), "FL=0\r\nFC=1\r\n") << name;
}

}  // namespace
