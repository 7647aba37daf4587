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

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    Form* form_;
};

// The set of forms that have a window; posting looks targets up here under its lock,
// so a post from another thread never reaches a window being destroyed.
void RegisterLiveForm(Form* form, FormWidget* widget);
void UnregisterLiveForm(Form* form);

}  // namespace ui
