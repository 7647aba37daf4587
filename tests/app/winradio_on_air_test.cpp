// The program configured for a WiNRADiO card (type 8): with the stand-in vendor library in its
// folder the station runs unattended from its start (the start-up job loads a stored range and
// scans it, the card's signal is journalled); without the library it starts all the same and
// says once that there is no receiver. A card that fails is told once and a scan waits for it
// on its point, as for a silent serial set, and goes on once the card answers again.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "receivers/winradio/winradio.h"
#include "tests/app/window_fixture.h"
#include "tests/support/wrapi_standin.h"

namespace {

// The program configured for a card; the card answers at once, there is no thread to wait for.
class WinradioStation : public window_test::WindowTest {
  protected:
    std::string Ini() const override { return "COM=1\r\nRECV=8\r\n"; }
    WrapiStandin card;
};

// The stand-in library in the program folder, a carrier at 100.5 MHz on the card.
class WinradioUnattendedStart : public WinradioStation {
  protected:
    std::string Ini() const override { return WinradioStation::Ini() + "AUTOEXEC=0002\r\n"; }
    void Prepare() override {
        WrapiStandin::LinkInto(folder.path());
        card.SetNoiseFloor(20);
        card.AddSignal(100'500'000, 200, 10'000);
        WriteUnattendedScan();
    }
};

TEST_F(WinradioUnattendedStart, TheStartUpJobScansItsRangeOnTheCardAndJournalsTheSignal) {
    ASSERT_NE(dynamic_cast<WINRADIO*>(orvel.receiver.Panel()), nullptr);
    ASSERT_TRUE(
        RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; }));
    // Journalled where the scan finds the 100.5 MHz peak passed, as with every receiver.
    EXPECT_NE(ScanNotes().find("Появление сигнала 100.5100"), std::string::npos) << ScanNotes();
    EXPECT_TRUE(RunUntil([&] { return !orvel.Running && !orvel.JobRunning; }));
    // The whole range was tuned on the card, in Hz, with the card's scan mode on from the
    // first tune to the last: the start-up job ending while the scan runs leaves it on.
    const std::string log = card.Log();
    const auto first = log.find(", 100000000) = 1\n");
    const auto last = log.find(", 100990000) = 1\n");
    ASSERT_NE(last, std::string::npos);
    std::vector<std::pair<std::size_t, char>> modes;  // where in the log, the mode set
    for (auto at = log.find("SetScanMode("); at != std::string::npos;
         at = log.find("SetScanMode(", at + 1))
        modes.push_back({at, log[log.find(") = ", at) - 1]});
    ASSERT_EQ(modes.size(), 2u) << log;
    EXPECT_EQ(modes[0].second, '1');
    EXPECT_LT(modes[0].first, first);
    EXPECT_EQ(modes[1].second, '0');
    EXPECT_GT(modes[1].first, last);
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    EXPECT_TRUE(boxes.shown.empty());
}

// The library in the program folder; the card is connected at the start.
class WinradioCard : public WinradioStation {
  protected:
    void Prepare() override {
        WrapiStandin::LinkInto(folder.path());
        card.SetNoiseFloor(20);
    }
    // How often the card was tuned since the log was last cleared.
    int Tunes() const {
        const std::vector<std::string> calls = card.Calls();
        return int(std::count(calls.begin(), calls.end(), "SetFrequency"));
    }
    // A range scan of fifty passes over a hundred points from 100 MHz, 10 kHz apart, started
    // once the start-up's connect has ended.
    Bank& StartAScan() {
        EXPECT_TRUE(RunUntil([&] { return orvel.receiver.SyncEnded(); }, 5'000));
        UserDp& range = MakeRange(100 * window_test::kMHz, 100 * window_test::kMHz + 9'900, 100);
        range.Cycles = 50;
        ScanFromRangeTab(range);
        EXPECT_TRUE(orvel.Running);
        return orvel.ScanSlots[0];
    }
};

constexpr const char* kReceiverOff = "Ошибка обращения к приемнику(выключен)";

// Every strength read of the card fails in the middle of a scan: the operator is told once,
// the scan stops tuning and waits on its point (the card is connected again every few seconds,
// which tunes nothing), and once the card gives levels again the scan goes on from that point.
TEST_F(WinradioCard, ACardWhoseLevelsFailIsToldOnceAndTheScanWaitsOnItsPoint) {
    Bank& slot = StartAScan();
    ASSERT_TRUE(RunUntil([&] { return slot.ScanPoint >= 100 * window_test::kMHz + 2'000; }));
    card.Fail("GetSignalStrength");
    ASSERT_TRUE(RunUntil([&] { return !boxes.shown.empty(); }, 10'000));
    EXPECT_EQ(Messages(), std::vector<std::string>{kReceiverOff});
    const uint32_t reached = slot.ScanPoint;
    card.ClearLog();
    ui::ServeFor(10'000);
    EXPECT_EQ(Tunes(), 0);
    EXPECT_EQ(slot.ScanPoint, reached);
    EXPECT_TRUE(orvel.Running);
    EXPECT_NE(card.Log().find("GetSignalStrength"), std::string::npos);  // asked again

    card.Recover();
    ASSERT_TRUE(RunUntil([&] { return slot.ScanPoint > reached + 500; }, 10'000));
    EXPECT_EQ(Messages().size(), 1u);
}

// The card does not open at the start.
class WinradioCardThatDoesNotOpen : public WinradioCard {
  protected:
    void Prepare() override {
        WinradioCard::Prepare();
        card.Fail("OpenRadioDevice");
    }
};

// A card that does not open: the start says so once (message 2) and nothing more, a scan
// started waits on its first point without tuning, and once a card opens the scan runs.
TEST_F(WinradioCardThatDoesNotOpen, AScanWaitsForItOnItsPointAndRunsOnceItOpens) {
    ui::ServeFor(500);
    ASSERT_EQ(Messages(), std::vector<std::string>{"Ошибка инициализации приемника(нет памяти)"});
    card.ClearLog();
    Bank& slot = StartAScan();
    const uint32_t first = slot.ScanPoint;
    ui::ServeFor(10'000);
    EXPECT_EQ(Tunes(), 0);
    EXPECT_EQ(slot.ScanPoint, first);
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(Messages().size(), 1u);  // not told again as it is looked for

    card.Recover();
    ASSERT_TRUE(RunUntil([&] { return slot.ScanPoint > first + 500; }, 10'000));
    EXPECT_GT(Tunes(), 0);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(WinradioStation, WithoutTheLibraryTheProgramStartsAndSaysOnceThereIsNoReceiver) {
    EXPECT_EQ(orvel.ReceiverType, 8);
    auto* panel = dynamic_cast<WINRADIO*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(orvel.tabctrl_1->Page(0), panel);
    EXPECT_FALSE(orvel.comm.IsOpen());
    ui::ServeFor(3000);  // the start-up connect and thirty level polls
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Ошибка инициализации приемника(нет памяти)");
    EXPECT_EQ(orvel.Level, -1);

    // A scan started anyway reads nothing and stops when asked.
    orvel.SwitchToTab(0);
    orvel.StartButton();
    ui::ServeFor(1000);
    if (orvel.Running) orvel.StartButton();
    ui::ServeFor(500);
    EXPECT_FALSE(orvel.Running);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(card.Log(), "");
}

// Every start after the first has an ORVEL.CFG, and the start-up restores the last session by
// a job of its own; the panel's connect runs while that job runs. Message 2 must still reach
// the operator, once, rather than the line of a job nobody sees.
class WinradioStationRestored : public WinradioStation {
  protected:
    void Prepare() override { Write("ORVEL.CFG", {"Сетка=Да"}); }
};

TEST_F(WinradioStationRestored, WithoutTheLibraryTheRestoredStartSaysOnceThereIsNoReceiver) {
    ASSERT_NE(dynamic_cast<WINRADIO*>(orvel.receiver.Panel()), nullptr);
    ASSERT_TRUE(RunUntil([&] { return !boxes.shown.empty(); }, 5'000));
    ui::ServeFor(10'000);  // the card is looked for again meanwhile
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка инициализации приемника(нет памяти)"});
    EXPECT_FALSE(orvel.JobRunning);
}

// The card does not open, and the start-up job scans a range: the operator hears of it once,
// after the job (a box would hold its lines), and the scan waits on its first point.
class WinradioCardThatDoesNotOpenUnattended : public WinradioCardThatDoesNotOpen {
  protected:
    std::string Ini() const override { return WinradioStation::Ini() + "AUTOEXEC=0002\r\n"; }
    void Prepare() override {
        WinradioCardThatDoesNotOpen::Prepare();
        WriteUnattendedScan();
    }
};

TEST_F(WinradioCardThatDoesNotOpenUnattended, TheStartUpJobGoesOnAndTheMissingCardIsToldOnce) {
    ASSERT_TRUE(RunUntil([&] { return !boxes.shown.empty(); }, 10'000));
    EXPECT_FALSE(orvel.JobRunning);
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    card.ClearLog();
    ui::ServeFor(10'000);
    EXPECT_EQ(Tunes(), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка инициализации приемника(нет памяти)"});
    // No line took the card's absence for its own failure: neither the start-up's own job
    // nor the operator's job it started.
    for (int32_t i = 0; i < orvel.JobLineCount; ++i)
        EXPECT_EQ(orvel.RunLines[std::size_t(i)].Message, "") << i;
    for (int32_t i = 0; i < orvel.EditLineCount; ++i)
        EXPECT_EQ(orvel.EditLines[std::size_t(i)].Message, "") << i;
}

}  // namespace
