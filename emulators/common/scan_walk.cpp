#include "emulators/common/scan_walk.h"

#include <algorithm>

namespace emulators {

namespace {

// The first point of first..last in `segment` where the squelch opens. Only the stretches a
// carrier covers need looking at, unless the noise alone opens it.
std::optional<uint64_t> FirstOpenPoint(const ScanSegment& segment, const SignalPlan& plan,
                                       int threshold, uint64_t first, uint64_t last) {
    if (first > last) return std::nullopt;
    if (plan.noiseFloor > threshold) return first;
    std::optional<uint64_t> best;
    for (const Signal& signal : plan.signals) {
        if (signal.peakLevel <= threshold) continue;
        const uint64_t half = signal.widthHz / 2;
        const uint64_t fromHz = signal.frequencyHz > half ? signal.frequencyHz - half : 0;
        const uint64_t toHz = signal.frequencyHz + half;
        if (toHz < segment.lowerHz || fromHz > segment.PointHz(last)) continue;
        uint64_t point = fromHz <= segment.lowerHz
                             ? 0
                             : (fromHz - segment.lowerHz + segment.stepHz - 1) / segment.stepHz;
        const uint64_t end = std::min(last, (toHz - segment.lowerHz) / segment.stepHz);
        for (point = std::max(point, first); point <= end && (!best || point < *best); ++point)
            if (plan.LevelAt(segment.PointHz(point)) > threshold) {
                best = point;
                break;
            }
    }
    return best;
}

}  // namespace

std::optional<ScanPosition> NextOpenPoint(const std::vector<ScanSegment>& segments,
                                          const SignalPlan& plan, int threshold,
                                          std::optional<ScanPosition> from) {
    if (segments.empty()) return std::nullopt;
    const auto look = [&](size_t segment, uint64_t first,
                          uint64_t last) -> std::optional<ScanPosition> {
        const auto point = FirstOpenPoint(segments[segment], plan, threshold, first, last);
        if (!point) return std::nullopt;
        return ScanPosition{segment, *point};
    };
    if (!from) {
        for (size_t segment = 0; segment < segments.size(); ++segment)
            if (auto open = look(segment, 0, segments[segment].Points() - 1)) return open;
        return std::nullopt;
    }
    const size_t here = from->segment;
    if (auto open = look(here, from->point + 1, segments[here].Points() - 1)) return open;
    for (size_t step = 1; step < segments.size(); ++step) {
        const size_t segment = (here + step) % segments.size();
        if (auto open = look(segment, 0, segments[segment].Points() - 1)) return open;
    }
    return look(here, 0, from->point);
}

ScanPosition NextPoint(const std::vector<ScanSegment>& segments, std::optional<ScanPosition> from) {
    if (!from || segments.empty()) return {};
    if (from->point + 1 < segments[from->segment].Points()) return {from->segment, from->point + 1};
    return {(from->segment + 1) % segments.size(), 0};
}

}  // namespace emulators
