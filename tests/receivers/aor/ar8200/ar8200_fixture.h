#pragma once
// The AR8200 panel on the air with its emulated receiver (AorOnAir).

#include <gtest/gtest.h>

#include "emulators/aor/ar8200_emulator.h"
#include "receivers/aor/ar8200/ar8200.h"
#include "receivers/aor/ar8200/rar8200.h"
#include "tests/receivers/aor/aor_on_air.h"

// The receivers' signals: 145.5 MHz at level 45, 433.92 MHz at 255, both a point wide.
inline emulators::SignalPlan Ar8200TestPlan() {
    return emulators::SignalPlan{8, {{145'500'000, 45, 0}, {433'920'000, 255, 0}}};
}

class Ar8200OnAir : public AorOnAir<AR8200, emulators::Ar8200Emulator> {
  protected:
    Ar8200OnAir() : AorOnAir(19200, Ar8200TestPlan()) {}
};
