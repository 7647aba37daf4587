// The main window with the emulated IC-PCR1000 on COM1, end to end: the start-up connects to
// the set (switched off, at its power-up speed) and moves it to 38400 baud; a start-up job
// scans a stored range and journals the signal; a scale scan with the band scope fills the
// level scale 32 cells a step.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>

#include "app/orvel.h"
#include "emulators/pcr/pcr1000_emulator.h"
#include "receivers/icom/pcr1000/pcr1000.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/user_dp.h"
#include "state/user_job.h"
#include "tests/support/program_folder.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace {

using namespace std::chrono_literals;

// 7 March 2001, 09:05:30 local time.
std::time_t TestMoment() {
    std::tm t{};
    t.tm_mday = 7;
    t.tm_mon = 2;
    t.tm_year = 101;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 30;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

JobStr MakeLine(const char* dcl, uint32_t tab, uint32_t obj, const char* str = "",
                bool cond = false) {
    JobStr line;
    line.DCL = dcl;
    line.TAB = tab;
    line.OBJ = obj;
    line.STR = str;
    line.STRING = *str != '\0';
    line.COND = cond;
    return line;
}

class PcrOnAir : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(40);  // room for the emulator's thread to answer
        // A carrier at 100.5 MHz; the set is off and says so.
        emulator.SetSignalPlan(emulators::SignalPlan{20, {{100'500'000, 200, 10'000}}});
        emulator.SetOffReportInterval(20ms);
        emulator.LinkAs(folder.path() / "COM1");
        emulator.Start();
        WriteFile("ORVEL.INI", "COM=1\r\nSPEED=6\r\nRECV=6\r\n" + extraIni);
        Prepare();
        orvel.CalendarClock = [] { return TestMoment(); };
        orvel.AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            ++arrivals[e.code];
            return false;
        });
        ASSERT_TRUE(orvel.Create());
    }
    virtual void Prepare() {}
    void TearDown() override {
        orvel.Destroy();
        emulator.Stop();
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }

    void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(folder.File(name), std::ios::binary) << bytes;
    }
    static bool RunUntil(const std::function<bool()>& done, int64_t virtualMs = 600'000) {
        const int64_t end = ui::Clock::NowMs() + virtualMs;
        while (!done()) {
            if (ui::Clock::NowMs() >= end) return false;
            ui::ServeFor(50);
        }
        return true;
    }
    IC1000* Panel() const { return dynamic_cast<IC1000*>(orvel.Panel()); }

    std::string extraIni;
    ProgramFolder folder;
    ui::ScriptedMessageBoxes boxes;
    emulators::Pcr1000Emulator emulator;
    std::map<uint32_t, int> arrivals;
    ORVEL orvel;
};

class PcrUnattendedStart : public PcrOnAir {
  protected:
    void SetUp() override {
        extraIni = "AUTOEXEC=0002\r\n";
        PcrOnAir::SetUp();
    }
    void Prepare() override {
        // Without ORVEL.CFG no start-up job is queued.
        WriteFile("ORVEL.CFG", Utf8ToCp1251("Сетка=Да\r\n"));
        std::filesystem::create_directories(folder.path() / "DP" / "0001");
        UserDp range;
        range.Identifier = "Эфир";
        range.FolderName = "0001";
        range.FilePath = folder.Dir() + "DP/0001/diap.cfg";
        range.StartFrequency = 1'000'000;
        range.EndFrequency = 1'009'900;
        range.Step = 100;
        range.Modulation = 'W';
        range.Cycles = 1;
        range.Level = 50;
        range.Journal = 1;
        ASSERT_TRUE(range.WriteFile());

        std::filesystem::create_directories(folder.path() / "JOB");
        UserJob job;
        job.FolderName = "0002";
        job.Identifier = "Утренний обход";
        job.Lines = {MakeLine("Панель ДИАПАЗОНЫ", 10, 2), MakeLine("Эфир", 9, 3, "Эфир"),
                     MakeLine("Кнопка ЗАГРУЗИТЬ", 10, 13, "", true),
                     MakeLine("Кнопка ПУСК", 10, 17)};
        ASSERT_TRUE(SaveJobFile(folder.Dir(), job));
    }
    std::string Notes() const {
        std::ifstream in(folder.File("DP/0001/info.txt"), std::ios::binary);
        return Cp1251ToUtf8(
            std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    }
};

TEST_F(PcrUnattendedStart, TheStartUpConnectsAndTheAutoexecJobJournalsTheSignal) {
    ASSERT_TRUE(
        RunUntil([&] { return Notes().find("Появление сигнала") != std::string::npos; }, 60'000));
    EXPECT_EQ(Notes().substr(0, 20), "07/03/2001 09:05:30 ");
    EXPECT_NE(Notes().find("Появление сигнала 100.5100"), std::string::npos) << Notes();
    ASSERT_NE(Panel(), nullptr);
    EXPECT_FALSE(Panel()->Busy);
    EXPECT_TRUE(emulator.State().powerOn);
    EXPECT_EQ(emulator.State().lineSpeed, 38400u);
    EXPECT_EQ(orvel.comm.BaudRate, 38400u);
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    EXPECT_EQ(orvel.RunningMode, 2);
    EXPECT_TRUE(boxes.shown.empty());
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
    orvel.StartStopScan();
    ASSERT_TRUE(orvel.Running);
    ASSERT_TRUE(RunUntil([&] { return orvel.Frequency >= 1'010'000; }, 60'000));
    orvel.StartStopScan();
    ui::ServeFor(500);

    const auto heard = emulator.ReceivedLines();
    const auto at = [&](const std::string& line) {
        return std::find(heard.begin(), heard.end(), line) - heard.begin();
    };
    // The lock stops the sweep and starts the scan's: 32 cells 10 kHz apart.
    EXPECT_LT(at(PcrBandScope::kStopLine), at(PcrBandScope::kScanStartLine));
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

}  // namespace
