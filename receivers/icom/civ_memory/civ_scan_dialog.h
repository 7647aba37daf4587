#pragma once
// What the scan dialogs of the CI-V sets with a memory (RIC8500, RIC756) have alike: the
// regime the panel's scan button starts, the default attenuator's three depths, the default
// sound level and what a stop of the receiver's scan does. Each model places these controls on
// its own form (rows marked `inherited`, ui/form_controls.h) beside its own.

#include <array>
#include <cstdint>

#include "receivers/icom/civ_memory/civ_scan_settings.h"
#include "receivers/panel_dialog.h"

class CivMemoryPanel;

class CivScanDialog : public PanelDialog {
  public:
    ui::OptionButton* diapscan = nullptr;  // the range between the programmed edges
    ui::OptionButton* bankscan = nullptr;  // the memory
    ui::OptionButton* handscan = nullptr;  // the operator's own at the set (delta F)
    // The model's three attenuator depths, shallowest first.
    ui::OptionButton* att10 = nullptr;
    ui::OptionButton* optb_1 = nullptr;
    ui::OptionButton* optb_2 = nullptr;
    ui::Slider* soundlvl = nullptr;
    ui::ComboBox* pausemode = nullptr;  // the stop's action

  protected:
    CivScanDialog(CivMemoryPanel& panel, const ui::FormResource& form);

    // The shared controls from the settings: `scan` the regime, `depth` the default
    // attenuator's, `sound` the default sound level.
    void ShowScan(const CivScanSettings& scan, uint32_t depth, uint32_t sound);
    // Connects them to the settings, which outlive the dialog.
    void WireScan(CivScanSettings& scan, uint32_t& depth, uint32_t& sound);
    // A level slider of the panel's notches (0..15), each move into `level` and with a
    // `command` to the receiver at once (CivMemoryPanel::WireLevelSlider).
    void WireLevel(ui::Slider* slider, uint32_t& level, const char* command = nullptr);

  private:
    std::array<FlagOption<CivScanSettings>, 3> Regimes() const;
    std::array<ValueOption, 3> Depths() const;

    CivMemoryPanel& civPanel_;
};
