#pragma once
// The AR8200 panel on the air (PanelOnAir) with its emulated receiver, on a stand-in main
// window that also hands the panel its dialog codes.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "emulators/aor/ar8200_emulator.h"
#include "receivers/aor/ar8200/ar8200.h"
#include "receivers/aor/ar8200/rar8200.h"
#include "state/message_bus.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/receivers/panel_on_air.h"

// Stands in for the main window: counts the codes, drives the panel and hands its dialog
// codes back to it.
class Ar8200Main : public MainStandIn {
  public:
    Ar8200Main() {
        AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            if (panel && (e.code == PostOpenScanSettings || e.code == PostRefreshPanelDialogs))
                panel->ServeDialogCode(e.code);
            return false;
        });
    }
};

// The receivers' signals: 145.5 MHz at level 45, 433.92 MHz at 255, both a point wide.
inline emulators::SignalPlan Ar8200TestPlan() {
    return emulators::SignalPlan{8, {{145'500'000, 45, 0}, {433'920'000, 255, 0}}};
}

class Ar8200OnAir : public PanelOnAir<AR8200, emulators::Ar8200Emulator, Ar8200Main> {
  protected:
    Ar8200OnAir() : PanelOnAir(19200, Ar8200TestPlan()) {}

    void SetUp() override {
        PanelOnAir::SetUp();
        state.MessageBox = [this](const FDX&, const MessageRequest& request) {
            messages.push_back(request.text);
            return true;
        };
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
    // The start-up sync, as the main window asks for it.
    void Sync() {
        Post(PostSyncReceiver);
        ASSERT_TRUE(ServeUntil([&] { return panel.SyncEnded(); }));
        emulator.ClearReceivedLines();
    }
    // What arrives from the receiver unasked, served as the main window serves it.
    void Arrives(const std::string& line) {
        const std::string bytes = line + "\r\n";
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        panel.Poll(false);
        ui::ServePending();
    }
    std::vector<std::string> messages;  // the message boxes shown
};
