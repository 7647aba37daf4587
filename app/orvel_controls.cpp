// The main window's controls: the journal's events, the frequency and step fields with their
// arrows, plus and minus, the tab control that sets the work mode, and the buttons that load,
// save, clear and delete stored items or make them from a marked span (the item store does
// what is done to the journal and the stored items); the start button with the controls a
// running scan locks, the modulation buttons and the level of manual tuning.
//
// A new frequency tunes the receiver and reads its level (TuneAndMeasure); a new step or mode
// goes to the receiver through the dispatch (ApplyStep, SetModulation, PollLevel). The manual
// control and the macro binding open from their buttons (orvel_editors.cpp), the detailed study
// and the print button's report from theirs (orvel_windows.cpp); the calibration window is not
// there yet: its handler does its own share only.

#include "app/format_text.h"
#include "app/orvel.h"
#include "state/history.h"
#include "state/message_bus.h"

namespace {

constexpr uint32_t kMainPanel = 10;
constexpr uint32_t kFrequencyField = 11;
constexpr uint32_t kStepField = 12;

constexpr const char* kStartCaption = "ПУСК";
constexpr const char* kStopCaption = "СТОП";

}  // namespace

void ORVEL::WireJournalAndControls() {
    const auto wire = [this](ui::Object* control, ui::EventTable table) {
        if (control == nullptr) return;
        controlEvents_.push_back(std::make_unique<ui::EventTable>(std::move(table)));
        control->AddHandlers(*controlEvents_.back());
    };
    const auto click = [this](auto action) {
        return ui::EventTable{{ui::EventId::Click, [this, action](ui::Object&, ui::EventData&) {
                                   action();
                                   return false;
                               }}};
    };
    const auto resetPending = [this] {
        if (SelectionActive) ResetSelection();
    };

    op->SetDropTexts({"MAIN_FREQ", "MAIN_STEP"});
    ft->SetDragText("MAIN_FREQ");
    step->SetDragText("MAIN_STEP");

    using ui::EventId;
    wire(op, {
                 {EventId::Select,
                  [this](ui::Object&, ui::EventData& e) {
                      if (journalTree) journal.Select(journalTree->ItemOf(e.item));
                      return false;
                  }},
                 {EventId::BeginLabelEdit,
                  [this](ui::Object&, ui::EventData& e) {
                      if (!journalTree || !store.MayRenameJournalItem(journalTree->ItemOf(e.item)))
                          e.cancel = true;
                      return false;
                  }},
                 {EventId::EndLabelEdit,
                  [this](ui::Object&, ui::EventData& e) {
                      // The journal sets the label itself once it took or refused the text.
                      e.cancel = true;
                      if (journalTree) store.RenameJournalItem(journalTree->ItemOf(e.item), e.text);
                      return false;
                  }},
                 {EventId::DragDrop,
                  [this](ui::Object&, ui::EventData& e) {
                      store.DropOnJournal(e.text);
                      return false;
                  }},
                 {EventId::RightButtonUp,
                  [this](ui::Object&, ui::EventData&) {
                      PostPrivateMessage(this, PostRunMacro);
                      return false;
                  }},
             });
    wire(tabctrl_1, {{EventId::Select, [this](ui::Object&, ui::EventData& e) {
                          SelectWorkMode(int32_t(e.value));
                          return false;
                      }}});
    wire(ft, {
                 {EventId::Change,
                  [this](ui::Object&, ui::EventData& e) {
                      EnterFrequency(e.text);
                      return false;
                  }},
                 {EventId::DropDown,
                  [this](ui::Object&, ui::EventData&) {
                      FillFrequencyHistory();
                      return false;
                  }},
                 {EventId::Select,
                  [this](ui::Object&, ui::EventData& e) {
                      ChooseFrequency(int(e.value));
                      return false;
                  }},
             });
    wire(ftup, {{EventId::DeltaPosition, [this](ui::Object&, ui::EventData& e) {
                     StepFrequency(e.value);
                     return false;
                 }}});
    wire(step, {
                   {EventId::Change,
                    [this](ui::Object&, ui::EventData& e) {
                        EnterStep(e.text);
                        return false;
                    }},
                   {EventId::DropDown,
                    [this](ui::Object&, ui::EventData&) {
                        FillStepHistory();
                        return false;
                    }},
                   {EventId::Select,
                    [this](ui::Object&, ui::EventData& e) {
                        ChooseStep(int(e.value));
                        return false;
                    }},
               });
    // The modulation buttons stand for the mode letters F, W, A, L, U, C, R. A click is served
    // after codes posted before it, which may have shown the mode of then: the buttons show
    // the mode taken.
    const std::pair<ui::OptionButton*, char> modes[] = {
        {nfm, 'F'}, {wfm, 'W'}, {am, 'A'}, {lsb, 'L'}, {usb, 'U'}, {cw, 'C'}, {rtty, 'R'}};
    for (const auto& [button, letter] : modes) {
        wire(button, click([this, letter = letter] {
                 receiver.SetModulation(letter);
                 ShowModulation();
                 receiver.PollLevel();
             }));
    }
    wire(start, click([this, resetPending] {
             resetPending();
             StartButton();  // a running job ends; else a scan starts or stops
         }));
    wire(pause, click([this] { scan.Pause(); }));
    wire(pictbttn_1, click([this, resetPending] {
             resetPending();
             store.ClearPanel();
         }));
    wire(pictbttn_2, click([this] { store.LoadItem(); }));
    wire(pictbttn_3, click([this] { store.SaveItem(); }));
    wire(pictbttn_4, click([this, resetPending] {
             resetPending();
             store.DeleteItem();
         }));
    wire(pictbttn_5, click([this, resetPending] {
             resetPending();
             ToggleManualControl();
         }));
    wire(pictbttn_6, click([this] { FrequencyMinus(); }));
    wire(pictbttn_7, click([this] { OpenMacroBinding(); }));
    wire(pictbttn_8, click([this] { FrequencyPlus(); }));
    wire(pictbttn_9, click([this] { FixedButton(); }));
    wire(pictbttn_10, click([this] { RangeButton(); }));
    wire(pictbttn_11, click([this, resetPending] {
             resetPending();
             BuildReportText();
         }));
    wire(pictbttn_12, click([this, resetPending] {
             resetPending();
             ToggleCalibration();
         }));
    wire(pictbttn_13, click([this, resetPending] {
             resetPending();
             OpenStudy(true);
         }));
}

// ---- frequency and step

void ORVEL::ShowFrequency() {
    if (ft != nullptr) ft->SetText(FormatText("%8.4f", Frequency / 10000.0));
    FollowStudyMarkers();
    ShowScaleName();
}

void ORVEL::ShowScaleName() {
    if (statusBar == nullptr) return;
    statusBar->SetPartText(7, "");
    if (!PendingStatusText.empty()) {
        statusBar->SetPartText(7, PendingStatusText);
        PendingStatusText.clear();
        return;
    }
    // The list is in ascending order of start frequency, as the journal keeps it.
    for (const UserSc* scale : Scales) {
        if (scale->StartFrequency > Frequency) break;
        if (Frequency <= scale->EndFrequency) {
            statusBar->SetPartText(7, scale->Identifier);
            break;
        }
    }
}

void ORVEL::ShowStep() {
    if (step != nullptr) step->SetText(FormatText("%4.1f", Step / 10.0));
}

void ORVEL::EnterFrequency(const std::string& text) {
    if (text.empty()) {
        ShowFrequency();
        return;
    }
    Frequency = ParseMHz(text);
    if (int64_t{Frequency} >= int64_t{FreqHigh}) {
        Frequency = FreqHigh;
        ShowFrequency();
    }
    if (int64_t{FreqLow} >= int64_t{Frequency}) {
        Frequency = FreqLow;
        ShowFrequency();
    }
    scan.TuneAndMeasure();
    ShowScaleName();
}

void ORVEL::FillFrequencyHistory() {
    ft->Clear();
    for (const uint32_t value : ReadHistoryValues(*this, kMainPanel, kFrequencyField))
        ft->AddString(FormatText("%8.4f", value / 10000.0));
    ft->SetText(FormatText("%8.4f", Frequency / 10000.0));
}

void ORVEL::ChooseFrequency(int index) {
    if (index >= 0 && index < ft->Count()) {
        Frequency =
            std::clamp(ParseMHz(ft->StringAt(index)), std::min(FreqLow, FreqHigh), FreqHigh);
        scan.TuneAndMeasure();
    }
    ShowFrequency();
}

void ORVEL::EnterStep(const std::string& text) {
    if (text.empty()) {
        ShowStep();
        return;
    }
    Step = ParseKHz(text);
    if (Step < StepLow) {
        Step = StepLow;
        ShowStep();
    }
    if (Step > StepHigh) {
        Step = StepHigh;
        ShowStep();
    }
    receiver.ApplyStep();
}

void ORVEL::FillStepHistory() {
    step->Clear();
    for (const uint32_t value : ReadHistoryValues(*this, kMainPanel, kStepField))
        step->AddString(FormatText("%4.1f", value / 10.0));
    ShowStep();
}

void ORVEL::ChooseStep(int index) {
    // A stored step is taken as it was stored, but a step of 0 would leave every scan on its
    // first frequency.
    if (index >= 0 && index < step->Count()) {
        const uint32_t chosen = ParseKHz(step->StringAt(index));
        if (chosen != 0) Step = chosen;
    }
    ShowStep();
    receiver.ApplyStep();
}

// Plus, minus and the arrows: a step that would leave the receiver's limits is not taken.
// Frequencies are compared as signed numbers, so a step below zero is one below the limit.
void ORVEL::StepFrequency(int64_t delta) {
    if (Tuning) return;
    Tuning = true;
    const int64_t candidate = delta > 0 ? int64_t{Frequency} + Step : int64_t{Frequency} - Step;
    if (delta > 0 ? candidate <= int64_t{FreqHigh} : candidate >= int64_t{FreqLow})
        Frequency = uint32_t(candidate);
    ShowFrequency();
    scan.TuneAndMeasure();  // also when the step was refused: the receiver follows the field
    if (ftup != nullptr) ftup->SetPosition(0);
    Tuning = false;
}

void ORVEL::FrequencyPlus() {
    if (Tuning) return;
    Tuning = true;
    const int64_t candidate = int64_t{Frequency} + PlusOffset;
    if (candidate <= int64_t{FreqHigh}) Frequency = uint32_t(candidate);
    ShowFrequency();
    scan.TuneAndMeasure();
    Tuning = false;
}

void ORVEL::FrequencyMinus() {
    if (Tuning) return;
    Tuning = true;
    const int64_t candidate = int64_t{Frequency} - MinusOffset;
    if (candidate >= int64_t{FreqLow}) Frequency = uint32_t(candidate);
    ShowFrequency();
    scan.TuneAndMeasure();
    Tuning = false;
}

// ---- work mode

void ORVEL::ResetSelection() {
    PostPrivateMessage(WorkMode == kRangeMode ? subWindows.diap : subWindows.base,
                       PostResetSelection);
}

void ORVEL::SwitchToTab(int32_t page) {
    if (tabctrl_1 == nullptr || tabctrl_1->SelectedIndex() == page) return;
    tabctrl_1->SetSelectedIndex(page);
    SelectWorkMode(page);
}

void ORVEL::SelectWorkMode(int32_t page) {
    if (SelectionActive) ResetSelection();
    SetStudySourceKinds(page);
    if (page >= kScaleMode && page <= kGroupMode && StudyOpen)
        PostPrivateMessage(this, PostAnalysisUpdate);
    switch (page) {
        case kScaleMode:
            receiver.PostToPanel(PostRefreshLevels);
            break;
        case kBankMode:
            PostPrivateMessage(subWindows.freq, PostRefreshLevels);
            break;
        case kRangeMode:
            PostPrivateMessage(subWindows.diap, PostRefreshLevels);
            break;
        case kGroupMode:
            PostPrivateMessage(subWindows.group, PostRefreshLevels);
            break;
        case kParametersMode:
            store.ShowParameterPanel();
            break;
        default:
            break;
    }
    WorkMode = page;
    LendSharedPicture(page);
    if (!Running) statusLine.ShowModeStatus();
}

// ---- the start button and the scan's view

// A running job is ended (an editor run without a scan ends as its "СТОП" caption promises);
// without a receiver nothing can scan.
void ORVEL::StartButton() {
    if (JobRunning) {
        scan.EndJobMode();
        return;
    }
    if (ReceiverType == 0) {
        ShowError(10);
        return;
    }
    scan.StartStopScan();
}

namespace {

// The controls a running scan locks, in the order they are locked.
std::vector<ui::Window*> ScanLockedControls(ORVEL& w) {
    // clang-format off
    std::vector<ui::Window*> controls = {w.ftup, w.step, w.ft,
                                         w.nfm, w.wfm, w.am, w.lsb, w.usb, w.cw};
    if (w.receiver.Traits().rtty) controls.push_back(w.rtty);
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

void ORVEL::ReturnControlsAfterRun() {
    if (!Running && start != nullptr && start->Text() == kStopCaption) ShowStartLabel();
}

void ORVEL::ShowCurrentLevel() {
    if (Level != -1) {
        for (Bank& slot : ScanSlots) {
            if (!slot.InUse || Frequency < slot.Start || Frequency > slot.End) continue;
            const int64_t cell = slot.CellOf(Frequency);
            if (cell >= 0) slot.Current[std::size_t(cell)] = uint8_t(Level);
        }
    }
    statusLine.ShowLevel(Level);
    if (!Running) {
        switch (WorkMode) {
            case kBankMode:
                PostPrivateMessage(subWindows.freq, PostUpdateParams);
                break;
            case kRangeMode:
                PostPrivateMessage(subWindows.diap, PostRefreshDisplay);
                break;
            case kGroupMode:
                PostPrivateMessage(subWindows.diap, PostRefreshDisplay);
                PostPrivateMessage(subWindows.group, PostRefreshDisplay);
                break;
            default:
                break;
        }
    }
    if (HfreqOpen) PostPrivateMessage(auxWindows.hfreq, PostUpdateParams);
}

// The attenuator shows here too, in status pane 1.
void ORVEL::ShowModulation() {
    struct ModeButton {
        char letter;
        ui::OptionButton* button;
    };
    const ModeButton buttons[] = {{'F', nfm}, {'W', wfm}, {'A', am},  {'L', lsb},
                                  {'U', usb}, {'C', cw},  {'R', rtty}};
    const bool rttyServed = receiver.Traits().rtty;
    for (const ModeButton& mode : buttons) {
        if (mode.button == nullptr || (mode.letter == 'R' && !rttyServed)) continue;
        mode.button->SetChecked(false);
    }
    for (const ModeButton& mode : buttons) {
        if (mode.button == nullptr || (mode.letter == 'R' && !rttyServed)) continue;
        if (mode.letter == Modulation) mode.button->SetChecked(true);
    }
    ModeValue = receiver.ModeParameter(Modulation);
    statusLine.ShowAttenuator();
}

// ---- items from a marked span: a pending selection is taken or reset first

void ORVEL::RangeButton() {
    if (SelectionActive) {
        if (WorkMode == kRangeMode)
            PostPrivateMessage(subWindows.diap, PostTakeSelection);
        else
            ResetSelection();
        return;
    }
    store.RangeFromSelection();
}

void ORVEL::FixedButton() {
    if (SelectionActive) {
        if (WorkMode == kRangeMode)
            ResetSelection();
        else
            PostPrivateMessage(subWindows.base, PostTakeSelection);
        return;
    }
    store.FixedFromSelection();
}
