#pragma once
// The AR5000 panel on a stand-in main window. On the air: the serial port is a real
// pseudo-terminal whose other side is the emulated receiver, and the stand-in does what the
// main window does for the panel (Poll(false) on PostSerialData, Poll(true) every 100 ms).
// The clock is virtual: the emulator's answers arrive during real idle slices of the reply
// wait while virtual time stands still, and time-outs pass without real waiting.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "emulators/aor/ar5000_emulator.h"
#include "receivers/aor/ar5000/ar5000.h"
#include "receivers/comm.h"
#include "state/fdx.h"
#include "state/message_bus.h"
#include "tests/support/program_folder.h"
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

class Ar5000OnAir : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        // Room for the emulator's thread to answer before virtual time moves on.
        ui::Clock::SetIdleSliceMs(40);
        emulator.LinkAs(folder.path() / "COM1");
        emulator.Start();

        state.Owner = &main;
        state.Port = &comm;
        state.ProgramDir = folder.Dir();
        state.PortIndex = 1;
        comm.ProgramDir = folder.Dir();
        comm.NotifyWindow = &main;
        comm.ConfiguredPort = 1;
        comm.ConfiguredBaud = 19200;
        comm.Init();
        ASSERT_TRUE(comm.Open());
        comm.EnableReceive();
        ASSERT_TRUE(panel.Create(&main, &state));
        main.panel = &panel;
        main.timer.Start(100);
    }
    void TearDown() override {
        main.timer.Stop();
        main.panel = nullptr;
        panel.Destroy();
        comm.Close();
        emulator.Stop();
        ui::Clock::SetVirtual(false);
    }

    // Serves codes and ticks (virtual time) until done() or 5 s of virtual time.
    bool ServeUntil(const std::function<bool()>& done) {
        for (int slice = 0; slice < 250 && !done(); ++slice) ui::ServeFor(20);
        return done();
    }
    // The lines the receiver has got, empty ones too.
    std::vector<std::string> Lines() const { return emulator.ReceivedLines(); }
    // The lines from the first that starts with `token` on.
    std::vector<std::string> LinesFrom(const std::string& token) const {
        const auto all = Lines();
        const auto first = std::find_if(all.begin(), all.end(),
                                        [&](const std::string& l) { return l.starts_with(token); });
        return {first, all.end()};
    }
    // Runs a job line addressed to the panel as the job step routine does.
    JobStr RunJob(uint32_t number, uint32_t value = 0) {
        JobStr line;
        line.OBJ = number;
        line.VAL = value;
        state.JobLine = &line;
        state.JobRunning = 1;
        const int before = main.Count(PostJobStep);
        EXPECT_TRUE(PostPrivateMessage(&panel, PostJobStep));
        ServeUntil([&] { return main.Count(PostJobStep) > before; });
        EXPECT_EQ(main.Count(PostJobStep), before + 1) << "job step " << number;
        state.JobLine = nullptr;
        state.JobRunning = 0;
        return line;
    }
    ProgramFolder folder;
    ui::ScriptedMessageBoxes boxes;
    emulators::Ar5000Emulator emulator{Ar5000TestPlan()};
    Ar5000Main main;
    FDX state;
    Comm comm;
    AR5000 panel;
};
