#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "state/fdx.h"
#include "state/user_freq.h"

namespace {

using Stamp = std::array<int32_t, 6>;  // day, month, year, hour, minute, second

// A bank measurement series started at `start` polling every `poll` seconds.
class MeasurementTime : public ::testing::Test {
  protected:
    Stamp At(const Stamp& start, uint32_t poll, int n) {
        bank.Poll = poll;
        fdx.CurrentBank = &bank;
        fdx.MeasurementStart = start;
        fdx.MeasurementTime(n);
        return fdx.MeasurementStamp;
    }

    FDX fdx;
    UserFreq bank;
};

TEST_F(MeasurementTime, FirstMeasurementIsTheStart) {
    const Stamp start{15, 6, 2003, 10, 20, 30};
    EXPECT_EQ(At(start, 60, 0), start);
    EXPECT_EQ(At(start, 60, -1), start);
}

TEST_F(MeasurementTime, SecondsCarryIntoMinutesAndHours) {
    EXPECT_EQ(At({15, 6, 2003, 10, 20, 30}, 45, 1), (Stamp{15, 6, 2003, 10, 21, 15}));
    EXPECT_EQ(At({15, 6, 2003, 10, 59, 30}, 5, 7), (Stamp{15, 6, 2003, 11, 0, 5}));
}

TEST_F(MeasurementTime, LeapYearHasTheTwentyNinthOfFebruary) {
    EXPECT_EQ(At({28, 2, 2000, 23, 59, 30}, 60, 1), (Stamp{29, 2, 2000, 0, 0, 30}));
    EXPECT_EQ(At({28, 2, 2001, 23, 59, 30}, 60, 1), (Stamp{1, 3, 2001, 0, 0, 30}));
    // Every fourth year is a leap year here, 2100 included.
    EXPECT_EQ(At({28, 2, 2100, 23, 0, 0}, 3600, 1), (Stamp{29, 2, 2100, 0, 0, 0}));
}

TEST_F(MeasurementTime, MonthsEndOnTheirOwnLastDay) {
    EXPECT_EQ(At({30, 4, 2003, 23, 0, 0}, 3600, 1), (Stamp{1, 5, 2003, 0, 0, 0}));
    EXPECT_EQ(At({30, 5, 2003, 23, 0, 0}, 3600, 1), (Stamp{31, 5, 2003, 0, 0, 0}));
}

TEST_F(MeasurementTime, LastMinuteOfTheYearRollsIntoTheNext) {
    EXPECT_EQ(At({31, 12, 1999, 23, 59, 0}, 60, 1), (Stamp{1, 1, 2000, 0, 0, 0}));
}

TEST_F(MeasurementTime, LongSeriesCountsEveryDay) {
    constexpr uint32_t kDay = 86400;
    EXPECT_EQ(At({1, 1, 2000, 8, 0, 0}, kDay, 366), (Stamp{1, 1, 2001, 8, 0, 0}));
    EXPECT_EQ(At({1, 1, 2000, 8, 0, 0}, kDay, 1461 + 31 + 29), (Stamp{1, 3, 2004, 8, 0, 0}));
    EXPECT_EQ(At({29, 2, 2000, 8, 0, 0}, kDay, 3 * 1461), (Stamp{29, 2, 2012, 8, 0, 0}));
}

TEST(MeasurementTimeWithoutBank, EveryMeasurementIsStampedWithTheStart) {
    FDX fdx;
    fdx.MeasurementStart = {28, 2, 2000, 23, 59, 30};
    fdx.MeasurementTime(5);
    EXPECT_EQ(fdx.MeasurementStamp, fdx.MeasurementStart);
}

}  // namespace
