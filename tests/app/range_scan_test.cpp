// The range and group scans end to end: the main window steps the emulated IC-R8500 over
// loaded ranges, stores the levels, follows signals, holds, journals and rotates the slots.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/window_fixture.h"

namespace {

using window_test::Flat;
using window_test::kMHz;
using window_test::ScanOnAir;
using window_test::WithCarrier;

constexpr uint32_t k100MHz = 100 * kMHz;
constexpr uint32_t k10kHz = 100;

class RangeScan : public ScanOnAir {
  protected:
    // 100.0000 .. 100.9900 MHz in steps of 10 kHz: 100 points in cells 1..100.
    UserDp& HundredPoints() {
        UserDp& range = MakeRange(k100MHz, k100MHz + 99 * k10kHz, k10kHz);
        range.Journal = 1;
        range.Level = 50;
        return range;
    }
    void StartRangeTab(std::size_t slot = 0) {
        orvel.SlotIndex = int32_t(slot);
        orvel.SwitchToTab(2);
        orvel.StartButton();
    }
};

TEST_F(RangeScan, TwoFlatPassesStopByThemselvesAndKeepTheLevelsInTheirCells) {
    UserDp& range = HundredPoints();
    range.Cycles = 2;
    Bank& slot = Load(0, range);
    StartRangeTab();
    EXPECT_EQ(orvel.start->Text(), "СТОП");
    EXPECT_TRUE(orvel.Running);

    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_EQ(slot.CyclesDone, 2u);
    EXPECT_EQ(slot.CycleCount, 2u);
    EXPECT_TRUE(slot.Finished);
    EXPECT_EQ(std::count(slot.Current.begin() + 1, slot.Current.begin() + 101, 20), 100);
    // The first point is cell 1: nothing before it, nothing after the last.
    EXPECT_EQ(slot.Current[0], 0);
    EXPECT_EQ(slot.Current[101], 0);
    EXPECT_EQ(Notes(range), "");
    EXPECT_EQ(LevelQueries(), 200);
    const auto tuned = Tuned();
    ASSERT_GE(tuned.size(), 100u);
    EXPECT_EQ(tuned.front(), k100MHz);
    EXPECT_EQ(*std::max_element(tuned.begin(), tuned.end()), k100MHz + 99 * k10kHz);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RangeScan, ASignalJournalsItsAppearanceHoldsAndItsDisappearanceFollows) {
    emulator.SetSignalPlan(WithCarrier(20, 100'500'000, 200));
    UserDp& range = HundredPoints();
    range.Condition = 1;  // release when the signal has gone ...
    range.WaitTime = 3;   // ... and three seconds more
    Bank& slot = Load(0, range);
    StartRangeTab();

    // The event shows at the first point below the peak (100.51 MHz); the scan steps back to
    // the peak and holds there.
    ASSERT_TRUE(RunUntil([&] { return orvel.Paused != 0; }));
    EXPECT_EQ(Notes(range), JournalLine("Появление сигнала", 100.51));
    EXPECT_EQ(orvel.ScanFrequency, 1'005'000u);
    EXPECT_EQ(slot.ScanPoint, 1'005'000u);
    EXPECT_EQ(orvel.pause->Text(), "РЕЖИМ");
    EXPECT_EQ(slot.Current[51], 200);

    // While the signal stays the hold stays, however long.
    const int64_t held = ui::Clock::NowMs();
    ASSERT_TRUE(RunUntil([&] { return ui::Clock::NowMs() > held + 2500; }));
    EXPECT_TRUE(orvel.Paused);
    EXPECT_EQ(emulator.State().frequencyHz, 100'500'000u);
    EXPECT_EQ(Notes(range), JournalLine("Появление сигнала", 100.51));

    // Gone: "Время_ожидания" seconds later the scan moves on and writes the disappearance
    // with the next point's frequency.
    emulator.SetSignalPlan(Flat(20));
    const int64_t gone = ui::Clock::NowMs();
    ASSERT_TRUE(RunUntil([&] { return !orvel.Paused; }));
    EXPECT_GE(ui::Clock::NowMs() - gone, 1500);  // two or three second ticks
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
    EXPECT_EQ(Notes(range), JournalLine("Появление сигнала", 100.51) +
                                JournalLine("Исчезновение сигнала", 100.51));
    EXPECT_EQ(orvel.pause->Text(), "ПАУЗА");
    // cp1251 on disk: "П" is CF.
    EXPECT_EQ(Notes(range).find('\xCF'), 20u);
}

TEST_F(RangeScan, ASignalSpreadOverTheBandwidthHoldsWhereItSpreadAndNotOnAPointAsStrong) {
    // 200 from 100.50 to 100.53 MHz: three points on, the signal has spread over the 10 kHz
    // bandwidth, and the point before is as strong, not stronger.
    emulators::SignalPlan plan{20, {}};
    for (uint64_t hz = 100'500'000; hz <= 100'530'000; hz += 10'000)
        plan.signals.push_back({hz, 200, 10'000});
    emulator.SetSignalPlan(plan);
    UserDp& range = HundredPoints();
    // Held until the operator releases it: a hold that ends by itself can begin and end
    // inside one wait of the scan, unseen by the test.
    range.Condition = 2;
    Bank& slot = Load(0, range);
    slot.Bandwidth = k10kHz;
    StartRangeTab();
    ASSERT_TRUE(RunUntil([&] { return orvel.Paused != 0; }));
    EXPECT_EQ(orvel.ScanFrequency, 1'005'200u);
    EXPECT_EQ(emulator.State().frequencyHz, 100'520'000u);
}

// The peak is known only at the point after it: the scan tunes back to the peak for the hold,
// and once released measures the point after it again; no other point is measured twice.
TEST_F(RangeScan, ASignalTakesTheScanBackToItsPeakAndThenOnToThePointAfterItAgain) {
    emulator.SetSignalPlan(WithCarrier(20, 100'050'000, 200));
    UserDp& range = MakeRange(k100MHz, k100MHz + 9 * k10kHz, k10kHz);
    range.Journal = 1;
    range.Level = 50;  // "Условие" 0 with no hold time: the hold ends at the next step
    Bank& slot = Load(0, range);
    StartRangeTab();
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
    std::vector<uint32_t> expected;
    for (uint32_t i : {0, 1, 2, 3, 4, 5, 6, 5, 6, 7, 8, 9})
        expected.push_back(k100MHz + i * k10kHz);
    EXPECT_EQ(Tuned(), expected);
    EXPECT_EQ(LevelQueries(), 12);
    // Each level stayed in its own cell: the peak in the sixth, the noise around it.
    EXPECT_EQ(slot.Current[6], 200);
    EXPECT_EQ(slot.Maximum[7], 20);
    EXPECT_EQ(std::count(slot.Current.begin() + 1, slot.Current.begin() + 11, 20), 9);
    EXPECT_EQ(Notes(range), JournalLine("Появление сигнала", 100.06));
}

TEST_F(RangeScan, AFailedReadStaysOnThePointStoresNothingAndPurgesTheRing) {
    // A silent line: nothing answers, and what the test puts into the ring stays its own.
    emulator.SetEcho(false);
    emulator.SetDead(true);
    Bank& slot = Load(0, MakeRange(k100MHz, k100MHz + 9 * k10kHz, k10kHz));
    int steps = 0;
    uint32_t unreadAtSecondStep = 1;
    uint32_t pointAtSecondStep = 0;
    hooks[PostRangeScanStep] = [&] {
        if (++steps == 1) {
            // Half a frame the receiver never finished.
            const uint8_t partial[] = {0xFE, 0xFE, 0xE0, 0x4A, 0x15};
            orvel.comm.StoreReceived(partial, sizeof partial);
        } else if (steps == 2) {
            unreadAtSecondStep = orvel.comm.WriteIndex - orvel.comm.ReadIndex;
            pointAtSecondStep = slot.ScanPoint;
        }
    };
    StartRangeTab();
    ASSERT_TRUE(RunUntil([&] { return steps >= 2; }));
    EXPECT_EQ(unreadAtSecondStep, 0u);
    EXPECT_EQ(pointAtSecondStep, k100MHz);
    EXPECT_EQ(slot.Current[1], 0);
    EXPECT_EQ(slot.Maximum[1], 0);
    EXPECT_EQ(orvel.ScanLevel, -1);
    EXPECT_EQ(orvel.statusBar->PartText(2), "выкл");
    orvel.StartButton();
    EXPECT_FALSE(orvel.Running);
}

TEST_F(RangeScan, NeverStepsBackBelowTheRangeStart) {
    // A signal on the last point is still open when the next pass starts; the event then
    // comes at Fн, where cell 0 (no point's) happens to hold a high level.
    const uint32_t last = k100MHz + 4 * k10kHz;
    emulator.SetSignalPlan(WithCarrier(20, uint64_t{last} * 100, 200));
    UserDp& range = MakeRange(k100MHz, last, k10kHz);
    range.Level = 50;
    range.Cycles = 3;
    Bank& slot = Load(0, range);
    slot.Current[0] = 250;
    uint32_t lowest = k100MHz;
    hooks[PostRangeScanStep] = [&] { lowest = std::min(lowest, slot.ScanPoint); };
    StartRangeTab();
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
    EXPECT_EQ(lowest, k100MHz);
    const auto tuned = Tuned();
    EXPECT_EQ(*std::min_element(tuned.begin(), tuned.end()), k100MHz);
    EXPECT_EQ(slot.CyclesDone, 3u);
}

TEST_F(RangeScan, CyclesFromTheIntervalCountARangeNarrowerThanAStepAsOnePoint) {
    UserDp& narrow = MakeRange(k100MHz, k100MHz, k10kHz);
    narrow.Cycles = 0;
    narrow.Interval = 1;
    UserDp& plain = MakeRange(101 * kMHz, 101 * kMHz + 4 * k10kHz, k10kHz);
    plain.Cycles = 0;  // and no interval: one cycle
    Load(0, narrow);
    Load(1, plain);
    StartRangeTab();
    ASSERT_TRUE(orvel.Running);
    EXPECT_EQ(narrow.Cycles, uint32_t(orvel.ScanRate));
    EXPECT_EQ(plain.Cycles, 1u);
    orvel.StartButton();
    EXPECT_FALSE(orvel.Running);
}

TEST_F(RangeScan, SelectionScansOnlyTheMarkedPoints) {
    UserDp& range = MakeRange(k100MHz, k100MHz + 5 * k10kHz, k10kHz);
    range.Selection = 1;
    Bank& slot = Load(0, range);
    slot.PointCount = uint32_t(slot.RangeCells());
    // Points 0, 2 and 5 are fixed frequencies (cells 1, 3, 6).
    for (std::size_t cell : {1, 3, 6}) slot.Flags[cell] = kFixedFrequencyPoint;
    StartRangeTab();
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
    for (std::size_t cell : {1, 3, 6}) EXPECT_EQ(slot.Current[cell], 20) << cell;
    for (std::size_t cell : {2, 4, 5}) EXPECT_EQ(slot.Current[cell], 0) << cell;
    EXPECT_EQ(LevelQueries(), 3);
}

// ---- group scan

// Three ranges of two points, two cycles each: naturally a range keeps the scan until its
// cycles are done, "one cycle" moves on after each pass, "one measurement" after each point.
TEST_F(RangeScan, TheGroupScanMovesOnAsItsStyleSays) {
    // Each step as 10 × its slot + its point.
    using Steps = std::vector<int>;
    // clang-format off
    const struct {
        uint8_t FDX::*option;
        Steps expected;
    } styles[] = {
        {nullptr,           {0, 1, 0, 1, 10, 11, 10, 11, 20, 21, 20, 21}},
        {&FDX::OptOneCycle, {0, 1, 10, 11, 20, 21, 0, 1, 10, 11, 20, 21}},
        {&FDX::OptOneMes,   {0, 10, 20, 1, 11, 21, 0, 10, 20, 1, 11, 21}},
    };
    // clang-format on
    for (const auto& style : styles) {
        for (std::size_t i = 0; i < 3; ++i) {
            const uint32_t start = (100 + uint32_t(i)) * kMHz;
            MakeRange(start, start + k10kHz, k10kHz).Cycles = 2;
            Load(i, *ranges.back());
        }
        if (style.option != nullptr) orvel.*style.option = 1;
        Steps steps;
        hooks[PostRangeScanStep] = [&] {
            const Bank& slot = orvel.ScanSlots[std::size_t(orvel.ScanSlot)];
            steps.push_back(10 * orvel.ScanSlot + (slot.ScanPoint == slot.Start ? 0 : 1));
        };
        orvel.SlotIndex = 0;
        orvel.SwitchToTab(3);
        orvel.StartButton();
        ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
        EXPECT_EQ(steps, style.expected);
        // The step that found the scan over posted nothing more.
        EXPECT_EQ(orvel.scan.LiveScanSteps(PostRangeScanStep), 0u);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(orvel.ScanSlots[i].CyclesDone, 2u);
        if (style.option != nullptr) orvel.*style.option = 0;
        hooks.clear();
    }
}

}  // namespace
