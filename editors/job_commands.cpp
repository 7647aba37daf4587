// The job window's posted codes and the job's own commands (panel 4): delays, waits for the
// scan's stop or pause or for a signal, jumps, running a program, playing a melody, messages
// and questions, and the end of the job.

#include <filesystem>

#include "editors/job.h"
#include "state/message_bus.h"
#include "ui/message_box.h"
#include "ui/post.h"
#include "ui/process.h"
#include "ui/reply_event.h"

namespace {

constexpr const char* kModeStopped = "Режим остановлен";
constexpr const char* kBadLine = "Строка задания указана неверно";
constexpr const char* kProgramDone = "Программа выполнена";
constexpr const char* kProgramFailed = "Программа не может быть выполнена";
constexpr const char* kAnsweredNo = "Ответ на вопрос - НЕТ";
constexpr const char* kNoSoundOutput = "Нет устройства вывода звука";
// The return code of a line whose program could not be started.
constexpr int32_t kProgramFailedCode = 99;

void Fail(JobStr& line, const char* message, int32_t code = 1) {
    line.Message = message;
    line.ReturnCode = code;
}

}  // namespace

void job::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || !HasWindow()) return;
    FDX& s = *fdx_;
    switch (code) {
        case PostReloadView:
            InsertCatalogEntry();
            break;
        case PostItemLoaded:
            ClearList();
            jobName->SetText(s.EditJobName);
            ShowRows(0);
            ShowLine();
            break;
        case PostRefreshDisplay:
            jobName->SetText(s.EditJobName);  // saved or renamed meanwhile
            ShowResults();
            break;
        case PostTimerTick:
            // One-second ticks: a delay runs down, a jump goes on at the next tick.
            if (!s.JobRunning)
                delay_ = 0;
            else if (delay_ > 0 && --delay_ == 0)
                Answer();
            break;
        case PostLockControls:
            SetEditing(false);
            delay_ = 0;
            ClearWaits();
            if (s.JobRunning) Rc_msg->SetText("");
            break;
        case PostUnlockControls:
            SetEditing(true);
            if (mediapl_1) {
                mediapl_1->Stop();
                mediapl_1->Close();
            }
            break;
        case PostJobStep:
            ExecuteInternalCommand();
            break;
        case PostClearData:
            ClearList();
            jobName->SetText("");
            ShowLine();
            break;
        case PostJobModeStopped:
            if (!s.JobRunning) {
                ClearWaits();
            } else if (waitStop_) {
                waitStop_ = false;
                Answer();
            } else if ((waitPause_ || waitPauseEnd_) && s.JobLine != nullptr) {
                ClearWaits();
                Fail(*s.JobLine, kModeStopped);
                Answer();
            }
            break;
        case PostModeButton:
            if (!s.JobRunning) {
                waitPause_ = false;
            } else if (s.Paused && waitPause_) {
                waitPause_ = false;
                Answer();
            }
            break;
        case PostPauseButton:
            // The main window posts this code when the operator releases the hold; the scan
            // step after it clears FDX::Paused, which may come after this code: the code
            // itself says the pause is over.
            if (!s.JobRunning) {
                waitPauseEnd_ = false;
            } else if (waitPauseEnd_) {
                waitPauseEnd_ = false;
                Answer();
            }
            break;
        case PostTimeCondition:
            if (!s.JobRunning) {
                waitSignal_ = false;
            } else if (waitSignal_) {
                waitSignal_ = false;
                Answer();
            }
            break;
        default:
            break;
    }
}

void job::ClearWaits() {
    waitStop_ = waitPause_ = waitPauseEnd_ = waitSignal_ = false;
}

void job::Answer() {
    Post(PostJobStep);
}

// A command either answers before it returns, or leaves a delay or a wait whose end answers.
// Each line starts with no delay and no wait left over from a line of an earlier run.
void job::ExecuteInternalCommand() {
    FDX& s = *fdx_;
    if (s.JobLine == nullptr) return;
    JobStr& line = *s.JobLine;
    const uint64_t step = ++steps_;
    delay_ = 0;
    ClearWaits();
    switch (line.OBJ) {
        case JobComment:
            break;
        case JobDelay:
            if (int32_t(line.VAL) > 0) {
                delay_ = int32_t(line.VAL);
                return;
            }
            break;
        case JobWaitStop:
            if (s.Running) {
                waitStop_ = true;
                return;
            }
            break;
        case JobWaitPause:
            if (!s.Running) {
                Fail(line, kModeStopped);
            } else if (!s.Paused) {
                waitPause_ = true;
                return;
            }
            break;
        case JobGoToLine: {
            const int32_t count = s.LoadedRun ? s.JobLineCount : s.EditLineCount;
            if (line.VAL >= 1 && count > 0 && line.VAL <= uint32_t(count)) {
                s.JobLineIndex = int32_t(line.VAL) - 1;
                delay_ = 1;  // the line runs at the next tick
                return;
            }
            Fail(line, kBadLine);
            break;
        }
        case JobRunProgram:
            RunOutsideReplyWaits(step, line, &job::RunProgram);
            return;
        case JobPlayMelody:
            RunOutsideReplyWaits(step, line, &job::PlayMelody);
            return;
        case JobMessage:
        case JobQuestion:
            if (!line.STRING) break;
            RunOutsideReplyWaits(step, line, &job::AskOperator);
            return;
        case JobEnd:
            Post(PostJobNotice);
            return;
        case JobWaitPauseEnd:
            if (!s.Running) {
                Fail(line, kModeStopped);
            } else if (s.Paused) {
                waitPauseEnd_ = true;
                return;
            }
            break;
        case JobWaitSignal:
            // The main window scans from here and tells of a level above the line's value.
            waitSignal_ = true;
            s.SignalFrequency = s.ScanFrequency = s.Frequency;
            Post(PostJobScanStep);
            return;
        default:
            Fail(line, kNoAccess);
            break;
    }
    Answer();
}

// A program's end, the operator's answer and a sound file's opening are waited for in a loop of
// their own: run inside a wait for a reply (a scan step's, which serves the job's codes), it
// would keep that wait, and the scan's exchange with the receiver, standing until the program
// ended or the box was answered. Such a line runs once the waits have ended; the job waits for
// it all the same, and when the run went on without it meanwhile, it is neither run nor
// answered.
void job::RunOutsideReplyWaits(uint64_t step, JobStr& line, void (job::*command)(JobStr&)) {
    ui::OutsideReplyWaits(this, [this, step, &line, command] {
        const auto awaited = [&] {
            return step == steps_ && fdx_->JobLine == &line && fdx_->JobRunning;
        };
        if (!awaited()) return;  // the run went on without this line meanwhile
        (this->*command)(line);
        if (awaited()) Answer();
    });
}

void job::AskOperator(JobStr& line) {
    ui::MessageBoxRequest box;
    box.owner = fdx_->Owner;
    box.text = line.STR;
    const bool question = line.OBJ == JobQuestion;
    box.caption = question ? "ВНИМАНИЕ!" : "ВНИМАНИЕ !";
    box.icon = question ? ui::MessageIcon::Exclamation : ui::MessageIcon::Stop;
    box.buttons = question ? ui::MessageButtons::YesNo : ui::MessageButtons::Ok;
    const ui::MessageAnswer answer = ui::ShowMessageBox(box);
    if (question && answer != ui::MessageAnswer::Yes) Fail(line, kAnsweredNo);
}

// The line is split like a command line and the program started without a shell, found in the
// program folder before the PATH; the job waits for it however long it runs.
void job::RunProgram(JobStr& line) {
    const std::vector<std::string> command =
        line.STRING ? ui::SplitCommandLine(line.STR) : std::vector<std::string>{};
    const ui::ProcessResult result =
        command.empty() ? ui::ProcessResult{} : ui::RunProcess(command, fdx_->ProgramDir);
    if (!result.started) {
        Fail(line, kProgramFailed, kProgramFailedCode);
        return;
    }
    line.ReturnCode = result.exitCode;
    line.Message = kProgramDone;
}

// A melody that cannot be opened only beeps: the job does not fail for want of a sound file.
// With nothing to sound on, the line fails, so that the job knows the operator heard nothing.
void job::PlayMelody(JobStr& line) {
    if (!line.STRING || line.STR.empty()) {
        Post(PostBeep);
        return;
    }
    const std::string path =
        std::filesystem::path(line.STR).is_absolute() ? line.STR : fdx_->ProgramDir + line.STR;
    if (!mediapl_1) mediapl_1 = ui::NewSoundPlayer();
    if (!mediapl_1 || !mediapl_1->Open(path)) {
        Post(PostBeep);
    } else if (!mediapl_1->Play(0)) {
        Fail(line, kNoSoundOutput);
        Post(PostBeep);
    }
}
