#include "receivers/aor/aor_scan_dialog.h"

#include <string>

#include "receivers/aor/aor_panel.h"

using Kind = AorScanSettings::Kind;

AorScanDialog::AorScanDialog(AorPanel& panel, const ui::FormResource& form)
    : PanelDialog(panel, form), scan_(panel.ScanSettings) {}

void AorScanDialog::ShowKind() {
    const Kind kind = scan_.kind;
    diapscan->SetChecked(kind == Kind::Search || (!VFOscan && kind == Kind::Vfo));
    bankscan->SetChecked(kind == Kind::MemoryBanks);
    if (VFOscan) VFOscan->SetChecked(kind == Kind::Vfo);
}

// Only the operator's input raises a click, once it is delivered: the dialog setting its
// controls from the panel raises none.
void AorScanDialog::WireKinds() {
    const std::pair<ui::OptionButton*, Kind> kinds[] = {
        {diapscan, Kind::Search}, {bankscan, Kind::MemoryBanks}, {VFOscan, Kind::Vfo}};
    for (const auto& [option, kind] : kinds) {
        if (!option) continue;
        option->On(ui::EventId::Click, [this, kind = kind](ui::EventData&) {
            scan_.kind = kind;
            Refresh();
        });
    }
}

char AorScanDialog::KindLetter() const {
    return scan_.kind == Kind::Search ? 'S' : scan_.kind == Kind::MemoryBanks ? 'X' : 'D';
}

void AorScanDialog::ShowLinks(std::span<ui::CheckBox* const> boxes, std::string_view letters) {
    const std::string& linked = scan_.ChosenLinks();
    for (std::size_t box = 0; box < boxes.size(); ++box)
        boxes[box]->SetChecked(linked.find(letters[box]) != std::string::npos);
}

void AorScanDialog::WireLinks(std::span<ui::CheckBox* const> boxes, std::string_view letters,
                              std::function<void()> then) {
    for (std::size_t box = 0; box < boxes.size(); ++box) {
        ui::CheckBox* link = boxes[box];
        link->On(ui::EventId::Click, [this, link, letter = letters[box], then](ui::EventData&) {
            scan_.Link(letter, link->IsChecked());
            if (then) then();
        });
    }
}
