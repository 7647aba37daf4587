#pragma once
// The main window's job executor: a job runs one line per step (ExecuteCommand). A step takes
// the line at FDX::JobLineIndex and executes it here (main-window objects, journal selections)
// or posts PostJobStep to the window or receiver panel the line names; whoever executed the
// line answers with PostJobStep to the main window, which hands it back through OnJobCode, and
// that runs the next step. A loaded run takes its lines from FDX::RunLines, an editor run (the
// job tab's ПУСК, ScanEngine::StartJobMode) from FDX::EditLines.

#include <cstdint>
#include <functional>
#include <string>

#include "app/journal.h"
#include "app/scan_engine.h"
#include "app/sub_windows.h"
#include "state/fdx.h"

class ReceiverDispatch;
namespace ui {
class Form;
}

// What the job executor asks of the main window and its journal. The window's objects have
// the base's do-nothing default, as for a window without them; the journal must answer.
class JobHost {
  public:
    virtual ~JobHost() = default;
    // The tab page of a work mode, as if the operator had picked it.
    virtual void SelectPage(int32_t page) { (void)page; }
    virtual void ShowFrequency() {}
    virtual void ShowStep() {}
    virtual void ShowModulation() {}
    // The buttons ЗАГРУЗИТЬ, СОХРАНИТЬ, УДАЛИТЬ from the section, plus and minus.
    virtual void LoadItem() {}
    virtual void SaveItem() {}
    virtual void ClearPanel() {}
    virtual void FrequencyPlus() {}
    virtual void FrequencyMinus() {}
    // The detailed study's button: the study opens, unless the calibration window is open.
    virtual void OpenStudy() {}
    // The print button: the report texts, then the print form (which prints at once in a job).
    virtual void PrintReport() {}
    // A loaded run ended with no scan running: the start button's "СТОП" and the controls a
    // scan of the run left locked under it are the operator's again.
    virtual void ReturnControlsAfterRun() {}
    // The line an editor run is at, in the status line.
    virtual void ShowJobLine(const std::string& text) { (void)text; }
    // The journal's heading of the stored items of `kind` (Range, Group, Bank, Job,
    // Phonogram); null while the journal does not hold it.
    virtual const JournalItem* Folder(JournalKind kind) = 0;
    // Selects a stored item as if the operator had clicked it.
    virtual void SelectInJournal(JournalItem* item) = 0;
};

class JobExecutor {
  public:
    // `window` is the main window: its own lines answer to it.
    JobExecutor(FDX& fdx, ReceiverDispatch& receiver, ScanEngine& scan, JobHost& host,
                ui::Form& window, const SubWindows& windows, Calendar lineClock);
    JobExecutor(const JobExecutor&) = delete;
    JobExecutor& operator=(const JobExecutor&) = delete;

    void ExecuteCommand();
    // Starts a loaded run of the FDX::JobLineCount lines of RunLines; nothing without lines.
    void StartJob();
    // Begins the run of the editor's lines ScanEngine::StartJobMode has just prepared.
    void StartEditorRun();
    // Copies the lines of the stored job `name` (its folder name, else its identifier) into
    // RunLines; false while a job runs or when there is no such job.
    bool LoadJobForRun(const std::string& name);
    void EndLoadedJob();
    // The job codes of the main window (PostJobStep, PostRunMacro, PostJobNotice,
    // PostPanelStartJob); false for any other code.
    bool OnJobCode(uint32_t code);
    // A sync of the receiver panel ended: the line that waited for it runs.
    void OnSyncEnded();

  private:
    void OnJobStep();      // PostJobStep: the line handed out is done
    void RunMacro();       // PostRunMacro: the macro job or the trigger job, by turns
    void StartPanelJob();  // PostPanelStartJob: the job a receiver panel named in PanelJobName
    void BeginJobRun();
    void FinishJobRun();
    void SelectJournalLine(JobStr& line);  // a line of the journal (panel 9)
    void ExecuteMainObject(JobStr& line);  // a line of the main window (panel 10)
    // Runs a line's request to the receiver; false when it could not go out, request() says
    // the receiver did not answer, or an exchange it began went unanswered or refused.
    bool ReachReceiver(const std::function<bool()>& request);
    ui::Form* JobTarget(uint32_t panel);
    void AnswerJobLine(uint64_t run);

    FDX& fdx_;
    ReceiverDispatch& receiver_;
    ScanEngine& scan_;
    JobHost& host_;
    ui::Form& window_;
    const SubWindows& windows_;
    Calendar lineClock_;
    // Every run has a number of its own: a step posts its answer only while its run goes on,
    // so a line that starts another run leaves one chain of steps, the new run's.
    uint64_t jobRun_ = 0;
    // A line of this run ran: its return code decides a COND.
    bool jobLineRan_ = false;
    // A line of this run is out: its PostJobStep is awaited.
    bool jobAnswerDue_ = false;
    // The next line waits for the receiver panel's sync to end.
    bool heldForSync_ = false;
};
