// The group window's form resource "ID_group".

#include "windows/group_form.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kGroupControls[] = {UI_CONTROL_ROWS(GROUP_CONTROLS)};

// The window fills the main window's group page.
constexpr ui::FormResource kGroupForm{"ID_group", 283,     209,           "8.MS Sans Serif",
                                      st::kChild, nullptr, kGroupControls};

}  // namespace

void RegisterGroupForm() {
    ui::RegisterFormResource(kGroupForm);
}
