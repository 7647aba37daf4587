// The exchange every panel shares when requests meet: a request made while another exchange
// is awaited waits for it and goes out after it; a wait ends with the outcome of its own
// exchange whatever was sent meanwhile; a request that cannot wait is refused, and a job line
// learns of it, as it learns of a request the receiver never answered; a scan step measures
// only a point whose tune was answered.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <span>

#include "receivers/panel.h"
#include "state/fdx.h"
#include "state/job_str.h"
#include "tests/support/code_sink.h"
#include "ui/post.h"
#include "ui/timer.h"

namespace {

constexpr int32_t kTune = 0x05;
constexpr int32_t kQuery = 0x03;
constexpr int32_t kOther = 0x15;

// A panel without a port: its tune is an exchange the test answers, its level is 50, and its
// job command 1 tunes.
class TestPanel : public ReceiverPanel {
  public:
    explicit TestPanel(FDX& state) { fdx_ = &state; }
    bool Create(ui::Form*, FDX*) override { return false; }
    bool SetFrequency() override { return BeginExchange(kTune); }
    int32_t ReadLevel() override { return 50; }
    void ExecuteCommand() override {
        ServeJobLine(*this, std::span<const JobCommand<TestPanel>>(kCommands));
    }
    void TuneCommand(JobStr&) {
        if (SetFrequency() && afterTune) afterTune();
    }
    // Run once the job command's tune went out.
    std::function<void()> afterTune;
    static const JobCommand<TestPanel> kCommands[1];
};
const JobCommand<TestPanel> TestPanel::kCommands[1] = {{1, &TestPanel::TuneCommand}};

class BusyLink : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(0);
        line.onCode = [this](uint32_t) {
            const auto what = later.front();
            later.pop_front();
            what();
        };
    }
    void TearDown() override {
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }
    // Runs `what` in the next wait that serves codes, as a reply, a click or a job line
    // would come.
    void Later(std::function<void()> what) {
        later.push_back(std::move(what));
        ASSERT_TRUE(ui::Post(&line, 0));
    }
    int64_t Since(int64_t start) const { return ui::Clock::NowMs() - start; }

    FDX state;
    TestPanel panel{state};
    CodeSink line;
    std::deque<std::function<void()>> later;
};

TEST_F(BusyLink, ARequestWaitsForTheAwaitedExchangeAndGoesOutAfterIt) {
    ASSERT_TRUE(panel.BeginExchange(kTune));
    const auto tune = panel.LastExchange();
    Later([&] { panel.EndExchange(true); });
    const int64_t start = ui::Clock::NowMs();
    ASSERT_TRUE(panel.BeginExchange(kQuery));
    EXPECT_EQ(Since(start), 0);
    EXPECT_TRUE(panel.Accepted(tune));
    EXPECT_EQ(panel.PendingCommand, kQuery);

    // Nobody answers: the query is given up at its time-out, and the next request goes out.
    const auto query = panel.LastExchange();
    ASSERT_TRUE(panel.BeginExchange(kOther));
    EXPECT_EQ(Since(start), ReceiverPanel::kReplyWaitMs);
    EXPECT_TRUE(panel.Ended(query));
    EXPECT_FALSE(panel.Accepted(query));
    EXPECT_EQ(panel.PendingCommand, kOther);
}

TEST_F(BusyLink, AWaitEndsWithTheOutcomeOfItsOwnExchange) {
    // Answered; a request served meanwhile goes out and is left awaited.
    ASSERT_TRUE(panel.BeginExchange(kTune));
    Later([&] {
        panel.EndExchange(true);
        EXPECT_TRUE(panel.BeginExchange(kQuery));
    });
    EXPECT_TRUE(panel.WaitReply());
    EXPECT_EQ(panel.PendingCommand, kQuery);

    // Refused; the request served meanwhile is answered and waited for: its wait reset the
    // event, yet the first wait returns at once, with its own outcome.
    Later([&] {
        panel.EndExchange(false);
        ASSERT_TRUE(panel.BeginExchange(kOther));
        Later([&] { panel.EndExchange(true); });
        EXPECT_TRUE(panel.WaitReply());
    });
    const int64_t start = ui::Clock::NowMs();
    EXPECT_FALSE(panel.WaitReply());
    EXPECT_EQ(Since(start), 0);
    EXPECT_TRUE(panel.ReplyComplete);  // the last exchange's
}

TEST_F(BusyLink, ARequestThatCannotWaitIsRefusedAtOnceAndFailsItsJobLine) {
    // Inside a parse pass no wait could parse the awaited reply.
    ASSERT_TRUE(panel.BeginExchange(kTune));
    panel.PollGuard = true;
    EXPECT_FALSE(panel.BeginExchange(kQuery));
    panel.PollGuard = false;

    // A request made while another waits for the link: the waiting one goes first, and a
    // job line whose request was refused says so.
    bool first = false;
    JobStr refused;
    refused.OBJ = 1;
    Later([&] { first = panel.BeginExchange(kQuery); });
    Later([&] {
        EXPECT_FALSE(panel.LinkIdle());
        state.JobLine = &refused;
        panel.ExecuteCommand();
        panel.EndExchange(true);
    });
    const int64_t start = ui::Clock::NowMs();
    ui::ServePending();
    EXPECT_TRUE(first);
    EXPECT_EQ(Since(start), 0);
    EXPECT_EQ(panel.PendingCommand, kQuery);
    EXPECT_EQ(refused.ReturnCode, 1u);
    EXPECT_EQ(refused.Message, ReceiverPanel::kNoAccess);

    // A job line whose own request waited and went out is done once its answer came, though a
    // request of somebody else's was refused inside its wait: the line waits for the answer
    // of the request it left outstanding.
    JobStr waited;
    waited.OBJ = 1;
    state.JobLine = &waited;
    Later([&] {
        EXPECT_FALSE(panel.BeginExchange(kOther));
        panel.EndExchange(true);
    });
    panel.afterTune = [&] { Later([&] { panel.EndExchange(true); }); };
    panel.ExecuteCommand();
    EXPECT_EQ(waited.ReturnCode, 0u);
    EXPECT_EQ(waited.Message, "");
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);

    // One whose request the receiver never answered fails with message 39, and so does one
    // it refused.
    JobStr unanswered;
    unanswered.OBJ = 1;
    state.JobLine = &unanswered;
    panel.afterTune = nullptr;
    panel.ExecuteCommand();
    EXPECT_EQ(unanswered.ReturnCode, 1u);
    EXPECT_EQ(unanswered.Message, "Ошибка обращения к приемнику(выключен)");
    JobStr refusedByTheSet;
    refusedByTheSet.OBJ = 1;
    state.JobLine = &refusedByTheSet;
    panel.afterTune = [&] { Later([&] { panel.EndExchange(false); }); };
    panel.ExecuteCommand();
    EXPECT_EQ(refusedByTheSet.ReturnCode, 1u);
    EXPECT_EQ(refusedByTheSet.Message, "Ошибка обращения к приемнику(выключен)");
    state.JobLine = nullptr;
}

// A stop or a scan start drops a stale exchange, never one a wait depends on; a failed range
// step empties the ring only while nothing is awaited.
TEST_F(BusyLink, OnlyWhatNobodyAwaitsIsDroppedAsStale) {
    ASSERT_TRUE(panel.BeginExchange(kTune));
    Later([&] {
        panel.CancelUnawaited();
        EXPECT_EQ(panel.PendingCommand, kTune);
        panel.EndExchange(true);
    });
    EXPECT_TRUE(panel.WaitReply());
    ASSERT_TRUE(panel.BeginExchange(kTune));
    EXPECT_FALSE(panel.EmptiesPortAfterFailedRead());
    panel.CancelUnawaited();
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    EXPECT_TRUE(panel.EmptiesPortAfterFailedRead());
}

TEST_F(BusyLink, AScanStepMeasuresOnlyAPointWhoseTuneWasAnswered) {
    // The tune could not go out: nothing is measured, nothing waited for, and the exchange
    // of somebody else's stays awaited.
    ASSERT_TRUE(panel.BeginExchange(kOther));
    panel.PollGuard = true;
    EXPECT_FALSE(panel.Tune());
    panel.PollGuard = false;
    const int64_t start = ui::Clock::NowMs();
    EXPECT_EQ(panel.ScanLevel(), -1);
    EXPECT_EQ(Since(start), 0);
    EXPECT_EQ(panel.PendingCommand, kOther);

    // Went out after that exchange, and the receiver refused it.
    Later([&] { panel.EndExchange(true); });
    ASSERT_TRUE(panel.Tune());
    Later([&] { panel.EndExchange(false); });
    EXPECT_EQ(panel.ScanLevel(), -1);

    // Answered, and another exchange went out since: the point is measured, as often as a
    // held scan asks, and that exchange is left alone.
    ASSERT_TRUE(panel.Tune());
    panel.EndExchange(true);
    ASSERT_TRUE(panel.BeginExchange(kOther));
    EXPECT_EQ(panel.ScanLevel(), 50);
    EXPECT_EQ(panel.ScanLevel(), 50);
    EXPECT_EQ(panel.PendingCommand, kOther);

    // More exchanges since than the panel keeps the outcomes of (a bank read a job ran while
    // the scan held): the tune's answer holds all the same, the refusal as the acceptance.
    for (const bool accepted : {true, false}) {
        panel.EndExchange(true);
        ASSERT_TRUE(panel.Tune());
        panel.EndExchange(accepted);
        for (int n = 0; n < 100; ++n) {
            ASSERT_TRUE(panel.BeginExchange(kOther));
            panel.EndExchange(true);
        }
        ASSERT_TRUE(panel.BeginExchange(kOther));
        EXPECT_EQ(panel.ScanLevel(), accepted ? 50 : -1) << accepted;
    }
}

}  // namespace
