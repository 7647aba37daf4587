#pragma once
// RAR8200, the AR8200 panel's scan and bank dialog: which scan the panel's scan button starts,
// the receiver's scan configurations and the banks they link, the mode filter of the bank scan,
// the variants of F and A, the pause and delay of a stop, the scans' squelch levels, the noise
// limiter and what the panel does when the scan stops on a signal. A modeless window of the
// main window that the panel owns; every change goes to the receiver at once through the
// panel, after the operator's action is over, and the settings live in the panel.

#include <array>
#include <string>

#include "receivers/aor/aor_scan_dialog.h"
#include "receivers/aor/ar8200/ar8200_form.h"

class AR8200;

class RAR8200 : public AorScanDialog {
  public:
    // The letters of the 40 link boxes in their order: memory banks A..J, a..j, then search
    // banks K..T, k..t.
    static constexpr const char* kLinkLetters = "ABCDEFGHIJabcdefghijKLMNOPQRSTklmnopqrst";

    explicit RAR8200(AR8200& panel);

    UI_FORM_CONTROLS(RAR8200_CONTROLS)
    std::array<ui::CheckBox*, 40> links{};
    std::array<ui::OptionButton*, 10> modes{};  // F W A L U C nF wA nA, all

  private:
    void CreateControls() override;
    void Wire() override;
    void BeforeRefresh() override;
    // The scan kind's configuration as the receiver reports it, then the panel's settings.
    void ShowSettings() override;
    void WireSettings();
    void ChooseConfiguration(int index);
    void OnPause(const std::string& text);
    void OnDelay(const std::string& text);
    void OnHold();
    void SendScanLevel(bool voice, int position);

    AR8200& panel_;
};
