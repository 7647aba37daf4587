// The AR8200's memory and search banks against the emulated receiver: the lines that write
// them, a whole read of the receiver's 1000 channels and 40 search banks, the state file byte
// for byte and the memory that survives a restart, the exchange with the working bank and the
// edits of the search bank's row.

#include <gtest/gtest.h>

// Before Qt's headers, whose "signals" keyword would rename the emulator's signal plan.
#include "tests/receivers/aor/ar8200/ar8200_fixture.h"
#include "tests/support/operator_hand.h"

#include <QApplication>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "state/cp1251.h"
#include "tests/receivers/aor/hand_edited_state_file.h"
#include "tests/receivers/receiver_files.h"

namespace {

using emulators::AorChannel;
using ReceiverBank = emulators::AorSearchBank;
using emulators::AorSettings;
using Strings = std::vector<std::string>;

// A label as the receiver keeps what the panel wrote: right-aligned in twelve characters.
std::string Held(const std::string& label) {
    return std::string(12 - label.size(), ' ') + label;
}

// Every channel of the receiver holds something, but every seventh, which says "---": modes,
// variants, attenuator, skip and select flags and labels of every kind.
void FillReceiver(emulators::Ar8200Emulator& emulator) {
    for (int bank = 0; bank < AR8200::kBanks; ++bank) {
        for (int channel = 0; channel < AR8200::kChannels; ++channel) {
            const int n = bank * AR8200::kChannels + channel;
            AorChannel c;
            if (n % 7 == 3) {
                emulator.SetChannel(bank, channel, c);
                continue;
            }
            c.frequencyHz = 100'000'000 + uint64_t(n) * 1'250'000;
            c.settings = AorSettings{uint32_t(5'000 + 100 * (n % 50)), char('0' + n % 9), '3',
                                     n % 3 == 0 ? '1' : '0', false};
            c.label = n % 4 == 0 ? Held("") : Held("K" + std::to_string(n));
            c.skip = n % 5 == 0;
            c.select = n % 6 == 0;
            emulator.SetChannel(bank, channel, c);
        }
    }
    for (int bank = 0; bank < AR8200::kSearchBanks; ++bank) {
        if (bank % 9 == 4) {
            emulator.SetSearchBank(bank, {});
            continue;
        }
        ReceiverBank b{uint64_t(100'000'000 + bank * 10'000'000),
                       uint64_t(105'000'000 + bank * 10'000'000),
                       AorSettings{25'000, char('0' + bank % 9), '3', bank % 2 ? '1' : '0'},
                       bank % 3 == 0 ? "" : "S" + std::to_string(bank)};
        emulator.SetSearchBank(bank, b);
    }
}

std::vector<AorChannel> ReceiverChannels(const emulators::Ar8200Emulator& emulator) {
    std::vector<AorChannel> all;
    for (int bank = 0; bank < AR8200::kBanks; ++bank)
        for (int channel = 0; channel < AR8200::kChannels; ++channel)
            all.push_back(emulator.Channel(bank, channel));
    return all;
}

std::vector<ReceiverBank> ReceiverSearchBanks(const emulators::Ar8200Emulator& emulator) {
    std::vector<ReceiverBank> all;
    for (int bank = 0; bank < AR8200::kSearchBanks; ++bank)
        all.push_back(emulator.SearchBank(bank));
    return all;
}

TEST_F(Ar8200OnAir, AChannelAndSearchBanksGoOutInTheirLinesWithTheirLetters) {
    MemoryChannel& c = panel.ChannelAt(10, 5);
    c.Frequency = 1'455'000;
    c.Step = 125;
    c.Modulation = 'F';
    c.Label = "LABEL";
    c.Select = true;
    panel.CurrentBank = 10;
    for (const int bank : {10, 20}) {
        AorSearchBank& s = panel.SearchBanks[static_cast<std::size_t>(bank)];
        s.Lower = 1'440'000;
        s.Upper = 1'460'000;
        s.Step = 250;
        s.Mode = 'A';
        s.Filter = 2;
        s.Attenuator = true;
        s.Label = bank == 10 ? "BAND" : "";
    }
    panel.CurrentSearchBank = 10;
    panel.WriteCurrentBank();
    panel.CurrentSearchBank = 20;
    panel.WriteCurrentBank();

    EXPECT_EQ(LinesStartingWith("MX"),
              Strings(2, "MXa05 RF0145500000 ST012500 MD1 AT0 TM       LABEL"));
    EXPECT_EQ(LinesStartingWith("SE"),
              (Strings{"SEK SL0144000000 SU0146000000 ST025000 MD7 AT1 TTBAND",
                       "SEa SL0144000000 SU0146000000 ST025000 MD7 AT1"}));
    // The channel read back, its select and skip flags; the bank chosen before and after.
    const Strings lines = Lines();
    const auto mx = std::find(lines.begin(), lines.end(), LinesStartingWith("MX")[0]);
    ASSERT_LT(mx + 3, lines.end());
    EXPECT_EQ((Strings{*(mx + 1), *(mx + 2), *(mx + 3)}), (Strings{"MRa05", "GA1", "MP0"}));
    EXPECT_EQ(LinesStartingWith("MRa00").size(), 4u);
    const AorChannel written = emulator.Channel(10, 5);
    EXPECT_EQ(written.frequencyHz, 145'500'000u);
    EXPECT_EQ(written.label, Held("LABEL"));
    EXPECT_TRUE(written.select);
    EXPECT_EQ(emulator.SearchBank(10).label, "BAND        ");
    EXPECT_EQ(emulator.SearchBank(20).settings.mode, '7');
    // Empty channels and empty search banks are never written.
    EXPECT_EQ(LinesStartingWith("MX").size(), 2u);
    EXPECT_TRUE(emulator.SearchBank(11).Empty());
}

// The channel list takes its own mouse; its right button runs the macro as the panel's does.
TEST_F(Ar8200OnAir, ARightClickOverTheChannelListRunsTheMacro) {
    panel.lv_1->Raise(ui::EventId::RightButtonUp);
    ui::ServePending();
    EXPECT_EQ(main.Count(PostRunMacro), 1);
}

// A label edited by hand goes to the set in the characters its text takes, every other one a
// blank: no CR, LF or control byte reaches the line, and the panel keeps the label it has,
// also when the write with direct writing reads the channel and the search bank back.
TEST_F(Ar8200OnAir, ALabelGoesToTheSetInTheCharactersItsTextTakes) {
    SetRefusals refusals(emulator);
    MemoryChannel& c = panel.ChannelAt(0, 0);
    c.Frequency = 1'455'000;
    c.Step = 125;
    c.Modulation = 'F';
    c.Label = kUnsendableLabel;
    panel.SearchBanks[0] = {.Lower = 1'440'000,
                            .Upper = 1'460'000,
                            .Step = 250,
                            .Mode = 'F',
                            .Label = kUnsendableLabel};
    panel.WriteCurrentBank();

    EXPECT_EQ(LinesStartingWith("MX"),
              Strings{"MXA00 RF0145500000 ST012500 MD1 AT0 TM" + Held(kSentLabel)});
    EXPECT_EQ(LinesStartingWith("SE"),
              Strings{"SEA SL0144000000 SU0146000000 ST025000 MD1 AT0 TT" + kSentLabel});
    EXPECT_EQ(refusals.Count(), 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(emulator.Channel(0, 0).label, Held(kSentLabel));
    EXPECT_EQ(panel.ChannelAt(0, 0).Label, kUnsendableLabel);
    EXPECT_EQ(panel.SearchBanks[0].Label, kUnsendableLabel);
    panel.DirectWrite = true;
    EXPECT_EQ(RunJob(912).ReturnCode, 0);
    EXPECT_EQ(LinesStartingWith("SRA").size(), 1u);
    EXPECT_EQ(panel.ChannelAt(0, 0).Label, kUnsendableLabel);
    EXPECT_EQ(panel.SearchBanks[0].Label, kUnsendableLabel);
}

// A channel read that the set answers for another channel (its dial slipped) is not taken for
// the one asked: the read button leaves every channel of the bank empty rather than holding
// its neighbour's record, and tells them once; a set that reads true again fills them.
TEST_F(Ar8200OnAir, AChannelAnsweredForAnotherIsNotTakenForTheOneAsked) {
    for (int channel = 0; channel < AR8200::kChannels; ++channel)
        emulator.SetChannel(2, channel,
                            {uint64_t(100'000'000 + channel * 1'000'000),
                             AorSettings{12'500, '1', '3', '0'}, Held("C")});
    panel.CurrentBank = 2;
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.widget()));
    const auto read = [&] {
        QTest::mouseClick(panel.cb_2->widget(), Qt::LeftButton, {}, QPoint(4, 4));
        ui::ServePending();
        ui::ServePending();
    };
    emulator.SetChannelSlip(1);
    read();
    EXPECT_FALSE(LinesStartingWith("MRC05").empty());
    for (int channel = 0; channel < AR8200::kChannels; ++channel)
        EXPECT_TRUE(panel.ChannelAt(2, channel).Empty()) << channel;
    EXPECT_EQ(messages, Strings{"Не прочитано из приемника каналов: 50 (первый: банк C, канал 0)"});

    emulator.SetChannelSlip(0);
    read();
    for (int channel = 0; channel < AR8200::kChannels; ++channel)
        EXPECT_EQ(panel.ChannelAt(2, channel).Frequency, uint32_t(1'000'000 + channel * 10'000))
            << channel;
}

// The search bank's row with direct writing: a first lower limit typed into a bank the set
// holds empty gives the upper limit one step (the program's) above it, and the bank written
// becomes the set's current one; a value the set refuses leaves the row as the set holds it,
// and is told.
TEST_F(Ar8200OnAir, TheSearchBankRowWritesAStepWideFirstRangeAndShowsWhatTheSetHolds) {
    Sync();
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.widget()));
    const auto type = [&](ui::Edit* edit, const std::string& text) {
        QApplication::setActiveWindow(main.widget());
        edit->widget()->setFocus();
        QTest::keyClick(edit->widget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit->widget(), QString::fromStdString(text));
        QTest::keyClick(edit->widget(), Qt::Key_Return);
        ui::ServePending();
        ui::ServePending();
    };
    state.Modulation = 'F';
    state.Filter = 0;
    state.Step = 125;
    panel.DirectWrite = true;
    EXPECT_EQ(RunJob(925, 10).ReturnCode, 0);
    emulator.ClearReceivedLines();
    type(panel.textb_Fn, "145.5");
    EXPECT_EQ(Lines(), (Strings{"SRK", "SEK SL0145500000 SU0145512500 ST012500 MD1 AT0", "SRK"}));
    EXPECT_EQ(emulator.SearchBank(10).lowerHz, 145'500'000u);
    EXPECT_EQ(emulator.SearchBank(10).upperHz, 145'512'500u);
    EXPECT_EQ(panel.textb_Fk->Text(), " 145.5125");

    // Refused: the upper limit stays the set's, in the record and in its edit.
    emulator.SetRefused({"SE"});
    type(panel.textb_Fk, "146");
    EXPECT_EQ(LinesStartingWith("SE").size(), 2u);
    EXPECT_EQ(panel.SearchBanks[10].Upper, 1'455'125u);
    EXPECT_EQ(panel.textb_Fk->Text(), " 145.5125");
    type(panel.textb_step, "25");
    EXPECT_EQ(panel.SearchBanks[10].Step, 125u);
    EXPECT_EQ(panel.textb_step->Text(), " 12.5");
    // A first limit refused leaves an empty bank empty.
    EXPECT_EQ(RunJob(925, 11).ReturnCode, 0);
    type(panel.textb_Fn, "144");
    EXPECT_TRUE(panel.SearchBanks[11].Empty());
    EXPECT_EQ(panel.textb_Fn->Text(), "выкл");
    EXPECT_TRUE(emulator.SearchBank(11).Empty());
    // Each refusal is told, as a bank write tells it.
    EXPECT_EQ(messages, (Strings{"Не записано в приемник каналов: 1 (первый: банк поиска K)",
                                 "Не записано в приемник каналов: 1 (первый: банк поиска K)",
                                 "Не записано в приемник каналов: 1 (первый: банк поиска L)"}));
}

TEST_F(Ar8200OnAir, ReadingAllBanksTakesTheReceiversThousandChannelsAndFortySearchBanks) {
    FillReceiver(emulator);
    panel.ChannelAt(0, 3).Frequency = 1'234'000;  // the receiver says "---" there
    panel.WholeMemory = true;
    emulator.ClearReceivedLines();
    panel.ReadAllBanks();
    ASSERT_TRUE(messages.empty());
    // The set's level before each bank and each channel, and each channel's that holds
    // something; none before a search bank.
    int held = 0;
    for (const AorChannel& c : ReceiverChannels(emulator)) held += c.Empty() ? 0 : 1;
    EXPECT_EQ(LinesStartingWith("LM").size(),
              std::size_t(AR8200::kBanks * (1 + AR8200::kChannels) + held));
    for (int bank = 0; bank < AR8200::kBanks; ++bank) {
        for (int channel = 0; channel < AR8200::kChannels; ++channel) {
            const AorChannel held = emulator.Channel(bank, channel);
            const MemoryChannel& read = panel.ChannelAt(bank, channel);
            const std::string at = std::to_string(bank) + "/" + std::to_string(channel);
            ASSERT_EQ(read.Frequency, held.frequencyHz / 100) << at;
            if (held.Empty()) continue;
            EXPECT_EQ(read.Step * 100, held.settings.stepHz) << at;
            EXPECT_EQ('0' + AR8200::ModeDigit(read.Modulation, read.Filter), held.settings.mode)
                << at;
            EXPECT_EQ(read.Attenuator, held.settings.attenuator == '1') << at;
            EXPECT_EQ(read.Label, aor::LabelFromWire(held.label)) << at;
            EXPECT_EQ(read.Skip, held.skip) << at;
            EXPECT_EQ(read.Select, held.select) << at;
            EXPECT_EQ(read.Number, channel) << at;
        }
    }
    EXPECT_EQ(panel.ChannelAt(0, 3).Frequency, 0u);
    for (int bank = 0; bank < AR8200::kSearchBanks; ++bank) {
        const ReceiverBank held = emulator.SearchBank(bank);
        const AorSearchBank& read = panel.SearchBanks[static_cast<std::size_t>(bank)];
        EXPECT_EQ(read.Lower, held.lowerHz / 100) << bank;
        EXPECT_EQ(read.Upper, held.upperHz / 100) << bank;
        if (held.Empty()) continue;
        EXPECT_EQ(read.Label, aor::LabelFromWire(held.label)) << bank;
        EXPECT_EQ(read.Attenuator, held.settings.attenuator == '1') << bank;
    }
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
}

// The set lost part-way through a read of its whole memory into a panel that holds it already
// (it falls silent, as one unplugged): wherever the read is cut, before a channel, in the
// middle of one's lines or among the search banks, every channel and search bank keeps what
// the panel had, the read stops there and says so once, and the panel is the operator's again.
TEST_F(Ar8200OnAir, AReadCutByALostSetKeepsEverythingThePanelHad) {
    FillReceiver(emulator);
    panel.WholeMemory = true;
    emulator.ClearReceivedLines();
    panel.ReadAllBanks();
    ASSERT_TRUE(messages.empty());
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
    const std::vector<MemoryChannel> channels = panel.Channels;
    const std::vector<AorSearchBank> searchBanks = panel.SearchBanks;
    const std::size_t wholeRead = Lines().size();
    // The bank's probe and choice, then each channel's probe, "MR", "GA", "RX" and level;
    // channel 8 holds something (FillReceiver).
    std::vector<std::size_t> cuts = {0, 1};
    for (std::size_t line = 0; line < 5; ++line) cuts.push_back(2 + 5 * 8 + line);
    cuts.push_back(wholeRead - 30);  // among the search banks
    for (const std::size_t cut : cuts) {
        SCOPED_TRACE(cut);
        messages.clear();
        const int ended = main.Count(PostHideWait);
        emulator.SetSilent(false);
        emulator.SetSilentAfter(cut);
        emulator.ClearReceivedLines();
        const int64_t started = ui::Clock::NowMs();
        panel.ReadAllBanks();
        // Found at once: a wait or three at the cut, not one for every channel left.
        EXPECT_LT(ui::Clock::NowMs() - started, 5'000);
        EXPECT_LT(Lines().size(), wholeRead);
        EXPECT_EQ(messages, Strings{"Ошибка обращения к приемнику(выключен)"});
        EXPECT_EQ(panel.Channels, channels);
        EXPECT_EQ(panel.SearchBanks, searchBanks);
        ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == ended + 1; }));
        ui::ServePending();
        EXPECT_FALSE(panel.PanelBusy);
    }
}

// A clear empties the bank's channels (every bank's with the whole-memory box) and gives the
// current search bank limits 0; the other search banks stay as they are, and without direct
// writing nothing goes to the set.
TEST_F(Ar8200OnAir, AClearEmptiesTheBanksAndTheCurrentSearchBanksLimits) {
    for (const bool whole : {false, true}) {
        SCOPED_TRACE(whole);
        for (const int bank : {3, 5}) {
            MemoryChannel& c = panel.ChannelAt(bank, 10);
            c.Frequency = 1'455'000;
            c.Label = "KEEP";
        }
        for (const int bank : {7, 8})
            panel.SearchBanks[static_cast<std::size_t>(bank)] = {
                .Lower = 1'440'000, .Upper = 1'460'000, .Step = 125, .Label = "2M"};
        panel.CurrentBank = 3;
        panel.CurrentSearchBank = 7;
        panel.WholeMemory = whole;
        emulator.ClearReceivedLines();
        Post(PostClearData);
        EXPECT_TRUE(panel.ChannelAt(3, 10).Empty());
        EXPECT_EQ(panel.ChannelAt(5, 10).Empty(), whole);
        EXPECT_EQ(panel.SearchBanks[7].Lower, 0u);
        EXPECT_EQ(panel.SearchBanks[7].Upper, 0u);
        EXPECT_EQ(panel.SearchBanks[8].Lower, 1'440'000u);
        EXPECT_EQ(panel.SearchBanks[8].Label, "2M");
        EXPECT_EQ(panel.textb_Fn->Text(), "выкл");
        EXPECT_TRUE(Lines().empty());
    }
}

// What was read survives a restart in the state file: written back into a receiver that has
// forgotten it, the receiver holds what it held, to the bank.
TEST_F(Ar8200OnAir, ReadRestartAndWriteLeaveTheReceiversMemoryAsItWas) {
    FillReceiver(emulator);
    const std::vector<AorChannel> channels = ReceiverChannels(emulator);
    const std::vector<ReceiverBank> searchBanks = ReceiverSearchBanks(emulator);
    state.OptRecvSave = 1;
    panel.WholeMemory = true;
    panel.ReadAllBanks();
    ServeUntil([&] { return main.Count(PostHideWait) == 1; });
    panel.Destroy();
    for (int bank = 0; bank < AR8200::kBanks; ++bank)
        for (int channel = 0; channel < AR8200::kChannels; ++channel)
            emulator.SetChannel(bank, channel, {});
    for (int bank = 0; bank < AR8200::kSearchBanks; ++bank) emulator.SetSearchBank(bank, {});

    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_TRUE(panel.WholeMemory);
    panel.WriteAllBanks();
    ASSERT_TRUE(messages.empty());
    EXPECT_EQ(ReceiverChannels(emulator), channels);
    EXPECT_EQ(ReceiverSearchBanks(emulator), searchBanks);
}

// A set that acknowledges "MR" with an empty line tells a channel only through "RX": the
// "---" of an empty channel must not make the channels after it look empty too.
TEST_F(Ar8200OnAir, ABankReadKeepsTheChannelsAfterAnEmptyOneWhenTheSetOnlyAcknowledgesMr) {
    FillReceiver(emulator);
    emulator.SetMemoryReadAcknowledged(true);
    panel.ReadCurrentBank();
    ASSERT_TRUE(messages.empty());
    int empty = 0;
    for (int channel = 0; channel < AR8200::kChannels; ++channel) {
        const AorChannel held = emulator.Channel(0, channel);
        const MemoryChannel& read = panel.ChannelAt(0, channel);
        EXPECT_EQ(read.Frequency, held.frequencyHz / 100) << channel;
        EXPECT_EQ(read.Label, aor::LabelFromWire(held.label)) << channel;
        EXPECT_EQ(read.Select, held.select) << channel;
        empty += held.Empty() ? 1 : 0;
    }
    EXPECT_EQ(empty, 7);
    // The set's level once before the bank, then each channel's that holds something.
    EXPECT_EQ(LinesStartingWith("LM").size(), std::size_t(1 + AR8200::kChannels - empty));

    // "RX" says "---" alone where the set stands on an empty channel: a frequency typed into
    // it with direct writing goes into the set.
    ASSERT_TRUE(ServeUntil([&] { return !panel.PanelBusy; }));
    panel.DirectWrite = true;
    panel.BankPositions[0] = 3;
    ui::EventData typed;
    typed.id = ui::EventId::Change;
    typed.text = "433.92";
    panel.textb_1->Raise(typed);
    EXPECT_EQ(emulator.Channel(0, 3).frequencyHz, 433'920'000u);
    EXPECT_EQ(panel.ChannelAt(0, 3).Frequency, 4'339'200u);
}

// The "пам" box is the panel's own choice of the whole memory: ticked on screen, "<" reads
// and ">" writes all 20 banks, the clear with direct writing empties every bank on the set
// (each selected, then "MQ%%") and the set stands on the current bank again; job 927 ticks
// and unticks it, and the state file keeps it.
TEST_F(Ar8200OnAir, TheMemoryBoxMakesTheTransfersAndTheClearCoverEveryBank) {
    emulator.SetChannel(19, 49, {433'920'000, AorSettings{25'000, '1', '3', '0'}, Held("J")});
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.widget()));
    const auto click = operator_hand::ClickServed;
    click(panel.mem);
    ASSERT_TRUE(panel.WholeMemory);
    click(panel.cb_2);
    EXPECT_EQ(panel.ChannelAt(19, 49).Frequency, 4'339'200u);
    EXPECT_EQ(LinesStartingWith("MRj49").size(), 1u);

    panel.ChannelAt(15, 7) = panel.ChannelAt(19, 49);
    emulator.ClearReceivedLines();
    click(panel.cb_1);
    EXPECT_EQ(emulator.Channel(15, 7).frequencyHz, 433'920'000u);
    EXPECT_EQ(LinesStartingWith("MXf07").size(), 1u);
    EXPECT_TRUE(messages.empty());

    EXPECT_EQ(RunJob(927, 0).ReturnCode, 0);
    EXPECT_FALSE(panel.WholeMemory || panel.mem->IsChecked());
    EXPECT_EQ(RunJob(927, 1).ReturnCode, 0);
    EXPECT_TRUE(panel.WholeMemory && panel.mem->IsChecked());

    panel.CurrentBank = 2;
    panel.DirectWrite = true;
    emulator.ClearReceivedLines();
    Post(PostClearData);
    EXPECT_TRUE(emulator.Channel(19, 49).Empty());
    EXPECT_TRUE(emulator.Channel(15, 7).Empty());
    EXPECT_TRUE(panel.ChannelAt(19, 49).Empty());
    Strings clear;
    for (const char bank : std::string("ABCDEFGHIJabcdefghij")) {
        clear.push_back(std::string("MR") + bank + "00");
        clear.push_back("MQ%%");
    }
    clear.push_back("MRC00");
    EXPECT_EQ(Lines(), clear);

    state.OptRecvSave = 1;
    panel.Destroy();
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_TRUE(panel.WholeMemory && panel.mem->IsChecked());
}

// A write the set refuses ("?" to "MX" and "SE") is told as every write tells it and fails
// the job line; with direct writing the read-back after it ("---" where nothing was written)
// leaves the operator's channel and search bank as the panel had them, to the state file.
TEST_F(Ar8200OnAir, ABankWriteTheSetRefusesIsToldAndKeepsTheOperatorsChannels) {
    MemoryChannel& first = panel.ChannelAt(0, 0);
    first.Frequency = 1'455'000;
    first.Step = 125;
    first.Label = "CALL";
    panel.ChannelAt(0, 7) = first;
    AorSearchBank& band = panel.SearchBanks[0];
    band = {.Lower = 1'440'000, .Upper = 1'460'000, .Step = 125, .Mode = 'F', .Label = "2M"};
    const MemoryChannel operators = first;
    const AorSearchBank operatorsBand = band;
    emulator.SetRefused({"MX", "SE"});
    panel.DirectWrite = true;

    const JobStr line = RunJob(912);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Не записано в приемник каналов: 3 (первый: банк A, канал 0)");
    EXPECT_EQ(LinesStartingWith("SRA").size(), 1u);  // the read-back
    EXPECT_EQ(panel.ChannelAt(0, 0), operators);
    EXPECT_EQ(panel.SearchBanks[0], operatorsBand);
    EXPECT_EQ(panel.textb_1->Text(), " 145.5000");
    state.OptRecvSave = 1;
    panel.Destroy();
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.ChannelAt(0, 0).Frequency, operators.Frequency);
    EXPECT_EQ(panel.ChannelAt(0, 0).Label, "CALL");
    EXPECT_EQ(panel.SearchBanks[0], operatorsBand);

    // Without a job the operator is told in a box; a search bank alone is named as such.
    panel.ChannelAt(0, 0).Frequency = panel.ChannelAt(0, 7).Frequency = 0;
    panel.WriteCurrentBank();
    EXPECT_EQ(messages, Strings{"Не записано в приемник каналов: 1 (первый: банк поиска A)"});
}

// A write of the whole memory cut by a set that falls silent for a while, into an empty set:
// the read-back with direct writing, once the set answers again, takes nothing the write did
// not get into it ("---" for the channel and the search bank): the operator's stay, and the
// loss is told once.
TEST_F(Ar8200OnAir, AWriteCutByASetSilentAWhileKeepsWhatItDidNotWrite) {
    MemoryChannel& call = panel.ChannelAt(3, 0);
    call.Frequency = 1'455'000;
    call.Step = 125;
    call.Label = "CALL";
    panel.SearchBanks[5] = {.Lower = 1'440'000, .Upper = 1'460'000, .Step = 125, .Label = "2M"};
    const MemoryChannel channel = call;
    const AorSearchBank band = panel.SearchBanks[5];
    panel.CurrentBank = 3;
    panel.CurrentSearchBank = 5;
    panel.DirectWrite = panel.WholeMemory = true;
    emulator.SetSilentAfter(4, std::chrono::milliseconds(1'500));  // from bank C's probe on

    const JobStr line = RunJob(912);
    EXPECT_EQ(line.Message, "Ошибка обращения к приемнику(выключен)");
    EXPECT_EQ(LinesStartingWith("SRF").size(), 1u);
    EXPECT_TRUE(emulator.SearchBank(5).Empty());
    EXPECT_EQ(panel.ChannelAt(3, 0), channel);
    EXPECT_EQ(panel.SearchBanks[5], band);
}

// A search bank the set reports empty, with its letter or by a bare "---", has no limits after
// a read (not the panel's old ones).
TEST_F(Ar8200OnAir, ASearchBankTheSetReportsEmptyGetsNoLimits) {
    for (const bool bare : {false, true}) {
        emulator.SetBareEmptySearchBanks(bare);
        panel.SearchBanks[3] = {.Lower = 1'440'000, .Upper = 1'460'000, .Step = 125, .Mode = 'F', .Label = "OLD"};
        panel.DirectWrite = true;
        ui::EventData pick;
        pick.id = ui::EventId::Select;
        pick.value = 3;
        panel.sbn->Raise(pick);
        EXPECT_TRUE(panel.SearchBanks[3].Empty()) << bare;
        EXPECT_EQ(panel.textb_Fn->Text(), "выкл") << bare;
    }
}

// A hand-edited state file read at the start, then a write of every bank: each step and label
// goes to the set as its line takes it ("ST" in six digits, a label in twelve characters),
// the set refuses nothing, the channel without faults goes as it was, and the close writes
// what was read, the same again after another start.
TEST_F(Ar8200OnAir, AHandEditedStateFileSendsTheSetOnlyWhatItsLinesTake) {
    StampedAt7March2001 clock;
    const std::string path = folder.Dir() + "AR8200.001";
    state.OptRecvSave = 1;
    panel.Destroy();
    const uint32_t step = state.Step;
    WriteBytes(
        path, HandEditedFile("Шаг=99999999999",
                             {"SFN=1460000", "SFK=1440000", "SF_ID=" + kHundredCharacters,
                              "SF_MOD=F", "SFN=1080000", "SFK=1360000", "SF_STEP=-5", "SF_MOD=W"}));
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(state.Step, step);

    SetRefusals refusals(emulator);
    panel.WholeMemory = true;
    panel.WriteAllBanks();
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
    EXPECT_EQ(refusals.Count(), 0);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(LinesStartingWith("MX").size(), 3u);
    ExpectStepsTheSetTakes(LinesStartingWith("MX"));
    EXPECT_EQ(emulator.Channel(0, 0).label, "XXXXXXXXXXXX");
    EXPECT_EQ(emulator.Channel(0, 0).settings.stepHz, 100u);
    EXPECT_EQ(emulator.Channel(0, 1).settings.stepHz, 100u);
    const AorChannel kept = emulator.Channel(0, 2);
    EXPECT_EQ(kept.frequencyHz, 433'920'000u);
    EXPECT_EQ(kept.settings.stepHz, 5'000u);
    EXPECT_EQ(kept.label, Held("KEEP"));
    EXPECT_EQ(LinesStartingWith("SE"),
              (Strings{"SEA SL0144000000 SU0146000000 ST000100 MD1 AT0 TTXXXXXXXXXXXX",
                       "SEB SL0108000000 SU0136000000 ST000100 MD0 AT0"}));

    panel.Destroy();
    const std::string written = ReadBytes(path);
    const std::string text = Cp1251ToUtf8(written);
    EXPECT_EQ(WrittenPart(text, "F=1455000", "F=0"),
              "F=1455000\r\nF_STEP=1\r\nF_ID=XXXXXXXXXXXX\r\nF_MOD=F\r\nF=1188000\r\n"
              "F_STEP=1\r\nF_MOD=A\r\nF=4339200\r\nF_STEP=50\r\nF_ID=KEEP\r\nF_MOD=U\r\n");
    EXPECT_EQ(WrittenPart(text, "SFN=1440000", "SFN=0"),
              "SFN=1440000\r\nSFK=1460000\r\nSF_STEP=1\r\nSF_ID=XXXXXXXXXXXX\r\nSF_MOD=F\r\n"
              "SFN=1080000\r\nSFK=1360000\r\nSF_STEP=1\r\nSF_MOD=W\r\n");
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.Destroy();
    EXPECT_EQ(ReadBytes(path), written);
}

}  // namespace
