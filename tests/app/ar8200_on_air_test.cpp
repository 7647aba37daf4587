// The station running unattended with an AR8200, or with its desktop sibling the AR8600:
// ORVEL.INI names the set and a start-up job, which loads a stored range and starts its scan;
// the scan, through the AOR line link on a pseudo-terminal, tunes every point in order, reads
// its level, finds the emulated receiver's signal and journals it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "emulators/aor/ar8200_emulator.h"
#include "receivers/aor/ar8200/ar8200.h"
#include "receivers/aor/ar8200/ar8200_scope.h"
#include "receivers/aor/ar8200/rar8200.h"
#include "state/format_text.h"
#include "state/scan_pause.h"
#include "tests/app/aor_on_air.h"
#include "tests/app/window_fixture.h"

namespace {

using Model = emulators::Ar8200::Model;

template <Model kModel>
class Ar8200UnattendedStart : public window_test::OnAir<emulators::Ar8200Emulator> {
  protected:
    Ar8200UnattendedStart() : OnAir(emulators::SignalPlan{20, {}}, kModel) {}
    std::string Ini() const override {
        return std::string("COM=1\r\nSPEED=5\r\nRECV=") + (kModel == Model::Ar8600 ? "11" : "9") +
               "\r\nAUTOEXEC=0002\r\n";
    }
    void Prepare() override {
        // A carrier at 100.5 MHz, in the range the job scans.
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        WriteUnattendedScan();
    }

    void ScansAndJournals(const std::string& caption) {
        auto* panel = dynamic_cast<AR8200*>(orvel.receiver.Panel());
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->model->Text(), caption);
        EXPECT_EQ(orvel.FreqHigh, AR8200::kUpperLimit);
        ASSERT_TRUE(
            RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; }));
        EXPECT_NE(ScanNotes().find("Появление сигнала 100.5100"), std::string::npos) << ScanNotes();
        EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
        EXPECT_EQ(orvel.RunningMode, 2);
        // Every point of the range, 100.0000 MHz on in steps of 10 kHz, tuned in its turn in
        // Hz of ten digits and its level read before the next.
        const std::vector<std::string> lines = emulator.ReceivedLines();
        const auto first = std::find(lines.begin(), lines.end(), "RF0100000000");
        ASSERT_NE(first, lines.end());
        uint64_t hz = 100'000'000;
        for (auto line = first; line != lines.end() && hz <= 100'510'000; hz += 10'000) {
            const std::string tune = FormatText("RF%010llu", static_cast<unsigned long long>(hz));
            ASSERT_EQ(*line, tune);
            ASSERT_NE(line + 1, lines.end());
            EXPECT_EQ(*(line + 1), "LM") << tune;
            line = std::find_if(line + 1, lines.end(),
                                [](const std::string& l) { return l.starts_with("RF"); });
        }
        EXPECT_GT(hz, 100'510'000u);
        EXPECT_TRUE(boxes.shown.empty());

        // The scan and bank dialog opens over the main window.
        PostPrivateMessage(&orvel, PostOpenScanSettings);
        ASSERT_TRUE(
            RunUntil([&] { return panel->ScanDialog() && panel->ScanDialog()->HasWindow(); }));
        EXPECT_EQ(panel->ScanDialog()->Parent(), &orvel);
    }
};

using Ar8200Unattended = Ar8200UnattendedStart<Model::Ar8200>;
using Ar8600Unattended = Ar8200UnattendedStart<Model::Ar8600>;

TEST_F(Ar8200Unattended, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
    ScansAndJournals("AR-8200");
}

TEST_F(Ar8600Unattended, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
    ScansAndJournals("AR-8600");
}

// The range's reaction job reads bank A from the set, which recalls each channel and so leaves
// the set on one of them (145 MHz), and then releases the hold. The scan goes on, and the held
// point is tuned again before its next read: its level is its own, not that channel's.
class Ar8200ReactionReadsABank : public Ar8200UnattendedStart<Model::Ar8200> {
  protected:
    void Prepare() override {
        Ar8200UnattendedStart::Prepare();
        emulator.SetChannel(0, 0, emulators::AorChannel{145'000'000, {}, "CALL", false, false});
        UserDp& range = *ranges.front();
        range.Waiting = kPauseRunJob;
        range.Condition = kReleaseByButton;
        range.Job = "Реакция";
        ASSERT_TRUE(range.WriteFile());
        WriteJob("0003", "Реакция",
                 window_test::MakeLines({{"Кнопка <-Читать Банк из приемника", 0, 911},
                                         {"Кнопка РЕЖИМ", 10, 26}}));
    }
};

TEST_F(Ar8200ReactionReadsABank, TheHeldPointIsTunedAgainOnceTheJobHasEnded) {
    const auto lines = [&] { return emulator.ReceivedLines(); };
    const auto bankRead = [](const std::vector<std::string>& l) {
        return std::find(l.begin(), l.end(), "MRA00");
    };
    ASSERT_TRUE(RunUntil([&] {
        const auto l = lines();
        return bankRead(l) != l.end() && std::count(l.begin(), l.end(), "RF0100990000") > 0;
    }, 60'000));
    // The last line of the bank's read; then the held point (100.50 MHz, the carrier's) is
    // tuned before its level is read.
    const std::vector<std::string> l = lines();
    auto last = l.end();
    for (auto it = l.begin(); it != l.end(); ++it)
        if (it->starts_with("MR")) last = it;
    ASSERT_NE(last, l.end());
    const auto read = std::find(last, l.end(), "LM");
    ASSERT_NE(read, l.end());
    EXPECT_NE(std::find(last, read, "RF0100500000"), read);
    EXPECT_TRUE(boxes.shown.empty());
}

// The analysis view on while the receiver is switched off and on again: the program tells the
// lost receiver once, and the receiver, back on its VFO, is put on its band scope again, so the
// sweeps go on being drawn.
class Ar8200SwitchedOffAndOn : public window_test::AorOnAir<emulators::Ar8200Emulator> {
  protected:
    Ar8200SwitchedOffAndOn() : AorOnAir(Broadcast(), Model::Ar8200) {}
    std::string Ini() const override { return "COM=1\r\nSPEED=5\r\nRECV=9\r\n"; }
    // A carrier where the set stands when it is switched on, 101.7 MHz.
    static emulators::SignalPlan Broadcast() {
        return window_test::WithCarrier(8, 101'700'000, 200, 200'000);
    }
    // A sweep's level at the tuned frequency has been taken.
    bool Swept() const { return orvel.ScopeLevels[Ar8200Scope::kCentre] != 0; }
};

TEST_F(Ar8200SwitchedOffAndOn, TheAnalysisViewPutsTheReceiverBackOnItsBandScope) {
    auto* panel = dynamic_cast<AR8200*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
    panel->scope->SetChecked(true);
    panel->scope->Raise(ui::EventId::Click);
    ASSERT_TRUE(RunUntil([&] { return Swept(); }, 10'000));

    ASSERT_TRUE(SwitchOffAndOn(Broadcast(), Model::Ar8200));
    orvel.ScopeLevels.fill(0);  // what the receiver swept before it went
    ASSERT_TRUE(RunUntil([&] { return Swept(); }, 10'000));
    EXPECT_TRUE(panel->Scope.On);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
}

// So is the set's own scan: the receiver back on its VFO scans nothing, nor does the panel.
TEST_F(Ar8200SwitchedOffAndOn, TheOwnScanEndsWithTheReceiversReturn) {
    auto* panel = dynamic_cast<AR8200*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
    StartOwnScanOver2m(*panel, emulators::AorSettings{12'500, '1'});
    ASSERT_TRUE(RunUntil([&] { return panel->Scanning; }, 10'000));
    ui::ServeFor(500);
    EXPECT_FALSE(orvel.start->IsEnabled());

    ExpectOwnScanEndsWithTheReceiversReturn(*panel, Broadcast(), Model::Ar8200);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
}

// An AR8200 whose 95 channels the panel holds already, read whole again; the set is lost
// part-way through the read, unplugged (its terminal goes) or silent: every channel stays, in
// the panel and at the close in its state file, and the loss is told once.
class Ar8200ReadCut : public window_test::AorOnAir<emulators::Ar8200Emulator> {
  protected:
    Ar8200ReadCut() : AorOnAir(window_test::Flat(8), Model::Ar8200) {}
    // RECV_SAVE: the panel keeps its memory in its state file ("ДА" in cp1251).
    std::string Ini() const override {
        return "COM=1\r\nSPEED=5\r\nRECV=9\r\nRECV_SAVE=\xc4\xc0\r\n";
    }
};

TEST_F(Ar8200ReadCut, AnUnpluggedSetKeepsEveryChannelAndIsToldOnce) {
    LoseSetWhenAsked("MRA29", /*unplugged=*/true);  // bank A's 30th channel
    const AR8200& panel = HoldAndReadWhole<AR8200>(95);
    EXPECT_FALSE(receiver.has_value());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
    ExpectEveryChannelKept(panel, "AR8200", 95);
}

TEST_F(Ar8200ReadCut, ASilentSetKeepsEveryChannelAndIsToldOnce) {
    LoseSetWhenAsked("MRA29", /*unplugged=*/false);
    const AR8200& panel = HoldAndReadWhole<AR8200>(95);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
    ExpectEveryChannelKept(panel, "AR8200", 95);
}

}  // namespace
