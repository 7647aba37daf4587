#pragma once
// The settings dialog: shows the settings of ORVEL.INI on the main window's parameters
// page and writes them. Options take effect as soon as they are written; receiver type,
// port and speed at the next start, which message 3 tells the operator.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/controls.h"

class FDX;

class line : public ui::Form {
  public:
    line();
    ~line() override;

    // Creates the form from "ID_line" under parent, working on fdx (null: the state given
    // before). False without a state or when the window exists already.
    bool Create(ui::Form* parent, FDX* fdx);

    // Handles a posted code: PostRefreshDisplay fills the controls, PostSaveSettings
    // writes ORVEL.INI. Other codes are not for this form.
    void OnUserEvent(uint32_t code);
    // Shows the state in the controls; the job list offers FDX::Jobs with the entry
    // FDX::AutoexecIndex chosen (0: no job), both set by the main window beforehand.
    void FillControls();
    // Writes ORVEL.INI from the controls and takes the options over.
    void WriteSettings();

    // Controls, owned by the form; empty until the create event.
    ui::ComboBox* com = nullptr;
    ui::Label* label_1 = nullptr;
    ui::ComboBox* speed = nullptr;
    ui::Label* label_2 = nullptr;
    ui::Label* label_3 = nullptr;
    ui::ComboBox* recv = nullptr;
    ui::Label* label_4 = nullptr;
    ui::CommandButton* cb_1 = nullptr;
    ui::OptionButton* natural = nullptr;
    ui::OptionButton* one_cycle = nullptr;
    ui::OptionButton* one_mes = nullptr;
    ui::GroupBox* groupb_1 = nullptr;
    ui::GroupBox* groupb_2 = nullptr;
    ui::CheckBox* recv_save = nullptr;
    ui::CheckBox* scan_save = nullptr;
    ui::CheckBox* autovalue = nullptr;
    ui::CheckBox* spy = nullptr;
    ui::ComboBox* autoexec = nullptr;
    ui::Label* label_7 = nullptr;
    ui::CheckBox* dB = nullptr;
    ui::CheckBox* algroup = nullptr;
    ui::CheckBox* sound = nullptr;
    ui::Edit* plusFt = nullptr;
    ui::Label* label_5 = nullptr;
    ui::Edit* minFt = nullptr;
    ui::Label* label_6 = nullptr;
    ui::CheckBox* end_scan = nullptr;
    ui::CheckBox* lg = nullptr;
    ui::CheckBox* monitor = nullptr;

  private:
    void OnCreate();
    void CreateControls();
    void FillFixedLists();
    void WireEvents();
    void InitControls();
    void OnDestroy();
    void OnOneMesClick();

    FDX* fdx_ = nullptr;                        // the state worked on: the main window's
    int32_t shownReceiver_ = 0;                 // receiver list index shown by the last fill
    std::vector<std::string> shownJobFolders_;  // folders of the job list's entries 1..
};
