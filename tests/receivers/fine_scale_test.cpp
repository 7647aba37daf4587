// The fine scale every family draws, with the look a model gives it.
#include "receivers/fine_scale.h"

#include <gtest/gtest.h>

#include <array>

#include "receivers/panel.h"
#include "state/fdx.h"
#include "state/user_sc.h"
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
                                           FineScaleLook{60, 2, kSteps}));

}  // namespace

namespace {

// A strip with a frequency axis (the AR8200's coarse scale): two lines 15 and 18 pixels above
// its bottom, a tick every 500 MHz (100 pixels at 5 MHz a pixel) and the mark above the axis.
TEST_F(FineScaleLooks, AnOverviewWithAnAxisTicksItsLabelsAndMarksAboveIt) {
    constexpr ui::Color kSilver = 0xc0c0c0;
    FineScale fine(panel, FineScaleLook{.overviewHeight = 40,
                                        .barDivisor = 5,
                                        .viewSteps = kSteps,
                                        .overviewLabelEvery = 5'000'000});
    state.Frequency = 4'339'200;  // pixel 86
    ui::Picture picture(450, 120);
    fine.Draw(picture.Draw());
    EXPECT_EQ(picture.Pixel(50, 40 - 15), kSilver);
    EXPECT_EQ(picture.Pixel(50, 40 - 18), kSilver);
    EXPECT_EQ(picture.Pixel(50, 40 - 16), kBlack);
    for (const int tick : {0, 100, 200, 300, 400}) {
        EXPECT_EQ(picture.Pixel(tick, 40 - 14), kSilver) << tick;
        EXPECT_EQ(picture.Pixel(tick, 40 - 13), kSilver) << tick;
    }
    EXPECT_EQ(picture.Pixel(86, 40 - 19), kRed);
    EXPECT_EQ(picture.Pixel(86, 1), kRed);
    EXPECT_EQ(picture.Pixel(86, 40 - 18), kSilver);
    // The labels stand under the axis: some ink below each tick.
    for (const int tick : {100, 200}) {
        int ink = 0;
        for (int x = tick - 12; x <= tick + 12; ++x)
            for (int y = 40 - 12; y < 40 - 1; ++y) ink += picture.Pixel(x, y) == kSilver;
        EXPECT_GT(ink, 5) << tick;
    }
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
