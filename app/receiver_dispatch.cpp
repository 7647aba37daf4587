// The main window drives the one receiver panel of the configured type through the
// operations every panel declares; what reaches the panel besides them the registry's traits
// of the model say. Without a panel every operation does nothing.

#include <string_view>

#include "app/orvel.h"
#include "state/message_bus.h"

namespace {

constexpr std::string_view kModeLetters = "ACFLRUW";

// What ActiveReceiverParam gives without a panel.
constexpr int32_t kNoBandwidth = 100;

}  // namespace

bool ORVEL::CreateReceiverPanel(int32_t type) {
    if (CreatedPanelType != type) pages[0]->Hide();
    CreatedPanelType = type;
    panel_ = panel_registry::Make(type);
    if (!panel_ || !panel_->Create(this, this)) {
        panel_.reset();
        return type == 0;
    }
    const PanelTraits& traits = ReceiverTraits();
    panel_->Hide();
    FreqLow = panel_->LowerLimit;
    FreqHigh = panel_->UpperLimit;
    StepLow = traits.stepLow;
    StepHigh = traits.stepHigh;
    ActiveReceiver = panel_.get();
    if (traits.scanRate != 0) ScanRate = traits.scanRate;
    tabctrl_1->SetPage(0, panel_.get());
    panel_->Show();
    return true;
}

// No panel for the configured type: the operator hears of it once and works without a
// receiver, rather than losing the program.
void ORVEL::CreatePanelOrGoOn() {
    if (CreateReceiverPanel(ReceiverType)) return;
    ReceiverMissing = ReceiverType != 0;
    ShowError(2);
    comm.Close();
    ReceiverType = 0;
    CreatedPanelType = 0;
    tabctrl_1->SetPage(0, pages[0].get());
    pages[0]->Show();
}

void ORVEL::DeleteReceiverPanel() {
    ActiveReceiver = nullptr;
    tabctrl_1->SetPage(0, pages[0].get());
    panel_.reset();
}

void ORVEL::SetModulation(char letter) {
    if (kModeLetters.find(letter) != std::string_view::npos) Modulation = letter;
    if (panel_) panel_->SetMode();
}

bool ORVEL::ApplyAttenuator() {
    if (comm.Running && panel_ && ReceiverTraits().attenuator) panel_->SetAttenuator();
    return false;
}

void ORVEL::ApplyStep() {
    if (panel_ && ReceiverTraits().step) panel_->SetStep();
}

void ORVEL::ApplySound(bool on) {
    if (!ReceiverTraits().sound) return;
    Sound = on ? 1 : 0;
    if (panel_) panel_->SetSound();
}

void ORVEL::CancelReceiver() {
    if (panel_) panel_->Cancel(false);
}

// The timer's level poll: only an idle panel is asked, so a poll never cuts into an
// exchange of the scan or of the operator.
void ORVEL::PollLevel() {
    if (!comm.Running) return;
    const int32_t old = Level;
    if (panel_ && panel_->IdleForLevelPoll()) Level = panel_->ReadLevel();
    if (Level == old) return;
    if (OnLevelChanged) OnLevelChanged();
    if (WorkMode == 0) PostToPanel(PostRefreshDisplay);
}

int32_t ORVEL::ModeParameter(char letter) {
    return panel_ ? panel_->ModeParameter(letter) : kNoModeValue;
}

int32_t ORVEL::ActiveReceiverParam() {
    return panel_ ? panel_->BandwidthValue() : kNoBandwidth;
}

bool ORVEL::PostToPanel(uint32_t code) {
    return panel_ && PostPrivateMessage(panel_.get(), code);
}

void ORVEL::SyncReceiverPanel() {
    PostToPanel(PostSyncReceiver);
}

void ORVEL::LockReceiverPanel() {
    PostToPanel(PostLockControls);
}

void ORVEL::NotifyPanelLoaded() {
    if (ReceiverTraits().banks) PostToPanel(PostItemLoaded);
}

void ORVEL::RequestPanelBank() {
    if (ReceiverTraits().banks) PostToPanel(PostSaveBank);
}

void ORVEL::PollPanel(bool timerTick) {
    if (panel_) panel_->Poll(timerTick);
}

// Codes the main window hands on to the panel.
void ORVEL::DispatchPanelCode(uint32_t code) {
    switch (code) {
        case PostSerialData:
            if (comm.TakeHangUp())
                LosePort();
            else
                PollPanel(false);
            break;
        case PostStartupSync:
            SyncReceiverPanel();
            break;
        case PostStepUp:
        case PostStepDown:
            if (WorkMode == 0) PostToPanel(code);
            break;
        case PostScaleChanged:
            PostToPanel(PostRefreshData);
            break;
        default:
            break;
    }
}

// Every 100 ms tick: over a second boundary most panels get the one-second tick first; then
// the panel counts its outstanding exchange down (a model without exchanges gets no tick).
void ORVEL::TickPanel(bool secondBoundary) {
    const PanelTraits& traits = ReceiverTraits();
    if (secondBoundary && traits.secondTick) PostToPanel(PostTimerTick);
    if (traits.replyTicks) PollPanel(true);
}
