// The program configured for a WiNRADiO card (type 8): with the stand-in vendor library in its
// folder the station runs unattended from its start (the start-up job loads a stored range and
// scans it, the card's signal is journalled); without the library it starts all the same and
// says once that there is no receiver.

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "app/orvel.h"
#include "receivers/winradio/winradio.h"
#include "state/cp1251.h"
#include "state/user_dp.h"
#include "state/user_job.h"
#include "tests/support/program_folder.h"
#include "tests/support/wrapi_standin.h"
#include "ui/message_box.h"
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

class WinradioStation : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(0);  // the card answers at once: no thread to wait for
        orvel.CalendarClock = [] { return TestMoment(); };
    }
    void TearDown() override {
        orvel.Destroy();
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }

    void WriteFile(const std::string& name, const std::string& bytes) const {
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
    WrapiStandin card;
    ui::ScriptedMessageBoxes boxes;
    ORVEL orvel;
};

TEST_F(WinradioStation, TheStartUpJobScansItsRangeOnTheCardAndJournalsTheSignal) {
    WrapiStandin::LinkInto(folder.path());
    card.SetNoiseFloor(20);
    card.AddSignal(100'500'000, 200, 10'000);
    WriteFile("ORVEL.INI", "COM=1\r\nRECV=8\r\nAUTOEXEC=0002\r\n");
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
                 MakeLine("Кнопка ЗАГРУЗИТЬ", 10, 13, "", true), MakeLine("Кнопка ПУСК", 10, 17)};
    ASSERT_TRUE(SaveJobFile(folder.Dir(), job));

    ASSERT_TRUE(orvel.Create());
    ASSERT_NE(dynamic_cast<WINRADIO*>(orvel.Panel()), nullptr);
    ASSERT_TRUE(RunUntil([&] { return Notes().find("Появление сигнала") != std::string::npos; }));
    // Journalled where the scan finds the 100.5 MHz peak passed, as with every receiver.
    EXPECT_NE(Notes().find("Появление сигнала 100.5100"), std::string::npos) << Notes();
    EXPECT_TRUE(RunUntil([&] { return !orvel.Running && !orvel.JobRunning; }));
    // The whole range was tuned on the card, in Hz.
    EXPECT_NE(card.Log().find(", 100990000) = 1\n"), std::string::npos);
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(WinradioStation, WithoutTheLibraryTheProgramStartsAndSaysOnceThereIsNoReceiver) {
    WriteFile("ORVEL.INI", "COM=1\r\nRECV=8\r\n");
    ASSERT_TRUE(orvel.Create());
    EXPECT_EQ(orvel.ReceiverType, 8);
    auto* panel = dynamic_cast<WINRADIO*>(orvel.Panel());
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

}  // namespace
