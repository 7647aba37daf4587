#include "receivers/panel_dialog.h"

#include <string>

#include "receivers/panel.h"
#include "receivers/scan_stop.h"
#include "state/message_bus.h"

PanelDialog::PanelDialog(ReceiverPanel& panel, const ui::FormResource& form)
    : owningPanel_(panel), form_(form) {
    ui::RegisterFormResource(form);
    On(ui::EventId::Create, [this](ui::EventData&) {
        CreateControls();
        if (stop_.settings) scan_stop::FillActions(stop_.actions);
        Wire();
        if (stop_.settings)
            scan_stop::WireLists(stop_.actions, stop_.jobs, *stop_.settings, *owningPanel_.State());
    });
    On(ui::EventId::RightButtonUp, [&panel](ui::EventData&) { panel.PostToOwner(PostRunMacro); });
}

void PanelDialog::Open(ui::Form* owner) {
    if (!HasWindow() && !Create(form_.name, owner)) return;
    BeforeRefresh();
    Refresh();
    Show();
}

void PanelDialog::Refresh() {
    if (!HasWindow()) return;
    ShowSettings();
    if (stop_.settings)
        scan_stop::ShowLists(stop_.actions, stop_.jobs, *stop_.settings, *owningPanel_.State());
}

void PanelDialog::SetStopLists(ui::ComboBox* actions, ui::ComboBox* jobs,
                               ScanStopSettings& settings) {
    stop_ = {actions, jobs, &settings};
}

void PanelDialog::FindNumberedBoxes(std::span<ui::CheckBox*> boxes, int first) const {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const std::string name = "checkbox_" + std::to_string(first + static_cast<int>(i));
        boxes[i] = dynamic_cast<ui::CheckBox*>(FindControl(name));
    }
}

void PanelDialog::OnChosen(ui::OptionButton* option, std::function<void()> action) {
    option->On(ui::EventId::Click, [option, action = std::move(action)](ui::EventData&) {
        if (option->IsChecked()) action();
    });
}

void PanelDialog::ShowValue(std::span<const ValueOption> options, uint32_t value) {
    ui::OptionButton* chosen = options.front().option;
    for (const ValueOption& o : options)
        if (o.value == value) chosen = o.option;
    chosen->SetChecked(true);
}

void PanelDialog::WireValue(std::span<const ValueOption> options, uint32_t& value) {
    for (const ValueOption& o : options) OnChosen(o.option, [&value, v = o.value] { value = v; });
}
