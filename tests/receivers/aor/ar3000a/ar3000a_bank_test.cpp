// The AR3000A's memory against the emulated receiver: channels written and read, the banks'
// transfers and their ends, channels selected and stored, bank items; and the state file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "state/cp1251.h"
#include "state/message_bus.h"
#include "tests/receivers/aor/ar3000a/ar3000a_fixture.h"
#include "tests/receivers/receiver_files.h"
#include "tests/receivers/state_file_runs.h"

namespace {

using emulators::Ar3000aChannel;
using Strings = std::vector<std::string>;

MemoryChannel Record(int number, uint32_t frequency, uint32_t step, char mode, bool attenuator) {
    MemoryChannel c = AR3000A::kChannelLayout.Empty(number);
    c.Frequency = frequency;
    c.Step = step;
    c.Modulation = mode;
    c.Attenuator = attenuator;
    return c;
}

// The text of an edit box as the operator leaves it.
void Type(ui::Edit* box, const std::string& text) {
    ui::EventData e;
    e.id = ui::EventId::Change;
    e.text = text;
    box->Raise(e);
}

int Count(const Strings& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

TEST_F(Ar3000aOnAir, WritingAChannelSendsItsStepAttenuatorFrequencyAndMode) {
    MemoryChannel& channel = panel.ChannelAt(0, 5);
    channel = Record(5, 1'455'000, 125, 'F', false);
    EXPECT_TRUE(panel.WriteChannel(0, 5));
    channel.Attenuator = true;
    EXPECT_TRUE(panel.WriteChannel(0, 5));
    EXPECT_TRUE(panel.WriteChannel(0, 7));  // empty: nothing goes out
    EXPECT_EQ(Lines(), (Strings{"05M12.500ST145.5000F", "05M12.500SR145.5000F"}));
    EXPECT_EQ(emulator.Channel(0, 5), (Ar3000aChannel{145'500'000, 12'500, 'F', true}));
}

// The walk over a bank probes the receiver before each channel; a channel the receiver holds
// empty (or answers for another channel) is empty in the panel, whatever it held before. The
// level read after each channel belongs to the channel's own frequency.
TEST_F(Ar3000aOnAir, ReadingABankGivesTheReceiversMemoryAndItsLevels) {
    emulator.SetChannel(1, 0, {145'500'000, 12'500, 'F', false});
    emulator.SetChannel(1, 42, {433'920'000, 25'000, 'A', true});
    emulator.SetChannel(1, 99, {1'999'999'900, 5'000, 'C', false});
    emulator.SetChannel(0, 1, {101'700'000, 100'000, 'W', false});  // another bank
    panel.CurrentBank = 1;
    panel.BankPositions[1] = 42;
    panel.ChannelAt(1, 7) = Record(7, 1'017'000, 1000, 'W', false);
    panel.ReadBanks();

    EXPECT_EQ(panel.ChannelAt(1, 0), ([] {
                  MemoryChannel c = Record(0, 1'455'000, 125, 'F', false);
                  c.Level = 240;
                  return c;
              }()));
    EXPECT_EQ(panel.ChannelAt(1, 42).Level, 96);
    EXPECT_TRUE(panel.ChannelAt(1, 42).Attenuator);
    EXPECT_EQ(panel.ChannelAt(1, 99).Frequency, 19'999'999u);
    EXPECT_EQ(panel.ChannelAt(1, 99).Modulation, 'C');
    EXPECT_TRUE(panel.ChannelAt(1, 7).Empty());
    EXPECT_TRUE(panel.ChannelAt(0, 1).Empty());
    EXPECT_EQ(panel.Scale.At(1'455'000), 240);
    EXPECT_EQ(panel.Scale.At(4'339'200), 96);

    const Strings lines = Lines();
    EXPECT_EQ(Count(lines, "Y"), 1 + 100 + 3 + 1);  // probes, levels of three, the last read
    // The receiver's bank is selected first: it may stand on another one.
    EXPECT_EQ(Strings(lines.begin(), lines.begin() + 6), (Strings{"Y", "2X", "Y", "0Z", "Y", "Y"}));
    EXPECT_EQ(Strings(lines.end() - 2, lines.end()), (Strings{"42Z", "Y"}));
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
    EXPECT_EQ(main.Count(PostShowWait), 1);
    EXPECT_EQ(main.Count(PostScanStartedByPanel), 1);
    EXPECT_EQ(main.Count(PostScanStoppedByPanel), 1);
    EXPECT_EQ(state.PanelStatusText, "Чтение банка N 2");
    EXPECT_TRUE(messages.empty());
}

// The set lost part-way through a read into a panel that holds its channels already (it falls
// silent, as one unplugged): cut at a channel's query or at the level after it, every channel
// keeps what the panel had, and the read stops there and says so once.
TEST_F(Ar3000aOnAir, AReadCutByALostSetKeepsEveryChannelThePanelHad) {
    for (int channel = 0; channel < 10; ++channel) {
        const uint32_t frequency = 1'000'000 + uint32_t(channel) * 10'000;
        panel.ChannelAt(0, channel) = Record(channel, frequency, 250, "FWALUC"[channel % 6], false);
        emulator.SetChannel(0, channel,
                            {uint64_t(frequency) * 100, 25'000, "FWALUC"[channel % 6], false});
    }
    panel.WholeMemory = true;
    RunJob(115);
    ASSERT_TRUE(messages.empty());
    const auto channels = panel.Channels;
    const Strings whole = Lines();
    const auto query = std::find(whole.begin(), whole.end(), "5Z");
    ASSERT_NE(query, whole.end());
    const auto at = static_cast<std::size_t>(query - whole.begin());
    for (const std::size_t cut : {at - 1, at, at + 1}) {  // its probe, its query, its level
        SCOPED_TRACE(cut);
        emulator.SetSilent(false);
        emulator.SetSilentAfter(cut);
        emulator.ClearReceivedLines();
        messages.clear();
        const int64_t started = ui::Clock::NowMs();
        panel.ReadBanks();
        // Found at once: a wait or three at the cut, not one for every channel left.
        EXPECT_LT(ui::Clock::NowMs() - started, 5'000);
        EXPECT_EQ(messages, Strings{"Ошибка обращения к приемнику(выключен)"});
        EXPECT_LT(Lines().size(), whole.size());
        for (std::size_t i = 0; i < channels.size(); ++i) {
            const MemoryChannel& read = panel.Channels[i];
            EXPECT_EQ(read.Frequency, channels[i].Frequency) << i;
            EXPECT_EQ(read.Step, channels[i].Step) << i;
            EXPECT_EQ(read.Modulation, channels[i].Modulation) << i;
        }
    }

    // Answers garbled while the set answers its probes: those channels keep what the panel
    // had and are told once, as channels not read; the others take the set's.
    emulator.SetSilent(false);
    emulator.SetGarbled({"Z"}, 7);
    for (int channel = 0; channel < 10; ++channel)
        emulator.SetChannel(0, channel, {433'920'000, 25'000, 'A', false});
    const JobStr line = RunJob(115);
    EXPECT_EQ(line.ReturnCode, 1u);
    EXPECT_EQ(line.Message, "Не прочитано из приемника каналов: 7 (первый: банк 1, канал 0)");
    for (int channel = 0; channel < 10; ++channel)
        EXPECT_EQ(panel.ChannelAt(0, channel).Frequency,
                  channel < 7 ? channels[std::size_t(channel)].Frequency : 4'339'200u)
            << channel;
}

TEST_F(Ar3000aOnAir, TheWholeMemoryIsWrittenBankByBankAndReadsBackTheSame) {
    panel.WholeMemory = true;
    panel.CurrentBank = 2;
    for (int bank = 0; bank < AR3000A::kBanks; ++bank)
        panel.ChannelAt(bank, 10 + bank) =
            Record(10 + bank, 1'000'000 + uint32_t(bank) * 10'000, 250, "FWALUC"[bank], bank % 2);
    RunJob(116);
    for (int bank = 0; bank < AR3000A::kBanks; ++bank) {
        const Ar3000aChannel channel = emulator.Channel(bank, 10 + bank);
        EXPECT_EQ(channel.frequencyHz, 100'000'000u + uint64_t(bank) * 1'000'000) << bank;
        EXPECT_EQ(channel.mode, "FWALUC"[bank]);
        EXPECT_EQ(channel.attenuator, bank % 2 == 1);
    }
    const Strings written = Lines();
    EXPECT_EQ(Strings(written.end() - 3, written.end()), (Strings{"Y", "3X", "0Z"}));
    EXPECT_EQ(Count(written, "1X") + Count(written, "2X") + Count(written, "4X"), 3);
    EXPECT_EQ(Count(written, "Y"), 4 + 400);

    const auto copy = panel.Channels;
    panel.Channels.fill(AR3000A::kChannelLayout.Empty(0));
    RunJob(115);
    for (int bank = 0; bank < AR3000A::kBanks; ++bank)
        for (int channel = 0; channel < AR3000A::kChannels; ++channel) {
            const MemoryChannel& read = panel.ChannelAt(bank, channel);
            const MemoryChannel& was = copy[size_t(bank * 100 + channel)];
            EXPECT_EQ(read.Frequency, was.Frequency);
            EXPECT_EQ(read.Step, was.Step);
            EXPECT_EQ(read.Modulation, was.Modulation);
            EXPECT_EQ(read.Attenuator, was.Attenuator);
        }
    EXPECT_EQ(state.PanelStatusText, "Чтение банков приемника");
}

TEST_F(Ar3000aOnAir, ASilentReceiverEndsTheTransferWithOneMessage) {
    emulator.SetSilent(true);
    const JobStr line = RunJob(115);
    EXPECT_EQ(line.ReturnCode, 1u);
    EXPECT_EQ(line.Message, "Ошибка обращения к приемнику(выключен)");
    EXPECT_EQ(Lines(), (Strings{"Y"}));  // the probe of the transfer
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
    EXPECT_EQ(main.Count(PostScanStoppedByPanel), 1);
    EXPECT_FALSE(panel.PanelBusy);
}

// Without the direct-write box a selected channel is applied to the receiver; with it the
// channel is read from the receiver first, and what it holds is applied the same way.
TEST_F(Ar3000aOnAir, ASelectedChannelTunesTheReceiverOrIsReadFromIt) {
    panel.ChannelAt(0, 3) = Record(3, 1'455'000, 125, 'A', true);
    RunJob(127, 3);
    EXPECT_EQ(Lines(), (Strings{"145.5000", " 12.5S", "R", "a", "Y"}));
    EXPECT_EQ(state.Modulation, 'A');
    EXPECT_EQ(state.Attenuator, 1);
    EXPECT_EQ(panel.ChannelAt(0, 3).Level, 240);
    EXPECT_EQ(panel.lv_1->Cell(3, 3), "240");

    emulator.SetChannel(2, 8, {433'920'000, 25'000, 'C', false});
    emulator.ClearReceivedLines();
    RunJob(120, 1);  // direct write: the receiver's bank and its selected channel
    RunJob(113);
    RunJob(127, 8);
    EXPECT_EQ(Lines(),
              (Strings{"1X", "3Z", "3X", "0Z", "8Z", "Y", "433.9200", " 25.0S", "T", "c", "Y"}));
    EXPECT_EQ(state.Frequency, 4'339'200u);
    EXPECT_EQ(state.Modulation, 'C');
    EXPECT_EQ(state.Step, 250u);
    EXPECT_EQ(panel.ChannelAt(2, 8).Frequency, 4'339'200u);
    EXPECT_EQ(panel.ChannelAt(2, 8).Level, 96);
    EXPECT_EQ(panel.lv_1->Cell(8, 3), "96");
    EXPECT_EQ(panel.width->Text(), "2.4");

    // Storing the program state into the selected channel writes it with the direct-write box.
    state.Frequency = 1'017'000;
    state.Modulation = 'W';
    state.Step = 1000;
    state.Attenuator = 0;
    emulator.ClearReceivedLines();
    RunJob(117);
    EXPECT_EQ(Lines(), (Strings{"08M100.000ST101.7000W"}));
    EXPECT_EQ(emulator.Channel(2, 8).frequencyHz, 101'700'000u);
}

// After a transfer the receiver's current bank is selected again and its selected channel
// read back; only with the direct-write box do the channel and the program state take it.
// Either way the captions show the mode the set reported.
TEST_F(Ar3000aOnAir, TheChannelReadBackAfterATransferIsTakenOnlyWithDirectWrite) {
    emulator.SetChannel(0, 4, {101'700'000, 100'000, 'W', false});
    panel.BankPositions[0] = 4;
    state.Frequency = 1'455'000;
    state.Modulation = 'F';
    panel.ChannelAt(0, 4) = Record(4, 1'017'000, 1000, 'W', false);
    panel.ChannelAt(0, 4).Level = 7;
    ASSERT_TRUE(panel.SetMode());
    ASSERT_EQ(panel.width->Text(), "12.0");
    emulator.SetChannel(0, 4, {433'920'000, 25'000, 'A', true});
    panel.ChannelAt(0, 4).Modulation = 'W';
    panel.WholeMemory = true;
    emulator.ClearReceivedLines();
    RunJob(116);
    // The write puts the panel's channel back; the read-back finds it there.
    const Strings lines = Lines();
    EXPECT_EQ(Strings(lines.end() - 3, lines.end()), (Strings{"1X", "4Z", "Y"}));
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(state.Modulation, 'F');
    EXPECT_EQ(panel.ChannelAt(0, 4).Level, 7);
    EXPECT_EQ(panel.width->Text(), "180.0");

    emulator.SetChannel(0, 4, {433'920'000, 25'000, 'A', true});
    RunJob(120, 1);
    EXPECT_EQ(state.Frequency, 4'339'200u);
    EXPECT_EQ(state.Modulation, 'A');
    EXPECT_EQ(panel.ChannelAt(0, 4).Frequency, 4'339'200u);
    EXPECT_EQ(panel.width->Text(), "12.0");
}

// A channel the set refuses in a bank write ("?") is counted and told once, with the first
// of them; the others are written. With direct writing the read-back of the selected channel
// after the write takes nothing the set did not take.
TEST_F(Ar3000aOnAir, ChannelsTheSetRefusesInABankWriteAreCountedAndTold) {
    panel.CurrentBank = 1;
    panel.BankPositions[1] = 3;
    panel.DirectWrite = true;
    emulator.SetChannel(1, 3, {433'920'000, 25'000, 'A', false});
    panel.ChannelAt(1, 3) = Record(3, 1'455'000, 125, 'R', false);  // no such mode on the set
    panel.ChannelAt(1, 5) = Record(5, 1'455'000, 125, 'F', false);
    panel.ChannelAt(1, 9) = Record(9, 1'017'000, 125, 'R', false);
    const char* told = "Не записано в приемник каналов: 2 (первый: банк 2, канал 3)";
    const JobStr line = RunJob(116);
    EXPECT_EQ(line.Message, told);
    EXPECT_EQ(line.ReturnCode, 1u);
    EXPECT_EQ(emulator.Channel(1, 5).frequencyHz, 145'500'000u);
    EXPECT_EQ(emulator.Channel(1, 3).frequencyHz, 433'920'000u);
    EXPECT_EQ(panel.ChannelAt(1, 3).Frequency, 1'455'000u);
    // The operator's button shows it.
    ui::EventData click;
    click.id = ui::EventId::Click;
    panel.cb_1->Raise(click);
    EXPECT_EQ(messages, Strings{told});
}

// With direct writing a store the set refuses is told as a bank write tells it, from the button
// and from the job line (which fails), and the channel and its row keep what the set holds.
TEST_F(Ar3000aOnAir, AStoreTheSetRefusesIsToldAndTheChannelKeepsWhatItHolds) {
    emulator.SetChannel(2, 8, {433'920'000, 25'000, 'C', false});
    RunJob(120, 1);
    RunJob(113);
    RunJob(127, 8);
    const MemoryChannel held = panel.ChannelAt(2, 8);
    ASSERT_EQ(held.Frequency, 4'339'200u);
    state.Frequency = 1'017'000;
    state.Modulation = 'W';
    emulator.SetRefused({"08"});
    const Strings told{"Не записано в приемник каналов: 1 (первый: банк 3, канал 8)"};

    const JobStr line = RunJob(117);
    EXPECT_EQ(line.ReturnCode, 1u);
    EXPECT_EQ(line.Message, told[0]);
    EXPECT_EQ(panel.ChannelAt(2, 8), held);
    EXPECT_TRUE(messages.empty());
    ui::EventData click;
    click.id = ui::EventId::Click;
    panel.cb_3->Raise(click);
    EXPECT_EQ(messages, told);
    EXPECT_EQ(panel.ChannelAt(2, 8), held);
    EXPECT_EQ(panel.lv_1->Cell(8, 0), " 433.9200");

    emulator.SetRefused({});
    EXPECT_EQ(RunJob(117).ReturnCode, 0u);
    EXPECT_EQ(emulator.Channel(2, 8).frequencyHz, 101'700'000u);
    EXPECT_EQ(panel.lv_1->Cell(8, 0), " 101.7000");
}

// A mode or a step the set has not, from a bank item of another receiver or a state file, is
// not taken: the channel keeps the empty channel's mode and the nearest step the set has.
// Neither does a frequency typed into an empty channel take the program state's.
TEST_F(Ar3000aOnAir, ModesAndStepsTheSetHasNotAreNotTakenIn) {
    state.Channels.assign(2, Mt{});
    state.Channels[0].Frequency = 1'455'000;
    state.Channels[0].Modulation = 'R';
    state.Channels[0].Step = 20'000;
    state.Channels[1].Frequency = 1'455'000;
    state.Channels[1].Modulation = 'U';
    state.Channels[1].Step = 0;
    state.ChannelCount = 2;
    Post(PostItemLoaded);
    EXPECT_EQ(panel.ChannelAt(0, 0).Modulation, 'F');
    EXPECT_EQ(panel.ChannelAt(0, 0).Step, 9999u);
    EXPECT_EQ(panel.ChannelAt(0, 1).Modulation, 'U');
    EXPECT_EQ(panel.ChannelAt(0, 1).Step, 1u);
    EXPECT_EQ(panel.lv_1->Cell(0, 2), "F");

    state.Modulation = 'R';
    state.Step = 125;
    RunJob(127, 7);
    Type(panel.textb_1, "145.5");
    EXPECT_EQ(panel.ChannelAt(0, 7).Frequency, 1'455'000u);
    EXPECT_EQ(panel.ChannelAt(0, 7).Modulation, 'F');
}

// A frequency typed into an empty channel gives it the program state's step, mode and
// attenuator, and the boxes show them.
TEST_F(Ar3000aOnAir, TheBoxesFollowAFrequencyTypedIntoAnEmptyChannel) {
    state.Modulation = 'A';
    state.Step = 125;
    state.Attenuator = 1;
    RunJob(127, 12);
    ASSERT_EQ(panel.sstep->Text(), "  0.0");
    Type(panel.textb_1, "433.92");
    EXPECT_EQ(panel.ChannelAt(0, 12).Frequency, 4'339'200u);
    EXPECT_EQ(panel.sstep->Text(), " 12.5");
    EXPECT_EQ(panel.smod->StringAt(panel.smod->SelectedIndex()), "AM");
    EXPECT_TRUE(panel.satt->IsChecked());
    EXPECT_TRUE(panel.sstep->IsEnabled());
    EXPECT_EQ(panel.lv_1->Cell(12, 0), " 433.9200");
}

// A bank item takes the current bank's places, at most its 100; saving gives the working bank
// up to the last channel with a frequency, the empty ones in their places.
TEST_F(Ar3000aOnAir, BankItemsFillAtMostTheBankAndAreSavedUpToTheLastChannel) {
    state.Channels.assign(150, Mt{});
    for (int i = 0; i < 150; ++i) {
        state.Channels[size_t(i)].Frequency = 1'000'000 + uint32_t(i) * 125;
        state.Channels[size_t(i)].Modulation = 'A';
    }
    state.ChannelCount = 150;
    panel.CurrentBank = 3;
    Post(PostItemLoaded);
    EXPECT_EQ(panel.ChannelAt(3, 99).Frequency, 1'000'000u + 99 * 125);
    EXPECT_EQ(panel.ChannelAt(3, 99).Modulation, 'A');
    for (int bank = 0; bank < 3; ++bank) EXPECT_TRUE(panel.ChannelAt(bank, 0).Empty());

    Post(PostClearData);
    EXPECT_TRUE(panel.ChannelAt(3, 0).Empty());
    Post(PostSaveBank);
    EXPECT_EQ(messages, Strings{"Не задано ни одной частоты в банке для записи"});
    panel.ChannelAt(3, 99) = Record(99, 1'455'000, 125, 'F', false);
    Post(PostSaveBank);
    EXPECT_EQ(state.ChannelCount, 100);
    EXPECT_EQ(state.Channels[99].Frequency, 1'455'000u);
    EXPECT_EQ(state.Channels[0].Frequency, 0u);
    EXPECT_EQ(main.Count(PostSaveBank), 1);
}

// ---------------------------------------------------------------------------------------
// The state file

class Ar3000aStateFile : public StateFileRuns {
  protected:
    std::string Path() const { return PathOf("AR3000A"); }
};

TEST_F(Ar3000aStateFile, IsWrittenAsItsKeysSayAndReadBackByteForByte) {
    StampedAt7March2001 clock;
    AR3000A panel;
    ASSERT_TRUE(panel.Create(&main, &state));
    state.Frequency = 1'455'000;
    state.Step = 125;
    state.Modulation = 'F';
    state.Attenuator = 1;
    state.Sound = 1;
    panel.ViewStep = 1000;
    panel.ViewPosition = 1'400'000;
    panel.CurrentBank = 2;
    panel.BankPositions = {0, 99, 42, 7};
    panel.WholeMemory = true;
    panel.ChannelAt(0, 0) = Record(0, 1'455'000, 125, 'F', true);
    panel.ChannelAt(0, 0).Label = "Позывной";
    panel.ChannelAt(2, 42) = Record(42, 20'000'000, 9999, 'C', false);
    panel.ChannelAt(3, 99) = Record(99, 1000, 1, 'U', false);
    panel.Scale.SetCell(0, 7);
    panel.Scale.SetCell(14'550, 240);
    panel.Scale.SetCell(14'551, 240);
    panel.Scale.SetCell(200'000, 16);
    ASSERT_TRUE(panel.WriteStateFile());
    const std::string written = ReadBytes(Path());
    EXPECT_EQ(written, ReceiverGolden("aor/ar3000a", "AR3000A.001"));
    panel.Destroy();

    AR3000A again;
    ASSERT_TRUE(again.Create(&main, &fresh));
    EXPECT_TRUE(std::filesystem::exists(Path()));  // kept after loading
    EXPECT_EQ(again.ChannelAt(0, 0), panel.ChannelAt(0, 0));
    EXPECT_EQ(again.CurrentBank, 2);
    EXPECT_TRUE(again.optb_3->IsChecked());
    EXPECT_TRUE(again.catt->IsChecked());
    EXPECT_EQ(again.step->SelectedIndex(), 3);
    EXPECT_TRUE(again.WholeMemory);
    EXPECT_TRUE(again.pictb_1->IsChecked());
    ASSERT_TRUE(again.WriteStateFile());
    EXPECT_EQ(ReadBytes(Path()), written);
}

// Keys are compared whole, and numbers that pick a place are checked.
TEST_F(Ar3000aStateFile, KeysAreTakenWholeAndPlacesChecked) {
    WriteBytes(Path(), Cp1251Lines({"Шаг_просмотра=7", "Банк=4", "Позиция_Банк1=100",
                                    "Позиция_Банк2=9", "Позиция_Банк=5", "Позиция_Банк30=7",
                                    "Банк_поиска=3", "Аттенюатор=ДА", "Частот_Банков=400",
                                    "F=1455000", "F_QMOD=2", "F_SEL=+", "F_ATT=+", "F=999999999"}));
    AR3000A panel;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_EQ(panel.CurrentBank, 0);
    EXPECT_EQ(panel.BankPositions, (std::array<int32_t, 4>{0, 9, 0, 0}));
    EXPECT_EQ(state.Attenuator, 0);
    const MemoryChannel& first = panel.ChannelAt(0, 0);
    EXPECT_TRUE(first.Attenuator);
    EXPECT_EQ(first.Filter, 0);
    EXPECT_FALSE(first.Select);
    EXPECT_EQ(panel.ChannelAt(0, 1).Frequency, AR3000A::kUpperLimit);
    EXPECT_FALSE(panel.WholeMemory);
}

// A hand-edited file: a count that cannot be one reads the records there are, a number beyond
// its field is no number (a place of 4294967305 is not place 9), a step goes within the set's
// and a channel without one gets its lowest; written and read again, it comes back the same.
TEST_F(Ar3000aStateFile, NumbersBeyondTheirFieldsAreNoNumbersAndReadBackTheSame) {
    StampedAt7March2001 clock;
    WriteBytes(Path(), Cp1251Lines({"Позиция_Банк2=4294967305", "Частот_Банков=-3", "F=1455000",
                                    "F_STEP=99999999999", "F_MOD=F", "F=1188000", "F_MOD=A"}));
    AR3000A panel;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.BankPositions[1], 0);
    EXPECT_EQ(panel.ChannelAt(0, 0).Step, 1u);
    EXPECT_EQ(panel.ChannelAt(0, 1).Frequency, 1'188'000u);
    EXPECT_EQ(panel.ChannelAt(0, 1).Step, 1u);
    ASSERT_TRUE(panel.WriteStateFile());
    const std::string written = ReadBytes(Path());
    panel.Destroy();

    AR3000A again;
    ASSERT_TRUE(again.Create(&main, &fresh));
    EXPECT_EQ(again.ChannelAt(0, 1), panel.ChannelAt(0, 1));
    ASSERT_TRUE(again.WriteStateFile());
    EXPECT_EQ(ReadBytes(Path()), written);
}

// A view position beyond the upper limit is held to it as the file is read.
TEST_F(Ar3000aStateFile, TheViewPositionIsHeldToTheUpperLimit) {
    AR3000A panel;
    ASSERT_TRUE(panel.Create(&main, &state));
    WriteBytes(Path(), Cp1251Lines({"Позиция_просмотра=4000000000", "Память=ДА", "F_STEP=3"}));
    ASSERT_TRUE(panel.ReadStateFile());
    EXPECT_EQ(panel.ViewPosition, AR3000A::kUpperLimit);
    EXPECT_TRUE(panel.WholeMemory);
}

}  // namespace
