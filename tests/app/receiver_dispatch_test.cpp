// The main window reaches the receiver only through the panel of the configured type.
#include <gtest/gtest.h>

#include <fstream>

#include "app/orvel.h"
#include "emulators/civ/ic8500_emulator.h"
#include "state/message_bus.h"
#include "tests/app/ic8500_panel.h"
#include "tests/support/program_folder.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace {

// The main window with an IC-R8500 on COM1: the emulator answers at once on a real
// pseudo-terminal while virtual time stands still.
class DispatchToIc8500 : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(20);
        emulators::SignalPlan plan = emulators::DefaultSignalPlan();
        plan.signals.push_back({68'800'000, 180, 50'000});
        receiver = std::make_unique<emulators::Ic8500Emulator>(plan);
        receiver->LinkAs(folder.path() / "COM1");
        receiver->Start();
        std::ofstream(folder.File("ORVEL.INI"), std::ios::binary)
            << "COM=1\r\nSPEED=5\r\nRECV=4\r\n";
        ASSERT_TRUE(orvel.Create());
        ui::ServeFor(2000);  // the panel's start-up synchronisation
    }
    void TearDown() override {
        orvel.Destroy();
        receiver->Stop();
        ui::Clock::SetVirtual(false);
    }

    ProgramFolder folder;
    std::unique_ptr<emulators::Ic8500Emulator> receiver;
    ORVEL orvel;
};

TEST_F(DispatchToIc8500, ModeStepAttenuatorAndLevelReachTheReceiver) {
    ASSERT_NE(Ic8500Panel(orvel), nullptr);
    EXPECT_EQ(orvel.FreqHigh, IC8500::kUpperLimit);

    orvel.receiver.SetModulation('A');
    EXPECT_EQ(orvel.Modulation, 'A');
    EXPECT_EQ(receiver->State().mode, emulators::kModeAm);
    orvel.receiver.SetModulation('X');  // not a mode letter: kept, the panel is asked all the same
    EXPECT_EQ(orvel.Modulation, 'A');

    orvel.Attenuator = 1;
    orvel.receiver.ApplyAttenuator();
    EXPECT_GT(receiver->State().attenuatorDb, 0);

    orvel.Frequency = 688000;  // 68.8 MHz, where the plan has a carrier
    ASSERT_TRUE(orvel.receiver.Panel()->SetFrequencyWait());
    EXPECT_EQ(receiver->State().frequencyHz, 68'800'000u);
    orvel.Level = -1;
    orvel.receiver.PollLevel();
    EXPECT_EQ(orvel.Level, 180);

    EXPECT_EQ(orvel.receiver.ModeParameter('W'), 1500);  // wide FM: 150 kHz
}

TEST_F(DispatchToIc8500, PanelCodesGoToThePanelOfTheType) {
    EXPECT_NE(orvel.receiver.Panel(), nullptr);
    EXPECT_TRUE(orvel.receiver.PostToPanel(PostRefreshDisplay));
    ui::ServePending();
}

// Without a panel every operation does nothing and answers its neutral value.
TEST(DispatchWithoutPanel, EveryOperationIsHarmless) {
    ui::Clock::SetVirtual(true);
    ui::Clock::SetIdleSliceMs(0);
    {
        ProgramFolder folder;
        ui::ScriptedMessageBoxes boxes;  // message 2: the IC-R75 has no panel yet
        std::ofstream(folder.File("ORVEL.INI"), std::ios::binary) << "RECV=10\r\n";
        ORVEL orvel;
        ASSERT_TRUE(orvel.Create());
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
        orvel.Destroy();
    }
    ui::Clock::SetVirtual(false);
    ui::Clock::SetIdleSliceMs(20);
}

}  // namespace
