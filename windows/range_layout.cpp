#include "windows/range_layout.h"

#include <algorithm>

namespace {

// A range that would end below its start gets this span (1 MHz).
constexpr int64_t kDefaultSpan = 10000;

}  // namespace

uint32_t GridStepFor(int width, uint32_t step) {
    // A fifth of the picture's span, x, is brought to 0.1 < x ≤ 1 times a power of ten and
    // rounded to 0.1, 0.2, 0.5 or 1 of it; compared in whole numbers so that a span of exactly
    // 0.2 or 1 of a power gives that power's multiple.
    const int64_t span = int64_t{std::max(width, 0) / 5} * step;
    int64_t power = 1;
    while (span > power) power *= 10;
    int64_t grid = power;
    if (span * 100 < 15 * power)
        grid = power / 10;
    else if (span * 100 < 35 * power)
        grid = 2 * power / 10;
    else if (span * 100 < 85 * power)
        grid = 5 * power / 10;
    return uint32_t(std::clamp<int64_t>(grid, step, UINT32_MAX));
}

LayoutResult LayoutScale(Bank& slot, const LayoutLimits& limits, int width) {
    LayoutResult result;
    if (slot.Step < 1) slot.Step = limits.defaultStep;
    if (slot.Step < 1) return result;
    if (slot.Bandwidth < 1) slot.Bandwidth = limits.defaultBandwidth;
    const int64_t step = slot.Step;

    // The range stays within the receiver: an Fн above its highest frequency comes down first,
    // so that a range made to end above its start does not lie beyond the receiver either.
    const int64_t lowest = limits.lowest;
    const int64_t highest = std::max(limits.highest, limits.lowest);
    const int64_t fn = std::clamp<int64_t>(slot.Start, lowest, highest);
    int64_t fk = std::min<int64_t>(slot.End, highest);
    if (fk < fn) fk = std::min(fn + kDefaultSpan, highest);

    const int64_t grid = GridStepFor(width, slot.Step);
    const int64_t gridStart = fn / grid * grid;
    int64_t gridEnd = fk / grid * grid;
    if (gridEnd != fk) gridEnd += grid;

    // Whole steps down from Fн to the first grid line, never below frequency 0.
    const int64_t below =
        fn > gridStart ? std::min((fn - gridStart + step - 1) / step, fn / step) : 0;
    const int64_t first = fn - below * step;
    int64_t columns = (gridEnd - first) / step + 1;
    if (columns >= int64_t{kScaleColumnLimit}) {
        // The columns stop at the limit. The range is cut only when they stop short of Fк: the
        // columns past it up to the last grid line never lengthen it.
        columns = kScaleColumnLimit - 1;
        const int64_t reached = first + (columns - 1) * step;
        gridEnd = reached / grid * grid;
        if (fk > reached) {
            fk = reached;
            result.cut = true;
        }
    }

    slot.GridColumns.clear();
    for (int64_t line = gridStart; line <= gridEnd; line += grid) {
        // A grid line below the scale's first column (a range near frequency 0) stands at it.
        const int64_t column = line >= first ? (line - first) / step : 0;
        if (column >= columns) break;
        slot.GridColumns.push_back(int32_t(column));
    }
    const int64_t lines = int64_t(slot.GridColumns.size());

    slot.Start = uint32_t(fn);
    slot.End = uint32_t(fk);
    slot.GridStep = uint32_t(grid);
    slot.GridStart = uint32_t(gridStart);
    slot.GridEnd = uint32_t(gridEnd);
    slot.FirstScaleFrequency = uint32_t(first);
    slot.StepsBelowStart = uint32_t(below);
    slot.ScaleColumns = uint32_t(columns);
    slot.Scrolls = columns > width;
    slot.LineSize = 1;
    const int64_t columnsPerDivision = std::max<int64_t>(grid / step, 1);
    slot.PageSize =
        slot.Scrolls ? int32_t(std::max<int64_t>(width / columnsPerDivision, 1)) : int32_t(lines);
    int64_t maximum = slot.Scrolls ? std::max<int64_t>(lines - slot.PageSize - 1, 0) : 0;
    // Scrolled to its end the scale shows its last column, also when a cut left it short of
    // a grid line past Fк.
    while (slot.Scrolls && maximum < lines - 1 &&
           slot.GridColumns[std::size_t(maximum)] + int64_t{width} < columns)
        ++maximum;
    slot.ScrollMaximum = int32_t(maximum);
    slot.ScrollPosition = 0;
    slot.ThresholdPosition = 0;
    slot.SightLevel = 255;
    slot.CycleCount = 0;
    slot.PointCount = uint32_t(slot.RangeCells());
    result.laidOut = true;
    return result;
}

VisibleSpan VisibleSpanOf(const Bank& slot, int width) {
    if (slot.Step == 0 || slot.GridColumns.empty()) return {};
    const int lines = int(slot.GridColumns.size());
    const int scroll = std::clamp(slot.ScrollPosition, 0, lines - 1);
    const int64_t low = int64_t{slot.FirstScaleFrequency} +
                        slot.GridColumns[std::size_t(scroll)] * int64_t{slot.Step};
    const int64_t high = low + int64_t{std::max(width, 1) - 1} * slot.Step;
    return {uint32_t(std::min<int64_t>(low, UINT32_MAX)),
            uint32_t(std::min<int64_t>(high, UINT32_MAX))};
}
