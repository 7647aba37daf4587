// Every scan is a chain of codes posted to the main window, one frequency per code, so that
// serial data, timer ticks and clicks are served between two steps. A step waits in two
// places (the receiver's reply, and the 300 ms of a held step) and the panels' settings wait
// too; codes and clicks are served inside those waits, among them a stop and a new start.
// Each run of a scan therefore has a generation: a start or a stop begins a new one, a step
// code carries the generation it was posted for, and a step that finds its generation over
// after any wait ends without posting. So one run is always exactly one chain.

#include "app/scan_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "app/format_text.h"
#include "app/receiver_dispatch.h"
#include "receivers/comm.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/user_dp.h"
#include "ui/post.h"

namespace {

constexpr const char* kAppearance = "Появление сигнала";
constexpr const char* kDisappearance = "Исчезновение сигнала";
constexpr const char* kNotesFile = "info.txt";

// A held step measures its point again after this long.
constexpr int kHoldWaitMs = 300;
// A bank series without a length ("Интервал" 0) has this many time slices.
constexpr int32_t kOpenEndedSlices = 64000;
// Pacing of the bank scan by the timer: a check every 5 ticks.
constexpr int32_t kBankPaceTicks = 5;
constexpr int32_t kAllSlotsRound = 13;

// The step codes, one chain each.
int ChainOf(uint32_t code) {
    switch (code) {
        case PostRangeScanStep:
            return 0;
        case PostBankScanStep:
            return 1;
        case PostScaleScanStep:
            return 2;
        case PostJobScanStep:
            return 3;
        default:
            return -1;
    }
}

int64_t Distance(int64_t a, int64_t b) {
    return a > b ? a - b : b - a;
}

// A slot the range scan can step through.
bool Scannable(const Bank& slot) {
    return slot.InUse && slot.Step > 0 && slot.Start <= slot.End;
}

uint32_t CyclesOf(const Bank& slot) {
    return slot.Range != nullptr ? std::max<uint32_t>(slot.Range->Cycles, 1) : 1;
}

// The keys of the range record that steer the scan of a slot ("Журнал", "Маркер", ...); a slot
// without a record scans without detection.
struct RangeKeys {
    bool journal = false;
    bool marker = false;
    bool fixing = false;
    bool exclusion = false;
    bool selection = false;
    int64_t level = 0;
    uint32_t waiting = 0;
    int32_t waitTime = 0;
    uint32_t condition = 0;
};

RangeKeys KeysOf(const Bank& slot) {
    RangeKeys keys;
    if (const UserDp* range = slot.Range) {
        keys.journal = range->Journal;
        keys.marker = range->Marker;
        keys.fixing = range->Fixing;
        keys.exclusion = range->Exclusion;
        keys.selection = range->Selection;
        keys.level = range->Level;
        keys.waiting = range->Waiting;
        keys.waitTime = int32_t(std::min<uint32_t>(range->WaitTime, INT32_MAX));
        keys.condition = range->Condition;
    }
    return keys;
}

// The keys of the bank record that steer the bank scan.
struct BankKeys {
    int64_t level = 0;
    uint32_t waiting = 0;
    int32_t waitTime = 0;
    uint32_t condition = 0;
};

BankKeys KeysOf(const UserFreq* bank) {
    BankKeys keys;
    if (bank != nullptr) {
        keys.level = bank->Level;
        keys.waiting = bank->Waiting;
        keys.waitTime = int32_t(std::min<uint32_t>(bank->WaitTime, INT32_MAX));
        keys.condition = bank->Condition;
    }
    return keys;
}

std::tm LocalTimeOf(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

std::array<int32_t, 6> MomentOf(const std::tm& t) {
    return {t.tm_mday, t.tm_mon + 1, t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec};
}

}  // namespace

ScanEngine::ScanEngine(FDX& fdx, ReceiverDispatch& receiver, ScanHost& host, ui::Form& window,
                       const SubWindows& windows, Calendar calendar)
    : fdx_(fdx),
      receiver_(receiver),
      host_(host),
      window_(window),
      windows_(windows),
      calendar_(calendar ? std::move(calendar) : [] { return std::time(nullptr); }) {}

const UserFreq* ScanEngine::ScanBankRecord() const {
    return fdx_.CurrentBank != nullptr ? fdx_.CurrentBank : host_.DefaultBank();
}

int32_t ScanEngine::BankPollPeriod() const {
    const UserFreq* bank = ScanBankRecord();
    // A poll period of 0 would divide by zero: it counts as one second.
    return bank != nullptr && bank->Poll > 0 ? int32_t(std::min<uint32_t>(bank->Poll, INT32_MAX))
                                             : 1;
}

// ---------------------------------------------------------------------------------------
// The chains' bookkeeping

bool ScanEngine::OnStepCode(uint32_t code) {
    switch (code) {
        case PostRangeScanStep:
            OnRangeScanStep(TakeStepGeneration(code));
            return true;
        case PostBankScanStep:
            OnBankScanStep(TakeStepGeneration(code));
            return true;
        case PostScaleScanStep:
            OnScaleScanStep(TakeStepGeneration(code));
            return true;
        case PostJobScanStep:
            OnJobScanStep(TakeStepGeneration(code));
            return true;
        default:
            return false;
    }
}

bool ScanEngine::PostScanStep(uint32_t code, uint64_t generation) {
    const int chain = ChainOf(code);
    if (chain < 0 || !PostPrivateMessage(&window_, code)) return false;
    queuedSteps_[std::size_t(chain)].push_back(generation);
    return true;
}

// Codes to one window arrive in the order they were posted, so the oldest generation queued
// for a chain is the one of the code arriving. A job-driven step nobody here posted is a job
// starting its wait anew: it begins a new chain and the old one ends.
uint64_t ScanEngine::TakeStepGeneration(uint32_t code) {
    const int chain = ChainOf(code);
    if (chain < 0) return 0;
    auto& queued = queuedSteps_[std::size_t(chain)];
    if (queued.empty()) return code == PostJobScanStep ? ++jobScanGeneration_ : 0;
    const uint64_t generation = queued.front();
    queued.pop_front();
    return generation;
}

std::size_t ScanEngine::LiveScanSteps(uint32_t code) const {
    const int chain = ChainOf(code);
    if (chain < 0) return 0;
    const uint64_t live = code == PostJobScanStep ? jobScanGeneration_ : scanGeneration_;
    const auto& queued = queuedSteps_[std::size_t(chain)];
    return std::size_t(std::count(queued.begin(), queued.end(), live));
}

Bank* ScanEngine::ScannedSlot() {
    if (fdx_.ScanSlot < 0 || std::size_t(fdx_.ScanSlot) >= fdx_.ScanSlots.size()) return nullptr;
    return &fdx_.ScanSlots[std::size_t(fdx_.ScanSlot)];
}

// ---------------------------------------------------------------------------------------
// Tuning and level reading

void ScanEngine::TuneReceiver() {
    fdx_.Frequency = std::min(std::max(fdx_.ScanFrequency, fdx_.FreqLow), fdx_.FreqHigh);
    if (receiver_.Panel()) receiver_.Panel()->Tune();
    host_.ShowFrequency();
}

bool ScanEngine::QueryLevel() {
    fdx_.ScanLevel = receiver_.Panel() ? receiver_.Panel()->ScanLevel() : -1;
    return fdx_.ScanLevel != -1;
}

void ScanEngine::ShowLevel(uint32_t frequency) {
    fdx_.LevelFrequency = frequency;
    host_.ShowScanLevel();
    switch (fdx_.WorkMode) {
        case 0:
            receiver_.PostToPanel(PostRefreshDisplay);
            break;
        case 2:
            PostPrivateMessage(windows_.diap, PostRefreshDisplay);
            break;
        case 3:
            PostPrivateMessage(windows_.group, PostRefreshDisplay);
            break;
        default:
            break;
    }
}

// Manual tuning: the frequency entry, the step keys, the bank and range windows.
bool ScanEngine::TuneAndMeasure() {
    if (!receiver_.Port().Running) return true;
    fdx_.Level = receiver_.Panel() ? receiver_.Panel()->TuneAndRead() : -1;
    if (fdx_.WorkMode == 0) receiver_.PostToPanel(PostRefreshDisplay);
    host_.ShowCurrentLevel();
    return fdx_.Level != -1;
}

void ScanEngine::ApplyTuneRequest() {
    fdx_.Frequency = std::min(std::max(fdx_.TuneFrequency, fdx_.FreqLow), fdx_.FreqHigh);
    fdx_.Modulation = fdx_.TuneModulation;
    fdx_.Attenuator = fdx_.TuneAttenuator;
    fdx_.Step = fdx_.TuneStep;
    TuneAndMeasure();
    host_.ShowFrequency();
    receiver_.SetModulation(fdx_.Modulation);
    host_.ShowModulation();
    receiver_.ApplyAttenuator();
    receiver_.ApplyStep();
    host_.ShowStep();
}

// ---------------------------------------------------------------------------------------
// Start and stop

void ScanEngine::StartStopScan() {
    fdx_.Paused = 0;
    host_.ShowHeld(false);
    if (!fdx_.Running) {
        // A scan begins once the receiver panel's sync has ended: its settings and tunes would
        // cut into the sync's exchanges. A second press meanwhile takes the start back. A
        // recording on the signal page asks nothing of the receiver and never waits.
        if (!receiver_.SyncEnded() && fdx_.WorkMode != 6) {
            startAfterSync_ = !startAfterSync_;
            return;
        }
        if (fdx_.WorkMode == 4 && fdx_.JobRunning && !fdx_.LoadedRun) {
            fdx_.ShowError(27);
            return;
        }
        if (fdx_.OptSound) receiver_.ApplySound(false);
        fdx_.RunningMode = fdx_.WorkMode;
        const uint64_t generation = ++scanGeneration_;
        bool started = false;
        switch (fdx_.RunningMode) {
            case 0:
                StartScaleScan();
                started = true;
                break;
            case 1:
                started = StartBankScan();
                break;
            case 2:
            case 3:
                started = StartRangeScan();
                break;
            case 4:
                started = StartJobMode();
                break;
            case 6:
                // The phonogram window starts a recording; that is no scan, and it has not
                // failed: the window reports its own failure.
                PostPrivateMessage(windows_.signal, PostLockControls);
                return;
            default:
                break;
        }
        // A stop or another start while the start routine waited on the receiver has the
        // last word.
        if (generation != scanGeneration_) return;
        if (!started) {
            fdx_.ShowError(26);
            return;
        }
        if (fdx_.RunningMode != 4) fdx_.Running = 1;
        fdx_.SelectionStart = fdx_.SelectionEnd = -1;
        PostPrivateMessage(&window_, PostShowStatus);
        host_.ShowStopLabel();
        return;
    }

    ManualPause = false;
    if (fdx_.Recording) PostPrivateMessage(windows_.signal, PostUnlockControls);
    fdx_.Running = 0;
    ++scanGeneration_;
    host_.ShowStartLabel();
    if (fdx_.JobRunning) PostPrivateMessage(windows_.job, PostJobModeStopped);
    switch (fdx_.RunningMode) {
        case 0:
            StopScaleScan();
            break;
        case 1:
            StopBankScan();
            break;
        case 2:
        case 3:
            StopRangeScan();
            break;
        default:
            break;
    }
    host_.ShowModeStatus();
    if (fdx_.OptSound) receiver_.ApplySound(true);
    if (fdx_.StudyOpen) PostPrivateMessage(&window_, PostAnalysisUpdate);
}

// The first part of every stop: the panel's outstanding request is dropped, so that a step
// waiting for it returns at once.
void ScanEngine::ReleaseReceiver() {
    if (receiver_.Panel()) receiver_.Panel()->ReleaseForStop();
}

void ScanEngine::StartScaleScan() {
    const uint64_t generation = scanGeneration_;
    fdx_.ScanFrequency = fdx_.Frequency;
    TuneReceiver();
    receiver_.LockReceiverPanel();
    PostScanStep(PostScaleScanStep, generation);
}

void ScanEngine::StopScaleScan() {
    ReleaseReceiver();
    if (!fdx_.JobRunning) receiver_.PostToPanel(PostUnlockControls);
}

bool ScanEngine::StartBankScan() {
    const uint64_t generation = scanGeneration_;
    const int32_t count = std::min<int32_t>(fdx_.ChannelCount, int32_t(fdx_.Channels.size()));
    fdx_.ChannelIndex = -1;
    BankSkipCount = fdx_.ChannelCount;
    for (int32_t i = 0; i < count; ++i) {
        if (fdx_.Channels[std::size_t(i)].Frequency != 0) {
            fdx_.ChannelIndex = i;
            break;
        }
    }
    if (fdx_.ChannelIndex < 0) {
        fdx_.ShowError(4);
        return false;
    }
    fdx_.MeasurementCount = 0;
    // The bank window shows the new series from its start.
    fdx_.BankSampleIndex = fdx_.BankChartFirst = 0;
    fdx_.Paused = 0;
    SkipWarningArmed = 1;
    fdx_.MeasurementsUnsaved = 1;

    const UserFreq* bank = ScanBankRecord();
    const int64_t interval = bank != nullptr ? bank->Interval : 0;
    const int64_t capacity =
        interval == 0 ? kOpenEndedSlices : interval * 60 / BankPollPeriod() + 1;
    fdx_.MeasurementCapacity = int32_t(std::min<int64_t>(capacity, INT32_MAX));

    host_.ShowWait(true);
    try {
        fdx_.ReplaceChannelLevels(std::vector<std::vector<uint8_t>>(
            std::size_t(count), std::vector<uint8_t>(std::size_t(fdx_.MeasurementCapacity))));
    } catch (const std::exception&) {  // bad_alloc, or a length no vector can have
        fdx_.ReplaceChannelLevels();
        host_.ShowWait(false);
        fdx_.ShowError(5);
        return false;
    }

    receiver_.CancelReceiver();
    const Mt& first = fdx_.Channels[std::size_t(fdx_.ChannelIndex)];
    fdx_.ScanFrequency = first.Frequency;
    fdx_.Attenuator = first.Attenuator;
    // A channel stored without a step keeps the step the receiver has.
    if (first.Step != 0) fdx_.Step = first.Step;
    const char modulation = first.Modulation;
    receiver_.ApplyStep();
    host_.ShowStep();
    receiver_.SetModulation(modulation);
    host_.ShowModulation();
    receiver_.ApplyAttenuator();
    TuneReceiver();

    PostScanStep(PostBankScanStep, generation);
    PostPrivateMessage(windows_.freq, PostLockControls);
    fdx_.CyclesLeft = fdx_.MeasurementCapacity - fdx_.MeasurementCount;
    PostPrivateMessage(&window_, PostScanStatusText);

    BankScanStart = calendar_();
    fdx_.MeasurementStart = MomentOf(LocalTimeOf(BankScanStart));
    fdx_.HistoriesAllocated = 1;
    host_.UpdateBankScrollBar();
    BankPaceCountdown = kBankPaceTicks;
    PostPrivateMessage(windows_.freq, PostRefreshData);
    host_.ShowWait(false);
    return true;
}

void ScanEngine::StopBankScan() {
    ReleaseReceiver();
    // The series ends now; a measurement set saved from it carries this end.
    fdx_.MeasurementEnd = MomentOf(LocalTimeOf(calendar_()));
    if (fdx_.OptSound) receiver_.ApplySound(true);
    if (!fdx_.JobRunning) PostPrivateMessage(windows_.freq, PostUnlockControls);
}

bool ScanEngine::StartRangeScan() {
    const uint64_t generation = scanGeneration_;
    AppearanceFrequency = DisappearanceFrequency = BankSignalFrequency = 0;
    holdPeak_ = 0;
    fdx_.ScanSlot = fdx_.SlotIndex >= 0 && std::size_t(fdx_.SlotIndex) < fdx_.ScanSlots.size()
                        ? fdx_.SlotIndex
                        : 0;
    for (Bank& slot : fdx_.ScanSlots) {
        if (!Scannable(slot)) continue;
        slot.Finished = 0;
        slot.CyclesDone = 0;
        slot.ScanPoint = slot.Start;
        slot.LastSignal = 0;
        slot.SignalStart = 0;
        slot.SignalPeak = 0;
        slot.SignalOpen = 0;
        // Until the range window lays the range out, the slot's cells are those of its range.
        if (slot.PointCount < slot.RangeCells()) slot.PointCount = uint32_t(slot.RangeCells());
        if (slot.Range != nullptr && slot.Range->Cycles == 0) {
            // As many cycles as the receiver runs in "Интервал"; a range narrower than one
            // step counts as one point.
            const int64_t points = std::max<int64_t>((slot.End - slot.Start) / slot.Step, 1);
            const int64_t cycles = int64_t{fdx_.ScanRate} * slot.Range->Interval / points;
            slot.Range->Cycles = uint32_t(std::clamp<int64_t>(cycles, 1, UINT32_MAX));
        }
    }
    int32_t taken = -1;
    for (int32_t n = 0, index = fdx_.ScanSlot; n < int32_t(kScanSlotCount); ++n) {
        if (std::size_t(index) < fdx_.ScanSlots.size() &&
            Scannable(fdx_.ScanSlots[std::size_t(index)])) {
            taken = index;
            break;
        }
        index = (index + 1) % int32_t(kScanSlotCount);
    }
    if (taken < 0) return false;
    fdx_.ScanSlot = taken;
    Bank& slot = fdx_.ScanSlots[std::size_t(taken)];

    fdx_.Running = 1;
    slot.ScanPoint = slot.Start;
    fdx_.ScanFrequency = slot.ScanPoint;
    fdx_.CyclesLeft = int32_t(CyclesOf(slot)) - int32_t(slot.CyclesDone);
    PostPrivateMessage(&window_, PostScanStatusText);

    receiver_.CancelReceiver();
    ApplySlotSettings();
    TuneReceiver();
    if (generation == scanGeneration_) PostScanStep(PostRangeScanStep, generation);
    if (fdx_.OptSound) receiver_.ApplySound(false);
    PostPrivateMessage(windows_.diap, PostLockControls);
    PostPrivateMessage(windows_.group, PostLockControls);
    return true;
}

void ScanEngine::StopRangeScan() {
    ReleaseReceiver();
    if (fdx_.JobRunning) return;
    PostPrivateMessage(windows_.diap, PostUnlockControls);
    PostPrivateMessage(windows_.diap, PostDrawMarkerLabel);
    PostPrivateMessage(windows_.group, PostUnlockControls);
}

// The job of the job editor runs from its first line; the lines are the job executor's.
bool ScanEngine::StartJobMode() {
    const int32_t count = std::min<int32_t>(fdx_.EditLineCount, int32_t(fdx_.EditLines.size()));
    if (count <= 0) return false;
    fdx_.LoadedRun = 0;
    for (int32_t i = 0; i < count; ++i) {
        JobStr& line = fdx_.EditLines[std::size_t(i)];
        line.ReturnCode = 0;
        line.Message.clear();
        line.Time.clear();
    }
    receiver_.LockReceiverPanel();
    for (ui::Form* window : {windows_.diap, windows_.group, windows_.freq, windows_.job})
        PostPrivateMessage(window, PostLockControls);
    fdx_.JobLineIndex = 0;
    fdx_.JobRunning = 1;
    fdx_.JobLine = &fdx_.EditLines[0];
    host_.RunEditorJob();
    return true;
}

void ScanEngine::EndJobMode() {
    fdx_.JobRunning = 0;
    if (fdx_.Running) {
        // The windows the job locked and the running scan does not use are free again.
        switch (fdx_.RunningMode) {
            case 0:
                for (ui::Form* window : {windows_.diap, windows_.group, windows_.freq})
                    PostPrivateMessage(window, PostUnlockControls);
                break;
            case 1:
                StopScaleScan();
                PostPrivateMessage(windows_.diap, PostUnlockControls);
                PostPrivateMessage(windows_.group, PostUnlockControls);
                break;
            case 2:
                StopScaleScan();
                PostPrivateMessage(windows_.group, PostUnlockControls);
                PostPrivateMessage(windows_.freq, PostUnlockControls);
                break;
            case 3:
                StopScaleScan();
                PostPrivateMessage(windows_.diap, PostUnlockControls);
                PostPrivateMessage(windows_.freq, PostUnlockControls);
                break;
            default:
                break;
        }
    } else if (!fdx_.LoadedRun) {
        // The editor's run ends like a scan: the button reads "ПУСК" again.
        fdx_.RunningMode = 4;
        fdx_.Running = 1;
        StartStopScan();
        StopScaleScan();
        for (ui::Form* window : {windows_.diap, windows_.group, windows_.freq})
            PostPrivateMessage(window, PostUnlockControls);
    }
    if (!fdx_.LoadedRun) {
        PostPrivateMessage(windows_.job, PostUnlockControls);
        PostPrivateMessage(windows_.job, PostRefreshDisplay);
    }
    fdx_.LoadedRun = 0;
}

// A scan's reaction "выполнить задание": the job holds the scan until it releases it.
bool ScanEngine::StartScanJob(const std::string& name) {
    if (!host_.LoadJobForRun(name)) return false;
    ManualPause = true;
    host_.StartJob();
    return true;
}

// ---------------------------------------------------------------------------------------
// The hold

void ScanEngine::Pause() {
    if (fdx_.Paused) {
        ReleaseScan();
        return;
    }
    AppearanceFrequency = 0;
    DisappearanceFrequency = 0;
    HoldScan();
    ManualPause = true;
}

void ScanEngine::HoldScan() {
    if (!fdx_.Running) return;
    fdx_.Paused = 1;
    ResumeRequested = false;
    host_.ShowHeld(true);
    if (fdx_.JobRunning) PostPrivateMessage(windows_.job, PostModeButton);
}

// The step that follows clears FDX::Paused: a step in the middle of its wait must not find
// the hold gone under it.
void ScanEngine::ReleaseScan() {
    ResumeRequested = true;
    ManualPause = false;
    HoldCountdown = 0;
    host_.ShowHeld(false);
    if (fdx_.OptSound) receiver_.ApplySound(false);
    if (fdx_.JobRunning) PostPrivateMessage(windows_.job, PostPauseButton);
    // A recording the hold started ends with it.
    if (fdx_.Recording) PostPrivateMessage(windows_.signal, PostUnlockControls);
}

void ScanEngine::OnSecondTick() {
    if (HoldCountdown > 0) --HoldCountdown;
}

// ---------------------------------------------------------------------------------------
// The range and group scan

int64_t ScanEngine::NextEligibleFrequency(int64_t f) const {
    if (fdx_.ScanSlot < 0 || std::size_t(fdx_.ScanSlot) >= fdx_.ScanSlots.size()) return f;
    const Bank& slot = fdx_.ScanSlots[std::size_t(fdx_.ScanSlot)];
    const RangeKeys keys = KeysOf(slot);
    if ((keys.exclusion && keys.selection) || slot.Step == 0) return f;
    for (int64_t candidate = f;; candidate += slot.Step) {
        if (candidate > int64_t{slot.End}) return candidate;
        const int64_t cell = slot.CellOf(candidate);
        const bool fixed = cell >= 0 && (slot.Flags[std::size_t(cell)] & kFixedFrequencyPoint);
        if ((keys.exclusion && !fixed) || (keys.selection && fixed)) return candidate;
    }
}

// One line of the range's notes file, appended as it happens; a file that cannot be opened
// loses the line and nothing else.
void ScanEngine::AppendJournalLine(const Bank& slot, const char* event) {
    if (slot.Range == nullptr || slot.Range->FolderPath.empty()) return;
    const std::string path = slot.Range->FolderPath + kNotesFile;
    if (fdx_.InfoFileShown == path) PostPrivateMessage(windows_.info, PostRefreshDisplay);
    const std::tm now = LocalTimeOf(calendar_());
    const std::string line = FormatText("%02d/%02d/%04d %02d:%02d:%02d %s %8.4f\r\n", now.tm_mday,
                                        now.tm_mon + 1, now.tm_year + 1900, now.tm_hour, now.tm_min,
                                        now.tm_sec, event, fdx_.ScanFrequency / 10000.0);
    const std::string bytes = Utf8ToCp1251(line);
    if (std::FILE* file = std::fopen(path.c_str(), "ab")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

// The receiver takes the modulation, step and attenuator of the slot the range scan takes.
void ScanEngine::ApplySlotSettings() {
    if (fdx_.ScanSlot < 0 || std::size_t(fdx_.ScanSlot) >= fdx_.ScanSlots.size()) return;
    const Bank& slot = fdx_.ScanSlots[std::size_t(fdx_.ScanSlot)];
    if (slot.Modulation != fdx_.Modulation) {
        receiver_.SetModulation(slot.Modulation);
        host_.ShowModulation();
    }
    if (slot.Step != fdx_.Step) {
        fdx_.Step = slot.Step;
        receiver_.ApplyStep();
        host_.ShowStep();
    }
    if (slot.Range != nullptr && slot.Range->Attenuator != fdx_.Attenuator) {
        fdx_.Attenuator = slot.Range->Attenuator;
        receiver_.ApplyAttenuator();
    }
}

void ScanEngine::OnRangeScanStep(uint64_t generation) {
    if (generation != scanGeneration_ || !fdx_.Running) return;
    if (WaitsForReceiver(PostRangeScanStep, generation)) return;
    const auto slotGone = [this] {
        const Bank* slot = ScannedSlot();
        return slot == nullptr || !Scannable(*slot);
    };
    if (slotGone()) {
        StartStopScan();
        return;
    }
    const bool read = QueryLevel();
    if (generation != scanGeneration_) return;
    if (slotGone()) {
        StartStopScan();
        return;
    }
    Bank* slot = ScannedSlot();
    RangeKeys keys = KeysOf(*slot);
    int64_t current = slot->ScanPoint;
    const bool heldAtStart = fdx_.Paused;

    if (!read) {
        // The point is measured again; what the receiver left in the ring goes.
        if (receiver_.Traits().serialPort && receiver_.Panel() &&
            receiver_.Panel()->EmptiesPortAfterFailedRead())
            receiver_.Port().Purge();
    } else {
        const int32_t level = fdx_.ScanLevel;
        const int64_t cell = slot->CellOf(current);
        int32_t prev = 0;
        bool eligible = true;
        if (cell >= 0) {
            const std::size_t i = std::size_t(cell);
            prev = slot->Current[i];
            const auto value = uint8_t(level);
            slot->Current[i] = value;
            if (slot->CycleCount == 0) {
                slot->Average[i] = slot->Minimum[i] = slot->Maximum[i] = value;
            } else {
                const int64_t passes = slot->CycleCount;
                slot->Average[i] = uint8_t((passes * slot->Average[i] + level) / (passes + 1));
                slot->Minimum[i] = std::min(slot->Minimum[i], value);
                slot->Maximum[i] = std::max(slot->Maximum[i], value);
            }
            slot->Flag4 = 1;  // results not saved yet
            eligible = !(slot->Flags[i] & kFixedFrequencyPoint) || keys.fixing;
        }
        const int64_t threshold = keys.marker ? int64_t{slot->SightLevel} : keys.level;
        const int64_t bandwidth = slot->Bandwidth;

        if (!fdx_.Paused) {
            const bool above = level > threshold && (keys.marker || threshold != 0);
            const bool takesPart =
                eligible && Distance(current, slot->LastSignal) > bandwidth && above;
            if (takesPart) {
                if (!slot->SignalOpen) slot->SignalStart = fdx_.ScanFrequency;
                if (level > slot->SignalPeak) slot->SignalPeak = level;
                slot->SignalOpen = 1;
            }
            const bool event = (!takesPart && slot->SignalOpen) ||
                               (takesPart && (Distance(current, slot->SignalStart) > bandwidth ||
                                              level < slot->SignalPeak));
            if (event) {
                if (keys.journal && Distance(current, AppearanceFrequency) > bandwidth &&
                    prev < threshold) {
                    AppearanceFrequency = int32_t(fdx_.ScanFrequency);
                    AppendJournalLine(*slot, kAppearance);
                }
                // Back to the point before when it was the higher one; never below Fн.
                if (current > int64_t{slot->Start} && cell >= 1 &&
                    level < slot->Current[std::size_t(cell - 1)]) {
                    current -= slot->Step;
                    slot->ScanPoint = uint32_t(current);
                    fdx_.ScanFrequency = uint32_t(current);
                    fdx_.ScanLevel = slot->Current[std::size_t(cell - 1)];
                    TuneReceiver();
                }
                slot->LastSignal = fdx_.ScanFrequency;
                slot->SignalStart = 0;
                slot->SignalOpen = 0;
                slot->SignalPeak = 0;
                if (fdx_.OptSound) receiver_.ApplySound(true);
                if (generation != scanGeneration_) return;
                switch (keys.waiting) {
                    case 1:
                        if (slot->Range != nullptr) StartScanJob(slot->Range->Job);
                        break;
                    case 2:
                        PostPrivateMessage(&window_, PostBeep);
                        break;
                    case 3:
                        PostPrivateMessage(windows_.freq, PostReloadView);
                        break;
                    case 4:
                        PostPrivateMessage(windows_.diap, PostFollowFrequency);
                        break;
                    default:
                        break;
                }
                if (generation != scanGeneration_) return;
                if (slotGone()) {
                    StartStopScan();
                    return;
                }
                slot = ScannedSlot();
                HoldScan();
                HoldCountdown = keys.waitTime;
            }
        }

        // What the held point showed during the hold: a signal that goes while the scan
        // holds on it still gets its disappearance line when the scan moves on.
        if (heldAtStart) holdPeak_ = std::max(holdPeak_, prev);

        if (heldAtStart && !ManualPause) {
            switch (keys.condition) {
                case 0:
                    if (HoldCountdown == 0) ReleaseScan();
                    break;
                case 1:
                    if (level < keys.level || (keys.marker && level < int32_t{slot->SightLevel})) {
                        if (HoldCountdown == 0) ReleaseScan();
                    } else {
                        HoldCountdown = keys.waitTime;
                    }
                    break;
                default:
                    break;
            }
        }
        if (ResumeRequested) fdx_.Paused = 0;

        if (!fdx_.Paused) {
            current += slot->Step;
            if (keys.exclusion || keys.selection) current = NextEligibleFrequency(current);
            slot->ScanPoint = uint32_t(std::min<int64_t>(current, UINT32_MAX));
            fdx_.ScanFrequency = slot->ScanPoint;
            // The line carries the next point's frequency, as the journal always had it.
            const int32_t before = heldAtStart ? std::max(prev, holdPeak_) : prev;
            holdPeak_ = 0;
            const bool fell = keys.marker
                                  ? before > slot->SightLevel && level < slot->SightLevel
                                  : keys.level > 0 && before > keys.level && level < keys.level;
            if (keys.journal && eligible && Distance(current, DisappearanceFrequency) > bandwidth &&
                fell) {
                DisappearanceFrequency = int32_t(fdx_.ScanFrequency);
                AppendJournalLine(*slot, kDisappearance);
            }
        }
    }

    // End of a pass, of a slot's cycles, of the scan.
    const bool oneMeasurement = fdx_.RunningMode == 3 && fdx_.OptOneMes;
    if (!fdx_.Paused && (oneMeasurement || current > int64_t{slot->End})) {
        const uint32_t cycles = CyclesOf(*slot);
        if (current > int64_t{slot->End}) {
            slot->LastSignal = 0;
            AppearanceFrequency = DisappearanceFrequency = 0;
            current = slot->Start;
            if (keys.exclusion || keys.selection) current = NextEligibleFrequency(current);
            slot->ScanPoint = uint32_t(std::min<int64_t>(current, UINT32_MAX));
            fdx_.ScanFrequency = slot->ScanPoint;
            ++slot->CyclesDone;
            ++slot->CycleCount;
            slot->PassDone = 1;
            fdx_.CyclesLeft = int32_t(cycles) - int32_t(slot->CyclesDone);
            if (!fdx_.OptOneMes) PostPrivateMessage(&window_, PostScanStatusText);
        }
        if (slot->CyclesDone >= cycles || fdx_.OptOneCycle || fdx_.OptOneMes) {
            if (slot->CyclesDone >= cycles) slot->Finished = 1;
            if (fdx_.RunningMode == 3) {
                int32_t taken = -1;
                for (int32_t n = 0, index = fdx_.ScanSlot; n < kAllSlotsRound; ++n) {
                    index = (index + 1) % int32_t(kScanSlotCount);
                    const Bank& next = fdx_.ScanSlots[std::size_t(index)];
                    if (Scannable(next) && !next.Finished) {
                        taken = index;
                        break;
                    }
                }
                if (taken < 0) {
                    StartStopScan();
                } else {
                    fdx_.ScanSlot = taken;
                    ApplySlotSettings();
                    if (generation != scanGeneration_) return;
                    const Bank& next = fdx_.ScanSlots[std::size_t(taken)];
                    fdx_.ScanFrequency = next.ScanPoint;
                    if (!fdx_.OptOneMes) {
                        fdx_.CyclesLeft = int32_t(CyclesOf(next)) - int32_t(next.CyclesDone);
                        PostPrivateMessage(&window_, PostScanStatusText);
                    }
                }
            }
        }
        if (fdx_.Running && (ScannedSlot() == nullptr || ScannedSlot()->Finished)) StartStopScan();
    }
    if (!fdx_.Running || generation != scanGeneration_) return;

    // The receiver is tuned before the window shows the level: the line works meanwhile.
    if (!fdx_.Paused) TuneReceiver();
    ShowLevel(uint32_t(std::min<int64_t>(current, UINT32_MAX)));
    if (fdx_.Paused) {
        PauseWait.Reset();
        PauseWait.Wait(kHoldWaitMs);
        if (generation != scanGeneration_) return;
    }

    if (fdx_.OptSpy && !oneMeasurement) FollowScanInRangeWindow(current);
    PostScanStep(PostRangeScanStep, generation);
}

// SPY: the range window shows the slot being scanned and scrolls along with the scan.
void ScanEngine::FollowScanInRangeWindow(int64_t current) {
    if (fdx_.ScanSlot != fdx_.SlotIndex) {
        fdx_.SpySlot = fdx_.ScanSlot;
        PostPrivateMessage(windows_.diap, PostSpectrumStep);
        return;
    }
    if (fdx_.SlotIndex < 0 || std::size_t(fdx_.SlotIndex) >= fdx_.ScanSlots.size()) return;
    Bank& shown = fdx_.ScanSlots[std::size_t(fdx_.SlotIndex)];
    if (current < int64_t{shown.VisibleLow}) {
        while (current < int64_t{shown.VisibleLow} && shown.ScrollPosition > 0) {
            --shown.ScrollPosition;
            host_.DrawRangeScale();
        }
    } else if (current > int64_t{shown.VisibleHigh}) {
        while (current > int64_t{shown.VisibleHigh} && shown.ScrollPosition < shown.ScrollMaximum) {
            ++shown.ScrollPosition;
            host_.DrawRangeScale();
        }
    }
    if (fdx_.WorkMode == 2) PostPrivateMessage(windows_.diap, PostRefreshData);
    if (fdx_.WorkMode == 3) PostPrivateMessage(windows_.group, PostRefreshData);
}

// ---------------------------------------------------------------------------------------
// The bank scan

// The next channel with a frequency, after the last one round to the first; false when the
// bank has none left (it was emptied under the scan), which ends the scan.
bool ScanEngine::AdvanceBankChannel(uint64_t generation) {
    const int32_t count = std::min<int32_t>(fdx_.ChannelCount, int32_t(fdx_.Channels.size()));
    int32_t index = fdx_.ChannelIndex;
    bool found = false;
    for (int32_t n = 0; n < count; ++n) {
        index = index + 1 >= count || index + 1 < 0 ? 0 : index + 1;
        if (fdx_.Channels[std::size_t(index)].Frequency != 0) {
            found = true;
            break;
        }
        ++BankSkipCount;
    }
    if (!found) {
        StartStopScan();
        return false;
    }
    fdx_.ChannelIndex = index;
    fdx_.ScanFrequency = fdx_.Channels[std::size_t(index)].Frequency;
    return ApplyChannelSettings(generation);
}

bool ScanEngine::ApplyChannelSettings(uint64_t generation) {
    if (fdx_.ChannelIndex < 0 || std::size_t(fdx_.ChannelIndex) >= fdx_.Channels.size())
        return true;
    const Mt& channel = fdx_.Channels[std::size_t(fdx_.ChannelIndex)];
    const char modulation = channel.Modulation;
    const uint32_t step = channel.Step;
    const uint8_t attenuator = channel.Attenuator;
    if (modulation != fdx_.Modulation) {
        receiver_.SetModulation(modulation);
        host_.ShowModulation();
        if (generation != scanGeneration_) return false;
    }
    if (step != 0 && step != fdx_.Step) {
        fdx_.Step = step;
        receiver_.ApplyStep();
        host_.ShowStep();
        if (generation != scanGeneration_) return false;
    }
    if (attenuator != fdx_.Attenuator) {
        fdx_.Attenuator = attenuator;
        receiver_.ApplyAttenuator();
        if (generation != scanGeneration_) return false;
    }
    return true;
}

// Every half second: the column of the bank scan follows the seconds since its start, one
// column per poll period; the last column ends the scan.
void ScanEngine::PaceBankScan(std::time_t now) {
    if (BankPaceCountdown > 0) --BankPaceCountdown;
    if (BankPaceCountdown > 0) return;
    BankPaceCountdown = kBankPaceTicks;

    // A clock set back before the start gives the first column, never a negative one.
    const double elapsed = std::difftime(now, BankScanStart);
    const double columns = std::trunc(elapsed / BankPollPeriod());
    const int32_t n = columns <= 0 ? 0 : columns >= INT32_MAX ? INT32_MAX : int32_t(columns);
    if (n == fdx_.MeasurementCount) return;
    fdx_.MeasurementCount = n;
    if (n >= fdx_.MeasurementCapacity) {
        fdx_.MeasurementCount = std::max(fdx_.MeasurementCapacity - 1, 0);
        StartStopScan();
    } else if (BankSkipCount < fdx_.ChannelCount) {
        if (!fdx_.Paused && SkipWarningArmed == 1) {
            SkipWarningArmed = 0;
            if (fdx_.OptEndScan) PostPrivateMessage(windows_.freq, PostPollStepWarning);
        }
    } else {
        BankSkipCount = 0;
    }
    fdx_.CyclesLeft = fdx_.MeasurementCapacity - fdx_.MeasurementCount;
    PostPrivateMessage(&window_, PostScanStatusText);
    PostPrivateMessage(windows_.freq, fdx_.OptSpy ? PostFollowFrequency : PostRefreshDisplay);
}

void ScanEngine::OnBankScanStep(uint64_t generation) {
    if (generation != scanGeneration_ || !fdx_.Running) return;
    if (WaitsForReceiver(PostBankScanStep, generation)) return;
    const bool read = QueryLevel();
    if (generation != scanGeneration_) return;
    if (read) {
        // The column of this time slice; a bank or a series changed under the scan gets
        // nothing written outside its histories.
        if (fdx_.ChannelIndex >= 0 && std::size_t(fdx_.ChannelIndex) < fdx_.ChannelLevels.size()) {
            auto& history = fdx_.ChannelLevels[std::size_t(fdx_.ChannelIndex)];
            if (fdx_.MeasurementCount >= 0 && std::size_t(fdx_.MeasurementCount) < history.size())
                history[std::size_t(fdx_.MeasurementCount)] = uint8_t(fdx_.ScanLevel);
        }
        if (ResumeRequested) fdx_.Paused = 0;
        const BankKeys keys = KeysOf(ScanBankRecord());
        bool advance = false;
        if (fdx_.Paused) {
            if (!ManualPause) {
                switch (keys.condition) {
                    case 0:
                        if (HoldCountdown == 0) ReleaseScan();
                        break;
                    case 1:
                        if (fdx_.ScanLevel < keys.level) {
                            if (HoldCountdown == 0) ReleaseScan();
                        } else {
                            HoldCountdown = keys.waitTime;
                        }
                        break;
                    default:
                        break;
                }
            }
            if (ResumeRequested) fdx_.Paused = 0;
            advance = !fdx_.Paused;
        } else if (keys.level > 0 && fdx_.ScanLevel > keys.level) {
            BankSignalFrequency = int32_t(fdx_.ScanFrequency);
            if (fdx_.OptSound) receiver_.ApplySound(true);
            if (generation != scanGeneration_) return;
            if (keys.waiting == 1) {
                if (const UserFreq* bank = ScanBankRecord()) StartScanJob(bank->Job);
            } else if (keys.waiting == 2) {
                PostPrivateMessage(&window_, PostBeep);
            }
            if (generation != scanGeneration_) return;
            HoldScan();
            HoldCountdown = keys.waitTime;
        } else {
            advance = true;
        }
        if (advance && !AdvanceBankChannel(generation)) return;
    }
    if (!fdx_.Running || generation != scanGeneration_) return;
    if (!fdx_.Paused) TuneReceiver();
    ShowLevel(fdx_.ScanFrequency);
    if (fdx_.Paused) {
        PauseWait.Reset();
        PauseWait.Wait(kHoldWaitMs);
        if (generation != scanGeneration_) return;
    }
    PostScanStep(PostBankScanStep, generation);
}

// ---------------------------------------------------------------------------------------
// The scale scan and the job-driven scan

void ScanEngine::OnScaleScanStep(uint64_t generation) {
    if (generation != scanGeneration_ || !fdx_.Running) return;
    if (WaitsForReceiver(PostScaleScanStep, generation)) return;
    const bool read = QueryLevel();
    if (generation != scanGeneration_) return;
    if (read && fdx_.Running && !fdx_.Paused) {
        const uint32_t step = receiver_.Panel() ? receiver_.Panel()->ScaleScanStep() : fdx_.Step;
        const int64_t next = int64_t{fdx_.Frequency} + step;
        fdx_.ScanFrequency =
            uint32_t(std::min<int64_t>(next, std::numeric_limits<uint32_t>::max()));
        // The upper limit itself is never tuned.
        if (next >= int64_t{fdx_.FreqHigh}) StartStopScan();
    }
    if (ResumeRequested) fdx_.Paused = 0;
    if (!fdx_.Running || generation != scanGeneration_) return;
    TuneReceiver();
    ShowLevel(fdx_.ScanFrequency);
    PostScanStep(PostScaleScanStep, generation);
}

// A job line waits for a signal at the current frequency: the job window hears of it once the
// level is above the line's value. Equal is not above: the chain goes on rather than end
// without telling the job, which would wait for ever.
void ScanEngine::OnJobScanStep(uint64_t generation) {
    if (generation != jobScanGeneration_) return;
    if (WaitsForReceiver(PostJobScanStep, generation)) return;
    if (fdx_.Paused) {
        PauseWait.Reset();
        PauseWait.Wait(kHoldWaitMs);
        if (generation != jobScanGeneration_) return;
    } else {
        TuneReceiver();
    }
    bool reached = false;
    if (fdx_.JobRunning) {
        const bool read = QueryLevel();
        if (generation != jobScanGeneration_) return;
        if (read && fdx_.JobLine != nullptr &&
            int64_t{fdx_.ScanLevel} > int64_t{fdx_.JobLine->VAL}) {
            PostPrivateMessage(windows_.job, PostTimeCondition);
            reached = true;
        }
    }
    if (!fdx_.JobRunning || reached) return;
    fdx_.ScanFrequency = fdx_.Frequency;
    TuneReceiver();
    ShowLevel(fdx_.Frequency);
    PostScanStep(PostJobScanStep, generation);
}
