#include "ui/operator_input.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <utility>

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

void AfterInput(Window* control, std::function<void()> action) {
    if (!DeliveringInput()) {
        action();
        return;
    }
    // Queued on the control's widget: gone with it, the call is dropped.
    if (QWidget* widget = control->widget())
        QMetaObject::invokeMethod(widget, std::move(action), Qt::QueuedConnection);
}

void RaiseAfterInput(Window* control, EventData data) {
    AfterInput(control, [control, data = std::move(data)]() mutable { control->Raise(data); });
}

}  // namespace ui
