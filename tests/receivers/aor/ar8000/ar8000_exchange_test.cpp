// The AR8000 panel on the air: what it sends to tune, set and measure, how it takes the set's
// lines apart, its two VFOs, its start-up sync, its own scan and the stops it reports, and its
// job commands. Expected lines are the AR8000's command set: frequencies in Hz as many digits
// as needed ("VB145500000"), steps in Hz ("ST12500"), mode digits 0 W, 1 F, 2 A, 3 U, 4 L, 5 C,
// levels as two hex digits of the level / 4, 40 and above with the squelch closed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/user_job.h"
#include "tests/receivers/aor/ar8000/ar8000_fixture.h"

// After the emulator's headers: Qt's "signals" keyword would rename its signal plan.
#include <QTimer>

namespace {

using Strings = std::vector<std::string>;

TEST(Ar8000Lines, TheLevelIsTheLastTwoCharactersOfItsLine) {
    EXPECT_EQ(AR8000::LevelOfLine("LM3F"), 252);
    EXPECT_EQ(AR8000::LevelOfLine("LM20"), 128);
    EXPECT_EQ(AR8000::LevelOfLine("LM00"), 0);
    // From "40" on the squelch is closed.
    EXPECT_EQ(AR8000::LevelOfLine("LM40"), 0);
    EXPECT_EQ(AR8000::LevelOfLine("LM7F"), 0);
    EXPECT_EQ(AR8000::LevelOfLine("LM3G"), -1);
    EXPECT_EQ(AR8000::LevelOfLine("LM 5"), -1);
}

// A letter outside the set's banks names no bank (the letters count back from "t" beyond "J"
// only as far as "a"), and a channel number is a place of a bank only within its 50.
TEST(Ar8000Lines, ABankLetterOrChannelNumberTheSetCannotHaveIsNoPlace) {
    EXPECT_EQ(AR8000::BankLetter(12), 'h');
    EXPECT_EQ(AR8000::BankOfLetter('h'), 12);
    EXPECT_EQ(AR8000::BankOfLetter('a'), 19);
    EXPECT_EQ(AR8000::BankOfLetter('J'), 9);
    for (const char letter : {'K', 'k', 't', 'z', '0', ' ', '\0'})
        EXPECT_EQ(AR8000::BankOfLetter(letter), -1) << letter;

    const Ar8000Reply channel = AR8000::TakeApart("MR MXh07 RF0145500000 ST012500 MD1 AT1 MP1 TM  CALLS");
    EXPECT_EQ(channel.Bank, 12);
    EXPECT_EQ(channel.Channel, 7);
    EXPECT_EQ(channel.Frequency, 1'455'000u);
    EXPECT_EQ(channel.Step, 125u);
    EXPECT_EQ(channel.Mode, 'F');
    EXPECT_TRUE(channel.Attenuator && channel.Skip && channel.Marked);
    EXPECT_EQ(channel.Label, "  CALLS");
    EXPECT_EQ(AR8000::TakeApart("MR MXh50 RF0145500000 ST012500").Channel, -1);
    EXPECT_EQ(AR8000::TakeApart("MR MXk05 RF0145500000 ST012500").Bank, -1);
    // A label holding tokens hides them.
    const Ar8000Reply label = AR8000::TakeApart("MR MXA01 RF0145500000 ST012500 MD2 AT0 TMRF9 AT1");
    EXPECT_EQ(label.Frequency, 1'455'000u);
    EXPECT_FALSE(label.Attenuator);
    EXPECT_EQ(label.Mode, 'A');
}

TEST_F(Ar8000OnAir, TunesTheActiveVfoInHzAndSetsStepAttenuatorAndMode) {
    Sync();
    panel.VfoA = false;
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(panel.Link.CommandLine, "VB145500000\r\n");
    EXPECT_EQ(emulator.State().vfo, 1);
    EXPECT_EQ(emulator.State().tuned.frequencyHz, 145'500'000u);
    state.Step = 125;
    EXPECT_TRUE(panel.SetStep());
    state.Attenuator = 1;
    EXPECT_TRUE(panel.SetAttenuator());
    EXPECT_EQ(state.AttenuatorDb, 10u);

    // The set has no RTTY: WFM goes out and the program's mode becomes W.
    state.Modulation = 'R';
    EXPECT_TRUE(panel.SetMode());
    EXPECT_EQ(state.Modulation, 'W');
    EXPECT_EQ(main.Count(PostModulationChanged), 1);
    EXPECT_EQ(panel.width->Text(), "180.0");
    state.Modulation = 'U';
    EXPECT_TRUE(panel.SetMode());
    EXPECT_EQ(panel.width->Text(), " 2.4");
    // The set covers 500 kHz to 1900 MHz.
    EXPECT_EQ(panel.LowerLimit, 5'000u);
    EXPECT_EQ(panel.UpperLimit, 19'000'000u);
    // The fill window is the bandwidth itself.
    EXPECT_EQ(panel.Scale.FillWindow, 24);
    EXPECT_EQ(panel.ModeParameter('U'), 24);
    EXPECT_EQ(panel.ModeParameter('W'), 1800);
    EXPECT_EQ(panel.ModeParameter('R'), 1800);
    EXPECT_EQ(Lines(), (Strings{"VB145500000", "ST12500", "AT1", "MD0", "MD3"}));
    EXPECT_EQ(emulator.State().tuned.settings.mode, '3');
}

TEST_F(Ar8000OnAir, ReadsTheLevelEvenBehindALeftOverLineButNotBehindTwo) {
    Sync();
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(panel.ReadLevel(), 252);
    EXPECT_EQ(panel.Scale.At(1'455'000), 252);
    state.Frequency = 1'000'000;  // nothing there: the squelch is closed
    ASSERT_TRUE(panel.SetFrequencyWait());
    EXPECT_EQ(panel.ReadLevel(), 0);

    // An acknowledgement still on its way comes before the level's line.
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    emulator.SetGarbage("\r\n");
    EXPECT_EQ(panel.ReadLevel(), 252);
    emulator.SetGarbage("\r\n\r\n");
    EXPECT_EQ(panel.ReadLevel(), -1);
    emulator.SetGarbage("");
    // What was left behind is no answer to the next query.
    EXPECT_EQ(panel.ReadLevel(), 252);
    EXPECT_EQ(LinesStartingWith("LM").size(), 5u);
    // Nor are two lines of another query a level, though they end in letters above "4".
    emulator.SetGarbage("VA145500000 MA\r\nVA145500000 MA\r\n");
    EXPECT_EQ(panel.ReadLevel(), -1);
    emulator.SetGarbage("");
}

// The left-over line and the level's line come in reads of their own, both waiting before the
// program gets to them (a busy machine): the pass that takes the left-over line ends the first
// wait, and the data-arrived code queued behind it leaves the level's line for the second.
TEST_F(Ar8000OnAir, ALevelLineArrivingApartFromTheLeftOverLineIsStillTheAnswer) {
    Sync();
    emulator.SetSilent(true);
    const auto arrives = [&](const std::string& bytes) {
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    };
    QTimer::singleShot(0, [&] {
        arrives("\r\n");
        arrives("LM3F\r\n");
    });
    EXPECT_EQ(panel.ReadLevel(), 252);
    // Nor does the line stay behind for the next query once nobody waits for it.
    QTimer::singleShot(0, [&] {
        arrives("\r\n");
        arrives("VA145500000 MA\r\n");
    });
    ASSERT_TRUE(panel.SetFrequencyWait());
    ui::ServePending();
    EXPECT_EQ(comm.ReadIndex.load(), comm.WriteIndex.load());
}

// The set's lines end at their CR: an LF that comes late holds nothing up.
TEST_F(Ar8000OnAir, AReplyIsCompleteAtItsCr) {
    Sync();
    emulator.SetSplitLines(true);
    state.Step = 250;
    EXPECT_TRUE(panel.SetStep());
    emulator.ReleaseSplitLines();
}

TEST_F(Ar8000OnAir, SwitchingTheVfoTwiceBringsBackWhatTheProgramHad) {
    Sync();
    EXPECT_EQ(panel.vfobutton->Text(), "AVFO");
    state.Frequency = 4'339'200;
    state.Modulation = 'A';
    state.Step = 250;
    state.Attenuator = 1;
    ASSERT_TRUE(panel.SetFrequencyWait() && panel.SetMode() && panel.SetStep() &&
                panel.SetAttenuator());

    // VFO B comes the first time as the set holds it.
    ASSERT_TRUE(panel.SwitchVfo());
    EXPECT_FALSE(panel.VfoA);
    EXPECT_EQ(panel.vfobutton->Text(), "BVFO");
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(state.Modulation, 'F');
    EXPECT_EQ(state.Step, 125u);
    EXPECT_EQ(state.Attenuator, 0);
    EXPECT_EQ(state.Level, 252);
    EXPECT_EQ(panel.width->Text(), "12.0");
    EXPECT_EQ(emulator.State().vfo, 1);

    emulator.ClearReceivedLines();
    ASSERT_TRUE(panel.SwitchVfo());
    EXPECT_TRUE(panel.VfoA);
    EXPECT_EQ(panel.vfobutton->Text(), "AVFO");
    EXPECT_EQ(state.Frequency, 4'339'200u);
    EXPECT_EQ(state.Modulation, 'A');
    EXPECT_EQ(state.Step, 250u);
    EXPECT_EQ(state.Attenuator, 1);
    EXPECT_EQ(state.Level, 128);
    EXPECT_EQ(Lines(), (Strings{"VA433920000", "ST25000", "AT1", "MD2", "LM"}));
    ui::ServePending();
    EXPECT_EQ(main.Count(PostReceiverState), 3);  // the sync's and the two switches'
}

// A VFO's line counts only with its mark ("MA", or "MX" of a channel): an unmarked line that
// arrives in its place is no answer, and the program keeps what it had.
TEST_F(Ar8000OnAir, AVfoLineWithoutItsMarkIsNoAnswer) {
    Sync();
    state.Frequency = 4'339'200;
    emulator.SetSilent(true);
    QTimer::singleShot(0, [&] {
        const std::string line = "VB145500000 ST012500 MD1 AT0\r\n";
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(line.data()), line.size());
        PostPrivateMessage(&main, PostSerialData);
    });
    EXPECT_FALSE(panel.SwitchVfo());
    EXPECT_EQ(state.Frequency, 4'339'200u);
    EXPECT_EQ(state.Modulation, 'W');
}

// In memory read the set's bank and channel become the panel's, and the panel goes back to
// the VFO it works on; a VFO line counts by its "MA".
TEST_F(Ar8000OnAir, TheSyncTakesTheBankTheSetReadsAndTheActiveVfo) {
    emulator.SetChannel(12, 7, emulators::AorChannel{433'920'000, emulators::AorSettings{}, "X"});
    ASSERT_TRUE(panel.SendText("MRh07"));
    Sync();
    EXPECT_TRUE(panel.ReceiverAnswered());
    EXPECT_EQ(panel.CurrentBank, 12);
    EXPECT_EQ(panel.CurrentSearchBank, 12);
    EXPECT_EQ(panel.SelectedChannel(), 7);
    EXPECT_EQ(panel.sbank->Text(), "h");
    EXPECT_EQ(state.Frequency, 1'017'000u);
    EXPECT_EQ(state.Modulation, 'W');
    EXPECT_EQ(state.Step, 1000u);
    EXPECT_TRUE(panel.VfoA);
    EXPECT_EQ(emulator.State().operation, emulators::AorOperation::Vfo);

    emulator.SetSilent(true);
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return panel.SyncEnded(); }));
    EXPECT_FALSE(panel.ReceiverAnswered());
}

// Acceptance of a stop the set's own scan reports: "RF0145500000 LC20" is level 0x20 * 4 at
// 145.5 MHz.
TEST_F(Ar8000OnAir, AStopReportOfTheOwnScanIsMeasuredShownAndActedOn) {
    Sync();
    panel.Scanning = true;
    panel.ScanSettings.Action = ScanStopAction::StartJob;
    panel.ScanSettings.JobName = "J1";
    Arrives("RF0145500000 LC20");
    EXPECT_EQ(panel.Scale.At(1'455'000), 128);
    EXPECT_EQ(panel.Scale.Cell(14'550), 128);  // the level scale's cell of 145.5 MHz
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(state.Level, 128);
    EXPECT_EQ(state.PanelJobName, "J1");
    EXPECT_EQ(main.Count(PostPanelStartJob), 1);
    EXPECT_EQ(main.Count(PostPanelLevelDisplay), 1);
    EXPECT_EQ(main.Count(PostFrequencyChanged), 1);

    // Lines without both RF and LC change nothing; a frequency beyond the set is held to it.
    for (const char* line : {"LC30", "RF0433920000", "RF0433920000 LC", "ST012500"})
        Arrives(line);
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(panel.Scale.At(4'339'200), 0);
    EXPECT_EQ(main.Count(PostPanelStartJob), 1);
    Arrives("RF1950000000 LC3F");
    EXPECT_EQ(state.Frequency, AR8000::kUpperLimit);
    EXPECT_EQ(panel.Scale.At(AR8000::kUpperLimit), 252);

    // Once the scan stopped, a report still on its way is nobody's.
    panel.Scanning = false;
    Arrives("RF0433920000 LC20");
    EXPECT_EQ(panel.Scale.At(4'339'200), 0);
    EXPECT_EQ(main.Count(PostPanelStartJob), 2);

    // One below the set is held to its lower limit.
    panel.Scanning = true;
    Arrives("RF0000100000 LC20");
    EXPECT_EQ(state.Frequency, AR8000::kLowerLimit);
}

TEST_F(Ar8000OnAir, TheRangeSearchGoesOutWithItsPauseAndLinksAndStopsByTuningTheVfoAgain) {
    Sync();
    emulator.SetSearchBank(1, {145'000'000, 146'000'000, emulators::AorSettings{12'500, '1'}, "2M"});
    panel.CurrentBank = panel.CurrentSearchBank = 1;
    panel.ScanSettings.kind = AorScanSettings::Kind::Search;
    panel.ScanSettings.DelayOn = true;
    panel.DelaySeconds = 75;
    panel.ScanSettings.SearchLinks = "Bj";
    ASSERT_TRUE(panel.StartOwnScan());
    EXPECT_EQ(Lines(), (Strings{"SP60", "SD00", "BSBj", "SSB SG"}));
    EXPECT_EQ(state.PanelStatusText, "Поиск по диапазону");
    ui::ServePending();
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 1);
    // The set stops on the signal at 145.5 MHz and says so.
    ASSERT_TRUE(ServeUntil([&] { return panel.Scale.At(1'455'000) != 0; }));
    EXPECT_EQ(state.Frequency, 1'455'000u);

    emulator.ClearReceivedLines();
    panel.StopOwnScan();
    EXPECT_FALSE(panel.Scanning);
    EXPECT_EQ(Lines(), (Strings{"VA145500000", "LM"}));
    EXPECT_EQ(emulator.State().operation, emulators::AorOperation::Vfo);
    EXPECT_EQ(main.Count(PostScanStoppedByPanel), 1);
    EXPECT_TRUE(messages.empty());
    // The scan locked the panel but its scale and the stop; unlocked, the bandwidth stays a
    // display.
    Post(PostLockControls);
    EXPECT_FALSE(panel.cb_1->IsEnabled());
    EXPECT_TRUE(panel.clear->IsEnabled());
    Post(PostUnlockControls);
    EXPECT_TRUE(panel.cb_1->IsEnabled());
    EXPECT_FALSE(panel.width->IsEnabled());
}

// The set has no line that clears its links ("BS" alone asks for them): with none chosen the
// start sends no link line, the set keeps its own, and once the scan runs the operator is
// told, in the job line without failing it while a job runs. A start that failed (the search
// bank empty) tells its failure alone.
TEST_F(Ar8000OnAir, AScanWithNoLinksChosenKeepsTheSetsOwnAndSaysSo) {
    Sync();
    panel.CurrentBank = panel.CurrentSearchBank = 1;
    panel.ScanSettings.kind = AorScanSettings::Kind::Search;
    panel.ScanSettings.SearchLinks.clear();
    EXPECT_FALSE(panel.StartOwnScan());
    EXPECT_EQ(messages, Strings{"Ошибка запуска внутреннего сканирования приемника"});

    messages.clear();
    emulator.ClearReceivedLines();
    emulator.SetSearchBank(1,
                           {145'000'000, 146'000'000, emulators::AorSettings{12'500, '1'}, "2M"});
    ASSERT_TRUE(panel.StartOwnScan());
    EXPECT_TRUE(LinesStartingWith("BS").empty());
    EXPECT_EQ(LinesStartingWith("SS"), Strings{"SSB SG"});
    EXPECT_EQ(messages, Strings{"Связи банков не выбраны: приемник сканирует со своими связями"});
    panel.StopOwnScan();

    messages.clear();
    JobStr line;
    state.JobLine = &line;
    state.JobRunning = 1;
    ASSERT_TRUE(panel.StartOwnScan());
    state.JobRunning = 0;
    state.JobLine = nullptr;
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_EQ(line.Message, "Связи банков не выбраны: приемник сканирует со своими связями");
    panel.StopOwnScan();
}

// Reset on the signal's loss the delay goes before the pause; the bank scan takes its mode
// filter; the selective scan marks the bank's selected channels first.
TEST_F(Ar8000OnAir, TheBankScansGoOutWithTheirFilterAndSelectedChannels) {
    Sync();
    for (const int channel : {3, 41}) {
        emulator.SetChannel(12, channel, emulators::AorChannel{145'500'000, emulators::AorSettings{12'500, '4'}, ""});
        MemoryChannel& record = panel.ChannelAt(12, channel);
        record.Frequency = 1'455'000;
        record.Select = true;
    }
    panel.CurrentBank = panel.CurrentSearchBank = 12;
    AorScanSettings& scan = panel.ScanSettings;
    scan.kind = AorScanSettings::Kind::MemoryBanks;
    scan.ModeScan = true;
    scan.ModeChoice = 4;
    scan.MemoryLinks = "h";
    ASSERT_TRUE(panel.StartOwnScan());
    EXPECT_EQ(Lines(), (Strings{"XD00", "XP00", "XM4", "BMh", "MSh MG"}));
    EXPECT_EQ(state.PanelStatusText, "Сканирование банков");
    panel.StopOwnScan();

    emulator.ClearReceivedLines();
    scan.ModeScan = false;
    scan.SelectScan = true;
    ASSERT_TRUE(panel.StartOwnScan());
    EXPECT_EQ(Lines(), (Strings{"XD00", "XP00", "XMF", "BMh", "GAh03", "GAh41", "SM LC"}));
    EXPECT_EQ(state.PanelStatusText, "Выборочное сканирование по банкам");
    panel.StopOwnScan();
}

TEST_F(Ar8000OnAir, AnEmptySearchBankOrARefusedSettingFailsTheScansStart) {
    // Nothing goes to a set that has not answered its sync.
    EXPECT_FALSE(panel.StartOwnScan());
    EXPECT_TRUE(Lines().empty());
    messages.clear();
    Sync();
    panel.CurrentBank = panel.CurrentSearchBank = 2;
    panel.ScanSettings.SearchLinks = "C";
    EXPECT_FALSE(panel.StartOwnScan());
    EXPECT_FALSE(panel.Scanning);
    EXPECT_EQ(LinesStartingWith("SS"), Strings{"SSC SG"});
    emulator.SetSearchBank(2, {145'000'000, 146'000'000, emulators::AorSettings{12'500, '1'}, ""});
    emulator.SetRefused({"BS"});
    EXPECT_FALSE(panel.StartOwnScan());
    EXPECT_EQ(messages, (Strings{"Ошибка запуска внутреннего сканирования приемника",
                                 "Ошибка запуска внутреннего сканирования приемника"}));
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 0);
}

// The commands both handhelds number alike stand at the AR8000's base: direct writing (216)
// only ticks its box, a channel written only by later edits; the fine scale's view step (223)
// is served.
TEST_F(Ar8000OnAir, TheHandheldsSharedJobsStandAtItsBase) {
    Sync();
    panel.ChannelAt(0, 0).Frequency = 1'455'000;
    emulator.ClearReceivedLines();
    EXPECT_EQ(RunJob(216, 1).ReturnCode, 0);
    EXPECT_TRUE(panel.DirectWrite && panel.cbank->IsChecked());
    EXPECT_EQ(RunJob(223, 1000).ReturnCode, 0);
    EXPECT_EQ(panel.ViewStep, 1000u);
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(RunJob(216, 0).ReturnCode, 0);
    EXPECT_FALSE(panel.DirectWrite || panel.cbank->IsChecked());
    EXPECT_EQ(RunJob(916).Message, "Нет доступа к обьекту");
}

TEST_F(Ar8000OnAir, JobCommandsTakeOnlyWhatTheSetHas) {
    Sync();
    JobStr line = RunJob(224, 20);
    EXPECT_EQ(line.ReturnCode, 2);
    EXPECT_EQ(line.Message, "Не существует указанного банка");
    EXPECT_EQ(RunJob(224, 12).ReturnCode, 0);
    EXPECT_EQ(panel.CurrentBank, 12);
    EXPECT_EQ(panel.CurrentSearchBank, 12);
    EXPECT_EQ(panel.bn->SelectedIndex(), 12);
    EXPECT_EQ(panel.bn->StringAt(12), "h");
    line = RunJob(225, 50);
    EXPECT_EQ(line.ReturnCode, 2);
    EXPECT_EQ(line.Message, "Не существует канала для данного банка");
    EXPECT_EQ(RunJob(225, 49).ReturnCode, 0);
    EXPECT_EQ(panel.SelectedChannel(), 49);
    EXPECT_EQ(RunJob(226, 1).ReturnCode, 0);
    EXPECT_TRUE(panel.WholeMemory && panel.mem->IsChecked());
    line = RunJob(229);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Нет доступа к обьекту");

    emulator.ClearReceivedLines();
    EXPECT_EQ(RunJob(214, 1).ReturnCode, 0);
    EXPECT_EQ(RunJob(215, 0).ReturnCode, 0);
    EXPECT_EQ(RunJob(227).ReturnCode, 0);
    EXPECT_FALSE(panel.VfoA);
    EXPECT_EQ(RunJob(228, 1).ReturnCode, 0);
    EXPECT_TRUE(panel.AutoOn && panel.cauto->IsChecked());
    EXPECT_EQ(RunJob(218).ReturnCode, 0);
    EXPECT_EQ(panel.off->Text(), "вкл");
    EXPECT_EQ(Lines(), (Strings{"AT1", "MC1", "VB", "LM", "AU1", "RX", "LM", "EX"}));
    // A refused setting fails its line.
    emulator.SetRefused({"AT"});
    line = RunJob(214, 0);
    EXPECT_EQ(line.ReturnCode, 1);
}

// An attenuator or AUTO the set refuses, asked by a job line or by a click on its box, leaves
// the box showing what the set holds, and AUTO the mode and step as they were; each is told:
// the job line fails with message 39, the click shows it.
TEST_F(Ar8000OnAir, AnAttenuatorOrAutoTheSetRefusesLeavesItsBoxAsTheSetHoldsIt) {
    Sync();
    const char mode = state.Modulation;
    const uint32_t step = state.Step;
    emulator.SetRefused({"AT", "AU"});
    const JobStr attenuator = RunJob(214, 1);
    EXPECT_EQ(attenuator.ReturnCode, 1);
    EXPECT_EQ(attenuator.Message, "Ошибка обращения к приемнику(выключен)");
    EXPECT_FALSE(panel.catt->IsChecked());
    EXPECT_EQ(state.Attenuator, 0);
    const JobStr automatic = RunJob(228, 1);
    EXPECT_EQ(automatic.ReturnCode, 1);
    EXPECT_EQ(automatic.Message, "Ошибка обращения к приемнику(выключен)");
    EXPECT_FALSE(panel.cauto->IsChecked());
    EXPECT_FALSE(panel.AutoOn);
    EXPECT_TRUE(messages.empty());
    for (ui::CheckBox* box : {panel.catt, panel.cauto}) {
        box->SetChecked(true);
        box->Raise(ui::EventId::Click);
        ui::ServePending();
        EXPECT_FALSE(box->IsChecked());
    }
    EXPECT_EQ(state.Attenuator, 0);
    EXPECT_FALSE(panel.AutoOn);
    EXPECT_EQ(state.Modulation, mode);
    EXPECT_EQ(state.Step, step);
    EXPECT_EQ(Lines(), (Strings{"AT1", "AU1", "AT1", "LM", "AU1"}));
    EXPECT_EQ(messages, Strings(2, "Ошибка обращения к приемнику(выключен)"));
}

// A set whose VFO lines leave the VFO's name out ("MA RF.. ST.. MD.."): the sync takes the
// line's frequency, mode and step all the same, and so does the VFO the panel works on.
TEST_F(Ar8000OnAir, TheSyncTakesAVfoLineThatDoesNotNameItsVfo) {
    ASSERT_TRUE(panel.SendText("VA145500000"));
    ASSERT_TRUE(panel.SendText("MD1"));
    ASSERT_TRUE(panel.SendText("ST12500"));
    emulator.SetVfoLinesNamed(false);
    Sync();
    EXPECT_TRUE(panel.ReceiverAnswered());
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(state.Modulation, 'F');
    EXPECT_EQ(state.Step, 125u);
    EXPECT_EQ(panel.label_1->Text(), " 145.5000");
    EXPECT_TRUE(panel.VfoA);
    EXPECT_EQ(panel.Vfos[0].Frequency, 1'455'000u);
    EXPECT_TRUE(messages.empty());
}

// A connection the set does not let go stays: the button keeps "выкл" and the line fails.
TEST_F(Ar8000OnAir, AnExTheSetRefusesKeepsItConnected) {
    Sync();
    emulator.SetRefused({"EX"});
    const JobStr line = RunJob(218);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Ошибка обращения к приемнику(выключен)");
    EXPECT_EQ(panel.off->Text(), "выкл");
    EXPECT_EQ(Lines().back(), "EX");
    EXPECT_TRUE(messages.empty());
}

}  // namespace
