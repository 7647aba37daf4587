// The AR5000 panel with a port that is not open: the test puts the receiver's lines into the
// receive ring itself. Reply parsing, the stops the receiver reports, the fine scale under
// the mouse, bank items and the state file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receivers/aor/aor_link.h"
#include "receivers/aor/ar5000/ar5000_dialogs.h"
#include "receivers/aor/ar5000/ar5000_modes.h"
#include "state/cp1251.h"
#include "state/user_freq.h"
#include "state/user_job.h"
#include "tests/receivers/aor/ar5000/ar5000_fixture.h"
#include "tests/receivers/receiver_files.h"

namespace {

MemoryChannel Channel(uint32_t frequency, char mode, const std::string& label, int32_t number) {
    MemoryChannel c = AR5000::kChannelLayout.Empty(number);
    c.Frequency = frequency;
    c.Modulation = mode;
    c.Label = label;
    return c;
}

// The receiver's MD letter and the bandwidth of its BW digit read back as a letter and a
// filter (0 normal, 1 narrow, 2 wide).
TEST(Ar5000Modes, AReportedModeAndBandwidthReadBackAsLetterAndFilter) {
    const struct {
        char md;
        int32_t bandwidth;
        char letter;
        int32_t filter;
    } cases[] = {
        {'F', 30, 'F', 1},  {'F', 60, 'F', 1},   {'F', 150, 'F', 0},   // BW1, BW2, BW3
        {'F', 300, 'F', 2}, {'F', 1100, 'W', 1}, {'F', 2200, 'W', 0},  // BW4, BW5, BW6
        {'A', 60, 'A', 1},  {'A', 1100, 'A', 2}, {'U', 30, 'U', 0},
    };
    for (const auto& c : cases) {
        const ar5000::ReportedMode mode = ar5000::ModeOfReply(c.md, c.bandwidth);
        EXPECT_EQ(mode.letter, c.letter) << c.md << c.bandwidth;
        EXPECT_EQ(mode.filter, c.filter) << c.md << c.bandwidth;
    }
}

class Ar5000Offline : public ::testing::Test {
  protected:
    void SetUp() override {
        comm.Discarding = false;
        state.Owner = &main;
        state.Port = &comm;
        state.ProgramDir = folder.Dir();
        state.PortIndex = 1;
    }
    void TearDown() override {
        main.panel = nullptr;
        panel.Destroy();
    }

    void Receive(const std::string& bytes) {
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    // One reply line, parsed as a data-arrived pass does.
    void Parse(const std::string& line) {
        Receive(line + "\r\n");
        panel.Poll(false);
    }
    std::string Path() const { return folder.File("AR5000.001"); }

    ProgramFolder folder;
    ui::ScriptedMessageBoxes boxes;
    Ar5000Main main;
    FDX state;
    Comm comm;
    AR5000 panel;
};

TEST_F(Ar5000Offline, AMemoryLineWhileTheBanksAreReadIsOfKindMxAndItsLabelIsNeverSearched) {
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.BanksBeingRead = true;
    Parse("MR MX005 RF0145500000 ST012500 MD0 BW3 AT00 TMRF AT MD");
    const Ar5000Reply& r = panel.Reply;
    EXPECT_EQ(panel.Link.ReplyKind, "MX");
    EXPECT_EQ(r.Bank, 0);
    EXPECT_EQ(r.Channel, 5);
    EXPECT_EQ(r.Frequency, 1'455'000u);
    EXPECT_EQ(r.Step, 125u);
    EXPECT_EQ(r.Label, "RF AT MD");
    EXPECT_FALSE(r.Attenuator);
    EXPECT_EQ(r.State, AorState::MemoryRead);
    // The empty channel before, answered late in the same pass, leaves this one present.
    Receive("MR MX004 ---\r\nMR MX005 RF0145500000 ST012500 MD0 BW3 AT00 TMCALLS\r\n");
    panel.Poll(false);
    EXPECT_EQ(r.Channel, 5);
    EXPECT_TRUE(r.ChannelPresent);
    panel.BanksBeingRead = false;
    Parse("MR MX005 RF0145500000 ST012500 MD0 BW3 AT00 TMRF AT MD");
    EXPECT_EQ(panel.Link.ReplyKind, "RF");
}

// Each line alone; what it sets.
TEST_F(Ar5000Offline, EachTokenTakesItsValueAndTheFirstOneWithAKindClassifiesTheLine) {
    ASSERT_TRUE(panel.Create(&main, &state));
    struct Case {
        const char* line;
        const char* kind;
        std::function<bool(const Ar5000Reply&)> holds;
    };
    const Case cases[] = {
        {"LM%FF", "LM", [](const Ar5000Reply& r) { return r.Level == 254 && !r.LevelOpen; }},
        {"LM 7F", "LM", [](const Ar5000Reply& r) { return r.Level == 127 && r.LevelOpen; }},
        {"LC1", "LC", [](const Ar5000Reply& r) { return r.LcFlag; }},
        {"AT10", "AT", [](const Ar5000Reply& r) { return r.Attenuator && r.AttenuatorDb == 255; }},
        {"AT02", "AT", [](const Ar5000Reply& r) { return r.Attenuator && r.AttenuatorDb == 20; }},
        {"DB+080", "DB", [](const Ar5000Reply& r) { return r.SignA && r.ValueA == 80; }},
        {"SDFF", "SD", [](const Ar5000Reply& r) { return r.Delay == 255; }},
        {"XD2.5", "XD", [](const Ar5000Reply& r) { return r.Delay == 25; }},
        {"BW5", "BW", [](const Ar5000Reply& r) { return r.Bandwidth == 1100; }},
        {"VER 01.10.00", "VR", [](const Ar5000Reply& r) { return r.Version == "01.10.00"; }},
        {"SR05 ---", "SR",
         [](const Ar5000Reply& r) { return r.SearchBank == 5 && !r.ChannelPresent; }},
        {"BS 00 05 ", "BS", [](const Ar5000Reply& r) { return r.SearchLinks == "00 05 "; }},
        {"XMF", "XM", [](const Ar5000Reply& r) { return r.ScanMode == 'I'; }},
        {"VC RF0127500000 ST025000 AU1 MD1 BW3 AT00", "RF",
         [](const Ar5000Reply& r) {
             return r.Vfo == 2 && r.Auto && r.Mode == 'A' && r.Step == 250;
         }},
        // Every value stops at the end of the line.
        {"RF0145", "RF", [](const Ar5000Reply& r) { return r.Frequency == 145; }},
        {"?", "", [](const Ar5000Reply& r) { return !r.Accepted; }},
    };
    for (const Case& c : cases) {
        panel.Reply = Ar5000Reply{};
        Parse(c.line);
        EXPECT_EQ(panel.Link.ReplyKind, c.kind) << c.line;
        EXPECT_TRUE(c.holds(panel.Reply)) << c.line;
    }
    // The hex level of an LC line is no DA token: the voice squelch read before stays.
    panel.Reply.ValueB = 99;
    panel.Reply.SignA = true;
    Parse("LCDA");
    EXPECT_EQ(panel.Reply.Level, 0xDA);
    EXPECT_EQ(panel.Reply.ValueB, 99);
    EXPECT_TRUE(panel.Reply.SignA);
}

TEST_F(Ar5000Offline, AnEmptyLineCompletesASettingButNeverAQueryOfTheKindBefore) {
    ASSERT_TRUE(panel.Create(&main, &state));
    Parse("GS05");
    ASSERT_TRUE(panel.Link.Send("GS\r\n", "GS"));
    Parse("");
    EXPECT_FALSE(panel.ReplyComplete);
    Parse("GS07");
    EXPECT_TRUE(panel.ReplyComplete);
    EXPECT_EQ(panel.Reply.SearchBank, 7);

    ASSERT_TRUE(panel.Link.Send("AN1\r\n", ""));
    Parse("");
    EXPECT_TRUE(panel.ReplyComplete);

    // Nor does it say that nothing is there: the "---" before it answered something else.
    Parse("MR MX099 ---");
    ASSERT_TRUE(panel.Link.Send("SS00\r\n", ""));
    Parse("");
    EXPECT_FALSE(panel.AnsweredEmpty);
    ASSERT_TRUE(panel.Link.Send("SS06\r\n", ""));
    Parse("---");
    EXPECT_TRUE(panel.AnsweredEmpty);
}

TEST_F(Ar5000Offline, ALineIsTakenOnlyOnceItsLfHasArrived) {
    ASSERT_TRUE(panel.Create(&main, &state));
    ASSERT_TRUE(panel.Link.Send("LM\r\n", "LM"));
    Receive("LM 2A\r");
    panel.Poll(false);
    EXPECT_FALSE(panel.ReplyComplete);
    Receive("\n");
    EXPECT_TRUE(panel.Poll(false));
    EXPECT_EQ(panel.Reply.Level, 0x2A);

    // ReadReply takes a line at its CR, an LF on its own is no part of it.
    Receive("AB\nC\rDE");
    EXPECT_EQ(panel.ReadReply(), 3u);
    EXPECT_EQ(panel.Link.ReplyLine, "ABC");
    EXPECT_EQ(panel.ReadReply(), 0u);
    EXPECT_EQ(comm.WriteIndex - comm.ReadIndex, 2u);

    // A bare CR is a line once an LF came after it; the look-ahead to that LF counts as
    // examined, so a flood of bare CRs ends the pass instead of being walked once per CR.
    const std::string flood = std::string(100, '\r') + "\n" + '\0';  // one place free
    const std::span<const uint8_t> ring(reinterpret_cast<const uint8_t*>(flood.data()), flood.size());
    const RingPiece first = aor::FindArrivedLine(ring, 0, 100);
    EXPECT_EQ(first.kind, RingPiece::Kind::None);  // the LF has not arrived yet
    const RingPiece line = aor::FindArrivedLine(ring, 0, 101);
    EXPECT_EQ(line.kind, RingPiece::Kind::Whole);
    EXPECT_EQ(line.end, 1u);
    EXPECT_EQ(line.examined, 100u);
}

TEST_F(Ar5000Offline, AStopOfTheOwnScanIsAnLcLineThenAnRfLineHeldToTheLimits) {
    ASSERT_TRUE(panel.Create(&main, &state));
    main.panel = &panel;
    state.Frequency = 1'000'000;
    panel.ScanSettings.Action = ScanStopAction::IntoBank;
    // A state line alone moves nothing.
    Parse("VA RF0433920000 ST012500 AU0 MD0 BW3 AT00");
    EXPECT_EQ(state.Frequency, 1'000'000u);
    // Nor one after another kind of line.
    Receive("LC40\r\nGS05\r\nSS RF0145500000 ST012500 AU0 MD0 BW3 AT00 TT2M\r\n");
    panel.Poll(false);
    EXPECT_EQ(state.Frequency, 1'000'000u);

    Receive("LC40\r\nSS RF2700000000 ST012500 AU0 MD0 BW3 AT00 TT2M\r\n");
    panel.Poll(false);
    EXPECT_EQ(state.Frequency, AR5000::kUpperLimit);
    EXPECT_EQ(state.Level, 0x40);
    ui::ServePending();
    EXPECT_EQ(main.Count(PostPanelReload), 1);
    EXPECT_EQ(main.Count(PostFrequencyChanged), 1);
}

TEST_F(Ar5000Offline, TheFineScaleDrawsLevelsAsBarsAndTheMouseMarksOrTunes) {
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.Show();
    panel.ViewStep = 100;
    panel.ViewPosition = 1'450'000;
    panel.Scale.SetCell(14'520, 80);  // 145.2 MHz, column 20
    const ui::Rect area = panel.scale->Geometry();
    const std::vector<ui::Color> pixels = panel.scale->Snapshot();
    ASSERT_EQ(pixels.size(), static_cast<size_t>(area.width) * area.height);
    int bar = 0;
    for (int y = 0; y < area.height; ++y)
        if (pixels[static_cast<size_t>(y * area.width + 20)] == 0x00c000u) ++bar;
    EXPECT_EQ(bar, 10);

    const auto mouse = [&](ui::EventId id, int x) {
        ui::EventData e;
        e.id = id;
        e.x = x;
        e.y = 40;
        panel.scale->Raise(e);
    };
    mouse(ui::EventId::LeftButtonDown, 10);
    mouse(ui::EventId::MouseMove, 30);
    EXPECT_EQ(state.SelectionStart, 1'451'000);
    EXPECT_EQ(state.SelectionEnd, 1'453'000);
    mouse(ui::EventId::LeftButtonUp, 30);
    EXPECT_TRUE(panel.Link.CommandLine.empty());  // a marked span tunes nothing

    mouse(ui::EventId::LeftButtonDown, 40);
    mouse(ui::EventId::MouseMove, 41);
    mouse(ui::EventId::LeftButtonUp, 41);
    EXPECT_EQ(state.SelectionStart, -1);
    EXPECT_EQ(state.Frequency, 1'454'100u);
    EXPECT_EQ(panel.Link.CommandLine, "RF145410000\r\n");
}

TEST_F(Ar5000Offline, ABankItemOfAThousandChannelsFillsTheHundredOfTheBank) {
    ASSERT_TRUE(panel.Create(&main, &state));
    main.panel = &panel;
    state.Channels.resize(kMaxBankChannels);
    for (uint32_t i = 0; i < kMaxBankChannels; ++i) {
        state.Channels[i].Frequency = 1'000'000 + i * 100;
        state.Channels[i].Modulation = 'A';
        state.Channels[i].Identifier = "Канал номер " + std::to_string(i);
    }
    state.ChannelCount = static_cast<int32_t>(kMaxBankChannels);
    panel.CurrentBank = 2;
    ASSERT_TRUE(PostPrivateMessage(&panel, PostItemLoaded));
    ui::ServePending();
    EXPECT_EQ(panel.ChannelAt(2, 99).Frequency, 1'009'900u);
    EXPECT_EQ(panel.ChannelAt(2, 0).Label, "Канал но");
    EXPECT_TRUE(panel.ChannelAt(3, 0).Empty());
    EXPECT_EQ(panel.lv_1->Cell(1, 0), " 100.0100");

    // Handed back, the bank becomes the working bank up to its last channel, each in its
    // place.
    panel.ChannelAt(2, 5).Frequency = 0;
    panel.ChannelAt(2, 99).Frequency = 0;
    state.ChannelCount = 0;
    ASSERT_TRUE(PostPrivateMessage(&panel, PostSaveBank));
    ui::ServePending();
    ui::ServePending();
    EXPECT_EQ(state.ChannelCount, 99);
    EXPECT_EQ(state.Channels[5].Frequency, 0u);
    EXPECT_EQ(state.Channels[6].Number, 6);
    EXPECT_EQ(main.Count(PostSaveBank), 1);

    // An empty bank has nothing to hand back.
    JobStr line;
    state.JobLine = &line;
    state.JobRunning = 1;
    panel.CurrentBank = 4;
    ASSERT_TRUE(PostPrivateMessage(&panel, PostSaveBank));
    ui::ServePending();
    ui::ServePending();
    EXPECT_EQ(line.Message, "Не задано ни одной частоты в банке для записи");
    EXPECT_EQ(main.Count(PostSaveBank), 1);
    state.JobLine = nullptr;
}

TEST_F(Ar5000Offline, TheListSortsByAColumnWithEmptyChannelsLast) {
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.ChannelAt(0, 3) = Channel(2'000'000, 'C', "beta", 3);
    panel.ChannelAt(0, 7) = Channel(1'000'000, 'W', "Alpha", 7);
    panel.ChannelAt(0, 9) = Channel(3'000'000, 'F', "Гамма", 9);
    const auto column = [&](int c) {
        Operate(panel.lv_1, ui::EventId::ColumnClick, c);
        return panel.lv_1->Cell(0, 6) + panel.lv_1->Cell(1, 6) + panel.lv_1->Cell(2, 6) +
               panel.lv_1->Cell(3, 6);
    };
    EXPECT_EQ(column(0), "07030900");
    EXPECT_EQ(column(2), "09070300");
    EXPECT_EQ(column(5), "07030900");
    EXPECT_EQ(column(6), "00010203");
}

// Settings of every kind, as a station keeps them.
void GiveSettings(AR5000& panel, FDX& state) {
    state.Frequency = 1'455'000;
    state.Step = 125;
    state.Modulation = 'F';
    state.Attenuator = 1;
    state.AttenuatorDb = 20;
    // A view step of 100 kHz; the view follows onto the page of the frequency.
    panel.step->SetSelectedIndex(3);
    Operate(panel.step, ui::EventId::Select, 3);
    panel.CurrentBank = 3;
    panel.BankPositions[3] = 42;
    panel.BankPositions[19] = 99;
    panel.Volume = 96;
    panel.DirectWrite = true;
    AorScanSettings& scan = panel.ScanSettings;
    scan.kind = AorScanSettings::Kind::MemoryBanks;
    scan.SelectScan = scan.ModeScan = scan.Hold = scan.DelayOn = true;
    scan.ModeChoice = 3;
    scan.Action = ScanStopAction::StartJob;
    scan.JobName = "Ночь";
    scan.Pause = 12;
    scan.Delay = 25;
    scan.SearchLinks = "00 05 ";
    scan.MemoryLinks = "0 3 ";
    MemoryChannel& beacon = panel.ChannelAt(3, 42);
    beacon = Channel(1'455'000, 'A', "Маяк", 42);
    beacon.Step = 125;
    beacon.Attenuator = beacon.Select = beacon.Skip = true;
    beacon.AttenuatorDb = 20;
    beacon.Filter = 2;
    panel.ChannelAt(9, 99) = Channel(26'000'000, 'W', "", 99);
    panel.ChannelAt(9, 99).Step = 1;
    AorSearchBank& search = panel.SearchBanks[5];
    search.Lower = 1'450'000;
    search.Upper = 1'460'000;
    search.Step = 125;
    search.Label = "2M";
    search.Attenuator = true;
    search.AttenuatorDb = 10;
    panel.Scale.SetCell(14'550, 90);
    panel.Scale.SetCell(260'000, 33);
}

TEST_F(Ar5000Offline, TheStateFileIsReadBackAsItWasWrittenByteForByte) {
    StampedAt7March2001 clock;
    ASSERT_TRUE(panel.Create(&main, &state));
    GiveSettings(panel, state);
    ASSERT_TRUE(panel.WriteStateFile());
    EXPECT_EQ(ReadBytes(Path()), ReceiverGolden("aor/ar5000", "AR5000.001"));
    const std::string written = Cp1251ToUtf8(ReadBytes(Path()));
    for (const char* line : {"Модуляция=F \r\n", "Банк=3\r\n", "Атт=20\r\n",
                             "Частот_Банков=1000\r\nF=0\r\n", "F_ATT=+\r\nF_QATT=20\r\n",
                             "F_ID=Маяк\r\nF_MOD=A\r\nF_QMOD=2\r\n",
                             "Измерения=260001\r\nБанк_поиска=0\r\n", "Выбор_мод=ДА\r\nFL=0\r\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line;
    std::size_t records = 0;
    for (std::size_t at = written.find("\nF="); at != std::string::npos;
         at = written.find("\nF=", at + 1))
        ++records;
    EXPECT_EQ(records, 1000u);

    state.OptRecvSave = 1;
    FDX fresh;
    fresh.Owner = &main;
    fresh.ProgramDir = folder.Dir();
    fresh.PortIndex = 1;
    fresh.OptRecvSave = 1;
    AR5000 again;
    ASSERT_TRUE(again.Create(&main, &fresh));
    EXPECT_EQ(again.ScanSettings, panel.ScanSettings);
    EXPECT_EQ(again.ChannelAt(3, 42), panel.ChannelAt(3, 42));
    EXPECT_EQ(again.SearchBanks[5], panel.SearchBanks[5]);
    EXPECT_EQ(fresh.AttenuatorDb, 20u);
    EXPECT_TRUE(again.catt20->IsChecked());
    EXPECT_EQ(again.step->SelectedIndex(), 3);
    ASSERT_TRUE(again.WriteStateFile());
    EXPECT_EQ(Cp1251ToUtf8(ReadBytes(Path())), written);
    again.Destroy();
}

TEST_F(Ar5000Offline, NumbersFromTheStateFileThatPickAPlaceAreChecked) {
    WriteBytes(Path(),
               Cp1251Lines({"Шаг_просмотра=7", "Банк=99", "Позиция_Банк=500", "Позиция_Банк=7",
                            "Атт=15", "Частот_Банков=1000", "F=999999999", "F_MOD=Z",
                            "F=1455000", "F_ATT=+", "F_QMOD=7", "F=1455000", "F_ATT=+",
                            "F_QATT=30", "Банк_поиска=20", "SFN=1450000", "Банк_поиска=1",
                            "SFN=5"}));
    state.OptRecvSave = 1;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_EQ(panel.CurrentBank, 0);
    EXPECT_EQ(panel.BankPositions[0], 0);
    EXPECT_EQ(panel.BankPositions[1], 7);
    EXPECT_EQ(state.Attenuator, 0);
    EXPECT_EQ(panel.ChannelAt(0, 0).Frequency, AR5000::kUpperLimit);
    EXPECT_EQ(panel.ChannelAt(0, 0).Modulation, 'F');
    // Without the depth an attenuator is 10 dB; no filter beyond wide,
    // no depth but the receiver's 10, 20 or automatic.
    EXPECT_EQ(panel.ChannelAt(0, 1).AttenuatorDb, 10u);
    EXPECT_EQ(panel.ChannelAt(0, 1).Filter, 2);
    EXPECT_EQ(panel.ChannelAt(0, 2).AttenuatorDb, 255u);
    EXPECT_EQ(panel.SearchBanks[1].Lower, AR5000::kLowerLimit);
    for (const AorSearchBank& bank : panel.SearchBanks) EXPECT_NE(bank.Lower, 1'450'000u);
}

// The record of a stop of the receiver's own scan: a stored number beyond the actions is a
// pause; the job is found by its name among the stored jobs as they stand.
TEST(ScanStop, StoredNumbersAndJobNamesAreTakenOnlyForWhatExists) {
    EXPECT_EQ(ScanStopSettings::ActionOf(3), ScanStopAction::IntoBank);
    EXPECT_EQ(ScanStopSettings::ActionOf(4), ScanStopAction::Pause);
    UserJob day, night;
    day.Identifier = "День";
    night.Identifier = "Ночь";
    FDX fdx;
    fdx.Jobs = {&day, nullptr, &night};
    ScanStopSettings stop;
    stop.JobName = "Ночь";
    stop.FindJob(fdx);
    EXPECT_EQ(stop.JobIndex, 3);
    stop.JobName = "Утро";
    stop.FindJob(fdx);
    EXPECT_EQ(stop.JobIndex, 0);
    EXPECT_EQ(scan_stop::JobAt(fdx, 1).name, "День");
    for (const int64_t index : {0, 2, 4, -1}) {
        EXPECT_EQ(scan_stop::JobAt(fdx, index).index, 0) << index;
        EXPECT_EQ(scan_stop::JobAt(fdx, index).name, "") << index;
    }
    EXPECT_EQ(scan_stop::ChosenAction(2), ScanStopAction::StartJob);
    EXPECT_FALSE(scan_stop::ChosenAction(4));
    EXPECT_FALSE(scan_stop::ChosenAction(-1));
}

// The scan dialog lists the four actions and "нет задания" with the stored jobs; a choice
// goes into the panel's settings, a stored action or job beyond the lists shows the first.
TEST_F(Ar5000Offline, TheScanDialogListsTheStopActionsAndTheJobs) {
    UserJob night;
    night.Identifier = "Ночь";
    state.Jobs = {&night};
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.ScanSettings.JobName = "Ночь";
    panel.ScanSettings.Action = ScanStopAction::Beep;
    panel.ServeDialogCode(PostOpenScanSettings);
    RAR5000* dialog = panel.ScanDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->pausemode->Count(), 4);
    EXPECT_EQ(dialog->pausemode->StringAt(0), "режим пауза");
    EXPECT_EQ(dialog->pausemode->StringAt(3), "занести частоту в банк");
    EXPECT_EQ(dialog->pausemode->SelectedIndex(), 1);
    ASSERT_EQ(dialog->jobs->Count(), 2);
    EXPECT_EQ(dialog->jobs->StringAt(0), "нет задания");
    EXPECT_EQ(dialog->jobs->SelectedIndex(), 1);

    Operate(dialog->pausemode, ui::EventId::Select, 3);
    EXPECT_EQ(panel.ScanSettings.Action, ScanStopAction::IntoBank);
    Operate(dialog->pausemode, ui::EventId::Select, 4);
    EXPECT_EQ(panel.ScanSettings.Action, ScanStopAction::IntoBank);
    Operate(dialog->jobs, ui::EventId::Select, 0);
    EXPECT_EQ(panel.ScanSettings.JobName, "");
    EXPECT_EQ(panel.ScanSettings.JobIndex, 0);

    panel.ScanSettings.JobIndex = 5;
    dialog->Refresh();
    EXPECT_EQ(dialog->jobs->SelectedIndex(), 0);
}

}  // namespace
