// The editors of the main window: the phonogram, job and text windows made at start-up and
// put on tab pages 6, 4 and 5 in place of their one-label forms, the manual control opened and
// closed by the manual-control button, and the macro binding of the macro button. The codes they
// exchange with the main window (the job lines, the one-second ticks to the job window, the 100 ms
// ticks and the step acknowledgements to the manual control) go through the main window's share of
// the message bus, to subWindows.job and auxWindows.Limb.

#include "app/orvel_editors.h"

#include "app/orvel.h"
#include "state/user_job.h"

namespace {

constexpr int kJobPage = 4;
constexpr int kTextPage = 5;
constexpr int kSignalPage = 6;
// The manual control stands at the main window's left edge, its bottom this far above the
// bottom of the main window.
constexpr int kManualControlAboveBottom = 50;

// The 1-based place of the bound job `name` in FDX::Jobs, which this rebuilds; 0 for none. A
// binding names its job by the folder; one made elsewhere by the job's identifier is found too.
int32_t BoundJobIndex(ORVEL& w, const std::string& name) {
    const int32_t index = w.store.FindJobIndex(name);
    if (index != 0 || name.empty()) return index;
    for (std::size_t i = 0; i < w.Jobs.size(); ++i)
        if (w.Jobs[i] != nullptr && w.Jobs[i]->Identifier == name) return int32_t(i + 1);
    return 0;
}

}  // namespace

void ORVEL::CreateEditors() {
    editors = std::make_unique<OrvelEditors>();
    EnterStage(14);
    if (editors->phonogramWindow.Create(this, this)) {
        tabctrl_1->SetPage(kSignalPage, &editors->phonogramWindow);
        subWindows.signal = &editors->phonogramWindow;
    }
    EnterStage(19);
    if (editors->jobWindow.Create(this, this)) {
        tabctrl_1->SetPage(kJobPage, &editors->jobWindow);
        subWindows.job = &editors->jobWindow;
    }
    EnterStage(20);
    if (editors->notesWindow.Create(this, this)) {
        tabctrl_1->SetPage(kTextPage, &editors->notesWindow);
        subWindows.info = &editors->notesWindow;
    }
}

void ORVEL::DeleteEditors() {
    if (!editors) return;
    if (subWindows.job == &editors->jobWindow) subWindows.job = nullptr;
    if (subWindows.info == &editors->notesWindow) subWindows.info = nullptr;
    if (subWindows.signal == &editors->phonogramWindow) subWindows.signal = nullptr;
    auxWindows.Limb = nullptr;
    LimbOpen = 0;
    // The pages get their one-label forms back before the windows that took them go.
    for (const int index : {kJobPage, kTextPage, kSignalPage})
        if (tabctrl_1 != nullptr && pages[std::size_t(index)])
            tabctrl_1->SetPage(index, pages[std::size_t(index)].get());
    editors.reset();
}

void ORVEL::ToggleManualControl() {
    if (!editors) return;
    auxWindows.Limb = nullptr;
    KnobLeftHeld = KnobRightHeld = 0;
    if (LimbOpen) {
        LimbOpen = 0;
        editors->limb.reset();
        return;
    }
    editors->limb.reset();  // one the operator closed himself
    auto limb = std::make_unique<Limb>();
    if (!limb->Create(this, this)) return;
    // The operator's close hides the window: from then on it gets no ticks, and the button
    // opens a new one.
    limb->AddHandler(ui::EventId::Close, [this](ui::Object&, ui::EventData&) {
        LimbOpen = 0;
        auxWindows.Limb = nullptr;
        KnobLeftHeld = KnobRightHeld = 0;
        return false;
    });
    const ui::Rect main = Geometry();
    const ui::Rect own = limb->Geometry();
    limb->Move({main.x, main.y + main.height - kManualControlAboveBottom - own.height, own.width,
                own.height});
    limb->Show();
    auxWindows.Limb = limb.get();
    LimbOpen = 1;
    editors->limb = std::move(limb);
}

void ORVEL::OpenMacroBinding() {
    MacroJob = BoundJobIndex(*this, MacroJobName);
    TriggerJob = BoundJobIndex(*this, TriggerJobName);
    if (!editors || editors->macroDialog.HasWindow()) return;
    editors->macroDialog.Create(this, this);
}
