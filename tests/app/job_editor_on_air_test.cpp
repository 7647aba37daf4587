// A job made in the job editor, as the operator makes it, run against the emulated IC-R8500: it
// loads a stored range, starts its scan, waits two seconds and then for the scan's end, and the
// editor's list shows what came of every line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/orvel_editors.h"
#include "state/user_dp.h"
#include "tests/app/window_fixture.h"

namespace {

class JobEditorOnAir : public window_test::ScanOnAir {
  protected:
    void Prepare() override {
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        UserDp& range = MakeRange(1'000'000, 1'009'900, 100);
        range.Identifier = "Эфир";
        range.FilePath = range.FolderPath + "diap.cfg";
        range.Level = 50;
        range.WaitTime = 4;  // the scan holds on the carrier that long: it outlasts the delay
        ASSERT_TRUE(range.WriteFile());
    }
    // The operator picks an item in the journal and presses "Загрузить Информацию".
    void Take(JournalItem* item) {
        ASSERT_NE(item, nullptr);
        orvel.journal.Select(item);
        orvel.pictbttn_2->Raise(ui::EventId::Click);
        ui::ServePending();
    }
    JournalItem* Catalog(const std::string& name) {
        for (const auto& entry : orvel.store.PanelFolder->Children()) {
            if (entry->Name == name) return entry.get();
            if (JournalItem* child = Child(entry.get(), name)) return child;
        }
        return nullptr;
    }
};

TEST_F(JobEditorOnAir, AnEditedJobScansARangeAndTheListShowsEveryLinesOutcome) {
    orvel.tabctrl_1->SetSelectedIndex(4);
    orvel.SelectWorkMode(4);
    job& editor = orvel.editors->jobWindow;
    Take(Catalog("Панель ДИАПАЗОНЫ"));
    Take(Child(orvel.store.RangeFolder, "Эфир"));
    Take(Catalog("Кнопка ЗАГРУЗИТЬ"));
    editor.Cond->SetChecked(true);
    editor.Cond->Raise(ui::EventId::Click);
    Take(Catalog("Кнопка ПУСК"));
    editor.commands->SetSelectedIndex(JobDelay);
    editor.cb_4->Raise(ui::EventId::Click);
    ui::EventData typed;
    typed.id = ui::EventId::Change;
    typed.text = "2";
    editor.Value->Raise(typed);
    editor.commands->SetSelectedIndex(JobWaitStop);
    editor.cb_4->Raise(ui::EventId::Click);
    ASSERT_EQ(orvel.EditLineCount, 6);
    EXPECT_EQ(editor.lv_1->Cell(1, 4), "Диапазон");
    EXPECT_EQ(editor.lv_1->Cell(1, 5), "Эфир");
    EXPECT_EQ(editor.lv_1->Cell(2, 1), "+");
    EXPECT_EQ(editor.lv_1->Cell(4, 5), "2");

    // When the last line begins its wait, the scan still runs.
    bool scanningAtTheWait = false;
    editor.AddHandler(ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
        if (e.code == PostJobStep && orvel.JobLine == &orvel.EditLines[5])
            scanningAtTheWait = orvel.Running;
        return false;
    });
    orvel.start->Raise(ui::EventId::Click);
    ASSERT_TRUE(orvel.JobRunning);
    int64_t scanStarted = -1;
    bool editable = true;
    ASSERT_TRUE(RunUntilSeen(
        [&] {
            if (!orvel.Running) return false;
            scanStarted = ui::Clock::NowMs();
            editable = editor.cb_4->IsEnabled();
            return true;
        },
        10'000));
    EXPECT_FALSE(editable);  // no editing while the job runs
    ASSERT_TRUE(RunUntil([&] { return !orvel.JobRunning; }));
    ui::ServeFor(100);
    EXPECT_GT(ui::Clock::NowMs() - scanStarted, 1000);  // two one-second ticks at least
    EXPECT_TRUE(scanningAtTheWait);
    EXPECT_EQ(orvel.Running, 0);
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(editor.lv_1->Cell(row, 7), "0") << row;
        EXPECT_EQ(editor.lv_1->Cell(row, 8), "09:05:30") << row;
    }
    EXPECT_TRUE(editor.cb_4->IsEnabled());
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_TRUE(boxes.shown.empty());

    // Saved and bound to the right button, the job runs again from a right click; when it ends
    // after its scan the main window is the operator's again.
    orvel.SwitchToTab(4);
    orvel.store.SaveItem();
    ASSERT_TRUE(std::filesystem::exists(folder.File("JOB/0001/job.cfg")));
    orvel.MacroJobName = "0001";
    orvel.SwitchToTab(0);
    editor.Raise(ui::EventId::RightButtonUp);
    ASSERT_TRUE(RunUntilSeen([&] { return orvel.JobRunning != 0; }, 10'000));
    ASSERT_TRUE(RunUntil([&] { return !orvel.JobRunning; }));
    ui::ServeFor(100);
    EXPECT_EQ(orvel.RunLines[5].ReturnCode, 0);
    EXPECT_EQ(orvel.RunLines[5].Time, "09:05:30");
    EXPECT_EQ(orvel.Running, 0);
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_TRUE(orvel.ft->IsEnabled());
}

}  // namespace
