#include "receivers/icom/civ_memory/civ_scan_dialog.h"

#include "receivers/icom/civ_memory/civ_memory_panel.h"

CivScanDialog::CivScanDialog(CivMemoryPanel& panel, const ui::FormResource& form)
    : PanelDialog(panel, form), civPanel_(panel) {}

void CivScanDialog::ShowScan(const CivScanSettings& scan, uint32_t depth, uint32_t sound) {
    ShowFlags(Regimes(), scan);
    ShowValue(Depths(), depth);
    CivMemoryPanel::ShowLevel(soundlvl, sound);
}

void CivScanDialog::WireScan(CivScanSettings& scan, uint32_t& depth, uint32_t& sound) {
    WireFlags(Regimes(), scan);
    WireValue(Depths(), depth);
    WireLevel(soundlvl, sound);
}

void CivScanDialog::WireLevel(ui::Slider* slider, uint32_t& level, const char* command) {
    slider->SetRange(0, CivMemoryPanel::kSliderTop);
    civPanel_.WireLevelSlider(slider, level, command);
}

std::array<CivScanDialog::FlagOption<CivScanSettings>, 3> CivScanDialog::Regimes() const {
    return {{{diapscan, &CivScanSettings::RangeScan},
             {bankscan, &CivScanSettings::BankScan},
             {handscan, &CivScanSettings::ManualScan}}};
}

std::array<CivScanDialog::ValueOption, 3> CivScanDialog::Depths() const {
    return {
        {{att10, civPanel_.Depth(0)}, {optb_1, civPanel_.Depth(1)}, {optb_2, civPanel_.Depth(2)}}};
}
