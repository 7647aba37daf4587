// A logout or a system shutdown ends the program as a close of its main window does.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

// Before Qt's headers, whose "signals" keyword would take its field's name.
#include "emulators/pcr/pcr1000_emulator.h"

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "app/orvel.h"
#include "app/orvel_editors.h"
#include "state/message_bus.h"
#include "state/cp1251.h"
#include "state/user_job.h"
#include "tests/state/temp_dir.h"
#include "tests/support/program_folder.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/test_clock.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"
#include "ui/session_end.h"
#include "ui/sound.h"
#include "ui/timer.h"
#include "ui/wav_file.h"

namespace {

// The operator closes the main window with the window's close button: the window system's
// close reaches the toolkit's window, which decides what reaches the form.
void OperatorCloses() {
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    QApplication::instance()->notify(MainForm->widget()->windowHandle(), &close);
}

// An IC-R8500 without a port that keeps its state ("RECV_SAVE=ДА" in cp1251).
constexpr const char* kStation = "RECV=4\r\nRECV_SAVE=\xc4\xc0\r\n";

class SessionEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(0);
    }
    void TearDown() override {
        // The tests after these in the same program need the clock as it was.
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(idleSlice_);
    }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder.File(name), std::ios::binary) << bytes;
    }
    bool Exists(const std::string& name) const {
        return std::filesystem::exists(folder.File(name));
    }

    // Starts the program on the folder, watching for the signals as the application does.
    void Start() {
        application.Raise(ui::EventId::Start);
        ASSERT_NE(MainForm, nullptr);
        MainForm->Show();
        watch.emplace([this] { application.EndSession(); });
    }
    // The station's start on a folder whose ORVEL.CFG the close has yet to write.
    void StartWithoutCfg() {
        std::filesystem::remove(folder.File("ORVEL.CFG"));
        Write("ORVEL.INI", kStation);
        Start();
    }
    // Runs the program's message loop until it quits; its exit code.
    int Run() {
        ui::EventData run;
        run.id = ui::EventId::Run;
        application.Raise(run);
        return run.result;
    }
    void End() {
        watch.reset();
        application.Raise(ui::EventId::End);
    }

    // Starts the program with `set`, an IC-PCR1000 that answers at no speed, at COM1 on the
    // test's clock; the panel looks for it at each speed in turn. Five seconds into the search
    // (or at the tick `due` names) the program is sent SIGTERM (or `close` is done); the time,
    // and the bytes and the speed the set had by then, are kept.
    void StartAPcrSearchTerminatedAfterFiveSeconds(
        emulators::Pcr1000Emulator& set, std::function<bool(int64_t)> due = nullptr,
        std::function<void()> close = [] { ::raise(SIGTERM); }) {
        set.LinkAs(folder.path() / "COM1");
        test_clock::Use(set);
        set.Start();
        ui::Clock::SetPeer(test_clock::Peer(
            [&set] { return &set; }, [] { return MainForm ? &MainForm->comm : nullptr; }));
        Write("ORVEL.INI", "COM=1\r\nSPEED=6\r\nRECV=6\r\n");
        const int64_t started = ui::Clock::NowMs();
        Start();
        if (!due) due = [](int64_t elapsed) { return elapsed >= 5000; };
        MainForm->AddHandler(ui::EventId::User, [=, this](ui::Object&, ui::EventData& e) {
            if (e.code == PostTimerTick && terminated < 0 && due(ui::Clock::NowMs() - started)) {
                terminated = ui::Clock::NowMs();
                sentWhenAsked = MainForm->comm.BytesWrittenForTesting();
                speedWhenAsked = MainForm->comm.BaudRate;
                close();
            }
            return false;
        });
    }
    int64_t terminated = -1;  // when the search was terminated
    uint64_t sentWhenAsked = 0;
    uint32_t speedWhenAsked = 0;

    const int idleSlice_ = ui::Clock::IdleSliceMs();
    ProgramFolder folder;
    ui::ScriptedMessageBoxes boxes;  // none may reach the screen
    ApplicationClass application;
    std::optional<ui::SessionEndWatch> watch;
};

// The close questions are answered yes, so ORVEL.CFG and the receiver's state file are written
// at the close.
TEST_F(SessionEnd, TerminationSignalsCloseTheMainWindowAndSaveWhatACloseSaves) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        std::filesystem::remove(folder.File("ORVEL.CFG"));
        std::filesystem::remove(folder.File("IC8500.000"));
        Write("ORVEL.INI", kStation);
        Start();
        MainForm->BankChanged = 1;  // asks before the close

        ::raise(signal);
        EXPECT_FALSE(Exists("ORVEL.CFG"));  // not in the handler
        EXPECT_EQ(Run(), 0);
        EXPECT_TRUE(Exists("ORVEL.CFG"));
        EXPECT_TRUE(Exists("IC8500.000"));
        EXPECT_FALSE(MainForm->Alive);
        End();
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// A recording running at the signal: it ends with its file finished when the close does, the
// program ends, and no box waits for anyone, though the sound input serves the event loop while
// it stops.
TEST_F(SessionEnd, ATerminationWhileRecordingFinishesTheSoundFileAndEnds) {
    ui::ScriptedSound sound;
    sound.writesSound = true;
    sound.whileStopping = [] { QCoreApplication::sendPostedEvents(); };
    Write("ORVEL.INI", kStation);
    Start();
    PostPrivateMessage(&MainForm->editors->phonogramWindow, PostLockControls);
    ui::ServePending();
    ASSERT_EQ(MainForm->Recording, 1);
    sound.Advance(1500);

    ::raise(SIGTERM);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(MainForm->Recording, 0);
    const std::optional<ui::WavLayout> layout = ui::ReadWavLayout(folder.File("FONO/temp0.wav"));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->dataBytes, 12000u);  // 1.5 s at 8000 Hz
    EXPECT_EQ(layout->declaredBytes, 12000u);
    End();
    EXPECT_TRUE(boxes.shown.empty());
}

// Nobody is there to read a box: a close that cannot save says so on standard error and the
// program ends with an exit code that tells it; the old files stay as they were.
TEST_F(SessionEnd, ASaveThatFailsGoesToStandardErrorAndTheExitCodeTellsIt) {
    Write("ORVEL.INI", kStation);
    Write("ORVEL.CFG", "old");
    Start();
    const ReadOnlyFolder readOnly(folder.Dir());
    ::testing::internal::CaptureStderr();
    ::raise(SIGTERM);
    EXPECT_NE(Run(), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                  "ВНИМАНИЕ !: Ошибка записи файла конфигуратора\n"),
              std::string::npos);
    End();
    EXPECT_EQ(ReadBytes(folder.File("ORVEL.CFG")), "old");
    EXPECT_FALSE(Exists("IC8500.000"));
    EXPECT_TRUE(boxes.shown.empty());
}

// A termination while a question stands on screen, which nobody will answer: it ends unanswered,
// so that nothing it asks about is done, and the program closes as a termination does, saving.
// The close whose question it was gets "no" and the termination's own close follows it.
TEST_F(SessionEnd, ATerminationWhileAQuestionStandsEndsItUnansweredAndSaves) {
    bool answered = true;
    struct Case {
        const char* what;
        std::function<void()> before;  // after the start
        std::function<void()> ask;     // run by the program's loop
        const char* question;
    };
    const Case cases[] = {
        {"the close's, with changes unsaved", [] { MainForm->BankChanged = 1; }, OperatorCloses,
         "Не сохранены изменения! Выйти из программы?"},
        {"the close's, while a scan runs", [] { MainForm->Running = 1; }, OperatorCloses,
         "Запущен автоматический режим! Выйти из программы?"},
        {"the operator's other question", [] {},
         [&] { answered = MainForm->Confirm("Измерения будут удалены.Вы уверены?"); },
         "Измерения будут удалены.Вы уверены?"},
        {"a job's message", [] {},
         [] {
             JobStr line;
             line.DCL = "Сообщение оператору";
             line.TAB = 4;
             line.OBJ = 7;
             line.STRING = 1;
             line.STR = "Смените кассету";
             MainForm->RunLines[0] = line;
             MainForm->JobLineCount = 1;
             MainForm->jobs.StartJob();
         },
         "Смените кассету"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartWithoutCfg();
        c.before();
        std::vector<std::string> asked;
        boxes.whileShown = [&](const ui::MessageBoxRequest& r) {
            asked.push_back(r.text);
            const int dismissed = boxes.dismissed;
            ::raise(SIGTERM);
            for (int i = 0; i < 200 && boxes.dismissed == dismissed; ++i) ui::ServeFor(50);
        };
        QTimer::singleShot(0, c.ask);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Run(), 0);
        const std::string told = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(Exists("ORVEL.CFG"));
        EXPECT_TRUE(Exists("IC8500.000"));
        EXPECT_EQ(asked, std::vector<std::string>{c.question});
        // A box with only OK that nobody read is told where whoever ended the program reads.
        EXPECT_EQ(told.find("Смените кассету") != std::string::npos,
                  std::string(c.what) == "a job's message");
        MainForm->Running = 0;
        End();
        boxes.whileShown = nullptr;
    }
    EXPECT_FALSE(answered);  // nothing is deleted
}

// The operator's close is under way, ending a recording (the sound input serves the event loop
// while it stops), when the termination comes: the termination's close waits for that one, whose
// question it then finds on screen and leaves unanswered, and saves.
TEST_F(SessionEnd, ATerminationDuringTheOperatorsCloseWaitsForItAndSaves) {
    ui::ScriptedSound sound;
    sound.writesSound = true;
    bool terminated = false;
    sound.whileStopping = [&] {
        if (!std::exchange(terminated, true)) ::raise(SIGTERM);
        ui::ServePending();
    };
    Write("ORVEL.INI", kStation);
    Start();
    PostPrivateMessage(&MainForm->editors->phonogramWindow, PostLockControls);
    ui::ServePending();
    ASSERT_EQ(MainForm->Recording, 1);
    sound.Advance(1000);
    std::vector<std::string> asked;
    boxes.whileShown = [&](const ui::MessageBoxRequest& r) {
        asked.push_back(r.text);
        for (int i = 0; i < 200 && boxes.dismissed == 0; ++i) ui::ServeFor(50);
    };
    boxes.defaultAnswer = ui::MessageAnswer::No;
    QTimer::singleShot(0, OperatorCloses);
    // Should the termination be lost, the program would wait for an operator for good.
    QTimer watchdog;
    watchdog.callOnTimeout([] { ui::Application::Quit(2); });
    watchdog.start(20'000);

    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(terminated);
    EXPECT_EQ(asked, std::vector<std::string>{"Не сохранены изменения! Выйти из программы?"});
    EXPECT_EQ(boxes.dismissed, 1);
    EXPECT_TRUE(Exists("ORVEL.CFG"));
    const std::optional<ui::WavLayout> layout = ui::ReadWavLayout(folder.File("FONO/temp0.wav"));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->dataBytes, 8000u);
    End();
    boxes.whileShown = nullptr;
    boxes.defaultAnswer = ui::MessageAnswer::Ok;
}

// The termination's close cannot save: while the question stood, as without one, the failure
// goes to standard error, the exit code tells it, and the old files stay.
TEST_F(SessionEnd, ATerminationWhileTheCloseAsksAndTheSaveFailsTellsItAndExitsWithOne) {
    Write("ORVEL.INI", kStation);
    Write("ORVEL.CFG", "old");
    Start();
    MainForm->BankChanged = 1;
    const ReadOnlyFolder readOnly(folder.Dir());
    boxes.whileShown = [&](const ui::MessageBoxRequest&) {
        ::raise(SIGTERM);
        for (int i = 0; i < 200 && boxes.dismissed == 0; ++i) ui::ServeFor(50);
    };
    QTimer::singleShot(0, OperatorCloses);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run(), 1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                  "ВНИМАНИЕ !: Ошибка записи файла конфигуратора\n"),
              std::string::npos);
    End();
    EXPECT_EQ(ReadBytes(folder.File("ORVEL.CFG")), "old");
    EXPECT_EQ(boxes.dismissed, 1);
    boxes.whileShown = nullptr;
}

// The start-up job runs a program that ends the station while the job waits for it: the wait
// ends, the program it started is ended with whatever that program started in turn (a script's
// own program), and the close saves as always.
TEST_F(SessionEnd, ATerminationWhileAJobWaitsForItsProgramEndsBothAndSaves) {
    struct Case {
        const char* what;
        const char* line;  // writes the pid of the program that must end to program.pid
        bool startedByTheProgram;
    };
    const Case cases[] = {
        {"the program", "sh -c 'echo $$ > program.pid; kill -TERM $PPID; exec sleep 30'", false},
        {"the script's program", "sh -c 'sleep 30 & echo $! > program.pid; kill -TERM $PPID; wait'",
         true},
    };
    // The script's program, left by its script, becomes this process's child, to be collected.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(folder.File("program.pid"));
        Write("ORVEL.INI", std::string(kStation) + "AUTOEXEC=0001\r\n");
        // Without it no start-up job is queued.
        Write("ORVEL.CFG", Utf8ToCp1251("Сетка=Да\r\n"));
        UserJob job;
        job.FolderName = "0001";
        job.Identifier = "Внешняя программа";
        JobStr line;
        line.DCL = "Выполнить Exe - Программу";
        line.TAB = 4;
        line.OBJ = 5;
        line.STRING = 1;
        line.STR = c.line;
        job.Lines = {line};
        std::filesystem::create_directories(folder.File("JOB"));
        ASSERT_TRUE(SaveJobFile(folder.Dir(), job));
        Start();
        // Should the job never start its program, the test ends all the same (and fails below).
        QTimer watchdog;
        watchdog.callOnTimeout([] { ::raise(SIGTERM); });
        watchdog.start(20'000);

        EXPECT_EQ(Run(), 0);
        EXPECT_TRUE(Exists("IC8500.000"));
        ASSERT_TRUE(Exists("program.pid"));
        const pid_t program = std::stoi(ReadBytes(folder.File("program.pid")));
        if (c.startedByTheProgram) {
            int status = 0;
            ASSERT_EQ(::waitpid(program, &status, 0), program);
            EXPECT_TRUE(WIFSIGNALED(status));  // not left to end its sleep
        }
        EXPECT_NE(::kill(program, 0), 0);  // ended, and its end collected
        End();
    }
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
}

// The IC-PCR1000 at COM1 answers at no speed, and the panel looks for it at each in turn (some
// twenty seconds of waits): a termination in the middle of the search ends the program at
// once, the waits left given up.
TEST_F(SessionEnd, ATerminationWhileThePcrLooksForItsSpeedIsNotHeldByTheSearch) {
    emulators::Pcr1000Emulator set;
    set.SetDead(true);
    StartAPcrSearchTerminatedAfterFiveSeconds(set);
    EXPECT_EQ(Run(), 0);
    ASSERT_GE(terminated, 0);
    EXPECT_LE(ui::Clock::NowMs() - terminated, 2000);
    End();
    ui::Clock::SetPeer({});
    EXPECT_TRUE(boxes.shown.empty());
}

// The same search, and the set is sent nothing more once the close is asked, by a termination
// or by the operator's close (held till the search's wait ends): the search breaks off where it
// was (the port keeps the speed it had), neither the rest of the speeds nor the connect's lines
// go out, and the close saves at once.
TEST_F(SessionEnd, ACloseWhileThePcrLooksForItsSpeedSendsItNothingMore) {
    for (const bool operatorCloses : {false, true}) {
        SCOPED_TRACE(operatorCloses);
        std::filesystem::remove(folder.File("ORVEL.CFG"));
        terminated = -1;
        emulators::Pcr1000Emulator set;
        set.SetSilent(true);
        StartAPcrSearchTerminatedAfterFiveSeconds(set, nullptr, [operatorCloses] {
            operatorCloses ? OperatorCloses() : void(::raise(SIGTERM));
        });
        std::optional<uint64_t> sentAtTheClose;
        uint32_t speedAtTheClose = 0;
        // Runs before the main window's own close handler (handlers run newest first).
        MainForm->AddHandler(ui::EventId::Close, [&](ui::Object&, ui::EventData&) {
            sentAtTheClose = MainForm->comm.BytesWrittenForTesting();
            speedAtTheClose = MainForm->comm.BaudRate;
            // After a signal the port itself refuses whatever still asks it to write.
            static constexpr uint8_t kProbe[] = {'H', '1', '0', '1', '\r', '\n'};
            if (!operatorCloses) {
                EXPECT_FALSE(MainForm->comm.WriteBytes(kProbe, sizeof kProbe));
            }
            return false;
        });
        EXPECT_EQ(Run(), 0);
        ASSERT_TRUE(sentAtTheClose.has_value());
        EXPECT_GT(*sentAtTheClose, 0u);  // the search had begun
        EXPECT_EQ(MainForm->comm.BytesWrittenForTesting(), *sentAtTheClose);
        EXPECT_EQ(MainForm->comm.BaudRate, speedAtTheClose);
        EXPECT_LE(ui::Clock::NowMs() - terminated, 2000);
        EXPECT_TRUE(Exists("ORVEL.CFG"));
        End();
        ui::Clock::SetPeer({});
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// The search found the set at no speed: message 39 stands, nobody answers it, and three seconds
// on the search begins again beneath it. A termination two seconds into that search ends it at
// its next step although the box has yet to return: nothing more goes to the set, and the close
// saves at once.
TEST_F(SessionEnd, ATerminationDuringTheSearchBeneathMessage39EndsItAndSaves) {
    emulators::Pcr1000Emulator set;
    set.SetSilent(true);
    boxes.whileShown = [&](const ui::MessageBoxRequest&) {
        for (int i = 0; i < 600 && boxes.dismissed == 0; ++i) ui::ServeFor(50);
    };
    int64_t searchAgain = -1;
    StartAPcrSearchTerminatedAfterFiveSeconds(set, [&](int64_t) {
        const ReceiverPanel* panel = MainForm->receiver.Panel();
        if (searchAgain < 0 && panel->SyncCount() == 1 && !panel->SyncEnded())
            searchAgain = ui::Clock::NowMs();
        return searchAgain >= 0 && ui::Clock::NowMs() - searchAgain >= 2000;
    });
    // Between the searches the program waits for nothing: its time is served here.
    QTimer::singleShot(0, [] {
        ui::ServeFor(60'000);
        if (!ui::Application::Quitting()) ui::Application::Quit(2);
    });
    EXPECT_EQ(Run(), 0);
    ASSERT_GE(terminated, 0);
    EXPECT_LE(ui::Clock::NowMs() - terminated, 2000);
    EXPECT_EQ(MainForm->comm.BytesWrittenForTesting(), sentWhenAsked);
    EXPECT_EQ(MainForm->comm.BaudRate, speedWhenAsked);
    EXPECT_TRUE(Exists("ORVEL.CFG"));
    EXPECT_EQ(boxes.dismissed, 1);
    End();
    ui::Clock::SetPeer({});
    boxes.whileShown = nullptr;
}

// The operator's first close came during a wait for the receiver's reply and was held till it
// ended; a scan runs, so the close asks. He clicks the close button again while the question
// stands: the second close changes nothing, and his answer decides.
TEST_F(SessionEnd, ASecondCloseWhileTheQuestionStandsChangesNothing) {
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        StartWithoutCfg();
        MainForm->Running = 1;
        bool stood = false;  // the window, and the program, outlived the second close
        boxes.whileShown = [&](const ui::MessageBoxRequest&) {
            OperatorCloses();
            stood = MainForm->widget()->windowHandle()->handle() != nullptr;
        };
        boxes.answers = {yes ? ui::MessageAnswer::Yes : ui::MessageAnswer::No};
        QTimer::singleShot(0, [] {
            ui::ReplyEvent reply;
            QTimer::singleShot(0, [&reply] {
                OperatorCloses();
                reply.Set();
            });
            reply.Wait(1000);
            // After the held close: a program that goes on is ended here.
            QTimer::singleShot(0, [] {
                if (!ui::Application::Quitting()) ui::Application::Quit(7);
            });
        });
        EXPECT_EQ(Run(), yes ? 0 : 7);
        EXPECT_TRUE(stood);
        EXPECT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(Exists("ORVEL.CFG"), yes);
        MainForm->Running = 0;
        End();
        boxes.whileShown = nullptr;
        boxes.shown.clear();
    }
}

// The operator's close came during a wait for the receiver's reply (a slow set's) and is held
// till the wait ends; a logout or Ctrl+C comes before that: the signal closes all the same,
// without a question, saves and ends the program with 0, and the held close does nothing more.
TEST_F(SessionEnd, ASignalWhileTheOperatorsCloseIsHeldClosesAndSaves) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        StartWithoutCfg();
        MainForm->Running = 1;  // the close would ask
        int closes = 0;
        MainForm->AddHandler(ui::EventId::Close, [&](ui::Object&, ui::EventData&) {
            ++closes;
            return false;
        });
        QTimer::singleShot(0, [signal] {
            ui::ReplyEvent reply;
            QTimer::singleShot(0, [signal] {
                OperatorCloses();
                ::raise(signal);
            });
            reply.Wait(1000);
        });
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_TRUE(Exists("ORVEL.CFG"));
        EXPECT_TRUE(Exists("IC8500.000"));
        EXPECT_EQ(closes, 1);
        MainForm->Running = 0;
        End();
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// The X server ends (a desktop's log-out can end it before the program's SIGTERM is acted on)
// and the toolkit, having said so, ends the process: the close's save runs first, unasked, and
// the program ends with 0 rather than crashing as its windows are destroyed without a display.
TEST_F(SessionEnd, ALostDisplaySavesWhatACloseSavesAndEnds) {
    GTEST_FLAG_SET(death_test_style, "fast");  // the files are looked at here
    Write("ORVEL.INI", kStation);
    Start();
    MainForm->Running = 1;  // a close would ask
    EXPECT_EXIT(
        {
            QTimer::singleShot(0, [] {
                qWarning("The X11 connection broke (error 1). Did the X11 server die?");
                std::exit(1);  // as the toolkit does next
            });
            Run();
            std::_Exit(2);
        },
        ::testing::ExitedWithCode(0), "The X11 connection broke");
    EXPECT_TRUE(Exists("ORVEL.CFG"));
    EXPECT_TRUE(Exists("IC8500.000"));
    MainForm->Running = 0;
    End();
}

// A signal under the start's box ("Ошибка записи файла конфигуратора", the port already open
// and locked) ends the box, and the close follows as the message loop begins: the program ends
// with the close's exit code (1 here: nothing could be saved, told on standard error), its
// port closed and its lock file gone.
TEST_F(SessionEnd, ASignalUnderTheStartsBoxClosesAndLeavesNoLockFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            emulators::Pcr1000Emulator set;
            set.LinkAs(folder.path() / "COM1");
            test_clock::Use(set);
            set.Start();
            ui::Clock::SetPeer(test_clock::Peer(
                [&set] { return &set; }, [] { return MainForm ? &MainForm->comm : nullptr; }));
            Write("ORVEL.INI", "COM=1\r\nSPEED=6\r\nRECV=6\r\n");
            std::string device = set.SlavePath().substr(std::string("/dev/").size());
            std::replace(device.begin(), device.end(), '/', '_');
            boxes.whileShown = [&](const ui::MessageBoxRequest&) {
                if (boxes.shown.size() > 1) return;
                ::raise(SIGTERM);
                for (int i = 0; i < 200 && boxes.dismissed == 0; ++i) ui::ServeFor(50);
                // A later box of the start is not shown: nobody would answer it.
                ui::MessageBoxRequest later;
                later.text = "Выйти?";
                later.buttons = ui::MessageButtons::YesNo;
                if (ui::ShowMessageBox(later) != ui::MessageAnswer::No) std::_Exit(6);
            };
            int code = 0;
            {
                const ReadOnlyFolder readOnly(folder.Dir());
                code = application.RunSession();
            }
            // The box was ended by the signal, and the later one was not shown.
            bool locked = boxes.dismissed != 1 || boxes.shown.size() != 1;
            for (const char* locks : {"/run/lock/", "/var/lock/"})
                locked = locked || std::filesystem::exists(locks + ("LCK.." + device));
            std::fflush(nullptr);
            std::_Exit(locked ? 5 : code);
        },
        ::testing::ExitedWithCode(1), "Ошибка записи файла конфигуратора");
}

// A signal the program was started with ignored (nohup, a script's background job) stays
// ignored while the watch lives and after it; SIGTERM still closes.
TEST(SessionEndWatch, ASignalIgnoredWhenTheProgramStartsStaysIgnored) {
    const std::vector<int> startedIgnoring[] = {{SIGHUP}, {SIGHUP, SIGINT}};
    for (const std::vector<int>& ignored : startedIgnoring) {
        SCOPED_TRACE(ignored.size());
        for (const int signal : ignored) ::signal(signal, SIG_IGN);
        int acted = 0;
        {
            const ui::SessionEndWatch watch([&] { ++acted; });
            for (const int signal : ignored) ::raise(signal);
            ui::ServePending();
            EXPECT_EQ(acted, 0);
            ::raise(SIGTERM);
            ui::ServePending();
            EXPECT_EQ(acted, 1);
        }
        for (const int signal : ignored) {
            struct sigaction now = {};
            ::sigaction(signal, nullptr, &now);
            EXPECT_EQ(now.sa_handler, SIG_IGN);
            ::signal(signal, SIG_DFL);
        }
    }
}

// After the run the close has told its result in the exit code: a signal during the program's
// last steps neither ends it nor changes that code, whether the watch ends alone or with the
// application's session.
TEST(SessionEndWatchDeathTest, AfterTheRunASignalNeitherEndsTheProgramNorChangesItsExitCode) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto signalAll = [] {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::raise(signal);
    };
    const std::function<void()> ends[] = {
        [&] {
            {
                const ui::SessionEndWatch watch([] {});
                ui::SessionEndWatch::IgnoreFromNowOn();
            }
            signalAll();
            std::exit(3);
        },
        [&] {
            ui::Application session;
            session.AddHandler(ui::EventId::Run, [](ui::Object&, ui::EventData& e) {
                e.result = 3;
                return true;
            });
            session.AddHandler(ui::EventId::End, [&](ui::Object&, ui::EventData&) {
                signalAll();
                return true;
            });
            std::exit(session.RunSession());
        },
    };
    for (const auto& end : ends) EXPECT_EXIT(end(), ::testing::ExitedWithCode(3), "");
}

}  // namespace
