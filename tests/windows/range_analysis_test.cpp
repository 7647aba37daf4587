#include "windows/range_analysis.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>

#include "state/etl.h"
#include "state/fdx.h"
#include "state/level_array.h"
#include "state/user_dp.h"
#include "state/user_sc.h"
#include "tests/state/temp_dir.h"

namespace {

constexpr uint32_t kFn = 1000000, kFk = 1010000, kStep = 100;
constexpr uint32_t at(int64_t point) {
    return uint32_t(kFn + point * kStep);
}

// Levels and flags go where the scan puts them (Bank::CellOf), so every search below also
// checks that what was scanned at f is found at f.
void setLevel(Bank& slot, int32_t kind, int64_t k, uint8_t v) {
    (*CurveArray(slot, kind))[std::size_t(slot.CellOf(at(k)))] = v;
}
void setLevels(Bank& slot, int64_t from, std::initializer_list<uint8_t> levels) {
    for (uint8_t v : levels) setLevel(slot, kCurrentCurve, from++, v);
}
void mark(Bank& slot, int64_t from, int64_t to, uint8_t flag) {
    for (int64_t k = from; k <= to; ++k) slot.Flags[std::size_t(slot.CellOf(at(k)))] |= flag;
}
uint8_t flagsAt(const Bank& slot, int64_t k) {
    return slot.Flags[std::size_t(slot.CellOf(at(k)))];
}

// A loaded range of points 0..100, bandwidth three points, current levels 10.
Bank rangeSlot(std::initializer_list<std::pair<int64_t, uint8_t>> plateaus = {}) {
    Bank slot;
    slot.InUse = 1;
    slot.Start = kFn, slot.End = kFk, slot.Step = kStep, slot.Bandwidth = 300;
    slot.PointCount = uint32_t(slot.RangeCells());
    for (int64_t k = 0; k <= 100; ++k) setLevel(slot, kCurrentCurve, k, 10);
    for (auto [from, level] : plateaus) setLevels(slot, from, {level, level, level});
    return slot;
}

SearchResult searchMax(const Bank& slot, int64_t from, bool left, int32_t kind = kCurrentCurve) {
    return left ? SearchMaxLeft(slot, kind, at(from)) : SearchMaxRight(slot, kind, at(from));
}

TEST(RangeAnalysisMaxima, FindsTheSmoothedTopInEitherDirection) {
    const Bank slot = rangeSlot({{40, 200}, {70, 120}});
    // clang-format off
    struct Case { int64_t from; bool left; uint32_t tune; };
    for (const Case c : {Case{60, true, at(41)}, {20, false, at(41)}, {50, false, at(71)},
                         {90, true, at(71)}, {150, true, at(71)}, {30, true, 0}, {80, false, 0},
                         {-1, true, 0}, {101, false, 0}}) {
        // clang-format on
        const SearchResult r = searchMax(slot, c.from, c.left);
        EXPECT_EQ(r.tuneFrequency.value_or(0), c.tune) << c.from << (c.left ? " left" : " right");
        EXPECT_EQ(r.message, c.tune ? 0 : kMaximaNotFound) << c.from;
        EXPECT_FALSE(r.selectScale || r.moveCursor);
    }
}

TEST(RangeAnalysisMaxima, PlateauMiddleHigherTopWithinABandwidthAndNothingOnAFlatSlot) {
    const Bank wide = rangeSlot({{40, 200}, {43, 200}, {46, 200}, {48, 200}});  // 40..50
    EXPECT_EQ(searchMax(wide, 70, true).tuneFrequency, at(45));
    EXPECT_EQ(searchMax(wide, 10, false).tuneFrequency, at(45));
    // A smoothed top at 41 and, three points on, a higher one at 44, whose strongest point the
    // walk meets first is 43.
    Bank twin = rangeSlot();
    setLevels(twin, 40, {200, 100, 100, 200, 10, 200});
    EXPECT_EQ(searchMax(twin, 20, false).tuneFrequency, at(43));
    // The higher top lies more than a bandwidth past the first.
    EXPECT_EQ(searchMax(rangeSlot({{40, 120}, {70, 200}}), 20, false).tuneFrequency, at(41));
    EXPECT_EQ(searchMax(rangeSlot(), 90, true).message, kMaximaNotFound);
    EXPECT_EQ(searchMax(rangeSlot(), 0, false).message, kMaximaNotFound);
}

// A wide mean tops out between two carriers, and near an end of the range, where it leaves out
// what lies beyond, beside the carrier: the tune goes to the carrier, never to the empty points.
TEST(RangeAnalysisMaxima, TunesTheCarriersTheMeanSawNotTheEmptyPointsBesideThem) {
    Bank slot = rangeSlot();
    slot.Bandwidth = 1000;  // the mean over 11 points
    for (int64_t k = 0; k <= 100; ++k) setLevel(slot, kCurrentCurve, k, 0);
    for (int64_t k : {10, 20, 80, 90}) setLevel(slot, kCurrentCurve, k, 200);
    // clang-format off
    struct Case { int64_t from; bool left; uint32_t tune; };
    for (const Case c : {Case{25, true, at(20)}, {20, true, at(10)}, {10, true, 0},
                         {75, false, at(80)}, {80, false, at(90)}, {90, false, 0}}) {
        // clang-format on
        const SearchResult r = searchMax(slot, c.from, c.left);
        EXPECT_EQ(r.tuneFrequency.value_or(0), c.tune) << c.from << (c.left ? " left" : " right");
        EXPECT_EQ(r.message, c.tune ? 0 : kMaximaNotFound) << c.from;
    }
}

// A top counts when the mean has swung by more than a sixteenth of the largest level.
TEST(RangeAnalysisMaxima, ATopNeedsASwingOfMoreThanASixteenthOfTheLargestLevel) {
    for (const uint8_t top : {20, 21}) {
        Bank slot = rangeSlot({{30, top}});      // over levels 10: a swing of top - 10
        setLevel(slot, kCurrentCurve, 90, 160);  // the largest level, out of the walk's way
        const SearchResult r = searchMax(slot, 60, true);
        EXPECT_EQ(r.tuneFrequency.value_or(0), top == 21 ? at(31) : 0) << int(top);
    }
}

TEST(RangeAnalysisMaxima, SearchesTheMainCurveOnlyAndAnUnknownKindFindsNothing) {
    Bank slot = rangeSlot();
    for (int64_t k : {40, 41, 42}) setLevel(slot, kMaximumCurve, k, 200);
    EXPECT_EQ(searchMax(slot, 60, true, kMaximumCurve).tuneFrequency, at(41));
    EXPECT_EQ(searchMax(slot, 60, true, kCurrentCurve).message, kMaximaNotFound);
    for (int32_t kind : {-1, 6, INT32_MIN}) {
        EXPECT_EQ(searchMax(slot, 0, false, kind).message, kMaximaNotFound);
        EXPECT_EQ(SmoothedLevel(slot, kind, 41), 0);
    }
}

TEST(RangeAnalysisMaxima, SmoothedLevelLeavesOutPointZeroAndTheLastPoint) {
    Bank slot = rangeSlot();
    setLevels(slot, 0, {250, 40, 70});
    setLevels(slot, 98, {20, 50, 250});
    EXPECT_EQ(SmoothedLevel(slot, kCurrentCurve, 1), 55);
    EXPECT_EQ(SmoothedLevel(slot, kCurrentCurve, 0), 40);
    EXPECT_EQ(SmoothedLevel(slot, kCurrentCurve, 100), 50);
    slot.Bandwidth = 199;  // no neighbours
    EXPECT_EQ(SmoothedLevel(slot, kCurrentCurve, 0), 0);
    EXPECT_EQ(SmoothedLevel(slot, kCurrentCurve, 2), 70);
}

TEST(RangeAnalysisFixedPoints, WalksPastTheStartRunToTheNextRunOrMarker) {
    // clang-format off
    struct Case { const char* what; int64_t from; bool left; uint32_t tune; };
    for (const Case c : {Case{"run below", 50, true, at(32)}, {"run above", 60, false, at(82)},
                         {"in a run", 81, false, at(91)}, {"one-point run", 31, true, at(20)},
                         {"marker", 70, true, at(60)}, {"marker", 45, false, at(60)},
                         {"below Fн", -5, false, at(11)}, {"above Fк", 150, true, at(97)},
                         {"run from Fн", 8, true, at(1)}, {"none", 2, true, 0},
                         {"none", 97, false, 0}, {"none", 101, false, 0}}) {
        // clang-format on
        Bank slot = rangeSlot();
        for (auto [from, to] :
             {std::pair{0, 3}, {10, 12}, {20, 20}, {30, 34}, {80, 84}, {90, 92}, {95, 99}})
            mark(slot, from, to, kFixedFrequencyPoint);
        if (std::string_view(c.what) == "marker") mark(slot, 60, 60, kStopPoint);
        const SearchResult r =
            c.left ? SearchFixedLeft(slot, at(c.from)) : SearchFixedRight(slot, at(c.from));
        EXPECT_EQ(r.tuneFrequency.value_or(0), c.tune) << c.what;
        EXPECT_EQ(r.message, c.tune ? 0 : kFixedNotFound) << c.what;
        EXPECT_EQ(r.selectScale, c.tune != 0) << c.what;
        EXPECT_EQ(r.moveCursor, c.left && c.tune != 0) << c.what;
    }
}

TEST(RangeAnalysisFixedPoints, RunsEndingOnePointShortOfTheEdgeAndMarkersOnTheEdge) {
    Bank slot = rangeSlot();
    mark(slot, 1, 5, kFixedFrequencyPoint);
    mark(slot, 96, 99, kFixedFrequencyPoint);
    EXPECT_EQ(SearchFixedLeft(slot, at(20)).tuneFrequency, at(3));
    EXPECT_EQ(SearchFixedRight(slot, at(80)).tuneFrequency, at(98));
    mark(slot, 0, 0, kStopPoint);
    mark(slot, 100, 100, kStopPoint);
    EXPECT_EQ(SearchFixedLeft(slot, at(1)).tuneFrequency, at(0));
    EXPECT_EQ(SearchFixedRight(slot, at(99)).tuneFrequency, at(100));
}

TEST(RangeAnalysisMarker, SetsOrTogglesThePointAtTheFrequencyWithinTheRange) {
    Bank slot = rangeSlot();
    mark(slot, 7, 7, kFixedFrequencyPoint);
    EXPECT_EQ(ToggleMarker(slot, at(7), MarkerMode::Toggle), 0);
    EXPECT_EQ(ToggleMarker(slot, at(7) + 99, MarkerMode::Set), 0);  // still point 7
    EXPECT_EQ(flagsAt(slot, 7), kFixedFrequencyPoint | kStopPoint);
    EXPECT_EQ(ToggleMarker(slot, at(7), MarkerMode::Toggle), 0);
    EXPECT_EQ(flagsAt(slot, 7), kFixedFrequencyPoint);
    EXPECT_EQ(ToggleMarker(slot, kFk, MarkerMode::Set), 0);
    EXPECT_EQ(flagsAt(slot, 100), kStopPoint);
    for (uint32_t f : {kFn - 1, kFk + 1, 0u, UINT32_MAX})
        EXPECT_EQ(ToggleMarker(slot, f, MarkerMode::Set), kMarkerOutOfRange) << f;
}

TEST(RangeAnalysisClear, ZeroesTheLevelsButTheEtalonAndKeepsOnlyFixedPoints) {
    Bank slot = rangeSlot();
    for (int32_t kind = kCurrentCurve; kind <= kProcessedCurve; ++kind)
        setLevel(slot, kind, 100, 9);
    mark(slot, 100, 100, kFixedFrequencyPoint | kStopPoint);
    mark(slot, 3, 3, kStopPoint);
    slot.CycleCount = 5;
    ASSERT_TRUE(ClearScale(slot));
    for (int32_t kind = kCurrentCurve; kind <= kProcessedCurve; ++kind)
        EXPECT_EQ(PointLevel(slot, kind, 100), kind == kEtalonCurve ? 9 : 0) << kind;
    EXPECT_EQ(flagsAt(slot, 100), kFixedFrequencyPoint);
    EXPECT_EQ(flagsAt(slot, 3), 0);
    EXPECT_EQ(slot.CycleCount, 0u);
    slot.InUse = 0;
    EXPECT_FALSE(ClearScale(slot));
}

TEST(RangeAnalysisApproximation, FillsGapsNarrowerThanTheBandwidthByStraightLines) {
    // clang-format off
    struct Case { int64_t left; uint8_t a; int64_t right; uint8_t b; std::vector<uint8_t> filled; };
    for (const Case& c : {Case{20, 10, 24, 30, {15, 20, 25}}, {20, 30, 24, 10, {25, 20, 15}},
                          {20, 10, 23, 8, {10, 10}}, {20, 10, 25, 30, {0, 0, 0, 0}},
                          {0, 10, 4, 30, {0, 0, 0}}}) {
        // clang-format on
        Bank slot = rangeSlot();
        slot.Bandwidth = 500;  // W / S = 5
        setLevel(slot, kAverageCurve, c.left, c.a);
        setLevel(slot, kAverageCurve, c.right, c.b);
        Approximate(slot, kAverageCurve);
        Approximate(slot, 6);
        std::vector<uint8_t> got;
        for (int64_t k = c.left + 1; k < c.right; ++k)
            got.push_back(uint8_t(PointLevel(slot, kAverageCurve, k)));
        EXPECT_EQ(got, c.filled) << c.left << ".." << c.right;
    }
}

TEST(RangeAnalysisProcessing, EachModeLoadsItsEtalonKindFirstAndClampsOrTakesAbsolute) {
    // clang-format off
    struct Case { uint32_t mode; int32_t loads; uint8_t processed; };
    for (const Case c : {Case{0, -1, 0}, {1, 1, 0}, {2, 2, 10}, {3, 3, 50}, {4, 1, 20}, {5, 2, 0},
                         {6, 3, 0}, {7, -1, 70}, {8, -1, 30}, {9, -1, 0}}) {
        // clang-format on
        Bank slot = rangeSlot();
        UserDp range;
        range.Processing = c.mode;
        slot.Range = &range;
        for (auto [kind, level] : {std::pair{kMinimumCurve, 20},
                                   {kAverageCurve, 50},
                                   {kMaximumCurve, 90},
                                   {kProcessedCurve, 99}})
            setLevel(slot, kind, 5, uint8_t(level));
        int32_t loaded = -1;
        ProcessAgainstEtalon(slot, [&](int32_t kind) {
            loaded = kind;
            setLevel(slot, kEtalonCurve, 5, 40);
        });
        EXPECT_EQ(loaded, c.loads) << c.mode;
        EXPECT_EQ(PointLevel(slot, kProcessedCurve, 5), c.processed) << c.mode;
    }
}

TEST(RangeAnalysisProcessing, ProgramStateLoadsTheEtalonFileOfTheModesKind) {
    TempDir dir;
    Etl etl;
    etl.Folder = dir.path().string() + "/", etl.Name = "0001", etl.PointCount = 102;
    ASSERT_TRUE(WriteLevelFile(etl.Folder + "0001.sum", std::vector<uint8_t>(102, 30)));
    FDX fdx;
    UserDp averageRange, spreadRange;
    averageRange.Processing = 2, spreadRange.Processing = 7;
    for (UserDp* range : {&averageRange, &spreadRange}) {
        Bank& slot = fdx.ScanSlots.emplace_back(rangeSlot());
        slot.Range = range, slot.HasEtalon = 1, slot.EtalonRecord = &etl;
        setLevel(slot, kAverageCurve, 9, 70);
        setLevel(slot, kMaximumCurve, 9, 25);
        setLevel(slot, kEtalonCurve, 9, 200);
    }
    ProcessAgainstEtalon(fdx);
    EXPECT_EQ(fdx.EtalonKind, kAverageCurve);
    EXPECT_EQ(PointLevel(fdx.ScanSlots[0], kProcessedCurve, 9), 40);
    EXPECT_EQ(PointLevel(fdx.ScanSlots[1], kEtalonCurve, 9), 200);  // mode 7 never loads
    EXPECT_EQ(PointLevel(fdx.ScanSlots[1], kProcessedCurve, 9), 25);
}

TEST(RangeAnalysisScales, MarksPointsInsideStoredScalesWithinThePointCount) {
    Bank slot = rangeSlot();
    mark(slot, 60, 60, kFixedFrequencyPoint);
    UserSc inside, overStart, single, touchesEnd, beyond;
    inside.StartFrequency = at(10), inside.EndFrequency = at(12);
    overStart.StartFrequency = 5, overStart.EndFrequency = at(1) + 50;
    single.StartFrequency = at(30) + 10, single.EndFrequency = at(30) + 90;  // a = b
    touchesEnd.StartFrequency = kFk, touchesEnd.EndFrequency = UINT32_MAX;
    beyond.StartFrequency = at(98), beyond.EndFrequency = UINT32_MAX;
    slot.PointCount = 100;  // cells 0..99: points 0..98
    MarkScalePoints(slot, {&inside, nullptr, &overStart, &single, &touchesEnd, &beyond});
    std::vector<int64_t> marked;
    for (int64_t k = 0; k <= 100; ++k)
        if (slot.Flags[std::size_t(k + 1)] & kFixedFrequencyPoint) marked.push_back(k);
    EXPECT_EQ(marked, (std::vector<int64_t>{0, 1, 10, 11, 12, 60, 98}));
}

TEST(RangeAnalysisBounds, SlotsWithoutPointsReportAndNothingLeavesTheArrays) {
    for (int shape = 0; shape < 6; ++shape) {
        Bank slot = rangeSlot({{40, 200}, {70, 120}});
        if (shape == 0) slot.Step = 0;
        if (shape == 1 || shape == 2) slot.PointCount = uint32_t(shape - 1);
        if (shape == 3) slot.End = kFn - 1;
        if (shape == 4) slot.End = UINT32_MAX, slot.Step = 1, slot.Bandwidth = UINT32_MAX;
        if (shape == 5) slot.End = UINT32_MAX, slot.Flags.resize(50), slot.Processed.resize(50);
        const bool pointless = shape < 4;
        EXPECT_EQ(LastPoint(slot) < 0, pointless) << shape;
        UserSc everything;
        everything.EndFrequency = UINT32_MAX;
        MarkScalePoints(slot, {&everything});
        for (uint32_t f : {0u, kFn, at(41), kFk, UINT32_MAX}) {
            for (int32_t kind : {kCurrentCurve, kProcessedCurve}) {
                for (const SearchResult& r :
                     {SearchMaxLeft(slot, kind, f), SearchMaxRight(slot, kind, f),
                      SearchFixedLeft(slot, f), SearchFixedRight(slot, f)})
                    EXPECT_TRUE(!pointless || r.message != 0) << shape << " " << f;
                SmoothedLevel(slot, kind, int64_t{f});
            }
            const int32_t message = ToggleMarker(slot, f, MarkerMode::Toggle);
            EXPECT_TRUE(!pointless || message == kMarkerOutOfRange) << shape << " " << f;
        }
        Approximate(slot, kCurrentCurve);
        ProcessAgainstEtalon(slot, nullptr);
        ClearScale(slot);
    }
}

}  // namespace
