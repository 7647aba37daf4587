// Tuning from the main window against the emulated IC-R8500: what reaches the receiver for one
// action, and how the receiver page follows.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "receivers/icom/ic8500/ic8500.h"
#include "tests/app/window_fixture.h"

namespace {

using window_test::kMHz;
using window_test::ScanOnAir;

class Tuning : public ScanOnAir {
  protected:
    // Runs the lines as a loaded job, to its end.
    void RunJob(std::initializer_list<JobStr> lines) {
        std::copy(lines.begin(), lines.end(), orvel.RunLines.begin());
        orvel.JobLineCount = int32_t(lines.size());
        orvel.jobs.StartJob();
        ASSERT_TRUE(RunUntil([&] { return !orvel.JobRunning; }, 10'000));
    }
    static JobStr MainLine(uint32_t object) {
        JobStr line;
        line.TAB = 10;
        line.OBJ = object;
        return line;
    }
};

TEST_F(Tuning, PlusAndMinusLinesTuneAndMeasureOnce) {
    const uint32_t start = orvel.Frequency;
    orvel.PlusOffset = 5 * kMHz;
    orvel.MinusOffset = 2 * kMHz;
    RunJob({MainLine(29)});
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{start + 5 * kMHz}));
    EXPECT_EQ(LevelQueries(), 1);

    emulator.ClearReceivedFrames();
    RunJob({MainLine(30)});
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{start + 3 * kMHz}));
    EXPECT_EQ(LevelQueries(), 1);
}

TEST_F(Tuning, TheReceiverPageFollowsAFrequencyTypedInTheMainWindow) {
    const IC8500& panel = *Ic8500Panel(orvel);
    ui::EventData typed;
    typed.id = ui::EventId::Change;
    typed.text = "433.92";
    orvel.ft->Raise(typed);
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{4'339'200}));
    EXPECT_EQ(panel.label_1->Text(), "433.9200");
    const int64_t page = int64_t{panel.scale->Geometry().width} * panel.ViewStep;
    EXPECT_LE(panel.ViewPosition, 4'339'200u);
    EXPECT_LT(4'339'200, panel.ViewPosition + page);
}

TEST_F(Tuning, SelectingTheReceiverTabRefreshesThePanel) {
    int refreshes = 0;
    Ic8500Panel(orvel)->AddHandler(ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
        if (e.code == PostRefreshLevels) ++refreshes;
        return false;
    });
    for (const int page : {2, 0}) {
        ui::EventData select;
        select.id = ui::EventId::Select;
        select.value = page;
        orvel.tabctrl_1->Raise(select);
        ui::ServeFor(100);
        EXPECT_EQ(refreshes, page == 0 ? 1 : 0) << page;
    }
}

}  // namespace
