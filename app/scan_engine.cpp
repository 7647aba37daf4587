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
#include <limits>
#include <utility>

#include "app/receiver_dispatch.h"
#include "receivers/comm.h"
#include "state/message_bus.h"
#include "state/user_dp.h"
#include "ui/post.h"

namespace {

// A held step measures its point again after this long.
constexpr int kHoldWaitMs = 300;
// A bank series without a length ("Интервал" 0) has this many time slices.
constexpr int32_t kOpenEndedSlices = 64000;
// Pacing of the bank scan by the timer: a check every 5 ticks.
constexpr int32_t kBankPaceTicks = 5;

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

// The keys of the bank record that steer the bank scan.
struct BankKeys {
    explicit BankKeys(const UserFreq* bank) {
        if (bank == nullptr) return;
        level = bank->Level;
        waiting = bank->Waiting;
        waitTime = int32_t(std::min<uint32_t>(bank->WaitTime, INT32_MAX));
        condition = bank->Condition;
    }
    int64_t level = 0;
    uint32_t waiting = kPauseOnly;
    int32_t waitTime = 0;
    uint32_t condition = kReleaseAfterWait;
};

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

// A receiver that has not answered its sync is sent nothing: the chain's resume tunes it once
// it answers.
void ScanEngine::TuneReceiver() {
    fdx_.Frequency = std::min(std::max(fdx_.ScanFrequency, fdx_.FreqLow), fdx_.FreqHigh);
    if (receiver_.Panel() && receiver_.ReceiverReady()) receiver_.Panel()->Tune();
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
        case kScaleMode:
            receiver_.PostToPanel(PostRefreshDisplay);
            break;
        case kRangeMode:
            PostPrivateMessage(windows_.diap, PostRefreshDisplay);
            break;
        case kGroupMode:
            PostPrivateMessage(windows_.group, PostRefreshDisplay);
            break;
        default:
            break;
    }
}

// Manual tuning: the frequency entry, the step keys, the bank and range windows. Without a
// port ("no port" in the settings) the program goes on as before; a port that is not open now
// (it would not open, its line hung up, or it was closed again after an unanswered try) reaches
// nobody, and the tune is not done.
bool ScanEngine::TuneAndMeasure() {
    if (!receiver_.Port().Running) return receiver_.Port().PortNumber == 0;
    fdx_.Level = receiver_.Panel() ? receiver_.Panel()->TuneAndRead() : -1;
    if (fdx_.WorkMode == kScaleMode) receiver_.PostToPanel(PostRefreshDisplay);
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
        if (!receiver_.SyncEnded() && fdx_.WorkMode != kSignalMode) {
            startAfterSync_ = !startAfterSync_;
            return;
        }
        if (fdx_.WorkMode == kJobMode && fdx_.JobRunning && !fdx_.LoadedRun) {
            fdx_.ShowError(27);
            return;
        }
        if (fdx_.OptSound && receiver_.ReceiverReady()) receiver_.ApplySound(false);
        fdx_.RunningMode = fdx_.WorkMode;
        const uint64_t generation = ++scanGeneration_;
        bool started = false;
        switch (fdx_.RunningMode) {
            case kScaleMode:
                StartScaleScan();
                started = true;
                break;
            case kBankMode:
                started = StartBankScan();
                break;
            case kRangeMode:
            case kGroupMode:
                started = StartRangeScan();
                break;
            case kJobMode:
                started = StartJobMode();
                break;
            case kSignalMode:
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
        if (fdx_.RunningMode != kJobMode) fdx_.Running = 1;
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
        case kScaleMode:
            StopScaleScan();
            break;
        case kBankMode:
            StopBankScan();
            break;
        case kRangeMode:
        case kGroupMode:
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
    scaleSettings_.reset();  // what an earlier scale scan kept when it was stopped waiting
    fdx_.ScanFrequency = fdx_.Frequency;
    TuneReceiver();
    receiver_.LockReceiverPanel();
    PostScanStep(PostScaleScanStep, generation);
}

void ScanEngine::StopScaleScan() {
    ReleaseReceiver();
    if (fdx_.JobRunning)
        leftToJob_.panel = true;
    else
        receiver_.PostToPanel(PostUnlockControls);
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
    fdx_.ScanFrequency = fdx_.Channels[std::size_t(fdx_.ChannelIndex)].Frequency;
    GiveFirstChannel();

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

// The first channel's settings and frequency go to the receiver. One that has not answered
// its sync is sent nothing and the program state keeps what it had: the chain's resume gives
// what differs once the receiver answers.
void ScanEngine::GiveFirstChannel() {
    if (!receiver_.ReceiverReady()) {
        TuneReceiver();
        return;
    }
    const Mt& first = fdx_.Channels[std::size_t(fdx_.ChannelIndex)];
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
}

void ScanEngine::StopBankScan() {
    ReleaseReceiver();
    // The series ends now; a measurement set saved from it carries this end.
    fdx_.MeasurementEnd = MomentOf(LocalTimeOf(calendar_()));
    if (fdx_.OptSound) receiver_.ApplySound(true);
    if (fdx_.JobRunning)
        leftToJob_.bank = true;
    else
        PostPrivateMessage(windows_.freq, PostUnlockControls);
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
            case kScaleMode:
                for (ui::Form* window : {windows_.diap, windows_.group, windows_.freq})
                    PostPrivateMessage(window, PostUnlockControls);
                break;
            case kBankMode:
                StopScaleScan();
                PostPrivateMessage(windows_.diap, PostUnlockControls);
                PostPrivateMessage(windows_.group, PostUnlockControls);
                break;
            case kRangeMode:
                StopScaleScan();
                PostPrivateMessage(windows_.group, PostUnlockControls);
                PostPrivateMessage(windows_.freq, PostUnlockControls);
                break;
            case kGroupMode:
                StopScaleScan();
                PostPrivateMessage(windows_.diap, PostUnlockControls);
                PostPrivateMessage(windows_.freq, PostUnlockControls);
                break;
            default:
                break;
        }
    } else if (!fdx_.LoadedRun) {
        // The editor's run ends like a scan: the button reads "ПУСК" again.
        fdx_.RunningMode = kJobMode;
        fdx_.Running = 1;
        StartStopScan();
        StopScaleScan();
        for (ui::Form* window : {windows_.diap, windows_.group, windows_.freq})
            PostPrivateMessage(window, PostUnlockControls);
    }
    ReturnWindowsLeftToJob();
    if (!fdx_.LoadedRun) {
        PostPrivateMessage(windows_.job, PostUnlockControls);
        PostPrivateMessage(windows_.job, PostRefreshDisplay);
    }
    fdx_.LoadedRun = 0;
}

// A stop under a job leaves its windows locked for the job, which goes on driving them. A run
// of the editor locked them itself and unlocks them at its end; a loaded run (the macro, the
// trigger, a scan's reaction) locked nothing and would leave them locked for good. So each
// comes back with the end of either run, with the range window's redraw of the scan's end,
// unless a scan that runs now works on it: that scan's own stop returns it.
void ScanEngine::ReturnWindowsLeftToJob() {
    const LeftToJob left = std::exchange(leftToJob_, {});
    const int32_t mode = fdx_.Running ? fdx_.RunningMode : -1;  // -1: no scan runs
    if (left.panel && mode != kScaleMode) receiver_.PostToPanel(PostUnlockControls);
    if (left.bank && mode != kBankMode) PostPrivateMessage(windows_.freq, PostUnlockControls);
    if (left.range && mode != kRangeMode && mode != kGroupMode) ReturnRangeWindows();
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

// A hold the scan made itself ends by the range's or bank's "Условие": when the wait has run
// out, or the wait after the signal has gone (it starts again while the signal stays).
void ScanEngine::ReleaseByCondition(uint32_t condition, bool signalGone, int32_t waitTime) {
    switch (condition) {
        case kReleaseAfterWait:
            if (HoldCountdown == 0) ReleaseScan();
            break;
        case kReleaseSignalGone:
            if (!signalGone)
                HoldCountdown = waitTime;
            else if (HoldCountdown == 0)
                ReleaseScan();
            break;
        default:
            break;
    }
}

// A signal holds the scan: the sound goes on and the range's or bank's "Ожидание" runs (a bank
// has no window to take the frequency or mark it). False when a stop came meanwhile.
bool ScanEngine::ReactToSignal(uint64_t generation, uint32_t waiting, bool bankScan) {
    if (fdx_.OptSound) receiver_.ApplySound(true);
    if (generation != scanGeneration_) return false;
    switch (waiting) {
        case kPauseRunJob:
            if (bankScan) {
                if (const UserFreq* bank = ScanBankRecord()) StartScanJob(bank->Job);
            } else if (const Bank* slot = ScannedSlot(); slot != nullptr && slot->Range) {
                StartScanJob(slot->Range->Job);
            }
            break;
        case kPauseBeep:
            PostPrivateMessage(&window_, PostBeep);
            break;
        case kPauseIntoBank:
            if (!bankScan) PostPrivateMessage(windows_.freq, PostReloadView);
            break;
        case kPauseMarker:
            if (!bankScan) PostPrivateMessage(windows_.diap, PostFollowFrequency);
            break;
        default:
            break;
    }
    return generation == scanGeneration_;
}

// The end of a range or bank step: the receiver tuned to the next point unless the scan holds
// (the line works while the window shows the level), or the 300 ms a held step waits. A held
// point whose level was not read is tuned again: a tune of it that went unanswered or was
// refused would fail every read after it, and the release, which the next read lets go, with
// them. False when a stop came meanwhile.
bool ScanEngine::TuneOrHold(uint64_t generation, uint32_t shownFrequency, bool read) {
    if (!fdx_.Paused || !read) TuneReceiver();
    ShowLevel(shownFrequency);
    if (!fdx_.Paused) {
        jobOnHold_ = false;
        return true;
    }
    jobOnHold_ = jobOnHold_ || fdx_.JobRunning != 0;
    WaitOnHold();
    if (generation != scanGeneration_) return false;
    // A job that ran during the hold may have moved the receiver off the held point (a bank
    // read recalls the set's channels): once it has ended, the point is tuned again, so that
    // its next read, and what the journal and the picture make of it, is the point's own.
    jobOnHold_ = jobOnHold_ || fdx_.JobRunning != 0;
    if (jobOnHold_ && fdx_.JobRunning == 0) {
        jobOnHold_ = false;
        TuneReceiver();
    }
    return true;
}

void ScanEngine::WaitOnHold() {
    PauseWait.Reset();
    PauseWait.Wait(kHoldWaitMs);
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

bool ScanEngine::ApplyChannelSettings(uint64_t generation, bool afresh) {
    if (fdx_.ChannelIndex < 0 || std::size_t(fdx_.ChannelIndex) >= fdx_.Channels.size())
        return true;
    const Mt& channel = fdx_.Channels[std::size_t(fdx_.ChannelIndex)];
    const char modulation = channel.Modulation;
    const uint32_t step = channel.Step;
    const uint8_t attenuator = channel.Attenuator;
    if (afresh || modulation != fdx_.Modulation) {
        receiver_.SetModulation(modulation);
        host_.ShowModulation();
        if (generation != scanGeneration_) return false;
    }
    if (step != 0 && (afresh || step != fdx_.Step)) {
        fdx_.Step = step;
        receiver_.ApplyStep();
        host_.ShowStep();
        if (generation != scanGeneration_) return false;
    }
    if (afresh || attenuator != fdx_.Attenuator) {
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
    if (read && !JudgeBankChannel(generation)) return;
    if (!fdx_.Running || generation != scanGeneration_) return;
    if (!TuneOrHold(generation, fdx_.ScanFrequency, read)) return;
    PostScanStep(PostBankScanStep, generation);
}

// The channel's level goes into its column of this time slice; a level above the bank's
// threshold holds the scan on the channel, and once no hold keeps it the scan moves on to the
// next channel. False when the step ends here.
bool ScanEngine::JudgeBankChannel(uint64_t generation) {
    // A bank or a series changed under the scan gets nothing written outside its histories.
    if (fdx_.ChannelIndex >= 0 && std::size_t(fdx_.ChannelIndex) < fdx_.ChannelLevels.size()) {
        auto& history = fdx_.ChannelLevels[std::size_t(fdx_.ChannelIndex)];
        if (fdx_.MeasurementCount >= 0 && std::size_t(fdx_.MeasurementCount) < history.size())
            history[std::size_t(fdx_.MeasurementCount)] = uint8_t(fdx_.ScanLevel);
    }
    if (ResumeRequested) fdx_.Paused = 0;
    const BankKeys keys(ScanBankRecord());
    if (fdx_.Paused) {
        if (!ManualPause)
            ReleaseByCondition(keys.condition, fdx_.ScanLevel < keys.level, keys.waitTime);
        if (ResumeRequested) fdx_.Paused = 0;
        return fdx_.Paused || AdvanceBankChannel(generation);
    }
    if (keys.level > 0 && fdx_.ScanLevel > keys.level) {
        BankSignalFrequency = int32_t(fdx_.ScanFrequency);
        if (!ReactToSignal(generation, keys.waiting, true)) return false;
        HoldScan();
        HoldCountdown = keys.waitTime;
        return true;
    }
    return AdvanceBankChannel(generation);
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
        WaitOnHold();
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
