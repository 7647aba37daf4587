// The AR8200 panel without a receiver: its state file byte for byte and what a file edited by
// hand may not do, the band scope's sweep lines, the analysis view's settings and its picture,
// and the fine scale's labels and paging.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "receivers/aor/ar8200/ar8200.h"
#include "receivers/comm.h"
#include "receivers/panel_registry.h"
#include "state/cp1251.h"
#include "state/user_freq.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/receivers/receiver_files.h"
#include "tests/support/program_folder.h"
#include "ui/canvas.h"
#include "ui/post.h"

namespace {

class Ar8200Offline : public ::testing::Test {
  protected:
    void SetUp() override {
        comm.Discarding = false;
        state.Owner = &main;
        state.Port = &comm;
        state.ProgramDir = folder.Dir();
        state.PortIndex = 1;
        state.OptRecvSave = 1;
    }
    void TearDown() override { panel.Destroy(); }

    // One line from the receiver, parsed as a data-arrived pass does.
    void Parse(const std::string& line) {
        const std::string bytes = line + "\r\n";
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        panel.Poll(false);
    }
    std::string Path() const { return folder.File("AR8200.001"); }

    ProgramFolder folder;
    MainStandIn main;
    Comm comm;
    FDX state;
    AR8200 panel;
};

void GiveSettings(AR8200& panel, FDX& state) {
    state.Frequency = 1'455'000;
    state.Step = 125;
    state.Modulation = 'A';
    state.Filter = 2;
    state.Attenuator = 1;
    state.Sound = 1;
    panel.CurrentBank = 3;
    panel.BankPositions[3] = 42;
    panel.BankPositions[19] = 49;
    panel.DirectWrite = panel.WholeMemory = true;
    panel.Options.VoiceSquelch = true;
    panel.Options.VoiceValue = 48;
    panel.Options.LevelValue = 240;
    panel.Options.Anar = panel.Options.Awide = true;
    panel.Options.TwoVfoScan = true;
    panel.Options.ScanModeChoice = 6;
    AorScanSettings& scan = panel.ScanSettings;
    scan.kind = AorScanSettings::Kind::MemoryBanks;
    scan.SelectScan = scan.ModeScan = scan.Hold = true;
    scan.Delay = 255;
    scan.Pause = 12;
    scan.JobName = "Ночь";
    MemoryChannel& beacon = panel.ChannelAt(3, 42);
    beacon.Frequency = 1'455'000;
    beacon.Step = 125;
    beacon.Modulation = 'A';
    beacon.Filter = 2;
    beacon.Label = "Маяк";
    beacon.Attenuator = beacon.Select = beacon.Skip = true;
    beacon.AttenuatorDb = 10;
    MemoryChannel& plain = panel.ChannelAt(19, 49);
    plain.Frequency = 20'400'000;
    plain.Step = 1;
    plain.Modulation = 'W';
    AorSearchBank& search = panel.SearchBanks[39];
    search.Lower = 1'450'000;
    search.Upper = 1'460'000;
    search.Step = 125;
    search.Mode = 'F';
    search.Filter = 1;
    search.Label = "2M";
    search.Attenuator = true;
    search.AttenuatorDb = 10;
    panel.CurrentSearchBank = 39;
    panel.Scale.SetCell(14'550, 90);
}

// The file has its keys in the panel's order, the mode's variant after the letter, the mode
// filter of the scan under the second "Модуляция", F_QMOD before F_MOD, the level scale before
// the search banks; read back into a fresh panel and written again it is the same bytes, and
// it stays where it was after the reading.
TEST_F(Ar8200Offline, TheStateFileIsReadBackAsItWasWrittenByteForByte) {
    StampedAt7March2001 clock;
    ASSERT_TRUE(panel.Create(&main, &state));
    GiveSettings(panel, state);
    panel.SetFrequency();  // the fine scale's page follows the frequency
    panel.Cancel(true);
    ASSERT_TRUE(panel.WriteStateFile());
    const std::string written = ReadBytes(Path());
    EXPECT_EQ(written, ReceiverGolden("aor/ar8200", "AR8200.001"));
    panel.Destroy();

    FDX fresh;
    fresh.Owner = &main;
    fresh.ProgramDir = folder.Dir();
    fresh.PortIndex = 1;
    fresh.OptRecvSave = 1;
    AR8200 again;
    ASSERT_TRUE(again.Create(&main, &fresh));
    EXPECT_TRUE(std::filesystem::exists(Path()));
    EXPECT_EQ(fresh.Modulation, 'A');
    EXPECT_EQ(fresh.Filter, 2);
    EXPECT_EQ(again.Options.ScanModeChoice, 6u);
    EXPECT_EQ(again.ScanSettings.Delay, 255u);
    EXPECT_EQ(again.ScanSettings.kind, AorScanSettings::Kind::MemoryBanks);
    EXPECT_TRUE(again.Options.VoiceSquelch && again.Options.TwoVfoScan && again.Options.Anar &&
                again.Options.Awide);
    EXPECT_EQ(again.ChannelAt(3, 42), panel.ChannelAt(3, 42));
    EXPECT_EQ(again.SearchBanks[39], panel.SearchBanks[39]);
    ASSERT_TRUE(again.WriteStateFile());
    EXPECT_EQ(ReadBytes(Path()), written);
    again.Destroy();
}

// A file edited by hand: a bank, a channel or a search bank the panel lacks, a squelch beyond
// 255, a step the fine scale does not offer, a pause and a delay beyond their limits.
TEST_F(Ar8200Offline, AStateFileOutsideThePanelsTablesChangesNothingThere) {
    WriteBytes(Path(),
               Cp1251Lines({"Шаг_просмотра=300", "Банк=20", "Позиция_Банк=50", "Позиция_Банк=7",
                            "Сигнал=256", "Голос=255", "Пауза=75", "Время_задержки=100",
                            "Мод_точно=9 ", "Модуляция=F ", "Модуляция=10", "Банк_поиска=40"}));
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_EQ(panel.CurrentBank, 0);
    EXPECT_EQ(panel.BankPositions[0], 0);
    EXPECT_EQ(panel.BankPositions[1], 7);
    EXPECT_EQ(panel.Options.LevelValue, 255u);  // held to the highest level
    EXPECT_EQ(panel.Options.VoiceValue, 255u);
    EXPECT_EQ(panel.ScanSettings.Pause, 60u);
    EXPECT_EQ(panel.ScanSettings.Delay, 0u);
    EXPECT_EQ(state.Filter, 2);
    EXPECT_EQ(state.Modulation, 'F');
    EXPECT_EQ(panel.Options.ScanModeChoice, AR8200::kAllModes);
    EXPECT_EQ(panel.CurrentSearchBank, 0);
}

// A bank item of more channels than a bank holds fills the bank's 50 and no more; one of
// fewer empties the rest.
TEST_F(Ar8200Offline, ABankItemFillsExactlyTheBanksFiftyChannels) {
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.CurrentBank = 4;
    panel.ChannelAt(5, 0).Frequency = 1'000'000;
    state.Channels.assign(80, Mt{});
    for (std::size_t i = 0; i < state.Channels.size(); ++i)
        state.Channels[i].Frequency = 1'440'000 + uint32_t(i) * 10;
    state.ChannelCount = 80;
    ASSERT_TRUE(PostPrivateMessage(&panel, PostItemLoaded));
    ui::ServePending();
    EXPECT_EQ(panel.ChannelAt(4, 49).Frequency, 1'440'490u);
    EXPECT_EQ(panel.ChannelAt(4, 49).Number, 49);
    EXPECT_EQ(panel.ChannelAt(5, 0).Frequency, 1'000'000u);
    state.ChannelCount = 3;
    ASSERT_TRUE(PostPrivateMessage(&panel, PostItemLoaded));
    ui::ServePending();
    EXPECT_EQ(panel.ChannelAt(4, 2).Frequency, 1'440'020u);
    EXPECT_TRUE(panel.ChannelAt(4, 3).Empty());
}

// Both types are this panel, the AR8600 as its variant; a range scan's rate value is 620, a
// mode's value twice its bandwidth, the bandwidth value the current fill width.
TEST_F(Ar8200Offline, TheAr8600IsTheAr8200sVariantWithTheAr5000sScanValues) {
    uint8_t variant = 0;
    EXPECT_EQ(panel_registry::ServedType(9, variant), 9);
    EXPECT_EQ(variant, 0);
    EXPECT_EQ(panel_registry::ServedType(11, variant), 9);
    EXPECT_EQ(variant, 1);
    const PanelTraits& traits = panel_registry::Traits(9);
    EXPECT_EQ(traits.scanRate, 620);
    EXPECT_TRUE(traits.attenuator && traits.step && traits.banks && traits.secondTick);
    EXPECT_FALSE(traits.sound);
    state.ReceiverVariant = 1;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.model->Text(), "AR-8600");
    EXPECT_EQ(panel.LowerLimit, 1'000u);
    EXPECT_EQ(panel.UpperLimit, 20'400'000u);
    EXPECT_EQ(panel.ModeParameter('F'), 240);
    EXPECT_EQ(panel.ModeParameter('W'), 3000);
    panel.Options.Anar = true;
    EXPECT_EQ(panel.ModeParameter('A'), 60);
    EXPECT_EQ(panel.BandwidthValue(), panel.Scale.FillWindow);
}

// A sweep line of 32 hex digits counted down from its number: each digit a height of 16 per
// step above 2 (the second half keeps 0, 1 and 2 as they are), at the entry its count gives
// with the scope step; an entry beyond the 256 is entry 0.
TEST(Ar8200ScopeLines, ASweepLineDecodesIntoItsEntries) {
    Ar8200Scope scope;
    std::array<uint8_t, Ar8200Scope::kEntries> levels{};
    levels[200] = 9;
    scope.Take("DS0127 F3210000000000A0 2100000000000000", 20'000, levels);
    // The first line sees a width of 127: entries 1..255 start empty; entry = count - 63 + 128.
    EXPECT_EQ(levels[200], 0);
    EXPECT_EQ(levels[192], 16 * 13);  // count 127: "F"
    EXPECT_EQ(levels[191], 16 * 1);   // "3"
    EXPECT_EQ(levels[190], 0);        // "2" in the first half
    EXPECT_EQ(levels[178], 16 * 8);   // count 113: "A"
    EXPECT_EQ(levels[176], 2);        // count 111: "2" of the second half
    EXPECT_EQ(levels[175], 1);        // "1"
    // The entry keeps the larger height; a character that is no hex digit is 0.
    scope.Take("DS0127 3x00000000000000 0000000000000000", 20'000, levels);
    EXPECT_EQ(levels[192], 16 * 13);
    // A wider sweep of a finer step reaches beyond the entries: those go to entry 0.
    scope.Take("DS0127 F000000000000000 000000000000000F", 2'000, levels);
    EXPECT_EQ(levels[0], 16 * 13);
    EXPECT_EQ(levels[255], 0);
    // No step (the view has no width): nothing is taken.
    levels.fill(0);
    scope.Take("DS0127 FFFFFFFFFFFFFFFF FFFFFFFFFFFFFFFF", 0, levels);
    EXPECT_EQ(levels, (std::array<uint8_t, Ar8200Scope::kEntries>{}));
}

TEST(Ar8200ScopeLines, TheSpanGivesItsStepAndNumberAndTheFactorCycles) {
    Ar8200Scope scope;
    ASSERT_TRUE(scope.ChooseSpan(3));  // "1 МГц"
    EXPECT_EQ(scope.Step(100), 300'000u);
    EXPECT_EQ(scope.SpanNumber(), 4);
    EXPECT_FALSE(scope.ChooseSpan(7));
    EXPECT_EQ(scope.SpanNumber(), 4);
    std::vector<int> factors;
    for (int press = 0; press < 5; ++press) {
        scope.NextFactor();
        factors.push_back(scope.Factor());
    }
    EXPECT_EQ(factors, (std::vector<int>{6, 12, 24, 48, 3}));
}

// The picture: a light-grey area, its axis 18 pixels above the bottom, the tuned frequency's
// red line in the middle, and the levels as cyan bars a view factor wide, full height (255)
// reaching the top grid line; short gaps between levels filled.
TEST(Ar8200ScopeLines, TheViewDrawsItsLevelsAsBarsAboutTheCentre) {
    constexpr ui::Color kLightGrey = 0xc0c0c0, kCyan = 0x00ffff, kRed = 0xff0000,
                        kYellow = 0xffff00;
    Ar8200Scope scope;
    scope.NextFactor();  // 6 pixels an entry
    std::array<uint8_t, Ar8200Scope::kEntries> levels{};
    levels[140] = 255;  // far from the others: nothing is filled up to it
    levels[126] = 128;
    levels[123] = 64;  // two entries apart: 124 and 125 are filled between
    scope.TakeForDrawing(levels);
    ui::Picture picture(300, 118);
    scope.Draw(picture.Draw(), 300'000);
    const int axis = 118 - 18, top = axis - 4 * (118 / 5);
    EXPECT_EQ(picture.Pixel(5, 5), kLightGrey);
    EXPECT_EQ(picture.Pixel(150, axis - 10), kRed);
    // Entry 140 stands 12 x 6 pixels right of the centre, 255 high: from the axis to the top.
    EXPECT_EQ(picture.Pixel(222 + 2, axis - 1), kCyan);
    EXPECT_EQ(picture.Pixel(222 + 2, top + 1), kCyan);
    EXPECT_EQ(picture.Pixel(222, top), kYellow);
    EXPECT_EQ(picture.Pixel(222 + 2, top - 1), kLightGrey);
    // Entry 126, half as high; 124 and 125 between 64 and 128.
    const int half = 128 * (axis - top) / 255;
    EXPECT_EQ(picture.Pixel(138 + 2, axis - half + 1), kCyan);
    EXPECT_EQ(picture.Pixel(138 + 2, axis - half - 1), kLightGrey);
    EXPECT_EQ(picture.Pixel(126 + 2, axis - 1), kCyan);
    EXPECT_EQ(picture.Pixel(132 + 2, axis - 1), kCyan);
    EXPECT_EQ(picture.Pixel(144 + 2, axis - 1), kLightGrey);  // entry 127: nothing
    EXPECT_EQ(picture.Pixel(216 + 2, axis - 1), kLightGrey);  // entry 139: nothing
}

// The fine scale's picture buttons every AOR form names alike take their roles: "Вправо до
// Мах" jumps up to the peak, "Влево до Мах" down to it.
TEST_F(Ar8200Offline, TheFineScalesPeakButtonsJumpTheirWay) {
    ASSERT_TRUE(panel.Create(&main, &state));
    for (const int64_t cell : {14'540, 14'560}) {
        for (int k = 0; k < 3; ++k)
            panel.Scale.SetCell(cell - 2 + k, static_cast<uint8_t>(50 * (k + 1)));
    }
    state.Frequency = 1'455'000;
    panel.pictbttn_2->Raise(ui::EventId::Click);
    EXPECT_GT(state.Frequency, 1'455'000u);
    state.Frequency = 1'455'000;
    panel.pictbttn_3->Raise(ui::EventId::Click);
    EXPECT_LT(state.Frequency, 1'455'000u);
}

// The fine scale 600 pixels wide at 10 kHz a column: labels 2 MHz (200 columns) apart, three
// to a page, each page starting at a label. A new view step starts from the first label and
// the page follows the tuning one label at a time: on while the frequency stands on the
// page's last column or beyond, back while it stands on its first or before. The scroll bar
// chooses the first label; when every label fits it stays still.
TEST_F(Ar8200Offline, TheFineScalePagesLabelByLabelAfterTheTuning) {
    ASSERT_TRUE(panel.Create(&main, &state));
    const ui::Rect placed = panel.scale->Geometry();
    panel.scale->Move({placed.x, placed.y, 600, placed.height});
    const auto viewStep = [&](int32_t value) {
        JobStr line;
        line.OBJ = 923;
        line.VAL = value;
        state.JobLine = &line;
        panel.ExecuteCommand();
        state.JobLine = nullptr;
    };
    const auto tune = [&](uint32_t frequency) {
        state.Frequency = frequency;
        panel.SetFrequency();  // the display follows as the line goes out
        panel.Cancel(true);
    };
    state.Frequency = 1'455'000;
    viewStep(100);
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_EQ(panel.ViewPosition, 1'400'000u);  // 140.00 .. 145.99 MHz
    EXPECT_EQ(panel.hs->Position(), 70);
    // Labels 0 .. 2040 MHz; the last page, 2036.00 .. 2041.99 MHz, holds the upper limit.
    EXPECT_EQ(panel.hs->High(), 1018);
    EXPECT_TRUE(panel.hs->IsEnabled());

    tune(1'459'900);  // the last column
    EXPECT_EQ(panel.ViewPosition, 1'420'000u);
    EXPECT_EQ(panel.hs->Position(), 71);
    tune(1'459'800);
    EXPECT_EQ(panel.ViewPosition, 1'420'000u);
    tune(1'420'000);  // the first column
    EXPECT_EQ(panel.ViewPosition, 1'400'000u);
    tune(1'300'000);
    EXPECT_EQ(panel.ViewPosition, 1'280'000u);

    ui::EventData scroll;
    scroll.id = ui::EventId::Change;
    scroll.value = 5;
    panel.hs->Raise(scroll);
    EXPECT_EQ(panel.ViewPosition, 100'000u);
    scroll.value = 5000;
    panel.hs->Raise(scroll);
    EXPECT_EQ(panel.ViewPosition, 1018u * 20'000u);
    tune(AR8200::kUpperLimit);
    EXPECT_EQ(panel.ViewPosition, 1018u * 20'000u);
    tune(AR8200::kUpperLimit - 20'000);
    EXPECT_EQ(panel.ViewPosition, 1018u * 20'000u);

    // 700 pixels at 5 MHz: 0, 1000, 2000 and 3000 MHz (column 600) all fit.
    panel.scale->Move({placed.x, placed.y, 700, placed.height});
    viewStep(50'000);
    EXPECT_EQ(panel.ViewPosition, 0u);
    EXPECT_FALSE(panel.hs->IsEnabled());
    tune(19'000'000);
    EXPECT_EQ(panel.ViewPosition, 0u);
    // The end of a scan's lock gives the controls back, but not this one.
    for (const uint32_t code : {PostLockControls, PostUnlockControls}) {
        ASSERT_TRUE(PostPrivateMessage(&panel, code));
        ui::ServePending();
    }
    EXPECT_FALSE(panel.hs->IsEnabled());
    EXPECT_TRUE(panel.step->IsEnabled());
    panel.scale->Move(placed);
}

// On the panel the fine scale stands under its coarse scale with the handhelds' drawing: two
// axis lines 15 and 18 pixels above its bottom with the label ticks to 13 above it, the pens
// of the panel's colour table.
TEST_F(Ar8200Offline, TheFineScaleIsDrawnWithItsAxisTicksAndPens) {
    ASSERT_TRUE(panel.Create(&main, &state));
    const ui::Rect placed = panel.scale->Geometry();
    panel.scale->Move({placed.x, placed.y, 600, placed.height});
    state.Frequency = 1'455'000;
    JobStr line;
    line.OBJ = 923;
    line.VAL = 100;
    state.JobLine = &line;
    panel.ExecuteCommand();
    state.JobLine = nullptr;
    const int h = placed.height;
    const std::vector<ui::Color> pixels = panel.scale->Snapshot();
    ASSERT_EQ(pixels.size(), std::size_t(600) * std::size_t(h));
    const auto at = [&](int x, int y) { return pixels[std::size_t(y) * 600 + std::size_t(x)]; };
    const ui::Color silver = ui::NumberedColor(10);
    EXPECT_EQ(at(100, h - 15), silver);
    EXPECT_EQ(at(100, h - 18), silver);
    EXPECT_NE(at(100, h - 19), silver);
    for (const int tick : {0, 200, 400}) EXPECT_EQ(at(tick, h - 13), silver) << tick;
    EXPECT_EQ(at(550, h - 19), ui::NumberedColor(14));  // the cursor's bar, nothing measured
    EXPECT_EQ(at(550, h - 20), ui::NumberedColor(1));
    panel.scale->Move(placed);
}

}  // namespace
