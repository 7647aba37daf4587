// A logout or a system shutdown ends the program as a close of its main window does.
#include <gtest/gtest.h>

#include <signal.h>

#include <QCoreApplication>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include "app/application.h"
#include "app/orvel.h"
#include "tests/support/program_folder.h"
#include "ui/reply_event.h"
#include "ui/session_end.h"
#include "ui/timer.h"

namespace {

// The close questions would fail the test if they reached the screen: they are answered
// yes, so ORVEL.CFG is written at the close and the receiver's state file at the end.
TEST(SessionEnd, TerminationSignalsCloseTheMainWindowAndSaveWhatACloseSaves) {
    // The tests after this one in the same program need the clock as it was.
    const int idleSlice = ui::Clock::IdleSliceMs();
    ui::Clock::SetVirtual(true);
    ui::Clock::SetIdleSliceMs(0);
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        ProgramFolder folder;
        // An IC-R8500 without a port that keeps its state ("RECV_SAVE=ДА" in cp1251).
        std::ofstream(folder.File("ORVEL.INI"), std::ios::binary)
            << "RECV=4\r\nRECV_SAVE=\xc4\xc0\r\n";
        ApplicationClass application;
        application.Raise(ui::EventId::Start);
        ASSERT_NE(MainForm, nullptr);
        MainForm->Show();
        MainForm->BankChanged = 1;  // asks before the close
        const ui::SessionEndWatch watch([&] { application.Raise(ui::EventId::EndSession); });

        ::raise(signal);
        EXPECT_FALSE(std::filesystem::exists(folder.File("ORVEL.CFG")));  // not in the handler
        ui::ServeFor(100);
        EXPECT_TRUE(std::filesystem::exists(folder.File("ORVEL.CFG")));
        EXPECT_FALSE(MainForm->Alive);
        application.Raise(ui::EventId::End);
        EXPECT_TRUE(std::filesystem::exists(folder.File("IC8500.000")));
    }
    ui::Clock::SetVirtual(false);
    ui::Clock::SetIdleSliceMs(idleSlice);
    // The close quit the application, which ends every message loop started after it; a run
    // of the application's own loop clears that for the tests after this one.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

}  // namespace
