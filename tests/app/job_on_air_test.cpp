// Jobs against the emulated IC-R8500 over a pseudo-terminal: the station running unattended
// from its start (ORVEL.INI names a start-up job, which loads a stored range and starts the
// scan; the scan finds the emulator's signal and journals it, nobody touching the program), and
// the lines a job hands to the receiver panel.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/window_fixture.h"

namespace {

using window_test::MakeLines;
using window_test::ScanOnAir;

using OnAir = ScanOnAir;

class UnattendedStart : public ScanOnAir {
  protected:
    std::string Ini() const override { return ScanOnAir::Ini() + "AUTOEXEC=0002\r\n"; }
    void Prepare() override {
        // A carrier at 100.5 MHz, in the range of 100 points from 100.0 MHz the job scans.
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        // Without ORVEL.CFG no start-up job is queued.
        Write("ORVEL.CFG", {"Сетка=Да"});

        UserDp& range = MakeRange(1'000'000, 1'009'900, 100);
        range.Identifier = "Эфир";
        range.Level = 50;
        range.Journal = 1;
        range.FilePath = range.FolderPath + "diap.cfg";
        ASSERT_TRUE(range.WriteFile());
        WriteJob("0002", "Утренний обход",
                 MakeLines({{"Панель ДИАПАЗОНЫ", 10, 2},
                            {"Эфир", 9, 3, 0, "Эфир"},
                            {"Кнопка ЗАГРУЗИТЬ", 10, 13, 0, "", true},
                            {"Кнопка ПУСК", 10, 17}}));
    }
    std::string Notes() const { return Cp1251ToUtf8(WindowTest::Notes(*ranges.front())); }
};

TEST_F(UnattendedStart, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
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
}

// The receiver panel executes its lines and answers each; an object it does not have fails
// there, and the job goes on.
TEST_F(OnAir, ThePanelAnswersItsLinesAndTheJobGoesOn) {
    const int answers = arrivals[PostJobStep];
    RunJob(MakeLines({{"Уровень Сквэлша", 0, 419, 64}, {"?", 0, 999}, {"Панель ГРУППА", 10, 3}}));
    ASSERT_FALSE(orvel.JobRunning);
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
    emulator.SetRefuseAll(true);
    RunJob(MakeLines({{"Аттенюатор 20", 0, 416},
                      {"Панель ГРУППА", 10, 3, 0, "", true},
                      {"Банк", 0, 427, 25},
                      {"Панель ДИАПАЗОНЫ", 10, 2, 0, "", true}}));
    ASSERT_FALSE(orvel.JobRunning);
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 0);
    EXPECT_EQ(orvel.RunLines[0].Message, "");
    EXPECT_EQ(orvel.RunLines[2].ReturnCode, 2);
    EXPECT_EQ(orvel.RunLines[2].Message, "Не существует указанного банка");
    EXPECT_EQ(orvel.WorkMode, 3);  // the first COND line ran, the second did not
    EXPECT_EQ(orvel.RunLines[3].Time, "");
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
