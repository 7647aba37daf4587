// The job's own commands (panel 4) as the job window executes them for the job executor: what
// each leaves in its line, which codes it posts to the main window, and when it answers.

#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QMediaDevices>
#include <QMediaFormat>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "editors/job.h"
#include "state/message_bus.h"
#include "tests/editors/editor_fixture.h"
#include "tests/support/program_folder.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"
#include "ui/sound.h"
#include "ui/wav_file.h"

namespace {

using Codes = std::vector<uint32_t>;
const Codes kAnswered{PostJobStep};
const Codes kNothing{};

JobStr Command(uint32_t object, uint32_t val = 0, const std::string& str = {}) {
    JobStr line = JobCommandTemplate(object);
    line.TAB = kJobPanel;
    line.OBJ = object;
    line.VAL = val;
    line.STR = str;
    line.STRING = !str.empty();
    return line;
}

class JobCommands : public ::testing::Test {
  protected:
    JobCommands() {
        PrepareState(fdx, main);
        fdx.ProgramDir = folder.Dir();
        fdx.JobRunning = 1;
        window.Create(&main, &fdx);
    }
    // The executor hands the line to the window; the codes the main window got since.
    Codes Run(const JobStr& command) {
        line = command;
        fdx.JobLine = &line;
        PostPrivateMessage(&window, PostJobStep);
        return main.Take();
    }
    Codes Send(uint32_t code) {
        PostPrivateMessage(&window, code);
        return main.Take();
    }
    static void WriteScript(const std::string& path, const std::string& body) {
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }

    ProgramFolder folder;  // also the working folder, where programs run
    CodeSink main;
    FDX fdx;
    job window;
    JobStr line;
};

TEST_F(JobCommands, CommandsThatAnswerAtOnce) {
    struct Case {
        const char* what;
        JobStr line;
        bool running, paused;
        int32_t rc;
        const char* message;
        Codes codes;
    };
    const Case cases[] = {
        {"comment", Command(JobComment, 0, "x"), false, false, 0, "", kAnswered},
        {"no delay", Command(JobDelay, 0), false, false, 0, "", kAnswered},
        {"negative delay", Command(JobDelay, uint32_t(-2)), false, false, 0, "", kAnswered},
        {"stop while stopped", Command(JobWaitStop), false, false, 0, "", kAnswered},
        {"pause while stopped", Command(JobWaitPause), false, false, 1, "Режим остановлен",
         kAnswered},
        {"pause while paused", Command(JobWaitPause), true, true, 0, "", kAnswered},
        {"pause end while stopped", Command(JobWaitPauseEnd), false, false, 1, "Режим остановлен",
         kAnswered},
        {"pause end while running", Command(JobWaitPauseEnd), true, false, 0, "", kAnswered},
        {"line 0", Command(JobGoToLine, 0), false, false, 1, "Строка задания указана неверно",
         kAnswered},
        {"line past the end", Command(JobGoToLine, 4), false, false, 1,
         "Строка задания указана неверно", kAnswered},
        {"message without text", Command(JobMessage), false, false, 0, "", kAnswered},
        {"unknown", Command(12), false, false, 1, "Нет доступа к обьекту", kAnswered},
        {"end of the job", Command(JobEnd), false, false, 0, "", Codes{PostJobNotice}},
    };
    fdx.EditLineCount = 3;
    for (const Case& c : cases) {
        fdx.Running = c.running;
        fdx.Paused = c.paused;
        EXPECT_EQ(Run(c.line), c.codes) << c.what;
        EXPECT_EQ(line.ReturnCode, c.rc) << c.what;
        EXPECT_EQ(line.Message, c.message) << c.what;
        EXPECT_FALSE(window.Waiting()) << c.what;
        EXPECT_EQ(Send(PostTimerTick), kNothing) << c.what;  // nothing left to run down
    }
}

TEST_F(JobCommands, AJumpMakesItsLineTheNextAtTheNextTick) {
    fdx.EditLineCount = 3;
    fdx.JobLineIndex = 1;
    EXPECT_EQ(Run(Command(JobGoToLine, 3)), kNothing);
    EXPECT_EQ(fdx.JobLineIndex, 2);
    EXPECT_EQ(Send(PostTimerTick), kAnswered);
    EXPECT_EQ(line.ReturnCode, 0);

    // A loaded run counts the run buffer's lines.
    fdx.LoadedRun = 1;
    fdx.JobLineCount = 5;
    EXPECT_EQ(Run(Command(JobGoToLine, 5)), kNothing);
    EXPECT_EQ(fdx.JobLineIndex, 4);
    EXPECT_EQ(Run(Command(JobGoToLine, 6)), kAnswered);
    EXPECT_EQ(line.ReturnCode, 1);
}

TEST_F(JobCommands, ADelayCountsOneSecondTicks) {
    EXPECT_EQ(Run(Command(JobDelay, 3)), kNothing);
    EXPECT_EQ(Send(PostTimerTick), kNothing);
    EXPECT_EQ(Send(PostTimerTick), kNothing);
    EXPECT_EQ(Send(PostTimerTick), kAnswered);
    EXPECT_EQ(Send(PostTimerTick), kNothing);

    // A job that ended meanwhile leaves no delay running.
    Run(Command(JobDelay, 2));
    fdx.JobRunning = 0;
    Send(PostTimerTick);
    fdx.JobRunning = 1;
    EXPECT_EQ(Send(PostTimerTick), kNothing);
    EXPECT_EQ(window.DelayTicks(), 0);
}

TEST_F(JobCommands, WaitsEndOnTheScanCodes) {
    struct Case {
        const char* what;
        JobStr line;
        bool paused;     // when the line runs; the scan runs
        uint32_t other;  // a code that does not end the wait
        uint32_t ending;
        bool pausedAtTheEnd;
        int32_t rc;
        const char* message;
    };
    const Case cases[] = {
        {"stop", Command(JobWaitStop), false, PostModeButton, PostJobModeStopped, false, 0, ""},
        {"pause", Command(JobWaitPause), false, PostPauseButton, PostModeButton, true, 0, ""},
        {"pause, the scan stops", Command(JobWaitPause), false, PostTimeCondition,
         PostJobModeStopped, false, 1, "Режим остановлен"},
        {"pause end, the scan stops", Command(JobWaitPauseEnd), true, PostModeButton,
         PostJobModeStopped, true, 1, "Режим остановлен"},
        // The hold is released; the scan's next step clears FDX::Paused only after the code.
        {"pause end", Command(JobWaitPauseEnd), true, PostTimeCondition, PostPauseButton, true, 0,
         ""},
        {"signal", Command(JobWaitSignal, 60), false, PostJobModeStopped, PostTimeCondition, false,
         0, ""},
    };
    for (const Case& c : cases) {
        fdx.Running = 1;
        fdx.Paused = c.paused;
        const Codes started = Run(c.line);
        EXPECT_TRUE(window.Waiting()) << c.what;
        EXPECT_EQ(Send(c.other), kNothing) << c.what;
        fdx.Paused = c.pausedAtTheEnd;
        EXPECT_EQ(Send(c.ending), kAnswered) << c.what;
        EXPECT_EQ(line.ReturnCode, c.rc) << c.what;
        EXPECT_EQ(line.Message, c.message) << c.what;
        EXPECT_FALSE(window.Waiting()) << c.what;
        EXPECT_EQ(Send(c.ending), kNothing) << c.what;  // answered once
        EXPECT_EQ(started, c.line.OBJ == JobWaitSignal ? Codes{PostJobScanStep} : kNothing);
    }
}

TEST_F(JobCommands, AWaitForAPauseNeedsThePauseAndALockEndsEveryWait) {
    fdx.Running = 1;
    Run(Command(JobWaitPause));
    EXPECT_EQ(Send(PostModeButton), kNothing);  // the РЕЖИМ button without a hold
    fdx.Paused = 1;
    EXPECT_EQ(Send(PostModeButton), kAnswered);

    Run(Command(JobWaitStop));
    Send(PostLockControls);
    EXPECT_EQ(Send(PostJobModeStopped), kNothing);
    Run(Command(JobDelay, 1));
    Send(PostLockControls);
    EXPECT_EQ(Send(PostTimerTick), kNothing);
}

TEST_F(JobCommands, AWaitForASignalScansFromTheCurrentFrequency) {
    fdx.Frequency = 1455000;
    fdx.ScanFrequency = 1000000;
    EXPECT_EQ(Run(Command(JobWaitSignal, 60)), Codes{PostJobScanStep});
    EXPECT_EQ(fdx.SignalFrequency, 1455000u);
    EXPECT_EQ(fdx.ScanFrequency, 1455000u);
    fdx.JobRunning = 0;  // the job ended meanwhile: the signal answers nothing
    EXPECT_EQ(Send(PostTimeCondition), kNothing);
}

TEST_F(JobCommands, AProgramRunsWithoutAShellAndGivesItsExitCode) {
    WriteScript(folder.File("probe"), "exit 7");
    struct Case {
        std::string text;
        int32_t rc;
        const char* message;
    };
    const Case cases[] = {
        {"sh -c \"exit 3\"", 3, "Программа выполнена"},
        {"sh -c 'exit 3'", 3, "Программа выполнена"},
        {"probe", 7, "Программа выполнена"},  // in the program folder
        {"orvel-no-such-program -x", 99, "Программа не может быть выполнена"},
        {"", 99, "Программа не может быть выполнена"},
        {R"(touch a>b c;d $(touch e) |f `touch g` 'h i;j' "Bob's")", 0, "Программа выполнена"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(Command(JobRunProgram, 0, c.text)), kAnswered) << c.text;
        EXPECT_EQ(line.ReturnCode, c.rc) << c.text;
        EXPECT_EQ(line.Message, c.message) << c.text;
    }
    // What a shell would have made of the last line, touch got as its file names; a quoted word
    // is one name, an apostrophe inside double quotes part of it.
    for (const char* made : {"a>b", "c;d", "$(touch", "e)", "|f", "`touch", "g`", "h i;j", "Bob's"})
        EXPECT_TRUE(std::filesystem::exists(folder.File(made))) << made;
    for (const char* never : {"b", "d", "e", "f", "g"})
        EXPECT_FALSE(std::filesystem::exists(folder.File(never))) << never;

    JobStr noText = Command(JobRunProgram, 0, "true");
    noText.STRING = 0;
    Run(noText);
    EXPECT_EQ(line.ReturnCode, 99);
}

TEST_F(JobCommands, AMelodyPlaysFromTheProgramFolderBeepsWithoutItsFileFailsWithoutOutput) {
    ui::ScriptedSound sound;
    sound.files[folder.Dir() + "bell.wav"] = 2000;
    sound.files["/sounds/horn.wav"] = 500;
    EXPECT_EQ(Run(Command(JobPlayMelody, 0, "missing.wav")), (Codes{PostBeep, PostJobStep}));
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_EQ(Run(Command(JobPlayMelody)), (Codes{PostBeep, PostJobStep}));
    EXPECT_EQ(Run(Command(JobPlayMelody, 0, "bell.wav")), kAnswered);
    EXPECT_EQ(Run(Command(JobPlayMelody, 0, "/sounds/horn.wav")), kAnswered);
    Send(PostUnlockControls);  // the job is over: so is its melody
    EXPECT_EQ(sound.log, (std::vector<std::string>{
                             "open " + folder.Dir() + "missing.wav",
                             "open " + folder.Dir() + "bell.wav", "play 0 2000", "stop", "close",
                             "open /sounds/horn.wav", "play 0 500", "stop", "close"}));

    // Nothing to sound on: the line fails with its message, and the job goes on.
    sound.canPlay = false;
    EXPECT_EQ(Run(Command(JobPlayMelody, 0, "bell.wav")), (Codes{PostBeep, PostJobStep}));
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Нет устройства вывода звука");
}

// The system's player on a machine with nothing to sound on: the melody opens but cannot
// play, so its line fails with its message and the job goes on.
TEST_F(JobCommands, AMelodyWithoutASoundOutputOnThisMachineFailsItsLine) {
    if (!QMediaDevices::audioOutputs().isEmpty()) GTEST_SKIP() << "this machine has a sound output";
    if (!QMediaFormat().supportedFileFormats(QMediaFormat::Decode).contains(QMediaFormat::Wave))
        GTEST_SKIP() << "no media backend reads WAV files here";
    const std::string bell = folder.File("bell.wav");
    ASSERT_TRUE(ui::WriteEmptyWav(bell, 8000));
    std::ofstream(bell, std::ios::binary | std::ios::app) << std::string(4000, '\xa0');
    ASSERT_TRUE(ui::WriteWavSizes(bell, *ui::ReadWavLayout(bell), 4000));
    EXPECT_EQ(Run(Command(JobPlayMelody, 0, "bell.wav")), (Codes{PostBeep, PostJobStep}));
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Нет устройства вывода звука");
}

TEST_F(JobCommands, MessagesAndQuestionsAskTheOperator) {
    ui::ScriptedMessageBoxes boxes;
    boxes.answers = {ui::MessageAnswer::Ok, ui::MessageAnswer::No, ui::MessageAnswer::Yes};
    EXPECT_EQ(Run(Command(JobMessage, 0, "Смените кассету")), kAnswered);
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_EQ(Run(Command(JobQuestion, 0, "Продолжить?")), kAnswered);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Ответ на вопрос - НЕТ");
    Run(Command(JobQuestion, 0, "Продолжить?"));
    EXPECT_EQ(line.ReturnCode, 0);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].caption, "ВНИМАНИЕ !");
    EXPECT_EQ(boxes.shown[0].icon, ui::MessageIcon::Stop);
    EXPECT_EQ(boxes.shown[0].buttons, ui::MessageButtons::Ok);
    EXPECT_EQ(boxes.shown[0].owner, &main);
    EXPECT_EQ(boxes.shown[1].caption, "ВНИМАНИЕ!");
    EXPECT_EQ(boxes.shown[1].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(boxes.shown[1].buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(boxes.shown[1].text, "Продолжить?");
}

// A line reaches the job window inside a wait for a reply (a scan step's, which serves the job's
// codes): its box, its program or its sound file, which the line waits for in a loop of its own,
// would keep that wait, and the scan's exchange, standing. Each runs once the wait has ended,
// and only then is the line answered.
TEST_F(JobCommands, ABoxAProgramOrAMelodyReachedInsideAWaitForAReplyRunsOnceItEnded) {
    ui::ScriptedMessageBoxes boxes;
    boxes.answers = {ui::MessageAnswer::Ok, ui::MessageAnswer::No};
    std::vector<bool> insideAWait;
    boxes.whileShown = [&](const ui::MessageBoxRequest&) {
        insideAWait.push_back(ui::ReplyEvent::Running() > 0);
    };
    WriteScript(folder.File("probe"), "touch ran; exit 4");
    struct Case {
        JobStr line;
        int32_t rc;
        const char* message;
        Codes codes;
    };
    const Case cases[] = {
        {Command(JobMessage, 0, "Смените кассету"), 0, "", kAnswered},
        {Command(JobQuestion, 0, "Продолжить?"), 1, "Ответ на вопрос - НЕТ", kAnswered},
        {Command(JobRunProgram, 0, "probe"), 4, "Программа выполнена", kAnswered},
        {Command(JobPlayMelody, 0, "нет.wav"), 0, "", Codes{PostBeep, PostJobStep}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.STR);
        line = c.line;
        fdx.JobLine = &line;
        const std::size_t asked = boxes.shown.size();
        const bool ranBefore = std::filesystem::exists(folder.File("ran"));
        PostPrivateMessage(&window, PostJobStep);
        ui::ReplyEvent reply;
        reply.Wait(20);  // serves the line's code, and ends with nothing set
        EXPECT_EQ(boxes.shown.size(), asked);
        EXPECT_TRUE(main.codes.empty());
        EXPECT_EQ(std::filesystem::exists(folder.File("ran")), ranBefore);
        EXPECT_EQ(main.Take(), c.codes);
        EXPECT_EQ(line.ReturnCode, c.rc);
        EXPECT_EQ(line.Message, c.message);
    }
    EXPECT_EQ(insideAWait, (std::vector<bool>{false, false}));
    EXPECT_TRUE(std::filesystem::exists(folder.File("ran")));
}

// A line held till the wait ends belongs to a run that ended meanwhile: nothing is asked or run.
TEST_F(JobCommands, AHeldLineOfARunThatEndedMeanwhileIsNeitherAskedNorRun) {
    ui::ScriptedMessageBoxes boxes;
    for (const JobStr& command :
         {Command(JobMessage, 0, "Смените кассету"), Command(JobRunProgram, 0, "touch ran")}) {
        line = command;
        fdx.JobLine = &line;
        PostPrivateMessage(&window, PostJobStep);
        ui::ReplyEvent reply;
        reply.Wait(20);
        fdx.JobRunning = 0;
        EXPECT_EQ(main.Take(), kNothing);
        fdx.JobRunning = 1;
    }
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.File("ran")));
}

// The operator ended the job while its question was up: nobody waits for the answer any more.
TEST_F(JobCommands, AnAnswerNoLongerAwaitedIsNotGiven) {
    struct EndingTheJob : ui::MessageBoxService {
        FDX* fdx = nullptr;
        ui::MessageAnswer Show(const ui::MessageBoxRequest&) override {
            fdx->JobRunning = 0;
            return ui::MessageAnswer::Yes;
        }
    } ending;
    ending.fdx = &fdx;
    ui::MessageBoxService* previous = ui::SetMessageBoxService(&ending);
    EXPECT_EQ(Run(Command(JobQuestion, 0, "Продолжить?")), kNothing);
    ui::SetMessageBoxService(previous);
}

}  // namespace
