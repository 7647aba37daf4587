// The group window and the detailed study in the running program against the emulated
// IC-R8500: a group scan filling the strips, the group's up-down moving every range, and the
// study's curves bound again from the window of the tab that is up.

#include <gtest/gtest.h>

#include <utility>

#include "app/orvel_windows.h"
#include "tests/app/window_fixture.h"

namespace {

using window_test::kMHz;
using window_test::ScanOnAir;
using window_test::WithCarrier;

constexpr uint32_t k10kHz = 100;

class GroupOnAir : public ScanOnAir {
  protected:
    group& Strips() { return orvel.windows->strips; }
    // Loads a range into slot `index` as the journal does and lets the range window lay it out.
    Bank& LoadLaidOut(std::size_t index, uint32_t start, uint32_t end) {
        Bank& slot = Load(index, MakeRange(start, end, k10kHz));
        orvel.SlotIndex = int32_t(index);
        PostPrivateMessage(&orvel.windows->range, PostItemLoaded);
        EXPECT_TRUE(RunUntil([&] { return slot.PointCount > 0; }));
        return slot;
    }
    int BarHeight(int strip, const Bank& slot, uint32_t f) {
        const int x = Strips().View().ColumnOf(slot, f);
        int height = 0;
        for (int y = StripTop(strip); y < StripBottom(strip); ++y)
            if (Strips().View().Picture().Pixel(x, y) == group_colors::kBar) ++height;
        return height;
    }
};

TEST_F(GroupOnAir, AGroupScanFillsEachStripAsItGoesAndAClickMeanwhileTunesNothing) {
    // The carrier stands right of the strip's readout at its upper left.
    emulator.SetSignalPlan(WithCarrier(20, 100'800'000, 200));
    Bank& first = LoadLaidOut(0, 100 * kMHz, 100 * kMHz + 99 * k10kHz);
    Bank& second = LoadLaidOut(1, 101 * kMHz, 101 * kMHz + 99 * k10kHz);
    orvel.SlotIndex = 0;
    orvel.SwitchToTab(3);
    ui::ServePending();
    ASSERT_EQ(orvel.windows->picture.Owner(), kGroupWindowOwner);

    bool cursorFollowed = true;
    bool clicked = false;
    hooks[PostRangeScanStep] = [&] {
        const Bank& scanned = orvel.ScanSlots[std::size_t(orvel.ScanSlot)];
        if (scanned.ScanPoint != scanned.Start && scanned.Cursor + k10kHz != scanned.ScanPoint &&
            scanned.Cursor != scanned.ScanPoint)
            cursorFollowed = false;
        if (!clicked && orvel.ScanSlot == 1) {
            clicked = true;
            const int y = StripTop(0) + 20;
            Strips().MouseDown(10, y);
            Strips().MouseUp(10, y);
        }
    };
    orvel.StartButton();
    ASSERT_TRUE(orvel.Running);
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(cursorFollowed);
    EXPECT_EQ(arrivals[PostApplyFrequency], 0);
    // Noise stands 20 >> 3 pixels, the carrier 200 >> 3, in both strips as measured.
    EXPECT_EQ(BarHeight(0, first, 100 * kMHz + 60 * k10kHz), 2);
    EXPECT_EQ(BarHeight(0, first, 100 * kMHz + 80 * k10kHz), 25);
    EXPECT_EQ(BarHeight(1, second, 101 * kMHz + 80 * k10kHz), 2);
    // The shared picture shows the strips where the group window's picture stands.
    const ui::Rect r = Strips().PictureRect();
    const int x = Strips().View().ColumnOf(first, 100 * kMHz + 80 * k10kHz);
    EXPECT_EQ(orvel.windows->picture.Pixel(r.x + x, r.y + StripBottom(0) - 20), group_colors::kBar);
}

TEST_F(GroupOnAir, TheUpDownMovesEveryRangeOfTheGroupByAGridLineWithinItsScroll) {
    Bank& first = LoadLaidOut(0, 100 * kMHz, 104 * kMHz);
    Bank& second = LoadLaidOut(1, 110 * kMHz, 114 * kMHz);
    ASSERT_TRUE(first.Scrolls && second.Scrolls);
    orvel.SwitchToTab(3);
    for (const int delta : {+1, +1, -1, -1, -1}) {
        Strips().ftup->Press(delta);
        ui::ServePending();
    }
    EXPECT_EQ(first.ScrollPosition, 0);
    EXPECT_EQ(second.ScrollPosition, 0);
    Strips().ftup->Press(+1);
    ui::ServePending();
    EXPECT_EQ(first.ScrollPosition, 1);
    EXPECT_EQ(second.ScrollPosition, 1);
    // The range window shows the shown range from its new place.
    EXPECT_EQ(first.VisibleLow,
              first.FirstScaleFrequency + uint32_t(first.GridColumns[1]) * first.Step);
}

class StudyOnAir : public GroupOnAir {
  protected:
    // Counts what the study is sent.
    int StudyUpdates() {
        ui::ServePending();
        return std::exchange(updates, 0);
    }
    void OpenStudy() {
        orvel.pictbttn_13->Raise(ui::EventId::Click);
        ASSERT_NE(orvel.auxWindows.View, nullptr);
        orvel.auxWindows.View->AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            if (e.code == PostAnalysisUpdate) ++updates;
            return false;
        });
    }
    int updates = 0;
};

TEST_F(StudyOnAir, EachFedCurveIsBoundFromTheTabsWindowAndTheStudyHearsOncePerCurve) {
    Bank& slot = LoadLaidOut(0, 100 * kMHz, 100 * kMHz + 50 * k10kHz);
    orvel.SwitchToTab(2);
    OpenStudy();
    ASSERT_EQ(orvel.StudyOpen, 1);
    StudyUpdates();
    struct Case {
        int32_t feed;
        int updates;
    };
    for (const Case c : {Case{0, 0}, {1, 2}, {3, 4}}) {
        orvel.ViewFeed = c.feed;
        PostPrivateMessage(&orvel, PostAnalysisUpdate);
        ui::ServeFor(100);
        // Once from the main window per curve, once more when the range window has bound it.
        EXPECT_EQ(StudyUpdates(), c.updates) << c.feed;
    }
    EXPECT_EQ(orvel.ViewSources[0].Levels, &slot.Current);
    EXPECT_EQ(orvel.ViewSources[1].AxisMode, kStudyRangeAxis);

    // On the receiver's tab the curves take the receiver's scale; their markers follow the
    // tuning.
    orvel.SwitchToTab(0);
    ui::ServePending();
    EXPECT_EQ(orvel.ViewSources[0].Levels, &orvel.receiver.Panel()->Scale.Cells());
    EXPECT_EQ(orvel.ViewSources[0].AxisMode, kStudyFrequencyAxis);
    orvel.FrequencyPlus();
    EXPECT_EQ(orvel.ViewSources[1].Marker, int64_t{orvel.Frequency});

    // The calibration cannot open beside the study; the study's button closes it.
    orvel.pictbttn_12->Raise(ui::EventId::Click);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Нельзя производить калибровку.Загружена панель анализа");
    orvel.pictbttn_13->Raise(ui::EventId::Click);
    EXPECT_EQ(orvel.StudyOpen, 0);
    EXPECT_EQ(orvel.auxWindows.View, nullptr);
}

}  // namespace
