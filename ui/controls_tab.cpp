// The tab control, whose pages are forms.

#include "ui/controls.h"

#include <QTabBar>
#include <QTabWidget>

#include "ui/controls_shared.h"
#include "ui/text.h"

namespace ui {

TabControl::TabControl(QWidget* parent, int number) : Control(ControlKind::TabControl, number) {
    auto* tabs = new QTabWidget(parent);
    Attach(tabs);
    QObject::connect(tabs->tabBar(), &QTabBar::tabBarClicked, [this, tabs](int index) {
        // Raised after the page has changed, as the operator sees it.
        if (index >= 0 && index != tabs->currentIndex()) {
            tabs->setCurrentIndex(index);
            RaiseFromInput(this, EventId::Select, index);
        }
    });
}

static QTabWidget* Tabs(const Window* w) {
    return static_cast<QTabWidget*>(w->widget());
}

void TabControl::SetTabSize(int width, int height) {
    // On the tab bar alone: a style sheet over the pages would put the toolkit's own font on
    // the controls of a page that gave up its place and took it again, in place of its form's.
    if (auto* t = Tabs(this))
        t->tabBar()->setStyleSheet(
            QString("QTabBar::tab { width: %1px; height: %2px; }").arg(width).arg(height));
}

int TabControl::AddTab(const std::string& text) {
    auto* t = Tabs(this);
    if (!t) return -1;
    pages_.push_back(nullptr);
    return t->addTab(new QWidget(), ToQt(text));
}

void TabControl::SetPage(int index, Form* page) {
    auto* t = Tabs(this);
    if (!t || index < 0 || index >= t->count() || !page || !page->widget()) return;
    const QString text = t->tabText(index);
    const bool current = t->currentIndex() == index;
    QWidget* old = t->widget(index);
    t->removeTab(index);
    if (pages_[index] == nullptr) {
        delete old;  // the empty page made by AddTab
    } else if (old) {
        // A form that gave up its page stays alive, hidden, under the top-level window.
        old->hide();
        old->setParent(t->window());
    }
    pages_[index] = page;
    t->insertTab(index, page->widget(), text);
    if (current) t->setCurrentIndex(index);
}

Form* TabControl::Page(int index) const {
    return index >= 0 && index < int(pages_.size()) ? pages_[index] : nullptr;
}

int TabControl::TabCount() const {
    return Tabs(this) ? Tabs(this)->count() : 0;
}

std::string TabControl::TabText(int index) const {
    return Tabs(this) ? FromQt(Tabs(this)->tabText(index)) : "";
}

int TabControl::SelectedIndex() const {
    return Tabs(this) ? Tabs(this)->currentIndex() : -1;
}

void TabControl::SetSelectedIndex(int index) {
    if (auto* t = Tabs(this)) t->setCurrentIndex(index);
}

Rect TabControl::PageArea() const {
    auto* t = Tabs(this);
    if (!t) return {};
    const int top = t->tabBar()->sizeHint().height();
    return {2, top + 2, t->width() - 4, t->height() - top - 4};
}

}  // namespace ui
