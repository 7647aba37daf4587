// The compact channel list beside the bank window, both on a stand-in main window that passes
// the bank window's PostBankRefreshData and PostBankRefreshDisplay on as the main window does.

#include "windows/hfreq.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "state/message_bus.h"
#include "tests/support/operator_hand.h"
#include "tests/windows/window_stand_ins.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "windows/freq.h"

namespace {

constexpr uint32_t kMHz = 10000;

class ChannelList : public ::testing::Test {
  protected:
    ChannelList() {
        fdx.Channels.assign(kMaxBankChannels, Mt{});
        fdx.Owner = &main;
        main.Show();
        const uint32_t frequencies[] = {1455000, 1017000, 0, 4339200};
        for (std::size_t i = 0; i < std::size(frequencies); ++i) {
            Mt& channel = fdx.Channels[i];
            channel.Frequency = frequencies[i];
            channel.Step = 250;
            channel.Modulation = i == 1 ? 'W' : 'F';
            channel.Attenuator = i == 3;
            channel.Work = int32_t(10 * i);
            channel.Number = int32_t(i);
        }
        fdx.ChannelCount = 4;
        bank.Create(&main, &fdx, &host);
        bank.OnUserEvent(PostItemLoaded);
        list.Create(&main, &fdx);
        // As the main window does, it passes the bank window's changes on to the list.
        main.onCode = [this](uint32_t code) {
            if (code == PostBankRefreshData) PostPrivateMessage(&list, PostRefreshData);
            if (code == PostBankRefreshDisplay) PostPrivateMessage(&list, PostRefreshDisplay);
        };
        Served();
    }
    // What the main window was sent; what it passed on has arrived too.
    std::vector<uint32_t> Served() { return main.Take(); }
    std::vector<std::string> Row(int row) {
        return {list.lv_1->Cell(row, 0), list.lv_1->Cell(row, 1), list.lv_1->Cell(row, 2)};
    }
    void Click(int row) {
        ui::EventData e;
        e.id = ui::EventId::Select;
        e.value = row;
        list.lv_1->Raise(e);
    }

    CodeSink main;
    HostStandIn host;
    FDX fdx;
    freq bank;
    hfreq list;
};

TEST_F(ChannelList, ListsEveryChannelWithItsLevelAndNumber) {
    ASSERT_EQ(list.lv_1->RowCount(), 4);
    EXPECT_EQ(Row(0), (std::vector<std::string>{" 145.5000", "0", "00"}));
    EXPECT_EQ(Row(3), (std::vector<std::string>{" 433.9200", "30", "03"}));
    EXPECT_EQ(Row(2)[0], "выкл");
    EXPECT_TRUE(fdx.HfreqOpen);
    list.SortBy(0);  // the switched-off channel last
    EXPECT_EQ(list.RowChannels(), (std::vector<int32_t>{1, 0, 3, 2}));
    // A bank without channels gives an empty list.
    fdx.ChannelCount = 0;
    list.OnUserEvent(PostRefreshData);
    EXPECT_EQ(list.lv_1->RowCount(), 0);
}

TEST_F(ChannelList, AClickTunesTheChannelOnlyWhileNoScanRuns) {
    Click(3);
    EXPECT_EQ(fdx.TuneFrequency, 4339200u);
    EXPECT_EQ(fdx.TuneModulation, 'F');
    EXPECT_EQ(fdx.TuneAttenuator, 1);
    EXPECT_EQ(fdx.TuneStep, 250u);
    EXPECT_EQ(Served(), std::vector<uint32_t>{PostApplyFrequency});
    fdx.Running = 1;
    Click(1);
    EXPECT_EQ(fdx.TuneFrequency, 4339200u);
    EXPECT_TRUE(Served().empty());
}

// The keys choose a channel as a click does; the right button over the rows runs the macro and
// leaves the channel as it was.
TEST_F(ChannelList, TheKeysTuneTheChannelAsAClickDoesAndTheRightButtonRunsTheMacro) {
    namespace hand = operator_hand;
    hand::ClickRow(list.lv_1, 0);
    ui::ServePending();
    EXPECT_EQ(fdx.TuneFrequency, 1455000u);
    Served();
    hand::PressKeys(list.lv_1, {Qt::Key_Down});
    EXPECT_EQ(fdx.TuneFrequency, 1017000u);
    EXPECT_EQ(fdx.TuneModulation, 'W');
    EXPECT_EQ(Served(), std::vector<uint32_t>{PostApplyFrequency});
    hand::PressKeys(list.lv_1, {Qt::Key_End});
    EXPECT_EQ(fdx.TuneFrequency, 4339200u);
    EXPECT_EQ(Served(), std::vector<uint32_t>{PostApplyFrequency});

    auto* view = static_cast<QTreeWidget*>(list.lv_1->widget());
    QTest::mouseClick(view->viewport(), Qt::RightButton, {},
                      view->visualItemRect(view->topLevelItem(0)).center());
    ui::ServePending();
    EXPECT_EQ(list.lv_1->SelectedRow(), 3);
    EXPECT_EQ(Served(), std::vector<uint32_t>{PostRunMacro});
}

TEST_F(ChannelList, FollowsTheBankWindowsChangesAndSelection) {
    bank.SelectRow(1);
    Served();
    EXPECT_EQ(list.lv_1->SelectedRow(), 1);
    // The bank window excludes the channel: the list is rebuilt and a click tunes the channel
    // that now stands in that row.
    bank.ExcludeSelected();
    Served();
    ASSERT_EQ(list.lv_1->RowCount(), 3);
    EXPECT_EQ(Row(2), (std::vector<std::string>{" 433.9200", "30", "02"}));
    Click(2);
    EXPECT_EQ(fdx.TuneFrequency, 4339200u);
    // A level read for the selected channel's setting is its level.
    bank.SelectRow(0);
    Served();
    fdx.Frequency = 1455000, fdx.Modulation = 'F', fdx.Level = 99;
    list.OnUserEvent(PostUpdateParams);
    EXPECT_EQ(Row(0)[1], "99");
}

TEST_F(ChannelList, ClosingTellsTheMainWindowOnce) {
    list.Close();
    list.Destroy();
    EXPECT_FALSE(fdx.HfreqOpen);
    EXPECT_EQ(Served(), std::vector<uint32_t>{PostHfreqClosed});
}

}  // namespace
