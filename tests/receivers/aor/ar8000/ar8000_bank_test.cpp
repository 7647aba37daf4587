// The AR8000's memory through the panel: its 20 banks of 50 channels and 20 search banks
// written into the emulated set and read back, the bank and search bank chosen together, and
// the state file (20 search banks, no filter keys) byte for byte. Channel lines are the set's:
// "MX<letter><channel> RF<Hz> ST<Hz> MD<digit> AT<0|1> TM<label in 7>", then "MP<0|1>";
// search banks "SE<letter> SL<Hz> SU<Hz> ST<Hz> MD<digit> AT<0|1> TT<label>".

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "state/cp1251.h"
#include "tests/receivers/aor/ar8000/ar8000_fixture.h"
#include "tests/receivers/aor/hand_edited_state_file.h"
#include "tests/receivers/receiver_files.h"
#include "tests/receivers/state_file_runs.h"

namespace {

using Strings = std::vector<std::string>;
using emulators::AorChannel;
using emulators::AorSettings;

// A channel of the panel and the set's same channel.
struct Sample {
    int bank;
    int channel;
    MemoryChannel record;
    AorChannel onSet;
};

std::vector<Sample> Samples() {
    const auto record = [](uint32_t frequency, uint32_t step, char mode, bool attenuator,
                           const char* label, bool skip, int channel) {
        MemoryChannel r;
        r.Frequency = frequency;
        r.Step = step;
        r.Modulation = mode;
        r.Attenuator = attenuator;
        r.AttenuatorDb = attenuator ? 10 : 0;
        r.Label = label;
        r.Skip = skip;
        r.Number = channel;
        return r;
    };
    return {
        {0, 0, record(1'455'000, 125, 'F', true, "CALLS", true, 0),
         AorChannel{145'500'000, AorSettings{12'500, '1', '3', '1'}, "  CALLS", true}},
        {9, 49, record(1'188'000, 250, 'A', false, "TOWER12", false, 49),
         AorChannel{118'800'000, AorSettings{25'000, '2'}, "TOWER12"}},
        {12, 5, record(4'339'200, 50, 'U', false, "", false, 5),
         AorChannel{433'920'000, AorSettings{5'000, '3'}, "       "}},
        {19, 20, record(5'000, 10, 'C', false, "Z", false, 20),
         AorChannel{500'000, AorSettings{1'000, '5'}, "      Z"}},
    };
}

class Ar8000Banks : public Ar8000OnAir {
  protected:
    void SetUp() override {
        Ar8000OnAir::SetUp();
        Sync();
    }
};

TEST_F(Ar8000Banks, WritingAllBanksPutsThePanelsChannelsIntoTheSetAndReadingBringsThemBack) {
    for (const Sample& s : Samples()) panel.ChannelAt(s.bank, s.channel) = s.record;
    AorSearchBank& band = panel.SearchBanks[12];
    band = {.Lower = 1'440'000, .Upper = 1'460'000, .Step = 125, .Mode = 'F', .Label = "2M"};
    AorSearchBank& unnamed = panel.SearchBanks[0];
    unnamed = {.Lower = 1'080'000, .Upper = 1'360'000, .Step = 250, .Mode = 'W', .Label = {}};
    // What the set holds where the panel has nothing stays: empty channels are never written.
    emulator.SetChannel(3, 3, AorChannel{156'800'000, AorSettings{}, "OLD"});
    panel.WholeMemory = true;
    panel.WriteAllBanks();
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
    EXPECT_TRUE(messages.empty());

    for (const Sample& s : Samples()) EXPECT_EQ(emulator.Channel(s.bank, s.channel), s.onSet);
    EXPECT_EQ(emulator.Channel(3, 3).frequencyHz, 156'800'000u);
    EXPECT_EQ(LinesStartingWith("MX").size(), Samples().size());
    EXPECT_EQ(LinesStartingWith("MXh05"), Strings{"MXh05 RF433920000 ST5000 MD3 AT0 TM       "});
    EXPECT_EQ(LinesStartingWith("SE"),
              (Strings{"SEA SL108000000 SU136000000 ST25000 MD0 AT0 TT",
                       "SEh SL144000000 SU146000000 ST12500 MD1 AT0 TT2M"}));
    EXPECT_TRUE(LinesStartingWith("MQ").empty());

    // The panel forgets, then reads the whole memory back: the channel it had nothing for is
    // the set's.
    for (int bank = 0; bank < AR8000::kBanks; ++bank)
        for (int channel = 0; channel < AR8000::kChannels; ++channel)
            panel.ChannelAt(bank, channel) = AR8000::kChannelLayout.Empty(channel);
    panel.SearchBanks.assign(AR8000::kSearchBanks, {});
    emulator.ClearReceivedLines();
    panel.ReadAllBanks();
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 2; }));
    EXPECT_TRUE(messages.empty());  // every place answered, "---" the empty ones
    // The set's level once before the read, then each channel's that holds something.
    std::size_t held = 0;
    for (int bank = 0; bank < AR8000::kBanks; ++bank)
        for (int channel = 0; channel < AR8000::kChannels; ++channel)
            held += emulator.Channel(bank, channel).Empty() ? 0 : 1;
    EXPECT_EQ(LinesStartingWith("LM").size(), 1 + held);
    for (const Sample& s : Samples()) {
        MemoryChannel expected = s.record;
        expected.Level = s.bank == 0 ? 252 : s.bank == 12 ? 128 : 0;
        EXPECT_EQ(panel.ChannelAt(s.bank, s.channel), expected) << s.bank << " " << s.channel;
    }
    EXPECT_EQ(panel.ChannelAt(3, 3).Frequency, 1'568'000u);
    EXPECT_EQ(panel.ChannelAt(3, 3).Label, "OLD");
    EXPECT_TRUE(panel.ChannelAt(3, 4).Empty());
    EXPECT_EQ(panel.SearchBanks[12], band);
    EXPECT_EQ(panel.SearchBanks[0], unnamed);
    EXPECT_TRUE(panel.SearchBanks[5].Empty());
    // The set goes back to its VFO after the walk.
    EXPECT_EQ(emulator.State().operation, emulators::AorOperation::Vfo);
}

// A range shown in the range window becomes the current search bank, its step held to the
// set's: a step of 2 MHz, beyond the set's 999.9 kHz, would go out as "ST2000000".
TEST_F(Ar8000Banks, ARangeLoadedBecomesTheSearchBankWithAStepTheSetHas) {
    state.ScanSlots.resize(1);
    Bank& slot = state.ScanSlots[0];
    slot.Start = 1'080'000;
    slot.End = 1'180'000;
    slot.Step = 20'000;
    slot.Modulation = 'A';
    slot.InUse = 1;
    state.SlotIndex = 0;
    Post(PostLoadReceiverSetup);
    const AorSearchBank& bank = panel.SearchBanks[static_cast<std::size_t>(panel.CurrentSearchBank)];
    EXPECT_EQ(bank.Lower, 1'080'000u);
    EXPECT_EQ(bank.Upper, 1'180'000u);
    EXPECT_EQ(bank.Mode, 'A');
    EXPECT_EQ(bank.Step, 9'999u);
}

// The current bank's read takes the search bank of its number; a reply for another channel
// than the one asked is not that channel's.
TEST_F(Ar8000Banks, TheCurrentBankIsReadWithTheSearchBankOfItsNumber) {
    emulator.SetChannel(12, 5, Samples()[2].onSet);
    emulator.SetSearchBank(12,
                           {144'000'000, 146'000'000, AorSettings{25'000, '2', '3', '1'}, "BAND"});
    panel.ChannelAt(12, 6).Frequency = 1'000'000;  // the set has nothing there
    ui::EventData pick;
    pick.id = ui::EventId::Select;
    pick.value = 12;
    panel.bn->Raise(pick);
    EXPECT_EQ(panel.CurrentBank, 12);
    EXPECT_EQ(panel.CurrentSearchBank, 12);
    emulator.ClearReceivedLines();
    panel.ReadCurrentBank();
    EXPECT_EQ(panel.ChannelAt(12, 5).Frequency, 4'339'200u);
    EXPECT_TRUE(panel.ChannelAt(12, 6).Empty());
    const AorSearchBank& band = panel.SearchBanks[12];
    EXPECT_EQ(band.Lower, 1'440'000u);
    EXPECT_EQ(band.Mode, 'A');
    EXPECT_TRUE(band.Attenuator);
    EXPECT_EQ(band.Label, "BAND");
    EXPECT_EQ(LinesStartingWith("SR"), Strings{"SRh"});
    // The set's level: once before the bank, and the one channel's that holds something.
    EXPECT_EQ(LinesStartingWith("LM").size(), 2u);
    EXPECT_EQ(panel.textb_Fn->Text(), " 144.0000");
}

// A line that answers for another channel (one still on its way) is not the channel asked
// for: the channel is not taken from it.
TEST_F(Ar8000Banks, AChannelIsNotTakenFromAnotherChannelsLine) {
    emulator.SetChannel(0, 5, Samples()[0].onSet);
    emulator.SetGarbage("MR MXA09 RF0433920000 ST012500 MD2 AT0 MP0 TMOTHER\r\n");
    EXPECT_FALSE(panel.ReadChannel(0, 5));
    EXPECT_NE(panel.ChannelAt(0, 5).Label, "OTHER");
    EXPECT_NE(panel.ChannelAt(0, 5).Frequency, 4'339'200u);
    emulator.SetGarbage("");
    EXPECT_TRUE(panel.ReadChannel(0, 5));
    EXPECT_EQ(panel.ChannelAt(0, 5).Label, "CALLS");
}

// With direct writing the bank chosen is selected on the set with its search bank, and the
// channel and the search bank are read from it.
TEST_F(Ar8000Banks, ChoosingABankWithDirectWritingGoesThereOnTheSet) {
    emulator.SetChannel(5, 0, Samples()[0].onSet);
    emulator.SetSearchBank(5, {144'000'000, 146'000'000, AorSettings{25'000, '2'}, "F"});
    panel.DirectWrite = true;
    ui::EventData e;
    e.id = ui::EventId::DeltaPosition;
    e.value = -1;
    panel.updwbnum->Raise(e);  // from bank 0 down comes 19
    ui::ServePending();
    EXPECT_EQ(panel.CurrentBank, 19);
    panel.updwbnum->Raise(e);
    e.value = 1;
    for (int i = 0; i < 6; ++i) panel.updwbnum->Raise(e);  // 18 up to 19, 0, 1 .. 4
    ui::ServePending();
    EXPECT_EQ(panel.CurrentBank, 4);
    emulator.ClearReceivedLines();
    panel.updwbnum->Raise(e);
    ASSERT_TRUE(ServeUntil([&] { return panel.SearchBanks[5].Lower != 0; }));
    EXPECT_EQ(panel.CurrentBank, 5);
    EXPECT_EQ(panel.CurrentSearchBank, 5);
    EXPECT_EQ(Lines(), (Strings{"MRF00", "SRF", "MRF00", "LM"}));
    EXPECT_EQ(panel.ChannelAt(5, 0).Frequency, 1'455'000u);
    EXPECT_EQ(panel.SearchBanks[5].Lower, 1'440'000u);
    EXPECT_EQ(panel.sbank->Text(), "F");
}

// The search bank's attenuator box turns the set's one depth on and off: kept by the panel
// alone without direct writing; with it the bank is read from the set, changed there and
// written back. A box that agrees with the bank sends nothing.
TEST_F(Ar8000Banks, TheSearchBanksAttenuatorBoxTurnsItsOneDepthOnAndOff) {
    panel.SearchBanks[3] = {
        .Lower = 1'440'000, .Upper = 1'460'000, .Step = 125, .Mode = 'F', .Label = "2M"};
    ASSERT_EQ(RunJob(224, 3).ReturnCode, 0);
    ASSERT_TRUE(panel.checkbox_att->IsEnabled());
    EXPECT_FALSE(panel.checkbox_att->IsChecked());
    emulator.ClearReceivedLines();
    const auto tick = [&](bool on) {
        panel.checkbox_att->SetChecked(on);
        panel.checkbox_att->Raise(ui::EventId::Click);
        ui::ServePending();
    };
    tick(true);
    EXPECT_TRUE(panel.SearchBanks[3].Attenuator);
    EXPECT_EQ(panel.SearchBanks[3].AttenuatorDb, 10u);
    EXPECT_TRUE(Lines().empty());

    panel.DirectWrite = true;
    emulator.SetSearchBank(3, {145'000'000, 146'000'000, AorSettings{25'000, '2', '3', '1'}, "F"});
    tick(true);
    EXPECT_TRUE(Lines().empty());
    tick(false);
    EXPECT_EQ(LinesStartingWith("S"),
              (Strings{"SRD", "SED SL145000000 SU146000000 ST25000 MD2 AT0 TTF"}));
    EXPECT_FALSE(panel.SearchBanks[3].Attenuator);
    EXPECT_EQ(panel.SearchBanks[3].AttenuatorDb, 0u);
    EXPECT_EQ(panel.SearchBanks[3].Lower, 1'450'000u);
    EXPECT_EQ(emulator.SearchBank(3).settings.attenuator, '0');
}

// Storing the current settings starts the channel afresh and writes it at once with direct
// writing; a store without it sends nothing.
TEST_F(Ar8000Banks, TheCurrentSettingsGoIntoTheSelectedChannel) {
    panel.BankPositions[0] = 4;
    panel.ChannelAt(0, 4).Label = "OLD";
    state.Frequency = 1'455'000;
    state.Step = 125;
    state.Modulation = 'F';
    panel.StoreCurrentSettings();
    EXPECT_EQ(panel.ChannelAt(0, 4).Frequency, 1'455'000u);
    EXPECT_EQ(panel.ChannelAt(0, 4).Label, "");
    EXPECT_TRUE(Lines().empty());
    panel.DirectWrite = true;
    panel.StoreCurrentSettings();
    EXPECT_EQ(Lines(), (Strings{"MXA04 RF145500000 ST12500 MD1 AT0 TM       ", "MP0"}));
    EXPECT_EQ(emulator.Channel(0, 4).frequencyHz, 145'500'000u);
}

// With direct writing a store the set refuses is told as a bank write tells it, by the bank's
// letter, from the button and from the job line (which fails), and the channel and its row
// keep what they had.
TEST_F(Ar8000Banks, AStoreTheSetRefusesIsToldAndTheChannelKeepsWhatItHad) {
    panel.BankPositions[0] = 4;
    panel.ChannelAt(0, 4).Frequency = 1'000'000;
    panel.ChannelAt(0, 4).Label = "OLD";
    const MemoryChannel kept = panel.ChannelAt(0, 4);
    panel.DirectWrite = true;
    state.Frequency = 1'455'000;
    state.Modulation = 'F';
    emulator.SetRefused({"MX"});
    const Strings told{"Не записано в приемник каналов: 1 (первый: банк A, канал 4)"};

    panel.cb_3->Raise(ui::EventId::Click);
    ui::ServePending();
    EXPECT_EQ(messages, told);
    EXPECT_EQ(panel.ChannelAt(0, 4), kept);
    EXPECT_EQ(panel.lv_1->Cell(4, 0), " 100.0000");
    messages.clear();
    const JobStr line = RunJob(213);
    EXPECT_EQ(line.ReturnCode, 1u);
    EXPECT_EQ(line.Message, told[0]);
    EXPECT_EQ(panel.ChannelAt(0, 4), kept);
    EXPECT_TRUE(messages.empty());

    emulator.SetRefused({});
    EXPECT_EQ(RunJob(213).ReturnCode, 0u);
    EXPECT_EQ(emulator.Channel(0, 4).frequencyHz, 145'500'000u);
    EXPECT_EQ(panel.lv_1->Cell(4, 0), " 145.5000");
}

// A bank write the set refuses is told and fails the job line; with direct writing the
// read-back after it leaves the operator's channel and search bank as they were.
TEST_F(Ar8000Banks, ABankWriteTheSetRefusesIsToldAndKeepsTheOperatorsChannels) {
    panel.BankPositions[0] = 4;
    panel.ChannelAt(0, 4) = Samples()[0].record;
    panel.ChannelAt(0, 4).Number = 4;
    const MemoryChannel kept = panel.ChannelAt(0, 4);
    AorSearchBank& band = panel.SearchBanks[0];
    band = {.Lower = 1'440'000, .Upper = 1'460'000, .Step = 125, .Mode = 'F', .Label = "2M"};
    const AorSearchBank keptBand = band;
    panel.DirectWrite = true;
    emulator.SetRefused({"MX", "SE"});

    const JobStr line = RunJob(212);
    EXPECT_EQ(line.ReturnCode, 1u);
    EXPECT_EQ(line.Message, "Не записано в приемник каналов: 2 (первый: банк A, канал 4)");
    EXPECT_EQ(LinesStartingWith("MRA04").size(), 1u);  // the read-back
    EXPECT_EQ(panel.ChannelAt(0, 4), kept);
    EXPECT_EQ(panel.SearchBanks[0], keptBand);
    EXPECT_EQ(panel.lv_1->Cell(4, 0), " 145.5000");
}

// A search bank the set reports empty by "---" alone gets no limits in a read.
TEST_F(Ar8000Banks, ASearchBankTheSetReportsEmptyGetsNoLimits) {
    emulator.SetBareEmptySearchBanks(true);
    panel.SearchBanks[0] = {.Lower = 1'440'000, .Upper = 1'460'000, .Step = 125, .Mode = 'F', .Label = "OLD"};
    panel.ReadCurrentBank();
    EXPECT_TRUE(panel.SearchBanks[0].Empty());
    EXPECT_EQ(panel.textb_Fn->Text(), "выкл");
    EXPECT_TRUE(messages.empty());
}

// As the AR8200's: a clear empties the bank's channels (every bank's with the whole-memory
// box) and gives the current search bank, the bank's own, limits 0; the others stay.
TEST_F(Ar8000Banks, AClearEmptiesTheBanksAndTheCurrentSearchBanksLimits) {
    for (const bool whole : {false, true}) {
        SCOPED_TRACE(whole);
        for (const int bank : {3, 5}) {
            panel.ChannelAt(bank, 10).Frequency = 1'455'000;
            panel.SearchBanks[static_cast<std::size_t>(bank)] = {
                .Lower = 1'440'000, .Upper = 1'460'000, .Step = 125, .Label = "2M"};
        }
        EXPECT_EQ(RunJob(224, 3).ReturnCode, 0);
        ASSERT_EQ(panel.CurrentSearchBank, 3);
        panel.WholeMemory = whole;
        Post(PostClearData);
        EXPECT_TRUE(panel.ChannelAt(3, 10).Empty());
        EXPECT_EQ(panel.ChannelAt(5, 10).Empty(), whole);
        EXPECT_TRUE(panel.SearchBanks[3].Empty());
        EXPECT_EQ(panel.SearchBanks[5].Lower, 1'440'000u);
    }
}

// The set lost part-way through a read of its whole memory into a panel that holds it already
// (it falls silent, as one unplugged): cut before a channel, at its line or at its level, or at
// a search bank, every channel and search bank keeps what the panel had, and the read stops
// there and says so once.
TEST_F(Ar8000Banks, AReadCutByALostSetKeepsEverythingThePanelHad) {
    for (const Sample& s : Samples()) {
        panel.ChannelAt(s.bank, s.channel) = s.record;
        emulator.SetChannel(s.bank, s.channel, s.onSet);
    }
    emulator.SetSearchBank(9, {144'000'000, 146'000'000, AorSettings{12'500, '1'}, "2M"});
    panel.WholeMemory = true;
    emulator.ClearReceivedLines();
    panel.ReadAllBanks();
    ASSERT_TRUE(messages.empty());
    const std::vector<MemoryChannel> channels = panel.Channels;
    const std::vector<AorSearchBank> searchBanks = panel.SearchBanks;
    const Strings whole = Lines();
    std::vector<std::size_t> cuts;
    for (const char* asked : {"MRA10", "SRJ"}) {
        const auto at = std::find(whole.begin(), whole.end(), asked);
        ASSERT_NE(at, whole.end()) << asked;
        const auto index = static_cast<std::size_t>(at - whole.begin());
        cuts.insert(cuts.end(), {index - 1, index, index + 1});
    }
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

// A label edited by hand goes to the set in the characters its text takes, every other one a
// blank: no CR, LF or control byte reaches the line, and the panel keeps the label it has,
// read back too.
TEST_F(Ar8000Banks, ALabelGoesToTheSetInTheCharactersItsTextTakes) {
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
              Strings{"MXA00 RF145500000 ST12500 MD1 AT0 TM" + kSentLabel});
    EXPECT_EQ(LinesStartingWith("SE"),
              Strings{"SEA SL144000000 SU146000000 ST25000 MD1 AT0 TT" + kSentLabel});
    EXPECT_EQ(refusals.Count(), 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(emulator.Channel(0, 0).label, kSentLabel);
    EXPECT_EQ(panel.ChannelAt(0, 0).Label, kUnsendableLabel);
    EXPECT_EQ(panel.SearchBanks[0].Label, kUnsendableLabel);
    panel.ReadCurrentBank();
    EXPECT_EQ(panel.ChannelAt(0, 0).Label, kUnsendableLabel);
    EXPECT_EQ(panel.SearchBanks[0].Label, kUnsendableLabel);
}

// A read keeps the panel's label (one the set's field cannot spell, read back as blanks) only
// where the set still holds the panel's channel, at its frequency, or its search bank, with its
// limits: a channel stored there since, on the set or in an empty place of the panel, has the
// set's label.
TEST_F(Ar8000Banks, ALabelIsKeptOnlyWhereTheSetStillHoldsThePanelsChannel) {
    struct Row {
        const char* what;
        uint32_t panels;  // the panel's frequency, or lower limit
        uint64_t setsHz;  // the set's
        const char* setsLabel;
        const char* label;  // after the read
    };
    const Row rows[] = {
        {"the panel's", 1'455'000, 145'500'000, "       ", "ЗАПАД"},
        {"another, no name", 1'455'000, 433'920'000, "       ", ""},
        {"another, named", 1'455'000, 433'920'000, "   WEST", "WEST"},
        {"in an empty place", 0, 145'500'000, "       ", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MemoryChannel& c = panel.ChannelAt(0, 4);
        c = AR8000::kChannelLayout.Empty(4);
        c.Frequency = row.panels;
        c.Step = 125;
        c.Label = "ЗАПАД";
        emulator.SetChannel(0, 4, AorChannel{row.setsHz, AorSettings{12'500, '1'}, row.setsLabel});
        AorSearchBank& band = panel.SearchBanks[0];
        band = {.Lower = row.panels, .Upper = 1'460'000, .Step = 125, .Label = "ЗАПАД"};
        emulator.SetSearchBank(0,
                               {row.setsHz, 146'000'000, AorSettings{12'500, '1'}, row.setsLabel});
        ASSERT_TRUE(panel.ReadChannel(0, 4));
        ASSERT_TRUE(panel.ReadSearchBank(0));
        EXPECT_EQ(panel.ChannelAt(0, 4).Label, row.label);
        EXPECT_EQ(panel.ChannelAt(0, 4).Frequency, row.setsHz / 100);
        EXPECT_EQ(panel.SearchBanks[0].Label, row.label);
    }
}

// A hand-edited state file, then a write of every bank: each step and label goes to the set
// as its line takes it, the set refuses nothing, the channel without faults goes as it was,
// and the close writes what was read, the same again after another read.
TEST_F(Ar8000Banks, AHandEditedStateFileSendsTheSetOnlyWhatItsLinesTake) {
    StampedAt7March2001 clock;
    const std::string path = folder.Dir() + "AR8000.001";
    const uint32_t step = state.Step;
    WriteBytes(
        path, HandEditedFile("Шаг=-5", {"SFN=1460000", "SFK=1440000", "SF_ID=" + kHundredCharacters,
                                        "SF_MOD=F", "SFN=1080000", "SFK=1360000",
                                        "SF_STEP=99999999999", "SF_MOD=W"}));
    ASSERT_TRUE(panel.ReadStateFile());
    EXPECT_EQ(state.Step, step);

    SetRefusals refusals(emulator);
    panel.WholeMemory = true;
    panel.WriteAllBanks();
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
    EXPECT_EQ(refusals.Count(), 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(LinesStartingWith("MX"), (Strings{"MXA00 RF145500000 ST100 MD1 AT0 TMXXXXXXX",
                                                "MXA01 RF118800000 ST100 MD2 AT0 TM       ",
                                                "MXA02 RF433920000 ST5000 MD3 AT0 TM   KEEP"}));
    EXPECT_EQ(LinesStartingWith("SE"), (Strings{"SEA SL144000000 SU146000000 ST100 MD1 AT0 TTXXXXXXX",
                                                "SEB SL108000000 SU136000000 ST100 MD0 AT0 TT"}));
    ExpectStepsTheSetTakes(LinesStartingWith("MX"));
    ExpectStepsTheSetTakes(LinesStartingWith("SE"));

    ASSERT_TRUE(panel.WriteStateFile());
    const std::string written = ReadBytes(path);
    const std::string text = Cp1251ToUtf8(written);
    EXPECT_EQ(WrittenPart(text, "F=1455000", "F=0"),
              "F=1455000\r\nF_STEP=1\r\nF_ID=XXXXXXX\r\nF_MOD=F\r\nF=1188000\r\nF_STEP=1\r\n"
              "F_MOD=A\r\nF=4339200\r\nF_STEP=50\r\nF_ID=KEEP\r\nF_MOD=U\r\n");
    EXPECT_EQ(WrittenPart(text, "SFN=1440000", "SFN=0"),
              "SFN=1440000\r\nSFK=1460000\r\nSF_STEP=1\r\nSF_ID=XXXXXXX\r\nSF_MOD=F\r\n"
              "SFN=1080000\r\nSFK=1360000\r\nSF_STEP=1\r\nSF_MOD=W\r\n");
    ASSERT_TRUE(panel.ReadStateFile());
    ASSERT_TRUE(panel.WriteStateFile());
    EXPECT_EQ(ReadBytes(path), written);
}

// ---------------------------------------------------------------------------------------
// The state file

class Ar8000StateFile : public StateFileRuns {
  protected:
    std::string Path() const { return PathOf("AR8000"); }
};

void GiveSettings(AR8000& panel, FDX& state) {
    state.Frequency = 1'455'000;
    state.Step = 125;
    state.Modulation = 'F';
    state.Attenuator = 1;
    state.AttenuatorDb = 10;
    panel.CurrentBank = panel.CurrentSearchBank = 12;
    panel.BankPositions[12] = 7;
    panel.DirectWrite = panel.WholeMemory = true;
    panel.Threshold = 5;
    panel.DelaySeconds = 30;
    AorScanSettings& scan = panel.ScanSettings;
    scan.kind = AorScanSettings::Kind::MemoryBanks;
    scan.DelayOn = scan.Voice = scan.LevelBox = scan.SelectScan = scan.ModeScan = true;
    scan.ModeChoice = 3;
    scan.Action = ScanStopAction::IntoBank;
    scan.JobName = "Ночь";
    scan.SearchLinks = "Bj";
    scan.MemoryLinks = "Aah";
    for (const Sample& s : Samples()) panel.ChannelAt(s.bank, s.channel) = s.record;
    panel.ChannelAt(0, 0).Select = true;
    panel.ChannelAt(0, 0).Label = "Позыв";
    panel.SearchBanks[12] = {.Lower = 1'440'000,
                             .Upper = 1'460'000,
                             .Step = 125,
                             .Mode = 'A',
                             .Label = "2M",
                             .Attenuator = true,
                             .AttenuatorDb = 10};
    panel.SearchBanks[19] = {
        .Lower = 1'080'000, .Upper = 1'360'000, .Step = 250, .Mode = 'W', .Label = {}};
    panel.Scale.SetCell(14'550, 90);
    panel.Scale.SetCell(190'000, 33);
}

TEST_F(Ar8000StateFile, IsReadBackAsItWasWrittenByteForByteAndStaysThere) {
    StampedAt7March2001 clock;
    AR8000 panel;
    ASSERT_TRUE(panel.Create(&main, &state));
    GiveSettings(panel, state);
    ASSERT_TRUE(panel.WriteStateFile());
    EXPECT_EQ(ReadBytes(Path()), ReceiverGolden("aor/ar8000", "AR8000.001"));
    const std::string written = Cp1251ToUtf8(ReadBytes(Path()));
    EXPECT_EQ(written.find("QMOD"), std::string::npos);
    EXPECT_EQ(written.find("Банк_поиска=12\r\n"), written.rfind("Банк_поиска"));
    panel.Destroy();

    AR8000 again;
    ASSERT_TRUE(again.Create(&main, &fresh));
    EXPECT_TRUE(std::filesystem::exists(Path()));
    for (const Sample& s : Samples())
        EXPECT_EQ(again.ChannelAt(s.bank, s.channel), panel.ChannelAt(s.bank, s.channel));
    EXPECT_EQ(again.SearchBanks, panel.SearchBanks);
    EXPECT_EQ(again.ScanSettings, panel.ScanSettings);
    EXPECT_EQ(again.CurrentBank, 12);
    EXPECT_EQ(again.CurrentSearchBank, 12);
    EXPECT_EQ(again.SelectedChannel(), 7);
    EXPECT_EQ(again.Threshold, 5u);
    EXPECT_EQ(again.DelaySeconds, 30u);
    EXPECT_TRUE(again.DirectWrite && again.WholeMemory);
    EXPECT_EQ(fresh.Attenuator, 1);
    EXPECT_EQ(fresh.Modulation, 'F');
    ASSERT_TRUE(again.WriteStateFile());
    EXPECT_EQ(Cp1251ToUtf8(ReadBytes(Path())), written);
}

// The search bank in use is the bank's, whatever the file names.
TEST_F(Ar8000StateFile, TheSearchBankInUseIsTheBanksWhateverTheFileSays) {
    WriteBytes(Path(), Cp1251Lines({"Банк=3", "Банк_поиска=7"}));
    AR8000 panel;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.CurrentBank, 3);
    EXPECT_EQ(panel.CurrentSearchBank, 3);
}

// Values that pick a place or go to the set are checked: outside their ranges they are left.
TEST_F(Ar8000StateFile, ValuesOutsideThePanelsRangesAreNotTaken) {
    WriteBytes(Path(), Cp1251Lines({"Модуляция=R ", "Банк=20", "Банки_поиска=A-kz-AB",
                                    "Позиция_Банк=50", "Позиция_Банк=49", "Время_задержки=0",
                                    "Сигнал=8", "Пауза=9", "Мод_тип=6", "Банк_поиска=25"}));
    AR8000 panel;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(state.Modulation, 'W');
    EXPECT_EQ(panel.CurrentBank, 0);
    EXPECT_EQ(panel.CurrentSearchBank, 0);
    EXPECT_EQ(panel.ScanSettings.SearchLinks, "AB");
    EXPECT_EQ(panel.BankPositions[0], 0);
    EXPECT_EQ(panel.BankPositions[1], 49);
    EXPECT_EQ(panel.DelaySeconds, AR8000::kShortestDelay);
    EXPECT_EQ(panel.Threshold, AR8000::kLowestThreshold);
    EXPECT_EQ(panel.ScanSettings.Action, ScanStopAction::Pause);
    EXPECT_EQ(panel.ScanSettings.ModeChoice, 0u);
}

}  // namespace
