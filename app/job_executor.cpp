// The job executor: a job runs one line per step, as a chain of PostJobStep codes. A step
// executes a line of the main window (its buttons and fields) or of the journal (selecting a
// stored item) itself and posts PostJobStep to the main window; a line of another window or of
// the receiver panel goes to that window with PostJobStep, and the window answers with
// PostJobStep once it has written the return code and the message into the line. A line that
// fails only makes a following line marked COND be skipped; the job always goes on.
//
// A line addressed to something that cannot answer (a window or receiver panel that is not
// there, a panel code the program does not know) fails at once with "Нет доступа к объекту": a
// job never waits for an answer that cannot come.

#include "app/job_executor.h"

#include <algorithm>
#include <ctime>
#include <string_view>
#include <utility>
#include <variant>

#include "app/format_text.h"
#include "app/receiver_dispatch.h"
#include "state/message_bus.h"
#include "ui/post.h"

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

// clang-format off
// Journal lines: which stored item a line selects by its name. Measurements and etalons are
// named "<bank or range>>><set or etalon>" and are looked for under the first parent of that
// name; the folder searched is the heading of the `kind` of stored items.
struct JournalSelection {
    uint32_t object;
    JournalKind kind;   // of the item named, or of its parent when `child` is not Row
    JournalKind child;  // Row: the item lies directly under the folder
    const char* missing;
};
constexpr JournalSelection kJournalSelections[] = {
    {3,  JournalKind::Range,     JournalKind::Row,            "Не найден указанный диапазон"},
    {4,  JournalKind::Group,     JournalKind::Row,            "Не найдена указанная группа"},
    {6,  JournalKind::Bank,      JournalKind::Row,            "Не найден указанный банк"},
    {7,  JournalKind::Bank,      JournalKind::MeasurementSet, "Не найден указанные измерения"},
    {8,  JournalKind::Range,     JournalKind::Etalon,         "Не найден указанный эталон"},
    {11, JournalKind::Job,       JournalKind::Row,            "Не найдено указанное задание"},
    {13, JournalKind::Phonogram, JournalKind::Row,            "Не найдена указанная фонограмма"},
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

// "Ошибка обращения к приемнику(выключен)": a line whose request did not reach the receiver.
constexpr int kReceiverNotReached = 39;

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

JobExecutor::JobExecutor(FDX& fdx, ReceiverDispatch& receiver, ScanEngine& scan, JobHost& host,
                         ui::Form& window, const SubWindows& windows, Calendar lineClock)
    : fdx_(fdx),
      receiver_(receiver),
      scan_(scan),
      host_(host),
      window_(window),
      windows_(windows),
      lineClock_(lineClock ? std::move(lineClock) : [] { return std::time(nullptr); }) {}

void JobExecutor::StartEditorRun() {
    BeginJobRun();
    ExecuteCommand();
}

void JobExecutor::BeginJobRun() {
    ++jobRun_;
    jobLineRan_ = false;
    jobAnswerDue_ = false;
}

void JobExecutor::StartJob() {
    if (fdx_.JobLineCount <= 0) return;
    fdx_.LoadedRun = 1;
    fdx_.JobLineIndex = 0;
    fdx_.JobRunning = 1;
    BeginJobRun();
    ExecuteCommand();
}

void JobExecutor::FinishJobRun() {
    // Whatever of this run is still on its way is over with it.
    ++jobRun_;
    jobAnswerDue_ = false;
    if (fdx_.LoadedRun)
        EndLoadedJob();
    else
        scan_.EndJobMode();
}

// A hold that the scan's reaction made for its job, or that ПАУЗА made (the operator's, or the
// job's line), stays: only ПАУЗА or a stop release it, not the end of a job.
void JobExecutor::EndLoadedJob() {
    fdx_.JobRunning = 0;
    // The start-up job has loaded what ORVEL.CFG named, or found it gone: what it loaded is
    // saved from now on.
    fdx_.UnrestoredItems.clear();
    // A scan the run started and that ended under it left "СТОП" and the locked controls to
    // the run; with the run they are the operator's again.
    if (!fdx_.Running) host_.ReturnControlsAfterRun();
    scan_.ReturnWindowsLeftToJob();
    fdx_.LoadedRun = 0;
}

bool JobExecutor::LoadJobForRun(const std::string& name) {
    // The lines of a running job stay as they are: a click on the macro must not cut it short.
    if (fdx_.JobRunning) return false;
    fdx_.JobLineCount = 0;
    const JournalItem* jobs = host_.Folder(JournalKind::Job);
    if (name.empty() || jobs == nullptr) return false;
    // Jobs are named by their folder; the macro, the trigger and the scans name them by their
    // identifier, which is looked for when no folder has the name.
    const UserJob* found = nullptr;
    for (std::string UserJob::*key : {&UserJob::FolderName, &UserJob::Identifier}) {
        for (const auto& child : jobs->Children()) {
            const UserJob* job = child->As<UserJob>();
            if (child->Is(JournalKind::Job) && job != nullptr && job->*key == name) {
                found = job;
                break;
            }
        }
        if (found != nullptr) break;
    }
    if (found == nullptr) return false;
    const std::size_t count = std::min({found->Lines.size(), kMaxJobLines, fdx_.RunLines.size()});
    std::copy_n(found->Lines.begin(), count, fdx_.RunLines.begin());
    fdx_.JobLineCount = int32_t(count);
    return true;
}

void JobExecutor::ExecuteCommand() {
    if (!fdx_.JobRunning) return;
    // Lines begin only once the receiver panel's sync has ended: a line's request would cut
    // into the sync's exchanges, or reach a receiver not yet known.
    if (!receiver_.SyncEnded()) {
        heldForSync_ = true;
        return;
    }
    std::vector<JobStr>& lines = fdx_.LoadedRun ? fdx_.RunLines : fdx_.EditLines;
    const int32_t count = std::clamp(fdx_.LoadedRun ? fdx_.JobLineCount : fdx_.EditLineCount, 0,
                                     int32_t(lines.size()));
    if (fdx_.JobLineIndex < 0 || fdx_.JobLineIndex >= count) {
        FinishJobRun();
        return;
    }
    // The line that ran before decides a COND; the first line of a run has none before it,
    // whatever the last line of an earlier run left.
    const bool previousFailed =
        jobLineRan_ && fdx_.JobLine != nullptr && fdx_.JobLine->ReturnCode != 0;
    fdx_.JobLine = &lines[std::size_t(fdx_.JobLineIndex)];
    if (fdx_.JobLine->COND && previousFailed) {
        // One line is skipped at most: the next one runs whatever its own COND.
        if (++fdx_.JobLineIndex >= count) {
            FinishJobRun();
            return;
        }
        fdx_.JobLine = &lines[std::size_t(fdx_.JobLineIndex)];
    }
    jobLineRan_ = true;
    JobStr& line = *fdx_.JobLine;

    std::tm now{};
    const std::time_t t = lineClock_();
    localtime_r(&t, &now);
    line.Time = FormatText("%02u:%02u:%02u", unsigned(now.tm_hour), unsigned(now.tm_min),
                           unsigned(now.tm_sec));
    line.ReturnCode = 0;
    if (!fdx_.LoadedRun)
        host_.ShowJobLine(FormatText("%u - %s", unsigned(fdx_.JobLineIndex + 1), line.DCL.c_str()));
    ++fdx_.JobLineIndex;

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

// Who executes the lines of a panel code; null for one that cannot answer: a window or receiver
// panel that is not there answers nothing. The group window serves no objects and refuses
// every line, which the job goes past.
ui::Form* JobExecutor::JobTarget(uint32_t panel) {
    switch (panel) {
        case kPanelReceiver:
            return receiver_.Panel();
        case kPanelBank:
            return windows_.freq;
        case kPanelRanges:
            return windows_.diap;
        case kPanelJob:
            return windows_.job;
        case kPanelText:
            return windows_.info;
        case kPanelSignal:
            return windows_.signal;
        case kPanelGroup:
            return windows_.group;
        default:
            return nullptr;
    }
}

// The main window answers its own lines like any window, unless the line began another run or
// ended this one: then the chain of this run ends here.
void JobExecutor::AnswerJobLine(uint64_t run) {
    if (run != jobRun_ || !fdx_.JobRunning) return;
    if (PostPrivateMessage(&window_, PostJobStep)) jobAnswerDue_ = true;
}

bool JobExecutor::OnJobCode(uint32_t code) {
    switch (code) {
        case PostJobStep:
            OnJobStep();
            return true;
        case PostRunMacro:
            RunMacro();
            return true;
        case PostJobNotice:  // the job window ended the run
            if (fdx_.JobRunning) FinishJobRun();
            return true;
        case PostPanelStartJob:
            StartPanelJob();
            return true;
        default:
            return false;
    }
}

void JobExecutor::OnSyncEnded() {
    if (!std::exchange(heldForSync_, false)) return;
    ExecuteCommand();
}

void JobExecutor::OnJobStep() {
    // An answer nothing of the running job waits for belongs to a run that is over.
    if (!jobAnswerDue_) return;
    jobAnswerDue_ = false;
    ExecuteCommand();
}

void JobExecutor::SelectJournalLine(JobStr& line) {
    const auto selection =
        std::find_if(std::begin(kJournalSelections), std::end(kJournalSelections),
                     [&](const JournalSelection& s) { return s.object == line.OBJ; });
    if (selection == std::end(kJournalSelections)) return;
    const JournalItem* folder = host_.Folder(selection->kind);
    JournalItem* found = nullptr;
    if (line.STRING && folder != nullptr) {
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
    host_.SelectInJournal(found);
}

void JobExecutor::ExecuteMainObject(JobStr& line) {
    const uint32_t object = line.OBJ;
    if (object <= MainLastPanel) {
        if (fdx_.WorkMode != int32_t(object)) host_.SelectPage(int32_t(object));
        return;
    }
    for (const ModulationObject& modulation : kModulationObjects) {
        if (modulation.object == object) {
            const bool sent = ReachReceiver([&] {
                receiver_.SetModulation(modulation.letter);
                return true;
            });
            host_.ShowModulation();
            if (!sent) fdx_.ShowError(kReceiverNotReached);
            return;
        }
    }
    switch (object) {
        case MainSetFrequency:
            if (line.VAL >= fdx_.FreqLow && line.VAL <= fdx_.FreqHigh) {
                fdx_.TuneFrequency = fdx_.Frequency = line.VAL;
                host_.ShowFrequency();
                if (!ReachReceiver([&] { return scan_.TuneAndMeasure(); }))
                    fdx_.ShowError(kReceiverNotReached);
            } else {
                fdx_.ShowError(50);
            }
            break;
        case MainSetStep:
            // A step the receiver cannot take changes nothing, and the line does not fail.
            if (line.VAL >= fdx_.StepLow && line.VAL <= fdx_.StepHigh) {
                fdx_.Step = line.VAL;
                host_.ShowStep();
                const bool sent = ReachReceiver([&] {
                    receiver_.ApplyStep();
                    return true;
                });
                if (!sent) fdx_.ShowError(kReceiverNotReached);
            }
            break;
        case MainLoad:
            host_.LoadItem();
            break;
        case MainSave:
            host_.SaveItem();
            break;
        case MainDeleteFromJournal:
            Fail(line, "Из заданий запрещено удалять элементы журнала");
            break;
        case MainDeleteFromSection:
            if (fdx_.WorkMode == kJobMode)
                Fail(line, "Запрещено удалять работающее задание");
            else
                host_.ClearPanel();
            break;
        case MainStart:
            if (fdx_.Running)
                Fail(line, "Режим сканирования уже запущен.");
            else
                scan_.StartStopScan();
            break;
        case MainPause:
            if (fdx_.Paused)
                Fail(line, "Программа уже находится в режиме ПАУЗА.");
            else
                scan_.Pause();
            break;
        case MainStop:
            if (fdx_.Running)
                scan_.StartStopScan();
            else
                Fail(line, "Режим сканирования не запущен.");
            break;
        case MainResume:
            if (fdx_.Paused)
                scan_.Pause();  // which leaves the pause
            else
                Fail(line, "Программа не находится в режиме ПАУЗА.");
            break;
        case MainFrequencyUp:
            host_.FrequencyPlus();  // shows, tunes and measures, as the button does
            break;
        case MainFrequencyDown:
            host_.FrequencyMinus();
            break;
        case MainDetailedStudy:
            host_.OpenStudy();
            break;
        case MainPrint:
            host_.PrintReport();
            break;
        case MainSystemTime:
        default:
            break;
    }
}

// No refusal is not enough: a receiver that has gone silent (its port open) takes every
// request and answers none, so each exchange the request began must have been answered and
// accepted. One still outstanding is waited for; a model that sends nothing (a mode it does
// not have) began none.
bool JobExecutor::ReachReceiver(const std::function<bool()>& request) {
    ReceiverPanel* panel = receiver_.Panel();
    if (!panel) return request();
    const ReceiverPanel::RefusalWatch watch(*panel);
    const ReceiverPanel::ExchangeId before = panel->LastExchange();
    const bool answered = request();
    const ReceiverPanel::ExchangeId last = panel->LastExchange();
    if (last != before && !panel->WaitFor(last)) return false;
    for (ReceiverPanel::ExchangeId id = before + 1; id < last; ++id)
        if (!panel->Accepted(id)) return false;
    return answered && !watch.Refused();
}

void JobExecutor::RunMacro() {
    if (!fdx_.TriggerNext) {
        if (LoadJobForRun(fdx_.MacroJobName)) {
            fdx_.TriggerNext = 1;
            StartJob();
        } else if (LoadJobForRun(fdx_.TriggerJobName)) {
            fdx_.TriggerNext = 0;
            StartJob();
        }
    } else if (LoadJobForRun(fdx_.TriggerJobName) || LoadJobForRun(fdx_.MacroJobName)) {
        fdx_.TriggerNext = 0;
        StartJob();
    }
}

void JobExecutor::StartPanelJob() {
    if (LoadJobForRun(fdx_.PanelJobName)) StartJob();
}
