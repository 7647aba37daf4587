// The catalog of panel objects in the journal: every entry of the configured receiver's catalog
// under the heading "Панель", in the catalog's order.

#include <memory>
#include <vector>

#include "app/orvel.h"
#include "app/panel_catalog.h"
#include "state/history.h"

namespace {

constexpr uint32_t kMainPanel = 10;
constexpr uint32_t kFrequencyField = 11;
constexpr uint32_t kStepField = 12;

}  // namespace

void ORVEL::BuildPanelCatalog() {
    if (!journal.Contains(PanelFolder)) return;
    const std::vector<CatalogListEntry> catalog = PanelCatalog(ReceiverType);
    std::vector<JournalItem*> listed(catalog.size(), nullptr);
    for (std::size_t i = 0; i < catalog.size(); ++i) {
        const CatalogListEntry& entry = catalog[i];
        JournalItem* parent = entry.parent < 0 ? PanelFolder : listed[std::size_t(entry.parent)];
        if (parent == nullptr) continue;  // its own entry could not be listed

        // The two fields that keep the values the operator used carry those values as presets;
        // a field the journal already lists keeps its entry and its values.
        JournalItem** field = nullptr;
        if (entry.dcl.Panel == kMainPanel && entry.dcl.Object == kFrequencyField)
            field = &FrequencyFieldEntry;
        else if (entry.dcl.Panel == kMainPanel && entry.dcl.Object == kStepField)
            field = &StepFieldEntry;
        if (field != nullptr && journal.Contains(*field)) {
            listed[i] = *field;
            continue;
        }

        listed[i] = AddCatalogEntry(parent, std::make_unique<JobDcl>(entry.dcl));
        if (field == nullptr || listed[i] == nullptr) continue;
        *field = listed[i];
        for (const JobDcl& value : ReadHistoryEntries(*this, kMainPanel, entry.dcl.Object,
                                                      entry.dcl.Object == kFrequencyField))
            AddCatalogEntry(listed[i], std::make_unique<JobDcl>(value));
    }
}
