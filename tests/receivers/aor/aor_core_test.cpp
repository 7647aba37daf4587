// The AOR core with models other than the AR5000: the AR8000's memory as its emulator keeps
// it (20 banks of 50 channels named by letters, 20 search banks, seven-character labels), given
// only the data, the token table and the few lines the core asks of a model, with the
// AR8000's memory rules (empty channels never written, bank i read with search bank i, the
// state file's search banks after one "Банк_поиска"); and the AR8200's layout (40 search
// banks, filters kept, "F_QMOD" before "F_MOD") for its state file. The bank walk, the
// clearing, the state file and the shared job commands must serve them as they serve the
// AR5000.

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "emulators/aor/ar8000_emulator.h"
#include "receivers/aor/aor_panel.h"
#include "state/cp1251.h"
#include "tests/receivers/panel_on_air.h"
#include "tests/receivers/receiver_files.h"
#include "tests/receivers/state_file_runs.h"

namespace {

using aor::Format;
using aor::TokenText;
using emulators::AorChannel;
using emulators::AorSettings;

// Banks 0..9 are A..J, from 10 on the letters count back from "t".
constexpr std::string_view kLetters = "ABCDEFGHIJjihgfedcba";
constexpr std::string_view kModeDigits = "WFAULC";
constexpr uint32_t kDepths[] = {10};
constexpr ViewStepEntry kViewSteps[] = {{100, "10"}};
constexpr AorModeEntry kModes[] = {{"W", 'W', 0, 0}, {"F", 'F', 0, 0}, {"A", 'A', 0, 0},
                                   {"U", 'U', 0, 0}, {"L", 'L', 0, 0}, {"C", 'C', 0, 0}};
constexpr ui::FormResource kForm{"ID_aor_core_test", 100,     60, "8.MS Sans Serif",
                                 ui::style::kChild,  nullptr, {}};
// The set keeps no filter and one attenuator depth.
constexpr ChannelFields kHolds{.step = true,
                               .mode = true,
                               .filter = false,
                               .attenuator = true,
                               .depth = false,
                               .select = true,
                               .skip = true,
                               .label = true};
const ChannelLayout kLayout{
    .holds = kHolds, .labelWidth = 7, .depths = kDepths, .emptyModulation = 'W', .bankSize = 50};
// The AR8000's memory: as the AR8200's, but read bank by bank with its search bank.
constexpr AorMemoryRules kAr8000Memory{
    .searchBankKey = AorMemoryRules::SearchBankKey::CurrentOnce,
    .searchBankKeys = AorMemoryRules::SearchBankKeys::AsChannels,
    .scaleKeys = AorMemoryRules::ScaleKeys::Whole,
    .emptyChannels = AorMemoryRules::EmptyChannels::NeverWritten,
    .readOrder = AorMemoryRules::ReadOrder::BankWithItsSearchBank};
const AorModel kModel{.form = &kForm,
                      .lowerLimit = 5'000,
                      .upperLimit = 19'000'000,
                      .banks = 20,
                      .searchBanks = 20,
                      .list = {.layout = &kLayout, .modes = kModes, .columns = {}},
                      .calibration = {},
                      .stateFileStem = "AORTEST",
                      .fineScale = {.overviewHeight = 0,
                                    .barDivisor = 8,
                                    .viewSteps = kViewSteps,
                                    .markScaleItems = false},
                      .fillWindowBandwidths = 1,
                      .lineByLine = true,
                      .currentReadTakesSearchBank = true,
                      .memory = kAr8000Memory};

// The AR8200's layout: twelve-character labels, filters kept and written before the mode,
// one attenuator depth, 40 search banks read after the memory banks.
constexpr ChannelFields kAr8200Holds = [] {
    ChannelFields holds = kHolds;
    holds.filter = true;
    return holds;
}();
const ChannelLayout kAr8200Layout{.holds = kAr8200Holds,
                                  .labelWidth = 12,
                                  .depths = kDepths,
                                  .emptyModulation = 'W',
                                  .bankSize = 50,
                                  .filterKeyFirst = true};
AorModel Ar8200Model() {
    AorModel model = kModel;
    model.fillWindowBandwidths = 2;
    model.lineByLine = false;
    model.searchBanks = 40;
    model.list.layout = &kAr8200Layout;
    model.stateFileStem = "AR8200";
    model.memory.readOrder = AorMemoryRules::ReadOrder::MemoryThenSearchBanks;
    return model;
}
const AorModel kAr8200Model = Ar8200Model();

int LetterIndex(char c) {
    const std::size_t at = kLetters.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

using Row = aor::Token<AorReply>;
// clang-format off
constexpr Row kTokens[] = {
    {"TM", "", [](AorReply& r, const TokenText& t) { r.Label = t.Text(2, 7); }, aor::kRestOfLine},
    {"TT", "", [](AorReply& r, const TokenText& t) { r.Label = t.Text(2, 7); }, aor::kRestOfLine},
    {"---", "", [](AorReply& r, const TokenText&) { r.ChannelPresent = false; }},
    {"?", "", [](AorReply& r, const TokenText&) { r.Accepted = false; }},
    {"MX", "MX", [](AorReply& r, const TokenText& t) {
        r.Bank = LetterIndex(t.At(2));
        r.Channel = t.Index(3, 2, 49); }},
    {"SR", "SR", [](AorReply& r, const TokenText& t) { r.SearchBank = LetterIndex(t.At(2)); }},
    {"LM", "LM", [](AorReply& r, const TokenText& t) { r.Level = t.Level(2); }, 2},
    {"RF", "RF", [](AorReply& r, const TokenText& t) { r.Frequency = t.Number(2, 10) / 100; }},
    {"ST", "ST", [](AorReply& r, const TokenText& t) { r.Step = t.Number(2, 6) / 100; }},
    {"MD", "MD", [](AorReply& r, const TokenText& t) { r.Mode = kModeDigits[t.Digit(2) % 6]; }},
    {"AT", "AT", [](AorReply& r, const TokenText& t) { r.Attenuator = t.One(2); }},
    {"MP", "MP", [](AorReply& r, const TokenText& t) { r.Skip = t.One(2); }},
    {"SL", "SL", [](AorReply& r, const TokenText& t) { r.SearchLower = t.Number(2, 10) / 100; }},
    {"SU", "SU", [](AorReply& r, const TokenText& t) { r.SearchUpper = t.Number(2, 10) / 100; }},
};
// clang-format on

class LetterBanks : public AorPanel {
  public:
    explicit LetterBanks(const AorModel& model = kModel) : AorPanel(model, Reply) {}
    ~LetterBanks() override { Destroy(); }

    // The head and the core's memory part, nothing else.
    bool WriteStateFile() override {
        StateFileWriter file;
        WriteHead(file);
        WriteMemoryKeys(file);
        return file.Save(StateFilePath());
    }

    int32_t ReadLevel() override { return Link.Exchange("LM\r\n", "LM") ? Reply.Level : -1; }
    using AorPanel::ChooseBank;
    void ExecuteCommand() override {
        static constexpr JobCommand<LetterBanks> kCommands[] = {{11, &LetterBanks::ReadBankCommand},
                                                                {24, &LetterBanks::BankCommand},
                                                                {25, &LetterBanks::ChannelCommand}};
        ServeJobLine(*this, std::span<const JobCommand<LetterBanks>>(kCommands));
    }

    AorReply Reply;

  private:
    void CreateModelControls() override {}
    void ForgetControls() override {}
    void Synchronise() override {
        BeginSync();
        EndSync(Answers());
    }
    bool ReadStateFile() override {
        AorMemoryKeys memory(*this);
        const auto take = [&](std::string_view key, std::string_view value) {
            memory.Take(key, value);
        };
        if (!ReadStateFileKeys(take)) return false;
        TakeMemoryKeys(memory);
        return true;
    }
    void ParseLine() override {
        Reply.Accepted = Reply.ChannelPresent = true;
        Link.ReplyKind =
            aor::ParseTokens(Link.ReplyLine, std::span<const Row>(kTokens), Reply).kind;
        Link.ReplyAccepted = Reply.Accepted;
    }
    std::string BankName(int bank) const override { return std::string(1, Letter(bank)); }
    static char Letter(int bank) { return kLetters[static_cast<std::size_t>(bank)]; }

    ChannelAnswer ReadChannelInto(int bank, int channel, MemoryChannel& out, bool full) override {
        Reply = {};
        // The set answers an empty place with "---" alone.
        if (!Link.Exchange(Format("MR%c%02d\r\n", Letter(bank), channel), ""))
            return ChannelAnswer::None;
        if (Link.AnswerLine == "---") return ChannelAnswer::Empty;
        if (Reply.Bank != bank || Reply.Channel != channel) return ChannelAnswer::None;
        if (!Reply.ChannelPresent) return ChannelAnswer::Empty;
        out.Frequency = Reply.Frequency;
        out.Step = Reply.Step;
        out.Modulation = Reply.Mode;
        out.Label = aor::LabelFromWire(Reply.Label);
        out.Attenuator = Reply.Attenuator;
        out.AttenuatorDb = Reply.Attenuator ? 10 : 0;
        out.Skip = Reply.Skip;
        out.Number = channel;
        if (full && Link.Exchange("LM\r\n", "LM")) out.Level = Reply.Level;
        return ChannelAnswer::Found;
    }
    ChannelAnswer ReadSearchBankInto(int bank, AorSearchBank& out) override {
        Reply = {};
        if (!Link.Exchange(Format("SR%c\r\n", Letter(bank)), "SR") || Reply.SearchBank != bank)
            return ChannelAnswer::None;
        if (!Reply.ChannelPresent) return ChannelAnswer::Empty;
        out.Lower = Reply.SearchLower;
        out.Upper = Reply.SearchUpper;
        out.Step = Reply.Step;
        out.Mode = Reply.Mode;
        out.Label = aor::LabelFromWire(Reply.Label);
        return ChannelAnswer::Found;
    }
    static int ModeDigit(char letter) {
        const std::size_t at = kModeDigits.find(letter);
        return at == std::string_view::npos ? 0 : static_cast<int>(at);
    }
    bool SendChannel(int bank, int channel) override {
        const MemoryChannel& r = ChannelAt(bank, channel);
        return SendText(Format("MX%c%02d RF%u00 ST%u MD%d AT%d TM%s", Letter(bank), channel,
                               r.Frequency, r.Step * 100, ModeDigit(r.Modulation),
                               r.Attenuator ? 1 : 0,
                               aor::LabelToWire(r.Label, 7, kPrintableAscii).c_str())) &&
               SendText(Format("MP%d", r.Skip ? 1 : 0));
    }
    bool SendSearchBank(int bank) override {
        const AorSearchBank& r = SearchBanks[static_cast<std::size_t>(bank)];
        return SendText(Format("SE%c SL%u00 SU%u00 ST%u MD%d AT0 TT%s", Letter(bank), r.Lower,
                               r.Upper, r.Step * 100, ModeDigit(r.Mode), r.Label.c_str()));
    }
    bool ClearChannelOnReceiver(int bank, int channel) override {
        return SendText(Format("MR%c%02d", Letter(bank), channel)) &&
               SendText(Format("MQ%02d", channel));
    }
    void ClearBankOnReceiver(int bank) override {
        if (SelectBankForWalk(bank)) SendText("MQ%%");
    }
    void ClearSearchBankOnReceiver(int) override {}
    bool SelectBankForWalk(int bank) override { return SendText(Format("MR%c00", Letter(bank))); }
    std::string OwnScanLine(std::string& status) override {
        status = kBankScanText;
        return Format("MS%c MG", Letter(CurrentBank));
    }
    void AfterOwnScanStop() override {}
};

class LetterBanksOnAir : public PanelOnAir<LetterBanks, emulators::Ar8000Emulator> {
  protected:
    LetterBanksOnAir() : PanelOnAir(9600) {}

    std::vector<std::string> LinesStartingWith(const std::string& head) const {
        std::vector<std::string> found;
        for (const std::string& line : emulator.ReceivedLines())
            if (line.starts_with(head)) found.push_back(line);
        return found;
    }
};

TEST_F(LetterBanksOnAir, ReadingTheCurrentBankWalksItByLetterAndTakesItsSearchBankAlong) {
    emulator.SetChannel(12, 3,
                        AorChannel{145'500'000, AorSettings{12'500, '1', '3', '1'}, "CALLS", true});
    emulator.SetSearchBank(4, {144'000'000, 146'000'000, AorSettings{25'000, '2'}, "BAND"});
    panel.CurrentBank = 12;
    panel.CurrentSearchBank = 4;
    panel.ChannelAt(12, 7).Frequency = 1'234'000;  // the receiver has nothing there
    panel.ReadCurrentBank();

    const MemoryChannel& calls = panel.ChannelAt(12, 3);
    EXPECT_EQ(calls.Frequency, 1'455'000u);
    EXPECT_EQ(calls.Step, 125u);
    EXPECT_EQ(calls.Modulation, 'F');
    EXPECT_EQ(calls.Label, "CALLS");
    EXPECT_TRUE(calls.Attenuator);
    EXPECT_TRUE(calls.Skip);
    EXPECT_EQ(calls.Number, 3);
    EXPECT_TRUE(panel.ChannelAt(12, 7).Empty());
    EXPECT_EQ(panel.SearchBanks[4].Lower, 1'440'000u);
    EXPECT_EQ(panel.SearchBanks[4].Mode, 'A');
    EXPECT_EQ(panel.SearchBanks[4].Label, "BAND");
    // The bank is chosen once, then each of its 50 channels is read; bank 12 is "h".
    EXPECT_EQ(LinesStartingWith("MRh00").size(), 2u);
    EXPECT_EQ(LinesStartingWith("MRh").size(), 51u);
    EXPECT_EQ(LinesStartingWith("SR"), (std::vector<std::string>{"SRE"}));
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostHideWait) == 1; }));
    EXPECT_EQ(main.Count(PostScanStoppedByPanel), 1);
}

TEST_F(LetterBanksOnAir, WritingTheCurrentBankWritesItsChannelsButNeverAnEmptyChannelOrSearchBank) {
    emulator.SetChannel(19, 10, AorChannel{156'800'000, AorSettings{}, "OLD"});
    panel.CurrentBank = 19;
    MemoryChannel& tower = panel.ChannelAt(19, 0);
    tower.Frequency = 1'188'000;
    tower.Step = 250;
    tower.Modulation = 'A';
    tower.Label = "TOWER";
    tower.Skip = true;
    panel.WriteCurrentBank();

    const AorChannel written = emulator.Channel(19, 0);
    EXPECT_EQ(written.frequencyHz, 118'800'000u);
    EXPECT_EQ(written.settings.stepHz, 25'000u);
    EXPECT_EQ(written.settings.mode, '2');
    EXPECT_EQ(written.label, "  TOWER");
    EXPECT_TRUE(written.skip);
    // The receiver's channel the panel holds empty stays as it is: nothing clears it.
    EXPECT_EQ(emulator.Channel(19, 10).frequencyHz, 156'800'000u);
    EXPECT_TRUE(LinesStartingWith("MQ").empty());
    EXPECT_EQ(LinesStartingWith("MX"),
              (std::vector<std::string>{"MXa00 RF118800000 ST25000 MD2 AT0 TM  TOWER"}));
    EXPECT_TRUE(LinesStartingWith("SE").empty());
}

TEST_F(LetterBanksOnAir, ReadingAllBanksTakesEachBankWithItsSearchBank) {
    emulator.SetChannel(1, 49, AorChannel{145'500'000, AorSettings{12'500, '1'}, "B49"});
    emulator.SetSearchBank(1, {144'000'000, 146'000'000, AorSettings{25'000, '2'}, "TWO"});
    emulator.SetSearchBank(19, {430'000'000, 440'000'000, AorSettings{25'000, '1'}, "LAST"});
    panel.ReadAllBanks();

    EXPECT_EQ(panel.ChannelAt(1, 49).Label, "B49");
    EXPECT_EQ(panel.SearchBanks[1].Label, "TWO");
    EXPECT_EQ(panel.SearchBanks[19].Lower, 4'300'000u);
    // Bank i's channels, then search bank i, then bank i + 1.
    std::vector<std::string> order;
    for (const std::string& line : emulator.ReceivedLines())
        if (line.starts_with("MR") || line.starts_with("SR")) order.push_back(line.substr(0, 5));
    for (std::size_t bank = 0; bank < kLetters.size(); ++bank) {
        const std::string letter(1, kLetters[bank]);
        const auto search = std::find(order.begin(), order.end(), "SR" + letter);
        ASSERT_NE(search, order.end()) << letter;
        EXPECT_EQ(*std::prev(search), "MR" + letter + "49") << letter;
        if (bank + 1 < kLetters.size()) {
            EXPECT_EQ(*std::next(search), "MR" + std::string(1, kLetters[bank + 1]) + "00");
        }
    }
}

// The AR8200's and the AR8000's store: the channel starts afresh and, with direct writing,
// goes into the receiver at once.
TEST_F(LetterBanksOnAir, StoringTheCurrentSettingsStartsTheChannelAfreshAndWritesItDirectly) {
    MemoryChannel& kept = panel.ChannelAt(0, 4);
    kept.Frequency = 1'000'000;
    kept.Label = "OLD";
    kept.Select = kept.Skip = true;
    panel.BankPositions[0] = 4;
    state.Frequency = 1'455'000;
    state.Step = 125;
    state.Modulation = 'F';
    panel.StoreCurrentSettings();
    EXPECT_EQ(kept.Frequency, 1'455'000u);
    EXPECT_EQ(kept.Label, "");
    EXPECT_FALSE(kept.Select || kept.Skip);
    EXPECT_TRUE(LinesStartingWith("MX").empty());

    panel.DirectWrite = true;
    state.Frequency = 4'339'200;
    panel.StoreCurrentSettings();
    EXPECT_EQ(emulator.Channel(0, 4).frequencyHz, 433'920'000u);
    EXPECT_EQ(LinesStartingWith("MXA04").size(), 1u);
}

TEST_F(LetterBanksOnAir, ClearingTheWholeMemoryWithDirectWritingEmptiesEveryBankOnBothSides) {
    emulator.SetChannel(0, 1, AorChannel{145'500'000, AorSettings{}, "A"});
    emulator.SetChannel(19, 49, AorChannel{433'920'000, AorSettings{}, "Z"});
    panel.ChannelAt(19, 49).Frequency = 4'339'200;
    panel.SearchBanks[6].Lower = 1'440'000;
    panel.SearchBanks[6].Upper = 1'460'000;
    panel.DirectWrite = panel.WholeMemory = true;
    Post(PostClearData);

    EXPECT_TRUE(emulator.Channel(0, 1).Empty());
    EXPECT_TRUE(emulator.Channel(19, 49).Empty());
    EXPECT_EQ(panel.ChannelAt(19, 49), kLayout.Empty(49));
    EXPECT_TRUE(panel.SearchBanks[6].Empty());
    EXPECT_EQ(LinesStartingWith("MQ%%").size(), 20u);
}

// The AR8000 takes a reply at its CR: an LF that comes late, or never, holds nothing up. Its
// level scale fills within the bandwidth itself.
TEST_F(LetterBanksOnAir, AReplyIsCompleteAtItsCrAndTheFillWindowIsTheBandwidth) {
    emulator.SetSplitLines(true);  // the CR goes, the LF is held
    EXPECT_NE(panel.ReadLevel(), -1);
    // The LF that comes after is no line of its own.
    emulator.ReleaseSplitLines();
    emulator.SetSplitLines(false);
    EXPECT_NE(panel.ReadLevel(), -1);
    EXPECT_NE(panel.ReadLevel(), -1);
    EXPECT_EQ(panel.Scale.FillWindow, panel.Bandwidth);
}

// A model that does not say otherwise goes to the chosen bank's selected channel with direct
// writing, and sends nothing without it.
TEST_F(LetterBanksOnAir, ChoosingABankWithDirectWritingGoesToItsSelectedChannel) {
    panel.BankPositions[12] = 9;
    panel.ChooseBank(12);
    EXPECT_TRUE(emulator.ReceivedLines().empty());
    panel.DirectWrite = true;
    panel.ChooseBank(3);
    panel.ChooseBank(12);
    EXPECT_EQ(LinesStartingWith("MR"), (std::vector<std::string>{"MRD00", "MRh09"}));
    EXPECT_EQ(panel.CurrentBank, 12);
    EXPECT_EQ(panel.CurrentSearchBank, 0);
}

// A VFO not in use keeps where the program stood on it and brings it back; one not known yet
// changes nothing, and a frequency beyond the receiver is held to it.
TEST_F(LetterBanksOnAir, AVfoKeepsTheProgramsTuningAndBringsItBack) {
    state.Frequency = 1'455'000;
    state.Modulation = 'A';
    state.Filter = 1;
    state.Attenuator = 1;
    state.Step = 125;
    const AorVfo kept = panel.CurrentVfo();
    panel.TakeVfo({});
    EXPECT_EQ(state.Frequency, 1'455'000u);
    state.Frequency = 1'000'000;
    state.Modulation = 'W';
    state.Filter = state.Attenuator = 0;
    state.Step = 50;
    panel.TakeVfo(kept);
    EXPECT_EQ(panel.CurrentVfo().Frequency, 1'455'000u);
    EXPECT_EQ(state.Modulation, 'A');
    EXPECT_EQ(state.Filter, 1);
    EXPECT_EQ(state.Attenuator, 1);
    EXPECT_EQ(state.Step, 125u);
    panel.TakeVfo({.Frequency = 30'000'000,
                   .Mode = 'W',
                   .Filter = 0,
                   .Attenuator = false,
                   .Step = 0,
                   .Auto = false});
    EXPECT_EQ(state.Frequency, 19'000'000u);
    EXPECT_EQ(state.Step, 125u);
}

// The links a scan takes are those of its kind; a letter joins them once and leaves them.
TEST(AorScanSettings, ALetterJoinsAndLeavesTheLinksOfTheKindChosen) {
    AorScanSettings scan;
    scan.kind = AorScanSettings::Kind::MemoryBanks;
    scan.Link('h', true);
    scan.Link('h', true);
    scan.Link('A', true);
    EXPECT_EQ(scan.MemoryLinks, "hA");
    scan.kind = AorScanSettings::Kind::Search;
    scan.Link('h', true);
    scan.Link('B', false);
    EXPECT_EQ(scan.ChosenLinks(), "h");
    scan.kind = AorScanSettings::Kind::MemoryBanks;
    scan.Link('h', false);
    EXPECT_EQ(scan.ChosenLinks(), "A");
    EXPECT_EQ(scan.SearchLinks, "h");
}

TEST_F(LetterBanksOnAir, BankAndChannelJobsTakeOnlyWhatTheModelHas) {
    JobStr line = RunJob(24, 20);
    EXPECT_EQ(line.ReturnCode, 2);
    EXPECT_EQ(line.Message, "Не существует указанного банка");
    EXPECT_EQ(RunJob(24, 19).ReturnCode, 0);
    EXPECT_EQ(panel.CurrentBank, 19);
    line = RunJob(25, 50);
    EXPECT_EQ(line.ReturnCode, 2);
    EXPECT_EQ(line.Message, "Не существует канала для данного банка");
    EXPECT_EQ(RunJob(25, 49).ReturnCode, 0);
    EXPECT_EQ(panel.BankPositions[19], 49);
    EXPECT_EQ(RunJob(26).Message, ReceiverPanel::kNoAccess);
}

// ---------------------------------------------------------------------------------------
// The AR8200's state file

class Ar8200LayoutStateFile : public StateFileRuns {
  protected:
    std::string Path() const { return PathOf("AR8200"); }
};

TEST_F(Ar8200LayoutStateFile, HoldsTheSearchBanksOnceNamedAfterTheScaleAndReadsBackByteForByte) {
    StampedAt7March2001 clock;
    LetterBanks panel(kAr8200Model);
    ASSERT_TRUE(panel.Create(&main, &state));
    MemoryChannel& narrow = panel.ChannelAt(0, 0);
    narrow.Frequency = 1'455'000;
    narrow.Step = 125;
    narrow.Modulation = 'F';
    narrow.Filter = 1;
    narrow.Label = "Позывной 12";
    narrow.Attenuator = narrow.Select = narrow.Skip = true;
    narrow.AttenuatorDb = 10;
    MemoryChannel& wide = panel.ChannelAt(19, 49);
    wide.Frequency = 4'339'200;
    wide.Step = 250;
    wide.Modulation = 'A';
    wide.Filter = 2;
    AorSearchBank& band = panel.SearchBanks[39];
    band.Lower = 1'440'000;
    band.Upper = 1'460'000;
    band.Step = 125;
    band.Mode = 'A';
    band.Filter = 1;
    band.Attenuator = true;
    band.AttenuatorDb = 10;
    AorSearchBank& unnamed = panel.SearchBanks[2];
    unnamed.Lower = 1'080'000;
    unnamed.Upper = 1'360'000;
    unnamed.Step = 250;
    unnamed.Mode = 'W';
    panel.CurrentSearchBank = 39;
    panel.Scale.SetCell(14'550, 90);
    ASSERT_TRUE(panel.WriteStateFile());
    const std::string written = Cp1251ToUtf8(ReadBytes(Path()));

    const auto count = [&](std::string_view text) {
        std::size_t n = 0;
        for (std::size_t at = written.find(text); at != std::string::npos;
             at = written.find(text, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("Банк_поиска="), 1u);
    EXPECT_EQ(count("\nSFN="), 40u);
    // Only the two banks that hold limits have keys beyond their limits; SF_ID only when
    // named, SF_QMOD only when not normal, both before the mode as the channels' keys.
    EXPECT_EQ(count("SF_STEP="), 2u);
    EXPECT_EQ(count("SF_ID="), 0u);
    for (const char* part :
         {"F=1455000\r\nF_ATT=+\r\nF_STEP=125\r\nF_SEL=+\r\nF_SKIP=+\r\n"
          "F_ID=Позывной 12\r\nF_QMOD=1\r\nF_MOD=F\r\nF=0\r\n",
          "F=4339200\r\nF_STEP=250\r\nF_QMOD=2\r\nF_MOD=A\r\nИзмерения=",
          "\r\nБанк_поиска=39\r\nSFN=0\r\nSFK=0\r\nSFN=0\r\nSFK=0\r\n"
          "SFN=1080000\r\nSFK=1360000\r\nSF_STEP=250\r\nSF_MOD=W\r\nSFN=0\r\n",
          "SFN=1440000\r\nSFK=1460000\r\nSF_ATT=+\r\nSF_STEP=125\r\nSF_QMOD=1\r\n"
          "SF_MOD=A\r\n"})
        EXPECT_NE(written.find(part), std::string::npos) << part;
    // The whole level scale stands between the channels and the search banks.
    EXPECT_LT(written.rfind("FL="), written.find("Банк_поиска"));
    EXPECT_TRUE(written.ends_with("SF_MOD=A\r\n"));
    panel.Destroy();

    LetterBanks again(kAr8200Model);
    ASSERT_TRUE(again.Create(&main, &fresh));
    EXPECT_EQ(again.ChannelAt(0, 0), narrow);
    EXPECT_EQ(again.ChannelAt(19, 49), wide);
    EXPECT_EQ(again.SearchBanks[39], band);
    EXPECT_EQ(again.SearchBanks[2], unnamed);
    EXPECT_EQ(again.CurrentSearchBank, 39);
    EXPECT_EQ(again.Scale.Cell(14'550), 90);
    ASSERT_TRUE(again.WriteStateFile());
    EXPECT_EQ(Cp1251ToUtf8(ReadBytes(Path())), written);
}

// A file of more search banks than the panel has, or naming one it lacks, reaches no further;
// a bank without a step line has the set's lowest.
TEST_F(Ar8200LayoutStateFile, SearchBanksBeyondThePanelsAreSkipped) {
    std::vector<std::string_view> lines = {"Банк_поиска=40"};
    std::vector<std::string> banks;
    for (int bank = 0; bank < 41; ++bank)
        banks.push_back("SFN=" + std::to_string(1'000'000 + bank));
    for (const std::string& line : banks) lines.push_back(line);
    lines.push_back("SF_STEP=77");
    std::string bytes;
    for (const std::string_view line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
    WriteBytes(Path(), bytes);
    LetterBanks panel(kAr8200Model);
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.CurrentSearchBank, 0);
    EXPECT_EQ(panel.SearchBanks[0].Lower, 1'000'000u);
    EXPECT_EQ(panel.SearchBanks[39].Lower, 1'000'039u);
    EXPECT_EQ(panel.SearchBanks[39].Step, 1u);
}

}  // namespace
