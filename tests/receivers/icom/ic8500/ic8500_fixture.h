#pragma once
// An IC-R8500 panel on a stand-in main window, the emulated IC-R8500 on the air.

#include "emulators/civ/ic8500_emulator.h"
#include "receivers/icom/ic8500/ic8500.h"
#include "tests/receivers/icom/civ_fixture.h"

class Ic8500OnAir : public CivOnAir<IC8500> {
  protected:
    Ic8500OnAir() : CivOnAir(emulators::kIcR8500) {}
};
