#pragma once
// What the AOR sets' scan dialogs (RAR5000, RAR8000, RAR8200) have alike: the scan kind the
// panel's scan button starts, the link boxes of the models that name their banks by letter,
// and what a stop of the receiver's scan does. Each model places these controls on its own
// form (rows marked `inherited`, ui/form_controls.h) beside its own; they work on the panel's
// scan settings (AorPanel::ScanSettings).

#include <functional>
#include <span>
#include <string_view>

#include "receivers/panel_dialog.h"

class AorPanel;
struct AorScanSettings;

class AorScanDialog : public PanelDialog {
  public:
    ui::OptionButton* diapscan = nullptr;  // the search banks' ranges
    ui::OptionButton* bankscan = nullptr;  // the memory banks
    ui::OptionButton* VFOscan = nullptr;   // the VFOs; null where the model offers none
    ui::ComboBox* pausemode = nullptr;     // the stop's action

  protected:
    AorScanDialog(AorPanel& panel, const ui::FormResource& form);

    // The kind's option ticked; without a VFO option, the range search's stands for the VFO
    // scan too.
    void ShowKind();
    // A kind chosen: the scan takes it, and the dialog shows the settings of that kind.
    void WireKinds();
    // Boxes of banks named by letter, `letters` in the boxes' order: each ticked while the
    // links of the kind chosen hold its letter. A click links or unlinks its bank, then runs
    // `then` (what the model does with the links at once), when there is one.
    void ShowLinks(std::span<ui::CheckBox* const> boxes, std::string_view letters);
    void WireLinks(std::span<ui::CheckBox* const> boxes, std::string_view letters,
                   std::function<void()> then = {});
    // The letter a scan setting's command starts with for the scan kind chosen: S the
    // search's, X the bank scan's, D the VFO scan's ("SP", "XD", "DB").
    char KindLetter() const;

  private:
    AorScanSettings& scan_;
};
