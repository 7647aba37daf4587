#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "tests/support/code_sink.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/form_widget.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace {

using Receiver = CodeSink;

// Tests run on virtual time: ticks and time-outs happen at once and the same way.
class VirtualTime : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(0);
    }
    void TearDown() override {
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }
};

TEST(PostedCodes, ArriveLaterAsUserEventsInPostingOrder) {
    Receiver form;
    for (uint32_t code = 0; code < 200; ++code) ASSERT_TRUE(ui::Post(&form, code));
    EXPECT_TRUE(form.codes.empty());  // posting never runs the handler at once
    ui::ServePending();
    ASSERT_EQ(form.codes.size(), 200u);
    for (uint32_t code = 0; code < 200; ++code) EXPECT_EQ(form.codes[code], code);
}

TEST(PostedCodes, FromAnotherThreadArriveInOrder) {
    Receiver form;
    std::thread reader([&] {
        for (uint32_t i = 0; i < 1000; ++i) ui::Post(&form, i);
    });
    reader.join();
    ui::ServePending();
    ASSERT_EQ(form.codes.size(), 1000u);
    for (uint32_t i = 0; i < 1000; ++i) ASSERT_EQ(form.codes[i], i);
}

TEST(PostedCodes, ToAMissingWindowReturnFalse) {
    EXPECT_FALSE(ui::Post(nullptr, 0x79));
    Receiver form;
    form.Destroy();
    EXPECT_FALSE(ui::Post(&form, 0x79));
    auto gone = std::make_unique<Receiver>();
    Receiver* dangling = gone.get();
    gone.reset();
    EXPECT_FALSE(ui::Post(dangling, 0x79));
}

TEST(PostedCodes, QueuedForAWindowThatIsDestroyedAreDropped) {
    auto form = std::make_unique<Receiver>();
    int arrived = 0;
    form->onCode = [&](uint32_t) { ++arrived; };
    ui::Post(form.get(), 1);
    form.reset();
    ui::ServePending();
    EXPECT_EQ(arrived, 0);
}

TEST(PostedCodes, ACodePostedDuringAChainIsServedBetweenTwoSteps) {
    Receiver form;
    form.onCode = [&](uint32_t code) {
        if (code < 3) ui::Post(&form, code + 1);  // a scan chain posting its next step
    };
    ui::Post(&form, 0);
    ui::Post(&form, 0x79);  // the serial reader's code, queued behind step 0
    for (int pass = 0; pass < 10 && form.codes.size() < 5; ++pass) ui::ServePending();
    EXPECT_EQ(form.codes, (std::vector<uint32_t>{0, 0x79, 1, 2, 3}));
}

TEST_F(VirtualTime, ReplyWaitReturnsAsSoonAsAPostedCodeSetsTheEvent) {
    Receiver panel;
    ui::ReplyEvent reply("RECV_REPLY");
    panel.onCode = [&](uint32_t code) {
        if (code == 0x79) reply.Set();
    };
    reply.Reset();
    ui::Post(&panel, 0x79);
    EXPECT_TRUE(reply.Wait(1000));
    EXPECT_EQ(ui::Clock::NowMs(), 0);  // no time passed

    // Also when a wait nested in the handler has reset the event since.
    reply.Reset();
    panel.onCode = [&](uint32_t) {
        reply.Set();
        reply.Reset();
    };
    ui::Post(&panel, 0x79);
    EXPECT_TRUE(reply.Wait(1000));
    EXPECT_EQ(ui::Clock::NowMs(), 0);
}

TEST_F(VirtualTime, ReplyWaitGivesUpAfterTheLimitServingTicksAndCodesMeanwhile) {
    Receiver main;
    ui::Timer timer;
    int ticks = 0;
    timer.AddHandler(ui::EventId::Timer, [&](ui::Object&, ui::EventData&) {
        ui::Post(&main, 0x0a);
        ++ticks;
        return false;
    });
    timer.Start(100);
    ui::ReplyEvent reply;
    EXPECT_FALSE(reply.Wait(1000));
    EXPECT_EQ(ui::Clock::NowMs(), 1000);
    EXPECT_EQ(ticks, 10);
    ui::ServePending();
    EXPECT_EQ(main.codes.size(), 10u);
}

TEST_F(VirtualTime, ATickCanSetTheEventAWaitIsWaitingOn) {
    ui::Timer timer;
    ui::ReplyEvent reply;
    int ticks = 0;
    timer.AddHandler(ui::EventId::Timer, [&](ui::Object&, ui::EventData&) {
        if (++ticks == 3) reply.Set();
        return false;
    });
    timer.Start(100);
    EXPECT_TRUE(reply.Wait(1000));
    EXPECT_EQ(ui::Clock::NowMs(), 300);
}

TEST_F(VirtualTime, WaitsNestInsideHandlers) {
    Receiver panel;
    ui::ReplyEvent outer, inner;
    panel.onCode = [&](uint32_t code) {
        if (code == 1) {
            ui::Post(&panel, 2);
            EXPECT_TRUE(inner.Wait(500));  // served inside the outer wait's handler
            outer.Set();
        }
        if (code == 2) inner.Set();
    };
    ui::Post(&panel, 1);
    EXPECT_TRUE(outer.Wait(1000));
    EXPECT_EQ(panel.codes, (std::vector<uint32_t>{1, 2}));
}

// A program that quits ends every wait at once, one begun after the quit and one under way
// when it came: no loop is left to bring what they wait for. The next message loop waits again.
TEST_F(VirtualTime, WaitsEndAtOnceWhileTheProgramQuits) {
    for (const bool quitFirst : {true, false}) {
        ui::Application application;
        Receiver main;
        ui::ReplyEvent reply;
        bool answered = true;
        int64_t endedAt = -1;
        main.onCode = [&](uint32_t code) {
            if (code == 2) ui::Application::Quit(0);
            if (code != 1) return;
            if (quitFirst)
                ui::Application::Quit(0);
            else
                ui::Post(&main, 2);  // quits in the middle of the wait
            answered = reply.Wait(1000);
            endedAt = ui::Clock::NowMs();
        };
        const int64_t started = ui::Clock::NowMs();
        ui::Post(&main, 1);
        EXPECT_EQ(application.RunMessageLoop(), 0);
        EXPECT_FALSE(answered) << quitFirst;
        EXPECT_EQ(endedAt, started) << quitFirst;
        EXPECT_FALSE(ui::Application::Quitting()) << quitFirst;
    }
    ui::ReplyEvent reply;
    const int64_t before = ui::Clock::NowMs();
    EXPECT_FALSE(reply.Wait(100));
    EXPECT_EQ(ui::Clock::NowMs(), before + 100);
}

TEST_F(VirtualTime, TimerStoppedInItsOwnTickTicksNoMore) {
    ui::Timer timer;
    int ticks = 0;
    timer.AddHandler(ui::EventId::Timer, [&](ui::Object&, ui::EventData&) {
        if (++ticks == 2) timer.Stop();
        return false;
    });
    timer.Start(100);
    ui::ServeFor(1000);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(timer.IsRunning());
}

// ---- the peer of virtual time: an emulated receiver that owes the program something

// A peer that owes what `owes` says, has its next deed at `dueMs` (-1: none) and is given its
// turns; each turn is noted with the virtual time it came at.
class WithPeer : public VirtualTime {
  protected:
    void SetUp() override {
        VirtualTime::SetUp();
        ui::Clock::Peer peer;
        peer.owes = [this] { return owes(); };
        peer.nextDueMs = [this] { return dueMs; };
        peer.takeTurn = [this] {
            turns.push_back(ui::Clock::NowMs());
            if (turn) turn();
        };
        ui::Clock::SetPeer(std::move(peer));
    }
    // The virtual times `timer` ticks at go into ticks.
    void NoteTicks(ui::Timer& timer) {
        timer.AddHandler(ui::EventId::Timer, [this](ui::Object&, ui::EventData&) {
            ticks.push_back(ui::Clock::NowMs());
            return false;
        });
    }
    std::function<bool()> owes = [] { return false; };
    std::function<void()> turn;
    int64_t dueMs = -1;
    std::vector<int64_t> turns;
    std::vector<int64_t> ticks;
};

TEST_F(WithPeer, NoTimePassesWhileThePeerOwesHoweverManyTurnsItTakes) {
    int left = 50;
    owes = [&] { return left > 0; };
    turn = [&] { --left; };
    ui::Timer timer;
    NoteTicks(timer);
    timer.Start(100);
    ui::ServeFor(250);
    ASSERT_EQ(turns.size(), 50u);
    EXPECT_EQ(turns.back(), 0);  // every turn before the first tick
    EXPECT_EQ(ticks, (std::vector<int64_t>{100, 200}));
}

TEST_F(WithPeer, TimeStopsAtThePeersNextDeedAndLetsItDoThatBeforeTheTicks) {
    dueMs = 250;
    owes = [&] { return dueMs >= 0 && ui::Clock::NowMs() >= dueMs; };
    turn = [&] { dueMs = -1; };  // done: nothing more to do by itself
    ui::Timer timer;
    NoteTicks(timer);
    timer.Start(250);
    ui::Clock::Advance(1000);
    EXPECT_EQ(turns, std::vector<int64_t>{250});
    EXPECT_EQ(ticks, (std::vector<int64_t>{250, 500, 750, 1000}));
    EXPECT_EQ(ui::Clock::NowMs(), 1000);
}

// What another thread posts (the serial reader's announcement) arrives before time moves on,
// whole, and after the program's own codes posted before it, as the program's loop hands them
// over. A code the program posts meanwhile belongs to its next pass: what the reader posts after
// it waits for that pass too.
TEST_F(WithPeer, WhatAnotherThreadPostsArrivesBeforeTimeMovesOnInTheOrderPosted) {
    Receiver main;
    std::atomic<bool> delivering = false;
    std::vector<uint32_t> batch;  // what the reader posts in the peer's next turn
    owes = [&] { return delivering.load(); };
    turn = [&] {
        std::thread([&] {
            for (const uint32_t code : batch) ui::Post(&main, code);
            delivering = false;
        }).join();
    };
    std::vector<int64_t> arrivedAt;
    std::vector<bool> pendingInItsHandler;
    main.onCode = [&](uint32_t code) {
        if (code < 100) return;
        arrivedAt.push_back(ui::Clock::NowMs());
        // Arrived: its own handler running does not keep it pending.
        pendingInItsHandler.push_back(ui::ForeignCodesPendingForTesting());
        if (code != 109) return;
        ui::Post(&main, 2);  // the program's next step, which asks the peer again
        batch = {200};
        delivering = true;
    };
    ui::Post(&main, 1);  // the program's own, posted first
    batch = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109};
    delivering = true;
    ui::Clock::SettleOwed();
    EXPECT_EQ(main.codes,
              (std::vector<uint32_t>{1, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109}));
    EXPECT_EQ(arrivedAt, std::vector<int64_t>(10, 0));
    EXPECT_EQ(pendingInItsHandler.back(), false);
    EXPECT_TRUE(ui::ForeignCodesPendingForTesting());  // 200, behind the program's 2
    ui::ServePending();
    EXPECT_EQ(std::vector<uint32_t>(main.codes.end() - 2, main.codes.end()),
              (std::vector<uint32_t>{2, 200}));
    EXPECT_FALSE(ui::ForeignCodesPendingForTesting());
}

// What a code left to run outside the reply waits is queued as the wait ends; the serial
// reader's code posted after that arrives after it, in the program's own loop and on the tests'
// clock alike.
TEST_F(WithPeer, ACallQueuedBeforeTheReadersCodeRunsBeforeIt) {
    for (const bool byClock : {false, true}) {
        SCOPED_TRACE(byClock ? "the clock settles" : "the program's loop");
        Receiver main;
        std::vector<uint32_t> order;  // 1: the action held outside the wait ran
        ui::ReplyEvent reply;
        main.onCode = [&](uint32_t code) {
            if (code != 1) {
                order.push_back(code);
                return;
            }
            ui::OutsideReplyWaits(&main, [&] { order.push_back(1); });
            reply.Set();
        };
        ui::Post(&main, 1);
        ASSERT_TRUE(reply.Wait(1000));
        std::atomic<bool> delivering = true;
        const auto reader = [&] {
            std::thread([&] {
                ui::Post(&main, 0x79);
                delivering = false;
            }).join();
        };
        owes = [&] { return delivering.load(); };
        turn = reader;
        if (byClock)
            ui::Clock::SettleOwed();
        else
            reader();
        ui::ServePending();
        EXPECT_EQ(order, (std::vector<uint32_t>{1, 0x79}));
        owes = [] { return false; };
        turn = nullptr;
    }
}

TEST_F(WithPeer, ACodeAnotherThreadPostsToAWindowThatGoesIsNoLongerPending) {
    auto gone = std::make_unique<Receiver>();
    std::thread reader([&] { ui::Post(gone.get(), 0x79); });
    reader.join();
    EXPECT_TRUE(ui::ForeignCodesPendingForTesting());
    gone.reset();
    EXPECT_FALSE(ui::ForeignCodesPendingForTesting());
}

TEST(RealTime, ReplyWaitEndsWhenAnotherThreadsCodeSetsTheEvent) {
    Receiver panel;
    ui::ReplyEvent reply;
    panel.onCode = [&](uint32_t code) {
        if (code == 0x79) reply.Set();
    };
    std::thread reader([&] { ui::Post(&panel, 0x79); });
    EXPECT_TRUE(reply.Wait(10000));
    reader.join();
}

TEST(RealTime, ReplyWaitOfZeroReturnsTheEventsState) {
    ui::ReplyEvent reply;
    EXPECT_FALSE(reply.Wait(0));
    reply.Set();
    EXPECT_TRUE(reply.Wait(0));
}

}  // namespace

namespace {

// A wait inside the handler of one code is ended by a code posted right after it, before
// the wait began: the nested loop must hand that code over instead of sleeping on.
TEST(RealTime, AWaitSeesACodeQueuedBehindItsOwnHandler) {
    Receiver panel;
    ui::ReplyEvent reply;
    bool answered = false;
    panel.onCode = [&](uint32_t code) {
        if (code == 1) answered = reply.Wait(3000);
        if (code == 2) reply.Set();
    };
    ui::Post(&panel, 1);
    ui::Post(&panel, 2);
    ui::ServePending();
    EXPECT_TRUE(answered);
}

}  // namespace
