#include "ui/operator_input.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <deque>
#include <utility>

#include "ui/application.h"
#include "ui/form_widget.h"
#include "ui/reply_event.h"
#include "ui/window.h"

namespace ui {

namespace {

thread_local int deliveringInput = 0;

// What the operator does: the input events proper (mouse, keys, wheel, touch, entering a
// widget) and what follows from them at once (focus moving, a shortcut, a drop, leaving).
bool IsOperatorInput(const QEvent* event) {
    if (event->isInputEvent()) return true;
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::FocusAboutToChange:
        case QEvent::Shortcut:
        case QEvent::Drop:
        case QEvent::Leave:
            return true;
        default:
            return false;
    }
}

}  // namespace

ToolkitApplication::ToolkitApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ToolkitApplication::notify(QObject* receiver, QEvent* event) {
    // The window system's close of a form's window while that form's close runs: the question
    // standing decides, and the toolkit, which takes the close as already done, would destroy
    // the window under it and may end the program unsaved as its last window closes.
    if (event->type() == QEvent::Close && receiver->isWindowType() &&
        FormWidget::RefusesWindowClose(receiver)) {
        event->ignore();
        return true;
    }
    if (!IsOperatorInput(event)) return QApplication::notify(receiver, event);
    struct Delivery {
        Delivery() { ++deliveringInput; }
        ~Delivery() { --deliveringInput; }
    } delivery;
    return QApplication::notify(receiver, event);
}

bool DeliveringInput() {
    return deliveringInput > 0;
}

namespace {

// What the operator did, in order, each kept until it may run.
struct OperatorAction {
    QPointer<QWidget> control;
    std::function<void()> action;
};
std::deque<OperatorAction>& Pending() {
    static std::deque<OperatorAction> pending;
    return pending;
}
bool acting = false;

// Runs what the operator did, one action after another, when none is running and no wait for a
// reply is: the end of either takes up the rest.
void RunPending() {
    if (acting || ReplyEvent::Running() > 0) return;
    acting = true;
    while (!Pending().empty()) {
        OperatorAction next = std::move(Pending().front());
        Pending().pop_front();
        if (next.control) next.action();
    }
    acting = false;
}

void PostRunPending() {
    PostCall(&RunPending);
}

// What waits for no reply wait to run, in order. Not one at a time: a box it opens runs a loop
// of its own, in which the next may open its box above.
std::deque<OperatorAction>& Held() {
    static std::deque<OperatorAction> held;
    return held;
}

void RunHeld() {
    while (ReplyEvent::Running() == 0 && !Held().empty()) {
        OperatorAction next = std::move(Held().front());
        Held().pop_front();
        if (next.control && !Application::Quitting()) next.action();
    }
}

void PostRunHeld() {
    PostCall(&RunHeld);
}

}  // namespace

void AfterInput(Window* control, std::function<void()> action) {
    if (!DeliveringInput()) {
        action();
        return;
    }
    QWidget* widget = control->widget();
    if (widget == nullptr) return;
    Pending().push_back({widget, std::move(action)});
    PostRunPending();
}

void OutsideReplyWaits(Window* owner, std::function<void()> action) {
    if (ReplyEvent::Running() == 0 && Held().empty()) {
        action();
        return;
    }
    QWidget* widget = owner->widget();
    if (widget == nullptr) return;
    Held().push_back({widget, std::move(action)});
    if (ReplyEvent::Running() == 0) PostRunHeld();
}

void ReplyWaitEnded() {
    if (ReplyEvent::Running() != 0) return;
    if (!Pending().empty()) PostRunPending();
    if (!Held().empty()) PostRunHeld();
}

void RaiseAfterInput(Window* control, EventData data) {
    AfterInput(control, [control, data = std::move(data)]() mutable { control->Raise(data); });
}

}  // namespace ui
