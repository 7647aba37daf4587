// The parameter panels of the parameters page (stages 11 to 13 of the start-up), and the
// calibration window of the calibration button.

#include "app/orvel_parameters.h"

#include "app/orvel.h"
#include "app/orvel_windows.h"

namespace {

// The calibration window stands this many pixels into the main window's client area.
constexpr int kCalibrationInset = 3;

}  // namespace

void ORVEL::CreateParameterPanels() {
    parameterPanels = std::make_unique<OrvelParameterPanels>();
    EnterStage(11);
    if (parameterPanels->bankScan.Create(this, this)) {
        parameterPanels->bankScan.Hide();
        subWindows.pfreq = &parameterPanels->bankScan;
    }
    EnterStage(12);
    if (parameterPanels->rangeScan.Create(this, this)) {
        parameterPanels->rangeScan.Hide();
        subWindows.pdiap = &parameterPanels->rangeScan;
    }
    EnterStage(13);
    if (parameterPanels->tags.Create(this, this)) {
        parameterPanels->tags.Hide();
        subWindows.base = &parameterPanels->tags;
    }
}

void ORVEL::DeleteParameterPanels() {
    if (!parameterPanels) return;
    subWindows.pfreq = subWindows.pdiap = subWindows.base = nullptr;
    // The page gets its own form back before the panel on it goes.
    OrvelParameterPanels& panels = *parameterPanels;
    for (const ui::Form* panel :
         {static_cast<ui::Form*>(&panels.bankScan), static_cast<ui::Form*>(&panels.rangeScan),
          static_cast<ui::Form*>(&panels.tags)})
        if (tabctrl_1 != nullptr && pages[7] && tabctrl_1->Page(7) == panel)
            tabctrl_1->SetPage(7, pages[7].get());
    parameterPanels.reset();
}

void ORVEL::ToggleCalibration() {
    if (StudyOpen) {
        ShowError(47);
        return;
    }
    if (!windows) return;
    if (CalibrOpen && windows->calibration) {
        windows->calibration.reset();
        return;
    }
    auto window = std::make_unique<Calibr>();
    if (!window->Create(this, this)) return;
    const ui::Rect main = Geometry();
    ui::Rect place = window->Geometry();
    place.x = main.x + kCalibrationInset;
    place.y = main.y + kCalibrationInset;
    window->Move(place);
    window->Show();
    windows->calibration = std::move(window);
}
