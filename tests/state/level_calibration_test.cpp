#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

#include "state/fdx.h"

namespace {

using Table = std::array<int32_t, 17>;

// A calibration rising evenly from `bottom` by `span` tenths of dB.
Table linearTable(int32_t bottom, int32_t span) {
    Table table{};
    for (int k = 0; k < 17; ++k) table[k] = bottom + span * k / 16;
    return table;
}

int32_t gridStepFor(int32_t span) {
    FDX fdx;
    fdx.Calibration = linearTable(0, span);
    fdx.BuildLevelTable();
    return fdx.LevelGrid[1] - fdx.LevelGrid[0];
}

TEST(LevelCalibration, StartUpTableIsEightDbPerSixteenLevels) {
    const FDX fdx;
    EXPECT_EQ(fdx.Calibration, linearTable(0, 1280));
    EXPECT_EQ(fdx.LevelToDb(0), 0);
    EXPECT_EQ(fdx.LevelToDb(8), 40);
    EXPECT_EQ(fdx.LevelToDb(16), 80);
    EXPECT_EQ(fdx.LevelToDb(255), 1275);
    EXPECT_EQ(fdx.LevelToDb(256), 1275);
    EXPECT_EQ(fdx.LevelToDb(std::numeric_limits<uint32_t>::max()), 1275);
}

TEST(LevelCalibration, DbToLevelInvertsTheTable) {
    const FDX fdx;
    EXPECT_EQ(fdx.DbToLevel(1275), 255u);
    EXPECT_EQ(fdx.DbToLevel(80), 16u);
    for (uint32_t raw = 0; raw < 256; ++raw) EXPECT_EQ(fdx.DbToLevel(fdx.LevelToDb(raw)), raw);
}

TEST(LevelCalibration, DbOutsideTheTableGivesZero) {
    FDX fdx;
    EXPECT_EQ(fdx.DbToLevel(-1), 0u);
    EXPECT_EQ(fdx.DbToLevel(1280), 0u);  // the top point belongs to raw level 256
    EXPECT_EQ(fdx.DbToLevel(std::numeric_limits<int32_t>::min()), 0u);
    fdx.Calibration = Table{};  // flat: no segment rises
    EXPECT_EQ(fdx.DbToLevel(0), 0u);
}

TEST(LevelCalibration, ExtremeTableDoesNotOverflow) {
    FDX fdx;
    fdx.Calibration.fill(std::numeric_limits<int32_t>::max());
    fdx.Calibration[0] = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(fdx.LevelToDb(0), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(fdx.LevelToDb(255), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(fdx.DbToLevel(0), 8u);
}

TEST(LevelGrid, StartUpTableGetsStepOf20Db) {
    const FDX fdx;  // the constructor builds the axis of the start-up table
    for (int j = 0; j < 9; ++j) EXPECT_EQ(fdx.LevelGrid[j], 200 * j);
}

TEST(LevelGrid, StepCoversTheSpanInEightIntervals) {
    EXPECT_EQ(gridStepFor(449), 50);
    EXPECT_EQ(gridStepFor(450), 100);
    EXPECT_EQ(gridStepFor(1799), 200);
    EXPECT_EQ(gridStepFor(1800), 400);
    EXPECT_EQ(gridStepFor(100000), 400);
}

TEST(LevelGrid, FirstLineIsTruncatedTowardZero) {
    FDX fdx;
    fdx.Calibration = linearTable(-125, 400);
    fdx.BuildLevelTable();
    EXPECT_EQ(fdx.LevelGrid[0], -100);
    EXPECT_EQ(fdx.LevelGrid[8], 300);
}

TEST(LevelAxis, StartUpTableRisesFromBottomToStrongestLevel) {
    const FDX fdx;
    EXPECT_EQ(fdx.LevelAxis[0], 0);
    EXPECT_EQ(fdx.LevelAxis[16], 13);  // 8.0 dB on a 20 dB grid of 32 positions
    for (int raw = 1; raw < 256; ++raw) EXPECT_GE(fdx.LevelAxis[raw], fdx.LevelAxis[raw - 1]);
    // 127.5 dB on the 0..160 dB axis.
    EXPECT_EQ(fdx.LevelAxis[255], 1275 * 32 / 200);
}

TEST(LevelAxis, StrongestLevelAboveTheGridIsDrawnAtTheTop) {
    FDX fdx;
    fdx.Calibration = linearTable(0, 1799);  // the 8 intervals of 20 dB end at 160 dB
    fdx.BuildLevelTable();
    EXPECT_EQ(fdx.LevelAxis[255], 255);
    EXPECT_GE(fdx.LevelAxis[255], fdx.LevelAxis[254]);
    EXPECT_GT(fdx.LevelAxis[254], 0);
}

TEST(LevelAxis, EveryTablePlacesEveryLevelOnTheAxis) {
    const Table tables[] = {
        linearTable(0, 1280),
        linearTable(-1280, 2560),
        linearTable(-125, 400),
        linearTable(1280, -1280),  // falling
        Table{},                   // flat
        {0, 10, 20, 30, 40, 50, 60, 70, 1200, 1210, 1220, 1230, 1240, 1250, 1260, 1270, 1280},
        {std::numeric_limits<int32_t>::min(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
         std::numeric_limits<int32_t>::max()},
    };
    for (const Table& table : tables) {
        FDX fdx;
        fdx.Calibration = table;
        fdx.BuildLevelTable();
        for (int raw = 0; raw < 256; ++raw) {
            EXPECT_GE(fdx.LevelAxis[raw], 0) << "raw " << raw << " table from " << table[0];
            EXPECT_LE(fdx.LevelAxis[raw], 255) << "raw " << raw << " table from " << table[0];
        }
    }
}

TEST(LevelAxis, LevelOutsideTheRangeReadsTheNearestEnd) {
    const FDX fdx;
    EXPECT_EQ(fdx.LevelAxisAt(-1), fdx.LevelAxis[0]);
    EXPECT_EQ(fdx.LevelAxisAt(128), fdx.LevelAxis[128]);
    EXPECT_EQ(fdx.LevelAxisAt(256), fdx.LevelAxis[255]);
    EXPECT_EQ(fdx.LevelAxisAt(std::numeric_limits<uint32_t>::max()), fdx.LevelAxis[255]);
}

}  // namespace

namespace {

// A typed dB value means the level whose value lies nearest; of levels that show alike, the
// lowest; beyond the table its ends.
TEST(LevelCalibration, NearestLevelIsTheLevelWhoseValueLiesNearest) {
    FDX fdx;  // 0.5 dB a level
    EXPECT_EQ(fdx.NearestLevel(42), 8u);
    EXPECT_EQ(fdx.NearestLevel(43), 9u);
    EXPECT_EQ(fdx.NearestLevel(1277), 255u);
    EXPECT_EQ(fdx.NearestLevel(std::numeric_limits<int32_t>::max()), 255u);
    EXPECT_EQ(fdx.NearestLevel(std::numeric_limits<int32_t>::min()), 0u);
    fdx.Calibration = {0, 9, 18, 28, 39, 48, 57, 71, 84, 108, 132, 190, 246, 315, 384, 492, 600};
    EXPECT_EQ(fdx.LevelToDb(1), 0);
    EXPECT_EQ(fdx.NearestLevel(0), 0u);
    EXPECT_EQ(fdx.LevelToDb(15), 8);
    EXPECT_EQ(fdx.LevelToDb(14), 7);
    EXPECT_EQ(fdx.NearestLevel(8), 15u);
}

TEST(LevelCalibration, ACalibrationFitsWhenItNeverFallsWithinItsLimitsAndFortyDecibelsWide) {
    const FDX fdx;
    EXPECT_TRUE(FDX::CalibrationFits(fdx.Calibration));
    EXPECT_TRUE(FDX::CalibrationFits(linearTable(-1280, 2560)));
    EXPECT_TRUE(FDX::CalibrationFits(linearTable(0, 400)));
    Table flatMiddle = linearTable(0, 400);
    flatMiddle[8] = flatMiddle[9];
    EXPECT_TRUE(FDX::CalibrationFits(flatMiddle));
    EXPECT_FALSE(FDX::CalibrationFits(linearTable(0, 399)));
    EXPECT_FALSE(FDX::CalibrationFits(linearTable(-1281, 1000)));
    EXPECT_FALSE(FDX::CalibrationFits(linearTable(300, 981)));
    EXPECT_FALSE(FDX::CalibrationFits(linearTable(500, -600)));
    Table dip = linearTable(0, 1280);
    dip[5] = dip[4] - 1;
    EXPECT_FALSE(FDX::CalibrationFits(dip));
}

}  // namespace
