// The item store's journal: the items of every kind with their text rows, building the journal
// from the data folders at the start and closing it at the end, and the folders and files the
// stored items are written to.

#include <algorithm>
#include <filesystem>

#include "app/data_folder.h"
#include "app/format_text.h"
#include "app/item_store.h"
#include "app/panel_catalog.h"
#include "state/cp1251.h"
#include "state/etl.h"
#include "state/history.h"
#include "state/meg.h"
#include "state/message_bus.h"
#include "state/moment.h"
#include "state/text_file.h"

namespace {

// The data folders whose items the journal does not list folder by folder, and the printouts'
// PRINT: what saves cut short left there is swept on its own; the folders of ranges, banks, jobs
// and groups are swept as their listings are read.
constexpr const char* kFoldersNotListedByItem[] = {"INFO", "SCALE", "FONO", "PRINT"};

// The file of a measurement set beside its header.
constexpr const char* kMeasurementSetParts[] = {kLevelsExtension};

// The catalog entries of the main window's two fields that keep the values the operator used.
constexpr uint32_t kMainPanel = 10;
constexpr uint32_t kFrequencyField = 11;
constexpr uint32_t kStepField = 12;

// How each kind of item behaves in the journal.
// clang-format off
struct KindTraits {
    JournalKind kind;
    bool renamable;
    uint32_t section;
};
constexpr KindTraits kKindTraits[] = {
    {JournalKind::Row,            false, kNoSection},
    {JournalKind::Root,           false, kRootSection},
    {JournalKind::Fixed,          true,  kFixedSection},
    {JournalKind::Range,          true,  kRangeSection},
    {JournalKind::Group,          true,  kNoSection},
    {JournalKind::Bank,           true,  kBankSection},
    {JournalKind::MeasurementSet, true,  kNoSection},
    {JournalKind::Etalon,         true,  kNoSection},
    {JournalKind::CatalogEntry,   false, kNoSection},
    {JournalKind::Job,            true,  kNoSection},
    {JournalKind::Run,            true,  kNoSection},
    {JournalKind::Phonogram,      true,  kNoSection},
    {JournalKind::Folder,         false, kNoSection},
};

// clang-format on

JournalItemSpec specOf(JournalKind kind, std::string name) {
    for (const KindTraits& traits : kKindTraits)
        if (traits.kind == kind) return {kind, std::move(name), traits.renamable, traits.section};
    return {kind, std::move(name), false, kNoSection};
}

double megahertz(uint32_t frequency) {
    return frequency / 10000.0;
}

// A mode letter as a row shows it; a record without one shows a blank, not a text cut short.
// Records hold the letter as its code page byte.
std::string letter(char modulation) {
    return modulation != '\0' ? Cp1251ToUtf8(std::string_view(&modulation, 1)) : " ";
}

// Rows of a range or a fixed frequency; with its own item, the journal items each one takes.
constexpr std::size_t kSpanItems = 7;

template <class R>
void addSpanRows(ItemStore& store, JournalItem* item, const R& record) {
    store.AddPropertyRow(FormatText("Fн=%9.4f МГц", megahertz(record.StartFrequency)), item);
    store.AddPropertyRow(FormatText("Fк=%9.4f МГц", megahertz(record.EndFrequency)), item);
    store.AddPropertyRow(FormatText("Шаг=%5.1f КГц", record.Step / 10.0), item);
    store.AddPropertyRow(FormatText("Модуляция=%s", letter(record.Modulation).c_str()), item);
    store.AddPropertyRow("Дата=" + record.Date, item);
    store.AddPropertyRow("Время=" + record.Time, item);
}

// Inserts a record's item, keeping the record with the caller when that fails.
template <class R>
JournalItem* insertRecord(Journal& journal, JournalItem* parent, JournalPlace place,
                          JournalKind kind, const std::string& name, std::unique_ptr<R>& record) {
    if (!record) return nullptr;
    return journal.Insert(parent, place, specOf(kind, name), std::move(record));
}

}  // namespace

ItemStore::ItemStore(FDX& fdx, Journal& journal, ItemStoreHost& host)
    : fdx_(fdx), journal_(journal), host_(host) {}

// ---- building

JournalItem* ItemStore::AddPropertyRow(const std::string& text, JournalItem* item) {
    return journal_.Insert(item, JournalPlace::Last(), specOf(JournalKind::Row, text));
}

namespace {

// After the last span item of the folder that starts below `start`: ahead of those starting
// where it starts. The folder's spans ascend by start frequency, as this is the only way one
// comes in and a stored span keeps its start, so the place is found by halving.
template <class R>
JournalPlace afterSpansBelow(const JournalItem* folder, JournalKind kind, uint32_t start) {
    if (folder == nullptr) return JournalPlace::First();
    const auto& spans = folder->Children();
    const auto above = std::partition_point(spans.begin(), spans.end(), [&](const auto& child) {
        const R* span = child->template As<R>();
        return child->Is(kind) && span != nullptr && span->StartFrequency < start;
    });
    return JournalPlace::After(above == spans.begin() ? nullptr : std::prev(above)->get());
}

}  // namespace

JournalPlace ItemStore::FindSortedInsertPos(uint32_t start) const {
    return afterSpansBelow<UserDp>(RangeFolder, JournalKind::Range, start);
}

JournalPlace ItemStore::FindFixedInsertPos(uint32_t start) const {
    return afterSpansBelow<UserSc>(FixedFolder, JournalKind::Fixed, start);
}

JournalItem* ItemStore::AddRangeItem(std::unique_ptr<UserDp>&& range) {
    if (!range) return nullptr;
    const std::string name = range->Identifier;
    JournalItem* item =
        insertRecord(journal_, RangeFolder, FindSortedInsertPos(range->StartFrequency),
                     JournalKind::Range, name, range);
    if (item != nullptr) addSpanRows(*this, item, *item->As<UserDp>());
    return item;
}

JournalItem* ItemStore::AddFixedFrequencyItem(std::unique_ptr<UserSc>&& scale) {
    if (!scale) return nullptr;
    const std::string name = scale->Identifier;
    JournalItem* item =
        insertRecord(journal_, FixedFolder, FindFixedInsertPos(scale->StartFrequency),
                     JournalKind::Fixed, name, scale);
    if (item != nullptr) addSpanRows(*this, item, *item->As<UserSc>());
    return item;
}

JournalItem* ItemStore::AddBankItem(std::unique_ptr<UserFreq>&& bank, JournalPlace place) {
    if (!bank) return nullptr;
    const std::string name = bank->Identifier;
    JournalItem* item = insertRecord(journal_, BankFolder, place, JournalKind::Bank, name, bank);
    if (item == nullptr) return nullptr;
    const UserFreq& stored = *item->As<UserFreq>();
    AddPropertyRow("Дата=" + stored.Date, item);
    AddPropertyRow("Время=" + stored.Time, item);
    for (const Mt& channel : stored.Channels)
        AddPropertyRow(FormatText("%9.4f %s %c %s", megahertz(channel.Frequency),
                                  letter(channel.Modulation).c_str(),
                                  channel.Attenuator ? '+' : '-', channel.Identifier.c_str()),
                       item);
    return item;
}

JournalItem* ItemStore::FindRangeItem(const std::string& name) const {
    if (RangeFolder == nullptr) return nullptr;
    for (auto key : {&UserDp::Identifier, &UserDp::FolderName})
        for (const auto& child : RangeFolder->Children())
            if (const UserDp* range = child->As<UserDp>();
                child->Is(JournalKind::Range) && range != nullptr && range->*key == name)
                return child.get();
    return nullptr;
}

ItemStore::RangeIndex::RangeIndex(const JournalItem* rangeFolder) {
    if (rangeFolder == nullptr) return;
    for (const auto& child : rangeFolder->Children()) {
        const UserDp* range = child->As<UserDp>();
        if (!child->Is(JournalKind::Range) || range == nullptr) continue;
        // The first of the journal's ranges under a name is the one FindRangeItem finds.
        byIdentifier_.try_emplace(range->Identifier, child.get());
        byFolder_.try_emplace(range->FolderName, child.get());
    }
}

JournalItem* ItemStore::RangeIndex::Find(const std::string& name) const {
    if (const auto found = byIdentifier_.find(name); found != byIdentifier_.end())
        return found->second;
    const auto found = byFolder_.find(name);
    return found != byFolder_.end() ? found->second : nullptr;
}

JournalItem* ItemStore::AddGroupItem(std::unique_ptr<UserGrp>&& group, JournalPlace place) {
    return AddGroupItem(std::move(group), place, RangeIndex(RangeFolder));
}

JournalItem* ItemStore::AddGroupItem(std::unique_ptr<UserGrp>&& group, JournalPlace place,
                                     const RangeIndex& ranges) {
    if (!group) return nullptr;
    const std::string name = group->Identifier;
    JournalItem* item = insertRecord(journal_, GroupFolder, place, JournalKind::Group, name, group);
    if (item == nullptr) return nullptr;
    UserGrp& stored = *item->As<UserGrp>();
    AddPropertyRow("Дата=" + stored.Date, item);
    AddPropertyRow("Время=" + stored.Time, item);
    // A range deleted since the group was made has no row; loading the group reports it.
    for (const std::string& name : stored.Ranges) {
        const JournalItem* rangeItem = ranges.Find(name);
        if (rangeItem == nullptr) continue;
        const UserDp& range = *rangeItem->As<UserDp>();
        AddPropertyRow(FormatText("%s-%5.1f ... %5.1f", letter(range.Modulation).c_str(),
                                  megahertz(range.StartFrequency), megahertz(range.EndFrequency)),
                       item);
    }
    return item;
}

JournalItem* ItemStore::AddPhonogramItem(std::unique_ptr<UserFono>&& phonogram,
                                         JournalPlace place) {
    if (!phonogram) return nullptr;
    const std::string name = phonogram->Identifier;
    JournalItem* item =
        insertRecord(journal_, PhonogramFolder, place, JournalKind::Phonogram, name, phonogram);
    if (item == nullptr) return nullptr;
    AddPropertyRow("Дата=" + item->As<UserFono>()->Date, item);
    AddPropertyRow("Время=" + item->As<UserFono>()->Time, item);
    return item;
}

JournalItem* ItemStore::AddMeasurementItem(JournalItem* bankItem, std::unique_ptr<Meg>&& set,
                                           JournalPlace place) {
    if (!set) return nullptr;
    const std::string name = set->Identifier;
    JournalItem* item =
        insertRecord(journal_, bankItem, place, JournalKind::MeasurementSet, name, set);
    if (item == nullptr) return nullptr;
    AddPropertyRow("c " + MomentText(item->As<Meg>()->Start), item);
    AddPropertyRow("по " + MomentText(item->As<Meg>()->End), item);
    return item;
}

JournalItem* ItemStore::AddEtalonItem(JournalItem* rangeItem, std::unique_ptr<Etl>&& etalon,
                                      JournalPlace place) {
    if (!etalon) return nullptr;
    const std::string name = etalon->Identifier;
    JournalItem* item = insertRecord(journal_, rangeItem, place, JournalKind::Etalon, name, etalon);
    if (item == nullptr) return nullptr;
    const Etl& stored = *item->As<Etl>();
    AddPropertyRow("Дата=" + stored.Date, item);
    AddPropertyRow("Время=" + stored.Time, item);
    AddPropertyRow(FormatText("Кол-во циклов=%u", stored.CycleCount), item);
    return item;
}

JournalItem* ItemStore::AddJobItem(std::unique_ptr<UserJob>&& job, JournalPlace place) {
    if (!job) return nullptr;
    const std::string name = job->Identifier;
    JournalItem* item = insertRecord(journal_, JobFolder, place, JournalKind::Job, name, job);
    if (item == nullptr) return nullptr;
    const UserJob& stored = *item->As<UserJob>();
    AddPropertyRow("Дата=" + stored.Date, item);
    AddPropertyRow("Время=" + stored.Time, item);
    for (const JobStr& line : stored.Lines) AddPropertyRow(line.DCL, item);
    return item;
}

JournalItem* ItemStore::AddRunItem(JournalItem* jobItem, std::unique_ptr<Run>&& run,
                                   JournalPlace place) {
    if (!run) return nullptr;
    const std::string name = run->Identifier;
    JournalItem* item = insertRecord(journal_, jobItem, place, JournalKind::Run, name, run);
    if (item == nullptr) return nullptr;
    AddPropertyRow("c " + MomentText(item->As<Run>()->Start), item);
    AddPropertyRow("по " + MomentText(item->As<Run>()->End), item);
    return item;
}

JournalItem* ItemStore::AddCatalogEntry(JournalItem* parent, std::unique_ptr<JobDcl>&& entry) {
    if (!entry) return nullptr;
    const std::string name = entry->Name;
    return insertRecord(journal_, parent, JournalPlace::Last(), JournalKind::CatalogEntry, name,
                        entry);
}

// ---- start-up

namespace {

// A heading under the root; three of them hold default parameters.
JournalItem* addHeading(Journal& journal, JournalItem* root, const char* text) {
    return journal.Insert(root, JournalPlace::Last(),
                          {JournalKind::Folder, text, false, kNoSection});
}

template <class R>
JournalItem* addHeading(Journal& journal, JournalItem* root, const char* text, uint32_t section,
                        std::unique_ptr<R> record) {
    return journal.Insert(root, JournalPlace::Last(), {JournalKind::Folder, text, false, section},
                          std::move(record));
}

// The start-up reads all stored items of a kind first and puts them in the journal's order with
// one sort, so that each goes in at the end of its heading (or just ahead of the few it ties
// with): no search over the items there and no shifting of those after it, however many there
// are. A record that cannot be read is left out.

// A record kept in a folder of its own, with what is stored beside it: one listing of the
// folder finds both its file and the items under it.
template <class R>
struct StoredFolder {
    std::unique_ptr<R> record;
    std::vector<FolderEntry> files;
};

template <class R>
const R& recordOf(const std::unique_ptr<R>& record) {
    return *record;
}
template <class R>
const R& recordOf(const StoredFolder<R>& stored) {
    return *stored.record;
}

// The records among `files` stored as files ending with `extension`.
template <class R, class Read>
std::vector<std::unique_ptr<R>> readFiles(const std::vector<FolderEntry>& files,
                                          std::string_view extension, Read read) {
    std::vector<std::unique_ptr<R>> records;
    for (const FolderEntry& file : files) {
        if (file.isFolder || !HasExtension(file.name, extension)) continue;
        auto record = std::make_unique<R>();
        if (read(*record, file)) records.push_back(std::move(record));
    }
    return records;
}

// The records of `folder` stored as folders of their own; `read` gets the record's folder and
// its listing. The listings also sweep away what saves cut short left in these folders.
template <class R, class Read>
std::vector<StoredFolder<R>> readFolders(const std::string& folder, Read read) {
    std::vector<StoredFolder<R>> records;
    std::vector<FolderEntry> entries = ListFolder(folder);
    DropStaleTemporaries(entries);
    for (const FolderEntry& entry : entries) {
        if (!entry.isFolder) continue;
        StoredFolder<R> stored{std::make_unique<R>(), ListFolder(entry.path + "/")};
        DropStaleTemporaries(stored.files);
        if (read(*stored.record, entry, stored.files)) records.push_back(std::move(stored));
    }
    return records;
}

// A span goes after those starting below it and ahead of those starting where it starts:
// handed over by start, ties in the order read, each finds its place at the end of the heading
// or ahead of the spans it ties with, and the heading ends up as reading them one by one would
// leave it.
template <class T>
std::vector<T> byStart(std::vector<T> spans) {
    std::stable_sort(spans.begin(), spans.end(), [](const T& a, const T& b) {
        return recordOf(a).StartFrequency < recordOf(b).StartFrequency;
    });
    return spans;
}

// An item kept in alphabetical order goes after those that compare equal: sorted by name, ties
// in the order read, every item's place is the end of its heading.
template <class T>
std::vector<T> byName(std::vector<T> records) {
    std::stable_sort(records.begin(), records.end(), [](const T& a, const T& b) {
        return CompareJournalNames(recordOf(a).Identifier, recordOf(b).Identifier) < 0;
    });
    return records;
}

}  // namespace

void ItemStore::ReadFixedFrequencies() {
    auto scales = readFiles<UserSc>(ListFolder(fdx_.ProgramDir + "SCALE/"), ".cfg",
                                    [&](UserSc& scale, const FolderEntry& file) {
                                        scale.Name = Stem(file.name);
                                        scale.FilePath = file.path;
                                        return scale.ReadFile(fdx_, file.path);
                                    });
    journal_.Reserve(scales.size() * kSpanItems);
    for (auto& scale : byStart(std::move(scales))) AddFixedFrequencyItem(std::move(scale));
    CollectScaleItems();
}

void ItemStore::ReadPhonograms() {
    auto phonograms = readFiles<UserFono>(ListFolder(fdx_.ProgramDir + "FONO/"), ".cfg",
                                          [&](UserFono& phonogram, const FolderEntry& file) {
                                              phonogram.Name = Stem(file.name);
                                              phonogram.FilePath = file.path;
                                              return phonogram.ReadFile(fdx_, file.path);
                                          });
    for (auto& phonogram : byName(std::move(phonograms)))
        AddPhonogramItem(std::move(phonogram), JournalPlace::Last());
}

// Every folder of DP is a range, with its etalons beside its diap.cfg.
void ItemStore::ReadRanges() {
    auto ranges = readFolders<UserDp>(
        fdx_.ProgramDir + "DP/",
        [&](UserDp& range, const FolderEntry& folder, const std::vector<FolderEntry>& files) {
            range.FolderName = folder.name;
            range.FolderPath = folder.path + "/";
            range.FilePath = FindEntryIn(files, range.FolderPath, "diap.cfg");
            return range.ReadFile(fdx_, range.FilePath);
        });
    journal_.Reserve(ranges.size() * kSpanItems);
    for (auto& stored : byStart(std::move(ranges))) {
        JournalItem* item = AddRangeItem(std::move(stored.record));
        if (item == nullptr) continue;
        const std::string folder = item->As<UserDp>()->FolderPath;
        DropHeaderlessParts(stored.files, kEtalonArrayExtensions);
        auto etalons =
            readFiles<Etl>(stored.files, ".etl", [&](Etl& etalon, const FolderEntry& file) {
                etalon.Name = Stem(file.name);
                etalon.Folder = folder;
                etalon.HeaderPath = file.path;
                return etalon.ReadHeader(fdx_, file.path);
            });
        for (auto& etalon : byName(std::move(etalons)))
            AddEtalonItem(item, std::move(etalon), JournalPlace::Last());
    }
}

// Every folder of FREQ is a bank, with its measurement sets beside its freq.cfg.
void ItemStore::ReadBanks() {
    auto banks = readFolders<UserFreq>(
        fdx_.ProgramDir + "FREQ/",
        [&](UserFreq& bank, const FolderEntry& folder, const std::vector<FolderEntry>& files) {
            bank.FolderName = folder.name;
            bank.FilePath = FindEntryIn(files, folder.path + "/", "freq.cfg");
            return bank.ReadFile(fdx_, bank.FilePath);
        });
    for (auto& stored : byName(std::move(banks))) {
        JournalItem* item = AddBankItem(std::move(stored.record), JournalPlace::Last());
        if (item == nullptr) continue;
        DropHeaderlessParts(stored.files, kMeasurementSetParts);
        auto sets = readFiles<Meg>(stored.files, ".etl", [&](Meg& set, const FolderEntry& file) {
            set.Name = Stem(file.name);
            set.HeaderPath = file.path;
            return set.ReadHeader(fdx_, file.path);
        });
        for (auto& set : byName(std::move(sets)))
            AddMeasurementItem(item, std::move(set), JournalPlace::Last());
    }
}

// Every folder of JOB is a job, with its runs beside its job.cfg.
void ItemStore::ReadJobs() {
    auto jobs = readFolders<UserJob>(
        fdx_.ProgramDir + "JOB/",
        [&](UserJob& job, const FolderEntry& folder, const std::vector<FolderEntry>& files) {
            job.FolderName = folder.name;
            job.Directory = folder.path + "/";
            job.File = FindEntryIn(files, job.Directory, "job.cfg");
            if (!job.ReadFile(fdx_, job.File)) return false;
            if (folder.name == fdx_.AutoexecJob) fdx_.AutoexecJobName = job.Identifier;
            return true;
        });
    for (auto& stored : byName(std::move(jobs))) {
        JournalItem* item = AddJobItem(std::move(stored.record), JournalPlace::Last());
        if (item == nullptr) continue;
        auto runs = readFiles<Run>(stored.files, ".run", [&](Run& run, const FolderEntry& file) {
            run.File = file.path;
            return run.ReadFile(fdx_, file.path);
        });
        for (auto& run : byName(std::move(runs)))
            AddRunItem(item, std::move(run), JournalPlace::Last());
    }
    FindJobIndex({});
}

void ItemStore::ReadGroups() {
    auto groups = readFolders<UserGrp>(
        fdx_.ProgramDir + "GRP/",
        [&](UserGrp& group, const FolderEntry& folder, const std::vector<FolderEntry>& files) {
            group.FolderName = folder.name;
            group.FilePath = FindEntryIn(files, folder.path + "/", "grp.cfg");
            return group.ReadFile(fdx_, group.FilePath);
        });
    // Every group finds its ranges in one index of them, not by a walk over the ranges each.
    const RangeIndex ranges(RangeFolder);
    for (auto& stored : byName(std::move(groups)))
        AddGroupItem(std::move(stored.record), JournalPlace::Last(), ranges);
}

void ItemStore::BuildJournal(const std::function<void(uint32_t stage)>& enterStage) {
    const auto enter = [&](uint32_t stage) {
        if (enterStage) enterStage(stage);
    };
    journal_.SetSelectHandler([this](JournalItem* item) { OnJournalSelect(item); });
    RemoveStaleTemporaries(fdx_.ProgramDir, kFoldersNotListedByItem);

    enter(6);
    RootItem = journal_.Insert(nullptr, JournalPlace::Last(), specOf(JournalKind::Root, "ORVEL"));

    // The catalog of panel objects: the two fields with the values the operator used. The
    // other objects job lines can address are listed by BuildPanelCatalog.
    PanelFolder = addHeading(journal_, RootItem, "Панель");
    struct Field {
        const char* name;
        uint32_t object;
        bool frequency;
        JournalItem** item;
    };
    const Field fields[] = {{"Поле Частота-выбор", kFrequencyField, true, &FrequencyFieldEntry},
                            {"Поле Шаг-выбор", kStepField, false, &StepFieldEntry}};
    for (const Field& field : fields) {
        auto entry = std::make_unique<JobDcl>();
        entry->Name = field.name;
        entry->Panel = kMainPanel;
        entry->Object = field.object;
        entry->TakesValue = 1;
        entry->REQ = 1;
        (field.frequency ? entry->FREQ : entry->STEP) = 1;
        *field.item = AddCatalogEntry(PanelFolder, std::move(entry));
        for (const JobDcl& value :
             ReadHistoryEntries(fdx_, kMainPanel, field.object, field.frequency))
            AddCatalogEntry(*field.item, std::make_unique<JobDcl>(value));
    }

    enter(7);
    auto fixed = std::make_unique<UserSc>();
    fixed->Name = "ROOT";
    fixed->Identifier = "СПИСОК ПАРАМЕТРОВ ФИКСИРОВАННЫХ ЧАСТОТ";
    FixedFolder =
        addHeading(journal_, RootItem, "Фиксированные частоты", kFixedSection, std::move(fixed));

    enter(8);
    auto bank = std::make_unique<UserFreq>();
    const std::string bankDefaults = FindEntry(fdx_.ProgramDir + "FREQ/", "freq.cfg");
    if (!bank->ReadFile(fdx_, bankDefaults)) {
        *bank = UserFreq{};
        bank->Identifier = "Значения параметров банков по умолчанию ";
        bank->Interval = 60;
        bank->Poll = 5;
    }
    bank->FolderName = "ROOT";
    bank->FilePath = bankDefaults;
    DefaultBank = bank.get();
    BankFolder = addHeading(journal_, RootItem, "Банки", kBankSection, std::move(bank));

    enter(9);
    auto range = std::make_unique<UserDp>();
    const std::string rangeDefaults = FindEntry(fdx_.ProgramDir + "DP/", "diap.cfg");
    if (!range->ReadFile(fdx_, rangeDefaults)) {
        *range = UserDp{};
        range->Identifier = "Значения параметров диапазонов по умолчанию ";
        range->Cycles = 1;
    }
    range->FolderName = "ROOT";
    range->FolderPath = fdx_.ProgramDir + "DP/";
    range->FilePath = rangeDefaults;
    DefaultRange = range.get();
    RangeFolder = addHeading(journal_, RootItem, "Диапазоны", kRangeSection, std::move(range));

    GroupFolder = addHeading(journal_, RootItem, "Группы");
    JobFolder = addHeading(journal_, RootItem, "Задания");
    PhonogramFolder = addHeading(journal_, RootItem, "Фонограммы");

    // The stored items; a header that cannot be read leaves its item out. Groups come last:
    // they show the ranges they name.
    ReadFixedFrequencies();
    ReadPhonograms();
    ReadRanges();
    ReadBanks();
    ReadJobs();
    ReadGroups();
}

// The catalog of panel objects in the journal: every entry of the configured receiver's catalog
// under the heading "Панель", in the catalog's order.
void ItemStore::BuildPanelCatalog() {
    if (!journal_.Contains(PanelFolder)) return;
    const std::vector<CatalogListEntry> catalog = PanelCatalog(fdx_.ReceiverType);
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
        if (field != nullptr && journal_.Contains(*field)) {
            listed[i] = *field;
            continue;
        }

        listed[i] = AddCatalogEntry(parent, std::make_unique<JobDcl>(entry.dcl));
        if (field == nullptr || listed[i] == nullptr) continue;
        *field = listed[i];
        for (const JobDcl& value : ReadHistoryEntries(fdx_, kMainPanel, entry.dcl.Object,
                                                      entry.dcl.Object == kFrequencyField))
            AddCatalogEntry(listed[i], std::make_unique<JobDcl>(value));
    }
}

void ItemStore::ShowJournalRoot() {
    journal_.Select(RootItem);
    fdx_.InfoFileShown = fdx_.ProgramDir + "INFO/info.txt";
    host_.Post(StoreWindow::Info, PostRefreshDisplay);
}

void ItemStore::CloseJournal() {
    fdx_.ShownParameterPanel = 0;
    journal_.SetSelectHandler({});
    // Nothing may point into the journal once it is gone.
    for (Bank& slot : fdx_.ScanSlots) {
        slot.Range = nullptr;
        slot.EtalonRecord = nullptr;
    }
    SlotItems.fill(nullptr);
    fdx_.Jobs.clear();
    fdx_.Scales.clear();
    fdx_.Etalons.clear();
    fdx_.CurrentBank = nullptr;
    fdx_.MeasurementSet = nullptr;
    fdx_.EditJob = nullptr;
    fdx_.SelectedRange = nullptr;
    fdx_.SelectedBank = nullptr;
    fdx_.SelectedFixed = nullptr;
    fdx_.SelectedCatalogEntry = nullptr;
    DefaultBank = nullptr;
    DefaultRange = nullptr;
    RootItem = PanelFolder = FixedFolder = BankFolder = RangeFolder = nullptr;
    GroupFolder = JobFolder = PhonogramFolder = FrequencyFieldEntry = StepFieldEntry = nullptr;
    SelectedBankItem = EtalonParentItem = CurrentBankItem = EditJobItem = PhonogramItem = nullptr;
    journal_.Clear();
}

// ---- files

std::string ItemStore::BankFolderPath(const UserFreq& bank) const {
    return fdx_.ProgramDir + "FREQ/" + bank.FolderName + "/";
}

namespace {

bool makeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directory(path, error);
    return !error || std::filesystem::is_directory(path, error);
}

}  // namespace

bool ItemStore::WriteRangeFolder(UserDp& range) {
    const std::string folder = fdx_.ProgramDir + "DP/" + range.FolderName;
    makeFolder(folder);
    range.FolderPath = folder + "/";
    range.FilePath = range.FolderPath + "diap.cfg";
    return range.WriteFile();
}

bool ItemStore::WriteBankFolder(UserFreq& bank) {
    const std::string folder = fdx_.ProgramDir + "FREQ/" + bank.FolderName;
    makeFolder(folder);
    bank.FilePath = folder + "/freq.cfg";
    return bank.WriteFile();
}

bool ItemStore::WriteGroupFile(UserGrp& group) {
    const std::string folder = fdx_.ProgramDir + "GRP/" + group.FolderName;
    makeFolder(folder);
    group.FilePath = folder + "/grp.cfg";
    return group.WriteFile();
}

bool ItemStore::WriteHistoryFile(JournalItem* entry) {
    if (!journal_.Contains(entry) || !entry->Is(JournalKind::CatalogEntry)) return false;
    const JobDcl& field = *entry->As<JobDcl>();
    std::vector<uint32_t> values;
    for (const auto& child : entry->Children())
        if (child->Is(JournalKind::CatalogEntry)) values.push_back(child->As<JobDcl>()->Value);
    if (::WriteHistoryFile(HistoryFileName(fdx_.ProgramDir, field.Panel, field.Object), values))
        return true;
    fdx_.ShowError(23);
    return false;
}
