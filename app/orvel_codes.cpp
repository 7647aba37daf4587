// The main window's own share of the message bus, after the receiver dispatch, the scan engine
// and the job executor took theirs: the receiver panel's reports, the status line, tune
// requests from the windows, step keys, and the codes it passes on to the windows.

#include "app/orvel.h"
#include "state/message_bus.h"

void ORVEL::OnWindowCode(uint32_t code) {
    switch (code) {
        // Once a second (the timer posts it to the main window): the job and phonogram
        // windows count their seconds, a hold counts down, with AUTO an idle receiver is
        // asked for its level, and a receiver gone or silent is looked for again.
        case PostTimerTick:
            PostPrivateMessage(subWindows.job, PostTimerTick);
            PostPrivateMessage(subWindows.signal, PostTimerTick);
            scan.OnSecondTick();
            if (OptAuto && !ControlsLocked) receiver.PollLevelEverySecond();
            watch.SecondTick();  // last: its message box may wait for the operator
            break;

        // --- Receiver state and status
        case PostReceiverState:
            ShowFrequency();
            ShowModulation();
            ShowCurrentLevel();
            ShowStep();
            if (const auto answered = receiver.TakeSyncEnd()) ReceiverSynced(*answered);
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
            statusLine.ShowLevel(-1);
            break;
        case PostShowStatus:
            statusLine.ShowMarkersAndCursor();
            break;
        case PostShowLevelText:
            statusLine.ShowSightLevel();
            break;
        case PostScanStatusText:
            statusLine.ShowCyclesLeft();
            break;
        case PostScanStoppedByPanel:
            ShowStartLabel();
            for (ui::Form* window :
                 {subWindows.diap, subWindows.group, subWindows.freq, subWindows.job})
                PostPrivateMessage(window, PostUnlockControls);
            if (start != nullptr) start->SetEnabled(true);
            if (pause != nullptr) pause->SetEnabled(true);
            statusLine.ShowModeStatus();
            break;
        case PostScanStartedByPanel:
            ShowStopLabel();
            for (ui::Form* window :
                 {subWindows.diap, subWindows.group, subWindows.freq, subWindows.job})
                PostPrivateMessage(window, PostLockControls);
            if (start != nullptr) start->SetEnabled(false);
            if (pause != nullptr) pause->SetEnabled(false);
            statusLine.ShowText(PanelStatusText);
            break;

        // --- Tuning
        case PostApplyFrequency:
            if (!Running) scan.ApplyTuneRequest();
            break;
        case PostApplyGroupFrequency:
            if (!Running && SpySlot >= 0 && std::size_t(SpySlot) < ScanSlots.size() &&
                ScanSlots[std::size_t(SpySlot)].InUse)
                scan.ApplyTuneRequest();
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
            if (WorkMode == kRangeMode) PostPrivateMessage(subWindows.diap, PostRefreshData);
            if (WorkMode == kGroupMode) PostPrivateMessage(subWindows.group, PostRefreshData);
            break;
        case PostGroupRangeChosen:
            if (DrawRangeScale) DrawRangeScale();
            if (WorkMode == kGroupMode) PostPrivateMessage(subWindows.group, PostGroupRedraw);
            break;
        case PostShowRangeTab:
            SwitchToTab(kRangeMode);
            break;
        case PostShowGroupTab:
            SwitchToTab(kGroupMode);
            break;
        case PostRepaintRange:
        case PostGroupRepaintRange:
            ScrollGroupRanges(code);
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
        case PostAnalysisUpdate:
            UpdateStudySources();
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

// PostStepUp and PostStepDown: the receiver panel steps in the scale tab (the dispatch has
// passed the code on); the bank window takes the request at the next timer tick; in the range
// and group tabs the frequency moves one step of the shown range, never out of it.
void ORVEL::StepKey(int direction) {
    switch (WorkMode) {
        case kBankMode:
            (direction > 0 ? StepUpRequest : StepDownRequest) = 1;
            break;
        case kRangeMode:
        case kGroupMode: {
            if (SlotIndex < 0 || std::size_t(SlotIndex) >= ScanSlots.size()) break;
            const Bank& shown = ScanSlots[std::size_t(SlotIndex)];
            if (!shown.InUse) break;
            const int64_t next = int64_t{Frequency} + direction * int64_t{shown.Step};
            if (next < int64_t{shown.Start} || next > int64_t{shown.End}) break;
            Frequency = uint32_t(next);
            scan.TuneAndMeasure();
            ShowFrequency();
            PostPrivateMessage(auxWindows.Limb, PostFrequencyStepped);
            if (WorkMode == kGroupMode) PostPrivateMessage(subWindows.group, PostRefreshDisplay);
            break;
        }
        default:
            break;
    }
}
