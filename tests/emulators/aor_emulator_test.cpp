// The AR5000 emulator as the program meets it: command lines over the slave side of its
// pseudo-terminal, raw, with the emulator serving on its own thread.

#include "emulators/aor/ar5000_emulator.h"

#include <signal.h>
#include <stdlib.h>
#include <termios.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "tests/emulators/emulator_program.h"
#include "tests/emulators/program_line.h"

namespace {

using emulators::AorChannel;
using emulators::AorLineEngine;
using emulators::AorSearchBank;
using emulators::AorSettings;
using emulators::Ar5000Emulator;
using emulators::Ar5000Operation;
using emulators::SignalPlan;
using namespace std::chrono_literals;

// Noise floor 8; 145.5 MHz at level 7F, 12 kHz wide; 433.92 MHz at FF, 20 kHz wide.
SignalPlan TestPlan() {
    return SignalPlan{8, {{145'500'000, 0x7F, 12'000}, {433'920'000, 0xFF, 20'000}}};
}

using Line = ProgramLine;

class AorAr5000 : public EmulatorOnLine<Ar5000Emulator> {
  protected:
    AorAr5000() : EmulatorOnLine(TestPlan()) {}
};

TEST_F(AorAr5000, TunesInHzOrMhzWithinItsRangeAndReportsTenDigits) {
    ExpectAnswers({
        {"RF145500000", ""},
        {"RX", "VA RF0145500000 ST100000 AU0 MD0 BW6 AT00"},
        {"RF433.92", ""},
        {"RF", "RF0433920000"},
        {"RF10000", ""},
        {"RF", "RF0000010000"},
        {"RF2600000000", ""},
        {"RF9999", "?"},
        {"RF2600000001", "?"},
        {"RF14550000A", "?"},
        {"RF145.5000001", "?"},
        {"RF", "RF2600000000"},
    });
}

TEST_F(AorAr5000, SetsModeBandwidthStepAndAttenuatorIntoTheVfo) {
    ExpectAnswers({
        {"MD1", ""},
        {"BW2", ""},
        {"ST8330", ""},
        {"ST", "ST008330"},
        {"ST12.5", ""},
        {"ST", "ST012500"},
        {"AT2", ""},
        {"AT", "AT02"},
        {"ATF", ""},
        {"AT", "AT10"},
        {"MD5", "?"},
        {"BW7", "?"},
        {"AT3", "?"},
        {"ST0", "?"},
        {"ST1000000", "?"},
        {"MD", "MD1"},
        {"VB", "VB RF0145500000 ST012500 AU0 MD0 BW3 AT00"},
        {"VA", "VA RF0101700000 ST012500 AU0 MD1 BW2 AT10"},
    });
}

TEST_F(AorAr5000, ReadsThePlanLevelInHexWithTheSquelchMarker) {
    ExpectAnswers({
        {"RF145500000", ""},
        {"LM", "LM 7F"},
        {"RF433920000", ""},
        {"LM", "LM FF"},
        {"RF300000000", ""},
        {"LM", "LM%08"},
        // Above the carrier the squelch stays closed.
        {"RF145500000", ""},
        {"RQ200", ""},
        {"RQ", "RQ+200"},
        {"LM", "LM%7F"},
        {"LM1", "?"},
    });
}

TEST_F(AorAr5000, WritesAChannelAsTheProgramDoesAndReadsItBackWithAnEightCharacterLabel) {
    line_.Send("MX005 RF145500000 AU0 ST12500 MD0 BW3 MP1 TMRF AT MD\r\nAT1\r\nGA1\r\n");
    // Each of the three lines is acknowledged.
    for (int line = 0; line < 3; ++line) EXPECT_EQ(line_.ReadLine(), "") << line;
    ExpectAnswers({
        {"VA", "VA RF0101700000 ST100000 AU0 MD0 BW6 AT00"},
        // MR goes to the channel; its line is the answer to RX alone.
        {"MR005", ""},
        {"RX", "MR MX005 RF0145500000 ST012500 MD0 BW3 AT01 TMRF AT MD"},
        {"MP", "MP1"},
        // Fields left out are taken from what the set is tuned to.
        {"MX106 RF156800000 MD1 TMABC", ""},
        {"RX", "MR MX106 RF0156800000 ST012500 MD1 BW3 AT01 TMABC     "},
        {"MX107 RF156800000 TMLONGLABEL", ""},
        {"RX", "MR MX107 RF0156800000 ST012500 MD1 BW3 AT01 TMLONGLABE"},
        {"MX108 MD1 TMNOFREQ", "?"},
        {"MX1A8 RF156800000", "?"},
    });
    const AorChannel channel = emulator_.Channel(0, 5);
    EXPECT_TRUE(channel.skip);
    EXPECT_TRUE(channel.select);
    EXPECT_EQ(channel.settings.attenuator, '1');
    EXPECT_EQ(emulator_.Channel(1, 6).label, "ABC     ");
}

TEST_F(AorAr5000, EmptyChannelsAnswerDashesAndClearingEmptiesChannelsOrBanks) {
    const AorChannel channel{145'500'000, AorSettings{}, "", false, false};
    for (const int number : {5, 6}) {
        emulator_.SetChannel(0, number, channel);
        emulator_.SetChannel(3, number, channel);
    }
    ExpectAnswers({
        {"MR007", ""},
        {"RX", "MR MX007 ---"},
        {"GA1", "?"},  // no channel to flag
        {"MR5", ""},   // channel 00 of the bank
        {"RX", "MR MX500 ---"},
        {"MR005", ""},
        {"RX", "MR MX005 RF0145500000 ST012500 MD0 BW3 AT00 TM        "},
        {"MR1000", "?"},
        {"MR", ""},    // the current channel
        {"MQ06", ""},  // the current bank
        {"MQ%%3", ""},
        {"MQ%%", ""},  // the current bank
        {"MQ1234", "?"},
        {"MQ%%A", "?"},
        {"RX", "MR MX005 ---"},
    });
    EXPECT_TRUE(emulator_.Channel(0, 5).Empty());
    EXPECT_TRUE(emulator_.Channel(3, 5).Empty());
}

TEST_F(AorAr5000, WritesAndReadsSearchBanksAndMarksEmptyOnesWithDashes) {
    ExpectAnswers({
        {"SE05 SL146000000 SU145000000 ST12500 AU0 MD0 BW3 AT0 TT  CALLS", ""},
        {"GS5", ""},
        {"GS", "GS05"},
        {"SR", "SR05 SL0145000000 SU0146000000 ST012500 AU0 MD0 BW3 AT00 TT  CALLS "},
        {"SR06", "SR06 ---"},
        {"SR20", "?"},
        {"SE06 SL145000000", "?"},
        {"QS05", ""},
        {"SR05", "SR05 ---"},
    });
}

TEST_F(AorAr5000, SearchScanStopsAtTheCarriersEdgeAndReportsLevelThenFrequencyUnasked) {
    emulator_.SetSearchBank(5, {145'000'000, 146'000'000, AorSettings{1'000, '0', '3', '0'}, "2M"});
    ExpectAnswers({{"LC1", ""}, {"DS1", ""}, {"GS5", ""}, {"SD00", ""}, {"SD", "SD0.0"}});
    EXPECT_EQ(line_.Exchange("SS05"), "SS RF0145000000 ST001000 AU0 MD0 BW3 AT00 TT2M      ");
    // 4 kHz below the centre the carrier is at 0x30, the first step above the squelch (32).
    EXPECT_EQ(line_.ReadLine(), "LC30");
    EXPECT_EQ(line_.ReadLine(), "SS RF0145496000 ST001000 AU0 MD0 BW3 AT00 TT2M      ");
    EXPECT_TRUE(emulator_.State().scanStopped);

    // The carrier goes: the scan sweeps on and finds nothing, until another comes up.
    emulator_.SetSignalPlan(SignalPlan{8, {}});
    emulator_.SetSignalPlan(SignalPlan{8, {{145'800'000, 0x90, 0}}});
    EXPECT_EQ(line_.ReadLine(), "LC90");
    EXPECT_EQ(line_.ReadLine(), "SS RF0145800000 ST001000 AU0 MD0 BW3 AT00 TT2M      ");

    EXPECT_EQ(line_.Exchange("VA"), "VA RF0101700000 ST100000 AU0 MD0 BW6 AT00");
    EXPECT_EQ(emulator_.State().operation, Ar5000Operation::Vfo);
    EXPECT_EQ(line_.Exchange("SS06"), "---");  // an empty search bank
}

TEST_F(AorAr5000, MemoryScanPassesSkippedChannelsAndStopsWhereTriggered) {
    emulator_.SetChannel(2, 0, {120'000'000, AorSettings{}, "QUIET", false, false});
    emulator_.SetChannel(2, 1, {433'920'000, AorSettings{}, "SKIPPED", true, false});
    emulator_.SetChannel(2, 2, {145'500'000, AorSettings{}, "2M", false, false});
    EXPECT_FALSE(emulator_.TriggerScanStop(0x40));
    ExpectAnswers({{"LC1", ""}, {"GM2", ""}, {"SM", "?"}});
    EXPECT_EQ(line_.Exchange("MS"), "MS MX200 RF0120000000 ST012500 MD0 BW3 AT00 TMQUIET   ");
    EXPECT_EQ(line_.ReadLine(), "LC7F");
    EXPECT_EQ(line_.ReadLine(), "MS MX202 RF0145500000 ST012500 MD0 BW3 AT00 TM2M      ");
    // Round again past the last channel.
    EXPECT_TRUE(emulator_.TriggerScanStop(0x40));
    EXPECT_EQ(line_.ReadLine(), "LC40");
    EXPECT_EQ(line_.ReadLine(), "MS MX200 RF0120000000 ST012500 MD0 BW3 AT00 TMQUIET   ");
}

TEST_F(AorAr5000, BankLinksAreClearedByPercentSignsAndAddedTo) {
    ExpectAnswers({
        {"BM%%", ""},
        {"BM0 3 ", ""},
        {"BM", "BM 0 3 "},
        {"BM7", ""},
        {"BM", "BM 0 3 7 "},
        {"BM%%", ""},
        {"BM", "BM "},
        {"BS%%", ""},
        {"BS00 05 ", ""},
        {"BS20 ", "?"},
        {"BS5", "?"},
        {"BS", "BS 00 05 "},
    });
}

TEST_F(AorAr5000, ExtraFunctionsAreAcknowledgedAndReadBack) {
    ExpectAnswers({{"AN3", ""},
                   {"CW2", ""},
                   {"AI2", ""},
                   {"EN3", ""},
                   {"LP1", ""},
                   {"HP2", ""},
                   {"BN1", ""},
                   {"MT1", ""},
                   {"AN5", "?"},
                   {"CW8", "?"}});
    ExpectAnswers({{"AN", "AN3"},
                   {"CW", "CW2"},
                   {"AI", "AI2"},
                   {"EN", "EN3"},
                   {"LP", "LP1"},
                   {"HP", "HP2"},
                   {"BN", "BN1"},
                   {"MT", "MT1"},
                   {"VR", "VER 01.10.00"}});
    // A text that already ends in CR LF gets another: the empty line is not answered.
    emulator_.ClearReceivedLines();
    line_.Send("AN1\r\n\r\n");
    EXPECT_EQ(line_.ReadLine(), "");
    EXPECT_EQ(line_.Exchange("AN"), "AN1");
    EXPECT_EQ(emulator_.ReceivedLines(), (std::vector<std::string>{"AN1", "", "AN"}));
}

TEST_F(AorAr5000, AnswersAQuestionMarkToWhatItDoesNotKnow) {
    for (const char* unknown : {"ZZ", "rf145500000", "1234", "?", "M", "VAX", "RX1", "TMLABEL"})
        EXPECT_EQ(line_.Exchange(unknown), "?") << unknown;
    line_.Send(std::string(AorLineEngine::kLongestLine + 1, 'A') + "\r");
    EXPECT_EQ(line_.ReadLine(), "?");
}

TEST_F(AorAr5000, SilentSetHearsButAnswersNothing) {
    emulator_.SetSilent(true);
    line_.Send("LM\r\n");
    ASSERT_TRUE(emulator_.WaitForLines(1, 5s));
    emulator_.SetSilent(false);
    EXPECT_EQ(line_.Exchange("MD"), "MD0");  // nothing of the level was left behind
}

// A set unplugged part-way through: the lines it was to answer get their answers, the next
// ones nothing (empty lines are no command and count for nothing), until it is woken.
TEST_F(AorAr5000, FallsSilentAfterTheLinesItIsToldToAnswer) {
    emulator_.SetSilentAfter(2);
    EXPECT_EQ(line_.Exchange("MD"), "MD0");
    line_.Send("\r\n");
    EXPECT_EQ(line_.Exchange("AT"), "AT00");
    line_.Send("LM\r\nRX\r\n");
    ASSERT_TRUE(emulator_.WaitForLines(5, 5s));
    emulator_.SetSilent(false);
    EXPECT_EQ(line_.Exchange("MD"), "MD0");  // nothing of the level or the state came
    EXPECT_EQ(line_.Exchange("MD"), "MD0");  // and it stays awake
    // Silent for a while, as one plugged in again: awake for the first line after it.
    emulator_.SetSilentAfter(0, 2s);
    for (const size_t heard : {8, 9}) {
        line_.Send("LM\r\n");
        ASSERT_TRUE(emulator_.WaitForLines(heard, 5s));
        clock_.Advance(heard == 8 ? 1999ms : 1ms);
    }
    EXPECT_EQ(line_.Exchange("MD"), "MD0");
}

// A line that garbles the answers to the commands named: noise of the answer's length, never
// a line's end, "?" or "---"; the first so many, or every one.
TEST_F(AorAr5000, GarblesTheAnswersToTheCommandsNamed) {
    emulator_.SetGarbled({"MD"}, 1);
    const std::string noise = line_.Exchange("MD");
    EXPECT_EQ(noise.size(), 4u);
    EXPECT_EQ(noise.find_first_of("\r\n?-"), std::string::npos);
    EXPECT_NE(noise, "MD0");
    EXPECT_EQ(line_.Exchange("AT"), "AT00");
    EXPECT_EQ(line_.Exchange("MD"), "MD0");
}

TEST_F(AorAr5000, GarbageComesBeforeEveryReplyLine) {
    emulator_.SetGarbage("\x13\xFF");
    line_.Send("MD1\r\nMD\r\n");
    EXPECT_EQ(line_.Read(11),
              "\x13\xFF\r\n\x13\xFF"
              "MD1\r\n");
}

TEST_F(AorAr5000, SplitLinesHoldTheirLfUntilReleasedAndEverythingBehindIt) {
    emulator_.SetSplitLines(true);
    line_.Send("MD2\r\n");
    EXPECT_EQ(line_.Read(1), "\r");
    line_.Send("MD\r\n");
    ASSERT_TRUE(emulator_.WaitForLines(2, 5s));
    EXPECT_TRUE(line_.NothingWaiting());
    emulator_.ReleaseSplitLines();
    EXPECT_EQ(line_.Read(6), "\nMD2\r\n");
    // With a delay the LF follows by itself, that much later.
    emulator_.SetSplitLines(true, 1ms);
    line_.SendLine("BW");
    EXPECT_EQ(line_.ReadLine(), "BW6\r<silence>");
    clock_.Advance(1ms);
    EXPECT_EQ(line_.Read(1), "\n");
}

TEST_F(AorAr5000, RefusesConfiguredCommandsWithAQuestionMarkAndChangesNothing) {
    emulator_.SetRefused({"DS"});
    ExpectAnswers({{"DS1", "?"}, {"LC1", ""}});
    emulator_.SetRefuseAll(true);
    EXPECT_EQ(line_.Exchange("RX"), "?");
    emulator_.SetRefuseAll(false);
    emulator_.SetRefused({});
    EXPECT_EQ(line_.Exchange("DS"), "DS0");
}

TEST_F(AorAr5000, AtLineRateTheAnswerWaitsForTheLine) {
    emulator_.SetLineRate(true);
    // 33 ms a byte: "LM" CR LF and the answer "LM%08" CR LF, 11 bytes, take 366.7 ms.
    const Line slow(emulator_.SlavePath(), B300, LineSender::TurnsOf(emulator_));
    slow.Send("LM\r\n");
    EXPECT_TRUE(slow.NothingWaiting());  // heard now
    clock_.Advance(366ms);
    EXPECT_TRUE(slow.NothingWaiting());
    clock_.Advance(1ms);
    EXPECT_EQ(slow.ReadLine(), "LM%08");
}

// The program, as a script runs it ----------------------------------------------------------

Program Launch(const std::vector<std::string>& options) {
    return LaunchEmulator(ORVEL_AOR_EMULATOR, options);
}

TEST(AorEmulatorProgram, ServesTheModelOnItsLinkUntilTerminated) {
    char pattern[] = "/tmp/orvel_aor_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path link = std::filesystem::path(pattern) / "COM1";
    const Program program =
        Launch({"--model", "ar5000", "--link", link, "--signal", "145.5:127:12"});
    ASSERT_GT(program.pid, 0);
    EXPECT_EQ(std::filesystem::read_symlink(link), TerminalPath(program));
    {
        const Line line(link, B9600, LineSender::Program(program.pid));
        EXPECT_EQ(line.Exchange("RF145500000"), "");
        EXPECT_EQ(line.Exchange("LM"), "LM 7F");
    }
    ::kill(program.pid, SIGTERM);
    EXPECT_EQ(ExitCode(program), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    std::filesystem::remove_all(pattern);
}

TEST(AorEmulatorProgram, ServesEachModelOfTheFamilyByItsName) {
    struct Case {
        const char* model;
        const char* command;
        const char* answer;
    };
    for (const Case& one :
         {Case{"ar8200", "VR\r\n", "VR0100\r\n"}, Case{"ar8600", "VR\r\n", "VR0200\r\n"},
          Case{"ar8000", "VA\r\n", "VA MA RF0101700000 ST100000 AU0 MD0 AT0\r\n"},
          Case{"ar3000a", "D\r", "XZ10000Y010170000R\r\n>"}}) {
        const Program program = Launch({"--model", one.model});
        ASSERT_GT(program.pid, 0);
        {
            const Line line(TerminalPath(program), B9600, LineSender::Program(program.pid));
            line.SetSpeed(B9600, true);
            line.Send(one.command);
            EXPECT_EQ(line.Read(std::string_view(one.answer).size()), one.answer) << one.model;
        }
        ::kill(program.pid, SIGTERM);
        EXPECT_EQ(ExitCode(program), 0);
    }
}

// --terse: the AR8200 acknowledges a memory read with an empty line and says a bare "---" for an
// empty search bank; without it, it answers the channel and the bank with their own lines.
TEST(AorEmulatorProgram, AnswersTerselyWhenAskedTo) {
    for (const bool terse : {false, true}) {
        std::vector<std::string> options = {"--model", "ar8200"};
        if (terse) options.push_back("--terse");
        const Program program = Launch(options);
        ASSERT_GT(program.pid, 0);
        {
            const Line line(TerminalPath(program), B9600, LineSender::Program(program.pid));
            EXPECT_EQ(line.Exchange("MRA05"), terse ? "" : "MR MXA05 ---") << terse;
            EXPECT_EQ(line.Exchange("SRB"), terse ? "---" : "SRB ---") << terse;
        }
        ::kill(program.pid, SIGTERM);
        EXPECT_EQ(ExitCode(program), 0);
    }
}

// --silent-after: the set answers that many lines first.
TEST(AorEmulatorProgram, FallsSilentAfterTheLinesItIsToldToAnswer) {
    const Program program = Launch({"--model", "ar8200", "--silent-after", "2"});
    ASSERT_GT(program.pid, 0);
    {
        const Line line(TerminalPath(program), B9600, LineSender::Program(program.pid));
        EXPECT_EQ(line.Exchange("MRA05"), "MR MXA05 ---");
        EXPECT_EQ(line.Exchange("SRB"), "SRB ---");
    }
    ::kill(program.pid, SIGTERM);
    EXPECT_EQ(ExitCode(program), 0);
}

// --refuse: the lines of the commands named are answered "?", the others as ever.
TEST(AorEmulatorProgram, RefusesTheCommandsItIsToldTo) {
    const Program program = Launch({"--model", "ar8200", "--refuse", "MX,SE"});
    ASSERT_GT(program.pid, 0);
    {
        const Line line(TerminalPath(program), B9600, LineSender::Program(program.pid));
        EXPECT_EQ(line.Exchange("MXA00 RF0145500000 ST012500 MD1 AT0"), "?");
        EXPECT_EQ(line.Exchange("SEA SL0145000000 SU0146000000"), "?");
        EXPECT_EQ(line.Exchange("MRA00"), "MR MXA00 ---");
    }
    ::kill(program.pid, SIGTERM);
    EXPECT_EQ(ExitCode(program), 0);
}

TEST(AorEmulatorProgram, RefusesAnUnknownModelAndValuesOutsideItsRange) {
    for (const auto& options :
         std::vector<std::vector<std::string>>{{"--model", "ar9000"},
                                               {"--signal", "2600.1:100:10"},
                                               {"--model", "ar8000", "--signal", "1900.1:100:10"},
                                               {"--noise", "256"},
                                               {"--refuse", "MX,,SE"},
                                               {"--model", "ar8000", "--terse"},
                                               {"--silent-after", "two"},
                                               {"--silent-after", "-1"},
                                               {"--link"}})
        EXPECT_EQ(ExitCode(Launch(options)), 1) << options.front();
}

}  // namespace
