// Starting, stopping and holding scans from the main window's buttons, the job mode's stop,
// the main timer and the codes the main window answers for the scan engine; and a receiver
// that goes away in the middle of a scan (its end of the line hangs up) and comes back later on
// the same COM1: the operator is told once, the scan waits on its point, and goes on once a
// receiver on COM1 answers again.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "editors/job.h"
#include "state/scan_pause.h"
#include "tests/app/window_fixture.h"

#include <QTest>

namespace {

using window_test::CodeSink;
using window_test::kMHz;
using window_test::MakeLines;
using window_test::ScanOnAir;

constexpr uint32_t k100MHz = 100 * kMHz;
constexpr uint32_t k10kHz = 100;

class ScanControl : public ScanOnAir {
  protected:
    Bank& TenPoints() {
        UserDp& range = MakeRange(k100MHz, k100MHz + 9 * k10kHz, k10kHz);
        range.Cycles = 1000;
        return Load(0, range);
    }
    void Click(ui::Window* button) { button->Raise(ui::EventId::Click); }
};

TEST_F(ScanControl, NothingToScanShowsMessage26AndAnEmptyBankMessage4First) {
    orvel.SwitchToTab(2);
    Click(orvel.start);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Не заданы режим или параметры сканирования!"});
    EXPECT_FALSE(orvel.Running);
    EXPECT_EQ(orvel.start->Text(), "ПУСК");

    boxes.shown.clear();
    orvel.SwitchToTab(1);
    orvel.ChannelCount = 3;  // three channels, none with a frequency
    Click(orvel.start);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Не заданы частоты (банк) для сканирования",
                                        "Не заданы режим или параметры сканирования!"}));
    EXPECT_FALSE(orvel.Running);
}

TEST_F(ScanControl, TheButtonStartsAndStopsAndLocksTheControlsMeanwhile) {
    TenPoints();
    orvel.SwitchToTab(2);
    Click(orvel.start);
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(orvel.start->Text(), "СТОП");
    EXPECT_TRUE(orvel.ControlsLocked);
    EXPECT_FALSE(orvel.ft->IsEnabled());
    EXPECT_FALSE(orvel.pictbttn_2->IsEnabled());
    EXPECT_TRUE(orvel.pause->IsEnabled());
    EXPECT_EQ(orvel.pause->Text(), "ПАУЗА");
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }));

    Click(orvel.start);
    EXPECT_FALSE(orvel.Running);
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_FALSE(orvel.ControlsLocked);
    EXPECT_TRUE(orvel.ft->IsEnabled());
    EXPECT_EQ(orvel.pause->Text(), "ПАУЗА");
    EXPECT_EQ(orvel.statusBar->PartText(0), "Сканирование Диапазона");
    // The step that was under way when the scan stopped posts nothing more.
    ui::ServeFor(2000);
    EXPECT_EQ(orvel.scan.LiveScanSteps(PostRangeScanStep), 0u);
    EXPECT_TRUE(boxes.shown.empty());
}

// Also when the held point's tune was refused: the held point is tuned again, and measured.
TEST_F(ScanControl, PauseHoldsTheRunningScanOnItsPointUntilItIsPressedAgain) {
    for (const bool tuneRefused : {false, true}) {
        SCOPED_TRACE(tuneRefused ? "the tune refused" : "the tune answered");
        Bank& slot = TenPoints();
        orvel.SwitchToTab(2);
        Click(orvel.start);
        ASSERT_TRUE(RunUntil([&] { return slot.ScanPoint >= k100MHz + 3 * k10kHz; }));
        if (tuneRefused) {
            emulator.SetRefuseAll(true);
            const int steps = arrivals[PostRangeScanStep];
            ASSERT_TRUE(RunUntil([&] { return arrivals[PostRangeScanStep] > steps + 2; }));
        }
        Click(orvel.pause);
        emulator.SetRefuseAll(false);
        EXPECT_TRUE(orvel.Paused);
        EXPECT_TRUE(orvel.scan.ManualPause);
        EXPECT_EQ(orvel.pause->Text(), "РЕЖИМ");
        ui::ServeFor(200);
        const uint32_t point = slot.ScanPoint;
        const int queries = LevelQueries();
        ui::ServeFor(5000);
        EXPECT_EQ(slot.ScanPoint, point);        // no automatic release of the button's hold
        EXPECT_GT(LevelQueries(), queries + 5);  // the held point is measured on and on

        Click(orvel.pause);
        EXPECT_EQ(orvel.pause->Text(), "ПАУЗА");
        EXPECT_TRUE(orvel.scan.ResumeRequested);
        ASSERT_TRUE(RunUntil([&] { return slot.ScanPoint != point; }));
        EXPECT_FALSE(orvel.Paused);
        Click(orvel.start);
    }
}

// A hold that only ПАУЗА releases outlasts the job that was running: the hold the range's
// reaction "выполнить задание" made for its job, and the operator's ПАУЗА pressed while a macro
// job ran. The range's own release ("истечение времени", no wait) would otherwise let it go at
// once when the job ended.
class HoldAndJob : public ScanControl {
  protected:
    void Prepare() override {
        WriteJob("0003", "Реакция", MakeLines({{"Заметка", kJobPanel, 0, 0, "сигнал"}}));
        WriteJob("0004", "Макро", MakeLines({{"Пауза", kJobPanel, 1, 2}}));
        for (std::size_t n = 0; n < std::size(kReleasingJobs); ++n)
            WriteJob("000" + std::to_string(5 + n), kReleasingJobs[n].name,
                     MakeLines({kReleasingJobs[n].first, {"Кнопка РЕЖИМ", 10, 26}}));
    }
    // Reaction jobs that release their hold by "Кнопка РЕЖИМ" after a first line of any kind:
    // one the job window runs, one that reads the receiver's bank, one that tunes it.
    struct ReleasingJob {
        const char* name;
        window_test::Line first;
    };
    inline static const ReleasingJob kReleasingJobs[] = {
        {"Пауза и отпуск", {"Пауза", kJobPanel, 1, 1}},
        {"Банк и отпуск", {"Кнопка <-Читать Банк из приемника", 0, 411}},
        {"Частота и отпуск", {"Частота", 10, 11, 100'020'000 / 100}},
    };
    // The scan has stood on its point for seconds after the job ended, and ПАУЗА moves it on.
    void StaysHeldUntilPause(Bank& slot) {
        ASSERT_TRUE(RunUntil([&] { return !orvel.JobRunning; }, 10'000));
        ASSERT_TRUE(orvel.Paused);
        const uint32_t point = slot.ScanPoint;
        const int queries = LevelQueries();
        ui::ServeFor(3000);
        EXPECT_TRUE(orvel.Paused);
        EXPECT_EQ(slot.ScanPoint, point);
        EXPECT_EQ(orvel.pause->Text(), "РЕЖИМ");
        EXPECT_GT(LevelQueries(), queries + 5);  // measured on and on

        // The scan may come round to the signal and hold on it again before a look here.
        bool moved = false;
        hooks[PostRangeScanStep] = [&] { moved = moved || slot.ScanPoint != point; };
        Click(orvel.pause);
        EXPECT_FALSE(orvel.scan.ManualPause);
        ASSERT_TRUE(RunUntil([&] { return moved; }, 3000));
        hooks.erase(PostRangeScanStep);
        Click(orvel.start);
    }
};

TEST_F(HoldAndJob, TheHoldForTheRangesReactionJobOutlastsTheJob) {
    emulator.SetSignalPlan(window_test::WithCarrier(20, 100'050'000, 200));
    Bank& slot = TenPoints();
    slot.Range->Level = 50;
    slot.Range->Waiting = kPauseRunJob;
    slot.Range->Job = "Реакция";
    bool jobRan = false;
    hooks[PostJobStep] = [&] { jobRan = true; };
    orvel.SwitchToTab(2);
    Click(orvel.start);
    ASSERT_TRUE(RunUntil([&] { return orvel.Paused && jobRan; }));
    EXPECT_TRUE(orvel.scan.ManualPause);
    StaysHeldUntilPause(slot);
}

// The job runs while the scan holds, and its release lets the scan go on over the rest of the
// range, whatever the job's first line.
TEST_F(HoldAndJob, AReactionJobThatReleasesItsHoldLetsTheScanGoOn) {
    // A few channels in each bank of the set's memory, which a job reads whole.
    emulator.SetMemoryCapacity(4);
    for (const ReleasingJob& job : kReleasingJobs) {
        SCOPED_TRACE(job.name);
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'050'000, 200));
        Bank& slot = TenPoints();
        slot.Range->Level = 50;
        slot.Range->Waiting = kPauseRunJob;
        slot.Range->Condition = kReleaseByButton;
        slot.Range->Job = job.name;
        int jobs = 0;
        hooks[PostJobStep] = [&] { jobs += orvel.JobLineIndex == 1 ? 1 : 0; };
        orvel.SwitchToTab(2);
        Click(orvel.start);
        ASSERT_TRUE(RunUntil([&] { return jobs > 0 && !orvel.JobRunning; }, 60'000));
        // Past the carrier, the scan comes round to it again and runs the job once more.
        ASSERT_TRUE(RunUntil([&] { return jobs > 1; }, 60'000));
        const int queries = LevelQueries();
        ASSERT_TRUE(RunUntil([&] { return LevelQueries() > queries + 20; }, 60'000));
        hooks.erase(PostJobStep);
        // СТОП ends the reaction job first, should one run now; the scan then.
        if (orvel.JobRunning) Click(orvel.start);
        Click(orvel.start);
        ui::ServeFor(1000);
        ASSERT_FALSE(orvel.Running);
        ASSERT_FALSE(orvel.JobRunning);
    }
}

TEST_F(HoldAndJob, ThePauseThatTheOperatorPressedWhileAMacroRanOutlastsIt) {
    Bank& slot = TenPoints();
    orvel.SwitchToTab(2);
    Click(orvel.start);
    ASSERT_TRUE(RunUntil([&] { return slot.ScanPoint >= k100MHz + 3 * k10kHz; }));
    orvel.MacroJobName = "Макро";
    PostPrivateMessage(&orvel, PostRunMacro);
    ASSERT_TRUE(RunUntil([&] { return orvel.JobRunning != 0; }));
    Click(orvel.pause);
    EXPECT_TRUE(orvel.scan.ManualPause);
    StaysHeldUntilPause(slot);
}

// A stop and a start clicked while a step waits (for the receiver's reply, or in a hold) leave
// exactly one chain of steps behind.
TEST_F(ScanControl, StopAndStartInsideAWaitLeaveOneChain) {
    for (const bool inHold : {false, true}) {
        SCOPED_TRACE(inHold ? "in a hold" : "in the reply wait");
        Bank& slot = TenPoints();
        orvel.SwitchToTab(2);
        Click(orvel.start);
        if (inHold) {
            ASSERT_TRUE(RunUntil([&] { return slot.ScanPoint >= k100MHz + 2 * k10kHz; }));
            Click(orvel.pause);
        }
        bool restarted = false;
        hooks[inHold ? PostTimerTick : PostSerialData] = [&] {
            const bool waiting = inHold ? orvel.Paused : orvel.receiver.Panel()->Waiting();
            if (restarted || !orvel.Running || !waiting) return;
            restarted = true;
            Click(orvel.start);
            Click(orvel.start);
        };
        bool oneChain = true;
        int afterRestart = 0;
        hooks[PostRangeScanStep] = [&] {
            if (!restarted) return;
            ++afterRestart;
            oneChain = oneChain && orvel.scan.LiveScanSteps(PostRangeScanStep) == 1;
        };
        ASSERT_TRUE(RunUntil([&] { return afterRestart >= 25; }));
        EXPECT_TRUE(oneChain);
        EXPECT_TRUE(orvel.Running);
        EXPECT_FALSE(orvel.Paused);  // a start clears the hold
        EXPECT_EQ(orvel.pause->Text(), "ПАУЗА");
        Click(orvel.start);
        hooks.clear();
    }
}

TEST_F(ScanControl, StopEndsTheJobEditorsRunInsteadOfFailingItsLine) {
    orvel.SwitchToTab(4);
    orvel.EditLineCount = 1;
    // A line of the bank window, which never answers here: the run waits on it.
    CodeSink bankWindow;
    orvel.subWindows.freq = &bankWindow;
    orvel.EditLines[0].DCL = "Кнопка Внести";
    orvel.EditLines[0].TAB = 1;
    Click(orvel.start);
    EXPECT_TRUE(orvel.JobRunning);
    EXPECT_FALSE(orvel.Running);
    EXPECT_EQ(orvel.JobLine, &orvel.EditLines[0]);
    EXPECT_EQ(orvel.start->Text(), "СТОП");
    ui::ServePending();
    EXPECT_EQ(bankWindow.Count(PostJobStep), 1);

    Click(orvel.start);
    EXPECT_FALSE(orvel.JobRunning);
    EXPECT_FALSE(orvel.Running);
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_EQ(orvel.EditLines[0].Message, "");
    EXPECT_EQ(orvel.EditLines[0].ReturnCode, 0);
    EXPECT_TRUE(boxes.shown.empty());

    // A line of the running job that presses ПУСК in the job mode is refused in the line.
    Click(orvel.start);
    ASSERT_TRUE(orvel.JobRunning);
    orvel.scan.StartStopScan();
    EXPECT_EQ(orvel.EditLines[0].Message, "Нельзя выполнить задание из задания!");
    EXPECT_EQ(orvel.EditLines[0].ReturnCode, 1);
    EXPECT_TRUE(orvel.JobRunning);
    Click(orvel.start);
    EXPECT_FALSE(orvel.JobRunning);
    orvel.subWindows.freq = nullptr;
}

TEST_F(ScanControl, TheMainTimerKeepsTheClockAndTheTicks) {
    CodeSink freqWindow;
    CodeSink jobWindow;
    orvel.subWindows.freq = &freqWindow;
    orvel.subWindows.job = &jobWindow;
    ui::Clock::Advance(100);
    EXPECT_EQ(orvel.clock->Text(), "07-03-2001 09:05:30");
    calendar += 61;
    ui::Clock::Advance(100);
    EXPECT_EQ(orvel.clock->Text(), "07-03-2001 09:06:31");

    // Once a second: the bank window, the main window and from there the job window.
    const int main = arrivals[PostTimerTick];
    ui::Clock::Advance(3000);
    ui::ServePending();
    ui::ServePending();
    EXPECT_EQ(freqWindow.Count(PostTimerTick), 3);
    EXPECT_EQ(arrivals[PostTimerTick] - main, 3);
    EXPECT_EQ(jobWindow.Count(PostTimerTick), 3);

    // A hold counts down by the second and stops at 0.
    orvel.scan.HoldCountdown = 2;
    ui::Clock::Advance(3000);
    ui::ServePending();
    EXPECT_EQ(orvel.scan.HoldCountdown, 0);

    EXPECT_GT(orvel.UpTime, 6000u);

    orvel.subWindows.freq = nullptr;
    orvel.subWindows.job = nullptr;
}

TEST_F(ScanControl, ATuneRequestIsClampedMeasuredAndStoredInTheScansCellButIgnoredWhileScanning) {
    Bank& slot = TenPoints();
    slot.PointCount = uint32_t(slot.RangeCells());
    orvel.TuneFrequency = k100MHz + 5 * k10kHz;
    orvel.TuneModulation = 'W';
    orvel.TuneAttenuator = 0;
    orvel.TuneStep = 250;
    orvel.Level = -1;
    ASSERT_TRUE(PostPrivateMessage(&orvel, PostApplyFrequency));
    ASSERT_TRUE(RunUntil([&] { return orvel.Level != -1; }, 5000));
    EXPECT_EQ(orvel.Level, 20);
    EXPECT_EQ(slot.Current[6], 20);  // the cell the range scan gives 100.05 MHz
    EXPECT_EQ(slot.Current[5], 0);
    EXPECT_EQ(orvel.statusBar->PartText(2), "20");
    EXPECT_EQ(orvel.progb_1->Position(), 20);

    orvel.TuneFrequency = 10;  // below the receiver's lower limit
    ASSERT_TRUE(PostPrivateMessage(&orvel, PostApplyFrequency));
    ASSERT_TRUE(RunUntil([&] { return orvel.Frequency == orvel.FreqLow; }, 5000));
    ui::ServeFor(500);
    EXPECT_EQ(emulator.State().frequencyHz, uint64_t{orvel.FreqLow} * 100);

    orvel.SwitchToTab(2);
    Click(orvel.start);
    orvel.TuneFrequency = 200 * kMHz;
    ASSERT_TRUE(PostPrivateMessage(&orvel, PostApplyFrequency));
    ui::ServeFor(1000);
    EXPECT_LT(orvel.Frequency, 101 * kMHz);
    Click(orvel.start);
}

TEST_F(ScanControl, TheStatusLineShowsMarkersCursorAndPassesLeft) {
    orvel.SelectionStart = int32_t(k100MHz);
    orvel.SelectionEnd = int32_t(k100MHz + 125);
    orvel.CursorFrequency = int32_t(k100MHz + 50);
    orvel.CursorLevel = 40;
    ASSERT_TRUE(PostPrivateMessage(&orvel, PostShowStatus));
    ui::ServePending();
    EXPECT_EQ(orvel.statusBar->PartText(4), "<<100.0000");
    EXPECT_EQ(orvel.statusBar->PartText(6), "100.0125>>");
    EXPECT_EQ(orvel.statusBar->PartText(5), "100.0050");
    EXPECT_EQ(orvel.statusBar->PartText(3), "40");
    EXPECT_EQ(orvel.statusBar->PartText(1), "12.5");

    orvel.SelectionEnd = orvel.SelectionStart;
    orvel.CursorFrequency = -1;
    orvel.CyclesLeft = 7;
    ASSERT_TRUE(PostPrivateMessage(&orvel, PostShowStatus));
    ASSERT_TRUE(PostPrivateMessage(&orvel, PostScanStatusText));
    ui::ServePending();
    EXPECT_EQ(orvel.statusBar->PartText(4), "");
    EXPECT_EQ(orvel.statusBar->PartText(6), "");
    EXPECT_EQ(orvel.statusBar->PartText(5), "");
    EXPECT_EQ(orvel.statusBar->PartText(1), "7");
}

// ---- a lost receiver

constexpr const char* kReceiverOff = "Ошибка обращения к приемнику(выключен)";

class LostReceiver : public ScanOnAir {
  protected:
    // A range scan of fifty passes over a hundred points loses its receiver after a few; the
    // program folder's COM1 goes with it.
    void UnplugDuringAScan() {
        UserDp& range = MakeRange(k100MHz, k100MHz + 99 * k10kHz, k10kHz);
        range.Cycles = 50;
        ScanFromRangeTab(range);
        UnplugOnceScanning();
        reached = orvel.ScanSlots[0].ScanPoint;
    }
    // The scan that runs measures a few points, and loses its receiver.
    void UnplugOnceScanning(int levelQueries = 5) {
        ASSERT_TRUE(orvel.Running);
        ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= levelQueries; }));
        UnplugReceiver();
        ASSERT_TRUE(RunUntil([&] { return !orvel.comm.IsOpen(); }, 5000));
    }
    // Five seconds later a receiver switched on afresh answers on COM1, on the air levels the
    // scan never saw before; the scan has gone on for a few steps.
    void PlugInAfresh() {
        IdleFor(5'000);
        PlugInReceiver();
        emulator.SetSignalPlan(window_test::Flat(30));
        ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }, 10'000));
    }
    // Virtual time passes with nobody on the line: no reply to give room for.
    static void IdleFor(int virtualMs) {
        ui::Clock::SetIdleSliceMs(0);
        ui::ServeFor(virtualMs);
        ui::Clock::SetIdleSliceMs(40);
    }
    // The frames the receiver heard, by their command byte.
    int Heard(uint8_t command) const {
        const auto frames = emulator.ReceivedFrames();
        return int(std::count_if(frames.begin(), frames.end(), [&](const auto& frame) {
            return frame.size() > 4 && frame[4] == command;
        }));
    }
    uint32_t reached = 0;  // the point the scan had reached when the line went
};

TEST_F(LostReceiver, AHangUpHoldsTheScanOnItsPointAndIsToldOnceWhileCom1StaysEmpty) {
    UnplugDuringAScan();
    IdleFor(20'000);
    // COM1 is looked for where it was, never elsewhere (the built-in /dev/ttyS0).
    EXPECT_FALSE(orvel.comm.IsOpen());
    EXPECT_EQ(orvel.comm.OpenedPath(), folder.Dir() + "COM1");
    EXPECT_EQ(Messages(), std::vector<std::string>{kReceiverOff});
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(orvel.start->Text(), "СТОП");
    EXPECT_EQ(orvel.ScanSlots[0].ScanPoint, reached);
    orvel.StartButton();  // the operator may still end it
    EXPECT_FALSE(orvel.Running);
}

TEST_F(LostReceiver, BackOnCom1TheScanGoesOnFromThePointItHadReached) {
    UnplugDuringAScan();
    IdleFor(5'000);
    PlugInReceiver();
    emulator.SetSignalPlan(window_test::Flat(30));  // levels the scan never saw before
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }, 10'000));
    // The new receiver is asked who it is, as at start-up, then tuned to the point reached.
    EXPECT_EQ(Heard(0x19), 1);
    ASSERT_FALSE(Tuned().empty());
    EXPECT_EQ(Tuned().front(), reached);
    const Bank& slot = orvel.ScanSlots[0];
    EXPECT_EQ(slot.Current[std::size_t(slot.CellOf(reached))], 30);
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(Messages().size(), 1u);
}

// The bank scan goes on from the channel it had reached, the receiver given that channel's
// mode and attenuator again.
TEST_F(LostReceiver, BackOnCom1ABankScanGoesOnFromTheChannelItHadReachedWithItsSettings) {
    UserFreq bank;
    bank.Poll = 5;
    for (std::size_t i = 0; i < 3; ++i) {
        orvel.Channels[i] = Mt{};
        orvel.Channels[i].Frequency = k100MHz + uint32_t(i) * kMHz;
        orvel.Channels[i].Step = 250;
        orvel.Channels[i].Modulation = 'A';
        orvel.Channels[i].Attenuator = 1;
    }
    orvel.ChannelCount = 3;
    orvel.CurrentBank = &bank;
    orvel.SwitchToTab(1);
    orvel.StartButton();
    UnplugOnceScanning();
    const int32_t channel = orvel.ChannelIndex;
    PlugInAfresh();
    ASSERT_FALSE(Tuned().empty());
    EXPECT_EQ(Tuned().front(), orvel.Channels[std::size_t(channel)].Frequency);
    EXPECT_EQ(orvel.ChannelLevels[std::size_t(channel)][0], 30);
    EXPECT_EQ(emulator.State().mode, emulators::kModeAm);
    EXPECT_EQ(emulator.State().attenuatorDb, 10);
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(Messages().size(), 1u);
}

// The group scan goes on in the range it had reached, from its point, the receiver given that
// range's mode and attenuator again.
TEST_F(LostReceiver, BackOnCom1AGroupScanGoesOnFromThePointOfTheRangeItHadReached) {
    for (std::size_t i = 0; i < 2; ++i) {
        const uint32_t start = k100MHz + uint32_t(i) * kMHz;
        UserDp& range = MakeRange(start, start + 99 * k10kHz, k10kHz);
        range.Cycles = 50;
        range.Modulation = i == 0 ? 'W' : 'A';
        range.Attenuator = i == 0 ? 0 : 1;
        Load(i, range).Modulation = range.Modulation;
    }
    orvel.OptOneCycle = 1;  // the scan moves on to the second range after each pass
    orvel.SlotIndex = 0;
    orvel.SwitchToTab(3);
    orvel.StartButton();
    UnplugOnceScanning(105);
    ASSERT_EQ(orvel.ScanSlot, 1);
    const uint32_t point = orvel.ScanSlots[1].ScanPoint;
    PlugInAfresh();
    ASSERT_FALSE(Tuned().empty());
    EXPECT_EQ(Tuned().front(), point);
    const Bank& slot = orvel.ScanSlots[1];
    EXPECT_EQ(slot.Current[std::size_t(slot.CellOf(point))], 30);
    EXPECT_EQ(emulator.State().mode, emulators::kModeAm);
    EXPECT_EQ(emulator.State().attenuatorDb, 10);
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(Messages().size(), 1u);
}

// The scale scan goes on upward from the frequency it had reached.
TEST_F(LostReceiver, BackOnCom1AScaleScanGoesOnFromTheFrequencyItHadReached) {
    orvel.SwitchToTab(0);
    orvel.Step = 250;
    orvel.Frequency = k100MHz;
    orvel.StartButton();
    UnplugOnceScanning();
    const uint32_t frequency = orvel.ScanFrequency;
    PlugInAfresh();
    const auto tuned = Tuned();
    ASSERT_GE(tuned.size(), 2u);
    EXPECT_EQ(tuned[0], frequency);
    EXPECT_EQ(tuned[1], frequency + 250);
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(Messages().size(), 1u);
}

// The scale scan goes on with the mode and attenuator the operator gave it: the receiver
// switched on afresh has its own (WFM, no attenuator), which its sync would otherwise leave
// standing under a panel that still shows the operator's.
TEST_F(LostReceiver, BackOnCom1AScaleScanGivesTheReceiverItsModeAndAttenuatorAgain) {
    orvel.Show();
    orvel.SwitchToTab(0);
    orvel.Step = 250;
    orvel.Frequency = k100MHz;
    IC8500* panel = Ic8500Panel(orvel);
    ASSERT_NE(panel, nullptr);
    for (ui::OptionButton* button : {orvel.am, panel->catt10}) {
        QTest::mouseClick(button->widget(), Qt::LeftButton);
        ui::ServePending();
    }
    ASSERT_TRUE(RunUntil([&] {
        return emulator.State().mode == emulators::kModeAm && emulator.State().attenuatorDb == 10;
    }));
    orvel.StartButton();
    UnplugOnceScanning();
    PlugInAfresh();
    EXPECT_EQ(emulator.State().mode, emulators::kModeAm);
    EXPECT_EQ(emulator.State().attenuatorDb, 10);
    EXPECT_EQ(orvel.Modulation, 'A');
    EXPECT_TRUE(orvel.am->IsChecked());
    EXPECT_TRUE(panel->catt10->IsChecked());
    const auto tuned = Tuned();
    ASSERT_GE(tuned.size(), 2u);
    EXPECT_EQ(tuned[1], tuned[0] + 250);
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(Messages().size(), 1u);
}

// A box on a screen nobody watches: it stays open while the program serves its loop beneath
// it, as a modal box does, and is closed only after `whileOpen` has run.
class UnwatchedBoxes : public ui::MessageBoxService {
  public:
    explicit UnwatchedBoxes(std::function<void()> whileOpen) : whileOpen_(std::move(whileOpen)) {
        previous_ = ui::SetMessageBoxService(this);
    }
    ~UnwatchedBoxes() override { ui::SetMessageBoxService(previous_); }
    ui::MessageAnswer Show(const ui::MessageBoxRequest& request) override {
        shown.push_back(request.text);
        whileOpen_();
        return ui::MessageAnswer::Ok;
    }
    std::vector<std::string> shown;

  private:
    std::function<void()> whileOpen_;
    ui::MessageBoxService* previous_;
};

// The station is unattended: the receiver comes back under the box, goes again and comes back,
// and the box standing tells the second loss too.
TEST_F(LostReceiver, TheScanGoesOnUnderTheMessageNobodyCloses) {
    int measuredWhileOpen = 0;
    int measuredAfterTheSecondLoss = 0;
    uint32_t tunedFirst = 0;  // once back under the box
    int boxes = 0;
    UnwatchedBoxes screen([&] {
        if (++boxes > 1) return;
        PlugInReceiver();
        const int before = LevelQueries();
        RunUntil([&] { return LevelQueries() >= before + 5; }, 20'000);
        measuredWhileOpen = LevelQueries() - before;
        if (!Tuned().empty()) tunedFirst = Tuned().front();
        UnplugReceiver();
        RunUntil([&] { return !orvel.comm.IsOpen(); }, 5000);
        IdleFor(5'000);
        PlugInReceiver();
        const int back = LevelQueries();
        RunUntil([&] { return LevelQueries() >= back + 5; }, 20'000);
        measuredAfterTheSecondLoss = LevelQueries() - back;
    });
    UnplugDuringAScan();
    ASSERT_TRUE(RunUntil([&] { return !screen.shown.empty(); }, 10'000));
    EXPECT_EQ(screen.shown, std::vector<std::string>{kReceiverOff});
    // The box is not shown inside the wait of the step the loss broke off, which it would
    // hold beneath it: the scan goes on from its point while the box stands.
    EXPECT_GE(measuredWhileOpen, 5);
    EXPECT_GE(measuredAfterTheSecondLoss, 5);
    EXPECT_EQ(tunedFirst, reached);
}

TEST_F(LostReceiver, AReopenedPortHearsTheSyncAloneUntilItsReceiverAnswers) {
    UnplugDuringAScan();
    PlugInReceiver(false);
    // Every few seconds COM1 is opened and asked who is there; unanswered, nothing else. (The
    // receiver is given the time to read each question before the port closes under it.)
    ui::Clock::SetIdleSliceMs(5);
    ui::ServeFor(16'000);
    ui::Clock::SetIdleSliceMs(40);
    ASSERT_TRUE(RunUntil([&] { return Heard(0x19) >= 3; }, 1000));
    EXPECT_EQ(Heard(0x19), int(emulator.ReceivedFrames().size()));
    EXPECT_EQ(Messages().size(), 1u);

    emulator.SetDead(false);
    emulator.SetEcho(true);
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 1; }, 10'000));
    EXPECT_TRUE(orvel.comm.IsOpen());
    ASSERT_FALSE(Tuned().empty());
    EXPECT_EQ(Tuned().front(), reached);
    EXPECT_EQ(Messages().size(), 1u);
}

// A reopened port whose receiver answers nothing hears the sync and nothing else: a job line
// that would tune it after the unanswered try goes nowhere, and fails.
TEST_F(LostReceiver, AJobLineAfterAnUnansweredProbeNeverReachesTheReopenedPort) {
    UnplugDuringAScan();
    const uint32_t syncs = orvel.receiver.Panel()->SyncCount();
    PlugInReceiver(false);
    ui::Clock::SetIdleSliceMs(5);  // the receiver reads each question before the port closes
    ASSERT_TRUE(RunUntil([&] { return orvel.receiver.Panel()->SyncCount() > syncs; }, 5000));
    ASSERT_EQ(Heard(0x19), 1);
    RunJob(window_test::MakeLines({{"Частота", 10, 11, 1'005'000}}));
    ui::Clock::SetIdleSliceMs(40);
    ui::ServeFor(100);
    EXPECT_EQ(Heard(0x19), int(emulator.ReceivedFrames().size()));
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 1);
    EXPECT_EQ(orvel.RunLines[0].Message, kReceiverOff);
}

// The operator closes the window while the lost set is looked for, a scan running: while the
// close's question stands the set is not looked for, though it is back on COM1, and nothing is
// told over the question; answered no, the set is found again and the scan goes on.
TEST_F(LostReceiver, WhileTheClosesQuestionStandsTheSetIsNotLookedFor) {
    UnplugDuringAScan();
    IdleFor(5'000);
    ASSERT_EQ(Messages(), std::vector<std::string>{kReceiverOff});
    PlugInReceiver();
    const ReceiverPanel& panel = *orvel.receiver.Panel();
    uint32_t syncsUnderTheQuestion = 0;
    boxes.whileShown = [&](const ui::MessageBoxRequest&) {
        const uint32_t before = panel.SyncCount();
        IdleFor(10'000);
        syncsUnderTheQuestion = panel.SyncCount() - before;
    };
    Answer({ui::MessageAnswer::No});
    orvel.SetClosesProgram();  // as the program's main window
    orvel.Show();
    EXPECT_FALSE(orvel.Close());
    boxes.whileShown = nullptr;
    EXPECT_EQ(syncsUnderTheQuestion, 0u);
    EXPECT_TRUE(emulator.ReceivedFrames().empty());
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }, 10'000));
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              kReceiverOff, "Запущен автоматический режим! Выйти из программы?"}));
}

// ---- a port another program holds at the start

// Another program holds COM1 by the flock serial programs take on their port, from before the
// start until the test frees it.
class PortHeldAtStart : public LostReceiver {
  protected:
    void Prepare() override {
        held_ = ::open((folder.path() / "COM1").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(held_, 0);
        ASSERT_EQ(::flock(held_, LOCK_EX | LOCK_NB), 0);
        ::testing::internal::CaptureStderr();
        capturing_ = true;
    }
    void TearDown() override {
        StandardError();
        if (held_ >= 0) ::close(held_);
        LostReceiver::TearDown();
    }
    void Free() { ::close(std::exchange(held_, -1)); }
    // What the program wrote to standard error since before its start.
    const std::string& StandardError() {
        if (std::exchange(capturing_, false)) written_ = ::testing::internal::GetCapturedStderr();
        return written_;
    }
    std::string Told() const {
        return "Порт COM1 (" + folder.Dir() + "COM1) не открыт: занят другой программой";
    }

  private:
    int held_ = -1;
    bool capturing_ = false;
    std::string written_;
};

// The operator hears once which port and why, in a box and on standard error; a scan started
// meanwhile waits, sending nothing; once the other program lets go, COM1 is opened within the
// watch's seconds and the scan runs from its first point.
TEST_F(PortHeldAtStart, IsToldOnceAndOpenedOnceTheOtherProgramLetsGo) {
    UserDp& range = MakeRange(k100MHz, k100MHz + 99 * k10kHz, k10kHz);
    range.Cycles = 50;
    ScanFromRangeTab(range);
    ASSERT_TRUE(orvel.Running);
    IdleFor(10'000);
    EXPECT_FALSE(orvel.comm.IsOpen());
    EXPECT_TRUE(emulator.ReceivedFrames().empty());
    EXPECT_EQ(Messages(), std::vector<std::string>{Told()});
    const std::string& written = StandardError();
    EXPECT_NE(written.find(Told() + "\n"), std::string::npos) << written;
    EXPECT_EQ(written.find(Told(), written.find(Told()) + 1), std::string::npos) << written;

    Free();
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }, 4'000));
    EXPECT_EQ(Heard(0x19), 1);
    ASSERT_FALSE(Tuned().empty());
    EXPECT_EQ(Tuned().front(), k100MHz);
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(Messages().size(), 1u);
}

// The job lines that need the set (a tune, a mode, a step) fail with message 39 while the port
// is shut, and are taken once the port opens.
TEST_F(PortHeldAtStart, AJobsSettingsFailTheirLinesUntilThePortOpens) {
    const auto lines =
        MakeLines({{"Частота", 10, 11, 1'005'000}, {"Мод AM", 10, 21}, {"Шаг", 10, 12, 125}});
    RunJob(lines);
    for (const std::size_t i : {0u, 1u, 2u}) {
        EXPECT_EQ(orvel.RunLines[i].ReturnCode, 1) << i;
        EXPECT_EQ(orvel.RunLines[i].Message, kReceiverOff) << i;
    }
    EXPECT_TRUE(emulator.ReceivedFrames().empty());

    Free();
    ASSERT_TRUE(RunUntil([&] { return orvel.receiver.ReceiverReady(); }, 4'000));
    RunJob(lines);
    for (const std::size_t i : {0u, 1u, 2u}) EXPECT_EQ(orvel.RunLines[i].ReturnCode, 0) << i;
    EXPECT_EQ(Tuned(), std::vector<uint32_t>{1'005'000});
    EXPECT_EQ(emulator.State().mode, emulators::kModeAm);
    EXPECT_EQ(emulator.State().stepCode, 8);
}

}  // namespace
