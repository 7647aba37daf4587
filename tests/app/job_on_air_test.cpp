// Jobs against the emulated CI-V receivers over a pseudo-terminal: the station running
// unattended from its start with an IC-R8500, an IC-R10 or an IC-R9000 (ORVEL.INI names a
// start-up job, which loads a stored range and starts the scan; the scan finds the emulator's
// signal and journals it, nobody touching the program), and the lines a job hands to the
// IC-R8500's panel.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>

#include "app/orvel.h"
#include "emulators/civ/civ_emulator.h"
#include "receivers/icom/ic8500/ic8500.h"
#include "receivers/icom/ic8500/ric8500.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/user_dp.h"
#include "state/user_job.h"
#include "tests/support/program_folder.h"
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
                bool cond = false, uint32_t val = 0) {
    JobStr line;
    line.DCL = dcl;
    line.TAB = tab;
    line.OBJ = obj;
    line.VAL = val;
    line.REQ = val != 0;
    line.STR = str;
    line.STRING = *str != '\0';
    line.COND = cond;
    return line;
}

class OnAir : public ::testing::Test {
  protected:
    // The receiver type of ORVEL.INI and the set the emulator is.
    explicit OnAir(int receiverType = 4, const emulators::CivProfile& set = emulators::kIcR8500)
        : receiverType_(receiverType), emulator(set) {}

    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(40);  // room for the emulator's thread to answer
        // A carrier at 100.5 MHz in a range of 100 points from 100.0 MHz.
        emulator.SetSignalPlan(emulators::SignalPlan{20, {{100'500'000, 200, 10'000}}});
        emulator.LinkAs(folder.path() / "COM1");
        emulator.Start();
        WriteFile("ORVEL.INI",
                  "COM=1\r\nSPEED=5\r\nRECV=" + std::to_string(receiverType_) + "\r\n" + extraIni);
        Prepare();
        orvel.CalendarClock = [] { return TestMoment(); };
        orvel.AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            ++arrivals[e.code];
            return false;
        });
        ASSERT_TRUE(orvel.Create());
    }
    // What a test puts into the program folder before the start.
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

    int receiverType_;
    std::string extraIni;
    ProgramFolder folder;
    ui::ScriptedMessageBoxes boxes;
    emulators::CivEmulator emulator;
    std::map<uint32_t, int> arrivals;  // codes that reached the main window
    ORVEL orvel;
};

struct Station {
    int receiverType;
    const emulators::CivProfile* set;
};

class UnattendedStart : public OnAir, public ::testing::WithParamInterface<Station> {
  protected:
    UnattendedStart() : OnAir(GetParam().receiverType, *GetParam().set) {}
    void SetUp() override {
        extraIni = "AUTOEXEC=0002\r\n";
        OnAir::SetUp();
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
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        return Cp1251ToUtf8(bytes);
    }
};

TEST_P(UnattendedStart, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
    ASSERT_TRUE(RunUntil([&] { return Notes().find("Появление сигнала") != std::string::npos; }));
    EXPECT_EQ(Notes().substr(0, 20), "07/03/2001 09:05:30 ");
    EXPECT_NE(Notes().find("Появление сигнала 100.5100"), std::string::npos);

    // The start-up job loaded the stored job into the editor and ran it to its end.
    EXPECT_EQ(orvel.EditLineCount, 4);
    EXPECT_EQ(orvel.EditJobName, "Утренний обход");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(orvel.EditLines[std::size_t(i)].ReturnCode, 0) << i;
        EXPECT_EQ(orvel.EditLines[std::size_t(i)].Time, "09:05:30") << i;
    }
    EXPECT_FALSE(orvel.JobRunning);
    // The range went into the first slot and is the one scanned.
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    EXPECT_EQ(orvel.ScanSlot, 0);
    EXPECT_EQ(orvel.RunningMode, 2);
    EXPECT_TRUE(boxes.shown.empty());
    // Every command went to the set's address and was one the set knows.
    const auto* panel = dynamic_cast<CivPanel*>(orvel.Panel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Link.RejectCount, 0);
    EXPECT_EQ(panel->Link.ReceiverAddress, GetParam().set->defaultAddress);
}

// The IC-R9000 is served by the IC-R10's panel.
INSTANTIATE_TEST_SUITE_P(CivSets, UnattendedStart,
                         ::testing::Values(Station{4, &emulators::kIcR8500},
                                           Station{3, &emulators::kIcR10},
                                           Station{5, &emulators::kIcR9000}));

// The panel's settings button (or its command) asks the main window, which opens the
// panel's scan-settings dialog.
TEST_F(OnAir, TheScanSettingsCommandOpensThePanelsDialog) {
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
    orvel.RunLines[0] = MakeLine("Установка Параметров", 0, 435);
    orvel.JobLineCount = 1;
    orvel.StartJob();
    ASSERT_TRUE(RunUntil([&] { return !orvel.JobRunning; }, 10'000));
    ui::ServeFor(100);
    const auto* panel = dynamic_cast<IC8500*>(orvel.Panel());
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel->ScanSettingsDialog(), nullptr);
    EXPECT_TRUE(panel->ScanSettingsDialog()->IsVisible());
}

// The receiver panel executes its lines and answers each; an object it does not have fails
// there, and the job goes on.
TEST_F(OnAir, ThePanelAnswersItsLinesAndTheJobGoesOn) {
    // The panel's start-up synchronisation runs out first: the panel takes one exchange at a
    // time.
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
    ui::ServeFor(500);
    const JobStr lines[] = {MakeLine("Уровень Сквэлша", 0, 419, "", false, 64),
                            MakeLine("?", 0, 999), MakeLine("Панель ГРУППА", 10, 3)};
    std::copy(std::begin(lines), std::end(lines), orvel.RunLines.begin());
    orvel.JobLineCount = 3;
    const int answers = arrivals[PostJobStep];
    orvel.StartJob();
    ASSERT_TRUE(RunUntil([&] { return !orvel.JobRunning; }, 10'000));
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 0);
    EXPECT_EQ(emulator.State().squelchLevel, 64);
    EXPECT_EQ(orvel.RunLines[1].ReturnCode, 1);
    EXPECT_EQ(orvel.RunLines[1].Message, "Нет доступа к объекту");
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_EQ(arrivals[PostJobStep] - answers, 3);
    EXPECT_TRUE(boxes.shown.empty());
}

// What a line of the receiver panel answers decides a COND line after it: a setting the
// receiver refuses is done all the same, a bank the panel does not have is not.
TEST_F(OnAir, ACondLineFollowsTheAnswerOfThePanel) {
    ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
    ui::ServeFor(500);
    emulator.SetRefuseAll(true);
    const JobStr lines[] = {
        MakeLine("Аттенюатор 20", 0, 416), MakeLine("Панель ГРУППА", 10, 3, "", true),
        MakeLine("Банк", 0, 427, "", false, 25), MakeLine("Панель ДИАПАЗОНЫ", 10, 2, "", true)};
    std::copy(std::begin(lines), std::end(lines), orvel.RunLines.begin());
    orvel.JobLineCount = 4;
    orvel.StartJob();
    ASSERT_TRUE(RunUntil([&] { return !orvel.JobRunning; }, 10'000));
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 0);
    EXPECT_EQ(orvel.RunLines[0].Message, "");
    EXPECT_EQ(orvel.RunLines[2].ReturnCode, 2);
    EXPECT_EQ(orvel.RunLines[2].Message, "Не существует указанного банка");
    EXPECT_EQ(orvel.WorkMode, 3);  // the first COND line ran, the second did not
    EXPECT_EQ(orvel.RunLines[3].Time, "");
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
