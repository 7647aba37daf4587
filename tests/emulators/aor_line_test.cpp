// The AOR family's pieces without a terminal: the command-line reader, the scan walk, the
// line engine and the AR5000 itself, on a clock of the test's own.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "emulators/aor/aor_command.h"
#include "emulators/aor/aor_line_engine.h"
#include "emulators/aor/ar5000_emulator.h"
#include "emulators/common/scan_walk.h"

namespace {

using emulators::AorChannel;
using emulators::AorLineEngine;
using emulators::AorSearchBank;
using emulators::AorSettings;
using emulators::Ar5000;
using emulators::ScanPosition;
using emulators::ScanSegment;
using emulators::SignalPlan;
using namespace std::chrono_literals;
using Clock = AorLineEngine::Clock;

const Clock::time_point kStart = Clock::time_point{} + 1h;

TEST(AorCommand, SplitsFieldsAndKeepsLabelsAndLinkListsWhole) {
    constexpr std::string_view kRest[] = {"TM", "BS"};
    const auto fields = emulators::SplitFields(" MX005  RF145500000 TM RF AT", kRest);
    ASSERT_TRUE(fields);
    ASSERT_EQ(fields->size(), 3u);
    EXPECT_EQ((*fields)[0].token, "MX");
    EXPECT_EQ((*fields)[0].value, "005");
    EXPECT_EQ((*fields)[1].value, "145500000");
    EXPECT_EQ((*fields)[2].value, " RF AT");
    EXPECT_EQ(emulators::SplitFields("BS00 05 ", kRest)->front().value, "00 05 ");
    EXPECT_TRUE(emulators::SplitFields("   ", kRest)->empty());
    for (const char* bad : {"RF1 5", "R", "rf1", "MD0 %%"})
        EXPECT_FALSE(emulators::SplitFields(bad, kRest)) << bad;
}

TEST(AorCommand, ReadsHzAsDigitsOrWithADecimalPointInTheUnit) {
    using emulators::ParseHz;
    EXPECT_EQ(ParseHz("145500000", 10, 1'000'000), 145'500'000u);
    EXPECT_EQ(ParseHz("145.5", 10, 1'000'000), 145'500'000u);
    EXPECT_EQ(ParseHz(".5", 10, 1'000'000), 500'000u);
    EXPECT_EQ(ParseHz("2.", 10, 1'000'000), 2'000'000u);
    EXPECT_EQ(ParseHz("12.5", 6, 1'000), 12'500u);
    EXPECT_EQ(ParseHz("0.001", 6, 1'000), 1u);
    for (const char* bad : {"", ".", "1.2.3", "12345678901", "1.0000001", "1e6", "-5", "1 "})
        EXPECT_FALSE(ParseHz(bad, 10, 1'000'000)) << bad;
    EXPECT_EQ(emulators::PadLabel("ABC", 8), "ABC     ");
    EXPECT_EQ(emulators::PadLabel("LONGLABEL", 8), "LONGLABE");
}

// 100.000..100.100 MHz by 25 kHz, a channel at 200 MHz, 300.0..300.2 MHz by 50 kHz.
const std::vector<ScanSegment> kSegments = {
    {100'000'000, 100'100'000, 25'000, 0},
    {200'000'000, 200'000'000, 1, 1},
    {300'000'000, 300'200'000, 50'000, 2},
};

TEST(AorScan, WalksToTheNextOpenPointRoundTheSegments) {
    const SignalPlan plan{8,
                          {{100'050'000, 90, 0}, {200'000'000, 90, 0}, {300'100'000, 90, 30'000}}};
    using emulators::NextOpenPoint;
    EXPECT_EQ(NextOpenPoint(kSegments, plan, 32, std::nullopt), (ScanPosition{0, 2}));
    EXPECT_EQ(NextOpenPoint(kSegments, plan, 32, ScanPosition{0, 2}), (ScanPosition{1, 0}));
    EXPECT_EQ(NextOpenPoint(kSegments, plan, 32, ScanPosition{1, 0}), (ScanPosition{2, 2}));
    EXPECT_EQ(NextOpenPoint(kSegments, plan, 32, ScanPosition{2, 2}), (ScanPosition{0, 2}));
    // The only open point is found again from itself, after a whole round.
    const SignalPlan one{8, {{200'000'000, 90, 0}}};
    EXPECT_EQ(NextOpenPoint(kSegments, one, 32, ScanPosition{1, 0}), (ScanPosition{1, 0}));
    // Noise above the squelch opens every point; a carrier between the steps opens none.
    EXPECT_EQ(NextOpenPoint(kSegments, SignalPlan{40, {}}, 32, ScanPosition{0, 4}),
              (ScanPosition{1, 0}));
    EXPECT_FALSE(
        NextOpenPoint(kSegments, SignalPlan{8, {{100'010'000, 255, 0}}}, 32, std::nullopt));
    EXPECT_FALSE(NextOpenPoint(kSegments, plan, 90, std::nullopt));  // level 90 is not above 90
    EXPECT_EQ(emulators::NextPoint(kSegments, ScanPosition{2, 4}), (ScanPosition{0, 0}));
}

std::string TakeDue(AorLineEngine& engine, Clock::time_point now) {
    std::string taken;
    for (auto bytes = engine.Pending(now); !bytes.empty(); bytes = engine.Pending(now)) {
        taken += bytes;
        engine.Sent(bytes.size());
    }
    return taken;
}

SignalPlan TestPlan() {
    return SignalPlan{8, {{145'500'000, 0x7F, 12'000}, {145'700'000, 0x50, 0}}};
}

TEST(AorLineEngine, EndsLinesAtCrLfOrBothAndLogsEveryLine) {
    Ar5000 set(TestPlan());
    AorLineEngine engine(set);
    engine.Receive("MD1\rBW2\nAT1\r", kStart);
    engine.Receive("\nAU1\r\n\r\n", kStart);
    const auto& lines = engine.ReceivedLines();
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()),
              (std::vector<std::string>{"MD1", "BW2", "AT1", "AU1", ""}));
    // Each setting is acknowledged with an empty line; the empty line is not answered.
    EXPECT_EQ(TakeDue(engine, kStart), "\r\n\r\n\r\n\r\n");
}

TEST(AorLineEngine, AtLineRateTheProgramsBytesAndEachAnswerTakeTheLineInTurn) {
    Ar5000 set(TestPlan());
    AorLineEngine engine(set);
    engine.SetByteTime(1ms);
    // 4 bytes in, then "LM%08" CR LF: 7 bytes out.
    engine.Receive("LM\r\n", kStart);
    EXPECT_EQ(engine.NextDue(), kStart + 11ms);
    EXPECT_EQ(TakeDue(engine, kStart + 11ms - 1ns), "");
    EXPECT_EQ(TakeDue(engine, kStart + 11ms), "LM%08\r\n");
    // Two commands in one write (9 bytes), then one answer after the other (2 and 5 bytes).
    const auto later = kStart + 1s;
    engine.Receive("MD1\r\nBW\r\n", later);
    EXPECT_EQ(TakeDue(engine, later + 11ms), "\r\n");
    EXPECT_EQ(engine.NextDue(), later + 16ms);
    EXPECT_EQ(TakeDue(engine, later + 16ms), "BW6\r\n");
    // A split line's LF comes its delay after the CR, and what follows waits for it.
    engine.SetSplitLines(true, 3ms);
    engine.Receive("MD\r\nMD\r\n", later + 1s);  // 8 bytes in; "MD1" CR: 4 out
    EXPECT_EQ(TakeDue(engine, later + 1s + 12ms), "MD1\r");
    EXPECT_EQ(TakeDue(engine, later + 1s + 16ms - 1ns), "");
    EXPECT_EQ(TakeDue(engine, later + 1s + 16ms), "\n");
    EXPECT_EQ(TakeDue(engine, later + 1s + 20ms), "MD1\r");
    // Without a byte time the answer is due as it is asked.
    engine.SetSplitLines(false, std::nullopt);
    engine.SetByteTime({});
    engine.Receive("MD\r\n", later + 2s);
    EXPECT_EQ(TakeDue(engine, later + 2s), "\nMD1\r\n");
}

TEST(AorLineEngine, TracesEveryLineHeardAndEveryReplyInOrder) {
    Ar5000 set(TestPlan());
    AorLineEngine engine(set);
    std::vector<std::string> trace;
    engine.SetTrace([&](char direction, std::string_view line) {
        trace.push_back(std::string(1, direction) + std::string(line));
    });
    engine.Receive("RF145500000\r\nLM\r\n\r\nQQ\r", kStart);
    EXPECT_EQ(trace, (std::vector<std::string>{">RF145500000", "<", ">LM", "<LM 7F", ">", ">QQ",
                                               "<?"}));
}

TEST(AorLineEngine, ALineNobodyReadsStopsGrowing) {
    Ar5000 set(TestPlan());
    AorLineEngine engine(set);
    std::string many;
    for (int i = 0; i < 20'000; ++i) many += "LM\r";
    engine.Receive(many, kStart);
    const std::string out = TakeDue(engine, kStart);
    EXPECT_LE(out.size(), 65'536u);
    EXPECT_TRUE(out.ends_with("LM%08\r\n"));
}

// The AR5000 without a line -----------------------------------------------------------------

std::string Ask(Ar5000& set, std::string_view line, Clock::time_point now = kStart) {
    std::string answer;
    for (const std::string& reply : set.Answer(line, now)) answer += reply + "|";
    return answer;
}

std::string Reports(Ar5000& set, Clock::time_point now) {
    std::string reports;
    for (const std::string& line : set.Unsolicited(now)) reports += line + "|";
    return reports;
}

TEST(AorAr5000Offline, ReadsBackLevelsPausesAndDelaysInTheirOwnForms) {
    Ar5000 set(TestPlan());
    // Each setting, then what the token alone reads back ("" when the setting is refused).
    for (const auto& [command, answer] :
         std::initializer_list<std::pair<std::string, const char*>>{{"DB080", "DB+080|"},
                                                                    {"DB0", "DB 000|"},
                                                                    {"VL255", "VL 255|"},
                                                                    {"VL256", ""},
                                                                    {"SA7", "SA+007|"},
                                                                    {"SP60", "SP60|"},
                                                                    {"SP61", ""},
                                                                    {"XD99", "XD9.9|"},
                                                                    {"XD5", "XD0.5|"},
                                                                    {"DDFF", "DDFF|"},
                                                                    {"SPFF", ""},
                                                                    {"XM4", "XM4|"},
                                                                    {"XMF", "XMF|"},
                                                                    {"AC5", ""},
                                                                    {"ACF", "ACF|"}}) {
        const std::string taken = Ask(set, command);
        EXPECT_EQ(taken, *answer ? "|" : "?|") << command;
        if (*answer) {
            EXPECT_EQ(Ask(set, command.substr(0, 2)), answer) << command;
        }
    }
}

TEST(AorAr5000Offline, AnswersSeveralCommandsOfALineTogetherOrRefusesTheLine) {
    Ar5000 set(TestPlan());
    EXPECT_EQ(Ask(set, "RF145500000 MD1 BW2"), "|");
    EXPECT_EQ(Ask(set, "RF MD BW"), "RF0145500000 MD1 BW2|");
    EXPECT_EQ(Ask(set, "MD2 BW9"), "?|");
    EXPECT_EQ(Ask(set, "QP"), "");
    EXPECT_TRUE(set.State().standby);
    EXPECT_EQ(Ask(set, "RF"), "RF0145500000|");
    EXPECT_FALSE(set.State().standby);
}

TEST(AorAr5000Offline, ScanPauseAndDelayRunOnTheSetsClock) {
    Ar5000 set(TestPlan());
    set.SetSearchBank(0, {145'000'000, 146'000'000, AorSettings{100'000, '0', '3', '0'}, "SCAN"});
    Ask(set, "LC1");
    Ask(set, "SP02");
    Ask(set, "SS00");
    EXPECT_EQ(Reports(set, kStart), "LC7F|SS RF0145500000 ST100000 AU0 MD0 BW3 AT00 TTSCAN    |");
    // Two seconds on the carrier, then on to the next.
    EXPECT_EQ(set.NextUnsolicited(), kStart + 2s);
    EXPECT_EQ(Reports(set, kStart + 2s - 1ns), "");
    EXPECT_EQ(Reports(set, kStart + 2s),
              "LC50|SS RF0145700000 ST100000 AU0 MD0 BW3 AT00 TTSCAN    |");
    // Without a pause it stays while the carrier lasts, and goes on the delay after it went.
    Ask(set, "SP00");
    Ask(set, "SD05");
    EXPECT_EQ(Reports(set, kStart + 4s),
              "LC7F|SS RF0145500000 ST100000 AU0 MD0 BW3 AT00 TTSCAN    |");
    EXPECT_EQ(set.NextUnsolicited(), Clock::time_point::max());
    set.SetSignalPlan(SignalPlan{8, {{145'700'000, 0x50, 0}}});
    EXPECT_EQ(Reports(set, kStart + 5s), "");
    EXPECT_EQ(set.NextUnsolicited(), kStart + 5s + 500ms);
    EXPECT_EQ(Reports(set, kStart + 5s + 500ms),
              "LC50|SS RF0145700000 ST100000 AU0 MD0 BW3 AT00 TTSCAN    |");
    // FF holds it where it stopped.
    Ask(set, "SDFF");
    set.SetSignalPlan(SignalPlan{8, {}});
    EXPECT_EQ(Reports(set, kStart + 6s), "");
    EXPECT_EQ(set.NextUnsolicited(), Clock::time_point::max());
    EXPECT_TRUE(set.State().scanStopped);
}

TEST(AorAr5000Offline, LinksAndFiltersChooseWhatTheScansVisit) {
    Ar5000 set(SignalPlan{8, {{145'500'000, 0x7F, 0}, {433'920'000, 0xFF, 0}}});
    set.SetSearchBank(3, {150'000'000, 151'000'000, AorSettings{}, "QUIET"});
    set.SetSearchBank(7, {145'000'000, 146'000'000, AorSettings{}, "LINKED"});
    Ask(set, "LC1");
    Ask(set, "BS07");
    Ask(set, "SS03");
    EXPECT_EQ(Reports(set, kStart), "");  // linking is off
    Ask(set, "BQ1");
    Ask(set, "SS03");
    EXPECT_EQ(Reports(set, kStart), "LC7F|SS RF0145500000 ST012500 AU0 MD0 BW3 AT00 TTLINKED  |");

    set.SetChannel(0, 0, {145'500'000, AorSettings{12'500, '1', '3', '0'}, "AM", false, true});
    set.SetChannel(0, 1, {433'920'000, AorSettings{}, "FM", false, true});
    set.SetChannel(0, 2, {145'500'000, AorSettings{}, "NOTSEL", false, false});
    Ask(set, "XM0");
    EXPECT_EQ(Ask(set, "SM"), "SM MX001 RF0433920000 ST012500 MD0 BW3 AT00 TMFM      |");
    EXPECT_EQ(Reports(set, kStart), "LCFF|SM MX001 RF0433920000 ST012500 MD0 BW3 AT00 TMFM      |");
    Ask(set, "XMF");
    Ask(set, "SM");
    EXPECT_EQ(Reports(set, kStart), "LC7F|SM MX000 RF0145500000 ST012500 MD1 BW3 AT00 TMAM      |");
    Ask(set, "LC0");
    EXPECT_TRUE(set.TriggerScanStop(0x20, kStart));
    EXPECT_EQ(Reports(set, kStart), "");  // stops without reports
    EXPECT_EQ(set.State().memoryChannel, 1);
}

}  // namespace
