#include "emulators/common/signal_plan.h"

#include <algorithm>

namespace emulators {

int SignalPlan::LevelAt(uint64_t hz) const {
    int64_t level = noiseFloor;
    for (const auto& signal : signals) {
        const uint64_t distance =
            hz > signal.frequencyHz ? hz - signal.frequencyHz : signal.frequencyHz - hz;
        const uint64_t half = signal.widthHz / 2;
        if (distance == 0) {
            level = std::max<int64_t>(level, signal.peakLevel);
            continue;
        }
        if (distance >= half) continue;
        const int64_t fall = static_cast<int64_t>(signal.peakLevel) - noiseFloor;
        const int64_t value =
            signal.peakLevel - fall * static_cast<int64_t>(distance) / static_cast<int64_t>(half);
        level = std::max(level, value);
    }
    return static_cast<int>(std::clamp<int64_t>(level, 0, 255));
}

SignalPlan DefaultSignalPlan() {
    return SignalPlan{8,
                      {
                          {101'700'000, 190, 180'000},  // broadcast FM
                          {127'500'000, 110, 8'000},    // airband AM
                          {145'500'000, 150, 12'000},   // 2 m calling
                          {156'800'000, 120, 12'000},   // marine channel 16
                          {433'920'000, 100, 20'000},   // telemetry
                      }};
}

}  // namespace emulators
