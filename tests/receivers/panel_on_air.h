#pragma once
// A receiver panel on a stand-in main window. On the air: the serial port is a real
// pseudo-terminal whose other side is the emulated receiver, and the stand-in does what the
// main window does for the panel (Poll(false) on PostSerialData, Poll(true) every 100 ms).
// The clock is virtual and the emulator keeps its time by it: its answers arrive while
// virtual time stands still (tests/support/test_clock.h), and time-outs pass without real
// waiting.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "receivers/comm.h"
#include "state/fdx.h"
#include "state/job_str.h"
#include "state/message_bus.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/support/program_folder.h"
#include "tests/support/test_clock.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

template <class Panel, class Emulator, class Main = MainStandIn>
class PanelOnAir : public ::testing::Test {
  protected:
    // The port runs at `baud`; the emulator is made from `emulatorArgs`.
    template <class... Args>
    explicit PanelOnAir(uint32_t baud, Args&&... emulatorArgs)
        : emulator(std::forward<Args>(emulatorArgs)...), baud_(baud) {}

    // What a fixture sets on its emulator before it starts.
    virtual void PrepareEmulator() {}

    void SetUp() override {
        idleSliceBefore_ = ui::Clock::IdleSliceMs();
        ui::Clock::SetVirtual(true);
        // No time passes while the emulator owes an answer, however long a busy machine holds
        // it up, and nothing else needs real time to deliver.
        ui::Clock::SetIdleSliceMs(0);
        ui::Clock::SetPeer(test_clock::Peer([this] { return &emulator; }, [this] { return &comm; }));
        test_clock::Use(emulator);
        PrepareEmulator();
        emulator.LinkAs(folder.path() / "COM1");
        emulator.Start();

        state.Owner = &main;
        state.Port = &comm;
        state.ProgramDir = folder.Dir();
        state.PortIndex = 1;
        comm.ProgramDir = folder.Dir();
        comm.NotifyWindow = &main;
        comm.ConfiguredPort = 1;
        comm.ConfiguredBaud = baud_;
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
        ui::Clock::SetPeer({});
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(idleSliceBefore_);
    }

    // Serves codes and ticks (virtual time) until done() or `serveLimitMs` of virtual time.
    bool ServeUntil(const std::function<bool()>& done) {
        for (int served = 0; served < serveLimitMs && !done(); served += 20) ui::ServeFor(20);
        return done();
    }
    // Posts a code to the panel and serves it, then what it posted in turn.
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

    // The message boxes the panel shows from now on are noted in `messages` instead of shown,
    // for a test that looks for them.
    void NoteMessages() {
        state.MessageBox = [this](const FDX&, const MessageRequest& request) {
            messages.push_back(request.text);
            return true;
        };
    }

    int serveLimitMs = 5000;
    std::vector<std::string> messages;
    ProgramFolder folder;
    Emulator emulator;
    Main main;
    FDX state;
    Comm comm;
    Panel panel;

  private:
    uint32_t baud_;
    int idleSliceBefore_ = 0;
};
