// The station running unattended with an AR8000: ORVEL.INI names the AR8000 and a start-up
// job, which loads a stored range and starts its scan; the scan tunes the set's VFO in Hz at
// every point, reads its level after each, and journals the set's signal.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "emulators/aor/ar8000_emulator.h"
#include "receivers/aor/ar8000/ar8000.h"
#include "receivers/aor/ar8000/rar8000.h"
#include "state/format_text.h"
#include "tests/app/aor_on_air.h"
#include "tests/app/window_fixture.h"

namespace {

class Ar8000UnattendedStart : public window_test::OnAir<emulators::Ar8000Emulator> {
  protected:
    std::string Ini() const override { return "COM=1\r\nSPEED=4\r\nRECV=2\r\nAUTOEXEC=0002\r\n"; }
    void Prepare() override {
        // A carrier at 100.5 MHz, in the range the job scans.
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        WriteUnattendedScan();
    }
};

TEST_F(Ar8000UnattendedStart, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
    auto* panel = dynamic_cast<AR8000*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(orvel.FreqHigh, AR8000::kUpperLimit);
    ASSERT_TRUE(
        RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; }));
    EXPECT_NE(ScanNotes().find("Появление сигнала 100.5100"), std::string::npos) << ScanNotes();
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    EXPECT_TRUE(Messages().empty());

    // Every point from the range's start tuned in order on VFO A, each followed by its level
    // query (the job's end asks for a level once more as the scan begins).
    const auto lines = emulator.ReceivedLines();
    const auto first = std::find(lines.begin(), lines.end(), "VA100000000");
    ASSERT_NE(first, lines.end());
    uint32_t next = 100'000'000;
    for (auto line = first; line != lines.end() && next <= 100'500'000; ++line) {
        if (!line->starts_with("VA")) continue;
        EXPECT_EQ(*line, FormatText("VA%u", next));
        ASSERT_NE(line + 1, lines.end());
        EXPECT_EQ(line[1], "LM") << *line;
        next += 10'000;
    }
    EXPECT_GT(next, 100'500'000u);

    // The panel's dialog opens over the main window.
    PostPrivateMessage(&orvel, PostOpenScanSettings);
    ASSERT_TRUE(RunUntil([&] { return panel->ScanDialog() && panel->ScanDialog()->HasWindow(); }));
    EXPECT_EQ(panel->ScanDialog()->Parent(), &orvel);
}

// The set's own scan runs when the receiver is switched off and on again: the receiver, back on
// its VFO, scans nothing, so neither does the panel: the program's controls are the
// operator's again, and the lost receiver was told once.
class Ar8000SwitchedOffAndOn : public window_test::AorOnAir<emulators::Ar8000Emulator> {
  protected:
    Ar8000SwitchedOffAndOn() : AorOnAir(window_test::WithCarrier(8, 145'500'000, 128, 12'000)) {}
    std::string Ini() const override { return "COM=1\r\nSPEED=4\r\nRECV=2\r\n"; }
};

TEST_F(Ar8000SwitchedOffAndOn, TheOwnScanEndsWithTheReceiversReturn) {
    auto* panel = dynamic_cast<AR8000*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
    StartOwnScanOver2m(*panel, emulators::AorSettings{12'500, '1'});
    ASSERT_TRUE(RunUntil([&] { return orvel.Level == 128; }, 10'000));
    ASSERT_TRUE(panel->Scanning);
    EXPECT_FALSE(orvel.start->IsEnabled());

    ExpectOwnScanEndsWithTheReceiversReturn(*panel,
                                            window_test::WithCarrier(8, 145'500'000, 128, 12'000));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
}

}  // namespace
