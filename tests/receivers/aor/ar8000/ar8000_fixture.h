#pragma once
// The AR8000 panel on the air (PanelOnAir) with its emulated receiver, on a stand-in main
// window that also hands the panel its dialog codes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulators/aor/ar8000_emulator.h"
#include "receivers/aor/ar8000/ar8000.h"
#include "receivers/aor/ar8000/rar8000.h"
#include "state/message_bus.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/receivers/panel_on_air.h"

// The receiver's signals: 145.5 MHz at 252 (the set's highest level), 433.92 MHz at 128, both
// a point wide, over no noise at all.
inline emulators::SignalPlan Ar8000TestPlan() {
    return emulators::SignalPlan{0, {{145'500'000, 252, 0}, {433'920'000, 128, 0}}};
}

class Ar8000OnAir : public PanelOnAir<AR8000, emulators::Ar8000Emulator, DialogsMainStandIn> {
  protected:
    Ar8000OnAir() : PanelOnAir(9600, Ar8000TestPlan()) {}

    void SetUp() override {
        PanelOnAir::SetUp();
        NoteMessages();
    }

    // The lines the receiver has got, empty ones too.
    std::vector<std::string> Lines() const { return emulator.ReceivedLines(); }
    // Those of them that start with `head`.
    std::vector<std::string> LinesStartingWith(const std::string& head) const {
        std::vector<std::string> found;
        for (const std::string& line : Lines())
            if (line.starts_with(head)) found.push_back(line);
        return found;
    }
    // The start-up sync, as the main window asks for it; the lines after it only are kept.
    void Sync() {
        Post(PostSyncReceiver);
        ASSERT_TRUE(ServeUntil([&] { return panel.SyncEnded(); }));
        emulator.ClearReceivedLines();
    }
    // A line that arrives from the receiver unasked, served as the main window serves it.
    void Arrives(const std::string& line) {
        const std::string bytes = line + "\r\n";
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        panel.Poll(false);
        ui::ServePending();
    }
};
