// A logout or a system shutdown ends the program as a close of its main window does.
#include <gtest/gtest.h>

#include <signal.h>

// Before Qt's headers, whose "signals" keyword would take its field's name.
#include "emulators/pcr/pcr1000_emulator.h"

#include <QCoreApplication>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/orvel.h"
#include "app/orvel_editors.h"
#include "state/message_bus.h"
#include "state/cp1251.h"
#include "state/user_job.h"
#include "tests/state/temp_dir.h"
#include "tests/support/program_folder.h"
#include "tests/support/read_only_folder.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"
#include "ui/session_end.h"
#include "ui/sound.h"
#include "ui/timer.h"
#include "ui/wav_file.h"

namespace {

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
        watch.emplace([this] { application.Raise(ui::EventId::EndSession); });
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

    const int idleSlice_ = ui::Clock::IdleSliceMs();
    ProgramFolder folder;
    ui::ScriptedMessageBoxes boxes;  // none may reach the screen
    ApplicationClass application;
    std::optional<ui::SessionEndWatch> watch;
};

// The close questions are answered yes, so ORVEL.CFG and the receiver's state file are written
// at the close.
TEST_F(SessionEnd, TerminationSignalsCloseTheMainWindowAndSaveWhatACloseSaves) {
    for (const int signal : {SIGTERM, SIGHUP}) {
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

// The start-up job runs a program that ends the station while the job waits for it: the wait
// ends, the program it started is ended, and the close saves as always.
TEST_F(SessionEnd, ATerminationWhileAJobWaitsForItsProgramEndsBothAndSaves) {
    Write("ORVEL.INI", std::string(kStation) + "AUTOEXEC=0001\r\n");
    Write("ORVEL.CFG", Utf8ToCp1251("Сетка=Да\r\n"));  // without it no start-up job is queued
    UserJob job;
    job.FolderName = "0001";
    job.Identifier = "Внешняя программа";
    JobStr line;
    line.DCL = "Выполнить Exe - Программу";
    line.TAB = 4;
    line.OBJ = 5;
    line.STRING = 1;
    line.STR = "sh -c 'echo $$ > program.pid; kill -TERM $PPID; exec sleep 30'";
    job.Lines = {line};
    std::filesystem::create_directory(folder.File("JOB"));
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
    EXPECT_NE(::kill(program, 0), 0);  // ended, and its end collected
    End();
}

// The IC-PCR1000 at COM1 answers at no speed, and the panel looks for it at each in turn (some
// twenty seconds of waits): a termination in the middle of the search ends the program at
// once, the waits left given up.
TEST_F(SessionEnd, ATerminationWhileThePcrLooksForItsSpeedIsNotHeldByTheSearch) {
    emulators::Pcr1000Emulator set;
    set.SetDead(true);
    set.LinkAs(folder.path() / "COM1");
    set.Start();
    ui::Clock::SetOwed([&] { return set.Owes(); });
    Write("ORVEL.INI", "COM=1\r\nSPEED=6\r\nRECV=6\r\n");
    const int64_t started = ui::Clock::NowMs();
    Start();
    int64_t terminated = -1;
    MainForm->AddHandler(ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
        if (e.code == PostTimerTick && terminated < 0 && ui::Clock::NowMs() - started >= 5000) {
            terminated = ui::Clock::NowMs();
            ::raise(SIGTERM);
        }
        return false;
    });
    EXPECT_EQ(Run(), 0);
    ASSERT_GE(terminated, 0);
    EXPECT_LE(ui::Clock::NowMs() - terminated, 2000);
    End();
    ui::Clock::SetOwed(nullptr);
    EXPECT_TRUE(boxes.shown.empty());
}

// The same search, and the set is sent nothing more once the close is asked: the search breaks
// off where it was (the port keeps the speed it had), and neither the rest of the speeds nor
// the connect's lines go out.
TEST_F(SessionEnd, ATerminationWhileThePcrLooksForItsSpeedSendsItNothingMore) {
    emulators::Pcr1000Emulator set;
    set.SetSilent(true);
    set.LinkAs(folder.path() / "COM1");
    set.Start();
    ui::Clock::SetOwed([&] { return set.Owes(); });
    Write("ORVEL.INI", "COM=1\r\nSPEED=6\r\nRECV=6\r\n");
    const int64_t started = ui::Clock::NowMs();
    Start();
    bool terminated = false;
    MainForm->AddHandler(ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
        if (e.code == PostTimerTick && !terminated && ui::Clock::NowMs() - started >= 5000) {
            terminated = true;
            ::raise(SIGTERM);
        }
        return false;
    });
    std::optional<uint64_t> sentAtTheClose;
    uint32_t speedAtTheClose = 0;
    // Runs before the main window's own close handler (handlers run newest first).
    MainForm->AddHandler(ui::EventId::Close, [&](ui::Object&, ui::EventData&) {
        sentAtTheClose = MainForm->comm.BytesWritten();
        speedAtTheClose = MainForm->comm.BaudRate;
        return false;
    });
    EXPECT_EQ(Run(), 0);
    ASSERT_TRUE(sentAtTheClose.has_value());
    EXPECT_GT(*sentAtTheClose, 0u);  // the search had begun
    EXPECT_EQ(MainForm->comm.BytesWritten(), *sentAtTheClose);
    EXPECT_EQ(MainForm->comm.BaudRate, speedAtTheClose);
    End();
    ui::Clock::SetOwed(nullptr);
}

}  // namespace
