// The main window's controls: the journal's events, the frequency and step fields with their
// arrows, plus and minus, the tab control that sets the work mode, and the buttons that load,
// save, clear and delete stored items or make them from a marked span (the item store does
// what is done to the journal and the stored items).
//
// A new frequency tunes the receiver and reads its level (TuneAndMeasure); a new step or mode
// goes to the receiver through the dispatch (ApplyStep, SetModulation, PollLevel). The manual
// control and the macro binding open from their buttons (orvel_editors.cpp); the calibration,
// detailed study and print windows are not there yet: those handlers do their own share only.

#include "app/format_text.h"
#include "app/orvel.h"
#include "state/history.h"
#include "state/key_value.h"
#include "state/message_bus.h"

namespace {

constexpr uint32_t kMainPanel = 10;
constexpr uint32_t kFrequencyField = 11;
constexpr uint32_t kStepField = 12;

// The texts of the work modes in status pane 0.
constexpr const char* kModeTexts[] = {
    "Сканирование по Шкале", "Сканирование Банка", "Сканирование Диапазона",
    "Сканирование Группы ",  "Выполнение Задания", "Текстовая Информация ",
    "Звукозапись",           "Параметры Раздела",
};

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
    // The modulation buttons stand for the mode letters F, W, A, L, U, C, R.
    const std::pair<ui::OptionButton*, char> modes[] = {
        {nfm, 'F'}, {wfm, 'W'}, {am, 'A'}, {lsb, 'L'}, {usb, 'U'}, {cw, 'C'}, {rtty, 'R'}};
    for (const auto& [button, letter] : modes) {
        wire(button, click([this, letter = letter] {
                 SetModulation(letter);
                 PollLevel();
             }));
    }
    wire(start, click([this, resetPending] {
             resetPending();
             StartButton();  // a running job ends; else a scan starts or stops
         }));
    wire(pause, click([this] { Pause(); }));
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
    wire(pictbttn_12, click([this, resetPending] {
             resetPending();
             if (StudyOpen) ShowError(47);
         }));
    wire(pictbttn_13, click([this, resetPending] {
             resetPending();
             if (CalibrOpen) ShowError(48);
         }));
}

// ---- frequency and step

void ORVEL::ShowFrequency() {
    if (ft != nullptr) ft->SetText(FormatText("%8.4f", Frequency / 10000.0));
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
    TuneAndMeasure();
    ShowScaleName();
}

void ORVEL::FillFrequencyHistory() {
    ft->Clear();
    LoadFileName = HistoryFileName(ProgramDir, kMainPanel, kFrequencyField);
    if (LoadTextFile())
        for (const std::string& line : Lines)
            ft->AddString(FormatText("%8.4f", double(ReadInteger(line)) / 10000.0));
    ft->SetText(FormatText("%8.4f", Frequency / 10000.0));
}

void ORVEL::ChooseFrequency(int index) {
    if (index >= 0 && index < ft->Count()) {
        Frequency =
            std::clamp(ParseMHz(ft->StringAt(index)), std::min(FreqLow, FreqHigh), FreqHigh);
        TuneAndMeasure();
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
    ApplyStep();
}

void ORVEL::FillStepHistory() {
    step->Clear();
    LoadFileName = HistoryFileName(ProgramDir, kMainPanel, kStepField);
    if (LoadTextFile())
        for (const std::string& line : Lines)
            step->AddString(FormatText("%4.1f", double(ReadInteger(line)) / 10.0));
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
    ApplyStep();
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
    TuneAndMeasure();  // also when the step was refused: the receiver follows the field
    if (ftup != nullptr) ftup->SetPosition(0);
    Tuning = false;
}

void ORVEL::FrequencyPlus() {
    if (Tuning) return;
    Tuning = true;
    const int64_t candidate = int64_t{Frequency} + PlusOffset;
    if (candidate <= int64_t{FreqHigh}) Frequency = uint32_t(candidate);
    ShowFrequency();
    TuneAndMeasure();
    Tuning = false;
}

void ORVEL::FrequencyMinus() {
    if (Tuning) return;
    Tuning = true;
    const int64_t candidate = int64_t{Frequency} - MinusOffset;
    if (candidate >= int64_t{FreqLow}) Frequency = uint32_t(candidate);
    ShowFrequency();
    TuneAndMeasure();
    Tuning = false;
}

// ---- work mode and status

void ORVEL::ShowModeStatus() {
    if (statusBar != nullptr && WorkMode >= 0 && WorkMode < int32_t(std::size(kModeTexts)))
        statusBar->SetPartText(0, kModeTexts[WorkMode]);
}

void ORVEL::ResetSelection() {
    PostPrivateMessage(WorkMode == 2 ? subWindows.diap : subWindows.base, PostResetSelection);
}

void ORVEL::SwitchToTab(int32_t page) {
    if (tabctrl_1 == nullptr || tabctrl_1->SelectedIndex() == page) return;
    tabctrl_1->SetSelectedIndex(page);
    SelectWorkMode(page);
}

void ORVEL::SelectWorkMode(int32_t page) {
    if (SelectionActive) ResetSelection();
    if (page >= 0 && page <= 3 && StudyOpen) PostPrivateMessage(this, PostAnalysisUpdate);
    switch (page) {
        case 0:
            PostToPanel(PostRefreshLevels);
            break;
        case 1:
            PostPrivateMessage(subWindows.freq, PostRefreshLevels);
            break;
        case 2:
            PostPrivateMessage(subWindows.diap, PostRefreshLevels);
            break;
        case 3:
            PostPrivateMessage(subWindows.group, PostRefreshLevels);
            break;
        case 7:
            store.ShowParameterPanel();
            break;
        default:
            break;
    }
    WorkMode = page;
    LendSharedPicture(page);
    if (!Running) ShowModeStatus();
}

// ---- items from a marked span: a pending selection is taken or reset first

void ORVEL::RangeButton() {
    if (SelectionActive) {
        if (WorkMode == 2)
            PostPrivateMessage(subWindows.diap, PostTakeSelection);
        else
            ResetSelection();
        return;
    }
    store.RangeFromSelection();
}

void ORVEL::FixedButton() {
    if (SelectionActive) {
        if (WorkMode == 2)
            ResetSelection();
        else
            PostPrivateMessage(subWindows.base, PostTakeSelection);
        return;
    }
    store.FixedFromSelection();
}
