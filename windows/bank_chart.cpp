#include "windows/bank_chart.h"

#include <algorithm>
#include <array>

#include "state/fdx.h"
#include "state/format_text.h"

namespace {

using namespace bank_colors;

// The time band's line, below the chart's bottom, and the ticks rising from it.
constexpr int kBandLine = 6;
constexpr int kMinuteTick = 3;
constexpr int kHourTick = 5;

// MeasurementStamp: day, month, year, hour, minute, second.
constexpr std::size_t kHour = 3, kMinute = 4, kSecond = 5;

uint8_t LevelAt(const FDX& fdx, int32_t channel, int32_t sample) {
    if (channel < 0 || std::size_t(channel) >= fdx.ChannelLevels.size() || sample < 0) return 0;
    const std::vector<uint8_t>& history = fdx.ChannelLevels[std::size_t(channel)];
    return std::size_t(sample) < history.size() ? history[std::size_t(sample)] : 0;
}

bool Measured(const FDX& fdx, int32_t sample) {
    return fdx.HistoriesAllocated && sample >= 0 && sample < fdx.MeasurementCapacity;
}

}  // namespace

std::string MeasurementText(FDX& fdx, int32_t n) {
    fdx.MeasurementTime(n);
    const auto& t = fdx.MeasurementStamp;
    return FormatText("%02u:%02u:%02u  %02u-%02u-%04u", unsigned(t[kHour]), unsigned(t[kMinute]),
                      unsigned(t[kSecond]), unsigned(t[0]), unsigned(t[1]), unsigned(t[2]));
}

int BankChart::RowsShown(int chartHeight, std::size_t rows) {
    const int last = std::min(kLastBaseline, chartHeight - 1);
    const int fit = last < kFirstBaseline ? 0 : (last - kFirstBaseline) / kRowPitch + 1;
    return int(std::min<std::size_t>(std::size_t(fit), rows));
}

BankChart::BankChart(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      picture_(width_ + 1, height_ + kTimeBand + 1) {
    picture_.Draw().FillRect({0, 0, width_ + 1, height_}, kChart);
}

void BankChart::DrawLevels(ui::Painter& p, ui::Point at, const FDX& fdx, const ChartRows& rows,
                           int32_t sample, int x, bool baseline) {
    const int shown = RowsShown(height_, rows.channels.size());
    for (int k = 0; k < shown; ++k) {
        const int32_t channel = rows.channels[std::size_t(k)];
        const bool selected = channel == rows.selected;
        const int base = at.y + kFirstBaseline + kRowPitch * k;
        if (baseline) p.SetPixel(at.x + x, base, selected ? kSelected : kBand);
        const int line = Measured(fdx, sample) ? LineHeight(LevelAt(fdx, channel, sample)) : 0;
        if (line > 0)
            p.Line(at.x + x, base - 1, at.x + x, base - line, selected ? kSelected : kLevel);
    }
}

void BankChart::Draw(FDX& fdx, const ChartRows& rows, int32_t first) {
    ui::Painter& p = picture_.Draw();
    p.FillRect({0, 0, width_ + 1, height_}, kChart);
    p.FillRect({0, height_, width_ + 1, kTimeBand + 1}, kBand);
    cursorColumn_ = -1;
    if (!fdx.HistoriesAllocated) return;
    const int shown = RowsShown(height_, rows.channels.size());
    for (int k = 0; k < shown; ++k) {
        const int base = kFirstBaseline + kRowPitch * k;
        p.Line(0, base, width_ - 1, base,
               rows.channels[std::size_t(k)] == rows.selected ? kSelected : kBand);
    }
    for (int x = 0; x < width_; ++x) DrawLevels(p, {}, fdx, rows, first + x, x, false);
    DrawTimeBand(fdx, first);
}

void BankChart::DrawTimeBand(FDX& fdx, int32_t first) {
    ui::Painter& p = picture_.Draw();
    const int line = height_ + kBandLine;
    p.Line(0, line, width_, line, kChart);
    p.Line(0, height_, 0, line, kChart);
    p.Line(width_, height_, width_, line, kChart);
    // A measurement begins a new minute (hour) when its minute (hour) is not the one before
    // it; the first begins one only on the stroke of it.
    using Stamp = std::array<int32_t, 6>;
    const auto through = [](const Stamp& t, std::size_t last) {
        return Stamp{
            t[2], t[1], t[0], last >= kHour ? t[kHour] : 0, last >= kMinute ? t[kMinute] : 0, 0};
    };
    Stamp before{};
    bool known = false;
    for (int x = 0; x < width_; ++x) {
        const int32_t s = first + x;
        if (!Measured(fdx, s)) break;
        fdx.MeasurementTime(s);
        const Stamp now = fdx.MeasurementStamp;
        if (!known && s > 0) {
            fdx.MeasurementTime(s - 1);
            before = fdx.MeasurementStamp;
            known = true;
        }
        bool minute, hour;
        if (known) {
            minute = through(now, kMinute) != through(before, kMinute);
            hour = through(now, kHour) != through(before, kHour);
        } else {
            minute = now[kSecond] == 0;
            hour = minute && now[kMinute] == 0;
        }
        if (hour)
            p.FillRect({x, line - kHourTick, 2, kHourTick}, kChart);
        else if (minute)
            p.FillRect({x, line - kMinuteTick, 1, kMinuteTick}, kChart);
        before = now;
        known = true;
    }
}

void BankChart::DrawColumn(ui::Picture* shared, ui::Point at, const FDX& fdx, const ChartRows& rows,
                           int32_t first, int32_t sample) {
    const int64_t x = int64_t{sample} - first;
    if (x < 0 || x >= width_) return;
    ui::Painter& p = picture_.Draw();
    p.FillRect({int(x), 0, 1, height_}, kChart);
    if (fdx.HistoriesAllocated) DrawLevels(p, {}, fdx, rows, sample, int(x), true);
    if (shared != nullptr)
        shared->Draw().Copy(picture_, {int(x), 0, 1, height_}, at.x + int(x), at.y);
}

void BankChart::Show(ui::Picture& shared, ui::Point at) const {
    shared.Draw().Copy(picture_, {0, 0, width_ + 1, height_ + kTimeBand + 1}, at.x, at.y);
}

void BankChart::ShowStrip(ui::Picture& shared, ui::Point at, const FDX& fdx, const ChartRows& rows,
                          int32_t first, int32_t shown, const std::string& text) {
    ui::Painter& p = shared.Draw();
    const int top = at.y + StripTop();
    p.FillRect({at.x, top, width_ + 1, p.TextHeight()}, kBand);
    p.Text(at.x, top, text, kChart);
    if (cursorColumn_ >= 0)
        p.Copy(picture_, {cursorColumn_, 0, 1, height_}, at.x + cursorColumn_, at.y);
    cursorColumn_ = -1;
    const int64_t x = int64_t{shown} - first;
    if (x < 0 || x >= width_) return;
    p.Line(at.x + int(x), at.y, at.x + int(x), at.y + height_ - 1, kCursor);
    DrawLevels(p, at, fdx, rows, shown, int(x), false);
    cursorColumn_ = int(x);
}
