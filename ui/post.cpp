#include "ui/post.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <deque>
#include <functional>
#include <mutex>
#include <unordered_map>

#include "ui/form.h"
#include "ui/form_widget.h"

namespace ui {

namespace {

// The codes posted and not yet arrived, in the order posted, whatever the window and whichever
// the thread, and among them the calls queued on the user-interface thread (PostCall). Each goes
// with a doorbell on the target's widget (a call's on the bell of the calls) in Qt's queue of
// posted events;
// a doorbell hands over the oldest code there is, so every code arrives by its own doorbell at
// the latest, and codes always arrive in the order posted.
struct QueuedCode {
    Form* form;  // null: a call (PostCall)
    uint32_t code;
    bool foreign;     // posted from another thread (the serial reader's)
    uint64_t number;  // how many codes were posted before it
    std::function<void()> call;
};

struct PostedCodes {
    std::mutex mutex;
    std::unordered_map<Form*, FormWidget*> live;  // the forms that have a window
    std::deque<QueuedCode> queued;
    std::size_t foreignQueued = 0;
    uint64_t posted = 0;
};

PostedCodes& Codes() {
    static PostedCodes codes;
    return codes;
}

}  // namespace

QEvent::Type CodeDoorbell() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

namespace {

// Hands over the oldest code queued when `may` allows it; false when it does not, or when none
// is queued.
template <class May>
bool deliverOldest(May may) {
    PostedCodes& codes = Codes();
    QueuedCode oldest;
    {
        std::lock_guard lock(codes.mutex);
        if (codes.queued.empty() || !may(codes, codes.queued.front())) return false;
        oldest = codes.queued.front();
        codes.queued.pop_front();
        if (oldest.foreign) --codes.foreignQueued;
    }
    // Arrived: no longer queued, though what it sets off may run for long (and post more).
    if (oldest.form == nullptr) {
        oldest.call();
        return true;
    }
    EventData data;
    data.id = EventId::User;
    data.code = oldest.code;
    oldest.form->Raise(data);
    return true;
}

}  // namespace

bool DeliverOldestCode() {
    return deliverOldest([](const PostedCodes&, const QueuedCode&) { return true; });
}

void RegisterLiveForm(Form* form, FormWidget* widget) {
    std::lock_guard lock(Codes().mutex);
    Codes().live[form] = widget;
}

// The codes still on their way to the form go with its window.
void UnregisterLiveForm(Form* form) {
    PostedCodes& codes = Codes();
    std::lock_guard lock(codes.mutex);
    codes.live.erase(form);
    std::erase_if(codes.queued, [&](const QueuedCode& queued) {
        if (queued.form != form) return false;
        if (queued.foreign) --codes.foreignQueued;
        return true;
    });
}

namespace {

// The doorbell of the calls: they are for no form.
class CallBell : public QObject {
  public:
    bool event(QEvent* e) override {
        if (e->type() != CodeDoorbell()) return QObject::event(e);
        DeliverOldestCode();
        return true;
    }
};

}  // namespace

void PostCall(std::function<void()> call) {
    static QPointer<CallBell> bell;
    if (!bell) {
        bell = new CallBell;
        bell->setParent(QCoreApplication::instance());
    }
    PostedCodes& codes = Codes();
    std::lock_guard lock(codes.mutex);
    codes.queued.push_back({nullptr, 0, false, codes.posted++, std::move(call)});
    QCoreApplication::postEvent(bell, new QEvent(CodeDoorbell()));
}

bool Post(Form* target, uint32_t code) {
    if (!target) return false;
    PostedCodes& codes = Codes();
    std::lock_guard lock(codes.mutex);
    auto it = codes.live.find(target);
    if (it == codes.live.end()) return false;
    const bool foreign = QThread::currentThread() != it->second->thread();
    codes.queued.push_back({target, code, foreign, codes.posted++, {}});
    if (foreign) ++codes.foreignQueued;
    // Under the lock: the widget cannot go meanwhile. Qt hands it to the widget's thread.
    QCoreApplication::postEvent(it->second, new QEvent(CodeDoorbell()));
    return true;
}

bool ForeignCodesPendingForTesting() {
    std::lock_guard lock(Codes().mutex);
    return Codes().foreignQueued != 0;
}

uint64_t CodesPostedForTesting() {
    std::lock_guard lock(Codes().mutex);
    return Codes().posted;
}

bool DeliverTowardsForeignCodesForTesting(uint64_t postedBefore) {
    return deliverOldest([&](const PostedCodes& codes, const QueuedCode& oldest) {
        return codes.foreignQueued != 0 && (oldest.foreign || oldest.number < postedBefore);
    });
}

}  // namespace ui
