// The IC-R8500's own scan (0E): started and stopped as the program does it, the stops it
// reports unasked, and what the auto-write scan leaves in the AUTO bank.

#include <gtest/gtest.h>

#include "emulators/civ/civ_emulator.h"
#include "tests/emulators/civ_line.h"

namespace {

using emulators::CivChannel;
using emulators::CivEmulator;
using emulators::CivScanKind;
using namespace civ_line;

constexpr char kOk[] = "FE FE E0 4A FB FD";
constexpr char kNg[] = "FE FE E0 4A FA FD";
constexpr int kAuto = 21;
constexpr int kSkip = 22;
constexpr int kEdges = 23;

// Stops the scan reports to everyone.
constexpr char kStopAt145[] = "FE FE 00 4A 00 00 00 00 45 01 FD";
constexpr char kStopAt1455[] = "FE FE 00 4A 00 00 00 50 45 01 FD";
constexpr char kStopAt146[] = "FE FE 00 4A 00 00 00 00 46 01 FD";

CivChannel At(uint64_t hz, uint8_t mode = emulators::kModeFm, uint8_t flag = 0) {
    CivChannel channel;
    channel.frequencyHz = hz;
    channel.mode = mode;
    channel.scanFlag = flag;
    return channel;
}

// Carriers at 145.0, 145.5 and 146.0 MHz over a noise floor of 10; the squelch at 100; scan
// edges 144.9 .. 146.1 MHz on the 10 kHz step.
class Ic8500Scan : public ::testing::Test {
  protected:
    Ic8500Scan()
        : emulator_(emulators::kIcR8500, emulators::SignalPlan{10,
                                                               {{145'000'000, 200, 20'000},
                                                                {145'500'000, 150, 12'000},
                                                                {146'000'000, 180, 12'000}}}),
          line_(emulator_.SlavePath(), B9600, LineSender::TurnsOf(emulator_)) {
        clock_.Drive(emulator_);
        emulator_.SetEcho(false);
        emulator_.SetChannel(kEdges, 0, At(144'900'000));
        emulator_.SetChannel(kEdges, 1, At(146'100'000));
        emulator_.Start();
        line_.Send("FE FE 4A E0 14 03 01 00 FD");
        EXPECT_TRUE(Receives(line_, kOk));
    }

    void Resume(const char* stop) {
        ASSERT_TRUE(emulator_.ResumeScan());
        EXPECT_TRUE(Receives(line_, stop));
    }

    TestClock clock_;
    CivEmulator emulator_;
    Line line_;
};

TEST_F(Ic8500Scan, TheProgramsStartSequenceIsAcknowledgedAndEachStopReported) {
    // Stop, VSC off, resume after a delay, range scan.
    line_.Send("FE FE 4A E0 0E 00 FD FE FE 4A E0 0E C0 FD FE FE 4A E0 0E D3 FD");
    line_.Send("FE FE 4A E0 0E 02 FD");
    EXPECT_TRUE(Receives(line_, std::string(kOk) + " " + kOk + " " + kOk + " " + kOk));
    EXPECT_TRUE(Receives(line_, kStopAt145));
    // The program asks for the level where it stopped.
    line_.Send("FE FE 4A E0 15 02 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 15 02 02 00 FD"));
    Resume(kStopAt1455);
    EXPECT_EQ(emulator_.TriggerScanStop(), 145'510'000u);
    EXPECT_TRUE(Receives(line_, "FE FE 00 4A 00 00 00 51 45 01 FD"));
    Resume(kStopAt146);
    Resume(kStopAt145);  // round again

    line_.Send("FE FE 4A E0 0E 00 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    EXPECT_EQ(emulator_.State().scan, CivScanKind::None);
    EXPECT_FALSE(emulator_.TriggerScanStop());
}

TEST_F(Ic8500Scan, AutoWriteFillsTheAutoBankOnceAndPassesOverTheSkipBank) {
    emulator_.SetChannel(kSkip, 0, At(145'500'000));
    line_.Send("FE FE 4A E0 0E 04 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    EXPECT_TRUE(Receives(line_, kStopAt145));
    Resume(kStopAt146);
    Resume(kStopAt145);
    const auto found = emulator_.BankChannels(kAuto);
    EXPECT_EQ(found[0].frequencyHz, 145'000'000u);
    EXPECT_EQ(found[1].frequencyHz, 146'000'000u);
    EXPECT_TRUE(found[2].Empty());
    // Read back as the program does.
    line_.Send("FE FE 4A E0 1A 01 21 00 01 FD");
    EXPECT_TRUE(Receives(line_,
                         "FE FE E0 4A 1A 01 21 00 01 00 00 00 46 01 05 01 07 05 00 00 00 "
                         "20 20 20 20 20 20 20 20 FD"));
}

TEST_F(Ic8500Scan, MemoryScansTakeTheCurrentBanksChannelsByTheirFlags) {
    emulator_.SetChannel(1, 0, At(145'000'000));
    emulator_.SetChannel(1, 1, At(145'500'000, emulators::kModeAm, emulators::kScanFlagSkip));
    emulator_.SetChannel(1, 2, At(146'000'000, emulators::kModeAm, emulators::kScanFlagSelect));
    emulator_.SetChannel(1, 4, At(144'000'000));  // nothing on the air
    line_.Send("FE FE 4A E0 08 A0 01 FD FE FE 4A E0 0E 22 FD");
    EXPECT_TRUE(Receives(line_, std::string(kOk) + " " + kOk + " " + kStopAt145));
    // A channel of another mode brings its mode along.
    Resume(kStopAt146);
    EXPECT_TRUE(Receives(line_, "FE FE 00 4A 01 02 01 FD"));
    EXPECT_EQ(emulator_.State().channel, 2);

    // Only the selected channel; resume off: the stop ends the scan.
    line_.Send("FE FE 4A E0 0E D0 FD FE FE 4A E0 0E 23 FD");
    EXPECT_TRUE(Receives(line_, std::string(kOk) + " " + kOk + " " + kStopAt146));
    line_.Send("FE FE 4A E0 03 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 03 00 00 00 46 01 FD"));
    EXPECT_EQ(emulator_.State().scan, CivScanKind::None);
}

TEST_F(Ic8500Scan, NothingToScanIsRefusedAndAnOpenSquelchNeverStops) {
    line_.Send("FE FE 4A E0 08 A0 07 FD FE FE 4A E0 0E 22 FD FE FE 4A E0 0E 99 FD");
    EXPECT_TRUE(Receives(line_, std::string(kOk) + " " + kNg + " " + kNg));
    emulator_.SetChannel(kEdges, 1, CivChannel{});
    line_.Send("FE FE 4A E0 0E 02 FD");
    EXPECT_TRUE(Receives(line_, kNg));

    // Open on the noise: the answer to the next query comes with no stop before it.
    emulator_.SetChannel(kEdges, 1, At(146'100'000));
    line_.Send("FE FE 4A E0 14 03 00 00 FD FE FE 4A E0 0E 02 FD FE FE 4A E0 03 FD");
    EXPECT_TRUE(
        Receives(line_, std::string(kOk) + " " + kOk + " FE FE E0 4A 03 00 00 90 44 01 FD"));
    EXPECT_FALSE(emulator_.State().scanStopped);
}

}  // namespace
