// The scan engine: the range and group scan (code 0x7a), the bank scan (0x8c), the scale scan
// (0x8d) and the scan a job line waits on (0xae), their start and stop, and the tuning and
// level reading they are built from.
//
// Every scan is a chain of codes the main window posts to itself, one frequency per code, so
// that serial data, timer ticks and clicks are served between two steps. A step waits in two
// places (the receiver's reply, and the 300 ms of a held step) and the panels' settings wait
// too; codes and clicks are served inside those waits, among them a stop and a new start.
// Each run of a scan therefore has a generation: a start or a stop begins a new one, a step
// code carries the generation it was posted for, and a step that finds its generation over
// after any wait ends without posting. So one run is always exactly one chain.

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>

#include "app/format_text.h"
#include "app/orvel.h"
#include "state/cp1251.h"
#include "state/message_bus.h"

namespace {

constexpr const char* kPauseCaption = "ПАУЗА";
constexpr const char* kLevelOff = "выкл";
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

std::time_t ORVEL::CalendarNow() const {
    return CalendarClock ? CalendarClock() : std::time(nullptr);
}

const UserFreq* ORVEL::ScanBankRecord() const {
    return CurrentBank != nullptr ? CurrentBank : store.DefaultBank;
}

int32_t ORVEL::BankPollPeriod() const {
    const UserFreq* bank = ScanBankRecord();
    // A poll period of 0 would divide by zero: it counts as one second.
    return bank != nullptr && bank->Poll > 0 ? int32_t(std::min<uint32_t>(bank->Poll, INT32_MAX))
                                             : 1;
}

// ---------------------------------------------------------------------------------------
// The chains' bookkeeping

bool ORVEL::PostScanStep(uint32_t code, uint64_t generation) {
    const int chain = ChainOf(code);
    if (chain < 0 || !PostPrivateMessage(this, code)) return false;
    queuedSteps_[std::size_t(chain)].push_back(generation);
    return true;
}

// Codes to one window arrive in the order they were posted, so the oldest generation queued
// for a chain is the one of the code arriving. A job-driven step nobody here posted is a job
// starting its wait anew: it begins a new chain and the old one ends.
uint64_t ORVEL::TakeStepGeneration(uint32_t code) {
    const int chain = ChainOf(code);
    if (chain < 0) return 0;
    auto& queued = queuedSteps_[std::size_t(chain)];
    if (queued.empty()) return code == PostJobScanStep ? ++jobScanGeneration_ : 0;
    const uint64_t generation = queued.front();
    queued.pop_front();
    return generation;
}

std::size_t ORVEL::LiveScanSteps(uint32_t code) const {
    const int chain = ChainOf(code);
    if (chain < 0) return 0;
    const uint64_t live = code == PostJobScanStep ? jobScanGeneration_ : scanGeneration_;
    const auto& queued = queuedSteps_[std::size_t(chain)];
    return std::size_t(std::count(queued.begin(), queued.end(), live));
}

Bank* ORVEL::ScannedSlot() {
    if (ScanSlot < 0 || std::size_t(ScanSlot) >= ScanSlots.size()) return nullptr;
    return &ScanSlots[std::size_t(ScanSlot)];
}

// ---------------------------------------------------------------------------------------
// Tuning and level reading

void ORVEL::TuneReceiver() {
    Frequency = std::min(std::max(ScanFrequency, FreqLow), FreqHigh);
    if (Panel()) Panel()->SetFrequency();
    ShowFrequency();
}

bool ORVEL::QueryLevel() {
    ScanLevel = Panel() ? Panel()->ScanLevel() : -1;
    return ScanLevel != -1;
}

void ORVEL::ShowLevel(uint32_t frequency) {
    LevelFrequency = frequency;
    if (ScanLevel == -1) {
        if (statusBar != nullptr) statusBar->SetPartText(2, kLevelOff);
        if (progb_1 != nullptr) progb_1->SetPosition(0);
    } else {
        const std::string text = OptDb ? FormatText("%3.1f", LevelToDb(uint32_t(ScanLevel)) / 10.0)
                                       : FormatText("%u", unsigned(ScanLevel));
        if (statusBar != nullptr) statusBar->SetPartText(2, text);
        if (progb_1 != nullptr) progb_1->SetPosition(ScanLevel);
    }
    switch (WorkMode) {
        case 0:
            PostToPanel(PostRefreshDisplay);
            break;
        case 2:
            PostPrivateMessage(subWindows.diap, PostRefreshDisplay);
            break;
        case 3:
            PostPrivateMessage(subWindows.group, PostRefreshDisplay);
            break;
        default:
            break;
    }
}

// Manual tuning: the frequency entry, the step keys, the bank and range windows.
void ORVEL::TuneAndMeasure() {
    if (!comm.Running) return;
    Level = Panel() ? Panel()->TuneAndRead() : -1;
    if (WorkMode == 0) PostToPanel(PostRefreshDisplay);
    ShowCurrentLevel();
}

// ---------------------------------------------------------------------------------------
// Start and stop

void ORVEL::StartStopScan() {
    Paused = 0;
    if (pause != nullptr) pause->SetText(kPauseCaption);
    if (!Running) {
        if (WorkMode == 4 && JobRunning && !LoadedRun) {
            ShowError(27);
            return;
        }
        if (OptSound) ApplySound(false);
        RunningMode = WorkMode;
        const uint64_t generation = ++scanGeneration_;
        bool started = false;
        switch (RunningMode) {
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
                // The phonogram window starts or ends a recording; that is no scan.
                PostPrivateMessage(subWindows.signal, PostLockControls);
                break;
            default:
                break;
        }
        // A stop or another start while the start routine waited on the receiver has the
        // last word.
        if (generation != scanGeneration_) return;
        if (!started) {
            ShowError(26);
            return;
        }
        if (RunningMode != 4) Running = 1;
        SelectionStart = SelectionEnd = -1;
        PostPrivateMessage(this, PostShowStatus);
        ShowStopLabel();
        return;
    }

    ManualPause = false;
    if (Recording) PostPrivateMessage(subWindows.signal, PostUnlockControls);
    Running = 0;
    ++scanGeneration_;
    ShowStartLabel();
    if (JobRunning) PostPrivateMessage(subWindows.job, PostJobModeStopped);
    switch (RunningMode) {
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
    ShowModeStatus();
    if (OptSound) ApplySound(true);
    if (StudyOpen) PostPrivateMessage(this, PostAnalysisUpdate);
}

// The first part of every stop: the panel's outstanding request is dropped, so that a step
// waiting for it returns at once.
void ORVEL::ReleaseReceiver() {
    if (Panel()) Panel()->ReleaseForStop();
}

void ORVEL::StartScaleScan() {
    const uint64_t generation = scanGeneration_;
    ScanFrequency = Frequency;
    TuneReceiver();
    LockReceiverPanel();
    PostScanStep(PostScaleScanStep, generation);
}

void ORVEL::StopScaleScan() {
    ReleaseReceiver();
    if (!JobRunning) PostToPanel(PostUnlockControls);
}

bool ORVEL::StartBankScan() {
    const uint64_t generation = scanGeneration_;
    const int32_t count = std::min<int32_t>(ChannelCount, int32_t(Channels.size()));
    ChannelIndex = -1;
    BankSkipCount = ChannelCount;
    for (int32_t i = 0; i < count; ++i) {
        if (Channels[std::size_t(i)].Frequency != 0) {
            ChannelIndex = i;
            break;
        }
    }
    if (ChannelIndex < 0) {
        ShowError(4);
        return false;
    }
    MeasurementCount = 0;
    BankSampleIndex = BankChartFirst = 0;  // the bank window shows the new series from its start
    Paused = 0;
    SkipWarningArmed = 1;
    MeasurementsUnsaved = 1;

    const UserFreq* bank = ScanBankRecord();
    const int64_t interval = bank != nullptr ? bank->Interval : 0;
    const int64_t capacity =
        interval == 0 ? kOpenEndedSlices : interval * 60 / BankPollPeriod() + 1;
    MeasurementCapacity = int32_t(std::min<int64_t>(capacity, INT32_MAX));

    wait.Create(this);
    try {
        ChannelLevels.assign(std::size_t(count), {});
        for (auto& levels : ChannelLevels) levels.assign(std::size_t(MeasurementCapacity), 0);
    } catch (const std::exception&) {  // bad_alloc, or a length no vector can have
        ChannelLevels.clear();
        wait.Destroy();
        ShowError(5);
        return false;
    }

    CancelReceiver();
    const Mt& first = Channels[std::size_t(ChannelIndex)];
    ScanFrequency = first.Frequency;
    Attenuator = first.Attenuator;
    // A channel stored without a step keeps the step the receiver has.
    if (first.Step != 0) Step = first.Step;
    const char modulation = first.Modulation;
    ApplyStep();
    ShowStep();
    SetModulation(modulation);
    ShowModulation();
    ApplyAttenuator();
    ShowAttenuator();
    TuneReceiver();

    PostScanStep(PostBankScanStep, generation);
    PostPrivateMessage(subWindows.freq, PostLockControls);
    CyclesLeft = MeasurementCapacity - MeasurementCount;
    PostPrivateMessage(this, PostScanStatusText);

    BankScanStart = CalendarNow();
    MeasurementStart = MomentOf(LocalTimeOf(BankScanStart));
    HistoriesAllocated = 1;
    if (UpdateBankScrollBar) UpdateBankScrollBar();
    BankPaceCountdown = kBankPaceTicks;
    PostPrivateMessage(subWindows.freq, PostRefreshData);
    wait.Destroy();
    return true;
}

void ORVEL::StopBankScan() {
    ReleaseReceiver();
    // The series ends now; a measurement set saved from it carries this end.
    MeasurementEnd = MomentOf(LocalTimeOf(CalendarNow()));
    if (OptSound) ApplySound(true);
    if (!JobRunning) PostPrivateMessage(subWindows.freq, PostUnlockControls);
}

bool ORVEL::StartRangeScan() {
    const uint64_t generation = scanGeneration_;
    AppearanceFrequency = DisappearanceFrequency = BankSignalFrequency = 0;
    holdPeak_ = 0;
    ScanSlot = SlotIndex >= 0 && std::size_t(SlotIndex) < ScanSlots.size() ? SlotIndex : 0;
    for (Bank& slot : ScanSlots) {
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
            const int64_t cycles = int64_t{ScanRate} * slot.Range->Interval / points;
            slot.Range->Cycles = uint32_t(std::clamp<int64_t>(cycles, 1, UINT32_MAX));
        }
    }
    int32_t taken = -1;
    for (int32_t n = 0, index = ScanSlot; n < int32_t(kScanSlotCount); ++n) {
        if (std::size_t(index) < ScanSlots.size() && Scannable(ScanSlots[std::size_t(index)])) {
            taken = index;
            break;
        }
        index = (index + 1) % int32_t(kScanSlotCount);
    }
    if (taken < 0) return false;
    ScanSlot = taken;
    Bank& slot = ScanSlots[std::size_t(taken)];

    Running = 1;
    slot.ScanPoint = slot.Start;
    ScanFrequency = slot.ScanPoint;
    CyclesLeft = int32_t(CyclesOf(slot)) - int32_t(slot.CyclesDone);
    PostPrivateMessage(this, PostScanStatusText);

    CancelReceiver();
    ApplySlotSettings();
    TuneReceiver();
    if (generation == scanGeneration_) PostScanStep(PostRangeScanStep, generation);
    if (OptSound) ApplySound(false);
    PostPrivateMessage(subWindows.diap, PostLockControls);
    PostPrivateMessage(subWindows.group, PostLockControls);
    return true;
}

void ORVEL::StopRangeScan() {
    ReleaseReceiver();
    if (JobRunning) return;
    PostPrivateMessage(subWindows.diap, PostUnlockControls);
    PostPrivateMessage(subWindows.diap, PostDrawMarkerLabel);
    PostPrivateMessage(subWindows.group, PostUnlockControls);
}

// The job of the job editor runs from its first line; the lines are the job executor's.
bool ORVEL::StartJobMode() {
    const int32_t count = std::min<int32_t>(EditLineCount, int32_t(EditLines.size()));
    if (count <= 0) return false;
    LoadedRun = 0;
    for (int32_t i = 0; i < count; ++i) {
        JobStr& line = EditLines[std::size_t(i)];
        line.ReturnCode = 0;
        line.Message.clear();
        line.Time.clear();
    }
    LockReceiverPanel();
    for (ui::Form* window : {subWindows.diap, subWindows.group, subWindows.freq, subWindows.job})
        PostPrivateMessage(window, PostLockControls);
    JobLineIndex = 0;
    JobRunning = 1;
    JobLine = &EditLines[0];
    if (jobExecutor.executeLine) jobExecutor.executeLine();
    return true;
}

void ORVEL::EndJobMode() {
    JobRunning = 0;
    if (Running) {
        // The windows the job locked and the running scan does not use are free again.
        switch (RunningMode) {
            case 0:
                for (ui::Form* window : {subWindows.diap, subWindows.group, subWindows.freq})
                    PostPrivateMessage(window, PostUnlockControls);
                break;
            case 1:
                StopScaleScan();
                PostPrivateMessage(subWindows.diap, PostUnlockControls);
                PostPrivateMessage(subWindows.group, PostUnlockControls);
                break;
            case 2:
                StopScaleScan();
                PostPrivateMessage(subWindows.group, PostUnlockControls);
                PostPrivateMessage(subWindows.freq, PostUnlockControls);
                break;
            case 3:
                StopScaleScan();
                PostPrivateMessage(subWindows.diap, PostUnlockControls);
                PostPrivateMessage(subWindows.freq, PostUnlockControls);
                break;
            default:
                break;
        }
    } else if (!LoadedRun) {
        // The editor's run ends like a scan: the button reads "ПУСК" again.
        RunningMode = 4;
        Running = 1;
        StartStopScan();
        StopScaleScan();
        for (ui::Form* window : {subWindows.diap, subWindows.group, subWindows.freq})
            PostPrivateMessage(window, PostUnlockControls);
    }
    if (!LoadedRun) {
        PostPrivateMessage(subWindows.job, PostUnlockControls);
        PostPrivateMessage(subWindows.job, PostRefreshDisplay);
    }
    LoadedRun = 0;
}

// A scan's reaction "выполнить задание": the job holds the scan until it releases it.
bool ORVEL::StartScanJob(const std::string& name) {
    if (!jobExecutor.loadForRun || !jobExecutor.loadForRun(name)) return false;
    ManualPause = true;
    if (jobExecutor.start) jobExecutor.start();
    return true;
}

// ---------------------------------------------------------------------------------------
// The range and group scan

int64_t ORVEL::NextEligibleFrequency(int64_t f) const {
    if (ScanSlot < 0 || std::size_t(ScanSlot) >= ScanSlots.size()) return f;
    const Bank& slot = ScanSlots[std::size_t(ScanSlot)];
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
void ORVEL::AppendJournalLine(const Bank& slot, const char* event) {
    if (slot.Range == nullptr || slot.Range->FolderPath.empty()) return;
    const std::string path = slot.Range->FolderPath + kNotesFile;
    if (InfoFileShown == path) PostPrivateMessage(subWindows.info, PostRefreshDisplay);
    const std::tm now = LocalTimeOf(CalendarNow());
    const std::string line = FormatText("%02d/%02d/%04d %02d:%02d:%02d %s %8.4f\r\n", now.tm_mday,
                                        now.tm_mon + 1, now.tm_year + 1900, now.tm_hour, now.tm_min,
                                        now.tm_sec, event, ScanFrequency / 10000.0);
    const std::string bytes = Utf8ToCp1251(line);
    if (std::FILE* file = std::fopen(path.c_str(), "ab")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

void ORVEL::OnRangeScanStep(uint64_t generation) {
    if (generation != scanGeneration_ || !Running) return;
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
    const bool heldAtStart = Paused;

    if (!read) {
        // The point is measured again; what the receiver left in the ring goes.
        if (ReceiverTraits().serialPort) comm.Purge();
    } else {
        const int32_t level = ScanLevel;
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

        if (!Paused) {
            const bool above = level > threshold && (keys.marker || threshold != 0);
            const bool takesPart =
                eligible && Distance(current, slot->LastSignal) > bandwidth && above;
            if (takesPart) {
                if (!slot->SignalOpen) slot->SignalStart = ScanFrequency;
                if (level > slot->SignalPeak) slot->SignalPeak = level;
                slot->SignalOpen = 1;
            }
            const bool event = (!takesPart && slot->SignalOpen) ||
                               (takesPart && (Distance(current, slot->SignalStart) > bandwidth ||
                                              level < slot->SignalPeak));
            if (event) {
                if (keys.journal && Distance(current, AppearanceFrequency) > bandwidth &&
                    prev < threshold) {
                    AppearanceFrequency = int32_t(ScanFrequency);
                    AppendJournalLine(*slot, kAppearance);
                }
                // Back to the point before when it was the higher one; never below Fн.
                if (current > int64_t{slot->Start} && cell >= 1 &&
                    level < slot->Current[std::size_t(cell - 1)]) {
                    current -= slot->Step;
                    slot->ScanPoint = uint32_t(current);
                    ScanFrequency = uint32_t(current);
                    ScanLevel = slot->Current[std::size_t(cell - 1)];
                    TuneReceiver();
                }
                slot->LastSignal = ScanFrequency;
                slot->SignalStart = 0;
                slot->SignalOpen = 0;
                slot->SignalPeak = 0;
                if (OptSound) ApplySound(true);
                if (generation != scanGeneration_) return;
                switch (keys.waiting) {
                    case 1:
                        if (slot->Range != nullptr) StartScanJob(slot->Range->Job);
                        break;
                    case 2:
                        PostPrivateMessage(this, PostBeep);
                        break;
                    case 3:
                        PostPrivateMessage(subWindows.freq, PostReloadView);
                        break;
                    case 4:
                        PostPrivateMessage(subWindows.diap, PostFollowFrequency);
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
        if (ResumeRequested) Paused = 0;

        if (!Paused) {
            current += slot->Step;
            if (keys.exclusion || keys.selection) current = NextEligibleFrequency(current);
            slot->ScanPoint = uint32_t(std::min<int64_t>(current, UINT32_MAX));
            ScanFrequency = slot->ScanPoint;
            // The line carries the next point's frequency, as the journal always had it.
            const int32_t before = heldAtStart ? std::max(prev, holdPeak_) : prev;
            holdPeak_ = 0;
            const bool fell = keys.marker
                                  ? before > slot->SightLevel && level < slot->SightLevel
                                  : keys.level > 0 && before > keys.level && level < keys.level;
            if (keys.journal && eligible && Distance(current, DisappearanceFrequency) > bandwidth &&
                fell) {
                DisappearanceFrequency = int32_t(ScanFrequency);
                AppendJournalLine(*slot, kDisappearance);
            }
        }
    }

    // End of a pass, of a slot's cycles, of the scan.
    const bool oneMeasurement = RunningMode == 3 && OptOneMes;
    if (!Paused && (oneMeasurement || current > int64_t{slot->End})) {
        const uint32_t cycles = CyclesOf(*slot);
        if (current > int64_t{slot->End}) {
            slot->LastSignal = 0;
            AppearanceFrequency = DisappearanceFrequency = 0;
            current = slot->Start;
            if (keys.exclusion || keys.selection) current = NextEligibleFrequency(current);
            slot->ScanPoint = uint32_t(std::min<int64_t>(current, UINT32_MAX));
            ScanFrequency = slot->ScanPoint;
            ++slot->CyclesDone;
            ++slot->CycleCount;
            slot->PassDone = 1;
            CyclesLeft = int32_t(cycles) - int32_t(slot->CyclesDone);
            if (!OptOneMes) PostPrivateMessage(this, PostScanStatusText);
        }
        if (slot->CyclesDone >= cycles || OptOneCycle || OptOneMes) {
            if (slot->CyclesDone >= cycles) slot->Finished = 1;
            if (RunningMode == 3) {
                int32_t taken = -1;
                for (int32_t n = 0, index = ScanSlot; n < kAllSlotsRound; ++n) {
                    index = (index + 1) % int32_t(kScanSlotCount);
                    const Bank& next = ScanSlots[std::size_t(index)];
                    if (Scannable(next) && !next.Finished) {
                        taken = index;
                        break;
                    }
                }
                if (taken < 0) {
                    StartStopScan();
                } else {
                    ScanSlot = taken;
                    ApplySlotSettings();
                    if (generation != scanGeneration_) return;
                    const Bank& next = ScanSlots[std::size_t(taken)];
                    ScanFrequency = next.ScanPoint;
                    if (!OptOneMes) {
                        CyclesLeft = int32_t(CyclesOf(next)) - int32_t(next.CyclesDone);
                        PostPrivateMessage(this, PostScanStatusText);
                    }
                }
            }
        }
        if (Running && (ScannedSlot() == nullptr || ScannedSlot()->Finished)) StartStopScan();
    }
    if (!Running || generation != scanGeneration_) return;

    // The receiver is tuned before the window shows the level: the line works meanwhile.
    if (!Paused) TuneReceiver();
    ShowLevel(uint32_t(std::min<int64_t>(current, UINT32_MAX)));
    if (Paused) {
        PauseWait.Reset();
        PauseWait.Wait(kHoldWaitMs);
        if (generation != scanGeneration_) return;
    }

    if (OptSpy && !oneMeasurement) FollowScanInRangeWindow(current);
    PostScanStep(PostRangeScanStep, generation);
}

// SPY: the range window shows the slot being scanned and scrolls along with the scan.
void ORVEL::FollowScanInRangeWindow(int64_t current) {
    if (ScanSlot != SlotIndex) {
        SpySlot = ScanSlot;
        PostPrivateMessage(subWindows.diap, PostSpectrumStep);
        return;
    }
    if (SlotIndex < 0 || std::size_t(SlotIndex) >= ScanSlots.size()) return;
    Bank& shown = ScanSlots[std::size_t(SlotIndex)];
    if (current < int64_t{shown.VisibleLow}) {
        while (current < int64_t{shown.VisibleLow} && shown.ScrollPosition > 0) {
            --shown.ScrollPosition;
            if (DrawRangeScale) DrawRangeScale();
        }
    } else if (current > int64_t{shown.VisibleHigh}) {
        while (current > int64_t{shown.VisibleHigh} && shown.ScrollPosition < shown.ScrollMaximum) {
            ++shown.ScrollPosition;
            if (DrawRangeScale) DrawRangeScale();
        }
    }
    if (WorkMode == 2) PostPrivateMessage(subWindows.diap, PostRefreshData);
    if (WorkMode == 3) PostPrivateMessage(subWindows.group, PostRefreshData);
}

// ---------------------------------------------------------------------------------------
// The bank scan

// The next channel with a frequency, after the last one round to the first; false when the
// bank has none left (it was emptied under the scan), which ends the scan.
bool ORVEL::AdvanceBankChannel(uint64_t generation) {
    const int32_t count = std::min<int32_t>(ChannelCount, int32_t(Channels.size()));
    int32_t index = ChannelIndex;
    bool found = false;
    for (int32_t n = 0; n < count; ++n) {
        index = index + 1 >= count || index + 1 < 0 ? 0 : index + 1;
        if (Channels[std::size_t(index)].Frequency != 0) {
            found = true;
            break;
        }
        ++BankSkipCount;
    }
    if (!found) {
        StartStopScan();
        return false;
    }
    ChannelIndex = index;
    const Mt& channel = Channels[std::size_t(index)];
    const char modulation = channel.Modulation;
    const uint32_t step = channel.Step;
    const uint8_t attenuator = channel.Attenuator;
    ScanFrequency = channel.Frequency;
    if (modulation != Modulation) {
        SetModulation(modulation);
        ShowModulation();
        if (generation != scanGeneration_) return false;
    }
    if (step != 0 && step != Step) {
        Step = step;
        ApplyStep();
        ShowStep();
        if (generation != scanGeneration_) return false;
    }
    if (attenuator != Attenuator) {
        Attenuator = attenuator;
        ApplyAttenuator();
        ShowAttenuator();
        if (generation != scanGeneration_) return false;
    }
    return true;
}

void ORVEL::OnBankScanStep(uint64_t generation) {
    if (generation != scanGeneration_ || !Running) return;
    const bool read = QueryLevel();
    if (generation != scanGeneration_) return;
    if (read) {
        // The column of this time slice; a bank or a series changed under the scan gets
        // nothing written outside its histories.
        if (ChannelIndex >= 0 && std::size_t(ChannelIndex) < ChannelLevels.size()) {
            auto& history = ChannelLevels[std::size_t(ChannelIndex)];
            if (MeasurementCount >= 0 && std::size_t(MeasurementCount) < history.size())
                history[std::size_t(MeasurementCount)] = uint8_t(ScanLevel);
        }
        if (ResumeRequested) Paused = 0;
        const BankKeys keys = KeysOf(ScanBankRecord());
        bool advance = false;
        if (Paused) {
            if (!ManualPause) {
                switch (keys.condition) {
                    case 0:
                        if (HoldCountdown == 0) ReleaseScan();
                        break;
                    case 1:
                        if (ScanLevel < keys.level) {
                            if (HoldCountdown == 0) ReleaseScan();
                        } else {
                            HoldCountdown = keys.waitTime;
                        }
                        break;
                    default:
                        break;
                }
            }
            if (ResumeRequested) Paused = 0;
            advance = !Paused;
        } else if (keys.level > 0 && ScanLevel > keys.level) {
            BankSignalFrequency = int32_t(ScanFrequency);
            if (OptSound) ApplySound(true);
            if (generation != scanGeneration_) return;
            if (keys.waiting == 1) {
                if (const UserFreq* bank = ScanBankRecord()) StartScanJob(bank->Job);
            } else if (keys.waiting == 2) {
                PostPrivateMessage(this, PostBeep);
            }
            if (generation != scanGeneration_) return;
            HoldScan();
            HoldCountdown = keys.waitTime;
        } else {
            advance = true;
        }
        if (advance && !AdvanceBankChannel(generation)) return;
    }
    if (!Running || generation != scanGeneration_) return;
    if (!Paused) TuneReceiver();
    ShowLevel(ScanFrequency);
    if (Paused) {
        PauseWait.Reset();
        PauseWait.Wait(kHoldWaitMs);
        if (generation != scanGeneration_) return;
    }
    PostScanStep(PostBankScanStep, generation);
}

// ---------------------------------------------------------------------------------------
// The scale scan and the job-driven scan

void ORVEL::OnScaleScanStep(uint64_t generation) {
    if (generation != scanGeneration_ || !Running) return;
    const bool read = QueryLevel();
    if (generation != scanGeneration_) return;
    if (read && Running && !Paused) {
        const uint32_t step = Panel() ? Panel()->ScaleScanStep() : Step;
        const int64_t next = int64_t{Frequency} + step;
        ScanFrequency = uint32_t(std::min<int64_t>(next, std::numeric_limits<uint32_t>::max()));
        // The upper limit itself is never tuned.
        if (next >= int64_t{FreqHigh}) StartStopScan();
    }
    if (ResumeRequested) Paused = 0;
    if (!Running || generation != scanGeneration_) return;
    TuneReceiver();
    ShowLevel(ScanFrequency);
    PostScanStep(PostScaleScanStep, generation);
}

// A job line waits for a signal at the current frequency: the job window hears of it once the
// level is above the line's value. Equal is not above: the chain goes on rather than end
// without telling the job, which would wait for ever.
void ORVEL::OnJobScanStep(uint64_t generation) {
    if (generation != jobScanGeneration_) return;
    if (Paused) {
        PauseWait.Reset();
        PauseWait.Wait(kHoldWaitMs);
        if (generation != jobScanGeneration_) return;
    } else {
        TuneReceiver();
    }
    bool reached = false;
    if (JobRunning) {
        const bool read = QueryLevel();
        if (generation != jobScanGeneration_) return;
        if (read && JobLine != nullptr && int64_t{ScanLevel} > int64_t{JobLine->VAL}) {
            PostPrivateMessage(subWindows.job, PostTimeCondition);
            reached = true;
        }
    }
    if (!JobRunning || reached) return;
    ScanFrequency = Frequency;
    TuneReceiver();
    ShowLevel(Frequency);
    PostScanStep(PostJobScanStep, generation);
}
