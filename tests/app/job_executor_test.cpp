// The job executor: loaded and editor runs line by line against the main window, the journal,
// the windows and the receiver panel; the job codes of the main window; saving the editor's
// lines as a job; and the values the frequency field keeps from one start to the next.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "state/history.h"
#include "state/message_bus.h"
#include "state/user_job.h"
#include "tests/app/journal_window.h"
#include "ui/post.h"

namespace {

using Texts = std::vector<std::string>;

constexpr const char* kNoAccess = "Нет доступа к объекту";

// The calendar clock of the main window in these tests: 7 March 2001, 09:05:30 local time.
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

// A job line as a job file holds it.
struct Line {
    std::string dcl;
    uint32_t tab;
    uint32_t obj;
    uint32_t val = 0;
    std::string str = {};  // set: the line names a stored item (STRING)
    bool cond = false;
};

JobStr MakeLine(const Line& l) {
    JobStr line;
    line.DCL = l.dcl;
    line.TAB = l.tab;
    line.OBJ = l.obj;
    line.VAL = l.val;
    line.REQ = l.val != 0;
    line.STR = l.str;
    line.STRING = !l.str.empty();
    line.COND = l.cond;
    return line;
}

std::vector<JobStr> MakeLines(std::initializer_list<Line> lines) {
    std::vector<JobStr> made;
    for (const Line& l : lines) made.push_back(MakeLine(l));
    return made;
}

const Line kBankPage{"Панель БАНК", 10, 1};
const Line kRangesPage{"Панель ДИАПАЗОНЫ", 10, 2};
const Line kGroupPage{"Панель ГРУППА", 10, 3};
const Line kJobPage{"Панель ЗАДАНИЕ", 10, 4};
const Line kStart{"Кнопка ПУСК", 10, 17};
const Line kDeleteFromJournal{"Кнопка УДАЛИТЬ из Журнала", 10, 15};

// The main window on a program folder the test fills first, with jobs run on it.
class JobRun : public JournalWindow {
  protected:
    void SetUp() override {
        orvel.CalendarClock = [] { return TestMoment(); };  // the lines' time stamps
        JournalWindow::SetUp();
        orvel.AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            ++arrivals[e.code];
            return false;
        });
    }
    void TearDown() override {
        orvel.Running = 0;
        JournalWindow::TearDown();
    }

    // A stored job as the program writes it.
    void WriteJob(const std::string& folderName, const std::string& identifier,
                  const std::vector<JobStr>& lines) {
        UserJob job;
        job.FolderName = folderName;
        job.Identifier = identifier;
        job.Lines = lines;
        std::filesystem::create_directories(folder.path() / "JOB");
        ASSERT_TRUE(SaveJobFile(folder.Dir(), job));
    }

    // Serves posted codes until the running job has ended, or for a while when it waits for a
    // window that does not answer by itself.
    void Serve() {
        for (int i = 0; i < 5000 && orvel.JobRunning; ++i) ui::ServePending();
        for (int i = 0; i < 10; ++i) ui::ServePending();
    }
    void RunLoaded(const std::vector<JobStr>& lines) {
        std::copy(lines.begin(), lines.end(), orvel.RunLines.begin());
        orvel.JobLineCount = int32_t(lines.size());
        orvel.StartJob();
        Serve();
    }
    // The job tab's ПУСК with these lines in the editor.
    void RunEditor(const std::vector<JobStr>& lines) {
        std::copy(lines.begin(), lines.end(), orvel.EditLines.begin());
        orvel.EditLineCount = int32_t(lines.size());
        orvel.SwitchToTab(4);
        orvel.StartStopScan();
        Serve();
    }

    std::map<uint32_t, int> arrivals;  // codes that reached the main window
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
    ASSERT_TRUE(orvel.LoadJobForRun("0001"));
    EXPECT_EQ(orvel.JobLineCount, 1000);
    EXPECT_EQ(orvel.RunLines[999].DCL, "Строка 1000");
    orvel.StartJob();
    Serve();
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_EQ(orvel.RunLines[999].Time, "09:05:30");  // every line ran, stamped with the time
    EXPECT_EQ(arrivals[PostJobStep], 1000);

    ASSERT_TRUE(orvel.LoadJobForRun("0002"));
    EXPECT_EQ(orvel.JobLineCount, 0);
    orvel.StartJob();
    EXPECT_EQ(orvel.JobRunning, 0);
    orvel.EditLineCount = 0;
    EXPECT_FALSE(orvel.StartJobMode());
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_FALSE(orvel.LoadJobForRun("0003"));
}

TEST_F(JobRun, AFailedLineSkipsOneFollowingCondLineOnly) {
    Line second = kBankPage, third = kRangesPage;
    second.cond = third.cond = true;
    RunLoaded(MakeLines({kDeleteFromJournal, second, third}));
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 1);
    EXPECT_EQ(orvel.RunLines[0].Message, "Из заданий запрещено удалять элементы журнала");
    EXPECT_EQ(orvel.RunLines[1].Time, "");  // skipped
    EXPECT_EQ(orvel.RunLines[2].Time, "09:05:30");
    EXPECT_EQ(orvel.WorkMode, 2);
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_EQ(orvel.LoadedRun, 0);
}

TEST_F(JobRun, TheFirstLineOfARunIsNeverSkipped) {
    // The last line of the run before failed; a run starting with COND does not look at it.
    RunLoaded(MakeLines({kBankPage, kDeleteFromJournal}));
    ASSERT_EQ(orvel.JobLine, &orvel.RunLines[1]);
    ASSERT_EQ(orvel.JobLine->ReturnCode, 1);
    Line first = kGroupPage;
    first.cond = true;
    RunLoaded(MakeLines({first}));
    EXPECT_EQ(orvel.WorkMode, 3);

    // Nothing ran at all before the start-up job.
    orvel.JobLine = nullptr;
    first = kBankPage;
    first.cond = true;
    RunLoaded(MakeLines({first}));
    EXPECT_EQ(orvel.WorkMode, 1);

    // An editor run neither.
    first = kRangesPage;
    first.cond = true;
    RunLoaded(MakeLines({kDeleteFromJournal}));
    RunEditor(MakeLines({first}));
    EXPECT_EQ(orvel.WorkMode, 2);
}

TEST_F(JobRun, MainWindowLinesAnswerThemselvesAlsoWhenRefused) {
    orvel.Running = 1;  // a scan runs
    const uint32_t tooHigh = orvel.FreqHigh + 1;
    RunLoaded(MakeLines({kStart,
                         {"Поле Частота-выбор", 10, 11, tooHigh},
                         {"Поле Частота-выбор", 10, 11, 1455000},
                         {"Поле Шаг-выбор", 10, 12, orvel.StepHigh + 1},
                         {"Поле Шаг-выбор", 10, 12, 125},
                         {"Кнопка СТОП", 10, 25},
                         {"Кнопка РЕЖИМ", 10, 26},
                         {"Кнопка AM-модуляция", 10, 21},
                         {"", 10, 99}}));
    const auto& lines = orvel.RunLines;
    EXPECT_EQ(lines[0].ReturnCode, 1);
    EXPECT_EQ(lines[0].Message, "Режим сканирования уже запущен.");
    EXPECT_EQ(lines[1].ReturnCode, 1);
    EXPECT_EQ(lines[1].Message, "Частоты выходят за пределы для данного приемника");
    EXPECT_EQ(lines[2].ReturnCode, 0);
    EXPECT_EQ(orvel.Frequency, 1455000u);
    EXPECT_EQ(orvel.ft->Text(), "145.5000");
    EXPECT_EQ(lines[3].ReturnCode, 0);  // out of the limits: nothing changes, no failure
    EXPECT_EQ(lines[4].ReturnCode, 0);
    EXPECT_EQ(orvel.Step, 125u);
    EXPECT_EQ(orvel.step->Text(), "12.5");
    EXPECT_EQ(orvel.Running, 0);  // СТОП stopped the scan
    EXPECT_EQ(lines[6].Message, "Программа не находится в режиме ПАУЗА.");
    EXPECT_EQ(orvel.Modulation, 'A');
    EXPECT_TRUE(orvel.am->IsChecked());
    EXPECT_EQ(lines[8].ReturnCode, 0);
    EXPECT_EQ(arrivals[PostJobStep], 9);  // one answer per line
    EXPECT_EQ(orvel.JobRunning, 0);

    RunLoaded(MakeLines({{"Кнопка СТОП", 10, 25}, {"Кнопка УДАЛИТЬ из Раздела", 10, 16}}));
    EXPECT_EQ(orvel.RunLines[0].Message, "Режим сканирования не запущен.");
    EXPECT_EQ(orvel.RunLines[1].ReturnCode, 0);  // the receiver tab is cleared
    orvel.SwitchToTab(4);
    RunLoaded(MakeLines({{"Кнопка УДАЛИТЬ из Раздела", 10, 16}}));
    EXPECT_EQ(orvel.RunLines[0].Message, "Запрещено удалять работающее задание");
    EXPECT_TRUE(boxes.shown.empty());
}

// ---- journal lines

class JournalLines : public JobRun {
    void Prepare() override {
        WriteRange("0001", "FM", 1000000, 1080000);
        Write("DP/0001/0001.etl", {"Идентификатор=Утро"});
        // A second range of the same name, higher up: only the first is looked into.
        WriteRange("0002", "FM", 1100000, 1200000);
        Write("DP/0002/0001.etl", {"Идентификатор=Вечер"});
        WriteJob("0001", "Обход", MakeLines({kBankPage}));
    }

  protected:
    JobStr RunOne(const Line& l) {
        RunLoaded(MakeLines({l}));
        return orvel.RunLines[0];
    }
};

TEST_F(JournalLines, SelectTheNamedItemOrFailWithTheirOwnMessage) {
    JournalItem* first = orvel.store.RangeFolder->Children()[0].get();
    ASSERT_EQ(first->As<UserDp>()->FolderName, "0001");

    EXPECT_EQ(RunOne({"FM>>Утро", 9, 8, 0, "FM>>Утро"}).ReturnCode, 0);
    EXPECT_EQ(orvel.journal.Selected(), Child(first, "Утро"));

    const JobStr evening = RunOne({"FM>>Вечер", 9, 8, 0, "FM>>Вечер"});
    EXPECT_EQ(evening.ReturnCode, 1);
    EXPECT_EQ(evening.Message, "Не найден указанный эталон");
    EXPECT_EQ(RunOne({"FM", 9, 8, 0, "FM"}).Message, "Не найден указанный эталон");

    EXPECT_EQ(RunOne({"FM", 9, 3, 0, "FM"}).ReturnCode, 0);
    EXPECT_EQ(orvel.journal.Selected(), first);
    EXPECT_EQ(RunOne({"fm", 9, 3, 0, "fm"}).Message, "Не найден указанный диапазон");
    JobStr unnamed = MakeLine({"FM", 9, 3});
    unnamed.STR = "FM";  // STRING clear: no name to look for
    RunLoaded({unnamed});
    EXPECT_EQ(orvel.RunLines[0].Message, "Не найден указанный диапазон");

    EXPECT_EQ(RunOne({"Обход", 9, 11, 0, "Обход"}).ReturnCode, 0);
    EXPECT_EQ(orvel.journal.Selected(), Child(orvel.store.JobFolder, "Обход"));
    EXPECT_EQ(RunOne({"Банк", 9, 6, 0, "Банк"}).Message, "Не найден указанный банк");
    EXPECT_EQ(RunOne({"Банк>>1", 9, 7, 0, "Банк>>1"}).Message, "Не найден указанные измерения");
    EXPECT_EQ(RunOne({"Группа", 9, 4, 0, "Группа"}).Message, "Не найдена указанная группа");
    EXPECT_EQ(RunOne({"Запись", 9, 13, 0, "Запись"}).Message, "Не найдена указанная фонограмма");
    EXPECT_EQ(RunOne({"?", 9, 5, 0, "?"}).ReturnCode, 0);  // nothing to select
    EXPECT_EQ(arrivals[PostJobStep], 12);
}

// ---- lines for other windows and the receiver panel

TEST_F(JobRun, ALineNobodyCanAnswerFailsAndTheJobGoesOn) {
    RunLoaded(MakeLines({{"Кнопка Внести", 1, 11},
                         {"Кнопка Атт 10 дБ", 0, 415},
                         {"?", 8, 1},
                         {"?", 11, 1},
                         {"Панель ПАРАМЕТРЫ", 7, 0},
                         kGroupPage}));
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(orvel.RunLines[i].ReturnCode, 1) << i;
        EXPECT_EQ(orvel.RunLines[i].Message, kNoAccess) << i;
    }
    EXPECT_EQ(orvel.RunLines[4].ReturnCode, 0);
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_EQ(orvel.JobRunning, 0);
}

TEST_F(JobRun, TheGroupWindowRefusesEveryLineAndTheJobGoesOn) {
    RunLoaded(MakeLines({{"Кнопка Внести", 3, 11}, kGroupPage}));
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 1);
    EXPECT_EQ(orvel.RunLines[0].Message, "Нет доступа к обьекту");
    EXPECT_EQ(orvel.WorkMode, 3);
    EXPECT_EQ(orvel.JobRunning, 0);
}

TEST_F(JobRun, TheStudyLineOpensTheStudyUnlessTheCalibrationIsOpen) {
    const Line study{"Кнопка детального исследования", 10, 31};
    orvel.CalibrOpen = 1;
    RunLoaded(MakeLines({study}));
    EXPECT_EQ(orvel.RunLines[0].ReturnCode, 1);
    EXPECT_EQ(orvel.RunLines[0].Message, "Нельзя производить анализ.Загружена панель калибровки");
    EXPECT_EQ(orvel.StudyOpen, 0);
    orvel.CalibrOpen = 0;
    // A second line leaves the study open: only the button closes it.
    RunLoaded(MakeLines({study, study}));
    EXPECT_EQ(orvel.RunLines[1].ReturnCode, 0);
    EXPECT_EQ(orvel.StudyOpen, 1);
    ASSERT_NE(orvel.auxWindows.View, nullptr);
    EXPECT_TRUE(orvel.auxWindows.View->IsVisible());
    orvel.pictbttn_13->Raise(ui::EventId::Click);
    EXPECT_EQ(orvel.StudyOpen, 0);
    EXPECT_EQ(orvel.auxWindows.View, nullptr);
}

TEST_F(JobRun, AWindowAnswersItsLineAndItsReturnCodeDecidesTheNextCond) {
    PostedCodes bank;
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
    RunLoaded(MakeLines({kJobPage, kStart, {"never", 10, 1}}));
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
    RunLoaded(MakeLines({kJobPage, kStart, kRangesPage}));
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
    PostedCodes bank;
    orvel.subWindows.freq = &bank;
    orvel.MacroJobName = "Макро";
    RunLoaded(MakeLines({{"Кнопка Внести", 1, 11}, kGroupPage}));
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

    // A scan holds for the job (its pause action); the job's end lets the hold go.
    PostedCodes bank;
    orvel.subWindows.freq = &bank;
    RunLoaded(MakeLines({{"Кнопка Внести", 1, 11}, kGroupPage}));
    orvel.Running = 1;
    orvel.Paused = 1;
    orvel.ManualPause = true;
    PostPrivateMessage(&orvel, PostJobNotice);
    Serve();
    EXPECT_EQ(orvel.JobRunning, 0);
    EXPECT_EQ(orvel.LoadedRun, 0);
    EXPECT_FALSE(orvel.ManualPause);
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

// ---- value histories

TEST_F(JobRun, AFrequencyDroppedOnTheJournalIsOfferedAgainAfterARestart) {
    orvel.Frequency = 1455000;
    orvel.store.DropOnJournal("MAIN_FREQ");
    orvel.Frequency = 4339200;
    orvel.store.DropOnJournal("MAIN_FREQ");
    orvel.Destroy();

    ORVEL restarted;
    ASSERT_TRUE(restarted.Create());
    ASSERT_NE(restarted.store.FrequencyFieldEntry, nullptr);
    EXPECT_EQ(Names(restarted.store.FrequencyFieldEntry), (Texts{"145.5000", "433.9200"}));
    restarted.FillFrequencyHistory();
    ASSERT_EQ(restarted.ft->Count(), 2);
    EXPECT_EQ(restarted.ft->StringAt(0), "145.5000");
    restarted.ChooseFrequency(1);
    EXPECT_EQ(restarted.Frequency, 4339200u);

    // Deleting an entry rewrites the file without it.
    restarted.journal.Select(restarted.store.FrequencyFieldEntry->FirstChild());
    restarted.store.DeleteItem();
    EXPECT_EQ(Read("010011.dat"), "4339200\r\n");
    restarted.Destroy();
}

}  // namespace
