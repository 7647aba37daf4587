// The AR8200 panel against the emulated receiver: the command lines, the level and its
// squelch mark, the modes, the start-up sync, the VFOs, AUTO, the receiver's own scan and the
// stops it reports, the job commands, the slider and the reply lines that hold free text.

#include <gtest/gtest.h>

// Before Qt's headers, whose "signals" keyword would rename the emulator's signal plan.
#include "tests/receivers/aor/ar8200/ar8200_fixture.h"
#include "tests/support/operator_hand.h"

#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST_F(Ar8200OnAir, TunesInHzOfTenDigitsSendsTheStepInSixAndReadsTheLevelWithItsSquelchMark) {
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(panel.Link.CommandLine, "RF0145500000\r\n");
    EXPECT_EQ(emulator.State().tuned.frequencyHz, 145'500'000u);
    state.Step = 125;
    ASSERT_TRUE(panel.SetStep());
    EXPECT_EQ(Lines().back(), "ST012500");
    // The squelch closed ("%"), then open (a blank), 255 kept as 254.
    ASSERT_TRUE(panel.SetSquelch(100));
    EXPECT_EQ(panel.ReadLevel(), 45);
    EXPECT_FALSE(panel.Reply.LevelOpen);
    EXPECT_EQ(panel.Link.ReplyLine, "LM%045");
    EXPECT_EQ(panel.Scale.At(1'455'000), 45);
    state.Frequency = 4'339'200;
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(panel.ReadLevel(), 254);
    EXPECT_EQ(panel.Link.ReplyLine, "LM 255");
    EXPECT_TRUE(panel.Reply.LevelOpen);
    EXPECT_EQ(panel.label_1->Text(), " 433.9200");
}

TEST_F(Ar8200OnAir, ModesSendTheirDigitWithTheNarrowOrWideVariantAndRttyNothing) {
    const struct {
        char letter;
        bool fnar, anar, awide;
        std::string line;
        int32_t filter;
        std::string width;
    } kCases[] = {
        {'W', false, false, false, "MD0", 0, "150.0"}, {'F', false, false, false, "MD1", 0, "12.0"},
        {'F', true, false, false, "MD6", 1, " 9.0"},   {'A', false, false, false, "MD2", 0, " 9.0"},
        {'A', false, true, true, "MD8", 1, " 3.0"},    {'A', false, false, true, "MD7", 2, "12.0"},
        {'U', false, false, false, "MD3", 0, " 3.0"},  {'L', false, false, false, "MD4", 0, " 3.0"},
        {'C', false, false, false, "MD5", 0, " 3.0"},
    };
    for (const auto& c : kCases) {
        panel.Options.Fnar = c.fnar;
        panel.Options.Anar = c.anar;
        panel.Options.Awide = c.awide;
        state.Modulation = c.letter;
        ASSERT_TRUE(panel.SetMode()) << c.line;
        EXPECT_EQ(Lines().back(), c.line);
        EXPECT_EQ(state.Filter, c.filter) << c.line;
        EXPECT_EQ(panel.width->Text(), c.width) << c.line;
        EXPECT_EQ(panel.ModeParameter(c.letter), 2 * panel.Bandwidth) << c.line;
        EXPECT_EQ(panel.Scale.FillWindow, 2 * panel.Bandwidth) << c.line;
    }
    // RTTY has no mode on the receiver: nothing goes out and the set fails.
    emulator.ClearReceivedLines();
    state.Modulation = 'R';
    EXPECT_FALSE(panel.SetMode());
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(panel.ModeParameter('R'), kNoModeValue);
}

// AUTO goes off before a mode or a step is set, and the step asked for is the one sent.
TEST_F(Ar8200OnAir, LeavingAutoForAStepSendsTheStepAskedFor) {
    state.Step = 250;
    panel.cauto->SetChecked(true);
    panel.cauto->Raise(ui::EventId::Click);
    ui::ServePending();
    EXPECT_TRUE(panel.AutoOn);
    EXPECT_EQ(emulator.State().tuned.settings.autoMode, true);
    state.Step = 125;
    ASSERT_TRUE(panel.SetStep());
    EXPECT_FALSE(panel.AutoOn);
    EXPECT_FALSE(panel.cauto->IsChecked());
    EXPECT_EQ(LinesStartingWith("AU").back(), "AU0");
    EXPECT_EQ(Lines().back(), "ST012500");
}

TEST_F(Ar8200OnAir, TheSyncTakesTheVfoAndTheSquelchTheReceiverReports) {
    // The receiver stands on VFO B, 145.5 MHz FM, with a level squelch.
    ASSERT_TRUE(panel.SendText("VB"));
    ASSERT_TRUE(panel.SendText("DB064"));
    emulator.ClearReceivedLines();
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return panel.SyncEnded(); }));
    EXPECT_TRUE(panel.ReceiverAnswered());
    EXPECT_EQ(panel.VfoChoice, AR8200::kVfoB);
    EXPECT_EQ(panel.vfobutton->Text(), "BVFO");
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(state.Modulation, 'F');
    EXPECT_EQ(state.Step, 125u);
    EXPECT_FALSE(panel.Options.VoiceSquelch);
    EXPECT_EQ(panel.Options.LevelValue, 64u);
    EXPECT_EQ(panel.sql->Position(), 4);
    EXPECT_EQ(Lines(), (Strings{"RX", "DB", "DA"}));
    EXPECT_EQ(main.Count(PostReceiverState), 1);
}

// A receiver in memory read: its bank and channel become the panel's, then the panel goes to
// its VFO. A channel number beyond the bank's 50 is no place.
TEST_F(Ar8200OnAir, TheSyncTakesTheMemoryPlaceOnlyWithinTheBank) {
    emulator.SetChannel(12, 7, {145'500'000, {12'500, '1', '3', '0'}, "CALLS"});
    ASSERT_TRUE(panel.SendText("MRc07"));
    emulator.ClearReceivedLines();
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return panel.SyncEnded(); }));
    EXPECT_EQ(panel.CurrentBank, 12);
    EXPECT_EQ(panel.BankPositions[12], 7);
    EXPECT_EQ(Lines(), (Strings{"RX", "VF", "RX", "DB", "DA"}));
    EXPECT_EQ(panel.VfoChoice, AR8200::kVfoF);
    EXPECT_EQ(state.Frequency, 4'339'200u);

    // "MXc55": a number the bank has no channel for, in the state line that answers the sync.
    panel.CurrentBank = 0;
    panel.BankPositions[12] = 3;
    emulator.SetSilent(true);
    QTimer::singleShot(50, [&] {
        const std::string line = "MR MXc55 RF0145500000 ST012500 MD1 AT0 MP0 TM       CALLS\r\n";
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(line.data()), line.size());
        PostPrivateMessage(&main, PostSerialData);
    });
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return panel.SyncEnded(); }));
    EXPECT_TRUE(panel.ReceiverAnswered());
    EXPECT_EQ(panel.Reply.Channel, 55);
    EXPECT_EQ(panel.CurrentBank, 0);
    EXPECT_EQ(panel.BankPositions[12], 3);
}

// A clear with direct writing leaves the set on an empty channel, whose state it tells with
// "---": the next sync takes that for an answer and goes to the panel's VFO, with no message.
TEST_F(Ar8200OnAir, TheSyncTakesAnEmptyChannelsDashesForAnAnswerAndGoesToTheVfo) {
    Sync();
    panel.DirectWrite = true;
    Post(PostClearData);
    ASSERT_EQ(emulator.State().operation, emulators::AorOperation::MemoryRead);
    ASSERT_TRUE(emulator.Channel(0, emulator.State().memoryChannel).Empty());
    emulator.ClearReceivedLines();
    state.Frequency = 1'000'000;
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return panel.SyncEnded(); }));
    EXPECT_TRUE(panel.ReceiverAnswered());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Lines(), (Strings{"RX", "VF", "RX", "DB", "DA"}));
    EXPECT_EQ(panel.VfoChoice, AR8200::kVfoF);
    EXPECT_EQ(state.Frequency, 4'339'200u);
    EXPECT_EQ(emulator.State().operation, emulators::AorOperation::Vfo);
}

// AUTO switched on where the set stands on an empty channel: its "---" holds no mode or step,
// so the program's stay as they were.
TEST_F(Ar8200OnAir, AutoOnAnEmptyChannelTakesNoModeOrStep) {
    Sync();
    panel.DirectWrite = true;
    Post(PostClearData);
    ASSERT_EQ(emulator.State().operation, emulators::AorOperation::MemoryRead);
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.widget()));
    state.Modulation = 'C';
    state.Step = 77;
    operator_hand::ClickServed(panel.cauto);
    ASSERT_TRUE(panel.AutoOn);
    EXPECT_EQ(state.Modulation, 'C');
    EXPECT_EQ(state.Step, 77u);
}

TEST_F(Ar8200OnAir, TheVfoButtonGoesThroughFThenAThenBWithItsCaptions) {
    Sync();
    panel.VfoChoice = AR8200::kVfoB;
    const Strings captions = {"VFO", "AVFO", "BVFO"};
    for (int press = 0; press < 3; ++press) {
        QTest::mouseClick(panel.vfobutton->widget(), Qt::LeftButton);
        ui::ServePending();
        EXPECT_EQ(panel.vfobutton->Text(), captions[static_cast<std::size_t>(press)]);
    }
    EXPECT_EQ(LinesStartingWith("V"), (Strings{"VF", "VA", "VB"}));
    EXPECT_EQ(panel.VfoChoice, AR8200::kVfoB);
    // Each VFO comes back where the receiver has it.
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(emulator.State().vfo, 1);
}

TEST_F(Ar8200OnAir, JobsAnswerInTheirLinesAndVfoJobValuesNameTheirVfo) {
    Sync();
    JobStr line = RunJob(928, 0);
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_EQ(Lines().front(), "VA");
    EXPECT_EQ(panel.VfoChoice, AR8200::kVfoA);
    EXPECT_EQ(state.Frequency, 1'017'000u);
    EXPECT_EQ(RunJob(928, 1).ReturnCode, 0);
    EXPECT_EQ(panel.vfobutton->Text(), "BVFO");
    EXPECT_EQ(RunJob(928, 2).ReturnCode, 0);
    EXPECT_EQ(LinesStartingWith("V"), (Strings{"VA", "VB", "VF"}));

    line = RunJob(924, 20);
    EXPECT_EQ(line.ReturnCode, 2);
    EXPECT_EQ(line.Message, "Не существует указанного банка");
    EXPECT_EQ(RunJob(924, 19).ReturnCode, 0);
    EXPECT_EQ(panel.bn->SelectedIndex(), 19);
    EXPECT_EQ(panel.bn->StringAt(19), "j");
    EXPECT_EQ(RunJob(925, 40).ReturnCode, 2);
    EXPECT_EQ(RunJob(925, 39).ReturnCode, 0);
    EXPECT_EQ(panel.CurrentSearchBank, 39);
    line = RunJob(926, 50);
    EXPECT_EQ(line.ReturnCode, 2);
    EXPECT_EQ(line.Message, "Не существует канала для данного банка");
    line = RunJob(999);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Нет доступа к обьекту");
    EXPECT_EQ(RunJob(923, 300).ReturnCode, 0);
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_EQ(panel.step->SelectedIndex(), 0);

    // A setting the receiver refuses fails its line.
    emulator.SetRefused({"AT"});
    line = RunJob(914, 1);
    EXPECT_EQ(line.ReturnCode, 1);
    emulator.SetRefused({});
    EXPECT_EQ(RunJob(914, 1).ReturnCode, 0);
    EXPECT_TRUE(panel.catt->IsChecked());
    EXPECT_EQ(RunJob(932, 300).ReturnCode, 0);  // 256 and above give 0
    EXPECT_EQ(Lines().back(), "DB000");
    EXPECT_EQ(RunJob(933).ReturnCode, 0);
    EXPECT_EQ(RunJob(932, 48).ReturnCode, 0);
    EXPECT_EQ(Lines().back(), "DA048");
}

// A switch the set refuses or leaves unanswered: its box ("атт", "авто", "звук"), clicked by
// the operator, shows what the set holds and the operator is told (message 39); a job line
// asking it (914, 929, 915) fails with that text, not with the one for a command the panel
// does not serve.
TEST_F(Ar8200OnAir, ASwitchTheSetDoesNotTakeIsToldAndItsBoxShowsWhatTheSetHolds) {
    Sync();
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.widget()));
    const std::string told = "Ошибка обращения к приемнику(выключен)";
    const uint8_t attenuator = state.Attenuator, sound = state.Sound;
    emulator.SetRefused({"AT", "AU", "MC"});
    for (ui::CheckBox* box : {panel.catt, panel.cauto, panel.csound}) {
        const bool before = box->IsChecked();
        operator_hand::ClickServed(box);
        EXPECT_EQ(box->IsChecked(), before);
    }
    EXPECT_EQ(messages, Strings(3, told));
    EXPECT_EQ(state.Attenuator, attenuator);
    EXPECT_EQ(state.Sound, sound);
    EXPECT_FALSE(panel.AutoOn);
    messages.clear();
    for (const auto& [number, value] : {std::pair{914u, 1u}, {929u, 1u}, {915u, sound ? 0u : 1u}}) {
        SCOPED_TRACE(number);
        const JobStr line = RunJob(number, value);
        EXPECT_EQ(line.ReturnCode, 1);
        EXPECT_EQ(line.Message, told);
    }
    EXPECT_FALSE(panel.catt->IsChecked() || panel.cauto->IsChecked());
    EXPECT_EQ(panel.csound->IsChecked(), sound != 0);
    // Unanswered alike.
    emulator.SetRefused({});
    emulator.SetSilent(true);
    const JobStr unanswered = RunJob(914, 1);
    EXPECT_EQ(unanswered.Message, told);
    EXPECT_FALSE(panel.catt->IsChecked());
    EXPECT_TRUE(messages.empty());
}

// Synchronised, with 145.5 MHz NFM in `channel` of bank A, and no line heard yet.
class Ar8200WithChannel : public Ar8200OnAir {
  protected:
    void SyncWithChannelAt(int channel) {
        Sync();
        MemoryChannel& c = panel.ChannelAt(0, channel);
        c.Frequency = 1'455'000;
        c.Step = 125;
        c.Modulation = 'F';
        emulator.ClearReceivedLines();
    }
};

// The commands both handhelds number alike stand at the AR8200's base: direct writing (916)
// writes the selected channel at once, the bank (924) leaves the search bank where it is, the
// fine scale's view step (923) is served.
TEST_F(Ar8200WithChannel, TheHandheldsSharedJobsStandAtItsBase) {
    SyncWithChannelAt(0);
    EXPECT_EQ(RunJob(916, 1).ReturnCode, 0);
    EXPECT_TRUE(panel.DirectWrite && panel.cbank->IsChecked());
    EXPECT_EQ(LinesStartingWith("MX"), Strings{"MXA00 RF0145500000 ST012500 MD1 AT0 TM            "});
    emulator.ClearReceivedLines();
    EXPECT_EQ(RunJob(916, 0).ReturnCode, 0);
    EXPECT_FALSE(panel.DirectWrite || panel.cbank->IsChecked());
    EXPECT_TRUE(Lines().empty());

    panel.CurrentSearchBank = 30;
    EXPECT_EQ(RunJob(924, 5).ReturnCode, 0);
    EXPECT_EQ(panel.CurrentBank, 5);
    EXPECT_EQ(panel.CurrentSearchBank, 30);
    EXPECT_EQ(RunJob(923, 1000).ReturnCode, 0);
    EXPECT_EQ(panel.ViewStep, 1000u);
    EXPECT_EQ(RunJob(935).Message, "Нет доступа к обьекту");
}

// A job setting met by an outstanding exchange goes out once that is answered; one that cannot
// wait (served inside another request's wait) fails its line, as a setting that did not reach
// the receiver (message 39), and sends nothing.
TEST_F(Ar8200OnAir, AJobSettingWaitsForTheOutstandingExchangeOrFailsItsLine) {
    Sync();
    ASSERT_TRUE(panel.Link.Send("LM\r\n", "LM"));
    JobStr line = RunJob(914, 1);
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_EQ(Lines(), (Strings{"LM", "AT1"}));
    EXPECT_EQ(emulator.State().tuned.settings.attenuator, '1');

    emulator.ClearReceivedLines();
    JobStr refused;
    refused.OBJ = 914;
    refused.VAL = 0;
    state.JobLine = &refused;
    state.JobRunning = 1;
    ASSERT_TRUE(panel.Link.Send("LM\r\n", "LM"));
    ASSERT_TRUE(PostPrivateMessage(&panel, PostJobStep));
    state.Step = 125;
    EXPECT_TRUE(panel.SetStep());  // waits for the level, and serves the job line meanwhile
    state.JobLine = nullptr;
    state.JobRunning = 0;
    EXPECT_EQ(refused.ReturnCode, 1);
    EXPECT_EQ(refused.Message, "Ошибка обращения к приемнику(выключен)");
    EXPECT_EQ(Lines(), (Strings{"LM", "ST012500"}));
    EXPECT_EQ(emulator.State().tuned.settings.attenuator, '1');
}

// The stop line of the receiver's own scan carries the level from 111 and the frequency; the
// panel follows it and, with the job signalling, hands the job to the main window.
TEST_F(Ar8200OnAir, AStopOfTheOwnScanReportsItsLevelAndFrequencyAndStartsTheJob) {
    emulator.SetSearchBank(0, {144'000'000, 146'000'000, {12'500, '1', '3', '0'}, "TWO"});
    panel.ScanSettings.kind = AorScanSettings::Kind::Search;
    panel.ScanSettings.Action = ScanStopAction::StartJob;
    panel.ScanSettings.JobName = "J1";
    ASSERT_TRUE(panel.StartOwnScan());
    EXPECT_EQ(LinesStartingWith("SS"), Strings{"SSA"});
    EXPECT_EQ(Lines().back(), "LC1");
    Arrives("LC 266 RF0145500000");
    EXPECT_EQ(state.PanelJobName, "J1");
    EXPECT_EQ(main.Count(PostPanelStartJob), 1);
    EXPECT_EQ(state.Level, 254);
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(panel.Scale.At(1'455'000), 254);
    // "LC 111": no signal; "LC1" is the switch read back, no stop.
    Arrives("LC 111 RF0145600000");
    EXPECT_EQ(state.Level, 0);
    Arrives("LC1");
    EXPECT_EQ(main.Count(PostPanelStartJob), 2);
    panel.StopOwnScan();
    EXPECT_FALSE(panel.Scanning);
    EXPECT_EQ(LinesStartingWith("LC").back(), "LC0");
}

// A stop whose LC line holds no frequency takes it from the state line after; a VFO's state
// line that no request awaits is none.
TEST_F(Ar8200OnAir, AStopTakesItsFrequencyFromAScanLineButNotFromAnUnaskedVfoLine) {
    emulator.SetSearchBank(0, {144'000'000, 146'000'000, {12'500, '1', '3', '0'}, "TWO"});
    panel.ScanSettings.kind = AorScanSettings::Kind::Search;
    ASSERT_TRUE(panel.StartOwnScan());
    state.Frequency = 1'000'000;
    Arrives("LC 266");
    Arrives("VA RF0145500000");
    EXPECT_EQ(state.Frequency, 1'000'000u);
    Arrives("LC 266");
    Arrives("SS RF0145500000");
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(state.Level, 254);
    panel.StopOwnScan();
}

TEST_F(Ar8200OnAir, ABankScanStartsWithItsConfigurationModeFilterAndBank) {
    emulator.SetChannel(3, 0, {145'500'000, {12'500, '1', '3', '0'}, "D0"});
    panel.ScanSettings.kind = AorScanSettings::Kind::MemoryBanks;
    panel.CurrentBank = 3;
    panel.Options.ScanModeChoice = 0;  // F
    ASSERT_TRUE(panel.StartOwnScan());
    EXPECT_EQ(Lines(), (Strings{"GM", "XM1", "MSD", "LC1"}));
    EXPECT_EQ(state.PanelStatusText, "Сканирование банков");
    ui::ServePending();
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 1);

    // A refused start: message 28 and nothing locked.
    panel.StopOwnScan();
    emulator.ClearReceivedLines();
    panel.ScanSettings.kind = AorScanSettings::Kind::Search;
    panel.CurrentSearchBank = 10;  // empty: "---"
    EXPECT_FALSE(panel.StartOwnScan());
    EXPECT_EQ(LinesStartingWith("SS"), Strings{"SSK"}) << panel.Link.ReplyLine;
    EXPECT_FALSE(panel.Scanning);
    EXPECT_EQ(messages, Strings{"Ошибка запуска внутреннего сканирования приемника"});
}

// A bank scan whose mode filter the receiver refuses does not start from the scan button: it
// would scan other channels than asked. Message 28, no scan line, nothing locked.
TEST_F(Ar8200OnAir, ABankScanWhoseModeFilterIsRefusedDoesNotStart) {
    emulator.SetChannel(3, 0, {145'500'000, {12'500, '1', '3', '0'}, "D0"});
    panel.ScanSettings.kind = AorScanSettings::Kind::MemoryBanks;
    panel.CurrentBank = 3;
    emulator.SetRefused({"XM"});
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.widget()));
    QTest::mouseClick(panel.pictbttn_1->widget(), Qt::LeftButton, {}, QPoint(4, 4));
    ui::ServePending();
    ui::ServePending();
    EXPECT_EQ(LinesStartingWith("XM").size(), 1u);
    EXPECT_TRUE(LinesStartingWith("MS").empty());
    EXPECT_FALSE(panel.Scanning);
    EXPECT_EQ(messages, Strings{"Ошибка запуска внутреннего сканирования приемника"});
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 0);
}

// A click on a row of the list tunes the receiver to its channel.
TEST_F(Ar8200WithChannel, AClickOnAChannelsRowTunesToIt) {
    SyncWithChannelAt(3);
    ui::EventData e;
    e.id = ui::EventId::Select;
    e.value = 3;
    panel.lv_1->Raise(e);
    EXPECT_EQ(panel.SelectedChannel(), 3);
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(LinesStartingWith("RF"), Strings{"RF0145500000"});
}

// The attenuator box goes out and the level is measured with it; the sound box mutes; the
// connection button lets the receiver go and, pressed again, syncs with it.
TEST_F(Ar8200OnAir, TheBoxesAndTheConnectionButtonActWhenClicked) {
    Sync();
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.widget()));
    const auto click = operator_hand::ClickServed;
    click(panel.catt);
    EXPECT_EQ(state.Attenuator, 1);
    EXPECT_EQ(Lines(), (Strings{"AT1", "LM"}));
    const bool sound = !panel.csound->IsChecked();
    click(panel.csound);
    EXPECT_EQ(state.Sound, sound ? 1 : 0);
    EXPECT_EQ(Lines().back(), sound ? "MC0" : "MC1");
    click(panel.off);
    EXPECT_EQ(Lines().back(), "EX");
    EXPECT_EQ(panel.off->Text(), "вкл");
    emulator.ClearReceivedLines();
    click(panel.off);
    EXPECT_EQ(panel.off->Text(), "выкл");
    ASSERT_TRUE(ServeUntil([&] { return !Lines().empty() && panel.SyncEnded(); }));
    EXPECT_EQ(Lines().front(), "RX");
}

// The connection button's caption follows what the receiver took: an "EX" it refuses or
// leaves unanswered keeps "выкл", and the operator or the job line is told (message 39).
TEST_F(Ar8200OnAir, TheConnectionButtonSaysLetGoOnlyOnceTheReceiverTookIt) {
    Sync();
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.widget()));
    emulator.SetRefused({"EX"});
    QTest::mouseClick(panel.off->widget(), Qt::LeftButton, {}, QPoint(4, 4));
    ui::ServePending();
    ui::ServePending();
    EXPECT_EQ(Lines().back(), "EX");
    EXPECT_EQ(panel.off->Text(), "выкл");
    EXPECT_EQ(messages, Strings{"Ошибка обращения к приемнику(выключен)"});

    emulator.SetRefused({});
    emulator.SetSilent(true);
    const JobStr line = RunJob(918);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Ошибка обращения к приемнику(выключен)");
    EXPECT_EQ(panel.off->Text(), "выкл");

    emulator.SetSilent(false);
    EXPECT_EQ(RunJob(918).ReturnCode, 0);
    EXPECT_EQ(panel.off->Text(), "вкл");
    EXPECT_EQ(messages.size(), 1u);
}

// An attenuator or AUTO the set refuses, asked by a job line or by a click on its box, leaves
// the box showing what the set holds; one it takes ticks it.
TEST_F(Ar8200OnAir, AnAttenuatorOrAutoTheSetRefusesLeavesItsBoxAsTheSetHoldsIt) {
    Sync();
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.widget()));
    const auto click = operator_hand::ClickServed;
    const char mode = state.Modulation;
    const uint32_t step = state.Step;
    emulator.SetRefused({"AT", "AU"});
    EXPECT_EQ(RunJob(914, 1).ReturnCode, 1);
    EXPECT_FALSE(panel.catt->IsChecked());
    EXPECT_EQ(state.Attenuator, 0);
    EXPECT_EQ(RunJob(929, 1).ReturnCode, 1);
    EXPECT_FALSE(panel.cauto->IsChecked());
    EXPECT_FALSE(panel.AutoOn);
    click(panel.catt);
    EXPECT_FALSE(panel.catt->IsChecked());
    EXPECT_EQ(state.Attenuator, 0);
    click(panel.cauto);
    EXPECT_FALSE(panel.cauto->IsChecked());
    EXPECT_FALSE(panel.AutoOn);
    EXPECT_EQ(state.Modulation, mode);
    EXPECT_EQ(state.Step, step);
    EXPECT_EQ(LinesStartingWith("AT"), (Strings{"AT1", "AT1"}));
    EXPECT_EQ(LinesStartingWith("AU"), (Strings{"AU1", "AU1"}));

    emulator.SetRefused({});
    EXPECT_EQ(RunJob(929, 1).ReturnCode, 0);
    EXPECT_TRUE(panel.cauto->IsChecked());
    EXPECT_TRUE(panel.AutoOn);
    click(panel.catt);
    EXPECT_TRUE(panel.catt->IsChecked());
    EXPECT_EQ(state.Attenuator, 1);
}

// The level slider: a click on its track sends one line.
TEST_F(Ar8200OnAir, AClickOnTheSquelchSlidersTrackSendsOneLine) {
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.widget()));
    emulator.ClearReceivedLines();
    QWidget* slider = panel.sql->widget();
    // On the track's groove, right of the handle.
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() - 3, 4));
    ui::ServeFor(1000);
    EXPECT_EQ(panel.sql->Position(), 3);
    EXPECT_EQ(LinesStartingWith("DB"), Strings{"DB048"});
}

// Free text in a line is never read as tokens: a label, the band scope's sweep, a link row.
TEST_F(Ar8200OnAir, LabelsSweepsAndLinkRowsHideTheirTextFromTheOtherTokens) {
    panel.Reply.Step = 7;
    Arrives("MR MXa05 RF0145500000 ST012500 MD1 AT0 MP0 TM  RF99MD8ST");
    EXPECT_EQ(panel.Reply.Frequency, 1'455'000u);
    EXPECT_EQ(panel.Reply.Mode, 'F');
    EXPECT_EQ(panel.Reply.Step, 125u);
    EXPECT_EQ(panel.Reply.Label, "  RF99MD8ST");
    panel.Reply.Step = 7;
    Arrives("DS0127 5ST3AT2MD2LM2222 2222222222222222");
    EXPECT_EQ(panel.Reply.Step, 7u);
    EXPECT_EQ(panel.Link.ReplyKind, "");
    Arrives("GS3 BS ABCDEFGHIJKLMNOPQRSTabcdefghijklmnopqrst");
    EXPECT_EQ(panel.Link.ReplyKind, "GS");
    EXPECT_EQ(panel.Reply.Configuration, 3);
    EXPECT_EQ(panel.Reply.Links, "ABCDEFGHIJKLMNOPQRSTabcdefghijklmnopqrst");
    EXPECT_EQ(panel.Reply.Step, 7u);
    // A bank's letter is no part of a token: search bank F ("SRF"), channel 5 of bank D.
    panel.Reply.Frequency = 7;
    Arrives("SRF SL0150000000 SU0155000000 ST025000 AU0 MD5 AT1 TTS5");
    EXPECT_EQ(panel.Link.ReplyKind, "SR");
    EXPECT_EQ(panel.Reply.SearchBank, 5);
    EXPECT_EQ(panel.Reply.Frequency, 7u);
    panel.Reply.Delay = 7;
    Arrives("MR MXD05 RF0145500000 ST012500 MD1 AT0 MP0 TM            ");
    EXPECT_EQ(panel.Reply.Bank, 3);
    EXPECT_EQ(panel.Reply.Channel, 5);
    EXPECT_EQ(panel.Reply.Delay, 7);
    Arrives("GM1 BM AB-D-FGHIJabcdefghij");
    EXPECT_EQ(panel.Link.ReplyKind, "GM");
    EXPECT_EQ(panel.Reply.Links, "AB-D-FGHIJabcdefghij");
    EXPECT_EQ(panel.Reply.Mode, 'F');
}

}  // namespace
