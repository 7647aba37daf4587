#pragma once
// The application object: raises Start (a handler may set cancel and result to abandon
// the start with that exit code), Run (runs the message loop) and End, in that order.
// While Run is under way a logout or a system shutdown raises EndSession instead of
// killing the process (ui/session_end.h).

#include "ui/event.h"
#include "ui/window.h"

namespace ui {

class Application : public Object {
  public:
    Application();
    ~Application() override;
    // Creates the toolkit's application, then raises Start, Run and End; returns the
    // exit code.
    int Start(int argc, char** argv);
    // Runs the message loop until Quit.
    int RunMessageLoop();
    static void Quit(int exitCode = 0);
    // A logout or a system shutdown (the signals of ui/session_end.h): raises EndSession. Boxes
    // that wait on screen are ended unanswered first (nobody will answer them, and what they ask
    // about is not done); while one has not returned yet, or while the handler cannot end the
    // session beneath what runs now (it sets cancel: a close of its own under way), EndSession
    // is raised once the events under way have returned.
    void EndSession();
    // Quit was called and the message loop has not run since: every loop, nested ones too,
    // is ending, so a wait serves nothing and ends at once.
    static bool Quitting();
    // The screen's work area in pixels (an empty rectangle without a screen).
    static Rect ScreenGeometry();
    // Sounds the system beep.
    static void Beep();
    // Sets the fonts the forms name ("MS Sans Serif") to families this machine has.
    static void InstallFontSubstitutes();
    // The toolkit's own dialogs and buttons (print and file dialogs, standard buttons) speak
    // Russian, as the program does, where the machine has the toolkit's Russian translation;
    // false when it has not.
    static bool InstallToolkitTranslation();
};

}  // namespace ui
