#pragma once
// An IC-PCR1000 panel on a stand-in main window, its port a real pseudo-terminal whose other
// side is the emulated set, switched on at its power-up speed of 9600 baud. The clock is
// virtual: the emulator's answers arrive during real idle slices of the reply waits while
// virtual time stands still, and time-outs pass without real waiting.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "emulators/pcr/pcr1000_emulator.h"
#include "receivers/comm.h"
#include "receivers/icom/pcr1000/pcr1000.h"
#include "state/fdx.h"
#include "state/message_bus.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/support/program_folder.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

class Pcr1000OnAir : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        // Room for the emulator's thread to answer before virtual time moves on.
        ui::Clock::SetIdleSliceMs(40);
        emulator.SetOffReportInterval(std::chrono::milliseconds(0));
        emulator.SwitchPowerByHand(true);
        emulator.LinkAs(folder.path() / "COM1");
        emulator.Start();

        state.Owner = &main;
        state.Port = &comm;
        state.ProgramDir = folder.Dir();
        state.PortIndex = 1;
        comm.ProgramDir = folder.Dir();
        comm.NotifyWindow = &main;
        comm.ConfiguredPort = 1;
        comm.ConfiguredBaud = 9600;
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
        ui::Clock::SetIdleSliceMs(20);
    }

    // The set is on at the port's speed, as after a connect: the panel talks to it.
    void AsConnected() { panel.Busy = false; }
    // Serves codes and ticks (virtual time) until done() or a minute of virtual time.
    bool ServeUntil(const std::function<bool()>& done) {
        for (int slice = 0; slice < 3000 && !done(); ++slice) ui::ServeFor(20);
        return done();
    }
    // Posts a code to the panel and serves it, and what it posted in turn.
    void Post(uint32_t code) {
        ASSERT_TRUE(PostPrivateMessage(&panel, code));
        ui::ServePending();
        ui::ServePending();
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
    // The lines the set heard, in order.
    std::vector<std::string> Heard() const { return emulator.ReceivedLines(); }
    std::string LastLine() const {
        const auto lines = Heard();
        return lines.empty() ? std::string() : lines.back();
    }

    ProgramFolder folder;
    emulators::Pcr1000Emulator emulator;
    MainStandIn main;
    FDX state;
    Comm comm;
    IC1000 panel;
};
