// The receiver goes away in the middle of a range scan (its end of the line hangs up) and comes
// back later on the same COM1: the operator is told once, the scan stops, and the port opens
// again by itself on a timer tick.

#include <gtest/gtest.h>

#include "tests/app/window_fixture.h"

namespace {

using window_test::kMHz;
using window_test::ScanOnAir;

constexpr uint32_t k100MHz = 100 * kMHz;
constexpr uint32_t k10kHz = 100;
constexpr const char* kReceiverOff = "Ошибка обращения к приемнику(выключен)";

class LostReceiver : public ScanOnAir {
  protected:
    void StartRangeScan(UserDp& range) {
        Load(0, range);
        orvel.SlotIndex = 0;
        orvel.SwitchToTab(2);
        orvel.StartButton();
    }
    // A scan of fifty passes loses its receiver after a few points.
    void UnplugDuringAScan() {
        UserDp& range = MakeRange(k100MHz, k100MHz + 99 * k10kHz, k10kHz);
        range.Cycles = 50;
        StartRangeScan(range);
        ASSERT_TRUE(orvel.Running);
        ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 5; }));
        UnplugReceiver();
        ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }, 5000));
    }
    // Virtual time passes with nobody on the line: no reply to give room for.
    static void IdleFor(int virtualMs) {
        ui::Clock::SetIdleSliceMs(0);
        ui::ServeFor(virtualMs);
        ui::Clock::SetIdleSliceMs(40);
    }
    int IdentityQueries() const {
        int count = 0;
        for (const auto& frame : emulator.ReceivedFrames())
            if (frame.size() == 7 && frame[4] == 0x19) ++count;
        return count;
    }
};

TEST_F(LostReceiver, AHangUpStopsTheScanAndIsToldOnceWhileThePortStaysDown) {
    UnplugDuringAScan();
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_FALSE(orvel.comm.Running);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, kReceiverOff);

    // Every retry finds COM1's device missing, and says nothing.
    IdleFor(20'000);
    EXPECT_FALSE(orvel.comm.Running);
    EXPECT_FALSE(orvel.Running);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(LostReceiver, BackOnCom1ThePortReopensOnATickThePanelSyncsAndTheNextScanMeasures) {
    UnplugDuringAScan();
    IdleFor(10'000);
    const int statesBefore = arrivals[PostReceiverState];

    PlugInReceiver();
    emulator.SetSignalPlan(window_test::Flat(30));  // levels the first scan never saw
    ASSERT_TRUE(RunUntil([&] { return orvel.comm.Running.load(); }, 4000));  // one retry period
    // The panel asks the new receiver who it is and where it is tuned, as at start-up.
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > statesBefore; }, 5000));
    EXPECT_EQ(IdentityQueries(), 1);
    EXPECT_EQ(orvel.Frequency, 1'017'000u);  // the fresh set's 101.7 MHz

    emulator.ClearReceivedFrames();
    UserDp& range = MakeRange(k100MHz, k100MHz + 4 * k10kHz, k10kHz);
    StartRangeScan(range);
    ASSERT_TRUE(RunUntil([&] { return !orvel.Running; }));
    EXPECT_EQ(LevelQueries(), 5);
    for (std::size_t cell = 1; cell <= 5; ++cell) EXPECT_EQ(orvel.ScanSlots[0].Current[cell], 30);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
