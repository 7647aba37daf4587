// The station running unattended with an AR5000: ORVEL.INI names the AR5000 and a start-up
// job, which loads a stored range and starts its scan; the scan, through the AOR line link
// on a pseudo-terminal, finds the emulated receiver's signal and journals it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "emulators/aor/ar5000_emulator.h"
#include "receivers/aor/ar5000/ar5000.h"
#include "receivers/aor/ar5000/ar5000_dialogs.h"
#include "tests/app/aor_on_air.h"
#include "tests/app/window_fixture.h"

namespace {

class Ar5000UnattendedStart : public window_test::OnAir<emulators::Ar5000Emulator> {
  protected:
    std::string Ini() const override { return "COM=1\r\nSPEED=5\r\nRECV=7\r\nAUTOEXEC=0002\r\n"; }
    void Prepare() override {
        // A carrier at 100.5 MHz, in the range the job scans.
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        WriteUnattendedScan();
    }
};

TEST_F(Ar5000UnattendedStart, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
    auto* panel = dynamic_cast<AR5000*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(orvel.FreqHigh, AR5000::kUpperLimit);
    ASSERT_TRUE(
        RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; }));
    EXPECT_EQ(ScanNotes().substr(0, 20), "07/03/2001 09:05:30 ");
    EXPECT_NE(ScanNotes().find("Появление сигнала 100.5100"), std::string::npos) << ScanNotes();
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    EXPECT_EQ(orvel.RunningMode, 2);
    // The scan tuned the receiver in Hz and read its level after each tune.
    const auto lines = emulator.ReceivedLines();
    const auto tune = std::find(lines.begin(), lines.end(), "RF100500000");
    ASSERT_NE(tune, lines.end());
    EXPECT_EQ(*(tune + 1), "LM");
    EXPECT_TRUE(boxes.shown.empty());

    // The panel's dialogs open over the main window and go with it.
    PostPrivateMessage(&orvel, PostOpenScanSettings);
    PostPrivateMessage(&orvel, PostOpenExtraFunctions);
    ASSERT_TRUE(
        RunUntil([&] { return panel->ExtraDialog() && panel->ExtraDialog()->HasWindow(); }));
    EXPECT_TRUE(panel->ScanDialog()->HasWindow());
    EXPECT_EQ(panel->ScanDialog()->Parent(), &orvel);
}

// Every answer of the set reaches the program in two reads: the panel keeps the first piece
// until the rest comes, and the scan runs as with whole answers.
class Ar5000SplitAnswers : public Ar5000UnattendedStart {
  protected:
    void Prepare() override {
        Ar5000UnattendedStart::Prepare();
        emulator.SetSplitReplies(std::chrono::milliseconds(2));
    }
};

TEST_F(Ar5000SplitAnswers, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
    ASSERT_TRUE(RunUntil(
        [&] { return ScanNotes().find("Появление сигнала 100.5100") != std::string::npos; }));
    EXPECT_TRUE(boxes.shown.empty());
}

// The receiver says nothing from the start: the operator is told once, the receiver is asked
// where it stands every few seconds and nothing else, and the start-up job's scan, waiting
// meanwhile, goes on once it answers.
class Ar5000SilentAtStart : public Ar5000UnattendedStart {
  protected:
    void Prepare() override {
        Ar5000UnattendedStart::Prepare();
        emulator.SetSilent(true);
    }
};

TEST_F(Ar5000SilentAtStart, IsToldOnceAskedAgainAndScannedOnceItAnswers) {
    ASSERT_TRUE(RunUntil([&] { return orvel.Running && !boxes.shown.empty(); }, 30'000));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
    emulator.ClearReceivedLines();
    // Tries every three seconds after a second's sync.
    ui::ServeFor(16'000);
    ASSERT_TRUE(emulator.WaitForLines(2, std::chrono::seconds(5)));
    // The scan's start may still be on its way to the log; what follows is the sync alone.
    const auto heard = emulator.ReceivedLines();
    EXPECT_EQ(std::count(heard.end() - 2, heard.end(), "RX"), 2);

    emulator.SetSilent(false);
    ASSERT_TRUE(RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; },
                         30'000));
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(Ar5000SilentAtStart, TheJobsScanSendsNoRangeSettingsBeforeTheReceiverAnswers) {
    ASSERT_TRUE(RunUntil([&] { return orvel.Running && !boxes.shown.empty(); }, 30'000));
    ui::ServeFor(10'000);
    // Nothing but the sync's question where it stands: no step (ST), tune (RF) or level (LM).
    const auto heard = emulator.ReceivedLines();
    ASSERT_FALSE(heard.empty());
    for (const std::string& line : heard) EXPECT_EQ(line, "RX") << ::testing::PrintToString(heard);

    emulator.SetSilent(false);
    ASSERT_TRUE(RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; },
                         30'000));
    const auto lines = emulator.ReceivedLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ST10000"), lines.end());
}

// The set's own scan runs when the receiver is switched off and on again: back on its VFO it
// scans nothing, so neither does the panel, and the program's controls are the operator's again.
class Ar5000SwitchedOffAndOn : public window_test::AorOnAir<emulators::Ar5000Emulator> {
  protected:
    Ar5000SwitchedOffAndOn() : AorOnAir(window_test::WithCarrier(8, 145'500'000, 128, 12'000)) {}
    std::string Ini() const override { return "COM=1\r\nSPEED=5\r\nRECV=7\r\n"; }
};

TEST_F(Ar5000SwitchedOffAndOn, TheOwnScanEndsWithTheReceiversReturn) {
    auto* panel = dynamic_cast<AR5000*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
    panel->ScanSettings.kind = AorScanSettings::Kind::Search;
    StartOwnScanOver2m(*panel, emulators::AorSettings{});
    ASSERT_TRUE(RunUntil([&] { return panel->Scanning; }, 10'000));
    ui::ServeFor(500);
    EXPECT_FALSE(orvel.start->IsEnabled());

    ExpectOwnScanEndsWithTheReceiversReturn(*panel,
                                            window_test::WithCarrier(8, 145'500'000, 128, 12'000));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
}

// An AR5000 whose 150 channels the panel holds already, read whole again; the set is lost
// part-way through the read, unplugged (its terminal goes) or silent: every channel stays, in
// the panel and at the close in its state file, and the loss is told once.
class Ar5000ReadCut : public window_test::AorOnAir<emulators::Ar5000Emulator> {
  protected:
    Ar5000ReadCut() : AorOnAir(window_test::Flat(8)) {}
    // RECV_SAVE: the panel keeps its memory in its state file ("ДА" in cp1251).
    std::string Ini() const override {
        return "COM=1\r\nSPEED=5\r\nRECV=7\r\nRECV_SAVE=\xc4\xc0\r\n";
    }
};

TEST_F(Ar5000ReadCut, AnUnpluggedSetKeepsEveryChannelAndIsToldOnce) {
    LoseSetWhenAsked("MR119", /*unplugged=*/true);  // bank 1's 20th channel
    const AR5000& panel = HoldAndReadWhole<AR5000>(150);
    EXPECT_FALSE(receiver.has_value());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
    ExpectEveryChannelKept(panel, "AR5000", 150);
}

TEST_F(Ar5000ReadCut, ASilentSetKeepsEveryChannelAndIsToldOnce) {
    LoseSetWhenAsked("MR119", /*unplugged=*/false);
    const AR5000& panel = HoldAndReadWhole<AR5000>(150);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
    ExpectEveryChannelKept(panel, "AR5000", 150);
}

}  // namespace
