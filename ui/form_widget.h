#pragma once
// The widget behind every form (inside ui/ only): turns Qt's close, paint, mouse and
// posted-code events into the form's events.

#include <QEvent>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace ui {

class Form;

// Posted codes (ui/post.h) travel in a queue of their own, in the order posted; each rings a
// doorbell, an event of this type posted to the target's widget, and a doorbell hands over the
// oldest code queued (to whichever form it is for): false when none is.
QEvent::Type CodeDoorbell();
bool DeliverOldestCode();
// A call of the user-interface thread queued with the codes, in the order posted: the program's
// own loop runs it after the codes posted before it and before those posted after it, and so
// do the tests' clock and its turns (Clock::SettleOwed).
void PostCall(std::function<void()> call);

class FormWidget : public QWidget {
  public:
    FormWidget(Form* form, QWidget* parent, Qt::WindowFlags flags);
    ~FormWidget() override;
    Form* form() const { return form_; }
    // A close of the window runs (its handlers, a question among them), or the operator's waits
    // for the reply waits to end: a further close of it changes nothing, but the program's own
    // close (Form::Close: a logout's) goes ahead of a held close of the operator's.
    bool RefusesClose() const { return closing_ || (closeHeld_ && !programCloses_); }
    // The close's handlers run now.
    bool CloseRuns() const { return closing_; }
    // The toolkit's window of a form that refuses a close now: the window system's close of it
    // (the close button clicked again) is refused before the toolkit, which takes a close
    // asked during a close as done, destroys the window and may quit the program unsaved.
    static bool RefusesWindowClose(const QObject* window);
    // Closes the window as Form::Close asks: the toolkit's close of the window, which reaches
    // this widget through the window system's path.
    bool CloseForProgram();

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    Form* form_;
    bool closing_ = false;
    bool closeHeld_ = false;
    bool programCloses_ = false;  // Form::Close's close is on its way to the window
};

// Test seams for the virtual clock of the tests (Clock::SettleOwed); the program never asks.
// Codes another thread posted have not arrived yet.
bool ForeignCodesPendingForTesting();
// How many codes were posted so far.
uint64_t CodesPostedForTesting();
// While codes another thread posted are queued, hands over the oldest code queued when it is
// one of them or one of the first `postedBefore` codes posted: true when it did. So those codes
// arrive in the order posted, and a code posted later by the program (the next step of a scan)
// stops it: the program takes that in its own next pass, and what follows it then.
bool DeliverTowardsForeignCodesForTesting(uint64_t postedBefore);

// The set of forms that have a window; posting looks targets up here under its lock,
// so a post from another thread never reaches a window being destroyed. A form that loses its
// window loses the codes still queued for it.
void RegisterLiveForm(Form* form, FormWidget* widget);
void UnregisterLiveForm(Form* form);

}  // namespace ui
