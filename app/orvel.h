#pragma once
// The main window: the journal tree on the left, a column of picture buttons, the
// eight-page tab control, the bottom bar with start, pause, frequency, step, modulation
// buttons and level bar, and the status bar. Its FDX part is the program state.

#include <array>
#include <ctime>
#include <deque>
#include <functional>
#include <memory>

#include "app/item_store.h"
#include "app/journal.h"
#include "app/journal_tree.h"
#include "app/line.h"
#include "app/orvel_store_host.h"
#include "app/page_form.h"
#include "windows/wait.h"
#include "receivers/comm.h"
#include "receivers/panel.h"
#include "receivers/panel_registry.h"
#include "state/fdx.h"
#include "state/user_fono.h"
#include "ui/controls.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

class OrvelWindows;
struct OrvelEditors;

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

    // True once the start-up ran to its end; a failed start saves nothing at the close.
    bool Started = false;
    // Called as the start-up enters each stage (1..20): tests make a stage fail here.
    std::function<void(uint32_t stage)> OnStartStage;

    // Steps of the start-up routine (in the order it runs them).
    void PrepareScaleTags();
    void ApplyLargeScreenLayout();
    void OpenSerialPort();
    void CreateDataFolders();
    void CheckDiskSpace();

    // A hang-up of the line (PostSerialData with the port's HungUp set): the port is closed,
    // a running scan stops, the operator hears of it once, and from then on the timer's
    // one-second tick tries the port again every few seconds until it opens; the panel then
    // synchronises as at start-up.
    void LosePort();
    void RetryLostPort();
    bool PortLost = false;
    int32_t ReopenCountdown = 0;  // seconds to the next try

    // --- Journal, controls, stored items
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
    // The windows that take the tab pages and the parameter page, the phonogram window and the
    // scale tag base: whoever creates one sets it here. Until then what is posted to it goes
    // nowhere, as to any window that is not open.
    struct SubWindows {
        ui::Form* freq = nullptr;
        ui::Form* diap = nullptr;
        ui::Form* group = nullptr;
        ui::Form* job = nullptr;
        ui::Form* info = nullptr;
        ui::Form* signal = nullptr;
        ui::Form* base = nullptr;
        ui::Form* pfreq = nullptr;
        ui::Form* pdiap = nullptr;
    } subWindows;

    // The windows of the tab pages and the shared picture they draw (orvel_windows.cpp).
    std::unique_ptr<OrvelWindows> windows;
    void CreateWindows();
    void DeleteWindows();
    void LendSharedPicture(int32_t page);  // the selected tab's window owns the shared picture
    // The job window on tab page 4, the manual control and the macro binding
    // (orvel_editors.cpp).
    std::unique_ptr<OrvelEditors> editors;
    void CreateEditors();
    void DeleteEditors();
    void ToggleManualControl();  // the manual-control button
    void OpenMacroBinding();     // the macro button

    // Main-window controls.
    void ShowFrequency();
    void ShowStep();
    void ShowModeStatus();
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
    // --- (end of journal, controls, stored items)

  public:
    // --- Receiver dispatch: the panel of the configured type, made by the panel registry at
    // start-up; every operation does nothing without one.
    ReceiverPanel* Panel() const { return panel_.get(); }
    // What the registry says of the configured type's model.
    const PanelTraits& ReceiverTraits() const { return panel_registry::Traits(ReceiverType); }
    // The configured receiver has no panel: the program runs without one this time.
    bool ReceiverMissing = false;
    bool CreateReceiverPanel(int32_t type);
    void CreatePanelOrGoOn();
    void DeleteReceiverPanel();
    bool PostToPanel(uint32_t code);
    void SetModulation(char letter);
    bool ApplyAttenuator();
    void ApplyStep();
    void ApplySound(bool on);
    void CancelReceiver();
    void PollLevel();
    int32_t ModeParameter(char letter);
    int32_t ActiveReceiverParam();
    void SyncReceiverPanel();
    void LockReceiverPanel();
    void NotifyPanelLoaded();
    void RequestPanelBank();
    void PollPanel(bool timerTick);
    void DispatchPanelCode(uint32_t code);
    void TickPanel(bool secondBoundary);
    // The timer's one-second pacing and the seconds value the clock label shows.
    int32_t SecondCountdown = 0;
    int32_t ShownSecond = -1;
    // Called when the level poll read a new level (the level display).
    std::function<void()> OnLevelChanged;

  private:
    std::unique_ptr<ReceiverPanel> panel_;

  public:
    // --- Settings file
    // ORVEL.CFG: read once at start-up, composing the start-up job in the run buffer; written
    // when a close is accepted (message 1 when it cannot be).
    bool LoadConfig();
    bool SaveConfig();
    // --- (end of settings file)

  public:
    // --- Job executor
    // A job runs one line per step. A step takes the line at JobLineIndex and executes it here
    // (main-window objects, journal selections) or posts PostJobStep to the window or receiver
    // panel the line names; whoever executed the line answers with PostJobStep, and that code
    // runs the next step. A loaded run takes its lines from RunLines, an editor run (the job
    // tab's ПУСК, StartJobMode) from EditLines.
    void ExecuteCommand();
    // Starts a loaded run of the JobLineCount lines of RunLines; nothing without lines.
    void StartJob();
    // Copies the lines of the stored job `name` (its folder name, else its identifier) into
    // RunLines; false while a job runs or when there is no such job.
    bool LoadJobForRun(const std::string& name);
    void EndLoadedJob();
    // The job codes of the main window.
    void OnJobStep();      // PostJobStep: the line handed out is done
    void RunMacro();       // PostRunMacro: the macro job or the trigger job, by turns
    void OnJobNotice();    // PostJobNotice: the job window ended the run
    void StartPanelJob();  // PostPanelStartJob: the job a receiver panel named in PanelJobName

  private:
    void ConnectJobExecutor();
    void BeginJobRun();
    void FinishJobRun();
    void SelectJournalLine(JobStr& line);  // a line of the journal (panel 9)
    void ExecuteMainObject(JobStr& line);  // a line of the main window (panel 10)
    ui::Form* JobTarget(uint32_t panel);
    void AnswerJobLine(uint64_t run);
    // Every run has a number of its own: a step posts its answer only while its run goes on,
    // so a line that starts another run leaves one chain of steps, the new run's.
    uint64_t jobRun_ = 0;
    // A line of this run ran: its return code decides a COND.
    bool jobLineRan_ = false;
    // A line of this run is out: its PostJobStep is awaited.
    bool jobAnswerDue_ = false;
    // --- (end of job executor)

  public:
    // --- Scan engine, codes, status line, timer
    // A scan is a chain of codes the main window posts to itself, one frequency per code:
    // 0x7a range and group, 0x8c bank, 0x8d scale, 0xae a job line waiting for a signal.
    // Start and stop go through StartStopScan; the receiver through TuneReceiver, QueryLevel,
    // ShowLevel and TuneAndMeasure.
    void StartButton();  // the start button: end a running job, else start or stop a scan
    void StartStopScan();
    void StartScaleScan();
    void StopScaleScan();
    bool StartBankScan();
    void StopBankScan();
    bool StartRangeScan();
    void StopRangeScan();
    bool StartJobMode();
    void EndJobMode();
    void TuneReceiver();
    bool QueryLevel();
    void ShowLevel(uint32_t frequency);
    void TuneAndMeasure();
    // The first frequency from f on, in steps of the scanned slot, that "Исключение" or
    // "Выделение" lets the scan measure; a frequency beyond Fк as soon as it is reached.
    int64_t NextEligibleFrequency(int64_t f) const;
    // Pause, mode and status line.
    void Pause();  // the ПАУЗА button
    void HoldScan();
    void ReleaseScan();
    void ShowStopLabel();
    void ShowStartLabel();
    void ShowCurrentLevel();
    void ShowModulation();
    void ShowAttenuator();
    void ApplySlotSettings();
    // The codes of the main window's share that OnUserEvent leaves to the scan engine.
    void OnPostedCode(uint32_t code);
    // Step codes of the chain of `code` queued for the run that goes on now: 1 between two
    // steps of a running scan, never more.
    std::size_t LiveScanSteps(uint32_t code) const;

    // Hold state of the running scan.
    bool ResumeRequested = false;  // a release was asked for: the next step clears Paused
    bool ManualPause = false;      // held by the ПАУЗА button or a job: no automatic release
    int32_t HoldCountdown = 0;     // seconds left of a hold; the one-second tick lowers it
    int32_t AppearanceFrequency = 0;     // of the last appearance line of this scan; 0 none
    int32_t DisappearanceFrequency = 0;  // of the last disappearance line; 0 none
    ui::ReplyEvent PauseWait;            // the 300 ms a held step waits
    bool ControlsLocked = false;         // a scan locked the main window's controls
    // The bank scan and its pacing.
    int32_t BankSignalFrequency = 0;  // the last channel whose level passed the threshold
    int32_t BankSkipCount = 0;        // empty channels passed over since the timer reset it
    uint8_t SkipWarningArmed = 0;     // the poll-period warning is still to be given
    std::time_t BankScanStart = 0;
    int32_t BankPaceCountdown = 0;  // timer ticks to the next check of the bank's pace
    // The main timer.
    int64_t FirstTick = 0;  // ui::Clock time of the first tick
    uint32_t UpTime = 0;    // milliseconds since the first tick
    std::time_t Now = 0;    // calendar time of the last tick, and its local time
    std::tm NowLocal{};
    uint8_t StepUpRequest = 0;  // the step keys' requests for the bank window
    uint8_t StepDownRequest = 0;
    int32_t LevelPollRetries = 0;  // seconds without a level (the AUTO poll)
    // The calendar clock of the timer, the bank series and the journal lines; empty: the
    // system's. Tests set it.
    std::function<std::time_t()> CalendarClock;
    std::time_t CalendarNow() const;
    // Windows still to come; posting to them goes nowhere until they are set.
    struct AuxWindows {
        ui::Form* hfreq = nullptr;
        ui::Form* View = nullptr;
        ui::Form* Limb = nullptr;
    } auxWindows;
    // The range window's scale drawing (diap::DrawScale), called while the scan scrolls the
    // shown slot to follow itself (SPY); the range window connects it.
    std::function<void()> DrawRangeScale;
    // The job executor's operations the scans and the job mode call (LoadJobForRun, StartJob,
    // ExecuteCommand); the job executor connects them. Empty: no job is loaded or run.
    struct JobExecutorHooks {
        std::function<bool(const std::string& name)> loadForRun;
        std::function<void()> start;
        std::function<void()> executeLine;
    } jobExecutor;

  private:
    void OnRangeScanStep(uint64_t generation);
    void OnBankScanStep(uint64_t generation);
    void OnScaleScanStep(uint64_t generation);
    void OnJobScanStep(uint64_t generation);
    void OnSecondTick();
    void PaceBankScan();
    bool PostScanStep(uint32_t code, uint64_t generation);
    uint64_t TakeStepGeneration(uint32_t code);
    Bank* ScannedSlot();
    void ReleaseReceiver();
    bool StartScanJob(const std::string& name);
    void AppendJournalLine(const Bank& slot, const char* event);
    void FollowScanInRangeWindow(int64_t current);
    bool AdvanceBankChannel(uint64_t generation);
    const UserFreq* ScanBankRecord() const;
    int32_t BankPollPeriod() const;
    void ShowMarkersAndCursor();
    void ApplyTuneRequest();
    void StepKey(int direction);
    // Each start and each stop begins a new run of the scans; a step code carries the run it
    // was posted for and is dropped once that run is over (one chain per run). The job-driven
    // chain has runs of its own.
    uint64_t scanGeneration_ = 1;
    uint64_t jobScanGeneration_ = 1;
    std::array<std::deque<uint64_t>, 4> queuedSteps_;  // per chain, in posting order
    int32_t holdPeak_ = 0;  // the highest level of the point the range scan holds on

    // --- (end of scan engine, codes, status line, timer)

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
    void OnTimer();
    void OnDestroy();
    void Shutdown();
};
