// The IC-PCR1000 panel without a set: reply lines found in the receive ring and what they
// complete (the test puts the set's bytes into the ring itself), the next level peak by the
// panel's own rule, and the state file.

#include "receivers/icom/pcr1000/pcr_link.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "receivers/comm.h"
#include "receivers/icom/pcr1000/pcr1000.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/receivers/receiver_files.h"
#include "tests/support/program_folder.h"

namespace {

struct LineCase {
    const char* name;
    std::string bytes;
    RingPiece::Kind kind;
    uint32_t begin, end;
};

TEST(PcrLine, TheReplyRunsFromItsLastStartLetterToItsLineEnd) {
    const std::string noise(70, 'x');
    const LineCase cases[] = {
        {"a reply", "G000\r\nI1", RingPiece::Kind::Whole, 0, 6},
        {"noise before it goes with it", "\x01z7G000\r\n", RingPiece::Kind::Whole, 3, 9},
        {"a broken line gives the reply after it", "G0I1FF\r\n", RingPiece::Kind::Whole, 2, 8},
        {"a lone LF ends a line too", "H100\nG000\r\n", RingPiece::Kind::Whole, 0, 5},
        {"the LF may come later", "G000\r", RingPiece::Kind::Whole, 0, 5},
        {"an empty line", "\r\nG000\r\n", RingPiece::Kind::Skip, 0, 2},
        {"a line without a start letter", "12ab\r\n", RingPiece::Kind::Skip, 0, 6},
        {"a reply not ended yet", "NE1700A0B", RingPiece::Kind::None, 0, 0},
        {"noise longer than any reply", noise, RingPiece::Kind::Skip, 0, 70},
        {"noise before a reply not ended yet", noise + "G00", RingPiece::Kind::Skip, 0, 70},
    };
    for (const LineCase& c : cases) {
        std::vector<uint8_t> ring(Comm::kRingSize);
        std::copy(c.bytes.begin(), c.bytes.end(), ring.begin());
        const RingPiece piece = pcr::FindLine(ring, 0, static_cast<uint32_t>(c.bytes.size()));
        EXPECT_EQ(piece.kind, c.kind) << c.name;
        if (piece.kind == RingPiece::Kind::None) continue;
        EXPECT_EQ(piece.begin, c.begin) << c.name;
        EXPECT_EQ(piece.end, c.end) << c.name;
    }
}

TEST(PcrLine, ALineAcrossTheRingsEndIsWhole) {
    std::vector<uint8_t> ring(Comm::kRingSize);
    const std::string reply = "I1C8\r\n";
    const uint32_t start = Comm::kRingSize - 3;
    for (uint32_t i = 0; i < reply.size(); ++i) ring[(start + i) % Comm::kRingSize] = reply[i];
    const RingPiece piece = pcr::FindLine(ring, start, 3);
    EXPECT_EQ(piece.kind, RingPiece::Kind::Whole);
    EXPECT_EQ(piece.begin, start);
    EXPECT_EQ(piece.end, 3u);
}

TEST(PcrLine, TheValueIsTwoUpperCaseHexDigitsOrZero) {
    EXPECT_EQ(pcr::HexPair("I1FF", 2), 255);
    EXPECT_EQ(pcr::HexPair("I107", 2), 7);
    EXPECT_EQ(pcr::HexPair("I1a0", 2), 0);
    EXPECT_EQ(pcr::HexPair("I1G0", 2), 0);
    EXPECT_EQ(pcr::HexPair("I1F", 2), 0);
    EXPECT_EQ(pcr::IdCode("K0"), pcr::IdCode("K0\0"));
    EXPECT_NE(pcr::IdCode("J47"), pcr::IdCode("J4"));
}

// The walk from 100 kHz beside 100 MHz (cell 10000) over the measured cells: the first
// maximum of the averaged levels whose swing exceeds the threshold, taken in the middle of its
// whole rise, and the walk ends 10 kHz beyond it.
TEST(PcrPeak, TheFirstMaximumOfTheAveragedLevelsInTheMiddleOfItsRise) {
    using Cells = std::vector<std::pair<int64_t, uint8_t>>;
    const Cells rising = {{10'005, 10}, {10'006, 20}, {10'007, 30}, {10'008, 40},
                          {10'009, 50}, {10'010, 60}, {10'011, 10}};
    const Cells small = {{10'005, 10}, {10'006, 15}, {10'007, 10}};
    const Cells twoPeaks = {{10'005, 10}, {10'006, 50},  {10'007, 10},
                            {10'010, 10}, {10'011, 200}, {10'012, 10}};
    const Cells gaps = {{10'005, 10}, {10'007, 40}, {10'009, 10}};
    const Cells below = {{9'989, 5}, {9'990, 60}, {9'991, 40}, {9'992, 20}, {9'993, 10}};
    const Cells spike = {{10'005, 10}, {10'006, 90}, {10'007, 10}};
    const Cells dip = {{10'001, 10}, {10'002, 12}, {10'003, 11},
                       {10'004, 20}, {10'005, 30}, {10'006, 10}};
    const int64_t f = 1'000'000;
    const struct {
        const char* name;
        const Cells& cells;
        int64_t frequency;
        bool right;
        int64_t halfSpan, threshold;
        int64_t peak;
    } cases[] = {
        {"a long rise", rising, f, true, 0, 5, 1'000'750},
        {"a swing at the threshold", small, f, true, 0, 5, -1},
        {"the first of two, the second beyond the span", twoPeaks, f, true, 0, 5, 1'000'550},
        {"unmeasured cells between do not end the rise", gaps, f, true, 0, 5, 1'000'600},
        {"to the left, mirrored", below, f, false, 0, 5, 999'150},
        {"a spike", spike, f, true, 0, 25, 1'000'550},
        {"a spike averaged with its neighbours", spike, f, true, 1, 25, -1},
        {"a rise after a hill too small starts where it began", dip, f, true, 0, 5, 1'000'400},
        {"a start at the upper limit", rising, IC1000::kUpperLimit - 100, true, 0, 5, -1},
        {"a start at the lower limit", rising, IC1000::kLowerLimit + 100, false, 0, 5, -1},
    };
    for (const auto& c : cases) {
        LevelScale scale;
        scale.Allocate(IC1000::kUpperLimit);
        for (const auto& [cell, level] : c.cells) scale.SetCell(cell, level);
        EXPECT_EQ(IC1000::FindPeak(scale, c.frequency, c.right, IC1000::kLowerLimit,
                                   IC1000::kUpperLimit, c.halfSpan, c.threshold),
                  c.peak)
            << c.name;
    }
}

// The panel on a port that is not open: the test puts the set's bytes into the ring.
class PcrOffline : public ::testing::Test {
  protected:
    void SetUp() override {
        comm.Discarding = false;
        state.Owner = &main;
        state.Port = &comm;
        state.ProgramDir = folder.Dir();
        state.PortIndex = 1;
        ASSERT_TRUE(panel.Create(&main, &state));
    }
    void TearDown() override { panel.Destroy(); }
    void Receive(const std::string& bytes) {
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    ProgramFolder folder;
    MainStandIn main;
    FDX state;
    Comm comm;
    IC1000 panel;
};

TEST_F(PcrOffline, RepliesCompleteOnlyTheExchangeAwaitingThemAndG001Fails) {
    ASSERT_TRUE(panel.Link.Send("K0", "G0", "K00145500000060400"));
    EXPECT_EQ(panel.Link.PendingId(), "K0");
    // Unasked replies are read and decoded, and complete nothing.
    Receive("H100\r\nI007\r\nI1C8\r\nNE170");
    EXPECT_FALSE(panel.Poll(false));
    EXPECT_TRUE(panel.Link.ReceiverOff);
    EXPECT_TRUE(panel.Link.SquelchOpen);
    EXPECT_EQ(panel.Link.LastLevel, 200);
    EXPECT_EQ(panel.Link.PendingId(), "K0");
    Receive("0102030405060708090A0B0C0D0E0F10\r\nG001\r\n");
    EXPECT_FALSE(panel.Poll(false));
    EXPECT_EQ(panel.Scope.Cells[127], 0x10u);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    EXPECT_FALSE(panel.ReplyComplete);

    ASSERT_TRUE(panel.Link.Send("I1", "I1", "I1?"));
    Receive("I1a0\r\n");
    EXPECT_TRUE(panel.Poll(false));
    EXPECT_EQ(panel.Link.LastLevel, 0);
    EXPECT_EQ(comm.ReadIndex, comm.WriteIndex);
}

TEST_F(PcrOffline, DroppingAnExchangeLeavesTheRingAsItIs) {
    ASSERT_TRUE(panel.Link.Send("I0", "I0", "I0?"));
    Receive("I00");
    panel.Cancel(false);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    EXPECT_EQ(comm.WriteIndex - comm.ReadIndex, 3u);
    // The rest of the line comes, and is read.
    Receive("7\r\n");
    EXPECT_EQ(panel.ReadReply(), 4u);
    EXPECT_EQ(panel.Link.ReplyLine, "I007");
}

TEST_F(PcrOffline, NoiseWithoutLineEndsNeverFillsTheRing) {
    for (int i = 0; i < 200; ++i) {
        Receive(std::string(100, '\x55'));
        panel.Poll(false);
    }
    EXPECT_LE(comm.WriteIndex - comm.ReadIndex, pcr::kLongestLine);
    Receive("G000\r\n");
    ASSERT_TRUE(panel.Link.Send("G0", "G0", "G0?"));
    EXPECT_TRUE(panel.Poll(false));
}

TEST_F(PcrOffline, TheStateFileKeepsTheSettingsBetweenHeadAndScale) {
    StampedAt7March2001 stamp;
    state.Frequency = 1'455'000;
    state.Step = 250;
    state.Modulation = 'C';
    panel.Settings.Bandwidth = 28;
    panel.ViewStep = 500;
    panel.ViewPosition = 1'400'000;
    panel.Settings.Attenuator = true;
    panel.Settings.NoiseBlanker = true;
    state.PcrScope = 1;
    panel.Settings.Squelch = 64;
    panel.Settings.IfShift = 128;
    ASSERT_TRUE(panel.Scope.SetStepItem(3));
    panel.Scope.SetStep(75);  // typed, not listed: the file keeps the item chosen last
    panel.Scope.CellWidth = 12;
    panel.Scale.SetCell(14'550, 200);
    ASSERT_TRUE(panel.WriteStateFile());
    EXPECT_EQ(ReadBytes(folder.File("IC1000.001")), ReceiverGolden("icom/pcr1000", "IC1000.001"));

    // Read back by a panel starting afresh.
    panel.Destroy();
    state.OptRecvSave = 1;
    IC1000 next;
    ASSERT_TRUE(next.Create(&main, &state));
    EXPECT_EQ(state.Frequency, 1'455'000u);
    EXPECT_EQ(next.TunedFrequency, 1'455'000u);
    EXPECT_EQ(state.Modulation, 'C');
    EXPECT_EQ(next.Settings, panel.Settings);
    EXPECT_EQ(next.width->Text(), "2.8");
    EXPECT_EQ(next.Scale.FillWindow, 56);
    EXPECT_EQ(next.ViewStep, 500u);
    EXPECT_EQ(state.Attenuator, 1);
    EXPECT_EQ(state.PcrScope, 1);
    EXPECT_TRUE(next.fast->IsChecked());
    EXPECT_EQ(next.Scope.StepItem(), 3);
    EXPECT_EQ(next.Scope.CellWidth, 12);
    EXPECT_EQ(next.porog->Position(), 8);
    EXPECT_EQ(next.Scale.Cell(14'550), 200);
    EXPECT_EQ(next.Scale.Cell(14'551), 0);
    next.Destroy();
}

// An edited file: a bandwidth between two filters is the nearer one, levels stay 0..255, a
// band-scope step or width the lists lack keeps the default.
TEST_F(PcrOffline, EditedValuesAreTakenAsTheSetHasThem) {
    const struct {
        const char* band;
        int32_t bandwidth;
    } cases[] = {{"1000", 500}, {"1500", 2300}, {"100", 60}, {"44", 28}, {"9999", 2300}};
    for (const auto& c : cases) {
        std::ofstream(folder.File("IC1000.001"), std::ios::binary)
            << Cp1251Lines({std::string("Полоса=") + c.band + " ", "Уровень_Звук=4000",
                            "Шаг_спектра=9", "Ширина_спектра=7"});
        ASSERT_TRUE(panel.ReadStateFile());
        EXPECT_EQ(panel.Settings.Bandwidth, c.bandwidth) << c.band;
        EXPECT_EQ(panel.Settings.Volume, 255u);
        EXPECT_EQ(panel.Scope.StepItem(), PcrBandScope::kDefaultStepItem);
        EXPECT_EQ(panel.Scope.CellWidth, PcrBandScope::kDefaultCellWidth);
    }
}

}  // namespace
