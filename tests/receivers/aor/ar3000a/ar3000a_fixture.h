#pragma once
// The AR3000A panel on the air (PanelOnAir) with its emulated receiver, on a line of two stop
// bits as the set needs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulators/aor/ar3000a_emulator.h"
#include "receivers/aor/ar3000a/ar3000a.h"
#include "receivers/comm.h"
#include "tests/receivers/panel_on_air.h"

// The receiver's signals: 145.5 MHz at full level ("P") and 433.92 MHz at 100 ("G"), both a
// point wide, over noise of 8 ("A").
inline emulators::SignalPlan Ar3000aTestPlan() {
    return emulators::SignalPlan{8, {{145'500'000, 255, 0}, {433'920'000, 100, 0}}};
}

class Ar3000aOnAir : public PanelOnAir<AR3000A, emulators::Ar3000aEmulator> {
  protected:
    Ar3000aOnAir() : PanelOnAir(9600, Ar3000aTestPlan()) {}
    void PrepareEmulator() override { comm.StopBits = kTwoStopBits; }

    void SetUp() override {
        PanelOnAir::SetUp();
        NoteMessages();
    }

    // The command lines the receiver has got.
    std::vector<std::string> Lines() const { return emulator.ReceivedLines(); }
};
