#pragma once
// An IC-PCR1000 panel on the air (PanelOnAir), the emulated set switched on at its power-up
// speed of 9600 baud.

#include <chrono>
#include <string>
#include <vector>

#include "emulators/pcr/pcr1000_emulator.h"
#include "receivers/icom/pcr1000/pcr1000.h"
#include "tests/receivers/panel_on_air.h"

class Pcr1000OnAir : public PanelOnAir<IC1000, emulators::Pcr1000Emulator> {
  protected:
    // The set at its power-up speed; a connect takes up to a minute of virtual time.
    Pcr1000OnAir() : PanelOnAir(9600) { serveLimitMs = 60'000; }
    void PrepareEmulator() override {
        emulator.SetOffReportInterval(std::chrono::milliseconds(0));
        emulator.SwitchPowerByHand(true);
    }

    // The set is on at the port's speed, as after a connect: the panel talks to it.
    void AsConnected() { panel.Busy = false; }
    // The lines the set heard, in order.
    std::vector<std::string> Heard() const { return emulator.ReceivedLines(); }
    std::string LastLine() const {
        const auto lines = Heard();
        return lines.empty() ? std::string() : lines.back();
    }
};
