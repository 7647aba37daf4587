// Tuning from the main window against the emulated IC-R8500: what reaches the receiver for one
// action, and how the receiver page follows.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "tests/app/scan_fixture.h"

namespace {

using scan_test::kMHz;
using scan_test::ScanOnAir;

class Tuning : public ScanOnAir {
  protected:
    // Runs the lines as a loaded job, to its end.
    void RunJob(std::initializer_list<JobStr> lines) {
        std::copy(lines.begin(), lines.end(), orvel.RunLines.begin());
        orvel.JobLineCount = int32_t(lines.size());
        orvel.StartJob();
        ASSERT_TRUE(RunUntil([&] { return !orvel.JobRunning; }, 10'000));
    }
    static JobStr MainLine(uint32_t object) {
        JobStr line;
        line.TAB = 10;
        line.OBJ = object;
        return line;
    }
};

TEST_F(Tuning, PlusAndMinusLinesTuneAndMeasureOnce) {
    const uint32_t start = orvel.Frequency;
    orvel.PlusOffset = 5 * kMHz;
    orvel.MinusOffset = 2 * kMHz;
    RunJob({MainLine(29)});
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{start + 5 * kMHz}));
    EXPECT_EQ(LevelQueries(), 1);

    emulator.ClearReceivedFrames();
    RunJob({MainLine(30)});
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{start + 3 * kMHz}));
    EXPECT_EQ(LevelQueries(), 1);
}

}  // namespace
