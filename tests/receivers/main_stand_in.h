#pragma once
// Stands in for the main window of a receiver panel on the air: it counts the codes it
// receives and drives the panel as the main window does (Poll(false) on PostSerialData,
// Poll(true) on every tick of its timer).

#include <algorithm>
#include <cstdint>
#include <vector>

#include "receivers/panel.h"
#include "state/message_bus.h"
#include "ui/form.h"
#include "ui/timer.h"

inline constexpr ui::FormResource kReceiverTestMain{
    "ID_receiver_test_main", 420, 260, "8.MS Sans Serif", ui::style::kCaption, "", {}};

class MainStandIn : public ui::Form {
  public:
    MainStandIn() {
        ui::RegisterFormResource(kReceiverTestMain);
        AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            codes.push_back(e.code);
            if (e.code == PostSerialData && panel) panel->Poll(false);
            return false;
        });
        timer.AddHandler(ui::EventId::Timer, [this](ui::Object&, ui::EventData&) {
            ++ticks;
            if (panel) panel->Poll(true);
            return false;
        });
        Create("ID_receiver_test_main");
    }
    ~MainStandIn() override { Destroy(); }

    int Count(uint32_t code) const {
        return static_cast<int>(std::count(codes.begin(), codes.end(), code));
    }

    ReceiverPanel* panel = nullptr;
    std::vector<uint32_t> codes;
    ui::Timer timer;
    int ticks = 0;
};

// The same, which also hands the panel the codes about its own dialogs
// (ReceiverPanel::ServeDialogCode), as the main window does.
class DialogsMainStandIn : public MainStandIn {
  public:
    DialogsMainStandIn() {
        AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            if (panel && (e.code == PostOpenScanSettings || e.code == PostRefreshPanelDialogs ||
                          e.code == PostOpenExtraFunctions))
                panel->ServeDialogCode(e.code);
            return false;
        });
    }
};
