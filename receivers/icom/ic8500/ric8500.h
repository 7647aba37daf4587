#pragma once
// RIC8500, the IC-R8500 panel's scan-settings dialog: how the receiver's own scan runs, what
// the panel does when it stops on a signal, the filter variants SetMode sends, the default
// attenuator depth and audio level, and the peak and centre settings. It keeps nothing of its
// own: every control writes straight into the panel's settings, which the panel's state file
// keeps.

#include "ui/controls.h"
#include "ui/form.h"

class IC8500;

class RIC8500 : public ui::Form {
  public:
    explicit RIC8500(IC8500& panel);
    ~RIC8500() override;

    // Shows the dialog (made at the first call, a top-level window of `owner`) with the
    // panel's settings as they stand now.
    void Open(ui::Form* owner);

    // Scan kind, channel choice and resume rule.
    ui::OptionButton* diapscan = nullptr;
    ui::OptionButton* bankscan = nullptr;
    ui::OptionButton* handscan = nullptr;
    ui::CheckBox* scanAUTO = nullptr;
    ui::CheckBox* selmode = nullptr;
    ui::CheckBox* modmode = nullptr;
    ui::CheckBox* priofreq = nullptr;
    ui::CheckBox* vsc = nullptr;
    ui::OptionButton* resout = nullptr;
    ui::OptionButton* resdelay = nullptr;
    ui::OptionButton* resoff = nullptr;
    // Filter variants.
    ui::OptionButton* Fnorm = nullptr;
    ui::OptionButton* Fnar = nullptr;
    ui::OptionButton* Cnorm = nullptr;
    ui::OptionButton* Cnar = nullptr;
    ui::OptionButton* Anorm = nullptr;
    ui::OptionButton* Anar = nullptr;
    ui::OptionButton* Awide = nullptr;
    // Default attenuator depth 10, 20, 30 dB.
    ui::OptionButton* att10 = nullptr;
    ui::OptionButton* optb_1 = nullptr;
    ui::OptionButton* optb_2 = nullptr;
    // Levels in steps of 16.
    ui::Slider* soundlvl = nullptr;
    ui::Slider* peaklvl = nullptr;
    ui::Slider* centrelvl = nullptr;
    ui::ComboBox* pausemode = nullptr;
    ui::ComboBox* jobs = nullptr;
    ui::Label* fprio = nullptr;  // the PRIO channel's frequency

  private:
    void OnCreate();
    void Wire();
    void ShowSettings();
    // A filter option chosen: the receiver takes it at once.
    void FilterChosen();

    IC8500& panel_;
};
