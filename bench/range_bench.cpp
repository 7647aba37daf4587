// The range window's drawing: a full redraw of a 64,000-point slot on a 1,000 x 300 picture,
// and the window's share of one step of a running scan that it follows (the cursor moves on
// and the column it leaves shows the level just measured).

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "state/fdx.h"
#include "windows/range_analysis.h"
#include "windows/range_layout.h"
#include "windows/range_view.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 300;
constexpr uint32_t kFn = 1000000;

// Points 0..63998 a step of 100 Hz apart, noise with a carrier now and then, a few fixed
// runs and markers; the current curve over the maximum, scrolled halfway.
struct Scene {
    Scene() {
        slot.Start = kFn, slot.End = kFn + 63998, slot.Step = 1, slot.Bandwidth = 30;
        LayoutScale(slot, {1000, 20000000, 250, 120}, kWidth);
        slot.InUse = 1;
        unsigned seed = 12345;
        for (std::size_t cell = 1; cell < kBankPoints; ++cell) {
            seed = seed * 1103515245u + 12345u;
            const uint8_t noise = uint8_t(20 + (seed >> 16) % 30);
            slot.Current[cell] = cell % 700 < 6 ? 200 : noise;
            slot.Maximum[cell] = uint8_t(slot.Current[cell] + 15);
            if (cell % 5000 < 40) slot.Flags[cell] |= kFixedFrequencyPoint;
            if (cell % 3000 == 0) slot.Flags[cell] |= kStopPoint;
        }
        fdx.MainCurveKind = kCurrentCurve;
        fdx.SecondCurveKind = kMaximumCurve;
        slot.ScrollPosition = slot.ScrollMaximum / 2;
    }
    FDX fdx;
    Bank slot;
    RangeView view{kWidth, kHeight};
    ui::SharedPicture shared{kWidth + 40, kHeight + 20};
};

void DrawScale(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.view.DrawScale(scene.fdx, scene.slot);
        benchmark::DoNotOptimize(scene.view.Picture().Pixel(0, 0));
    }
}
BENCHMARK(DrawScale)->Unit(benchmark::kMillisecond);

// What the window does on a refresh: the scale, then the shared picture with its sight line
// and cursor.
void DrawScaleAndShow(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.view.DrawScale(scene.fdx, scene.slot);
        scene.view.Show(scene.shared, {20, 10}, scene.fdx, scene.slot, false,
                        scene.slot.VisibleLow + 500);
        benchmark::DoNotOptimize(scene.shared.Pixel(0, 0));
    }
}
BENCHMARK(DrawScaleAndShow)->Unit(benchmark::kMillisecond);

// One step of a followed scan: the point under the cursor gets its level, the cursor moves to
// the next point.
void FollowScanStep(benchmark::State& state) {
    Scene scene;
    Bank& slot = scene.slot;
    scene.view.DrawScale(scene.fdx, slot);
    scene.view.Show(scene.shared, {20, 10}, scene.fdx, slot, false, slot.VisibleLow);
    int64_t f = slot.VisibleLow;
    uint8_t level = 0;
    for (auto _ : state) {
        slot.Current[std::size_t(slot.CellOf(f))] = level += 7;
        f = f + 1 > int64_t{slot.VisibleHigh} ? int64_t{slot.VisibleLow} : f + 1;
        scene.view.DrawCursor(&scene.shared, {20, 10}, scene.fdx, slot, false, f);
    }
    benchmark::DoNotOptimize(scene.shared.Pixel(0, 0));
}
BENCHMARK(FollowScanStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
