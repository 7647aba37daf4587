// The HF sets' memory against the emulated sets: each set's channel record both ways, the
// transfers of the 101 channels, editing a channel in direct write, and the exchange with the
// program's working bank.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "tests/receivers/icom/hf/hf_fixture.h"
#include "tests/support/operator_hand.h"

namespace {

using emulators::CivChannel;
using Texts = std::vector<std::string>;

std::string Format(const char* format, uint32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Channel i: 5 MHz + i kHz, AM normal.
void FillSet(emulators::CivEmulator& set) {
    for (int channel = 1; channel <= 101; ++channel)
        set.SetChannel(0, channel, At(5'000'000 + uint64_t(channel) * 1'000));
}

// "ABC" on 14.2 MHz, USB normal, selected.
MemoryChannel Abc() {
    MemoryChannel channel;
    channel.Frequency = 142'000;
    channel.Modulation = 'U';
    channel.Label = "ABC";
    channel.Select = true;
    channel.Step = 10;
    return channel;
}

// A name edited by hand: a letter beyond ASCII, a control byte.
const std::string kHandEditedName = "Ж1\x01Z";

// A name edited by hand goes to the set in the characters its name field takes, every other
// one a blank in its place, and the panel keeps the name it has, read back too: the
// IC-756PRO's ten, the IC-R75's eight.
TEST_F(Ic756OnAir, ANameGoesToTheSetInTheCharactersItsFieldTakes) {
    panel.Channels[0] = Abc();
    panel.Channels[0].Label = kHandEditedName;
    Click(panel.cb_1);
    EXPECT_EQ(emulator.Channel(0, 1).name, " 1 Z      ");
    EXPECT_EQ(panel.Channels[0].Label, kHandEditedName);
    Click(panel.cb_2);
    EXPECT_EQ(panel.Channels[0].Label, kHandEditedName);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Ic75OnAir, ANameGoesToTheSetInTheCharactersItsFieldTakes) {
    panel.Channels[0] = Abc();
    panel.Channels[0].Label = kHandEditedName;
    Click(panel.cb_1);
    EXPECT_EQ(emulator.Channel(0, 1).name, " 1 Z    ");
    EXPECT_EQ(panel.Channels[0].Label, kHandEditedName);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Ic756OnAir, TheReadButtonReadsEveryChannelIntoItsOwnEntry) {
    FillSet(emulator);
    state.Frequency = 100'000;
    Click(panel.cb_2);
    const Texts sent = Sent();
    ASSERT_GE(sent.size(), 404u);
    for (uint32_t n = 1; n <= 101; ++n) {
        const auto group = sent.begin() + 4 * (n - 1);
        EXPECT_EQ(Texts(group, group + 4),
                  (Texts{Format("08%04u", n), Format("1A00%04u", n), "1501", "1502"}));
        EXPECT_EQ(panel.Channels[n - 1].Frequency, 50'000 + n * 10) << n;
        EXPECT_EQ(panel.Channels[n - 1].Modulation, 'A');
    }
    // Then the set goes back to the program's frequency, out of its memory.
    EXPECT_EQ(sent[404].substr(0, 2), "05");
    EXPECT_FALSE(emulator.State().memoryMode);
    EXPECT_EQ(panel.lv_1->RowCount(), 101);
    EXPECT_EQ(panel.lv_1->Cell(1, 0), "   5.0020");
    EXPECT_TRUE(messages.empty());
}

// The select flag follows the channel number, the byte after the filter is the set's tone
// flags ("00"), the name ten characters filled with blanks; an empty channel is FF.
TEST_F(Ic756OnAir, AChannelGoesOutInTheSetsOwnLayout) {
    panel.Channels[0] = Abc();
    panel.Channels[1] = Abc();
    panel.Channels[1].Modulation = 'C';
    panel.Channels[1].Select = false;
    panel.Channels[1].Label = "Зал я";  // in code page 1251 "я" is FF: no frame byte goes out
    Click(panel.cb_1);
    const Texts sent = Sent();
    ASSERT_GE(sent.size(), 101u);
    EXPECT_EQ(sent[0],
              "1A000001"
              "01"
              "0000201400"
              "0102"
              "00"
              "000885000885"
              "41424320202020202020");
    EXPECT_EQ(sent[1].substr(38), "20202020202020202020");
    EXPECT_EQ(sent[2], "1A000003FF");
    EXPECT_TRUE(emulator.Channel(0, 1).Selected());
    EXPECT_EQ(emulator.Channel(0, 1).toneFlags, 0);
    EXPECT_EQ(emulator.Channel(0, 2).mode, emulators::kModeCwReverse);

    panel.Channels[0] = panel.Channels[1] = IC756::kChannelLayout.Empty(0);
    Click(panel.cb_2);
    EXPECT_TRUE(panel.Channels[0].Select);
    EXPECT_EQ(panel.Channels[0].Label, "ABC");
    EXPECT_EQ(panel.Channels[1].Modulation, 'C');
    EXPECT_FALSE(panel.Channels[1].Select);
}

// A set that stays silent is told once, and nothing it did not give is taken.
TEST_F(Ic756OnAir, ASilentSetEndsTheTransferAtOnce) {
    panel.Channels[4] = Abc();
    emulator.SetDead(true);
    Click(panel.cb_2);
    ServeUntil([&] { return main.Count(PostHideWait) == 1; });
    EXPECT_EQ(messages, (Texts{"Ошибка обращения к приемнику(выключен)"}));
    EXPECT_EQ(Sent(), (Texts{"080001"}));
    EXPECT_EQ(panel.Channels[4].Label, "ABC");
    EXPECT_FALSE(panel.PanelBusy);
}

// A memory reply carries what it carries: a record cut short gives the name bytes it has and
// nothing beyond them; shorter than the record's fixed part, the channel is empty.
TEST_F(Ic756OnAir, AShortMemoryReplyReadsOnlyTheBytesItHas) {
    const emulators::Bytes cut = {0xFE, 0xFE, 0xE0, 0x5C, 0x1A, 0x00, 0x00, 0x01, 0x01, 0x00,
                                  0x00, 0x20, 0x14, 0x00, 0x01, 0x02, 0x00, 0x00, 0x08, 0x85,
                                  0x00, 0x08, 0x85, 0x41, 0x42, 0x43, 0x44, 0xFD};
    emulator.SetGarbage(cut);
    ASSERT_EQ(panel.ReadMemoryChannel(1), HfPanel::ChannelResult::Done);
    EXPECT_EQ(panel.ChannelBuffer.Frequency, 142'000u);
    EXPECT_EQ(panel.ChannelBuffer.Label, "ABCD");
    emulators::Bytes shorter(cut.begin(), cut.end() - 6);
    shorter.push_back(0xFD);
    emulator.SetGarbage(shorter);
    ASSERT_EQ(panel.ReadMemoryChannel(1), HfPanel::ChannelResult::Done);
    EXPECT_TRUE(panel.ChannelBuffer.Empty());
}

// In direct write a change goes to the set's channel: read first, written with the change,
// read back and tuned to. What the set does not keep (the skip mark) stays the panel's.
TEST_F(Ic756OnAir, ADirectWriteEditTakesTheSetsChannelAndKeepsWhatTheSetCannot) {
    emulator.SetChannel(0, 1, At(7'000'000));
    panel.Channels[0] = Abc();
    panel.Channels[0].Skip = true;
    panel.Settings.DirectWrite = true;
    panel.ChooseChannel(0);
    Sent();
    Choose(panel.smod, 4);  // CW
    const Texts sent = Sent();
    ASSERT_GE(sent.size(), 9u);
    EXPECT_EQ(Texts(sent.begin(), sent.begin() + 4), (Texts{"080001", "1A000001", "1501", "1502"}));
    EXPECT_EQ(sent[4].substr(0, 32),
              "1A000001"
              "00"
              "0000000700"
              "0702"
              "00000885");
    EXPECT_EQ(emulator.Channel(0, 1).mode, emulators::kModeCwReverse);
    const MemoryChannel& channel = panel.Channels[0];
    EXPECT_EQ(channel.Frequency, 70'000u);
    EXPECT_EQ(channel.Modulation, 'C');
    EXPECT_TRUE(channel.Skip);
    EXPECT_EQ(state.Frequency, 70'000u);
    EXPECT_EQ(state.Modulation, 'C');
    EXPECT_EQ(panel.lv_1->Cell(0, 2), "CW");
}

// The writes of channel 1 among the payloads (its read is the bare "1A000001").
long WritesOfChannelOne(const Texts& sent) {
    return std::count_if(sent.begin(), sent.end(), [](const std::string& payload) {
        return payload.starts_with("1A000001") && payload.size() > 8;
    });
}

// In direct write a value typed into the channel's boxes reaches the set when the typing ends,
// whole and once: "9.65" is 9.6500 MHz, never 9 MHz at its first key. A value the set cannot
// take is refused, and the box shows the channel again.
TEST_F(Ic756OnAir, ATypedFrequencyOrStepReachesTheSetOnceWhenTheTypingEnds) {
    namespace hand = operator_hand;
    emulator.SetChannel(0, 1, At(7'000'000));
    panel.Channels[0] = Abc();
    panel.Settings.DirectWrite = true;
    panel.ChooseChannel(0);
    main.Show();
    Sent();

    hand::TypeOver(panel.textb_1, "9.65");
    ui::ServePending();
    EXPECT_TRUE(Sent().empty());
    hand::PressEnter(panel.textb_1);
    ASSERT_TRUE(ServeUntil([&] { return emulator.Channel(0, 1).frequencyHz == 9'650'000; }));
    EXPECT_EQ(WritesOfChannelOne(Sent()), 1);
    EXPECT_EQ(panel.Channels[0].Frequency, 96'500u);
    EXPECT_EQ(panel.textb_1->Text(), "9.6500");

    // The operator clicks the next row: the step is channel 1's, written, then row 2 is chosen.
    hand::TypeOver(panel.comment, "12.5");
    ui::ServePending();
    EXPECT_TRUE(Sent().empty());
    hand::ClickRow(panel.lv_1, 1);
    ASSERT_TRUE(ServeUntil([&] { return panel.CurrentChannel == 1; }));
    EXPECT_EQ(WritesOfChannelOne(Sent()), 1);
    EXPECT_EQ(panel.Channels[0].Step, 125u);
    EXPECT_EQ(panel.lv_1->Cell(0, 1), "12.5");
    panel.ChooseChannel(0);
    EXPECT_EQ(panel.comment->Text(), "12.5");

    hand::TypeOver(panel.textb_1, "900");  // beyond the set's range
    hand::PressEnter(panel.textb_1);
    ui::ServePending();
    EXPECT_EQ(panel.textb_1->Text(), "9.6500");
    EXPECT_EQ(WritesOfChannelOne(Sent()), 0);
    EXPECT_EQ(panel.Channels[0].Frequency, 96'500u);
}

// A channel's level stands in the list as measured, or in dB by the set's calibration while
// levels are shown in dB; an empty channel shows none.
TEST_F(Ic756OnAir, TheListShowsAChannelsLevelRawOrInDecibels) {
    constexpr int kLevelColumn = 3;
    panel.Channels[0].Frequency = 70'000;
    panel.Channels[0].Modulation = 'F';
    panel.Channels[0].Level = 40;
    panel.Channels[1].Level = 40;
    panel.ChooseChannel(0);
    Choose(panel.smod, 1);  // AM: the row is drawn again
    EXPECT_EQ(panel.lv_1->Cell(0, kLevelColumn), "40");
    state.OptDb = 1;
    Choose(panel.smod, 2);  // LSB
    // Between 1.8 dB at 32 and 2.8 dB at 48.
    EXPECT_EQ(panel.lv_1->Cell(0, kLevelColumn), "2.3");
    panel.ChooseChannel(1);
    Choose(panel.smod, 1);
    EXPECT_EQ(panel.lv_1->Cell(1, kLevelColumn), "");
}

// In direct write an edit the set refuses is told as a write tells it, and the entry, its row
// and its boxes keep what the set holds; one the set takes goes in.
TEST_F(Ic756OnAir, AnEditTheSetRefusesIsToldAndTheChannelKeepsWhatTheSetHolds) {
    namespace hand = operator_hand;
    emulator.SetChannel(0, 51, At(7'000'000));
    panel.Settings.DirectWrite = true;
    panel.ChooseChannel(50);
    main.Show();
    const MemoryChannel held = panel.Channels[50];
    const std::string row = panel.lv_1->Cell(50, 0);
    emulator.SetMemoryCapacity(50);  // channel 51 refused

    hand::TypeOver(panel.textb_1, "9.65");
    hand::PressEnter(panel.textb_1);
    ASSERT_TRUE(ServeUntil([&] { return !messages.empty(); }));
    EXPECT_EQ(messages, Texts{"Не записано в приемник каналов: 1 (первый: канал 51)"});
    EXPECT_EQ(panel.Channels[50], held);
    EXPECT_EQ(panel.lv_1->Cell(50, 0), row);
    EXPECT_EQ(panel.textb_1->Text(), "7.0000");

    messages.clear();
    emulator.SetMemoryCapacity(101);
    hand::TypeOver(panel.textb_1, "9.65");
    hand::PressEnter(panel.textb_1);
    ASSERT_TRUE(ServeUntil([&] { return emulator.Channel(0, 51).frequencyHz == 9'650'000; }));
    EXPECT_EQ(panel.Channels[50].Frequency, 96'500u);
    EXPECT_TRUE(messages.empty());
}

// A bank item of a thousand channels fills the 101 the set has; the table goes back as a bank
// up to its last channel with a frequency.
TEST_F(Ic756OnAir, TheWorkingBankFillsTheTableAndTakesItBack) {
    state.Channels.assign(1000, Mt{});
    for (std::size_t i = 0; i < 1000; ++i) state.Channels[i].Frequency = 60'000 + uint32_t(i);
    state.ChannelCount = 1000;
    Post(PostItemLoaded);
    EXPECT_EQ(panel.Channels[100].Frequency, 60'100u);
    EXPECT_EQ(panel.lv_1->RowCount(), 101);

    for (MemoryChannel& channel : panel.Channels) channel = IC756::kChannelLayout.Empty(0);
    panel.Channels[5] = Abc();
    Post(PostSaveBank);
    EXPECT_EQ(state.ChannelCount, 6);
    EXPECT_EQ(main.Count(PostSaveBank), 1);
}

// The range shown in the main window becomes the edges of the set's programmed scan.
TEST_F(Ic756OnAir, TheShownRangeBecomesTheEdgesOfTheProgrammedScan) {
    state.ScanSlots.resize(2);
    state.SlotIndex = 1;
    Bank& slot = state.ScanSlots[1];
    slot.Start = 70'000;
    slot.End = 900'000;  // beyond the set's 60 MHz
    slot.Step = 50;
    slot.Modulation = 'A';
    Post(PostLoadReceiverSetup);
    EXPECT_TRUE(panel.Channels[HfPanel::kLowerEdge].Empty());  // no range loaded
    slot.InUse = 1;
    Post(PostLoadReceiverSetup);
    EXPECT_EQ(panel.Channels[HfPanel::kLowerEdge].Frequency, 70'000u);
    EXPECT_EQ(panel.Channels[HfPanel::kUpperEdge].Frequency, 600'000u);
    EXPECT_EQ(panel.Channels[HfPanel::kUpperEdge].Modulation, 'A');
    EXPECT_EQ(panel.lv_1->Cell(100, 0), "  60.0000");
}

// A set that refuses a channel keeps it as the panel had it: the refusals are told once, as a
// write tells them, and a set that refuses everything goes to standby as for any command.
TEST_F(Ic756OnAir, ARefusedReadKeepsTheEntryAndTellsHowManyWereRefused) {
    FillSet(emulator);
    for (MemoryChannel& channel : panel.Channels) channel = Abc();
    emulator.SetMemoryCapacity(10);  // channels 11..101 refused
    Click(panel.cb_2);
    EXPECT_EQ(messages, (Texts{"Не прочитано из приемника каналов: 91 (первый: канал 11)"}));
    EXPECT_EQ(panel.Channels[9].Frequency, 50'100u);
    EXPECT_EQ(panel.Channels[10], Abc());
    EXPECT_EQ(panel.lv_1->Cell(10, 5), "ABC");
    Post(PostTimerTick);
    EXPECT_FALSE(panel.Standby);  // the set answered what followed

    messages.clear();
    emulator.SetRefuseAll(true);
    Click(panel.cb_2);
    EXPECT_EQ(messages, (Texts{"Не прочитано из приемника каналов: 101 (первый: канал 1)"}));
    EXPECT_EQ(panel.Channels[0].Frequency, 50'010u);
    EXPECT_EQ(panel.Channels[100], Abc());
    Post(PostTimerTick);
    EXPECT_TRUE(panel.Standby);
    EXPECT_EQ(panel.off->Text(), "вкл");
}

// A write tries every channel; those the set refuses are told once, and say nothing of a set
// switched off.
TEST_F(Ic756OnAir, AWriteTellsTheChannelsTheSetRefused) {
    for (MemoryChannel& channel : panel.Channels) channel = Abc();
    emulator.SetMemoryCapacity(3);
    Click(panel.cb_1);
    EXPECT_EQ(messages, (Texts{"Не записано в приемник каналов: 98 (первый: канал 4)"}));
    EXPECT_EQ(emulator.Channel(0, 3).name, "ABC       ");
    Post(PostTimerTick);
    EXPECT_FALSE(panel.Standby);
}

// A channel the set refuses to store says nothing of a set switched off: however many of its
// writes are refused in a row, the panel stays out of standby, and the set's next answer
// finds it as before. Refused settings as many do put it there.
TEST_F(Ic756OnAir, RefusedChannelWritesDoNotCountTowardStandby) {
    state.Frequency = 70'000;
    panel.Settings.DirectWrite = true;
    panel.CurrentChannel = 50;
    emulator.SetMemoryCapacity(3);  // channel 51 refused
    Sent();
    for (int i = 0; i < 8; ++i) Click(panel.cb_3);
    const Texts sent = Sent();
    ASSERT_EQ(sent.size(), 8u);
    for (const std::string& payload : sent) EXPECT_EQ(payload.substr(0, 8), "1A000051");
    Post(PostTimerTick);
    EXPECT_FALSE(panel.Standby);
    EXPECT_EQ(panel.off->Text(), "выкл");

    emulator.SetRefuseAll(true);
    for (int i = 0; i < 6; ++i) panel.SetMode();
    Post(PostTimerTick);
    EXPECT_TRUE(panel.Standby);
}

// With direct write the entries follow the set: a set that falls silent half way leaves its
// other channels as they were, in the set and in the list, and the operator is told how many.
TEST_F(Ic756OnAir, AClearThatStopsHalfWayTellsWhatIsLeftAndTheListKeepsIt) {
    FillSet(emulator);
    Click(panel.cb_2);
    ASSERT_TRUE(messages.empty());
    panel.Settings.DirectWrite = true;
    Sent();
    emulator.SetDeadAfter(22);  // a clear and a selection for each of 11 channels
    Post(PostClearData);
    ServeUntil([&] { return main.Count(PostHideWait) >= 2; });
    EXPECT_EQ(messages, (Texts{"Ошибка обращения к приемнику(выключен)",
                               "Не очищено в приемнике каналов: 90 (первый: канал 12)"}));
    const Texts sent = Sent();
    ASSERT_EQ(sent.size(), 23u);
    EXPECT_EQ(sent[20], "1A000011FF");
    EXPECT_EQ(sent[22], "1A000012FF");
    EXPECT_TRUE(panel.Channels[10].Empty());
    EXPECT_EQ(panel.Channels[11].Frequency, 50'120u);
    EXPECT_FALSE(emulator.Channel(0, 12).Empty());
    EXPECT_EQ(panel.lv_1->Cell(11, 0), "   5.0120");

    // Channels the set refuses are passed over and told.
    messages.clear();
    emulator.SetDead(false);
    emulator.SetMemoryCapacity(20);
    Post(PostClearData);
    EXPECT_EQ(messages, (Texts{"Не очищено в приемнике каналов: 81 (первый: канал 21)"}));
    EXPECT_TRUE(panel.Channels[19].Empty());
    EXPECT_EQ(panel.Channels[20].Frequency, 50'210u);

    // Without direct write the panel's table alone is emptied.
    messages.clear();
    panel.Settings.DirectWrite = false;
    Sent();
    Post(PostClearData);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(panel.Channels[100].Empty());
    EXPECT_TRUE(messages.empty());
}

// A reply of the record's fixed part and four name bytes, then the same cut after `keep` of
// its bytes (command byte first).
emulators::Bytes MemoryReply(uint8_t from, const emulators::Bytes& body, std::size_t keep) {
    emulators::Bytes frame = {0xFE, 0xFE, 0xE0, from};
    frame.insert(frame.end(), body.begin(), body.begin() + std::ptrdiff_t(keep));
    frame.push_back(0xFD);
    return frame;
}

// The IC-756PRO's record needs 23 bytes, the IC-R75's 22; a frequency beyond the set's range
// reads as its edge.
TEST_F(Ic756OnAir, AMemoryReplyNeedsTwentyThreeBytesAndItsFrequencyIsHeldToTheRange) {
    // 1A 00, channel 0001, select, 70 MHz, USB normal, no tones, tones 88.5 Hz, "ABCD".
    const emulators::Bytes body = {0x1A, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
                                   0x70, 0x00, 0x01, 0x02, 0x00, 0x00, 0x08, 0x85,
                                   0x00, 0x08, 0x85, 0x41, 0x42, 0x43, 0x44};
    emulator.SetGarbage(MemoryReply(0x5C, body, 23));
    ASSERT_EQ(panel.ReadMemoryChannel(1), HfPanel::ChannelResult::Done);
    EXPECT_EQ(panel.ChannelBuffer.Frequency, IC756::kUpperLimit);
    EXPECT_EQ(panel.ChannelBuffer.Modulation, 'U');
    emulator.SetGarbage(MemoryReply(0x5C, body, 22));
    ASSERT_EQ(panel.ReadMemoryChannel(1), HfPanel::ChannelResult::Done);
    EXPECT_TRUE(panel.ChannelBuffer.Empty());

    // 10 kHz, below the set's 30 kHz.
    emulators::Bytes low = body;
    low[6] = 0x01;
    low[8] = 0x00;
    emulator.SetGarbage(MemoryReply(0x5C, low, 23));
    ASSERT_EQ(panel.ReadMemoryChannel(1), HfPanel::ChannelResult::Done);
    EXPECT_EQ(panel.ChannelBuffer.Frequency, IC756::kLowerLimit);
}

TEST_F(Ic75OnAir, AMemoryReplyNeedsTwentyTwoBytes) {
    // 1A 00, channel 0002, select, 9.65 MHz, AM normal, no attenuator, preamp and antenna
    // off, "ABCDEFG".
    const emulators::Bytes body = {0x1A, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00, 0x65,
                                   0x09, 0x00, 0x02, 0x02, 0x00, 0x00, 0x00, 0x41,
                                   0x42, 0x43, 0x44, 0x45, 0x46, 0x47};
    emulator.SetGarbage(MemoryReply(0x5A, body, 22));
    ASSERT_EQ(panel.ReadMemoryChannel(2), HfPanel::ChannelResult::Done);
    EXPECT_EQ(panel.ChannelBuffer.Frequency, 96'500u);
    EXPECT_EQ(panel.ChannelBuffer.Label, "ABCDEFG");
    emulator.SetGarbage(MemoryReply(0x5A, body, 21));
    ASSERT_EQ(panel.ReadMemoryChannel(2), HfPanel::ChannelResult::Done);
    EXPECT_TRUE(panel.ChannelBuffer.Empty());
}

TEST_F(Ic75OnAir, EveryTransferStartsInMemoryModeAndNamesHaveEightCharacters) {
    panel.Channels[0] = Abc();
    panel.Channels[0].Label = "ABCDEFGHIJ";
    panel.Channels[0].Attenuator = true;
    panel.Channels[0].AttenuatorDb = 20;
    Click(panel.cb_1);
    Texts sent = Sent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0], "08");
    EXPECT_EQ(sent[1],
              "1A000001"
              "01"
              "0000201400"
              "0102"
              "20"
              "0000"
              "4142434445464748");
    EXPECT_EQ(emulator.Channel(0, 1).attenuatorDb, 20);

    panel.Channels[0] = IC75::kChannelLayout.Empty(0);
    Click(panel.cb_2);
    sent = Sent();
    EXPECT_EQ(sent.at(0), "08");
    EXPECT_EQ(panel.Channels[0].Label, "ABCDEFGH");
    EXPECT_TRUE(panel.Channels[0].Attenuator);
    EXPECT_TRUE(panel.Channels[0].Select);

    panel.Settings.DirectWrite = true;
    Post(PostClearData);
    sent = Sent();
    EXPECT_EQ(sent.at(0), "08");
    EXPECT_EQ(sent.at(1), "1A000001FF");
    EXPECT_TRUE(emulator.Channel(0, 1).Empty());
}

// The set's FM on its wide filter is WFM, also in a channel.
TEST_F(Ic75OnAir, FmOnTheWideFilterReadsAsWfm) {
    CivChannel wide = At(9'650'000);
    wide.mode = emulators::kModeFm;
    wide.filter = 0x01;
    emulator.SetChannel(0, 2, wide);
    ASSERT_EQ(panel.ReadMemoryChannel(2), HfPanel::ChannelResult::Done);
    EXPECT_EQ(panel.ChannelBuffer.Modulation, 'W');
    EXPECT_EQ(panel.ChannelBuffer.Filter, 0);
}

}  // namespace
