// The range and group scan: one point of the scanned slot per step. A step measures its point,
// follows a signal over the points above the threshold and, at its end, journals its appearance
// and holds on it; a held step measures the same point again until the hold is released; then
// the scan moves on, journals a signal that fell, and counts passes and cycles, moving a group
// scan to its next range.

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "app/format_text.h"
#include "app/receiver_dispatch.h"
#include "app/scan_engine.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/user_dp.h"
#include "ui/post.h"

namespace {

constexpr const char* kAppearance = "Появление сигнала";
constexpr const char* kDisappearance = "Исчезновение сигнала";
constexpr const char* kNotesFile = "info.txt";

// A group scan looks this many slots on for the next one to scan.
constexpr int32_t kAllSlotsRound = 13;

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

uint32_t Clamped(int64_t frequency) {
    return uint32_t(std::min<int64_t>(frequency, UINT32_MAX));
}

}  // namespace

// The keys of the range record that steer the scan of a slot ("Журнал", "Маркер", ...); a slot
// without a record scans without detection.
struct ScanEngine::RangeKeys {
    explicit RangeKeys(const Bank& slot) {
        if (const UserDp* range = slot.Range) {
            journal = range->Journal;
            marker = range->Marker;
            fixing = range->Fixing;
            exclusion = range->Exclusion;
            selection = range->Selection;
            level = range->Level;
            waiting = range->Waiting;
            waitTime = int32_t(std::min<uint32_t>(range->WaitTime, INT32_MAX));
            condition = range->Condition;
        }
    }
    // "Исключение" or "Выделение": the scan passes over some points.
    bool skipsPoints() const { return exclusion || selection; }

    bool journal = false;
    bool marker = false;
    bool fixing = false;
    bool exclusion = false;
    bool selection = false;
    int64_t level = 0;
    uint32_t waiting = kPauseOnly;
    int32_t waitTime = 0;
    uint32_t condition = kReleaseAfterWait;
};

// What one step works on: the slot, its keys, and what its point read.
struct ScanEngine::RangePoint {
    RangePoint(uint64_t run, Bank& scanned, bool held)
        : generation(run), slot(&scanned), keys(scanned), current(scanned.ScanPoint),
          heldAtStart(held) {}

    uint64_t generation;
    Bank* slot;
    RangeKeys keys;
    int64_t current;   // the point measured; once the scan moves on, the next one
    bool heldAtStart;  // the step began holding on its point
    int32_t level = 0;
    int32_t prev = 0;       // the point's level in the pass before
    int64_t cell = -1;      // the point's cell; -1 outside the slot's arrays
    bool eligible = true;   // the point takes part in detection
    int64_t threshold = 0;  // "Уровень", or the sight level with "Маркер"
};

// ---------------------------------------------------------------------------------------
// Start and stop

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
    if (fdx_.OptSound && receiver_.ReceiverReady()) receiver_.ApplySound(false);
    PostPrivateMessage(windows_.diap, PostLockControls);
    PostPrivateMessage(windows_.group, PostLockControls);
    return true;
}

void ScanEngine::StopRangeScan() {
    ReleaseReceiver();
    if (fdx_.JobRunning)
        leftToJob_.range = true;
    else
        ReturnRangeWindows();
}

// The range window's redraw of the whole scale is what shows the scan's last point: the
// cursor never left its column.
void ScanEngine::ReturnRangeWindows() {
    PostPrivateMessage(windows_.diap, PostUnlockControls);
    PostPrivateMessage(windows_.diap, PostDrawMarkerLabel);
    PostPrivateMessage(windows_.group, PostUnlockControls);
}

// The receiver takes the modulation, step and attenuator of the slot the range scan takes;
// one that has not answered its sync takes them when the chain resumes.
void ScanEngine::ApplySlotSettings(bool afresh) {
    if (!receiver_.ReceiverReady()) return;
    if (fdx_.ScanSlot < 0 || std::size_t(fdx_.ScanSlot) >= fdx_.ScanSlots.size()) return;
    const Bank& slot = fdx_.ScanSlots[std::size_t(fdx_.ScanSlot)];
    if (afresh || slot.Modulation != fdx_.Modulation) {
        receiver_.SetModulation(slot.Modulation);
        host_.ShowModulation();
    }
    if (afresh || slot.Step != fdx_.Step) {
        fdx_.Step = slot.Step;
        receiver_.ApplyStep();
        host_.ShowStep();
    }
    if (slot.Range != nullptr && (afresh || slot.Range->Attenuator != fdx_.Attenuator)) {
        fdx_.Attenuator = slot.Range->Attenuator;
        receiver_.ApplyAttenuator();
    }
}

int64_t ScanEngine::NextEligibleFrequency(int64_t f) const {
    if (fdx_.ScanSlot < 0 || std::size_t(fdx_.ScanSlot) >= fdx_.ScanSlots.size()) return f;
    const Bank& slot = fdx_.ScanSlots[std::size_t(fdx_.ScanSlot)];
    const RangeKeys keys(slot);
    if ((keys.exclusion && keys.selection) || slot.Step == 0) return f;
    for (int64_t candidate = f;; candidate += slot.Step) {
        if (candidate > int64_t{slot.End}) return candidate;
        const int64_t cell = slot.CellOf(candidate);
        const bool fixed = cell >= 0 && (slot.Flags[std::size_t(cell)] & kFixedFrequencyPoint);
        if ((keys.exclusion && !fixed) || (keys.selection && fixed)) return candidate;
    }
}

// ---------------------------------------------------------------------------------------
// One step

void ScanEngine::OnRangeScanStep(uint64_t generation) {
    if (generation != scanGeneration_ || !fdx_.Running) return;
    if (WaitsForReceiver(PostRangeScanStep, generation)) return;
    if (StopsWithoutSlot()) return;
    const bool read = QueryLevel();
    if (generation != scanGeneration_ || StopsWithoutSlot()) return;
    RangePoint point(generation, *ScannedSlot(), fdx_.Paused);

    if (!read) {
        // The point is measured again; what the receiver left in the ring goes.
        receiver_.EmptyPortAfterFailedRead();
    } else {
        MeasureRangePoint(point);
        if (!fdx_.Paused && FollowSignal(point) && !HoldOnSignal(point)) return;
        ReleaseHeldPoint(point);
        if (!fdx_.Paused) AdvanceRangePoint(point);
    }
    if (!EndRangePass(point)) return;

    // The receiver is tuned before the window shows the level: the line works meanwhile.
    if (!TuneOrHold(generation, Clamped(point.current), read)) return;
    if (fdx_.OptSpy && !OneMeasurementPerRange()) FollowScanInRangeWindow();
    PostScanStep(PostRangeScanStep, generation);
}

// A slot taken from under the scan (unloaded, emptied) stops it.
bool ScanEngine::StopsWithoutSlot() {
    const Bank* slot = ScannedSlot();
    if (slot != nullptr && Scannable(*slot)) return false;
    StartStopScan();
    return true;
}

// ONE_MES in a group scan: one point of a range, then the next range.
bool ScanEngine::OneMeasurementPerRange() const {
    return fdx_.RunningMode == kGroupMode && fdx_.OptOneMes;
}

// The level goes into the slot's arrays: the current one, and minimum, average and maximum
// over the passes so far.
void ScanEngine::MeasureRangePoint(RangePoint& point) {
    Bank& slot = *point.slot;
    point.level = fdx_.ScanLevel;
    point.cell = slot.CellOf(point.current);
    point.threshold = point.keys.marker ? int64_t{slot.SightLevel} : point.keys.level;
    if (point.cell < 0) return;
    const std::size_t i = std::size_t(point.cell);
    point.prev = slot.Current[i];
    const auto value = uint8_t(point.level);
    slot.Current[i] = value;
    if (slot.CycleCount == 0) {
        slot.Average[i] = slot.Minimum[i] = slot.Maximum[i] = value;
    } else {
        const int64_t passes = slot.CycleCount;
        slot.Average[i] = uint8_t((passes * slot.Average[i] + point.level) / (passes + 1));
        slot.Minimum[i] = std::min(slot.Minimum[i], value);
        slot.Maximum[i] = std::max(slot.Maximum[i], value);
    }
    slot.Flag4 = 1;  // results not saved yet
    point.eligible = !(slot.Flags[i] & kFixedFrequencyPoint) || point.keys.fixing;
}

// A signal is followed over the points above the threshold; it ends at the first point that
// is not, at the first below its peak, or once it spreads wider than the bandwidth. True at
// its end: the event that journals and holds.
bool ScanEngine::FollowSignal(RangePoint& point) {
    Bank& slot = *point.slot;
    const int64_t bandwidth = slot.Bandwidth;
    const bool above =
        point.level > point.threshold && (point.keys.marker || point.threshold != 0);
    const bool takesPart =
        point.eligible && Distance(point.current, slot.LastSignal) > bandwidth && above;
    if (takesPart) {
        if (!slot.SignalOpen) slot.SignalStart = fdx_.ScanFrequency;
        if (point.level > slot.SignalPeak) slot.SignalPeak = point.level;
        slot.SignalOpen = 1;
    }
    return (!takesPart && slot.SignalOpen) ||
           (takesPart && (Distance(point.current, slot.SignalStart) > bandwidth ||
                          point.level < slot.SignalPeak));
}

// The end of a signal: its appearance journalled, the scan back on the point before when that
// one was the higher (never below Fн), the signal closed, the range's reaction, and the hold.
// False when the step ends here: the run is over or the slot gone.
bool ScanEngine::HoldOnSignal(RangePoint& point) {
    Bank& slot = *point.slot;
    if (point.keys.journal && Distance(point.current, AppearanceFrequency) > slot.Bandwidth &&
        point.prev < point.threshold) {
        AppearanceFrequency = int32_t(fdx_.ScanFrequency);
        AppendJournalLine(slot, kAppearance);
    }
    if (point.current > int64_t{slot.Start} && point.cell >= 1 &&
        point.level < slot.Current[std::size_t(point.cell - 1)]) {
        point.current -= slot.Step;
        slot.ScanPoint = uint32_t(point.current);
        fdx_.ScanFrequency = uint32_t(point.current);
        fdx_.ScanLevel = slot.Current[std::size_t(point.cell - 1)];
        TuneReceiver();
    }
    slot.LastSignal = fdx_.ScanFrequency;
    slot.SignalStart = 0;
    slot.SignalOpen = 0;
    slot.SignalPeak = 0;
    if (!ReactToSignal(point.generation, point.keys.waiting, false)) return false;
    if (StopsWithoutSlot()) return false;
    point.slot = ScannedSlot();
    HoldScan();
    HoldCountdown = point.keys.waitTime;
    return true;
}

// A hold the step began with: what the held point showed meanwhile is kept (a signal that goes
// while the scan holds on it still gets its disappearance line when the scan moves on), and
// the hold ends by the range's "Условие".
void ScanEngine::ReleaseHeldPoint(const RangePoint& point) {
    if (point.heldAtStart) holdPeak_ = std::max(holdPeak_, point.prev);
    if (point.heldAtStart && !ManualPause) {
        const bool gone = point.level < point.keys.level ||
                          (point.keys.marker && point.level < int32_t{point.slot->SightLevel});
        ReleaseByCondition(point.keys.condition, gone, point.keys.waitTime);
    }
    if (ResumeRequested) fdx_.Paused = 0;
}

// The next point, past those "Исключение" or "Выделение" leave out; a signal that fell at the
// point just measured is journalled with the next point's frequency, as the journal always had
// it.
void ScanEngine::AdvanceRangePoint(RangePoint& point) {
    Bank& slot = *point.slot;
    point.current += slot.Step;
    if (point.keys.skipsPoints()) point.current = NextEligibleFrequency(point.current);
    slot.ScanPoint = Clamped(point.current);
    fdx_.ScanFrequency = slot.ScanPoint;
    const int32_t before = point.heldAtStart ? std::max(point.prev, holdPeak_) : point.prev;
    holdPeak_ = 0;
    const int32_t level = point.level;
    const bool fell =
        point.keys.marker
            ? before > slot.SightLevel && level < slot.SightLevel
            : point.keys.level > 0 && before > point.keys.level && level < point.keys.level;
    if (point.keys.journal && point.eligible &&
        Distance(point.current, DisappearanceFrequency) > slot.Bandwidth && fell) {
        DisappearanceFrequency = int32_t(fdx_.ScanFrequency);
        AppendJournalLine(slot, kDisappearance);
    }
}

// Past Fк a pass ends and the next begins at Fн; once the slot has run its cycles (or after
// each pass with ONE_CYCLE, each point with ONE_MES) a group scan takes its next range, and a
// scan whose slot is finished stops. False when the step ends here.
bool ScanEngine::EndRangePass(RangePoint& point) {
    if (!fdx_.Paused && (OneMeasurementPerRange() || point.current > int64_t{point.slot->End})) {
        Bank& slot = *point.slot;
        const uint32_t cycles = CyclesOf(slot);
        if (point.current > int64_t{slot.End}) {
            slot.LastSignal = 0;
            AppearanceFrequency = DisappearanceFrequency = 0;
            point.current = slot.Start;
            if (point.keys.skipsPoints()) point.current = NextEligibleFrequency(point.current);
            slot.ScanPoint = Clamped(point.current);
            fdx_.ScanFrequency = slot.ScanPoint;
            ++slot.CyclesDone;
            ++slot.CycleCount;
            slot.PassDone = 1;
            fdx_.CyclesLeft = int32_t(cycles) - int32_t(slot.CyclesDone);
            if (!fdx_.OptOneMes) PostPrivateMessage(&window_, PostScanStatusText);
        }
        if (slot.CyclesDone >= cycles || fdx_.OptOneCycle || fdx_.OptOneMes) {
            if (slot.CyclesDone >= cycles) slot.Finished = 1;
            if (fdx_.RunningMode == kGroupMode && !TakeNextGroupSlot(point.generation))
                return false;
        }
        if (fdx_.Running && (ScannedSlot() == nullptr || ScannedSlot()->Finished)) StartStopScan();
    }
    return fdx_.Running && point.generation == scanGeneration_;
}

// The slots after the scanned one, round to itself: the first loaded and unfinished one is
// scanned next, with its settings; without one the scan stops. False when a stop came while
// the receiver took the settings.
bool ScanEngine::TakeNextGroupSlot(uint64_t generation) {
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
        return true;
    }
    fdx_.ScanSlot = taken;
    ApplySlotSettings();
    if (generation != scanGeneration_) return false;
    const Bank& next = fdx_.ScanSlots[std::size_t(taken)];
    fdx_.ScanFrequency = next.ScanPoint;
    if (!fdx_.OptOneMes) {
        fdx_.CyclesLeft = int32_t(CyclesOf(next)) - int32_t(next.CyclesDone);
        PostPrivateMessage(&window_, PostScanStatusText);
    }
    return true;
}

// SPY: the range window shows the slot being scanned and follows the scan through it.
void ScanEngine::FollowScanInRangeWindow() {
    if (fdx_.ScanSlot != fdx_.SlotIndex) {
        fdx_.SpySlot = fdx_.ScanSlot;
        PostPrivateMessage(windows_.diap, PostSpectrumStep);
        return;
    }
    PostPrivateMessage(windows_.diap, PostFollowScan);
    if (fdx_.WorkMode == kGroupMode) PostPrivateMessage(windows_.group, PostRefreshData);
}

// One line of the range's notes file, appended as it happens; a file that cannot be opened
// loses the line and nothing else.
void ScanEngine::AppendJournalLine(const Bank& slot, const char* event) {
    if (slot.Range == nullptr || slot.Range->FolderPath.empty()) return;
    const std::string path = slot.Range->FolderPath + kNotesFile;
    if (fdx_.InfoFileShown == path) PostPrivateMessage(windows_.info, PostRefreshDisplay);
    const std::time_t moment = calendar_();
    std::tm now{};
    localtime_r(&moment, &now);
    const std::string line = FormatText("%02d/%02d/%04d %02d:%02d:%02d %s %8.4f\r\n", now.tm_mday,
                                        now.tm_mon + 1, now.tm_year + 1900, now.tm_hour, now.tm_min,
                                        now.tm_sec, event, fdx_.ScanFrequency / 10000.0);
    const std::string bytes = Utf8ToCp1251(line);
    if (std::FILE* file = std::fopen(path.c_str(), "ab")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}
