#pragma once
// A CI-V panel on a stand-in main window. On the air: the serial port is a real
// pseudo-terminal whose other side is the emulated receiver, and the stand-in does what the
// main window does for the panel (Poll(false) on PostSerialData, Poll(true) every 100 ms).
// The clock is virtual: replies of the emulator's thread arrive during real idle slices of
// the reply wait while virtual time stands still, and time-outs pass without real waiting.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "emulators/civ/civ_emulator.h"
#include "receivers/comm.h"
#include "receivers/icom/civ_link.h"
#include "state/fdx.h"
#include "state/message_bus.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/support/program_folder.h"
#include "ui/form.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

inline std::string Hex(const std::vector<uint8_t>& bytes) {
    return civ::BytesToHex(bytes);
}

// The panel with the emulated receiver of the profile on COM1; the variant flag as the main
// window sets it for a panel serving two models.
template <class Panel>
class CivOnAir : public ::testing::Test {
  protected:
    explicit CivOnAir(const emulators::CivProfile& profile, uint8_t variant = 0)
        : emulator(profile) {
        state.ReceiverVariant = variant;
    }
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
    // Posts a code to the panel and serves it, then what it posted in turn.
    void Post(uint32_t code) {
        ASSERT_TRUE(PostPrivateMessage(&panel, code));
        ui::ServePending();
        ui::ServePending();
    }
    // The payloads (command onwards, FD excluded) of the frames the receiver has got.
    std::vector<std::string> Payloads() const {
        std::vector<std::string> payloads;
        for (const auto& frame : emulator.ReceivedFrames()) {
            const std::string hex = Hex(frame);
            payloads.push_back(hex.size() > 10 ? hex.substr(8, hex.size() - 10) : hex);
        }
        return payloads;
    }
    std::string LastPayload() const {
        const auto all = Payloads();
        return all.empty() ? std::string() : all.back();
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
    emulators::CivEmulator emulator;
    MainStandIn main;
    FDX state;
    Comm comm;
    Panel panel;
};
