// The controls that hold a position in a range: up-downs, progress bars, sliders and scroll
// bars.

#include "ui/controls.h"

#include <QProgressBar>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/controls_shared.h"

namespace ui {

// ---- up-down, progress ----

UpDown::UpDown(QWidget* parent, int number) : Control(ControlKind::UpDown, number) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int delta : {+1, -1}) {
        auto* arrow = new QToolButton(box);
        arrow->setArrowType(delta > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(arrow);
        QObject::connect(arrow, &QToolButton::clicked,
                         [this, delta] { AfterInput(this, [this, delta] { Press(delta); }); });
    }
    Attach(box);
}

void UpDown::SetRange(int low, int high) {
    low_ = low;
    high_ = high;
    position_ = std::clamp(position_, std::min(low, high), std::max(low, high));
}

void UpDown::SetPosition(int position) {
    position_ = std::clamp(position, std::min(low_, high_), std::max(low_, high_));
}

void UpDown::Press(int delta) {
    EventData data;
    data.id = EventId::DeltaPosition;
    data.value = int64_t(delta) * acceleration_;
    if (Raise(data) && data.cancel) return;
    SetPosition(position_ + int(data.value));
}

ProgressBar::ProgressBar(QWidget* parent, int number) : Control(ControlKind::ProgressBar, number) {
    auto* bar = new QProgressBar(parent);
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    Attach(bar);
}

static QProgressBar* Bar(const Window* w) {
    return static_cast<QProgressBar*>(w->widget());
}

void ProgressBar::SetMaximum(int maximum) {
    if (auto* b = Bar(this)) b->setMaximum(maximum);
}
int ProgressBar::Maximum() const {
    return Bar(this) ? Bar(this)->maximum() : 0;
}
void ProgressBar::SetPosition(int position) {
    if (auto* b = Bar(this)) b->setValue(std::clamp(position, b->minimum(), b->maximum()));
}
int ProgressBar::Position() const {
    return Bar(this) ? Bar(this)->value() : 0;
}
void ProgressBar::StepIt() {
    SetPosition(Position() + step_);
}
void ProgressBar::SetBarColor(Color color) {
    if (auto* b = Bar(this)) {
        QPalette p = b->palette();
        p.setColor(QPalette::Highlight, QColor::fromRgb(color));
        b->setPalette(p);
    }
}

// ---- slider, scroll bar ----

Slider::Slider(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::Slider, number) {
    auto* slider =
        new QSlider(styleBits & style::kVertical ? Qt::Vertical : Qt::Horizontal, parent);
    slider->setTickPosition(QSlider::TicksBelow);
    Attach(slider);
    QObject::connect(slider, &QSlider::sliderMoved,
                     [this](int value) { RaiseFromInput(this, EventId::Change, value); });
    QObject::connect(slider, &QSlider::actionTriggered, [this, slider](int action) {
        // Clicks on the track and keys move it too; the new value is set after this signal.
        if (action != QAbstractSlider::SliderMove)
            RaiseFromInput(this, EventId::Change, slider->sliderPosition());
    });
}

static QSlider* SliderOf(const Window* w) {
    return static_cast<QSlider*>(w->widget());
}

void Slider::SetRange(int low, int high) {
    if (auto* s = SliderOf(this)) s->setRange(low, high);
}
void Slider::SetPageStep(int step) {
    if (auto* s = SliderOf(this)) s->setPageStep(step);
}
void Slider::SetPosition(int position) {
    if (auto* s = SliderOf(this)) s->setValue(position);
}
int Slider::Position() const {
    return SliderOf(this) ? SliderOf(this)->value() : 0;
}

ScrollBar::ScrollBar(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::ScrollBar, number) {
    auto* bar =
        new QScrollBar(styleBits & style::kVertical ? Qt::Vertical : Qt::Horizontal, parent);
    Attach(bar);
    QObject::connect(bar, &QScrollBar::sliderMoved,
                     [this](int value) { RaiseFromInput(this, EventId::Change, value); });
    QObject::connect(bar, &QScrollBar::actionTriggered, [this, bar](int action) {
        // Arrows, the track and keys; the new value is set after this signal.
        if (action != QAbstractSlider::SliderMove)
            RaiseFromInput(this, EventId::Change, bar->sliderPosition());
    });
}

static QScrollBar* ScrollBarOf(const Window* w) {
    return static_cast<QScrollBar*>(w->widget());
}

void ScrollBar::SetRange(int low, int high) {
    if (auto* b = ScrollBarOf(this)) b->setRange(low, high);
}
int ScrollBar::Low() const {
    return ScrollBarOf(this) ? ScrollBarOf(this)->minimum() : 0;
}
int ScrollBar::High() const {
    return ScrollBarOf(this) ? ScrollBarOf(this)->maximum() : 0;
}
void ScrollBar::SetPageStep(int step) {
    if (auto* b = ScrollBarOf(this)) b->setPageStep(step);
}
void ScrollBar::SetSingleStep(int step) {
    if (auto* b = ScrollBarOf(this)) b->setSingleStep(step);
}
void ScrollBar::SetPosition(int position) {
    if (auto* b = ScrollBarOf(this)) b->setValue(position);
}
int ScrollBar::Position() const {
    return ScrollBarOf(this) ? ScrollBarOf(this)->value() : 0;
}

}  // namespace ui
