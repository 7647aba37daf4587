#pragma once
// The main window: the journal tree on the left, a column of picture buttons, the
// eight-page tab control, the bottom bar with start, pause, frequency, step, modulation
// buttons and level bar, and the status bar. Its FDX part is the program state.
//
// It keeps the window, its controls, the start-up and the shutdown, and wires the parts that do
// the work: the receiver dispatch (`receiver`), the status line (`statusLine`), the scan engine
// (`scan`), the job executor (`jobs`), the item store with the journal (`store`) and the windows
// of the tab pages (`windows`). Its User event hands each code to the part it belongs to.

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/item_store.h"
#include "app/job_executor.h"
#include "app/journal.h"
#include "app/journal_tree.h"
#include "app/line.h"
#include "app/orvel_resources.h"
#include "app/orvel_store_host.h"
#include "app/page_form.h"
#include "app/receiver_dispatch.h"
#include "app/receiver_watch.h"
#include "app/scan_engine.h"
#include "app/status_line.h"
#include "app/sub_windows.h"
#include "receivers/comm.h"
#include "state/fdx.h"
#include "state/user_fono.h"
#include "ui/controls.h"
#include "ui/post.h"
#include "ui/timer.h"
#include "windows/wait.h"

class OrvelLinks;
class OrvelWindows;
struct OrvelEditors;
struct OrvelParameterPanels;

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
    UI_FORM_CONTROLS(ORVEL_CONTROLS)
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
    Wait wait;  // shown around long receiver transfers and loads
    void ShowWait(bool shown);
    Comm comm;  // the serial link to the receiver; FDX::Port points here
    // The calendar clock of the timer, the bank series, the journal lines and the job lines;
    // empty: the system's. Tests set it.
    std::function<std::time_t()> CalendarClock;
    // The bytes free on the disk of a folder, none when unknown; empty: as the file system
    // says. Tests set it.
    std::function<std::optional<std::uintmax_t>(const std::string& folder)> FreeSpace;
    // The windows posted to by their role; see SubWindows.
    SubWindows subWindows;
    // The windows that are open only at times (the channel list, the study) or still to come
    // (manual control); posting to them goes nowhere while they are not set.
    struct AuxWindows {
        ui::Form* hfreq = nullptr;
        ui::Form* View = nullptr;
        ui::Form* Limb = nullptr;
    } auxWindows;
    // The range window's scale drawing (diap::DrawScale), called when the group window
    // chooses a range; the range window connects it.
    std::function<void()> DrawRangeScale;
    // The bank window's chart scroll bar (freq::UpdateScrollBar), set up as a bank scan
    // starts; the bank window connects it.
    std::function<void()> UpdateBankScrollBar;

  private:
    // What the scan engine and the job executor ask of the window (orvel_links.cpp); made
    // before them.
    std::unique_ptr<OrvelLinks> links_;

  public:
    ReceiverDispatch receiver;
    // A port whose line hung up and a receiver that does not answer its sync (PostSerialData
    // with the port's HungUp set, the panel's PostReceiverState after a sync).
    ReceiverWatch watch{*this, comm, receiver};
    StatusLine statusLine;
    ScanEngine scan;
    JobExecutor jobs;
    // The settings dialog, shown on the parameters page when the operator picks it.
    std::unique_ptr<line> settings;
    std::unique_ptr<UserFono> phonogram_;  // the current phonogram (FDX::Phonogram)

    // True once the start-up ran to its end; a failed start saves nothing at the close.
    bool Started = false;
    // Called as the start-up enters each stage (1..20): tests make a stage fail here.
    std::function<void(uint32_t stage)> OnStartStage;

    // Steps of the start-up routine.
    void ApplyLargeScreenLayout();
    void OpenSerialPort();

    // --- Journal, stored items, controls
    // The journal of stored items, mirrored by `op` through journalTree. The item store builds
    // and keeps it and does all that is done to stored items; what it asks of the main window
    // goes through storeHost_ (orvel_store_host.cpp).
    Journal journal;
    std::unique_ptr<JournalTree> journalTree;

  private:
    OrvelStoreHost storeHost_{*this};

  public:
    ItemStore store{*this, journal, storeHost_};
    bool Tuning = false;  // a plus, minus or arrow step is being applied

    // The windows of the tab pages and the shared picture they draw (orvel_windows.cpp).
    std::unique_ptr<OrvelWindows> windows;
    void CreateWindows();
    void DeleteWindows();
    void LendSharedPicture(int32_t page);  // the selected tab's window owns the shared picture
    void ServeChannelList(uint32_t code);  // PostOpenHfreq, PostHfreqClosed
    void OpenStudy(bool toggle);           // the detailed study's button and job object
    // The print button and job object 28: the report texts of the tab page and of the item
    // selected, then the print form over them (message 52 when it cannot be made).
    void BuildReportText();
    // The study's curves: the tab shown chooses their sources (SetStudySourceKinds), which
    // PostAnalysisUpdate binds again (UpdateStudySources); the receiver's curves follow the
    // tuning (FollowStudyMarkers).
    void SetStudySourceKinds(int32_t page);
    void UpdateStudySources();
    void FollowStudyMarkers();
    void ScrollGroupRanges(uint32_t code);  // PostRepaintRange, PostGroupRepaintRange
    // The job window on tab page 4, the manual control and the macro binding
    // (orvel_editors.cpp).
    std::unique_ptr<OrvelEditors> editors;
    void CreateEditors();
    void DeleteEditors();
    void ToggleManualControl();  // the manual-control button
    void OpenMacroBinding();     // the macro button
    // The bank-scan, range-scan and scale tag panels of the parameters page, and the
    // calibration window of the calibration button (orvel_parameters.cpp).
    std::unique_ptr<OrvelParameterPanels> parameterPanels;
    void CreateParameterPanels();
    void DeleteParameterPanels();
    void ToggleCalibration();

    // Main-window controls.
    void ShowFrequency();
    void ShowStep();
    void ResetSelection();
    void SelectWorkMode(int32_t page);  // the tab control's Select: the work mode
    void SwitchToTab(int32_t page);     // a load that shows its tab
    void EnterFrequency(const std::string& text);
    void EnterStep(const std::string& text);
    void FillFrequencyHistory();
    void FillStepHistory();
    void ChooseFrequency(int index);
    void ChooseStep(int index);
    void StepFrequency(int64_t delta);  // the arrows: one step up (positive) or down
    void FrequencyPlus();
    void FrequencyMinus();
    // The buttons "Создать Диапазон из выделенного" and "Создать Фиксированную частоту из
    // выделенной": a pending selection is taken or reset first, else the item is made.
    void RangeButton();
    void FixedButton();
    // The name of the fixed frequency that holds the current frequency, in status pane 7.
    void ShowScaleName();

  private:
    void WireJournalAndControls();
    std::vector<std::unique_ptr<ui::EventTable>> controlEvents_;
    // --- (end of journal, stored items, controls)

  public:
    // --- Receiver panel: made by the panel registry at start-up for the configured type.
    // The configured receiver has no panel: the program runs without one this time.
    bool ReceiverMissing = false;
    bool CreateReceiverPanel(int32_t type);
    void CreatePanelOrGoOn();
    void DeleteReceiverPanel();

    // --- Settings file
    // ORVEL.CFG: read once at start-up, composing the start-up job in the run buffer; written
    // by the close, which a failure stops (message 1).
    bool LoadConfig();
    bool SaveConfig();
    // --- (end of settings file)

    // --- The start button and the scan's view on the controls (orvel_controls.cpp)
    void StartButton();  // the start button: end a running job, else start or stop a scan
    void ShowStopLabel();
    void ShowStartLabel();
    // A job run's end: the "СТОП" a scan of the run left while no scan runs goes with the lock.
    void ReturnControlsAfterRun();
    // The level of manual tuning; it also goes into the current levels of every loaded range
    // that holds the frequency.
    void ShowCurrentLevel();
    void ShowModulation();
    bool ControlsLocked = false;  // a scan locked the main window's controls

    // --- The main timer (orvel_timer.cpp)
    int64_t FirstTick = 0;  // ui::Clock time of the first tick
    uint32_t UpTime = 0;    // milliseconds since the first tick
    std::time_t Now = 0;    // calendar time of the last tick, and its local time
    std::tm NowLocal{};
    // The one-second pacing and the seconds value the clock label shows.
    int32_t SecondCountdown = 0;
    int32_t ShownSecond = -1;
    uint8_t StepUpRequest = 0;  // the step keys' requests for the bank window
    uint8_t StepDownRequest = 0;
    std::time_t CalendarNow() const;

    // The close runs (its questions, its saves): a second close waits for it to return.
    bool Closing() const { return closing_; }
    // The display is gone and the process ends without the windows' close: saves what the close
    // saves (unless the close already has) and closes the port; false when the save failed.
    bool SaveWithoutDisplay();

  private:
    bool closing_ = false;
    void OnCreate();
    void CreateControls();
    void SetPictures();
    void CreatePages();
    void InitMainForm();
    void StartUp();
    void EnterStage(uint32_t stage);
    bool OnClose(ui::EventData& e);
    bool SaveAtClose();
    bool HasUnsavedWork() const;
    void OnUserEvent(uint32_t code);
    // The codes of the window's own share: the receiver's state, the status line, tune
    // requests, step keys, and the codes it passes on to the windows (orvel_codes.cpp).
    void OnWindowCode(uint32_t code);
    // A sync of the receiver panel ended: job lines and scans that waited for it go on.
    void ReceiverSynced(bool answered);
    void StepKey(int direction);
    void OnTimer();
    void OnDestroy();
    void Shutdown();
};
