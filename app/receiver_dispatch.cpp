// The main window drives the one receiver panel of the configured type. Every receiver
// operation switches on the type (ORVEL::ForPanel) and calls the same-role operation of
// that model's panel; a type without a panel does nothing.

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "app/orvel.h"
#include "receivers/icom/ic8500.h"
#include "state/message_bus.h"

namespace {

// Types that have a panel, and the subsets some operations serve.
constexpr std::initializer_list<int32_t> kAllTen = {1, 2, 3, 4, 6, 7, 8, 9, 10, 12};
constexpr std::initializer_list<int32_t> kAttenuatorTypes = {1, 2, 4, 6, 7, 8, 9, 10, 12};
constexpr std::initializer_list<int32_t> kStepTypes = {1, 2, 4, 6, 7, 9, 10, 12};
constexpr std::initializer_list<int32_t> kSoundTypes = {1, 4, 6, 8, 10, 12};
constexpr std::initializer_list<int32_t> kBankTypes = {1, 2, 3, 4, 7, 9, 10, 12};
// Panels that take the one-second tick from the timer.
constexpr std::initializer_list<int32_t> kSecondTickTypes = {3, 4, 6, 9, 10, 12};
constexpr std::string_view kModeLetters = "ACFLRUW";

// What ModeParameter and ActiveReceiverParam give without a panel.
constexpr int32_t kNoModeValue = 120;
constexpr int32_t kNoBandwidth = 100;

bool Serves(std::initializer_list<int32_t> types, int32_t type) {
    return std::find(types.begin(), types.end(), type) != types.end();
}

}  // namespace

ui::Form* ORVEL::ActivePanel() {
    ui::Form* form = nullptr;
    ForPanel([&](auto& panel) { form = &panel; });
    return form;
}

bool ORVEL::CreateReceiverPanel(int32_t type) {
    if (CreatedPanelType != type) pages[0]->Hide();
    CreatedPanelType = type;
    bool created = false;
    switch (type) {
        case IC8500::kReceiverType:
            panelIC8500 = std::make_unique<IC8500>();
            created = panelIC8500->Create(this, this);
            break;
        default:
            break;  // models still to come: no panel
    }
    ForPanel([&](auto& panel) {
        if (!created) return;
        panel.Hide();
        FreqLow = panel.LowerLimit;
        FreqHigh = panel.UpperLimit;
        StepLow = panel.kStepLow;
        StepHigh = panel.kStepHigh;
        ActiveReceiver = &panel;
        ScanRate = panel.ScanRate;
        tabctrl_1->SetPage(0, &panel);
        panel.Show();
    });
    return type == 0 || created;
}

// No panel for the configured type: the operator hears of it once and works without a
// receiver, rather than losing the program.
void ORVEL::CreatePanelOrGoOn() {
    if (CreateReceiverPanel(ReceiverType)) return;
    panelIC8500.reset();
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
    panelIC8500.reset();
}

void ORVEL::SetModulation(char letter) {
    if (kModeLetters.find(letter) != std::string_view::npos) Modulation = letter;
    ForPanel([](auto& panel) { panel.SetMode(); });
}

bool ORVEL::ApplyAttenuator() {
    if (comm.Running && Serves(kAttenuatorTypes, ReceiverType))
        ForPanel([](auto& panel) { panel.SetAttenuator(); });
    return false;
}

void ORVEL::ApplyStep() {
    if (Serves(kStepTypes, ReceiverType)) ForPanel([](auto& panel) { panel.SetStep(); });
}

void ORVEL::ApplySound(bool on) {
    if (!Serves(kSoundTypes, ReceiverType)) return;
    Sound = on ? 1 : 0;
    ForPanel([](auto& panel) { panel.SetSound(); });
}

void ORVEL::CancelReceiver() {
    ForPanel([](auto& panel) { panel.Cancel(false); });
}

// The timer's level poll: only an idle panel is asked, so a poll never cuts into an
// exchange of the scan or of the operator.
void ORVEL::PollLevel() {
    if (!comm.Running) return;
    const int32_t old = Level;
    ForPanel([&](auto& panel) {
        if (panel.PendingCommand == panel.NoExchange) Level = panel.ReadLevel();
    });
    if (Level == old) return;
    if (OnLevelChanged) OnLevelChanged();
    if (WorkMode == 0) PostToPanel(PostRefreshDisplay);
}

int32_t ORVEL::ModeParameter(char letter) {
    int32_t value = kNoModeValue;
    ForPanel([&](auto& panel) { value = panel.ModeParameter(letter); });
    return value;
}

int32_t ORVEL::ActiveReceiverParam() {
    int32_t value = kNoBandwidth;
    ForPanel([&](auto& panel) { value = panel.BandwidthValue(); });
    return value;
}

bool ORVEL::PostToPanel(uint32_t code) {
    ui::Form* panel = ActivePanel();
    return panel && PostPrivateMessage(panel, code);
}

void ORVEL::SyncReceiverPanel() {
    PostToPanel(PostSyncReceiver);
}

void ORVEL::LockReceiverPanel() {
    PostToPanel(PostLockControls);
}

void ORVEL::NotifyPanelLoaded() {
    if (Serves(kBankTypes, ReceiverType)) PostToPanel(PostItemLoaded);
}

void ORVEL::RequestPanelBank() {
    if (Serves(kBankTypes, ReceiverType)) PostToPanel(PostSaveBank);
}

void ORVEL::PollPanel(bool timerTick) {
    ForPanel([&](auto& panel) { panel.Poll(timerTick); });
}

// --- The scan engine's exchanges with the receiver

bool ORVEL::PanelSetFrequency() {
    bool sent = false;
    ForPanel([&](auto& panel) { sent = panel.SetFrequency(); });
    return sent;
}

bool ORVEL::PanelSetFrequencyWait() {
    bool done = false;
    ForPanel([&](auto& panel) { done = panel.SetFrequencyWait(); });
    return done;
}

int32_t ORVEL::PanelReadLevel() {
    int32_t level = -1;
    ForPanel([&](auto& panel) { level = panel.ReadLevel(); });
    return level;
}

uint32_t ORVEL::PanelReadReply() {
    uint32_t count = 0;
    ForPanel([&](auto& panel) { count = panel.ReadReply(); });
    return count;
}

void ORVEL::PanelCancel(bool keepPort) {
    ForPanel([&](auto& panel) { panel.Cancel(keepPort); });
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

// Every 100 ms tick: the panel counts its outstanding exchange down (the WiNRADiO card has
// no serial exchange and gets no tick); over a second boundary most panels get the
// one-second tick first.
void ORVEL::TickPanel(bool secondBoundary) {
    if (!Serves(kAllTen, ReceiverType) || ReceiverType == 8) return;
    if (secondBoundary && Serves(kSecondTickTypes, ReceiverType)) PostToPanel(PostTimerTick);
    PollPanel(true);
}
