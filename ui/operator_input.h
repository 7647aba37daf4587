#pragma once
// The operator's input as the toolkit delivers it (the mouse, keys, the wheel, focus), and the
// events the controls raise from it (inside ui/ only, and for the programs' and tests' main).
//
// A handler of a control's event may wait for a receiver's reply, and a wait serves what
// arrives meanwhile. Run inside the delivery of a mouse press, it would take in the release
// before the press was done with: a click on a slider's track then repeats for good, since
// the slider starts its repeat after the release already went by. Run inside another action's
// wait, it would act in the middle of that action (a row chosen while the typed value of the
// row before is being written). So what the operator does is acted on once its input has been
// delivered, one action at a time, and never while a wait for a reply runs: such an action
// waits for the wait to end. An event the program raises is raised at once.

#include <QApplication>
#include <functional>

#include "ui/event.h"

namespace ui {

class Window;

// The toolkit application of the program and of its tests: it knows when it delivers the
// operator's input. Under a plain QApplication the controls raise everything at once.
class ToolkitApplication : public QApplication {
  public:
    ToolkitApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// True while the operator's input is being delivered on this thread.
bool DeliveringInput();

// Runs the action now; or, while input is being delivered, as the operator's action once that
// delivery has returned, after the operator's actions before it, when no wait for a reply
// runs. Dropped when the control's window is gone by then.
void AfterInput(Window* control, std::function<void()> action);
// Raises the event on the control, now or as the operator's action.
void RaiseAfterInput(Window* control, EventData data);

// The reply waits call it as one ends: the operator's actions, and what was held outside the
// waits, may run.
void ReplyWaitEnded();

}  // namespace ui
