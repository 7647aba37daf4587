// The WiNRADiO panel against the stand-in vendor library, loaded from the program folder as the
// vendor's would be: the calls the panel makes (the stand-in logs each), what it makes of the
// answers, and what it does without a library or a card.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "receivers/state_file.h"
#include "receivers/winradio/winradio.h"
#include "state/cp1251.h"
#include "state/fdx.h"
#include "state/message_bus.h"
#include "tests/support/program_folder.h"
#include "tests/support/wrapi_standin.h"
#include "ui/form.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace {

using Calls = std::vector<std::string>;

constexpr const char* kNoReceiver = "Ошибка инициализации приемника(нет памяти)";
constexpr const char* kReceiverOff = "Ошибка обращения к приемнику(выключен)";

constexpr ui::FormResource kMainForm{"ID_winradio_test_main", 420, 260, "8.MS Sans Serif",
                                     ui::style::kCaption,     "",  {}};

// Stands in for the main window: counts the codes the panel posts to it.
class CodeSink : public ui::Form {
  public:
    CodeSink() {
        ui::RegisterFormResource(kMainForm);
        AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            codes.push_back(e.code);
            return false;
        });
        Create(kMainForm.name);
    }
    ~CodeSink() override { Destroy(); }
    int Count(uint32_t code) const { return int(std::count(codes.begin(), codes.end(), code)); }
    std::vector<uint32_t> codes;
};

class Winradio : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(0);
        state.Owner = &main;
        state.ProgramDir = folder.Dir();
        state.PortIndex = 1;
        state.MessageBox = [this](const FDX&, const MessageRequest& request) {
            messages.push_back(request.text);
            return true;
        };
    }
    void TearDown() override {
        panel.Destroy();
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }

    // The panel made with the vendor's library in the program folder, and connected as the
    // start-up connects it.
    void Start(const char* library = ORVEL_WRAPI_STANDIN_FILE) {
        if (library) WrapiStandin::LinkInto(folder.path(), library);
        ASSERT_TRUE(panel.Create(&main, &state));
        Post(PostSyncReceiver);
    }
    // Posts a code to the panel and serves it, then what it posted in turn.
    void Post(uint32_t code) {
        ASSERT_TRUE(PostPrivateMessage(&panel, code));
        ui::ServePending();
        ui::ServePending();
    }
    // "name(handle, arguments) = result" as the stand-in logs a call on the open card.
    std::string Call(const char* name, const std::string& more, int64_t result) const {
        return std::string(name) + "(" + std::to_string(panel.Handle) +
               (more.empty() ? "" : ", " + more) + ") = " + std::to_string(result) + "\n";
    }
    JobStr RunJob(uint32_t number, int32_t value = 0) {
        JobStr line;
        line.OBJ = number;
        line.VAL = static_cast<uint32_t>(value);
        state.JobLine = &line;
        Post(PostJobStep);
        state.JobLine = nullptr;
        return line;
    }

    ProgramFolder folder;
    WrapiStandin card;
    CodeSink main;
    FDX state;
    std::vector<std::string> messages;
    WINRADIO panel;
};

TEST_F(Winradio, TheConnectOpensDescribesAndSwitchesOnTheCardInItsOrderAndOnlyOnce) {
    Start();
    EXPECT_EQ(card.Calls(), (Calls{"OpenRadioDevice", "GetRadioDeviceInfo", "GetPower", "SetPower",
                                   "GetMute", "GetAtten", "GetFrequency", "GetMode",
                                   "GetSignalStrength", "GetVolume", "SetVolume", "GetScanMode"}));
    const std::string log = card.Log();
    EXPECT_EQ(log.substr(0, log.find('\n')),
              "OpenRadioDevice(0) = " + std::to_string(panel.Handle));
    for (const std::string& call : {Call("GetRadioDeviceInfo", "size 76", 1),
                                    Call("SetPower", "1", 1), Call("SetVolume", "20", 1)})
        EXPECT_NE(log.find(call), std::string::npos) << call;

    // The WR-3100's description, its limits in Hz.
    EXPECT_EQ(panel.model->Text(), "WiNRADiO WR-3100");
    EXPECT_EQ(panel.LowerLimit, 1500u);
    EXPECT_EQ(panel.UpperLimit, 15'000'000u);
    EXPECT_EQ(panel.Scale.CellCount(), 150'001u);
    EXPECT_EQ(state.FreqHigh, 15'000'000u);
    EXPECT_TRUE(panel.HasIfShift);
    EXPECT_EQ(panel.bfoCaption->Text(), "IF-Shift");
    // Where the card is: 72.9 MHz WFM; switched on and playing.
    EXPECT_EQ(state.Frequency, 729'000u);
    EXPECT_EQ(state.Modulation, 'W');
    EXPECT_EQ(panel.width->Text(), "280.0");
    EXPECT_EQ(state.Sound, 1);
    EXPECT_EQ(panel.RadioPower->Text(), "выкл");
    EXPECT_EQ(main.Count(PostReceiverState), 1);
    EXPECT_TRUE(messages.empty());

    // Connecting again asks the open card again; it is neither opened nor switched on twice.
    card.ClearLog();
    Post(PostSyncReceiver);
    const Calls again = card.Calls();
    EXPECT_EQ(std::count(again.begin(), again.end(), "OpenRadioDevice"), 0);
    EXPECT_EQ(std::count(again.begin(), again.end(), "SetPower"), 0);
    EXPECT_EQ(again.front(), "GetRadioDeviceInfo");
}

TEST_F(Winradio, TheStrengthBecomesALevelInTheScaleAndAFailedReadNone) {
    Start();
    const struct {
        int noiseFloor;  // the stand-in's strength is the plan's level x 120 / 255
        bool fails;
        int32_t level;
    } cases[] = {{255, false, 252}, {22, false, 21}, {0, true, -1}};
    for (const auto& c : cases) {
        card.SetNoiseFloor(c.noiseFloor);
        if (c.fails) card.Fail("GetSignalStrength");  // 0xFFFF in the low 16 bits
        panel.Scale.SetCell(panel.Scale.IndexOf(729'000), 7);
        EXPECT_EQ(panel.ReadLevel(), c.level) << c.noiseFloor;
        // A strength that is none leaves the scale as it was.
        EXPECT_EQ(panel.Scale.At(729'000), c.level < 0 ? 7 : c.level) << c.noiseFloor;
    }
}

TEST_F(Winradio, SsbGoesAsCwToACardWithoutItAndALetterTheCardLacksKeepsTheMode) {
    const struct {
        uint16_t card;
        char letter;
        const char* sent;
        const char* width;
    } cases[] = {{kWr1000, 'L', "0", "2.5"},
                 {kWr3100, 'L', "4", "4.0"},
                 {kWr3100, 'U', "5", "4.0"},
                 {kWr1000, 'A', "1", "6.0"},
                 {kWr1000, 'R', "3", "280.0"}};  // the card stays in WFM
    for (const auto& c : cases) {
        card.SetCards({c.card});
        Start();
        card.ClearLog();
        state.Modulation = c.letter;
        EXPECT_TRUE(panel.SetMode()) << c.letter;
        EXPECT_EQ(card.Log(), Call("SetMode", c.sent, 1)) << c.card << c.letter;
        EXPECT_EQ(panel.width->Text(), c.width) << c.letter;
        panel.Destroy();
        std::filesystem::remove(folder.File("libWrapi32.so"));
    }
    // Only the four letters with a bandwidth of their own are answered.
    EXPECT_EQ(panel.ModeParameter('F'), 170);
    EXPECT_EQ(panel.ModeParameter('C'), 25);
    EXPECT_EQ(panel.ModeParameter('L'), kNoModeValue);
}

TEST_F(Winradio, Command821SetsTheIfShiftOrTheBfoWithinTheCardsLimitInTheModesTheyServe) {
    const struct {
        uint16_t card;
        char letter;
        int32_t value;
        const char* call;  // empty: nothing reaches the card
        const char* sent;
        const char* shown;
    } cases[] = {
        {kWr3100, 'U', 5000, "SetIFShift", "2000", "+2000"},
        {kWr3100, 'L', -5000, "SetIFShift", "-2000", "-2000"},  // the value is signed
        {kWr3100, 'C', 150, "SetIFShift", "150", "+150"},
        {kWr3100, 'W', 150, "", "", "+0"},
        {kWr1000, 'C', -4000, "SetBFOOffset", "-3000", "-3000"},
        {kWr1000, 'L', 700, "SetBFOOffset", "700", "+700"},  // LSB is CW and its BFO here
        {kWr1500, 'U', 700, "", "", "+0"},  // a card with SSB but no IF shift: CW only
    };
    for (const auto& c : cases) {
        card.SetCards({c.card});
        Start();
        state.Modulation = c.letter;
        panel.SetMode();
        card.ClearLog();
        const JobStr line = RunJob(821, c.value);
        EXPECT_EQ(line.ReturnCode, 0);
        EXPECT_EQ(card.Log(), *c.call ? Call(c.call, c.sent, 1) : "") << c.card << c.letter;
        EXPECT_EQ(panel.bfo->Text(), c.shown) << c.card << c.letter;
        EXPECT_EQ(panel.BFOupdown->IsEnabled(), *c.call != '\0') << c.card << c.letter;
        panel.Destroy();
        std::filesystem::remove(folder.File("libWrapi32.so"));
    }
}

// The sync's end names message 2 (the main window tells it once no job and no reply wait runs,
// so that it lands in no job's line); the panel shows no box of its own for it.
TEST_F(Winradio, AFailedOpenIsToldAndCallsNothingUntilTheNextConnectOpens) {
    card.Fail("OpenRadioDevice");
    Start();
    EXPECT_EQ(card.Log(), "OpenRadioDevice(0) = 0\n");
    EXPECT_EQ(state.MessageText(panel.SyncFailureWhy()), kNoReceiver);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(main.Count(PostReceiverState), 1);  // the sync has ended, unanswered
    EXPECT_FALSE(panel.ReceiverAnswered());
    state.Running = 1;
    EXPECT_FALSE(panel.SetFrequency());
    EXPECT_FALSE(panel.SetMode());
    EXPECT_EQ(panel.ReadLevel(), -1);
    for (uint32_t code : {PostLockControls, PostUnlockControls, PostMeasureLevel}) Post(code);
    RunJob(820, 10);
    RunJob(817, 1);
    EXPECT_EQ(card.Log(), "OpenRadioDevice(0) = 0\n");

    // The card still refuses: it is looked for again without a word, until the operator asks
    // for it himself with the power button.
    card.ClearLog();
    const int syncs = main.Count(PostReceiverState);
    Post(PostSyncReceiver);
    EXPECT_EQ(card.Log(), "OpenRadioDevice(0) = 0\n");
    EXPECT_EQ(main.Count(PostReceiverState), syncs + 1);
    EXPECT_EQ(panel.SyncFailureWhy(), ReceiverPanel::kWhyToldBefore);
    EXPECT_EQ(messages, (std::vector<std::string>{kReceiverOff}));
    panel.RadioPower->Raise(ui::EventId::Click);
    ui::ServePending();
    ui::ServePending();
    EXPECT_EQ(main.Count(PostReceiverState), syncs + 2);
    EXPECT_EQ(state.MessageText(panel.SyncFailureWhy()), kNoReceiver);
    EXPECT_EQ(messages, (std::vector<std::string>{kReceiverOff}));

    card.Reset();
    Post(PostSyncReceiver);
    EXPECT_NE(panel.Handle, 0);
    EXPECT_TRUE(panel.DeviceOpen());
    EXPECT_EQ(panel.SyncFailureWhy(), 0);
    EXPECT_EQ(messages, (std::vector<std::string>{kReceiverOff}));
}

// Without a library, or with one lacking an entry point, the panel is there, reads no level,
// and its connect names message 2 for the main window to tell.
TEST_F(Winradio, ALibraryAbsentOrIncompleteCountsAsNotLoaded) {
    for (const char* library : {static_cast<const char*>(nullptr), ORVEL_WRAPI_STANDIN_OLD_FILE}) {
        messages.clear();
        state.Frequency = 1'455'000;
        state.OptRecvSave = 1;
        Start(library);
        EXPECT_TRUE(panel.HasWindow());
        EXPECT_FALSE(panel.Library.Loaded());
        EXPECT_EQ(state.MessageText(panel.SyncFailureWhy()), kNoReceiver);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(panel.ReadLevel(), -1);
        EXPECT_FALSE(panel.SetFrequencyWait());
        EXPECT_EQ(panel.TuneAndRead(), -1);
        // Nothing of the card's is set up: the program's frequency stays, no state file.
        EXPECT_EQ(state.Frequency, 1'455'000u);
        panel.Destroy();
        EXPECT_FALSE(std::filesystem::exists(folder.File("WINRADIO.001")));
        std::filesystem::remove(folder.File("libWrapi32.so"));
    }
    EXPECT_EQ(card.Log(), "");
}

TEST_F(Winradio, TheCardsLimitsInHzBoundTuningAndTheScale) {
    card.SetLimits(1, 150'000, 2'000'000'000);
    Start();
    EXPECT_EQ(panel.UpperLimit, 20'000'000u);
    card.ClearLog();
    card.AddSignal(1'900'000'000, 255, 20'000);
    state.Frequency = 19'000'000;  // 1900 MHz
    ASSERT_TRUE(panel.SetFrequency());
    EXPECT_EQ(panel.ReadLevel(), 252);
    EXPECT_EQ(panel.Scale.At(19'000'000), 252);
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequency());
    // One whose Hz do not fit the library's 32 bits is refused, not sent cut.
    state.Frequency = 42'949'673;
    EXPECT_FALSE(panel.SetFrequency());
    EXPECT_EQ(card.Log(), Call("SetFrequency", "1900000000", 1) +
                              Call("GetSignalStrength", "", 120) +
                              Call("SetFrequency", "145500000", 1));
    EXPECT_EQ(panel.TunedFrequency, 1'455'000u);
}

// A description that spans nothing, or none at all, leaves the limits the panel has.
TEST_F(Winradio, AnEmptyOrFailedDescriptionKeepsTheLastLimits) {
    Start();  // the WR-3100: 150 kHz .. 1500 MHz
    const struct {
        uint32_t lowerHz, upperHz;
        bool fails;
    } cases[] = {{0, 0, false}, {2'000'000'000, 150'000, false}, {0, 2'000'000'000, true}};
    for (const auto& c : cases) {
        card.SetLimits(1, c.lowerHz, c.upperHz);
        if (c.fails) card.Fail("GetRadioDeviceInfo");
        Post(PostSyncReceiver);
        EXPECT_EQ(panel.LowerLimit, 1500u) << c.upperHz;
        EXPECT_EQ(panel.UpperLimit, 15'000'000u) << c.upperHz;
        EXPECT_EQ(panel.Scale.CellCount(), 150'001u) << c.upperHz;
        EXPECT_EQ(state.FreqHigh, 15'000'000u) << c.upperHz;
    }
}

// The level read at the connect belongs to the card's frequency: even on a card tuning down to
// 0 Hz nothing goes into cell 0.
TEST_F(Winradio, TheConnectsLevelGoesToTheCardsFrequencyNotToCellZero) {
    card.SetLimits(1, 0, 1'500'000'000);
    card.AddSignal(72'900'000, 255, 20'000);
    Start();
    ASSERT_EQ(panel.LowerLimit, 0u);
    EXPECT_EQ(state.Level, 252);
    EXPECT_EQ(panel.Scale.At(729'000), 252);
    EXPECT_EQ(panel.Scale.At(0), 0);
}

// The stored frequency is held to the card's limits once they are known, never to the
// default ones: without a card it is kept as it was.
TEST_F(Winradio, TheStoredFrequencyIsHeldToTheCardsLimitsNotToTheDefaultOnes) {
    state.OptRecvSave = 1;
    StateFileHead head;
    head.Frequency = 15'000'000;  // 1500 MHz, beyond the default 1300 MHz
    StateFileWriter file;
    file.Head(head);
    ASSERT_TRUE(file.Save(folder.File("WINRADIO.001")));
    const auto stored = [&] {
        StateFileHead read;
        LevelScale scale;
        ReadStateFile(folder.File("WINRADIO.001"), read, scale,
                      [](std::string_view, std::string_view) {});
        return read.Frequency;
    };
    const auto restart = [&] {
        panel.Destroy();
        std::filesystem::remove(folder.File("libWrapi32.so"));
        Start();
    };

    card.Fail("OpenRadioDevice");
    Start();
    panel.Destroy();
    EXPECT_EQ(stored(), 15'000'000u);

    card.Reset();
    card.Fail("GetFrequency");  // the card does not say where it is
    restart();                  // the WR-3100: up to 1500 MHz
    EXPECT_EQ(state.Frequency, 15'000'000u);
    card.SetLimits(1, 150'000, 1'000'000'000);
    restart();
    EXPECT_EQ(state.Frequency, 10'000'000u);
}

TEST_F(Winradio, AFailedFrequencyReadKeepsTheLastFrequency) {
    card.Fail("GetFrequency");
    WrapiStandin::LinkInto(folder.path());
    ASSERT_TRUE(panel.Create(&main, &state));
    state.Frequency = 1'455'000;
    Post(PostSyncReceiver);
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(panel.TunedFrequency, 1'455'000u);
}

// While a scan runs a tune waits for the card to settle: 1 / rate seconds, by the mode's rate.
TEST_F(Winradio, AScanTuneWaitsTheSettleTimeAndARateOfZeroNotAtAll) {
    const struct {
        uint32_t fmRate, otherRate;
        char letter;
        int64_t waitedMs;
    } cases[] = {{50, 20, 'W', 20}, {50, 20, 'A', 50}, {0, 0, 'W', 0}, {50, 0, 'C', 0}};
    for (const auto& c : cases) {
        card.SetSettleRates(1, c.fmRate, c.otherRate);
        Start();
        state.Modulation = c.letter;
        panel.SetMode();
        state.Running = 1;
        const int64_t before = ui::Clock::NowMs();
        ASSERT_TRUE(panel.SetFrequency());
        EXPECT_EQ(ui::Clock::NowMs() - before, c.waitedMs) << c.fmRate << c.letter;
        state.Running = 0;
        panel.Destroy();
        std::filesystem::remove(folder.File("libWrapi32.so"));
    }
}

TEST_F(Winradio, ThePowerCommandClosesTheCardAndTheNextConnectsOpensItAgain) {
    Start();
    const int32_t first = panel.Handle;
    card.ClearLog();
    EXPECT_EQ(RunJob(819).ReturnCode, 0);
    EXPECT_EQ(card.Log(), "SetPower(" + std::to_string(first) + ", 0) = 1\nCloseRadioDevice(" +
                              std::to_string(first) + ") = 1\n");
    EXPECT_EQ(panel.RadioPower->Text(), "вкл");
    EXPECT_EQ(panel.ReadLevel(), -1);
    card.ClearLog();
    EXPECT_EQ(RunJob(819).ReturnCode, 0);  // switched on: the card is opened anew
    EXPECT_EQ(card.Calls().front(), "OpenRadioDevice");
    EXPECT_NE(panel.Handle, first);
    EXPECT_EQ(panel.RadioPower->Text(), "выкл");
}

TEST_F(Winradio, JobCommandsSetTheCardAndOthersAreRefusedInThePanelsWords) {
    Start();
    const struct {
        uint32_t number;
        int32_t value;
        std::string log;
    } cases[] = {
        {817, 1, Call("SetAtten", "1", 1) + Call("GetSignalStrength", "", 3)},
        {818, 0, Call("SetMute", "1", 1)},
        {820, 12, Call("SetVolume", "12", 1)},
        {820, 99, Call("SetVolume", "31", 1)},  // held to the slider's top
        {810, 0, ""},
        {822, 0, ""},
    };
    for (const auto& c : cases) {
        card.ClearLog();
        const JobStr line = RunJob(c.number, c.value);
        EXPECT_EQ(card.Log(), c.log) << c.number;
        const bool served = c.number >= 811 && c.number <= 821;
        EXPECT_EQ(line.ReturnCode, served ? 0 : 1) << c.number;
        EXPECT_EQ(line.Message, served ? "" : "Нет доступа к обьекту") << c.number;
    }
    EXPECT_EQ(state.Attenuator, 1);
    EXPECT_TRUE(panel.attenuator->IsChecked());
    EXPECT_EQ(state.Sound, 0);
    EXPECT_EQ(panel.volume->Position(), 31);
    EXPECT_EQ(main.Count(PostJobStep), int(std::size(cases)));
}

// A setting the card does not take fails its line with message 39, as a serial set's silence
// does, so that a COND line after it is skipped; the card that takes it again serves again.
TEST_F(Winradio, JobCommandsTheCardDoesNotTakeFailTheirLine) {
    card.SetCards({kWr3100});
    Start();
    state.Modulation = 'U';  // an IF shift to set
    panel.SetMode();
    const struct {
        uint32_t number;
        int32_t value;
        const char* entry;
    } cases[] = {
        {817, 1, "SetAtten"},        {818, 1, "SetMute"},  {820, 12, "SetVolume"},
        {821, 500, "SetIFShift"},    {819, 0, "SetPower"},  // the card is closed after it
        {819, 0, "OpenRadioDevice"},                        // and not there to switch on
    };
    for (const auto& c : cases) {
        card.Fail(c.entry);
        const JobStr refused = RunJob(c.number, c.value);
        EXPECT_EQ(refused.ReturnCode, 1) << c.number;
        EXPECT_EQ(refused.Message, kReceiverOff) << c.number;
        card.Recover(c.entry);
        if (c.number == 819) continue;  // pressed again, the switch would undo what it did
        const JobStr taken = RunJob(c.number, c.value);
        EXPECT_EQ(taken.ReturnCode, 0) << c.number;
        EXPECT_EQ(taken.Message, "") << c.number;
    }
    // Closed: nothing to take the settings.
    for (uint32_t number : {817u, 818u, 820u, 821u})
        EXPECT_EQ(RunJob(number, 1).ReturnCode, 1) << number;
}

// The lock is the panel's; the card's own scan mode follows the scan: on from its first tune,
// off at its stop, where the level the scan stopped on is read.
TEST_F(Winradio, AScanLocksThePanelAndSwitchesTheCardsScanMode) {
    Start();
    card.ClearLog();
    Post(PostLockControls);
    EXPECT_FALSE(panel.volume->IsEnabled());
    Post(PostUnlockControls);
    EXPECT_TRUE(panel.volume->IsEnabled());
    EXPECT_FALSE(panel.BFOupdown->IsEnabled());  // WFM has no offset
    EXPECT_EQ(card.Log(), "");

    state.Running = 1;
    ASSERT_TRUE(panel.SetFrequency());
    ASSERT_TRUE(panel.SetFrequency());
    state.Running = 0;
    panel.ReleaseForStop();
    const std::string tune = Call("SetFrequency", "72900000", 1);
    EXPECT_EQ(card.Log(), Call("SetScanMode", "1", 1) + tune + tune +
                              Call("GetSignalStrength", "", 3) + Call("SetScanMode", "0", 1));
}

TEST_F(Winradio, ATuneTheCardRefusesFromThePanelIsTold) {
    Start();
    card.Fail("SetFrequency");
    Post(PostStepUp);
    Post(PostMeasureLevel);
    EXPECT_EQ(messages, (std::vector<std::string>{kReceiverOff, kReceiverOff}));
    EXPECT_EQ(main.Count(PostFrequencyStepped), 1);
}

// A card that tunes beyond the default limit keeps its scale up there from one run to the
// next, though the limit is only known once the card is connected.
TEST_F(Winradio, AScaleBeyondTheDefaultLimitSurvivesARestart) {
    state.OptRecvSave = 1;
    card.SetLimits(1, 150'000, 2'000'000'000);
    card.AddSignal(1'900'000'000, 255, 20'000);
    Start();
    state.Frequency = 19'000'000;
    ASSERT_TRUE(panel.SetFrequency());
    ASSERT_EQ(panel.ReadLevel(), 252);
    panel.Destroy();

    StateFileHead head;
    LevelScale stored;
    stored.Allocate(20'000'000);
    ASSERT_TRUE(ReadStateFile(folder.File("WINRADIO.001"), head, stored,
                              [](std::string_view, std::string_view) {}));
    EXPECT_EQ(head.ScaleCells, 200'001u);
    EXPECT_EQ(head.Frequency, 19'000'000u);

    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.Scale.At(19'000'000), 252);
    Post(PostSyncReceiver);
    EXPECT_EQ(panel.Scale.CellCount(), 200'001u);
    EXPECT_EQ(panel.Scale.At(19'000'000), 252);
    panel.Destroy();

    // A count that disagrees with the runs ("Измерения=0") keeps the scale its runs reach.
    std::string text = ReadBytes(folder.File("WINRADIO.001"));
    const std::string count = Utf8ToCp1251("Измерения=");
    const std::size_t at = text.find(count);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, text.find("\r\n", at) - at, count + "0");
    WriteBytes(folder.File("WINRADIO.001"), text);
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.Scale.CellCount(), 200'001u);
    EXPECT_EQ(panel.Scale.At(19'000'000), 252);
}

}  // namespace
