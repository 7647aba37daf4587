// The main window's share of the message bus beyond what OnUserEvent serves itself: the scan
// steps, the once-a-second tick, the receiver panel's reports, the status line, tune requests
// from the windows, step keys, and the codes it passes on to the windows.

#include "app/format_text.h"
#include "app/orvel.h"
#include "state/message_bus.h"
#include "ui/application.h"

namespace {

// The status-bar panes the codes write.
constexpr int kModePane = 0;
constexpr int kScanPane = 1;
constexpr int kLevelPane = 2;
constexpr int kCursorLevelPane = 3;
constexpr int kLeftMarkerPane = 4;
constexpr int kCursorPane = 5;
constexpr int kRightMarkerPane = 6;

// The timer's level poll tries again after this many seconds without an answer.
constexpr int32_t kLevelPollRetries = 10;

std::string LevelText(const FDX& state, int64_t level) {
    if (state.OptDb) return FormatText("%3.1f", state.LevelToDb(uint32_t(level)) / 10.0);
    return FormatText("%u", unsigned(level));
}

}  // namespace

void ORVEL::OnPostedCode(uint32_t code) {
    switch (code) {
        // --- The scans
        case PostRangeScanStep:
            OnRangeScanStep(TakeStepGeneration(code));
            break;
        case PostBankScanStep:
            OnBankScanStep(TakeStepGeneration(code));
            break;
        case PostScaleScanStep:
            OnScaleScanStep(TakeStepGeneration(code));
            break;
        case PostJobScanStep:
            OnJobScanStep(TakeStepGeneration(code));
            break;

        // --- Job and timer
        case PostTimerTick:
            OnSecondTick();
            break;
        case PostJobStep:
            OnJobStep();
            break;
        case PostRunMacro:
            RunMacro();
            break;
        case PostJobNotice:
            OnJobNotice();
            break;
        case PostPanelStartJob:
            StartPanelJob();
            break;

        // --- The receiver panel's own dialogs: the panel owns them
        case PostOpenScanSettings:
        case PostRefreshPanelDialogs:
        case PostOpenExtraFunctions:
            if (Panel() != nullptr) Panel()->ServeDialogCode(code);
            break;

        // --- Receiver state and status
        case PostReceiverState:
            ShowFrequency();
            ShowModulation();
            ShowAttenuator();
            ShowCurrentLevel();
            ShowStep();
            break;
        case PostFrequencyChanged:
            ShowFrequency();
            ShowCurrentLevel();
            break;
        case PostModulationChanged:
            ShowModulation();
            break;
        case PostPanelLevelDisplay:
            ShowCurrentLevel();
            break;
        case PostShowLevelOff:
            if (statusBar != nullptr) statusBar->SetPartText(kLevelPane, "выкл");
            if (progb_1 != nullptr) progb_1->SetPosition(0);
            break;
        case PostShowStatus:
            ShowMarkersAndCursor();
            break;
        case PostShowLevelText:
            if (statusBar != nullptr) {
                const Bank* shown = SlotIndex >= 0 && std::size_t(SlotIndex) < ScanSlots.size()
                                        ? &ScanSlots[std::size_t(SlotIndex)]
                                        : nullptr;
                std::string text;
                if (shown != nullptr && shown->InUse)
                    text = OptDb ? FormatText(">%3.1f<", LevelToDb(shown->SightLevel) / 10.0)
                                 : FormatText(">%u<", unsigned(shown->SightLevel));
                statusBar->SetPartText(kCursorLevelPane, text);
            }
            break;
        case PostScanStatusText:
            if (statusBar != nullptr)
                statusBar->SetPartText(kScanPane, FormatText("%u", unsigned(CyclesLeft)));
            break;
        case PostScanStoppedByPanel:
            ShowStartLabel();
            for (ui::Form* window :
                 {subWindows.diap, subWindows.group, subWindows.freq, subWindows.job})
                PostPrivateMessage(window, PostUnlockControls);
            if (start != nullptr) start->SetEnabled(true);
            if (pause != nullptr) pause->SetEnabled(true);
            ShowModeStatus();
            break;
        case PostScanStartedByPanel:
            ShowStopLabel();
            for (ui::Form* window :
                 {subWindows.diap, subWindows.group, subWindows.freq, subWindows.job})
                PostPrivateMessage(window, PostLockControls);
            if (start != nullptr) start->SetEnabled(false);
            if (pause != nullptr) pause->SetEnabled(false);
            if (statusBar != nullptr) statusBar->SetPartText(kModePane, PanelStatusText);
            break;

        // --- Tuning
        case PostApplyFrequency:
            if (!Running) ApplyTuneRequest();
            break;
        case PostApplyGroupFrequency:
            if (!Running && SpySlot >= 0 && std::size_t(SpySlot) < ScanSlots.size() &&
                ScanSlots[std::size_t(SpySlot)].InUse)
                ApplyTuneRequest();
            PostPrivateMessage(subWindows.diap, PostSpectrumStep);
            break;
        case PostStepUp:
        case PostStepDown:
            StepKey(code == PostStepUp ? +1 : -1);
            break;
        case PostFrequencyStepped:
            if (LimbOpen) PostPrivateMessage(auxWindows.Limb, PostFrequencyStepped);
            break;

        // --- Range, group and scale windows
        case PostSpectrumDrawn:
            if (WorkMode == 2) PostPrivateMessage(subWindows.diap, PostRefreshData);
            if (WorkMode == 3) PostPrivateMessage(subWindows.group, PostRefreshData);
            break;
        case PostGroupRangeChosen:
            if (DrawRangeScale) DrawRangeScale();
            if (WorkMode == 3) PostPrivateMessage(subWindows.group, PostGroupRedraw);
            break;
        case PostShowRangeTab:
            SwitchToTab(2);
            break;
        case PostShowGroupTab:
            SwitchToTab(3);
            break;
        case PostScaleChanged:
            // The receiver panel has had its PostRefreshData from the dispatch.
            PostPrivateMessage(subWindows.diap, PostScaleChanged);
            PostPrivateMessage(subWindows.group, PostRefreshData);
            ShowScaleName();
            break;

        // --- Bank and channel list, detailed study
        case PostOpenHfreq:
        case PostHfreqClosed:
            ServeChannelList(code);
            break;
        case PostBankRefreshDisplay:
            if (HfreqOpen) PostPrivateMessage(auxWindows.hfreq, PostRefreshDisplay);
            break;
        case PostBankRefreshData:
            if (HfreqOpen) PostPrivateMessage(auxWindows.hfreq, PostRefreshData);
            break;
        case PostPanelReload:
            PostPrivateMessage(subWindows.freq, PostReloadView);
            break;
        case PostViewRedraw:
            if (StudyOpen) PostPrivateMessage(auxWindows.View, PostRefreshDisplay);
            break;
        case PostViewRecompute:
            if (StudyOpen) PostPrivateMessage(auxWindows.View, PostAnalysisUpdate);
            break;
        default:
            break;
    }
}

// Once a second (the timer posts PostTimerTick to the main window): the job and phonogram
// windows count their seconds, a hold counts down, and with AUTO an idle receiver is asked
// for its level.
void ORVEL::OnSecondTick() {
    PostPrivateMessage(subWindows.job, PostTimerTick);
    PostPrivateMessage(subWindows.signal, PostTimerTick);
    if (HoldCountdown > 0) --HoldCountdown;
    if (!OptAuto || ControlsLocked) return;
    if (Level == -1) {
        // The receiver did not answer: it is asked again now and then, and once it answers
        // the panel reads all of its state.
        if (++LevelPollRetries > kLevelPollRetries) {
            LevelPollRetries = 0;
            PollLevel();
            if (Level != -1) SyncReceiverPanel();
        }
    } else {
        PollLevel();
        if (Level != -1) LevelPollRetries = 0;
    }
}

void ORVEL::ShowMarkersAndCursor() {
    if (statusBar == nullptr) return;
    const bool both = SelectionStart >= 0 && SelectionEnd >= 0;
    const bool distinct = SelectionStart != SelectionEnd;
    statusBar->SetPartText(kLeftMarkerPane, SelectionStart >= 0 && distinct
                                                ? FormatText("<<%8.4f", SelectionStart / 10000.0)
                                                : std::string());
    statusBar->SetPartText(kRightMarkerPane, SelectionEnd >= 0 && distinct
                                                 ? FormatText("%8.4f>>", SelectionEnd / 10000.0)
                                                 : std::string());
    if (CursorFrequency < 0) {
        statusBar->SetPartText(kCursorPane, "");
        statusBar->SetPartText(kCursorLevelPane, "");
        if (!Running) statusBar->SetPartText(kScanPane, "");
        return;
    }
    statusBar->SetPartText(kCursorPane, FormatText("%8.4f", CursorFrequency / 10000.0));
    statusBar->SetPartText(kCursorLevelPane,
                           CursorLevel >= 0 ? LevelText(*this, CursorLevel) : std::string());
    if (both && !Running)
        statusBar->SetPartText(
            kScanPane,
            FormatText("%3.1f", double(std::abs(int64_t{SelectionEnd} - SelectionStart)) / 10.0));
}

// A window chose a frequency, mode, attenuator and step (FDX::TuneFrequency ...).
void ORVEL::ApplyTuneRequest() {
    Frequency = std::min(std::max(TuneFrequency, FreqLow), FreqHigh);
    Modulation = TuneModulation;
    Attenuator = TuneAttenuator;
    Step = TuneStep;
    TuneAndMeasure();
    ShowFrequency();
    SetModulation(Modulation);
    ShowModulation();
    ApplyAttenuator();
    ShowAttenuator();
    ApplyStep();
    ShowStep();
}

// PostStepUp and PostStepDown: the receiver panel steps in the scale tab (the dispatch has
// passed the code on); the bank window takes the request at the next timer tick; in the range
// and group tabs the frequency moves one step of the shown range, never out of it.
void ORVEL::StepKey(int direction) {
    switch (WorkMode) {
        case 1:
            (direction > 0 ? StepUpRequest : StepDownRequest) = 1;
            break;
        case 2:
        case 3: {
            if (SlotIndex < 0 || std::size_t(SlotIndex) >= ScanSlots.size()) break;
            const Bank& shown = ScanSlots[std::size_t(SlotIndex)];
            if (!shown.InUse) break;
            const int64_t next = int64_t{Frequency} + direction * int64_t{shown.Step};
            if (next < int64_t{shown.Start} || next > int64_t{shown.End}) break;
            Frequency = uint32_t(next);
            TuneAndMeasure();
            ShowFrequency();
            PostPrivateMessage(auxWindows.Limb, PostFrequencyStepped);
            if (WorkMode == 3) PostPrivateMessage(subWindows.group, PostRefreshDisplay);
            break;
        }
        default:
            break;
    }
}
