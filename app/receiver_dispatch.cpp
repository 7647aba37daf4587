#include "app/receiver_dispatch.h"

#include <string_view>

#include "receivers/comm.h"
#include "state/message_bus.h"
#include "ui/post.h"

namespace {

// What ActiveReceiverParam gives without a panel.
constexpr int32_t kNoBandwidth = 100;

// The AUTO poll tries a silent receiver again after this many seconds.
constexpr int32_t kLevelPollRetries = 10;

}  // namespace

void ReceiverDispatch::SetModulation(char letter) {
    if (kModeLetters.find(letter) != std::string_view::npos) fdx_.Modulation = letter;
    if (panel_) panel_->SetMode();
}

bool ReceiverDispatch::ApplyAttenuator() {
    if (comm_.Running && panel_ && Traits().attenuator) panel_->SetAttenuator();
    return false;
}

void ReceiverDispatch::ApplyStep() {
    if (panel_ && Traits().step) panel_->SetStep();
}

void ReceiverDispatch::ApplySound(bool on) {
    if (!Traits().sound) return;
    fdx_.Sound = on ? 1 : 0;
    if (panel_) panel_->SetSound();
}

void ReceiverDispatch::CancelReceiver() {
    if (panel_) panel_->CancelUnawaited();
}

void ReceiverDispatch::EmptyPortAfterFailedRead() {
    if (Traits().serialPort && panel_ && panel_->EmptiesPortAfterFailedRead()) comm_.Purge();
}

void ReceiverDispatch::PollLevel() {
    if (!comm_.Running) return;
    const int32_t old = fdx_.Level;
    if (panel_ && panel_->IdleForLevelPoll()) fdx_.Level = panel_->ReadLevel();
    if (fdx_.Level == old) return;
    if (OnLevelChanged) OnLevelChanged();
    if (fdx_.WorkMode == kScaleMode) PostToPanel(PostRefreshDisplay);
}

void ReceiverDispatch::PollLevelEverySecond() {
    if (fdx_.Level == -1) {
        if (++levelPollRetries_ > kLevelPollRetries) {
            levelPollRetries_ = 0;
            PollLevel();
            if (fdx_.Level != -1) SyncReceiverPanel();
        }
    } else {
        PollLevel();
        if (fdx_.Level != -1) levelPollRetries_ = 0;
    }
}

std::optional<bool> ReceiverDispatch::TakeSyncEnd() {
    if (!panel_ || panel_->SyncCount() == syncsSeen_) return std::nullopt;
    syncsSeen_ = panel_->SyncCount();
    return panel_->ReceiverAnswered();
}

void ReceiverDispatch::AwaitOutstanding() {
    if (panel_ && panel_->PendingCommand != ReceiverPanel::NoExchange) panel_->WaitReply();
}

int32_t ReceiverDispatch::ModeParameter(char letter) {
    return panel_ ? panel_->ModeParameter(letter) : kNoModeValue;
}

int32_t ReceiverDispatch::ActiveReceiverParam() {
    return panel_ ? panel_->BandwidthValue() : kNoBandwidth;
}

bool ReceiverDispatch::PostToPanel(uint32_t code) {
    return panel_ && PostPrivateMessage(panel_.get(), code);
}

void ReceiverDispatch::SyncReceiverPanel() {
    PostToPanel(PostSyncReceiver);
}

void ReceiverDispatch::LockReceiverPanel() {
    PostToPanel(PostLockControls);
}

void ReceiverDispatch::NotifyPanelLoaded() {
    if (Traits().banks) PostToPanel(PostItemLoaded);
}

void ReceiverDispatch::RequestPanelBank() {
    if (Traits().banks) PostToPanel(PostSaveBank);
}

void ReceiverDispatch::PollPanel(bool timerTick) {
    if (panel_) panel_->Poll(timerTick);
}

void ReceiverDispatch::DispatchPanelCode(uint32_t code) {
    switch (code) {
        case PostSerialData:
            PollPanel(false);
            break;
        case PostStartupSync:
            SyncReceiverPanel();
            break;
        case PostStepUp:
        case PostStepDown:
            if (fdx_.WorkMode == kScaleMode) PostToPanel(code);
            break;
        case PostScaleChanged:
            PostToPanel(PostRefreshData);
            break;
        // The panel's own dialogs: the panel owns them.
        case PostOpenScanSettings:
        case PostRefreshPanelDialogs:
        case PostOpenExtraFunctions:
            if (panel_) panel_->ServeDialogCode(code);
            break;
        default:
            break;
    }
}

// Over a second boundary most panels get the one-second tick first; then the panel counts its
// outstanding exchange down (a model without exchanges gets no tick).
void ReceiverDispatch::TickPanel(bool secondBoundary) {
    const PanelTraits& traits = Traits();
    if (secondBoundary && traits.secondTick) PostToPanel(PostTimerTick);
    if (traits.replyTicks) PollPanel(true);
}
