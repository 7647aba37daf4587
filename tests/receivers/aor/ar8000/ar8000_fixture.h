#pragma once
// The AR8000 panel on the air with its emulated receiver (AorOnAir).

#include <gtest/gtest.h>

#include "emulators/aor/ar8000_emulator.h"
#include "receivers/aor/ar8000/ar8000.h"
#include "receivers/aor/ar8000/rar8000.h"
#include "tests/receivers/aor/aor_on_air.h"

// The receiver's signals: 145.5 MHz at 252 (the set's highest level), 433.92 MHz at 128, both
// a point wide, over no noise at all.
inline emulators::SignalPlan Ar8000TestPlan() {
    return emulators::SignalPlan{0, {{145'500'000, 252, 0}, {433'920'000, 128, 0}}};
}

class Ar8000OnAir : public AorOnAir<AR8000, emulators::Ar8000Emulator> {
  protected:
    Ar8000OnAir() : AorOnAir(9600, Ar8000TestPlan()) {}
};
