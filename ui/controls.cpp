// The buttons, labels, frames and the edit field.

#include "ui/controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>
#include <utility>

#include "ui/controls_shared.h"
#include "ui/text.h"

namespace ui {

CommandButton::CommandButton(QWidget* parent, int number)
    : Control(ControlKind::CommandButton, number) {
    auto* button = new QPushButton(parent);
    Attach(button);
    QObject::connect(button, &QPushButton::clicked,
                     [this] { RaiseFromInput(this, EventId::Click); });
}

PictureButton::PictureButton(QWidget* parent, int number)
    : Control(ControlKind::PictureButton, number) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(false);
    Attach(button);
    QObject::connect(button, &QToolButton::clicked,
                     [this] { RaiseFromInput(this, EventId::Click); });
}

void PictureButton::SetPicture(int width, int height, const std::vector<Color>& pixels) {
    auto* button = static_cast<QToolButton*>(widget());
    if (!button) return;
    const QPixmap pixmap = PixmapFrom(width, height, pixels);
    button->setIcon(QIcon(pixmap));
    button->setIconSize(pixmap.size());
}

Label::Label(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::Label, number) {
    auto* label = new QLabel(parent);
    Qt::Alignment align = Qt::AlignLeft;
    if (styleBits & style::kCentered) align = Qt::AlignHCenter;
    if (styleBits & style::kRight) align = Qt::AlignRight;
    label->setAlignment(align | Qt::AlignTop);
    label->setWordWrap(!(styleBits & style::kNoWrap));
    Attach(label);
}

namespace {

// Where a control's mark stands, in global pixels: an option button's circle, a check box's
// box, else the middle of the control.
double MarkCentre(const QWidget* w) {
    const auto* radio = qobject_cast<const QRadioButton*>(w);
    const auto* check = qobject_cast<const QCheckBox*>(w);
    if (radio == nullptr && check == nullptr)
        return w->mapToGlobal(QPointF(w->rect().center())).x();
    QStyleOptionButton option;
    option.initFrom(w);
    option.rect = w->rect();
    const QRect indicator = w->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, w);
    return w->mapToGlobal(QPointF(indicator.center())).x();
}

// The centres of the first and last words of the text, in pixels from its start.
std::pair<double, double> OuterWordCentres(const QString& text, const QFont& font) {
    const QFontMetricsF metrics(font);
    const auto centre = [&](qsizetype start, qsizetype end) {
        return metrics.horizontalAdvance(text.left(start)) +
               metrics.horizontalAdvance(text.mid(start, end - start)) / 2;
    };
    qsizetype first = 0;
    while (first < text.size() && text[first] == ' ') ++first;
    qsizetype firstEnd = first;
    while (firstEnd < text.size() && text[firstEnd] != ' ') ++firstEnd;
    qsizetype lastEnd = text.size();
    while (lastEnd > 0 && text[lastEnd - 1] == ' ') --lastEnd;
    qsizetype last = lastEnd;
    while (last > 0 && text[last - 1] != ' ') --last;
    return {centre(first, firstEnd), centre(last, lastEnd)};
}

}  // namespace

void Label::SpreadWordsUnder(const Window& first, const Window& last) {
    auto* label = static_cast<QLabel*>(widget());
    if (!label || !first.widget() || !last.widget()) return;
    QFont font = label->font();
    font.setWordSpacing(0);
    const QString text = label->text();
    // Between the first word and the last lie as many runs of blanks as words less one; each
    // run takes the word spacing once.
    const int runs = int(text.split(' ', Qt::SkipEmptyParts).size()) - 1;
    if (runs > 0) {
        const auto [from, to] = OuterWordCentres(text, font);
        const double wanted = MarkCentre(last.widget()) - MarkCentre(first.widget());
        font.setWordSpacing((wanted - (to - from)) / runs);
    }
    label->setFont(font);
}

GroupBox::GroupBox(QWidget* parent, int number) : Control(ControlKind::GroupBox, number) {
    Attach(new QGroupBox(parent));
}

PictureBox::PictureBox(QWidget* parent, int number) : Control(ControlKind::PictureBox, number) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    Attach(label);
}

void PictureBox::SetPicture(int width, int height, const std::vector<Color>& pixels) {
    if (auto* label = static_cast<QLabel*>(widget()))
        label->setPixmap(PixmapFrom(width, height, pixels));
}

OptionButton::OptionButton(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::OptionButton, number) {
    QAbstractButton* button = nullptr;
    if (styleBits & style::kPushLike) {
        auto* push = new QPushButton(parent);
        push->setCheckable(true);
        button = push;
    } else {
        button = new QRadioButton(parent);
    }
    Attach(button);
    QObject::connect(button, &QAbstractButton::clicked,
                     [this] { RaiseFromInput(this, EventId::Click); });
}

void OptionButton::SetChecked(bool checked) {
    auto* b = static_cast<QAbstractButton*>(widget());
    if (!b) return;
    // The program may clear every option of a group, which the operator cannot.
    QButtonGroup* group = checked ? nullptr : b->group();
    if (group && group->exclusive()) {
        group->setExclusive(false);
        b->setChecked(false);
        group->setExclusive(true);
        return;
    }
    b->setChecked(checked);
}

bool OptionButton::IsChecked() const {
    auto* b = static_cast<QAbstractButton*>(widget());
    return b && b->isChecked();
}

void OptionButton::SetFlat(bool flat) {
    if (auto* push = qobject_cast<QPushButton*>(widget())) push->setFlat(flat);
}

bool OptionButton::IsFlat() const {
    auto* push = qobject_cast<QPushButton*>(widget());
    return push && push->isFlat();
}

CheckBox::CheckBox(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::CheckBox, number) {
    QAbstractButton* box = nullptr;
    if (styleBits & style::kPushLike)
        box = new QPushButton(parent);
    else
        box = new QCheckBox(parent);
    box->setCheckable(true);
    Attach(box);
    QObject::connect(box, &QAbstractButton::clicked,
                     [this] { RaiseFromInput(this, EventId::Click); });
}

void CheckBox::SetChecked(bool checked) {
    if (auto* b = static_cast<QAbstractButton*>(widget())) b->setChecked(checked);
}

bool CheckBox::IsChecked() const {
    auto* b = static_cast<QAbstractButton*>(widget());
    return b && b->isChecked();
}

// A value typed into a field drives a receiver or a stored record: it is taken whole, when the
// typing ends (Enter, or the field losing focus), never key by key. Only an edit of the
// operator's since the text was last taken or set counts.
void ReportTypedText(QLineEdit* field, Window* control) {
    QObject::connect(field, &QLineEdit::editingFinished, [field, control] {
        if (!field->isModified()) return;
        field->setModified(false);
        EventData data;
        data.id = EventId::Change;
        data.text = FromQt(field->text());
        RaiseAfterInput(control, std::move(data));
    });
}

Edit::Edit(QWidget* parent, int number) : Control(ControlKind::Edit, number) {
    auto* edit = new QLineEdit(parent);
    Attach(edit);
    ReportTypedText(edit, this);
}

}  // namespace ui
