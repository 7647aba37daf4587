#pragma once
// The widget behind every form (inside ui/ only): turns Qt's close, paint, mouse and
// posted-code events into the form's events.

#include <QEvent>
#include <QWidget>
#include <cstdint>

namespace ui {

class Form;

// A posted numbered code on its way to a form. One posted from another thread (the serial reader's) has a type of its own,
// and those that have not arrived yet are counted: a test on virtual time hands them over
// before it lets time pass (ForeignCodesPending).
class CodeEvent : public QEvent {
  public:
    static QEvent::Type Type();
    static QEvent::Type ForeignType();
    CodeEvent(uint32_t code, bool foreign);
    ~CodeEvent() override;
    // The code arrives: it is no longer pending, though what it sets off may run for long.
    void Arrived();
    uint32_t code;

  private:
    bool pending_ = false;
};

class FormWidget : public QWidget {
  public:
    FormWidget(Form* form, QWidget* parent, Qt::WindowFlags flags);
    ~FormWidget() override;
    Form* form() const { return form_; }
    // A close of the window runs (its handlers, a question among them) or waits for the reply
    // waits to end: a further close of it changes nothing.
    bool CloseUnderWay() const { return closing_ || closeHeld_; }
    // The close's handlers run now.
    bool CloseRuns() const { return closing_; }
    // The toolkit's window of a form whose close is under way: the window system's close of it
    // (the close button clicked again) is refused before the toolkit, which takes a close
    // asked during a close as done, destroys the window and may quit the program unsaved.
    static bool RefusesWindowClose(const QObject* window);

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    Form* form_;
    bool closing_ = false;
    bool closeHeld_ = false;
};

// The set of forms that have a window; posting looks targets up here under its lock,
// so a post from another thread never reaches a window being destroyed.
void RegisterLiveForm(Form* form, FormWidget* widget);
void UnregisterLiveForm(Form* form);

}  // namespace ui
