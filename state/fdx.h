#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "state/bank.h"
#include "state/job_dcl.h"
#include "state/job_str.h"
#include "state/user_freq.h"

namespace ui {
class Form;
}
class Comm;
struct JobStr;
struct Etl;
struct Meg;
struct UserDp;
struct UserFono;
struct UserFreq;
struct UserJob;
struct UserSc;

// Largest stored text file that LoadTextFile reads.
inline constexpr std::size_t kTextFileLimit = 512000;

// The mode letters the program knows (FDX::Modulation): FM, wide FM, AM, LSB, USB, CW, RTTY.
inline constexpr std::string_view kModeLetters = "FWALUCR";

// The level calibration (FDX::Calibration) keeps both its limits within -128.0..128.0 dB and
// at least 40.0 dB between them; in tenths of dB.
inline constexpr int32_t kCalibrationLimit = 1280;
inline constexpr int32_t kLeastCalibrationSpan = 400;

// The work modes, one per tab of the main window: the tab selected (FDX::WorkMode) and the
// scan the start button began in it (FDX::RunningMode).
inline constexpr int32_t kScaleMode = 0;       // "Приемник": the receiver's scale scan
inline constexpr int32_t kBankMode = 1;        // the bank scan
inline constexpr int32_t kRangeMode = 2;       // the range scan
inline constexpr int32_t kGroupMode = 3;       // the group scan, range after range
inline constexpr int32_t kJobMode = 4;         // the job editor's run
inline constexpr int32_t kTextMode = 5;        // the notes of the selected item
inline constexpr int32_t kSignalMode = 6;      // the phonogram page: a recording
inline constexpr int32_t kParametersMode = 7;  // the scan-parameter panels

// The axis a curve of the detailed study lies on (ViewSource::AxisMode).
inline constexpr int32_t kStudyFrequencyAxis = 0;  // the receiver's level scale, by frequency
inline constexpr int32_t kStudyTimeAxis = 1;       // a bank channel's history, by measurement
inline constexpr int32_t kStudyRangeAxis = 3;      // a range's curve: by frequency, and its
                                                   // marker follows the tuning
// Where the curves of the detailed study come from, by the tab shown (FDX::ViewSourceKinds).
inline constexpr int32_t kStudyReceiverSource = 2;
inline constexpr int32_t kStudyRangeSource = 3;  // the range window, also on the group tab
inline constexpr int32_t kStudyBankSource = 4;   // a channel of the bank window

// A curve of the detailed-study window: a level array bound by the window that feeds it, with
// where its points lie. Point k is (*Levels)[FirstCell + k], k < Count, at Start + k × Step: a
// frequency, or on the time axis the measurement number (Start 0, Step 1).
struct ViewSource {
    const std::vector<uint8_t>* Levels = nullptr;  // none: nothing bound
    std::size_t FirstCell = 0;                     // the cell of the first point
    uint32_t Count = 0;                            // points
    uint32_t Start = 0;                            // frequency of the first point
    uint32_t Step = 0;
    int64_t Marker = 0;      // where the study's marker stands: a frequency or a measurement
    int32_t AxisMode = 0;    // kStudyFrequencyAxis, kStudyTimeAxis or kStudyRangeAxis
    uint32_t Frequency = 0;  // on the time axis: the channel's frequency
};

// How the print form lays the lines of a report out: as a table of `count` columns (at most
// eight), each `widths[i]` percent of the printable width, or as plain lines.
struct ReportColumns {
    uint8_t table = 0;
    int32_t count = 0;
    std::array<int32_t, 8> widths{};
};

// Icons of the two kinds of message box the program shows.
enum class MessageIcon { Stop, Exclamation };

// A message box that FDX asks the user interface to show, task-modal and owned by FDX::Owner.
struct MessageRequest {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::Stop;
    bool yesNo = false;  // Yes and No buttons; otherwise a single OK button
    bool waits = true;   // false: a notice, left on screen while the program goes on
};

// The program state shared by the main window and every window, panel and editor: the current
// receiver state, options, level calibration, the loaded text file and the running job line.
// One instance, the main window's, is the program state; the others reach it through a pointer.
// Frequencies and steps are in units of 100 Hz; levels are raw receiver levels 0..255.
class FDX {
  public:
    FDX();
    FDX(const FDX&) = delete;
    FDX& operator=(const FDX&) = delete;
    virtual ~FDX();

    // Reads the file named in LoadFileName (code page 1251) into Lines, one UTF-8 text per line.
    // CR and LF end lines and empty lines are dropped; quoted stretches keep their line ends.
    // The text ends at a NUL byte (CutAtNul then tells so). False when the file is missing,
    // unreadable or larger than `limit`; Lines is then empty.
    bool LoadTextFile(std::size_t limit = kTextFileLimit);

    // Fills MeasurementStamp with the time of measurement n (0 = the first) of the current bank
    // measurement series, which began at MeasurementStart and measures every CurrentBank->Poll s.
    void MeasurementTime(int n);

    // After a read of `path` gave nothing, or only what comes before a NUL byte: a plain file
    // there that could not be read whole (larger than `limit`, refused, or holding a NUL byte)
    // would be replaced by the next save with what the program holds without it, the operator's
    // settings or banks lost. It is moved aside, beside it under a name that says so, and the
    // operator is told where and why in a notice that the start-up does not wait behind. A file
    // that cannot be moved stays in UnreadFiles, which the saves at the close leave as it is.
    // False, nothing done, when there is no such file (none, or one that reads whole).
    bool SetAsideUnreadFile(const std::string& path, std::size_t limit = kTextFileLimit);
    // From now on a save that keeps a file beside because it held a NUL byte (TextFileWriter::
    // Save) tells the operator where it went, in a notice as SetAsideUnreadFile's; until
    // SetKeptBesideNotice(nullptr), which whoever calls this does before this FDX goes.
    void TellFilesKeptBeside();
    // A file of the program folder by its name there, as the operator knows it.
    std::string ShownName(const std::string& path) const;
    // True when a save must not replace the file at `path`: it was found unread and stayed.
    bool KeepsUnread(const std::string& path) const;
    std::vector<std::string> UnreadFiles;

    // Shows numbered message `number`, or records it in the running job line.
    void ShowError(int number);
    // The text of message `number` as ShowError gives it.
    std::string MessageText(int number) const;
    // The same for a message given by its text (the job lines' own messages).
    void ShowErrorText(std::string text);
    // Shows numbered message `number` in a box even while a job runs: for what only the operator
    // can mend (a close whose saves failed), which a job line would keep from him.
    void AlertOperator(int number);
    // Shows numbered message `number` in a box that waits for nobody: for a warning at the start,
    // which the start-up job must not wait behind.
    void NoticeError(int number);
    // The same for a message given by its text.
    void NoticeErrorText(std::string text);
    // A warning that advises and stops nothing: a box that waits for nobody, or, while a job
    // runs, the running job line's message (the line does not fail for it).
    void Advise(std::string text);
    // Asks a yes/no question; true means yes. A running job answers yes itself.
    bool Confirm(const std::string& text);

    // Level calibration: raw level <-> tenths of dB through Calibration.
    int32_t LevelToDb(uint32_t raw) const;
    uint32_t DbToLevel(int32_t tenthsDb) const;
    // True when `table` can be a calibration: never falling, its limits within
    // ±kCalibrationLimit and at least kLeastCalibrationSpan apart.
    static bool CalibrationFits(const std::array<int32_t, 17>& table);
    // The raw level 0..255 whose LevelToDb lies nearest to `tenthsDb` (the lowest of equals):
    // what a typed dB value means, below the table 0 and above it 255.
    uint32_t NearestLevel(int32_t tenthsDb) const;
    // Recomputes LevelGrid and LevelAxis from Calibration.
    void BuildLevelTable();
    // Axis position 0..255 of a raw level; a level outside 0..255 is taken as the nearest end.
    int32_t LevelAxisAt(int64_t raw) const;

    // Typed numbers into units of 100 Hz: a frequency in MHz, a step or offset in kHz.
    static uint32_t ParseMHz(std::string_view text);
    static uint32_t ParseKHz(std::string_view text);

    // Loads the etalon file of EtalonKind into the etalon array of range slot `slotIndex`. False,
    // the array untouched, for kind 4 (the etalon itself) or a kind without a file, and for a slot
    // that is not in use or has no etalon. A file that cannot be read leaves the etalon's points
    // cleared.
    bool LoadScale(int32_t slotIndex);

    // Shows a message box and returns true for Yes or OK. The application connects it to the
    // user interface. Without it nothing is shown and Confirm answers no, so that an unattended
    // program never goes ahead with something it was meant to ask about.
    std::function<bool(const FDX&, const MessageRequest&)> MessageBox;

    // --- Windows and work mode
    ui::Form* Owner = nullptr;  // the main window: owns message boxes, receives posted codes
    int32_t WorkMode = kScaleMode;  // the selected main tab (kScaleMode ... kParametersMode)
    std::string ProgramDir;  // absolute, ends with "/"; every stored file lies under it
    std::string GroupName;   // identifier of the current group
    std::string BankName;
    std::string PendingStatusText;
    std::string InfoFileShown;
    float LayoutScale = 1.0f;  // factor applied to control coordinates when OptMaxMon is set
    int32_t LayoutOffset = 0;
    uint8_t BuildingControls = 0;
    uint32_t StartStage = 0;  // start-up stage, shown by message 53
    uint32_t BackColor = 0;
    uint32_t ForeColor = 0;
    uint8_t ShowGrid = 0;
    uint8_t LimbOpen = 0;
    // The manual control's knob is held down with the left or the right button.
    uint8_t KnobLeftHeld = 0;
    uint8_t KnobRightHeld = 0;
    uint8_t StudyOpen = 0;
    uint8_t HfreqOpen = 0;  // the compact channel list is open
    int32_t ShownParameterPanel = 0;

    // --- Receiver
    int32_t ReceiverType = 0;
    ui::Form* ActiveReceiver = nullptr;  // the receiver panel in use; the main window owns it
    // Set at start-up when the type was an IC-R9000 (served by the IC-R10 panel) or an
    // AR8600 (served by the AR8200 panel).
    uint8_t ReceiverVariant = 0;
    // The serial port to the receiver; the main window owns it and points this at it.
    Comm* Port = nullptr;
    int32_t PortIndex = 0;
    int32_t SpeedIndex = 0;
    uint32_t Frequency = 688000;
    uint32_t Step = 250;
    char Modulation = 'W';  // mode letter F, W, A, L, U, C or R
    uint8_t Sound = 0;
    uint8_t Attenuator = 0;
    // Attenuator depth in dB: 10, 20 or 30 (the IC-756PRO 6, 12 or 18; 255 the AR5000's
    // automatic attenuator).
    uint32_t AttenuatorDb = 0;
    int32_t Filter = 0;
    int32_t Level = -1;  // last raw level read, -1 when none
    int32_t ModeValue = 0;
    uint32_t FreqLow = 1000;
    uint32_t FreqHigh = 20000000;
    uint32_t StepLow = 1;
    uint32_t StepHigh = 9999;
    // Two frequencies nearer than this are one channel (the bank window's duplicate check).
    uint32_t ChannelWidth = 120;
    int32_t ScanRate = 620;
    uint8_t PcrScope = 0;
    // What a receiver panel leaves for status pane 0 when its own scan or transfer starts.
    std::string PanelStatusText;
    uint32_t TuneFrequency = 0;  // a tune request handed to the main window
    char TuneModulation = 0;
    uint8_t TuneAttenuator = 0;
    uint32_t TuneStep = 0;

    // --- Options of ORVEL.INI
    uint8_t OptAuto = 0;
    uint8_t OptNatural = 0;
    uint8_t OptOneCycle = 0;
    uint8_t OptOneMes = 0;
    uint8_t OptRecvSave = 0;
    uint8_t OptScanSave = 0;
    uint8_t OptSpy = 0;
    uint8_t OptSound = 0;
    uint8_t OptAllign = 0;
    uint8_t OptDb = 0;  // show levels in dB
    uint8_t OptEndScan = 0;
    uint8_t OptMaxMon = 0;
    uint8_t OptLg = 0;  // level axis through the calibration
    uint32_t PlusOffset = 70000;
    uint32_t MinusOffset = 70000;
    uint8_t RestartPending = 0;  // message 3 was shown: receiver, port or speed changed

    // --- Ranges and scanning
    uint32_t RangeStart = 300000;
    uint32_t RangeEnd = 400000;
    uint32_t RangeStep = 250;
    char RangeMode = 'W';
    int32_t SlotIndex = 0;        // range slot shown, 0..11
    std::vector<Bank> ScanSlots;  // the kScanSlotCount range slots, made once by the start-up
    // Etalon array a comparison loads: 0 current, 1 minimum, 2 average, 3 maximum, 4 none
    // (the etalon itself), 5 processed.
    int32_t EtalonKind = 4;
    // The range window's two curves, as curve kinds like EtalonKind.
    int32_t MainCurveKind = 0;
    int32_t SecondCurveKind = 0;
    // The range window's cursor; it follows Frequency while no scan or job holds the window,
    // and a job waiting for a signal notes its frequency here.
    uint32_t SignalFrequency = 0;
    // The range window's picture, in the window's own pixels.
    int32_t PictureWidth = 0;
    int32_t PictureHeight = 0;
    int32_t PictureLeft = 0;
    uint8_t Running = 0;
    uint8_t Paused = 0;
    int32_t RunningMode = kScaleMode;  // the work mode of the scan begun last
    int32_t ScanSlot = 0;  // range slot being scanned, 0..11
    uint32_t ScanFrequency = 0;
    int32_t ScanLevel = -1;  // raw level at the current scan point, -1 when none
    uint32_t LevelFrequency = 0;
    int32_t CyclesLeft = 0;
    int32_t SpySlot = 0;
    int32_t SelectionStart = -1;  // marked frequency span, -1 when none
    int32_t SelectionEnd = -1;
    int32_t CursorFrequency = -1;  // frequency under the mouse, -1 when none
    int32_t CursorLevel = -1;      // raw level under the mouse, -1 when none
    uint8_t SelectionActive = 0;
    int32_t GroupRangeCount = 0;
    int32_t GroupFirstVisible = 0;  // the first range strip the group window shows
    // The stored fixed-frequency spans in journal order (ascending start); the journal owns
    // them.
    std::vector<UserSc*> Scales;

    // --- Bank and measurement series
    UserFreq* CurrentBank = nullptr;  // not owned
    uint8_t BankStored = 0;
    uint8_t BankChanged = 0;
    // The working bank: kMaxBankChannels channels made by the start-up, ChannelCount of
    // them in use.
    std::vector<Mt> Channels;
    int32_t ChannelCount = 0;
    int32_t ChannelIndex = -1;  // channel the bank scan measures, -1 before the first
    int32_t MeasurementCount = 0;
    int32_t MeasurementCapacity = 0;
    uint8_t MeasurementSetSaved = 0;
    uint8_t MeasurementsUnsaved = 0;
    uint8_t HistoriesAllocated = 0;
    // Day, month (1..12), full year, hour, minute, second.
    std::array<int32_t, 6> MeasurementStart{};
    std::array<int32_t, 6> MeasurementStamp{};
    std::array<int32_t, 6> MeasurementEnd{};  // when the series' last measurement was made
    Meg* MeasurementSet = nullptr;            // the set now shown or last saved; not owned
    // The bank window: the measurement whose levels its list shows, the first measurement its
    // chart shows, the channel (index into Channels) selected in it, -1 none, and the list's
    // topmost row when the chart was last drawn, -1 before. HistoriesAllocated tells whether
    // there are measurements; MeasurementCapacity is their number per channel.
    int32_t BankSampleIndex = 0;
    int32_t BankChartFirst = 0;
    int32_t SelectedChannel = -1;
    int32_t BankTopRow = -1;

    // --- Jobs
    // The job editor's lines and the lines of a job loaded for running: kMaxJobLines
    // each, made by the start-up.
    std::vector<JobStr> EditLines;
    int32_t EditLineCount = 0;
    int32_t EditLineIndex = 0;  // the line selected in the job editor
    std::vector<JobStr> RunLines;
    JobStr* JobLine = nullptr;  // the line being executed; not owned
    int32_t JobLineIndex = 0;
    int32_t JobLineCount = 0;
    uint8_t JobRunning = 0;  // messages go into JobLine instead of message boxes
    uint8_t LoadedRun = 0;
    uint8_t EditJobStored = 0;
    std::string EditJobName;
    std::string AutoexecJob;  // folder name of the job to run at start
    std::string AutoexecJobName;
    int32_t AutoexecIndex = 0;
    // The items ORVEL.CFG names to restore ("Диапазон0", "Банк", "Задание", ...), as read, until
    // the start-up job that loads them has ended: a close before then saves them as they were.
    std::vector<std::pair<std::string, std::string>> UnrestoredItems;
    // The stored jobs of the journal in tree order; the journal owns them.
    std::vector<UserJob*> Jobs;
    std::string MacroJobName;
    std::string TriggerJobName;
    int32_t MacroJob = 0;
    int32_t TriggerJob = 0;
    std::string PanelJobName;
    uint8_t TriggerNext = 0;  // the next right click tries the trigger job first

    // --- Printing and phonograms
    // The print form's saved settings (ORVEL.CFG): source, orientation, the index 0..9 of its
    // resolution list, the font description.
    uint8_t PrinterSet = 0;
    uint8_t PrinterJournal = 0;
    uint8_t PrinterLandscape = 0;
    uint32_t PrinterResolution = 0;
    std::string PrinterFont;
    uint8_t PrintPictures = 0;  // the print form's `visible`: only what the page shows
    // What the report builder leaves for the print form: the report of the tab page
    // (PRINTF.TXT, or the text page's notes file) and of the selected stored item (PRINT.TXT).
    std::string PanelTextFile;
    std::string ItemTextFile;
    uint8_t ItemTextAbsent = 1;  // no PRINT.TXT for the selected item
    uint8_t PanelTextEmpty = 1;  // the tab page has nothing to print
    uint8_t ItemTextReady = 0;   // PRINT.TXT was written
    uint8_t PanelTextReady = 0;  // the tab page's text was written
    ReportColumns PanelColumns;
    ReportColumns ItemColumns;
    // The receiver page's band scope as the print button found it: the panel's bandwidth
    // value, the scope's step (100 Hz), the blocks of 16 cells it shows and its cells' levels.
    int32_t ScopeSpan = 0;
    uint32_t ScopeStep = 0;
    std::array<uint8_t, 16> ScopeBlocks{};
    std::array<uint8_t, 256> ScopeLevels{};
    uint8_t PhonogramLoaded = 0;
    UserFono* Phonogram = nullptr;  // the current phonogram with its fragments; not owned
    uint32_t RecordRate = 0;        // 0 for 8000 Hz, 1 for 11025 Hz, 2 for 22050 Hz
    std::string FragmentFile;       // sound file of the fragment being recorded
    uint8_t Recording = 0;

    // --- Level calibration
    // Calibrated level in tenths of dB at raw levels 0, 16, .. 256.
    std::array<int32_t, 17> Calibration{};
    // Levels in tenths of dB of the nine grid lines of the level axis.
    std::array<int32_t, 9> LevelGrid{};
    // Axis position 0..255 of each raw level; position 32 j lies on grid line j.
    std::array<int32_t, 256> LevelAxis{};

    // --- Journal selection and working items (the main window's journal keeps them)
    UserDp* SelectedRange = nullptr;   // record of the last selected node of the range section
    UserFreq* SelectedBank = nullptr;  // ... of the bank section
    UserSc* SelectedFixed = nullptr;   // ... of the fixed-frequency section
    uint8_t InfoGeneral = 0;           // the selected node is a heading, a catalog entry or a row
    uint8_t InfoRowSelected = 0;       // the selected node is a text row
    std::vector<Etl*> Etalons;         // the etalons of the selected range, in journal order
    int32_t EtalonIndex = 0;           // 1-based place of the range's own etalon among them; 0 none
    // Distinct start and end frequencies, and distinct steps, of the stored ranges.
    std::vector<uint32_t> SlotFrequencies;
    std::vector<uint32_t> SlotSteps;
    // The catalog entry the next job line is made from, and the entry filled in place for a
    // journal line naming a stored item.
    JobDcl* SelectedCatalogEntry = nullptr;
    JobDcl SpareCatalogEntry;
    UserJob* EditJob = nullptr;  // the stored job the job editor holds; not owned
    uint8_t EditJobChanged = 0;
    uint8_t PhonogramRecorded = 0;  // the current phonogram holds a recording
    uint8_t CalibrOpen = 0;         // the calibration window is open
    // The detailed study's two curves and which of them the range window feeds (1 the first,
    // 2 the second, 3 both).
    std::array<ViewSource, 2> ViewSources{};
    int32_t ViewFeed = 0;
    // The kind of window each curve of the study takes its levels from (kStudyReceiverSource,
    // kStudyRangeSource, kStudyBankSource); the tab shown sets both. 0: none.
    std::array<int32_t, 2> ViewSourceKinds{};
    // The working bank's measurements: one array of MeasurementCapacity levels per channel.
    // The study's bank curves point into them, so they are replaced and freed only through
    // ReplaceChannelLevels; the bank window, which excludes and reorders them, lets go of its
    // curves first.
    std::vector<std::vector<uint8_t>> ChannelLevels;
    // Makes `levels` the working bank's measurements (none by default). A study curve that
    // pointed into the old ones is unbound first; it stays on the time axis, so the bank
    // window, which releases its curves on its next code, still tells the study.
    void ReplaceChannelLevels(std::vector<std::vector<uint8_t>> levels = {});

    // --- Text file loading
    std::string LoadFileName;
    std::vector<std::string> Lines;
    std::vector<char> TextBuffer;  // raw bytes of the file being loaded
    std::string LoadedText;        // the loaded text in UTF-8, up to a NUL byte if it holds one
    std::size_t LoadedBytes = 0;   // bytes read from the file
    // The file holds a NUL byte: LoadedText and Lines end before it. A file the program writes
    // back from what it read is then set aside rather than taken (SetAsideUnreadFile).
    bool CutAtNul = false;
};
