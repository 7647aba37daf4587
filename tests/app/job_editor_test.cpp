// The editors in the running program: the job window on the job page, its commands run by the
// main window's job executor, the job it edits saved and loaded again, the manual control of
// the manual-control button and the macro binding of the macro button, kept in ORVEL.CFG.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/orvel_editors.h"
#include "tests/app/window_fixture.h"

namespace {

using window_test::Line;
using window_test::MakeLine;
using window_test::MakeLines;

JobStr MainLine(const char* dcl, uint32_t object) {
    return MakeLine({dcl, 10, object});
}
JobStr JobLine(uint32_t command, uint32_t val = 0) {
    JobStr line = JobCommandTemplate(command);
    line.VAL = val;
    return line;
}

class EditorsInTheProgram : public window_test::WindowTest {
  protected:
    job& Editor() { return orvel.editors->jobWindow; }
    // Serves codes and ticks in steps of 100 ms until no job runs; the virtual time it took.
    int64_t RunOut(int64_t limitMs = 60'000) {
        const int64_t start = ui::Clock::NowMs();
        while (orvel.JobRunning && ui::Clock::NowMs() - start < limitMs) ui::Clock::Advance(100);
        ui::ServePending();  // what the end of the run posted
        return ui::Clock::NowMs() - start;
    }
    void RunInEditor(const std::vector<JobStr>& lines) {
        std::copy(lines.begin(), lines.end(), orvel.EditLines.begin());
        orvel.EditLineCount = int32_t(lines.size());
        PostPrivateMessage(&Editor(), PostItemLoaded);  // as a job loaded into the editor
        orvel.SwitchToTab(4);
        orvel.scan.StartStopScan();  // the job page's ПУСК
    }
};

// The jump runs through the executor of the main window: line 3 is never reached, and the
// jump's line answers only at the next one-second tick.
TEST_F(EditorsInTheProgram, AJumpMakesItsLineTheNextLineOfTheRun) {
    RunInEditor({MainLine("Панель БАНК", 1), JobLine(JobGoToLine, 4), MainLine("Панель ГРУППА", 3),
                 MainLine("Панель ДИАПАЗОНЫ", 2)});
    EXPECT_LE(RunOut(), 1000);
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_EQ(orvel.EditLines[1].ReturnCode, 0);
    EXPECT_EQ(orvel.EditLines[2].Time, "");  // jumped over
    EXPECT_EQ(orvel.EditLines[3].Time, "09:05:30");
    EXPECT_EQ(orvel.WorkMode, 2);
    // The list shows what came of each line.
    EXPECT_EQ(Editor().lv_1->Cell(3, 8), "09:05:30");

    // A line past the end fails, and the COND line after it is skipped.
    std::vector<JobStr> lines{JobLine(JobGoToLine, 3), MainLine("Панель ГРУППА", 3)};
    lines[1].COND = 1;
    RunInEditor(lines);
    RunOut();
    EXPECT_EQ(orvel.EditLines[0].ReturnCode, 1);
    EXPECT_EQ(orvel.EditLines[0].Message, "Строка задания указана неверно");
    EXPECT_EQ(orvel.EditLines[1].Time, "");
    EXPECT_EQ(Editor().lv_1->Cell(0, 7), "1");
}

TEST_F(EditorsInTheProgram, ADelayCountsTheSecondsOfTheMainTimer) {
    RunInEditor({JobLine(JobDelay, 3), MainLine("Панель БАНК", 1)});
    const int64_t took = RunOut();
    EXPECT_GT(took, 2000);
    EXPECT_LE(took, 3100);
    EXPECT_EQ(orvel.WorkMode, 1);
}

TEST_F(EditorsInTheProgram, AJobSavedFromTheEditorReloadsLineForLine) {
    job& editor = Editor();
    orvel.SwitchToTab(4);
    editor.InsertCommand(JobMessage);
    editor.EnterValue("Смена кассеты");
    editor.InsertCommand(JobDelay);
    editor.EnterValue("5");
    editor.SetCondition(true);
    editor.InsertCommand(JobRunProgram);
    editor.EnterValue("sh -c \"exit 3\"");
    editor.InsertCommand(JobWaitStop);
    orvel.SelectedCatalogEntry = orvel.store.FrequencyFieldEntry->As<JobDcl>();
    orvel.SelectedCatalogEntry->Value = 1455000;
    editor.InsertCatalogEntry();
    editor.SetVariableFlags(true, false);
    const std::vector<JobStr> edited(orvel.EditLines.begin(), orvel.EditLines.begin() + 5);

    orvel.store.SaveItem();
    ui::ServePending();
    EXPECT_EQ(orvel.EditJobChanged, 0);
    EXPECT_EQ(editor.jobName->Text(), "Задание N 1");
    UserJob stored;
    ASSERT_TRUE(stored.ReadFile(orvel, folder.File("JOB/0001/job.cfg")));
    EXPECT_EQ(stored.Lines, edited);

    orvel.EditLineCount = 0;
    JournalItem* item = Child(orvel.store.JobFolder, "Задание N 1");
    ASSERT_NE(item, nullptr);
    orvel.journal.Select(item);
    orvel.SwitchToTab(0);  // loaded as a job, not taken as a line of one
    orvel.store.LoadItem();
    ui::ServePending();
    ASSERT_EQ(orvel.EditLineCount, 5);
    EXPECT_EQ(std::vector<JobStr>(orvel.EditLines.begin(), orvel.EditLines.begin() + 5), edited);
    EXPECT_EQ(editor.lv_1->RowCount(), 5);
    EXPECT_EQ(editor.jobName->Text(), "Задание N 1");
}

TEST_F(EditorsInTheProgram, TheManualControlOpensAtTheLeftEdgeGetsTicksAndClosesAgain) {
    orvel.Show();
    orvel.pictbttn_5->Raise(ui::EventId::Click);
    ASSERT_EQ(orvel.LimbOpen, 1);
    ui::Form* limb = orvel.auxWindows.Limb;
    ASSERT_NE(limb, nullptr);
    EXPECT_TRUE(limb->IsVisible());
    const ui::Rect main = orvel.Geometry(), own = limb->Geometry();
    EXPECT_EQ(own.x, main.x);
    EXPECT_EQ(own.y + own.height, main.y + main.height - 50);
    int ticks = 0;
    limb->AddHandler(ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
        ticks += e.code == PostTimerTick;
        return false;
    });
    ui::Clock::Advance(1000);
    EXPECT_EQ(ticks, 10);  // every 100 ms tick

    orvel.pictbttn_5->Raise(ui::EventId::Click);
    EXPECT_EQ(orvel.LimbOpen, 0);
    EXPECT_EQ(orvel.auxWindows.Limb, nullptr);

    // Closed by the operator, it gets no more ticks; the button opens a new one.
    orvel.pictbttn_5->Raise(ui::EventId::Click);
    ASSERT_TRUE(orvel.auxWindows.Limb->Close());
    EXPECT_EQ(orvel.LimbOpen, 0);
    EXPECT_EQ(orvel.auxWindows.Limb, nullptr);
    orvel.pictbttn_5->Raise(ui::EventId::Click);
    EXPECT_EQ(orvel.LimbOpen, 1);
    EXPECT_TRUE(orvel.auxWindows.Limb->IsVisible());
}

class BoundMacro : public EditorsInTheProgram {
    // A receiver whose panel the program has: ORVEL.CFG is written for it at the close.
    std::string Ini() const override { return "RECV=4\r\n"; }
    void Prepare() override {
        WriteJob("0001", "Банк", MakeLines({{"Банк", 10, 1}}));
        WriteJob("0002", "Диапазоны", MakeLines({{"Диапазоны", 10, 2}}));
    }

  protected:
    SetMacro& Dialog(ORVEL& w) { return w.editors->macroDialog; }
};

TEST_F(BoundMacro, TheMacroButtonBindsAJobThatARightClickRunsAndARestartKeeps) {
    orvel.pictbttn_7->Raise(ui::EventId::Click);
    ASSERT_TRUE(Dialog(orvel).IsVisible());
    EXPECT_EQ(Dialog(orvel).macro->Count(), 3);
    Dialog(orvel).macro->SetSelectedIndex(2);
    Dialog(orvel).cb_OK->Raise(ui::EventId::Click);
    EXPECT_EQ(orvel.MacroJobName, "0002");
    EXPECT_EQ(orvel.MacroJob, 2);

    // A right click in the job window runs it.
    Editor().Raise(ui::EventId::RightButtonUp);
    ui::ServePending();
    RunOut();
    EXPECT_EQ(orvel.WorkMode, 2);

    orvel.Show();
    ASSERT_TRUE(orvel.Close());
    EXPECT_NE(Cp1251ToUtf8(Read("ORVEL.CFG")).find("\r\nМакро=0002\r\nТригер=\r\n"),
              std::string::npos);
    ORVEL again;
    ASSERT_TRUE(again.Create());
    EXPECT_EQ(again.MacroJobName, "0002");
    again.pictbttn_7->Raise(ui::EventId::Click);
    EXPECT_EQ(Dialog(again).macro->SelectedIndex(), 2);
    EXPECT_EQ(Dialog(again).triger->SelectedIndex(), 0);
    Dialog(again).Cancel();
    again.Destroy();
}

TEST_F(BoundMacro, ABindingByTheJobsNameIsShownAndOneGoneShowsNone) {
    orvel.TriggerJobName = "Банк";  // as a hand-edited ORVEL.CFG may name it
    orvel.MacroJobName = "0009";
    orvel.MacroJob = 1;
    orvel.pictbttn_7->Raise(ui::EventId::Click);
    EXPECT_EQ(orvel.TriggerJob, 1);
    EXPECT_EQ(orvel.MacroJob, 0);
    EXPECT_EQ(Dialog(orvel).triger->SelectedIndex(), 1);
    EXPECT_EQ(Dialog(orvel).macro->SelectedIndex(), 0);
    Dialog(orvel).Ok();
    EXPECT_EQ(orvel.TriggerJobName, "0001");
    EXPECT_EQ(orvel.MacroJobName, "");
}

}  // namespace
