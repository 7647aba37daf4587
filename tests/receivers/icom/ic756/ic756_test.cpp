// The IC-756PRO panel against the emulated set: the command bytes of modes, steps, the
// attenuator and AGC; the start-up sync; standby, which never keys the transmitter; the job
// commands; the set's own scan in its three regimes; and the scan-regime dialog RIC756.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "receivers/icom/ic756/ric756.h"
#include "state/user_job.h"
#include "tests/receivers/icom/hf/hf_fixture.h"
#include "tests/support/operator_hand.h"

namespace {

using Texts = std::vector<std::string>;

// The payloads that begin with `prefix`.
Texts Only(const Texts& sent, const std::string& prefix) {
    Texts kept;
    std::copy_if(sent.begin(), sent.end(), std::back_inserter(kept),
                 [&](const std::string& p) { return p.starts_with(prefix); });
    return kept;
}

TEST_F(Ic756OnAir, ModesStepsTheAttenuatorAndAgcGoAsTheSetDocumentsThem) {
    // CW narrow is the set's reverse CW on the narrow filter.
    panel.Settings.Cnar = true;
    state.Modulation = 'C';
    ASSERT_TRUE(panel.SetMode());
    EXPECT_EQ(state.Filter, 1);
    EXPECT_EQ(panel.width->Text(), "0.25");
    EXPECT_EQ(panel.Scale.FillWindow, 4);  // twice the width as typed, to 100 Hz
    state.Step = 125;
    EXPECT_TRUE(panel.SetStep());
    EXPECT_EQ(Sent(), (Texts{"060703", "1006"}));

    // 2.5 kHz has no code: nothing goes out, and the wait ends unanswered.
    state.Step = 25;
    const int64_t before = ui::Clock::NowMs();
    EXPECT_FALSE(panel.SetStep());
    EXPECT_GE(ui::Clock::NowMs() - before, 900);
    EXPECT_TRUE(Sent().empty());

    // 12 dB, off, 6 dB from the panel's commands; a depth the set lacks goes as 6 dB.
    for (const uint32_t command : {1216u, 1214u, 1215u}) EXPECT_EQ(RunJob(command).ReturnCode, 0u);
    panel.Settings.DefaultAttenuatorDb = 10;
    state.Attenuator = 1;
    EXPECT_TRUE(panel.SetAttenuator());
    EXPECT_EQ(Only(Sent(), "11"), (Texts{"1112", "1100", "1106", "1106"}));
    EXPECT_EQ(emulator.State().attenuatorDb, 6);

    RunJob(1223, 0);
    RunJob(1223, 1);
    EXPECT_EQ(Sent(), (Texts{"161203", "161201"}));
}

// Each step the set has a code for, as its manual numbers them; the set takes each.
TEST_F(Ic756OnAir, EveryStepWithACodeGoesWithItsCode) {
    const struct {
        uint32_t step;  // 100 Hz units
        const char* payload;
        int code;
    } steps[] = {{1, "1001", 1},   {10, "1002", 2},  {50, "1003", 3},  {90, "1004", 4},
                 {100, "1005", 5}, {125, "1006", 6}, {200, "1007", 7}, {250, "1008", 8}};
    for (const auto& row : steps) {
        state.Step = row.step;
        EXPECT_TRUE(panel.SetStep()) << row.step;
        EXPECT_EQ(Sent(), (Texts{row.payload})) << row.step;
        EXPECT_EQ(emulator.State().stepCode, row.code) << row.step;
    }
}

// Off, 6, 12 and 18 dB from the job commands, each as the set's code for it.
TEST_F(Ic756OnAir, EveryAttenuatorDepthGoesWithItsCode) {
    const struct {
        uint32_t command;
        const char* payload;
        int db;
    } depths[] = {{1217, "1118", 18}, {1215, "1106", 6}, {1216, "1112", 12}, {1214, "1100", 0}};
    for (const auto& row : depths) {
        EXPECT_EQ(RunJob(row.command).ReturnCode, 0u) << row.command;
        EXPECT_EQ(Only(Sent(), "11"), (Texts{row.payload})) << row.command;
        EXPECT_EQ(emulator.State().attenuatorDb, row.db) << row.command;
    }
    EXPECT_TRUE(panel.catt0->IsChecked());
    RunJob(1217);
    EXPECT_TRUE(panel.catt30->IsChecked());
}

TEST_F(Ic756OnAir, TheSyncAsksWhoIsThereThenFrequencyModeAndLevel) {
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostPanelLevelDisplay) == 1; }));
    EXPECT_EQ(Hex(emulator.ReceivedFrames().at(0)), "FEFE00E01900FD");
    EXPECT_EQ(Sent(), (Texts{"1900", "03", "04", "1501", "1502"}));
    EXPECT_EQ(state.Frequency, 142'000u);
    EXPECT_EQ(state.Modulation, 'U');
    EXPECT_EQ(panel.width->Text(), "2.1");
    EXPECT_FALSE(panel.Standby);

    // A set that refuses who it is: marked off, and the main window told.
    emulator.SetRefuseAll(true);
    Post(PostSyncReceiver);
    EXPECT_TRUE(panel.Standby);
    EXPECT_EQ(main.Count(PostPanelProgress), 1);
    EXPECT_EQ(panel.off->Text(), "вкл");
}

// Standby is the set's read of its tuner, leaving it its read of the transmit state: 1C 00
// never goes with data, which would key the transmitter.
TEST_F(Ic756OnAir, StandbyReadsTheSetAndNeverKeysIt) {
    Click(panel.off);
    EXPECT_TRUE(panel.Standby);
    EXPECT_EQ(panel.off->Text(), "вкл");
    RunJob(1222, 1);
    EXPECT_FALSE(panel.Standby);
    RunJob(1222, 0);
    Click(panel.off);
    EXPECT_EQ(Sent(), (Texts{"1C01", "1C00", "1C01", "1C00"}));
    EXPECT_FALSE(panel.Standby);

    // Unanswered, the mark stays as it was.
    emulator.SetDead(true);
    Click(panel.off);
    EXPECT_FALSE(panel.Standby);
}

TEST_F(Ic756OnAir, JobCommandsCheckTheirValues) {
    RunJob(1226, 50);
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_EQ(panel.step->StringAt(panel.step->SelectedIndex()), "10");
    RunJob(1226, 200);
    EXPECT_EQ(panel.step->StringAt(panel.step->SelectedIndex()), "20");

    // Channels by their place in the table, 0..100.
    EXPECT_EQ(RunJob(1228, 100).ReturnCode, 0u);
    EXPECT_EQ(panel.CurrentChannel, 100u);
    for (const uint32_t beyond : {101u, 102u}) {
        const JobStr line = RunJob(1228, beyond);
        EXPECT_EQ(line.Message, "Не существует канала для данного банка");
        EXPECT_EQ(line.ReturnCode, 2u);
    }
    EXPECT_EQ(panel.CurrentChannel, 100u);
    const JobStr unknown = RunJob(1227);
    EXPECT_EQ(unknown.Message, "Нет доступа к объекту");
    EXPECT_EQ(unknown.ReturnCode, 1u);
}

TEST_F(Ic756OnAir, TheScanButtonStartsTheRegimeChosen) {
    emulators::CivChannel selected;
    selected.frequencyHz = 9'650'000;
    selected.mode = emulators::kModeAm;
    selected.filter = 0x02;
    selected.scanFlag = emulators::kScanFlagSelect;
    emulator.SetChannel(0, 3, selected);
    emulator.SetChannel(0, 100, selected);
    selected.frequencyHz = 9'700'000;
    emulator.SetChannel(0, 101, selected);

    HfSettings& s = panel.Settings;
    const struct {
        bool range, bank, manual;
        const char* command;
    } regimes[] = {
        {false, true, false, "0E23"}, {true, false, false, "0E01"}, {false, false, true, "0E03"}};
    s.SelectedChannels = true;
    for (const auto& regime : regimes) {
        s.RangeScan = regime.range;
        s.BankScan = regime.bank;
        s.ManualScan = regime.manual;
        Click(panel.pictbttn_1);
        ASSERT_TRUE(panel.ReceiverScanRunning) << regime.command;
        EXPECT_EQ(Sent(), (Texts{"0E00", regime.command}));
        EXPECT_EQ(state.PanelStatusText, "Аппаратное сканирование");
        Click(panel.pictbttn_7);  // stops it
        EXPECT_FALSE(panel.ReceiverScanRunning);
        Sent();
    }
    ServeUntil([&] { return main.Count(PostScanStoppedByPanel) == 3; });
    EXPECT_FALSE(panel.PanelBusy);

    // Nothing selected to scan: the set refuses, the operator is told, nothing is locked.
    emulator.SetChannel(0, 3, {});
    s.RangeScan = s.ManualScan = false;
    s.BankScan = true;
    EXPECT_FALSE(panel.StartReceiverScan());
    ui::ServePending();
    EXPECT_EQ(messages,
              (std::vector<std::string>{"Ошибка запуска внутреннего сканирования приемника"}));
    EXPECT_FALSE(panel.PanelBusy);
    EXPECT_TRUE(panel.cb_2->IsEnabled());
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 3);
}

// With no regime chosen the set has nothing to start: the operator is told, nothing is locked
// and nothing passes for a running scan.
TEST_F(Ic756OnAir, AScanWithoutARegimeIsNotReportedStarted) {
    HfSettings& s = panel.Settings;
    s.RangeScan = s.BankScan = s.ManualScan = false;
    Click(panel.pictbttn_1);
    EXPECT_FALSE(panel.ReceiverScanRunning);
    EXPECT_EQ(Sent(), (Texts{"0E00"}));
    ui::ServePending();
    EXPECT_EQ(messages, (Texts{"Ошибка запуска внутреннего сканирования приемника"}));
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 0);
    EXPECT_FALSE(panel.PanelBusy);
    EXPECT_NE(state.PanelStatusText, "Аппаратное сканирование");
}

// A stop of the set's scan does what the pause mode says; a job is started only when one is
// named.
TEST_F(Ic756OnAir, AStopOfTheSetsScanActsByThePauseMode) {
    emulators::CivChannel edge;
    edge.frequencyHz = 9'600'000;
    emulator.SetChannel(0, 100, edge);
    edge.frequencyHz = 9'700'000;
    emulator.SetChannel(0, 101, edge);
    panel.Settings.RangeScan = true;
    ASSERT_TRUE(panel.StartReceiverScan());
    panel.Settings.Action = ScanStopAction::Beep;
    ASSERT_TRUE(emulator.TriggerScanStop());
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostBeep) == 1; }));
    panel.Settings.Action = ScanStopAction::StartJob;
    ASSERT_TRUE(emulator.ResumeScan());
    ASSERT_TRUE(emulator.TriggerScanStop());
    ServeUntil([&] { return main.Count(PostFrequencyChanged) == 2; });
    EXPECT_EQ(main.Count(PostPanelStartJob), 0);
    EXPECT_EQ(main.Count(PostBeep), 1);
}

// The level command of a slider at its position, as the set takes it (0..255 in four digits).
std::string LevelCommand(const char* command, ui::Slider* slider) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%04d", command, slider->Position() * 16);
    return text;
}

// One click on a slider's track is one command. The release comes while the panel waits for
// the set's answer; waited for inside the press, it was taken before the slider began to
// repeat the click, which then never ended.
TEST_F(Ic756OnAir, AClickOnALevelSlidersTrackSendsOneCommand) {
    main.Show();
    panel.ServeDialogCode(PostOpenScanSettings);
    RIC756* dialog = panel.ScanSettingsDialog();
    ASSERT_NE(dialog, nullptr);
    const std::pair<ui::Slider*, const char*> sliders[] = {
        {panel.sq, "1403"}, {panel.sd, "1401"}, {dialog->pik, "1406"}};
    for (const auto& [slider, command] : sliders) {
        SCOPED_TRACE(command);
        Sent();
        const int before = slider->Position();
        operator_hand::ClickTrack(slider);
        ASSERT_TRUE(ServeUntil([&] { return !emulator.ReceivedFrames().empty(); }));
        ui::ServePending();
        EXPECT_NE(slider->Position(), before);
        EXPECT_EQ(Sent(), (Texts{LevelCommand(command, slider)}));
        EXPECT_FALSE(operator_hand::Repeats(slider));
    }
}

// The job a stop starts is kept by its name: the dialog shows it where the job list has it
// as the dialog opens.
TEST_F(Ic756OnAir, TheScanRegimeDialogShowsTheStopsJobWhereTheListHasIt) {
    UserJob morning;
    morning.Identifier = "Утро";
    UserJob night;
    night.Identifier = "Ночь";
    state.Jobs = {&morning, &night};
    panel.Settings.JobName = "Ночь";
    panel.ServeDialogCode(PostOpenScanSettings);
    RIC756* dialog = panel.ScanSettingsDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(panel.Settings.JobIndex, 2);
    EXPECT_EQ(dialog->job->SelectedIndex(), 2);
}

TEST_F(Ic756OnAir, TheScanRegimeDialogWritesIntoThePanelAndTheSet) {
    panel.ServeDialogCode(PostOpenScanSettings);
    RIC756* dialog = panel.ScanSettingsDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->diapscan->IsChecked());

    ui::EventData moved;
    moved.id = ui::EventId::Change;
    moved.value = 15;
    dialog->pik->Raise(moved);
    EXPECT_EQ(panel.Settings.NoiseReduction, 240u);
    EXPECT_EQ(Sent(), (Texts{"14060240"}));

    for (ui::OptionButton* option : {dialog->bankscan, dialog->handscan}) {
        option->SetChecked(true);
        Click(option);
    }
    EXPECT_TRUE(panel.Settings.ManualScan);
    EXPECT_FALSE(panel.Settings.BankScan);
    EXPECT_FALSE(panel.Settings.RangeScan);

    // RTTY narrow: the set switches at once while in RTTY.
    state.Modulation = 'R';
    dialog->Rnar->SetChecked(true);
    Click(dialog->Rnar);
    EXPECT_EQ(Sent(), (Texts{"060803"}));
    EXPECT_EQ(panel.width->Text(), "0.25");
}

// The default depth is one of the set's own (6, 12, 18 dB), shown and taken by its option; the
// right mouse button runs the macro or trigger job on this dialog as on every window.
TEST_F(Ic756OnAir, TheScanRegimeDialogTakesTheSetsDepthsAndItsRightButtonRunsTheMacro) {
    panel.Settings.DefaultAttenuatorDb = 12;
    panel.ServeDialogCode(PostOpenScanSettings);
    RIC756* dialog = panel.ScanSettingsDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->optb_1->IsChecked());
    dialog->optb_2->SetChecked(true);
    Click(dialog->optb_2);
    EXPECT_EQ(panel.Settings.DefaultAttenuatorDb, 18u);
    dialog->att10->SetChecked(true);
    Click(dialog->att10);
    EXPECT_EQ(panel.Settings.DefaultAttenuatorDb, 6u);

    dialog->Raise(ui::EventId::RightButtonUp);
    ui::ServePending();
    EXPECT_EQ(main.Count(PostRunMacro), 1);
    // The channel list takes its own mouse; its right button runs the macro all the same.
    panel.lv_1->Raise(ui::EventId::RightButtonUp);
    ui::ServePending();
    EXPECT_EQ(main.Count(PostRunMacro), 2);
}

// The model's own controls go with the form and come back with it, wired again: the preamplifier
// box switches the set's preamplifier.
TEST_F(Ic756OnAir, ItsOwnControlsGoWithTheFormAndComeBackWithIt) {
    ASSERT_NE(panel.fpik, nullptr);
    panel.Destroy();
    EXPECT_EQ(panel.pictbttn_6, nullptr);
    EXPECT_EQ(panel.fpik, nullptr);
    EXPECT_EQ(panel.skip, nullptr);
    ASSERT_TRUE(panel.Create(&main, &state));
    emulator.ClearReceivedFrames();
    ASSERT_NE(panel.fpik, nullptr);
    panel.fpik->SetChecked(true);
    Click(panel.fpik);
    EXPECT_EQ(Sent(), (Texts{"160201"}));
}

}  // namespace
