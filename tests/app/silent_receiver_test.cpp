// A receiver whose port stays open but which answers nothing: silent from the start, or gone
// silent in the middle of a scan. The operator is told once, the receiver is asked who it is
// every few seconds and nothing else, and the scan goes on from its point once it answers. And
// a receiver without a port at all: its start-up job is not held.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// Before Qt's headers, whose "signals" keyword would take the signal plan's field's name.
#include "tests/app/window_fixture.h"

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QCloseEvent>
#include <QWidget>

#include "receivers/panel_registry.h"
#include "tests/support/case_name.h"

namespace {

using window_test::kMHz;
using window_test::ScanOnAir;

constexpr uint32_t k100MHz = 100 * kMHz;
constexpr uint32_t k10kHz = 100;
constexpr const char* kReceiverOff = "Ошибка обращения к приемнику(выключен)";

class SilentReceiver : public ScanOnAir {
  protected:
    // A range scan of fifty passes over a hundred points from 100 MHz in 12.5 kHz steps (a
    // step the receiver is not set to: the scan's start gives it).
    void StartAScan() {
        UserDp& range = MakeRange(k100MHz, k100MHz + 99 * 125, 125);
        range.Cycles = 50;
        ScanFromRangeTab(range);
        ASSERT_TRUE(orvel.Running);
    }
    // Virtual time passes; the receiver hears what it is sent on the way.
    static void PassSeconds(int seconds) { ui::ServeFor(seconds * 1000); }
    // The command bytes of the frames the receiver heard, in order.
    std::vector<uint8_t> Heard() const {
        std::vector<uint8_t> commands;
        for (const auto& frame : emulator.ReceivedFrames())
            if (frame.size() > 4) commands.push_back(frame[4]);
        return commands;
    }
    // Whether the receiver heard nothing but "who is there" (19 00).
    bool HeardTheSyncAlone() const {
        const auto heard = Heard();
        return !heard.empty() &&
               std::all_of(heard.begin(), heard.end(), [](uint8_t c) { return c == 0x19; });
    }
};

TEST_F(SilentReceiver, GoneSilentMidScanIsToldOnceAskedAgainAndScannedOnFromItsPoint) {
    StartAScan();
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 5; }));
    emulator.SetDead(true);  // the port stays open; the bus still echoes
    ASSERT_TRUE(RunUntil([&] { return !boxes.shown.empty(); }, 10'000));
    EXPECT_EQ(Messages(), std::vector<std::string>{kReceiverOff});
    const Bank& slot = orvel.ScanSlots[0];
    const uint32_t reached = slot.ScanPoint;

    // The scan waits on its point; the receiver is asked who it is every few seconds.
    emulator.ClearReceivedFrames();
    PassSeconds(10);
    EXPECT_TRUE(HeardTheSyncAlone()) << Heard().size();
    EXPECT_EQ(slot.ScanPoint, reached);
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(orvel.start->Text(), "СТОП");

    emulator.SetSignalPlan(window_test::Flat(30));  // levels the scan never saw before
    emulator.SetDead(false);
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }, 10'000));
    ASSERT_FALSE(Tuned().empty());
    EXPECT_EQ(Tuned().front(), reached);
    EXPECT_EQ(slot.Current[std::size_t(slot.CellOf(reached))], 30);
    EXPECT_TRUE(orvel.comm.IsOpen());
    EXPECT_EQ(Messages().size(), 1u);
}

// The receiver is looked for again three seconds after its silence was noticed, as three
// seconds after each try it left unanswered: the first try comes no sooner than the others.
// Counted in the main window's second ticks, each seen before the window takes it.
TEST_F(SilentReceiver, EveryTryComesThreeSecondsAfterTheSilenceOrTheTryBefore) {
    StartAScan();
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 5; }));
    const ReceiverPanel& panel = *orvel.receiver.Panel();
    struct Seen {
        bool answered, syncing;
        uint32_t syncs;
    };
    std::vector<Seen> ticks;
    hooks[PostTimerTick] = [&] {
        ticks.push_back({panel.ReceiverAnswered(), !panel.SyncEnded(), panel.SyncCount()});
    };
    emulator.SetDead(true);
    PassSeconds(16);
    hooks.erase(PostTimerTick);
    // The first tick that shows each moment.
    const auto first = [&](std::size_t from, const std::function<bool(const Seen&)>& shows) {
        std::size_t at = from;
        while (at < ticks.size() && !shows(ticks[at])) ++at;
        EXPECT_LT(at, ticks.size());
        return at;
    };
    const std::size_t silent = first(0, [](const Seen& t) { return !t.answered; });
    ASSERT_LT(silent, ticks.size());  // indexed below
    const uint32_t syncs = ticks[silent].syncs;
    const std::size_t tried = first(silent, [](const Seen& t) { return t.syncing; });
    const std::size_t failed = first(tried, [&](const Seen& t) { return t.syncs > syncs; });
    const std::size_t triedAgain = first(failed, [](const Seen& t) { return t.syncing; });
    EXPECT_EQ(tried - silent, 3u);
    EXPECT_EQ(triedAgain - failed, 3u);
}

TEST_F(SilentReceiver, RepliesMissedNowAndThenAmongAnsweredOnesAreNoSilence) {
    StartAScan();
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }));
    // Four times the receiver misses a step's replies (one or two of them), and answers the
    // three steps between.
    int steps = 0;
    hooks[PostRangeScanStep] = [&] {
        ++steps;
        if (steps <= 16) emulator.SetDead(steps % 4 == 1);
    };
    ASSERT_TRUE(RunUntil([&] { return steps >= 20; }, 60'000));
    ui::ServeFor(5'000);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(orvel.Running);
    EXPECT_TRUE(orvel.receiver.ReceiverReady());
}

// The receiver answers nothing from the start; the bus still echoes.
class SilentAtStart : public SilentReceiver {
  protected:
    void SetUp() override {
        emulator.SetDead(true);
        SilentReceiver::SetUp();
    }
};

TEST_F(SilentAtStart, AScanStartedAfterTheUnansweredSyncSendsNothingUntilTheReceiverAnswers) {
    StartAScan();
    PassSeconds(10);
    EXPECT_TRUE(HeardTheSyncAlone()) << Heard().size();
    EXPECT_EQ(Messages(), std::vector<std::string>{kReceiverOff});

    emulator.SetDead(false);
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }, 10'000));
    // Once it answers, the scan gives its step (10 08: 12.5 kHz) and tunes its first point.
    const auto heard = Heard();
    EXPECT_NE(std::find(heard.begin(), heard.end(), 0x10), heard.end());
    ASSERT_FALSE(Tuned().empty());
    EXPECT_EQ(Tuned().front(), k100MHz);
    EXPECT_EQ(emulator.State().stepCode, 8);
    EXPECT_TRUE(orvel.Running);
}

TEST_F(SilentAtStart, ABankScanSendsNothingEitherAndGivesItsChannelOnceAnswered) {
    UserFreq bank;
    for (std::size_t i = 0; i < 2; ++i) {
        orvel.Channels[i] = Mt{};
        orvel.Channels[i].Frequency = k100MHz + uint32_t(i) * 1000;
        orvel.Channels[i].Step = 125;
        orvel.Channels[i].Modulation = 'W';
    }
    orvel.ChannelCount = 2;
    orvel.CurrentBank = &bank;
    orvel.SwitchToTab(1);
    orvel.StartButton();
    ASSERT_TRUE(orvel.Running);
    PassSeconds(10);
    EXPECT_TRUE(HeardTheSyncAlone()) << Heard().size();

    emulator.SetDead(false);
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }, 10'000));
    ASSERT_FALSE(Tuned().empty());
    EXPECT_EQ(Tuned().front(), k100MHz);
    EXPECT_EQ(emulator.State().stepCode, 8);
    orvel.StartButton();
    EXPECT_FALSE(orvel.Running);
    orvel.CurrentBank = nullptr;
}

// The operator closes the window while the start-up sync waits for the silent set, a scan
// running, so the close asks once the wait has ended; the set answers while the question stands,
// which is answered no.
class CloseDuringTheStartUpSync : public SilentAtStart {
  protected:
    void Prepare() override {
        Answer({ui::MessageAnswer::No});
        boxes.whileShown = [this](const ui::MessageBoxRequest&) {
            orvel.Running = 0;
            emulator.SetDead(false);
        };
        hooks[PostTimerTick] = [this] {
            const ReceiverPanel* panel = orvel.receiver.Panel();
            if (closed || !panel || panel->SyncEnded() || ui::ReplyEvent::Running() == 0) return;
            closed = true;
            orvel.Running = 1;
            orvel.SetClosesProgram();  // as the program's main window
            QCloseEvent close;
            QSpontaneKeyEvent::setSpontaneous(&close);
            QApplication::instance()->notify(orvel.widget(), &close);
        };
    }
    bool closed = false;
};

// The sync the close broke off is no lost set: nobody hears of one, and the set is asked again.
TEST_F(CloseDuringTheStartUpSync, TheSyncItBrokeOffIsNotToldAndIsAskedAgain) {
    hooks.erase(PostTimerTick);
    ASSERT_TRUE(closed);
    ASSERT_TRUE(RunUntil([&] { return orvel.receiver.ReceiverReady(); }, 10'000));
    boxes.whileShown = nullptr;
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Запущен автоматический режим! Выйти из программы?"});
}

// Every model on a serial line, configured without a port: there is nobody to ask, and the
// start-up job's first line runs once the sync has given up, as soon on one model as on another
// (the IC-PCR1000 has no speeds to look for the set at).
class WithoutAPort : public window_test::WindowTest,
                     public ::testing::WithParamInterface<int32_t> {
  protected:
    std::string Ini() const override {
        return "RECV=" + std::to_string(GetParam()) + "\r\nAUTOEXEC=0002\r\n";
    }
    void Prepare() override {
        started = ui::Clock::NowMs();
        WriteUnattendedScan();
    }
    int64_t started = 0;
};

TEST_P(WithoutAPort, TheStartUpJobsFirstLineRunsWithinTheSyncsOneSecond) {
    ASSERT_TRUE(RunUntil([&] { return orvel.JobLine != nullptr; }, 60'000));
    EXPECT_LE(ui::Clock::NowMs() - started, 1'100);
    EXPECT_FALSE(orvel.comm.IsOpen());
}

std::vector<int32_t> SerialModels() {
    std::vector<int32_t> types;
    for (const PanelModel& model : panel_registry::Models())
        if (model.make != nullptr && model.traits.serialPort) types.push_back(model.configuredType);
    return types;
}

// A case is named by its model ("ICR8500").
std::string ModelName(const ::testing::TestParamInfo<int32_t>& info) {
    for (const PanelModel& model : panel_registry::Models())
        if (model.configuredType == info.param && model.name != nullptr) return CaseName(model.name);
    return "Type" + std::to_string(info.param);
}

INSTANTIATE_TEST_SUITE_P(Models, WithoutAPort, ::testing::ValuesIn(SerialModels()), ModelName);

}  // namespace
