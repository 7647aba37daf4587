#pragma once
// Events and handler tables: every form and control raises its events through the
// handlers registered on it, newest first; a handler that returns true stops the event.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

enum class EventId {
    Create,
    Close,
    Destroy,
    Paint,
    User,  // a posted numbered code arrived (EventData::code)
    Timer,
    Click,
    DoubleClick,
    Change,
    Select,
    DropDown,
    DeltaPosition,
    RightButtonDown,
    RightButtonUp,
    LeftButtonDown,
    LeftButtonUp,
    MouseMove,
    MouseLeave,  // the mouse left the control
    BeginLabelEdit,
    EndLabelEdit,
    DragDrop,
    ColumnClick,
    // A key was pressed in a list (EventData::value: the key, as kDeleteKey).
    KeyDown,
    Start,  // application events
    Run,
    End,
    EndSession,  // a logout or a system shutdown asks the program to end
    // The display is gone and the toolkit ends the process: what a close saves is saved now,
    // with no window (EventData::result: the exit code).
    DisplayLost,
};

// Keys a KeyDown event reports, by their Windows key codes.
inline constexpr int64_t kDeleteKey = 0x2e;

class Object;

struct EventData {
    EventId id = EventId::User;
    uint32_t code = 0;     // User: the posted code
    int result = 0;        // Close: 1 refuses the close; Start: exit code
    bool cancel = false;   // Start: abandon the start; EndLabelEdit: refuse the new text
    int64_t value = 0;     // DeltaPosition: the step (+1/-1); Select: the new index
    int x = 0, y = 0;      // mouse position in pixels
    void* item = nullptr;  // tree events: the item concerned
    std::string text;      // EndLabelEdit: the new text; Change: the edit text
};

// A handler receives the object that raised the event; the receiving form is captured.
using Handler = std::function<bool(Object& sender, EventData& data)>;

struct EventEntry {
    EventId id;
    Handler handler;
};
using EventTable = std::vector<EventEntry>;

class Object {
  public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    // Registers every entry of the table; the table must outlive its registration.
    // Later entries and later tables are newer and run first.
    void AddHandlers(const EventTable& table);
    void RemoveHandlers(const EventTable& table);
    // A single handler, kept by the object itself.
    void AddHandler(EventId id, Handler handler);
    // A handler that does its work and lets the event go on to the older handlers.
    void On(EventId id, std::function<void(EventData&)> action);

    // Runs the handlers of data.id newest first; true when one of them stopped the event.
    bool Raise(EventData& data);
    bool Raise(EventId id) {
        EventData data;
        data.id = id;
        return Raise(data);
    }

  private:
    struct Registration {
        const EventTable* table;
        size_t index;
    };
    const EventEntry* Lookup(const Registration& r) const;
    bool IsRegistered(const Registration& r) const;

    std::vector<Registration> registrations_;
    std::vector<std::unique_ptr<EventTable>> ownTables_;
};

}  // namespace ui
