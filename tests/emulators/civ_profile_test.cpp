// The other models of the CI-V family, and orvel-civ-emulator choosing among them.

#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "emulators/civ/civ_emulator.h"
#include "tests/emulators/civ_line.h"
#include "tests/emulators/emulator_program.h"

namespace {

using emulators::CivEmulator;
using namespace civ_line;

TEST(IcR10, AnswersAt52WithTheTuningCommandsOnly) {
    CivEmulator emulator(emulators::kIcR10,
                         emulators::SignalPlan{10, {{145'000'000, 200, 20'000}}});
    emulator.SetEcho(false);
    const LineSender turns = InTurns(emulator);
    emulator.Start();
    const Line line(emulator.SlavePath(), B9600, turns);
    ExpectAnswers(line, {
                            {"FE FE 52 E0 05 00 00 00 45 01 FD", "FE FE E0 52 FB FD"},
                            {"FE FE 52 E0 03 FD", "FE FE E0 52 03 00 00 00 45 01 FD"},
                            {"FE FE 52 E0 06 05 01 FD", "FE FE E0 52 FB FD"},
                            {"FE FE 52 E0 04 FD", "FE FE E0 52 04 05 01 FD"},
                            {"FE FE 52 E0 15 02 FD", "FE FE E0 52 15 02 02 00 FD"},
                            // No squelch query, and none of the IC-R8500's other commands.
                            {"FE FE 52 E0 15 01 FD", "FE FE E0 52 FA FD"},
                            {"FE FE 00 E0 19 00 FD", "FE FE E0 52 FA FD"},
                            {"FE FE 52 E0 11 10 FD", "FE FE E0 52 FA FD"},
                            {"FE FE 52 E0 08 A0 01 FD", "FE FE E0 52 FA FD"},
                            {"FE FE 52 E0 06 05 02 FD", "FE FE E0 52 FA FD"},
                            // 0.5 .. 1300 MHz.
                            {"FE FE 52 E0 05 90 99 49 00 00 FD", "FE FE E0 52 FA FD"},
                            {"FE FE 52 E0 05 00 10 00 00 13 FD", "FE FE E0 52 FA FD"},
                        });
    // The IC-R8500's address is not its own: the next answer is the query's after it.
    line.Send("FE FE 4A E0 03 FD FE FE 52 E0 04 FD");
    EXPECT_TRUE(Receives(line, "FE FE E0 52 04 05 01 FD"));

    // Tuned at the set, it tells everyone.
    EXPECT_TRUE(emulator.TuneByHand(433'920'000));
    EXPECT_TRUE(Receives(line, "FE FE 00 52 00 00 00 92 33 04 FD"));
    EXPECT_FALSE(emulator.TuneByHand(1'300'000'010));
}

TEST(IcR9000, CoversTheWiderRangeAtTheIcR10sAddressOrTheOneSet) {
    CivEmulator emulator(emulators::kIcR9000);
    emulator.SetEcho(false);
    const LineSender turns = InTurns(emulator);
    emulator.Start();
    const Line line(emulator.SlavePath(), B9600, turns);
    ExpectAnswers(line, {
                            {"FE FE 52 E0 05 00 00 10 00 00 FD", "FE FE E0 52 FB FD"},
                            {"FE FE 52 E0 05 00 00 80 99 19 FD", "FE FE E0 52 FB FD"},  // 1999.8
                            {"FE FE 52 E0 05 00 00 90 99 19 FD", "FE FE E0 52 FA FD"},
                            {"FE FE 52 E0 15 01 FD", "FE FE E0 52 FA FD"},
                        });
    emulator.SetAddress(0x53);
    ExpectAnswers(line, {{"FE FE 53 E0 03 FD", "FE FE E0 53 03 00 00 80 99 19 FD"}});
}

TEST(CivEmulatorProgram, ServesTheChosenModelAtTheChosenAddress) {
    char pattern[] = "/tmp/orvel_civ_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path link = std::filesystem::path(pattern) / "COM1";
    const Program program = LaunchEmulator(
        ORVEL_CIV_EMULATOR,
        {"--model", "ic10", "--address", "53", "--no-echo", "--trace", "--link", link});
    ASSERT_GT(program.pid, 0);
    EXPECT_EQ(std::filesystem::read_symlink(link), TerminalPath(program));
    {
        const Line line(link, B9600, LineSender::Program(program.pid));
        ExpectAnswers(line, {{"FE FE 53 E0 03 FD", "FE FE E0 53 03 00 00 70 01 01 FD"},
                             {"FE FE 53 E0 15 01 FD", "FE FE E0 53 FA FD"}});
    }
    ::kill(program.pid, SIGTERM);
    EXPECT_EQ(ExitCode(program), 0);
    std::filesystem::remove_all(pattern);
}

// --silent: the set answers nothing, and the bus still echoes every frame; the echo of the
// second frame comes right after the first's, with no answer between them.
TEST(CivEmulatorProgram, ASilentSetOnlyEchoes) {
    const Program program = LaunchEmulator(ORVEL_CIV_EMULATOR, {"--silent"});
    ASSERT_GT(program.pid, 0);
    {
        const Line line(TerminalPath(program));
        line.Send("FE FE 4A E0 03 FD");
        EXPECT_TRUE(Receives(line, "FE FE 4A E0 03 FD"));
        line.Send("FE FE 4A E0 04 FD");
        EXPECT_TRUE(Receives(line, "FE FE 4A E0 04 FD"));
    }
    ::kill(program.pid, SIGTERM);
    EXPECT_EQ(ExitCode(program), 0);
}

TEST(CivEmulatorProgram, RefusesAnUnknownModelABadAddressAndSignalsOutOfRange) {
    for (const auto& options :
         std::vector<std::vector<std::string>>{{"--model", "ic7000"},
                                               {"--address", "E0"},
                                               {"--address", "5"},
                                               {"--address", "4G"},
                                               {"--model", "ic10", "--signal", "1500:100:10"}})
        EXPECT_EQ(ExitCode(LaunchEmulator(ORVEL_CIV_EMULATOR, options)), 1) << options[1];
}

}  // namespace
