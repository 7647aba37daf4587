#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <QTranslator>
#include <memory>
#include <utility>

#include "ui/message_box.h"
#include "ui/operator_input.h"
#include "ui/session_end.h"

namespace ui {

namespace {
// As the toolkit's own flag: set by Quit, cleared as the message loop starts and once it ended.
bool quitting = false;
// Kept as quitting is: a signal asked for the session's end; the main window's close is asked.
bool sessionEnding = false;
bool programCloseAsked = false;
// EndSession waits for the events under way to return: it is posted once, not once per signal.
bool endSessionPosted = false;
// Lives while the message loop runs: a session's end put off till later goes with the loop.
QObject* loopScope = nullptr;
}  // namespace

Application::Application() = default;
Application::~Application() = default;

int Application::Start(int argc, char** argv) {
    int qtArgc = argc;
    ToolkitApplication app(qtArgc, argv);
    InstallFontSubstitutes();
    InstallToolkitTranslation();

    EventData start;
    start.id = EventId::Start;
    Raise(start);
    if (start.cancel) return start.result;

    EventData run;
    run.id = EventId::Run;
    {
        // From the start-up's end on there is something to save.
        const SessionEndWatch watch([this] { EndSession(); });
        Raise(run);
        // The close has run and told its result in the exit code: a signal during the last
        // steps (the windows destroyed, the port closed) must neither cut them nor replace it.
        SessionEndWatch::IgnoreFromNowOn();
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
    const int exitCode = QApplication::exec();
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
    if (DismissMessageBoxes() == 0) {
        EventData end;
        end.id = EventId::EndSession;
        Raise(end);
        if (!end.cancel) return;
    }
    // What runs beneath this (a box's caller, a close) goes on first; without a message loop
    // nothing runs beneath.
    if (loopScope != nullptr) {
        endSessionPosted = true;
        QMetaObject::invokeMethod(
            loopScope, [this] { EndSessionNow(); }, Qt::QueuedConnection);
    }
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
