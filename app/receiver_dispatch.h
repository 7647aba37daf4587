#pragma once
// The main window's way to the receiver: the one panel of the configured type, made by the
// panel registry at start-up, and the operations every panel declares. What reaches the panel
// besides them the registry's traits of the model say. Without a panel every operation does
// nothing and answers its neutral value.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "receivers/panel.h"
#include "receivers/panel_registry.h"
#include "state/fdx.h"

class Comm;

class ReceiverDispatch {
  public:
    ReceiverDispatch(FDX& fdx, Comm& comm) : fdx_(fdx), comm_(comm) {}
    ReceiverDispatch(const ReceiverDispatch&) = delete;
    ReceiverDispatch& operator=(const ReceiverDispatch&) = delete;

    // The panel in use; null without a receiver. It changes when the settings change the type.
    ReceiverPanel* Panel() const { return panel_.get(); }
    void SetPanel(std::unique_ptr<ReceiverPanel> panel) {
        panel_ = std::move(panel);
        syncsSeen_ = 0;
    }
    // What the registry says of the configured type's model.
    const PanelTraits& Traits() const { return panel_registry::Traits(fdx_.ReceiverType); }
    Comm& Port() const { return comm_; }

    bool PostToPanel(uint32_t code);
    void SetModulation(char letter);
    bool ApplyAttenuator();
    void ApplyStep();
    void ApplySound(bool on);
    void CancelReceiver();
    // After a scan step read no level: what the receiver left in the port goes, unless the
    // model keeps it (or has no port), so that a late reply cannot pass for the next one.
    void EmptyPortAfterFailedRead();
    // The timer's level poll: only an idle panel is asked, so that a poll never cuts into an
    // exchange of the scan or of the operator.
    void PollLevel();
    // AUTO, once a second while no scan holds the controls: the level of an idle receiver;
    // one that does not answer is asked again now and then, and once it answers the panel
    // reads all of its state.
    void PollLevelEverySecond();
    // The panel's sync has ended; without a panel there is nothing to wait for.
    bool SyncEnded() const { return !panel_ || panel_->SyncEnded(); }
    // A scan may talk to the receiver: its sync has ended and it answered.
    bool ReceiverReady() const {
        return !panel_ || (panel_->SyncEnded() && panel_->ReceiverAnswered());
    }
    // A sync of the panel ended since the last call: whether the receiver answered it.
    std::optional<bool> TakeSyncEnd();
    // Waits for the exchange the panel still has outstanding (the last reading a sync asked
    // for), so that what waited for the sync is not refused for it.
    void AwaitOutstanding();
    int32_t ModeParameter(char letter);
    int32_t ActiveReceiverParam();
    void SyncReceiverPanel();
    void LockReceiverPanel();
    void NotifyPanelLoaded();
    void RequestPanelBank();
    void PollPanel(bool timerTick);
    // Codes the main window hands on to the panel, its dialogs' among them; PostSerialData is
    // the main window's to check for a hang-up first.
    void DispatchPanelCode(uint32_t code);
    // Every 100 ms tick of the main timer.
    void TickPanel(bool secondBoundary);

    // Called when the level poll read a new level (the main window's level display).
    std::function<void()> OnLevelChanged;

  private:
    FDX& fdx_;
    Comm& comm_;
    std::unique_ptr<ReceiverPanel> panel_;
    int32_t levelPollRetries_ = 0;  // seconds without a level (the AUTO poll)
    uint32_t syncsSeen_ = 0;        // the panel's SyncCount at the last TakeSyncEnd
};
