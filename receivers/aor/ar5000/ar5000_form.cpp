#include "receivers/aor/ar5000/ar5000_form.h"

#include "receivers/panel.h"

namespace ar5000 {

namespace {

constexpr ui::ControlResource kControls[] = {UI_CONTROL_ROWS(AR5000_CONTROLS)};

}  // namespace

const ui::FormResource kForm = PanelForm("ID_AR5000", kControls);

}  // namespace ar5000
