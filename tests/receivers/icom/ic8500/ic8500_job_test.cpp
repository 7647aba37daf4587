// Job lines addressed to the IC-R8500 panel (commands 411..435).

#include <gtest/gtest.h>

#include "state/user_sc.h"
#include "tests/receivers/icom/ic8500/ic8500_fixture.h"

namespace {

using emulators::Signal;
using emulators::SignalPlan;

constexpr const char* kNoAccess = "Нет доступа к объекту";

TEST_F(Ic8500OnAir, NumbersOutsideTheServedCommandsAreRefusedAndTheJobGoesOn) {
    for (uint32_t number : {0u, 311u, 410u, 436u}) {
        const JobStr line = RunJob(number);
        EXPECT_EQ(line.Message, kNoAccess) << number;
        EXPECT_EQ(line.ReturnCode, 1) << number;
    }
    EXPECT_TRUE(emulator.ReceivedFrames().empty());
}

TEST_F(Ic8500OnAir, BankAndChannelNumbersAreChecked) {
    JobStr line = RunJob(427, 25);
    EXPECT_EQ(line.Message, "Не существует указанного банка");
    EXPECT_EQ(line.ReturnCode, 2);
    EXPECT_EQ(panel.CurrentBank, 0u);

    line = RunJob(427, 24);
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_EQ(panel.CurrentBank, 24u);
    EXPECT_EQ(panel.bnum->Text(), "24");
    EXPECT_EQ(panel.bname->SelectedIndex(), 24);

    // PRIO holds one channel.
    line = RunJob(428, 1);
    EXPECT_EQ(line.Message, "Не существует канала для данного банка");
    EXPECT_EQ(line.ReturnCode, 2);
    RunJob(427, 3);
    line = RunJob(428, 39);
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_EQ(panel.BankPositions[3], 39u);
    EXPECT_EQ(RunJob(428, 40).ReturnCode, 2);
    // Nothing of this reaches the receiver unless the panel writes to it directly.
    EXPECT_TRUE(emulator.ReceivedFrames().empty());

    EXPECT_EQ(RunJob(433, 1).ReturnCode, 0);
    EXPECT_TRUE(panel.cbank->IsChecked());
    RunJob(427, 5);
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"08A005", "080000"}));
}

// As the panel's own attenuator buttons: set, then the level read at the new setting.
TEST_F(Ic8500OnAir, AttenuatorCommandsSendReadTheLevelAndReportTheState) {
    emulator.SetSignalPlan(SignalPlan{5, {Signal{101'700'000, 150, 12'000}}});
    const std::pair<uint32_t, int> cases[] = {{415, 10}, {416, 20}, {417, 30}, {414, 0}};
    const char* const sent[] = {"1110", "1120", "1130", "1100"};
    int reports = 0;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [number, db] = cases[i];
        state.Level = -1;
        emulator.ClearReceivedFrames();
        EXPECT_EQ(RunJob(number).ReturnCode, 0);
        EXPECT_EQ(Payloads(), (std::vector<std::string>{sent[i], "1501", "1502"})) << number;
        EXPECT_EQ(state.Level, 150) << number;
        EXPECT_EQ(emulator.State().attenuatorDb, db);
        EXPECT_EQ(state.Attenuator, db != 0 ? 1 : 0);
        ServeUntil([&] { return main.Count(PostReceiverState) > reports; });
        EXPECT_EQ(main.Count(PostReceiverState), ++reports);
    }
    RunJob(416);
    EXPECT_TRUE(panel.catt20->IsChecked());
    RunJob(414);
    EXPECT_TRUE(panel.catt0->IsChecked());
}

TEST_F(Ic8500OnAir, LevelAndSwitchCommandsReachTheReceiver) {
    EXPECT_EQ(RunJob(418, 64).ReturnCode, 0);
    EXPECT_EQ(emulator.State().afLevel, 64);
    EXPECT_EQ(panel.zvuk->Position(), 4);
    RunJob(418, 999);  // held to the highest level
    EXPECT_EQ(emulator.State().afLevel, 255);
    EXPECT_EQ(RunJob(419, 32).ReturnCode, 0);
    EXPECT_EQ(emulator.State().squelchLevel, 32);
    EXPECT_EQ(panel.porog->Position(), 2);

    RunJob(423, 0);
    EXPECT_FALSE(emulator.State().agc);
    EXPECT_FALSE(panel.faru->IsChecked());
    RunJob(424, 1);
    EXPECT_TRUE(emulator.State().peakFilter);
    EXPECT_TRUE(panel.fpik->IsChecked());
    RunJob(425, 7);
    EXPECT_TRUE(emulator.State().noiseBlanker);
    EXPECT_TRUE(panel.noise->IsChecked());
}

// A setting, or a bank or channel chosen in direct mode, that the receiver refuses or leaves
// unanswered fails its line (message 39), so that a COND line after it does not run.
TEST_F(Ic8500OnAir, ASettingTheReceiverRefusesOrLeavesUnansweredFails) {
    const std::pair<uint32_t, uint32_t> lines[] = {
        {427, 5},  {428, 3}, {414, 0}, {415, 0}, {416, 0}, {417, 0}, {418, 64},
        {419, 32}, {423, 1}, {424, 1}, {425, 1}, {422, 0}, {422, 1}};
    for (const bool silent : {false, true}) {
        emulator.SetRefuseAll(!silent);
        emulator.SetDead(silent);
        RunJob(433, 1);  // direct mode: the bank and channel go to the receiver
        emulator.ClearReceivedFrames();
        for (const auto& [number, value] : lines) {
            const JobStr line = RunJob(number, value);
            EXPECT_EQ(line.ReturnCode, 1) << number << (silent ? " silent" : " refused");
            EXPECT_EQ(line.Message, "Ошибка обращения к приемнику(выключен)") << number;
        }
        // Each went out: the answers are not for want of trying.
        EXPECT_EQ(emulator.ReceivedFrames().size(), std::size(lines)) << silent;
        // Switched on as the line asks, whatever the receiver said.
        EXPECT_FALSE(panel.Standby);
        EXPECT_EQ(panel.power->Text(), "выкл");
    }
}

TEST_F(Ic8500OnAir, PowerCommandsSwitchTheReceiverAndTheStandby) {
    EXPECT_EQ(RunJob(422, 0).ReturnCode, 0);
    EXPECT_FALSE(emulator.State().powerOn);
    EXPECT_TRUE(panel.Standby);
    // Direct mode cannot be switched on in standby.
    RunJob(420, 1);
    EXPECT_FALSE(panel.Settings.DirectMode);

    EXPECT_EQ(RunJob(422, 1).ReturnCode, 0);
    EXPECT_TRUE(emulator.State().powerOn);
    EXPECT_FALSE(panel.Standby);
    EXPECT_EQ(panel.power->Text(), "выкл");
    RunJob(420, 1);
    EXPECT_TRUE(panel.Settings.DirectMode);
    RunJob(420, 0);
    EXPECT_FALSE(panel.Settings.DirectMode);

    // Switched on already: nothing to do.
    emulator.ClearReceivedFrames();
    RunJob(422, 1);
    EXPECT_TRUE(emulator.ReceivedFrames().empty());
}

TEST_F(Ic8500OnAir, ViewStepCommandTakesOnlyTheListedSteps) {
    RunJob(426, 300);
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_EQ(panel.step->SelectedIndex(), 0);
    RunJob(426, 50000);
    EXPECT_EQ(panel.ViewStep, 50000u);
    EXPECT_EQ(panel.step->SelectedIndex(), 8);
    RunJob(426, 1000);
    EXPECT_EQ(panel.step->SelectedIndex(), 3);
}

TEST_F(Ic8500OnAir, ClearingTheScaleIsAnsweredYesInTheLine) {
    panel.Scale.SetCell(14'550, 99);
    const JobStr line = RunJob(421);
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_EQ(line.Message, "Вы действительно хотите очистить шкалу?-ДА");
    EXPECT_EQ(panel.Scale.Cell(14'550), 0);
}

TEST_F(Ic8500OnAir, ScanSettingsCommandAsksTheMainWindow) {
    EXPECT_EQ(RunJob(435).ReturnCode, 0);
    ServeUntil([&] { return main.Count(PostOpenScanSettings) == 1; });
    EXPECT_EQ(main.Count(PostOpenScanSettings), 1);
}

TEST_F(Ic8500OnAir, FixedFrequencyJumpsTuneToTheCentreOfTheNextScaleItem) {
    UserSc items[3];
    items[0].StartFrequency = 1'000'000;
    items[0].EndFrequency = 1'000'400;
    items[1].StartFrequency = 1'450'000;
    items[1].EndFrequency = 1'460'000;
    items[2].StartFrequency = 4'330'000;
    items[2].EndFrequency = 4'340'000;
    state.Scales = {&items[0], &items[1], &items[2]};
    state.Frequency = 2'000'000;

    EXPECT_EQ(RunJob(430).ReturnCode, 0);
    EXPECT_EQ(state.Frequency, 4'335'000u);
    EXPECT_EQ(emulator.State().frequencyHz, 433'500'000u);
    ServeUntil([&] { return main.Count(PostSelectScale) == 1; });
    EXPECT_EQ(main.Count(PostSelectScale), 1);

    state.Frequency = 2'000'000;
    RunJob(429);
    EXPECT_EQ(state.Frequency, 1'455'000u);

    const JobStr line = RunJob(429);  // nothing ends below 145.5 but the first item
    EXPECT_EQ(state.Frequency, 1'000'200u);
    EXPECT_EQ(line.ReturnCode, 0);
    const JobStr none = RunJob(429);
    EXPECT_EQ(none.Message, "Фиксированные частоты не найдены");
    EXPECT_EQ(none.ReturnCode, 1);
}

TEST_F(Ic8500OnAir, PeakJumpsFindTheSignalOnTheScale) {
    JobStr line = RunJob(432);
    EXPECT_EQ(line.Message, "Максимумы Шкалы не найдены");
    EXPECT_EQ(line.ReturnCode, 1);

    // A scan over the airband carrier fills the scale.
    emulator.SetSignalPlan(SignalPlan{8, {Signal{127'500'000, 110, 60'000}}});
    panel.Scale.FillWindow = 240;
    for (uint32_t f = 1'272'000; f <= 1'278'000; f += 100) {
        state.Frequency = f;
        ASSERT_TRUE(panel.SetFrequencyWait());
        ASSERT_GE(panel.ReadLevel(), 0);
    }
    state.Frequency = 1'270'000;
    line = RunJob(432);
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_NEAR(state.Frequency, 1'275'000, 200);
    state.Frequency = 1'279'000;
    RunJob(431);
    EXPECT_NEAR(state.Frequency, 1'275'000, 200);
}

}  // namespace
