// The IC-PCR1000 emulator as the program meets it: through the slave side of its
// pseudo-terminal, raw, at the line speed the program sets, with the emulator serving on its
// own thread.

#include "emulators/pcr/pcr1000_emulator.h"

#include <signal.h>
#include <stdlib.h>
#include <termios.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "tests/emulators/emulator_program.h"
#include "tests/emulators/program_line.h"

namespace {

using emulators::Pcr1000Emulator;
using namespace std::chrono_literals;

using Line = ProgramLine;

// Noise floor 10, one carrier at 145.0 MHz, peak 200 (C8), 20 kHz wide: 105 (69) 5 kHz off.
class PcrEmulatorTest : public ::testing::Test {
  protected:
    PcrEmulatorTest()
        : emulator_(emulators::SignalPlan{10, {{145'000'000, 200, 20'000}}}),
          line_(emulator_.SlavePath(), B9600, LineSender::TurnsOf(emulator_)) {
        clock_.Drive(emulator_);
        emulator_.SetOffReportInterval(0ms);
        emulator_.SwitchPowerByHand(true);
        emulator_.Start();
    }

    // Sends each line and expects its answer, in order.
    void Exchange(std::initializer_list<std::pair<const char*, const char*>> exchanges) {
        for (const auto& [command, answer] : exchanges) {
            line_.SendLine(command);
            EXPECT_EQ(line_.ReadLine(), answer) << "for " << command;
        }
    }

    TestClock clock_;
    Pcr1000Emulator emulator_;
    Line line_;
};

TEST_F(PcrEmulatorTest, SwitchedOffAnswersH100ToAllButPowerOn) {
    emulator_.SwitchPowerByHand(false);
    Exchange({{"G0?", "H100"}, {"K00145000000050200", "H100"}, {"H1?", "H100"}});
    EXPECT_EQ(emulator_.State().frequencyHz, 72'900'000u);
    Exchange({{"H101", "G000"}, {"H1?", "H101"}, {"G300", "G000"}, {"G0?", "G000"}});
    Exchange({{"H100", "G000"}, {"G0?", "H100"}});
    EXPECT_FALSE(emulator_.State().powerOn);
}

TEST_F(PcrEmulatorTest, ReportsH100ByItselfOnlyWhileOff) {
    emulator_.SwitchPowerByHand(false);
    emulator_.SetOffReportInterval(1ms);
    EXPECT_TRUE(line_.NothingWaiting());
    for (int report = 0; report < 3; ++report) {
        clock_.Advance(1ms);
        EXPECT_EQ(line_.ReadLine(), "H100") << report;
    }
    line_.SendLine("H101");
    EXPECT_EQ(line_.ReadLine(), "G000");
    // On, the set reports nothing by itself however long it runs.
    clock_.Advance(1s);
    EXPECT_TRUE(line_.NothingWaiting());
    Exchange({{"I1?", "I10A"}, {"I0?", "I007"}, {"H1?", "H101"}});
}

// What --trace writes: each line heard and each line sent, those the set sends by itself too.
TEST_F(PcrEmulatorTest, TracesEveryLineHeardAndSent) {
    std::vector<std::string> trace;
    emulator_.SetTrace([&](char direction, std::string_view line) {
        trace.push_back(direction + std::string(line));
    });
    Exchange({{"H1?", "H101"}, {"H100", "G000"}});
    emulator_.SetOffReportInterval(1ms);
    clock_.Advance(1ms);
    EXPECT_EQ(line_.ReadLine(), "H100");
    EXPECT_EQ(trace, (std::vector<std::string>{">H1?", "<H101", ">H100", "<G000", "<H100"}));
}

TEST_F(PcrEmulatorTest, TunesWithTheK0LineAndRefusesWhatTheSetLacks) {
    Exchange({{"K00145005000050200", "G000"}});
    auto state = emulator_.State();
    EXPECT_EQ(state.frequencyHz, 145'005'000u);
    EXPECT_EQ(state.mode, emulators::kPcrFm);
    EXPECT_EQ(state.filter, 2);
    Exchange({{"K00000010000000000", "G000"}, {"K01300000000060400", "G000"}});
    for (const char* refused : {
             "K00000009999020100",  // below 10 kHz
             "K01300000001060400",  // above 1300 MHz
             "K0014550000006",      // no filter
             "K00145500000040200",  // mode 04
             "K00145500000060500",  // filter 05
             "K00145500000060401",  // tail not 00
             "K0014550000A060400",  // not a digit
         })
        Exchange({{refused, "G001"}});
    EXPECT_EQ(emulator_.State().frequencyHz, 1'300'000'000u);
}

TEST_F(PcrEmulatorTest, OpensSquelchAboveItsSettingAndReadsLevelInHex) {
    Exchange({{"K00145000000020100", "G000"}, {"I1?", "I1C8"}, {"I0?", "I007"}});
    Exchange({{"J41C8", "G000"}, {"I0?", "I004"}, {"J41C7", "G000"}, {"I0?", "I007"}});
    Exchange({{"K00145005000020100", "G000"}, {"I1?", "I169"}, {"I0?", "I004"}});
    EXPECT_EQ(emulator_.State().squelch, 0xC7);
}

TEST_F(PcrEmulatorTest, TakesSettingsInUpperCaseHexAndSwitchesAsZeroOrOne) {
    Exchange({{"J4060", "G000"},
              {"J43FF", "G000"},
              {"J4501", "G000"},
              {"J4601", "G000"},
              {"J4701", "G000"},
              {"J4700", "G000"}});
    for (const char* refused : {"J4502", "J40c8", "J4200", "J406", "J50FF"})
        Exchange({{refused, "G001"}});
    const auto state = emulator_.State();
    EXPECT_EQ(state.volume, 0x60);
    EXPECT_EQ(state.ifShift, 0xFF);
    EXPECT_TRUE(state.agc);
    EXPECT_TRUE(state.noiseBlanker);
    EXPECT_FALSE(state.attenuator);
}

TEST_F(PcrEmulatorTest, SweepsTheBandScopeAroundTheTunedFrequency) {
    // 32 cells, 5 kHz apart: cells 112..143, 145.0 MHz at cell 128.
    Exchange({{"K00145000000050200", "G000"}, {"ME0000120050100005000", "G000"}});
    const std::string noise = "0A";
    std::string lower = "NE170";
    for (int i = 0; i < 15; ++i) lower += noise;
    lower += "69";
    std::string upper = "NE180C869";
    for (int i = 0; i < 14; ++i) upper += noise;
    Exchange({{"NE170?", lower.c_str()}, {"NE180?", upper.c_str()}});
    const std::string outside = "NE160" + std::string(32, '0');
    Exchange({{"NE160?", outside.c_str()}, {"NE200?", "G001"}});
    // The panel's timer poll: several queries in one write, an empty line at the end.
    line_.Send("NE180?\r\nNE170?\r\n\r\n");
    EXPECT_EQ(line_.ReadLine(), upper);
    EXPECT_EQ(line_.ReadLine(), lower);
    Exchange({{"ME0000100000000000000", "G000"}, {"NE180?", "G001"}});
    EXPECT_EQ(emulator_.State().scopeCells, 0);
}

TEST_F(PcrEmulatorTest, AnswersOnlyAtTheLineSpeedItIsSetTo) {
    Exchange({{"G105", "G000"}});  // acknowledged at 9600, then 38400
    EXPECT_EQ(emulator_.State().lineSpeed, 38400u);
    line_.SendLine("I1?");  // noise to the set: no answer comes before the next one
    ASSERT_TRUE(emulator_.WaitForMisheardBytes(5, 5s));
    line_.SetSpeed(B38400);
    Exchange({{"G0?", "G000"}});
    EXPECT_EQ(emulator_.ReceivedLines(), (std::vector<std::string>{"G105", "G0?"}));
    // Switched off, the set goes back to 9600.
    Exchange({{"G106", "G001"}, {"H100", "G000"}});
    line_.SetSpeed(B9600);
    Exchange({{"H101", "G000"}});
}

TEST_F(PcrEmulatorTest, EndsLinesAtCrOrLfAndLogsThemWithoutTheEnd) {
    line_.Send("G0?\rH1?\n\n\r\nI0?\r\n");
    EXPECT_EQ(line_.ReadLine(), "G000");
    EXPECT_EQ(line_.ReadLine(), "H101");
    EXPECT_EQ(line_.ReadLine(), "I007");
    EXPECT_EQ(emulator_.ReceivedLines(), (std::vector<std::string>{"G0?", "H1?", "I0?"}));
}

TEST_F(PcrEmulatorTest, FaultAnswersG001ToEveryLine) {
    emulator_.SetFault(true);
    Exchange({{"G0?", "G001"}, {"I1?", "G001"}, {"K00145000000050200", "G001"}});
    EXPECT_EQ(emulator_.State().frequencyHz, 72'900'000u);
    emulator_.SetFault(false);
    Exchange({{"G0?", "G000"}});
}

TEST(PcrLineSpeed, TheEmulatorSeesTheSpeedTheProgramSetOnItsEnd) {
    emulators::PseudoTerminal pty;
    const Line line(pty.slavePath(), B4800);
    EXPECT_EQ(pty.LineSpeed(), 4800u);
    line.SetSpeed(B38400);
    EXPECT_EQ(pty.LineSpeed(), 38400u);
}

// On the set's own clock, which the test moves: 8.33 ms a byte at 1200 Bd.
TEST(PcrLineRate, AnAnswerLeavesOnlyAfterTheCommandsAndItsOwnBytesTime) {
    Pcr1000Emulator emulator;
    emulator.SetOffReportInterval(0ms);
    emulator.SwitchPowerByHand(true);
    ASSERT_TRUE(emulator.SetLineSpeedByHand(1200));
    emulator.SetLineRate(true);
    TestClock clock;
    clock.Drive(emulator);
    emulator.Start();
    const Line line(emulator.SlavePath(), B1200, LineSender::TurnsOf(emulator));
    constexpr auto kByte = std::chrono::nanoseconds(8'333'333);
    line.SendLine("G0?");
    EXPECT_TRUE(line.NothingWaiting());  // heard now
    // "G0?" CR LF heard, then "G000" CR LF sent.
    clock.Advance(11 * kByte - 1us);
    EXPECT_TRUE(line.NothingWaiting());
    clock.Advance(1us);
    EXPECT_EQ(line.ReadLine(), "G000");
}

// The program, as a script runs it ----------------------------------------------------------

TEST(PcrEmulatorProgram, ServesTheSetSwitchedOnAtTheSpeedItWasLeftAt) {
    const Program program = LaunchEmulator(
        ORVEL_PCR_EMULATOR, {"--speed", "19200", "--on", "--trace", "--signal", "145.0:200:20"});
    ASSERT_GT(program.pid, 0);
    {
        const Line line(TerminalPath(program), B19200, LineSender::Program(program.pid));
        EXPECT_EQ(line.Exchange("H1?"), "H101");
        EXPECT_EQ(line.Exchange("K00145000000050200"), "G000");
        EXPECT_EQ(line.Exchange("I1?"), "I1C8");
    }
    ::kill(program.pid, SIGTERM);
    EXPECT_EQ(ExitCode(program), 0);
}

TEST(PcrEmulatorProgram, RefusesASpeedOrSignalTheSetDoesNotHaveAndAFileAtItsLink) {
    EXPECT_EQ(ExitCode(LaunchEmulator(ORVEL_PCR_EMULATOR, {"--speed", "2400"})), 1);
    EXPECT_EQ(ExitCode(LaunchEmulator(ORVEL_PCR_EMULATOR, {"--signal", "1300.1:100:10"})), 1);
    char pattern[] = "/tmp/orvel_pcr_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path file = std::filesystem::path(pattern) / "COM1";
    std::ofstream(file) << "the operator's";
    EXPECT_EQ(ExitCode(LaunchEmulator(ORVEL_PCR_EMULATOR, {"--link", file})), 2);
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(file)));
    std::filesystem::remove_all(pattern);
}

}  // namespace
