#include "receivers/level_scale.h"

#include <algorithm>
#include <cstdlib>

void LevelScale::Allocate(uint32_t upperLimit) {
    cells_.assign(static_cast<std::size_t>(upperLimit / kCellWidth) + 1, 0);
    ScaleFrequency = 0;
    PeakLevel = 0;
}

void LevelScale::Free() {
    cells_.clear();
    cells_.shrink_to_fit();
}

void LevelScale::Resize(uint32_t upperLimit) {
    cells_.resize(static_cast<std::size_t>(upperLimit / kCellWidth) + 1, 0);
    if (IndexOf(ScaleFrequency) < 0) ScaleFrequency = 0;
}

int64_t LevelScale::IndexOf(int64_t frequency) const {
    if (frequency < 0) return -1;
    const int64_t index = frequency / kCellWidth;
    return index < static_cast<int64_t>(cells_.size()) ? index : -1;
}

uint8_t LevelScale::Cell(int64_t index) const {
    if (index < 0 || index >= static_cast<int64_t>(cells_.size())) return 0;
    return cells_[static_cast<std::size_t>(index)];
}

void LevelScale::SetCell(int64_t index, uint8_t value) {
    if (index < 0 || index >= static_cast<int64_t>(cells_.size())) return;
    cells_[static_cast<std::size_t>(index)] = value;
}

void LevelScale::Measure(int64_t frequency, int level) {
    if (IndexOf(frequency) < 0) return;
    if (LimitTo254 && level >= 255) level = 254;
    const auto value = static_cast<uint8_t>(std::clamp(level, 0, 255));

    if (ScaleFrequency != 0) {
        const int64_t distance =
            frequency > ScaleFrequency ? frequency - ScaleFrequency : ScaleFrequency - frequency;
        if (distance <= FillWindow / 4) {
            const uint8_t fill = std::max(At(ScaleFrequency), value);
            const int64_t step = frequency > ScaleFrequency ? kCellWidth : -kCellWidth;
            for (int64_t c = ScaleFrequency + step; step > 0 ? c < frequency : c > frequency;
                 c += step)
                SetCell(IndexOf(c), fill);
        }
    }
    SetCell(IndexOf(frequency), value);
    ScaleFrequency = frequency;
    PeakLevel = std::max<int32_t>(PeakLevel, value);
}

void LevelScale::Clear() {
    std::fill(cells_.begin(), cells_.end(), uint8_t{0});
    ScaleFrequency = 0;
    PeakLevel = 0;
}

int64_t LevelScale::FindPeak(int64_t frequency, bool right, int64_t lower, int64_t upper) const {
    const int64_t start = right ? frequency + FillWindow : frequency - FillWindow;
    if (start < lower || start > upper || cells_.empty()) return -1;
    // The first and the last cell stand outside every mean: the last one is the cell of the
    // upper limit itself.
    const int64_t last = static_cast<int64_t>(cells_.size()) - 1;
    const int64_t half = FillWindow / 200;

    const int64_t bestFrequency = HighestHill({.from = start / kCellWidth,
                                               .to = right ? last : 1,
                                               .right = right,
                                               .halfSpan = half,
                                               .lastInMean = last - 1,
                                               .threshold = PeakLevel / 20,
                                               .reach = FillWindow,
                                               .footWhereRiseBegan = false});
    if (bestFrequency < 0) return -1;
    // The mean takes unmeasured cells as 0, so a carrier at the edge of a measured stretch
    // puts the middle of its hill up to half a mean away, on the noise beside it. The peak is
    // the strongest cell the mean saw there (the middle itself when it is that strong). The
    // fill between measurements spreads a carrier to both sides, one cell less above it (the
    // next measurement takes that cell), so of a run of equal cells the middle one, rounded up.
    const int64_t middle = bestFrequency / kCellWidth;
    const auto inReach = [&](int64_t c) { return c >= 1 && c < last; };
    int64_t strongest = middle;
    for (int64_t d = 1; d <= half; ++d)
        for (const int64_t c : {middle - d, middle + d})
            if (inReach(c) && Cell(c) > Cell(strongest)) strongest = c;
    if (Cell(strongest) == Cell(middle)) return bestFrequency;
    int64_t low = strongest, high = strongest;
    while (inReach(low - 1) && Cell(low - 1) == Cell(strongest)) --low;
    while (inReach(high + 1) && Cell(high + 1) == Cell(strongest)) ++high;
    return (low + high + 1) / 2 * kCellWidth;
}

int64_t LevelScale::HighestHill(const HillWalk& walk) const {
    const auto mean = [&](int64_t c) {
        int64_t sum = 0;
        int64_t count = 0;
        for (int64_t i = std::max<int64_t>(c - walk.halfSpan, 1);
             i <= std::min(c + walk.halfSpan, walk.lastInMean); ++i) {
            sum += Cell(i);
            ++count;
        }
        return count > 0 ? sum / count : 0;
    };
    const int64_t step = walk.right ? 1 : -1;
    int64_t lowest = 0, highest = 0;
    int64_t previous = -1, previousCell = -1;
    int64_t foot = -1;
    int64_t best = -1, middle = -1;
    for (int64_t c = walk.from; walk.right ? c <= walk.to : c >= walk.to; c += step) {
        if (middle >= 0 && std::abs(c * kCellWidth - middle) > walk.reach) break;
        if (Cell(c) == 0) continue;
        const int64_t value = mean(c);
        if (previous < 0) {
            lowest = highest = value;
        } else {
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
            if (value > previous) {
                if (!walk.footWhereRiseBegan || foot < 0) foot = previousCell;
            } else if (value < previous) {
                if (foot >= 0 && highest - lowest > walk.threshold && previous > best) {
                    best = previous;
                    middle = (foot + previousCell) * (kCellWidth / 2);
                }
                if (walk.footWhereRiseBegan) foot = -1;
            }
        }
        previous = value;
        previousCell = c;
    }
    return middle;
}
