#pragma once
// The codes of the message bus: windows, dialogs and receiver panels talk by posting these
// numbers (PostPrivateMessage, ui/post.h); a posted code arrives later, on the
// user-interface thread, as the target form's User event. Plain constants, so that every
// folder names the codes the same way. Codes 0x00..0x1e are commands to
// windows, 0x6d is private to the IC-PCR1000 panel, 0x79..0xae are notifications to the
// main window. Codes that nobody handles (0x1f..0x6c, 0x6e..0x78) are ignored.

#include <cstdint>

enum PostCode : uint32_t {
    PostSyncReceiver = 0x00,
    PostReloadView = 0x01,
    PostTakeSelection = 0x02,
    PostResetSelection = 0x03,
    PostItemLoaded = 0x04,
    PostRefreshData = 0x05,
    PostRefreshDisplay = 0x06,
    PostRedrawCurves = 0x07,
    PostUpdateParams = 0x08,
    PostSaveBank = 0x09,
    PostTimerTick = 0x0a,
    PostMeasureLevel = 0x0b,
    PostLockControls = 0x0c,
    PostUnlockControls = 0x0d,
    PostSpectrumStep = 0x0e,
    PostRefreshCurves = 0x0f,
    PostFollowFrequency = 0x10,
    PostPollStepWarning = 0x11,
    PostGroupRedraw = 0x12,
    PostFollowScan = 0x13,  // the range window follows the scan through its shown slot (SPY)
    PostSaveSettings = 0x14,
    PostRefreshLevels = 0x15,
    PostJobStep = 0x16,
    PostDrawMarkerLabel = 0x17,
    PostRangeRedrawAll = 0x18,
    PostClearData = 0x19,
    PostJobModeStopped = 0x1a,
    PostModeButton = 0x1b,
    PostLoadReceiverSetup = 0x1c,
    PostPauseButton = 0x1d,
    PostTimeCondition = 0x1e,
    PostDrawPanelScale = 0x6d,
    PostSerialData = 0x79,
    PostRangeScanStep = 0x7a,
    PostApplyFrequency = 0x7b,
    PostRangeFromSelection = 0x7c,
    PostReceiverState = 0x7d,
    PostShowStatus = 0x7e,
    PostShowWait = 0x7f,
    PostHideWait = 0x80,
    PostFrequencyChanged = 0x81,
    PostModulationChanged = 0x82,
    PostShowLevelText = 0x83,
    PostReselectJournalItem = 0x84,
    PostScanStatusText = 0x85,
    PostBeep = 0x86,
    PostApplyGroupFrequency = 0x87,
    PostSpectrumDrawn = 0x88,
    PostGroupRangeChosen = 0x89,
    PostShowRangeTab = 0x8a,
    PostShowGroupTab = 0x8b,
    PostBankScanStep = 0x8c,
    PostScaleScanStep = 0x8d,
    PostAnalysisUpdate = 0x8e,
    PostViewRedraw = 0x8f,
    PostViewRecompute = 0x90,
    PostStepUp = 0x91,
    PostStepDown = 0x92,
    PostFrequencyStepped = 0x93,
    PostScaleChanged = 0x94,
    PostOpenScanDialog = 0x95,
    PostScanStoppedByPanel = 0x96,
    PostScanStartedByPanel = 0x97,
    PostPrepareSlots = 0x98,
    PostLoadSelected = 0x99,
    PostRunMacro = 0x9b,
    PostJobNotice = 0x9c,
    PostOpenHfreq = 0x9e,
    PostBankRefreshDisplay = 0x9f,
    PostBankRefreshData = 0xa0,
    PostHfreqClosed = 0xa1,
    PostPanelReload = 0xa2,
    PostPanelStartJob = 0xa3,
    PostPanelLevelDisplay = 0xa4,
    PostShowLevelOff = 0xa5,
    PostSelectScale = 0xa6,
    PostStartupSync = 0xa7,
    PostPanelNotice1 = 0xa8,
    PostPanelNotice2 = 0xa9,
    PostPhonogramRecorded = 0xaa,
    PostRepaintRange = 0xab,
    PostGroupRepaintRange = 0xac,
    PostFixedFromSelection = 0xad,
    PostJobScanStep = 0xae,

    // The windows and panels that handle these codes know them by the names below.
    PostReprocessRange = PostDrawMarkerLabel,    // the range window reprocesses all slots
    PostOpenScanSettings = PostOpenScanDialog,   // a panel's scan-settings dialog
    PostPanelProgress = PostShowLevelOff,        // a panel's progress and status display
    PostRefreshPanelDialogs = PostPanelNotice1,  // refresh the AR5000's dialogs
    PostOpenExtraFunctions = PostPanelNotice2,   // open the AR5000's extra functions
};

// The highest code in use.
constexpr uint32_t kLastPostCode = PostJobScanStep;
