#pragma once
// RAR8000, the AR8000 panel's scan-mode dialog: which scan the panel's scan button starts, the
// banks the scan links, the level and voice analysis, the mode filter of the bank scan, how a
// pause ends and what the panel does when the scan stops on a signal. A modeless window of the
// main window that the panel owns. It sends nothing while it is edited: the settings live in
// the panel, which sends them as it starts the scan.

#include <array>
#include <string>

#include "receivers/aor/aor_scan_dialog.h"
#include "receivers/aor/ar8000/ar8000_form.h"

class AR8000;
struct AorScanSettings;

class RAR8000 : public AorScanDialog {
  public:
    explicit RAR8000(AR8000& panel);

    UI_FORM_CONTROLS(RAR8000_CONTROLS)
    std::array<ui::CheckBox*, 20> links{};     // AR8000::kLinkLetters in order
    std::array<ui::OptionButton*, 6> modes{};  // by mode digit: wfm, nfm, am, usb, lsb, cw

  private:
    void CreateControls() override;
    void Wire() override;
    void ShowSettings() override;
    std::array<FlagBox<AorScanSettings>, 4> Boxes() const;
    void WireScan();
    void ShowEnabled();
    void ShowDelay();
    void TakeDelay(int64_t seconds);

    AR8000& panel_;
};
