// Jobs against the emulated CI-V receivers over a pseudo-terminal: the station running
// unattended from its start with an IC-R8500, an IC-R10 or an IC-R9000 (ORVEL.INI names a
// start-up job, which loads a stored range and starts the scan; the scan finds the emulator's
// signal and journals it, nobody touching the program), and the lines a job hands to the
// IC-R8500's panel.
#include <gtest/gtest.h>

#include <string>

#include "receivers/icom/civ_panel.h"
#include "receivers/icom/ic8500/ric8500.h"
#include "tests/app/window_fixture.h"

namespace {

using window_test::MakeLines;
using window_test::ScanOnAir;

using OnAir = ScanOnAir;

struct Station {
    int receiverType;
    const emulators::CivProfile* set;
};

class UnattendedStart : public ScanOnAir, public ::testing::WithParamInterface<Station> {
  protected:
    UnattendedStart() : ScanOnAir(GetParam().receiverType, *GetParam().set) {}
    std::string Ini() const override { return ScanOnAir::Ini() + "AUTOEXEC=0002\r\n"; }
    void Prepare() override {
        // A carrier at 100.5 MHz, in the range the job scans.
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        WriteUnattendedScan();
    }
};

TEST_P(UnattendedStart, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
    ASSERT_TRUE(
        RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; }));
    EXPECT_EQ(ScanNotes().substr(0, 20), "07/03/2001 09:05:30 ");
    EXPECT_NE(ScanNotes().find("Появление сигнала 100.5100"), std::string::npos);

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
    const auto* panel = dynamic_cast<CivPanel*>(orvel.receiver.Panel());
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
    RunJob(MakeLines({{"Установка Параметров", 0, 435}}));
    ASSERT_FALSE(orvel.JobRunning);
    ui::ServeFor(100);
    const IC8500* panel = Ic8500Panel(orvel);
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel->ScanSettingsDialog(), nullptr);
    EXPECT_TRUE(panel->ScanSettingsDialog()->IsVisible());
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
