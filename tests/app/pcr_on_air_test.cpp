// The main window with the emulated IC-PCR1000 on COM1, end to end: the start-up connects to
// the set (switched off, at its power-up speed) and moves it to 38400 baud; a start-up job
// scans a stored range and journals the signal; a scale scan with the band scope fills the
// level scale 32 cells a step.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "emulators/pcr/pcr1000_emulator.h"
#include "receivers/icom/pcr1000/pcr1000.h"
#include "tests/app/window_fixture.h"

namespace {

using namespace std::chrono_literals;

// The set at COM1 is off and says so; a carrier at 100.5 MHz.
class PcrOnAir : public window_test::OnAir<emulators::Pcr1000Emulator> {
  protected:
    PcrOnAir() : OnAir(window_test::WithCarrier(20, 100'500'000, 200)) {
        emulator.SetOffReportInterval(20ms);
    }
    std::string Ini() const override { return "COM=1\r\nSPEED=6\r\nRECV=6\r\n"; }
    IC1000* Panel() const { return dynamic_cast<IC1000*>(orvel.receiver.Panel()); }
};

class PcrUnattendedStart : public PcrOnAir {
  protected:
    std::string Ini() const override { return PcrOnAir::Ini() + "AUTOEXEC=0002\r\n"; }
    void Prepare() override { WriteUnattendedScan(); }
};

TEST_F(PcrUnattendedStart, TheStartUpConnectsAndTheAutoexecJobJournalsTheSignal) {
    ASSERT_TRUE(RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; },
                         60'000));
    EXPECT_EQ(ScanNotes().substr(0, 20), "07/03/2001 09:05:30 ");
    EXPECT_NE(ScanNotes().find("Появление сигнала 100.5100"), std::string::npos) << ScanNotes();
    ASSERT_NE(Panel(), nullptr);
    EXPECT_FALSE(Panel()->Busy);
    EXPECT_TRUE(emulator.State().powerOn);
    EXPECT_EQ(emulator.State().lineSpeed, 38400u);
    EXPECT_EQ(orvel.comm.BaudRate, 38400u);
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    EXPECT_EQ(orvel.RunningMode, 2);
    EXPECT_TRUE(boxes.shown.empty());
}

// The set gives no sign at any speed: the operator is told once, the connect is tried again
// every few seconds, and the start-up job's scan goes on once the set hears.
class PcrDeadAtStart : public PcrUnattendedStart {
  protected:
    void Prepare() override {
        PcrUnattendedStart::Prepare();
        emulator.SetDead(true);
    }
};

TEST_F(PcrDeadAtStart, IsToldOnceTriedAgainAndScannedOnceItHears) {
    ASSERT_TRUE(RunUntil([&] { return !boxes.shown.empty(); }, 120'000));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});
    EXPECT_TRUE(orvel.Running);
    ui::ServeFor(10'000);

    emulator.SetDead(false);
    ASSERT_TRUE(RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; },
                         60'000));
    EXPECT_TRUE(emulator.State().powerOn);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(PcrOnAir, AScaleScanWithTheBandScopeStepsTwoHundredKilohertzAndFillsTheScale) {
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 30'000));
    IC1000* panel = Panel();
    ASSERT_NE(panel, nullptr);
    ASSERT_FALSE(panel->Busy);
    panel->fast->SetChecked(true);
    panel->fast->Raise(ui::EventId::Click);
    ASSERT_EQ(orvel.PcrScope, 1);

    orvel.Frequency = 1'000'000;
    orvel.SwitchToTab(0);
    emulator.ClearReceivedLines();
    orvel.scan.StartStopScan();
    ASSERT_TRUE(orvel.Running);
    ASSERT_TRUE(RunUntil([&] { return orvel.Frequency >= 1'010'000; }, 60'000));
    orvel.scan.StartStopScan();
    ui::ServeFor(500);

    const auto heard = emulator.ReceivedLines();
    const auto at = [&](const std::string& line) {
        return std::find(heard.begin(), heard.end(), line) - heard.begin();
    };
    // The lock stops the sweep and starts the scan's, 32 cells 10 kHz apart, before the first
    // step asks for a block: no cells of the picture's sweep, nor of none, go into the scale.
    EXPECT_LT(at(PcrBandScope::kStopLine), at(PcrBandScope::kScanStartLine));
    EXPECT_LT(at(PcrBandScope::kScanStartLine), at("NE170?"));
    EXPECT_LT(at("K00100200000060400"), std::ptrdiff_t(heard.size()));
    EXPECT_LT(at("K00100400000060400"), std::ptrdiff_t(heard.size()));
    EXPECT_EQ(at("K00100010000060400"), std::ptrdiff_t(heard.size()));  // no 10 kHz steps
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "I1?"), 0);
    // The carrier's cell and the noise beside it, filled by the band scope.
    EXPECT_EQ(panel->Scale.Cell(10'050), 200);
    EXPECT_EQ(panel->Scale.Cell(10'040), 20);
    EXPECT_EQ(panel->Scale.Cell(10'060), 20);
    // The unlock starts the picture's sweep again.
    const auto lastSweep = std::find_if(heard.rbegin(), heard.rend(), [](const std::string& line) {
        return line.starts_with("ME");
    });
    ASSERT_NE(lastSweep, heard.rend());
    EXPECT_NE(*lastSweep, PcrBandScope::kStopLine);
    EXPECT_NE(*lastSweep, PcrBandScope::kScanStartLine);
}

// Without the band scope the scale scan steps by the step field from the frequency the panel's
// lock puts on its 10 kHz cells, however the first step's exchanges meet the lock's.
TEST_F(PcrOnAir, AScaleScanKeepsItsStepGridFromTheLocksFrequency) {
    struct Case {
        uint32_t start;  // 100 Hz
        std::vector<uint32_t> tuned;
    };
    const Case cases[] = {
        {4'339'000, {4'339'000, 4'339'250, 4'339'500, 4'339'750, 4'340'000}},
        {4'339'050, {4'339'050, 4'339'250, 4'339'500, 4'339'750, 4'340'000}},
    };
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 30'000));
    ASSERT_NE(Panel(), nullptr);
    ASSERT_FALSE(orvel.PcrScope);
    orvel.SwitchToTab(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        orvel.Frequency = c.start;
        orvel.Step = 250;
        emulator.ClearReceivedLines();
        orvel.scan.StartStopScan();
        ASSERT_TRUE(orvel.Running);
        ASSERT_TRUE(RunUntil([&] { return orvel.Frequency >= 4'340'000; }, 60'000));
        orvel.scan.StartStopScan();
        ui::ServeFor(500);
        // A point measured again is tuned again: each frequency counts once in a row.
        std::vector<uint32_t> tuned;
        for (const std::string& line : emulator.ReceivedLines()) {
            if (!line.starts_with("K0") || line.size() < 10) continue;
            const auto frequency = uint32_t(std::stoul(line.substr(2, 8)));
            if (tuned.empty() || tuned.back() != frequency) tuned.push_back(frequency);
        }
        ASSERT_GE(tuned.size(), c.tuned.size());
        EXPECT_EQ(std::vector<uint32_t>(tuned.begin(), tuned.begin() + c.tuned.size()), c.tuned);
    }
}

}  // namespace
