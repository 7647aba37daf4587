// The range window while a range scan of the emulated IC-R8500 runs: its cursor walks with the
// scan, the columns it leaves show what was measured, and the carrier stands out; a scan that
// ends under a job is shown whole and the window freed once the job ends.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/orvel_windows.h"
#include "tests/app/window_fixture.h"

namespace {

using window_test::kMHz;
using window_test::ScanOnAir;
using window_test::WithCarrier;

constexpr uint32_t k100MHz = 100 * kMHz;
constexpr uint32_t k10kHz = 100;

class RangeWindowOnAir : public ScanOnAir {
  protected:
    void SetUp() override {
        ScanOnAir::SetUp();
        if (HasFatalFailure()) return;
        Window().AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            if (e.code == PostDrawMarkerLabel) ++endsTaken_;
            return false;
        });
    }
    diap& Window() { return orvel.windows->range; }
    // Serves the started scan to its end and until the window has taken that end. The scan
    // stops inside its last step and only posts the window its unlock and the redraw of the
    // whole scale; that redraw alone shows the last point measured, whose column the cursor
    // never left. A last step that ends late in a wait leaves those codes queued when the
    // scan is already seen stopped, so the stop alone is no sign the window is done.
    bool RunScanToItsEnd() {
        const int before = endsTaken_;
        if (!RunUntil([&] { return !orvel.Running; })) return false;
        return RunUntil([&] { return endsTaken_ > before; }, 1'000);
    }
    // Loads the range into slot 0 as the journal does and lets the window lay it out.
    Bank& LoadShown(UserDp& range) {
        Bank& slot = Load(0, range);
        orvel.SlotIndex = 0;
        PostPrivateMessage(&Window(), PostItemLoaded);
        EXPECT_TRUE(RunUntil([&] { return slot.PointCount > 0; }));
        orvel.SwitchToTab(2);
        ui::ServePending();
        return slot;
    }
    // Pixels of the curves' colours in picture column x of the window's off-screen picture.
    int CurvePixels(int x) {
        const RangeView& view = Window().View();
        int pixels = 0;
        for (int y = view.Height() - 149; y <= view.Baseline(); ++y)
            if (view.Picture().Pixel(x, y) == range_colors::kMainCurve) ++pixels;
        return pixels;
    }
    // The column of the shared picture holding the range window's cursor; -1 when none.
    int SharedCursorColumn() {
        const ui::Rect r = Window().PictureRect();
        const int y = r.y + r.height - 149;
        for (int x = 0; x < r.width; ++x)
            if (orvel.windows->picture.Pixel(r.x + x, y) == range_colors::kCursorTop) return x;
        return -1;
    }

  private:
    int endsTaken_ = 0;  // scan ends the range window has drawn
};

TEST_F(RangeWindowOnAir, TheCursorWalksWithTheScanAndTheColumnsFillBehindIt) {
    emulator.SetSignalPlan(WithCarrier(20, 100'500'000, 200));
    // 100.00 .. 100.99 MHz: one column per point, the carrier in column 50.
    UserDp& range = MakeRange(k100MHz, k100MHz + 99 * k10kHz, k10kHz);
    Bank& slot = LoadShown(range);
    ASSERT_FALSE(slot.Scrolls);

    std::vector<int> cursor;  // the shared picture's cursor column at every step
    int carrierAtPoint70 = -1, aheadAtPoint70 = -1;
    hooks[PostRangeScanStep] = [&] {
        cursor.push_back(SharedCursorColumn());
        if (slot.ScanPoint == k100MHz + 70 * k10kHz) {
            carrierAtPoint70 = CurvePixels(50);
            aheadAtPoint70 = CurvePixels(90);
        }
    };
    orvel.StartButton();
    ASSERT_TRUE(orvel.Running);
    ASSERT_TRUE(RunScanToItsEnd());

    // Step by step the cursor stood on the point to be measured next.
    ASSERT_GE(cursor.size(), 99u);
    for (std::size_t i = 1; i < 99; ++i) EXPECT_EQ(cursor[i], int(i)) << i;
    // Halfway the carrier's column is up and the columns ahead are still empty.
    EXPECT_EQ(carrierAtPoint70, 100);
    EXPECT_EQ(aheadAtPoint70, 0);
    // At the end every column shows its point: the noise ten pixels, the carrier a hundred.
    EXPECT_EQ(CurvePixels(10), 10);
    EXPECT_EQ(CurvePixels(50), 100);
    EXPECT_EQ(CurvePixels(98), 10);
    EXPECT_EQ(CurvePixels(99), 10);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RangeWindowOnAir, WithSpyTheWindowScrollsAlongWithTheScan) {
    orvel.OptSpy = 1;
    emulator.SetSignalPlan(WithCarrier(20, 103'000'000, 200));
    // 100 .. 104 MHz: more points than the picture has columns.
    UserDp& range = MakeRange(k100MHz, 104 * kMHz, k10kHz);
    Bank& slot = LoadShown(range);
    ASSERT_TRUE(slot.Scrolls);
    bool shownAlong = true;
    bool barFree = false;  // the operator's scroll bar was enabled while the scan ran
    hooks[PostRangeScanStep] = [&] {
        // Whatever the scan measures next lies in view.
        if (slot.ScanPoint < slot.VisibleLow || slot.ScanPoint > slot.VisibleHigh)
            shownAlong = false;
        if (Window().Busy() && Window().hs->IsEnabled()) barFree = true;
    };
    orvel.StartButton();
    ASSERT_TRUE(RunScanToItsEnd());
    EXPECT_TRUE(shownAlong);
    EXPECT_FALSE(barFree);
    EXPECT_EQ(slot.ScrollPosition, slot.ScrollMaximum);
    EXPECT_GT(slot.ScrollPosition, 0);
    const int carrier = Window().View().ColumnOf(slot, 103 * kMHz);
    ASSERT_GE(carrier, 0);
    EXPECT_EQ(CurvePixels(carrier), 100);
    EXPECT_EQ(CurvePixels(Window().View().ColumnOf(slot, 104 * kMHz)), 10);
}

// A job that starts the scan and waits for its end: the scan stops under the job, which keeps
// the window locked while it goes on; with the job's end the window is free again and shows the
// scan's last point, whichever way the job ran.
TEST_F(RangeWindowOnAir, AScanThatEndsUnderAJobIsShownWholeAndFreedWhenTheJobEnds) {
    emulator.SetSignalPlan(WithCarrier(20, 100'500'000, 200));
    UserDp& range = MakeRange(k100MHz, k100MHz + 99 * k10kHz, k10kHz);
    LoadShown(range);
    const std::vector<JobStr> lines = window_test::MakeLines({{"Панель ДИАПАЗОНЫ", 10, 2},
                                                              {"Кнопка ПУСК", 10, 17},
                                                              {"Ждать останова", 4, 2},
                                                              {"Задержка", 4, 1, 2}});
    bool lockedAfterTheStop = false;
    const auto runToItsEnd = [&] {
        ASSERT_TRUE(RunUntilSeen([&] { return orvel.Running != 0; }, 10'000));
        ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
        ui::ServeFor(500);
        lockedAfterTheStop = orvel.JobRunning && Window().Busy();
        ASSERT_TRUE(RunUntil([&] { return !orvel.JobRunning; }, 10'000));
        ui::ServeFor(500);
    };

    // A loaded run (the macro, the trigger, a scan's reaction).
    std::copy(lines.begin(), lines.end(), orvel.RunLines.begin());
    orvel.JobLineCount = int32_t(lines.size());
    orvel.jobs.StartJob();
    runToItsEnd();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(lockedAfterTheStop);
    EXPECT_FALSE(Window().Busy());
    EXPECT_EQ(CurvePixels(50), 100);
    EXPECT_EQ(CurvePixels(99), 10);

    // The job editor's run: the window is cleared first, so the last column is this run's.
    PostPrivateMessage(&Window(), PostClearData);
    LoadShown(range);
    ASSERT_EQ(CurvePixels(99), 0);
    orvel.SwitchToTab(4);
    std::copy(lines.begin(), lines.end(), orvel.EditLines.begin());
    orvel.EditLineCount = int32_t(lines.size());
    orvel.StartButton();
    runToItsEnd();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(lockedAfterTheStop);
    EXPECT_FALSE(Window().Busy());
    EXPECT_EQ(CurvePixels(99), 10);
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
