// Saving what the current tab holds as a new stored item or into the one it came from, items
// made from a marked span, and the codes that store a range made from a marked span and a
// recorded phonogram.

#include <algorithm>
#include <set>

#include "app/data_folder.h"
#include "app/format_text.h"
#include "app/item_store.h"
#include "state/etl.h"
#include "state/meg.h"
#include "state/message_bus.h"
#include "state/moment.h"
#include "state/stamp_clock.h"

namespace {

// New stored items are numbered "%04u" from 1 to this.
constexpr uint32_t kLastItemNumber = 9999;

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
            a.Select != b.Select || a.Skip != b.Skip || a.QMOD != b.QMOD || a.QATT != b.QATT)
            return true;
    }
    return false;
}

bool spanMarked(const FDX& fdx) {
    return fdx.SelectionStart >= 0 && fdx.SelectionEnd >= 0;
}

}  // namespace

UserFreq* ItemStore::CreateBank() {
    const std::size_t count =
        std::min<std::size_t>(std::size_t(std::max(fdx_.ChannelCount, 0)), fdx_.Channels.size());
    if (count == 0) {
        fdx_.ShowError(12);
        return nullptr;
    }
    std::vector<Mt> working(count);
    for (std::size_t i = 0; i < count; ++i) CopyChannel(working[i], fdx_.Channels[i]);

    for (const auto& child : BankFolder->Children()) {
        UserFreq* bank = child->As<UserFreq>();
        if (!child->Is(JournalKind::Bank) || bank == nullptr ||
            !sameChannels(bank->Channels, working, count))
            continue;
        if (!channelsChanged(bank->Channels, working)) {
            fdx_.ShowError(18);
        } else {
            const std::vector<Mt> before = bank->Channels;
            bank->Channels = working;
            bank->ChannelCount = uint32_t(count);
            if (WriteBankFolder(*bank)) {
                fdx_.ShowError(19);
            } else {
                bank->Channels = before;
                bank->ChannelCount = uint32_t(before.size());
                fdx_.ShowError(23);
                return nullptr;
            }
        }
        CurrentBankItem = child.get();
        fdx_.BankName = bank->Identifier;
        journal_.Select(child.get());
        return bank;
    }

    const std::string folder = fdx_.ProgramDir + "FREQ/";
    const std::string name = freeNumber(namesUnder(BankFolder, &UserFreq::FolderName),
                                        [&](const std::string& n) { return HasEntry(folder, n); });
    if (name.empty()) {
        fdx_.ShowError(23);
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
        fdx_.ShowError(23);
        return nullptr;
    }
    JournalItem* item = AddBankItem(std::move(bank));
    if (item == nullptr) return nullptr;
    journal_.Expand(BankFolder);
    journal_.Select(item);
    journal_.EditLabel(item);
    CurrentBankItem = item;
    fdx_.BankName = item->As<UserFreq>()->Identifier;
    return item->As<UserFreq>();
}

bool ItemStore::SaveScale() {
    const int64_t start = fdx_.SelectionStart;
    const int64_t end = fdx_.SelectionEnd;
    bool refused = start < 0 || end < 0 || start > end;
    for (UserSc* scale : fdx_.Scales) {
        if (refused) break;
        const int64_t from = scale->StartFrequency;
        const int64_t to = scale->EndFrequency;
        const int64_t step = scale->Step;
        if (from == start) {
            refused = true;
        } else if (from < start && start <= to) {
            if (from < start - step &&
                fdx_.Confirm(FormatText(
                    "Произойдет усечение фиксированной частоты c %8.4f-%8.4f до "
                    "%8.4f-%8.4f",
                    from / 10000.0, to / 10000.0, from / 10000.0, (start - step) / 10000.0))) {
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
        scale->FilePath = fdx_.ProgramDir + "SCALE/" + scale->Name + ".cfg";
        scale->Identifier = FormatText("%8.4f-%8.4f", start / 10000.0, end / 10000.0);
        scale->StartFrequency = uint32_t(start);
        scale->EndFrequency = uint32_t(end);
        scale->Step = fdx_.Step;
        scale->Modulation = fdx_.Modulation;
        if (scale->WriteHeader()) {
            if (JournalItem* item = AddFixedFrequencyItem(std::move(scale))) {
                journal_.Expand(FixedFolder);
                journal_.Select(item);
                journal_.EditLabel(item);
                saved = true;
            }
        }
    }
    if (!saved) fdx_.ShowError(25);
    CollectScaleItems();
    host_.Post(StoreWindow::Main, PostScaleChanged);
    return saved;
}

bool ItemStore::SaveMeasurements() {
    UserFreq* bank = journal_.Contains(CurrentBankItem) ? CurrentBankItem->As<UserFreq>() : nullptr;
    if (bank == nullptr) {
        fdx_.ShowError(23);
        return false;
    }
    const std::string folder = BankFolderPath(*bank);
    const std::string name =
        freeNumber(namesUnder(CurrentBankItem, &Meg::Name), [&](const std::string& n) {
            // Notes left without their set are the operator's, never a new set's.
            return HasEntry(folder, n + ".etl") || HasEntry(folder, n + kLevelsExtension) ||
                   HasEntry(folder, n + ".txt");
        });
    if (name.empty()) {
        fdx_.ShowError(23);
        return false;
    }
    auto set = std::make_unique<Meg>();
    set->Name = name;
    set->HeaderPath = folder + name + ".etl";
    set->FrequencyCount = uint32_t(std::max(fdx_.ChannelCount, 0));
    set->MeasurementCount = uint32_t(std::max(fdx_.MeasurementCount, 0));
    set->Start = momentOf(fdx_.MeasurementStart);
    set->End = momentOf(fdx_.MeasurementEnd);
    set->Identifier = MomentText(set->Start);

    const std::size_t count = std::min<std::size_t>(set->FrequencyCount, fdx_.Channels.size());
    std::vector<MeasuredChannel> channels(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::span<uint8_t> levels;
        if (i < fdx_.ChannelLevels.size()) levels = fdx_.ChannelLevels[i];
        channels[i] = {fdx_.Channels[i].Frequency, levels};
    }
    // A set is stored whole or not at all: what was written of a failed one is taken back, and
    // the header, which makes the set, comes last (the next start sweeps a set cut short).
    if (!WriteMeasurementLevels(folder + name + kLevelsExtension, channels,
                                set->MeasurementCount) ||
        !set->WriteHeader()) {
        RemoveFiles(folder, name, {".etl", kLevelsExtension});
        fdx_.ShowError(23);
        return false;
    }
    Meg* stored = set.get();
    JournalItem* item = AddMeasurementItem(CurrentBankItem, std::move(set));
    if (item == nullptr) return false;
    fdx_.MeasurementSetSaved = 1;
    fdx_.MeasurementSet = stored;
    journal_.Expand(CurrentBankItem);
    journal_.Select(item);
    journal_.EditLabel(item);
    return true;
}

bool ItemStore::SaveEtalon() {
    if (fdx_.SlotIndex < 0 || std::size_t(fdx_.SlotIndex) >= fdx_.ScanSlots.size()) return false;
    Bank& slot = fdx_.ScanSlots[std::size_t(fdx_.SlotIndex)];
    JournalItem* rangeItem = SlotItems[std::size_t(fdx_.SlotIndex)];
    UserDp* range = journal_.Contains(rangeItem) ? rangeItem->As<UserDp>() : nullptr;
    if (range == nullptr) {
        fdx_.ShowError(23);
        return false;
    }
    EtalonParentItem = rangeItem;
    const std::string folder = range->FolderPath;
    const std::string name =
        freeNumber(namesUnder(rangeItem, &Etl::Name), [&](const std::string& n) {
            // Notes left without their etalon are the operator's, never a new etalon's.
            if (HasEntry(folder, n + ".etl") || HasEntry(folder, n + ".txt")) return true;
            for (const char* extension : kEtalonArrayExtensions)
                if (HasEntry(folder, n + extension)) return true;
            return false;
        });
    if (name.empty()) {
        fdx_.ShowError(23);
        return false;
    }
    auto etalon = std::make_unique<Etl>();
    etalon->Name = name;
    etalon->Folder = folder;
    etalon->HeaderPath = folder + name + ".etl";
    etalon->PointCount = uint32_t(slot.Points());
    etalon->CycleCount = slot.CycleCount;
    etalon->Identifier = stampNow();
    if (!WriteEtalonArrays(*etalon, slot) || !etalon->WriteHeader()) {
        RemoveFile(folder, name + ".etl");
        DeleteEtalonFiles(*etalon);
        fdx_.ShowError(23);
        return false;
    }
    JournalItem* item = AddEtalonItem(rangeItem, std::move(etalon));
    if (item == nullptr) return false;
    journal_.Expand(rangeItem);
    journal_.Select(item);
    journal_.EditLabel(item);
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

UserJob* ItemStore::SaveJobItem() {
    if (fdx_.EditLineCount <= 0) {
        fdx_.ShowError(11);
        return nullptr;
    }
    const std::size_t count =
        std::min<std::size_t>(std::size_t(fdx_.EditLineCount), fdx_.EditLines.size());
    const std::vector<JobStr> lines(fdx_.EditLines.begin(),
                                    fdx_.EditLines.begin() + std::ptrdiff_t(count));
    for (const auto& child : JobFolder->Children()) {
        UserJob* job = child->As<UserJob>();
        bool differs = false;
        if (!child->Is(JournalKind::Job) || job == nullptr ||
            !sameJobLines(job->Lines, lines, differs))
            continue;
        if (!differs) {
            fdx_.ShowError(20);
        } else if (fdx_.Confirm("Задание с таким содержимым существует! Обновить?")) {
            const std::vector<JobStr> before = job->Lines;
            job->Lines = lines;
            if (!SaveJobFile(fdx_.ProgramDir, *job)) {
                job->Lines = before;
                fdx_.ShowError(23);
                return nullptr;  // the editor's lines stay unsaved
            }
            fdx_.ShowError(21);
        }
        journal_.Select(child.get());
        EditJobItem = child.get();
        return job;
    }

    const std::string folder = fdx_.ProgramDir + "JOB/";
    const std::string name = freeNumber(namesUnder(JobFolder, &UserJob::FolderName),
                                        [&](const std::string& n) { return HasEntry(folder, n); });
    if (name.empty()) {
        fdx_.ShowError(23);
        return nullptr;
    }
    auto job = std::make_unique<UserJob>();
    job->FolderName = name;
    job->Identifier = FormatText("Задание N %u", uint32_t(std::stoul(name)));
    job->Lines = lines;
    if (!SaveJobFile(fdx_.ProgramDir, *job)) {
        RemoveEmptyFolder(folder + name);
        fdx_.ShowError(23);
        return nullptr;
    }
    JournalItem* item = AddJobItem(std::move(job));
    if (item == nullptr) return nullptr;
    FindJobIndex({});
    journal_.Expand(JobFolder);
    journal_.Select(item);
    EditJobItem = item;
    return item->As<UserJob>();
}

void ItemStore::SaveItem() {
    if (!fdx_.SelectionActive && journal_.Selected() == FixedFolder && FixedFolder != nullptr &&
        fdx_.SelectionStart != -1 && fdx_.SelectionEnd != -1) {
        SaveScale();
        return;
    }
    switch (fdx_.WorkMode) {
        case kScaleMode:
            SaveScaleTab();
            break;
        case kBankMode:
            SaveBankTab();
            break;
        case kRangeMode:
            SaveRangeTab();
            break;
        case kGroupMode:
            SaveGroupTab();
            break;
        case kJobMode:
            SaveJobTab();
            break;
        case kTextMode:
            // The text window keeps a notes file it could not show from being written.
            host_.Post(StoreWindow::Info, PostSaveSettings);
            break;
        case kSignalMode:
            SaveSignalTab();
            break;
        case kParametersMode:
            SaveParameterTab();
            break;
        default:
            break;
    }
}

// The receiver panel is asked for its channel table; it answers with PostSaveBank and the bank
// is made from what it filled in.
void ItemStore::SaveScaleTab() {
    host_.RequestPanelBank();
    fdx_.ReplaceChannelLevels();
    fdx_.BankName.clear();
    fdx_.ChannelCount = 0;
    fdx_.BankStored = 1;
    fdx_.BankChanged = 0;
    fdx_.HistoriesAllocated = 0;
    fdx_.MeasurementsUnsaved = 0;
}

void ItemStore::SaveBankTab() {
    if (!fdx_.BankStored || fdx_.BankChanged) {
        // The flags say "stored" only once the bank is on disk.
        UserFreq* bank = CreateBank();
        if (bank != nullptr || fdx_.ChannelCount <= 0) {
            fdx_.BankChanged = 0;
            fdx_.BankStored = 1;
        }
        fdx_.CurrentBank = bank != nullptr ? bank : DefaultBank;
    } else if (fdx_.MeasurementsUnsaved) {
        if (SaveMeasurements()) fdx_.MeasurementsUnsaved = 0;
    } else {
        fdx_.ShowError(17);
    }
}

void ItemStore::SaveRangeTab() {
    if (fdx_.SelectionActive) {
        host_.Post(StoreWindow::Diap, PostTakeSelection);
    } else if (fdx_.SlotIndex >= 0 && std::size_t(fdx_.SlotIndex) < fdx_.ScanSlots.size() &&
               fdx_.ScanSlots[std::size_t(fdx_.SlotIndex)].InUse &&
               fdx_.ScanSlots[std::size_t(fdx_.SlotIndex)].Flag4) {
        if (SaveEtalon()) fdx_.ScanSlots[std::size_t(fdx_.SlotIndex)].Flag4 = 0;
    } else {
        fdx_.ShowError(17);
    }
}

void ItemStore::SaveGroupTab() {
    std::vector<UserDp*> ranges;
    for (const Bank& slot : fdx_.ScanSlots)
        if (slot.InUse && slot.Range != nullptr &&
            std::find(ranges.begin(), ranges.end(), slot.Range) == ranges.end())
            ranges.push_back(slot.Range);
    if (ranges.size() < 2) {
        fdx_.ShowError(16);
        return;
    }
    if (JournalItem* same = FindGroupOf(ranges)) {
        journal_.Select(same);
        fdx_.ShowError(15);
        return;
    }
    const std::string folder = fdx_.ProgramDir + "GRP/";
    const std::string name = freeNumber(namesUnder(GroupFolder, &UserGrp::FolderName),
                                        [&](const std::string& n) { return HasEntry(folder, n); });
    if (name.empty()) {
        fdx_.ShowError(23);
        return;
    }
    auto group = std::make_unique<UserGrp>();
    group->FolderName = name;
    group->Identifier = "Группа N " + name + " ";
    StampNow(group->Date, group->Time);
    // A group names its ranges by identifier.
    for (const UserDp* range : ranges) group->Ranges.push_back(range->Identifier);
    if (!WriteGroupFile(*group)) {
        RemoveEmptyFolder(folder + name);
        fdx_.ShowError(23);
        return;
    }
    if (JournalItem* item = AddGroupItem(std::move(group))) {
        journal_.Expand(GroupFolder);
        journal_.Select(item);
        journal_.EditLabel(item);
    }
}

// A group written before may name its ranges by folder, so groups are compared by the ranges
// their names find.
JournalItem* ItemStore::FindGroupOf(const std::vector<UserDp*>& ranges) const {
    const auto sameRanges = [&](const UserGrp& group) {
        if (group.Ranges.size() != ranges.size()) return false;
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            const JournalItem* found = FindRangeItem(group.Ranges[i]);
            if (found == nullptr || found->As<UserDp>() != ranges[i]) return false;
        }
        return true;
    };
    for (const auto& child : GroupFolder->Children()) {
        const UserGrp* group = child->As<UserGrp>();
        if (child->Is(JournalKind::Group) && group != nullptr && sameRanges(*group))
            return child.get();
    }
    return nullptr;
}

void ItemStore::SaveJobTab() {
    if (fdx_.EditJobStored && !fdx_.EditJobChanged) {
        fdx_.ShowError(17);
        return;
    }
    if (UserJob* job = SaveJobItem()) {
        fdx_.EditJobChanged = 0;
        fdx_.EditJob = job;
        fdx_.EditJobStored = 1;
        fdx_.EditJobName = job->Identifier;
        host_.Post(StoreWindow::Job, PostRefreshDisplay);  // the editor shows the name
    }
}

// The recorded phonogram is appended to the loaded one, or named anew; the phonogram window
// writes it.
void ItemStore::SaveSignalTab() {
    if (!fdx_.PhonogramRecorded || fdx_.Phonogram == nullptr) {
        fdx_.ShowError(22);
        return;
    }
    if (fdx_.PhonogramLoaded) {
        if (fdx_.Confirm("Дописать в существующую фонограмму?")) {
            host_.Post(StoreWindow::Signal, PostRefreshCurves);
            return;
        }
    }
    fdx_.PhonogramLoaded = 0;
    std::set<std::string> taken = namesUnder(PhonogramFolder, &UserFono::Name);
    const std::string folder = fdx_.ProgramDir + "FONO/";
    uint32_t number = 0;
    std::string name;
    for (uint32_t n = 1; n <= kLastItemNumber && number == 0; ++n) {
        name = UserFono::NewName(fdx_.Phonogram->Date, n);
        // A store whose description failed left the sound under the name it gave: the next
        // store takes that name again rather than copy the sound to another.
        const bool namedBefore =
            name == fdx_.Phonogram->Name && fdx_.Phonogram->FilePath == folder + name + ".cfg";
        if (!taken.contains(name) && !HasEntry(folder, name + ".cfg") &&
            (namedBefore || !HasEntry(folder, name + ".wav")))
            number = n;
    }
    if (number == 0) {
        fdx_.ShowError(45);
        return;
    }
    fdx_.FragmentFile = folder + name + ".wav";
    fdx_.Phonogram->FilePath = folder + name + ".cfg";
    fdx_.Phonogram->Name = name;
    fdx_.Phonogram->Identifier =
        FormatText("%s Фонограмма %u", fdx_.Phonogram->Date.c_str(), number);
    host_.Post(StoreWindow::Signal, PostSaveSettings);
}

// The panel on the parameter page saves itself.
void ItemStore::SaveParameterTab() {
    switch (fdx_.ShownParameterPanel) {
        case 0:
            fdx_.ShowError(22);
            break;
        case kRootSection:
            host_.Post(StoreWindow::Settings, PostSaveSettings);
            break;
        case kBankSection:
            host_.Post(StoreWindow::Pfreq, PostSaveSettings);
            break;
        case kRangeSection:
            host_.Post(StoreWindow::Pdiap, PostSaveSettings);
            break;
        case kFixedSection:
            host_.Post(StoreWindow::Base, PostTakeSelection);
            break;
        default:
            break;
    }
}

// ---- items from a marked span

void ItemStore::RangeFromSelection() {
    if (!spanMarked(fdx_)) {
        fdx_.ShowError(31);
        return;
    }
    if (std::none_of(fdx_.ScanSlots.begin(), fdx_.ScanSlots.end(),
                     [](const Bank& slot) { return !slot.InUse; })) {
        fdx_.ShowError(33);
        return;
    }
    host_.Post(StoreWindow::Diap, PostPrepareSlots);
}

void ItemStore::FixedFromSelection() {
    if (!spanMarked(fdx_)) {
        fdx_.ShowError(32);
        return;
    }
    SaveScale();
}

// ---- codes

void ItemStore::MakeRangeFromSlot() {
    if (fdx_.SlotIndex < 0 || std::size_t(fdx_.SlotIndex) >= fdx_.ScanSlots.size()) return;
    const std::size_t index = std::size_t(fdx_.SlotIndex);
    Bank& slot = fdx_.ScanSlots[index];
    if (JournalItem* existing = FindSlotRangeItem()) {
        if (UserDp* range = existing->As<UserDp>()) {
            slot.Name = range->FolderName;
            slot.Identifier = range->Identifier;
            slot.Range = range;
            SlotItems[index] = existing;
            journal_.Select(existing);
        } else {
            fdx_.ShowError(14);
        }
        fdx_.ShowError(13);
    } else {
        const std::string folder = fdx_.ProgramDir + "DP/";
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
            fdx_.ShowError(23);
        } else if (JournalItem* item = AddRangeItem(std::move(range))) {
            UserDp& stored = *item->As<UserDp>();
            slot.Name = stored.FolderName;
            slot.Identifier = stored.Identifier;
            slot.Range = &stored;
            SlotItems[index] = item;
            journal_.Expand(RangeFolder);
            journal_.Select(item);
            journal_.EditLabel(item);
        }
    }
    host_.Post(StoreWindow::Diap, PostRangeRedrawAll);
    if (fdx_.WorkMode == kGroupMode) host_.Post(StoreWindow::Group, PostRefreshData);
}

void ItemStore::StorePhonogram() {
    if (fdx_.Phonogram == nullptr) return;
    if (!fdx_.PhonogramLoaded) {
        auto phonogram = std::make_unique<UserFono>(*fdx_.Phonogram);
        // The phonogram enters the journal only once its description is on disk.
        if (!phonogram->WriteFile()) {
            fdx_.ShowError(45);
            return;
        }
        JournalItem* item = AddPhonogramItem(std::move(phonogram));
        if (item == nullptr) return;
        PhonogramItem = item;
        journal_.Expand(PhonogramFolder);
        journal_.Select(item);
        journal_.EditLabel(item);
    } else {
        UserFono* stored =
            journal_.Contains(PhonogramItem) ? PhonogramItem->As<UserFono>() : nullptr;
        if (stored == nullptr) {
            fdx_.ShowError(45);
            return;
        }
        const std::vector<Fragment> before = stored->Fragments;
        stored->Fragments = fdx_.Phonogram->Fragments;
        if (!stored->WriteFile()) {
            stored->Fragments = before;
            fdx_.ShowError(45);
            return;
        }
    }
    fdx_.PhonogramLoaded = 1;
    fdx_.PhonogramRecorded = 0;  // all it holds is stored
}

void ItemStore::SelectSlotRangeItem() {
    if (fdx_.SlotIndex < 0 || std::size_t(fdx_.SlotIndex) >= fdx_.ScanSlots.size()) return;
    const Bank& slot = fdx_.ScanSlots[std::size_t(fdx_.SlotIndex)];
    JournalItem* item = SlotItems[std::size_t(fdx_.SlotIndex)];
    if (!slot.InUse) {
        journal_.Select(RangeFolder);
    } else if (journal_.Contains(item) && journal_.Selected() != item) {
        journal_.Select(item);
    }
}
