// The macro and trigger binding: the stored jobs it offers, what OK and Cancel leave in the
// program state, and a binding that points past the jobs.

#include "editors/set_macro.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "state/message_bus.h"
#include "state/user_job.h"
#include "tests/editors/editor_fixture.h"

namespace {

using Texts = std::vector<std::string>;

class MacroBinding : public ::testing::Test {
  protected:
    MacroBinding() { PrepareState(fdx, main); }
    void AddJob(const std::string& folder, const std::string& identifier) {
        jobs.push_back(std::make_unique<UserJob>());
        jobs.back()->FolderName = folder;
        jobs.back()->Identifier = identifier;
        fdx.Jobs.push_back(jobs.back().get());
    }
    static Texts Entries(const ui::ComboBox* list) {
        Texts texts;
        for (int i = 0; i < list->Count(); ++i) texts.push_back(list->StringAt(i));
        return texts;
    }

    CodeSink main;
    FDX fdx;
    std::vector<std::unique_ptr<UserJob>> jobs;
    SetMacro dialog;
};

TEST_F(MacroBinding, WithoutJobsOkBindsNothing) {
    fdx.MacroJobName = "0007";  // a job gone since
    fdx.TriggerJobName = "0008";
    ASSERT_TRUE(dialog.Create(&main, &fdx));
    EXPECT_EQ(Entries(dialog.macro), Texts{"нет задания"});
    EXPECT_EQ(Entries(dialog.triger), Texts{"нет задания"});
    // The lists offer the jobs and take no typed text.
    for (ui::ComboBox* list : {dialog.macro, dialog.triger}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QCoreApplication::sendEvent(list->widget(), &key);
        EXPECT_EQ(list->Text(), "нет задания");
    }
    dialog.cb_OK->Raise(ui::EventId::Click);
    EXPECT_EQ(dialog.Result(), 1);
    EXPECT_EQ(fdx.MacroJob, 0);
    EXPECT_EQ(fdx.TriggerJob, 0);
    EXPECT_EQ(fdx.MacroJobName, "");
    EXPECT_EQ(fdx.TriggerJobName, "");
    EXPECT_FALSE(dialog.IsVisible());
}

TEST_F(MacroBinding, OkTakesBothChoicesAndABindingPastTheJobsShowsNone) {
    AddJob("0001", "Утро");
    AddJob("0003", "Вечер");
    fdx.MacroJob = 2;
    fdx.TriggerJob = 3;  // past the two jobs
    ASSERT_TRUE(dialog.Create(&main, &fdx));
    EXPECT_EQ(Entries(dialog.macro), (Texts{"нет задания", "Утро", "Вечер"}));
    EXPECT_EQ(dialog.macro->SelectedIndex(), 2);
    EXPECT_EQ(dialog.triger->SelectedIndex(), 0);

    // The trigger bound, the macro unbound: each list its own binding.
    dialog.triger->SetSelectedIndex(1);
    dialog.macro->SetSelectedIndex(0);
    dialog.Ok();
    EXPECT_EQ(fdx.MacroJob, 0);
    EXPECT_EQ(fdx.MacroJobName, "");
    EXPECT_EQ(fdx.TriggerJob, 1);
    EXPECT_EQ(fdx.TriggerJobName, "0001");  // the folder, which a rename leaves alone
}

TEST_F(MacroBinding, CancelChangesNothingAndTheRightButtonRunsTheMacro) {
    AddJob("0001", "Утро");
    fdx.MacroJob = 1;
    fdx.MacroJobName = "0001";
    ASSERT_TRUE(dialog.Create(&main, &fdx));
    dialog.macro->SetSelectedIndex(0);
    dialog.Raise(ui::EventId::RightButtonUp);
    EXPECT_EQ(main.Take(), std::vector<uint32_t>{PostRunMacro});
    dialog.cb_Cancel->Raise(ui::EventId::Click);
    EXPECT_EQ(dialog.Result(), 0);
    EXPECT_EQ(fdx.MacroJob, 1);
    EXPECT_EQ(fdx.MacroJobName, "0001");
    ui::ServePending();  // a closed dialog goes; it opens anew
    EXPECT_TRUE(dialog.Create(&main, &fdx));
}

}  // namespace
