// The job executor: loaded and editor runs line by line against the main window, the journal,
// the windows and the receiver panel; the job codes of the main window; saving the editor's
// lines as a job.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/app/window_fixture.h"

namespace {

using window_test::CodeSink;
using window_test::Line;
using window_test::MakeLine;
using window_test::MakeLines;
using Texts = std::vector<std::string>;

constexpr const char* kNoAccess = "Нет доступа к объекту";

const Line kBankPage{"Панель БАНК", 10, 1};
const Line kRangesPage{"Панель ДИАПАЗОНЫ", 10, 2};
const Line kGroupPage{"Панель ГРУППА", 10, 3};
const Line kJobPage{"Панель ЗАДАНИЕ", 10, 4};
const Line kStart{"Кнопка ПУСК", 10, 17};
const Line kDeleteFromJournal{"Кнопка УДАЛИТЬ из Журнала", 10, 15};

// The main window on a program folder the test fills first, with jobs run on it.
class JobRun : public window_test::WindowTest {
  protected:
    void TearDown() override {
        orvel.Running = 0;
        WindowTest::TearDown();
    }

    // Serves posted codes until the running job has ended, or for a while when it waits for a
    // window that does not answer by itself.
    void Serve() {
        for (int i = 0; i < 5000 && orvel.JobRunning; ++i) ui::ServePending();
        for (int i = 0; i < 10; ++i) ui::ServePending();
    }
    // The job tab's ПУСК with these lines in the editor.
    void RunEditor(const std::vector<JobStr>& lines) {
        std::copy(lines.begin(), lines.end(), orvel.EditLines.begin());
        orvel.EditLineCount = int32_t(lines.size());
        orvel.SwitchToTab(4);
        orvel.scan.StartStopScan();
        Serve();
    }
};

// ---- runs

class LongAndEmptyJobs : public JobRun {
    void Prepare() override {
        std::vector<JobStr> lines;
        for (int i = 1; i <= 1200; ++i)
            lines.push_back(MakeLine({"Строка " + std::to_string(i), 10, 27}));
        // The job file holds all of them; the program takes what its buffers hold.
        WriteJob("0001", "Длинное", lines);
        WriteJob("0002", "Пустое", {});
    }
};

TEST_F(LongAndEmptyJobs, ALongJobLoadsItsFirstThousandLinesAndAnEmptyOneDoesNotStart) {
    ASSERT_TRUE(orvel.jobs.LoadJobForRun("0001"));
    EXPECT_EQ(orvel.JobLineCount, 1000);
    EXPECT_EQ(orvel.RunLines[999].DCL, "Строка 1000");
    orvel.jobs.StartJob();
    Serve();
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_EQ(orvel.RunLines[999].Time, "09:05:30");  // every line ran, stamped with the time
    EXPECT_EQ(arrivals[PostJobStep], 1000);

    ASSERT_TRUE(orvel.jobs.LoadJobForRun("0002"));
    EXPECT_EQ(orvel.JobLineCount, 0);
    orvel.jobs.StartJob();
    EXPECT_EQ(orvel.JobRunning, 0);
    orvel.EditLineCount = 0;
    EXPECT_FALSE(orvel.scan.StartJobMode());
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_FALSE(orvel.jobs.LoadJobForRun("0003"));
}

TEST_F(JobRun, TheFirstLineOfARunIsNeverSkipped) {
    // The last line of the run before failed; a run starting with COND does not look at it.
    RunJob(MakeLines({kBankPage, kDeleteFromJournal}));
    ASSERT_EQ(orvel.JobLine, &orvel.RunLines[1]);
    ASSERT_EQ(orvel.JobLine->ReturnCode, 1);
    Line first = kGroupPage;
    first.cond = true;
    RunJob(MakeLines({first}));
    EXPECT_EQ(orvel.WorkMode, 3);

    // Nothing ran at all before the start-up job.
    orvel.JobLine = nullptr;
    first = kBankPage;
    first.cond = true;
    RunJob(MakeLines({first}));
    EXPECT_EQ(orvel.WorkMode, 1);

    // An editor run neither.
    first = kRangesPage;
    first.cond = true;
    RunJob(MakeLines({kDeleteFromJournal}));
    RunEditor(MakeLines({first}));
    EXPECT_EQ(orvel.WorkMode, 2);
}

TEST_F(JobRun, MainWindowLinesAnswerThemselvesAlsoWhenRefused) {
    orvel.Running = 1;  // a scan runs
    // A refused line fails with its message; a step out of the limits changes nothing, unfailed.
    // clang-format off
    const struct {
        Line line;
        std::string message;
    } steps[] = {
        {kStart,                                        "Режим сканирования уже запущен."},
        {{"Поле Частота-выбор", 10, 11, orvel.FreqHigh + 1}, "Частоты выходят за пределы для данного приемника"},
        {{"Поле Частота-выбор", 10, 11, 1455000},       ""},
        {{"Поле Шаг-выбор", 10, 12, orvel.StepHigh + 1}, ""},
        {{"Поле Шаг-выбор", 10, 12, 125},               ""},
        {{"Кнопка СТОП", 10, 25},                       ""},
        {{"Кнопка РЕЖИМ", 10, 26},                      "Программа не находится в режиме ПАУЗА."},
        {{"Кнопка AM-модуляция", 10, 21},               ""},
        {{"", 10, 99},                                  ""},
    };
    // clang-format on
    std::vector<JobStr> lines;
    for (const auto& step : steps) lines.push_back(MakeLine(step.line));
    RunJob(lines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(orvel.RunLines[i].Message, steps[i].message) << i;
        EXPECT_EQ(orvel.RunLines[i].ReturnCode, steps[i].message.empty() ? 0 : 1) << i;
    }
    EXPECT_EQ(orvel.Frequency, 1455000u);
    EXPECT_EQ(orvel.ft->Text(), "145.5000");
    EXPECT_EQ(orvel.Step, 125u);
    EXPECT_EQ(orvel.step->Text(), "12.5");
    EXPECT_EQ(orvel.Running, 0);  // СТОП stopped the scan
    EXPECT_EQ(orvel.Modulation, 'A');
    EXPECT_TRUE(orvel.am->IsChecked());
    EXPECT_EQ(arrivals[PostJobStep], 9);  // one answer per line
    EXPECT_EQ(orvel.JobRunning, 0);

    RunJob(MakeLines({{"Кнопка СТОП", 10, 25}, {"Кнопка УДАЛИТЬ из Раздела", 10, 16}}));
    EXPECT_EQ(orvel.RunLines[0].Message, "Режим сканирования не запущен.");
    EXPECT_EQ(orvel.RunLines[1].ReturnCode, 0);  // the receiver tab is cleared
    orvel.SwitchToTab(4);
    RunJob(MakeLines({{"Кнопка УДАЛИТЬ из Раздела", 10, 16}}));
    EXPECT_EQ(orvel.RunLines[0].Message, "Запрещено удалять работающее задание");
    EXPECT_TRUE(boxes.shown.empty());
}

// ---- journal lines

class JournalLines : public JobRun {
    void Prepare() override {
        WriteRange("0001", "FM", 1000000, 1080000);
        WriteEtalon("DP/0001/0001.etl", {"Идентификатор=Утро"});
        // A second range of the same name, higher up: only the first is looked into.
        WriteRange("0002", "FM", 1100000, 1200000);
        WriteEtalon("DP/0002/0001.etl", {"Идентификатор=Вечер"});
        WriteJob("0001", "Обход", MakeLines({kBankPage}));
    }

  protected:
    JobStr RunOne(const Line& l) {
        RunJob(MakeLines({l}));
        return orvel.RunLines[0];
    }
};

TEST_F(JournalLines, SelectTheNamedItemOrFailWithTheirOwnMessage) {
    JournalItem* first = orvel.store.RangeFolder->Children()[0].get();
    ASSERT_EQ(first->As<UserDp>()->FolderName, "0001");
    // clang-format off
    const struct {
        uint32_t object;
        const char* name;
        const JournalItem* selected;
        std::string message;
    } cases[] = {
        {8,  "FM>>Утро",  Child(first, "Утро"), ""},
        {8,  "FM>>Вечер", nullptr, "Не найден указанный эталон"},  // only the first FM is searched
        {8,  "FM",        nullptr, "Не найден указанный эталон"},
        {3,  "FM",        first,   ""},
        {3,  "fm",        nullptr, "Не найден указанный диапазон"},  // letter case counts
        {11, "Обход",     Child(orvel.store.JobFolder, "Обход"), ""},
        {6,  "Банк",      nullptr, "Не найден указанный банк"},
        {7,  "Банк>>1",   nullptr, "Не найден указанные измерения"},
        {4,  "Группа",    nullptr, "Не найдена указанная группа"},
        {13, "Запись",    nullptr, "Не найдена указанная фонограмма"},
        {5,  "?",         nullptr, ""},  // nothing to select
    };
    // clang-format on
    for (const auto& c : cases) {
        const JobStr line = RunOne({c.name, 9, c.object, 0, c.name});
        EXPECT_EQ(line.Message, c.message) << c.name;
        EXPECT_EQ(line.ReturnCode, c.message.empty() ? 0 : 1) << c.name;
        if (c.selected != nullptr) {
            EXPECT_EQ(orvel.journal.Selected(), c.selected) << c.name;
        }
    }
    JobStr unnamed = MakeLine({"FM", 9, 3});
    unnamed.STR = "FM";  // STRING clear: no name to look for
    RunJob({unnamed});
    EXPECT_EQ(orvel.RunLines[0].Message, "Не найден указанный диапазон");
    EXPECT_EQ(arrivals[PostJobStep], 12);
}

// ---- lines for other windows and the receiver panel

TEST_F(JobRun, ALineNobodyCanAnswerFailsAndTheJobGoesOn) {
    RunJob(MakeLines({{"Кнопка Атт 10 дБ", 0, 415},
                      {"?", 8, 1},
                      {"?", 11, 1},
                      {"Панель ПАРАМЕТРЫ", 7, 0},
                      kGroupPage}));
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(orvel.RunLines[i].ReturnCode, 1) << i;
        EXPECT_EQ(orvel.RunLines[i].Message, kNoAccess) << i;
    }
    EXPECT_EQ(orvel.RunLines[3].ReturnCode, 0);
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_EQ(orvel.JobRunning, 0);
}

TEST_F(JobRun, TheGroupWindowRefusesEveryLineAndTheJobGoesOn) {
    // The items ORVEL.CFG named are restored by the first job that ends, the start-up job.
    orvel.UnrestoredItems = {{"Диапазон0", "Авиация"}};
    RunJob(MakeLines({{"Кнопка Внести", 3, 11}, kGroupPage}));
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 1);
    EXPECT_EQ(orvel.RunLines[0].Message, "Нет доступа к обьекту");
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_TRUE(orvel.UnrestoredItems.empty());
}

TEST_F(JobRun, TheStudyLineOpensTheStudyUnlessTheCalibrationIsOpen) {
    const Line study{"Кнопка детального исследования", 10, 31};
    orvel.CalibrOpen = 1;
    RunJob(MakeLines({study}));
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 1);
    EXPECT_EQ(orvel.RunLines[0].Message, "Нельзя производить анализ.Загружена панель калибровки");
    EXPECT_EQ(orvel.StudyOpen, 0);
    orvel.CalibrOpen = 0;
    // A second line leaves the study open: only the button closes it.
    RunJob(MakeLines({study, study}));
    EXPECT_EQ(orvel.RunLines[1].ReturnCode, 0);
    EXPECT_EQ(orvel.StudyOpen, 1);
    ASSERT_NE(orvel.auxWindows.View, nullptr);
    EXPECT_TRUE(orvel.auxWindows.View->IsVisible());
    orvel.pictbttn_13->Raise(ui::EventId::Click);
    EXPECT_EQ(orvel.StudyOpen, 0);
    EXPECT_EQ(orvel.auxWindows.View, nullptr);
}

TEST_F(JobRun, AWindowAnswersItsLineAndItsReturnCodeDecidesTheNextCond) {
    CodeSink bank;
    orvel.subWindows.freq = &bank;
    Line last = kGroupPage;
    last.cond = true;
    RunEditor(MakeLines({kBankPage, kRangesPage, {"Кнопка Внести", 1, 11}, last, kJobPage}));
    // The job waits for the bank window; an editor run shows the line it is at.
    EXPECT_EQ(orvel.JobRunning, 1);
    EXPECT_EQ(std::count(bank.codes.begin(), bank.codes.end(), PostJobStep), 1);
    EXPECT_EQ(orvel.statusBar->PartText(0), "3 - Кнопка Внести");
    EXPECT_EQ(orvel.EditLines[3].Time, "");

    orvel.JobLine->ReturnCode = 1;
    PostPrivateMessage(&orvel, PostJobStep);
    Serve();
    EXPECT_EQ(orvel.EditLines[3].Time, "");  // skipped
    EXPECT_EQ(orvel.WorkMode, 4);
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    orvel.subWindows.freq = nullptr;
}

// ---- one chain per run

TEST_F(JobRun, ALineThatStartsTheEditorsJobLeavesOneChainOfSteps) {
    std::vector<JobStr> edited = MakeLines({kRangesPage, kGroupPage});
    std::copy(edited.begin(), edited.end(), orvel.EditLines.begin());
    orvel.EditLineCount = 2;
    RunJob(MakeLines({kJobPage, kStart, {"never", 10, 1}}));
    EXPECT_EQ(arrivals[PostJobStep], 1 + 2);  // the job page, then the editor's two lines
    EXPECT_EQ(orvel.RunLines[2].Time, "");
    EXPECT_EQ(orvel.EditLines[1].Time, "09:05:30");
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_EQ(orvel.LoadedRun, 0);
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
}

TEST_F(JobRun, AnEmptyEditorLeavesTheLoadedRunGoingOn) {
    orvel.EditLineCount = 0;
    RunJob(MakeLines({kJobPage, kStart, kRangesPage}));
    EXPECT_EQ(orvel.RunLines[1].Message, "Не заданы режим или параметры сканирования!");
    EXPECT_EQ(orvel.RunLines[2].Time, "09:05:30");
    EXPECT_EQ(orvel.WorkMode, 2);
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_EQ(orvel.LoadedRun, 0);
}

// ---- the job codes

class BoundJobs : public JobRun {
    void Prepare() override {
        WriteJob("0001", "Макро", MakeLines({kBankPage}));
        WriteJob("0002", "Тригер", MakeLines({kRangesPage}));
    }

  protected:
    void Click() {
        PostPrivateMessage(&orvel, PostRunMacro);
        Serve();
    }
};

TEST_F(BoundJobs, RightClicksRunTheMacroAndTheTriggerByTurns) {
    // Bound by identifier, as the binding dialog keeps them, or by folder.
    orvel.MacroJobName = "Макро";
    orvel.TriggerJobName = "0002";
    std::vector<int32_t> modes;
    for (int i = 0; i < 3; ++i) {
        Click();
        modes.push_back(orvel.WorkMode);
    }
    EXPECT_EQ(modes, (std::vector<int32_t>{1, 2, 1}));

    orvel.MacroJobName.clear();
    orvel.SwitchToTab(0);
    Click();
    EXPECT_EQ(orvel.WorkMode, 2);
    orvel.SwitchToTab(0);
    Click();
    EXPECT_EQ(orvel.WorkMode, 2);

    orvel.TriggerJobName = "Нет такого";
    orvel.SwitchToTab(0);
    Click();
    EXPECT_EQ(orvel.WorkMode, 0);
}

TEST_F(BoundJobs, AClickWhileAJobRunsLeavesItsLines) {
    CodeSink bank;
    orvel.subWindows.freq = &bank;
    orvel.MacroJobName = "Макро";
    RunJob(MakeLines({{"Кнопка Внести", 1, 11}, kGroupPage}));
    ASSERT_EQ(orvel.JobRunning, 1);
    EXPECT_EQ(orvel.statusBar->PartText(0), "Сканирование по Шкале");  // a loaded run's own
    Click();
    EXPECT_EQ(orvel.JobLineCount, 2);
    PostPrivateMessage(&orvel, PostJobStep);  // the bank window is done
    Serve();
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_EQ(orvel.JobRunning, 0);
    orvel.subWindows.freq = nullptr;
}

TEST_F(BoundJobs, APanelStartsItsJobAndTheJobWindowEndsARun) {
    orvel.PanelJobName = "Тригер";
    PostPrivateMessage(&orvel, PostPanelStartJob);
    Serve();
    EXPECT_EQ(orvel.WorkMode, 2);

    // A scan holds for the job (its pause action); the hold outlasts the job: only ПАУЗА or a
    // stop lets it go.
    CodeSink bank;
    orvel.subWindows.freq = &bank;
    RunJob(MakeLines({{"Кнопка Внести", 1, 11}, kGroupPage}));
    orvel.Running = 1;
    orvel.Paused = 1;
    orvel.scan.ManualPause = true;
    PostPrivateMessage(&orvel, PostJobNotice);
    Serve();
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_EQ(orvel.LoadedRun, 0);
    EXPECT_TRUE(orvel.scan.ManualPause);
    // The bank window's late answer belongs to a run that is over.
    PostPrivateMessage(&orvel, PostJobStep);
    Serve();
    EXPECT_EQ(orvel.RunLines[1].Time, "");
    EXPECT_EQ(orvel.WorkMode, 2);
    orvel.subWindows.freq = nullptr;
}

// ---- saving the editor's lines as a job

class JobSavingOverGaps : public JobRun {
    void Prepare() override {
        WriteJob("0001", "Обход", MakeLines({kBankPage, {"Поле Частота-выбор", 10, 11, 1455000}}));
        WriteJob("0003", "Вечер", MakeLines({kGroupPage}));
    }

  protected:
    void SaveEditor(std::initializer_list<Line> lines) {
        const std::vector<JobStr> made = MakeLines(lines);
        std::copy(made.begin(), made.end(), orvel.EditLines.begin());
        orvel.EditLineCount = int32_t(made.size());
        boxes.shown.clear();
        orvel.store.SaveJobItem();
    }
};

TEST_F(JobSavingOverGaps, SameLinesAreNotSavedAgainAndAChangedValueIsUpdatedWhenConfirmed) {
    const std::string stored = Read("JOB/0001/job.cfg");
    SaveEditor({kBankPage, {"Поле Частота-выбор", 10, 11, 1455000}});
    EXPECT_EQ(Messages(), Texts{"Задание с данными параметрами уже существует!"});
    EXPECT_EQ(Read("JOB/0001/job.cfg"), stored);

    SaveEditor({kBankPage, {"Поле Частота-выбор", 10, 11, 1460000}});
    EXPECT_EQ(Messages(), (Texts{"Задание с таким содержимым существует! Обновить?",
                                 "Задание существует и обновлено!"}));
    EXPECT_NE(Cp1251ToUtf8(Read("JOB/0001/job.cfg")).find("VAL=1460000\r\n"), std::string::npos);
    EXPECT_EQ(orvel.journal.Selected(), Child(orvel.store.JobFolder, "Обход"));

    SaveEditor({kRangesPage});
    EXPECT_TRUE(Exists("JOB/0002/job.cfg"));
    EXPECT_EQ(orvel.journal.Selected(), Child(orvel.store.JobFolder, "Задание N 2"));
}

}  // namespace
