// The job window as an editor: the lines it inserts from the internal commands, the catalog and
// the journal, and what its controls do to the job in the program state and to its list.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editors/job.h"
#include "state/message_bus.h"
#include "tests/editors/editor_fixture.h"
#include "tests/support/operator_hand.h"
#include "tests/support/program_folder.h"
#include "ui/file_dialog.h"

namespace {

using Texts = std::vector<std::string>;

class JobEditor : public ::testing::Test {
  protected:
    JobEditor() {
        PrepareState(fdx, main);
        fdx.ProgramDir = folder.Dir();
        window.Create(&main, &fdx);
    }

    JobStr& Line(int i) { return fdx.EditLines[std::size_t(i)]; }
    Texts Names() {
        Texts names;
        for (int i = 0; i < fdx.EditLineCount; ++i) names.push_back(Line(i).DCL);
        return names;
    }
    Texts Row(int row) {
        Texts cells;
        for (int c = 0; c < 9; ++c) cells.push_back(window.lv_1->Cell(row, c));
        return cells;
    }
    // The drop-down's item chosen and inserted, as the operator does it.
    void Insert(uint32_t command) {
        window.commands->SetSelectedIndex(int(command));
        window.cb_4->Raise(ui::EventId::Click);
    }
    void Type(const std::string& text) {
        ui::EventData change;
        change.id = ui::EventId::Change;
        change.text = text;
        window.Value->Raise(change);
    }

    ProgramFolder folder;
    CodeSink main;
    FDX fdx;
    job window;
};

TEST_F(JobEditor, TheInternalCommandsInsertTheirTemplateLines) {
    // What each line asks for: a value at all, the value preset, a text, a file.
    struct Template {
        const char* caption;
        uint8_t REQ;
        uint32_t VAL;
        uint8_t STRING, FILE;
    };
    const Template templates[] = {
        {"Комментарий", 1, 0, 1, 0},
        {"Задержать на Время (сек)", 1, 1, 0, 0},
        {"Задержать до режима Стоп", 0, 0, 0, 0},
        {"Задержать до режима Пауза-Стоп", 0, 0, 0, 0},
        {"Переход на Строку N", 1, 1, 0, 0},
        {"Выполнить Exe - Программу", 1, 0, 1, 1},
        {"Проиграть Мелодию", 1, 0, 1, 1},
        {"Сообщение оператору", 1, 0, 1, 0},
        {"Вопрос оператору", 1, 0, 1, 0},
        {"Завершить задание", 0, 0, 0, 0},
        {"Задержать до конца ПАУЗЫ", 0, 0, 0, 0},
        {"Задержать до появления сигнала", 1, 0, 0, 0},
    };
    ASSERT_EQ(window.commands->Count(), int(std::size(templates)));
    for (uint32_t i = 0; i < std::size(templates); ++i) {
        const Template& t = templates[i];
        EXPECT_EQ(window.commands->StringAt(int(i)), t.caption);
        Insert(i);
        JobStr expected;
        expected.DCL = t.caption;
        expected.TAB = kJobPanel;
        expected.OBJ = i;
        expected.REQ = t.REQ;
        expected.VAL = t.VAL;
        expected.STRING = t.STRING;
        expected.FILE = t.FILE;
        EXPECT_EQ(Line(int(i)), expected) << t.caption;
    }
    EXPECT_EQ(fdx.EditLineCount, 12);
    EXPECT_EQ(Row(1),
              (Texts{"002", "", "", "Задание", "Задержать на Время (сек)", "1", "", "0", ""}));
    EXPECT_EQ(Row(2)[5], "");  // no value to show
}

TEST_F(JobEditor, ALineGoesAfterTheSelectedOneAndAFullJobTakesNoMore) {
    Insert(JobComment);
    Insert(JobDelay);
    window.SelectLine(0);
    Insert(JobEnd);
    EXPECT_EQ(Names(), (Texts{"Комментарий", "Завершить задание", "Задержать на Время (сек)"}));
    EXPECT_EQ(fdx.EditLineIndex, 1);
    EXPECT_EQ(window.lv_1->SelectedRow(), 1);
    EXPECT_EQ(window.lineNumber->Text(), "002");
    EXPECT_EQ(window.lv_1->RowCount(), 3);
    EXPECT_EQ(Row(2)[0], "003");
    EXPECT_EQ(fdx.EditJobChanged, 1);

    fdx.EditLineCount = 1000;
    fdx.EditLineIndex = 500;
    const JobStr last = Line(999);
    Insert(JobComment);
    EXPECT_EQ(fdx.EditLineCount, 1000);
    EXPECT_EQ(Line(999), last);
    EXPECT_EQ(Line(501).DCL, "");
}

TEST_F(JobEditor, JournalItemsAndCatalogEntriesBecomeLines) {
    fdx.SpareCatalogEntry = JobDcl{};
    fdx.SpareCatalogEntry.Name = "Ночной";
    fdx.SpareCatalogEntry.Panel = 9;
    fdx.SpareCatalogEntry.Object = 6;
    fdx.SelectedCatalogEntry = &fdx.SpareCatalogEntry;
    PostPrivateMessage(&window, PostReloadView);
    ui::ServePending();
    ASSERT_EQ(fdx.EditLineCount, 1);
    EXPECT_EQ(Line(0).DCL, "Банк Частот");
    EXPECT_EQ(Line(0).STR, "Ночной");
    EXPECT_TRUE(Line(0).STRING && Line(0).REQ);
    EXPECT_EQ(Row(0), (Texts{"001", "", "", "Журнал", "Банк Частот", "Ночной", "", "0", ""}));

    JobDcl frequency;
    frequency.Name = "Поле Частота-выбор";
    frequency.Panel = 10;
    frequency.Object = 11;
    frequency.Value = 1455000;
    frequency.REQ = frequency.FREQ = frequency.TakesValue = 1;
    fdx.SelectedCatalogEntry = &frequency;
    window.OnUserEvent(PostReloadView);
    EXPECT_EQ(Line(1).VAL, 1455000u);
    EXPECT_EQ(Row(1)[3], "Главная");
    EXPECT_EQ(Row(1)[5], "145.5000");
    EXPECT_EQ(window.Value->Text(), "145.5000");
}

TEST_F(JobEditor, DeletingTakesTheSelectedLineAndAnEmptyJobStaysEmpty) {
    window.DeleteLine();
    EXPECT_EQ(fdx.EditLineCount, 0);
    EXPECT_EQ(fdx.EditJobChanged, 0);

    for (uint32_t c : {JobComment, JobDelay, JobEnd}) Insert(c);
    fdx.EditJobChanged = 0;
    window.cb_2->Raise(ui::EventId::Click);  // the last line was selected
    EXPECT_EQ(Names(), (Texts{"Комментарий", "Задержать на Время (сек)"}));
    EXPECT_EQ(fdx.EditLineIndex, 1);
    EXPECT_EQ(fdx.EditJobChanged, 1);
    window.SelectLine(0);
    window.DeleteLine();
    EXPECT_EQ(Names(), (Texts{"Задержать на Время (сек)"}));
    EXPECT_EQ(Row(0)[0], "001");
    window.DeleteLine();
    window.DeleteLine();
    EXPECT_EQ(fdx.EditLineCount, 0);
    EXPECT_EQ(window.lv_1->RowCount(), 0);
    EXPECT_EQ(window.lineNumber->Text(), "");
}

// The list of lines takes its own mouse; its right button runs the macro as the form's does.
TEST_F(JobEditor, ARightClickOverTheLinesRunsTheMacro) {
    window.lv_1->Raise(ui::EventId::RightButtonUp);
    ui::ServePending();
    EXPECT_EQ(main.Count(PostRunMacro), 1);
}

TEST_F(JobEditor, TheValueIsReadAsTheLineTakesIt) {
    JobDcl step;
    step.Name = "Поле Шаг-выбор";
    step.Panel = 2;
    step.Object = 11;
    step.REQ = step.STEP = 1;
    struct Case {
        uint32_t command;  // an internal command, or 99 for the step field above
        bool db;
        std::string typed;
        uint32_t val;
        std::string str;
        std::string shown;
    };
    const Case cases[] = {
        {JobWaitSignal, false, "120", 120, "", "120"},
        {JobWaitSignal, true, "40.0", 80, "", "40.0"},  // tenths of dB through the calibration
        {99, false, "12.5", 125, "", "12.5"},
        {JobMessage, false, "Смена кассеты", 0, "Смена кассеты", "Смена кассеты"},
        {JobDelay, false, "3", 3, "", "3"},
        {JobWaitStop, false, "7", 0, "", ""},  // takes no value
    };
    for (const Case& c : cases) {
        fdx.OptDb = c.db;
        if (c.command == 99) {
            fdx.SelectedCatalogEntry = &step;
            window.InsertCatalogEntry();
        } else {
            Insert(c.command);
        }
        Type(c.typed);
        const JobStr& line = Line(fdx.EditLineIndex);
        EXPECT_EQ(line.VAL, c.val) << c.typed;
        EXPECT_EQ(line.STR, c.str) << c.typed;
        EXPECT_EQ(Row(fdx.EditLineIndex)[5], c.shown) << c.typed;
    }
    JobDcl frequency = step;
    frequency.STEP = 0;
    frequency.FREQ = 1;
    fdx.SelectedCatalogEntry = &frequency;
    window.InsertCatalogEntry();
    Type("145,5");
    EXPECT_EQ(Line(fdx.EditLineIndex).VAL, 1455000u);
}

// A typed value is the line's when the typing ends, whole: "35" is never a delay of 3 first.
TEST_F(JobEditor, TheLineTakesATypedValueWhenTheTypingEnds) {
    namespace hand = operator_hand;
    Insert(JobDelay);
    fdx.EditJobChanged = 0;
    hand::TypeOver(window.Value, "35");
    ui::ServePending();
    EXPECT_EQ(Line(0).VAL, 1u);
    EXPECT_EQ(fdx.EditJobChanged, 0);
    hand::PressEnter(window.Value);
    ui::ServePending();
    EXPECT_EQ(Line(0).VAL, 35u);
    EXPECT_EQ(Row(0)[5], "35");
    EXPECT_EQ(fdx.EditJobChanged, 1);
}

TEST_F(JobEditor, TheBoxesSetTheLinesFlagsAndASelectedLineIsShown) {
    Insert(JobMessage);
    Insert(JobDelay);
    fdx.EditJobChanged = 0;
    window.Cond->SetChecked(true);
    window.Cond->Raise(ui::EventId::Click);
    window.cb_6->SetChecked(true);
    window.cb_6->Raise(ui::EventId::Click);
    EXPECT_TRUE(Line(1).COND && Line(1).PUT && !Line(1).GET);
    EXPECT_EQ(Row(1)[1], "+");
    EXPECT_EQ(Row(1)[6], "+");
    EXPECT_EQ(fdx.EditJobChanged, 1);

    Line(0).STR = "Привет";
    Line(0).Message = "было";
    ui::EventData click;
    click.id = ui::EventId::Select;
    click.value = 0;
    window.lv_1->Raise(click);
    EXPECT_EQ(window.lineNumber->Text(), "001");
    EXPECT_EQ(window.Value->Text(), "Привет");
    EXPECT_EQ(window.Rc_msg->Text(), "было");
    EXPECT_FALSE(window.Cond->IsChecked());
    EXPECT_FALSE(window.cb_6->IsChecked());
}

// The keys choose a line as a click does: a click on line 13, then End and Up to line 28, and
// the fields show line 28, which the delete button removes; line 13 stays.
TEST_F(JobEditor, TheLineChosenWithTheKeysIsShownAndDeleted) {
    namespace hand = operator_hand;
    for (int i = 1; i <= 30; ++i) {
        Insert(JobDelay);
        Type(std::to_string(i));  // each line's delay is its number
    }
    hand::ClickRow(window.lv_1, 12);
    ui::ServePending();
    EXPECT_EQ(window.lineNumber->Text(), "013");
    hand::PressKeys(window.lv_1, {Qt::Key_End, Qt::Key_Up, Qt::Key_Up});
    EXPECT_EQ(window.lv_1->SelectedRow(), 27);
    EXPECT_EQ(fdx.EditLineIndex, 27);
    EXPECT_EQ(window.lineNumber->Text(), "028");
    EXPECT_EQ(window.Value->Text(), "28");

    hand::ClickServed(window.cb_2);  // "Исключить выделенную команду"
    ASSERT_EQ(fdx.EditLineCount, 29);
    std::vector<uint32_t> delays;
    for (int i = 0; i < fdx.EditLineCount; ++i) delays.push_back(Line(i).VAL);
    EXPECT_EQ(std::count(delays.begin(), delays.end(), 28u), 0);
    EXPECT_EQ(std::count(delays.begin(), delays.end(), 13u), 1);
    EXPECT_EQ(Line(27).VAL, 29u);
    // The line after it takes its place, and the list and the fields show it.
    EXPECT_EQ(window.lv_1->SelectedRow(), fdx.EditLineIndex);
    EXPECT_EQ(window.Value->Text(), std::to_string(Line(fdx.EditLineIndex).VAL));
}

TEST_F(JobEditor, ARememberedLineIsPastedAfterTheSelectedOne) {
    Insert(JobMessage);
    window.Paste->Raise(ui::EventId::Click);  // nothing remembered yet
    EXPECT_EQ(fdx.EditLineCount, 1);
    Line(0).STR = "Смена";
    window.cb_1->Raise(ui::EventId::Click);
    Insert(JobEnd);
    window.SelectLine(0);
    window.Paste->Raise(ui::EventId::Click);
    EXPECT_EQ(Names(), (Texts{"Сообщение оператору", "Сообщение оператору", "Завершить задание"}));
    EXPECT_EQ(Line(1).STR, "Смена");
}

TEST_F(JobEditor, AChosenFileIsKeptByItsNameInTheProgramFolderElseWhole) {
    ui::ScriptedFileDialogs dialogs;
    Insert(JobPlayMelody);
    dialogs.answers = {folder.Dir() + "bell.wav", "/usr/share/sounds/alarm.wav"};
    window.cb_3->Raise(ui::EventId::Click);
    EXPECT_EQ(Line(0).STR, "bell.wav");
    EXPECT_EQ(window.Value->Text(), "bell.wav");
    window.ChooseFile();
    EXPECT_EQ(Line(0).STR, "/usr/share/sounds/alarm.wav");
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].folder, folder.Dir());  // the program folder at first
    EXPECT_EQ(dialogs.shown[1].folder, folder.path().string());
    window.ChooseFile();  // cancelled: the file stays
    EXPECT_EQ(dialogs.shown[2].folder, "/usr/share/sounds");
    EXPECT_EQ(Line(0).STR, "/usr/share/sounds/alarm.wav");

    // A program with blanks or an apostrophe in its path is quoted: the line runs split like a
    // command line.
    Insert(JobRunProgram);
    dialogs.answers = {"/opt/My tools/scan.sh", "/opt/Bob's/scan.sh"};
    window.ChooseFile();
    EXPECT_EQ(Line(1).STR, "\"/opt/My tools/scan.sh\"");
    window.ChooseFile();
    EXPECT_EQ(dialogs.shown.back().folder, "/opt/My tools");
    EXPECT_EQ(Line(1).STR, "\"/opt/Bob's/scan.sh\"");
    dialogs.answers = {"/opt/other.sh"};
    window.ChooseFile();
    EXPECT_EQ(dialogs.shown.back().folder, "/opt/Bob's");

    Insert(JobMessage);  // a text, not a file
    window.ChooseFile();
    EXPECT_EQ(dialogs.shown.size(), 6u);
}

TEST_F(JobEditor, ALoadedJobFillsTheListAndAClearedOneEmptiesIt) {
    fdx.EditLines[0] = JobCommandTemplate(JobComment);
    fdx.EditLines[1] = JobCommandTemplate(JobEnd);
    fdx.EditLineCount = 2;
    fdx.EditLineIndex = 1;
    fdx.EditJobName = "Обход";
    window.OnUserEvent(PostItemLoaded);
    EXPECT_EQ(window.jobName->Text(), "Обход");
    EXPECT_EQ(window.lv_1->RowCount(), 2);
    EXPECT_EQ(fdx.EditLineIndex, 0);
    EXPECT_EQ(window.lineNumber->Text(), "001");

    fdx.EditLines[1].ReturnCode = 1;
    fdx.EditLines[1].Time = "09:05:30";
    window.OnUserEvent(PostRefreshDisplay);
    EXPECT_EQ(Row(1)[7], "1");
    EXPECT_EQ(Row(1)[8], "09:05:30");

    fdx.EditLineCount = 0;
    window.OnUserEvent(PostClearData);
    EXPECT_EQ(window.lv_1->RowCount(), 0);
    EXPECT_EQ(window.jobName->Text(), "");
}

TEST_F(JobEditor, ALockedEditorTakesNoEditsWhileItsJobRuns) {
    Insert(JobComment);
    fdx.JobRunning = 1;
    window.OnUserEvent(PostLockControls);
    EXPECT_FALSE(window.cb_4->IsEnabled());
    window.InsertCommand(JobEnd);
    window.DeleteLine();
    EXPECT_EQ(fdx.EditLineCount, 1);
    fdx.JobRunning = 0;
    window.OnUserEvent(PostUnlockControls);
    EXPECT_TRUE(window.cb_4->IsEnabled());
}

}  // namespace
