#pragma once
// The bank window's chart: every channel's level history, one channel per row beside its row
// of the channel list, one column per measurement. It is drawn on an off-screen picture as
// wide as the chart and eleven pixels taller, whose bottom rows are the time band; while the
// main window's shared picture belongs to the bank window the picture is copied onto it, and
// the red cursor of the shown measurement and the line of its time under the band are drawn
// there only.
//
// Rows, from the list's top row down: row k has its baseline 30 + 14 k pixels below the
// chart's top, as long as that is at most 253 (16 rows) and within the chart. A level byte b
// stands as a line of min(b >> 4, 13) pixels whose lowest pixel lies one above the baseline;
// 0 draws nothing. The selected channel's row is white, the others green on a silver
// baseline.
//
// Column x shows measurement first + x (first: FDX::BankChartFirst). Under the chart the time
// band (10 pixels, silver) carries a black line 6 pixels below the chart with a tick rising
// 3 pixels at each measurement that begins a new minute and a two-pixel tick rising 5 pixels
// at one that begins a new hour (FDX::MeasurementTime).

#include <cstdint>
#include <string>
#include <vector>

#include "ui/canvas.h"

class FDX;

namespace bank_colors {
inline constexpr ui::Color kChart = ui::NumberedColor(7);  // black; also the band's pens
inline constexpr ui::Color kBand = ui::NumberedColor(10);  // silver: the time band, the baselines
inline constexpr ui::Color kLevel = ui::NumberedColor(2);  // green
inline constexpr ui::Color kSelected = ui::NumberedColor(8);  // white: the selected row
inline constexpr ui::Color kCursor = ui::NumberedColor(1);    // red
}  // namespace bank_colors

// What the chart shows: the channel (index into FDX::Channels) of each list row from the
// top row down, and the selected channel (-1 none).
struct ChartRows {
    std::vector<int32_t> channels;
    int32_t selected = -1;
};

class BankChart {
  public:
    static constexpr int kFirstBaseline = 30;
    static constexpr int kRowPitch = 14;
    static constexpr int kLastBaseline = 253;
    static constexpr int kLongestLine = 13;
    static constexpr int kTimeBand = 10;
    // Rows of the chart for a list showing `rows` rows from its top.
    static int RowsShown(int chartHeight, std::size_t rows);
    // The height of a level byte's line.
    static int LineHeight(uint8_t level) {
        return level >> 4 < kLongestLine ? level >> 4 : kLongestLine;
    }

    // `width` x `height`: the chart itself; its width is the number of measurements it shows.
    BankChart(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const ui::Picture& Picture() const { return picture_; }

    // The whole off-screen picture: rows and levels of measurements first .. first + width - 1,
    // the time band and its ticks; black and the bare band without measurements
    // (FDX::HistoriesAllocated clear).
    void Draw(FDX& fdx, const ChartRows& rows, int32_t first);
    // Draws measurement `sample`'s column again from the histories, on the off-screen picture
    // and on `shared` (null: only off-screen); nothing when it lies outside the chart.
    void DrawColumn(ui::Picture* shared, ui::Point at, const FDX& fdx, const ChartRows& rows,
                    int32_t first, int32_t sample);
    // Copies the off-screen picture onto `shared` with the chart's top left at `at`.
    void Show(ui::Picture& shared, ui::Point at) const;
    // The strip under the band: `text`, the shown measurement's time; then the cursor on
    // measurement `shown` when it lies in the chart (the column it leaves is drawn again).
    void ShowStrip(ui::Picture& shared, ui::Point at, const FDX& fdx, const ChartRows& rows,
                   int32_t first, int32_t shown, const std::string& text);
    // The column of the shared picture holding the cursor; -1 when none.
    int CursorColumn() const { return cursorColumn_; }
    // The top of the strip's text, below the chart's top.
    int StripTop() const { return height_ + kTimeBand + 1; }

  private:
    void DrawLevels(ui::Painter& p, ui::Point at, const FDX& fdx, const ChartRows& rows,
                    int32_t sample, int x, bool baseline);
    void DrawTimeBand(FDX& fdx, int32_t first);

    int width_, height_;
    ui::Picture picture_;
    int cursorColumn_ = -1;
};

// "hh:mm:ss  dd-mm-yyyy" of measurement n of the bank series (FDX::MeasurementTime).
std::string MeasurementText(FDX& fdx, int32_t n);
