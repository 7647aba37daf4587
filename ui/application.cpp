#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <memory>
#include <utility>

#include "ui/form_widget.h"
#include "ui/message_box.h"
#include "ui/operator_input.h"
#include "ui/process.h"
#include "ui/session_end.h"

#include <sys/stat.h>
#include <unistd.h>

namespace ui {

namespace {
// As the toolkit's own flag: set by Quit, cleared as the message loop starts and once it ended.
bool quitting = false;
// Kept as quitting is: a signal asked for the session's end; the main window's close is asked.
bool sessionEnding = false;
bool programCloseAsked = false;
// EndSession waits for the events under way to return: it is posted once, not once per signal.
bool endSessionPosted = false;
// A signal came before the message loop ran (under the start): the loop begins with the close.
bool endSessionBeforeLoop = false;
// Lives while the message loop runs: a session's end put off till later goes with the loop.
QObject* loopScope = nullptr;

// The application whose message loop runs, told when the toolkit loses the display.
Application* runningApplication = nullptr;
QtMessageHandler toolkitMessages = nullptr;  // the handler before the loop's

// The toolkit tells a lost connection to the X server in this warning, and then calls exit():
// the one moment the program still has to save.
constexpr char kDisplayLost[] = "The X11 connection broke";

void OnToolkitMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (toolkitMessages != nullptr) toolkitMessages(type, context, text);
    if (type == QtWarningMsg && text.startsWith(QLatin1String(kDisplayLost)) &&
        runningApplication != nullptr && QThread::currentThread() == qApp->thread())
        runningApplication->DisplayLost();
}
// The toolkit keeps its per-user runtime files in XDG_RUNTIME_DIR, which a login session sets.
// Run as root or outside a session, it would warn at every start that it is missing: the
// program gives it the folder the toolkit would take, the user's own and closed to others.
void UseRuntimeFolder() {
    if (std::getenv("XDG_RUNTIME_DIR") != nullptr) return;
    const std::string folder = "/tmp/runtime-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    struct stat st{};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 0777) != 0700)
        return;  // not ours as it must be: the toolkit says so itself
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 0);
}
}  // namespace

Application::Application() = default;
Application::~Application() = default;

int Application::Start(int argc, char** argv) {
    int qtArgc = argc;
    UseRuntimeFolder();
    ToolkitApplication app(qtArgc, argv);
    InstallFontSubstitutes();
    InstallToolkitTranslation();
    return RunSession();
}

int Application::RunSession() {
    EventData start;
    start.id = EventId::Start;
    EventData run;
    run.id = EventId::Run;
    {
        // From the start on a signal is a close: one under the start's boxes ends them, and the
        // close follows as the message loop begins (EndSession), so that the start's port and
        // lock file go with the program's end.
        const SessionEndWatch watch([this] { EndSession(); });
        Raise(start);
        if (!start.cancel) Raise(run);
        // The close has run and told its result in the exit code: a signal during the last
        // steps (the windows destroyed, the port closed) must neither cut them nor replace it.
        SessionEndWatch::IgnoreFromNowOn();
    }
    if (start.cancel) {
        endSessionBeforeLoop = false;
        return start.result;
    }
    EventData end;
    end.id = EventId::End;
    Raise(end);
    return run.result;
}

namespace {
void ClearClosingFlags() {
    quitting = false;
    sessionEnding = false;
    programCloseAsked = false;
    endSessionPosted = false;
}
}  // namespace

int Application::RunMessageLoop() {
    ClearClosingFlags();
    QObject scope;
    QObject* const outer = std::exchange(loopScope, &scope);
    if (std::exchange(endSessionBeforeLoop, false)) {
        sessionEnding = true;
        PostEndSessionNow();
    }
    Application* const outerApplication = std::exchange(runningApplication, this);
    const QtMessageHandler outerMessages = qInstallMessageHandler(OnToolkitMessage);
    if (outerApplication == nullptr) toolkitMessages = outerMessages;
    const int exitCode = QApplication::exec();
    qInstallMessageHandler(outerMessages);
    runningApplication = outerApplication;
    loopScope = outer;
    ClearClosingFlags();
    return exitCode;
}

void Application::EndSession() {
    // The link with the receiver stops at its next step from now on, even while a box it runs
    // under (message 39 with the search for the line speed beneath) still has to return.
    sessionEnding = true;
    if (!endSessionPosted) EndSessionNow();
}

void Application::EndSessionNow() {
    endSessionPosted = false;
    if (quitting) return;
    // Under the start the window is not whole yet: its boxes end, and the close waits for the loop.
    if (loopScope == nullptr) {
        DismissMessageBoxes();
        endSessionBeforeLoop = true;
        return;
    }
    if (DismissMessageBoxes() == 0) {
        EventData end;
        end.id = EventId::EndSession;
        Raise(end);
        if (!end.cancel) return;
    }
    // What runs beneath this (a box's caller, a close) goes on first.
    PostEndSessionNow();
}

void Application::PostEndSessionNow() {
    endSessionPosted = true;
    PostCall([this, scope = QPointer<QObject>(loopScope)] {
        if (scope) EndSessionNow();
    });
}

void Application::DisplayLost() {
    // Nothing more may go to the receiver, nor wait for it.
    sessionEnding = true;
    EventData lost;
    lost.id = EventId::DisplayLost;
    Raise(lost);
    EndRunningPrograms();
    std::fflush(nullptr);
    std::_Exit(lost.result);
}

void Application::Quit(int exitCode) {
    quitting = true;
    QCoreApplication::exit(exitCode);
}

bool Application::Quitting() {
    return quitting;
}

bool Application::SessionEnding() {
    return sessionEnding;
}

bool Application::EndAwaitsLoop() {
    return endSessionBeforeLoop;
}

bool Application::CloseAsked() {
    return quitting || sessionEnding || programCloseAsked;
}

void Application::NoteProgramClose(bool asked) {
    programCloseAsked = asked;
}

Rect Application::ScreenGeometry() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QRect r = screen->availableGeometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

void Application::Beep() {
    QApplication::beep();
}

bool Application::InstallToolkitTranslation() {
    // Once per toolkit application, which deletes it at its end.
    static QPointer<QTranslator> installed;
    if (installed) return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Russian), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get()))
        return false;
    translator->setParent(QCoreApplication::instance());
    installed = translator.release();
    return true;
}

void Application::InstallFontSubstitutes() {
    // The forms name their own face, "MS Sans Serif"; draw them with a metric-compatible sans serif
    // where the machine has one.
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arial", "DejaVu Sans"});
}

}  // namespace ui
