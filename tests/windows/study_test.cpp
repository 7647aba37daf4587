// The detailed study's arithmetic: where each curve's samples go in the display buffer, the
// marker held to its curve, the differences and the readouts.

#include "windows/study.h"

#include <gtest/gtest.h>

#include <vector>

#include "state/user_freq.h"

namespace {

// A curve of `levels` on the frequency axis from 100.0000 MHz in steps of 1 kHz, or on the
// time axis (measurement numbers).
struct Curve {
    std::vector<uint8_t> levels;
    ViewSource source;
    Curve(std::vector<uint8_t> l, int64_t marker, int32_t axis = kStudyRangeAxis)
        : levels(std::move(l)) {
        const bool time = axis == kStudyTimeAxis;
        source.Levels = &levels;
        source.Count = uint32_t(levels.size());
        source.Start = time ? 0 : 1000000;
        source.Step = time ? 1 : 10;
        source.Marker = marker;
        source.AxisMode = axis;
        source.Frequency = time ? 1455000 : 0;
    }
};

TEST(StudyBuffer, EachCurveTakesItsParityAroundTheMiddleAndAMarkerAtZeroLeavesItsLeftEmpty) {
    const Curve first({11, 12, 13, 14, 15}, 1000000);   // marker at sample 0
    const Curve second({21, 22, 23, 24, 25}, 1000020);  // marker at sample 2
    struct Case {
        int width;
        std::vector<uint8_t> buffer;
    };
    for (const Case& c : {
             // Middle 6: the first curve on even pixels from 6, the second on odd from 7;
             // leftwards from 5 the second's earlier samples, the first has none.
             Case{12, {0, 0, 0, 21, 0, 22, 11, 23, 12, 24, 13, 25}},
             // Middle 5 (odd): the second curve starts at 5, the first at 6.
             Case{10, {0, 21, 0, 22, 0, 23, 11, 24, 12, 25}},
         }) {
        EXPECT_EQ(StudyDisplayBuffer(c.width, {first.source, second.source}), c.buffer) << c.width;
    }
    // Without a second curve its pixels stay 0.
    EXPECT_EQ(StudyDisplayBuffer(8, {first.source, ViewSource{}}),
              (std::vector<uint8_t>{0, 0, 0, 0, 11, 0, 12, 0}));
}

TEST(StudyMarker, AMarkerBeyondEitherEndOfItsCurveReadsThatEnd) {
    Curve c({5, 6, 7}, 0);
    struct Case {
        int64_t marker, sample;
    };
    for (const Case m : {Case{1000000 - 500, 0}, {1000010, 1}, {1000029, 2}, {5000000, 2}}) {
        c.source.Marker = m.marker;
        EXPECT_EQ(MarkerSample(c.source), m.sample) << m.marker;
    }
    // A count past the array reads only what the array holds.
    c.source.Count = 1000;
    c.source.Marker = 5000000;
    EXPECT_EQ(StudyLevel(c.source, MarkerSample(c.source)), 7u);
    EXPECT_EQ(StudyLevel(c.source, 3), 0u);
}

TEST(StudyDifferences, OnlyTwoCurvesOnTheSameKindOfAxisHaveDifferences) {
    FDX fdx;
    UserFreq bank;
    bank.Poll = 30;
    fdx.CurrentBank = &bank;
    const Curve range1({10, 40, 90}, 1000020);  // 100.0020 MHz, level 90
    const Curve range2({70, 10, 20}, 1000000);  // 100.0000 MHz, level 70
    const Curve scale({0, 50}, 1000010, kStudyFrequencyAxis);
    const Curve time1({1, 2, 3, 4, 5}, 4, kStudyTimeAxis);
    const Curve time2({9, 9}, 0, kStudyTimeAxis);
    struct Case {
        ViewSource a, b;
        bool valid;
        int64_t distance;
        uint32_t level;
    };
    for (const Case& c : {Case{range1.source, range2.source, true, 20, 20},
                          {range1.source, scale.source, true, 10, 40},  // both by frequency
                          {time1.source, time2.source, true, 4 * 30, 4},
                          {range1.source, time1.source, false, 0, 0},
                          {range1.source, ViewSource{}, false, 0, 0}}) {
        const StudyDifferences d = StudyDifferencesOf(fdx, {c.a, c.b});
        EXPECT_EQ(d.valid, c.valid);
        EXPECT_EQ(d.distance, c.distance);
        EXPECT_EQ(d.level, c.level);
    }
}

TEST(StudyReadouts, TextsAtTheMarkersAndOfTheDifferences) {
    FDX fdx;
    for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 80 * k;
    UserFreq bank;
    bank.Poll = 60;
    fdx.CurrentBank = &bank;
    fdx.MeasurementStart = {7, 3, 2001, 9, 5, 30};
    const Curve range({10, 40, 160}, 1000020);
    const Curve time({1, 2, 3, 4, 5}, 2, kStudyTimeAxis);
    fdx.ViewSources = {range.source, time.source};
    EXPECT_EQ(StudyReadout(fdx, 0), "F=100.0020   S=10   U=160 un");
    EXPECT_EQ(StudyReadout(fdx, 1), "T=09:07:30   F=145.5000   U=3 un");
    fdx.OptDb = 1;
    EXPECT_EQ(StudyReadout(fdx, 0), "F=100.0020   S=10   U=80.0 dB");
    fdx.ViewSources[1] = ViewSource{};
    EXPECT_EQ(StudyReadout(fdx, 1), "");

    StudyDifferences d{true, false, 20, 30, 150};
    EXPECT_EQ(StudyDifferenceReadout(fdx, d), "dF=  0.0020MHz   dU=15.0 dB");
    fdx.OptDb = 0;
    d.timeAxis = true;
    d.distance = 120;
    EXPECT_EQ(StudyDifferenceReadout(fdx, d), "dT=120 sec   dU=30 un");
    d.valid = false;
    EXPECT_EQ(StudyDifferenceReadout(fdx, d), "");
}

}  // namespace
