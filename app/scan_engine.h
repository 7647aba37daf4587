#pragma once
// The main window's scan engine: the range and group scan, the bank scan, the scale scan and
// the scan a job line waits on, their start and stop (StartStopScan), the hold and its
// release, and the tuning and level reading they are built from (TuneReceiver, QueryLevel,
// ShowLevel, TuneAndMeasure). It works on the program state, reaches the receiver through the
// dispatch, and shows what it does through the narrow ScanHost the main window gives it.
//
// A scan is a chain of codes posted to the main window, one frequency per code: 0x7a range
// and group, 0x8c bank, 0x8d scale, 0xae a job line waiting for a signal. The main window
// hands them back through OnStepCode.

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "app/sub_windows.h"
#include "state/fdx.h"
#include "ui/reply_event.h"

class ReceiverDispatch;
struct UserFreq;
namespace ui {
class Form;
}

// The calendar time (journal lines, bank series, job lines); the system's unless a test
// gives its own.
using Calendar = std::function<std::time_t()>;

// What the scan engine shows on the main window and asks of it. What it shows has the base's
// do-nothing default, as for a window that shows none of it; what it asks must be answered.
class ScanHost {
  public:
    virtual ~ScanHost() = default;
    // The frequency and step fields and the modulation buttons (with the attenuator pane).
    virtual void ShowFrequency() {}
    virtual void ShowStep() {}
    virtual void ShowModulation() {}
    // The work mode's text in the status line.
    virtual void ShowModeStatus() {}
    // FDX::ScanLevel in the status line and on the level bar.
    virtual void ShowScanLevel() {}
    // The level of manual tuning, FDX::Level (which also goes into the loaded ranges' cells).
    virtual void ShowCurrentLevel() {}
    // The ПАУЗА button reads "РЕЖИМ" while a scan holds.
    virtual void ShowHeld(bool held) { (void)held; }
    // The start button's "СТОП" with the controls a running scan must not change locked, and
    // its "ПУСК" with them free again.
    virtual void ShowStopLabel() {}
    virtual void ShowStartLabel() {}
    // The wait window, shown while the bank scan allocates its histories.
    virtual void ShowWait(bool shown) { (void)shown; }
    // The bank window's chart scroll bar, set up for the series as a bank scan starts.
    virtual void UpdateBankScrollBar() {}
    // The default bank-scan parameters (the journal's "Банки" record); null when none.
    virtual const UserFreq* DefaultBank() = 0;
    // The job executor's operations: a scan's reaction "выполнить задание" and the job tab's
    // ПУСК. LoadJobForRun is false when no such job is loaded.
    virtual bool LoadJobForRun(const std::string& name) = 0;
    virtual void StartJob() = 0;
    virtual void RunEditorJob() = 0;  // the first line of the editor's run just begun
};

class ScanEngine {
  public:
    // `window` is the main window: the step codes and the scan's status codes go to it.
    ScanEngine(FDX& fdx, ReceiverDispatch& receiver, ScanHost& host, ui::Form& window,
               const SubWindows& windows, Calendar calendar);
    ScanEngine(const ScanEngine&) = delete;
    ScanEngine& operator=(const ScanEngine&) = delete;

    // Starts the scan of FDX::WorkMode or stops the one that runs.
    void StartStopScan();
    void StartScaleScan();
    void StopScaleScan();
    bool StartBankScan();
    void StopBankScan();
    bool StartRangeScan();
    void StopRangeScan();
    bool StartJobMode();
    void EndJobMode();
    // The end of any job run: what the stops under it left to the job comes back.
    void ReturnWindowsLeftToJob();

    void TuneReceiver();
    bool QueryLevel();
    void ShowLevel(uint32_t frequency);
    // Manual tuning and its level; false when the receiver did not answer.
    bool TuneAndMeasure();
    // A window chose a frequency, mode, attenuator and step (FDX::TuneFrequency ...).
    void ApplyTuneRequest();
    // The first frequency from f on, in steps of the scanned slot, that "Исключение" or
    // "Выделение" lets the scan measure; a frequency beyond Fк as soon as it is reached.
    int64_t NextEligibleFrequency(int64_t f) const;
    // The receiver takes the mode, step and attenuator of the range being scanned, those that
    // differ from the program state's, or all of them `afresh` (a receiver back from a loss
    // may have settings of its own that the program state does not know).
    void ApplySlotSettings(bool afresh = false);
    // The same for the bank channel being scanned; false when a stop came meanwhile.
    bool ApplyChannelSettings(uint64_t generation, bool afresh = false);

    // The ПАУЗА button, and the hold of a signal and its release.
    void Pause();
    void HoldScan();
    void ReleaseScan();

    // A step code of one of the chains; false for any other code.
    bool OnStepCode(uint32_t code);
    // A sync of the receiver panel ended: a start asked for while it ran begins now, and once
    // the receiver has answered, the chains that waited for it go on from the point they had
    // reached.
    void OnSyncEnded();
    // The main timer: the one-second tick counts a hold down; every tick paces a bank scan's
    // columns by the calendar time `now`.
    void OnSecondTick();
    void PaceBankScan(std::time_t now);
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
    // The bank scan and its pacing.
    int32_t BankSignalFrequency = 0;  // the last channel whose level passed the threshold
    int32_t BankSkipCount = 0;        // empty channels passed over since the timer reset it
    uint8_t SkipWarningArmed = 0;     // the poll-period warning is still to be given
    std::time_t BankScanStart = 0;
    int32_t BankPaceCountdown = 0;  // timer ticks to the next check of the bank's pace

  private:
    struct RangeKeys;
    struct RangePoint;

    // The chains (scan_resume.cpp: the wait for the receiver).
    void OnRangeScanStep(uint64_t generation);
    void OnBankScanStep(uint64_t generation);
    void OnScaleScanStep(uint64_t generation);
    void OnJobScanStep(uint64_t generation);
    bool PostScanStep(uint32_t code, uint64_t generation);
    bool WaitsForReceiver(uint32_t code, uint64_t generation);
    void ResumeChain(uint32_t code, uint64_t generation);
    struct ScaleSettings;
    void GiveScaleSettingsBack(const ScaleSettings& scale);
    uint64_t TakeStepGeneration(uint32_t code);
    void ReleaseReceiver();
    void ReturnRangeWindows();

    // What the range and bank steps share: the hold and the reaction to a signal.
    void ReleaseByCondition(uint32_t condition, bool signalGone, int32_t waitTime);
    bool ReactToSignal(uint64_t generation, uint32_t waiting, bool bankScan);
    bool StartScanJob(const std::string& name);
    bool TuneOrHold(uint64_t generation, uint32_t shownFrequency, bool read);
    void WaitOnHold();

    // The range and group scan (scan_range.cpp), a step in the order it runs.
    Bank* ScannedSlot();
    bool StopsWithoutSlot();
    bool OneMeasurementPerRange() const;
    void MeasureRangePoint(RangePoint& point);
    bool FollowSignal(RangePoint& point);
    bool HoldOnSignal(RangePoint& point);
    void ReleaseHeldPoint(const RangePoint& point);
    void AdvanceRangePoint(RangePoint& point);
    bool EndRangePass(RangePoint& point);
    bool TakeNextGroupSlot(uint64_t generation);
    void FollowScanInRangeWindow();
    void AppendJournalLine(const Bank& slot, const char* event);

    // The bank scan.
    void GiveFirstChannel();
    bool JudgeBankChannel(uint64_t generation);
    bool AdvanceBankChannel(uint64_t generation);
    const UserFreq* ScanBankRecord() const;
    int32_t BankPollPeriod() const;

    FDX& fdx_;
    ReceiverDispatch& receiver_;
    ScanHost& host_;
    ui::Form& window_;
    const SubWindows& windows_;
    Calendar calendar_;
    // Each start and each stop begins a new run of the scans; a step code carries the run it
    // was posted for and is dropped once that run is over (one chain per run). The job-driven
    // chain has runs of its own.
    uint64_t scanGeneration_ = 1;
    // A job ran while the scan held its point since the point was last tuned (TuneOrHold).
    bool jobOnHold_ = false;
    uint64_t jobScanGeneration_ = 1;
    std::array<std::deque<uint64_t>, 4> queuedSteps_;  // per chain, in posting order
    // The step of each chain that waits for the receiver (generation 0: none): the receiver's
    // sync runs, or it has not answered since its line came back.
    struct WaitingStep {
        uint32_t code = 0;
        uint64_t generation = 0;
    };
    std::array<WaitingStep, 4> waitingForReceiver_{};
    // The program's settings the scale scan ran with when it lost its receiver: the sync of a
    // receiver that comes back puts that receiver's own mode in their place.
    struct ScaleSettings {
        char modulation = 'W';
        uint32_t step = 0;
        uint8_t attenuator = 0;
        uint32_t attenuatorDb = 0;
    };
    std::optional<ScaleSettings> scaleSettings_;
    bool startAfterSync_ = false;  // the start button was pressed while the sync ran
    // The windows a stop under a running job left locked for the job, by the scan stopped.
    struct LeftToJob {
        bool panel = false;  // the receiver panel (scale scan)
        bool bank = false;   // the bank window
        bool range = false;  // the range and group windows, and the range window's last redraw
    };
    LeftToJob leftToJob_;
    int32_t holdPeak_ = 0;  // the highest level of the point the range scan holds on
};
