#pragma once
// The main window: the journal tree on the left, a column of picture buttons, the
// eight-page tab control, the bottom bar with start, pause, frequency, step, modulation
// buttons and level bar, and the status bar. Its FDX part is the program state.
//
// It keeps the window, its controls, the journal, the start-up and the shutdown, and wires the
// parts that do the work: the receiver dispatch (`receiver`), the scan engine (`scan`) and
// the job executor (`jobs`). Its User event hands each code to the part it belongs to.

#include <array>
#include <ctime>
#include <functional>
#include <memory>

#include "app/job_executor.h"
#include "app/journal.h"
#include "app/journal_tree.h"
#include "app/line.h"
#include "app/page_form.h"
#include "app/receiver_dispatch.h"
#include "app/scan_engine.h"
#include "app/status_line.h"
#include "app/sub_windows.h"
#include "app/wait.h"
#include "receivers/comm.h"
#include "state/fdx.h"
#include "state/user_fono.h"
#include "ui/controls.h"
#include "ui/post.h"
#include "ui/timer.h"

class OrvelLinks;

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
    // The calendar clock of the timer, the bank series, the journal lines and the job lines;
    // empty: the system's. Tests set it.
    std::function<std::time_t()> CalendarClock;
    // The windows posted to by their role; see SubWindows.
    SubWindows subWindows;
    // Windows still to come; posting to them goes nowhere until they are set.
    struct AuxWindows {
        ui::Form* hfreq = nullptr;
        ui::Form* View = nullptr;
        ui::Form* Limb = nullptr;
    } auxWindows;
    // The range window's scale drawing (diap::DrawScale), called while the scan scrolls the
    // shown slot to follow itself (SPY); the range window connects it.
    std::function<void()> DrawRangeScale;

  private:
    // What the scan engine and the job executor ask of the window (orvel_links.cpp); made
    // before them.
    std::unique_ptr<OrvelLinks> links_;

  public:
    ReceiverDispatch receiver;
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

    // A hang-up of the line (PostSerialData with the port's HungUp set): the port is closed,
    // a running scan stops, the operator hears of it once, and from then on the timer's
    // one-second tick tries the port again every few seconds until it opens; the panel then
    // synchronises as at start-up.
    void LosePort();
    void RetryLostPort();
    bool PortLost = false;
    int32_t ReopenCountdown = 0;  // seconds to the next try

    // --- Journal, controls, stored items
    // The journal of stored items, mirrored by `op`, and its headings (made by BuildJournal).
    Journal journal;
    std::unique_ptr<JournalTree> journalTree;
    JournalItem* RootItem = nullptr;
    JournalItem* PanelFolder = nullptr;
    JournalItem* FixedFolder = nullptr;
    JournalItem* BankFolder = nullptr;
    JournalItem* RangeFolder = nullptr;
    JournalItem* GroupFolder = nullptr;
    JournalItem* JobFolder = nullptr;
    JournalItem* PhonogramFolder = nullptr;
    JournalItem* FrequencyFieldEntry = nullptr;  // "Поле Частота-выбор" with its stored values
    JournalItem* StepFieldEntry = nullptr;  // "Поле Шаг-выбор"
    UserFreq* DefaultBank = nullptr;  // the default bank-scan parameters (the "Банки" record)
    UserDp* DefaultRange = nullptr;   // the default range-scan parameters ("Диапазоны")
    // Working items of the journal.
    uint32_t SelectedSection = 0;
    JournalItem* SelectedBankItem = nullptr;
    JournalItem* EtalonParentItem = nullptr;  // the range a new etalon goes under
    JournalItem* CurrentBankItem = nullptr;   // the working bank's item; new sets go under it
    JournalItem* EditJobItem = nullptr;
    JournalItem* PhonogramItem = nullptr;
    std::array<JournalItem*, kScanSlotCount> SlotItems{};  // the range item of each slot
    bool Tuning = false;         // a plus, minus or arrow step is being applied
    bool EtalonHistory = false;  // a chain of etalons is being loaded

    // Start-up: the journal from the data folders (the root, the catalog's field entries, the
    // headings and every stored item); at the end of the start-up the root is selected again.
    void BuildJournal();
    void ShowJournalRoot();
    // Shutdown: the parameter page gets its own form back and the journal goes.
    void CloseJournal();

    // Building items. Each inserts the record's item with its text rows and returns it; null
    // when it cannot be inserted, the caller then still holding the record. Items kept in
    // alphabetical order go to their sorted place; the start-up, which hands them over already
    // in that order, appends them instead (JournalPlace::Last()) and so searches nothing.
    JournalItem* AddPropertyRow(const std::string& text, JournalItem* item);
    JournalItem* AddRangeItem(std::unique_ptr<UserDp>&& range);
    JournalItem* AddFixedFrequencyItem(std::unique_ptr<UserSc>&& scale);
    JournalItem* AddBankItem(std::unique_ptr<UserFreq>&& bank,
                             JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddGroupItem(std::unique_ptr<UserGrp>&& group,
                              JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddPhonogramItem(std::unique_ptr<UserFono>&& phonogram,
                                  JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddMeasurementItem(JournalItem* bankItem, std::unique_ptr<Meg>&& set,
                                    JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddEtalonItem(JournalItem* rangeItem, std::unique_ptr<Etl>&& etalon,
                               JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddJobItem(std::unique_ptr<UserJob>&& job,
                            JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddRunItem(JournalItem* jobItem, std::unique_ptr<Run>&& run,
                            JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddCatalogEntry(JournalItem* parent, std::unique_ptr<JobDcl>&& entry);
    // Where a new range or fixed frequency goes: after the last one that starts below it.
    JournalPlace FindSortedInsertPos(uint32_t start) const;
    JournalPlace FindFixedInsertPos(uint32_t start) const;

    // Folders and files of stored items.
    bool WriteRangeFolder(UserDp& range);
    bool WriteBankFolder(UserFreq& bank);
    bool WriteGroupFile(UserGrp& group);
    bool WriteHistoryFile(JournalItem* entry);  // a field's stored values; message 23 on failure
    std::string BankFolderPath(const UserFreq& bank) const;

    // Journal events (the tree's, and what tests do instead of the mouse).
    void OnJournalSelect(JournalItem* item);
    bool MayRenameJournalItem(const JournalItem* item) const;
    void RenameJournalItem(JournalItem* item, const std::string& text);
    void DropOnJournal(const std::string& dragText);

    // Lookups over the journal.
    void CollectScaleItems();
    void ShowScaleName();
    void SelectScaleOfFrequency();
    int32_t FindJobIndex(const std::string& folderName);
    JournalItem* FindSlotRangeItem() const;
    JournalItem* FindRangeItem(const std::string& folderName) const;
    void ShowParameterPanel();
    void PrepareRangeSlots();

    // Loading, saving, deleting and clearing.
    void LoadItem();
    void SaveItem();
    UserFreq* CreateBank();
    bool SaveScale();
    bool SaveMeasurements();
    bool SaveEtalon();
    UserJob* SaveJobItem();
    void DeleteItem();
    void ClearPanel();
    void DeleteChildItems(JournalItem* item);
    void DeleteEtalonFiles(const Etl& etalon);
    void CopyScanParams(UserDp& range) const;
    void MakeRangeFromSlot();    // code PostRangeFromSelection
    void StorePhonogram();       // code PostPhonogramRecorded
    void SelectSlotRangeItem();  // code PostReselectJournalItem

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
    void RangeFromSelection();
    void FixedFromSelection();

  private:
    void WireJournalAndControls();
    std::vector<std::unique_ptr<ui::EventTable>> controlEvents_;
    // --- (end of journal, controls, stored items)

  public:
    // --- Receiver panel: made by the panel registry at start-up for the configured type.
    // The configured receiver has no panel: the program runs without one this time.
    bool ReceiverMissing = false;
    bool CreateReceiverPanel(int32_t type);
    void CreatePanelOrGoOn();
    void DeleteReceiverPanel();

    // --- Panel catalog
    // Lists the catalog of panel objects of the configured receiver under "Панель" (start-up;
    // the two fields with remembered values keep the entries the journal made for them).
    void BuildPanelCatalog();
    // ORVEL.CFG: read once at start-up, composing the start-up job in the run buffer; written
    // when a close is accepted (message 1 when it cannot be).
    bool LoadConfig();
    bool SaveConfig();

    // --- The start button and the scan's view on the controls (orvel_controls.cpp)
    void StartButton();  // the start button: end a running job, else start or stop a scan
    void ShowStopLabel();
    void ShowStartLabel();
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
    // The codes of the window's own share: the receiver's state, the status line, tune
    // requests, step keys, and the codes it passes on to the windows (orvel_codes.cpp).
    void OnWindowCode(uint32_t code);
    void StepKey(int direction);
    void OnTimer();
    void OnDestroy();
    void Shutdown();
};
