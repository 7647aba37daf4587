// The IC-PCR1000 panel against the emulated set: the tuning line, refusals, one exchange at a
// time, the level read, the scans' share, the band scope and the fine scale's peak jumps.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/receivers/icom/pcr1000/pcr1000_fixture.h"

namespace {

using emulators::SignalPlan;
using Lines = std::vector<std::string>;

TEST_F(Pcr1000OnAir, TheTuningLineCarriesHzModeAndTheFilterOfTheModesBandwidth) {
    AsConnected();
    const struct {
        char mode;
        const char* line;
        const char* width;
    } cases[] = {
        {'W', "K00145500000060400", "230.0"}, {'C', "K00145500000030000", "2.8"},
        {'R', "K00145500000060100", "6.0"},   {'F', "K00145500000050200", "15.0"},
        {'A', "K00145500000020200", "15.0"},  {'U', "K00145500000010100", "6.0"},
        {'L', "K00145500000000100", "6.0"},
    };
    state.Frequency = 1'455'000;
    for (const auto& c : cases) {
        state.Modulation = c.mode;
        EXPECT_TRUE(panel.SetMode()) << c.mode;
        EXPECT_EQ(LastLine(), c.line);
        EXPECT_EQ(panel.width->Text(), c.width);
        EXPECT_EQ(panel.BandwidthValue(), 2 * panel.ModeParameter(c.mode));
    }
    EXPECT_EQ(emulator.State().frequencyHz, 145'500'000u);
}

TEST_F(Pcr1000OnAir, G001FailsTheSetAtOnceAndASecondSendWaitsForTheFirst) {
    AsConnected();
    emulator.SetFault(true);
    state.Frequency = 1'455'000;
    const int64_t start = ui::Clock::NowMs();
    EXPECT_FALSE(panel.SetFrequencyWait());
    EXPECT_FALSE(panel.ReplyComplete);
    EXPECT_LT(ui::Clock::NowMs() - start, 1000);
    EXPECT_EQ(panel.TuneAndRead(), -1);

    emulator.SetFault(false);
    emulator.SetDead(true);
    emulator.ClearReceivedLines();
    ASSERT_TRUE(panel.SetFrequency());
    EXPECT_EQ(panel.Link.PendingId(), "K0");
    const int64_t sent = ui::Clock::NowMs();
    EXPECT_FALSE(panel.SetAttenuator());
    EXPECT_GE(ui::Clock::NowMs() - sent, 1000);
    ASSERT_TRUE(emulator.WaitForLines(2, std::chrono::seconds(5)));
    EXPECT_EQ(Heard().front(), "K00145500000060400");
    EXPECT_EQ(panel.Link.PendingId(), "");
}

TEST_F(Pcr1000OnAir, TheLevelIsAskedOnlyWhileTheSquelchIsOpen) {
    AsConnected();
    const struct {
        const char* name;
        int level;  // of the set at 145.5 MHz
        const char* squelch;
        Lines sent;
        int32_t read;
    } cases[] = {
        {"closed", 200, "J41FF", {"I0?"}, 0},
        {"open at the top of the scale", 255, "J4100", {"I0?", "I1?"}, 254},
        {"open", 120, "J4110", {"I0?", "I1?"}, 120},
    };
    for (const auto& c : cases) {
        emulator.SetSignalPlan(SignalPlan{c.level, {}});
        ASSERT_TRUE(panel.Link.Exchange("J41", "G0", c.squelch));
        state.Frequency = 1'455'000;
        ASSERT_TRUE(panel.SetFrequencyWait());
        emulator.ClearReceivedLines();
        EXPECT_EQ(panel.ReadLevel(), c.read) << c.name;
        EXPECT_EQ(Heard(), c.sent) << c.name;
        EXPECT_EQ(panel.Scale.At(1'455'000), c.read) << c.name;
    }
}

TEST_F(Pcr1000OnAir, AScanStepReadsTheLevelTwiceOrWithTheBandScopeCountsZero) {
    AsConnected();
    emulator.SetSignalPlan(SignalPlan{10, {{100'000'000, 200, 40'000}}});
    state.Frequency = 1'000'000;
    state.Step = 250;
    ASSERT_TRUE(panel.SetFrequency());
    EXPECT_EQ(panel.ScanLevel(), 200);
    EXPECT_EQ(Heard(), (Lines{"K00100000000060400", "I0?", "I1?", "I0?", "I1?"}));
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    EXPECT_EQ(panel.ScaleScanStep(), 250u);

    // A scale scan with the band scope: 32 cells 10 kHz apart go into the level scale.
    // Until the lock has set the band scope up the step waits (the point is measured again);
    // a start the set did not answer is tried again by the step.
    state.PcrScope = 1;
    state.RunningMode = 0;
    ASSERT_TRUE(panel.SetFrequency());
    emulator.SetDead(true);
    Post(PostLockControls);
    emulator.SetDead(false);
    emulator.ClearReceivedLines();
    EXPECT_EQ(panel.ScanLevel(), 0);
    EXPECT_EQ(Heard(), (Lines{PcrBandScope::kScanStartLine, "NE170?", "NE180?"}));
    emulator.ClearReceivedLines();
    ASSERT_TRUE(panel.SetFrequency());
    EXPECT_EQ(panel.ScanLevel(), 0);
    EXPECT_EQ(Heard(), (Lines{"K00100000000060400", "NE170?", "NE180?"}));
    EXPECT_EQ(panel.ScaleScanStep(), IC1000::kScopeScanStep);
    EXPECT_EQ(panel.Scale.Cell(10'000), 200);  // 100.00 MHz
    EXPECT_EQ(panel.Scale.Cell(9'999), 105);   // 10 kHz below: half way down the carrier
    EXPECT_EQ(panel.Scale.Cell(9'984), 10);    // 160 kHz below
    EXPECT_EQ(panel.Scale.Cell(10'015), 10);   // 150 kHz above
    EXPECT_EQ(panel.Scale.Cell(9'983), 0);
    EXPECT_EQ(panel.Scale.Cell(10'016), 0);
    // Any other scan reads the level as before.
    state.RunningMode = 2;
    ASSERT_TRUE(panel.SetFrequency());
    EXPECT_EQ(panel.ScanLevel(), 200);
}

// A scale scan step whose band-scope blocks do not come is measured again: no cell is stored.
TEST_F(Pcr1000OnAir, AScopeStepWithoutTheBlocksMeasuresNothing) {
    AsConnected();
    emulator.SetSignalPlan(SignalPlan{10, {{100'000'000, 200, 40'000}}});
    state.PcrScope = 1;
    state.RunningMode = 0;
    ASSERT_TRUE(panel.Link.Exchange("ME", "G0", PcrBandScope::kScanStartLine));
    state.Frequency = 1'000'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    emulator.SetDead(true);
    EXPECT_EQ(panel.ScanLevel(), -1);
    EXPECT_EQ(panel.Scale.Cell(10'000), 0);
}

TEST_F(Pcr1000OnAir, TheBandScopeSweepsWhatItsPictureShowsAndIsPolledByTheSecond) {
    AsConnected();
    emulator.SetSignalPlan(SignalPlan{10, {{72'900'000, 200, 20'000}}});
    ASSERT_TRUE(panel.SetFrequencyWait());
    ui::Rect r = panel.spectr->Geometry();
    r.width = 600;
    r.height = 60;  // a level of 255 / (255 / 60 + 1) = 51 pixels at most
    panel.spectr->Move(r);
    ASSERT_TRUE(panel.Scope.Paused);
    panel.stopEL->Raise(ui::EventId::Click);
    EXPECT_EQ(LastLine(), "ME0000164050100005000");
    EXPECT_EQ(panel.stopEL->Text(), "пауза");

    // 100 cells: 78..177, blocks 4..11, asked for in one write; the answers come later.
    emulator.ClearReceivedLines();
    Post(PostTimerTick);
    ASSERT_TRUE(ServeUntil([&] { return panel.Scope.Cells[177] != 0; }));
    EXPECT_EQ(Heard(), (Lines{"NE140?", "NE150?", "NE160?", "NE170?", "NE180?", "NE190?", "NE1A0?",
                              "NE1B0?"}));
    EXPECT_EQ(panel.Scope.Cells[128], 200u);
    EXPECT_EQ(panel.Scope.Cells[127], 105u);  // 5 kHz below
    EXPECT_EQ(panel.Scope.Cells[77], 0u);     // not swept
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);

    // Each cell a bar of its level / 5, 5 pixels wide in its 6-pixel column from cell 78 on.
    const std::vector<ui::Color> shown = panel.spectr->Snapshot();
    const auto at = [&](int x, int y) { return shown.at(std::size_t(y * 600 + x)); };
    constexpr ui::Color kBlack = 0x000000, kGreen = 0x00c000, kGrey = 0x606060;
    const struct {
        int x, top;  // the bar's top row; the pixel above it is black
    } bars[] = {{300, 60 - 40}, {304, 60 - 40}, {294, 60 - 21}, {150, 60 - 2}};
    for (const auto& bar : bars) {
        EXPECT_EQ(at(bar.x, bar.top), kGreen) << bar.x;
        EXPECT_EQ(at(bar.x, bar.top - 1), kBlack) << bar.x;
    }
    EXPECT_EQ(at(305, 59), kBlack);    // the gap between two columns
    EXPECT_EQ(at(303, 0), 0xc0c0c0u);  // the tuned frequency's line
    EXPECT_EQ(at(150, 12), kGrey);     // the grid at fifths of the height
    EXPECT_EQ(at(150, 48), kGrey);

    // Paused, it is not polled.
    panel.stopEL->Raise(ui::EventId::Click);
    EXPECT_EQ(LastLine(), PcrBandScope::kStopLine);
    EXPECT_EQ(panel.stopEL->Text(), "старт");
    emulator.ClearReceivedLines();
    Post(PostTimerTick);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(Pcr1000OnAir, TheStepCodesTuneByTheFineScaleStepWithinTheLimitsAndNotWhileLocked) {
    AsConnected();
    state.Frequency = IC1000::kUpperLimit - 50;
    Post(PostStepUp);
    EXPECT_EQ(main.Count(PostFrequencyStepped), 0);
    EXPECT_TRUE(Heard().empty());

    state.Frequency = 1'000'000;
    Post(PostStepUp);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostFrequencyStepped) == 1; }));
    EXPECT_EQ(state.Frequency, 1'000'100u);
    EXPECT_EQ(Heard().at(0), "K00100010000060400");

    panel.PanelBusy = true;
    emulator.ClearReceivedLines();
    Post(PostStepDown);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostFrequencyStepped) == 2; }));
    EXPECT_EQ(state.Frequency, 1'000'100u);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(Pcr1000OnAir, APeakJumpTunesToTheMiddleOfTheWholeRise) {
    AsConnected();
    state.Frequency = 1'000'000;
    for (int k = 0; k < 6; ++k) panel.Scale.SetCell(10'005 + k, static_cast<uint8_t>(10 * (k + 1)));
    panel.Scale.SetCell(10'011, 10);
    emulator.ClearReceivedLines();
    panel.pictbttn_2->Raise(ui::EventId::Click);
    // The CI-V sets' rule would take the middle of the last step up, 100.095 MHz.
    EXPECT_EQ(state.Frequency, 1'000'750u);
    ASSERT_FALSE(Heard().empty());
    EXPECT_EQ(Heard().front(), "K00100075000060400");
}

TEST_F(Pcr1000OnAir, ABandScopeStepTypedInKilohertzRestartsTheSweepAndOutlivesAScan) {
    AsConnected();
    ui::Rect r = panel.spectr->Geometry();
    r.width = 600;  // 100 cells
    panel.spectr->Move(r);
    const auto type = [&](const char* text) {
        ui::EventData e;
        e.id = ui::EventId::Change;
        e.text = text;
        panel.estep->Raise(e);
    };
    const struct {
        const char* text;
        const char* line;
        uint32_t step;
        int item;  // what the state file keeps: the list's item chosen last
    } cases[] = {
        {"7.5", "ME0000164050100007500", 75, 5},
        {"20", "ME0000164050100020000", 200, 7},
        {"250000", "ME0000164050100999900", 9999, 7},
        {"0", "ME0000164050100000100", 1, 0},
    };
    for (const auto& c : cases) {
        panel.Scope.Cells[128] = 200;
        emulator.ClearReceivedLines();
        type(c.text);
        EXPECT_EQ(Heard(), (Lines{c.line})) << c.text;
        EXPECT_EQ(panel.Scope.Step(), c.step) << c.text;
        EXPECT_EQ(panel.Scope.StepItem(), c.item) << c.text;
        EXPECT_EQ(panel.Scope.Cells[128], 0u) << c.text;
    }
    // The step it has already: nothing to start again.
    emulator.ClearReceivedLines();
    type("0.1");
    EXPECT_TRUE(Heard().empty());

    // A scan has the band scope's lines of its own; after it the typed step sweeps again.
    type("7.5");
    Post(PostLockControls);
    Post(PostUnlockControls);
    EXPECT_EQ(LastLine(), "ME0000164050100007500");
}

}  // namespace
