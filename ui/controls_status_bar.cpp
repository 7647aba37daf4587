// The status bar along the bottom edge of a form.

#include "ui/controls.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

#include "ui/controls_shared.h"
#include "ui/text.h"

namespace ui {

namespace {
// Keeps the status bar along the bottom edge of its form.
class BottomEdgeKeeper : public QObject {
  public:
    BottomEdgeKeeper(QWidget* bar, QWidget* form) : QObject(bar), bar_(bar) {
        form->installEventFilter(this);
        Place(form);
    }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Resize) Place(static_cast<QWidget*>(watched));
        return false;
    }

  private:
    void Place(QWidget* form) {
        const int h = bar_->fontMetrics().height() + 6;
        bar_->setGeometry(0, form->height() - h, form->width(), h);
    }
    QWidget* bar_;
};
}  // namespace

StatusBar::StatusBar(Form* form) : Control(ControlKind::Label, 0) {
    auto* bar = new QFrame(form->widget());
    bar->setFrameShape(QFrame::StyledPanel);
    Attach(bar);
    // The bar takes its own strip below the form's content, as the window's frame would.
    const int h = bar->fontMetrics().height() + 6;
    form->widget()->resize(form->widget()->width(), form->widget()->height() + h);
    new BottomEdgeKeeper(bar, form->widget());
    bar->show();
    SetParts({-1});
}

static std::vector<QLabel*> Parts(const Window* w) {
    std::vector<QLabel*> labels;
    if (!w->widget()) return labels;
    for (QObject* child : w->widget()->children())
        if (auto* label = qobject_cast<QLabel*>(child)) labels.push_back(label);
    return labels;
}

void StatusBar::SetParts(const std::vector<int>& rightEdges) {
    QWidget* bar = widget();
    if (!bar) return;
    for (QLabel* label : Parts(this)) delete label;
    edges_ = rightEdges;
    int left = 0;
    for (int edge : rightEdges) {
        auto* label = new QLabel(bar);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        const int right = edge < 0 ? 4000 : edge;
        label->setGeometry(left + 2, 2, std::max(0, right - left - 2),
                           bar->fontMetrics().height() + 2);
        label->show();
        left = right;
    }
}

int StatusBar::PartCount() const {
    return int(edges_.size());
}

void StatusBar::SetPartText(int part, const std::string& text) {
    auto labels = Parts(this);
    if (part >= 0 && part < int(labels.size())) labels[part]->setText(ToQt(text));
}

std::string StatusBar::PartText(int part) const {
    auto labels = Parts(this);
    return part >= 0 && part < int(labels.size()) ? FromQt(labels[part]->text()) : "";
}

}  // namespace ui
