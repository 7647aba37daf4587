#include "app/message_bus.h"

#include "ui/post.h"

bool PostPrivateMessage(ui::Form* target, uint32_t code) {
    return ui::Post(target, code);
}
