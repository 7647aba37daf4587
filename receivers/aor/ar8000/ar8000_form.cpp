#include "receivers/aor/ar8000/ar8000_form.h"

#include "receivers/panel.h"
#include "receivers/panel_dialog.h"

namespace ar8000 {

namespace {

constexpr ui::ControlResource kControls[] = {UI_CONTROL_ROWS(AR8000_CONTROLS)};
constexpr ui::ControlResource kScanControls[] = {UI_CONTROL_ROWS(RAR8000_CONTROLS)};

}  // namespace

const ui::FormResource kForm = PanelForm("ID_AR8000", kControls);
const ui::FormResource kScanForm = PanelDialogForm(
    "ID_RAR8000", 274, 204, "Параметры работы с приемником  AR 8000", kScanControls);

}  // namespace ar8000
