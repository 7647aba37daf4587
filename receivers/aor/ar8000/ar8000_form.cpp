#include "receivers/aor/ar8000/ar8000_form.h"

namespace ar8000 {

namespace {

constexpr ui::ControlResource kControls[] = {UI_CONTROL_ROWS(AR8000_CONTROLS)};
constexpr ui::ControlResource kScanControls[] = {UI_CONTROL_ROWS(RAR8000_CONTROLS)};

}  // namespace

const ui::FormResource kForm{"ID_AR8000",       283,     209,      "8.MS Sans Serif",
                             ui::style::kChild, nullptr, kControls};
const ui::FormResource kScanForm{"ID_RAR8000",
                                 274,
                                 204,
                                 "8.MS Sans Serif",
                                 ui::style::kCaption,
                                 "Параметры работы с приемником  AR 8000",
                                 kScanControls};

}  // namespace ar8000
