#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QScreen>

#include "ui/session_end.h"

namespace ui {

Application::Application() = default;
Application::~Application() = default;

int Application::Start(int argc, char** argv) {
    int qtArgc = argc;
    QApplication app(qtArgc, argv);
    InstallFontSubstitutes();

    EventData start;
    start.id = EventId::Start;
    Raise(start);
    if (start.cancel) return start.result;

    EventData run;
    run.id = EventId::Run;
    {
        // From the start-up's end on there is something to save.
        const SessionEndWatch watch([this] { Raise(EventId::EndSession); });
        Raise(run);
    }
    EventData end;
    end.id = EventId::End;
    Raise(end);
    return run.result;
}

int Application::RunMessageLoop() {
    return QApplication::exec();
}

void Application::Quit(int exitCode) {
    QCoreApplication::exit(exitCode);
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

void Application::InstallFontSubstitutes() {
    // The forms name the old dialog font; draw them with a metric-compatible sans serif
    // where the machine has one.
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arial", "DejaVu Sans"});
}

}  // namespace ui
