// The AR8200 and AR8600 emulator as the program's panel meets it: its tuning, banks named by
// letters, scan configurations and stop lines, and the band scope's DS lines.

#include "emulators/aor/ar8200_emulator.h"

#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "tests/emulators/program_line.h"

namespace {

using emulators::AorChannel;
using emulators::AorSettings;
using emulators::Ar8200;
using emulators::Ar8200Emulator;
using emulators::SignalPlan;

// Noise floor 8; 145.5 MHz at 200, 12 kHz wide; 433.92 MHz at 255.
SignalPlan TestPlan() {
    return SignalPlan{8, {{145'500'000, 200, 12'000}, {433'920'000, 255, 20'000}}};
}

class AorAr8200 : public EmulatorOnLine<Ar8200Emulator> {
  protected:
    explicit AorAr8200(Ar8200::Model model = Ar8200::Model::Ar8200)
        : EmulatorOnLine(TestPlan(), model) {}
};

TEST_F(AorAr8200, TunesInTenDigitsAndReadsTheLevelInThreeWithTheSquelchMarker) {
    ExpectAnswers({
        {"RF0145500000", ""},
        {"ST012500", ""},
        {"MD8", ""},
        {"MD9", "?"},
        {"AT1", ""},
        {"AT2", "?"},
        {"BW3", "?"},
        {"RX", "VA RF0145500000 ST012500 AU0 MD8 AT1"},
        {"LM", "LM 200"},
        {"RF433920000", ""},
        {"LM", "LM 255"},
        {"RF300000000", ""},
        {"LM", "LM%008"},
        {"RF2040000001", "?"},
        {"VF", "VF RF0433920000 ST025000 AU0 MD1 AT0"},
        {"VB", "VB RF0145500000 ST012500 AU0 MD1 AT0"},
        {"VC", "?"},
        {"MC1", ""},
        {"NL", "NL0"},
        {"AS2", ""},
        {"XD255", "?"},  // hold is FF
        {"XDFF", ""},
        {"DP60", ""},
        {"EX", ""},
        {"VR", "VR0100"},
    });
}

TEST_F(AorAr8200, KeepsTwentyBanksOfFiftyAndFortySearchBanksByLetter) {
    ExpectAnswers({
        {"MXa05 RF0145500000 ST012500 MD1 AT0 TM       LABEL", ""},
        {"MRa05", "MR MXa05 RF0145500000 ST012500 MD1 AT0 MP0 TM       LABEL"},
        {"GA1", ""},
        {"MP1", ""},
        {"RX", "MR MXa05 RF0145500000 ST012500 MD1 AT0 MP1 TM       LABEL"},
        {"MRa06", "MR MXa06 ---"},
        {"MRa50", "?"},
        {"MXK05 RF0145500000", "?"},  // K names a search bank only
        {"SEK SL0145000000 SU0146000000 ST012500 MD1 AT0", ""},
        {"SRK", "SRK SL0145000000 SU0146000000 ST012500 AU0 MD1 AT0 TT            "},
        {"SEa SL0150000000 SU0151000000 ST025000 MD2 AT1 TTLOW", ""},
        {"SRa", "SRa SL0150000000 SU0151000000 ST025000 AU0 MD2 AT1 TTLOW         "},
        {"SRu", "?"},
        {"MQ%%", ""},
        {"MRa05", "MR MXa05 ---"},
        // Standing on an empty channel, the set tells its state with "---" alone.
        {"RX", "---"},
    });
    EXPECT_EQ(emulator_.SearchBank(10).lowerHz, 145'000'000u);
    EXPECT_EQ(emulator_.SearchBank(20).label, "LOW         ");
}

// The terser answers a set may give: "MR" with a place only acknowledged (RX tells the
// channel, and the set stands there), an empty search bank a bare "---".
TEST_F(AorAr8200, MayAcknowledgeMemoryReadsAndSayBareDashesForEmptySearchBanks) {
    emulator_.SetMemoryReadAcknowledged(true);
    emulator_.SetBareEmptySearchBanks(true);
    ExpectAnswers({
        {"MXa05 RF0145500000 ST012500 MD1 AT0 TM       LABEL", ""},
        {"MRa06", ""},
        {"RX", "---"},
        {"MRa05", ""},
        {"RX", "MR MXa05 RF0145500000 ST012500 MD1 AT0 MP0 TM       LABEL"},
        {"MR", "MR MXa05 RF0145500000 ST012500 MD1 AT0 MP0 TM       LABEL"},
        {"MRa50", "?"},
        {"SRK", "---"},
        {"SEK SL0145000000 SU0146000000 ST012500 MD1 AT0", ""},
        {"SRK", "SRK SL0145000000 SU0146000000 ST012500 AU0 MD1 AT0 TT            "},
    });
}

TEST_F(AorAr8200, ScanConfigurationsKeepTheirLinksAndStopsAreReportedOnOneLine) {
    emulator_.SetChannel(3, 0,
                         {120'000'000, AorSettings{12'500, '1', '3', '0'}, "QUIET", false, false});
    emulator_.SetChannel(3, 1,
                         {433'920'000, AorSettings{12'500, '1', '3', '0'}, "TLM", false, false});
    ExpectAnswers({
        {"GM", "GM0 BM --------------------"},
        {"BM%%", ""},
        {"BMAd", ""},
        {"GM", "GM0 BM A------------d------"},
        {"GM3", ""},
        {"GM", "GM3 BM --------------------"},
        {"GS", "GS0 BS ----------------------------------------"},
        {"XMF", ""},
        {"LC1", ""},
        {"MSK", "?"},  // memory banks are A..J, a..j
        {"MSD", "MS MXD00 RF0120000000 ST012500 MD1 AT0 MP0 TMQUIET       "},
    });
    // 255 is reported as 111 + 155.
    EXPECT_EQ(line_.ReadLine(), "LC 266 RF0433920000");
    ExpectAnswers({{"VA", "VA RF0101700000 ST100000 AU0 MD0 AT0"},
                   {"LC0", ""},
                   {"VV0", "VS VA RF0101700000 ST100000 AU0 MD0 AT0"},
                   {"VV1", "?"}});
}

TEST_F(AorAr8200, TheBandScopeSendsItsSweepInFourDsLinesRoundTheTunedFrequency) {
    EXPECT_EQ(line_.Exchange("DS"), "?");
    ExpectAnswers({{"RF145500000", ""}, {"AM", ""}, {"SW7", ""}, {"SW", "SW7"}, {"SW8", "?"}});
    EXPECT_EQ(line_.Exchange("RX"), "AM RF0145500000 ST100000 AU0 MD0 AT0");
    line_.SendLine("DS");
    // 100 kHz over 128 points: the carrier's 12 kHz lie round point 63, the rest is noise.
    EXPECT_EQ(line_.ReadLine(), "DS0127 2222222222222222 2222222222222222");
    EXPECT_EQ(line_.ReadLine(), "DS0095 2222222222222222 22222222235689BD");
    EXPECT_EQ(line_.ReadLine(), "DS0063 EDB9865322222222 2222222222222222");
    EXPECT_EQ(line_.ReadLine(), "DS0031 2222222222222222 2222222222222222");
    EXPECT_EQ(line_.Exchange("VA"), "VA RF0145500000 ST100000 AU0 MD0 AT0");
    EXPECT_EQ(line_.Exchange("DS"), "?");
}

class AorAr8600 : public AorAr8200 {
  protected:
    AorAr8600() : AorAr8200(Ar8200::Model::Ar8600) {}
};

TEST_F(AorAr8600, IsTheAr8200WithItsOwnVersion) {
    ExpectAnswers({{"VR", "VR0200"}, {"MXj49 RF2040000000", ""}, {"RF", "RF2040000000"}});
}

}  // namespace
