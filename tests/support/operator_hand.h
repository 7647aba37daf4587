#pragma once
// The operator's hand in tests: real mouse and key events on the controls' widgets (QTest's, or
// queued as the window system queues them), delivered by the toolkit, never a control's event
// raised directly.
// Include it after the emulators' headers: Qt's `signals` keyword clashes with their names.

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>
#include <initializer_list>
#include <string>

#include "ui/controls.h"
#include "ui/reply_event.h"

namespace operator_hand {

// What a slider keeps to itself: where its track lies, and whether it repeats a click there.
struct SliderInside : QSlider {
    using QAbstractSlider::repeatAction;
    using QSlider::initStyleOption;
};

inline QSlider* QtSlider(ui::Slider* slider) {
    return static_cast<QSlider*>(slider->widget());
}

// A point on the track near the end the handle is farther from, so that a click there moves it.
inline QPoint TrackPoint(QSlider* slider) {
    QStyleOptionSlider option;
    (slider->*(&SliderInside::initStyleOption))(&option);
    const QRect track = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                        QStyle::SC_SliderGroove, slider);
    const bool towardsTop =
        slider->value() - slider->minimum() <= slider->maximum() - slider->value();
    // A horizontal slider's top is at its right, a vertical one's at its top.
    if (slider->orientation() == Qt::Horizontal)
        return {towardsTop ? track.right() - 2 : track.left() + 2, track.center().y()};
    return {track.center().x(), towardsTop ? track.top() + 2 : track.bottom() - 2};
}

// One click on the slider's track as the window system hands it over: the press and the release
// both queued, so that whatever serves the queue before the press is done with gets the
// release. The program's loop delivers them (ui::ServePending and the like).
inline void ClickTrack(ui::Slider* slider) {
    QSlider* qt = QtSlider(slider);
    const QPointF at(TrackPoint(qt));
    const QPointF global(qt->mapToGlobal(TrackPoint(qt)));
    QCoreApplication::postEvent(
        qt, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier));
    QCoreApplication::postEvent(qt, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

// The slider goes on repeating a click on its track (its button is held, or its release lost).
inline bool Repeats(ui::Slider* slider) {
    return (QtSlider(slider)->*(&SliderInside::repeatAction))() != QAbstractSlider::SliderNoAction;
}

// A click on a button or box, and what it posts served before this returns.
inline void ClickServed(ui::Control* control) {
    QTest::mouseClick(control->widget(), Qt::LeftButton, {}, QPoint(4, 4));
    ui::ServePending();
    ui::ServePending();
}

// A click on a row of a list, scrolled into view first as the operator scrolls to it.
inline void ClickRow(ui::ListView* list, int row) {
    auto* view = static_cast<QTreeWidget*>(list->widget());
    view->scrollToItem(view->topLevelItem(row));
    const QRect rect = view->visualItemRect(view->topLevelItem(row));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

// A click on a line of a list box, scrolled into view first.
inline void ClickLine(ui::ListBox* list, int line) {
    auto* view = static_cast<QListWidget*>(list->widget());
    view->scrollToItem(view->item(line));
    const QRect rect = view->visualItemRect(view->item(line));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

// The operator's keys on a control (a list): it takes the focus in its window, made the
// active one, and gets the keys one by one; what they raise is served before this returns.
inline void PressKeys(ui::Control* control, std::initializer_list<Qt::Key> keys) {
    QWidget* widget = control->widget();
    QApplication::setActiveWindow(widget->window());
    widget->setFocus(Qt::TabFocusReason);
    for (Qt::Key key : keys) QTest::keyClick(widget, key);
    ui::ServePending();
    ui::ServePending();
}

// The line the operator types into: an edit field, or a drop-down list's field.
inline QLineEdit* FieldOf(ui::Control* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control->widget())) return combo->lineEdit();
    return qobject_cast<QLineEdit*>(control->widget());
}

// The field takes the focus, its window the operator's.
inline QLineEdit* Focus(ui::Control* control) {
    QLineEdit* field = FieldOf(control);
    QApplication::setActiveWindow(field->window());
    field->setFocus(Qt::MouseFocusReason);
    return field;
}

// Types the text key by key at the end of what the field shows.
inline void Type(ui::Control* control, const std::string& text) {
    QLineEdit* field = Focus(control);
    field->end(false);
    QTest::keyClicks(field, QString::fromUtf8(text.c_str()));
}

// Replaces what the field shows by the text, typed key by key, as after selecting it all.
inline void TypeOver(ui::Control* control, const std::string& text) {
    QLineEdit* field = Focus(control);
    field->selectAll();
    QTest::keyClicks(field, QString::fromUtf8(text.c_str()));
}

inline void PressEnter(ui::Control* control) {
    QTest::keyClick(FieldOf(control), Qt::Key_Return);
}

// The focus goes to another control, as when the operator clicks there.
inline void MoveFocus(ui::Control* to) {
    to->widget()->setFocus(Qt::MouseFocusReason);
}

}  // namespace operator_hand
