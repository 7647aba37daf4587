// The IC-R8500 emulator as the program meets it: through the slave side of its
// pseudo-terminal, raw, with the emulator serving on its own thread.

#include "emulators/civ/ic8500_emulator.h"

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "tests/emulators/civ_line.h"

namespace {

using emulators::Ic8500Emulator;
using namespace std::chrono_literals;
using namespace civ_line;

constexpr char kOk[] = "FE FE E0 4A FB FD";
constexpr char kNg[] = "FE FE E0 4A FA FD";

// Noise floor 10, one carrier at 145.0 MHz, peak 200, 20 kHz wide.
class Ic8500EmulatorTest : public ::testing::Test {
  protected:
    Ic8500EmulatorTest()
        : emulator_(emulators::SignalPlan{10, {{145'000'000, 200, 20'000}}}),
          line_(emulator_.SlavePath(), B9600, LineSender::TurnsOf(emulator_)) {
        clock_.Drive(emulator_);
        emulator_.SetEcho(false);
        emulator_.Start();
    }

    TestClock clock_;
    Ic8500Emulator emulator_;
    Line line_;
};

TEST_F(Ic8500EmulatorTest, EchoesEveryFrameBeforeItsAnswerUnlessSwitchedOff) {
    emulator_.SetEcho(true);
    line_.Send("FE FE 4A E0 11 20 FD");
    EXPECT_TRUE(Receives(line_, "FE FE 4A E0 11 20 FD FE FE E0 4A FB FD"));
    emulator_.SetEcho(false);
    line_.Send("FE FE 4A E0 11 00 FD");
    EXPECT_TRUE(Receives(line_, kOk));
}

TEST_F(Ic8500EmulatorTest, SetsFrequencyAndReadsItBackInBcd) {
    line_.Send("FE FE 4A E0 05 00 00 00 45 01 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 03 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 03 00 00 00 45 01 FD"));
    EXPECT_EQ(emulator_.State().frequencyHz, 145'000'000u);
}

TEST_F(Ic8500EmulatorTest, RefusesFrequenciesOutsideTheSetOrNotInBcd) {
    line_.Send("FE FE 4A E0 05 00 00 10 00 00 FD");  // 0.1 MHz
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 05 00 00 00 00 20 FD");  // 2000 MHz
    EXPECT_TRUE(Receives(line_, kOk));
    for (const char* refused : {
             "FE FE 4A E0 05 90 99 09 00 00 FD",  // 99.99 kHz
             "FE FE 4A E0 05 10 00 00 00 20 FD",  // 2000.00001 MHz
             "FE FE 4A E0 05 00 00 0A 45 01 FD",  // not a digit
             "FE FE 4A E0 05 00 00 45 01 FD",     // four bytes
         }) {
        line_.Send(refused);
        EXPECT_TRUE(Receives(line_, kNg)) << refused;
    }
    EXPECT_EQ(emulator_.State().frequencyHz, 2'000'000'000u);
}

TEST_F(Ic8500EmulatorTest, SetsOnlyModesAndFiltersTheSetHas) {
    line_.Send("FE FE 4A E0 06 05 02 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 04 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 04 05 02 FD"));
    line_.Send("FE FE 4A E0 06 02 FD");  // AM without a filter byte: normal
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 06 05 03 FD");
    EXPECT_TRUE(Receives(line_, kNg));
    line_.Send("FE FE 4A E0 06 04 01 FD");  // RTTY
    EXPECT_TRUE(Receives(line_, kNg));
    EXPECT_EQ(emulator_.State().mode, emulators::kModeAm);
    EXPECT_EQ(emulator_.State().filter, 0x02);
}

TEST_F(Ic8500EmulatorTest, SetsStepAndAttenuatorCodes) {
    line_.Send("FE FE 4A E0 10 13 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 10 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 10 13 05 00 FD"));
    line_.Send("FE FE 4A E0 10 13 50 01 FD");  // programmed 15.0 kHz
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 10 14 FD");
    EXPECT_TRUE(Receives(line_, kNg));
    line_.Send("FE FE 4A E0 11 30 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 11 40 FD");
    EXPECT_TRUE(Receives(line_, kNg));
    line_.Send("FE FE 4A E0 11 FD");  // the set cannot report its attenuator
    EXPECT_TRUE(Receives(line_, kNg));
    const auto state = emulator_.State();
    EXPECT_EQ(state.stepCode, 13);
    EXPECT_EQ(state.programmedStep, 150);
    EXPECT_EQ(state.attenuatorDb, 30);
}

TEST_F(Ic8500EmulatorTest, ReadsLevelFromTheSignalPlanInBcd) {
    line_.Send("FE FE 4A E0 05 00 00 00 45 01 FD FE FE 4A E0 15 02 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A FB FD FE FE E0 4A 15 02 02 00 FD"));
    line_.Send("FE FE 4A E0 05 00 50 00 45 01 FD FE FE 4A E0 15 02 FD");  // 145.005: half way
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A FB FD FE FE E0 4A 15 02 01 05 FD"));
    line_.Send("FE FE 4A E0 05 00 00 00 46 01 FD FE FE 4A E0 15 02 FD");  // noise floor
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A FB FD FE FE E0 4A 15 02 00 10 FD"));
}

TEST_F(Ic8500EmulatorTest, OpensSquelchOnlyAboveItsSetting) {
    line_.Send("FE FE 4A E0 14 03 01 50 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 05 00 00 00 45 01 FD FE FE 4A E0 15 01 FD");  // level 200
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A FB FD FE FE E0 4A 15 01 01 FD"));
    line_.Send("FE FE 4A E0 05 00 50 00 45 01 FD FE FE 4A E0 15 01 FD");  // level 105
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A FB FD FE FE E0 4A 15 01 00 FD"));
    line_.Send("FE FE 4A E0 14 03 02 00 FD FE FE 4A E0 05 00 00 00 45 01 FD");  // at 200: closed
    line_.Send("FE FE 4A E0 15 01 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A FB FD FE FE E0 4A FB FD FE FE E0 4A 15 01 00 FD"));
    line_.Send("FE FE 4A E0 14 03 02 56 FD");
    EXPECT_TRUE(Receives(line_, kNg));
    EXPECT_EQ(emulator_.State().squelchLevel, 200);
}

TEST_F(Ic8500EmulatorTest, AnswersItsAddressesAndLogsEveryFrame) {
    line_.Send("FE FE 00 E0 19 00 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 19 00 4A FD"));
    // A frame for another set on the bus goes unanswered: the next bytes answer the query.
    line_.Send("FE FE 5C E0 19 00 FD FE FE 4A E0 19 00 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 19 00 4A FD"));
    ASSERT_EQ(emulator_.ReceivedFrames().size(), 3u);
    EXPECT_EQ(ToHex(emulator_.ReceivedFrames()[1]), "FE FE 5C E0 19 00 FD");
}

TEST_F(Ic8500EmulatorTest, SkipsLineNoiseAndRestartsAFrameOnAPreamble) {
    line_.Send("00 FE 12 FE FE 4A E0 05 FE FE 4A E0 03 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 03 00 00 70 01 01 FD"));
    ASSERT_EQ(emulator_.ReceivedFrames().size(), 1u);
    EXPECT_EQ(ToHex(emulator_.ReceivedFrames()[0]), "FE FE 4A E0 03 FD");
}

TEST_F(Ic8500EmulatorTest, RefusesEverythingButPowerOnWhileSwitchedOff) {
    line_.Send("FE FE 4A E0 18 00 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    EXPECT_FALSE(emulator_.State().powerOn);
    for (const char* refused :
         {"FE FE 4A E0 03 FD", "FE FE 00 E0 19 00 FD", "FE FE 4A E0 05 00 00 00 45 01 FD"}) {
        line_.Send(refused);
        EXPECT_TRUE(Receives(line_, kNg)) << refused;
    }
    EXPECT_FALSE(emulator_.TuneByHand(145'000'000));
    line_.Send("FE FE 4A E0 18 01 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 03 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 03 00 00 70 01 01 FD"));
}

TEST_F(Ic8500EmulatorTest, RefuseAllAnswersNgToQueriesAndSetsAlike) {
    emulator_.SetRefuseAll(true);
    line_.Send("FE FE 4A E0 03 FD FE FE 4A E0 05 00 00 00 45 01 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A FA FD FE FE E0 4A FA FD"));
    EXPECT_EQ(emulator_.State().frequencyHz, 101'700'000u);
}

TEST_F(Ic8500EmulatorTest, DeadReceiverLeavesOnlyTheBusEcho) {
    emulator_.SetDead(true);
    emulator_.SetEcho(true);
    line_.Send("FE FE 4A E0 03 FD");
    EXPECT_TRUE(Receives(line_, "FE FE 4A E0 03 FD"));
    // Without echo the line stays silent: a late answer would come before the next one.
    emulator_.SetEcho(false);
    line_.Send("FE FE 4A E0 15 02 FD");
    ASSERT_TRUE(emulator_.WaitForFrames(2, 5s));
    emulator_.SetDead(false);
    line_.Send("FE FE 00 E0 19 00 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 19 00 4A FD"));
}

// Frames to other sets do not count; the one after the last answered finds the set dead.
TEST_F(Ic8500EmulatorTest, FallsDeadAfterTheAnswersItWasGiven) {
    emulator_.SetDeadAfter(1);
    line_.Send("FE FE 52 E0 03 FD");
    line_.Send("FE FE 4A E0 11 20 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 11 00 FD");
    ASSERT_TRUE(emulator_.WaitForFrames(3, 5s));
    EXPECT_EQ(emulator_.State().attenuatorDb, 20);
    emulator_.SetDead(false);
    line_.Send("FE FE 4A E0 11 00 FD");
    EXPECT_TRUE(Receives(line_, kOk));
}

TEST_F(Ic8500EmulatorTest, DeliversWholeFramesByteByByte) {
    emulator_.SetByteByByte(true);
    emulator_.SetEcho(true);
    line_.Send("FE FE 4A E0 03 FD");
    EXPECT_TRUE(Receives(line_, "FE FE 4A E0 03 FD FE FE E0 4A 03 00 00 70 01 01 FD"));
}

TEST_F(Ic8500EmulatorTest, PutsGarbageBeforeEveryAnswerButNotTheEcho) {
    emulator_.SetGarbage(FromHex("00 FE 13"));
    emulator_.SetEcho(true);
    line_.Send("FE FE 4A E0 11 10 FD");
    EXPECT_TRUE(Receives(line_, "FE FE 4A E0 11 10 FD 00 FE 13 FE FE E0 4A FB FD"));
}

// The set's clock stands still unless the test moves it: what comes without its moving comes
// at once, and an answer held back by the latency comes when the clock gets there.
TEST_F(Ic8500EmulatorTest, AnswersAtOnceOrAfterTheLatencyWithTheEchoFirst) {
    line_.Send("FE FE 4A E0 11 10 FD");
    EXPECT_TRUE(Receives(line_, kOk));

    emulator_.SetLatency(200ms);
    emulator_.SetEcho(true);
    line_.Send("FE FE 4A E0 11 20 FD");
    EXPECT_TRUE(Receives(line_, "FE FE 4A E0 11 20 FD"));
    EXPECT_EQ(emulator_.NextDue(), clock_.Now() + 200ms);
    clock_.Advance(199ms);
    EXPECT_TRUE(line_.NothingWaiting());
    clock_.Advance(1ms);
    EXPECT_TRUE(Receives(line_, kOk));
    EXPECT_EQ(emulator_.NextDue(), emulators::PtyServer::Clock::time_point::max());
}

TEST_F(Ic8500EmulatorTest, TheBusEchoesALaterFrameBeforeAnAnswerStillDelayed) {
    emulator_.SetLatency(200ms);
    emulator_.SetEcho(true);
    line_.Send("FE FE 4A E0 11 20 FD FE FE 4A E0 11 00 FD");
    EXPECT_TRUE(Receives(line_, "FE FE 4A E0 11 20 FD FE FE 4A E0 11 00 FD"));
    clock_.Advance(200ms);
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A FB FD FE FE E0 4A FB FD"));
}

TEST_F(Ic8500EmulatorTest, ReportsHandTuningUnsolicitedToAll) {
    EXPECT_TRUE(emulator_.TuneByHand(433'920'000));
    EXPECT_TRUE(Receives(line_, "FE FE 00 4A 00 00 00 92 33 04 FD"));
    EXPECT_TRUE(emulator_.SwitchModeByHand(emulators::kModeAm, 0x03));
    EXPECT_TRUE(Receives(line_, "FE FE 00 4A 01 02 03 FD"));
    EXPECT_FALSE(emulator_.TuneByHand(50'000));
    EXPECT_FALSE(emulator_.SwitchModeByHand(emulators::kModeWfm, 0x02));
    EXPECT_EQ(emulator_.State().frequencyHz, 433'920'000u);
}

// What --trace writes: each frame heard, each frame sent (answers and unsolicited frames),
// never the bus's echo of what was heard.
TEST_F(Ic8500EmulatorTest, TracesEveryFrameHeardAndSentButNotTheEcho) {
    std::vector<std::string> trace;
    emulator_.SetTrace([&](char direction, std::string_view frame) {
        trace.push_back(direction + std::string(frame));
    });
    emulator_.SetEcho(true);
    line_.Send("FE FE 5C E0 19 00 FD FE FE 4A E0 03 FD");
    EXPECT_TRUE(Receives(line_,
                         "FE FE 5C E0 19 00 FD FE FE 4A E0 03 FD "
                         "FE FE E0 4A 03 00 00 70 01 01 FD"));
    EXPECT_TRUE(emulator_.TuneByHand(433'920'000));
    EXPECT_TRUE(Receives(line_, "FE FE 00 4A 00 00 00 92 33 04 FD"));
    EXPECT_EQ(trace, (std::vector<std::string>{">FE FE 5C E0 19 00 FD", ">FE FE 4A E0 03 FD",
                                               "<FE FE E0 4A 03 00 00 70 01 01 FD",
                                               "<FE FE 00 4A 00 00 00 92 33 04 FD"}));
}

TEST(PseudoTerminalLink, ReplacesOnlyLeftOverLinksAndRemovesItsOwnAtExit) {
    char pattern[] = "/tmp/orvel_emulator_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path folder = pattern;
    const auto com1 = folder / "COM1";
    const auto com2 = folder / "COM2";
    std::filesystem::create_symlink("/dev/pts/999999", com1);  // an earlier run's terminal
    std::ofstream(folder / "device") << "a receiver";
    std::filesystem::create_symlink(folder / "device", com2);
    {
        Ic8500Emulator emulator;
        emulator.LinkAs(com1);
        EXPECT_EQ(std::filesystem::read_symlink(com1), emulator.SlavePath());
        EXPECT_THROW(emulator.LinkAs(com2), std::runtime_error);
        EXPECT_THROW(emulator.LinkAs(folder / "device"), std::runtime_error);
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(com1)));
    EXPECT_EQ(std::filesystem::read_symlink(com2), folder / "device");
    std::filesystem::remove_all(folder);
}

}  // namespace
