#include "windows/range_view.h"

#include <gtest/gtest.h>

#include <set>

#include "state/fdx.h"
#include "state/user_dp.h"
#include "windows/range_analysis.h"
#include "windows/range_layout.h"

namespace {

using namespace range_colors;

constexpr int kWidth = 200, kHeight = 180;
constexpr int kBase = kHeight - 19;
constexpr int kTop = kHeight - 149;  // the highest row of a curve column
constexpr uint32_t kFn = 1000000, kStep = 100;
constexpr ui::Point kAt{10, 20};  // the picture's place on the shared picture

uint32_t at(int64_t point) {
    return uint32_t(kFn + point * kStep);
}

std::set<int> Span(int from, int to) {
    std::set<int> rows;
    for (int y = from; y <= to; ++y) rows.insert(y);
    return rows;
}

// The rows of picture column x below the readouts that have `color`; `origin`: where the
// picture lies.
std::set<int> Rows(const ui::Picture& p, int x, ui::Color color, ui::Point origin = {}) {
    std::set<int> rows;
    for (int y = kTop; y < kHeight; ++y)
        if (p.Pixel(origin.x + x, origin.y + y) == color) rows.insert(y);
    return rows;
}

class RangePicture : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 80 * k;
        fdx.BuildLevelTable();
        Layout(kFn, at(100));
    }
    // Points 0..100 of the range in columns 0..100 of the picture; nothing scrolls.
    void Layout(uint32_t start, uint32_t end, uint32_t step = kStep) {
        slot = Bank{};
        slot.Start = start, slot.End = end, slot.Step = step, slot.Bandwidth = 300;
        slot.Range = &range;
        ASSERT_TRUE(LayoutScale(slot, {1000, 20000000, 250, 120}, kWidth).laidOut);
        slot.InUse = 1;
    }
    void Set(int32_t kind, int64_t point, uint8_t level) {
        (*CurveArray(slot, kind))[std::size_t(slot.CellOf(at(point)))] = level;
    }
    void Flag(int64_t point, uint8_t flag) {
        slot.Flags[std::size_t(slot.CellOf(at(point)))] |= flag;
    }

    FDX fdx;
    UserDp range;
    Bank slot;
    RangeView view{kWidth, kHeight};
    ui::SharedPicture shared{kWidth + 40, kHeight + 40};
};

TEST_F(RangePicture, AColumnStandsHalfItsLevelOnTheBaselineBetweenDottedRangeEdges) {
    Set(kCurrentCurve, 10, 100);
    view.DrawScale(fdx, slot);
    const ui::Picture& p = view.Picture();
    EXPECT_EQ(Rows(p, 10, kMainCurve), Span(kBase - 49, kBase));
    EXPECT_TRUE(Rows(p, 11, kMainCurve).empty());
    std::set<int> dots;
    for (int y = kBase; y >= kHeight - 147; y -= 2) dots.insert(y);
    EXPECT_EQ(Rows(p, 0, kRangeEdge), dots);
    EXPECT_EQ(Rows(p, 100, kRangeEdge), dots);
    // Nothing is drawn past Fк.
    for (int x = 101; x < kWidth; ++x)
        for (int y = kTop; y <= kBase; ++y) ASSERT_EQ(p.Pixel(x, y), kBackground) << x << "," << y;
}

TEST_F(RangePicture, TwoCurvesMarkersAndFixedPointsInTheirColours) {
    fdx.SecondCurveKind = kMaximumCurve;
    Set(kCurrentCurve, 10, 100), Set(kMaximumCurve, 10, 160);  // the second curve higher
    Set(kCurrentCurve, 20, 160), Set(kMaximumCurve, 20, 100);  // the main curve higher
    Set(kCurrentCurve, 21, 160), Set(kMaximumCurve, 21, 100);
    Set(kCurrentCurve, 30, 100), Flag(30, kStopPoint);
    Flag(40, kFixedFrequencyPoint), Flag(41, kFixedFrequencyPoint);
    view.DrawScale(fdx, slot);
    const ui::Picture& p = view.Picture();

    EXPECT_EQ(Rows(p, 10, kMainCurve), Span(kBase - 49, kBase));
    EXPECT_EQ(Rows(p, 10, kSecondCurve), Span(kBase - 79, kBase - 50));
    // Above the second curve the main curve's pixels alternate, neighbouring columns in turn.
    EXPECT_TRUE(Rows(p, 20, kSecondCurve).empty());
    for (int y = kBase - 79; y <= kBase - 50; ++y)
        EXPECT_NE(p.Pixel(20, y) == kMainCurve, p.Pixel(21, y) == kMainCurve) << y;
    for (int y = kBase - 49; y <= kBase; ++y) EXPECT_EQ(p.Pixel(20, y), kMainCurve) << y;
    // A marker: white up to its level, grey above.
    EXPECT_EQ(Rows(p, 30, kPoint), Span(kBase - 49, kBase));
    EXPECT_EQ(Rows(p, 30, kMarkerTop), Span(kTop, kBase - 50));
    // Fixed points: two white rows under their columns.
    for (int x : {40, 41})
        EXPECT_EQ(Rows(p, x, kPoint), (std::set<int>{kHeight - 17, kHeight - 16}));
    EXPECT_TRUE(Rows(p, 42, kPoint).empty());
}

TEST_F(RangePicture, TheCursorIsOnTheSharedPictureOnlyAndStandsAtLevelZeroOnTheEdges) {
    Set(kCurrentCurve, 0, 200);
    Set(kCurrentCurve, 10, 100);
    slot.SightLevel = 100;
    view.DrawScale(fdx, slot);
    view.Show(shared, kAt, fdx, slot, false, at(10));
    EXPECT_EQ(Rows(shared, 10, kCursorLevel, kAt), Span(kBase - 49, kBase));
    EXPECT_EQ(Rows(shared, 10, kCursorTop, kAt), Span(kTop, kBase - 50));
    // The sight line runs across the shared picture at half the sight level.
    EXPECT_EQ(shared.Pixel(kAt.x + 50, kAt.y + kBase - 50), kSight);
    EXPECT_EQ(view.CursorColumn(), 10);

    // On Fн the cursor stands at level 0 whatever the level there; the column it left shows
    // its curve again.
    view.DrawCursor(&shared, kAt, fdx, slot, false, kFn);
    EXPECT_TRUE(Rows(shared, 0, kCursorLevel, kAt).empty());
    EXPECT_EQ(Rows(shared, 0, kCursorTop, kAt), Span(kTop, kBase));
    EXPECT_EQ(Rows(shared, 10, kMainCurve, kAt), Span(kBase - 49, kBase));
    EXPECT_EQ(shared.Pixel(kAt.x + 10, kAt.y + kBase - 50), kSight);

    // Under the readouts (the sight's is red) the off-screen picture has no cursor colour.
    for (int x = 0; x < kWidth; ++x)
        for (const ui::Color c : {kCursorLevel, kCursorTop, kCursorMarker})
            ASSERT_TRUE(Rows(view.Picture(), x, c).empty()) << x;
}

TEST_F(RangePicture, TheCursorLeavingAColumnShowsWhatTheScanMeasuredThere) {
    view.DrawScale(fdx, slot);
    view.Show(shared, kAt, fdx, slot, false, at(10));
    Set(kCurrentCurve, 10, 120);  // the scan measures the cursor's point, then moves on
    Flag(11, kStopPoint);
    view.DrawCursor(&shared, kAt, fdx, slot, false, at(11));
    EXPECT_EQ(Rows(shared, 10, kMainCurve, kAt), Span(kBase - 59, kBase));
    EXPECT_EQ(Rows(view.Picture(), 10, kMainCurve), Span(kBase - 59, kBase));
    EXPECT_EQ(Rows(shared, 11, kCursorMarker, kAt), Span(kTop, kBase));
    // A cursor outside the visible frequencies shows nowhere.
    view.DrawCursor(&shared, kAt, fdx, slot, false, at(500));
    EXPECT_EQ(view.CursorColumn(), -1);
    EXPECT_TRUE(Rows(shared, 11, kCursorMarker, kAt).empty());
}

TEST_F(RangePicture, ASelectionIsInvertedAndStaysSoUnderTheCursor) {
    fdx.SelectionStart = int32_t(at(20)), fdx.SelectionEnd = int32_t(at(30));
    view.DrawScale(fdx, slot);
    EXPECT_EQ(view.Picture().Pixel(25, kBase - 10), ~kBackground & 0xFFFFFFu);
    EXPECT_EQ(view.Picture().Pixel(31, kBase - 10), kBackground);
    view.Show(shared, kAt, fdx, slot, false, at(25));
    view.DrawCursor(&shared, kAt, fdx, slot, false, at(40));
    EXPECT_EQ(shared.Pixel(kAt.x + 25, kAt.y + kBase - 10), ~kBackground & 0xFFFFFFu);
}

TEST_F(RangePicture, ColumnsOutsideTheRangeOrAnUnknownKindShowNothing) {
    // Fн off the grid: three columns before it; and a range filling the arrays to their last
    // cell, scrolled to its end.
    Layout(at(3), at(100));
    for (int64_t k = 0; k <= 97; ++k) Set(kCurrentCurve, k + 3, 255);
    view.DrawScale(fdx, slot);
    for (int x = 0; x < 3; ++x) EXPECT_TRUE(Rows(view.Picture(), x, kMainCurve).empty()) << x;
    EXPECT_FALSE(Rows(view.Picture(), 3, kMainCurve).empty());

    Layout(kFn, kFn + 63998, 1);
    std::fill(slot.Current.begin(), slot.Current.end(), uint8_t{200});
    slot.ScrollPosition = slot.ScrollMaximum;
    view.DrawScale(fdx, slot);
    EXPECT_FALSE(Rows(view.Picture(), view.DrawnColumns(slot) - 1, kMainCurve).empty());
    fdx.MainCurveKind = 7;
    view.DrawScale(fdx, slot);
    view.Show(shared, kAt, fdx, slot, false, kFn + 63990);
    for (int x = 0; x < kWidth; ++x) ASSERT_TRUE(Rows(view.Picture(), x, kMainCurve).empty()) << x;
}

TEST_F(RangePicture, TheGridIsDottedOnTheSharedPictureOnly) {
    view.DrawScale(fdx, slot);
    view.Show(shared, kAt, fdx, slot, true, -1);
    // Level lines every 16 pixels above the baseline, a dot every four pixels.
    EXPECT_EQ(shared.Pixel(kAt.x + 60, kAt.y + kBase - 16), kGrid);
    EXPECT_EQ(shared.Pixel(kAt.x + 61, kAt.y + kBase - 16), kBackground);
    // The grid lines (every 50 columns) and four between each two.
    EXPECT_EQ(shared.Pixel(kAt.x + 50, kAt.y + kBase - 3), kGrid);
    EXPECT_EQ(shared.Pixel(kAt.x + 70, kAt.y + kBase - 3), kGrid);
    EXPECT_EQ(shared.Pixel(kAt.x + 71, kAt.y + kBase - 3), kBackground);
    for (const ui::Color c : view.Picture().Pixels()) ASSERT_NE(c, kGrid);
}

// The picture's grid labels at every width a window may have, on a 100-130 MHz range at its
// start and its end: each label whole, inside the picture and apart from the next; the sight
// readout as far from the right edge as the threshold readout from the left.
TEST_F(RangePicture, GridLabelsStandApartAndTheReadoutsOffTheEdges) {
    for (int width = 150; width <= 900; width += 11) {
        slot = Bank{};
        slot.Start = 1000000, slot.End = 1300000, slot.Step = kStep, slot.Range = &range;
        ASSERT_TRUE(LayoutScale(slot, {1000, 20000000, 250, 120}, width).laidOut);
        slot.InUse = 1;
        for (const int32_t scroll : {0, slot.ScrollMaximum}) {
            slot.ScrollPosition = scroll;
            RangeView picture(width, kHeight);
            picture.DrawScale(fdx, slot);
            const ui::Picture& p = picture.Picture();
            const int label = picture.Picture().Draw().TextWidth("100.00");
            // Labels are runs of inked columns under the ticks, more than three blank apart.
            std::vector<std::pair<int, int>> labels;
            for (int x = 0, gap = 1000; x < width; ++x) {
                bool inked = false;
                for (int y = kHeight - 12; y < kHeight; ++y) inked |= p.Pixel(x, y) == kFrame;
                if (!inked) {
                    ++gap;
                    continue;
                }
                if (gap > 3) labels.push_back({x, x});
                labels.back().second = x;
                gap = 0;
            }
            EXPECT_GE(labels.size(), 2u) << width;
            for (const auto& [from, to] : labels)
                EXPECT_LE(to - from + 1, label) << width << " " << scroll << " at " << from;

            int thresholdLeft = width, sightRight = -1;
            for (int y = 0; y < 20; ++y) {
                for (int x = 0; x < width; ++x) {
                    if (p.Pixel(x, y) == kThresholdText) thresholdLeft = std::min(thresholdLeft, x);
                    if (p.Pixel(x, y) == kSightText) sightRight = std::max(sightRight, x);
                }
            }
            EXPECT_NEAR(width - 1 - sightRight, thresholdLeft, 3) << width;
        }
    }
}

TEST(RangeReadouts, SelectionThresholdAndSightTexts) {
    FDX fdx;
    for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 80 * k;
    UserDp range;
    range.Level = 50;
    Bank slot;
    slot.Start = kFn, slot.End = at(100), slot.Step = kStep, slot.Range = &range;
    slot.PointCount = uint32_t(slot.RangeCells());
    slot.Current[std::size_t(slot.CellOf(at(10)))] = 100;
    slot.Current[std::size_t(slot.CellOf(at(20)))] = 40;
    fdx.SelectionStart = int32_t(at(10)), fdx.SelectionEnd = int32_t(at(20));
    EXPECT_EQ(SelectionReadout(fdx, slot), "dU=60  Fc=100.1500  dF=100.0      ");
    EXPECT_EQ(ThresholdReadout(fdx, slot), "порог=50 ед");
    EXPECT_EQ(SightReadout(fdx, slot), "визир=255 ед");
    fdx.OptDb = 1;
    EXPECT_EQ(SelectionReadout(fdx, slot), "dU=30.0  Fc=100.1500  dF=100.0      ");
    EXPECT_EQ(ThresholdReadout(fdx, slot), "порог=25.0 дБ");
    EXPECT_EQ(SightReadout(fdx, slot), "визир=127.5 дБ");
    range.Marker = 1;
    EXPECT_EQ(ThresholdReadout(fdx, slot), "порог=визиру");
}

}  // namespace
