// The fine scale every family draws, with the look a model gives it.
#include "receivers/fine_scale.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "receivers/aor/aor_handhelds.h"
#include "receivers/aor/ar8000/ar8000.h"
#include "receivers/aor/ar8200/ar8200.h"
#include "receivers/comm.h"
#include "receivers/panel.h"
#include "state/fdx.h"
#include "state/user_sc.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/support/program_folder.h"
#include "ui/canvas.h"

namespace {

class BarePanel : public ReceiverPanel {
  public:
    explicit BarePanel(FDX& state) { fdx_ = &state; }
    bool Create(ui::Form*, FDX*) override { return false; }
};

constexpr ViewStepEntry kSteps[] = {{100, "10 кГц"}};
constexpr ui::Color kBlack = 0x000000, kGreen = 0x00c000, kYellow = 0xffff00, kRed = 0xff0000;

class FineScaleLooks : public ::testing::TestWithParam<FineScaleLook> {
  protected:
    FineScaleLooks() {
        panel.LowerLimit = 1000;
        panel.UpperLimit = 20'000'000;
        panel.Scale.Allocate(panel.UpperLimit);
        panel.ViewStep = 100;  // 10 kHz a column
        panel.ViewPosition = 1'450'000;
    }
    FDX state;
    BarePanel panel{state};
};

TEST_P(FineScaleLooks, BarsRiseByTheModelsDivisorBelowItsOverviewStrip) {
    const FineScaleLook look = GetParam();
    FineScale fine(panel, look);
    panel.Scale.SetCell(panel.Scale.IndexOf(1'451'000), 160);  // column 10
    state.Frequency = 1'452'000;                               // column 20, nothing measured
    // Tall enough for a full level of either look.
    ui::Picture picture(200, 220);
    fine.Draw(picture.Draw());

    const int base = 220 - 19;
    const int top = look.overviewHeight + 2;
    EXPECT_EQ(picture.Pixel(10, base - 160 / look.barDivisor), kGreen);
    EXPECT_EQ(picture.Pixel(10, base - 160 / look.barDivisor - 1), kBlack);
    // The cursor: yellow on the base line, red above it up to the page's top.
    EXPECT_EQ(picture.Pixel(20, base), kYellow);
    EXPECT_EQ(picture.Pixel(20, top), kRed);
    EXPECT_EQ(picture.Pixel(20, top - 1), kBlack);
    // The overview strip marks the frequency at 5 MHz a pixel.
    EXPECT_EQ(picture.Pixel(1'452'000 / 50'000, look.overviewHeight - 2), kRed);

    // Over the strip the mouse points at 5 MHz a pixel, below it at a column of the page.
    EXPECT_EQ(fine.FrequencyAt(10, look.overviewHeight - 1), 500'000);
    EXPECT_EQ(fine.FrequencyAt(10, look.overviewHeight), 1'451'000);
}

// The stored fixed frequencies on the page are marked under the bars when the look asks:
// from their first to their last column, clipped to the page, the walk ending at the first
// that starts beyond it.
TEST(FineScaleMarks, StoredFixedFrequenciesOnThePageAreUnderlinedWhenTheLookAsks) {
    FDX state;
    BarePanel panel{state};
    panel.LowerLimit = 1000;
    panel.UpperLimit = 20'000'000;
    panel.Scale.Allocate(panel.UpperLimit);
    panel.ViewStep = 100;
    panel.ViewPosition = 1'450'000;
    UserSc before, on, beyond;
    before.StartFrequency = 1'440'000, before.EndFrequency = 1'451'000;  // columns ..10
    on.StartFrequency = 1'455'000, on.EndFrequency = 1'456'000;          // columns 50..60
    beyond.StartFrequency = 1'480'000, beyond.EndFrequency = 1'481'000;  // past column 199
    state.Scales = {&before, &on, &beyond};
    constexpr ui::Color kCyan = 0x00ffff;
    for (const bool marks : {false, true}) {
        FineScale fine(panel, FineScaleLook{.overviewHeight = 12,
                                            .barDivisor = 8,
                                            .viewSteps = kSteps,
                                            .markScaleItems = marks});
        ui::Picture picture(200, 120);
        fine.Draw(picture.Draw());
        for (const int row : {120 - 16, 120 - 17}) {
            for (const int x : {0, 10, 50, 60})
                EXPECT_EQ(picture.Pixel(x, row) == kCyan, marks) << x << "," << row;
            for (const int x : {11, 49, 61, 199}) EXPECT_NE(picture.Pixel(x, row), kCyan) << x;
        }
        EXPECT_NE(picture.Pixel(10, 120 - 15), kCyan);
        EXPECT_NE(picture.Pixel(10, 120 - 18), kCyan);
    }
}

// The IC-R8500's look, and the IC-R10's with a taller strip and bars four times as high.
INSTANTIATE_TEST_SUITE_P(Models, FineScaleLooks,
                         ::testing::Values(FineScaleLook{40, 8, kSteps},
                                           FineScaleLook{60, 2, kSteps}),
                         [](const ::testing::TestParamInfo<FineScaleLook>& info) {
                             return "Strip" + std::to_string(info.param.overviewHeight) +
                                    "Divisor" + std::to_string(info.param.barDivisor);
                         });

}  // namespace

namespace {

// The AR8000's and AR8200's coarse scale: two axis lines 15 and 18 pixels above its bottom,
// a tick a pixel right of every 500 MHz (5 MHz a pixel), the label "0" at the left edge, and
// the marker from its third row down to the row above the axis; no frame.
TEST_F(FineScaleLooks, TheHandheldsCoarseScaleTicksItsLabelsAndMarksAboveItsAxis) {
    const ui::Color silver = ui::NumberedColor(10), red = ui::NumberedColor(1);
    FineScale fine(panel, aor::kHandheldFineScale);
    state.Frequency = 4'339'200;  // pixel 86
    ui::Picture picture(450, 120);
    fine.Draw(picture.Draw());
    EXPECT_EQ(picture.Pixel(50, 40 - 15), silver);
    EXPECT_EQ(picture.Pixel(50, 40 - 18), silver);
    EXPECT_EQ(picture.Pixel(50, 40 - 16), kBlack);
    EXPECT_EQ(picture.Pixel(50, 0), kBlack);
    EXPECT_EQ(picture.Pixel(50, 39), kBlack);
    for (const int tick : {1, 101, 201, 301, 401}) {
        EXPECT_EQ(picture.Pixel(tick, 40 - 14), silver) << tick;
        EXPECT_EQ(picture.Pixel(tick, 40 - 13), silver) << tick;
    }
    EXPECT_EQ(picture.Pixel(100, 40 - 13), kBlack);
    EXPECT_EQ(picture.Pixel(86, 2), red);
    EXPECT_EQ(picture.Pixel(86, 40 - 19), red);
    EXPECT_EQ(picture.Pixel(86, 1), kBlack);
    EXPECT_EQ(picture.Pixel(86, 40 - 18), silver);
    // "0" from the left edge, "  500" from pixel 85, drawn as the painter draws these texts.
    ui::Picture expected(450, 120);
    ui::Painter& p = expected.Draw();
    p.FillRect({0, 0, 450, 120}, kBlack);
    p.Text(0, 40 - 14, "0", silver);
    p.Text(85, 40 - 14, "  500", silver);
    for (const int x : {0, 1, 2, 3, 4, 5, 90, 95, 100, 105}) {
        for (int y = 40 - 12; y < 40; ++y) {
            if (x == 1 || x == 101) continue;  // ticks
            EXPECT_EQ(picture.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
        }
    }
}

// The AR8000's and AR8200's fine scale, 600 pixels wide at 10 kHz a column: labels 2 MHz
// (200 columns) apart, "%5.2f" from their column 14 pixels above the bottom under a tick from
// the upper axis line (18 above the bottom) to 13 above it; two axis lines 15 and 18 above
// the bottom, no base line and no grid; bars in green from the row above the axis, the
// cursor's bar olive under the red marker, the stored fixed frequencies white between the
// axis lines.
class HandheldFineScale : public FineScaleLooks {
  protected:
    static constexpr int kWidth = 600, kHeight = 120;
    ui::Color Label(int x, int y, int labelX, const char* text) const {
        ui::Picture expected(kWidth, kHeight);
        expected.Draw().FillRect({0, 0, kWidth, kHeight}, kBlack);
        expected.Draw().Text(labelX, kHeight - 14, text, ui::NumberedColor(10));
        return expected.Pixel(x, y);
    }
};

TEST_F(HandheldFineScale, LabelsTicksAxisAndColoursFollowThePanelsDrawing) {
    const ui::Color silver = ui::NumberedColor(10);
    FineScale fine(panel, aor::kHandheldFineScale);
    panel.ViewPosition = 1'440'000;                            // the page of the label 144 MHz
    panel.Scale.SetCell(panel.Scale.IndexOf(1'441'000), 100);  // column 10
    panel.Scale.SetCell(panel.Scale.IndexOf(1'443'000), 50);   // column 30, the cursor's
    state.Frequency = 1'443'000;
    UserSc tag;
    tag.StartFrequency = 1'450'000, tag.EndFrequency = 1'451'000;  // columns 100..110
    state.Scales = {&tag};
    ui::Picture picture(kWidth, kHeight);
    fine.Draw(picture.Draw());
    const int h = kHeight;

    for (const int x : {50, 150, 599}) {
        EXPECT_EQ(picture.Pixel(x, h - 15), silver) << x;
        EXPECT_EQ(picture.Pixel(x, h - 18), silver) << x;
        for (const int y : {h - 19, h - 17, h - 16, h - 14}) EXPECT_EQ(picture.Pixel(x, y), kBlack);
    }
    for (const int tick : {0, 200, 400}) {
        for (int y = h - 18; y <= h - 13; ++y) EXPECT_EQ(picture.Pixel(tick, y), silver) << tick;
        // No grid line over the page.
        for (const int y : {45, 60, 80}) EXPECT_EQ(picture.Pixel(tick, y), kBlack) << tick;
    }
    // The texts from their columns, to the next tick.
    for (int x = 1; x < 200; ++x) {
        for (int y = h - 12; y < h; ++y) {
            EXPECT_EQ(picture.Pixel(x, y), Label(x, y, 0, "144.00")) << x << "," << y;
            EXPECT_EQ(picture.Pixel(200 + x, y), Label(200 + x, y, 200, "146.00")) << x;
        }
    }
    EXPECT_EQ(picture.Pixel(10, h - 19), ui::NumberedColor(2));
    EXPECT_EQ(picture.Pixel(10, h - 19 - 100 / 5), ui::NumberedColor(2));
    EXPECT_EQ(picture.Pixel(10, h - 19 - 100 / 5 - 1), kBlack);
    EXPECT_EQ(picture.Pixel(30, h - 19), ui::NumberedColor(14));
    EXPECT_EQ(picture.Pixel(30, h - 19 - 50 / 5), ui::NumberedColor(14));
    EXPECT_EQ(picture.Pixel(30, h - 19 - 50 / 5 - 1), ui::NumberedColor(1));
    EXPECT_EQ(picture.Pixel(30, 42), ui::NumberedColor(1));
    for (const int x : {100, 110}) {
        EXPECT_EQ(picture.Pixel(x, h - 16), ui::NumberedColor(8)) << x;
        EXPECT_EQ(picture.Pixel(x, h - 17), ui::NumberedColor(8)) << x;
    }
    EXPECT_EQ(picture.Pixel(111, h - 16), kBlack);
}

// Labels about a third of the width apart, a fifth on the stretched window (MAXMON): 600
// pixels at 10 kHz a column put them 2 MHz apart, or 1 MHz (100 columns); the labels end at
// the last one.
TEST_F(HandheldFineScale, TheLabelsStandAFifthOfTheWidthApartUnderMaxMon) {
    const ui::Color silver = ui::NumberedColor(10);
    FineScale fine(panel, aor::kHandheldFineScale);
    panel.ViewPosition = 1'400'000;
    state.Frequency = 0;
    for (const bool maxMon : {false, true}) {
        state.OptMaxMon = maxMon;
        ui::Picture picture(kWidth, kHeight);
        fine.Draw(picture.Draw());
        for (const int tick : {0, 200, 400})
            EXPECT_EQ(picture.Pixel(tick, kHeight - 13), silver) << tick << maxMon;
        for (const int tick : {100, 300, 500})
            EXPECT_EQ(picture.Pixel(tick, kHeight - 13) == silver, maxMon) << tick;
    }
    // At 5 MHz a column every label fits: 0, 1000 and 2000 MHz, the upper limit rounded up to
    // the spacing, and none after it on the axis.
    state.OptMaxMon = 0;
    panel.ViewStep = 50'000;
    panel.ViewPosition = 0;
    ui::Picture picture(kWidth, kHeight);
    fine.Draw(picture.Draw());
    for (const int tick : {0, 200, 400}) EXPECT_EQ(picture.Pixel(tick, kHeight - 13), silver);
    EXPECT_EQ(picture.Pixel(599, kHeight - 15), silver);
    for (int x = 401; x < kWidth; ++x) EXPECT_NE(picture.Pixel(x, kHeight - 13), silver) << x;
}

// The other panels keep their grid: a dotted line over the page at every label, "%5.1f"
// beside it over the base line 19 pixels above the bottom, a third of the width apart even
// under MAXMON.
TEST_F(FineScaleLooks, OtherPanelsKeepTheirGridAndLabels) {
    const ui::Color silver = 0xc0c0c0, grey = 0x606060;
    FineScale fine(panel,
                   FineScaleLook{.overviewHeight = 12, .barDivisor = 8, .viewSteps = kSteps});
    panel.ViewPosition = 1'440'000;
    state.Frequency = 0;
    state.OptMaxMon = 1;
    ui::Picture picture(600, 120);
    fine.Draw(picture.Draw());
    EXPECT_EQ(picture.Pixel(50, 120 - 19), silver);
    EXPECT_EQ(picture.Pixel(50, 120 - 15), kBlack);
    for (const int x : {0, 200, 400}) EXPECT_EQ(picture.Pixel(x, 14), grey) << x;
    EXPECT_EQ(picture.Pixel(100, 14), kBlack);
    ui::Picture expected(600, 120);
    expected.Draw().FillRect({0, 0, 600, 120}, kBlack);
    expected.Draw().Text(202, 120 - 17, "146.0", silver);
    for (int x = 202; x < 240; ++x)
        for (int y = 120 - 17; y < 120; ++y)
            EXPECT_EQ(picture.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
}

// A page that reaches beyond the upper limit: the columns past it get no bar, whatever the
// last cells of the scale hold.
TEST_F(FineScaleLooks, ColumnsPastTheUpperLimitGetNoBar) {
    FineScale fine(panel,
                   FineScaleLook{.overviewHeight = 20, .barDivisor = 1, .viewSteps = kSteps});
    panel.ViewPosition = panel.UpperLimit - 50 * 100;  // column 50 is the upper limit
    panel.Scale.SetCell(panel.Scale.IndexOf(panel.UpperLimit - 100), 200);
    panel.Scale.SetCell(panel.Scale.IndexOf(panel.UpperLimit), 200);
    state.Frequency = 1'000'000;  // off the page
    ui::Picture picture(120, 260);
    fine.Draw(picture.Draw());
    const int base = 260 - 19;
    EXPECT_EQ(picture.Pixel(49, base - 100), kGreen);
    EXPECT_EQ(picture.Pixel(50, base - 100), kGreen);
    for (int x = 51; x < 120; ++x) EXPECT_NE(picture.Pixel(x, base - 100), kGreen) << x;
}

}  // namespace

// A layout of the fine scale's commands numbered from a model's job base gives the numbers
// the job catalog lists for the model; a command the layout lacks stays unserved (0), not the
// base itself.
TEST(FineScaleJobs, ALayoutIsNumberedFromTheJobBase) {
    using Numbers = std::array<uint32_t, 6>;
    const auto numbers = [](const FineScaleJobs& jobs) {
        return Numbers{jobs.fixedLeft, jobs.fixedRight, jobs.peakLeft,
                       jobs.peakRight, jobs.viewStep,   jobs.clearScale};
    };
    EXPECT_EQ(numbers(kAorFineScaleJobs.From(700)), (Numbers{719, 720, 721, 722, 723, 0}));
    EXPECT_EQ(numbers(kIcomFineScaleJobs.From(600)), (Numbers{629, 630, 631, 632, 626, 621}));
    EXPECT_EQ(numbers(kScaleFirstFineScaleJobs.From(800)), (Numbers{816, 814, 815, 813, 812, 811}));
}

namespace {

// Both handhelds, made without a receiver, draw the same scale: 10 kHz a column chosen from
// the list, the page starts at a label and the double axis stands 15 and 18 pixels above the
// scale's bottom.
template <class Panel>
void ExpectTheHandheldsScale() {
    ProgramFolder folder;
    MainStandIn main;
    Comm comm;
    FDX state;
    state.Owner = &main;
    state.Port = &comm;
    state.ProgramDir = folder.Dir();
    state.PortIndex = 1;
    Panel panel;
    ASSERT_TRUE(panel.Create(&main, &state));
    state.Frequency = 1'455'000;
    const ui::Rect placed = panel.scale->Geometry();
    panel.scale->Move({placed.x, placed.y, 600, placed.height});
    panel.step->SetSelectedIndex(0);  // "10"
    panel.step->Raise(ui::EventId::Select);
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_EQ(panel.ViewPosition, 1'400'000u);
    const int h = placed.height;
    const std::vector<ui::Color> pixels = panel.scale->Snapshot();
    ASSERT_EQ(pixels.size(), std::size_t(600) * std::size_t(h));
    const auto at = [&](int x, int y) { return pixels[std::size_t(y) * 600 + std::size_t(x)]; };
    EXPECT_EQ(at(100, h - 15), ui::NumberedColor(10));
    EXPECT_EQ(at(100, h - 18), ui::NumberedColor(10));
    EXPECT_EQ(at(200, h - 13), ui::NumberedColor(10));
    EXPECT_EQ(at(100, h - 19), kBlack);
    panel.Destroy();
}

TEST(HandheldPanels, TheAr8000AndTheAr8200DrawTheirFineScaleAlike) {
    ExpectTheHandheldsScale<AR8000>();
    ExpectTheHandheldsScale<AR8200>();
}

}  // namespace
