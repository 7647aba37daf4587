#pragma once
// The application object: raises Start (a handler may set cancel and result to abandon
// the start with that exit code), Run (runs the message loop) and End, in that order.

#include "ui/event.h"

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
    // Sets the fonts the forms name ("MS Sans Serif") to families this machine has.
    static void InstallFontSubstitutes();
};

}  // namespace ui
