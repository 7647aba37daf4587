#pragma once
// The AR5000 panel's two dialogs, modeless windows of the main window that the panel owns:
// RAR5000 sets how the receiver's own scan runs, PAR5000 the receiver's extra functions.
// Each change goes to the receiver at once through the panel.

#include <array>
#include <cstdint>

#include "ui/controls.h"
#include "ui/form.h"

class AR5000;

// What the two dialogs share: they belong to the panel, build their controls when their window
// is made, and a right click runs the operator's macro as on the panel.
class Ar5000Dialog : public ui::Form {
  protected:
    Ar5000Dialog(AR5000& panel, const ui::FormResource& form);
    // Makes the window (child of `parent`) unless it is there; false when it cannot be made.
    bool MakeWindow(ui::Form* parent);
    virtual void CreateControls() = 0;
    virtual void Wire() = 0;

    AR5000& panel_;

  private:
    const ui::FormResource& form_;
};

class RAR5000 : public Ar5000Dialog {
  public:
    explicit RAR5000(AR5000& panel);
    ~RAR5000() override;

    // Creates the window (child of `parent`) or shows it again, set from the panel.
    void Open(ui::Form* parent);
    // The panel's scan settings onto the controls again.
    void Refresh();

    ui::OptionButton* diapscan = nullptr;
    ui::OptionButton* bankscan = nullptr;
    ui::OptionButton* VFOscan = nullptr;
    ui::CheckBox* AUTO = nullptr;
    std::array<ui::CheckBox*, 10> memoryBoxes{};  // checkbox_1 .. checkbox_10: banks 0..9
    std::array<ui::CheckBox*, 20> searchBoxes{};  // checkbox_11 .. checkbox_30: banks 00..19
    ui::Slider* value = nullptr;
    ui::Slider* value2 = nullptr;
    ui::Edit* textb_1 = nullptr;  // pause, seconds
    ui::Edit* textb_3 = nullptr;  // delay, seconds
    ui::CheckBox* delay = nullptr;
    ui::CheckBox* modscan = nullptr;
    std::array<ui::OptionButton*, 5> modes{};  // NFM, AM, LSB, USB, CW
    ui::ComboBox* pausemode = nullptr;
    ui::ComboBox* jobs = nullptr;
    ui::CheckBox* selscan = nullptr;
    ui::CheckBox* voice = nullptr;
    ui::CheckBox* hold = nullptr;
    ui::CheckBox* link = nullptr;
    ui::CheckBox* Lev_box = nullptr;
    ui::Label* sbank = nullptr;
    ui::Label* bank = nullptr;
    ui::Label* textb_2 = nullptr;

  private:
    void CreateControls() override;
    void Wire() override;
    void ChooseKind(int kind);
    void BanksChanged();
    void ShowModeBoxes();

    bool filling_ = false;  // the controls are being set from the panel
};

class PAR5000 : public Ar5000Dialog {
  public:
    explicit PAR5000(AR5000& panel);
    ~PAR5000() override;

    // Creates the window (child of `parent`) or shows it again; the receiver is asked for
    // its extra settings first.
    void Open(ui::Form* parent);
    void Refresh();

    ui::OptionButton* Fnar = nullptr;
    ui::OptionButton* Fwide = nullptr;
    ui::OptionButton* Anar = nullptr;
    ui::OptionButton* Awide = nullptr;
    ui::OptionButton* Wnar = nullptr;
    ui::OptionButton* att10 = nullptr;
    ui::OptionButton* att20 = nullptr;
    ui::OptionButton* attAU = nullptr;
    std::array<ui::OptionButton*, 4> ant{};  // ant1 .. ant4
    ui::OptionButton* if_off = nullptr;
    ui::OptionButton* if_1 = nullptr;
    ui::OptionButton* if_2 = nullptr;
    ui::OptionButton* bank1 = nullptr;
    ui::OptionButton* bank2 = nullptr;
    ui::CheckBox* tune = nullptr;
    ui::ComboBox* cw_pitch = nullptr;
    ui::ComboBox* de_emphasis = nullptr;
    ui::ComboBox* LPF = nullptr;
    ui::ComboBox* HPF = nullptr;

  private:
    void CreateControls() override;
    void Wire() override;
};
