#include "receivers/aor/ar5000/ar5000_form.h"

namespace ar5000 {

namespace {

constexpr ui::ControlResource kControls[] = {UI_CONTROL_ROWS(AR5000_CONTROLS)};

}  // namespace

const ui::FormResource kForm{"ID_AR5000",       283,     209,      "8.MS Sans Serif",
                             ui::style::kChild, nullptr, kControls};

}  // namespace ar5000
