#include "ui/post.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <mutex>
#include <unordered_map>
#include <utility>

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

namespace {
std::atomic<int> foreignPending{0};
}  // namespace

QEvent::Type CodeEvent::Type() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QEvent::Type CodeEvent::ForeignType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CodeEvent::CodeEvent(uint32_t code, bool foreign)
    : QEvent(foreign ? ForeignType() : Type()), code(code), pending_(foreign) {
    if (foreign) ++foreignPending;
}

// Also dropped with a form that went away before it arrived.
CodeEvent::~CodeEvent() {
    Arrived();
}

void CodeEvent::Arrived() {
    if (std::exchange(pending_, false)) --foreignPending;
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
    const bool foreign = QThread::currentThread() != it->second->thread();
    QCoreApplication::postEvent(it->second, new CodeEvent(code, foreign));
    return true;
}

bool ForeignCodesPending() {
    return foreignPending.load() != 0;
}

void DeliverForeignCodes() {
    QCoreApplication::sendPostedEvents(nullptr, CodeEvent::ForeignType());
}

}  // namespace ui
