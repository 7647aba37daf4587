// The group window on a stand-in main window: its strips, what the mouse picks and tunes, its
// scroll bars and up-down, its job line, and the codes it posts back.

#include "windows/group.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "state/etl.h"
#include "state/job_str.h"
#include "state/message_bus.h"
#include "tests/windows/window_stand_ins.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "windows/range_analysis.h"
#include "windows/range_layout.h"

namespace {

constexpr uint32_t kFn = 1000000, kStep = 100;
uint32_t at(int64_t point) {
    return uint32_t(kFn + point * kStep);
}

class GroupWindow : public ::testing::Test {
  protected:
    GroupWindow() {
        fdx.ScanSlots.assign(kScanSlotCount, Bank{});
        fdx.Owner = &main;
        for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = 80 * k;
        fdx.BuildLevelTable();
        host.picture.SetOwner(kGroupWindowOwner);
        window.Create(&main, &fdx, &host);
        window.OnUserEvent(PostRefreshLevels);
        Posted();
    }

    // Slot `index` holding points 0..`last`, laid out as the range window lays it out.
    Bank& Load(std::size_t index, int64_t last = 100) {
        Bank& slot = fdx.ScanSlots[index];
        slot.Start = kFn, slot.End = at(last), slot.Step = kStep, slot.Bandwidth = 300;
        slot.Modulation = 'A';
        EXPECT_TRUE(LayoutScale(slot, {1000, 20000000, 250, 120}, window.View().Width()).laidOut);
        slot.InUse = 1;
        return slot;
    }
    void Set(Bank& slot, int64_t point, uint8_t level) {
        (*CurveArray(slot, slot.MainKind))[std::size_t(slot.CellOf(at(point)))] = level;
    }
    std::vector<uint32_t> Posted() { return main.Take(); }
    // The rows of column x of strip `strip` in the bars' colour.
    std::vector<int> BarRows(int strip, int x) {
        std::vector<int> rows;
        for (int y = StripTop(strip); y <= StripBottom(strip); ++y)
            if (window.View().Picture().Pixel(x, y) == group_colors::kBar) rows.push_back(y);
        return rows;
    }
    // A click at column x in the middle of strip `strip`, with the strips scrolled to the top.
    void Click(int strip, int x) {
        const int y = StripTop(strip) + 20;
        window.MouseMove(x, y);
        window.MouseDown(x, y);
        window.MouseUp(x, y);
    }

    CodeSink main;
    HostStandIn host;
    FDX fdx;
    group window;
};

TEST_F(GroupWindow, ABarIsTheLevelShiftedByThreeStandingOnItsStripsBottomLine) {
    struct Case {
        uint8_t level;
        int height;
    };
    constexpr Case kCases[] = {{0x00, 0}, {0x07, 0}, {0x08, 1}, {0x7F, 15}, {0xFF, 31}};
    for (const int strip : {0, 5, 11}) {
        Bank& slot = Load(std::size_t(strip));
        for (std::size_t i = 0; i < std::size(kCases); ++i)
            Set(slot, 10 + int64_t(i), kCases[i].level);
        window.DrawStrips(true);
        for (std::size_t i = 0; i < std::size(kCases); ++i) {
            const int x = window.View().ColumnOf(slot, at(10 + int64_t(i)));
            ASSERT_GE(x, 0);
            const std::vector<int> rows = BarRows(strip, x);
            ASSERT_EQ(int(rows.size()), kCases[i].height) << strip << " " << i;
            if (!rows.empty()) {
                EXPECT_EQ(rows.back(), StripBottom(strip) - 1);
                EXPECT_EQ(rows.front(), StripBottom(strip) - kCases[i].height);
            }
            EXPECT_EQ(window.View().Picture().Pixel(x, StripBottom(strip)), group_colors::kFrame);
        }
    }
    // With LG the bar stands on the calibrated level axis.
    fdx.OptLg = 1;
    Bank& slot = fdx.ScanSlots[0];
    window.DrawStrips(true);
    const int x = window.View().ColumnOf(slot, at(13));
    EXPECT_EQ(int(BarRows(0, x).size()), fdx.LevelAxisAt(0x7F) >> 3);
}

TEST_F(GroupWindow, APointerAboveTheFirstStripIsStripZeroAndBelowTheLastStripEleven) {
    struct Case {
        int y, strip;
    };
    // A pressed button goes on reporting the pointer when it is dragged above the picture.
    for (const Case c : {Case{-100, 0},
                         {0, 0},
                         {9, 0},
                         {10, 0},
                         {65, 0},
                         {66, 1},
                         {StripTop(3) + 40, 3},
                         {StripBottom(11), 11},
                         {kGroupPictureHeight - 1, 11},
                         {5000, 11}})
        EXPECT_EQ(StripAt(c.y), c.strip) << c.y;
    // Scrolled down, the picture's rows move under the pointer.
    window.ScrollStrips(2 * kStripPitch);
    EXPECT_EQ(fdx.GroupFirstVisible, 2);
    window.MouseMove(5, 10);
    EXPECT_EQ(window.HoveredStrip(), 2);
}

TEST_F(GroupWindow, AClickPicksAnotherStripsRangeAndTunesOnlyWhileNoScanRuns) {
    Load(0);
    Bank& other = Load(3);
    other.Range = nullptr;
    fdx.SlotIndex = 0;
    struct Case {
        int strip;
        bool running;
        std::vector<uint32_t> posted;
    };
    const Case cases[] = {
        {3, false, {PostShowStatus, PostApplyGroupFrequency, PostApplyFrequency}},
        {0, false, {PostShowStatus, PostApplyFrequency}},
        {3, true, {PostShowStatus, PostApplyGroupFrequency}},
        {0, true, {PostShowStatus}},
    };
    for (const Case& c : cases) {
        fdx.Running = c.running;
        fdx.SpySlot = 0;
        fdx.TuneFrequency = 0;
        const int x = window.View().ColumnOf(fdx.ScanSlots[std::size_t(c.strip)], at(40));
        Click(c.strip, x);
        EXPECT_EQ(Posted(), c.posted) << c.strip << c.running;
        EXPECT_EQ(fdx.SpySlot, c.strip == 3 ? 3 : 0);
        EXPECT_EQ(fdx.TuneFrequency, c.running ? 0u : at(40));
    }
    // The tune takes the strip's own mode and step, and its cursor moves there.
    EXPECT_EQ(fdx.TuneModulation, 'A');
    EXPECT_EQ(fdx.TuneStep, kStep);
    EXPECT_EQ(other.Cursor, at(40));
    // A double click also shows the range tab.
    window.MouseMove(5, StripTop(3) + 5);
    window.DoubleClick();
    EXPECT_EQ(Posted(),
              (std::vector<uint32_t>{PostShowStatus, PostApplyGroupFrequency, PostShowRangeTab}));
}

TEST_F(GroupWindow, TheMouseShowsFrequencyAndLevelOfTheStripUnderIt) {
    Bank& slot = Load(2, 50);
    Set(slot, 20, 90);
    const int x20 = window.View().ColumnOf(slot, at(20));
    const int past = window.View().ColumnOf(slot, at(50)) + 5;  // beyond Fк, still in view
    struct Case {
        int strip, x;
        int32_t frequency, level;
    };
    for (const Case c :
         {Case{2, x20, int32_t(at(20)), 90}, {2, past, int32_t(at(55)), 0}, {4, x20, -1, 0}}) {
        window.MouseMove(c.x, StripTop(c.strip) + 10);
        EXPECT_EQ(fdx.CursorFrequency, c.frequency) << c.x;
        EXPECT_EQ(fdx.CursorLevel, c.level) << c.x;
        EXPECT_EQ(Posted(), std::vector<uint32_t>{PostShowStatus});
    }
    window.MouseMove(x20, StripTop(2) + 10);
    Posted();
    window.MouseLeave();
    EXPECT_EQ(fdx.CursorFrequency, -1);
    EXPECT_EQ(Posted(), std::vector<uint32_t>{PostShowStatus});
}

TEST_F(GroupWindow, TheCursorsReadoutNamesTheCurveAndALevelOutsideTheRangeIsZero) {
    Bank& slot = Load(1, 50);
    Set(slot, 30, 120);
    Etl etalon;
    etalon.Identifier = "Эталон 1";
    slot.EtalonRecord = &etalon;
    slot.HasEtalon = 1;
    struct Case {
        int32_t kind;
        uint8_t db;
        int64_t f;
        const char* text;
    };
    for (const Case c : {Case{kCurrentCurve, 0, at(30), "тек 120"},
                         {kMaximumCurve, 0, at(30), "макс 0"},
                         {kEtalonCurve, 0, at(30), "эталон Эталон 1 0"},
                         {kCurrentCurve, 1, at(30), "тек 60.0"},
                         {kCurrentCurve, 0, at(60), "тек 0"}}) {
        slot.MainKind = c.kind;
        fdx.OptDb = c.db;
        EXPECT_EQ(StripReadout(fdx, slot, c.f), c.text);
    }
    EXPECT_EQ(StripLevel(slot, at(60)), 0);
    EXPECT_EQ(StripLevel(slot, int64_t{kFn} - kStep), 0);
}

TEST_F(GroupWindow, ScrollBarsUpDownAndJobLine) {
    Bank& wide = Load(0, 4000);  // more points than the strip has columns
    ASSERT_TRUE(wide.Scrolls);
    fdx.SlotIndex = 0;
    window.OnUserEvent(PostRefreshData);
    EXPECT_TRUE(window.hs->IsEnabled());
    EXPECT_EQ(window.nd->Text(), "01");
    window.ScrollScale(3);
    EXPECT_EQ(wide.ScrollPosition, 3);
    window.ScrollScale(100000);
    EXPECT_EQ(wide.ScrollPosition, wide.ScrollMaximum);
    EXPECT_EQ(Posted(), (std::vector<uint32_t>{PostGroupRangeChosen, PostGroupRangeChosen}));
    // A SPY scan moves the range itself.
    fdx.OptSpy = fdx.Running = 1;
    fdx.RunningMode = 3;
    window.OnUserEvent(PostLockControls);
    EXPECT_FALSE(window.hs->IsEnabled());
    fdx.Running = 0;

    window.ftup->Press(-1);
    window.ftup->Press(+1);
    EXPECT_EQ(window.ftup->Position(), 0);
    EXPECT_EQ(Posted(), (std::vector<uint32_t>{PostGroupRepaintRange, PostRepaintRange}));

    // The strips in view are copied from the scrolled picture.
    const ui::Rect r = window.PictureRect();
    const int middle = r.x + r.width / 2;
    EXPECT_EQ(host.picture.Pixel(middle, r.y + StripBottom(0) - 14), group_colors::kBackground);
    window.ScrollStrips(14);
    EXPECT_EQ(host.picture.Pixel(middle, r.y + StripBottom(0) - 14), group_colors::kFrame);
    window.ScrollStrips(-20);
    EXPECT_EQ(window.Offset(), 0);

    JobStr line;
    fdx.JobLine = &line;
    window.OnUserEvent(PostJobStep);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Нет доступа к обьекту");
    EXPECT_EQ(Posted(), std::vector<uint32_t>{PostJobStep});
}

TEST_F(GroupWindow, DuringAGroupScanTheMeasuredStripsCursorFollowsTheTuning) {
    Load(0);
    Bank& scanned = Load(4);
    fdx.Running = 1;
    fdx.RunningMode = 3;
    fdx.ScanSlot = 4;
    Set(scanned, 60, 200);
    fdx.Frequency = at(60);
    window.OnUserEvent(PostRefreshDisplay);
    EXPECT_EQ(scanned.Cursor, at(60));
    const int x = window.View().ColumnOf(scanned, at(60));
    EXPECT_EQ(window.View().Picture().Pixel(x, StripTop(4) + 20), group_colors::kCursor);
    EXPECT_EQ(int(BarRows(4, x + 1).size()), 0);
    // Once the scan has gone on to another range, the strip it left shows its last point
    // (right of the strip's readout).
    Set(scanned, 61, 200);
    fdx.ScanSlot = 0;
    fdx.Frequency = at(3);
    window.OnUserEvent(PostRefreshDisplay);
    EXPECT_EQ(int(BarRows(4, x + 1).size()), 25);
    // When the scan ends, the strips show what it measured last.
    Set(scanned, 70, 200);
    fdx.Running = 0;
    window.OnUserEvent(PostUnlockControls);
    EXPECT_EQ(int(BarRows(4, window.View().ColumnOf(scanned, at(70))).size()), 25);
    // What the strips show is on the shared picture, where the window's picture stands.
    const ui::Rect r = window.PictureRect();
    EXPECT_EQ(host.picture.Pixel(r.x + x, r.y + StripTop(4) + 20), group_colors::kCursor);
}

}  // namespace
