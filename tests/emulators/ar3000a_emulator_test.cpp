// The AR3000A emulator as the program's panel meets it: commands ended by CR, answers ended by
// the prompt, the level as a letter, channels in MHz text, and the line's two stop bits.

#include "emulators/aor/ar3000a_emulator.h"

#include <chrono>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "tests/emulators/program_line.h"

namespace {

using emulators::Ar3000aChannel;
using emulators::Ar3000aEmulator;
using emulators::SignalPlan;

class AorAr3000a : public EmulatorOnLine<Ar3000aEmulator> {
  protected:
    AorAr3000a() : EmulatorOnLine(SignalPlan{8, {{145'500'000, 200, 12'000}}}) {
        line_.SetSpeed(B4800, true);
    }

    // Each command (CR added) and its answer up to the prompt.
    void ExpectPrompted(
        std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
        for (const auto& [command, answer] : pairs) {
            line_.Send(std::string(command) + "\r");
            EXPECT_EQ(line_.ReadUntil('>'), answer) << command;
        }
    }
};

TEST_F(AorAr3000a, TunesInMegahertzTextAndAnswersEveryLineWithThePrompt) {
    ExpectPrompted({
        {"145.5000", ">"},
        {" 12.5S", ">"},
        {"n", ">"},
        {"R", ">"},
        {"D", "WZ01250Y014550000Q\r\n>"},
        {"Y", "M\r\n>"},  // 200 / 16
        {"T", ">"},
        {"w", ">"},
        {"D", "XZ01250Y014550000R\r\n>"},
        {"%D", "?\r\n>"},
        {"2036.0001", "?\r\n>"},
        {"0.0999", "?\r\n>"},
        {"1000.0S", "?\r\n>"},
        {"x", "?\r\n>"},
    });
    emulator_.SetSquelch(200);
    ExpectPrompted({{"Y", "%\r\n>"}, {"300.0", ">"}, {"Y", "%\r\n>"}});
    emulator_.SetSquelch(0);
    ExpectPrompted({{"Y", "A\r\n>"}});
    // LF ends nothing: "Y" LF "D" is one line.
    line_.Send("Y\nD\r");
    EXPECT_EQ(line_.ReadUntil('>'), "?\r\n>");
}

TEST_F(AorAr3000a, WritesAndReadsChannelsOfTheSelectedBank) {
    ExpectPrompted({
        {"2X", ">"},
        {"05M12.500ST145.5000F", ">"},
        {"06M25.000SR433.9200A", ">"},
        {"5Z", "#05JXZ01250Y014550000Q\r\n>"},
        {"06Z", "#06JWZ02500Y043392000S\r\n>"},
        {"7Z", "#07J---\r\n>"},
        {"100Z", "?\r\n>"},
        {"5X", "?\r\n>"},
        {"05M12.500SX145.5000F", "?\r\n>"},
        {"05M12.500ST145.5000n", "?\r\n>"},
        {"1X", ">"},
        {"5Z", "#05J---\r\n>"},
    });
    EXPECT_EQ(emulator_.Channel(1, 5), (Ar3000aChannel{145'500'000, 12'500, 'F', false}));
    EXPECT_TRUE(emulator_.Channel(1, 6).attenuator);
}

// The panel reads a channel's level right after the channel: the set stands on it by then.
TEST_F(AorAr3000a, RecallingAChannelTunesTheSetThereAndAnEmptyOneLeavesIt) {
    ExpectPrompted({
        {"05M12.500ST145.5000F", ">"},
        {"06M25.000SR433.9200A", ">"},
        {"5Z", "#05JXZ01250Y014550000Q\r\n>"},
        {"Y", "M\r\n>"},
        {"6Z", "#06JWZ02500Y043392000S\r\n>"},
        {"7Z", "#07J---\r\n>"},
        {"D", "WZ02500Y043392000S\r\n>"},
        {"Y", "A\r\n>"},
    });
}

TEST_F(AorAr3000a, HearsNothingOnALineOfOneStopBit) {
    line_.SetSpeed(B4800, false);
    line_.Send("D\r");
    ASSERT_TRUE(emulator_.WaitForGarbledBytes(2, std::chrono::seconds(5)));
    line_.SetSpeed(B4800, true);
    ExpectPrompted({{"D", "XZ10000Y010170000R\r\n>"}});
    EXPECT_EQ(emulator_.GarbledBytes(), 2u);
}

}  // namespace
