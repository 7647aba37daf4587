// Deleting the item selected in the journal with what is stored under it, and clearing the
// working state of the current tab.

#include <filesystem>
#include <type_traits>
#include <variant>

#include "app/data_folder.h"
#include "app/item_store.h"
#include "state/etl.h"
#include "state/meg.h"
#include "state/message_bus.h"

void ItemStore::DeleteChildItems(JournalItem* item) {
    journal_.RemoveChildren(item);
}

void ItemStore::DeleteEtalonFiles(const Etl& etalon) {
    for (const char* extension : kEtalonArrayExtensions)
        RemoveFile(etalon.Folder, etalon.Name + extension);
}

void ItemStore::CopyScanParams(UserDp& range) const {
    if (DefaultRange == nullptr) return;
    const UserDp& defaults = *DefaultRange;
    range.Level = defaults.Level;
    range.Waiting = defaults.Waiting;
    range.WaitTime = defaults.WaitTime;
    range.Condition = defaults.Condition;
    range.Processing = defaults.Processing;
    range.Cycles = defaults.Cycles;
    range.Interval = defaults.Interval;
    range.Etalon = defaults.Etalon;
    range.Job = defaults.Job;
    range.Attenuator = defaults.Attenuator;
    range.Selection = defaults.Selection;
    range.Exclusion = defaults.Exclusion;
    range.Fixing = defaults.Fixing;
    range.Marker = defaults.Marker;
}

namespace {

// The sound file of a fragment that has one of its own: the file of that name in FONO, however
// its path was spelt where it was recorded. Only files of the folder FONO are ever removed.
std::string fragmentSoundFile(const std::string& recorded) {
    const std::size_t slash = recorded.find_last_of("/\\");
    std::string name = slash == std::string::npos ? recorded : recorded.substr(slash + 1);
    if (!name.empty() && Stem(name) == name) name += ".wav";
    return name == "." || name == ".." ? std::string() : name;
}

template <class R>
void forget(R*& pointer, const void* record) {
    if (pointer == record) pointer = nullptr;
}

void forgetRecord(FDX& fdx, const void* record) {
    forget(fdx.CurrentBank, record);
    forget(fdx.MeasurementSet, record);
    forget(fdx.EditJob, record);
    forget(fdx.SelectedRange, record);
    forget(fdx.SelectedBank, record);
    forget(fdx.SelectedFixed, record);
    forget(fdx.SelectedCatalogEntry, record);
    for (Bank& slot : fdx.ScanSlots) {
        if (slot.Range == record) slot.Range = nullptr;
        if (slot.EtalonRecord == record) {
            slot.EtalonRecord = nullptr;
            slot.HasEtalon = 0;
        }
    }
    std::erase(fdx.Etalons, record);
}

}  // namespace

void ItemStore::ForgetItem(JournalItem* gone) {
    std::visit(
        [&](const auto& owned) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(owned)>, std::monostate>)
                forgetRecord(fdx_, owned.get());
        },
        gone->Record);
    for (JournalItem** pointer :
         {&CurrentBankItem, &SelectedBankItem, &EtalonParentItem, &EditJobItem, &PhonogramItem})
        if (*pointer == gone) *pointer = nullptr;
    for (JournalItem*& slotItem : SlotItems)
        if (slotItem == gone) slotItem = nullptr;
    for (const auto& child : gone->Children()) ForgetItem(child.get());
}

void ItemStore::DeleteItem() {
    JournalItem* item = journal_.Selected();
    if (item == nullptr) return;
    switch (item->Kind) {
        case JournalKind::Fixed:
            DeleteFixed(item);
            break;
        case JournalKind::Range:
            DeleteRange(item);
            break;
        case JournalKind::Group:
            DeleteGroup(item);
            break;
        case JournalKind::Bank:
            DeleteBank(item);
            break;
        case JournalKind::MeasurementSet:
            DeleteMeasurementSet(item);
            break;
        case JournalKind::Etalon:
            DeleteEtalon(item);
            break;
        case JournalKind::Job:
            DeleteJob(item);
            break;
        case JournalKind::Phonogram:
            DeletePhonogram(item);
            break;
        case JournalKind::CatalogEntry:
            DeleteCatalogEntry(item);
            break;
        case JournalKind::Row:
        case JournalKind::Folder:
            fdx_.ShowError(35);
            break;
        default:
            break;
    }
}

void ItemStore::RemoveItem(JournalItem* gone) {
    ForgetItem(gone);
    journal_.Remove(gone);
}

// The file is named by the caller before the record goes with the item.
void ItemStore::RemoveItemAndFile(JournalItem* gone, const std::string& file) {
    RemoveItem(gone);
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

void ItemStore::DeleteFixed(JournalItem* item) {
    if (!fdx_.Confirm("Фиксированная частота будет удалена.Вы уверены?")) return;
    journal_.Select(FixedFolder);
    const UserSc& scale = *item->As<UserSc>();
    const std::string folder = fdx_.ProgramDir + "SCALE/";
    const std::string file = scale.FilePath;
    const std::string name = scale.Name;
    RemoveItemAndFile(item, file);
    RemoveFiles(folder, name, {".txt", ".tag"});
    CollectScaleItems();
    host_.Post(StoreWindow::Main, PostScaleChanged);
}

void ItemStore::DeleteRange(JournalItem* item) {
    const UserDp* range = item->As<UserDp>();
    const bool inUse =
        std::any_of(fdx_.ScanSlots.begin(), fdx_.ScanSlots.end(),
                    [&](const Bank& slot) { return slot.InUse && slot.Range == range; });
    if (inUse) {
        fdx_.ShowError(36);
        return;
    }
    if (!fdx_.Confirm("Диапазон и все его эталоны будут удалены.Вы уверены?")) return;
    journal_.Select(RangeFolder);
    for (const auto& child : item->Children()) {
        if (const Etl* etalon = child->As<Etl>()) {
            DeleteEtalonFiles(*etalon);
            RemoveFiles(etalon->Folder, etalon->Name, {".etl", ".txt"});
        }
    }
    const std::string folder = range->FolderPath;
    const std::string file = range->FilePath;
    RemoveItemAndFile(item, file);
    RemoveFile(folder, "info.txt");
    RemoveEmptyFolder(folder);
}

void ItemStore::DeleteGroup(JournalItem* item) {
    if (!fdx_.Confirm("Группа Диапазонов будет удалена.Вы уверены?")) return;
    journal_.Select(GroupFolder);
    const UserGrp& group = *item->As<UserGrp>();
    const std::string file = group.FilePath;
    const std::string folder = fdx_.ProgramDir + "GRP/" + group.FolderName + "/";
    RemoveItemAndFile(item, file);
    RemoveFile(folder, "info.txt");
}

void ItemStore::DeleteBank(JournalItem* item) {
    const UserFreq& bank = *item->As<UserFreq>();
    if (bank.Identifier == fdx_.BankName) {
        fdx_.ShowError(36);
        return;
    }
    if (!fdx_.Confirm("Банк частот и все его измерения будут удалены.Вы уверены?")) return;
    journal_.Select(BankFolder);
    const std::string folder = BankFolderPath(bank);
    for (const auto& child : item->Children())
        if (const Meg* set = child->As<Meg>())
            RemoveFiles(folder, set->Name, {kLevelsExtension, ".etl", ".txt"});
    const std::string file = bank.FilePath;
    RemoveItemAndFile(item, file);
    RemoveFile(folder, "info.txt");
    RemoveEmptyFolder(folder);
}

void ItemStore::DeleteMeasurementSet(JournalItem* item) {
    JournalItem* bankItem = item->Parent();
    const UserFreq& bank = *bankItem->As<UserFreq>();
    if (bank.Identifier == fdx_.BankName) {
        fdx_.ShowError(36);
        return;
    }
    if (!fdx_.Confirm("Измерения будут удалены.Вы уверены?")) return;
    journal_.Select(bankItem);
    const std::string folder = BankFolderPath(bank);
    const std::string name = item->As<Meg>()->Name;
    RemoveItem(item);
    RemoveFiles(folder, name, {kLevelsExtension, ".etl", ".txt"});
}

void ItemStore::DeleteEtalon(JournalItem* item) {
    const Etl* etalon = item->As<Etl>();
    const bool inUse =
        std::any_of(fdx_.ScanSlots.begin(), fdx_.ScanSlots.end(), [&](const Bank& slot) {
            return slot.InUse && slot.HasEtalon && slot.EtalonRecord == etalon;
        });
    if (inUse) {
        fdx_.ShowError(36);
        return;
    }
    if (!fdx_.Confirm("Эталон будет удален.Вы уверены?")) return;
    journal_.Select(item->Parent());
    DeleteEtalonFiles(*etalon);
    const std::string folder = etalon->Folder;
    const std::string name = etalon->Name;
    RemoveItem(item);
    RemoveFiles(folder, name, {".etl", ".txt"});
}

void ItemStore::DeleteJob(JournalItem* item) {
    const UserJob& job = *item->As<UserJob>();
    if (job.Identifier == fdx_.EditJobName) {
        fdx_.ShowError(36);
        return;
    }
    if (!fdx_.Confirm("Задание будет удалено.Вы уверены?")) return;
    journal_.Select(JobFolder);
    const std::string file = job.File;
    const std::string folder = job.Directory;
    // Its run files stay, and with them the folder.
    RemoveItemAndFile(item, file);
    RemoveFile(folder, "info.txt");
    RemoveEmptyFolder(folder);
    FindJobIndex({});
}

void ItemStore::DeletePhonogram(JournalItem* item) {
    if (fdx_.PhonogramLoaded && PhonogramItem == item) {
        fdx_.ShowError(36);
        return;
    }
    if (!fdx_.Confirm("Фонограмма  будет удалена.Вы уверены?")) return;
    journal_.Select(PhonogramFolder);
    const UserFono& phonogram = *item->As<UserFono>();
    const std::string folder = fdx_.ProgramDir + "FONO/";
    const std::string file = phonogram.FilePath;
    const std::string name = phonogram.Name;
    // "File" set: every fragment has a sound file of its own; clear: the phonogram has one
    // sound file of its name.
    std::vector<std::string> sounds;
    if (phonogram.SeparateFiles) {
        for (const Fragment& fragment : phonogram.Fragments)
            if (std::string sound = fragmentSoundFile(fragment.File); !sound.empty())
                sounds.push_back(sound);
    } else {
        sounds.push_back(name + ".wav");
    }
    RemoveItemAndFile(item, file);
    for (const std::string& sound : sounds) RemoveFile(folder, sound);
    RemoveFile(folder, name + ".txt");
}

// Only the values stored for the main window's two fields can go.
void ItemStore::DeleteCatalogEntry(JournalItem* item) {
    JournalItem* field = item->Parent();
    if (field == nullptr || (field != FrequencyFieldEntry && field != StepFieldEntry)) {
        fdx_.ShowError(35);
        return;
    }
    journal_.Select(field);
    RemoveItem(item);
    WriteHistoryFile(field);
}

void ItemStore::ClearPanel() {
    if (!fdx_.JobRunning && !fdx_.Confirm("Вы уверены что хотите очистить Панель ?")) return;
    switch (fdx_.WorkMode) {
        case kScaleMode:
            host_.Post(StoreWindow::Panel, PostClearData);
            break;
        case kBankMode:
            fdx_.ReplaceChannelLevels();
            fdx_.MeasurementCapacity = 0;
            fdx_.BankName.clear();
            fdx_.ChannelCount = 0;
            fdx_.BankStored = 0;
            fdx_.BankChanged = 0;
            fdx_.HistoriesAllocated = 0;
            fdx_.MeasurementsUnsaved = 0;
            host_.Post(StoreWindow::Freq, PostClearData);
            break;
        case kRangeMode:
            host_.ResetSelection();
            break;
        case kGroupMode:
            fdx_.GroupRangeCount = 0;
            fdx_.GroupName.clear();
            host_.Post(StoreWindow::Diap, PostClearData);
            host_.Post(StoreWindow::Group, PostClearData);
            break;
        case kJobMode:
            fdx_.EditJobName.clear();
            fdx_.EditLineCount = 0;
            fdx_.EditJobStored = 0;
            fdx_.EditJobChanged = 0;
            host_.Post(StoreWindow::Job, PostClearData);
            break;
        case kTextMode:
            host_.Post(StoreWindow::Info, PostClearData);
            break;
        case kSignalMode:
            // The flag the clearing has always set: the phonogram's "File" flag.
            if (fdx_.Phonogram != nullptr) fdx_.Phonogram->SeparateFiles = 1;
            host_.Post(StoreWindow::Signal, PostClearData);
            break;
        case kParametersMode: {
            const JournalItem* selected = journal_.Selected();
            if (selected == nullptr || selected->Is(JournalKind::Folder)) break;
            if (fdx_.ShownParameterPanel == kBankSection && fdx_.SelectedBank != nullptr &&
                DefaultBank != nullptr) {
                fdx_.SelectedBank->Interval = DefaultBank->Interval;
                fdx_.SelectedBank->Poll = DefaultBank->Poll;
                fdx_.SelectedBank->Level = DefaultBank->Level;
                fdx_.SelectedBank->Waiting = DefaultBank->Waiting;
                fdx_.SelectedBank->WaitTime = DefaultBank->WaitTime;
                fdx_.SelectedBank->Condition = DefaultBank->Condition;
                fdx_.SelectedBank->Job = DefaultBank->Job;
                fdx_.SelectedBank->WriteFile();
                ShowParameterPanel();
            } else if (fdx_.ShownParameterPanel == kRangeSection && fdx_.SelectedRange != nullptr) {
                CopyScanParams(*fdx_.SelectedRange);
                fdx_.SelectedRange->WriteFile();
                ShowParameterPanel();
            } else if (fdx_.ShownParameterPanel == kFixedSection) {
                host_.Post(StoreWindow::Base, PostClearData);
            }
            break;
        }
        default:
            break;
    }
}
