// The scan engine and the job executor without the main window: built into a test program of
// their own from the main window's parts that need no form (this file includes nothing of the
// window), over a program state of the test, the receiver model of the tests and a stand-in
// for the window that answers what they ask of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/job_executor.h"
#include "app/receiver_dispatch.h"
#include "app/scan_engine.h"
#include "receivers/comm.h"
#include "state/message_bus.h"
#include "state/user_dp.h"
#include "tests/receivers/test_model/table_receiver.h"
#include "tests/support/code_sink.h"
#include "ui/form.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace {

constexpr uint32_t kMHz = 10000;  // in the program's units (100 Hz)
// What the scan engine and the job executor ask of the main window, kept for the test to look
// at; the codes posted to it go back to them, as the main window hands them on.
class StandInWindow : public CodeSink, public ScanHost, public JobHost {
  public:
    explicit StandInWindow(FDX& fdx) : fdx_(fdx) {}
    void ShowStopLabel() override { stopCaption = true; }
    void ShowStartLabel() override { stopCaption = false; }
    const UserFreq* DefaultBank() override { return nullptr; }
    bool LoadJobForRun(const std::string& name) override { return jobs->LoadJobForRun(name); }
    void StartJob() override { jobs->StartJob(); }
    void RunEditorJob() override { jobs->StartEditorRun(); }
    void SelectPage(int32_t page) override { fdx_.WorkMode = page; }
    const JournalItem* Folder(JournalKind) override { return nullptr; }
    void SelectInJournal(JournalItem*) override {}

    JobExecutor* jobs = nullptr;
    bool stopCaption = false;

  private:
    FDX& fdx_;
};

class PartsAlone : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(0);
        fdx.Owner = &window;
        fdx.Port = &comm;
        fdx.ReceiverType = TableReceiver::kType;
        fdx.ScanSlots.assign(kScanSlotCount, Bank{});
        fdx.RunLines.assign(kMaxJobLines, JobStr{});
        comm.Running = true;  // the model of the tests needs no port
        receiver.SetPanel(panel_registry::Make(TableReceiver::kType));
        ASSERT_TRUE(receiver.Panel()->Create(&window, &fdx));
        SyncPanel();
        window.jobs = &jobs;
        window.AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            if (!scan.OnStepCode(e.code)) jobs.OnJobCode(e.code);
            return false;
        });
    }
    void TearDown() override {
        receiver.SetPanel(nullptr);
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }

    // The panel's start-up sync, which job lines and scans wait for.
    void SyncPanel() {
        receiver.SyncReceiverPanel();
        ui::ServePending();
    }
    // A range in steps of 10 kHz, loaded into slot 0.
    Bank& LoadRange(uint32_t start, uint32_t end, uint32_t cycles) {
        range.StartFrequency = start;
        range.EndFrequency = end;
        range.Step = 100;
        range.Modulation = 'W';
        range.Cycles = cycles;
        Bank& slot = fdx.ScanSlots[0];
        slot.Start = range.StartFrequency;
        slot.End = range.EndFrequency;
        slot.Step = range.Step;
        slot.Modulation = range.Modulation;
        slot.Range = &range;
        slot.InUse = 1;
        return slot;
    }
    void ServeWhileScanning() {
        for (int i = 0; i < 10'000 && fdx.Running; ++i) ui::ServePending();
    }

    // The model of the tests, as the registry makes it for its type.
    const panel_registry::Registration model{{TableReceiver::kType, TableReceiver::kType, 0,
                                              TableReceiver::kTraits, &MakePanel<TableReceiver>}};
    FDX fdx;
    Comm comm;
    ReceiverDispatch receiver{fdx, comm};
    StandInWindow window{fdx};
    SubWindows windows;
    ScanEngine scan{fdx, receiver, window, window, windows, {}};
    JobExecutor jobs{fdx, receiver, scan, window, window, windows, {}};
    UserDp range;
};

// ---- the scan engine

using ScanEngineAlone = PartsAlone;

// Each pass hears the model's levels raised by its own amount, so that a level in another
// point's cell shows, and so does an average that blends only the last two passes.
class PassByPass : public TableReceiver {
  public:
    static constexpr int32_t kPerPass[] = {10, 21, 40};
    int32_t ReadLevel() override {
        return TableReceiver::ReadLevel() + kPerPass[std::min<uint32_t>(slot->CycleCount, 2)];
    }
    const Bank* slot = nullptr;
};

TEST_F(ScanEngineAlone, ARangeScanFillsItsSlotPassByPassAndStopsByItself) {
    auto model = std::make_unique<PassByPass>();
    PassByPass& passes = *model;
    receiver.SetPanel(std::move(model));
    ASSERT_TRUE(passes.Create(&window, &fdx));
    SyncPanel();
    // 99.99 .. 100.06 MHz, three times: the model's table and a point of noise each side.
    Bank& slot = LoadRange(999'900, 1'000'600, 3);
    passes.slot = &slot;
    fdx.WorkMode = 2;
    scan.StartStopScan();
    EXPECT_TRUE(window.stopCaption);
    ServeWhileScanning();
    ASSERT_FALSE(fdx.Running);
    EXPECT_FALSE(window.stopCaption);
    EXPECT_EQ(scan.LiveScanSteps(PostRangeScanStep), 0u);
    EXPECT_EQ(slot.CycleCount, 3u);
    EXPECT_EQ(passes.Tuned.front(), 999'900u);
    EXPECT_EQ(passes.Tuned.back(), 1'000'600u);
    EXPECT_GE(window.Count(PostScanStatusText), 3);  // a pass ended
    for (uint32_t f = 999'900; f <= 1'000'600; f += 100) {
        int32_t heard = TableReceiver::kNoise;
        for (const TableReceiver::Point& point : TableReceiver::kLevels)
            if (point.frequency == f) heard = point.level;
        const std::size_t cell = std::size_t(slot.CellOf(f));
        // +10, +21, +40: the running means 10, (1 × 10 + 21) / 2 = 15, (2 × 15 + 40) / 3 = 23.
        EXPECT_EQ(slot.Minimum[cell], heard + 10) << f;
        EXPECT_EQ(slot.Average[cell], heard + 23) << f;
        EXPECT_EQ(slot.Maximum[cell], heard + 40) << f;
        EXPECT_EQ(slot.Current[cell], heard + 40) << f;
    }
}

// ---- the job executor

// The executor over the scan engine alone: a refused line skips the COND line after it, a line
// of the bank window waits for its answer, and ПУСК starts the scan of the page a line chose.
using JobExecutorAlone = PartsAlone;

TEST_F(JobExecutorAlone, RunsItsLinesAgainstTheScanEngineWithoutTheMainWindow) {
    CodeSink bank;
    windows.freq = &bank;
    LoadRange(100 * kMHz, 100 * kMHz + 900, 1);
    const auto line = [](uint32_t tab, uint32_t object, bool cond = false) {
        JobStr made;
        made.TAB = tab;
        made.OBJ = object;
        made.COND = cond;
        return made;
    };
    // Delete from the journal (refused), the group page (COND, skipped), the ranges page (COND,
    // but one line is skipped at most), the bank window's "Внести", ПУСК.
    const std::vector<JobStr> lines = {line(10, 15), line(10, 3, true), line(10, 2, true),
                                       line(1, 11), line(10, 17)};
    std::copy(lines.begin(), lines.end(), fdx.RunLines.begin());
    fdx.JobLineCount = int32_t(lines.size());
    jobs.StartJob();
    for (int i = 0; i < 100 && bank.Count(PostJobStep) == 0; ++i) ui::ServePending();
    EXPECT_EQ(bank.Count(PostJobStep), 1);
    EXPECT_EQ(fdx.RunLines[0].Message, "Из заданий запрещено удалять элементы журнала");
    EXPECT_EQ(fdx.RunLines[1].Time, "");  // a line that ran has the time it ran
    EXPECT_NE(fdx.RunLines[2].Time, "");
    EXPECT_EQ(fdx.WorkMode, 2);
    EXPECT_TRUE(fdx.JobRunning);
    EXPECT_FALSE(fdx.Running);

    PostPrivateMessage(&window, PostJobStep);  // the bank window is done
    for (int i = 0; i < 100 && fdx.JobRunning; ++i) ui::ServePending();
    EXPECT_FALSE(fdx.JobRunning);
    EXPECT_EQ(fdx.RunLines[4].ReturnCode, 0);
    EXPECT_TRUE(fdx.Running);
    ServeWhileScanning();
    EXPECT_EQ(fdx.ScanSlots[0].CyclesDone, 1u);
    windows.freq = nullptr;
}

}  // namespace
