// The bank window in the running main window: a bank scan of the emulated IC-R8500 fills its
// chart a column per measurement, and its button opens and closes the compact channel list.

#include <gtest/gtest.h>

#include "app/orvel_windows.h"
#include "tests/app/window_fixture.h"

namespace {

using window_test::kMHz;
using window_test::ScanOnAir;
using window_test::ThreeCarriers;

class BankWindowOnAir : public ScanOnAir {
  protected:
    freq& Window() { return orvel.windows->bank; }
    // The working bank 100, 101, 102 MHz, a series of `interval` minutes polled every 10 s,
    // shown on its page.
    void ThreeChannels(uint32_t interval) {
        bank.Interval = interval;
        bank.Poll = 10;
        for (std::size_t i = 0; i < 3; ++i) {
            orvel.Channels[i] = Mt{};
            orvel.Channels[i].Frequency = (100 + uint32_t(i)) * kMHz;
            orvel.Channels[i].Step = 250;
            orvel.Channels[i].Modulation = 'W';
        }
        orvel.ChannelCount = 3;
        orvel.CurrentBank = &bank;
        PostPrivateMessage(&Window(), PostItemLoaded);
        orvel.SwitchToTab(1);
        ui::ServePending();
    }
    ui::Color Shared(int x, int y) {
        const ui::Rect chart = Window().ChartRect();
        return orvel.windows->picture.Pixel(chart.x + x, chart.y + y);
    }
    // The length of the level line of chart row `row` in column x of the shared picture.
    int Line(int x, int row) {
        const int base = BankChart::kFirstBaseline + BankChart::kRowPitch * row;
        int pixels = 0;
        for (int y = base - 1; y > base - BankChart::kRowPitch; --y)
            if (Shared(x, y) == bank_colors::kLevel) ++pixels;
        return pixels;
    }
    int CursorColumn() {
        for (int x = 0; x < Window().ChartRect().width; ++x)
            if (Shared(x, 0) == bank_colors::kCursor) return x;
        return -1;
    }

    UserFreq bank;
};

TEST_F(BankWindowOnAir, TheChartGrowsAColumnPerMeasurementAndWithSpyTheCursorFollows) {
    emulator.SetSignalPlan(ThreeCarriers());  // levels 60, 70, 80: lines of 3, 4, 5 pixels
    PostPrivateMessage(&orvel, PostOpenHfreq);
    for (const bool spy : {true, false}) {
        orvel.OptSpy = spy;
        ThreeChannels(1);  // 7 measurements
        orvel.StartButton();
        ASSERT_TRUE(orvel.Running);
        ui::ServePending();
        EXPECT_FALSE(Window().cb_1->IsEnabled());
        EXPECT_EQ(CursorColumn(), 0) << spy;
        for (int n = 1; n <= 3; ++n) {
            ASSERT_TRUE(RunUntil([&] { return orvel.ChannelLevels[2][std::size_t(n - 1)] == 80; }));
            calendar += 10;
            ASSERT_TRUE(RunUntil([&] { return orvel.MeasurementCount == n; }, 2000));
            ui::ServePending();
            // The measurement just made stands in its column; the next ones are still empty.
            EXPECT_EQ(Line(n - 1, 0), 3) << spy << " " << n;
            EXPECT_EQ(Line(n - 1, 1), 4) << spy << " " << n;
            EXPECT_EQ(Line(n - 1, 2), 5) << spy << " " << n;
            EXPECT_EQ(Line(n + 1, 2), 0) << spy << " " << n;
            EXPECT_EQ(CursorColumn(), spy ? n : 0) << n;
            EXPECT_EQ(orvel.BankSampleIndex, spy ? n : 0);
            // The lists show the levels of a measurement made: with SPY the one before, else
            // the shown one.
            for (int row = 0; row < 3; ++row) {
                const std::string level = std::to_string(60 + 10 * row);
                EXPECT_EQ(Window().lv_1->Cell(row, 3), level) << spy << " " << n;
                EXPECT_EQ(orvel.windows->channelList->lv_1->Cell(row, 1), level);
            }
        }
        orvel.StartButton();
        ASSERT_FALSE(orvel.Running);
        ui::ServePending();
        EXPECT_TRUE(Window().cb_1->IsEnabled());
        calendar += 100;
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(BankWindowOnAir, ItsButtonOpensAndClosesTheChannelListThatFollowsTheBank) {
    EXPECT_EQ(orvel.tabctrl_1->Page(1), &Window());
    EXPECT_EQ(orvel.subWindows.freq, &Window());
    ThreeChannels(0);
    Window().clear->Raise(ui::EventId::Click);
    ui::ServePending();
    ASSERT_NE(orvel.auxWindows.hfreq, nullptr);
    EXPECT_TRUE(orvel.HfreqOpen);
    hfreq& list = *orvel.windows->channelList;
    EXPECT_EQ(orvel.auxWindows.hfreq, &list);
    EXPECT_EQ(list.lv_1->RowCount(), 3);
    EXPECT_EQ(list.Geometry().x, orvel.Geometry().x);

    Window().SelectRow(1);
    Window().ExcludeSelected();
    ui::ServePending();
    EXPECT_EQ(list.lv_1->RowCount(), 2);
    EXPECT_EQ(list.lv_1->Cell(1, 0), " 102.0000");

    // The list, closed, says so; then it goes.
    Window().clear->Raise(ui::EventId::Click);
    ui::ServePending();
    ui::ServePending();
    EXPECT_EQ(orvel.auxWindows.hfreq, nullptr);
    EXPECT_EQ(orvel.windows->channelList, nullptr);
    EXPECT_FALSE(orvel.HfreqOpen);
}

}  // namespace
