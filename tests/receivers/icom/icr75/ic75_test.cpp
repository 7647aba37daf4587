// The IC-R75 panel against the emulated set: where its commands and replies differ from the
// IC-756PRO's, its power as standby, its job commands, and its own scan chosen on the panel.

#include <gtest/gtest.h>

#include "tests/receivers/icom/hf/hf_fixture.h"

namespace {

using Texts = std::vector<std::string>;

TEST_F(Ic75OnAir, StepsModesAndTheAttenuatorGoAsTheSetDocumentsThem) {
    // Every step has a code: the first one at or above it (500 kHz: 1 MHz).
    for (const uint32_t step : {25u, 5000u, 1u}) {
        state.Step = step;
        EXPECT_TRUE(panel.SetStep()) << step;
    }
    state.Modulation = 'W';
    EXPECT_TRUE(panel.SetMode());
    EXPECT_EQ(panel.width->Text(), "15.0");
    // Every mode takes the one stored filter choice.
    panel.Settings.FilterChoice = 1;
    state.Modulation = 'A';
    EXPECT_TRUE(panel.SetMode());
    EXPECT_EQ(panel.width->Text(), "2.4");
    EXPECT_EQ(panel.Scale.FillWindow, 48);
    // No RTTY: nothing goes out.
    state.Modulation = 'R';
    EXPECT_FALSE(panel.SetMode());
    panel.catt->SetChecked(true);
    Click(panel.catt);
    const Texts sent = Sent();
    EXPECT_EQ(Texts(sent.begin(), sent.begin() + 6),
              (Texts{"1003", "1011", "1001", "060501", "060203", "1120"}));
    EXPECT_EQ(state.AttenuatorDb, 20u);

    // A set's report of its synchronous AM reads as AM, of its RTTY as CW.
    ASSERT_TRUE(emulator.SwitchModeByHand(emulators::kModeSyncAm, 0x03));
    ASSERT_TRUE(ServeUntil([&] { return state.Modulation == 'A' && state.Filter == 1; }));
    ASSERT_TRUE(emulator.SwitchModeByHand(emulators::kModeRtty, 0x02));
    ASSERT_TRUE(ServeUntil([&] { return state.Modulation == 'C'; }));
}

// Every step has a code: each row's last step takes it, the next step the next row's.
TEST_F(Ic75OnAir, EveryStepTakesTheCodeOfTheFirstRowAtOrAboveIt) {
    const struct {
        uint32_t last;  // 100 Hz units
        const char* payload;
    } rows[] = {{1, "1001"},   {10, "1002"},  {50, "1003"},  {63, "1004"},  {90, "1005"},
                {100, "1006"}, {125, "1007"}, {200, "1008"}, {250, "1009"}, {1000, "1010"}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        state.Step = rows[i].last;
        panel.SetStep();
        EXPECT_EQ(Sent(), (Texts{rows[i].payload})) << rows[i].last;
        state.Step = rows[i].last + 1;
        panel.SetStep();
        EXPECT_EQ(Sent(), (Texts{i + 1 < std::size(rows) ? rows[i + 1].payload : "1011"}))
            << rows[i].last + 1;
    }
}

TEST_F(Ic75OnAir, JobCommandsNumberChannelsFromOneAndSwitchThePower) {
    EXPECT_EQ(RunJob(1028, 101).ReturnCode, 0u);
    EXPECT_EQ(panel.CurrentChannel, 100u);
    EXPECT_EQ(RunJob(1028, 1).ReturnCode, 0u);
    EXPECT_EQ(panel.CurrentChannel, 0u);
    for (const uint32_t beyond : {0u, 102u}) {
        const JobStr line = RunJob(1028, beyond);
        EXPECT_EQ(line.Message, "Не существует канала для данного банка");
        EXPECT_EQ(line.ReturnCode, 2u);
    }
    for (const uint32_t unknown : {1015u, 1017u, 1035u}) {
        const JobStr line = RunJob(unknown);
        EXPECT_EQ(line.Message, "Нет доступа к объекту");
        EXPECT_EQ(line.ReturnCode, 1u);
    }
    Sent();

    // 18 00 switches the set off, 18 01 on.
    RunJob(1022, 0);
    EXPECT_TRUE(panel.Standby);
    EXPECT_FALSE(emulator.State().powerOn);
    RunJob(1022, 1);
    EXPECT_FALSE(panel.Standby);
    EXPECT_TRUE(emulator.State().powerOn);
    EXPECT_EQ(Sent(), (Texts{"1800", "1801"}));
}

// The regime is chosen on the panel; every stop of the set's scan puts its frequency into the
// bank.
TEST_F(Ic75OnAir, ItsOwnScanRunsTheRegimeOfThePanelAndEveryStopGoesIntoTheBank) {
    emulators::CivChannel channel;
    channel.frequencyHz = 9'650'000;
    channel.mode = emulators::kModeAm;
    channel.filter = 0x02;
    emulator.SetChannel(0, 5, channel);
    panel.scanbank->SetChecked(true);
    Click(panel.scanbank);
    Click(panel.pictbttn_1);
    ASSERT_TRUE(panel.ReceiverScanRunning);
    EXPECT_EQ(Sent(), (Texts{"0E00", "0ED3", "08", "0E22"}));
    ASSERT_TRUE(emulator.TriggerScanStop());
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostPanelReload) >= 1; }));
    RunJob(1021);  // stops it and reads the channels back
    EXPECT_FALSE(panel.ReceiverScanRunning);
    EXPECT_EQ(panel.Channels[4].Frequency, 96'500u);

    Sent();
    panel.scandiap->SetChecked(true);
    Click(panel.scandiap);
    EXPECT_FALSE(panel.StartReceiverScan());  // no edges programmed: the set refuses
    EXPECT_EQ(Sent(), (Texts{"0E00", "0ED3", "0E02"}));
    ui::ServePending();
    EXPECT_EQ(messages, (Texts{"Ошибка запуска внутреннего сканирования приемника"}));
}

}  // namespace
