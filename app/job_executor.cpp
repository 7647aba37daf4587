// The job executor: a job runs one line per step, as a chain of PostJobStep codes. A step
// executes a line of the main window (its buttons and fields) or of the journal (selecting a
// stored item) itself and posts PostJobStep to the main window; a line of another window or of
// the receiver panel goes to that window with PostJobStep, and the window answers with
// PostJobStep once it has written the return code and the message into the line. A line that
// fails only makes a following line marked COND be skipped; the job always goes on.
//
// A line addressed to something that cannot answer (the group window, a window or receiver
// panel that is not there, a panel code the program does not know) fails at once with "Нет
// доступа к объекту": a job never waits for an answer that cannot come.

#include <algorithm>
#include <ctime>
#include <string_view>
#include <variant>

#include "app/format_text.h"
#include "app/orvel.h"
#include "state/message_bus.h"

namespace {

// Panel codes of job lines.
constexpr uint32_t kPanelReceiver = 0;
constexpr uint32_t kPanelBank = 1;
constexpr uint32_t kPanelRanges = 2;
constexpr uint32_t kPanelGroup = 3;
constexpr uint32_t kPanelJob = 4;
constexpr uint32_t kPanelText = 5;
constexpr uint32_t kPanelSignal = 6;
constexpr uint32_t kPanelParameters = 7;
constexpr uint32_t kPanelJournal = 9;
constexpr uint32_t kPanelMain = 10;

constexpr const char* kNoAccess = "Нет доступа к объекту";
constexpr std::string_view kNameSeparator = ">>";

// The status-bar pane that shows the line an editor run is at.
constexpr int kModePane = 0;

// clang-format off
// Journal lines: which stored item a line selects by its name. Measurements and etalons are
// named "<bank or range>>><set or etalon>" and are looked for under the first parent of that name.
struct JournalSelection {
    uint32_t object;
    JournalItem* ItemStore::*folder;
    JournalKind kind;   // of the item named, or of its parent when `child` is not Row
    JournalKind child;  // Row: the item lies directly under the folder
    const char* missing;
};
constexpr JournalSelection kJournalSelections[] = {
    {3,  &ItemStore::RangeFolder,     JournalKind::Range,     JournalKind::Row,            "Не найден указанный диапазон"},
    {4,  &ItemStore::GroupFolder,     JournalKind::Group,     JournalKind::Row,            "Не найдена указанная группа"},
    {6,  &ItemStore::BankFolder,      JournalKind::Bank,      JournalKind::Row,            "Не найден указанный банк"},
    {7,  &ItemStore::BankFolder,      JournalKind::Bank,      JournalKind::MeasurementSet, "Не найден указанные измерения"},
    {8,  &ItemStore::RangeFolder,     JournalKind::Range,     JournalKind::Etalon,         "Не найден указанный эталон"},
    {11, &ItemStore::JobFolder,       JournalKind::Job,       JournalKind::Row,            "Не найдено указанное задание"},
    {13, &ItemStore::PhonogramFolder, JournalKind::Phonogram, JournalKind::Row,            "Не найдена указанная фонограмма"},
};

// Main-window objects of job lines.
enum MainObject : uint32_t {
    MainLastPanel = 7,  // 0..7 select the tab page of that number
    MainSetFrequency = 11,
    MainSetStep = 12,
    MainLoad = 13,
    MainSave = 14,
    MainDeleteFromJournal = 15,
    MainDeleteFromSection = 16,
    MainStart = 17,
    MainPause = 18,
    MainStop = 25,
    MainResume = 26,
    MainSystemTime = 27,
    MainPrint = 28,
    MainFrequencyUp = 29,
    MainFrequencyDown = 30,
    MainDetailedStudy = 31,
};

// The modulation buttons: objects 19..24 and 40.
struct ModulationObject {
    uint32_t object;
    char letter;
};
constexpr ModulationObject kModulationObjects[] = {
    {19, 'F'}, {20, 'W'}, {21, 'A'}, {22, 'L'}, {23, 'U'}, {24, 'C'}, {40, 'R'},
};
// clang-format on

void Fail(JobStr& line, const char* message) {
    line.Message = message;
    line.ReturnCode = 1;
}

// The identifier of the stored item an item of the journal holds; null for rows and headings.
const std::string* IdentifierOf(const JournalItem& item) {
    return std::visit(
        [](const auto& record) -> const std::string* {
            if constexpr (requires { record->Identifier; })
                return record ? &record->Identifier : nullptr;
            else
                return nullptr;
        },
        item.Record);
}

// The first child of `parent` of `kind` whose identifier is `name`, letter case included.
JournalItem* ChildNamed(const JournalItem* parent, JournalKind kind, std::string_view name) {
    if (parent == nullptr) return nullptr;
    for (const auto& child : parent->Children()) {
        const std::string* identifier = IdentifierOf(*child);
        if (child->Is(kind) && identifier != nullptr && *identifier == name) return child.get();
    }
    return nullptr;
}

}  // namespace

void ORVEL::ConnectJobExecutor() {
    jobExecutor.loadForRun = [this](const std::string& name) { return LoadJobForRun(name); };
    jobExecutor.start = [this] { StartJob(); };
    // StartJobMode calls this to run the first line of the editor's run it has just begun.
    jobExecutor.executeLine = [this] {
        BeginJobRun();
        ExecuteCommand();
    };
}

void ORVEL::BeginJobRun() {
    ++jobRun_;
    jobLineRan_ = false;
    jobAnswerDue_ = false;
}

void ORVEL::StartJob() {
    if (JobLineCount <= 0) return;
    LoadedRun = 1;
    JobLineIndex = 0;
    JobRunning = 1;
    BeginJobRun();
    ExecuteCommand();
}

void ORVEL::FinishJobRun() {
    // Whatever of this run is still on its way is over with it.
    ++jobRun_;
    jobAnswerDue_ = false;
    if (LoadedRun)
        EndLoadedJob();
    else
        EndJobMode();
}

// A scan held for the job (its pause action, or the ПАУЗА line) goes on by its own rules again.
void ORVEL::EndLoadedJob() {
    JobRunning = 0;
    if (Running && Paused) ManualPause = false;
    // A scan the run started and that ended under it left "СТОП" and the locked controls to
    // the run; with the run they are the operator's again.
    if (!Running && start != nullptr && start->Text() == "СТОП") ShowStartLabel();
    LoadedRun = 0;
}

bool ORVEL::LoadJobForRun(const std::string& name) {
    // The lines of a running job stay as they are: a click on the macro must not cut it short.
    if (JobRunning) return false;
    JobLineCount = 0;
    if (name.empty() || !journal.Contains(store.JobFolder)) return false;
    // Jobs are named by their folder; the macro, the trigger and the scans name them by their
    // identifier, which is looked for when no folder has the name.
    const UserJob* found = nullptr;
    for (std::string UserJob::*key : {&UserJob::FolderName, &UserJob::Identifier}) {
        for (const auto& child : store.JobFolder->Children()) {
            const UserJob* job = child->As<UserJob>();
            if (child->Is(JournalKind::Job) && job != nullptr && job->*key == name) {
                found = job;
                break;
            }
        }
        if (found != nullptr) break;
    }
    if (found == nullptr) return false;
    const std::size_t count = std::min({found->Lines.size(), kMaxJobLines, RunLines.size()});
    std::copy_n(found->Lines.begin(), count, RunLines.begin());
    JobLineCount = int32_t(count);
    return true;
}

void ORVEL::ExecuteCommand() {
    if (!JobRunning) return;
    std::vector<JobStr>& lines = LoadedRun ? RunLines : EditLines;
    const int32_t count =
        std::clamp(LoadedRun ? JobLineCount : EditLineCount, 0, int32_t(lines.size()));
    if (JobLineIndex < 0 || JobLineIndex >= count) {
        FinishJobRun();
        return;
    }
    // The line that ran before decides a COND; the first line of a run has none before it,
    // whatever the last line of an earlier run left.
    const bool previousFailed = jobLineRan_ && JobLine != nullptr && JobLine->ReturnCode != 0;
    JobLine = &lines[std::size_t(JobLineIndex)];
    if (JobLine->COND && previousFailed) {
        // One line is skipped at most: the next one runs whatever its own COND.
        if (++JobLineIndex >= count) {
            FinishJobRun();
            return;
        }
        JobLine = &lines[std::size_t(JobLineIndex)];
    }
    jobLineRan_ = true;
    JobStr& line = *JobLine;

    std::tm now = NowLocal;
    if (Now == 0) {  // the timer has not ticked yet
        const std::time_t t = CalendarNow();
        localtime_r(&t, &now);
    }
    line.Time = FormatText("%02u:%02u:%02u", unsigned(now.tm_hour), unsigned(now.tm_min),
                           unsigned(now.tm_sec));
    line.ReturnCode = 0;
    if (!LoadedRun && statusBar != nullptr)
        statusBar->SetPartText(kModePane,
                               FormatText("%u - %s", unsigned(JobLineIndex + 1), line.DCL.c_str()));
    ++JobLineIndex;

    const uint64_t run = jobRun_;
    switch (line.TAB) {
        case kPanelReceiver:
        case kPanelBank:
        case kPanelRanges:
        case kPanelGroup:
        case kPanelJob:
        case kPanelText:
        case kPanelSignal: {
            ui::Form* target = JobTarget(line.TAB);
            if (target != nullptr && PostPrivateMessage(target, PostJobStep)) {
                jobAnswerDue_ = true;
                return;
            }
            Fail(line, kNoAccess);
            break;
        }
        case kPanelParameters:
            break;
        case kPanelJournal:
            SelectJournalLine(line);
            break;
        case kPanelMain:
            ExecuteMainObject(line);
            break;
        default:
            Fail(line, kNoAccess);
            break;
    }
    AnswerJobLine(run);
}

// Who executes the lines of a panel code; null for one that cannot answer: the group window
// executes no lines, and a window or receiver panel that is not there answers nothing.
ui::Form* ORVEL::JobTarget(uint32_t panel) {
    switch (panel) {
        case kPanelReceiver:
            return Panel();
        case kPanelBank:
            return subWindows.freq;
        case kPanelRanges:
            return subWindows.diap;
        case kPanelJob:
            return subWindows.job;
        case kPanelText:
            return subWindows.info;
        case kPanelSignal:
            return subWindows.signal;
        case kPanelGroup:
        default:
            return nullptr;
    }
}

// The main window answers its own lines like any window, unless the line began another run or
// ended this one: then the chain of this run ends here.
void ORVEL::AnswerJobLine(uint64_t run) {
    if (run != jobRun_ || !JobRunning) return;
    if (PostPrivateMessage(this, PostJobStep)) jobAnswerDue_ = true;
}

void ORVEL::OnJobStep() {
    // An answer nothing of the running job waits for belongs to a run that is over.
    if (!jobAnswerDue_) return;
    jobAnswerDue_ = false;
    ExecuteCommand();
}

void ORVEL::SelectJournalLine(JobStr& line) {
    const auto selection =
        std::find_if(std::begin(kJournalSelections), std::end(kJournalSelections),
                     [&](const JournalSelection& s) { return s.object == line.OBJ; });
    if (selection == std::end(kJournalSelections)) return;
    const JournalItem* folder = store.*(selection->folder);
    JournalItem* found = nullptr;
    if (line.STRING && journal.Contains(folder)) {
        if (selection->child == JournalKind::Row) {
            found = ChildNamed(folder, selection->kind, line.STR);
        } else if (const std::size_t split = line.STR.find(kNameSeparator);
                   split != std::string::npos) {
            const std::string_view names(line.STR);
            const JournalItem* parent = ChildNamed(folder, selection->kind, names.substr(0, split));
            found =
                ChildNamed(parent, selection->child, names.substr(split + kNameSeparator.size()));
        }
    }
    if (found == nullptr) {
        Fail(line, selection->missing);
        return;
    }
    journal.Select(found);  // as if the operator had clicked it
}

void ORVEL::ExecuteMainObject(JobStr& line) {
    const uint32_t object = line.OBJ;
    if (object <= MainLastPanel) {
        if (WorkMode != int32_t(object)) {
            if (tabctrl_1 != nullptr) tabctrl_1->SetSelectedIndex(int(object));
            SelectWorkMode(int32_t(object));
        }
        return;
    }
    for (const ModulationObject& modulation : kModulationObjects) {
        if (modulation.object == object) {
            SetModulation(modulation.letter);
            ShowModulation();
            return;
        }
    }
    switch (object) {
        case MainSetFrequency:
            if (line.VAL >= FreqLow && line.VAL <= FreqHigh) {
                TuneFrequency = Frequency = line.VAL;
                ShowFrequency();
                TuneAndMeasure();
            } else {
                ShowError(50);
            }
            break;
        case MainSetStep:
            // A step the receiver cannot take changes nothing, and the line does not fail.
            if (line.VAL >= StepLow && line.VAL <= StepHigh) {
                Step = line.VAL;
                ShowStep();
                ApplyStep();
            }
            break;
        case MainLoad:
            store.LoadItem();
            break;
        case MainSave:
            store.SaveItem();
            break;
        case MainDeleteFromJournal:
            Fail(line, "Из заданий запрещено удалять элементы журнала");
            break;
        case MainDeleteFromSection:
            if (WorkMode == 4)
                Fail(line, "Запрещено удалять работающее задание");
            else
                store.ClearPanel();
            break;
        case MainStart:
            if (Running)
                Fail(line, "Режим сканирования уже запущен.");
            else
                StartStopScan();
            break;
        case MainPause:
            if (Paused)
                Fail(line, "Программа уже находится в режиме ПАУЗА.");
            else
                Pause();
            break;
        case MainStop:
            if (Running)
                StartStopScan();
            else
                Fail(line, "Режим сканирования не запущен.");
            break;
        case MainResume:
            if (Paused)
                Pause();  // which leaves the pause
            else
                Fail(line, "Программа не находится в режиме ПАУЗА.");
            break;
        case MainFrequencyUp:
            FrequencyPlus();  // shows, tunes and measures, as the button does
            break;
        case MainFrequencyDown:
            FrequencyMinus();
            break;
        case MainDetailedStudy:
            // As the study button: the study window itself is still to come.
            if (CalibrOpen) ShowError(48);
            break;
        case MainSystemTime:
        case MainPrint:  // the report comes with the print form
        default:
            break;
    }
}

void ORVEL::RunMacro() {
    if (!TriggerNext) {
        if (LoadJobForRun(MacroJobName)) {
            TriggerNext = 1;
            StartJob();
        } else if (LoadJobForRun(TriggerJobName)) {
            TriggerNext = 0;
            StartJob();
        }
    } else if (LoadJobForRun(TriggerJobName) || LoadJobForRun(MacroJobName)) {
        TriggerNext = 0;
        StartJob();
    }
}

void ORVEL::OnJobNotice() {
    if (JobRunning) FinishJobRun();
}

void ORVEL::StartPanelJob() {
    if (LoadJobForRun(PanelJobName)) StartJob();
}
