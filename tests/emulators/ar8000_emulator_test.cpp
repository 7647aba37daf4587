// The AR8000 emulator as the program's panel meets it: VFO tuning by VA/VB, its six-bit level
// with the squelch bit, banks lettered back from "t", links as a row, and its stop lines.

#include "emulators/aor/ar8000_emulator.h"

#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "tests/emulators/program_line.h"

namespace {

using emulators::AorSettings;
using emulators::Ar8000Emulator;
using emulators::SignalPlan;

class AorAr8000 : public EmulatorOnLine<Ar8000Emulator> {
  protected:
    AorAr8000()
        : EmulatorOnLine(SignalPlan{8, {{145'500'000, 200, 12'000}, {433'920'000, 255, 20'000}}}) {}
};

TEST_F(AorAr8000, TunesEachVfoByItsOwnCommandAndMarksItsLinesMa) {
    ExpectAnswers({
        {"VB145500000", ""},
        {"VB", "VB MA RF0145500000 ST012500 AU0 MD1 AT0"},
        {"RX", "VB MA RF0145500000 ST012500 AU0 MD1 AT0"},
        {"LM", "LM32"},  // 200 / 4
        {"VA433920000", ""},
        {"LM", "LM3F"},
        {"VA300000000", ""},
        {"LM", "LM42"},  // the noise, under the squelch
        {"VA1900000001", "?"},
        {"VC", "?"},
        {"MD5", ""},
        {"MD6", "?"},
        {"ST12500", ""},
        {"RX", "VA MA RF0300000000 ST012500 AU0 MD5 AT0"},
    });
}

TEST_F(AorAr8000, LettersItsBanksBackFromTAndReplacesItsLinks) {
    ExpectAnswers({
        {"MXh05 RF145500000 ST12500 MD1 AT0 TM  ABCDE", ""},
        {"MRh05", "MR MXh05 RF0145500000 ST012500 MD1 AT0 MP0 TM  ABCDE"},
        // An empty place is "---" alone, asked by its place or standing on it.
        {"MRh06", "---"},
        {"RX", "---"},
        {"MXk05 RF145500000", "?"},
        {"SEa SL145000000 SU146000000 ST12500 MD1 AT1 TT", ""},
        {"SRa", "SRa SL0145000000 SU0146000000 ST012500 AU0 MD1 AT1 TT       "},
        {"BMAj", ""},
        {"BM", "BMA---------j---------"},
        {"BMB", ""},
        {"BM", "BM-B------------------"},
        // Links are replaced, never cleared: the set has no line that clears them.
        {"BM%%", "?"},
        {"BS%%", "?"},
        {"BM", "BM-B------------------"},
        {"ML1", ""},
    });
    EXPECT_EQ(emulator_.Channel(12, 5).label, "  ABCDE");
    EXPECT_EQ(emulator_.SearchBank(19).upperHz, 146'000'000u);
}

// A set that leaves the VFO's name out of its VFO lines starts them at their mark.
TEST_F(AorAr8000, AnswersVfoLinesWithoutTheVfosNameWhenSoSwitched) {
    emulator_.SetVfoLinesNamed(false);
    ExpectAnswers({
        {"VB145500000", ""},
        {"RX", "MA RF0145500000 ST012500 AU0 MD1 AT0"},
        {"VA", "MA RF0101700000 ST100000 AU0 MD0 AT0"},
        {"SRa", "SRa ---"},
    });
    emulator_.SetVfoLinesNamed(true);
    EXPECT_EQ(line_.Exchange("RX"), "VA MA RF0101700000 ST100000 AU0 MD0 AT0");
}

TEST_F(AorAr8000, ReportsEveryStopOfItsScanWithTheFrequencyFirst) {
    emulator_.SetChannel(12, 5,
                         {145'500'000, AorSettings{12'500, '1', '3', '0'}, "2M", false, false});
    EXPECT_EQ(line_.Exchange("MSh MG"), "MS MXh05 RF0145500000 ST012500 MD1 AT0 MP0 TM2M     ");
    EXPECT_EQ(line_.ReadLine(), "RF0145500000 LC32");
    // The select scan of the channels marked by GA.
    ExpectAnswers({{"VA", "VA MA RF0101700000 ST100000 AU0 MD0 AT0"},
                   {"SM LC", "?"},
                   {"GAh05", ""},
                   {"GAh06", "?"}});
    EXPECT_EQ(line_.Exchange("SM LC"), "SM MXh05 RF0145500000 ST012500 MD1 AT0 MP0 TM2M     ");
    EXPECT_EQ(line_.ReadLine(), "RF0145500000 LC32");
}

}  // namespace
