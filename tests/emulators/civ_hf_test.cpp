// The HF sets of the CI-V family, the IC-756PRO and the IC-R75: their tuning tables, their
// memory of 101 channels in each set's own layout, and the IC-756PRO's own scans.

#include <signal.h>

#include <gtest/gtest.h>

#include "emulators/civ/civ_emulator.h"
#include "tests/emulators/civ_line.h"
#include "tests/emulators/emulator_program.h"

namespace {

using emulators::CivChannel;
using emulators::CivEmulator;
using namespace civ_line;

constexpr char kProOk[] = "FE FE E0 5C FB FD";
constexpr char kProNg[] = "FE FE E0 5C FA FD";
constexpr char k75Ok[] = "FE FE E0 5A FB FD";
constexpr char k75Ng[] = "FE FE E0 5A FA FD";

// Carriers at 7.05 and 7.10 MHz over a noise floor of 10.
emulators::SignalPlan FortyMetres() {
    return {10, {{7'050'000, 200, 6'000}, {7'100'000, 150, 6'000}}};
}

class HfSet : public ::testing::Test {
  protected:
    explicit HfSet(const emulators::CivProfile& profile)
        : emulator_(profile, FortyMetres()),
          line_(emulator_.SlavePath(), B9600, LineSender::TurnsOf(emulator_)) {
        clock_.Drive(emulator_);
        emulator_.SetEcho(false);
        emulator_.Start();
    }

    TestClock clock_;
    CivEmulator emulator_;
    Line line_;
};

class Ic756Pro : public HfSet {
  protected:
    Ic756Pro() : HfSet(emulators::kIc756Pro) {}
};

class IcR75 : public HfSet {
  protected:
    IcR75() : HfSet(emulators::kIcR75) {}
};

TEST_F(Ic756Pro, TakesItsOwnModesStepsAttenuatorsAndSwitches) {
    ExpectAnswers(line_, {
                             // CW narrow; no WFM on this set.
                             {"FE FE 5C E0 06 07 03 FD", kProOk},
                             {"FE FE 5C E0 04 FD", "FE FE E0 5C 04 07 03 FD"},
                             {"FE FE 5C E0 06 06 01 FD", kProNg},
                             // 12.5 kHz is code 06; there is no code 09 nor a programmed step.
                             {"FE FE 5C E0 10 06 FD", kProOk},
                             {"FE FE 5C E0 10 09 FD", kProNg},
                             {"FE FE 5C E0 11 12 FD", kProOk},
                             {"FE FE 5C E0 11 06 FD", kProOk},
                             {"FE FE 5C E0 11 00 FD", kProOk},
                             {"FE FE 5C E0 11 20 FD", kProNg},
                             // AGC fast, mid, slow only.
                             {"FE FE 5C E0 16 12 03 FD", kProOk},
                             {"FE FE 5C E0 16 12 FD", "FE FE E0 5C 16 12 03 FD"},
                             {"FE FE 5C E0 16 12 00 FD", kProNg},
                             {"FE FE 5C E0 14 06 02 40 FD", kProOk},
                             {"FE FE 5C E0 14 07 FD", "FE FE E0 5C 14 07 01 28 FD"},
                             // Receiving, and never keyed from the line; no power switch.
                             {"FE FE 5C E0 1C 00 FD", "FE FE E0 5C 1C 00 00 FD"},
                             {"FE FE 5C E0 1C 00 01 FD", kProNg},
                             {"FE FE 5C E0 1C 01 FD", "FE FE E0 5C 1C 01 00 FD"},
                             {"FE FE 5C E0 18 00 FD", kProNg},
                             {"FE FE 00 E0 19 00 FD", "FE FE E0 5C 19 00 5C FD"},
                             // 30 kHz .. 60 MHz.
                             {"FE FE 5C E0 05 00 00 03 00 00 FD", kProOk},
                             {"FE FE 5C E0 05 00 00 00 60 00 FD", kProOk},
                             {"FE FE 5C E0 05 00 10 00 60 00 FD", kProNg},
                         });
}

// Channel 1, 14.2 MHz CW narrow, tones 88.5 Hz, named "ABC": the select byte follows the
// channel number, the tone flags follow the filter.
constexpr char kSelectedAbc[] =
    "01 00 00 20 14 00 07 03 00 00 08 85 00 08 85 41 42 43 20 20 20 20 20 20 20";

TEST_F(Ic756Pro, KeepsChannelsInItsOwnLayoutAndReadsThemWithTheNumberAlone) {
    ExpectAnswers(
        line_,
        {
            {(std::string("FE FE 5C E0 1A 00 00 01 ") + kSelectedAbc + " FD").c_str(), kProOk},
            {"FE FE 5C E0 1A 00 00 01 FD",
             (std::string("FE FE E0 5C 1A 00 00 01 ") + kSelectedAbc + " FD").c_str()},
            {"FE FE 5C E0 1A 00 01 01 FD", "FE FE E0 5C 1A 00 01 01 FF FD"},
            // Channels 0001..0101 only; no banks.
            {"FE FE 5C E0 1A 00 00 00 FD", kProNg},
            {"FE FE 5C E0 1A 00 01 02 FD", kProNg},
            {"FE FE 5C E0 08 A0 01 FD", kProNg},
        });
    EXPECT_TRUE(emulator_.Channel(0, 1).Selected());
    EXPECT_EQ(emulator_.Channel(0, 1).name, "ABC       ");

    // A select flag after the filter is the set's tone flag: tone on, channel not selected.
    line_.Send(
        "FE FE 5C E0 1A 00 00 02 00 00 00 20 14 00 07 03 01 00 08 85 00 08 85 "
        "41 42 43 20 20 20 20 20 20 20 FD");
    EXPECT_TRUE(Receives(line_, kProOk));
    EXPECT_FALSE(emulator_.Channel(0, 2).Selected());
    EXPECT_EQ(emulator_.Channel(0, 2).toneFlags, 1);

    ExpectAnswers(line_, {
                             {"FE FE 5C E0 1A 00 00 01 FF FD", kProOk},
                             {"FE FE 5C E0 1A 00 00 01 FD", "FE FE E0 5C 1A 00 00 01 FF FD"},
                             // Selecting channel 2 tunes to it.
                             {"FE FE 5C E0 08 00 02 FD", kProOk},
                             {"FE FE 5C E0 03 FD", "FE FE E0 5C 03 00 00 20 14 00 FD"},
                         });
}

CivChannel At(uint64_t hz, uint8_t flag = 0) {
    CivChannel channel;
    channel.frequencyHz = hz;
    channel.mode = emulators::kModeAm;
    channel.filter = 0x02;
    channel.stepCode = 5;  // 10 kHz
    channel.scanFlag = flag;
    return channel;
}

TEST_F(Ic756Pro, ScansItsMemoryBetweenItsEdgesAndRoundTheFrequency) {
    emulator_.SetChannel(0, 1, At(7'050'000, emulators::kScanFlagSelect));
    emulator_.SetChannel(0, 2, At(7'000'000));
    emulator_.SetChannel(0, 100, At(7'040'000));
    emulator_.SetChannel(0, 101, At(7'100'000));  // on a carrier, but an edge
    constexpr char kStopAt705[] = "FE FE 00 5C 00 00 00 05 07 00 FD";
    constexpr char kStopAt710[] = "FE FE 00 5C 00 00 00 10 07 00 FD";
    line_.Send("FE FE 5C E0 14 03 01 00 FD FE FE 5C E0 0E 00 FD FE FE 5C E0 0E 23 FD");
    EXPECT_TRUE(Receives(line_, std::string(kProOk) + " " + kProOk + " " + kProOk));
    EXPECT_TRUE(Receives(line_, kStopAt705));
    // The memory scan passes over the edges: round to the same channel.
    line_.Send("FE FE 5C E0 08 FD FE FE 5C E0 0E 22 FD");
    EXPECT_TRUE(Receives(line_, std::string(kProOk) + " " + kProOk + " " + kStopAt705));
    ASSERT_TRUE(emulator_.ResumeScan());
    EXPECT_TRUE(Receives(line_, kStopAt705));

    // 0E 01 in memory mode is the memory scan; tuned by frequency, the scan between the edges.
    line_.Send("FE FE 5C E0 05 00 00 00 07 00 FD FE FE 5C E0 0E 01 FD");
    EXPECT_TRUE(Receives(line_, std::string(kProOk) + " " + kProOk + " " + kStopAt705));
    ASSERT_TRUE(emulator_.ResumeScan());
    EXPECT_TRUE(Receives(line_, kStopAt710));

    // Delta F: 10 kHz either side of 7.09 MHz on the edges' 10 kHz step.
    line_.Send("FE FE 5C E0 05 00 00 09 07 00 FD FE FE 5C E0 0E 03 FD");
    EXPECT_TRUE(Receives(line_, std::string(kProOk) + " " + kProOk + " " + kStopAt710));
    line_.Send("FE FE 5C E0 0E 00 FD");
    EXPECT_TRUE(Receives(line_, kProOk));
    emulator_.SetChannel(0, 1, CivChannel{});
    line_.Send("FE FE 5C E0 0E 23 FD");
    EXPECT_TRUE(Receives(line_, kProNg));
}

TEST_F(IcR75, TakesItsStepsModesAttenuatorAndPowerSwitch) {
    ExpectAnswers(line_, {
                             {"FE FE 5A E0 10 03 FD", k75Ok},
                             {"FE FE 5A E0 10 11 FD", k75Ok},
                             {"FE FE 5A E0 10 12 FD", k75Ng},
                             // FM wide; WFM is not the set's.
                             {"FE FE 5A E0 06 05 01 FD", k75Ok},
                             {"FE FE 5A E0 06 06 01 FD", k75Ng},
                             {"FE FE 5A E0 11 20 FD", k75Ok},
                             {"FE FE 5A E0 11 10 FD", k75Ng},
                             {"FE FE 5A E0 16 12 00 FD", k75Ok},
                             {"FE FE 5A E0 16 02 02 FD", k75Ok},
                             {"FE FE 5A E0 08 FD", k75Ok},
                             {"FE FE 00 E0 19 00 FD", "FE FE E0 5A 19 00 5A FD"},
                             // Off, it answers nothing but the switch back on.
                             {"FE FE 5A E0 18 00 FD", k75Ok},
                             {"FE FE 5A E0 03 FD", k75Ng},
                             {"FE FE 5A E0 18 01 FD", k75Ok},
                             {"FE FE 5A E0 03 FD", "FE FE E0 5A 03 00 00 65 09 00 FD"},
                             {"FE FE 5A E0 1C 00 FD", k75Ng},
                         });
}

TEST_F(IcR75, KeepsTheNameInTheEightBytesAfterAttenuatorPreampAndAntenna) {
    // Channel 7, selected, 9.65 MHz FM wide, attenuator 20 dB, preamplifier and antenna 0.
    constexpr char kRecord[] = "01 00 00 65 09 00 05 01 20 00 00 41 42 43 44 45 46 47 48";
    line_.Send(std::string("FE FE 5A E0 1A 00 00 07 ") + kRecord + " FD");
    EXPECT_TRUE(Receives(line_, k75Ok));
    line_.Send("FE FE 5A E0 1A 00 00 07 FD");
    EXPECT_TRUE(Receives(line_, std::string("FE FE E0 5A 1A 00 00 07 ") + kRecord + " FD"));
    const CivChannel channel = emulator_.Channel(0, 7);
    EXPECT_EQ(channel.name, "ABCDEFGH");
    EXPECT_EQ(channel.attenuatorDb, 20);
    EXPECT_TRUE(channel.Selected());
    for (const char* refused : {
             "01 00 00 65 09 00 05 01 10 00 00 41 42 43 44 45 46 47 48",  // 10 dB
             "01 00 00 65 09 00 05 01 20 03 00 41 42 43 44 45 46 47 48",  // preamplifier 3
             "01 00 00 65 09 00 05 01 20 00 00 41 42 43 44 45 46 47",     // seven characters
         }) {
        line_.Send(std::string("FE FE 5A E0 1A 00 00 08 ") + refused + " FD");
        EXPECT_TRUE(Receives(line_, k75Ng)) << refused;
    }
}

TEST(HfSetProgram, PutsItsOwnCarriersOnTheShortWaves) {
    const Program program = LaunchEmulator(ORVEL_CIV_EMULATOR, {"--model", "ic75", "--no-echo"});
    ASSERT_GT(program.pid, 0);
    {
        const Line line(TerminalPath(program), B9600, LineSender::Program(program.pid));
        // The set starts on 9.65 MHz, where a broadcaster is at 190.
        ExpectAnswers(line, {{"FE FE 5A E0 15 02 FD", "FE FE E0 5A 15 02 01 90 FD"}});
    }
    ::kill(program.pid, SIGTERM);
    EXPECT_EQ(ExitCode(program), 0);
}

}  // namespace
