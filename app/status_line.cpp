// The main window's show of the receiver and of the scan: the start button's two captions with
// the controls a running scan must not change, the ПАУЗА button that holds and releases a scan,
// the level in the status line and the level bar, the modulation buttons, and the settings of a
// range slot handed to the receiver when the range scan takes it.

#include "app/format_text.h"
#include "app/orvel.h"
#include "state/message_bus.h"

namespace {

constexpr const char* kPauseCaption = "ПАУЗА";
constexpr const char* kModeCaption = "РЕЖИМ";
constexpr const char* kStartCaption = "ПУСК";
constexpr const char* kStopCaption = "СТОП";
constexpr const char* kLevelOff = "выкл";

// The status-bar pane of the level.
constexpr int kLevelPane = 2;
constexpr int kAttenuatorPane = 1;

// The text of a raw level: tenths of dB through the calibration, or the raw number.
std::string LevelText(const FDX& state, int32_t level) {
    if (state.OptDb) return FormatText("%3.1f", state.LevelToDb(uint32_t(level)) / 10.0);
    return FormatText("%u", unsigned(level));
}

}  // namespace

// The start button: a running job is ended (an editor run without a scan ends as its
// "СТОП" caption promises); without a receiver nothing can scan.
void ORVEL::StartButton() {
    if (JobRunning) {
        EndJobMode();
        return;
    }
    if (ReceiverType == 0) {
        ShowError(10);
        return;
    }
    StartStopScan();
}

void ORVEL::Pause() {
    if (Paused) {
        ReleaseScan();
        return;
    }
    AppearanceFrequency = 0;
    DisappearanceFrequency = 0;
    HoldScan();
    ManualPause = true;
}

void ORVEL::HoldScan() {
    if (!Running) return;
    Paused = 1;
    ResumeRequested = false;
    if (pause != nullptr) pause->SetText(kModeCaption);
    if (JobRunning) PostPrivateMessage(subWindows.job, PostModeButton);
}

// The step that follows clears FDX::Paused: a step in the middle of its wait must not find
// the hold gone under it.
void ORVEL::ReleaseScan() {
    ResumeRequested = true;
    ManualPause = false;
    HoldCountdown = 0;
    if (pause != nullptr) pause->SetText(kPauseCaption);
    if (OptSound) ApplySound(false);
    if (JobRunning) PostPrivateMessage(subWindows.job, PostPauseButton);
    // A recording the hold started ends with it.
    if (Recording) PostPrivateMessage(subWindows.signal, PostUnlockControls);
}

namespace {

// The controls a running scan locks, in the order they are locked.
std::vector<ui::Window*> ScanLockedControls(ORVEL& w) {
    // clang-format off
    std::vector<ui::Window*> controls = {w.ftup, w.step, w.ft,
                                         w.nfm, w.wfm, w.am, w.lsb, w.usb, w.cw};
    if (w.ReceiverTraits().rtty) controls.push_back(w.rtty);
    for (ui::Window* button : {w.pictbttn_1, w.pictbttn_2, w.pictbttn_3, w.pictbttn_4,
                               w.pictbttn_5, w.pictbttn_6, w.pictbttn_7, w.pictbttn_8,
                               w.pictbttn_9, w.pictbttn_10, w.pictbttn_11, w.pictbttn_12,
                               w.pictbttn_13})
        controls.push_back(button);
    // clang-format on
    return controls;
}

}  // namespace

void ORVEL::ShowStopLabel() {
    if (start != nullptr) start->SetText(kStopCaption);
    for (ui::Window* control : ScanLockedControls(*this))
        if (control != nullptr) control->SetEnabled(false);
    ControlsLocked = true;
}

// While a job runs the job keeps the controls locked until it ends.
void ORVEL::ShowStartLabel() {
    if (!JobRunning) {
        if (OptEndScan) ShowError(38);
        if (start != nullptr) start->SetText(kStartCaption);
        for (ui::Window* control : ScanLockedControls(*this))
            if (control != nullptr) control->SetEnabled(true);
    }
    ControlsLocked = false;
}

// The level of manual tuning (FDX::Level); it also goes into the current levels of every
// loaded range that holds the frequency, in the cell the range scan uses for it.
void ORVEL::ShowCurrentLevel() {
    std::string text = kLevelOff;
    int bar = 0;
    if (Level != -1) {
        text = LevelText(*this, Level);
        for (Bank& slot : ScanSlots) {
            if (!slot.InUse || Frequency < slot.Start || Frequency > slot.End) continue;
            const int64_t cell = slot.CellOf(Frequency);
            if (cell >= 0) slot.Current[std::size_t(cell)] = uint8_t(Level);
        }
        bar = Level & 0xffff;
    }
    if (progb_1 != nullptr) progb_1->SetPosition(bar);
    if (statusBar != nullptr) statusBar->SetPartText(kLevelPane, text);
    if (!Running) {
        switch (WorkMode) {
            case 1:
                PostPrivateMessage(subWindows.freq, PostUpdateParams);
                break;
            case 2:
                PostPrivateMessage(subWindows.diap, PostRefreshDisplay);
                break;
            case 3:
                PostPrivateMessage(subWindows.diap, PostRefreshDisplay);
                PostPrivateMessage(subWindows.group, PostRefreshDisplay);
                break;
            default:
                break;
        }
    }
    if (HfreqOpen) PostPrivateMessage(auxWindows.hfreq, PostUpdateParams);
}

void ORVEL::ShowModulation() {
    struct ModeButton {
        char letter;
        ui::OptionButton* button;
    };
    const ModeButton buttons[] = {{'F', nfm}, {'W', wfm}, {'A', am},  {'L', lsb},
                                  {'U', usb}, {'C', cw},  {'R', rtty}};
    for (const ModeButton& mode : buttons) {
        if (mode.button == nullptr || (mode.letter == 'R' && !ReceiverTraits().rtty)) continue;
        mode.button->SetChecked(false);
    }
    for (const ModeButton& mode : buttons) {
        if (mode.button == nullptr || (mode.letter == 'R' && !ReceiverTraits().rtty)) continue;
        if (mode.letter == Modulation) mode.button->SetChecked(true);
    }
    ModeValue = ModeParameter(Modulation);
    if (!Running && statusBar != nullptr)
        statusBar->SetPartText(kAttenuatorPane, Attenuator ? "ATT" : "");
}

// The attenuator shows in ShowModulation's pane.
void ORVEL::ShowAttenuator() {}

void ORVEL::ApplySlotSettings() {
    if (ScanSlot < 0 || std::size_t(ScanSlot) >= ScanSlots.size()) return;
    const Bank& slot = ScanSlots[std::size_t(ScanSlot)];
    if (slot.Modulation != Modulation) {
        SetModulation(slot.Modulation);
        ShowModulation();
    }
    if (slot.Step != Step) {
        Step = slot.Step;
        ApplyStep();
        ShowStep();
    }
    if (slot.Range != nullptr && slot.Range->Attenuator != Attenuator) {
        Attenuator = slot.Range->Attenuator;
        ApplyAttenuator();
        ShowAttenuator();
    }
}
