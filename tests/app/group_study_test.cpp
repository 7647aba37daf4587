// The group window and the detailed study in the running program against the emulated
// IC-R8500: a group scan filling the strips, the group's up-down moving every range, and the
// study's curves bound again from the window of the tab that is up.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
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

// SPY on the group tab: the range window takes each range as the scan comes to it, and
// scrolls along with the scan through it.
TEST_F(GroupOnAir, WithSpyTheRangeWindowShowsTheScannedRangeAndKeepsItsPointInView) {
    orvel.OptSpy = 1;
    Bank& first = LoadLaidOut(0, 100 * kMHz, 104 * kMHz);
    Bank& second = LoadLaidOut(1, 110 * kMHz, 114 * kMHz);
    ASSERT_TRUE(first.Scrolls && second.Scrolls);
    orvel.SlotIndex = 0;
    orvel.SwitchToTab(3);
    ui::ServePending();
    std::set<int32_t> shown;
    int32_t before = -1;
    bool inView = true;
    hooks[PostRangeScanStep] = [&] {
        const Bank& scanned = orvel.ScanSlots[std::size_t(orvel.ScanSlot)];
        if (orvel.SlotIndex == orvel.ScanSlot) shown.insert(orvel.ScanSlot);
        // The step after the scan moved on to a range shows that range first.
        if (orvel.ScanSlot == before &&
            (orvel.SlotIndex != orvel.ScanSlot || scanned.ScanPoint < scanned.VisibleLow ||
             scanned.ScanPoint > scanned.VisibleHigh))
            inView = false;
        before = orvel.ScanSlot;
    };
    orvel.StartButton();
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
    EXPECT_TRUE(inView);
    EXPECT_EQ(shown, (std::set<int32_t>{0, 1}));
    EXPECT_EQ(first.ScrollPosition, first.ScrollMaximum);
    EXPECT_EQ(second.ScrollPosition, second.ScrollMaximum);
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

// A stored bank of three channels, the middle one switched off, and a series of five
// measurements of it, a minute apart (its poll) from 10:00:00.
class BankStudyOnAir : public StudyOnAir {
  protected:
    void Prepare() override {
        Write("FREQ/0001/freq.cfg", {"Идентификатор=Посты", "Опрос=60", "Кол-во=3", "F=1455000",
                                     "F_MOD=F", "F=0", "F=4339200", "F_MOD=A"});
        Write("FREQ/0001/0001.etl",
              {"Идентификатор=Серия", "Кол-во_частот=3", "Кол-во_измерений=5",
               "Дата_начала=05/03/2001", "Время_начала=10:00:00"});
        Write("FREQ/0001/0001.meg", {"F=1455000", "FL=10", "FL=20", "FL=30", "FL=40", "FL=50",
                                     "F=4339200", "FL=200", "FL=150", "FL=100", "FL=50", "FL=25"});
    }
    freq& BankWindow() { return orvel.windows->bank; }
    View& Study() { return *orvel.windows->study; }
    // The level the study's graph shows `offset` samples from the first curve's marker.
    uint8_t Shown(int offset) {
        const int pixel = StudyBufferPixel(Study().Picture().Width(), 0, offset);
        return pixel < 0 ? 0 : Study().Buffer()[std::size_t(pixel)];
    }
};

TEST_F(BankStudyOnAir, FromTheBankTabTheCurveIsTheSelectedChannelsHistoryWithTheShownMeasurement) {
    orvel.journal.Select(Child(Child(orvel.store.BankFolder, "Посты"), "Серия"));
    orvel.store.LoadItem();
    ui::ServePending();
    // The switched-off channel is loaded like the others, without a word.
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_EQ(orvel.WorkMode, 1);
    EXPECT_EQ(BankWindow().lv_1->Cell(1, 0), "выкл");
    BankWindow().SelectRow(2);
    OpenStudy();
    Study().insignal->SetChecked(true);
    Study().insignal->Raise(ui::EventId::Click);
    ui::ServeFor(100);
    const ViewSource& curve = orvel.ViewSources[0];
    EXPECT_EQ(curve.Levels, &orvel.ChannelLevels[2]);
    EXPECT_EQ(curve.AxisMode, kStudyTimeAxis);
    EXPECT_EQ(orvel.ViewSources[1].Levels, nullptr);  // the second curve is not fed
    EXPECT_EQ(Shown(0), 200);
    EXPECT_EQ(Shown(4), 25);
    EXPECT_EQ(Shown(-1), 0);

    // The marker follows the measurement the bank window shows: the step keys, a click on the
    // chart above its rows, another channel; a switched-off channel has no curve.
    const struct {
        const char* what;
        std::function<void()> act;
        int32_t marker;
        std::string readout;
    } steps[] = {
        {"opened", [] {}, 0, "T=10:00:00   F=433.9200   U=200 un"},
        {"step up", [&] { PostPrivateMessage(&orvel, PostStepUp); }, 1,
         "T=10:01:00   F=433.9200   U=150 un"},
        {"chart", [&] { BankWindow().MouseDown(3, 2); }, 3, "T=10:03:00   F=433.9200   U=50 un"},
        {"step down", [&] { PostPrivateMessage(&orvel, PostStepDown); }, 2,
         "T=10:02:00   F=433.9200   U=100 un"},
        {"channel", [&] { BankWindow().SelectRow(0); }, 2, "T=10:02:00   F=145.5000   U=30 un"},
        {"switched off", [&] { BankWindow().SelectRow(1); }, -1, ""},
    };
    for (const auto& step : steps) {
        step.act();
        ui::ServeFor(300);
        EXPECT_EQ(StudyReadout(orvel, 0), step.readout) << step.what;
        if (step.marker < 0) {
            EXPECT_FALSE(Study().signal->IsEnabled()) << step.what;
            continue;
        }
        EXPECT_EQ(orvel.BankSampleIndex, step.marker) << step.what;
        EXPECT_EQ(Study().signal->Position(), step.marker) << step.what;
        EXPECT_EQ(Shown(0), orvel.ChannelLevels[std::size_t(orvel.SelectedChannel)]
                                               [std::size_t(step.marker)])
            << step.what;
    }
}

// The study opened on the bank tab with no row clicked shows the channel the bank scan measured
// (else the first), never the curve the range window bound before.
TEST_F(BankStudyOnAir, WithNoRowSelectedTheCurveIsTheScannedChannelsNotTheRangesBefore) {
    Bank& slot = LoadLaidOut(0, 101 * kMHz, 101 * kMHz + 50 * k10kHz);
    orvel.SwitchToTab(2);
    OpenStudy();
    Study().insignal->SetChecked(true);
    Study().insignal->Raise(ui::EventId::Click);
    ui::ServeFor(100);
    ASSERT_EQ(orvel.ViewSources[0].Levels, &slot.Current);
    orvel.pictbttn_13->Raise(ui::EventId::Click);
    ASSERT_EQ(orvel.StudyOpen, 0);

    orvel.journal.Select(Child(orvel.store.BankFolder, "Посты"));
    orvel.store.LoadItem();
    ui::ServePending();
    ASSERT_EQ(orvel.WorkMode, 1);
    // Stopped on its way to channel 2: however many steps a slice of time holds, the scan
    // stands there.
    hooks[PostBankScanStep] = [&] {
        if (orvel.ChannelIndex == 2 && orvel.Running) orvel.StartButton();
    };
    orvel.StartButton();
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
    ASSERT_EQ(orvel.ChannelIndex, 2);
    ASSERT_EQ(BankWindow().SelectedRow(), -1);
    OpenStudy();
    ui::ServeFor(300);
    EXPECT_EQ(orvel.ViewSources[0].Levels, &orvel.ChannelLevels[2]);
    EXPECT_NE(StudyReadout(orvel, 0).find("F=433.9200"), std::string::npos);

    orvel.ChannelIndex = -1;
    PostPrivateMessage(&orvel, PostAnalysisUpdate);
    ui::ServeFor(300);
    EXPECT_EQ(orvel.ViewSources[0].Levels, &orvel.ChannelLevels[0]);
    EXPECT_NE(StudyReadout(orvel, 0).find("F=145.5000"), std::string::npos);
}

// A bank loaded while the study shows a channel's history frees the histories before the bank
// window lets go of the curve on its next code: a redraw of the study in between (one queued
// before the load) finds no curve into them.
TEST_F(BankStudyOnAir, ABankLoadedUnderTheStudyLeavesItNoCurveIntoTheFreedHistories) {
    orvel.journal.Select(Child(Child(orvel.store.BankFolder, "Посты"), "Серия"));
    orvel.store.LoadItem();
    ui::ServePending();
    BankWindow().SelectRow(2);
    OpenStudy();
    Study().insignal->SetChecked(true);
    Study().insignal->Raise(ui::EventId::Click);
    ui::ServeFor(100);
    ASSERT_EQ(orvel.ViewSources[0].Levels, &orvel.ChannelLevels[2]);
    ASSERT_EQ(Shown(0), 200);

    Answer({ui::MessageAnswer::Yes});  // the measurements go
    orvel.journal.Select(Child(orvel.store.BankFolder, "Посты"));
    orvel.store.LoadItem();
    ASSERT_EQ(orvel.HistoriesAllocated, 0);
    Study().OnUserEvent(PostRefreshDisplay);
    EXPECT_EQ(Shown(0), 0);
    EXPECT_EQ(StudyReadout(orvel, 0), "");
    // The bank window's own code then lets the study know.
    ui::ServeFor(300);
    EXPECT_EQ(orvel.ViewSources[0].Levels, nullptr);
    EXPECT_FALSE(Study().signal->IsEnabled());
}
