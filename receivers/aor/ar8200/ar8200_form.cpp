#include "receivers/aor/ar8200/ar8200_form.h"

#include "receivers/panel.h"
#include "receivers/panel_dialog.h"

namespace ar8200 {

namespace {

constexpr ui::ControlResource kControls[] = {UI_CONTROL_ROWS(AR8200_CONTROLS)};
constexpr ui::ControlResource kScanControls[] = {UI_CONTROL_ROWS(RAR8200_CONTROLS)};

}  // namespace

const ui::FormResource kForm = PanelForm("ID_AR8200", kControls);
const ui::FormResource kScanForm = PanelDialogForm(
    "ID_RAR8200", 380, 262, "Параметры аппаратного сканирования приемника  AR 8200", kScanControls);

}  // namespace ar8200
