#include "receivers/level_scale.h"

#include <gtest/gtest.h>

namespace {

// 1 MHz .. 2 MHz would do; the IC-R8500's limit makes the sizes real.
constexpr uint32_t kUpper = 20'000'000;

class LevelScaleFill : public ::testing::Test {
  protected:
    void SetUp() override {
        scale.Allocate(kUpper);
        scale.FillWindow = 240;  // 12 kHz filter: fills gaps up to 6 kHz
    }
    LevelScale scale;
};

TEST_F(LevelScaleFill, HasOneCellPer10kHzUpToAndWithTheUpperLimit) {
    EXPECT_EQ(scale.CellCount(), 200'001u);
    EXPECT_EQ(scale.IndexOf(kUpper), 200'000);
    EXPECT_EQ(scale.IndexOf(kUpper + 100), -1);
    EXPECT_EQ(scale.IndexOf(-1), -1);
}

TEST_F(LevelScaleFill, FirstMeasurementFillsNothing) {
    scale.FillWindow = 100000;
    scale.Measure(1'000'000, 90);
    for (int64_t c = 0; c < 10'000; ++c) ASSERT_EQ(scale.Cell(c), 0) << c;
    EXPECT_EQ(scale.At(1'000'000), 90);
    EXPECT_EQ(scale.ScaleFrequency, 1'000'000);
    EXPECT_EQ(scale.PeakLevel, 90);
}

TEST_F(LevelScaleFill, NeighbourWithinTheWindowFillsTheCellsBetweenWithTheLarger) {
    // 20 kHz apart, a quarter of the window (75 kHz) wide enough.
    scale.FillWindow = 3000;
    scale.Measure(1'000'000, 40);
    scale.Measure(1'000'200, 30);
    EXPECT_EQ(scale.Cell(10'000), 40);
    EXPECT_EQ(scale.Cell(10'001), 40);  // max(previous cell 40, new 30)
    EXPECT_EQ(scale.Cell(10'002), 30);
    EXPECT_EQ(scale.Cell(10'003), 0);

    // Downwards the same, the new level larger this time.
    scale.Measure(999'700, 70);
    EXPECT_EQ(scale.Cell(10'001), 70);
    EXPECT_EQ(scale.Cell(10'000), 70);
    EXPECT_EQ(scale.Cell(9'999), 70);
    EXPECT_EQ(scale.Cell(9'998), 70);
    EXPECT_EQ(scale.Cell(9'997), 70);
    EXPECT_EQ(scale.Cell(9'996), 0);
}

TEST_F(LevelScaleFill, JumpBeyondAQuarterWindowLeavesTheCellsBetweenUntouched) {
    scale.Measure(1'000'000, 50);
    scale.Measure(1'001'000, 60);  // 100 kHz apart, the window's quarter is 6 kHz
    for (int64_t c = 10'001; c < 10'010; ++c) EXPECT_EQ(scale.Cell(c), 0) << c;
    EXPECT_EQ(scale.Cell(10'010), 60);

    // Exactly a quarter window still fills (the cell strictly between).
    LevelScale exact;
    exact.Allocate(kUpper);
    exact.FillWindow = 800;
    exact.Measure(500'000, 10);
    exact.Measure(500'200, 20);
    EXPECT_EQ(exact.Cell(5'001), 20);
}

TEST_F(LevelScaleFill, FrequenciesOutsideTheScaleChangeNothing) {
    scale.Measure(1'000'000, 50);
    scale.Measure(kUpper + 100, 200);
    scale.Measure(-500, 200);
    EXPECT_EQ(scale.ScaleFrequency, 1'000'000);
    EXPECT_EQ(scale.PeakLevel, 50);
    EXPECT_EQ(scale.At(kUpper), 0);
    // The last cell itself is there.
    scale.Measure(kUpper, 7);
    EXPECT_EQ(scale.Cell(200'000), 7);
}

TEST_F(LevelScaleFill, LevelsAreHeldToAByteAndTheAorRuleKeeps255Out) {
    scale.Measure(1'000'000, 300);
    EXPECT_EQ(scale.At(1'000'000), 255);
    scale.Measure(1'000'100, -4);
    EXPECT_EQ(scale.At(1'000'100), 0);

    LevelScale aor;
    aor.Allocate(kUpper);
    aor.LimitTo254 = true;
    aor.Measure(2'000'000, 255);
    EXPECT_EQ(aor.At(2'000'000), 254);
}

TEST_F(LevelScaleFill, ClearZeroesEveryCellAndForgetsTheFill) {
    scale.Measure(1'000'000, 50);
    scale.Clear();
    EXPECT_EQ(scale.At(1'000'000), 0);
    EXPECT_EQ(scale.ScaleFrequency, 0);
    EXPECT_EQ(scale.PeakLevel, 0);
}

// A signal shaped as a hill over the noise.
void Hill(LevelScale& scale, int64_t centreCell, int peak) {
    for (int64_t d = -6; d <= 6; ++d)
        scale.SetCell(centreCell + d,
                      static_cast<uint8_t>(std::max<int64_t>(peak - 15 * (d < 0 ? -d : d), 10)));
}

class LevelScalePeak : public ::testing::Test {
  protected:
    void SetUp() override {
        scale.Allocate(kUpper);
        scale.FillWindow = 240;
        for (int64_t c = 14'000; c < 15'000; ++c) scale.SetCell(c, 10);  // measured noise
        scale.PeakLevel = 200;
    }
    LevelScale scale;
};

TEST_F(LevelScalePeak, FindsTheNearestHillToEitherSide) {
    Hill(scale, 14'500, 120);
    Hill(scale, 14'800, 200);
    const int64_t right = scale.FindPeak(1'410'000, true, 1000, kUpper);
    EXPECT_NEAR(right, 1'450'000, 200);
    const int64_t left = scale.FindPeak(1'490'000, false, 1000, kUpper);
    EXPECT_NEAR(left, 1'480'000, 200);
}

TEST_F(LevelScalePeak, NoneInFlatNoiseOrWithAStartOutsideTheLimits) {
    EXPECT_EQ(scale.FindPeak(1'410'000, true, 1000, kUpper), -1);
    Hill(scale, 14'500, 120);
    EXPECT_EQ(scale.FindPeak(kUpper - 100, true, 1000, kUpper), -1);
    EXPECT_EQ(scale.FindPeak(1'100, false, 1000, kUpper), -1);
}

TEST_F(LevelScalePeak, UnmeasuredCellsAreSkippedNotTakenAsValleys) {
    LevelScale sparse;
    sparse.Allocate(kUpper);
    sparse.FillWindow = 240;
    sparse.PeakLevel = 200;
    for (int64_t c = 20'000; c < 20'100; c += 2) sparse.SetCell(c, 10);  // every other cell
    sparse.SetCell(20'050, 150);
    sparse.SetCell(20'052, 90);
    EXPECT_NEAR(sparse.FindPeak(1'990'000, true, 1000, kUpper), 2'005'000, 200);
}

}  // namespace

// A 12.5 kHz scale scan in WFM from 145.45 to 145.85 MHz over a narrow carrier at 145.5 on a
// noise of 8, after the broadcast station at 101.7 was tuned: the wide mean rises over the
// whole edge of the measured stretch, and its middle lies on the noise beside the carrier.
TEST_F(LevelScalePeak, ACarrierAtTheEdgeOfAMeasuredStretchIsFoundOnItself) {
    LevelScale scanned;
    scanned.Allocate(kUpper);
    scanned.FillWindow = 3000;  // 150 kHz filter
    scanned.Measure(1'017'000, 190);
    for (int64_t f = 1'454'500; f <= 1'458'500; f += 125)
        scanned.Measure(f, f == 1'455'000 ? 150 : 8);
    EXPECT_EQ(scanned.FindPeak(1'017'000, true, 1000, kUpper), 1'455'000);
    EXPECT_EQ(scanned.FindPeak(1'470'000, false, 1000, kUpper), 1'455'000);
}
