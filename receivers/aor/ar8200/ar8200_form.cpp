#include "receivers/aor/ar8200/ar8200_form.h"

namespace ar8200 {

namespace {

constexpr ui::ControlResource kControls[] = {UI_CONTROL_ROWS(AR8200_CONTROLS)};
constexpr ui::ControlResource kScanControls[] = {UI_CONTROL_ROWS(RAR8200_CONTROLS)};

}  // namespace

const ui::FormResource kForm{"ID_AR8200",       283,     209,      "8.MS Sans Serif",
                             ui::style::kChild, nullptr, kControls};
const ui::FormResource kScanForm{"ID_RAR8200",
                                 380,
                                 262,
                                 "8.MS Sans Serif",
                                 ui::style::kCaption,
                                 "Параметры аппаратного сканирования приемника  AR 8200",
                                 kScanControls};

}  // namespace ar8200
