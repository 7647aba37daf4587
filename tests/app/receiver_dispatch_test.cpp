// The main window reaches the receiver only through the panel of the configured type.
#include <gtest/gtest.h>

#include "tests/app/window_fixture.h"

namespace {

// The main window with an IC-R8500 on COM1 that hears a carrier at 68.8 MHz.
class DispatchToIc8500 : public window_test::ScanOnAir {
    void Prepare() override {
        emulator.SetSignalPlan(window_test::WithCarrier(20, 68'800'000, 180, 50'000));
    }
};

TEST_F(DispatchToIc8500, ModeStepAttenuatorAndLevelReachTheReceiver) {
    ASSERT_NE(Ic8500Panel(orvel), nullptr);
    EXPECT_EQ(orvel.FreqHigh, IC8500::kUpperLimit);

    orvel.receiver.SetModulation('A');
    EXPECT_EQ(orvel.Modulation, 'A');
    EXPECT_EQ(emulator.State().mode, emulators::kModeAm);
    orvel.receiver.SetModulation('X');  // not a mode letter: kept, the panel is asked all the same
    EXPECT_EQ(orvel.Modulation, 'A');

    orvel.Attenuator = 1;
    orvel.receiver.ApplyAttenuator();
    EXPECT_GT(emulator.State().attenuatorDb, 0);

    orvel.Frequency = 688000;  // 68.8 MHz, where the plan has a carrier
    ASSERT_TRUE(orvel.receiver.Panel()->SetFrequencyWait());
    EXPECT_EQ(emulator.State().frequencyHz, 68'800'000u);
    orvel.Level = -1;
    orvel.receiver.PollLevel();
    EXPECT_EQ(orvel.Level, 180);

    EXPECT_EQ(orvel.receiver.ModeParameter('W'), 1500);  // wide FM: 150 kHz
    EXPECT_TRUE(orvel.receiver.PostToPanel(PostRefreshDisplay));
}

// Without a panel every operation does nothing and answers its neutral value.
class DispatchWithoutPanel : public window_test::WindowTest {
    std::string Ini() const override { return "RECV=2\r\n"; }  // the AR8000 has no panel yet
};

TEST_F(DispatchWithoutPanel, EveryOperationIsHarmless) {
    EXPECT_EQ(orvel.ReceiverType, 0);
    orvel.receiver.SetModulation('L');
    EXPECT_EQ(orvel.Modulation, 'L');
    orvel.receiver.ApplyStep();
    orvel.receiver.ApplySound(true);
    orvel.receiver.ApplyAttenuator();
    orvel.receiver.CancelReceiver();
    orvel.receiver.PollLevel();
    orvel.receiver.SyncReceiverPanel();
    orvel.receiver.NotifyPanelLoaded();
    orvel.receiver.RequestPanelBank();
    EXPECT_EQ(orvel.receiver.ModeParameter('L'), 120);
    EXPECT_EQ(orvel.receiver.ActiveReceiverParam(), 100);
    EXPECT_FALSE(orvel.scan.QueryLevel());
    orvel.scan.TuneAndMeasure();
    EXPECT_EQ(orvel.Level, -1);
    EXPECT_EQ(orvel.receiver.Panel(), nullptr);
    ui::ServeFor(1000);
}

}  // namespace
