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

// Measurement n of a series is stamped n poll periods after its start, in the calendar the
// files have always used: every fourth year a leap year, 2100 included.
TEST_F(MeasurementTime, CountsPollPeriodsThroughTheCalendar) {
    constexpr uint32_t kDay = 86400;
    // clang-format off
    const struct {
        const char* what;
        Stamp start;
        uint32_t poll;
        int n;
        Stamp expected;
    } cases[] = {
        {"the first is the start",          {15, 6, 2003, 10, 20, 30}, 60, 0,    {15, 6, 2003, 10, 20, 30}},
        {"as is one before it",             {15, 6, 2003, 10, 20, 30}, 60, -1,   {15, 6, 2003, 10, 20, 30}},
        {"seconds carry into minutes",      {15, 6, 2003, 10, 20, 30}, 45, 1,    {15, 6, 2003, 10, 21, 15}},
        {"and into hours",                  {15, 6, 2003, 10, 59, 30}, 5, 7,     {15, 6, 2003, 11, 0, 5}},
        {"a leap year's 29 February",       {28, 2, 2000, 23, 59, 30}, 60, 1,    {29, 2, 2000, 0, 0, 30}},
        {"another year's 1 March",          {28, 2, 2001, 23, 59, 30}, 60, 1,    {1, 3, 2001, 0, 0, 30}},
        {"2100 a leap year",                {28, 2, 2100, 23, 0, 0}, 3600, 1,    {29, 2, 2100, 0, 0, 0}},
        {"a month of 30 days",              {30, 4, 2003, 23, 0, 0}, 3600, 1,    {1, 5, 2003, 0, 0, 0}},
        {"a month of 31 days",              {30, 5, 2003, 23, 0, 0}, 3600, 1,    {31, 5, 2003, 0, 0, 0}},
        {"into the next year",              {31, 12, 1999, 23, 59, 0}, 60, 1,    {1, 1, 2000, 0, 0, 0}},
        {"a leap year of days",             {1, 1, 2000, 8, 0, 0}, kDay, 366,    {1, 1, 2001, 8, 0, 0}},
        {"four years and two months",       {1, 1, 2000, 8, 0, 0}, kDay, 1521,   {1, 3, 2004, 8, 0, 0}},
        {"twelve years from 29 February",   {29, 2, 2000, 8, 0, 0}, kDay, 4383, {29, 2, 2012, 8, 0, 0}},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(At(c.start, c.poll, c.n), c.expected) << c.what;
}

TEST(MeasurementTimeWithoutBank, EveryMeasurementIsStampedWithTheStart) {
    FDX fdx;
    fdx.MeasurementStart = {28, 2, 2000, 23, 59, 30};
    fdx.MeasurementTime(5);
    EXPECT_EQ(fdx.MeasurementStamp, fdx.MeasurementStart);
}

}  // namespace
