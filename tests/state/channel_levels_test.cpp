// The working bank's measurements and the study's curves that point into them.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "state/fdx.h"

namespace {

using Histories = std::vector<std::vector<uint8_t>>;

// A channel's curve goes with the histories, still on the time axis for the bank window to
// release; a curve into anything else (a range's levels) stays bound.
TEST(ChannelLevels, ReplacingThemUnbindsOnlyTheStudyCurvesIntoThem) {
    FDX fdx;
    fdx.ChannelLevels = {{1, 2, 3}, {4, 5, 6}};
    const std::vector<uint8_t> range{7, 8};
    fdx.ViewSources[0] = {&fdx.ChannelLevels[1], 0, 3, 0, 1, 2, kStudyTimeAxis, 1455000};
    fdx.ViewSources[1] = {&range, 0, 2, 1000000, 100, 1000000, kStudyRangeAxis, 0};

    fdx.ReplaceChannelLevels({{9}});
    EXPECT_EQ(fdx.ChannelLevels, (Histories{{9}}));
    EXPECT_EQ(fdx.ViewSources[0].Levels, nullptr);
    EXPECT_EQ(fdx.ViewSources[0].Count, 0u);
    EXPECT_EQ(fdx.ViewSources[0].AxisMode, kStudyTimeAxis);
    EXPECT_EQ(fdx.ViewSources[1].Levels, &range);
    EXPECT_EQ(fdx.ViewSources[1].Count, 2u);

    fdx.ReplaceChannelLevels();
    EXPECT_TRUE(fdx.ChannelLevels.empty());
    EXPECT_EQ(fdx.ViewSources[1].Levels, &range);
}

}  // namespace
