// The AR5000's memory and search banks against the emulated receiver: written, read, cleared,
// and the transfers' ends when the receiver does not answer; and the two dialogs.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "receivers/aor/ar5000/ar5000_dialogs.h"
#include "state/cp1251.h"
#include "tests/receivers/aor/ar5000/ar5000_fixture.h"
#include "tests/receivers/aor/hand_edited_state_file.h"
#include "tests/receivers/receiver_files.h"

namespace {

using emulators::AorChannel;
using emulators::AorSearchBank;
using emulators::AorSettings;
using Strings = std::vector<std::string>;

MemoryChannel Record(uint32_t frequency, char mode, int32_t filter, const std::string& label) {
    MemoryChannel c;
    c.Frequency = frequency;
    c.Modulation = mode;
    c.Filter = filter;
    c.Label = label;
    c.Step = 125;
    return c;
}

int Count(const Strings& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

Strings LinesStartingWith(const Strings& lines, const std::string& head) {
    Strings found;
    for (const std::string& line : lines)
        if (line.starts_with(head)) found.push_back(line);
    return found;
}

TEST_F(Ar5000OnAir, WritingTheCurrentBankMakesTheReceiversMemoryThePanels) {
    // What the receiver holds where the panel has nothing goes.
    emulator.SetChannel(2, 50, AorChannel{156'800'000, AorSettings{}, "OLD", false, false});
    panel.CurrentBank = 2;
    MemoryChannel& calls = panel.ChannelAt(2, 0);
    calls = Record(1'455'000, 'F', 1, "CALLS");
    calls.Skip = true;
    calls.Attenuator = true;
    calls.AttenuatorDb = 20;
    MemoryChannel& air = panel.ChannelAt(2, 7);
    air = Record(1'275'000, 'A', 2, "Air");
    air.Select = true;
    panel.SearchBanks[0].Lower = 1'450'000;
    panel.SearchBanks[0].Upper = 1'460'000;
    panel.SearchBanks[0].Step = 125;
    panel.WriteCurrentBank();

    const AorChannel written = emulator.Channel(2, 0);
    EXPECT_EQ(written.frequencyHz, 145'500'000u);
    EXPECT_EQ(written.label, "   CALLS");
    EXPECT_EQ(written.settings.mode, '0');
    EXPECT_EQ(written.settings.bandwidth, '2');
    EXPECT_EQ(written.settings.attenuator, '2');
    EXPECT_EQ(written.settings.stepHz, 12'500u);
    EXPECT_TRUE(written.skip);
    EXPECT_FALSE(written.select);
    const AorChannel second = emulator.Channel(2, 7);
    EXPECT_EQ(second.settings.mode, '1');
    EXPECT_EQ(second.settings.bandwidth, '4');
    EXPECT_TRUE(second.select);
    EXPECT_EQ(second.label, "     Air");
    EXPECT_TRUE(emulator.Channel(2, 50).Empty());
    EXPECT_EQ(emulator.SearchBank(0).lowerHz, 145'000'000u);

    const Strings lines = Lines();
    EXPECT_EQ(LinesFrom("MX200").at(0), "MX200 RF145500000 AU0 ST12500 MD0 BW2 MP1 TM   CALLS");
    const auto clear = std::find(lines.begin(), lines.end(), "MR250");
    ASSERT_NE(clear, lines.end());
    EXPECT_EQ(*(clear + 1), "MQ50");
    EXPECT_EQ(lines.back(), "VA");
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 1);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
    EXPECT_EQ(main.Count(PostScanStoppedByPanel), 1);
    EXPECT_FALSE(panel.PanelBusy);
}

// A clear the set does not take (refused, or unanswered while the set is silent a while)
// leaves the set's channel where the panel has none: it is counted and told with the channels
// not written, which fails the job line, and the clears after it go on.
TEST_F(Ar5000OnAir, AClearTheSetDoesNotTakeIsToldAsAChannelNotWritten) {
    const AorChannel old{156'800'000, AorSettings{}, "OLD", false, false};
    const int held[] = {50, 51, 60};
    const auto holdOld = [&] {
        for (const int channel : held) emulator.SetChannel(2, channel, old);
    };
    panel.CurrentBank = 2;
    panel.ChannelAt(2, 0) = Record(1'455'000, 'F', 0, "CALLS");
    // Where the clear of channel 50 starts, in a write the set takes whole.
    holdOld();
    ASSERT_EQ(RunJob(712).ReturnCode, 0u);
    const Strings whole = Lines();
    const auto clear = std::find(whole.begin(), whole.end(), "MR250");
    ASSERT_NE(clear, whole.end());
    const auto before = static_cast<std::size_t>(clear - whole.begin());

    struct Row {
        const char* fault;
        std::function<void()> make;
        const char* told;
        std::vector<int> left;  // the set's channels still there
    };
    const Row rows[] = {
        {"refused",
         [&] { emulator.SetRefused({"MQ"}); },
         "Не записано в приемник каналов: 99 (первый: банк 2, канал 1)",
         {50, 51, 60}},
        // Two reads of a second each go unanswered.
        {"silent",
         [&] { emulator.SetSilentAfter(before, std::chrono::milliseconds(1'500)); },
         "Не записано в приемник каналов: 2 (первый: банк 2, канал 50)",
         {50, 51}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        holdOld();
        emulator.ClearReceivedLines();
        row.make();
        const JobStr line = RunJob(712);
        emulator.SetRefused({});
        EXPECT_EQ(line.ReturnCode, 1u);
        EXPECT_EQ(line.Message, row.told);
        for (const int channel : held)
            EXPECT_EQ(emulator.Channel(2, channel).Empty(),
                      std::find(row.left.begin(), row.left.end(), channel) == row.left.end())
                << channel;
        EXPECT_EQ(emulator.Channel(2, 0).frequencyHz, 145'500'000u);
    }
}

// A read asks MR and RX at once: MR is acknowledged with an empty line, RX answers with the
// channel's line. Even with the lines late, the read ends on the channel's line and leaves
// nothing behind to answer the next request, a setting the receiver refuses here.
TEST_F(Ar5000OnAir, AChannelReadLeavesNoAnswerForTheNextRequest) {
    emulator.SetSplitLines(true, std::chrono::milliseconds(45));
    EXPECT_FALSE(panel.ReadChannel(0, 5));
    emulator.SetSplitLines(false);
    emulator.SetRefused({"DS"});
    EXPECT_FALSE(panel.SendText("DS1"));
    EXPECT_EQ(Lines(), (Strings{"MR005", "RX", "DS1"}));
}

// The receiver answers a channel read with one channel line: a read that waited for a
// second one would wait a second for each channel (the test clock counts it), in a read,
// in a write's read-back and in an edit.
TEST_F(Ar5000OnAir, ChannelReadsWaitForNoSecondLine) {
    emulator.SetChannel(1, 0, AorChannel{145'500'000, AorSettings{}, "CALLS", false, false});
    emulator.SetChannel(1, 99, AorChannel{433'920'000, AorSettings{}, "", false, false});
    panel.CurrentBank = 1;
    const auto virtualMs = [](const std::function<void()>& action) {
        const int64_t start = ui::Clock::NowMs();
        action();
        return ui::Clock::NowMs() - start;
    };
    EXPECT_LT(virtualMs([&] { panel.ReadCurrentBank(); }), 1000);
    EXPECT_EQ(panel.ChannelAt(1, 0).Label, "CALLS");
    EXPECT_EQ(panel.ChannelAt(1, 99).Frequency, 4'339'200u);
    EXPECT_TRUE(panel.ChannelAt(1, 1).Empty());

    panel.ChannelAt(1, 5) = Record(1'275'000, 'A', 0, "TOWER");
    emulator.ClearReceivedLines();
    EXPECT_LT(virtualMs([&] { panel.WriteCurrentBank(); }), 1000);
    EXPECT_EQ(emulator.Channel(1, 5).frequencyHz, 127'500'000u);
    EXPECT_EQ(Count(Lines(), "MR105"), 1);  // read back once

    ASSERT_TRUE(ServeUntil([&] { return !panel.PanelBusy; }));
    panel.DirectWrite = true;
    EXPECT_LT(virtualMs([&] { Operate(panel.comment, ui::EventId::Change, 0, "EDITED"); }), 1000);
    EXPECT_EQ(emulator.Channel(1, 0).label, "  EDITED");
}

// A line left over from the read before (a set that answered it twice) is passed over: the
// read ends on its own channel's line.
TEST_F(Ar5000OnAir, ALineLeftOverFromTheChannelBeforeIsPassedOver) {
    emulator.SetChannel(0, 5, AorChannel{145'500'000, AorSettings{}, "CALLS", false, false});
    const std::string stale = "MR MX004 ---\r\n";
    comm.StoreReceived(reinterpret_cast<const uint8_t*>(stale.data()), stale.size());
    // Its own line comes in a pass after the stale one.
    emulator.SetSplitLines(true, std::chrono::milliseconds(45));
    EXPECT_TRUE(panel.ReadChannel(0, 5));
    EXPECT_EQ(panel.ChannelAt(0, 5).Frequency, 1'455'000u);
    EXPECT_EQ(panel.ChannelAt(0, 5).Label, "CALLS");
}

// The state file keeps each channel's filter and attenuator depth: after a restart the bank
// goes to the receiver as it was written before.
TEST_F(Ar5000OnAir, AChannelsFilterAndAttenuatorDepthOutliveARestart) {
    state.OptRecvSave = 1;
    panel.CurrentBank = 2;
    MemoryChannel& calls = panel.ChannelAt(2, 0);
    calls = Record(1'455'000, 'F', 2, "CALLS");
    calls.Attenuator = true;
    calls.AttenuatorDb = 20;
    panel.Destroy();
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.WriteCurrentBank();
    EXPECT_EQ(LinesFrom("MX200").at(0), "MX200 RF145500000 AU0 ST12500 MD0 BW4 MP0 TM   CALLS");
    EXPECT_EQ(emulator.Channel(2, 0).settings.bandwidth, '4');
    EXPECT_EQ(emulator.Channel(2, 0).settings.attenuator, '2');
}

// So it keeps each search bank's: a search bank read from the receiver goes back into it
// after a restart with the bandwidth and attenuator it had.
TEST_F(Ar5000OnAir, ASearchBanksFilterAndAttenuatorDepthOutliveARestart) {
    state.OptRecvSave = 1;
    const AorSearchBank held[] = {
        {144'000'000, 146'000'000, AorSettings{12'500, '0', '2', '2'}, "NFM 20"},   // narrow FM
        {87'500'000, 108'000'000, AorSettings{100'000, '0', '5', 'F'}, "NWFM"},     // narrow WFM
        {118'000'000, 137'000'000, AorSettings{25'000, '1', '4', '1'}, "WIDE AM"},  // 10 dB
        {26'000'000, 28'000'000, AorSettings{5'000, '0', '3', '0'}, "CB"},
    };
    for (int bank = 0; bank < 4; ++bank) {
        emulator.SetSearchBank(bank, held[bank]);
        ASSERT_TRUE(panel.ReadSearchBank(bank)) << bank;
    }
    panel.Destroy();
    const std::string file = Cp1251ToUtf8(ReadBytes(panel.StateFilePath()));
    for (const char* keys :
         {"SF_ATT=+\r\nSF_QATT=20\r\n", "SF_MOD=F\r\nSF_QMOD=1\r\n", "SF_ATT=+\r\nSF_QATT=255\r\n",
          "SF_MOD=W\r\nSF_QMOD=1\r\n", "SF_ATT=+\r\nSF_STEP=250\r\n", "SF_MOD=A\r\nSF_QMOD=2\r\n",
          "SF_ID=CB\r\nSF_MOD=F\r\nБанк_поиска=4\r\n"})
        EXPECT_NE(file.find(keys), std::string::npos) << keys;
    ASSERT_TRUE(panel.Create(&main, &state));
    for (int bank = 0; bank < 4; ++bank) emulator.SetSearchBank(bank, {});
    emulator.ClearReceivedLines();
    panel.WriteAllBanks();

    Strings written;
    for (const std::string& line : Lines())
        if (line.starts_with("SE")) written.push_back(line);
    EXPECT_EQ(written, (Strings{"SE00 SL144000000 SU146000000 ST12500 AU0 MD0 BW2 AT2 TT  NFM 20",
                                "SE01 SL87500000 SU108000000 ST100000 AU0 MD0 BW5 ATF TT    NWFM",
                                "SE02 SL118000000 SU137000000 ST25000 AU0 MD1 BW4 AT1 TT WIDE AM",
                                "SE03 SL26000000 SU28000000 ST5000 AU0 MD0 BW3 AT0 TT      CB"}));
    for (int bank = 0; bank < 4; ++bank) {
        const AorSearchBank now = emulator.SearchBank(bank);
        EXPECT_EQ(now.settings.bandwidth, held[bank].settings.bandwidth) << bank;
        EXPECT_EQ(now.settings.attenuator, held[bank].settings.attenuator) << bank;
        EXPECT_EQ(now.lowerHz, held[bank].lowerHz) << bank;
    }
}

// A label edited by hand goes to the set in the characters its text takes, every other one a
// blank: no CR, LF or control byte reaches the line, and the panel keeps the label it has,
// read back too.
TEST_F(Ar5000OnAir, ALabelGoesToTheSetInTheCharactersItsTextTakes) {
    NoteMessages();
    SetRefusals refusals(emulator);
    panel.ChannelAt(0, 0) = Record(1'455'000, 'F', 0, kUnsendableLabel);
    panel.SearchBanks[0] = {.Lower = 1'440'000,
                            .Upper = 1'460'000,
                            .Step = 250,
                            .Mode = 'F',
                            .Label = kUnsendableLabel};
    panel.WriteCurrentBank();

    const std::string sent = " " + kSentLabel;  // right-aligned in eight
    const Strings channels = LinesStartingWith(Lines(), "MX");
    ASSERT_EQ(channels.size(), 1u);
    EXPECT_TRUE(channels[0].ends_with(" TM" + sent)) << channels[0];
    const Strings banks = LinesStartingWith(Lines(), "SE");
    ASSERT_EQ(banks.size(), 1u);
    EXPECT_TRUE(banks[0].ends_with(" TT" + sent)) << banks[0];
    EXPECT_EQ(refusals.Count(), 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(emulator.Channel(0, 0).label, sent);
    EXPECT_EQ(panel.ChannelAt(0, 0).Label, kUnsendableLabel);
    EXPECT_EQ(panel.SearchBanks[0].Label, kUnsendableLabel);
    panel.WholeMemory = true;
    panel.ReadAllBanks();
    EXPECT_EQ(panel.ChannelAt(0, 0).Label, kUnsendableLabel);
    EXPECT_EQ(panel.SearchBanks[0].Label, kUnsendableLabel);
    // Another channel stored there on the set since has the set's label.
    emulator.SetChannel(0, 0, AorChannel{433'920'000, AorSettings{}, sent, false, false});
    EXPECT_TRUE(panel.ReadChannel(0, 0));
    EXPECT_EQ(panel.ChannelAt(0, 0).Label, "AB");
}

// A hand-edited state file read at the start, then a write of the current bank with its
// search bank: each step goes to the set as its line takes it, the set refuses nothing, the
// channel without faults goes as it was, and the close writes what was read, the same again
// after another start.
TEST_F(Ar5000OnAir, AHandEditedStateFileSendsTheSetOnlyWhatItsLinesTake) {
    StampedAt7March2001 clock;
    NoteMessages();
    const std::string path = folder.Dir() + "AR5000.001";
    state.OptRecvSave = 1;
    panel.Destroy();
    const uint32_t step = state.Step;
    WriteBytes(path, HandEditedFile("Шаг=-5", {"SFN=1460000", "SFK=1440000", "SF_STEP=0",
                                               "SF_ID=" + kHundredCharacters, "SF_MOD=F"}));
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(state.Step, step);

    SetRefusals refusals(emulator);
    panel.WriteCurrentBank();
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
    EXPECT_EQ(refusals.Count(), 0);
    EXPECT_TRUE(messages.empty());
    const Strings lines = Lines();
    Strings channels, banks;
    for (const std::string& line : lines) {
        if (line.starts_with("MX")) channels.push_back(line);
        if (line.starts_with("SE")) banks.push_back(line);
    }
    ASSERT_EQ(channels.size(), 3u);
    ExpectStepsTheSetTakes(channels);
    EXPECT_EQ(emulator.Channel(0, 0).label, "XXXXXXXX");
    EXPECT_EQ(emulator.Channel(0, 1).settings.stepHz, 100u);
    EXPECT_EQ(emulator.Channel(0, 2).settings.stepHz, 5'000u);
    EXPECT_EQ(emulator.Channel(0, 2).label, "    KEEP");
    ASSERT_EQ(banks.size(), 1u);
    ExpectStepsTheSetTakes(banks);
    EXPECT_EQ(emulator.SearchBank(0).lowerHz, 144'000'000u);
    EXPECT_EQ(emulator.SearchBank(0).upperHz, 146'000'000u);
    EXPECT_EQ(emulator.SearchBank(0).label, "XXXXXXXX");

    panel.Destroy();
    const std::string written = ReadBytes(path);
    const std::string text = Cp1251ToUtf8(written);
    EXPECT_NE(text.find("F=1455000\r\nF_STEP=1\r\nF_ID=XXXXXXXX\r\nF_MOD=F\r\nF=1188000\r\n"
                        "F_STEP=1\r\nF_MOD=A\r\nF=4339200\r\nF_STEP=50\r\nF_ID=KEEP\r\n"),
              std::string::npos)
        << text.substr(0, 2000);
    EXPECT_NE(text.find("SFN=1440000\r\nSFK=1460000\r\nSF_STEP=1\r\nSF_ID=XXXXXXXX\r\n"),
              std::string::npos);
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.Destroy();
    EXPECT_EQ(ReadBytes(path), written);
}

TEST_F(Ar5000OnAir, ReadingAllBanksTakesTheReceiversMemoryAndItsSearchBanks) {
    emulator.SetChannel(
        0, 2, AorChannel{145'500'000, AorSettings{12'500, '0', '5', '1'}, "NARROW W", true, true});
    emulator.SetChannel(
        0, 4, AorChannel{127'500'000, AorSettings{25'000, '1', '2', 'F'}, "  TOWER", false, false});
    emulator.SetChannel(9, 99, AorChannel{2'600'000'000, AorSettings{}, "", false, false});
    emulator.SetSearchBank(
        19, AorSearchBank{118'000'000, 137'000'000, AorSettings{25'000, '1', '3', '0'}, "AIR"});
    // What the panel had where the receiver has nothing goes; a bank the receiver does not
    // answer for is not asked here.
    panel.ChannelAt(0, 3) = Record(1'000'000, 'F', 0, "GONE");
    panel.SearchBanks[4].Lower = panel.SearchBanks[4].Upper = 1'000'000;
    panel.WholeMemory = true;
    Operate(panel.cb_2, ui::EventId::Click);

    EXPECT_TRUE(panel.ChannelAt(0, 3).Empty());
    const MemoryChannel& narrow = panel.ChannelAt(0, 2);
    EXPECT_EQ(narrow.Frequency, 1'455'000u);
    EXPECT_EQ(narrow.Modulation, 'W');
    EXPECT_EQ(narrow.Filter, 1);
    EXPECT_EQ(narrow.Label, "NARROW W");
    EXPECT_TRUE(narrow.Select);
    EXPECT_TRUE(narrow.Skip);
    EXPECT_TRUE(narrow.Attenuator);
    EXPECT_EQ(narrow.AttenuatorDb, 10u);
    EXPECT_EQ(narrow.Level, 127);
    const MemoryChannel& tower = panel.ChannelAt(0, 4);
    EXPECT_EQ(tower.Modulation, 'A');
    EXPECT_EQ(tower.Filter, 1);
    EXPECT_EQ(tower.Label, "TOWER");
    EXPECT_EQ(tower.Step, 250u);
    EXPECT_EQ(tower.AttenuatorDb, 255u);
    EXPECT_EQ(panel.ChannelAt(9, 99).Frequency, AR5000::kUpperLimit);
    EXPECT_EQ(panel.SearchBanks[19].Lower, 1'180'000u);
    EXPECT_EQ(panel.SearchBanks[19].Upper, 1'370'000u);
    EXPECT_EQ(panel.SearchBanks[19].Label, "AIR");
    EXPECT_TRUE(panel.SearchBanks[4].Empty());

    const Strings lines = Lines();
    for (const char* line : {"MR000", "MR999", "SR00", "SR19"})
        EXPECT_EQ(Count(lines, line), 1) << line;
    EXPECT_EQ(Count(lines, "LC0"), 1);
    EXPECT_EQ(lines.front(), "LM");  // the receiver is there
    // Its level once before each bank, and each channel's that holds something.
    EXPECT_EQ(Count(lines, "LM"), AR5000::kBanks + 3);
}

TEST_F(Ar5000OnAir, ClearingTheWholeMemoryWithDirectWritingClearsTheReceiversBanks) {
    emulator.SetChannel(4, 4, AorChannel{145'500'000, AorSettings{}, "", false, false});
    panel.ChannelAt(7, 1) = Record(1'455'000, 'F', 0, "");
    panel.DirectWrite = panel.WholeMemory = true;
    panel.ClearBanks();
    const Strings lines = Lines();
    for (int bank = 0; bank < 10; ++bank)
        EXPECT_EQ(Count(lines, "MQ%%" + std::to_string(bank)), 1) << bank;
    EXPECT_TRUE(emulator.Channel(4, 4).Empty());
    EXPECT_TRUE(panel.ChannelAt(7, 1).Empty());
}

TEST_F(Ar5000OnAir, ATransferStoppedByASilentReceiverStillEndsAndUnlocks) {
    emulator.SetSilent(true);
    JobStr line;
    state.JobLine = &line;
    state.JobRunning = 1;
    panel.ReadCurrentBank();
    EXPECT_EQ(line.Message, "Ошибка обращения к приемнику(выключен)");
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
    EXPECT_EQ(main.Count(PostShowWait), 1);
    EXPECT_EQ(main.Count(PostScanStoppedByPanel), 1);
    EXPECT_FALSE(panel.PanelBusy);
    EXPECT_EQ(Lines(), (Strings{"LM"}));
    state.JobLine = nullptr;
}

// The set lost part-way through a read of its whole memory into a panel that holds it already
// (it falls silent, as one unplugged): cut at a channel's probe, its read, its flags or its
// level, or at a search bank, every channel and search bank keeps what the panel had, and the
// read stops there and says so once.
TEST_F(Ar5000OnAir, AReadCutByALostSetKeepsEverythingThePanelHad) {
    NoteMessages();
    const AorChannel held[] = {
        {145'500'000, AorSettings{12'500, '0', '5', '1'}, "NARROW W", true, true},
        {127'500'000, AorSettings{25'000, '1', '2', 'F'}, "  TOWER", false, false},
        {433'920'000, AorSettings{}, "UHF", false, true}};
    for (int channel = 3; channel < 6; ++channel) {
        emulator.SetChannel(2, channel, held[channel - 3]);
        panel.ChannelAt(2, channel) = Record(1'000'000, 'F', 0, "OLD");
    }
    emulator.SetSearchBank(
        4, AorSearchBank{118'000'000, 137'000'000, AorSettings{25'000, '1', '3', '0'}, "AIR"});
    panel.WholeMemory = true;
    panel.ReadAllBanks();
    ASSERT_TRUE(messages.empty());
    ASSERT_EQ(panel.ChannelAt(2, 4).Label, "TOWER");
    const std::vector<MemoryChannel> channels = panel.Channels;
    const auto searchBanks = panel.SearchBanks;
    const Strings whole = Lines();
    std::vector<std::size_t> cuts;
    const auto at = [&](const std::string& line) {
        const auto found = std::find(whole.begin(), whole.end(), line);
        EXPECT_NE(found, whole.end()) << line;
        return static_cast<std::size_t>(found - whole.begin());
    };
    // The probe, "MR", "RX", the flags and the level of channel 2/04.
    for (const std::size_t offset : {0, 1, 2, 3, 6}) cuts.push_back(at("MR204") - 1 + offset);
    cuts.push_back(at("SR04"));
    for (const std::size_t cut : cuts) {
        SCOPED_TRACE(cut);
        messages.clear();
        emulator.SetSilent(false);
        emulator.SetSilentAfter(cut);
        emulator.ClearReceivedLines();
        const int64_t started = ui::Clock::NowMs();
        panel.ReadAllBanks();
        // Found at once: a wait or three at the cut, not one for every channel left.
        EXPECT_LT(ui::Clock::NowMs() - started, 5'000);
        EXPECT_LT(Lines().size(), whole.size());
        EXPECT_EQ(messages, Strings{"Ошибка обращения к приемнику(выключен)"});
        EXPECT_EQ(panel.Channels, channels);
        EXPECT_EQ(panel.SearchBanks, searchBanks);
    }
}

// A search bank the receiver does not answer for keeps what the panel has; only the
// receiver saying it is empty clears it.
TEST_F(Ar5000OnAir, ASearchBankIsClearedOnlyByAnEmptyAnswer) {
    panel.SearchBanks[3].Lower = panel.SearchBanks[3].Upper = 1'000'000;
    emulator.SetSilent(true);
    EXPECT_FALSE(panel.ReadSearchBank(3));
    EXPECT_EQ(panel.SearchBanks[3].Lower, 1'000'000u);
    emulator.SetSilent(false);
    EXPECT_TRUE(panel.ReadSearchBank(3));
    EXPECT_TRUE(panel.SearchBanks[3].Empty());
}

TEST_F(Ar5000OnAir, ADirectEditOfAChannelGoesIntoTheReceiver) {
    emulator.SetChannel(0, 0, AorChannel{145'500'000, AorSettings{}, "BEFORE", false, false});
    panel.DirectWrite = true;
    Operate(panel.comment, ui::EventId::Change, 0, "AFTERWARDS");
    EXPECT_EQ(emulator.Channel(0, 0).label, "AFTERWAR");
    EXPECT_EQ(panel.ChannelAt(0, 0).Frequency, 1'455'000u);
    EXPECT_EQ(panel.lv_1->Cell(0, 5), "AFTERWAR");

    // Without direct writing only the panel's copy changes.
    panel.DirectWrite = false;
    emulator.ClearReceivedLines();
    Operate(panel.textb_1, ui::EventId::Change, 0, "433,92");
    EXPECT_EQ(panel.ChannelAt(0, 0).Frequency, 4'339'200u);
    EXPECT_TRUE(Lines().empty());
    // Below the receiver's range the channel keeps its frequency; 0 switches it off.
    Operate(panel.textb_1, ui::EventId::Change, 0, "0.005");
    EXPECT_EQ(panel.ChannelAt(0, 0).Frequency, 4'339'200u);
    Operate(panel.textb_1, ui::EventId::Change, 0, "0");
    EXPECT_TRUE(panel.ChannelAt(0, 0).Empty());
    EXPECT_EQ(panel.lv_1->Cell(0, 0), "выкл");
}

// With direct writing an edit that the receiver refuses is told as a bank write tells it, and
// the channel and its row keep what the receiver holds.
TEST_F(Ar5000OnAir, AnEditTheReceiverRefusesIsToldAndTheChannelKeepsWhatItHolds) {
    NoteMessages();
    emulator.SetChannel(0, 0, AorChannel{145'500'000, AorSettings{}, "BEFORE", false, false});
    panel.DirectWrite = true;
    emulator.SetRefused({"MX"});
    Operate(panel.comment, ui::EventId::Change, 0, "AFTER");
    EXPECT_EQ(messages, Strings{"Не записано в приемник каналов: 1 (первый: банк 0, канал 0)"});
    EXPECT_EQ(panel.ChannelAt(0, 0).Label, "BEFORE");
    EXPECT_EQ(panel.ChannelAt(0, 0).Frequency, 1'455'000u);
    EXPECT_EQ(panel.lv_1->Cell(0, 5), "BEFORE");
    EXPECT_EQ(panel.comment->Text(), "BEFORE");
    EXPECT_EQ(emulator.Channel(0, 0).label, "BEFORE  ");

    // So is a clear the receiver refuses: the row keeps the receiver's channel.
    messages.clear();
    emulator.SetRefused({"MQ"});
    Operate(panel.textb_1, ui::EventId::Change, 0, "0");
    EXPECT_EQ(messages, Strings{"Не записано в приемник каналов: 1 (первый: банк 0, канал 0)"});
    EXPECT_EQ(panel.ChannelAt(0, 0).Frequency, 1'455'000u);
    EXPECT_FALSE(emulator.Channel(0, 0).Empty());
}

TEST_F(Ar5000OnAir, TheScanModeDialogSendsTheBankLinksOfTheScanKind) {
    Operate(panel.pictbttn_6, ui::EventId::Click);
    ASSERT_TRUE(ServeUntil([&] { return panel.ScanDialog() && panel.ScanDialog()->HasWindow(); }));
    RAR5000& dialog = *panel.ScanDialog();
    dialog.bankscan->SetChecked(true);
    Operate(dialog.bankscan, ui::EventId::Click);
    EXPECT_EQ(panel.ScanSettings.kind, AorScanSettings::Kind::MemoryBanks);
    for (const int bank : {0, 3}) {
        dialog.memoryBoxes[static_cast<std::size_t>(bank)]->SetChecked(true);
        Operate(dialog.memoryBoxes[static_cast<std::size_t>(bank)], ui::EventId::Click);
    }
    const Strings lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(Strings(lines.end() - 2, lines.end()), (Strings{"BM%%", "BM0 3 "}));
    EXPECT_EQ(emulator.State().memoryLinks[3], true);
    EXPECT_EQ(panel.ScanSettings.MemoryLinks, "0 3 ");

    // Thresholds go to the scan of the kind chosen.
    Operate(dialog.value, ui::EventId::Change, 4);
    EXPECT_EQ(Lines().back(), "XB064");

    // A search takes the search banks' links in their place, cleared first as well.
    dialog.diapscan->SetChecked(true);
    Operate(dialog.diapscan, ui::EventId::Click);
    for (const int bank : {2, 15}) {
        dialog.searchBoxes[static_cast<std::size_t>(bank)]->SetChecked(true);
        Operate(dialog.searchBoxes[static_cast<std::size_t>(bank)], ui::EventId::Click);
    }
    const Strings search = Lines();
    EXPECT_EQ(Strings(search.end() - 2, search.end()), (Strings{"BS%%", "BS02 15 "}));
    EXPECT_TRUE(emulator.State().searchLinks[15]);
    EXPECT_EQ(panel.ScanSettings.SearchLinks, "02 15 ");
    Operate(dialog.value, ui::EventId::Change, 4);
    EXPECT_EQ(Lines().back(), "SB064");
}

// The scan-mode dialog shows what the set was told. Its AUTO box is the set's AS setting: once
// ticked ("AS1") it stays ticked whichever scan kind is chosen after, and the next click
// sends "AS0"; one the set refuses goes back to what the set holds and is told. A pause or a
// delay beyond its field goes out held to it, and the field shows what went out.
TEST_F(Ar5000OnAir, TheScanModeDialogShowsWhatTheSetWasTold) {
    NoteMessages();
    Operate(panel.pictbttn_6, ui::EventId::Click);
    ASSERT_TRUE(ServeUntil([&] { return panel.ScanDialog() && panel.ScanDialog()->HasWindow(); }));
    RAR5000& dialog = *panel.ScanDialog();
    const auto click = [](ui::CheckBox* box, bool ticked) {
        box->SetChecked(ticked);
        Operate(box, ui::EventId::Click);
    };
    const auto choose = [](ui::OptionButton* option) {
        option->SetChecked(true);
        Operate(option, ui::EventId::Click);
    };
    click(dialog.AUTO, true);
    EXPECT_EQ(Lines().back(), "AS1");
    choose(dialog.bankscan);
    EXPECT_TRUE(dialog.AUTO->IsChecked());
    choose(dialog.VFOscan);
    EXPECT_TRUE(dialog.AUTO->IsChecked());
    click(dialog.AUTO, false);
    EXPECT_EQ(Lines().back(), "AS0");
    EXPECT_EQ(emulator.State().autoStore, '0');
    EXPECT_TRUE(messages.empty());

    emulator.SetRefused({"AS"});
    click(dialog.AUTO, true);
    EXPECT_FALSE(dialog.AUTO->IsChecked());
    EXPECT_EQ(messages, Strings{"Ошибка обращения к приемнику(выключен)"});
    choose(dialog.diapscan);
    EXPECT_FALSE(dialog.AUTO->IsChecked());

    choose(dialog.bankscan);
    dialog.textb_1->SetText("75");
    Operate(dialog.textb_1, ui::EventId::Change, 0, "75");
    EXPECT_EQ(Lines().back(), "XP60");
    EXPECT_EQ(dialog.textb_1->Text(), "60");
    click(dialog.delay, true);
    dialog.textb_3->SetText("12");
    Operate(dialog.textb_3, ui::EventId::Change, 0, "12");
    EXPECT_EQ(Lines().back(), "XD99");
    EXPECT_EQ(dialog.textb_3->Text(), "9.9");
    dialog.Refresh();
    EXPECT_EQ(dialog.textb_1->Text(), "60");
    EXPECT_EQ(dialog.textb_3->Text(), "9.9");
}

TEST_F(Ar5000OnAir, TheExtraFunctionsDialogShowsTheReceiversSettingsAndSendsEachChange) {
    ASSERT_TRUE(panel.SendText("CW5"));
    RunJob(738);
    ASSERT_TRUE(
        ServeUntil([&] { return panel.ExtraDialog() && panel.ExtraDialog()->HasWindow(); }));
    PAR5000& dialog = *panel.ExtraDialog();
    EXPECT_EQ(dialog.cw_pitch->SelectedIndex(), 5);
    // A right click runs the operator's macro, as on the panel.
    ui::EventData rightClick;
    rightClick.id = ui::EventId::RightButtonUp;
    dialog.Raise(rightClick);
    ui::ServePending();
    EXPECT_EQ(main.Count(PostRunMacro), 1);
    emulator.ClearReceivedLines();
    Operate(dialog.cw_pitch, ui::EventId::Select, 2);
    // One line, and no empty line after it that the set would answer on its own.
    EXPECT_EQ(Lines(), (Strings{"CW2"}));
    EXPECT_EQ(emulator.State().cwPitch, '2');

    // A narrow choice is taken back by a second click.
    dialog.Wnar->SetChecked(true);
    Operate(dialog.Wnar, ui::EventId::Click);
    EXPECT_TRUE(panel.Wnar);
    Operate(dialog.Wnar, ui::EventId::Click);
    EXPECT_FALSE(panel.Wnar);
    EXPECT_FALSE(dialog.Wnar->IsChecked());
}

}  // namespace
