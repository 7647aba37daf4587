// Loading the item selected in the journal into the working state of its tab.

#include <algorithm>

#include "app/data_folder.h"
#include "app/item_store.h"
#include "state/meg.h"
#include "state/message_bus.h"

namespace {

constexpr const char* kResultsLost =
    "Результаты предыдущего сканирования будут утеряны.Подтверждаете?";
// A group names a range the journal does not hold (deleted, or renamed elsewhere).
constexpr const char* kRangeNotFound = "Не найден указанный диапазон";

Etl* etalonNamed(const JournalItem* rangeItem, const std::string& name) {
    for (const auto& child : rangeItem->Children())
        if (Etl* etalon = child->As<Etl>();
            child->Is(JournalKind::Etalon) && etalon != nullptr && etalon->Name == name)
            return etalon;
    return nullptr;
}

bool withinReceiver(const FDX& fdx, const UserDp& range) {
    return range.StartFrequency >= fdx.FreqLow && range.EndFrequency <= fdx.FreqHigh;
}

// A job line that is refused while a job runs on the editor's lines.
bool refusedWhileJobRuns(FDX& fdx, const char* message) {
    if (!fdx.JobRunning || fdx.LoadedRun) return false;
    if (fdx.JobLine != nullptr) {
        fdx.JobLine->Message = message;
        fdx.JobLine->ReturnCode = 1;
    }
    return true;
}

}  // namespace

// Fills slot `index` with the range of `rangeItem` and, when given, its etalon.
void ItemStore::FillSlot(std::size_t index, JournalItem* rangeItem, Etl* etalon) {
    Bank& slot = fdx_.ScanSlots[index];
    UserDp& range = *rangeItem->As<UserDp>();
    slot.Identifier = range.Identifier;
    slot.Name = range.FolderName;
    slot.Start = range.StartFrequency;
    slot.End = range.EndFrequency;
    slot.Step = range.Step;
    slot.Modulation = range.Modulation;
    slot.Bandwidth = uint32_t(host_.ModeParameter(range.Modulation));
    slot.Range = &range;
    slot.InUse = 1;
    slot.Flag4 = 0;  // the results of the range loaded before are gone
    slot.EtalonRecord = etalon;
    slot.HasEtalon = etalon != nullptr;
    SlotItems[index] = rangeItem;
}

// In the job tab: the item becomes the catalog entry of the next line of the job being edited.
void ItemStore::LoadAsJobLine(JournalItem* item) {
    if (refusedWhileJobRuns(fdx_, "Нельзя модифицировать задание при выполнении")) return;
    std::string name;
    switch (item->Kind) {
        case JournalKind::Range:
            name = item->As<UserDp>()->Identifier;
            break;
        case JournalKind::Group:
            name = item->As<UserGrp>()->Identifier;
            break;
        case JournalKind::Bank:
            name = item->As<UserFreq>()->Identifier;
            break;
        case JournalKind::Phonogram:
            name = item->As<UserFono>()->Identifier;
            break;
        case JournalKind::MeasurementSet:
            name = item->Parent()->As<UserFreq>()->Identifier + ">>" + item->As<Meg>()->Identifier;
            break;
        case JournalKind::Etalon:
            name = item->Parent()->As<UserDp>()->Identifier + ">>" + item->As<Etl>()->Identifier;
            break;
        case JournalKind::CatalogEntry: {
            JobDcl* entry = item->As<JobDcl>();
            // A stored value chooses its field with that value.
            JobDcl* field = item->Parent() != nullptr ? item->Parent()->As<JobDcl>() : nullptr;
            if (entry->TakesValue && entry->Preset && field != nullptr) {
                field->Value = entry->Value;
                entry = field;
            }
            fdx_.SelectedCatalogEntry = entry;
            host_.Post(StoreWindow::Job, PostReloadView);
            return;
        }
        case JournalKind::Row:
        case JournalKind::Fixed:
        case JournalKind::Folder:
            fdx_.ShowError(9);
            return;
        default:
            return;
    }
    fdx_.SpareCatalogEntry = JobDcl{};
    fdx_.SpareCatalogEntry.Name = name;
    fdx_.SpareCatalogEntry.Panel = 9;  // the journal
    fdx_.SpareCatalogEntry.Object = uint32_t(item->Kind);
    fdx_.SelectedCatalogEntry = &fdx_.SpareCatalogEntry;
    host_.Post(StoreWindow::Job, PostReloadView);
}

void ItemStore::LoadFixedFrequency(const UserSc& scale) {
    fdx_.TuneFrequency = uint32_t((uint64_t{scale.StartFrequency} + scale.EndFrequency) / 2);
    fdx_.TuneModulation = fdx_.Modulation;
    fdx_.TuneAttenuator = fdx_.Attenuator;
    fdx_.TuneStep = fdx_.Step;
    host_.Post(StoreWindow::Main, PostApplyFrequency);
    host_.Post(StoreWindow::Main, PostSelectScale);
}

// A range, or an etalon with its range, into the shown slot.
void ItemStore::LoadRange(JournalItem* item) {
    const bool isEtalon = item->Is(JournalKind::Etalon);
    JournalItem* rangeItem = isEtalon ? item->Parent() : item;
    if (!withinReceiver(fdx_, *rangeItem->As<UserDp>())) {
        fdx_.ShowError(49);
        return;
    }
    if (fdx_.SlotIndex < 0 || std::size_t(fdx_.SlotIndex) >= fdx_.ScanSlots.size()) return;
    const std::size_t shownIndex = std::size_t(fdx_.SlotIndex);
    const Bank& shown = fdx_.ScanSlots[shownIndex];
    const bool anotherFree =
        std::any_of(fdx_.ScanSlots.begin(), fdx_.ScanSlots.end(),
                    [&](const Bank& slot) { return &slot != &shown && !slot.InUse; });
    // Outside the range tab the range window puts the item into a free slot: it makes that
    // slot the shown one and asks for the load again.
    if (!fdx_.JobRunning && anotherFree && shown.InUse && fdx_.WorkMode != kRangeMode) {
        host_.Post(StoreWindow::Diap, PostLoadSelected);
        return;
    }
    if (shown.InUse && isEtalon && EtalonHistory) {
        // The chain of etalons has run out of free slots.
        host_.Post(StoreWindow::Group, PostRefreshData);
        EtalonHistory = false;
        return;
    }
    if (shown.InUse && shown.Flag4 && (!isEtalon || !fdx_.JobRunning) &&
        !fdx_.Confirm(kResultsLost))
        return;

    Etl* etalon = isEtalon                        ? item->As<Etl>()
                  : fdx_.SelectedRange != nullptr ? etalonNamed(item, fdx_.SelectedRange->Etalon)
                                                  : nullptr;
    FillSlot(shownIndex, rangeItem, etalon);
    EtalonParentItem = rangeItem;
    host_.Post(StoreWindow::Diap, PostItemLoaded);
    if (!isEtalon) {
        if (fdx_.WorkMode == kGroupMode) host_.Post(StoreWindow::Group, PostRefreshData);
        // In the scale tab the receiver panels that keep a scan setup take the range.
        if (fdx_.WorkMode == kScaleMode) host_.Post(StoreWindow::Panel, PostLoadReceiverSetup);
        if (fdx_.WorkMode != kScaleMode && fdx_.WorkMode != kRangeMode &&
            fdx_.WorkMode != kGroupMode)
            host_.SwitchToTab(kRangeMode);
        return;
    }
    // In the group tab the etalons that follow can be loaded one after another, each into the
    // next free slot.
    if (fdx_.WorkMode == kGroupMode) {
        JournalItem* next = item->NextSibling();
        if (next != nullptr && next->Is(JournalKind::Etalon)) {
            if (EtalonHistory ||
                fdx_.Confirm("Загружать историю (последовательность эталонов).Подтверждаете?")) {
                EtalonHistory = true;
                journal_.Select(next);
                host_.Post(StoreWindow::Diap, PostLoadSelected);
            }
        } else {
            EtalonHistory = false;
        }
        if (!EtalonHistory) host_.Post(StoreWindow::Group, PostRefreshData);
    }
    if (fdx_.WorkMode != kRangeMode && fdx_.WorkMode != kGroupMode) host_.SwitchToTab(kRangeMode);
}

void ItemStore::LoadGroup(const UserGrp& group) {
    for (std::size_t i = 0; i < fdx_.ScanSlots.size() && i < group.Ranges.size(); ++i) {
        JournalItem* rangeItem = FindRangeItem(group.Ranges[i]);
        if (rangeItem == nullptr) {
            fdx_.ShowErrorText(kRangeNotFound);
            continue;
        }
        const UserDp& range = *rangeItem->As<UserDp>();
        if (!withinReceiver(fdx_, range)) {
            fdx_.ShowError(49);
            continue;
        }
        FillSlot(i, rangeItem, etalonNamed(rangeItem, range.Etalon));
    }
    // A stored group may name more ranges than there are slots to load them into.
    fdx_.GroupRangeCount = int32_t(std::min(group.Ranges.size(), fdx_.ScanSlots.size()));
    fdx_.GroupName = group.Identifier;
    host_.Post(StoreWindow::Diap, PostRedrawCurves);
    host_.Post(StoreWindow::Group, PostItemLoaded);
    if (fdx_.WorkMode == kGroupMode) host_.Post(StoreWindow::Group, PostRefreshData);
    host_.SwitchToTab(kGroupMode);
}

// The bank of `bankItem` becomes the working bank, without its measurements.
void ItemStore::TakeBank(JournalItem* bankItem) {
    UserFreq& bank = *bankItem->As<UserFreq>();
    fdx_.ReplaceChannelLevels();
    fdx_.MeasurementCapacity = 0;
    fdx_.BankName = bank.Identifier;
    const std::size_t count = std::min<std::size_t>(bank.Channels.size(), kMaxBankChannels);
    if (fdx_.Channels.size() < count) fdx_.Channels.resize(count);
    fdx_.ChannelCount = int32_t(count);
    fdx_.CurrentBank = &bank;
    CurrentBankItem = bankItem;
    bool outside = false;
    for (std::size_t i = 0; i < count; ++i) {
        CopyChannel(fdx_.Channels[i], bank.Channels[i]);
        // A switched-off channel (frequency 0) has no frequency for the receiver to refuse.
        const uint32_t frequency = fdx_.Channels[i].Frequency;
        outside =
            outside || (frequency != 0 && (frequency < fdx_.FreqLow || frequency > fdx_.FreqHigh));
    }
    if (outside) fdx_.ShowError(50);
}

void ItemStore::CopyChannel(Mt& destination, const Mt& source) {
    destination = source;
    destination.Work = 0;
}

void ItemStore::LoadBank(JournalItem* item) {
    if (fdx_.HistoriesAllocated &&
        !fdx_.Confirm("Результаты предыдущего сканирования банка будут утеряны.Подтверждаете?"))
        return;
    if (fdx_.BankChanged &&
        !fdx_.Confirm("Произведенные изменения в составе банка будут утеряны .Подтверждаете?"))
        return;
    TakeBank(item);
    if (fdx_.WorkMode == kScaleMode) host_.NotifyPanelLoaded();
    fdx_.HistoriesAllocated = 0;
    fdx_.MeasurementsUnsaved = 0;
    fdx_.BankChanged = 0;
    fdx_.MeasurementSetSaved = 0;
    fdx_.BankStored = 1;
    host_.Post(StoreWindow::Freq, PostItemLoaded);
    if (fdx_.WorkMode != kScaleMode && fdx_.WorkMode != kBankMode) host_.SwitchToTab(kBankMode);
}

void ItemStore::LoadMeasurementSet(JournalItem* item) {
    if (!fdx_.JobRunning && fdx_.MeasurementsUnsaved && !fdx_.Confirm(kResultsLost)) return;
    host_.ShowWait(true);
    JournalItem* bankItem = item->Parent();
    TakeBank(bankItem);
    Meg& set = *item->As<Meg>();
    const std::size_t count = std::size_t(fdx_.ChannelCount);
    bool allocated = true;
    try {
        fdx_.ReplaceChannelLevels(
            std::vector<std::vector<uint8_t>>(count, std::vector<uint8_t>(set.MeasurementCount)));
    } catch (const std::bad_alloc&) {
        fdx_.ReplaceChannelLevels();
        allocated = false;
    }
    if (!allocated) {
        fdx_.ShowError(5);
    } else {
        fdx_.MeasurementCapacity = int32_t(set.MeasurementCount);
        std::vector<MeasuredChannel> channels(count);
        for (std::size_t i = 0; i < count; ++i)
            channels[i] = {fdx_.Channels[i].Frequency, fdx_.ChannelLevels[i]};
        const std::string folder = BankFolderPath(*bankItem->As<UserFreq>());
        LoadMeasurementLevels(fdx_, FindEntry(folder, set.Name + kLevelsExtension), channels);
        fdx_.MeasurementCount = fdx_.MeasurementCapacity;
        for (std::size_t i = 0; i < fdx_.MeasurementStart.size(); ++i) {
            fdx_.MeasurementStart[i] = int32_t(set.Start[i]);
            fdx_.MeasurementEnd[i] = int32_t(set.End[i]);
        }
        fdx_.HistoriesAllocated = 1;
        fdx_.MeasurementsUnsaved = 0;
        fdx_.BankStored = 1;
        fdx_.BankChanged = 0;
        fdx_.MeasurementSetSaved = 1;
        fdx_.MeasurementSet = &set;
        host_.Post(StoreWindow::Freq, PostItemLoaded);
    }
    host_.ShowWait(false);
    host_.SwitchToTab(kBankMode);
}

void ItemStore::LoadJob(JournalItem* item) {
    if (refusedWhileJobRuns(fdx_, "Нельзя загружать задание при выполнении")) return;
    if (fdx_.EditJobChanged &&
        !fdx_.Confirm("Произведенные изменения в составе задания будут утеряны .Подтверждаете?"))
        return;
    UserJob& job = *item->As<UserJob>();
    fdx_.EditJobName = job.Identifier;
    const std::size_t count = std::min(job.Lines.size(), kMaxJobLines);
    if (fdx_.EditLines.size() < count) fdx_.EditLines.resize(count);
    std::copy_n(job.Lines.begin(), count, fdx_.EditLines.begin());
    fdx_.EditLineCount = int32_t(count);
    fdx_.EditJob = &job;
    EditJobItem = item;
    fdx_.EditJobStored = 1;
    fdx_.EditJobChanged = 0;
    host_.Post(StoreWindow::Job, PostItemLoaded);
    host_.SwitchToTab(kJobMode);
}

void ItemStore::LoadPhonogram(JournalItem* item) {
    // A recording still running is lost as well.
    if ((fdx_.PhonogramRecorded || fdx_.Recording) &&
        !fdx_.Confirm("Ранее записанная фонограмма будет утеряна.Подтверждаете?"))
        return;
    if (fdx_.Phonogram == nullptr) return;
    PhonogramItem = item;
    *fdx_.Phonogram = *item->As<UserFono>();
    if (fdx_.Phonogram->Fragments.size() > kMaxPhonogramFragments)
        fdx_.Phonogram->Fragments.resize(kMaxPhonogramFragments);
    fdx_.PhonogramLoaded = 1;
    host_.Post(StoreWindow::Signal, PostItemLoaded);
    host_.SwitchToTab(kSignalMode);
}

void ItemStore::LoadItem() {
    JournalItem* item = journal_.Selected();
    if (item == nullptr) return;
    // In the job tab a stored item becomes a journal line of the job being edited.
    if (fdx_.WorkMode == kJobMode && !item->Is(JournalKind::Job) && !item->Is(JournalKind::Run)) {
        LoadAsJobLine(item);
        return;
    }
    switch (item->Kind) {
        case JournalKind::Fixed:
            LoadFixedFrequency(*item->As<UserSc>());
            break;
        case JournalKind::Range:
        case JournalKind::Etalon:
            LoadRange(item);
            break;
        case JournalKind::Group:
            LoadGroup(*item->As<UserGrp>());
            break;
        case JournalKind::Bank:
            LoadBank(item);
            break;
        case JournalKind::MeasurementSet:
            LoadMeasurementSet(item);
            break;
        case JournalKind::Job:
            LoadJob(item);
            break;
        case JournalKind::Phonogram:
            LoadPhonogram(item);
            break;
        case JournalKind::Folder:
            if (item == RangeFolder) {
                host_.SwitchToTab(kRangeMode);
                if (fdx_.SelectionActive)
                    host_.ResetSelection();
                else
                    PrepareRangeSlots();
            } else if (item == FixedFolder) {
                host_.SwitchToTab(kParametersMode);
                host_.Post(StoreWindow::Base,
                           fdx_.SelectionActive ? PostResetSelection : PostItemLoaded);
            }
            break;
        default:
            break;
    }
}
