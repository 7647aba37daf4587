#pragma once
// Posting a numbered code to a form: the code is queued and arrives later, on the
// user-interface thread, as the form's User event. Callable from any thread; codes arrive in
// the order they were posted, whatever their form and thread.

#include <cstdint>

namespace ui {

class Form;

// False, and nothing is posted, when target is null or has no window.
bool Post(Form* target, uint32_t code);

}  // namespace ui

// The program's name for posting a code of the message bus (state/message_bus.h).
inline bool PostPrivateMessage(ui::Form* target, uint32_t code) {
    return ui::Post(target, code);
}
