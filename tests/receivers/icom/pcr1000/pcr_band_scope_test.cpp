// The IC-PCR1000's band scope without a set: the start line, the blocks asked for, the
// replies taken and the cells a scan step copies into the level scale.

#include "receivers/icom/pcr1000/pcr_band_scope.h"

#include <gtest/gtest.h>

#include <string>

#include "receivers/icom/pcr1000/pcr1000.h"

namespace {

TEST(PcrBandScope, TheStartLineSweepsTheCellsThePictureShowsAtMost255) {
    const struct {
        int width, cellWidth, stepItem;
        const char* line;
    } cases[] = {
        {600, 6, 5, "ME0000164050100005000"},  {768, 3, 5, "ME00001FF050100005000"},
        {1000, 3, 8, "ME00001FF050100050000"}, {600, 48, 0, "ME000010C050100000100"},
        {2, 3, 5, "ME0000100050100005000"},
    };
    for (const auto& c : cases) {
        PcrBandScope scope;
        scope.CellWidth = c.cellWidth;
        ASSERT_TRUE(scope.SetStepItem(c.stepItem));
        EXPECT_EQ(scope.StartLine(c.width), c.line) << c.width << " / " << c.cellWidth;
    }
    PcrBandScope scope;
    EXPECT_FALSE(scope.SetStepItem(9));
    EXPECT_FALSE(scope.SetCellWidth(7));
    for (const int width : {12, 24, 48, 3, 6}) {
        scope.NextCellWidth();
        EXPECT_EQ(scope.CellWidth, width);
    }
}

TEST(PcrBandScope, OnlyTheBlocksOfVisibleCellsAreAskedFor) {
    PcrBandScope scope;
    scope.MarkWanted(600);  // cells 78..177
    EXPECT_EQ(scope.PollLine(),
              "NE140?\r\nNE150?\r\nNE160?\r\nNE170?\r\nNE180?\r\nNE190?\r\nNE1A0?\r\nNE1B0?\r\n");
    scope.CellWidth = 3;
    scope.MarkWanted(768);  // cells 1..255
    EXPECT_EQ(scope.PollLine().size(), 16 * 8u);
    scope.MarkWanted(0);
    EXPECT_EQ(scope.PollLine(), "");
}

TEST(PcrBandScope, AReplyFillsItsBlockAndAMalformedOneZeroesItOrIsIgnored) {
    PcrBandScope scope;
    std::string block7 = "NE170";
    for (int i = 0; i < 16; ++i) block7 += i == 3 ? "a0" : "C8";
    ASSERT_TRUE(scope.Take(block7));
    for (int c = 112; c < 128; ++c) EXPECT_EQ(scope.Cells[std::size_t(c)], c == 115 ? 0u : 200u);
    EXPECT_EQ(scope.Cells[111], 0u);
    EXPECT_EQ(scope.Cells[128], 0u);
    // Short: the missing pairs read 0.
    ASSERT_TRUE(scope.Take("NE17011"));
    EXPECT_EQ(scope.Cells[112], 0x11u);
    EXPECT_EQ(scope.Cells[113], 0u);
    // Blocks outside 0x10..0x1F would lie outside the 256 cells.
    const auto before = scope.Cells;
    for (const char* outside : {"NE0F0C8C8", "NE200C8C8", "NEzz0C8C8", "NE"})
        EXPECT_FALSE(scope.Take(outside)) << outside;
    EXPECT_EQ(scope.Cells, before);
}

TEST(PcrBandScope, AScanStepCopiesItsThirtyTwoCellsAroundTheFrequencyWithinTheScale) {
    PcrBandScope scope;
    for (int k = 0; k < 32; ++k) scope.Cells[std::size_t(112 + k)] = uint32_t(100 + k);
    scope.Cells[128] = 255;
    LevelScale scale;
    scale.Allocate(IC1000::kUpperLimit);
    scope.CopyToScale(scale, 1'000'000);
    EXPECT_EQ(scale.Cell(9'984), 100);
    EXPECT_EQ(scale.Cell(10'000), 254);
    EXPECT_EQ(scale.Cell(10'015), 131);
    EXPECT_EQ(scale.Cell(9'983), 0);
    EXPECT_EQ(scale.Cell(10'016), 0);

    // At the limits the cells beyond the scale are left out.
    scale.Clear();
    scope.CopyToScale(scale, 1'000);
    EXPECT_EQ(scale.Cell(0), 106);  // 100 Hz units -600 .. -100 have no cell
    EXPECT_EQ(scale.Cell(25), 131);
    scope.CopyToScale(scale, IC1000::kUpperLimit);
    EXPECT_EQ(scale.Cell(129'984), 100);
    EXPECT_EQ(scale.Cell(130'000), 254);
    EXPECT_EQ(scale.CellCount(), 130'001u);
}

}  // namespace
