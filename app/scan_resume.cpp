// The scans and the receiver's sync: a start waits for the sync to end, and a chain whose step
// found the receiver not ready (its sync running, or its line lost and not answered since)
// goes on once the receiver answers, from the point it had reached. An unattended station so
// keeps monitoring after its receiver was unplugged and plugged in again.

#include <algorithm>
#include <utility>

#include "app/receiver_dispatch.h"
#include "app/scan_engine.h"
#include "state/message_bus.h"

// A step that finds the receiver not ready measures nothing and posts no next step: its chain
// waits, the point it reached kept, until OnSyncEnded finds the receiver answering. A newer run
// of a chain takes the place of the older one's step.
bool ScanEngine::WaitsForReceiver(uint32_t code, uint64_t generation) {
    if (receiver_.ReceiverReady()) return false;
    if (code == PostScaleScanStep && !scaleSettings_)
        scaleSettings_ = ScaleSettings{fdx_.Modulation, fdx_.Step, fdx_.Attenuator,
                                       fdx_.AttenuatorDb};
    auto place = std::find_if(waitingForReceiver_.begin(), waitingForReceiver_.end(),
                              [&](const WaitingStep& step) { return step.code == code; });
    if (place == waitingForReceiver_.end())
        place = std::find_if(waitingForReceiver_.begin(), waitingForReceiver_.end(),
                             [](const WaitingStep& step) { return step.generation == 0; });
    if (place != waitingForReceiver_.end()) *place = {code, generation};
    return true;
}

void ScanEngine::OnSyncEnded() {
    if (startAfterSync_) {
        startAfterSync_ = false;
        if (!fdx_.Running) StartStopScan();
    }
    if (!receiver_.ReceiverReady()) return;
    for (WaitingStep& waiting : waitingForReceiver_) {
        const WaitingStep step = std::exchange(waiting, {});
        if (step.generation != 0) ResumeChain(step.code, step.generation);
    }
}

void ScanEngine::ResumeChain(uint32_t code, uint64_t generation) {
    if (code == PostJobScanStep) {
        // The job's step tunes by itself.
        if (generation == jobScanGeneration_) PostScanStep(code, generation);
        return;
    }
    const std::optional<ScaleSettings> scale =
        code == PostScaleScanStep ? std::exchange(scaleSettings_, std::nullopt) : std::nullopt;
    if (generation != scanGeneration_ || !fdx_.Running) return;
    // The receiver may be back with settings of its own (a new one, switched on afresh), or
    // answer for the first time after a start that sent it nothing: the scan's are given
    // again, all of them, and the point is tuned anew.
    if (code == PostRangeScanStep) ApplySlotSettings(true);
    if (scale) GiveScaleSettingsBack(*scale);
    if (code == PostBankScanStep && !ApplyChannelSettings(generation, true)) return;
    if (fdx_.OptSound) receiver_.ApplySound(fdx_.Paused != 0);
    if (generation != scanGeneration_) return;
    TuneReceiver();
    PostScanStep(code, generation);
}

// The scale scan goes on with the mode, step and attenuator it ran with.
void ScanEngine::GiveScaleSettingsBack(const ScaleSettings& scale) {
    receiver_.SetModulation(scale.modulation);
    host_.ShowModulation();
    fdx_.Step = scale.step;
    receiver_.ApplyStep();
    host_.ShowStep();
    fdx_.Attenuator = scale.attenuator;
    fdx_.AttenuatorDb = scale.attenuatorDb;
    receiver_.ApplyAttenuator();
}
