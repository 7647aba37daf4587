#pragma once
// The job window `job` (tab page "Задание"): the editor of the job held in the program state
// (FDX::EditLines) and the executor of the job's own commands, the lines of panel 4.
//
// Editing: a line comes from the catalog entry or journal item the operator loaded
// (PostReloadView), from the list of internal commands, or from the remembered line; lines are
// deleted, their condition, value, file and the two variable boxes set.
//
// Running: the job executor of the main window posts PostJobStep for a line of panel 4; the
// window executes it (internal commands 0..11) and answers with PostJobStep, at once or when
// the delay or the wait the line began is over. Delays count the one-second ticks
// (PostTimerTick); the waits end on the scan codes PostJobModeStopped, PostModeButton,
// PostPauseButton and PostTimeCondition. A failed command leaves its message and return code
// in the line; the job goes on.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editors/job_form.h"
#include "state/fdx.h"
#include "state/job_str.h"
#include "ui/controls.h"
#include "ui/sound.h"
#include "windows/page_window.h"

// The internal commands of panel 4, by OBJ.
enum InternalCommand : uint32_t {
    JobComment = 0,
    JobDelay = 1,
    JobWaitStop = 2,
    JobWaitPause = 3,
    JobGoToLine = 4,
    JobRunProgram = 5,
    JobPlayMelody = 6,
    JobMessage = 7,
    JobQuestion = 8,
    JobEnd = 9,
    JobWaitPauseEnd = 10,
    JobWaitSignal = 11,
};
inline constexpr uint32_t kJobCommandCount = 12;
// The panel code of the job window's own lines.
inline constexpr uint32_t kJobPanel = 4;

// The line the drop-down inserts for internal command `object`.
JobStr JobCommandTemplate(uint32_t object);
// What the "Значение" column and the value field show of a line.
std::string JobValueText(const FDX& fdx, const JobStr& line);

// Built from "ID_job" by PageWindow::Create, without a shared picture.
class job : public PageWindow {
  public:
    job();
    ~job() override;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(JOB_CONTROLS)

    // The posted codes the window serves; others are ignored.
    void OnUserEvent(uint32_t code);
    // Executes FDX::JobLine, a line of panel 4, and answers it with PostJobStep now or when its
    // delay or wait is over.
    void ExecuteInternalCommand();

    // Editing, as the controls do it.
    void InsertCatalogEntry();                  // PostReloadView: FDX::SelectedCatalogEntry
    void InsertCommand(uint32_t object);        // cb_4 with that drop-down item
    void RememberLine();                        // cb_1
    void PasteLine();                           // Paste
    void DeleteLine();                          // cb_2
    void SelectLine(int32_t index);             // a click on a row
    void SetCondition(bool on);                 // Cond
    void SetVariableFlags(bool get, bool put);  // cb_5, cb_6
    void EnterValue(const std::string& text);   // Value
    void ChooseFile();                          // cb_3

    // What runs or waits now.
    int32_t DelayTicks() const { return delay_; }
    bool Waiting() const { return waitStop_ || waitPause_ || waitPauseEnd_ || waitSignal_; }

  private:
    void OnCreate();
    void WireControls();
    void InsertLine(const JobStr& line);
    void ShowRows(int32_t from);
    void ShowLine();
    void ShowResults();
    void ClearList();
    void SetEditing(bool enabled);
    void ClearWaits();
    void Answer();  // PostJobStep to the main window: the line is done
    void RunOutsideReplyWaits(uint64_t step, JobStr& line, void (job::*command)(JobStr&));
    void RunProgram(JobStr& line);
    void AskOperator(JobStr& line);  // "Сообщение оператору", "Вопрос оператору"
    void PlayMelody(JobStr& line);
    JobStr* Selected();
    int32_t LineCount() const;

    JobStr saved_;  // the line "Запомнить выделенную команду" kept
    bool hasSaved_ = false;
    JobStr insertBuffer_;                        // the line being inserted
    std::unique_ptr<ui::SoundPlayer> mediapl_1;  // plays command 6's melody
    int32_t delay_ = 0;                          // one-second ticks left of a delay or a jump
    bool waitStop_ = false;
    bool waitPause_ = false;
    bool waitPauseEnd_ = false;
    bool waitSignal_ = false;
    // Counts the lines this window was handed: a line that waited on a program, a message box
    // or a sound file answers only when no other line came meanwhile.
    uint64_t steps_ = 0;
};
