#include "windows/range_analysis.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <utility>

#include "state/fdx.h"
#include "state/user_dp.h"
#include "state/user_sc.h"

namespace {

// The range window calls the scan's stop point its marker.
constexpr uint8_t kMarkerPoint = kStopPoint;

// The slot's level arrays by curve kind.
constexpr std::array<std::vector<uint8_t> Bank::*, 6> kCurveArrays = {
    &Bank::Current, &Bank::Minimum, &Bank::Average, &Bank::Maximum, &Bank::Etalon, &Bank::Processed,
};

// Cell of point k (see the header): where the scan stored the level of Fн + k × step.
constexpr int64_t pointCell(int64_t k) {
    return k + 1;
}

// The same, or -1 when the slot does not hold point k.
int64_t cellOf(const Bank& slot, int64_t k) {
    return k < 0 || k > LastPoint(slot) ? -1 : pointCell(k);
}

uint8_t flagsAt(const Bank& slot, int64_t k) {
    const int64_t cell = cellOf(slot, k);
    return cell >= 0 && std::size_t(cell) < slot.Flags.size() ? slot.Flags[std::size_t(cell)] : 0;
}

// Point of frequency f counted from Fн; f must not lie below Fн and the step must not be 0.
int64_t pointOf(const Bank& slot, int64_t f) {
    return (f - int64_t{slot.Start}) / slot.Step;
}

int64_t frequencyOf(const Bank& slot, int64_t k) {
    return int64_t{slot.Start} + k * int64_t{slot.Step};
}

SearchResult notFound(int32_t message) {
    SearchResult result;
    result.message = message;
    return result;
}

// A target inside [Fн, Fк] becomes the tune; anything else the message.
SearchResult targetOrMessage(const Bank& slot, std::optional<int64_t> target, int32_t message) {
    if (!target || *target < int64_t{slot.Start} || *target > int64_t{slot.End})
        return notFound(message);
    SearchResult result;
    result.tuneFrequency = uint32_t(*target);
    return result;
}

// The points whose levels the mean of point i takes (see SmoothedLevel): from > to when none.
struct MeanReach {
    int64_t from, to;
};
MeanReach meanReach(const Bank& slot, int64_t i) {
    const int64_t h = int64_t{slot.Bandwidth} / (2 * int64_t{slot.Step});
    return {std::max<int64_t>(i - h, 1), std::min<int64_t>(i + h, LastPoint(slot) - 1)};
}

// The mean leaves out what lies beyond the range's ends, so near Fн or Fк it grows towards the
// end, and between two carriers it can top out on the empty points in the middle. The tune goes
// to the strongest point the mean saw there (the top itself when it is as strong): of two as
// strong, the one the walk by `direction` meets first; of a run of equal points, the middle.
int64_t strongestNear(const Bank& slot, int32_t kind, int64_t top, int64_t direction) {
    const MeanReach reach = meanReach(slot, top);
    const auto level = [&](int64_t k) { return PointLevel(slot, kind, k); };
    int64_t strongest = top;
    for (int64_t k = direction < 0 ? reach.to : reach.from; k >= reach.from && k <= reach.to;
         k += direction)
        if (level(k) > level(strongest)) strongest = k;
    if (level(strongest) == level(top)) return top;
    int64_t low = strongest, high = strongest;
    while (low - 1 >= reach.from && level(low - 1) == level(strongest)) --low;
    while (high + 1 <= reach.to && level(high + 1) == level(strongest)) ++high;
    return (low + high) / 2;
}

// The maxima search from point `i`, walking by `direction` (-1 down, +1 up). The smoothed curve
// has to swing by more than a sixteenth of the array's maximum before a top counts, so that
// noise on a flat spectrum finds nothing; the walk goes on one bandwidth past the first top
// found and keeps the highest top met meanwhile.
SearchResult searchMax(const Bank& slot, int32_t kind, int64_t i, int64_t direction) {
    const int64_t n = LastPoint(slot);
    const int64_t bandwidth = slot.Bandwidth;
    int32_t largest = 0;
    for (int64_t k = 0; k < n; ++k) largest = std::max(largest, PointLevel(slot, kind, k));
    const int32_t swing = largest / 16;

    const int32_t start = SmoothedLevel(slot, kind, i);
    int32_t low = start, high = start, found = 0, older = start, previous = start;
    std::optional<int64_t> rising;  // point where the curve last rose
    std::optional<int64_t> peak;    // point of the highest top so far
    for (; direction < 0 ? i > 0 : i < n; i += direction) {
        const int32_t level = SmoothedLevel(slot, kind, i);
        low = std::min(low, level);
        high = std::max(high, level);
        if (previous > older) rising = i - direction;
        if (rising && level < previous && high - low > swing && previous > found) {
            found = previous;
            // The middle of a flat top: from where the curve last rose to the point before the
            // fall.
            peak = (*rising + i - direction) / 2;
        }
        if (peak && std::abs(frequencyOf(slot, i) - frequencyOf(slot, *peak)) > bandwidth) break;
        older = previous;
        previous = level;
    }
    if (!peak) return notFound(kMaximaNotFound);
    return targetOrMessage(slot, frequencyOf(slot, strongestNear(slot, kind, *peak, direction)),
                           kMaximaNotFound);
}

// The fixed-point search from point `start`, walking by `direction` to the range's edge. The run
// under the start point is the one the operator is on: it is walked over, and the next run, or a
// marker met first, is the target. A run that reaches the edge of the range ends there.
SearchResult searchFixed(const Bank& slot, int64_t start, int64_t direction) {
    const int64_t n = LastPoint(slot);
    bool inStartRun = flagsAt(slot, start) & kFixedFrequencyPoint;
    std::optional<int64_t> nearEnd;  // first point of the run entered
    int64_t farEnd = 0;              // last point of it met so far
    std::optional<int64_t> target;
    for (int64_t i = start + direction; i >= 0 && i <= n; i += direction) {
        const uint8_t flags = flagsAt(slot, i);
        if (flags & kMarkerPoint) {
            target = frequencyOf(slot, i);
            break;
        }
        if (flags & kFixedFrequencyPoint) {
            if (inStartRun) continue;
            if (!nearEnd) nearEnd = i;
            farEnd = i;
        } else if (inStartRun) {
            inStartRun = false;
        } else if (nearEnd) {
            break;
        }
    }
    if (!target && nearEnd) {
        // The middle of the run; of an even run's two middles, the one farther from the start.
        const int64_t length = std::abs(farEnd - *nearEnd) + 1;
        target = frequencyOf(slot, *nearEnd + direction * (length / 2));
    }
    SearchResult result = targetOrMessage(slot, target, kFixedNotFound);
    result.selectScale = result.tuneFrequency.has_value();
    return result;
}

// How a processing mode makes the processed level: minuend − subtrahend, with the etalon of
// `etalonKind` loaded first when one takes part.
struct ProcessingMode {
    std::vector<uint8_t> Bank::*minuend;  // none: the processed level is 0
    std::vector<uint8_t> Bank::*subtrahend;
    int32_t etalonKind;  // -1: the etalon takes no part
    bool absolute;       // |difference|; otherwise a negative difference is 0
};
constexpr std::array<ProcessingMode, 9> kProcessingModes = {{
    {nullptr, nullptr, -1, false},                          // нет обработки
    {&Bank::Minimum, &Bank::Etalon, kMinimumCurve, false},  // мин - эталон
    {&Bank::Average, &Bank::Etalon, kAverageCurve, false},  // средн - эталон
    {&Bank::Maximum, &Bank::Etalon, kMaximumCurve, false},  // макс - эталон
    {&Bank::Etalon, &Bank::Minimum, kMinimumCurve, false},  // эталон - мин
    {&Bank::Etalon, &Bank::Average, kAverageCurve, false},  // эталон - средн
    {&Bank::Etalon, &Bank::Maximum, kMaximumCurve, false},  // эталон - макс
    {&Bank::Maximum, &Bank::Minimum, -1, true},             // макс - мин
    {&Bank::Average, &Bank::Minimum, -1, true},             // средн - мин
}};

}  // namespace

const std::vector<uint8_t>* CurveArray(const Bank& slot, int32_t kind) {
    if (kind < 0 || std::size_t(kind) >= kCurveArrays.size()) return nullptr;
    return &(slot.*kCurveArrays[std::size_t(kind)]);
}

std::vector<uint8_t>* CurveArray(Bank& slot, int32_t kind) {
    return const_cast<std::vector<uint8_t>*>(CurveArray(std::as_const(slot), kind));
}

int64_t LastPoint(const Bank& slot) {
    if (slot.Step == 0 || slot.End < slot.Start) return -1;
    const int64_t byFrequency = (int64_t{slot.End} - int64_t{slot.Start}) / slot.Step;
    // Point k needs cell k + 1 in every array.
    std::size_t cells = slot.Points();
    for (const auto array : kCurveArrays) cells = std::min(cells, (slot.*array).size());
    cells = std::min(cells, slot.Flags.size());
    return std::min(byFrequency, int64_t(cells) - 2);
}

int32_t PointLevel(const Bank& slot, int32_t kind, int64_t k) {
    const std::vector<uint8_t>* array = CurveArray(slot, kind);
    const int64_t cell = cellOf(slot, k);
    if (array == nullptr || cell < 0) return 0;
    return (*array)[std::size_t(cell)];
}

int32_t SmoothedLevel(const Bank& slot, int32_t kind, int64_t i) {
    const std::vector<uint8_t>* array = CurveArray(slot, kind);
    if (array == nullptr || slot.Step == 0) return 0;
    const auto [from, to] = meanReach(slot, i);
    if (from > to) return 0;
    int64_t sum = 0;
    // Points up to LastPoint have their cells in every array.
    for (int64_t k = from; k <= to; ++k) sum += (*array)[std::size_t(pointCell(k))];
    return int32_t(sum / (to - from + 1));
}

SearchResult SearchMaxLeft(const Bank& slot, int32_t kind, uint32_t frequency) {
    if (!slot.InUse) return {};
    const int64_t fn = slot.Start, fk = slot.End;
    int64_t f = frequency;
    if (f >= fn && f <= fk) f -= int64_t{slot.Bandwidth} / 2;
    const int64_t n = LastPoint(slot);
    if (f < fn || n < 0) return notFound(kMaximaNotFound);
    return searchMax(slot, kind, f > fk ? n : std::min(pointOf(slot, f), n), -1);
}

SearchResult SearchMaxRight(const Bank& slot, int32_t kind, uint32_t frequency) {
    if (!slot.InUse) return {};
    const int64_t fn = slot.Start, fk = slot.End;
    int64_t f = frequency;
    if (f >= fn && f <= fk) f += int64_t{slot.Bandwidth} / 2;
    if (f > fk || LastPoint(slot) < 0) return notFound(kMaximaNotFound);
    return searchMax(slot, kind, f < fn ? 0 : pointOf(slot, f), +1);
}

SearchResult SearchFixedLeft(const Bank& slot, uint32_t frequency) {
    if (!slot.InUse) return {};
    const int64_t n = LastPoint(slot);
    if (frequency < slot.Start || n < 0) return notFound(kFixedNotFound);
    const int64_t start = std::min(pointOf(slot, std::min(frequency, slot.End)), n);
    SearchResult result = searchFixed(slot, start, -1);
    // The window follows a search downwards with its cursor.
    result.moveCursor = result.tuneFrequency.has_value();
    return result;
}

SearchResult SearchFixedRight(const Bank& slot, uint32_t frequency) {
    if (!slot.InUse) return {};
    if (frequency > slot.End || LastPoint(slot) < 0) return notFound(kFixedNotFound);
    return searchFixed(slot, frequency < slot.Start ? 0 : pointOf(slot, frequency), +1);
}

int32_t ToggleMarker(Bank& slot, uint32_t frequency, MarkerMode mode) {
    if (!slot.InUse) return 0;
    if (frequency < slot.Start || frequency > slot.End || slot.Step == 0) return kMarkerOutOfRange;
    const int64_t cell = cellOf(slot, pointOf(slot, frequency));
    // A frequency of the range past the points the slot holds has no point to mark.
    if (cell < 0) return kMarkerOutOfRange;
    uint8_t& flags = slot.Flags[std::size_t(cell)];
    flags = mode == MarkerMode::Set ? flags | kMarkerPoint : flags ^ kMarkerPoint;
    return 0;
}

bool ClearScale(Bank& slot) {
    if (!slot.InUse) return false;
    for (const auto array : kCurveArrays) {
        if (array == &Bank::Etalon) continue;
        auto& cells = slot.*array;
        std::fill_n(cells.begin(), std::min(slot.Points(), cells.size()), uint8_t{0});
    }
    // The fixed points come from the stored scales and stay; the markers were the operator's.
    const std::size_t flagCells = std::min(slot.Points(), slot.Flags.size());
    for (std::size_t i = 0; i < flagCells; ++i) slot.Flags[i] &= kFixedFrequencyPoint;
    slot.CycleCount = 0;
    return true;
}

void Approximate(Bank& slot, int32_t kind) {
    std::vector<uint8_t>* array = CurveArray(slot, kind);
    if (!slot.InUse || array == nullptr || slot.Step == 0) return;
    // A gap as wide as the bandwidth or wider is a real silence, not a missed reading.
    const int64_t widest = int64_t{slot.Bandwidth} / slot.Step;
    const int64_t n = LastPoint(slot);
    int64_t last = 0;  // the last non-zero point; point 0 counts as none
    int32_t lastLevel = 0;
    for (int64_t k = 0; k <= n; ++k) {
        const int32_t level = PointLevel(slot, kind, k);
        if (level == 0) continue;
        const int64_t gap = k - last;
        if (last != 0 && gap > 1 && gap < widest) {
            const int64_t slope = (level - lastLevel) / gap;
            for (int64_t j = last + 1; j < k; ++j)
                (*array)[std::size_t(cellOf(slot, j))] = uint8_t(lastLevel + (j - last) * slope);
        }
        last = k;
        lastLevel = level;
    }
}

void ProcessAgainstEtalon(Bank& slot, const EtalonLoader& loadEtalon) {
    if (!slot.InUse) return;
    const uint32_t modeNumber = slot.Range != nullptr ? slot.Range->Processing : 0;
    // A mode the parameters dialog does not offer processes nothing, as mode 0.
    const ProcessingMode& mode =
        kProcessingModes[modeNumber < kProcessingModes.size() ? modeNumber : 0];
    if (mode.etalonKind >= 0 && loadEtalon) loadEtalon(mode.etalonKind);

    auto& processed = slot.Processed;
    const std::size_t cells = std::min(slot.Points(), processed.size());
    if (mode.minuend == nullptr) {
        std::fill_n(processed.begin(), cells, uint8_t{0});
        return;
    }
    const auto& minuend = slot.*mode.minuend;
    const auto& subtrahend = slot.*mode.subtrahend;
    const std::size_t common = std::min({cells, minuend.size(), subtrahend.size()});
    for (std::size_t i = 0; i < common; ++i) {
        const int32_t d = int32_t{minuend[i]} - int32_t{subtrahend[i]};
        processed[i] = uint8_t(mode.absolute ? std::abs(d) : std::max(d, 0));
    }
}

void ProcessAgainstEtalon(FDX& fdx) {
    for (std::size_t i = 0; i < fdx.ScanSlots.size(); ++i) {
        ProcessAgainstEtalon(fdx.ScanSlots[i], [&fdx, i](int32_t etalonKind) {
            fdx.EtalonKind = etalonKind;
            fdx.LoadScale(int32_t(i));
        });
    }
}

void MarkScalePoints(Bank& slot, const std::vector<UserSc*>& scales) {
    const int64_t n = LastPoint(slot);
    if (!slot.InUse || n < 0) return;
    const int64_t fn = slot.Start, fk = slot.End;
    for (const UserSc* scale : scales) {
        if (scale == nullptr) continue;
        const int64_t start = scale->StartFrequency, end = scale->EndFrequency;
        if (!(start < fk && fn < end)) continue;
        const int64_t a = pointOf(slot, std::max(start, fn));
        const int64_t b = pointOf(slot, std::min(end, fk));
        // A scale that meets the range in a single point marks nothing.
        if (a >= b) continue;
        for (int64_t k = a; k <= std::min(b, n); ++k)
            slot.Flags[std::size_t(cellOf(slot, k))] |= kFixedFrequencyPoint;
    }
}

void FillTuneRequest(FDX& fdx, const Bank& slot, uint32_t frequency) {
    fdx.TuneFrequency = frequency;
    fdx.TuneModulation = slot.Modulation;
    fdx.TuneAttenuator = slot.Range != nullptr ? slot.Range->Attenuator : 0;
    fdx.TuneStep = slot.Step;
}
