// Moving stored items between the journal and the working state: loading the selected item,
// saving what the current tab holds, deleting the selected item, clearing the current tab, and
// the codes that store a range made from a marked span and a recorded phonogram.

#include <algorithm>
#include <filesystem>
#include <set>
#include <type_traits>
#include <variant>

#include "app/data_folder.h"
#include "app/format_text.h"
#include "app/orvel.h"
#include "state/etl.h"
#include "state/meg.h"
#include "state/message_bus.h"
#include "state/moment.h"
#include "state/stamp_clock.h"

namespace {

// New stored items are numbered "%04u" from 1 to this.
constexpr uint32_t kLastItemNumber = 9999;

constexpr const char* kResultsLost =
    "Результаты предыдущего сканирования будут утеряны.Подтверждаете?";

// The levels file and the etalon arrays beside a header of the same number.
constexpr const char* kLevelsExtension = ".meg";
constexpr const char* kEtalonExtensions[] = {".cur", ".min", ".max", ".obr", ".sum"};

// The lowest number "%04u" that neither a sibling's name in `taken` nor an entry on disk
// (`onDisk`) uses, so that a new item never meets the leftovers of a deleted one; empty when
// all are used.
template <class OnDisk>
std::string freeNumber(const std::set<std::string>& taken, OnDisk onDisk) {
    for (uint32_t n = 1; n <= kLastItemNumber; ++n) {
        std::string name = FormatText("%04u", n);
        if (!taken.contains(name) && !onDisk(name)) return name;
    }
    return {};
}

// The names of the children of `parent` that hold an R, by its field `name`.
template <class R>
std::set<std::string> namesUnder(const JournalItem* parent, std::string R::*name) {
    std::set<std::string> names;
    if (parent == nullptr) return names;
    for (const auto& child : parent->Children())
        if (const R* record = child->template As<R>()) names.insert(record->*name);
    return names;
}

std::string stampNow() {
    const LocalTime now = StampClock::Now();
    return MomentText({uint32_t(now.Day), uint32_t(now.Month), uint32_t(now.Year),
                       uint32_t(now.Hour), uint32_t(now.Minute), uint32_t(now.Second)});
}

Moment momentOf(const std::array<int32_t, 6>& values) {
    Moment moment{};
    for (std::size_t i = 0; i < moment.size(); ++i) moment[i] = uint32_t(values[i]);
    return moment;
}

void copyChannel(Mt& destination, const Mt& source) {
    destination = source;
    destination.Work = 0;
}

// Channels hold the same frequencies with the same modes (a channel without frequency has no
// mode to compare).
bool sameChannels(const std::vector<Mt>& stored, const std::vector<Mt>& working,
                  std::size_t count) {
    if (stored.size() != count) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (stored[i].Frequency != working[i].Frequency) return false;
        if (stored[i].Frequency != 0 && stored[i].Modulation != working[i].Modulation) return false;
    }
    return true;
}

bool channelsChanged(const std::vector<Mt>& stored, const std::vector<Mt>& working) {
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const Mt& a = stored[i];
        const Mt& b = working[i];
        if (a.Step != b.Step || a.Identifier != b.Identifier || a.Attenuator != b.Attenuator ||
            a.Spare1 != b.Spare1 || a.Spare2 != b.Spare2 || a.QMOD != b.QMOD || a.QATT != b.QATT)
            return true;
    }
    return false;
}

void removeFiles(const std::string& folder, const std::string& name,
                 std::initializer_list<const char*> extensions) {
    for (const char* extension : extensions) RemoveFile(folder, name + extension);
}

// The sound file of a fragment that has one of its own: the file of that name in FONO, however
// its path was spelt where it was recorded. Only files of the folder FONO are ever removed.
std::string fragmentSoundFile(const std::string& recorded) {
    const std::size_t slash = recorded.find_last_of("/\\");
    std::string name = slash == std::string::npos ? recorded : recorded.substr(slash + 1);
    if (!name.empty() && Stem(name) == name) name += ".wav";
    return name == "." || name == ".." ? std::string() : name;
}

}  // namespace

// ---- loading

namespace {

// Fills slot `index` with the range of `rangeItem` and, when given, its etalon.
void fillSlot(ORVEL& orvel, std::size_t index, JournalItem* rangeItem, Etl* etalon) {
    Bank& slot = orvel.ScanSlots[index];
    UserDp& range = *rangeItem->As<UserDp>();
    slot.Identifier = range.Identifier;
    slot.Name = range.FolderName;
    slot.Start = range.StartFrequency;
    slot.End = range.EndFrequency;
    slot.Step = range.Step;
    slot.Modulation = range.Modulation;
    slot.Bandwidth = uint32_t(orvel.receiver.ModeParameter(range.Modulation));
    slot.Range = &range;
    slot.InUse = 1;
    slot.Flag4 = 0;  // the results of the range loaded before are gone
    slot.EtalonRecord = etalon;
    slot.HasEtalon = etalon != nullptr;
    orvel.SlotItems[index] = rangeItem;
}

Etl* etalonNamed(const JournalItem* rangeItem, const std::string& name) {
    for (const auto& child : rangeItem->Children())
        if (Etl* etalon = child->As<Etl>();
            child->Is(JournalKind::Etalon) && etalon != nullptr && etalon->Name == name)
            return etalon;
    return nullptr;
}

bool withinReceiver(const ORVEL& orvel, const UserDp& range) {
    return range.StartFrequency >= orvel.FreqLow && range.EndFrequency <= orvel.FreqHigh;
}

// A job line that is refused while a job runs on the editor's lines.
bool refusedWhileJobRuns(ORVEL& orvel, const char* message) {
    if (!orvel.JobRunning || orvel.LoadedRun) return false;
    if (orvel.JobLine != nullptr) {
        orvel.JobLine->Message = message;
        orvel.JobLine->ReturnCode = 1;
    }
    return true;
}

// In the job tab: the item becomes the catalog entry of the next line of the job being edited.
void loadAsJobLine(ORVEL& orvel, JournalItem* item) {
    if (refusedWhileJobRuns(orvel, "Нельзя модифицировать задание при выполнении")) return;
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
            orvel.SelectedCatalogEntry = entry;
            PostPrivateMessage(orvel.subWindows.job, PostReloadView);
            return;
        }
        case JournalKind::Row:
        case JournalKind::Fixed:
        case JournalKind::Folder:
            orvel.ShowError(9);
            return;
        default:
            return;
    }
    orvel.SpareCatalogEntry = JobDcl{};
    orvel.SpareCatalogEntry.Name = name;
    orvel.SpareCatalogEntry.Panel = 9;  // the journal
    orvel.SpareCatalogEntry.Object = uint32_t(item->Kind);
    orvel.SelectedCatalogEntry = &orvel.SpareCatalogEntry;
    PostPrivateMessage(orvel.subWindows.job, PostReloadView);
}

void loadFixedFrequency(ORVEL& orvel, const UserSc& scale) {
    orvel.TuneFrequency = uint32_t((uint64_t{scale.StartFrequency} + scale.EndFrequency) / 2);
    orvel.TuneModulation = orvel.Modulation;
    orvel.TuneAttenuator = orvel.Attenuator;
    orvel.TuneStep = orvel.Step;
    PostPrivateMessage(&orvel, PostApplyFrequency);
    PostPrivateMessage(&orvel, PostSelectScale);
}

// A range, or an etalon with its range, into the shown slot.
void loadRange(ORVEL& orvel, JournalItem* item) {
    const bool isEtalon = item->Is(JournalKind::Etalon);
    JournalItem* rangeItem = isEtalon ? item->Parent() : item;
    if (!withinReceiver(orvel, *rangeItem->As<UserDp>())) {
        orvel.ShowError(49);
        return;
    }
    if (orvel.SlotIndex < 0 || std::size_t(orvel.SlotIndex) >= orvel.ScanSlots.size()) return;
    const std::size_t shownIndex = std::size_t(orvel.SlotIndex);
    const Bank& shown = orvel.ScanSlots[shownIndex];
    const bool anotherFree =
        std::any_of(orvel.ScanSlots.begin(), orvel.ScanSlots.end(),
                    [&](const Bank& slot) { return &slot != &shown && !slot.InUse; });
    // Outside the range tab the range window puts the item into a free slot: it makes that
    // slot the shown one and asks for the load again.
    if (!orvel.JobRunning && anotherFree && shown.InUse && orvel.WorkMode != 2) {
        PostPrivateMessage(orvel.subWindows.diap, PostLoadSelected);
        return;
    }
    if (shown.InUse && isEtalon && orvel.EtalonHistory) {
        // The chain of etalons has run out of free slots.
        PostPrivateMessage(orvel.subWindows.group, PostRefreshData);
        orvel.EtalonHistory = false;
        return;
    }
    if (shown.InUse && shown.Flag4 && (!isEtalon || !orvel.JobRunning) &&
        !orvel.Confirm(kResultsLost))
        return;

    Etl* etalon = isEtalon                         ? item->As<Etl>()
                  : orvel.SelectedRange != nullptr ? etalonNamed(item, orvel.SelectedRange->Etalon)
                                                   : nullptr;
    fillSlot(orvel, shownIndex, rangeItem, etalon);
    orvel.EtalonParentItem = rangeItem;
    PostPrivateMessage(orvel.subWindows.diap, PostItemLoaded);
    if (!isEtalon) {
        if (orvel.WorkMode == 3) PostPrivateMessage(orvel.subWindows.group, PostRefreshData);
        // In the scale tab the receiver panels that keep a scan setup take the range.
        if (orvel.WorkMode == 0) orvel.receiver.PostToPanel(PostLoadReceiverSetup);
        if (orvel.WorkMode != 0 && orvel.WorkMode != 2 && orvel.WorkMode != 3) orvel.SwitchToTab(2);
        return;
    }
    // In the group tab the etalons that follow can be loaded one after another, each into the
    // next free slot.
    if (orvel.WorkMode == 3) {
        JournalItem* next = item->NextSibling();
        if (next != nullptr && next->Is(JournalKind::Etalon)) {
            if (orvel.EtalonHistory ||
                orvel.Confirm("Загружать историю (последовательность эталонов).Подтверждаете?")) {
                orvel.EtalonHistory = true;
                orvel.journal.Select(next);
                PostPrivateMessage(orvel.subWindows.diap, PostLoadSelected);
            }
        } else {
            orvel.EtalonHistory = false;
        }
        if (!orvel.EtalonHistory) PostPrivateMessage(orvel.subWindows.group, PostRefreshData);
    }
    if (orvel.WorkMode != 2 && orvel.WorkMode != 3) orvel.SwitchToTab(2);
}

void loadGroup(ORVEL& orvel, const UserGrp& group) {
    for (std::size_t i = 0; i < orvel.ScanSlots.size() && i < group.Ranges.size(); ++i) {
        JournalItem* rangeItem = orvel.FindRangeItem(group.Ranges[i]);
        if (rangeItem == nullptr) continue;
        const UserDp& range = *rangeItem->As<UserDp>();
        if (!withinReceiver(orvel, range)) {
            orvel.ShowError(49);
            continue;
        }
        fillSlot(orvel, i, rangeItem, etalonNamed(rangeItem, range.Etalon));
    }
    // A stored group may name more ranges than there are slots to load them into.
    orvel.GroupRangeCount = int32_t(std::min(group.Ranges.size(), orvel.ScanSlots.size()));
    orvel.GroupName = group.Identifier;
    PostPrivateMessage(orvel.subWindows.diap, PostRedrawCurves);
    PostPrivateMessage(orvel.subWindows.group, PostItemLoaded);
    if (orvel.WorkMode == 3) PostPrivateMessage(orvel.subWindows.group, PostRefreshData);
    orvel.SwitchToTab(3);
}

// The bank of `bankItem` becomes the working bank, without its measurements.
void takeBank(ORVEL& orvel, JournalItem* bankItem) {
    UserFreq& bank = *bankItem->As<UserFreq>();
    orvel.ChannelLevels.clear();
    orvel.MeasurementCapacity = 0;
    orvel.BankName = bank.Identifier;
    const std::size_t count = std::min<std::size_t>(bank.Channels.size(), kMaxBankChannels);
    if (orvel.Channels.size() < count) orvel.Channels.resize(count);
    orvel.ChannelCount = int32_t(count);
    orvel.CurrentBank = &bank;
    orvel.CurrentBankItem = bankItem;
    bool outside = false;
    for (std::size_t i = 0; i < count; ++i) {
        copyChannel(orvel.Channels[i], bank.Channels[i]);
        const uint32_t frequency = orvel.Channels[i].Frequency;
        outside = outside || frequency < orvel.FreqLow || frequency > orvel.FreqHigh;
    }
    if (outside) orvel.ShowError(50);
}

void loadBank(ORVEL& orvel, JournalItem* item) {
    if (orvel.HistoriesAllocated &&
        !orvel.Confirm("Результаты предыдущего сканирования банка будут утеряны.Подтверждаете?"))
        return;
    if (orvel.BankChanged &&
        !orvel.Confirm("Произведенные изменения в составе банка будут утеряны .Подтверждаете?"))
        return;
    takeBank(orvel, item);
    if (orvel.WorkMode == 0) orvel.receiver.NotifyPanelLoaded();
    orvel.HistoriesAllocated = 0;
    orvel.MeasurementsUnsaved = 0;
    orvel.BankChanged = 0;
    orvel.MeasurementSetSaved = 0;
    orvel.BankStored = 1;
    PostPrivateMessage(orvel.subWindows.freq, PostItemLoaded);
    if (orvel.WorkMode != 0 && orvel.WorkMode != 1) orvel.SwitchToTab(1);
}

void loadMeasurementSet(ORVEL& orvel, JournalItem* item) {
    if (!orvel.JobRunning && orvel.MeasurementsUnsaved && !orvel.Confirm(kResultsLost)) return;
    orvel.wait.Create(&orvel);
    JournalItem* bankItem = item->Parent();
    takeBank(orvel, bankItem);
    Meg& set = *item->As<Meg>();
    const std::size_t count = std::size_t(orvel.ChannelCount);
    bool allocated = true;
    try {
        orvel.ChannelLevels.assign(count, std::vector<uint8_t>(set.MeasurementCount));
    } catch (const std::bad_alloc&) {
        orvel.ChannelLevels.clear();
        allocated = false;
    }
    if (!allocated) {
        orvel.ShowError(5);
    } else {
        orvel.MeasurementCapacity = int32_t(set.MeasurementCount);
        std::vector<MeasuredChannel> channels(count);
        for (std::size_t i = 0; i < count; ++i)
            channels[i] = {orvel.Channels[i].Frequency, orvel.ChannelLevels[i]};
        const std::string folder = orvel.BankFolderPath(*bankItem->As<UserFreq>());
        LoadMeasurementLevels(orvel, FindEntry(folder, set.Name + kLevelsExtension), channels);
        orvel.MeasurementCount = orvel.MeasurementCapacity;
        for (std::size_t i = 0; i < orvel.MeasurementStart.size(); ++i) {
            orvel.MeasurementStart[i] = int32_t(set.Start[i]);
            orvel.MeasurementEnd[i] = int32_t(set.End[i]);
        }
        orvel.HistoriesAllocated = 1;
        orvel.MeasurementsUnsaved = 0;
        orvel.BankStored = 1;
        orvel.BankChanged = 0;
        orvel.MeasurementSetSaved = 1;
        orvel.MeasurementSet = &set;
        PostPrivateMessage(orvel.subWindows.freq, PostItemLoaded);
    }
    orvel.wait.Destroy();
    orvel.SwitchToTab(1);
}

void loadJob(ORVEL& orvel, JournalItem* item) {
    if (refusedWhileJobRuns(orvel, "Нельзя загружать задание при выполнении")) return;
    if (orvel.EditJobChanged &&
        !orvel.Confirm("Произведенные изменения в составе задания будут утеряны .Подтверждаете?"))
        return;
    UserJob& job = *item->As<UserJob>();
    orvel.EditJobName = job.Identifier;
    const std::size_t count = std::min(job.Lines.size(), kMaxJobLines);
    if (orvel.EditLines.size() < count) orvel.EditLines.resize(count);
    std::copy_n(job.Lines.begin(), count, orvel.EditLines.begin());
    orvel.EditLineCount = int32_t(count);
    orvel.EditJob = &job;
    orvel.EditJobItem = item;
    orvel.EditJobStored = 1;
    orvel.EditJobChanged = 0;
    PostPrivateMessage(orvel.subWindows.job, PostItemLoaded);
    orvel.SwitchToTab(4);
}

void loadPhonogram(ORVEL& orvel, JournalItem* item) {
    if (orvel.PhonogramRecorded &&
        !orvel.Confirm("Ранее записанная фонограмма будет утеряна.Подтверждаете?"))
        return;
    if (orvel.Phonogram == nullptr) return;
    orvel.PhonogramItem = item;
    *orvel.Phonogram = *item->As<UserFono>();
    if (orvel.Phonogram->Fragments.size() > kMaxPhonogramFragments)
        orvel.Phonogram->Fragments.resize(kMaxPhonogramFragments);
    orvel.PhonogramLoaded = 1;
    PostPrivateMessage(orvel.subWindows.signal, PostItemLoaded);
    orvel.SwitchToTab(6);
}

}  // namespace

void ORVEL::SwitchToTab(int32_t page) {
    if (tabctrl_1 == nullptr || tabctrl_1->SelectedIndex() == page) return;
    tabctrl_1->SetSelectedIndex(page);
    SelectWorkMode(page);
}

void ORVEL::LoadItem() {
    JournalItem* item = journal.Selected();
    if (item == nullptr) return;
    // In the job tab a stored item becomes a journal line of the job being edited.
    if (WorkMode == 4 && !item->Is(JournalKind::Job) && !item->Is(JournalKind::Run)) {
        loadAsJobLine(*this, item);
        return;
    }
    switch (item->Kind) {
        case JournalKind::Fixed:
            loadFixedFrequency(*this, *item->As<UserSc>());
            break;
        case JournalKind::Range:
        case JournalKind::Etalon:
            loadRange(*this, item);
            break;
        case JournalKind::Group:
            loadGroup(*this, *item->As<UserGrp>());
            break;
        case JournalKind::Bank:
            loadBank(*this, item);
            break;
        case JournalKind::MeasurementSet:
            loadMeasurementSet(*this, item);
            break;
        case JournalKind::Job:
            loadJob(*this, item);
            break;
        case JournalKind::Phonogram:
            loadPhonogram(*this, item);
            break;
        case JournalKind::Folder:
            if (item == RangeFolder) {
                SwitchToTab(2);
                if (SelectionActive)
                    ResetSelection();
                else
                    PrepareRangeSlots();
            } else if (item == FixedFolder) {
                SwitchToTab(7);
                PostPrivateMessage(subWindows.base,
                                   SelectionActive ? PostResetSelection : PostItemLoaded);
            }
            break;
        default:
            break;
    }
}

// ---- saving

UserFreq* ORVEL::CreateBank() {
    const std::size_t count =
        std::min<std::size_t>(std::size_t(std::max(ChannelCount, 0)), Channels.size());
    if (count == 0) {
        ShowError(12);
        return nullptr;
    }
    std::vector<Mt> working(count);
    for (std::size_t i = 0; i < count; ++i) copyChannel(working[i], Channels[i]);

    for (const auto& child : BankFolder->Children()) {
        UserFreq* bank = child->As<UserFreq>();
        if (!child->Is(JournalKind::Bank) || bank == nullptr ||
            !sameChannels(bank->Channels, working, count))
            continue;
        if (!channelsChanged(bank->Channels, working)) {
            ShowError(18);
        } else {
            const std::vector<Mt> before = bank->Channels;
            bank->Channels = working;
            bank->ChannelCount = uint32_t(count);
            if (WriteBankFolder(*bank)) {
                ShowError(19);
            } else {
                bank->Channels = before;
                bank->ChannelCount = uint32_t(before.size());
                ShowError(23);
                return nullptr;
            }
        }
        CurrentBankItem = child.get();
        BankName = bank->Identifier;
        journal.Select(child.get());
        return bank;
    }

    const std::string folder = ProgramDir + "FREQ/";
    const std::string name = freeNumber(namesUnder(BankFolder, &UserFreq::FolderName),
                                        [&](const std::string& n) { return HasEntry(folder, n); });
    if (name.empty()) {
        ShowError(23);
        return nullptr;
    }
    auto bank = std::make_unique<UserFreq>();
    bank->FolderName = name;
    bank->Identifier = FormatText("Банк частот-%u", uint32_t(std::stoul(name)));
    bank->StartFrequency = working.front().Frequency;
    if (DefaultBank != nullptr) {
        bank->Interval = DefaultBank->Interval;
        bank->Poll = DefaultBank->Poll;
        bank->Level = DefaultBank->Level;
        bank->Waiting = DefaultBank->Waiting;
        bank->WaitTime = DefaultBank->WaitTime;
        bank->Condition = DefaultBank->Condition;
    }
    bank->ChannelCount = uint32_t(count);
    bank->Channels = std::move(working);
    // A bank that is not on disk does not enter the journal: the working list stays unsaved.
    if (!WriteBankFolder(*bank)) {
        RemoveEmptyFolder(folder + name);
        ShowError(23);
        return nullptr;
    }
    JournalItem* item = AddBankItem(std::move(bank));
    if (item == nullptr) return nullptr;
    journal.Expand(BankFolder);
    journal.Select(item);
    journal.EditLabel(item);
    CurrentBankItem = item;
    BankName = item->As<UserFreq>()->Identifier;
    return item->As<UserFreq>();
}

bool ORVEL::SaveScale() {
    const int64_t start = SelectionStart;
    const int64_t end = SelectionEnd;
    bool refused = start < 0 || end < 0 || start > end;
    for (UserSc* scale : Scales) {
        if (refused) break;
        const int64_t from = scale->StartFrequency;
        const int64_t to = scale->EndFrequency;
        const int64_t step = scale->Step;
        if (from == start) {
            refused = true;
        } else if (from < start && start <= to) {
            if (from < start - step &&
                Confirm(FormatText("Произойдет усечение фиксированной частоты c %8.4f-%8.4f до "
                                   "%8.4f-%8.4f",
                                   from / 10000.0, to / 10000.0, from / 10000.0,
                                   (start - step) / 10000.0))) {
                const UserSc before = *scale;
                scale->EndFrequency = uint32_t(start - step);
                if (!scale->WriteHeader()) {
                    *scale = before;
                    refused = true;
                }
            } else {
                refused = true;
            }
        } else if (to == end || (from < end && end < to)) {
            refused = true;
        }
    }

    bool saved = false;
    if (!refused) {
        auto scale = std::make_unique<UserSc>();
        scale->Name = FormatText("%u", uint32_t(start));
        scale->FilePath = ProgramDir + "SCALE/" + scale->Name + ".cfg";
        scale->Identifier = FormatText("%8.4f-%8.4f", start / 10000.0, end / 10000.0);
        scale->StartFrequency = uint32_t(start);
        scale->EndFrequency = uint32_t(end);
        scale->Step = Step;
        scale->Modulation = Modulation;
        if (scale->WriteHeader()) {
            if (JournalItem* item = AddFixedFrequencyItem(std::move(scale))) {
                journal.Expand(FixedFolder);
                journal.Select(item);
                journal.EditLabel(item);
                saved = true;
            }
        }
    }
    if (!saved) ShowError(25);
    CollectScaleItems();
    PostPrivateMessage(this, PostScaleChanged);
    return saved;
}

bool ORVEL::SaveMeasurements() {
    UserFreq* bank = journal.Contains(CurrentBankItem) ? CurrentBankItem->As<UserFreq>() : nullptr;
    if (bank == nullptr) {
        ShowError(23);
        return false;
    }
    const std::string folder = BankFolderPath(*bank);
    const std::string name =
        freeNumber(namesUnder(CurrentBankItem, &Meg::Name), [&](const std::string& n) {
            return HasEntry(folder, n + ".etl") || HasEntry(folder, n + kLevelsExtension);
        });
    if (name.empty()) {
        ShowError(23);
        return false;
    }
    auto set = std::make_unique<Meg>();
    set->Name = name;
    set->HeaderPath = folder + name + ".etl";
    set->FrequencyCount = uint32_t(std::max(ChannelCount, 0));
    set->MeasurementCount = uint32_t(std::max(MeasurementCount, 0));
    set->Start = momentOf(MeasurementStart);
    set->End = momentOf(MeasurementEnd);
    set->Identifier = MomentText(set->Start);

    const std::size_t count = std::min<std::size_t>(set->FrequencyCount, Channels.size());
    std::vector<MeasuredChannel> channels(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::span<uint8_t> levels;
        if (i < ChannelLevels.size()) levels = ChannelLevels[i];
        channels[i] = {Channels[i].Frequency, levels};
    }
    // A set is stored whole or not at all: what was written of a failed one is taken back.
    if (!set->WriteHeader() || !WriteMeasurementLevels(folder + name + kLevelsExtension, channels,
                                                       set->MeasurementCount)) {
        removeFiles(folder, name, {".etl", kLevelsExtension});
        ShowError(23);
        return false;
    }
    Meg* stored = set.get();
    JournalItem* item = AddMeasurementItem(CurrentBankItem, std::move(set));
    if (item == nullptr) return false;
    MeasurementSetSaved = 1;
    MeasurementSet = stored;
    journal.Expand(CurrentBankItem);
    journal.Select(item);
    journal.EditLabel(item);
    return true;
}

bool ORVEL::SaveEtalon() {
    if (SlotIndex < 0 || std::size_t(SlotIndex) >= ScanSlots.size()) return false;
    Bank& slot = ScanSlots[std::size_t(SlotIndex)];
    JournalItem* rangeItem = SlotItems[std::size_t(SlotIndex)];
    UserDp* range = journal.Contains(rangeItem) ? rangeItem->As<UserDp>() : nullptr;
    if (range == nullptr) {
        ShowError(23);
        return false;
    }
    EtalonParentItem = rangeItem;
    const std::string folder = range->FolderPath;
    const std::string name =
        freeNumber(namesUnder(rangeItem, &Etl::Name), [&](const std::string& n) {
            if (HasEntry(folder, n + ".etl")) return true;
            for (const char* extension : kEtalonExtensions)
                if (HasEntry(folder, n + extension)) return true;
            return false;
        });
    if (name.empty()) {
        ShowError(23);
        return false;
    }
    auto etalon = std::make_unique<Etl>();
    etalon->Name = name;
    etalon->Folder = folder;
    etalon->HeaderPath = folder + name + ".etl";
    etalon->PointCount = uint32_t(slot.Points());
    etalon->CycleCount = slot.CycleCount;
    etalon->Identifier = stampNow();
    if (!etalon->WriteHeader() || !WriteEtalonArrays(*etalon, slot)) {
        removeFiles(folder, name, {".etl", ".cur", ".min", ".max", ".obr", ".sum"});
        ShowError(23);
        return false;
    }
    JournalItem* item = AddEtalonItem(rangeItem, std::move(etalon));
    if (item == nullptr) return false;
    journal.Expand(rangeItem);
    journal.Select(item);
    journal.EditLabel(item);
    return true;
}

namespace {

// Job lines the same in what they address; `differs` tells whether a matching job differs in
// what its lines do.
bool sameJobLines(const std::vector<JobStr>& stored, const std::vector<JobStr>& edited,
                  bool& differs) {
    differs = false;
    if (stored.size() != edited.size()) return false;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const JobStr& a = stored[i];
        const JobStr& b = edited[i];
        if (a.TAB != b.TAB || a.OBJ != b.OBJ) return false;
        if (a.GET != b.GET || a.COND != b.COND || a.PUT != b.PUT) differs = true;
        if (a.REQ && (a.STRING ? a.STR != b.STR : a.VAL != b.VAL)) differs = true;
    }
    return true;
}

}  // namespace

UserJob* ORVEL::SaveJobItem() {
    if (EditLineCount <= 0) {
        ShowError(11);
        return nullptr;
    }
    const std::size_t count = std::min<std::size_t>(std::size_t(EditLineCount), EditLines.size());
    const std::vector<JobStr> lines(EditLines.begin(), EditLines.begin() + std::ptrdiff_t(count));
    for (const auto& child : JobFolder->Children()) {
        UserJob* job = child->As<UserJob>();
        bool differs = false;
        if (!child->Is(JournalKind::Job) || job == nullptr ||
            !sameJobLines(job->Lines, lines, differs))
            continue;
        if (!differs) {
            ShowError(20);
        } else if (Confirm("Задание с таким содержимым существует! Обновить?")) {
            const std::vector<JobStr> before = job->Lines;
            job->Lines = lines;
            if (!SaveJobFile(ProgramDir, *job)) {
                job->Lines = before;
                ShowError(23);
                return nullptr;  // the editor's lines stay unsaved
            }
            ShowError(21);
        }
        journal.Select(child.get());
        EditJobItem = child.get();
        return job;
    }

    const std::string folder = ProgramDir + "JOB/";
    const std::string name = freeNumber(namesUnder(JobFolder, &UserJob::FolderName),
                                        [&](const std::string& n) { return HasEntry(folder, n); });
    if (name.empty()) {
        ShowError(23);
        return nullptr;
    }
    auto job = std::make_unique<UserJob>();
    job->FolderName = name;
    job->Identifier = FormatText("Задание N %u", uint32_t(std::stoul(name)));
    job->Lines = lines;
    if (!SaveJobFile(ProgramDir, *job)) {
        RemoveEmptyFolder(folder + name);
        ShowError(23);
        return nullptr;
    }
    JournalItem* item = AddJobItem(std::move(job));
    if (item == nullptr) return nullptr;
    FindJobIndex({});
    journal.Expand(JobFolder);
    journal.Select(item);
    EditJobItem = item;
    return item->As<UserJob>();
}

void ORVEL::SaveItem() {
    if (!SelectionActive && journal.Selected() == FixedFolder && FixedFolder != nullptr &&
        SelectionStart != -1 && SelectionEnd != -1) {
        SaveScale();
        return;
    }
    switch (WorkMode) {
        case 0:
            // The receiver panel is asked for its channel table; it answers with
            // PostSaveBank and the bank is made from what it filled in.
            receiver.RequestPanelBank();
            ChannelLevels.clear();
            BankName.clear();
            ChannelCount = 0;
            BankStored = 1;
            BankChanged = 0;
            HistoriesAllocated = 0;
            MeasurementsUnsaved = 0;
            break;
        case 1:
            if (!BankStored || BankChanged) {
                // The flags say "stored" only once the bank is on disk.
                UserFreq* bank = CreateBank();
                if (bank != nullptr || ChannelCount <= 0) {
                    BankChanged = 0;
                    BankStored = 1;
                }
                CurrentBank = bank != nullptr ? bank : DefaultBank;
            } else if (MeasurementsUnsaved) {
                if (SaveMeasurements()) MeasurementsUnsaved = 0;
            } else {
                ShowError(17);
            }
            break;
        case 2:
            if (SelectionActive) {
                PostPrivateMessage(subWindows.diap, PostTakeSelection);
            } else if (SlotIndex >= 0 && std::size_t(SlotIndex) < ScanSlots.size() &&
                       ScanSlots[std::size_t(SlotIndex)].InUse &&
                       ScanSlots[std::size_t(SlotIndex)].Flag4) {
                if (SaveEtalon()) ScanSlots[std::size_t(SlotIndex)].Flag4 = 0;
            } else {
                ShowError(17);
            }
            break;
        case 3: {
            std::vector<UserDp*> ranges;
            for (const Bank& slot : ScanSlots)
                if (slot.InUse && slot.Range != nullptr &&
                    std::find(ranges.begin(), ranges.end(), slot.Range) == ranges.end())
                    ranges.push_back(slot.Range);
            if (ranges.size() < 2) {
                ShowError(16);
                break;
            }
            std::vector<std::string> names;
            for (const UserDp* range : ranges) names.push_back(range->FolderName);
            for (const auto& child : GroupFolder->Children()) {
                const UserGrp* group = child->As<UserGrp>();
                if (child->Is(JournalKind::Group) && group != nullptr && group->Ranges == names) {
                    journal.Select(child.get());
                    ShowError(15);
                    return;
                }
            }
            const std::string folder = ProgramDir + "GRP/";
            const std::string name =
                freeNumber(namesUnder(GroupFolder, &UserGrp::FolderName),
                           [&](const std::string& n) { return HasEntry(folder, n); });
            if (name.empty()) {
                ShowError(23);
                break;
            }
            auto group = std::make_unique<UserGrp>();
            group->FolderName = name;
            group->Identifier = "Группа N " + name + " ";
            StampNow(group->Date, group->Time);
            group->Ranges = names;
            if (!WriteGroupFile(*group)) {
                RemoveEmptyFolder(folder + name);
                ShowError(23);
                break;
            }
            if (JournalItem* item = AddGroupItem(std::move(group))) {
                journal.Expand(GroupFolder);
                journal.Select(item);
                journal.EditLabel(item);
            }
            break;
        }
        case 4:
            if (!EditJobStored || EditJobChanged) {
                if (UserJob* job = SaveJobItem()) {
                    EditJobChanged = 0;
                    EditJob = job;
                    EditJobStored = 1;
                }
            } else {
                ShowError(17);
            }
            break;
        case 5: {
            // A notes file larger than the loader reads is shown empty; saving would write that
            // empty text over it.
            std::error_code error;
            const auto size = std::filesystem::file_size(InfoFileShown, error);
            if (!error && size > kTextFileLimit) {
                ShowError(7);
                break;
            }
            PostPrivateMessage(subWindows.info, PostSaveSettings);
            break;
        }
        case 6: {
            if (!PhonogramRecorded || Phonogram == nullptr) {
                ShowError(22);
                break;
            }
            if (PhonogramLoaded) {
                if (Confirm("Дописать в существующую фонограмму?")) {
                    PostPrivateMessage(subWindows.signal, PostRefreshCurves);
                    break;
                }
            }
            PhonogramLoaded = 0;
            std::set<std::string> taken = namesUnder(PhonogramFolder, &UserFono::Name);
            const std::string folder = ProgramDir + "FONO/";
            uint32_t number = 0;
            std::string name;
            for (uint32_t n = 1; n <= kLastItemNumber && number == 0; ++n) {
                name = UserFono::NewName(Phonogram->Date, n);
                if (!taken.contains(name) && !HasEntry(folder, name + ".cfg") &&
                    !HasEntry(folder, name + ".wav"))
                    number = n;
            }
            if (number == 0) {
                ShowError(45);
                break;
            }
            FragmentFile = folder + name + ".wav";
            Phonogram->FilePath = folder + name + ".cfg";
            Phonogram->Name = name;
            Phonogram->Identifier = FormatText("%s Фонограмма %u", Phonogram->Date.c_str(), number);
            PostPrivateMessage(subWindows.signal, PostSaveSettings);
            break;
        }
        case 7:
            switch (ShownParameterPanel) {
                case 0:
                    ShowError(22);
                    break;
                case kRootSection:
                    PostPrivateMessage(settings.get(), PostSaveSettings);
                    break;
                case kBankSection:
                    PostPrivateMessage(subWindows.pfreq, PostSaveSettings);
                    break;
                case kRangeSection:
                    PostPrivateMessage(subWindows.pdiap, PostSaveSettings);
                    break;
                case kFixedSection:
                    PostPrivateMessage(subWindows.base, PostTakeSelection);
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
}

// ---- deleting and clearing

void ORVEL::DeleteChildItems(JournalItem* item) {
    journal.RemoveChildren(item);
}

void ORVEL::DeleteEtalonFiles(const Etl& etalon) {
    removeFiles(etalon.Folder, etalon.Name, {".cur", ".min", ".max", ".obr", ".sum"});
}

void ORVEL::CopyScanParams(UserDp& range) const {
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

template <class R>
void forget(R*& pointer, const void* record) {
    if (pointer == record) pointer = nullptr;
}

void forgetRecord(ORVEL& orvel, const void* record) {
    forget(orvel.CurrentBank, record);
    forget(orvel.MeasurementSet, record);
    forget(orvel.EditJob, record);
    forget(orvel.SelectedRange, record);
    forget(orvel.SelectedBank, record);
    forget(orvel.SelectedFixed, record);
    forget(orvel.SelectedCatalogEntry, record);
    for (Bank& slot : orvel.ScanSlots) {
        if (slot.Range == record) slot.Range = nullptr;
        if (slot.EtalonRecord == record) {
            slot.EtalonRecord = nullptr;
            slot.HasEtalon = 0;
        }
    }
    std::erase(orvel.Etalons, record);
}

// Forgets every pointer of the working state to `gone`, to what lies under it and to their
// records: nothing the working state points to may outlive its item.
void forgetItem(ORVEL& orvel, JournalItem* gone) {
    std::visit(
        [&](const auto& owned) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(owned)>, std::monostate>)
                forgetRecord(orvel, owned.get());
        },
        gone->Record);
    for (JournalItem** pointer :
         {&orvel.CurrentBankItem, &orvel.SelectedBankItem, &orvel.EtalonParentItem,
          &orvel.EditJobItem, &orvel.PhonogramItem})
        if (*pointer == gone) *pointer = nullptr;
    for (JournalItem*& slotItem : orvel.SlotItems)
        if (slotItem == gone) slotItem = nullptr;
    for (const auto& child : gone->Children()) forgetItem(orvel, child.get());
}

}  // namespace

void ORVEL::DeleteItem() {
    JournalItem* item = journal.Selected();
    if (item == nullptr) return;

    const auto remove = [&](JournalItem* gone) {
        forgetItem(*this, gone);
        journal.Remove(gone);
    };

    switch (item->Kind) {
        case JournalKind::Fixed: {
            if (!Confirm("Фиксированная частота будет удалена.Вы уверены?")) return;
            journal.Select(FixedFolder);
            const UserSc& scale = *item->As<UserSc>();
            const std::string folder = ProgramDir + "SCALE/";
            const std::string file = scale.FilePath;
            const std::string name = scale.Name;
            remove(item);
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            removeFiles(folder, name, {".txt", ".tag"});
            CollectScaleItems();
            PostPrivateMessage(this, PostScaleChanged);
            break;
        }
        case JournalKind::Range: {
            const UserDp* range = item->As<UserDp>();
            const bool inUse =
                std::any_of(ScanSlots.begin(), ScanSlots.end(),
                            [&](const Bank& slot) { return slot.InUse && slot.Range == range; });
            if (inUse) {
                ShowError(36);
                return;
            }
            if (!Confirm("Диапазон и все его эталоны будут удалены.Вы уверены?")) return;
            journal.Select(RangeFolder);
            for (const auto& child : item->Children()) {
                if (const Etl* etalon = child->As<Etl>()) {
                    DeleteEtalonFiles(*etalon);
                    removeFiles(etalon->Folder, etalon->Name, {".etl", ".txt"});
                }
            }
            const std::string folder = range->FolderPath;
            const std::string file = range->FilePath;
            remove(item);
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            RemoveFile(folder, "info.txt");
            RemoveEmptyFolder(folder);
            break;
        }
        case JournalKind::Group: {
            if (!Confirm("Группа Диапазонов будет удалена.Вы уверены?")) return;
            journal.Select(GroupFolder);
            const UserGrp& group = *item->As<UserGrp>();
            const std::string file = group.FilePath;
            const std::string folder = ProgramDir + "GRP/" + group.FolderName + "/";
            remove(item);
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            RemoveFile(folder, "info.txt");
            break;
        }
        case JournalKind::Bank: {
            const UserFreq& bank = *item->As<UserFreq>();
            if (bank.Identifier == BankName) {
                ShowError(36);
                return;
            }
            if (!Confirm("Банк частот и все его измерения будут удалены.Вы уверены?")) return;
            journal.Select(BankFolder);
            const std::string folder = BankFolderPath(bank);
            for (const auto& child : item->Children())
                if (const Meg* set = child->As<Meg>())
                    removeFiles(folder, set->Name, {kLevelsExtension, ".etl", ".txt"});
            const std::string file = bank.FilePath;
            remove(item);
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            RemoveFile(folder, "info.txt");
            RemoveEmptyFolder(folder);
            break;
        }
        case JournalKind::MeasurementSet: {
            JournalItem* bankItem = item->Parent();
            const UserFreq& bank = *bankItem->As<UserFreq>();
            if (bank.Identifier == BankName) {
                ShowError(36);
                return;
            }
            if (!Confirm("Измерения будут удалены.Вы уверены?")) return;
            journal.Select(bankItem);
            const std::string folder = BankFolderPath(bank);
            const std::string name = item->As<Meg>()->Name;
            remove(item);
            removeFiles(folder, name, {kLevelsExtension, ".etl", ".txt"});
            break;
        }
        case JournalKind::Etalon: {
            const Etl* etalon = item->As<Etl>();
            const bool inUse =
                std::any_of(ScanSlots.begin(), ScanSlots.end(), [&](const Bank& slot) {
                    return slot.InUse && slot.HasEtalon && slot.EtalonRecord == etalon;
                });
            if (inUse) {
                ShowError(36);
                return;
            }
            if (!Confirm("Эталон будет удален.Вы уверены?")) return;
            journal.Select(item->Parent());
            DeleteEtalonFiles(*etalon);
            const std::string folder = etalon->Folder;
            const std::string name = etalon->Name;
            remove(item);
            removeFiles(folder, name, {".etl", ".txt"});
            break;
        }
        case JournalKind::Job: {
            const UserJob& job = *item->As<UserJob>();
            if (job.Identifier == EditJobName) {
                ShowError(36);
                return;
            }
            if (!Confirm("Задание будет удалено.Вы уверены?")) return;
            journal.Select(JobFolder);
            const std::string file = job.File;
            const std::string folder = job.Directory;
            remove(item);
            // Its run files stay, and with them the folder.
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            RemoveFile(folder, "info.txt");
            RemoveEmptyFolder(folder);
            FindJobIndex({});
            break;
        }
        case JournalKind::Phonogram: {
            if (PhonogramLoaded && PhonogramItem == item) {
                ShowError(36);
                return;
            }
            if (!Confirm("Фонограмма  будет удалена.Вы уверены?")) return;
            journal.Select(PhonogramFolder);
            const UserFono& phonogram = *item->As<UserFono>();
            const std::string folder = ProgramDir + "FONO/";
            const std::string file = phonogram.FilePath;
            const std::string name = phonogram.Name;
            // "File" set: every fragment has a sound file of its own; clear: the phonogram has
            // one sound file of its name.
            std::vector<std::string> sounds;
            if (phonogram.SeparateFiles) {
                for (const Fragment& fragment : phonogram.Fragments)
                    if (std::string sound = fragmentSoundFile(fragment.File); !sound.empty())
                        sounds.push_back(sound);
            } else {
                sounds.push_back(name + ".wav");
            }
            remove(item);
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            for (const std::string& sound : sounds) RemoveFile(folder, sound);
            RemoveFile(folder, name + ".txt");
            break;
        }
        case JournalKind::CatalogEntry: {
            JournalItem* field = item->Parent();
            if (field == nullptr || (field != FrequencyFieldEntry && field != StepFieldEntry)) {
                ShowError(35);
                return;
            }
            journal.Select(field);
            remove(item);
            WriteHistoryFile(field);
            break;
        }
        case JournalKind::Row:
        case JournalKind::Folder:
            ShowError(35);
            break;
        default:
            break;
    }
}

void ORVEL::ClearPanel() {
    if (!JobRunning && !Confirm("Вы уверены что хотите очистить Панель ?")) return;
    switch (WorkMode) {
        case 0:
            receiver.PostToPanel(PostClearData);
            break;
        case 1:
            ChannelLevels.clear();
            MeasurementCapacity = 0;
            BankName.clear();
            ChannelCount = 0;
            BankStored = 0;
            BankChanged = 0;
            HistoriesAllocated = 0;
            MeasurementsUnsaved = 0;
            PostPrivateMessage(subWindows.freq, PostClearData);
            break;
        case 2:
            ResetSelection();
            break;
        case 3:
            GroupRangeCount = 0;
            GroupName.clear();
            PostPrivateMessage(subWindows.diap, PostClearData);
            PostPrivateMessage(subWindows.group, PostClearData);
            break;
        case 4:
            EditJobName.clear();
            EditLineCount = 0;
            EditJobStored = 0;
            EditJobChanged = 0;
            PostPrivateMessage(subWindows.job, PostClearData);
            break;
        case 5:
            PostPrivateMessage(subWindows.info, PostClearData);
            break;
        case 6:
            // The flag the clearing has always set: the phonogram's "File" flag.
            if (Phonogram != nullptr) Phonogram->SeparateFiles = 1;
            PostPrivateMessage(subWindows.signal, PostClearData);
            break;
        case 7: {
            const JournalItem* selected = journal.Selected();
            if (selected == nullptr || selected->Is(JournalKind::Folder)) break;
            if (ShownParameterPanel == kBankSection && SelectedBank != nullptr &&
                DefaultBank != nullptr) {
                SelectedBank->Interval = DefaultBank->Interval;
                SelectedBank->Poll = DefaultBank->Poll;
                SelectedBank->Level = DefaultBank->Level;
                SelectedBank->Waiting = DefaultBank->Waiting;
                SelectedBank->WaitTime = DefaultBank->WaitTime;
                SelectedBank->Condition = DefaultBank->Condition;
                SelectedBank->Job = DefaultBank->Job;
                SelectedBank->WriteFile();
                ShowParameterPanel();
            } else if (ShownParameterPanel == kRangeSection && SelectedRange != nullptr) {
                CopyScanParams(*SelectedRange);
                SelectedRange->WriteFile();
                ShowParameterPanel();
            } else if (ShownParameterPanel == kFixedSection) {
                PostPrivateMessage(subWindows.base, PostClearData);
            }
            break;
        }
        default:
            break;
    }
}

// ---- codes

void ORVEL::MakeRangeFromSlot() {
    if (SlotIndex < 0 || std::size_t(SlotIndex) >= ScanSlots.size()) return;
    const std::size_t index = std::size_t(SlotIndex);
    Bank& slot = ScanSlots[index];
    if (JournalItem* existing = FindSlotRangeItem()) {
        if (UserDp* range = existing->As<UserDp>()) {
            slot.Name = range->FolderName;
            slot.Identifier = range->Identifier;
            slot.Range = range;
            SlotItems[index] = existing;
            journal.Select(existing);
        } else {
            ShowError(14);
        }
        ShowError(13);
    } else {
        const std::string folder = ProgramDir + "DP/";
        const uint32_t megahertz = slot.Start / 10000;
        std::set<std::string> taken = namesUnder(RangeFolder, &UserDp::FolderName);
        std::string name;
        for (uint32_t n = 1; n <= kLastItemNumber && name.empty(); ++n) {
            std::string candidate = FormatText("%04u%04u", megahertz, n);
            if (!taken.contains(candidate) && !HasEntry(folder, candidate)) name = candidate;
        }
        auto range = std::make_unique<UserDp>();
        range->FolderName = name;
        range->Identifier = slot.Name;
        range->StartFrequency = slot.Start;
        range->EndFrequency = slot.End;
        range->Step = slot.Step;
        range->Modulation = slot.Modulation;
        CopyScanParams(*range);
        if (name.empty() || !WriteRangeFolder(*range)) {
            if (!name.empty()) RemoveEmptyFolder(folder + name);
            ShowError(23);
        } else if (JournalItem* item = AddRangeItem(std::move(range))) {
            UserDp& stored = *item->As<UserDp>();
            slot.Name = stored.FolderName;
            slot.Identifier = stored.Identifier;
            slot.Range = &stored;
            SlotItems[index] = item;
            journal.Expand(RangeFolder);
            journal.Select(item);
            journal.EditLabel(item);
        }
    }
    PostPrivateMessage(subWindows.diap, PostRangeRedrawAll);
    if (WorkMode == 3) PostPrivateMessage(subWindows.group, PostRefreshData);
}

void ORVEL::StorePhonogram() {
    if (Phonogram == nullptr) return;
    if (!PhonogramLoaded) {
        auto phonogram = std::make_unique<UserFono>(*Phonogram);
        // The phonogram enters the journal only once its description is on disk.
        if (!phonogram->WriteFile()) {
            ShowError(45);
            return;
        }
        JournalItem* item = AddPhonogramItem(std::move(phonogram));
        if (item == nullptr) return;
        PhonogramItem = item;
        journal.Expand(PhonogramFolder);
        journal.Select(item);
        journal.EditLabel(item);
    } else {
        UserFono* stored =
            journal.Contains(PhonogramItem) ? PhonogramItem->As<UserFono>() : nullptr;
        if (stored == nullptr) {
            ShowError(45);
            return;
        }
        const std::vector<Fragment> before = stored->Fragments;
        stored->Fragments = Phonogram->Fragments;
        if (!stored->WriteFile()) {
            stored->Fragments = before;
            ShowError(45);
            return;
        }
    }
    PhonogramLoaded = 1;
}

void ORVEL::SelectSlotRangeItem() {
    if (SlotIndex < 0 || std::size_t(SlotIndex) >= ScanSlots.size()) return;
    const Bank& slot = ScanSlots[std::size_t(SlotIndex)];
    JournalItem* item = SlotItems[std::size_t(SlotIndex)];
    if (!slot.InUse) {
        journal.Select(RangeFolder);
    } else if (journal.Contains(item) && journal.Selected() != item) {
        journal.Select(item);
    }
}
