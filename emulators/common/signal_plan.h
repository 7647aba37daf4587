#pragma once
// What is on the air for the emulated receivers: a noise floor and a few carriers, and the
// level a receiver reads anywhere on the dial.

#include <cstdint>
#include <vector>

namespace emulators {

// A carrier on the air: its level falls off in a straight line from the peak at its centre
// to the noise floor at the centre ± width / 2.
struct Signal {
    uint64_t frequencyHz = 0;
    int peakLevel = 0;  // 0..255
    uint64_t widthHz = 0;
};

struct SignalPlan {
    int noiseFloor = 8;  // 0..255
    std::vector<Signal> signals;

    // The strongest of the noise floor and every signal at hz, 0..255.
    int LevelAt(uint64_t hz) const;
};

// A few carriers across the range, so that a scan finds something.
SignalPlan DefaultSignalPlan();

}  // namespace emulators
