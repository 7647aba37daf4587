#include "receivers/level_scale.h"

#include <algorithm>

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
    const auto smoothed = [&](int64_t c) -> int64_t {
        int64_t sum = 0;
        int64_t count = 0;
        for (int64_t i = std::max<int64_t>(c - half, 1); i <= std::min(c + half, last - 1); ++i) {
            sum += cells_[static_cast<std::size_t>(i)];
            ++count;
        }
        return count > 0 ? sum / count : 0;
    };

    const int64_t threshold = PeakLevel / 20;
    const int64_t step = right ? 1 : -1;
    const int64_t end = right ? last : 1;
    int64_t lowest = 0, highest = 0;
    int64_t previous = -1, previousCell = -1;
    int64_t rise = -1;
    int64_t best = -1, bestFrequency = -1;
    for (int64_t c = start / kCellWidth; right ? c <= end : c >= end; c += step) {
        if (bestFrequency >= 0) {
            const int64_t distance = c * kCellWidth - bestFrequency;
            if ((distance < 0 ? -distance : distance) > FillWindow) break;
        }
        if (Cell(c) == 0) continue;
        const int64_t value = smoothed(c);
        if (previous < 0) {
            lowest = highest = value;
        } else {
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
            if (value > previous) {
                rise = previousCell;
            } else if (value < previous && rise >= 0 && highest - lowest > threshold &&
                       previous > best) {
                best = previous;
                bestFrequency = (rise + previousCell) * (kCellWidth / 2);
            }
        }
        previous = value;
        previousCell = c;
    }
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
