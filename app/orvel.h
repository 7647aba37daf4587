#pragma once
// The main window: the journal tree on the left, a column of picture buttons, the
// eight-page tab control, the bottom bar with start, pause, frequency, step, modulation
// buttons and level bar, and the status bar. Its FDX part is the program state.

#include <array>
#include <functional>
#include <memory>

#include "app/comm.h"
#include "app/line.h"
#include "app/page_form.h"
#include "app/wait.h"
#include "state/fdx.h"
#include "state/user_fono.h"
#include "ui/controls.h"
#include "ui/timer.h"

// Shows FDX's numbered messages and questions through the message box service; the main
// window connects every FDX it hands out to it.
bool ShowFdxMessage(const FDX& fdx, const MessageRequest& request);

class ORVEL : public ui::Form, public FDX {
  public:
    ORVEL();
    ~ORVEL() override;

    // Creates the window from "ID_ORVEL" (no parent); its Create event builds the controls.
    bool Create();

    // Controls, owned by the form; empty until the create event.
    ui::TreeView* op = nullptr;
    ui::TabControl* tabctrl_1 = nullptr;
    ui::GroupBox* groupb_1 = nullptr;
    ui::PictureButton* pictbttn_2 = nullptr;  // load
    ui::PictureButton* pictbttn_3 = nullptr;  // save
    ui::CommandButton* start = nullptr;
    ui::ComboBox* ft = nullptr;  // frequency, MHz
    ui::UpDown* ftup = nullptr;
    ui::OptionButton* nfm = nullptr;
    ui::Label* label_1 = nullptr;
    ui::OptionButton* wfm = nullptr;
    ui::OptionButton* am = nullptr;
    ui::OptionButton* lsb = nullptr;
    ui::OptionButton* usb = nullptr;
    ui::OptionButton* cw = nullptr;
    ui::Label* Jornal = nullptr;
    ui::Label* label_4 = nullptr;
    ui::Label* label_7 = nullptr;
    ui::PictureButton* pictbttn_1 = nullptr;  // clear
    ui::PictureButton* pictbttn_4 = nullptr;  // delete
    ui::PictureBox* pictb_1 = nullptr;
    ui::ProgressBar* progb_1 = nullptr;  // level bar
    ui::CommandButton* pause = nullptr;
    ui::ComboBox* step = nullptr;  // step, kHz
    ui::GroupBox* groupb_2 = nullptr;
    ui::Label* clock = nullptr;
    ui::PictureButton* pictbttn_5 = nullptr;   // manual control
    ui::PictureButton* pictbttn_6 = nullptr;   // minus
    ui::PictureButton* pictbttn_7 = nullptr;   // macro
    ui::PictureButton* pictbttn_8 = nullptr;   // plus
    ui::PictureButton* pictbttn_9 = nullptr;   // fixed frequency from selection
    ui::PictureButton* pictbttn_10 = nullptr;  // range from selection
    ui::PictureButton* pictbttn_11 = nullptr;  // print
    ui::PictureButton* pictbttn_12 = nullptr;  // calibration
    ui::PictureButton* pictbttn_13 = nullptr;  // analysis
    ui::OptionButton* rtty = nullptr;
    ui::StatusBar* statusBar = nullptr;
    ui::Timer timer;
    // The one-label page forms, index 0..7 of the tab control.
    std::array<std::unique_ptr<PageForm>, 8> pages;

    // Set when the timer starts, cleared when a close is accepted: codes that arrive
    // outside that time are ignored.
    bool Alive = false;
    // The type whose receiver panel was created last; 0 before one is.
    int32_t CreatedPanelType = 0;
    // Where the windows that take a tab page place themselves, in the main window.
    ui::Rect PageOrigin;
    Wait wait;  // shown around long receiver transfers
    Comm comm;  // the serial link to the receiver; FDX::Port points here
    // The settings dialog, shown on the parameters page when the operator picks it.
    std::unique_ptr<line> settings;
    std::unique_ptr<UserFono> phonogram_;  // the current phonogram (FDX::Phonogram)

    // The receiver types that have a panel; 5 and 11 are served as 3 and 9 with the
    // variant flag, anything else becomes 10.
    static int32_t MapReceiverType(int32_t type, uint8_t& variant);

    // True once the start-up ran to its end; a failed start saves nothing at the close.
    bool Started = false;
    // Called as the start-up enters each stage (1..20): tests make a stage fail here.
    std::function<void(uint32_t stage)> OnStartStage;

    // Steps of the start-up routine (in the order it runs them).
    void PrepareScaleTags();
    void ApplyLargeScreenLayout();
    void OpenSerialPort();
    void CreateDataFolders();
    // The name of a folder in dir that is `name` in other letter case; empty when none.
    static std::string FindFolderIgnoringCase(const std::string& dir, const std::string& name);
    void CheckDiskSpace();

  private:
    void OnCreate();
    void CreateControls();
    void SetPictures();
    void CreatePages();
    void InitMainForm();
    void StartUp();
    void EnterStage(uint32_t stage);
    bool OnClose(ui::EventData& e);
    void OnUserEvent(uint32_t code);
    void OnDestroy();
    void Shutdown();
};
