#pragma once
// The AR5000 panel on the air (PanelOnAir) with its emulated receiver, on a stand-in main
// window that also hands the panel its dialog codes.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "emulators/aor/ar5000_emulator.h"
#include "receivers/aor/ar5000/ar5000.h"
#include "state/message_bus.h"
#include "tests/receivers/panel_on_air.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

inline constexpr ui::FormResource kAr5000TestMain{
    "ID_ar5000_test_main", 420, 300, "8.MS Sans Serif", ui::style::kCaption, "", {}};

// Stands in for the main window: counts the codes it receives, drives the panel and hands
// the dialog codes back to it.
class Ar5000Main : public ui::Form {
  public:
    Ar5000Main() {
        ui::RegisterFormResource(kAr5000TestMain);
        AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            codes.push_back(e.code);
            if (!panel) return false;
            if (e.code == PostSerialData) panel->Poll(false);
            if (e.code == PostOpenScanSettings || e.code == PostOpenExtraFunctions ||
                e.code == PostRefreshPanelDialogs)
                panel->ServeDialogCode(e.code);
            return false;
        });
        timer.AddHandler(ui::EventId::Timer, [this](ui::Object&, ui::EventData&) {
            if (panel) panel->Poll(true);
            return false;
        });
        Create("ID_ar5000_test_main");
    }
    ~Ar5000Main() override { Destroy(); }

    int Count(uint32_t code) const {
        return static_cast<int>(std::count(codes.begin(), codes.end(), code));
    }

    AR5000* panel = nullptr;
    std::vector<uint32_t> codes;
    ui::Timer timer;
};

// The receivers' signals: 145.5 MHz at 7F and 433.92 MHz at FF, both a point wide.
inline emulators::SignalPlan Ar5000TestPlan() {
    return emulators::SignalPlan{8, {{145'500'000, 0x7F, 0}, {433'920'000, 0xFF, 0}}};
}

// Raises an event of a control as the operator's action does.
inline void Operate(ui::Control* control, ui::EventId id, int64_t value = 0,
                    const std::string& text = {}) {
    ui::EventData e;
    e.id = id;
    e.value = value;
    e.text = text;
    control->Raise(e);
}

class Ar5000OnAir : public PanelOnAir<AR5000, emulators::Ar5000Emulator, Ar5000Main> {
  protected:
    Ar5000OnAir() : PanelOnAir(19200, Ar5000TestPlan()) {}

    // The lines the receiver has got, empty ones too.
    std::vector<std::string> Lines() const { return emulator.ReceivedLines(); }
    // The lines from the first that starts with `token` on.
    std::vector<std::string> LinesFrom(const std::string& token) const {
        const auto all = Lines();
        const auto first = std::find_if(all.begin(), all.end(),
                                        [&](const std::string& l) { return l.starts_with(token); });
        return {first, all.end()};
    }
    ui::ScriptedMessageBoxes boxes;
};
