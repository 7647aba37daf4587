// The station running unattended with an AR5000: ORVEL.INI names the AR5000 and a start-up
// job, which loads a stored range and starts its scan; the scan, through the AOR line link
// on a pseudo-terminal, finds the emulated receiver's signal and journals it.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "app/orvel.h"
#include "emulators/aor/ar5000_emulator.h"
#include "receivers/aor/ar5000/ar5000.h"
#include "receivers/aor/ar5000/ar5000_dialogs.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/user_dp.h"
#include "state/user_job.h"
#include "tests/support/program_folder.h"
#include "ui/message_box.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace {

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

JobStr Line(const char* dcl, uint32_t tab, uint32_t obj, const char* str = "", bool cond = false) {
    JobStr line;
    line.DCL = dcl;
    line.TAB = tab;
    line.OBJ = obj;
    line.STR = str;
    line.STRING = *str != '\0';
    line.COND = cond;
    return line;
}

class Ar5000UnattendedStart : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(40);  // room for the emulator's thread to answer
        // A carrier at 100.5 MHz in a range of 100 points from 100.0 MHz.
        emulator.SetSignalPlan(emulators::SignalPlan{20, {{100'500'000, 200, 10'000}}});
        emulator.LinkAs(folder.path() / "COM1");
        emulator.Start();
        Write("ORVEL.INI", "COM=1\r\nSPEED=5\r\nRECV=7\r\nAUTOEXEC=0002\r\n");
        // Without ORVEL.CFG no start-up job is queued.
        Write("ORVEL.CFG", Utf8ToCp1251("Сетка=Да\r\n"));

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
        job.Lines = {Line("Панель ДИАПАЗОНЫ", 10, 2), Line("Эфир", 9, 3, "Эфир"),
                     Line("Кнопка ЗАГРУЗИТЬ", 10, 13, "", true), Line("Кнопка ПУСК", 10, 17)};
        ASSERT_TRUE(SaveJobFile(folder.Dir(), job));

        orvel.CalendarClock = [] { return TestMoment(); };
        ASSERT_TRUE(orvel.Create());
    }
    void TearDown() override {
        orvel.Destroy();
        emulator.Stop();
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }

    void Write(const std::string& name, const std::string& bytes) {
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
    std::string Notes() const {
        std::ifstream in(folder.File("DP/0001/info.txt"), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        return Cp1251ToUtf8(bytes);
    }

    ProgramFolder folder;
    ui::ScriptedMessageBoxes boxes;
    emulators::Ar5000Emulator emulator;
    ORVEL orvel;
};

TEST_F(Ar5000UnattendedStart, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
    ASSERT_NE(dynamic_cast<AR5000*>(orvel.Panel()), nullptr);
    EXPECT_EQ(orvel.FreqHigh, AR5000::kUpperLimit);
    ASSERT_TRUE(RunUntil([&] { return Notes().find("Появление сигнала") != std::string::npos; }));
    EXPECT_EQ(Notes().substr(0, 20), "07/03/2001 09:05:30 ");
    EXPECT_NE(Notes().find("Появление сигнала 100.5100"), std::string::npos) << Notes();
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
    auto* panel = dynamic_cast<AR5000*>(orvel.Panel());
    ASSERT_TRUE(
        RunUntil([&] { return panel->ExtraDialog() && panel->ExtraDialog()->HasWindow(); }));
    EXPECT_TRUE(panel->ScanDialog()->HasWindow());
    EXPECT_EQ(panel->ScanDialog()->Parent(), &orvel);
}

}  // namespace
