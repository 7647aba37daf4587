#pragma once
// The IC-R8500 the IC-R8500 panel's tests drive: the CI-V emulator (civ_emulator.h) with the
// IC-R8500 profile and its full memory, as orvel-civ-emulator's.

#include "emulators/civ/civ_emulator.h"

namespace emulators {

using Ic8500State = CivState;

class Ic8500Emulator : public CivEmulator {
  public:
    static constexpr uint8_t kAddress = 0x4A;
    static constexpr uint64_t kLowerLimitHz = 100'000;
    static constexpr uint64_t kUpperLimitHz = 2'000'000'000;

    explicit Ic8500Emulator(SignalPlan plan = DefaultSignalPlan())
        : CivEmulator(kIcR8500, std::move(plan)) {}
};

}  // namespace emulators
