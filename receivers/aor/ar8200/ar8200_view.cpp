// The AR8200 panel's analysis view: the band scope in place of the channel list, its span,
// pause and view factor, and the sweep asked for every other second while nothing else talks
// to the receiver.

#include <initializer_list>

#include "receivers/aor/ar8200/ar8200.h"
#include "state/message_bus.h"

namespace {

using aor::Format;

}  // namespace

void AR8200::SetScopeView(bool on) {
    if (!view) return;
    Scope.On = on;
    Scope.Paused = false;
    Scope.SweepAsked = false;
    if (scope->IsChecked() != on) scope->SetChecked(on);
    // The channel list and the edit row, the banks and the search bank's row give way to the
    // view and its controls.
    using Controls = std::initializer_list<ui::Control*>;
    for (ui::Control* control :
         Controls{lv_1,       label_4,   bn,           Nk,       textb_1, smod,     sstep,
                  comment,    satt,      sel,          skip,     label_5, label_6,  label_7,
                  label_8,    label_9,   label_10,     label_11, sbn,     textb_Fn, textb_Fk,
                  textb_step, combo_mod, checkbox_att, textb_com}) {
        on ? control->Hide() : control->Show();
    }
    for (ui::Control* control : Controls{view, label_12, estep, stopEL, label_13, stepEL})
        on ? control->Show() : control->Hide();
    if (!on) {
        SelectVfo(VfoChoice);
        return;
    }
    stopEL->SetText("пауза");
    estep->SetSelectedIndex(Scope.Span());
    fdx_->ScopeStep = Scope.Step(view->Geometry().width);
    StartSweep();
    view->Redraw();
}

// "AM" puts the receiver on its band scope round the tuned frequency, "SW" gives the span.
bool AR8200::StartSweep() {
    const bool sweeping = SendText("AM");
    if (sweeping && view) view->Redraw();
    return SendText(Format("SW%d", Scope.SpanNumber())) && sweeping;
}

// Every other tick asks for the sweep; the tick after draws what came.
void AR8200::OnScopeTick() {
    if (!Scope.On || Scope.Paused || fdx_->Running || !LinkIdle()) return;
    if (Scope.SweepAsked) {
        Scope.TakeForDrawing(fdx_->ScopeLevels);
        Scope.SweepAsked = false;
        if (view) view->Redraw();
        return;
    }
    Scope.SweepAsked = Link.Send("DS\r\n", "");
}

void AR8200::TakeScopeLine() {
    Scope.Take(Reply.ScopeLine, fdx_->ScopeStep, fdx_->ScopeLevels);
}

void AR8200::ChooseScopeSpan(int index) {
    if (!Scope.ChooseSpan(index) || !view) return;
    fdx_->ScopeStep = Scope.Step(view->Geometry().width);
    Scope.Paused = false;
    stopEL->SetText("пауза");
    SendText(Format("SW%d", Scope.SpanNumber()));
    SendText("AM");
    fdx_->ScopeLevels.fill(0);
    Scope.Restart();
    view->Redraw();
}

void AR8200::PauseScope() {
    Scope.Paused = !Scope.Paused;
    Scope.SweepAsked = false;
    stopEL->SetText(Scope.Paused ? "старт" : "пауза");
    if (Scope.Paused)
        SelectVfo(VfoChoice);
    else
        StartSweep();
}

void AR8200::NextScopeFactor() {
    Scope.NextFactor();
    SendText("AM");
    if (view) view->Redraw();
}

// The print takes the entries the view shows.
void AR8200::CopyBandScope() const {
    fdx_->ScopeBlocks.fill(0);
    if (!Scope.On || !view) return;
    int first = 0, count = 0;
    Scope.Shown(view->Geometry().width, first, count);
    for (int entry = first; entry < first + count; ++entry)
        fdx_->ScopeBlocks[static_cast<std::size_t>(entry / 16)] = 1;
}
