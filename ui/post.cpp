#include "ui/post.h"

#include <QCoreApplication>
#include <mutex>
#include <unordered_map>

#include "ui/form_widget.h"

namespace ui {

namespace {
std::mutex& LiveMutex() {
    static std::mutex m;
    return m;
}
std::unordered_map<Form*, FormWidget*>& LiveForms() {
    static std::unordered_map<Form*, FormWidget*> forms;
    return forms;
}
}  // namespace

QEvent::Type CodeEvent::Type() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void RegisterLiveForm(Form* form, FormWidget* widget) {
    std::lock_guard lock(LiveMutex());
    LiveForms()[form] = widget;
}

void UnregisterLiveForm(Form* form) {
    std::lock_guard lock(LiveMutex());
    LiveForms().erase(form);
}

bool Post(Form* target, uint32_t code) {
    if (!target) return false;
    std::lock_guard lock(LiveMutex());
    auto it = LiveForms().find(target);
    if (it == LiveForms().end()) return false;
    // Qt queues posted events per receiver in order and hands them to its thread.
    QCoreApplication::postEvent(it->second, new CodeEvent(code));
    return true;
}

}  // namespace ui
