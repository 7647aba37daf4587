#pragma once
// A CI-V panel on the air (PanelOnAir) with its emulated receiver.

#include <cstdint>
#include <string>
#include <vector>

#include "emulators/civ/civ_emulator.h"
#include "receivers/icom/civ_link.h"
#include "tests/receivers/panel_on_air.h"

inline std::string Hex(const std::vector<uint8_t>& bytes) {
    return civ::BytesToHex(bytes);
}

// The panel with the emulated receiver of the profile on COM1 at 19200 baud; the variant flag
// as the main window sets it for a panel serving two models.
template <class Panel>
class CivOnAir : public PanelOnAir<Panel, emulators::CivEmulator> {
  protected:
    explicit CivOnAir(const emulators::CivProfile& profile, uint8_t variant = 0)
        : PanelOnAir<Panel, emulators::CivEmulator>(19200, profile) {
        this->state.ReceiverVariant = variant;
    }

    // The payloads (command onwards, FD excluded) of the frames the receiver has got.
    std::vector<std::string> Payloads() const {
        std::vector<std::string> payloads;
        for (const auto& frame : this->emulator.ReceivedFrames()) {
            const std::string hex = Hex(frame);
            payloads.push_back(hex.size() > 10 ? hex.substr(8, hex.size() - 10) : hex);
        }
        return payloads;
    }
    std::string LastPayload() const {
        const auto all = Payloads();
        return all.empty() ? std::string() : all.back();
    }
};
