// The item store's journal events (selecting, renaming and dropping onto it) and the lookups
// other parts of the program make over the journal.

#include <algorithm>

#include "app/format_text.h"
#include "app/item_store.h"
#include "state/history.h"
#include "state/message_bus.h"

namespace {

// Fixed frequencies FDX::Scales lists at most.
constexpr std::size_t kMaxScales = 1000;
// Distinct frequencies and steps PrepareRangeSlots lists at most.
constexpr std::size_t kMaxSlotValues = 1000;

// The notes file shown for each heading, in the folder INFO.
struct HeadingNotes {
    const char* heading;
    const char* file;
};
constexpr HeadingNotes kHeadingNotes[] = {
    {"Диапазоны", "diapinfo.txt"},  {"Банки", "freqinfo.txt"},
    {"Группы", "grpinfo.txt"},      {"Задания", "jobinfo.txt"},
    {"Фонограммы", "fonoinfo.txt"}, {"Фиксированные частоты", "scinfo.txt"},
    {"Панель", "paninfo.txt"},
};

// A text the stored files can hold as a value: a quote character would be taken for the start
// of a quoted stretch when the file is read back, "=" would end the value and a line end would
// end the line.
bool storableText(std::string_view text) {
    return text.find_first_of("\"'=\r\n") == std::string_view::npos;
}

}  // namespace

// ---- journal events

void ItemStore::OnJournalSelect(JournalItem* item) {
    if (item == nullptr) return;
    SelectedSection = item->Section;
    switch (item->Section) {
        case kBankSection:
            fdx_.SelectedBank = item->As<UserFreq>();
            SelectedBankItem = item;
            break;
        case kRangeSection:
            fdx_.SelectedRange = item->As<UserDp>();
            EtalonParentItem = item;
            break;
        case kFixedSection:
            fdx_.SelectedFixed = item->As<UserSc>();
            break;
        default:
            break;
    }
    if (fdx_.WorkMode == kParametersMode) ShowParameterPanel();

    fdx_.InfoGeneral = 0;
    fdx_.InfoRowSelected = 0;
    switch (item->Kind) {
        case JournalKind::Row:
            fdx_.InfoGeneral = 1;
            fdx_.InfoRowSelected = 1;
            break;
        case JournalKind::Root:
            fdx_.InfoFileShown = fdx_.ProgramDir + "INFO/info.txt";
            break;
        case JournalKind::Fixed:
            fdx_.InfoFileShown = fdx_.ProgramDir + "SCALE/" + item->As<UserSc>()->Name + ".txt";
            break;
        case JournalKind::Range:
            fdx_.InfoFileShown = item->As<UserDp>()->FolderPath + "info.txt";
            break;
        case JournalKind::Group:
            fdx_.InfoFileShown =
                fdx_.ProgramDir + "GRP/" + item->As<UserGrp>()->FolderName + "/info.txt";
            break;
        case JournalKind::Bank:
            fdx_.InfoFileShown = BankFolderPath(*item->As<UserFreq>()) + "info.txt";
            break;
        case JournalKind::MeasurementSet:
            if (const UserFreq* bank = item->Parent()->As<UserFreq>())
                fdx_.InfoFileShown = BankFolderPath(*bank) + item->As<Meg>()->Name + ".txt";
            break;
        case JournalKind::Etalon:
            fdx_.InfoFileShown = item->As<Etl>()->Folder + item->As<Etl>()->Name + ".txt";
            break;
        case JournalKind::CatalogEntry: {
            const JobDcl& entry = *item->As<JobDcl>();
            fdx_.InfoFileShown =
                FormatText("%sINFO/%u_%u.txt", fdx_.ProgramDir.c_str(), entry.Panel, entry.Object);
            fdx_.InfoGeneral = 1;
            break;
        }
        case JournalKind::Job:
            fdx_.InfoFileShown = item->As<UserJob>()->Directory + "info.txt";
            break;
        case JournalKind::Phonogram:
            fdx_.InfoFileShown = fdx_.ProgramDir + "FONO/" + item->As<UserFono>()->Name + ".txt";
            break;
        case JournalKind::Folder:
            for (const HeadingNotes& notes : kHeadingNotes)
                if (item->Name == notes.heading)
                    fdx_.InfoFileShown = fdx_.ProgramDir + "INFO/" + notes.file;
            fdx_.InfoGeneral = 1;
            break;
        default:
            break;
    }
    host_.Post(StoreWindow::Info, PostRefreshDisplay);
}

bool ItemStore::MayRenameJournalItem(const JournalItem* item) const {
    return journal_.Contains(item) && item->Renamable;
}

namespace {

// Gives the record its new identifier and rewrites its file; a record that cannot be written
// keeps what it had, so that the journal never shows a name its file does not hold.
template <class R, class Write>
bool renameRecord(R* record, const std::string& name, Write write) {
    if (record == nullptr) return false;
    const R before = *record;
    record->Identifier = name;
    if (write(*record)) return true;
    *record = before;
    return false;
}

}  // namespace

void ItemStore::RenameJournalItem(JournalItem* item, const std::string& text) {
    if (!journal_.Contains(item)) return;
    // The label goes back to the item's name when the new one is refused.
    if (!item->Renamable || text.empty() || !storableText(text)) {
        journal_.SetName(item, item->Name);
        return;
    }
    if (text == item->Name) return;
    bool written = false;
    switch (item->Kind) {
        case JournalKind::Fixed:
            written =
                renameRecord(item->As<UserSc>(), text, [](UserSc& r) { return r.WriteHeader(); });
            break;
        case JournalKind::Range: {
            // Groups name their ranges by identifier, then by folder: a name that finds another
            // range would make that range this one to every group.
            if (const JournalItem* other = FindRangeItem(text); other != nullptr && other != item) {
                fdx_.ShowError(13);
                break;
            }
            const GroupEntries entries = GroupEntriesNaming(item);
            written =
                renameRecord(item->As<UserDp>(), text, [](UserDp& r) { return r.WriteFile(); });
            if (written) RenameGroupRanges(entries, text);
            break;
        }
        case JournalKind::Group:
            written = renameRecord(item->As<UserGrp>(), text,
                                   [this](UserGrp& r) { return WriteGroupFile(r); });
            break;
        case JournalKind::Bank: {
            UserFreq* bank = item->As<UserFreq>();
            const bool working =
                bank != nullptr && bank == fdx_.CurrentBank && fdx_.BankName == item->Name;
            written = renameRecord(bank, text, [](UserFreq& r) { return r.WriteFile(); });
            // The working bank is known by its name: it keeps being the working bank.
            if (written && working) fdx_.BankName = text;
            break;
        }
        case JournalKind::MeasurementSet:
            written = renameRecord(item->As<Meg>(), text, [](Meg& r) { return r.WriteHeader(); });
            break;
        case JournalKind::Etalon:
            written = renameRecord(item->As<Etl>(), text, [](Etl& r) { return r.WriteHeader(); });
            break;
        case JournalKind::Job: {
            UserJob* job = item->As<UserJob>();
            const bool edited =
                job != nullptr && job == fdx_.EditJob && fdx_.EditJobName == item->Name;
            written = renameRecord(job, text, [](UserJob& r) { return r.WriteFile(); });
            if (written && edited) {
                fdx_.EditJobName = text;
                host_.Post(StoreWindow::Job, PostRefreshDisplay);  // the editor shows the name
            }
            break;
        }
        case JournalKind::Run:
            written = renameRecord(item->As<Run>(), text, [](Run& r) { return r.WriteFile(); });
            break;
        case JournalKind::Phonogram:
            written =
                renameRecord(item->As<UserFono>(), text, [](UserFono& r) { return r.WriteFile(); });
            break;
        default:
            break;
    }
    journal_.SetName(item, written ? text : item->Name);
}

// Groups name their ranges by identifier: the names that find a range by its identifier follow
// it when it is renamed, so that the groups keep it (a name of its folder still finds it).
void ItemStore::RenameGroupRanges(const GroupEntries& entries, const std::string& name) {
    std::vector<UserGrp*> changed;
    for (const auto& [group, index] : entries) {
        group->Ranges[index] = name;
        if (std::find(changed.begin(), changed.end(), group) == changed.end())
            changed.push_back(group);
    }
    for (UserGrp* group : changed)
        if (!WriteGroupFile(*group)) fdx_.ShowError(23);
}

ItemStore::GroupEntries ItemStore::GroupEntriesNaming(const JournalItem* rangeItem) const {
    GroupEntries entries;
    // A range that shares its identifier with one found before it is not what the name finds.
    if (GroupFolder == nullptr || FindRangeItem(rangeItem->Name) != rangeItem) return entries;
    for (const auto& child : GroupFolder->Children())
        if (UserGrp* group = child->As<UserGrp>(); child->Is(JournalKind::Group) && group)
            for (std::size_t i = 0; i < group->Ranges.size(); ++i)
                if (group->Ranges[i] == rangeItem->Name) entries.emplace_back(group, i);
    return entries;
}

void ItemStore::DropOnJournal(const std::string& dragText) {
    JournalItem* field = nullptr;
    uint32_t value = 0;
    bool frequency = false;
    if (dragText == "MAIN_FREQ") {
        field = FrequencyFieldEntry;
        value = fdx_.Frequency;
        frequency = true;
    } else if (dragText == "MAIN_STEP") {
        field = StepFieldEntry;
        value = fdx_.Step;
    }
    if (!journal_.Contains(field)) return;
    const bool stored =
        std::any_of(field->Children().begin(), field->Children().end(), [&](const auto& child) {
            return child->Is(JournalKind::CatalogEntry) &&
                   child->template As<JobDcl>()->Value == value;
        });
    if (!stored) {
        const JobDcl& owner = *field->As<JobDcl>();
        JournalItem* entry = AddCatalogEntry(
            field,
            std::make_unique<JobDcl>(HistoryEntry(owner.Panel, owner.Object, value, frequency)));
        journal_.Expand(field);
        journal_.Select(entry);
    }
    WriteHistoryFile(field);
}

// ---- lookups

void ItemStore::CollectScaleItems() {
    fdx_.Scales.clear();
    if (FixedFolder == nullptr) return;
    for (const auto& child : FixedFolder->Children()) {
        if (fdx_.Scales.size() >= kMaxScales) break;
        if (UserSc* scale = child->As<UserSc>(); child->Is(JournalKind::Fixed) && scale != nullptr)
            fdx_.Scales.push_back(scale);
    }
}

void ItemStore::SelectScaleOfFrequency() {
    if (FixedFolder == nullptr) return;
    for (const auto& child : FixedFolder->Children()) {
        const UserSc* scale = child->As<UserSc>();
        if (child->Is(JournalKind::Fixed) && scale != nullptr &&
            scale->StartFrequency <= fdx_.Frequency && fdx_.Frequency <= scale->EndFrequency) {
            journal_.Select(child.get());
            return;
        }
    }
}

int32_t ItemStore::FindJobIndex(const std::string& folderName) {
    fdx_.Jobs.clear();
    int32_t found = 0;
    if (JobFolder == nullptr) return 0;
    for (const auto& child : JobFolder->Children()) {
        UserJob* job = child->As<UserJob>();
        if (!child->Is(JournalKind::Job) || job == nullptr) continue;
        fdx_.Jobs.push_back(job);
        if (job->FolderName == folderName) found = int32_t(fdx_.Jobs.size());
    }
    return found;
}

JournalItem* ItemStore::FindSlotRangeItem() const {
    if (RangeFolder == nullptr || fdx_.SlotIndex < 0 ||
        size_t(fdx_.SlotIndex) >= fdx_.ScanSlots.size())
        return nullptr;
    const Bank& slot = fdx_.ScanSlots[size_t(fdx_.SlotIndex)];
    for (const auto& child : RangeFolder->Children()) {
        const UserDp* range = child->As<UserDp>();
        if (child->Is(JournalKind::Range) && range != nullptr &&
            range->StartFrequency == slot.Start && range->EndFrequency == slot.End &&
            range->Step == slot.Step && range->Modulation == slot.Modulation)
            return child.get();
    }
    return nullptr;
}

namespace {

void addDistinct(std::vector<uint32_t>& values, uint32_t value) {
    if (values.size() < kMaxSlotValues &&
        std::find(values.begin(), values.end(), value) == values.end())
        values.push_back(value);
}

}  // namespace

void ItemStore::ShowParameterPanel() {
    if (fdx_.ShownParameterPanel != int32_t(SelectedSection)) {
        if (SelectedSection == kRootSection) fdx_.AutoexecIndex = FindJobIndex(fdx_.AutoexecJob);
        host_.ShowSectionPanel(SelectedSection);
        fdx_.ShownParameterPanel = int32_t(SelectedSection);
    }
    switch (fdx_.ShownParameterPanel) {
        case kRootSection:
            host_.Post(StoreWindow::Settings, PostRefreshDisplay);
            break;
        case kBankSection:
            // The panel offers the jobs as the journal holds them now.
            FindJobIndex(fdx_.SelectedBank != nullptr ? fdx_.SelectedBank->Job : std::string{});
            host_.Post(StoreWindow::Pfreq, PostRefreshDisplay);
            break;
        case kRangeSection:
            FindJobIndex(fdx_.SelectedRange != nullptr ? fdx_.SelectedRange->Job : std::string{});
            fdx_.Etalons.clear();
            fdx_.EtalonIndex = 0;
            if (fdx_.SelectedRange != nullptr && fdx_.SelectedRange->FolderName != "ROOT" &&
                journal_.Contains(EtalonParentItem)) {
                for (const auto& child : EtalonParentItem->Children()) {
                    Etl* etalon = child->As<Etl>();
                    if (!child->Is(JournalKind::Etalon) || etalon == nullptr) continue;
                    fdx_.Etalons.push_back(etalon);
                    if (etalon->Name == fdx_.SelectedRange->Etalon)
                        fdx_.EtalonIndex = int32_t(fdx_.Etalons.size());
                }
            }
            host_.Post(StoreWindow::Pdiap, PostRefreshDisplay);
            break;
        case kFixedSection:
            host_.Post(StoreWindow::Base, PostRefreshDisplay);
            break;
        default:
            break;
    }
}

void ItemStore::PrepareRangeSlots() {
    fdx_.SlotFrequencies.clear();
    fdx_.SlotSteps.clear();
    if (RangeFolder != nullptr) {
        for (const auto& child : RangeFolder->Children()) {
            const UserDp* range = child->As<UserDp>();
            if (!child->Is(JournalKind::Range) || range == nullptr) continue;
            addDistinct(fdx_.SlotFrequencies, range->StartFrequency);
            addDistinct(fdx_.SlotFrequencies, range->EndFrequency);
            addDistinct(fdx_.SlotSteps, range->Step);
        }
    }
    if (fdx_.SlotIndex < 0 || size_t(fdx_.SlotIndex) >= fdx_.ScanSlots.size()) return;
    Bank& slot = fdx_.ScanSlots[size_t(fdx_.SlotIndex)];
    if (!slot.InUse) {
        slot.Start = fdx_.RangeStart;
        slot.End = fdx_.RangeEnd;
        slot.Step = fdx_.Step;
        slot.Bandwidth = uint32_t(fdx_.ModeValue);
        if (fdx_.SelectionStart >= 0 && fdx_.SelectionEnd >= 0) {
            slot.Start = uint32_t(fdx_.SelectionStart);
            slot.End = uint32_t(fdx_.SelectionEnd);
        }
    } else if (fdx_.JobRunning && slot.Flag4 &&
               !fdx_.Confirm("Результаты предыдущего сканирования будут утеряны.Подтверждаете?")) {
        return;
    }
    host_.Post(StoreWindow::Diap, PostReloadView);
}
