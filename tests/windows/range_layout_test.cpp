#include "windows/range_layout.h"

#include <gtest/gtest.h>

namespace {

constexpr LayoutLimits kReceiver{1000, 20000000, 250, 120};

Bank rangeOf(uint32_t start, uint32_t end, uint32_t step) {
    Bank slot;
    slot.Start = start, slot.End = end, slot.Step = step, slot.Bandwidth = 300;
    return slot;
}

TEST(RangeLayoutGrid, OneTwoOrFiveTimesAPowerOfTenAndNeverBelowTheStep) {
    struct Case {
        int width;
        uint32_t step, grid;
    };
    for (const Case c : {Case{600, 250, 20000},
                         {500, 1000, 100000},
                         {640, 50, 5000},
                         {1000, 1, 200},
                         {1000, 100, 20000},
                         {200, 100, 5000},
                         // A picture narrower than five pixels, and a tiny product.
                         {4, 250, 250},
                         {0, 7, 7},
                         {5, 1, 1}})
        EXPECT_EQ(GridStepFor(c.width, c.step), c.grid) << c.width << " x " << c.step;
}

TEST(RangeLayoutScale, ColumnsStartOnWholeStepsAtOrBelowTheFirstGridLine) {
    Bank slot = rangeOf(1000300, 1010000, 100);
    ASSERT_TRUE(LayoutScale(slot, kReceiver, 200).laidOut);
    EXPECT_EQ(slot.GridStep, 5000u);
    EXPECT_EQ(slot.GridStart, 1000000u);
    EXPECT_EQ(slot.GridEnd, 1010000u);
    EXPECT_EQ(slot.FirstScaleFrequency, 1000000u);
    EXPECT_EQ(slot.StepsBelowStart, 3u);
    EXPECT_EQ(slot.ScaleColumns, 101u);
    EXPECT_EQ(slot.GridColumns, (std::vector<int32_t>{0, 50, 100}));
    EXPECT_FALSE(slot.Scrolls);
    EXPECT_EQ(slot.PointCount, slot.RangeCells());
    EXPECT_EQ(slot.SightLevel, 255);

    // Near frequency 0 the scale cannot step below it: the first grid line stands at column 0.
    Bank low = rangeOf(150, 5000, 100);
    ASSERT_TRUE(LayoutScale(low, {0, 20000000, 250, 120}, 200).laidOut);
    EXPECT_EQ(low.FirstScaleFrequency, 50u);
    EXPECT_EQ(low.GridColumns.front(), 0);
}

TEST(RangeLayoutScale, AWideRangeScrollsByGridDivisions) {
    Bank slot = rangeOf(1000000, 2000000, 100);
    ASSERT_TRUE(LayoutScale(slot, kReceiver, 1000).laidOut);
    EXPECT_EQ(slot.GridStep, 20000u);
    EXPECT_TRUE(slot.Scrolls);
    EXPECT_EQ(slot.GridColumns.size(), 51u);
    EXPECT_EQ(slot.GridColumns[7], 1400);
    EXPECT_EQ(slot.PageSize, 5);  // 1000 pixels of 200 columns a division
    // Scrolled to its end the picture shows Fк in column 800; one line less would leave it
    // out.
    EXPECT_EQ(slot.ScrollMaximum, 46);
}

TEST(RangeLayoutScale, ARangeReaching64000ColumnsIsCutAndOnlyThen) {
    Bank slot = rangeOf(1000000, 1070000, 1);
    const LayoutResult cut = LayoutScale(slot, kReceiver, 1000);
    EXPECT_TRUE(cut.laidOut && cut.cut);
    EXPECT_EQ(slot.End, 1000000u + 63998);
    EXPECT_EQ(slot.ScaleColumns, 63999u);
    EXPECT_EQ(slot.PointCount, kBankPoints);
    for (int32_t column : slot.GridColumns) EXPECT_LT(column, 63999);
    // Scrolled to its end the scale reaches its last column.
    EXPECT_GE(slot.GridColumns[std::size_t(slot.ScrollMaximum)] + 1000, 63999);

    // The columns up to the next grid line reach the limit, the range itself does not: it
    // keeps its end.
    Bank fits = rangeOf(1000000, 1000000 + 63801, 1);
    EXPECT_FALSE(LayoutScale(fits, kReceiver, 1000).cut);
    EXPECT_EQ(fits.End, 1000000u + 63801);
}

TEST(RangeLayoutScale, TheRangeStaysWithinTheReceiver) {
    struct Case {
        uint32_t start, end, wantStart, wantEnd;
    };
    for (const Case c : {Case{500, 20000, 1000, 20000},
                         {25000000, 26000000, 20000000, 20000000},  // above the receiver
                         {19995000, 19990000, 19995000, 20000000},  // end below start
                         {1500000, 1000000, 1500000, 1510000}}) {
        Bank slot = rangeOf(c.start, c.end, 100);
        ASSERT_TRUE(LayoutScale(slot, kReceiver, 600).laidOut);
        EXPECT_EQ(slot.Start, c.wantStart) << c.start;
        EXPECT_EQ(slot.End, c.wantEnd) << c.start;
    }
}

TEST(RangeLayoutScale, MissingStepAndBandwidthComeFromTheStateOrNothingIsLaidOut) {
    Bank slot = rangeOf(1000000, 1010000, 0);
    slot.Bandwidth = 0;
    ASSERT_TRUE(LayoutScale(slot, kReceiver, 600).laidOut);
    EXPECT_EQ(slot.Step, 250u);
    EXPECT_EQ(slot.Bandwidth, 120u);
    Bank none = rangeOf(1000000, 1010000, 0);
    EXPECT_FALSE(LayoutScale(none, {1000, 20000000, 0, 0}, 600).laidOut);
}

}  // namespace
