// The bank, scale and job-driven scans end to end against the emulated IC-R8500.

#include <gtest/gtest.h>

#include "tests/app/window_fixture.h"

namespace {

using window_test::CodeSink;
using window_test::Flat;
using window_test::kMHz;
using window_test::ScanOnAir;
using window_test::ThreeCarriers;

constexpr uint32_t kA = 100 * kMHz;
constexpr uint32_t kB = 101 * kMHz;
constexpr uint32_t kC = 102 * kMHz;

class BankScan : public ScanOnAir {
  protected:
    void SetUp() override {
        ScanOnAir::SetUp();
        emulator.SetSignalPlan(ThreeCarriers());
        orvel.subWindows.freq = &freqWindow;
    }
    void TearDown() override {
        orvel.subWindows.freq = nullptr;
        ScanOnAir::TearDown();
    }
    // The working bank [0, A, 0, B, C] of a stored bank with the series' length and poll.
    void FiveChannels(uint32_t interval, uint32_t poll) {
        bank.Interval = interval;
        bank.Poll = poll;
        const uint32_t frequencies[] = {0, kA, 0, kB, kC};
        for (std::size_t i = 0; i < 5; ++i) {
            orvel.Channels[i] = Mt{};
            orvel.Channels[i].Frequency = frequencies[i];
            orvel.Channels[i].Step = 250;
            orvel.Channels[i].Modulation = 'W';
        }
        orvel.ChannelCount = 5;
        orvel.CurrentBank = &bank;
        orvel.SwitchToTab(1);
    }
    using Step = std::pair<int32_t, int32_t>;  // the channel measured, the channels skipped

    UserFreq bank;
    CodeSink freqWindow;
};

TEST_F(BankScan, MeasuresTheChannelsWithFrequenciesInOrderAndCountsThoseSkipped) {
    FiveChannels(0, 5);
    std::vector<Step> steps;
    bool held = false;
    hooks[PostBankScanStep] = [&] {
        steps.push_back({orvel.ChannelIndex, orvel.scan.BankSkipCount});
        held = held || orvel.Paused;
    };
    orvel.StartButton();
    ASSERT_TRUE(orvel.Running);
    ASSERT_TRUE(RunUntil([&] { return steps.size() >= 7; }));
    orvel.StartButton();
    EXPECT_FALSE(orvel.Running);
    ui::ServePending();

    const std::vector<Step> expected = {{1, 5}, {3, 6}, {4, 6}, {1, 7}, {3, 8}, {4, 8}, {1, 9}};
    EXPECT_EQ(std::vector<Step>(steps.begin(), steps.begin() + 7), expected);
    const auto tuned = Tuned();
    ASSERT_GE(tuned.size(), 6u);
    EXPECT_EQ(std::vector<uint32_t>(tuned.begin(), tuned.begin() + 6),
              (std::vector<uint32_t>{kA, kB, kC, kA, kB, kC}));
    // Every level went into the first column; the empty channels have none. "Уровень" 0
    // never holds.
    ASSERT_EQ(orvel.ChannelLevels.size(), 5u);
    EXPECT_EQ(orvel.ChannelLevels[1][0], 60);
    EXPECT_EQ(orvel.ChannelLevels[3][0], 70);
    EXPECT_EQ(orvel.ChannelLevels[4][0], 80);
    EXPECT_EQ(orvel.ChannelLevels[0][0], 0);
    EXPECT_EQ(orvel.ChannelLevels[2][0], 0);
    EXPECT_FALSE(held);
    EXPECT_EQ(freqWindow.Count(PostLockControls), 1);
    EXPECT_EQ(freqWindow.Count(PostUnlockControls), 1);
    EXPECT_TRUE(orvel.HistoriesAllocated);
    EXPECT_TRUE(orvel.MeasurementsUnsaved);
}

TEST_F(BankScan, TheTimerPacesTheColumnsByThePollPeriodAndTheLastColumnEndsTheScan) {
    FiveChannels(1, 10);  // one minute, a column each 10 s: 7 columns
    orvel.StartButton();
    ASSERT_TRUE(orvel.Running);
    EXPECT_EQ(orvel.MeasurementCapacity, 7);
    for (const auto& levels : orvel.ChannelLevels) EXPECT_EQ(levels.size(), 7u);
    EXPECT_EQ(orvel.MeasurementStart, (std::array<int32_t, 6>{7, 3, 2001, 9, 5, 30}));

    ASSERT_TRUE(RunUntil([&] { return orvel.ChannelLevels[4][0] == 80; }));
    calendar += 9;
    ui::ServeFor(2000);
    EXPECT_EQ(orvel.MeasurementCount, 0);
    calendar += 1;
    ASSERT_TRUE(RunUntil([&] { return orvel.MeasurementCount == 1; }, 2000));
    EXPECT_EQ(orvel.statusBar->PartText(1), "6");
    EXPECT_GE(freqWindow.Count(PostRefreshDisplay), 1);
    ASSERT_TRUE(RunUntil([&] { return orvel.ChannelLevels[4][1] == 80; }));
    EXPECT_EQ(orvel.ChannelLevels[1][1], 60);
    EXPECT_EQ(orvel.ChannelLevels[1][2], 0);

    calendar += 100;  // past the last column
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }, 2000));
    EXPECT_EQ(orvel.MeasurementCount, 6);
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_EQ(orvel.MeasurementEnd, (std::array<int32_t, 6>{7, 3, 2001, 9, 7, 20}));
    EXPECT_EQ(freqWindow.Count(PostUnlockControls), 1);
}

TEST_F(BankScan, CapacityIs64000WithoutAnIntervalAndAPollOfZeroCountsAsOneSecond) {
    FiveChannels(0, 5);
    orvel.StartButton();
    EXPECT_EQ(orvel.MeasurementCapacity, 64000);
    EXPECT_EQ(orvel.ChannelLevels.at(4).size(), 64000u);
    EXPECT_EQ(orvel.statusBar->PartText(1), "");  // the status text is still to come
    ui::ServeFor(100);
    EXPECT_EQ(orvel.statusBar->PartText(1), "64000");
    orvel.StartButton();

    FiveChannels(1, 0);
    orvel.StartButton();
    EXPECT_EQ(orvel.MeasurementCapacity, 61);
    calendar += 5;
    ASSERT_TRUE(RunUntil([&] { return orvel.MeasurementCount == 5; }, 2000));
    orvel.StartButton();
    EXPECT_FALSE(orvel.Running);
}

TEST_F(BankScan, ABankEmptiedUnderTheScanEndsItAndABackwardClockKeepsTheFirstColumn) {
    FiveChannels(1, 10);
    orvel.StartButton();
    calendar -= 3600;  // the clock was set back an hour
    ASSERT_TRUE(RunUntil([&] { return orvel.ChannelLevels[4][0] == 80; }));
    ui::ServeFor(2000);
    EXPECT_EQ(orvel.MeasurementCount, 0);
    EXPECT_TRUE(orvel.Running);

    int steps = 0;
    hooks[PostBankScanStep] = [&] {
        if (++steps != 2) return;
        // The operator cleared the working bank.
        orvel.ChannelCount = 0;
        orvel.ChannelLevels.clear();
    };
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }, 10'000));
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(BankScan, ALevelAboveTheThresholdHoldsOnTheChannelForTheHoldTime) {
    FiveChannels(0, 5);
    bank.Level = 65;  // B and C are above it
    bank.WaitTime = 2;
    orvel.StartButton();
    ASSERT_TRUE(RunUntil([&] { return orvel.Paused != 0; }));
    EXPECT_EQ(orvel.ChannelIndex, 3);
    EXPECT_EQ(orvel.scan.BankSignalFrequency, int32_t(kB));
    EXPECT_EQ(orvel.pause->Text(), "РЕЖИМ");
    const int64_t held = ui::Clock::NowMs();
    ASSERT_TRUE(RunUntil([&] { return orvel.ChannelIndex == 4; }));
    EXPECT_GE(ui::Clock::NowMs() - held, 1000);
    EXPECT_TRUE(orvel.Paused);  // C holds in turn
    orvel.StartButton();
}

// "Условие" 1: the hold lasts while the channel's signal stays, and the hold time after it
// has gone. "Ожидание" 2 beeps as the hold begins.
TEST_F(BankScan, AHoldUntilTheSignalGoesEndsTheHoldTimeAfterItAndBeepsAsItBegins) {
    FiveChannels(0, 5);
    bank.Level = 65;
    bank.WaitTime = 2;
    bank.Condition = kReleaseSignalGone;
    bank.Waiting = kPauseBeep;
    orvel.StartButton();
    ASSERT_TRUE(RunUntil([&] { return orvel.Paused != 0; }));
    EXPECT_EQ(arrivals[PostBeep], 1);
    ui::ServeFor(3000);
    EXPECT_EQ(orvel.ChannelIndex, 3);  // held by the signal beyond the hold time
    emulator.SetSignalPlan(Flat(5));
    const int64_t gone = ui::Clock::NowMs();
    // The scan goes round the channels as fast as the set answers: the step on channel 4 is
    // caught as it comes, not looked for now and then.
    int64_t movedOn = -1;
    hooks[PostBankScanStep] = [&] {
        if (movedOn < 0 && orvel.ChannelIndex == 4) movedOn = ui::Clock::NowMs();
    };
    ASSERT_TRUE(RunUntil([&] { return movedOn >= 0; }, 5000));
    EXPECT_GE(movedOn - gone, 1000);
    orvel.StartButton();
}

// A loaded run (the macro, the trigger, a scan's reaction) that starts the bank scan and stops it
// again: the stop leaves the bank window locked for the run, and the run's end unlocks it.
TEST_F(BankScan, AScanStoppedUnderALoadedJobUnlocksTheBankWindowWithTheJobsEnd) {
    FiveChannels(0, 5);
    int unlocksWhileTheJobRan = -1;
    hooks[PostJobStep] = [&] {
        if (!orvel.Running) unlocksWhileTheJobRan = freqWindow.Count(PostUnlockControls);
    };
    RunJob(window_test::MakeLines(
        {{"Кнопка ПУСК", 10, 17}, {"Задержка", 4, 1, 1}, {"Кнопка СТОП", 10, 25}}));
    ASSERT_FALSE(orvel.JobRunning);
    ASSERT_FALSE(orvel.Running);
    EXPECT_EQ(unlocksWhileTheJobRan, 0);
    ui::ServePending();
    EXPECT_EQ(freqWindow.Count(PostLockControls), 1);
    EXPECT_EQ(freqWindow.Count(PostUnlockControls), 1);
}

// ---- scale scan

TEST_F(ScanOnAir, ScaleScanStopsBelowTheUpperLimitWithoutTuningIt) {
    orvel.SwitchToTab(0);
    orvel.Step = 250;
    orvel.Frequency = orvel.FreqHigh - 2 * 250;
    orvel.StartButton();
    ASSERT_TRUE(orvel.Running);
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }, 10'000));
    EXPECT_EQ(Tuned(), (std::vector<uint32_t>{orvel.FreqHigh - 500, orvel.FreqHigh - 250}));
    EXPECT_EQ(LevelQueries(), 2);
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_EQ(orvel.statusBar->PartText(0), "Сканирование по Шкале");
}

// The same for the scale scan: the receiver panel, locked by the scan, is free after the run.
TEST_F(ScanOnAir, AScaleScanStoppedUnderALoadedJobFreesThePanelWithTheJobsEnd) {
    orvel.SwitchToTab(0);
    orvel.Step = 250;
    orvel.Frequency = 100 * kMHz;
    bool panelBusyAfterTheStop = false;
    hooks[PostJobStep] = [&] {
        if (!orvel.Running && orvel.JobLineIndex == 3)
            panelBusyAfterTheStop = orvel.receiver.Panel()->PanelBusy;
    };
    RunJob(window_test::MakeLines(
        {{"Кнопка ПУСК", 10, 17}, {"Задержка", 4, 1, 1}, {"Кнопка СТОП", 10, 25}}));
    ASSERT_FALSE(orvel.JobRunning);
    ASSERT_FALSE(orvel.Running);
    EXPECT_TRUE(panelBusyAfterTheStop);
    ui::ServePending();
    EXPECT_FALSE(orvel.receiver.Panel()->PanelBusy);
}

// ---- job-driven scan

TEST_F(ScanOnAir, AJobWaitsForALevelAboveItsValueOnOneChainAndHearsOfItOnce) {
    CodeSink jobWindow;
    orvel.subWindows.job = &jobWindow;
    emulator.SetSignalPlan(Flat(100));
    JobStr line;
    line.VAL = 100;
    orvel.JobLine = &line;
    orvel.JobRunning = 1;
    orvel.Frequency = kA;
    bool oneChain = true;
    hooks[PostJobScanStep] = [&] {
        oneChain = oneChain && orvel.scan.LiveScanSteps(PostJobScanStep) <= 1;
    };
    // The job window starts the wait, and starts it again.
    orvel.ScanFrequency = orvel.Frequency;
    ASSERT_TRUE(PostPrivateMessage(&orvel, PostJobScanStep));
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostJobScanStep] >= 5; }));
    ASSERT_TRUE(PostPrivateMessage(&orvel, PostJobScanStep));
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostJobScanStep] >= 15; }));
    // A level equal to the value is not above it.
    EXPECT_EQ(jobWindow.Count(PostTimeCondition), 0);

    emulator.SetSignalPlan(Flat(101));
    ASSERT_TRUE(RunUntil([&] { return jobWindow.Count(PostTimeCondition) > 0; }));
    ui::ServeFor(1000);
    EXPECT_EQ(jobWindow.Count(PostTimeCondition), 1);
    EXPECT_EQ(orvel.scan.LiveScanSteps(PostJobScanStep), 0u);
    EXPECT_TRUE(oneChain);

    // A job that ends stops its wait without telling the job window.
    emulator.SetSignalPlan(Flat(20));
    ASSERT_TRUE(PostPrivateMessage(&orvel, PostJobScanStep));
    ASSERT_TRUE(RunUntil([&] { return orvel.scan.LiveScanSteps(PostJobScanStep) == 1; }));
    orvel.JobRunning = 0;
    ui::ServeFor(1000);
    EXPECT_EQ(orvel.scan.LiveScanSteps(PostJobScanStep), 0u);
    EXPECT_EQ(jobWindow.Count(PostTimeCondition), 1);
    orvel.JobLine = nullptr;
    orvel.subWindows.job = nullptr;
}

}  // namespace
