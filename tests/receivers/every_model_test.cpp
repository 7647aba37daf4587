// Every model with a serial line on its emulator, its panel made by the registry: what holds
// for every panel command of every model. The commands are those each model's panel serves
// (JobNumbers), so a command added later is walked too.
//
// A set that hears everything and answers nothing (switched off at its own switch; a CI-V bus
// still echoes): a command that sent the set something fails its line, with message 39 unless
// it failed with a text of its own; so does one that sent nothing because the panel knows the
// set is not there. The rest are the panel's own settings, listed below with what makes them
// so.
//
// A program that closes sends its set nothing more, whatever it was in the middle of.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emulators/aor/ar3000a_emulator.h"
#include "emulators/aor/ar5000_emulator.h"
#include "emulators/aor/ar8000_emulator.h"
#include "emulators/aor/ar8200_emulator.h"
#include "emulators/civ/civ_emulator.h"
#include "emulators/pcr/pcr1000_emulator.h"
#include "receivers/comm.h"
#include "receivers/panel_registry.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/support/program_folder.h"
#include "tests/support/test_clock.h"
#include "tests/support/while_closing.h"
#include "ui/post.h"
#include "ui/timer.h"

namespace {

// A model on its emulator: how to make the set, and how much of what the program sent it has
// heard so far.
struct SilentModel {
    const char* name;
    int32_t type;  // served type and variant, as the start-up gives them
    uint8_t variant;
    uint32_t baud;
    bool twoStopBits;
    std::function<std::unique_ptr<emulators::PtyServer>()> make;
    std::function<size_t(const emulators::PtyServer&)> heard;
};

// The commands that may leave the set alone and succeed, by served type and number, and why.
struct PanelSetting {
    int32_t type;
    uint32_t number;
    const char* why;
};

// clang-format off
constexpr PanelSetting kPanelSettings[] = {
    // The fine scale's view step, on every panel.
    {4, 426, "view step"}, {3, 312, "view step"}, {12, 1226, "view step"},
    {10, 1026, "view step"}, {6, 626, "view step"}, {7, 723, "view step"},
    {9, 923, "view step"}, {2, 223, "view step"}, {1, 122, "view step"},
    // The fine scale cleared (the CI-V sets with a memory stop their own scan with the same
    // number, and only when it runs).
    {4, 421, "clears the fine scale"}, {3, 311, "clears the fine scale"},
    {12, 1221, "clears the fine scale"}, {10, 1021, "clears the fine scale"},
    {6, 621, "clears the fine scale"}, {7, 717, "clears the fine scale when no scan runs"},
    {9, 917, "clears the fine scale"}, {2, 217, "clears the fine scale"},
    {1, 121, "clears the fine scale"},
    // Without direct writing a store, a bank or a channel is the panel's list alone; direct
    // writing off, the whole memory box and the dialogs are the panel's.
    {4, 413, "store without direct writing"}, {4, 420, "direct writing off"},
    {4, 427, "bank without direct writing"}, {4, 428, "channel without direct writing"},
    {4, 433, "the whole memory box"}, {4, 435, "opens the scan dialog"},
    {12, 1213, "store without direct writing"}, {12, 1220, "direct writing off"},
    {12, 1228, "an empty channel chosen without direct writing"},
    {12, 1235, "opens the scan dialog"},
    {10, 1013, "store without direct writing"}, {10, 1020, "direct writing off"},
    {7, 713, "store without direct writing"}, {7, 714, "search bank without direct writing"},
    {7, 716, "direct writing off"}, {7, 724, "bank without direct writing"},
    {7, 725, "channel without direct writing"}, {7, 726, "the whole memory box"},
    {7, 733, "squelch kind, sent with the next squelch level"},
    {7, 734, "squelch kind, sent with the next squelch level"},
    {7, 735, "squelch kind, sent with the next squelch level"},
    {7, 737, "opens the scan dialog"}, {7, 738, "opens the extra functions dialog"},
    {9, 913, "store without direct writing"}, {9, 916, "direct writing off"},
    {9, 924, "bank without direct writing"}, {9, 925, "search bank without direct writing"},
    {9, 927, "the whole memory box"}, {9, 931, "opens the scan dialog"},
    {9, 933, "squelch kind, sent with the next squelch level"},
    {9, 934, "squelch kind, sent with the next squelch level"},
    {2, 213, "store without direct writing"}, {2, 216, "direct writing off"},
    {2, 224, "bank without direct writing"}, {2, 226, "the whole memory box"},
    {1, 111, "bank without direct writing"}, {1, 112, "bank without direct writing"},
    {1, 113, "bank without direct writing"}, {1, 114, "bank without direct writing"},
    {1, 117, "store without direct writing"}, {1, 120, "direct writing off"},
    {1, 128, "the whole memory box"},
    // Standby left or power on while the panel has the set on: nothing to change.
    {4, 422, "power on while the set counts as on"},
    {12, 1222, "standby left while not in it"}, {10, 1022, "standby left while not in it"},
    // The IC-PCR1000: nothing to switch off on a set not connected; the band scope's pause
    // and scan kind are the panel's; 634 does nothing by definition.
    {6, 622, "power off while the set is not connected"}, {6, 634, "does nothing"},
    {6, 635, "band scope paused or let run by the panel's own poll"},
    {6, 636, "band scope scan kind"},
};
// clang-format on

// The AR5000's "QP" puts the set to sleep, which it never answers: the write alone is the
// command, which fails only when it cannot be written.
constexpr PanelSetting kNeverAnswered[] = {{7, 718, "QP, answered by nothing"}};

// Shown in a failed test's name.
void PrintTo(const SilentModel& model, std::ostream* out) {
    *out << model.name;
}

bool Listed(std::span<const PanelSetting> list, int32_t type, uint32_t number) {
    return std::any_of(list.begin(), list.end(), [&](const PanelSetting& row) {
        return row.type == type && row.number == number;
    });
}

class EveryModel : public ::testing::TestWithParam<SilentModel> {
  protected:
    // The set answers nothing from the start.
    virtual bool Silent() const { return false; }

    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(0);
        emulator = GetParam().make();
        emulator->SetSilent(Silent());
        ui::Clock::SetPeer(test_clock::Peer([this] { return emulator.get(); }, [this] { return &comm; }));
        test_clock::Use(*emulator);
        emulator->LinkAs(folder.path() / "COM1");
        emulator->Start();

        state.Owner = &main;
        state.Port = &comm;
        state.ProgramDir = folder.Dir();
        state.PortIndex = 1;
        state.SpeedIndex = 4;  // 9600 baud
        state.ReceiverType = GetParam().type;
        state.ReceiverVariant = GetParam().variant;
        state.MessageBox = [this](const FDX&, const MessageRequest& request) {
            boxes.push_back(request.text);
            return true;
        };
        comm.ProgramDir = folder.Dir();
        comm.NotifyWindow = &main;
        comm.ConfiguredPort = 1;
        comm.ConfiguredBaud = GetParam().baud;
        comm.Init();
        comm.StopBits = GetParam().twoStopBits ? kTwoStopBits : kOneStopBit;
        ASSERT_TRUE(comm.Open());
        comm.EnableReceive();
        panel = panel_registry::Make(GetParam().type);
        ASSERT_NE(panel, nullptr);
        ASSERT_TRUE(panel->Create(&main, &state));
        main.panel = panel.get();
        main.timer.Start(100);
    }
    void TearDown() override {
        main.timer.Stop();
        main.panel = nullptr;
        if (panel) panel->Destroy();
        panel.reset();
        comm.Close();
        if (emulator) emulator->Stop();
        ui::Clock::SetPeer({});
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }

    // Virtual time; a connect that looks for the set at every speed takes half a minute.
    bool ServeUntil(const std::function<bool()>& done) {
        for (int served = 0; served < 60'000 && !done(); served += 20) ui::ServeFor(20);
        return done();
    }
    // A job line to the panel as the job step routine runs it, and what the set heard of it.
    std::pair<JobStr, size_t> RunJob(uint32_t number, uint32_t value) {
        JobStr line;
        line.OBJ = number;
        line.VAL = value;
        state.JobLine = &line;
        state.JobRunning = 1;
        const size_t heard = GetParam().heard(*emulator);
        const int answers = main.Count(PostJobStep);
        EXPECT_TRUE(PostPrivateMessage(panel.get(), PostJobStep));
        EXPECT_TRUE(ServeUntil([&] { return main.Count(PostJobStep) > answers; })) << number;
        // What the command posted to itself is served too, and what it sent reaches the set.
        ui::ServeFor(200);
        state.JobLine = nullptr;
        state.JobRunning = 0;
        return {line, GetParam().heard(*emulator) - heard};
    }

    std::vector<std::string> boxes;
    ProgramFolder folder;
    std::unique_ptr<emulators::PtyServer> emulator;
    MainStandIn main;
    FDX state;
    Comm comm;
    std::unique_ptr<ReceiverPanel> panel;
};

class SilentSet : public EveryModel {
  protected:
    bool Silent() const override { return true; }
};

// The set is silent from the start: the panel's sync goes unanswered, then every command runs
// with 1 and then with 0 (with 1 first, direct writing is on for the second round).
TEST_P(SilentSet, EveryCommandThatReachesForTheSetFailsItsLine) {
    ASSERT_TRUE(PostPrivateMessage(panel.get(), PostSyncReceiver));
    ASSERT_TRUE(ServeUntil([&] { return panel->SyncEnded(); }));
    ASSERT_FALSE(panel->ReceiverAnswered());

    const std::string silent = state.MessageText(kReceiverSilent);
    // The failures with texts of their own: a bank or channel the panel does not have, the
    // receiver's own scan that did not start, the fine scale's jumps finding nothing, and a
    // store with direct writing, told as a bank write tells the channels it did not write.
    const std::vector<std::string> ownTexts = {
        ReceiverPanel::kNoBank, ReceiverPanel::kNoChannel, state.MessageText(28),
        state.MessageText(29),  state.MessageText(30),     "Не записано в приемник каналов: "};
    const auto ownText = [&](const std::string& text) {
        return std::any_of(ownTexts.begin(), ownTexts.end(),
                           [&](const std::string& own) { return text.starts_with(own); });
    };
    const int32_t type = GetParam().type;
    for (const uint32_t value : {1u, 0u}) {
        for (const uint32_t number : panel->JobNumbers()) {
            const auto [line, heard] = RunJob(number, value);
            SCOPED_TRACE(::testing::Message() << GetParam().name << " job " << number << " value "
                                              << value << ": \"" << line.Message << "\"");
            if (heard > 0 && Listed(kNeverAnswered, type, number)) continue;
            if (line.ReturnCode == 0) {
                // Nothing went to the set, and the command is the panel's alone.
                EXPECT_EQ(heard, 0u);
                EXPECT_TRUE(Listed(kPanelSettings, type, number));
                continue;
            }
            EXPECT_TRUE(line.Message == silent || ownText(line.Message));
        }
    }
    comm.Close();  // the port gone: a write alone fails too
    for (const PanelSetting& command : kNeverAnswered) {
        if (command.type != type) continue;
        const JobStr line = RunJob(command.number, 0).first;
        EXPECT_EQ(line.ReturnCode, 1) << command.number;
        EXPECT_EQ(line.Message, silent) << command.number;
    }
    EXPECT_TRUE(boxes.empty());
}

// The set answered the sync; then the close comes while something runs: every command, the
// sync and the operations of the main window find the program closing, and none of them begins
// an exchange or sends anything (the IC-PCR1000 also polls its band scope by itself, outside
// any exchange).
TEST_P(EveryModel, NothingGoesToTheSetOnceTheProgramCloses) {
    ASSERT_TRUE(PostPrivateMessage(panel.get(), PostSyncReceiver));
    ASSERT_TRUE(ServeUntil([&] { return panel->SyncEnded(); }));
    ASSERT_TRUE(panel->ReceiverAnswered()) << GetParam().name;
    const uint64_t sent = comm.BytesWrittenForTesting();
    const ReceiverPanel::ExchangeId exchanges = panel->LastExchange();

    WhileClosing([&] {
        JobStr line;
        state.JobLine = &line;
        state.JobRunning = 1;
        for (const uint32_t number : panel->JobNumbers()) {
            for (const uint32_t value : {1u, 0u}) {
                line = JobStr{};
                line.OBJ = number;
                line.VAL = value;
                panel->ExecuteCommand();
            }
        }
        state.JobLine = nullptr;
        state.JobRunning = 0;
        PostPrivateMessage(panel.get(), PostSyncReceiver);
        PostPrivateMessage(panel.get(), PostTimerTick);
        ui::ServePending();
        panel->SetFrequency();
        panel->SetMode();
        panel->SetStep();
        panel->SetAttenuator();
        panel->SetSound();
        panel->ReadLevel();
        panel->Tune();
        panel->ScanLevel();
    });
    EXPECT_EQ(comm.BytesWrittenForTesting(), sent) << GetParam().name;
    // Nor did any exchange begin, to be waited for or counted unanswered.
    EXPECT_EQ(panel->LastExchange(), exchanges) << GetParam().name;
}

template <class Set>
const Set& As(const emulators::PtyServer& set) {
    return static_cast<const Set&>(set);
}

SilentModel Civ(const char* name, int32_t type, uint8_t variant,
                const emulators::CivProfile& profile) {
    return {name,
            type,
            variant,
            19200,
            false,
            [&profile] { return std::make_unique<emulators::CivEmulator>(profile); },
            [](const emulators::PtyServer& set) {
                return As<emulators::CivEmulator>(set).ReceivedFrames().size();
            }};
}

template <class Set, auto... options>
SilentModel Aor(const char* name, int32_t type, uint8_t variant, uint32_t baud,
                bool twoStopBits = false) {
    return {name,
            type,
            variant,
            baud,
            twoStopBits,
            [] { return std::make_unique<Set>(emulators::DefaultSignalPlan(), options...); },
            [](const emulators::PtyServer& set) {
                return As<emulators::AorEmulator>(set).ReceivedLines().size();
            }};
}

std::string NameOf(const ::testing::TestParamInfo<SilentModel>& info) {
    return info.param.name;
}

const auto kCivSets = ::testing::Values(
    Civ("IC_R8500", 4, 0, emulators::kIcR8500), Civ("IC_R10", 3, 0, emulators::kIcR10),
    Civ("IC_R9000", 3, 1, emulators::kIcR9000),
    Civ("IC_756PRO", 12, 0, *emulators::FindCivProfile("ic756")),
    Civ("IC_R75", 10, 0, emulators::kIcR75));

// Heard: the lines the set took at its speed and the bytes it heard as noise at another one.
const auto kPcr1000 = ::testing::Values(SilentModel{
    "IC_PCR1000", 6, 0, 9600, false, [] { return std::make_unique<emulators::Pcr1000Emulator>(); },
    [](const emulators::PtyServer& set) {
        const auto& pcr = As<emulators::Pcr1000Emulator>(set);
        return pcr.ReceivedLines().size() + pcr.MisheardBytes();
    }});

const auto kAorLineSets = ::testing::Values(
    Aor<emulators::Ar5000Emulator>("AR5000", 7, 0, 19200),
    Aor<emulators::Ar8200Emulator>("AR8200", 9, 0, 19200),
    Aor<emulators::Ar8200Emulator, emulators::Ar8200::Model::Ar8600>("AR8600", 9, 1, 19200),
    Aor<emulators::Ar8000Emulator>("AR8000", 2, 0, 9600));

// On a line of two stop bits, which it needs.
const auto kAr3000a =
    ::testing::Values(Aor<emulators::Ar3000aEmulator>("AR3000A", 1, 0, 9600, true));

INSTANTIATE_TEST_SUITE_P(CivSets, SilentSet, kCivSets, NameOf);
INSTANTIATE_TEST_SUITE_P(Pcr1000, SilentSet, kPcr1000, NameOf);
INSTANTIATE_TEST_SUITE_P(AorLineSets, SilentSet, kAorLineSets, NameOf);
INSTANTIATE_TEST_SUITE_P(Ar3000a, SilentSet, kAr3000a, NameOf);

INSTANTIATE_TEST_SUITE_P(CivSets, EveryModel, kCivSets, NameOf);
INSTANTIATE_TEST_SUITE_P(Pcr1000, EveryModel, kPcr1000, NameOf);
INSTANTIATE_TEST_SUITE_P(AorLineSets, EveryModel, kAorLineSets, NameOf);
INSTANTIATE_TEST_SUITE_P(Ar3000a, EveryModel, kAr3000a, NameOf);

}  // namespace
