// The memory channel every panel with banks keeps: its state-file keys as a model's memory
// holds them, and the way to and from the working bank, also through the panels themselves.

#include "receivers/memory_channel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "receivers/comm.h"
#include "receivers/panel_registry.h"
#include "receivers/state_file.h"
#include "state/cp1251.h"
#include "state/fdx.h"
#include "state/key_value.h"
#include "state/message_bus.h"
#include "state/user_freq.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/receivers/receiver_files.h"
#include "tests/support/program_folder.h"
#include "ui/post.h"

namespace {

constexpr uint32_t kDepths[] = {10, 20, 30};
constexpr uint32_t kLower = 1000;
constexpr uint32_t kUpper = 20'000'000;

// A memory of frequency, step, mode, attenuator and label only.
const ChannelLayout kPlainMemory{
    .holds = {.filter = false, .depth = false, .select = false, .skip = false},
    .labelWidth = 8,
    .depths = kDepths,
    .emptyModulation = 'W',
    .bankSize = 2};
const ChannelLayout kFullMemory{
    .holds = {}, .labelWidth = 8, .depths = kDepths, .emptyModulation = 'W', .bankSize = 2};

MemoryChannel Beacon() {
    MemoryChannel c;
    c.Frequency = 1'455'000;
    c.Step = 125;
    c.Modulation = 'A';
    c.Filter = 2;
    c.Label = "Маяк";
    c.Attenuator = true;
    c.AttenuatorDb = 20;
    c.Select = c.Skip = true;
    return c;
}

// A bank item's channel of every field.
Mt BeaconItem(const std::string& identifier, uint32_t qatt, uint32_t qmod) {
    Mt item;
    item.Frequency = 1'455'000;
    item.Step = 125;
    item.Modulation = 'F';
    item.Identifier = identifier;
    item.Attenuator = 1;
    item.QATT = qatt;
    item.QMOD = qmod;
    item.Select = item.Skip = 1;
    return item;
}

std::string Written(const std::vector<MemoryChannel>& records, const ChannelLayout& layout,
                    const std::string& path) {
    StateFileWriter file;
    WriteChannelKeys(file, records, layout);
    EXPECT_TRUE(file.Save(path));
    return Cp1251ToUtf8(ReadBytes(path));
}

// Feeds "key=value" lines to a reader of `records`.
void Read(std::vector<MemoryChannel>& records, const ChannelLayout& layout,
          const std::vector<std::string>& lines) {
    ChannelKeyReader reader(records, layout, kLower, kUpper);
    for (const std::string& line : lines) {
        const auto kv = SplitKeyValue(line);
        ASSERT_TRUE(kv.has_value()) << line;
        EXPECT_TRUE(reader.Take(kv->key, kv->value)) << line;
    }
}

TEST(MemoryChannelKeys, AModelWritesTheFieldsItsMemoryHoldsAndReadsThemBack) {
    TempDir dir;
    const std::string path = dir.File("IC8500.001");
    MemoryChannel empty = kFullMemory.Empty(1);
    empty.Label = "gone";  // an empty channel is its frequency line alone
    const std::vector<MemoryChannel> records = {Beacon(), empty};

    EXPECT_EQ(Written(records, kFullMemory, path),
              "Частот_Банков=2\r\nF=1455000\r\nF_ATT=+\r\nF_QATT=20\r\nF_STEP=125\r\nF_SEL=+\r\n"
              "F_SKIP=+\r\nF_ID=Маяк\r\nF_MOD=A\r\nF_QMOD=2\r\nF=0\r\n");
    EXPECT_EQ(Written(records, kPlainMemory, path),
              "Частот_Банков=2\r\nF=1455000\r\nF_ATT=+\r\nF_STEP=125\r\nF_ID=Маяк\r\nF_MOD=A\r\n"
              "F=0\r\n");

    // Read back: what the memory holds returns; the rest stays empty.
    StateFileHead head;
    LevelScale scale;
    for (const ChannelLayout* layout : {&kFullMemory, &kPlainMemory}) {
        Written(records, *layout, path);
        std::vector<MemoryChannel> read(2, Beacon());
        ChannelKeyReader reader(read, *layout, kLower, kUpper);
        ASSERT_TRUE(ReadStateFile(path, head, scale, [&](std::string_view k, std::string_view v) {
            EXPECT_TRUE(reader.Take(k, v));
        }));
        MemoryChannel expected = Beacon();
        if (layout == &kPlainMemory) {
            expected.Filter = 0;
            expected.AttenuatorDb = 10;
            expected.Select = expected.Skip = false;
        }
        EXPECT_EQ(read[0], expected);
        EXPECT_EQ(read[1], layout->Empty(1));
    }
}

TEST(MemoryChannelKeys, TheReaderKeepsToItsRecordsTheLimitsAndTheModelsValues) {
    std::vector<MemoryChannel> records(3, Beacon());
    Read(records, kFullMemory,
         {"Частот_Банков=2", "F=99999999", "F_ATT=+", "F_MOD=Z", "F_QMOD=7", "F=1455000", "F_ATT=+",
          "F_QATT=15", "F=0", "F=1000000", "F_ID=beyond", "F_OTHER=1"});
    EXPECT_EQ(records[0].Frequency, kUpper);
    EXPECT_EQ(records[0].AttenuatorDb, 10u);  // a file without the depth: the first one
    EXPECT_EQ(records[0].Modulation, 'W');    // an unknown letter leaves the empty one
    EXPECT_EQ(records[0].Filter, 2);
    EXPECT_EQ(records[0].Number, 0);
    EXPECT_EQ(records[1].AttenuatorDb, 20u);  // between two depths: the next one up
    EXPECT_EQ(records[1].Number, 1);
    EXPECT_EQ(records[2], kFullMemory.Empty(0));  // beyond the count of two: read all the same
    // Beyond the records, with its keys: nowhere.

    // The count starts the records again; a key of another part is not the reader's.
    Read(records, kFullMemory, {"Частот_Банков=9", "F=0"});
    EXPECT_EQ(records[0], kFullMemory.Empty(0));
    ChannelKeyReader reader(records, kFullMemory, kLower, kUpper);
    EXPECT_FALSE(reader.Take("Банк", "3"));
}

// Numbers beyond their fields read as no number and then go within the model's ranges like
// any other; a label goes to the model's width; a count that cannot be one bounds nothing.
// What is read is written and read back the same.
TEST(MemoryChannelKeys, ValuesBeyondTheirFieldsAreHeldAndReadBackTheSame) {
    const std::string label(100, 'X');
    std::vector<MemoryChannel> records(4, Beacon());
    Read(records, kFullMemory,
         {"Частот_Банков=-3", "F=1455000", "F_ATT=+", "F_QATT=99999999999", "F_STEP=99999999999",
          "F_ID=" + label, "F_QMOD=99999999999", "F=1455000", "F_STEP=-5", "F=1455000",
          "F_STEP=50000", "F=1455000"});
    EXPECT_EQ(records[0].AttenuatorDb, 10u);
    EXPECT_EQ(records[0].Filter, 0);
    EXPECT_EQ(records[0].Label, "XXXXXXXX");
    for (const MemoryChannel& r : {records[0], records[1], records[3]}) EXPECT_EQ(r.Step, 1u);
    EXPECT_EQ(records[2].Step, 9999u);

    TempDir dir;
    const std::string path = dir.File("AR8000.001");
    StateFileHead head;
    LevelScale scale;
    Written(records, kFullMemory, path);
    std::vector<MemoryChannel> again(4);
    ChannelKeyReader reader(again, kFullMemory, kLower, kUpper);
    ASSERT_TRUE(ReadStateFile(path, head, scale, [&](std::string_view k, std::string_view v) {
        reader.Take(k, v);
    }));
    EXPECT_EQ(again, records);

    // Nor does "not a number", 0, or a number that falls short of the records behind it.
    for (const std::string count : {"x", "0", "1"}) {
        Read(again, kFullMemory, {"Частот_Банков=" + count, "F=1000000", "F=2000000"});
        EXPECT_EQ(again[1].Frequency, 2'000'000u) << count;
        again[1].Frequency = 0;
    }
}

TEST(WorkingBank, ChannelsGoBothWaysInTheirPlacesAsTheModelHoldsThem) {
    FDX fdx;
    fdx.Channels.assign(3, Mt{});
    fdx.Channels[0] = BeaconItem("Маяк Северный", 15, 5);
    fdx.Channels[0].Work = 77;
    fdx.Channels[2].Frequency = 30'000'000;
    fdx.Channels[2].Modulation = static_cast<char>(0xD4);  // "Ф"
    fdx.ChannelCount = 3;

    std::vector<MemoryChannel> bank(4, Beacon());
    TakeWorkingBank(fdx, bank, kPlainMemory, kLower, kUpper);
    EXPECT_EQ(bank[0].Label, "Маяк Сев");
    EXPECT_EQ(bank[0].AttenuatorDb, 10u);  // the memory keeps no depth
    EXPECT_EQ(bank[0].Filter, 0);
    EXPECT_FALSE(bank[0].Select);
    EXPECT_EQ(bank[0].Level, 0);
    EXPECT_EQ(bank[2].Frequency, kUpper);
    EXPECT_EQ(bank[2].Modulation, 'W');
    EXPECT_EQ(bank[3], kPlainMemory.Empty(3));  // beyond the working bank's count

    TakeWorkingBank(fdx, bank, kFullMemory, kLower, kUpper);
    EXPECT_EQ(bank[0].AttenuatorDb, 20u);
    EXPECT_EQ(bank[0].Filter, 2);
    EXPECT_TRUE(bank[0].Select && bank[0].Skip);

    // Given back up to the last channel with a frequency, the empty one in its place.
    bank[2].Frequency = 0;
    fdx.ChannelCount = 0;
    ASSERT_EQ(GiveWorkingBank(fdx, bank), 1u);
    EXPECT_EQ(fdx.ChannelCount, 1);
    bank[1] = Beacon();
    ASSERT_EQ(GiveWorkingBank(fdx, bank), 2u);
    EXPECT_EQ(fdx.Channels[0].Identifier, "Маяк Сев");
    EXPECT_EQ(fdx.Channels[0].QATT, 20u);
    EXPECT_EQ(fdx.Channels[0].Work, 0);
    EXPECT_EQ(fdx.Channels[1].Number, 1);
    EXPECT_EQ(fdx.Channels[1].Select, 1);

    // A bank without a frequency leaves the working bank as it was.
    for (MemoryChannel& c : bank) c.Frequency = 0;
    EXPECT_EQ(GiveWorkingBank(fdx, bank), 0u);
    EXPECT_EQ(fdx.ChannelCount, 2);
}

// What a store of the program's current settings and a tune to a channel exchange, as a
// model's layout says.
void SetCurrentSettings(FDX& fdx) {
    fdx.Frequency = 99'999'999;  // beyond the limits
    fdx.Step = 125;
    fdx.Modulation = 'A';
    fdx.Filter = 2;
    fdx.Attenuator = 1;
    fdx.AttenuatorDb = 15;
    fdx.Level = -1;  // none measured
}

TEST(CurrentSettings, GoIntoAChannelAsTheModelHoldsThemAfreshOrKeepingItsLabelAndMarks) {
    FDX fdx;
    SetCurrentSettings(fdx);
    MemoryChannel channel = Beacon();
    channel.Number = 7;
    EXPECT_TRUE(SettingsIntoChannel(fdx, channel, kFullMemory, kLower, kUpper));
    MemoryChannel expected = kFullMemory.Empty(7);
    expected.Frequency = kUpper;
    expected.Step = 125;
    expected.Modulation = 'A';
    expected.Filter = 2;
    expected.Attenuator = true;
    expected.AttenuatorDb = 20;  // between two depths: the next one up
    EXPECT_EQ(channel, expected);  // label, select and skip emptied, no level

    // A memory without filters or depths keeps none; an unknown letter is not taken.
    fdx.Modulation = 'Z';
    fdx.Level = 77;
    channel = Beacon();
    EXPECT_TRUE(SettingsIntoChannel(fdx, channel, kPlainMemory, kLower, kUpper));
    EXPECT_EQ(channel.Modulation, 'W');
    EXPECT_EQ(channel.Filter, 0);
    EXPECT_EQ(channel.AttenuatorDb, 10u);
    EXPECT_EQ(channel.Level, 77);

    // The AR5000's rule keeps the label and the marks and writes nothing; an attenuator off
    // keeps no depth.
    ChannelLayout keeping = kFullMemory;
    keeping.store = ChannelStore::KeepLabelAndFlags;
    fdx.Attenuator = 0;
    channel = Beacon();
    EXPECT_FALSE(SettingsIntoChannel(fdx, channel, keeping, kLower, kUpper));
    EXPECT_EQ(channel.Label, "Маяк");
    EXPECT_TRUE(channel.Select && channel.Skip);
    EXPECT_FALSE(channel.Attenuator);
    EXPECT_EQ(channel.AttenuatorDb, 0u);
}

TEST(CurrentSettings, TakeAChannelsButAStepOrADepthItLacks) {
    FDX fdx;
    SetCurrentSettings(fdx);
    MemoryChannel channel = Beacon();
    channel.Level = 40;
    ChannelIntoSettings(channel, fdx);
    EXPECT_EQ(fdx.Frequency, 1'455'000u);
    EXPECT_EQ(fdx.Modulation, 'A');
    EXPECT_EQ(fdx.Filter, 2);
    EXPECT_EQ(fdx.AttenuatorDb, 20u);
    EXPECT_EQ(fdx.Level, 40);

    // A channel without a step leaves the program's (a scale scan would stand still); one of
    // a model without depths leaves the program's depth.
    channel.Step = 0;
    channel.AttenuatorDb = 0;
    channel.Filter = 0;
    ChannelIntoSettings(channel, fdx);
    EXPECT_EQ(fdx.Step, 125u);
    EXPECT_EQ(fdx.Attenuator, 1);
    EXPECT_EQ(fdx.AttenuatorDb, 20u);
    EXPECT_EQ(fdx.Filter, 0);
    channel.Attenuator = false;
    ChannelIntoSettings(channel, fdx);
    EXPECT_EQ(fdx.Attenuator, 0);
}

// A label goes to a set in the characters its field takes, each other character one blank in
// its place, cut to the field's width; the panel's label is not touched, nor replaced when
// the set reads that field back (padded or not). Another label the set holds is the set's.
TEST(LabelForSet, EveryCharacterTheFieldDoesNotTakeIsOneBlankInItsPlace) {
    struct Row {
        const char* label;  // UTF-8, as the panel keeps it
        std::size_t width;
        std::string field;  // code page 1251 bytes
    };
    const std::string handEdited = Cp1251ToUtf8("TM \x98\x01\xff\x7f!");
    const Row rows[] = {
        {"CALLS", 8, "CALLS"},
        {"", 8, ""},
        {"TOOLONGLABEL", 5, "TOOLO"},
        {handEdited.c_str(), 8, "TM     !"},  // 0x98, 0x01, "я", DEL
        {"Ж1", 4, " 1"},                      // a letter beyond ASCII, one place
        {"A\xFD\xFE\xFF\x01Z", 8, "A    Z"},  // stray bytes, one place each
        {"\xD0\x41", 8, " A"},                // a character begun and not ended, then "A"
        {"a\xE2\x82\xAC\x62", 8, "a b"},      // the euro sign between "a" and "b", one place
        {"x\xF0\x9F\x93\xA1y", 8, "x y"},     // one code page 1251 lacks, one place
        {"why?", 8, "why?"},                  // a question mark is the label's own
        {"\t\r\n", 8, "   "},
        {" ~", 8, " ~"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(LabelForSet(row.label, row.width, kPrintableAscii), row.field);
        const std::string readBack = "  " + Cp1251ToUtf8(row.field) + " ";
        EXPECT_EQ(LabelReadBack(row.label, readBack, row.width, kPrintableAscii), row.label);
    }
    EXPECT_EQ(LabelReadBack("Маяк", "BEACON", 8, kPrintableAscii), "BEACON");
    EXPECT_EQ(LabelReadBack("", "1", 8, kPrintableAscii), "1");
    // A field that takes digits alone.
    EXPECT_EQ(LabelForSet("A1-2", 8, LabelCharacters{'0', '9'}), " 1 2");
    // The read-back of a place keeps the panel's label only for the panel's own channel.
    MemoryChannel west;
    west.Frequency = 1'455'000;
    west.Label = "ЗАПАД";
    EXPECT_EQ(HeldLabel(west, 1'455'000), "ЗАПАД");
    EXPECT_EQ(HeldLabel(west, 4'339'200), "");
    west.Frequency = 0;
    EXPECT_EQ(HeldLabel(west, 0), "");
}

// Every model with banks, as the registry lists them, describes its memory and takes a bank
// item into its current bank and gives back what its memory holds of it.
TEST(BankItem, EveryModelWithBanksTakesAnItemAndGivesBackWhatItsMemoryHolds) {
    int panels = 0;
    for (const PanelModel& row : panel_registry::Models()) {
        if (row.make == nullptr || !row.traits.banks) continue;
        SCOPED_TRACE(row.configuredType);
        ProgramFolder folder;
        MainStandIn main;
        Comm comm;
        comm.Discarding = false;
        FDX s;
        s.Owner = &main;
        s.Port = &comm;
        s.ProgramDir = folder.Dir();
        s.ReceiverType = row.servedAs;
        const std::unique_ptr<ReceiverPanel> panel = panel_registry::Make(row.servedAs);
        ASSERT_TRUE(panel->Create(&main, &s));
        ++panels;
        const ChannelLayout* layout = panel->MemoryLayout();
        ASSERT_NE(layout, nullptr);
        const auto post = [&](uint32_t code) {
            ASSERT_TRUE(PostPrivateMessage(panel.get(), code));
            ui::ServePending();
            ui::ServePending();
        };

        // Within the limits of every model: 14.55 and 4.3392 MHz.
        s.Channels.assign(3, Mt{});
        s.Channels[0] = BeaconItem("Маяк", 20, 1);
        s.Channels[0].Frequency = 145'500;
        s.Channels[2] = s.Channels[0];
        s.Channels[2].Frequency = 43'392;
        s.Channels[2].Select = 0;
        s.ChannelCount = 3;
        const std::vector<Mt> item = s.Channels;
        post(PostItemLoaded);

        s.Channels.assign(3, Mt{});
        s.ChannelCount = 0;
        post(PostSaveBank);
        ASSERT_EQ(s.ChannelCount, 3);
        EXPECT_EQ(main.Count(PostSaveBank), 1);
        const ChannelFields& holds = layout->holds;
        for (std::size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            const Mt& a = s.Channels[i];
            const Mt& b = item[i];
            EXPECT_EQ(a.Frequency, b.Frequency);
            EXPECT_EQ(a.Number, int32_t(i));
            if (b.Frequency == 0) continue;
            EXPECT_EQ(a.Step, b.Step);
            EXPECT_EQ(a.Modulation, b.Modulation);
            EXPECT_EQ(a.Identifier, holds.label ? b.Identifier : "");
            EXPECT_EQ(a.Attenuator, holds.attenuator ? 1 : 0);
            EXPECT_EQ(a.QATT, holds.attenuator ? layout->Depth(holds.depth ? b.QATT : 0) : 0);
            EXPECT_EQ(a.QMOD, holds.filter ? b.QMOD : 0);
            EXPECT_EQ(a.Select, holds.select ? b.Select : 0);
            EXPECT_EQ(a.Skip, holds.skip ? b.Skip : 0);
        }
        panel->Destroy();
    }
    EXPECT_GE(panels, 5);
}

// Every model with banks reads the channels its state file holds, whatever the count before them
// says: "Частот_Банков=0" (or a count missing where the model writes none) left every one
// unread, and the close then wrote the bank empty.
TEST(StateFileCount, EveryModelWithBanksReadsTheChannelsBehindACountOfZero) {
    int panels = 0;
    for (const PanelModel& row : panel_registry::Models()) {
        if (row.make == nullptr || !row.traits.banks) continue;
        SCOPED_TRACE(row.configuredType);
        ProgramFolder folder;
        MainStandIn main;
        Comm comm;
        comm.Discarding = false;
        FDX s;
        s.Owner = &main;
        s.Port = &comm;
        s.ProgramDir = folder.Dir();
        s.ReceiverType = row.servedAs;
        s.OptRecvSave = 1;
        std::unique_ptr<ReceiverPanel> panel;
        const auto make = [&] {
            panel = panel_registry::Make(row.servedAs);
            ASSERT_TRUE(panel->Create(&main, &s));
        };
        const auto post = [&](uint32_t code) {
            ASSERT_TRUE(PostPrivateMessage(panel.get(), code));
            ui::ServePending();
            ui::ServePending();
        };

        // The current bank holds two channels when the state file is written.
        make();
        ++panels;
        s.Channels.assign(2, BeaconItem("Маяк", 20, 1));
        s.Channels[0].Frequency = 145'500;
        s.Channels[1].Frequency = 43'392;
        s.ChannelCount = 2;
        post(PostItemLoaded);
        ASSERT_TRUE(panel->SaveStateFile());
        const std::string path = panel->StateFilePath();
        panel->Destroy();

        // Its count line made 0, or put in with 0 where the model writes none.
        std::string text = ReadBytes(path);
        const std::string countKey = Utf8ToCp1251("Частот_Банков=");
        if (const std::size_t at = text.find("\r\n" + countKey); at != std::string::npos)
            text.erase(at + 2, text.find("\r\n", at + 2) - at);
        const std::size_t first = text.find("\r\nF=");
        ASSERT_NE(first, std::string::npos);
        text.insert(first + 2, countKey + "0\r\n");
        WriteBytes(path, text);

        make();
        s.Channels.assign(2, Mt{});
        s.ChannelCount = 0;
        post(PostSaveBank);
        ASSERT_EQ(s.ChannelCount, 2);
        EXPECT_EQ(s.Channels[0].Frequency, 145'500u);
        EXPECT_EQ(s.Channels[1].Frequency, 43'392u);
        panel->Destroy();
        EXPECT_NE(ReadBytes(path).find("\r\nF=43392\r\n"), std::string::npos);
    }
    EXPECT_GE(panels, 5);
}

}  // namespace
