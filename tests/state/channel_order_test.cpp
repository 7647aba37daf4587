#include "state/channel_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ChannelOrder, EachColumnSortsAscendingWithSwitchedOffChannelsLastButByNumber) {
    const std::vector<ChannelSortFields> channels = {
        {0, 125, 'F', 50, false, "Альфа", 0},  // switched off
        {1'455'000, 125, 'A', 10, true, "Маяк", 1},   {1'017'000, 50, 'W', 30, false, "маяк", 2},
        {4'339'200, 125, 'F', 10, false, "Связь", 3}, {1'275'000, 250, 'C', 20, true, "beta", 4},
    };
    const auto sorted = [&](ChannelColumn column) {
        std::vector<int32_t> rows = {0, 1, 2, 3, 4};
        SortChannelRows(rows, column, [&](int32_t i) { return channels[std::size_t(i)]; });
        return rows;
    };
    using Rows = std::vector<int32_t>;
    EXPECT_EQ(sorted(ChannelColumn::Frequency), (Rows{2, 4, 1, 3, 0}));
    EXPECT_EQ(sorted(ChannelColumn::Step), (Rows{2, 1, 3, 4, 0}));
    EXPECT_EQ(sorted(ChannelColumn::Mode), (Rows{3, 2, 1, 4, 0}));  // F W A L U C
    EXPECT_EQ(sorted(ChannelColumn::Level), (Rows{1, 3, 4, 2, 0}));
    EXPECT_EQ(sorted(ChannelColumn::Attenuator), (Rows{2, 3, 1, 4, 0}));
    // Whatever the letter case, Cyrillic too; equal labels keep their order.
    EXPECT_EQ(sorted(ChannelColumn::Label), (Rows{4, 1, 2, 3, 0}));
    EXPECT_EQ(sorted(ChannelColumn::Number), (Rows{0, 1, 2, 3, 4}));
}

}  // namespace
