#include "windows/range_view.h"

#include <algorithm>
#include <cstdlib>

#include "state/fdx.h"
#include "state/format_text.h"
#include "state/user_dp.h"
#include "windows/range_analysis.h"
#include "windows/range_layout.h"

namespace {

using namespace range_colors;

// Rows, counted up from the picture's bottom (H − n).
constexpr int kBaselineRow = 19;     // the curves' baseline
constexpr int kColumnTopRow = 149;   // the highest pixel of a curve column and of the cursor
constexpr int kEdgeTopRow = 147;     // the top of a range-edge line
constexpr int kUpperFrameRow = 153;  // frame lines
constexpr int kLowerFrameRows[] = {18, 15};
constexpr int kFixedMarkRows[] = {17, 16};  // the two rows of fixed-point marks
constexpr int kUpperTickRow = 150;          // a grid line's tick under the upper frame
constexpr int kLowerTickRows[] = {18, 13};  // ... and over its label
constexpr int kLabelRow = 14;               // top of a grid line's frequency
constexpr int kSelectionRow = 150;          // top of the selection's rectangle
constexpr int kSelectionHeight = 132;
constexpr int kGridTopRow = 149;  // the grid's vertical dots run from row 18 up to here
constexpr int kGridBottomRow = 18;
constexpr int kGridDotSpacing = 4;
// The horizontal grid lines stand every 32 raw levels (16 pixels) above the baseline.
constexpr int kLevelGridLines = 8;
constexpr int kLevelGridSpacing = 16;
// The readouts along the top.
constexpr int kReadoutTop = 4;
constexpr int kReadoutHeight = 14;
constexpr int kReadoutMargin = 10;  // between a readout and the picture's side

ui::Pen Dotted(ui::Color color) {
    return {color, 1, ui::PenStyle::Dot};
}

}  // namespace

std::string SelectionReadout(const FDX& fdx, const Bank& slot) {
    const int64_t start = fdx.SelectionStart, end = fdx.SelectionEnd;
    const auto level = [&](int64_t f) {
        return slot.Step == 0 ? 0
                              : PointLevel(slot, fdx.MainCurveKind,
                                           (f - int64_t{slot.Start}) / int64_t{slot.Step});
    };
    const int32_t a = level(start), b = level(end);
    const double centre = double(start + end) / 20000.0;
    const double width = double(std::abs(end - start)) / 10.0;
    if (fdx.OptDb) {
        const int32_t difference =
            std::abs(fdx.LevelToDb(uint32_t(a)) - fdx.LevelToDb(uint32_t(b)));
        return FormatText("dU=%-3.1f  Fc=%-8.4f  dF=%-11.1f", difference / 10.0, centre, width);
    }
    return FormatText("dU=%u  Fc=%-8.4f  dF=%-11.1f", unsigned(std::abs(a - b)), centre, width);
}

std::string ThresholdReadout(const FDX& fdx, const Bank& slot) {
    const UserDp* range = slot.Range;
    if (range != nullptr && range->Marker) return "порог=визиру";
    const uint32_t level = range != nullptr ? range->Level : 0;
    if (fdx.OptDb) return FormatText("порог=%3.1f дБ", fdx.LevelToDb(level) / 10.0);
    return FormatText("порог=%u ед", unsigned(level));
}

std::string SightReadout(const FDX& fdx, const Bank& slot) {
    if (fdx.OptDb) return FormatText("визир=%3.1f дБ", fdx.LevelToDb(slot.SightLevel) / 10.0);
    return FormatText("визир=%u ед", unsigned(slot.SightLevel));
}

struct RangeView::Column {
    bool edge = false;     // the column holds Fн or Fк
    bool inRange = false;  // a point of the range
    bool fixed = false;
    bool marker = false;
    bool second = false;  // the second curve is drawn
    int main = 0;         // pixels of the main curve
    int secondLevel = 0;  // pixels of the second curve
};

RangeView::RangeView(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), picture_(width_, height_) {
    picture_.Draw().FillRect({0, 0, width_, height_}, kBackground);
}

int RangeView::AxisLevel(const FDX& fdx, int32_t raw) const {
    return fdx.OptLg ? fdx.LevelAxisAt(raw) : raw;
}

int64_t RangeView::FrequencyAt(const Bank& slot, int x) const {
    return int64_t{slot.VisibleLow} + int64_t{x} * slot.Step;
}

int RangeView::ColumnOf(const Bank& slot, int64_t f) const {
    if (slot.Step == 0 || f < int64_t{slot.VisibleLow} || f > int64_t{slot.VisibleHigh}) return -1;
    const int64_t x = (f - int64_t{slot.VisibleLow}) / slot.Step;
    return x < width_ ? int(x) : -1;
}

int RangeView::DrawnColumns(const Bank& slot) const {
    if (slot.Step == 0 || slot.End < slot.VisibleLow) return 0;
    return int(std::min<int64_t>((int64_t{slot.End} - slot.VisibleLow) / slot.Step + 1, width_));
}

RangeView::Column RangeView::ColumnAt(const FDX& fdx, const Bank& slot, int x) const {
    Column c;
    if (!slot.InUse || slot.Step == 0 || slot.End < slot.Start) return c;
    const int64_t step = slot.Step;
    // The visible frequencies lie a whole number of steps from Fн, so the division is exact
    // also for the columns before it.
    const int64_t k = (int64_t{slot.VisibleLow} - int64_t{slot.Start}) / step + x;
    const int64_t last = (int64_t{slot.End} - int64_t{slot.Start}) / step;
    c.edge = k == 0 || k == last;
    if (k < 0 || k > last) return c;
    c.inRange = true;
    if (k <= LastPoint(slot)) {
        const uint8_t flags = slot.Flags[std::size_t(k + 1)];
        c.fixed = flags & kFixedFrequencyPoint;
        c.marker = flags & kStopPoint;
    }
    c.main = AxisLevel(fdx, PointLevel(slot, fdx.MainCurveKind, k)) / 2;
    c.second = fdx.SecondCurveKind != fdx.MainCurveKind;
    c.secondLevel =
        c.second ? AxisLevel(fdx, PointLevel(slot, fdx.SecondCurveKind, k)) / 2 : c.main;
    return c;
}

// Where both curves stand the main curve is solid; where it rises above the second curve its
// pixels alternate with the column's parity, so that neighbouring columns interleave and the
// second curve's own part (dark green) stays in sight where it is the higher.
void RangeView::DrawColumn(ui::Painter& p, ui::Point at, int x, const Column& c) {
    const int column = at.x + x;
    const int base = at.y + Baseline();
    const int top = at.y + height_ - kColumnTopRow;
    p.FillRect({column, top, 1, base - top + 1}, kBackground);
    if (c.edge) {
        p.SetPen(Dotted(kRangeEdge));
        p.Line(column, base, column, at.y + height_ - kEdgeTopRow);
    }
    if (!c.inRange) return;
    if (c.marker) {
        if (c.main > 0) p.Line(column, base, column, base - c.main + 1, kPoint);
        if (base - c.main >= top) p.Line(column, base - c.main, column, top, kMarkerTop);
        return;
    }
    if (c.second && c.secondLevel > 0)
        p.Line(column, base, column, base - c.secondLevel + 1, kSecondCurve);
    const int solid = std::min(c.main, c.secondLevel);
    if (solid > 0) p.Line(column, base, column, base - solid + 1, kMainCurve);
    if (c.main > solid) {
        int y = base - c.main + 1;
        if (((y - at.y) ^ x) & 1) ++y;
        if (y <= base - solid) {
            p.SetPen(Dotted(kMainCurve));
            p.Line(column, y, column, base - solid);
        }
    }
}

void RangeView::DrawScale(const FDX& fdx, Bank& slot) {
    ui::Painter& p = picture_.Draw();
    p.FillRect({0, 0, width_, height_}, kBackground);
    selectionFrom_ = 0;
    selectionTo_ = -1;
    if (!slot.InUse || slot.Step == 0 || slot.GridColumns.empty()) return;

    const int64_t step = slot.Step;
    const int lines = int(slot.GridColumns.size());
    const int scroll = std::clamp(slot.ScrollPosition, 0, lines - 1);
    const int64_t firstColumn = slot.GridColumns[std::size_t(scroll)];
    const VisibleSpan span = VisibleSpanOf(slot, width_);
    slot.VisibleLow = span.low;
    slot.VisibleHigh = span.high;

    for (int row : {kUpperFrameRow, kLowerFrameRows[0], kLowerFrameRows[1]})
        p.Line(0, height_ - row, width_ - 1, height_ - row, kFrame);
    p.SetTextColor(kFrame);
    // A label stands right of its grid line, pulled inside at the picture's right edge; one
    // that would come nearer than a digit's width to the label before it is left out.
    const int labelGap = p.TextWidth("0");
    int labelsEnd = -labelGap;
    for (int i = scroll; i < lines; ++i) {
        const int x = int(slot.GridColumns[std::size_t(i)] - firstColumn);
        if (x >= width_) break;
        const double mhz = (int64_t{slot.GridStart} + int64_t{i} * slot.GridStep) / 10000.0;
        const std::string label = FormatText("%5.2f", mhz);
        const int labelWidth = p.TextWidth(label);
        const int textX = std::max(0, std::min(x + 2, width_ - labelWidth));
        if (textX >= labelsEnd + labelGap) {
            p.Text(textX, height_ - kLabelRow, label);
            labelsEnd = textX + labelWidth;
        }
        p.Line(x, height_ - kLowerTickRows[1], x, height_ - kLowerTickRows[0], kFrame);
        p.Line(x, height_ - kUpperFrameRow, x, height_ - kUpperTickRow, kFrame);
    }

    const int columns = DrawnColumns(slot);
    int runStart = -1;
    for (int x = 0; x <= columns; ++x) {
        const Column c = x < columns ? ColumnAt(fdx, slot, x) : Column{};
        if (x < columns) DrawColumn(p, {0, 0}, x, c);
        if (c.fixed && runStart < 0) runStart = x;
        if (!c.fixed && runStart >= 0) {
            for (int row : kFixedMarkRows)
                p.Line(runStart, height_ - row, x - 1, height_ - row, kPoint);
            runStart = -1;
        }
    }

    const int64_t start = fdx.SelectionStart, end = fdx.SelectionEnd;
    const int64_t fn = slot.Start, fk = slot.End;
    if (start >= 0 && end >= 0 && start >= fn && start < fk && end > fn && end <= fk &&
        end >= int64_t{slot.VisibleLow} && start <= int64_t{slot.VisibleHigh}) {
        selectionFrom_ = int(std::max<int64_t>((start - int64_t{slot.VisibleLow}) / step, 0));
        selectionTo_ = int(std::min<int64_t>((end - int64_t{slot.VisibleLow}) / step, width_ - 1));
        const ui::DrawState saved = p.Save();
        p.SetDrawMode(ui::DrawMode::Invert);
        p.FillRect({selectionFrom_, height_ - kSelectionRow, selectionTo_ - selectionFrom_ + 1,
                    kSelectionHeight},
                   kBackground);
        p.Restore(saved);

        const ui::Rect box{width_ / 4, kReadoutTop, width_ / 2, kReadoutHeight};
        p.FillRect(box, kBackground);
        p.SetTextColor(kFrame);
        p.TextInRect(box, SelectionReadout(fdx, slot), ui::HAlign::Center, ui::VAlign::Middle);
    }
    DrawReadouts(fdx, slot);
}

void RangeView::DrawReadouts(const FDX& fdx, const Bank& slot) {
    if (!slot.InUse) return;
    ui::Painter& p = picture_.Draw();
    const int quarter = width_ / 4;
    const ui::Rect threshold{kReadoutMargin, kReadoutTop, quarter, kReadoutHeight};
    const ui::Rect sight{width_ - quarter, kReadoutTop, quarter - kReadoutMargin, kReadoutHeight};
    p.FillRect(threshold, kBackground);
    p.FillRect(sight, kBackground);
    p.SetTextColor(kThresholdText);
    p.TextInRect(threshold, ThresholdReadout(fdx, slot), ui::HAlign::Left, ui::VAlign::Middle);
    p.SetTextColor(kSightText);
    p.TextInRect(sight, SightReadout(fdx, slot), ui::HAlign::Right, ui::VAlign::Middle);
}

void RangeView::DrawSightAcross(ui::Painter& p, ui::Point at, const FDX& fdx, const Bank& slot,
                                int from, int to) {
    if (!slot.InUse || from > to) return;
    const int y = at.y + Baseline() - AxisLevel(fdx, slot.SightLevel) / 2;
    p.Line(at.x + from, y, at.x + to, y, kSight);
}

// The grid pixels of columns from .. to: dots every four pixels, vertical ones on each grid
// line in view and four between it and the next, horizontal ones every 32 raw levels.
void RangeView::DrawGrid(ui::Painter& p, ui::Point at, const Bank& slot, int from, int to) {
    if (!slot.InUse || slot.GridColumns.empty()) return;
    from = std::max(from, 0);
    to = std::min(to, width_ - 1);
    const int lines = int(slot.GridColumns.size());
    const int scroll = std::clamp(slot.ScrollPosition, 0, lines - 1);
    const int last = slot.Scrolls ? std::min(lines - 1, scroll + slot.PageSize) : lines - 1;
    const int first = slot.Scrolls ? scroll : 0;
    const int division = lines > 1 ? (slot.GridColumns[1] - slot.GridColumns[0]) / 5 : 0;
    const int64_t origin = slot.GridColumns[std::size_t(scroll)];
    for (int i = first; i <= last; ++i) {
        const int64_t line = slot.GridColumns[std::size_t(i)] - origin;
        for (int part = 0; part < (division > 0 ? 5 : 1); ++part) {
            const int64_t x = line + int64_t{part} * division;
            if (x < from || x > to) continue;
            for (int row = kGridBottomRow; row <= kGridTopRow; row += kGridDotSpacing)
                p.SetPixel(at.x + int(x), at.y + height_ - row, kGrid);
        }
    }
    const int firstDot = (from + kGridDotSpacing - 1) / kGridDotSpacing * kGridDotSpacing;
    for (int j = 1; j <= kLevelGridLines; ++j) {
        const int y = at.y + Baseline() - j * kLevelGridSpacing;
        for (int x = firstDot; x <= to; x += kGridDotSpacing) p.SetPixel(at.x + x, y, kGrid);
    }
}

void RangeView::Show(ui::Picture& shared, ui::Point at, const FDX& fdx, const Bank& slot, bool grid,
                     int64_t cursor) {
    ui::Painter& p = shared.Draw();
    p.Copy(picture_, {0, 0, width_, height_}, at.x, at.y);
    cursorColumn_ = -1;  // the copy took the cursor away
    DrawSightAcross(p, at, fdx, slot, 0, width_ - 1);
    if (grid) DrawGrid(p, at, slot, 0, width_ - 1);
    DrawCursor(&shared, at, fdx, slot, grid, cursor);
}

void RangeView::RenewColumn(ui::Picture* shared, ui::Point at, const FDX& fdx, const Bank& slot,
                            bool grid, int x) {
    const Column c = ColumnAt(fdx, slot, x);
    const bool selected = x >= selectionFrom_ && x <= selectionTo_;
    const auto draw = [&](ui::Painter& p, ui::Point origin) {
        DrawColumn(p, origin, x, c);
        if (!selected) return;
        // The selection's rectangle is inverted over the column's curves.
        const ui::DrawState saved = p.Save();
        p.SetDrawMode(ui::DrawMode::Invert);
        const int top = origin.y + height_ - kColumnTopRow;
        p.FillRect({origin.x + x, top, 1, origin.y + Baseline() - top + 1}, kBackground);
        p.Restore(saved);
    };
    draw(picture_.Draw(), {0, 0});
    if (shared == nullptr) return;
    ui::Painter& p = shared->Draw();
    draw(p, at);
    DrawSightAcross(p, at, fdx, slot, x, x);
    if (grid) DrawGrid(p, at, slot, x, x);
}

void RangeView::DrawCursor(ui::Picture* shared, ui::Point at, const FDX& fdx, const Bank& slot,
                           bool grid, int64_t cursor) {
    if (!slot.InUse) return;
    if (cursorColumn_ >= 0) RenewColumn(shared, at, fdx, slot, grid, cursorColumn_);
    cursorColumn_ = -1;
    const int x = ColumnOf(slot, cursor);
    if (x < 0 || shared == nullptr) return;

    // Only a frequency strictly inside the range shows its level: the cursor on an edge stands
    // at level 0 over the range-edge line.
    int level = 0;
    bool marker = false;
    const int64_t fn = slot.Start, fk = slot.End;
    if (cursor > fn && cursor < fk) {
        const int64_t k = (cursor - fn) / slot.Step;
        level = PointLevel(slot, fdx.MainCurveKind, k);
        marker = k <= LastPoint(slot) && (slot.Flags[std::size_t(k + 1)] & kStopPoint);
    }
    const int height = AxisLevel(fdx, level) / 2;
    ui::Painter& p = shared->Draw();
    const int column = at.x + x;
    const int base = at.y + Baseline();
    const int top = at.y + height_ - kColumnTopRow;
    if (height > 0) p.Line(column, base, column, base - height + 1, kCursorLevel);
    if (base - height >= top)
        p.Line(column, base - height, column, top, marker ? kCursorMarker : kCursorTop);
    cursorColumn_ = x;
}
