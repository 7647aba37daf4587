// The pictures the print form puts after the tab page's lines: black-and-white redrawings, at
// the printer's resolution, of what the range, group and bank windows and the receiver's band
// scope show. A point or a time sample is s = r/72 dots wide; a raw level L stands a·L/b dots
// above a picture's baseline (FitLevelAxis).
//
// The range slot shown prints in strips 10 lines tall: a strip ends at a grid line and the
// next one begins at that same line, so its label and ticks stand at the end of one strip and
// the start of the next. A range of the group prints as one picture 5 lines tall from its
// scroll position. The bank prints one row of 3 lines per channel, as many as a page holds,
// under a time axis.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "state/format_text.h"
#include "windows/range_analysis.h"
#include "windows/report_layout.h"

namespace {

constexpr ui::Color kBlack = ui::NumberedColor(7);
constexpr int kAxisTop = 256;

// Levels a range picture labels: every 32 on a strip, every 64 on a group's picture.
constexpr int kStripLabelStep = 32;
constexpr int kGroupLabelStep = 64;
// Ticks on a bank row's level axis.
constexpr int kBankTicks[] = {64, 128, 192, 255};

ui::Pen FramePen() {
    return {kBlack, 0, ui::PenStyle::Solid};
}
ui::Pen ThinPen() {
    return {kBlack, 0, ui::PenStyle::Solid};
}
ui::Pen DashedPen() {
    return {kBlack, 1, ui::PenStyle::Dash};
}
ui::Pen DottedPen() {
    return {kBlack, 1, ui::PenStyle::Dot};
}

int FlagsOf(const Bank& slot, int64_t point) {
    if (point < 0 || point > LastPoint(slot)) return 0;
    return slot.Flags[std::size_t(point + 1)];
}

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// The 1-2-5 rounding of the grids: x brought to 0.1 < x ≤ 1 times a power of ten, then to 0.1,
// 0.2, 0.5 or 1 of it. `power` receives the power.
double OneTwoFive(double x, int& power) {
    power = 0;
    while (x > 1) {
        x /= 10;
        ++power;
    }
    if (x <= 0) return 0;
    if (x < 0.15) return 0.1;
    if (x < 0.35) return 0.2;
    if (x < 0.85) return 0.5;
    ++power;
    return 0.1;
}

int64_t Scaled(double factor, int power) {
    return int64_t(factor * std::pow(10.0, power) + 1e-9);
}

}  // namespace

ui::Pen ReportLayout::ThickPen() const {
    return {kBlack, c_ >= 18 ? 3 : 2, ui::PenStyle::Solid};
}

int ReportLayout::AxisPosition(int32_t level) const {
    return fdx_.OptLg ? fdx_.LevelAxisAt(level) : level;
}

std::string ReportLayout::LevelLabel(int32_t level) const {
    if (fdx_.OptLg)
        return FormatText("%3.1f",
                          fdx_.LevelGrid[std::size_t(std::clamp(level / 32, 0, 8))] / 10.0);
    if (fdx_.OptDb) return FormatText("%3.1f", fdx_.LevelToDb(uint32_t(level)) / 10.0);
    return FormatText("%d", level);
}

void ReportLayout::StartRangeStrips() {
    stripGridLine_ = stripColumn_ = 0;
    const Bank* slot = ShownSlot();
    if (slot == nullptr || slot->GridColumns.empty()) return;
    if (settings_.visible) {
        stripGridLine_ = std::clamp(slot->ScrollPosition, 0, int(slot->GridColumns.size()) - 1);
        stripColumn_ = slot->GridColumns[std::size_t(stripGridLine_)];
    }
}

const Bank* ReportLayout::ShownSlot() const {
    if (fdx_.SlotIndex < 0 || std::size_t(fdx_.SlotIndex) >= fdx_.ScanSlots.size()) return nullptr;
    return &fdx_.ScanSlots[std::size_t(fdx_.SlotIndex)];
}

bool ReportLayout::DrawRangePicture(int row) {
    const Bank* slot = ShownSlot();
    if (slot == nullptr || !slot->InUse || slot->Step == 0 || slot->GridColumns.empty())
        return true;
    const bool complete = DrawStrip(*slot, row, true, stripGridLine_, stripColumn_);
    return complete || settings_.visible;
}

void ReportLayout::DrawRangePicture2(int row, int slotIndex) {
    if (slotIndex < 0 || std::size_t(slotIndex) >= fdx_.ScanSlots.size()) return;
    const Bank& slot = fdx_.ScanSlots[std::size_t(slotIndex)];
    if (!slot.InUse || slot.Step == 0 || slot.GridColumns.empty()) return;
    int gridLine = std::clamp(slot.ScrollPosition, 0, int(slot.GridColumns.size()) - 1);
    int column = slot.GridColumns[std::size_t(gridLine)];
    DrawStrip(slot, row, false, gridLine, column);
}

// One strip of a range strip (`range`) or a group's picture of a slot from grid line
// `gridLine` at scale column `column`; both are moved on to where the next strip begins.
// True when the range is complete.
bool ReportLayout::DrawStrip(const Bank& slot, int row, bool range, int& gridLine, int& column) {
    const int hs = (range ? 10 : 5) * h_;
    const int x0 = 4 * c_, y0 = row * h_, yb = y0 + hs - h_ - h_ / 2;
    const int printable = width_ - 4 * c_;
    const int64_t step = slot.Step;
    const std::vector<int32_t>& grid = slot.GridColumns;
    const int64_t left = std::max<int64_t>(int64_t{slot.ScaleColumns} - column, 0);
    const int w = int(std::min<int64_t>(left * dot_, printable));
    const int points = w / dot_;
    // A division never counts as less than one step, nor a strip as less than one division.
    const int64_t perDivision = std::max<int64_t>(slot.GridStep / step, 1);
    const int divisions = int(std::max<int64_t>((printable / dot_) / perDivision, 1));
    bool complete = column + points >= int64_t{slot.ScaleColumns};

    SetPen(FramePen());
    Line(x0, y0, x0 + w, y0);
    Line(x0, yb, x0 + w, yb);
    Line(x0, yb + h_ / 4 + 3, x0 + w, yb + h_ / 4 + 3);

    const int first = gridLine, firstColumn = column;
    for (int j = 0; j <= divisions; ++j) {
        const int g = first + j;
        if (g >= int(grid.size())) {
            complete = true;
            break;
        }
        const int x = x0 + (grid[std::size_t(g)] - firstColumn) * dot_;
        if (x > x0 + w) break;
        gridLine = g;
        column = grid[std::size_t(g)];
        const std::string label =
            FormatText("%5.2f", (int64_t{slot.GridStart} + int64_t{g} * slot.GridStep) / 10000.0);
        const int length = int(label.size()) * c_;
        Text(x + length > printable ? x - length : x, y0 + hs - h_ - 2, label);
        Line(x, y0 + hs - h_, x, yb);
        Line(x, y0, x, y0 + h_ / 4);
        if (range && fdx_.ShowGrid) DrawDottedColumns(slot, x, x0 + w, yb);
    }
    // A division wider than the page: the next strip begins at the next grid line.
    if (gridLine == first && !complete) {
        if (first + 1 < int(grid.size())) {
            gridLine = first + 1;
            column = grid[std::size_t(gridLine)];
        } else {
            complete = true;
        }
    }

    DrawLevelScale(x0, yb, w, range ? kStripLabelStep : kGroupLabelStep, range);
    DrawSight(slot, x0, yb, w);
    const int64_t firstPoint =
        (int64_t{slot.FirstScaleFrequency} + firstColumn * step - int64_t{slot.Start}) / step;
    if (DrawCurves(slot, x0, yb, firstPoint, points, !range)) complete = true;
    return complete;
}

// Dotted columns on a grid line and on the four fifths between it and the next, each a column
// of one-dot marks.
void ReportLayout::DrawDottedColumns(const Bank& slot, int x, int right, int yb) {
    const std::vector<int32_t>& grid = slot.GridColumns;
    const int d = grid.size() > 1 ? (grid[1] - grid[0]) / 5 * dot_ : 0;
    const int q = std::max(axis_.Dots(4), 1);
    SetPen(FramePen());
    for (int k = 0; k <= (d > 0 ? 4 : 0); ++k) {
        const int xk = x + k * d;
        if (xk >= right) break;
        for (int t = 0; t < axis_.Dots(kAxisTop); t += q) Line(xk, yb - t - 1, xk, yb - t);
    }
}

void ReportLayout::DrawLevelScale(int x0, int yb, int w, int labelStep, bool dashes) {
    SetPen(FramePen());
    Line(x0, yb, x0, yb - axis_.Dots(kAxisTop));
    for (int level = kAxisTop; level >= 0; level -= labelStep) {
        const int y = yb - axis_.Dots(level);
        Line(x0 - c_, y, x0, y);
        if (dashes && fdx_.ShowGrid && level != 0)
            for (int k = 0; k < w; k += 4 * dot_) Line(x0 + k + dot_, y, x0 + k, y);
        TextIn({0, y + 3, 4 * c_, h_}, LevelLabel(level), ui::HAlign::Left, ui::VAlign::Top);
    }
}

void ReportLayout::DrawSight(const Bank& slot, int x0, int yb, int w) {
    const uint8_t v = slot.SightLevel;
    if (v == 0 || v == 255) return;
    const std::string label =
        fdx_.OptDb ? FormatText("%3.1f", fdx_.LevelToDb(v) / 10.0) : FormatText("%u", unsigned(v));
    const int y = yb - axis_.Dots(AxisPosition(v));
    SetPen(DashedPen());
    Line(x0 - c_ / 2, y, x0 + w, y);
    TextIn({x0 + c_ / 2, y - h_ - 3, 4 * c_, h_}, label, ui::HAlign::Left, ui::VAlign::Top);
}

// The two curves of `points` points from point `firstPoint` (its distance from Fн in steps;
// negative before it): where the kinds are equal one thick polyline, else the main curve as
// dotted columns under the second's thick polyline; the fixed-point runs under the baseline
// and a marker point's line up to the curve. True when the curves reached past Fк.
bool ReportLayout::DrawCurves(const Bank& slot, int x0, int yb, int64_t firstPoint, int points,
                              bool bothEdges) {
    const int64_t step = slot.Step, fn = slot.Start, fk = slot.End;
    const int32_t mainKind = fdx_.MainCurveKind, secondKind = fdx_.SecondCurveKind;
    const bool same = mainKind == secondKind;
    const int top = axis_.Dots(kAxisTop);
    const int d = std::max(axis_.a / axis_.b, 1);
    int previousMain = 0, previousSecond = 0, runStart = -1;
    const auto closeRun = [&](int i) {
        if (runStart < 0) return;
        SetPen(DottedPen());
        Box({x0 + runStart * dot_, yb, (i - runStart) * dot_, h_ / 4});
        runStart = -1;
    };
    for (int i = 0; i < points; ++i) {
        const int64_t point = firstPoint + i, f = fn + point * step;
        const int x = x0 + i * dot_;
        if ((f <= fn && fn < f + step) || (bothEdges && f <= fk && fk < f + step)) {
            SetPen(DashedPen());
            Line(x, yb, x, yb - top);
        }
        if (f > fk) {
            closeRun(i);
            return true;
        }
        const int flags = FlagsOf(slot, point);
        if (point >= 0) {
            if ((flags & kFixedFrequencyPoint) && runStart < 0) runStart = i;
            if (!(flags & kFixedFrequencyPoint) || i == points - 1) closeRun(i);
        }
        const int m = AxisPosition(PointLevel(slot, mainKind, point));
        const int e = AxisPosition(PointLevel(slot, secondKind, point));
        if (i > 0) {
            if (!same) {
                SetPen(ThinPen());
                for (int u = 2 * (m / 2) - (i % 2); u > 0; u -= 2)
                    Line(x, yb - axis_.Dots(u), x, yb - d - axis_.Dots(u));
            }
            SetPen(ThickPen());
            const int before = same ? previousMain : previousSecond, now = same ? m : e;
            Line(x - dot_, yb - axis_.Dots(before), x, yb - axis_.Dots(now));
            if (flags & kStopPoint) Line(x, yb, x, yb - axis_.Dots(now));
        }
        previousMain = m;
        previousSecond = e;
    }
    return false;
}

// ---- the bank

int ReportLayout::SampleCount() const {
    return fdx_.HistoriesAllocated ? std::max(fdx_.MeasurementCapacity, 0) : 0;
}

// The time step of the bank's axis labels, in minutes, from the minute and hour changes across
// the picture and the label slots it has room for; 0 labels nothing.
int ReportLayout::TimeStep(int minuteChanges, int hourChanges, int slots) {
    // Hours change too often for minutes: only the full hours, as also without room for slots.
    if ((hourChanges > 1 && hourChanges > slots / 2) || slots <= 0) return 60;
    double x = double(minuteChanges) / slots;
    int power = 0;
    if (x < 10) {
        // The rounding sets the power: it has to run before the power is read.
        const double factor = OneTwoFive(x, power);
        return int(Scaled(factor, power));
    }
    while (x > 1) {
        x /= 10;
        ++power;
    }
    double factor = 0.3;
    if (x < 0.12)
        factor = 0.1;
    else if (x < 0.18)
        factor = 0.15;
    else if (x < 0.25)
        factor = 0.2;
    else
        ++power;
    return int(Scaled(factor, power));
}

bool ReportLayout::DrawAxisPicture(int row) {
    const int channels = std::clamp(fdx_.ChannelCount, 0, int(fdx_.Channels.size()));
    const int samples = SampleCount();
    const int first = std::max(bankChannel_, 0);
    if (first >= channels) return true;
    const int t0 = std::clamp(fdx_.BankChartFirst, 0, std::max(samples - 1, 0));
    const int n = std::min((linesPerPage_ - row - 1) / 3, channels - first);
    const int printable = width_ - 4 * c_;
    int w = (samples - t0) * dot_;
    if (w + 15 * c_ > printable) w = printable - 15 * c_;
    if (w < 20 * c_ && 35 * c_ < printable) w = 20 * c_;
    w = std::max(w, 0);
    const int columns = w / dot_;
    const int x0 = 15 * c_, y0 = (row + 1) * h_;

    SetPen(ThinPen());
    Line(0, y0, x0 + w, y0);

    // Hour and minute of each column's sample.
    std::vector<std::pair<int, int>> times(static_cast<std::size_t>(columns));
    int minuteChanges = 0, hourChanges = 0;
    for (int i = 0; i < columns; ++i) {
        fdx_.MeasurementTime(t0 + i);
        times[std::size_t(i)] = {fdx_.MeasurementStamp[3], fdx_.MeasurementStamp[4]};
        if (i == 0) continue;
        minuteChanges += times[std::size_t(i)].second != times[std::size_t(i - 1)].second;
        hourChanges += times[std::size_t(i)].first != times[std::size_t(i - 1)].first;
    }
    const int timeStep = TimeStep(minuteChanges, hourChanges, w / (10 * c_));
    for (int i = 1; i < columns; ++i) {
        const auto [hour, minute] = times[std::size_t(i)];
        if (times[std::size_t(i)] == times[std::size_t(i - 1)]) continue;
        const int x = x0 + i * dot_;
        const bool labelled = timeStep != 0 && minute % timeStep == 0;
        if (labelled)
            TextIn({x + 3 * c_ >= printable ? printable - 6 * c_ : x - 3 * c_, y0 - h_, 6 * c_, h_},
                   FormatText("%02d:%02d", hour, minute), ui::HAlign::Center);
        SetPen(labelled ? ThickPen() : ThinPen());
        for (int j = 0; j <= n; ++j) Line(x, y0 + 3 * h_ * j + h_ / 8, x, y0 + 3 * h_ * j - h_ / 8);
    }

    SetPen(ThinPen());
    bool complete = false;
    for (int k = 0; k < n; ++k) {
        const int channel = first + k;
        complete = channel == channels - 1;
        const int top = y0 + 3 * h_ * k, yb = y0 + 3 * h_ * (k + 1);
        Line(0, top, 0, yb);
        Line(x0, top, x0, yb);
        TextIn({0, y0 + (3 * k + 1) * h_, x0, h_},
               FormatText("%9.4f", fdx_.Channels[std::size_t(channel)].Frequency / 10000.0),
               ui::HAlign::Center);
        for (int level : kBankTicks)
            Line(x0 - c_ / 4, yb - axis_.Dots(level), x0, yb - axis_.Dots(level));
        Line(0, yb, x0 + w, yb);
        const std::vector<uint8_t>* history = std::size_t(channel) < fdx_.ChannelLevels.size()
                                                  ? &fdx_.ChannelLevels[std::size_t(channel)]
                                                  : nullptr;
        int previous = 0;
        for (int i = 0; i < columns && t0 + i < samples; ++i) {
            const std::size_t at = std::size_t(t0 + i);
            const int v = history != nullptr && at < history->size() ? (*history)[at] : 0;
            if (i > 0) Line(x0 + (i - 1) * dot_, yb - previous, x0 + i * dot_, yb - axis_.Dots(v));
            previous = axis_.Dots(v);
        }
    }
    bankChannel_ = first + std::max(n, 0);
    return complete || settings_.visible;
}

// ---- the receiver's band scope

bool ReportLayout::DrawBandPicture(int row) {
    int present = 0, firstBlock = -1;
    for (std::size_t b = 0; b < fdx_.ScopeBlocks.size(); ++b)
        if (fdx_.ScopeBlocks[b]) {
            ++present;
            if (firstBlock < 0) firstBlock = int(b);
        }
    if (present == 0) return true;
    const int count = 16 * present, firstPoint = 16 * firstBlock;
    const int printable = width_ - 4 * c_;
    const int pointWidth = std::max((printable - printable / 8) / count, 1);
    const int freeHeight = (linesPerPage_ - row - 2) * h_;
    const std::optional<AxisFit> fit = FitLevelAxis(freeHeight, h_);
    if (!fit) return false;
    axis_ = *fit;
    const int x0 = 4 * c_, y0 = row * h_, yb = y0 + freeHeight - h_ - h_ / 2;
    const int w = count * pointWidth, top = axis_.Dots(kAxisTop);
    const int64_t step = std::max<uint32_t>(fdx_.ScopeStep, 1);
    const auto offsetOf = [&](int p) { return (p - count / 2) * step; };

    SetPen(FramePen());
    Line(x0, yb, x0 + w, yb);
    Line(x0, yb, x0, yb - top);
    for (int level = kAxisTop; level >= 0; level -= 32) {
        const int y = yb - axis_.Dots(level);
        Line(x0, y, x0 + w, y);
        TextIn({0, y - h_ / 2, 4 * c_, h_},
               fdx_.OptDb ? FormatText("%3.1f", fdx_.LevelToDb(uint32_t(level)) / 10.0)
                          : FormatText("%d", level));
    }

    int power = 0;
    const double factor = OneTwoFive(double(step) * count / 6, power);
    const int64_t gridStep = std::max<int64_t>(Scaled(factor, power), 1);
    const int64_t halfSpan = fdx_.ScopeSpan / 2;
    for (int p = 0; p < count; ++p) {
        const int64_t offset = offsetOf(p);
        const int x = x0 + p * pointWidth;
        const bool crosses =
            offset % gridStep == 0 ||
            (p > 0 && FloorDiv(offset, gridStep) != FloorDiv(offsetOf(p - 1), gridStep));
        if (crosses) {
            const int64_t line = FloorDiv(offset, gridStep) * gridStep;
            const int64_t size = std::abs(line);
            const std::string label = FormatText("%5.2f", size > 1000000 ? line / 10000000.0
                                                          : size > 1000  ? line / 10000.0
                                                                         : line / 10.0);
            const int length = int(label.size()) * c_;
            SetPen(DottedPen());
            Line(x, yb, x, yb - top);
            Text(x + length > printable ? x - length : x, yb + 3, label);
        }
        for (const int64_t edge : {-halfSpan, halfSpan})
            if (p > 0 && offsetOf(p - 1) < edge && edge <= offset) {
                SetPen(DashedPen());
                Line(x, yb, x, yb - top);
            }
    }

    SetPen(ThickPen());
    int previous = 0;
    for (int p = 0; p < count; ++p) {
        const int level = AxisPosition(fdx_.ScopeLevels[std::size_t((firstPoint + p) & 255)]);
        const int x = x0 + p * pointWidth + pointWidth / 2;
        if (p > 0) Line(x - pointWidth, yb - previous, x, yb - axis_.Dots(level));
        previous = axis_.Dots(level);
    }
    return true;
}
