#pragma once
// The application object: raises Start (a handler may set cancel and result to abandon
// the start with that exit code), Run (runs the message loop) and End, in that order.
// From the start on a logout, a system shutdown or Ctrl+C raises EndSession instead of killing
// the process (ui/session_end.h); after the run such a signal is ignored.

#include "ui/event.h"
#include "ui/window.h"

namespace ui {

class Application : public Object {
  public:
    Application();
    ~Application() override;
    // Creates the toolkit's application, then runs the session; returns the exit code.
    int Start(int argc, char** argv);
    // Raises Start, Run and End under the toolkit's application that exists; returns the exit
    // code. From the start on a signal closes (EndSession, once the message loop runs); after
    // the run the signals are ignored.
    int RunSession();
    // Runs the message loop until Quit.
    int RunMessageLoop();
    static void Quit(int exitCode = 0);
    // A logout, a system shutdown or Ctrl+C (the signals of ui/session_end.h): raises
    // EndSession. From now on SessionEnding holds. Boxes that wait on screen are ended unanswered
    // first (nobody will answer them, and what they ask about is not done); while one has not
    // returned yet, or while the handler cannot end the session beneath what runs now (it sets
    // cancel: a close of its own under way), EndSession is raised once the events under way
    // have returned. Once Quit was called (the close ran) it does nothing: a further signal
    // changes neither the close nor the exit code.
    void EndSession();
    // Quit was called and the message loop has not run since: every loop, nested ones too,
    // is ending, so a wait serves nothing and ends at once.
    static bool Quitting();
    // A signal asked for the session's end while this message loop runs: the close follows,
    // whatever stands on screen now, and nothing more may go to the outside world.
    static bool SessionEnding();
    // A signal came under the start: the close waits for the message loop, and a box meanwhile
    // is not shown (nobody will answer it), as a box standing at the signal is ended.
    static bool EndAwaitsLoop();
    // A close of the program is asked and has not been refused: the session's end, or the close
    // of the form that ends the program (Form::SetClosesProgram), from the operator's click (held
    // while a reply wait runs, or asking its question) until a handler refuses it. The loops of
    // a link with a receiver (a sync, a search for the line speed, a port looked for again) stop
    // at their next step meanwhile.
    static bool CloseAsked();
    // The form whose close ends the program tells its close asked (true) or refused (false).
    static void NoteProgramClose(bool asked);
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

    // The toolkit lost the display (the X server ended) and is about to end the process from
    // beneath the message loop, where the windows' destruction would crash: raises DisplayLost
    // and ends the process at once with its exit code, running programs ended first.
    void DisplayLost();

  private:
    // EndSession's work, again until it is done.
    void EndSessionNow();
    // EndSessionNow once the events under way have returned, queued with the posted codes and
    // dropped with the message loop it was asked in.
    void PostEndSessionNow();
};

}  // namespace ui
