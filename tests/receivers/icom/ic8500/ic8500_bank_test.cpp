// The IC-R8500's memory banks against the emulated receiver: transfers, the channel record on
// the wire, the receiver's own scan with its stops and read-back, the channel list, the
// program's working bank, and the scan-settings dialog.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "receivers/icom/ic8500/ric8500.h"
#include "state/user_job.h"
#include "tests/receivers/icom/ic8500/ic8500_fixture.h"
#include "tests/receivers/receiver_files.h"
#include "tests/support/operator_hand.h"

namespace {

using emulators::CivChannel;

std::string Format(const char* format, int value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void Click(ui::Control* control) {
    ui::EventData click;
    click.id = ui::EventId::Click;
    control->Raise(click);
}

// A channel of every field: "ABC", 145.0 MHz, FM normal, 12.5 kHz, 20 dB, select.
MemoryChannel Abc() {
    MemoryChannel channel;
    channel.Frequency = 1'450'000;
    channel.Modulation = 'F';
    channel.Step = 125;
    channel.Attenuator = true;
    channel.AttenuatorDb = 20;
    channel.Select = true;
    channel.Label = "ABC";
    return channel;
}

// A channel of the receiver's memory: the marine calling channel, 156.8 MHz FM.
CivChannel Ship() {
    CivChannel channel;
    channel.frequencyHz = 156'800'000;
    channel.mode = emulators::kModeFm;
    channel.filter = 0x01;
    return channel;
}

class Ic8500Banks : public Ic8500OnAir {
  protected:
    void SetUp() override {
        Ic8500OnAir::SetUp();
        state.MessageBox = [this](const FDX&, const MessageRequest& request) {
            messages.push_back(request.text);
            return true;
        };
        // Codes to the main window and to the panel, in the order they arrive.
        panel.AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            arrivals.push_back({'P', e.code});
            return false;
        });
        main.AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            arrivals.push_back({'M', e.code});
            return false;
        });
    }
    // The bracketing codes of transfers, in arrival order.
    std::vector<std::pair<char, uint32_t>> Brackets() const {
        std::vector<std::pair<char, uint32_t>> brackets;
        for (const auto& arrival : arrivals)
            for (uint32_t code : {PostShowWait, PostHideWait, PostScanStartedByPanel,
                                  PostScanStoppedByPanel, PostLockControls, PostUnlockControls})
                if (arrival.second == code) brackets.push_back(arrival);
        return brackets;
    }

    // What a transfer posts around its work, whatever it did.
    const std::vector<std::pair<char, uint32_t>> kBracket = {
        {'M', PostShowWait},           {'M', PostScanStartedByPanel}, {'P', PostLockControls},
        {'M', PostScanStoppedByPanel}, {'P', PostUnlockControls},     {'M', PostHideWait}};

    std::vector<std::string> messages;
    std::vector<std::pair<char, uint32_t>> arrivals;
};

TEST_F(Ic8500Banks, ReadingABankReadsEachChannelUntilTheReceiverRefusesOne) {
    emulator.SetMemoryCapacity(40);
    CivChannel tower;
    tower.frequencyHz = 145'500'000;
    tower.mode = emulators::kModeFm;
    tower.filter = 0x02;
    tower.stepCode = 8;
    tower.attenuatorDb = 30;
    tower.scanFlag = emulators::kScanFlagSkip;
    tower.name = "TOWER  \x01";
    emulator.SetChannel(3, 7, tower);
    panel.Channel(3, 8) = Abc();  // stale: the receiver's empty channel replaces it
    RunJob(427, 3);
    emulator.ClearReceivedFrames();

    Click(panel.cb_2);
    std::vector<std::string> expected = {"08A003"};
    for (int c = 0; c < 40; ++c)
        for (const char* payload : {"08%04d", "1A0103%04d", "1501", "1502"})
            expected.push_back(Format(payload, c));
    expected.push_back("080040");  // refused: the bank ends there
    EXPECT_EQ(Payloads(), expected);
    EXPECT_EQ(panel.BankChannels[3], 40u);

    const MemoryChannel& read = panel.Channel(3, 7);
    EXPECT_EQ(read.Frequency, 1'455'000u);
    EXPECT_EQ(read.Modulation, 'F');
    EXPECT_EQ(read.Filter, 1);
    EXPECT_EQ(read.Step, 125u);
    EXPECT_TRUE(read.Attenuator);
    EXPECT_EQ(read.AttenuatorDb, 30u);
    EXPECT_TRUE(read.Skip);
    EXPECT_FALSE(read.Select);
    EXPECT_EQ(read.Label, "TOWER");  // no blanks after it, nothing unprintable in it
    EXPECT_GT(read.Level, 0);
    EXPECT_EQ(panel.Channel(3, 8).Frequency, 0u);
    EXPECT_EQ(panel.lv_1->RowCount(), 40);
    EXPECT_EQ(panel.lv_1->Cell(7, 0), " 145.5000");
    EXPECT_EQ(panel.lv_1->Cell(7, 4), "+");
}

TEST_F(Ic8500Banks, AChannelGoesOutWithTheReceiversMeaningOfTheScanFlags) {
    RunJob(427, 3);
    panel.Channel(3, 0) = Abc();
    panel.BankChannels[3] = 1;
    emulator.ClearReceivedFrames();
    Click(panel.cb_1);
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"08A003",
                                                    "1A00030000"
                                                    "0000004501"
                                                    "0501"
                                                    "080005"
                                                    "20"
                                                    "02"
                                                    "4142432020202020"}));
    CivChannel written = emulator.Channel(3, 0);
    EXPECT_TRUE(written.Selected());
    EXPECT_FALSE(written.Skipped());
    EXPECT_EQ(written.frequencyHz, 145'000'000u);
    EXPECT_EQ(written.attenuatorDb, 20);
    EXPECT_EQ(written.name, "ABC     ");

    // Every combination goes out and comes back as it was.
    for (const auto& [skip, select] : {std::pair{false, false}, std::pair{true, false},
                                       std::pair{false, true}, std::pair{true, true}}) {
        panel.Channel(3, 0).Skip = skip;
        panel.Channel(3, 0).Select = select;
        panel.Channel(3, 0).Step = 5;  // a programmed step
        Click(panel.cb_1);
        written = emulator.Channel(3, 0);
        EXPECT_EQ(written.Skipped(), skip);
        EXPECT_EQ(written.Selected(), select);
        EXPECT_EQ(written.stepCode, 13);
        panel.Channel(3, 0) = IC8500::kChannelLayout.Empty(0);
        Click(panel.cb_2);
        EXPECT_EQ(panel.Channel(3, 0).Skip, skip);
        EXPECT_EQ(panel.Channel(3, 0).Select, select);
        EXPECT_EQ(panel.Channel(3, 0).Step, 5u);
    }
}

// A hand-edited state file: a step beyond its field and a channel without a step both go to
// the set as the lowest step it has, a label as its eight characters; the close writes what
// was read, and the next start reads the same.
TEST_F(Ic8500Banks, AHandEditedStateFileSendsTheSetOnlyWhatItHolds) {
    StampedAt7March2001 clock;
    const std::string path = folder.Dir() + "IC8500.001";
    state.OptRecvSave = 1;
    panel.Destroy();
    WriteBytes(path, Cp1251Lines({"Шаг=-5", "Банк=0", "Каналов_Банк0=2", "Частот_Банков=2401",
                                  "F=1450000", "F_STEP=99999999999",
                                  "F_ID=" + std::string(100, 'X'), "F_MOD=F", "F=1455000",
                                  "F_MOD=A"}));
    const uint32_t step = state.Step;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(state.Step, step);
    emulator.ClearReceivedFrames();
    Click(panel.cb_1);
    EXPECT_TRUE(messages.empty());
    for (const int channel : {0, 1}) {
        const CivChannel written = emulator.Channel(0, channel);
        EXPECT_EQ(written.stepCode, 2) << channel;  // 100 Hz, the set's finest the panel counts
    }
    EXPECT_EQ(emulator.Channel(0, 0).name, "XXXXXXXX");
    EXPECT_EQ(emulator.Channel(0, 1).frequencyHz, 145'500'000u);

    panel.Destroy();
    const std::string written = ReadBytes(path);
    EXPECT_NE(Cp1251ToUtf8(written).find("F=1450000\r\nF_STEP=1\r\nF_ID=XXXXXXXX\r\nF_MOD=F\r\n"
                                         "F=1455000\r\nF_STEP=1\r\nF_MOD=A\r\n"),
              std::string::npos);
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.Destroy();
    EXPECT_EQ(ReadBytes(path), written);
}

TEST_F(Ic8500Banks, ATransferIsBracketedForTheMainWindowAlsoWhenTheReceiverIsOff) {
    emulator.SetMemoryCapacity(2);
    Click(panel.cb_2);
    ServeUntil([&] { return main.Count(PostHideWait) == 1; });
    EXPECT_EQ(Brackets(), kBracket);
    EXPECT_EQ(state.PanelStatusText, "Чтение банка N 0");
    EXPECT_TRUE(panel.cb_2->IsEnabled());

    // Switched off: nothing is transferred, the operator is told, and the main window and
    // the panel are released all the same.
    arrivals.clear();
    emulator.SetDead(true);
    emulator.ClearReceivedFrames();
    const JobStr line = RunJob(411);
    ServeUntil([&] { return main.Count(PostHideWait) == 2; });
    EXPECT_EQ(line.Message, "Ошибка обращения к приемнику(выключен)");
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"08A000"}));
    EXPECT_EQ(Brackets(), kBracket);
    EXPECT_FALSE(panel.PanelBusy);
    EXPECT_EQ(panel.BankChannels[0], 2u);  // as read before
}

// Writing every bank tries every counted channel: one the receiver cannot hold (RTTY) or
// refuses is counted, the rest still go out, each bank counts up to its last channel taken,
// and the failures are told once. The transfer ends on the bank and channel the panel shows.
TEST_F(Ic8500Banks, WritingBanksTriesEveryChannelAndTellsTheFailuresOnce) {
    CivChannel stale;
    stale.frequencyHz = 100'000'000;
    emulator.SetChannel(0, 1, stale);
    emulator.SetChannel(3, 2, stale);
    panel.Channel(3, 1) = Abc();
    panel.Channel(3, 1).Modulation = 'R';
    panel.Channel(3, 2) = Abc();
    panel.Channel(3, 39) = Abc();
    panel.Channel(5, 7) = panel.Channel(3, 1);
    panel.Channel(IC8500::kAutoBank, 2) = Abc();
    panel.Channel(IC8500::kAutoBank, 2).Frequency = 1'215'000;
    RunJob(427, 3);
    RunJob(428, 2);
    emulator.ClearReceivedFrames();

    const JobStr line = RunJob(412);
    ServeUntil([&] { return main.Count(PostHideWait) == 1; });
    EXPECT_EQ(line.Message, "Не записано в приемник каналов: 2 (первый: банк 3, канал 1)");
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(emulator.Channel(3, 2).frequencyHz, 145'000'000u);
    EXPECT_EQ(emulator.Channel(3, 2).name, "ABC     ");
    EXPECT_EQ(emulator.Channel(3, 39).frequencyHz, 145'000'000u);
    EXPECT_EQ(emulator.Channel(21, 2).frequencyHz, 121'500'000u);
    EXPECT_TRUE(emulator.Channel(0, 1).Empty());  // the panel's empty channel
    const auto sent = Payloads();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(),
                            [](const std::string& p) { return p.starts_with("08A0"); }),
              26);
    EXPECT_EQ(std::vector(sent.end() - 2, sent.end()),
              (std::vector<std::string>{"08A003", "080002"}));
    EXPECT_EQ(emulator.State().channel, 2);
    EXPECT_EQ(panel.BankChannels[3], 40u);
    EXPECT_EQ(panel.BankChannels[IC8500::kAutoBank], 100u);
    EXPECT_EQ(panel.BankPositions[3], 2u);
    EXPECT_EQ(Brackets(), kBracket);
    EXPECT_EQ(state.PanelStatusText, "Запись банков приемника");

    // A receiver that holds 3 channels a bank refuses the rest: the bank counts what it took,
    // and the refusals do not pass for a receiver switched off.
    emulator.SetMemoryCapacity(3);
    Click(panel.cb_1);
    EXPECT_EQ(
        messages,
        (std::vector<std::string>{"Не записано в приемник каналов: 38 (первый: банк 3, канал 1)"}));
    EXPECT_EQ(panel.BankChannels[3], 3u);
    EXPECT_EQ(panel.BankChannels[0], 40u);
    Post(PostTimerTick);
    EXPECT_FALSE(panel.Standby);

    // A receiver that falls silent half way ends the transfer, without a wait for every
    // channel left.
    emulator.SetMemoryCapacity(100);
    emulator.ClearReceivedFrames();
    messages.clear();
    const auto writes = [&] {
        const auto payloads = Payloads();
        return std::count_if(payloads.begin(), payloads.end(),
                             [](const std::string& p) { return p.starts_with("1A00"); });
    };
    main.AddHandler(ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
        if (e.code == PostSerialData && writes() > 0) emulator.SetDead(true);
        return false;
    });
    const int64_t start = ui::Clock::NowMs();
    Click(panel.cb_1);
    EXPECT_LT(ui::Clock::NowMs() - start, 3000);
    EXPECT_LE(writes(), 2);
    EXPECT_EQ(messages, (std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"}));
}

// Clearing empties the panel's copy of the current bank, or of all of them with the
// whole-memory box; in direct mode, in a transfer, the receiver's channels too.
TEST_F(Ic8500Banks, ClearingEmptiesTheBanksAndInDirectModeTheReceivers) {
    emulator.SetMemoryCapacity(3);
    CivChannel held;
    held.frequencyHz = 145'000'000;
    for (int bank : {3, 21})
        for (int c : {0, 2}) emulator.SetChannel(bank, c, held);
    for (uint32_t bank : {3u, 4u, IC8500::kAutoBank}) panel.Channel(bank, 2) = Abc();
    RunJob(427, 3);
    emulator.ClearReceivedFrames();

    Post(PostClearData);
    EXPECT_EQ(panel.Channel(3, 2).Frequency, 0u);
    EXPECT_EQ(panel.Channel(4, 2).Frequency, 1'450'000u);
    EXPECT_TRUE(emulator.ReceivedFrames().empty());
    EXPECT_TRUE(Brackets().empty());

    RunJob(433, 1);
    panel.Settings.AllMemory = true;
    Post(PostClearData);
    ServeUntil([&] { return main.Count(PostHideWait) == 1; });
    for (uint32_t bank : {4u, IC8500::kAutoBank})
        EXPECT_EQ(panel.Channel(bank, 2).Frequency, 0u) << bank;
    for (int bank : {3, 21})
        for (int c : {0, 2}) EXPECT_TRUE(emulator.Channel(bank, c).Empty()) << bank << c;
    EXPECT_EQ(Brackets(), kBracket);
    EXPECT_EQ(state.PanelStatusText, "Очистка банков приемника");

    // A receiver that does not answer the first selection is told of, and sent nothing more.
    emulator.SetDead(true);
    emulator.ClearReceivedFrames();
    Post(PostClearData);
    EXPECT_EQ(messages, (std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"}));
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"08A000"}));
}

// The receiver's settings replace all the selected channel held; in direct mode they go into
// the receiver's channel too.
TEST_F(Ic8500Banks, TheCurrentSettingsGoIntoTheSelectedChannel) {
    RunJob(427, 3);
    RunJob(428, 2);
    panel.Channel(3, 2) = Abc();
    state.Frequency = 4'339'200;
    state.Modulation = 'A';
    state.Step = 250;
    state.Attenuator = 0;
    emulator.ClearReceivedFrames();
    Click(panel.cb_3);
    const MemoryChannel& stored = panel.Channel(3, 2);
    EXPECT_EQ(stored.Frequency, 4'339'200u);
    EXPECT_EQ(stored.Modulation, 'A');
    EXPECT_EQ(stored.Step, 250u);
    EXPECT_FALSE(stored.Attenuator);
    EXPECT_EQ(stored.Label, "");
    EXPECT_FALSE(stored.Select);
    EXPECT_EQ(panel.lv_1->Cell(2, 0), " 433.9200");
    EXPECT_TRUE(emulator.ReceivedFrames().empty());

    RunJob(433, 1);
    state.Frequency = 1'568'000;
    state.Modulation = 'F';
    EXPECT_EQ(RunJob(413).ReturnCode, 0);
    EXPECT_EQ(stored.Frequency, 1'568'000u);
    EXPECT_EQ(emulator.Channel(3, 2).frequencyHz, 156'800'000u);
    EXPECT_EQ(emulator.Channel(3, 2).mode, emulators::kModeFm);
}

// In direct mode a channel the receiver refuses, or cannot hold (RTTY, not sent), is told as a
// bank write tells it, from the button and from the job line (which fails), and the channel and
// its row keep what they had.
TEST_F(Ic8500Banks, AStoreTheReceiverRefusesIsToldAndTheChannelKeepsWhatItHad) {
    RunJob(433, 1);
    RunJob(427, 3);
    RunJob(428, 2);
    CivChannel held;
    held.frequencyHz = 100'000'000;
    emulator.SetChannel(3, 2, held);
    panel.Channel(3, 2) = Abc();
    panel.ChooseBank(3);
    state.Frequency = 4'339'200;
    state.Modulation = 'A';
    emulator.SetMemoryCapacity(2);  // position 2 refused
    const std::vector<std::string> told{
        "Не записано в приемник каналов: 1 (первый: банк 3, канал 2)"};

    Click(panel.cb_3);
    EXPECT_EQ(messages, told);
    EXPECT_EQ(panel.Channel(3, 2), Abc());
    EXPECT_EQ(panel.lv_1->Cell(2, 0), " 145.0000");
    messages.clear();
    JobStr line = RunJob(413);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, told[0]);
    EXPECT_EQ(panel.Channel(3, 2), Abc());

    emulator.SetMemoryCapacity(100);
    EXPECT_EQ(emulator.Channel(3, 2).frequencyHz, 100'000'000u);
    state.Modulation = 'R';
    line = RunJob(413);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, told[0]);
    EXPECT_EQ(panel.Channel(3, 2), Abc());
    EXPECT_TRUE(messages.empty());
}

// A channel's level stands in the list as measured, or in dB by the receiver's calibration
// while levels are shown in dB.
TEST_F(Ic8500Banks, TheListShowsAChannelsLevelRawOrInDecibels) {
    panel.Channel(0, 0) = Abc();
    panel.Channel(0, 0).Level = 40;
    panel.BankChannels[0] = 1;
    panel.ChooseBank(0);
    EXPECT_EQ(panel.lv_1->Cell(0, 1), "40");
    state.OptDb = 1;
    panel.ChooseBank(0);
    // Between 1.8 dB at 32 and 2.8 dB at 48.
    EXPECT_EQ(panel.lv_1->Cell(0, 1), "2.3");
}

TEST_F(Ic8500Banks, TheReceiversScanStartsStopsOnSignalsAndIsReadBack) {
    // Scan edges in the receiver's PROG bank; the panel's AUTO bank holds an old find. Only
    // noise on the air: the scan stops where the test says.
    emulator.SetSignalPlan(emulators::SignalPlan{8, {}});
    CivChannel edge;
    edge.frequencyHz = 145'000'000;
    emulator.SetChannel(23, 0, edge);
    edge.frequencyHz = 146'000'000;
    emulator.SetChannel(23, 1, edge);
    panel.Channel(IC8500::kAutoBank, 50).Frequency = 1'000'000;
    panel.BankChannels[IC8500::kAutoBank] = 10;
    CivScanSettings& scan = panel.Settings.Scan;
    scan.RangeScan = scan.Auto = scan.Delay = scan.Vsc = true;
    // Each command is awaited: one sent before the last one's answer would be refused.
    emulator.SetLatency(std::chrono::milliseconds(20));
    emulator.ClearReceivedFrames();

    EXPECT_EQ(RunJob(434).ReturnCode, 0);
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"0E00", "0EC1", "0ED3", "0E04"}));
    EXPECT_TRUE(panel.ReceiverScanRunning);
    EXPECT_EQ(panel.Channel(IC8500::kAutoBank, 50).Frequency, 0u);
    EXPECT_EQ(state.PanelStatusText, "Аппаратное сканирование");
    ASSERT_TRUE(ServeUntil([&] { return panel.PanelBusy; }));
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 1);
    emulator.SetLatency(std::chrono::milliseconds(0));

    // A stop on a signal does what the pause mode says.
    state.Jobs.clear();
    scan.JobName = "Запись";
    const std::pair<uint32_t, uint32_t> pauses[] = {
        {1, PostBeep}, {2, PostPanelStartJob}, {3, PostPanelReload}};
    for (const auto& [mode, code] : pauses) {
        scan.Action = ScanStopSettings::ActionOf(mode);
        ASSERT_TRUE(emulator.TriggerScanStop());
        EXPECT_TRUE(ServeUntil([&, code = code] { return main.Count(code) == 1; })) << mode;
        ServeUntil([&] { return panel.PendingCommand == ReceiverPanel::NoExchange; });
    }
    EXPECT_EQ(state.PanelJobName, "Запись");
    scan.Action = ScanStopAction::Pause;

    // Stopped: the receiver's finds in AUTO come back, and the question is answered in the
    // job's line.
    emulator.ClearReceivedFrames();
    const JobStr line = RunJob(421);
    EXPECT_EQ(line.Message, "Обнаруженные частоты в банке AUTO.Отобразить?-ДА");
    EXPECT_FALSE(panel.ReceiverScanRunning);
    const auto sent = Payloads();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[0], "0E00");
    EXPECT_EQ(sent[1], "08A021");
    EXPECT_EQ(sent[3], "1A01210000");
    EXPECT_EQ(panel.CurrentBank, IC8500::kAutoBank);
    for (uint32_t find = 0; find < 3; ++find)
        EXPECT_EQ(panel.Channel(IC8500::kAutoBank, find).Frequency,
                  emulator.Channel(21, int(find)).frequencyHz / 100);
    EXPECT_NE(panel.Channel(IC8500::kAutoBank, 0).Frequency, 0u);
    EXPECT_EQ(panel.Channel(IC8500::kAutoBank, 3).Frequency, 0u);
    ServeUntil([&] { return main.Count(PostHideWait) == 1; });
    EXPECT_FALSE(panel.PanelBusy);
}

TEST_F(Ic8500Banks, AScanTheReceiverRefusesIsReported) {
    // No scan edges: the receiver has nothing to scan.
    panel.Settings.Scan.Auto = false;
    const JobStr line = RunJob(434);
    EXPECT_EQ(line.Message, "Ошибка запуска внутреннего сканирования приемника");
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_FALSE(panel.ReceiverScanRunning);
    EXPECT_EQ(LastPayload(), "0E02");
}

// A manual scan is the operator's at the set: the settings taken, it counts as started. With no
// regime at all nothing starts.
TEST_F(Ic8500Banks, AScanWithoutARegimeIsNotReportedStarted) {
    CivScanSettings& scan = panel.Settings.Scan;
    scan.RangeScan = scan.BankScan = false;
    scan.ManualScan = true;
    EXPECT_EQ(RunJob(434).ReturnCode, 0);
    EXPECT_TRUE(panel.ReceiverScanRunning);
    RunJob(421);
    ASSERT_FALSE(panel.ReceiverScanRunning);

    scan.ManualScan = false;
    const JobStr line = RunJob(434);
    EXPECT_EQ(line.Message, "Ошибка запуска внутреннего сканирования приемника");
    EXPECT_FALSE(panel.ReceiverScanRunning);
    EXPECT_EQ(LastPayload(), "0ED3");
}

// In direct mode the panel and the receiver agree on the selected channel: switching it on,
// or choosing a channel in the list, takes the channel from the receiver and tunes to it.
TEST_F(Ic8500Banks, DirectModeTunesToTheChannelTheReceiverHolds) {
    CivChannel beacon;
    beacon.frequencyHz = 433'920'000;
    beacon.mode = emulators::kModeAm;
    beacon.filter = 0x02;
    emulator.SetChannel(0, 0, beacon);
    beacon = Ship();
    emulator.SetChannel(0, 1, beacon);
    emulator.ClearReceivedFrames();
    RunJob(420, 1);
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"080000", "1A01000000", "1501", "1502"}));
    EXPECT_EQ(state.Frequency, 4'339'200u);
    EXPECT_EQ(state.Modulation, 'A');
    EXPECT_EQ(panel.textb_1->Text(), "433.9200");
    EXPECT_TRUE(panel.textb_1->IsEnabled());

    ui::EventData row;
    row.id = ui::EventId::Select;
    row.value = 1;
    panel.lv_1->Raise(row);
    EXPECT_EQ(panel.BankPositions[0], 1u);
    EXPECT_EQ(state.Frequency, 1'568'000u);
    EXPECT_EQ(state.Modulation, 'F');
    EXPECT_EQ(emulator.State().channel, 1);

    // An edit of the channel goes into its row and, in direct mode, into the receiver.
    ui::EventData typed;
    typed.id = ui::EventId::Change;
    typed.text = "SHIP";
    panel.comment->Raise(typed);
    EXPECT_EQ(panel.lv_1->Cell(1, 2), "SHIP");
    EXPECT_EQ(emulator.Channel(0, 1).name, "SHIP    ");
    EXPECT_EQ(emulator.Channel(0, 1).frequencyHz, 156'800'000u);

    // A channel without a step (programmed 0) leaves the step: a scale scan would stand still.
    beacon.stepCode = 13;
    beacon.programmedStep = 0;
    emulator.SetChannel(0, 2, beacon);
    row.value = 2;
    panel.lv_1->Raise(row);
    EXPECT_EQ(emulator.State().channel, 2);
    EXPECT_EQ(state.Step, 100u);
}

// In direct mode an edit the receiver refuses is told as a bank write tells it, and the
// channel, its row and its box keep what the receiver holds.
TEST_F(Ic8500Banks, AnEditTheReceiverRefusesIsToldAndTheChannelKeepsWhatItHolds) {
    emulator.SetChannel(0, 1, Ship());
    RunJob(420, 1);
    ui::EventData row;
    row.id = ui::EventId::Select;
    row.value = 1;
    panel.lv_1->Raise(row);
    const MemoryChannel held = panel.Channel(0, 1);
    const std::string label = panel.lv_1->Cell(1, 2);
    emulator.SetMemoryCapacity(1);  // position 1 refused

    ui::EventData typed;
    typed.id = ui::EventId::Change;
    typed.text = "SHIP";
    panel.comment->Raise(typed);
    EXPECT_EQ(
        messages,
        (std::vector<std::string>{"Не записано в приемник каналов: 1 (первый: банк 0, канал 1)"}));
    EXPECT_EQ(panel.Channel(0, 1), held);
    EXPECT_EQ(panel.lv_1->Cell(1, 2), label);
    EXPECT_EQ(panel.comment->Text(), held.Label);

    messages.clear();
    emulator.SetMemoryCapacity(100);
    panel.comment->Raise(typed);
    EXPECT_EQ(emulator.Channel(0, 1).name, "SHIP    ");
    EXPECT_EQ(panel.lv_1->Cell(1, 2), "SHIP");
    EXPECT_TRUE(messages.empty());
}

// A channel's name edited by hand goes to the set in the characters its name field takes,
// every other one a blank in its place; the panel keeps the name it has, read back too.
TEST_F(Ic8500Banks, AChannelsNameGoesToTheSetInTheCharactersItsFieldTakes) {
    RunJob(427, 3);
    panel.Channel(3, 0) = Abc();
    panel.Channel(3, 0).Label = "Ж1\x01Z";
    panel.BankChannels[3] = 1;
    emulator.ClearReceivedFrames();
    Click(panel.cb_1);
    const std::vector<std::string> sent = Payloads();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(sent[1].ends_with("2031205A20202020")) << sent[1];
    EXPECT_EQ(emulator.Channel(3, 0).name, " 1 Z    ");
    EXPECT_EQ(panel.Channel(3, 0).Label, "Ж1\x01Z");
    Click(panel.cb_2);
    EXPECT_EQ(panel.Channel(3, 0).Label, "Ж1\x01Z");
    EXPECT_TRUE(messages.empty());
}

// A bank named on the panel is named on the receiver, and the list shows the receiver's
// spelling, unless the receiver holds just what the panel's name went to it as (its letters
// blanks): then the panel's, through a sync too. Without an answer the panel keeps five
// characters of what was typed.
TEST_F(Ic8500Banks, ABankNamedOnThePanelTakesTheReceiversSpelling) {
    const auto type = [&](const std::string& text) {
        ui::EventData typed;
        typed.id = ui::EventId::Change;
        typed.text = text;
        panel.bname->Raise(typed);
    };
    RunJob(427, 2);
    type("NIGHT1");
    EXPECT_EQ(emulator.BankName(2), "NIGHT");
    EXPECT_EQ(panel.BankNames[2], "NIGHT");
    EXPECT_EQ(panel.bname->StringAt(2), "NIGHT");
    type("Ночь1");  // no letter of it reaches the receiver, which keeps a blank for each
    EXPECT_EQ(emulator.BankName(2), "    1");
    EXPECT_EQ(panel.BankNames[2], "Ночь1");
    Post(PostSyncReceiver);
    EXPECT_EQ(panel.bname->StringAt(2), "Ночь1");
    emulator.SetDead(true);
    type("Ночь12");
    EXPECT_EQ(panel.BankNames[2], "Ночь1");
    RunJob(427, IC8500::kAutoBank);
    type("X");
    EXPECT_EQ(panel.bname->StringAt(int(IC8500::kAutoBank)), "AUTO");
}

// A name typed into the bank list's field goes to the receiver once, when the typing ends:
// never "N", "NI", ... letter by letter.
TEST_F(Ic8500Banks, ATypedBankNameGoesToTheReceiverOnceWhenTheTypingEnds) {
    namespace hand = operator_hand;
    RunJob(427, 2);
    main.Show();
    emulator.ClearReceivedFrames();
    const auto namings = [&] {
        const auto sent = Payloads();
        return std::count_if(sent.begin(), sent.end(),
                             [](const std::string& p) { return p.starts_with("1A02"); });
    };
    hand::TypeOver(panel.bname, "NIGHT");
    ui::ServePending();
    EXPECT_EQ(namings(), 0);
    hand::PressEnter(panel.bname);
    ASSERT_TRUE(ServeUntil([&] { return emulator.BankName(2) == "NIGHT"; }));
    EXPECT_EQ(namings(), 1);
    EXPECT_EQ(panel.BankNames[2], "NIGHT");
}

TEST_F(Ic8500Banks, ProgListsItsPairsOfEdges) {
    RunJob(427, IC8500::kProgBank);
    ASSERT_EQ(panel.lv_1->RowCount(), 40);
    for (int pair = 0; pair < 10; ++pair) {
        EXPECT_EQ(panel.lv_1->Cell(4 * pair, 0), Format("Диапазон %02d", pair));
        EXPECT_EQ(panel.lv_1->Cell(4 * pair, 2), "F_начальн");
        EXPECT_EQ(panel.lv_1->Cell(4 * pair + 2, 0), Format("Диапазон %02d", pair));
        EXPECT_EQ(panel.lv_1->Cell(4 * pair + 2, 2), "F_конечн");
    }
    RunJob(428, 3);
    EXPECT_EQ(panel.lv_1->SelectedRow(), 7);

    // A range loaded while PROG is shown becomes its first pair.
    state.ScanSlots.resize(1);
    Bank& slot = state.ScanSlots[0];
    slot.Start = 1'080'000;
    slot.End = 1'180'000;
    slot.Step = 250;
    slot.Modulation = 'A';
    slot.InUse = 1;
    state.SlotIndex = 0;
    Post(PostLoadReceiverSetup);
    EXPECT_EQ(panel.Channel(IC8500::kProgBank, 0).Frequency, 1'080'000u);
    EXPECT_EQ(panel.Channel(IC8500::kProgBank, 1).Frequency, 1'180'000u);
    EXPECT_EQ(panel.Channel(IC8500::kProgBank, 1).Modulation, 'A');
    EXPECT_EQ(panel.lv_1->Cell(3, 0), " 118.0000");
}

TEST_F(Ic8500Banks, TheWorkingBankComesInAndGoesOut) {
    state.Channels.assign(3, Mt{});
    state.Channels[0].Frequency = 1'450'000;
    state.Channels[0].Modulation = 'F';
    state.Channels[0].Identifier = "Пост";
    state.Channels[2].Frequency = 4'339'200;
    state.ChannelCount = 3;
    RunJob(427, 5);
    Post(PostItemLoaded);
    EXPECT_EQ(panel.Channel(5, 0).Label, "Пост");
    EXPECT_EQ(panel.Channel(5, 2).Frequency, 4'339'200u);
    EXPECT_EQ(panel.Channel(5, 3).Frequency, 0u);

    // Handed back up to its last channel with a frequency.
    state.ChannelCount = 0;
    Post(PostSaveBank);
    EXPECT_EQ(state.ChannelCount, 3);
    EXPECT_EQ(state.Channels[2].Frequency, 4'339'200u);
    EXPECT_EQ(main.Count(PostSaveBank), 1);

    RunJob(427, 6);
    Post(PostSaveBank);
    EXPECT_EQ(messages,
              (std::vector<std::string>{"Не задано ни одной частоты в банке для записи"}));
}

TEST_F(Ic8500Banks, TheDialogWritesIntoThePanelAndSwitchesTheFilterAtOnce) {
    UserJob night;
    night.Identifier = "Ночь";
    state.Jobs = {&night};
    panel.Settings.Scan.JobName = "Ночь";
    panel.Channel(IC8500::kPrioBank, 0).Frequency = 1'215'000;
    panel.OpenScanSettings();
    RIC8500* dialog = panel.ScanSettingsDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsVisible());
    EXPECT_EQ(dialog->jobs->SelectedIndex(), 1);
    EXPECT_EQ(dialog->fprio->Text(), " 121.5000");
    EXPECT_TRUE(dialog->diapscan->IsChecked());

    state.Modulation = 'A';
    emulator.ClearReceivedFrames();
    dialog->Awide->SetChecked(true);
    Click(dialog->Awide);
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"060201"}));
    EXPECT_TRUE(panel.Settings.Awide);

    // Channels chosen by selection or by mode, never both; both may be off.
    dialog->modmode->SetChecked(true);
    Click(dialog->modmode);
    dialog->selmode->SetChecked(true);
    Click(dialog->selmode);
    EXPECT_FALSE(dialog->modmode->IsChecked());
    EXPECT_TRUE(panel.Settings.Scan.SelectedChannels);
    EXPECT_FALSE(panel.Settings.Scan.SelectedModes);
    dialog->selmode->SetChecked(false);
    Click(dialog->selmode);
    EXPECT_FALSE(panel.Settings.Scan.SelectedChannels || panel.Settings.Scan.SelectedModes);

    dialog->bankscan->SetChecked(true);
    Click(dialog->bankscan);
    EXPECT_FALSE(panel.Settings.Scan.RangeScan);
    EXPECT_TRUE(panel.Settings.Scan.BankScan);
    ui::EventData moved;
    moved.id = ui::EventId::Change;
    moved.value = 3;
    dialog->peaklvl->Raise(moved);
    EXPECT_EQ(LastPayload(), "14040048");
    EXPECT_EQ(emulator.State().ifShift, 48);
    ui::EventData chosen;
    chosen.id = ui::EventId::Select;
    dialog->jobs->Raise(chosen);  // "нет задания"
    EXPECT_EQ(panel.Settings.Scan.JobName, "");
}

// How the scan resumes is one of three; the default depth one of 10, 20, 30 dB, a depth the
// set lacks shown as the first; the right mouse button runs the macro as on every window.
TEST_F(Ic8500Banks, TheDialogsResumeAndDepthOptionsChooseOneAndItsRightButtonRunsTheMacro) {
    panel.Settings.Scan.Delay = true;
    panel.Settings.DefaultAttenuatorDb = 15;
    panel.OpenScanSettings();
    RIC8500* dialog = panel.ScanSettingsDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->resdelay->IsChecked());
    EXPECT_TRUE(dialog->att10->IsChecked());
    dialog->resoff->SetChecked(true);
    Click(dialog->resoff);
    EXPECT_TRUE(panel.Settings.Scan.DropOut);
    EXPECT_FALSE(panel.Settings.Scan.Delay || panel.Settings.Scan.NoReadBack);
    dialog->optb_2->SetChecked(true);
    Click(dialog->optb_2);
    EXPECT_EQ(panel.Settings.DefaultAttenuatorDb, 30u);

    dialog->Raise(ui::EventId::RightButtonUp);
    ui::ServePending();
    EXPECT_EQ(main.Count(PostRunMacro), 1);
    // The channel list takes its own mouse; its right button runs the macro all the same.
    panel.lv_1->Raise(ui::EventId::RightButtonUp);
    ui::ServePending();
    EXPECT_EQ(main.Count(PostRunMacro), 2);
}

}  // namespace
