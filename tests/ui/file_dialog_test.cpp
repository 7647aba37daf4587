#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "ui/file_dialog.h"

namespace {

TEST(FileDialogService, ScriptAnswersInTurnRecordsTheRequestsAndThenCancels) {
    ui::ScriptedFileDialogs dialogs;
    dialogs.answers = {"/home/op/ORVEL/melody.wav"};
    ui::FileDialogRequest open;
    open.title = "Выбор файла для команды";
    open.folder = "/home/op/ORVEL";
    open.filter = "Звук (*.wav);;Все файлы (*)";
    EXPECT_EQ(ui::RunFileDialog(open), "/home/op/ORVEL/melody.wav");
    ui::FileDialogRequest save{nullptr, ui::FileDialogKind::Save, "", "/tmp", "12_30_05.txt", ""};
    EXPECT_EQ(ui::RunFileDialog(save), "");

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].kind, ui::FileDialogKind::Open);
    EXPECT_EQ(dialogs.shown[0].title, "Выбор файла для команды");
    EXPECT_EQ(dialogs.shown[0].filter, "Звук (*.wav);;Все файлы (*)");
    EXPECT_EQ(dialogs.shown[1].kind, ui::FileDialogKind::Save);
    EXPECT_EQ(dialogs.shown[1].fileName, "12_30_05.txt");
}

TEST(FileDialogService, AnUnscriptedDialogFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(ui::RunFileDialog({}), "unexpected file dialog");
}

}  // namespace
