// The IC-R8500's memory over the wire: channels written and read back as the program writes
// them, the capacity, bank names, and tuning by channel.

#include <gtest/gtest.h>

#include "emulators/civ/civ_emulator.h"
#include "emulators/civ/ic8500_emulator.h"
#include "tests/emulators/civ_line.h"

namespace {

using emulators::CivEmulator;
using namespace civ_line;

constexpr char kOk[] = "FE FE E0 4A FB FD";
constexpr char kNg[] = "FE FE E0 4A FA FD";

// 145.0 MHz, FM narrow, 10 kHz step (code 07, programmed step bytes as the program sends them
// with a standard code), attenuator 10 dB; then the scan flag and the name "TOWER".
constexpr char kRecordHead[] = "00 00 00 45 01 05 02 07 00 05 10";
constexpr char kTower[] = "54 4F 57 45 52 20 20 20";

std::string Record(const char* flag) {
    return std::string(kRecordHead) + " " + flag + " " + kTower;
}

class Ic8500Memory : public ::testing::Test {
  protected:
    Ic8500Memory()
        : emulator_(emulators::kIcR8500, emulators::SignalPlan{10, {{145'000'000, 200, 20'000}}}),
          line_(emulator_.SlavePath(), B9600, LineSender::TurnsOf(emulator_)) {
        clock_.Drive(emulator_);
        emulator_.SetEcho(false);
        emulator_.Start();
    }

    TestClock clock_;
    CivEmulator emulator_;
    Line line_;
};

TEST_F(Ic8500Memory, AChannelReadsBackAsWrittenWithTheSetsMeaningOfTheScanFlag) {
    struct Flag {
        const char* byte;
        bool skipped;
        bool selected;
    };
    for (const Flag& flag : {Flag{"00", false, false}, Flag{"01", true, false},
                             Flag{"02", false, true}, Flag{"03", true, true}}) {
        line_.Send("FE FE 4A E0 1A 00 03 00 12 " + Record(flag.byte) + " FD");
        EXPECT_TRUE(Receives(line_, kOk)) << flag.byte;
        line_.Send("FE FE 4A E0 1A 01 03 00 12 FD");
        EXPECT_TRUE(Receives(line_, "FE FE E0 4A 1A 01 03 00 12 " + Record(flag.byte) + " FD"));
        const auto channel = emulator_.Channel(3, 12);
        EXPECT_EQ(channel.Skipped(), flag.skipped) << flag.byte;
        EXPECT_EQ(channel.Selected(), flag.selected) << flag.byte;
    }
    const auto channel = emulator_.Channel(3, 12);
    EXPECT_EQ(channel.frequencyHz, 145'000'000u);
    EXPECT_EQ(channel.filter, 0x02);
    EXPECT_EQ(channel.attenuatorDb, 10);
    EXPECT_EQ(channel.name, "TOWER   ");

    // A programmed step of 15 kHz travels with code 13; FF clears the channel.
    line_.Send("FE FE 4A E0 1A 00 03 00 13 00 00 00 45 01 02 02 13 50 01 00 00 " +
               std::string(kTower) + " FD");
    EXPECT_TRUE(Receives(line_, kOk));
    EXPECT_EQ(emulator_.Channel(3, 13).programmedStep, 150);
    line_.Send("FE FE 4A E0 1A 00 03 00 12 FF FD FE FE 4A E0 1A 01 03 00 12 FD");
    EXPECT_TRUE(Receives(line_, std::string(kOk) + " FE FE E0 4A 1A 01 03 00 12 FF FD"));
}

TEST_F(Ic8500Memory, ARecordTheSetCannotHoldIsRefusedAndChangesNothing) {
    for (const char* record : {
             "00 00 00 45 01 05 02 07 00 05 40 00",  // attenuator 40 dB
             "00 00 00 45 01 05 02 07 00 05 10 04",  // scan flag 04
             "00 00 00 45 01 05 03 07 00 05 10 00",  // FM has no third filter
             "00 00 00 45 01 04 01 07 00 05 10 00",  // RTTY
             "00 00 10 00 20 05 02 07 00 05 10 00",  // 2000.1 MHz
             "00 00 00 45 01 05 02 14 00 05 10 00",  // step code 14
         }) {
        line_.Send("FE FE 4A E0 1A 00 00 00 00 " + std::string(record) + " " + kTower + " FD");
        EXPECT_TRUE(Receives(line_, kNg)) << record;
    }
    line_.Send("FE FE 4A E0 1A 00 00 00 00 " + Record("00") + " 20 FD");  // a ninth character
    EXPECT_TRUE(Receives(line_, kNg));
    line_.Send("FE FE 4A E0 1A 00 00 00 00 " + std::string(kRecordHead) +
               " 00 54 4F 57 45 52 20 20 07 FD");  // not printable
    EXPECT_TRUE(Receives(line_, kNg));
    EXPECT_TRUE(emulator_.Channel(0, 0).Empty());
}

TEST_F(Ic8500Memory, ChannelsBeyondTheCapacityAndBanksBeyondTheLastAreRefused) {
    emulator_.SetMemoryCapacity(40);
    line_.Send("FE FE 4A E0 1A 01 21 00 39 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 1A 01 21 00 39 FF FD"));
    for (const char* refused : {
             "FE FE 4A E0 1A 01 21 00 40 FD",
             "FE FE 4A E0 1A 00 21 00 40 FF FD",
             "FE FE 4A E0 08 00 40 FD",
             "FE FE 4A E0 08 00 3A FD",  // not a decimal channel
             "FE FE 4A E0 08 A0 25 FD",
             "FE FE 4A E0 1A 03 25 FD",
         }) {
        line_.Send(refused);
        EXPECT_TRUE(Receives(line_, kNg)) << refused;
    }
    EXPECT_EQ(emulator_.BankChannels(21).size(), 40u);
    EXPECT_THROW(emulator_.Channel(21, 40), std::out_of_range);
}

TEST_F(Ic8500Memory, BankNamesAreFiveCharacters) {
    line_.Send("FE FE 4A E0 1A 03 06 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 1A 03 06 20 20 20 20 20 FD"));
    line_.Send("FE FE 4A E0 1A 02 06 41 49 52 20 20 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 1A 03 06 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 1A 03 06 41 49 52 20 20 FD"));
    line_.Send("FE FE 4A E0 1A 02 06 41 49 52 FD");  // short
    EXPECT_TRUE(Receives(line_, kNg));
    EXPECT_EQ(emulator_.BankName(6), "AIR  ");
}

TEST_F(Ic8500Memory, SelectingAChannelTunesToItForTheLevelQueries) {
    line_.Send("FE FE 4A E0 1A 00 02 00 01 " + Record("00") + " FD");
    EXPECT_TRUE(Receives(line_, kOk));
    line_.Send("FE FE 4A E0 08 A0 02 FD FE FE 4A E0 08 00 01 FD");
    EXPECT_TRUE(Receives(line_, std::string(kOk) + " " + kOk));
    line_.Send("FE FE 4A E0 15 01 FD FE FE 4A E0 15 02 FD");
    EXPECT_TRUE(Receives(line_, "FE FE E0 4A 15 01 01 FD FE FE E0 4A 15 02 02 00 FD"));
    auto state = emulator_.State();
    EXPECT_TRUE(state.memoryMode);
    EXPECT_EQ(state.bank, 2);
    EXPECT_EQ(state.frequencyHz, 145'000'000u);
    EXPECT_EQ(state.attenuatorDb, 10);
    // An empty channel leaves the set where it is.
    line_.Send("FE FE 4A E0 08 00 02 FD");
    EXPECT_TRUE(Receives(line_, kOk));
    state = emulator_.State();
    EXPECT_EQ(state.channel, 2);
    EXPECT_EQ(state.frequencyHz, 145'000'000u);
}

TEST(Ic8500WithoutMemory, RefusesBankChannelAndScanCommands) {
    emulators::Ic8500Emulator emulator;
    emulator.SetMemoryCapacity(0);
    emulator.SetEcho(false);
    const LineSender turns = InTurns(emulator);
    emulator.Start();
    const Line line(emulator.SlavePath(), B9600, turns);
    for (const char* refused : {"FE FE 4A E0 08 A0 05 FD", "FE FE 4A E0 1A 03 00 FD",
                                "FE FE 4A E0 1A 01 00 00 00 FD", "FE FE 4A E0 0E 02 FD"}) {
        line.Send(refused);
        EXPECT_TRUE(Receives(line, kNg)) << refused;
    }
    emulator.SetMemoryCapacity(100);
    line.Send("FE FE 4A E0 08 A0 05 FD");
    EXPECT_TRUE(Receives(line, kOk));
}

}  // namespace
