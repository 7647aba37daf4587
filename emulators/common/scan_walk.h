#pragma once
// The receivers' own scans over the signal plan: a scan is a row of segments, each a range on
// its step grid (a search bank, a pair of scan edges) or a single memory channel or VFO,
// walked in order and round again. The sweep between two stops takes no time: the scan goes
// straight to the next point where the squelch opens.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "emulators/common/signal_plan.h"

namespace emulators {

struct ScanSegment {
    uint64_t lowerHz = 0;
    uint64_t upperHz = 0;  // lowerHz for a channel or a VFO
    uint64_t stepHz = 1;
    int index = 0;  // what the segment stands for: a search bank, bank x 100 + channel, a VFO

    uint64_t Points() const { return (upperHz - lowerHz) / stepHz + 1; }
    uint64_t PointHz(uint64_t point) const { return lowerHz + point * stepHz; }
};

struct ScanPosition {
    size_t segment = 0;
    uint64_t point = 0;
    bool operator==(const ScanPosition&) const = default;
};

// The first point after `from` whose level in `plan` is above `threshold`, going round once
// (`from` itself last); from the first point on when `from` is empty. Empty when the squelch
// opens nowhere.
std::optional<ScanPosition> NextOpenPoint(const std::vector<ScanSegment>& segments,
                                          const SignalPlan& plan, int threshold,
                                          std::optional<ScanPosition> from);

// The point after `from`, round to the first after the last; the first when `from` is empty.
ScanPosition NextPoint(const std::vector<ScanSegment>& segments, std::optional<ScanPosition> from);

}  // namespace emulators
