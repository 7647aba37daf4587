#include "windows/bank_chart.h"

#include <gtest/gtest.h>

#include <set>

#include "state/fdx.h"

namespace {

using namespace bank_colors;

constexpr int kWidth = 60, kHeight = 256;
constexpr ui::Point kAt{7, 5};  // the chart's place on the shared picture

std::set<int> Span(int from, int to) {
    std::set<int> rows;
    for (int y = from; y <= to; ++y) rows.insert(y);
    return rows;
}

// The rows of `rows` from `from` to `to`, and those of `rows` not in `out`.
std::set<int> Within(const std::set<int>& rows, int from, int to) {
    return {rows.lower_bound(from), rows.upper_bound(to)};
}
std::set<int> Without(std::set<int> rows, const std::set<int>& out) {
    for (int y : out) rows.erase(y);
    return rows;
}

// The rows of column x (of the chart at `at`) that have `color`, from the chart's top through
// its time band.
std::set<int> Rows(const ui::Picture& p, int x, ui::Color color, ui::Point at = {}) {
    std::set<int> rows;
    for (int y = 0; y < kHeight + BankChart::kTimeBand; ++y)
        if (p.Pixel(at.x + x, at.y + y) == color) rows.insert(y);
    return rows;
}

class BankChartPicture : public ::testing::Test {
  protected:
    // `channels` channels measured `samples` times, every level 0, a poll of `poll` seconds
    // from 7 March 2001 at hh:mm:ss.
    void Series(int channels, int samples, uint32_t poll, int hh, int mm, int ss) {
        bank.Poll = poll;
        fdx.CurrentBank = &bank;
        fdx.MeasurementStart = {7, 3, 2001, hh, mm, ss};
        fdx.MeasurementCapacity = samples;
        fdx.HistoriesAllocated = 1;
        fdx.ChannelLevels.assign(std::size_t(channels), std::vector<uint8_t>(std::size_t(samples)));
        rows.channels.clear();
        for (int i = 0; i < channels; ++i) rows.channels.push_back(i);
    }

    FDX fdx;
    UserFreq bank;
    ChartRows rows;
    BankChart chart{kWidth, kHeight};
    ui::SharedPicture shared{kWidth + 20, kHeight + 40};
};

TEST_F(BankChartPicture, LevelsStandAsLinesOfTheirHighNibbleOverTheRowsBaselines) {
    Series(20, 100, 60, 9, 5, 30);
    const uint8_t bytes[] = {0x00, 0x10, 0xF0, 0xFF};
    for (std::size_t s = 0; s < 4; ++s) {
        fdx.ChannelLevels[0][s] = bytes[s];
        fdx.ChannelLevels[1][s] = bytes[s];
    }
    rows.selected = 1;
    chart.Draw(fdx, rows, 0);
    const ui::Picture& p = chart.Picture();
    // Each line ends one pixel above its row's baseline (30 for row 0, 44 for row 1).
    const std::set<int> expected[] = {{}, {29}, Span(17, 29), Span(17, 29)};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(Rows(p, x, kLevel), expected[x]) << x;
        std::set<int> selected;
        for (int y : expected[x]) selected.insert(y + 14);
        // The selected row is white, its baseline too.
        EXPECT_EQ(Rows(p, x, kSelected), [&] {
            std::set<int> white = selected;
            white.insert(44);
            return white;
        }()) << x;
    }
    // Of twenty rows sixteen fit: baselines 30, 44, ... 240 (the next would pass 253).
    std::set<int> baselines;
    for (int y = 30; y <= 253; y += 14)
        if (y != 44) baselines.insert(y);
    EXPECT_EQ(baselines.size(), 15u);
    EXPECT_EQ(Within(Rows(p, 30, kBand), 0, kHeight - 1), baselines);
    EXPECT_EQ(BankChart::RowsShown(kHeight, 20), 16);
    EXPECT_EQ(BankChart::RowsShown(200, 20), 13);  // baselines up to 198
    EXPECT_EQ(BankChart::RowsShown(kHeight, 3), 3);
}

TEST_F(BankChartPicture, WithoutMeasurementsTheChartIsBlackOverABareBand) {
    Series(3, 10, 60, 9, 5, 30);
    fdx.ChannelLevels[0][0] = 0xF0;
    fdx.HistoriesAllocated = 0;
    chart.Draw(fdx, rows, 0);
    EXPECT_TRUE(Rows(chart.Picture(), 0, kLevel).empty());
    EXPECT_EQ(Rows(chart.Picture(), 0, kChart), Span(0, kHeight - 1));
    EXPECT_EQ(Rows(chart.Picture(), 0, kBand), Span(kHeight, kHeight + 9));
}

// The band's line runs 6 pixels under the chart, closed up to it at both ends; a minute's tick
// rises 3 pixels from it, an
// hour's 5 pixels over two columns.
TEST_F(BankChartPicture, TheTimeBandTicksTheMeasurementsThatBeginAMinuteOrAnHour) {
    const int line = kHeight + 6;
    const std::set<int> minute = Span(line - 3, line), hour = Span(line - 5, line);
    const std::set<int> bare = {line};
    struct Case {
        int hh, mm, ss;
        uint32_t poll;
        int32_t first;
        std::vector<std::pair<int, std::set<int>>> columns;  // column: its black band rows
    };
    // 09:58:30 every 10 s: 09:59:00 is measurement 3, 10:00:00 measurement 9, 10:01:00 15.
    const Case cases[] = {
        {9,
         58,
         30,
         10,
         0,
         {{0, Span(kHeight, line)},
          {2, bare},
          {3, minute},
          {4, bare},
          {9, hour},
          {10, hour},
          {11, bare},
          {15, minute}}},
        {9, 58, 30, 10, 5, {{4, hour}, {5, hour}, {6, bare}, {10, minute}}},
        // The first measurement on the stroke of an hour begins it.
        {10, 0, 0, 60, 0, {{0, Span(kHeight, line)}, {1, hour}, {2, minute}, {3, minute}}},
    };
    for (const Case& c : cases) {
        Series(2, 100, c.poll, c.hh, c.mm, c.ss);
        chart.Draw(fdx, rows, c.first);
        for (const auto& [x, band] : c.columns)
            EXPECT_EQ(Within(Rows(chart.Picture(), x, kChart), kHeight, kHeight + 9), band)
                << c.hh << ":" << c.mm << " first " << c.first << " column " << x;
    }
    // Past the last measurement there are no ticks.
    Series(2, 3, 60, 9, 0, 0);
    chart.Draw(fdx, rows, 0);
    EXPECT_EQ(Within(Rows(chart.Picture(), 5, kChart), kHeight, kHeight + 9), bare);
}

TEST_F(BankChartPicture, TheCursorStandsOnTheShownMeasurementAndTheColumnItLeavesIsRenewed) {
    Series(2, 100, 60, 9, 5, 30);
    for (int s = 0; s < 100; ++s) fdx.ChannelLevels[0][std::size_t(s)] = 0x30;
    chart.Draw(fdx, rows, 10);
    chart.Show(shared, kAt);
    chart.ShowStrip(shared, kAt, fdx, rows, 10, 15, "09:10:30  07-03-2001");
    EXPECT_EQ(chart.CursorColumn(), 5);
    // Red from the top, the level lines of the measurement over it.
    EXPECT_EQ(Rows(shared, 5, kCursor, kAt), Without(Span(0, kHeight - 1), Span(27, 29)));
    EXPECT_EQ(Rows(shared, 5, kLevel, kAt), Span(27, 29));

    chart.ShowStrip(shared, kAt, fdx, rows, 10, 16, "");
    EXPECT_EQ(chart.CursorColumn(), 6);
    EXPECT_TRUE(Rows(shared, 5, kCursor, kAt).empty());
    EXPECT_EQ(Within(Rows(shared, 5, kBand, kAt), 0, kHeight - 1), (std::set<int>{30, 44}));
    // A measurement outside the chart has no cursor.
    chart.ShowStrip(shared, kAt, fdx, rows, 10, 9, "");
    EXPECT_EQ(chart.CursorColumn(), -1);
    EXPECT_TRUE(Rows(shared, 6, kCursor, kAt).empty());
}

TEST_F(BankChartPicture, AMeasuredColumnIsDrawnOnBothPictures) {
    Series(2, 100, 60, 9, 5, 30);
    chart.Draw(fdx, rows, 0);
    chart.Show(shared, kAt);
    fdx.ChannelLevels[1][4] = 0x50;
    chart.DrawColumn(&shared, kAt, fdx, rows, 0, 4);
    EXPECT_EQ(Rows(shared, 4, kLevel, kAt), Span(39, 43));
    EXPECT_EQ(Rows(chart.Picture(), 4, kLevel), Span(39, 43));
    // Off the chart nothing is drawn.
    chart.DrawColumn(&shared, kAt, fdx, rows, 0, kWidth);
    EXPECT_EQ(shared.Pixel(kAt.x + kWidth, kAt.y + 30), chart.Picture().Pixel(kWidth, 30));
}

}  // namespace
