// Connecting to the emulated IC-PCR1000: the set's line speed is found, the set switched on
// when it reports being off and moved to the speed of ORVEL.INI; switching it off.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/receivers/icom/pcr1000/pcr1000_fixture.h"

namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

struct ConnectCase {
    const char* name;
    bool on;            // the set is switched on
    bool reports;       // switched off, it says so by itself (H100) now and then
    uint32_t setSpeed;  // the speed an earlier session left it at
    int speedIndex;     // "SPEED" of ORVEL.INI
    Lines heard;        // the first lines the set heard, at its own speed
    uint32_t endSpeed;  // of the set and of the port
};

TEST_F(Pcr1000OnAir, ConnectFindsTheSetsSpeedAndMovesItToTheConfiguredOne) {
    const std::string tune = "K00072900000060400";
    // clang-format off
    const ConnectCase cases[] = {
        {"at 9600, the default speed", true, false, 9600, 0,
         {"G300", "G0?", tune, "G300", "G0?", "I0?", "I1?"}, 9600},
        {"found at 19200, moved to 4800 for the 2400 of the list", true, false, 19200, 2,
         {"G300", "G0?", "G102", tune, "G300", "G0?", "I0?", "I1?"}, 4800},
        {"speed 7 of the list is 38400", true, false, 9600, 7,
         {"G300", "G0?", "G105", tune}, 38400},
        {"switched off: switched on, at 9600", false, true, 9600, 0,
         {"H101", tune, "G300", "G0?"}, 9600},
        {"switched off and silent: its answers say so", false, false, 9600, 0,
         {"G300", "G0?", "H101", tune}, 9600},
    };
    // clang-format on
    for (const ConnectCase& c : cases) {
        SCOPED_TRACE(c.name);
        emulator.SwitchPowerByHand(c.on);
        ASSERT_TRUE(emulator.SetLineSpeedByHand(c.setSpeed));
        // Often enough to be heard within the connect's first wait.
        emulator.SetOffReportInterval(c.reports ? 20ms : 0ms);
        emulator.ClearReceivedLines();
        state.SpeedIndex = c.speedIndex;
        const int reports = main.Count(PostReceiverState);
        Post(PostSyncReceiver);
        ASSERT_TRUE(ServeUntil([&] { return main.Count(PostReceiverState) > reports; }));

        const Lines heard = Heard();
        ASSERT_GE(heard.size(), c.heard.size());
        EXPECT_EQ(Lines(heard.begin(), heard.begin() + std::ptrdiff_t(c.heard.size())), c.heard);
        // The band scope starts and the sound is set once the set is found.
        EXPECT_TRUE(heard.back().starts_with("J40")) << heard.back();
        EXPECT_TRUE(heard.end()[-2].starts_with("ME00001")) << heard.end()[-2];
        EXPECT_FALSE(panel.Busy);
        EXPECT_TRUE(emulator.State().powerOn);
        EXPECT_EQ(emulator.State().lineSpeed, c.endSpeed);
        EXPECT_EQ(comm.BaudRate, c.endSpeed);
        EXPECT_NE(state.Level, -1);
        EXPECT_EQ(panel.Settings.IfShift, 128u);
        EXPECT_FALSE(panel.Scope.Paused);
    }
}

TEST_F(Pcr1000OnAir, NoSetAtAnySpeedLeavesThePanelBusyAndTheLevelOff) {
    emulator.SetDead(true);
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return main.Count(PostReceiverState) == 1; }));
    EXPECT_EQ(main.Count(PostShowLevelOff), 1);
    EXPECT_TRUE(panel.Busy);
    EXPECT_EQ(comm.BaudRate, 4800u);  // the last speed tried
    EXPECT_FALSE(panel.IdleForLevelPoll());
}

TEST_F(Pcr1000OnAir, ThePowerButtonSwitchesTheSetOffAndOnAgain) {
    AsConnected();
    emulator.SetOffReportInterval(20ms);
    ASSERT_TRUE(emulator.SetLineSpeedByHand(9600));
    panel.pictbttn_1->Raise(ui::EventId::Click);
    ASSERT_TRUE(ServeUntil([&] { return !emulator.State().powerOn; }));
    EXPECT_EQ(LastLine(), "H100");
    ASSERT_TRUE(ServeUntil([&] { return panel.Busy; }));
    EXPECT_EQ(comm.BaudRate, 9600u);

    emulator.ClearReceivedLines();
    panel.pictbttn_1->Raise(ui::EventId::Click);
    ASSERT_TRUE(ServeUntil([&] { return !panel.Busy; }));
    EXPECT_EQ(Heard().at(0), "H101");
    EXPECT_TRUE(emulator.State().powerOn);
}

// A set switched off by the panel may not say so again: the connect switches it on before it
// asks anything, whether a job or the next connect after a round without an answer asks.
TEST_F(Pcr1000OnAir, ASetThePanelSwitchedOffOrFoundNowhereIsSwitchedOnFirst) {
    AsConnected();
    RunJob(622, 0);
    ASSERT_TRUE(ServeUntil([&] { return panel.Busy && !emulator.State().powerOn; }));
    emulator.ClearReceivedLines();
    RunJob(622, 1);
    ASSERT_TRUE(ServeUntil([&] { return !panel.Busy; }));
    EXPECT_EQ(Heard().at(0), "H101");
    EXPECT_TRUE(emulator.State().powerOn);

    emulator.SetDead(true);
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return panel.SyncCount() == 2; }));
    EXPECT_FALSE(panel.ReceiverAnswered());
    emulator.SwitchPowerByHand(false);
    emulator.SetDead(false);
    emulator.ClearReceivedLines();
    Post(PostSyncReceiver);
    ASSERT_TRUE(ServeUntil([&] { return panel.SyncCount() == 3; }));
    EXPECT_EQ(Heard().at(0), "H101");
    EXPECT_TRUE(panel.ReceiverAnswered());
}

}  // namespace
