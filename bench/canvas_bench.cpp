// The drawing layer's hot path: a range window's spectrum on a 1,000 x 300 picture, one
// column line per point plus a polyline through the levels, then the picture copied onto the
// main window's shared picture.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <vector>

#include "ui/canvas.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 300;
constexpr int kBase = kHeight - 19;

std::vector<int> Levels() {
    std::vector<int> levels(kWidth);
    unsigned seed = 12345;
    for (int& level : levels) {
        seed = seed * 1103515245u + 12345u;
        level = int((seed >> 16) % 256);
    }
    return levels;
}

void Spectrum(benchmark::State& state) {
    const std::vector<int> levels = Levels();
    std::vector<ui::Point> curve;
    for (int x = 0; x < kWidth; ++x) curve.push_back({x, kBase - levels[size_t(x)] / 2});
    ui::Picture picture(kWidth, kHeight);
    ui::SharedPicture shared(kWidth, kHeight);
    ui::Painter& p = picture.Draw();
    for (auto _ : state) {
        p.FillRect({0, 0, kWidth, kHeight}, ui::NumberedColor(7));
        p.SetPen({ui::NumberedColor(2)});
        for (int x = 0; x < kWidth; ++x) p.Line(x, kBase, x, kBase - levels[size_t(x)] / 2);
        p.SetPen({ui::NumberedColor(13)});
        p.Polyline(curve);
        shared.Draw().Copy(picture, {0, 0, kWidth, kHeight}, 0, 0);
        benchmark::DoNotOptimize(shared.Pixel(0, 0));
    }
}
BENCHMARK(Spectrum)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
