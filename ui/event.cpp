#include "ui/event.h"

#include <algorithm>
#include <memory>

namespace ui {

void Object::AddHandlers(const EventTable& table) {
    for (size_t i = 0; i < table.size(); ++i) registrations_.push_back({&table, i});
}

void Object::RemoveHandlers(const EventTable& table) {
    std::erase_if(registrations_, [&](const Registration& r) { return r.table == &table; });
}

void Object::AddHandler(EventId id, Handler handler) {
    ownTables_.push_back(std::make_unique<EventTable>(EventTable{{id, std::move(handler)}}));
    AddHandlers(*ownTables_.back());
}

void Object::On(EventId id, std::function<void(EventData&)> action) {
    AddHandler(id, [action = std::move(action)](Object&, EventData& data) {
        action(data);
        return false;
    });
}

const EventEntry* Object::Lookup(const Registration& r) const {
    return r.index < r.table->size() ? &(*r.table)[r.index] : nullptr;
}

bool Object::IsRegistered(const Registration& r) const {
    return std::any_of(registrations_.begin(), registrations_.end(), [&](const Registration& x) {
        return x.table == r.table && x.index == r.index;
    });
}

bool Object::Raise(EventData& data) {
    // Handlers may add or remove tables while the event runs (a handler that
    // closes a window unwires it): walk a snapshot and skip what was removed.
    const std::vector<Registration> snapshot = registrations_;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        if (!IsRegistered(*it)) continue;
        const EventEntry* entry = Lookup(*it);
        if (!entry || entry->id != data.id) continue;
        if (entry->handler(*this, data)) return true;
    }
    return false;
}

}  // namespace ui
