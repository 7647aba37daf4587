// The main window's journal: building it from the data folders, the items of every kind with
// their text rows, selecting, renaming and dropping onto it, and the lookups other parts of the
// program make over it.

#include <algorithm>
#include <filesystem>

#include "app/data_folder.h"
#include "app/format_text.h"
#include "app/orvel.h"
#include "state/cp1251.h"
#include "state/history.h"
#include "state/message_bus.h"
#include "state/moment.h"

namespace {

// The catalog entries of the main window's two fields that keep the values the operator used.
constexpr uint32_t kMainPanel = 10;
constexpr uint32_t kFrequencyField = 11;
constexpr uint32_t kStepField = 12;

// Fixed frequencies FDX::Scales lists at most.
constexpr std::size_t kMaxScales = 1000;
// Distinct frequencies and steps PrepareRangeSlots lists at most.
constexpr std::size_t kMaxSlotValues = 1000;

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

// The notes file shown for each heading, in the folder INFO.
struct HeadingNotes {
    const char* heading;
    const char* file;
};
constexpr HeadingNotes kHeadingNotes[] = {
    {"Диапазоны", "diapinfo.txt"},
    {"Банки", "freqinfo.txt"},
    {"Группы", "grpinfo.txt"},
    {"Задания", "jobinfo.txt"},
    {"Фонограммы", "fonoinfo.txt"},
    {"Фиксированные частоты", "scinfo.txt"},
    {"Панель", "paninfo.txt"},
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

// A text the stored files can hold as a value: a quote character would be taken for the start
// of a quoted stretch when the file is read back, "=" would end the value and a line end would
// end the line.
bool storableText(std::string_view text) {
    return text.find_first_of("\"'=\r\n") == std::string_view::npos;
}

// Rows of a range or a fixed frequency; with its own item, the journal items each one takes.
constexpr std::size_t kSpanItems = 7;

template <class R>
void addSpanRows(ORVEL& orvel, JournalItem* item, const R& record) {
    orvel.AddPropertyRow(FormatText("Fн=%9.4f МГц", megahertz(record.StartFrequency)), item);
    orvel.AddPropertyRow(FormatText("Fк=%9.4f МГц", megahertz(record.EndFrequency)), item);
    orvel.AddPropertyRow(FormatText("Шаг=%5.1f КГц", record.Step / 10.0), item);
    orvel.AddPropertyRow(FormatText("Модуляция=%s", letter(record.Modulation).c_str()), item);
    orvel.AddPropertyRow("Дата=" + record.Date, item);
    orvel.AddPropertyRow("Время=" + record.Time, item);
}

// Inserts a record's item, keeping the record with the caller when that fails.
template <class R>
JournalItem* insertRecord(Journal& journal, JournalItem* parent, JournalPlace place,
                          JournalKind kind, const std::string& name, std::unique_ptr<R>& record) {
    if (!record) return nullptr;
    return journal.Insert(parent, place, specOf(kind, name), std::move(record));
}

}  // namespace

// ---- building

JournalItem* ORVEL::AddPropertyRow(const std::string& text, JournalItem* item) {
    return journal.Insert(item, JournalPlace::Last(), specOf(JournalKind::Row, text));
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

JournalPlace ORVEL::FindSortedInsertPos(uint32_t start) const {
    return afterSpansBelow<UserDp>(RangeFolder, JournalKind::Range, start);
}

JournalPlace ORVEL::FindFixedInsertPos(uint32_t start) const {
    return afterSpansBelow<UserSc>(FixedFolder, JournalKind::Fixed, start);
}

JournalItem* ORVEL::AddRangeItem(std::unique_ptr<UserDp>&& range) {
    if (!range) return nullptr;
    const std::string name = range->Identifier;
    JournalItem* item =
        insertRecord(journal, RangeFolder, FindSortedInsertPos(range->StartFrequency),
                     JournalKind::Range, name, range);
    if (item != nullptr) addSpanRows(*this, item, *item->As<UserDp>());
    return item;
}

JournalItem* ORVEL::AddFixedFrequencyItem(std::unique_ptr<UserSc>&& scale) {
    if (!scale) return nullptr;
    const std::string name = scale->Identifier;
    JournalItem* item =
        insertRecord(journal, FixedFolder, FindFixedInsertPos(scale->StartFrequency),
                     JournalKind::Fixed, name, scale);
    if (item != nullptr) addSpanRows(*this, item, *item->As<UserSc>());
    return item;
}

JournalItem* ORVEL::AddBankItem(std::unique_ptr<UserFreq>&& bank, JournalPlace place) {
    if (!bank) return nullptr;
    const std::string name = bank->Identifier;
    JournalItem* item = insertRecord(journal, BankFolder, place, JournalKind::Bank, name, bank);
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

JournalItem* ORVEL::FindRangeItem(const std::string& folderName) const {
    if (RangeFolder == nullptr) return nullptr;
    for (const auto& child : RangeFolder->Children())
        if (const UserDp* range = child->As<UserDp>();
            child->Is(JournalKind::Range) && range != nullptr && range->FolderName == folderName)
            return child.get();
    return nullptr;
}

JournalItem* ORVEL::AddGroupItem(std::unique_ptr<UserGrp>&& group, JournalPlace place) {
    if (!group) return nullptr;
    const std::string name = group->Identifier;
    JournalItem* item = insertRecord(journal, GroupFolder, place, JournalKind::Group, name, group);
    if (item == nullptr) return nullptr;
    UserGrp& stored = *item->As<UserGrp>();
    AddPropertyRow("Дата=" + stored.Date, item);
    AddPropertyRow("Время=" + stored.Time, item);
    // A range deleted since the group was made leaves the group.
    std::erase_if(stored.Ranges, [&](const std::string& range) { return !FindRangeItem(range); });
    for (const std::string& name : stored.Ranges) {
        const UserDp& range = *FindRangeItem(name)->As<UserDp>();
        AddPropertyRow(FormatText("%s-%5.1f ... %5.1f", letter(range.Modulation).c_str(),
                                  megahertz(range.StartFrequency), megahertz(range.EndFrequency)),
                       item);
    }
    return item;
}

JournalItem* ORVEL::AddPhonogramItem(std::unique_ptr<UserFono>&& phonogram, JournalPlace place) {
    if (!phonogram) return nullptr;
    const std::string name = phonogram->Identifier;
    JournalItem* item =
        insertRecord(journal, PhonogramFolder, place, JournalKind::Phonogram, name, phonogram);
    if (item == nullptr) return nullptr;
    AddPropertyRow("Дата=" + item->As<UserFono>()->Date, item);
    AddPropertyRow("Время=" + item->As<UserFono>()->Time, item);
    return item;
}

JournalItem* ORVEL::AddMeasurementItem(JournalItem* bankItem, std::unique_ptr<Meg>&& set,
                                       JournalPlace place) {
    if (!set) return nullptr;
    const std::string name = set->Identifier;
    JournalItem* item =
        insertRecord(journal, bankItem, place, JournalKind::MeasurementSet, name, set);
    if (item == nullptr) return nullptr;
    AddPropertyRow("c " + MomentText(item->As<Meg>()->Start), item);
    AddPropertyRow("по " + MomentText(item->As<Meg>()->End), item);
    return item;
}

JournalItem* ORVEL::AddEtalonItem(JournalItem* rangeItem, std::unique_ptr<Etl>&& etalon,
                                  JournalPlace place) {
    if (!etalon) return nullptr;
    const std::string name = etalon->Identifier;
    JournalItem* item = insertRecord(journal, rangeItem, place, JournalKind::Etalon, name, etalon);
    if (item == nullptr) return nullptr;
    const Etl& stored = *item->As<Etl>();
    AddPropertyRow("Дата=" + stored.Date, item);
    AddPropertyRow("Время=" + stored.Time, item);
    AddPropertyRow(FormatText("Кол-во циклов=%u", stored.CycleCount), item);
    return item;
}

JournalItem* ORVEL::AddJobItem(std::unique_ptr<UserJob>&& job, JournalPlace place) {
    if (!job) return nullptr;
    const std::string name = job->Identifier;
    JournalItem* item = insertRecord(journal, JobFolder, place, JournalKind::Job, name, job);
    if (item == nullptr) return nullptr;
    const UserJob& stored = *item->As<UserJob>();
    AddPropertyRow("Дата=" + stored.Date, item);
    AddPropertyRow("Время=" + stored.Time, item);
    for (const JobStr& line : stored.Lines) AddPropertyRow(line.DCL, item);
    return item;
}

JournalItem* ORVEL::AddRunItem(JournalItem* jobItem, std::unique_ptr<Run>&& run,
                               JournalPlace place) {
    if (!run) return nullptr;
    const std::string name = run->Identifier;
    JournalItem* item = insertRecord(journal, jobItem, place, JournalKind::Run, name, run);
    if (item == nullptr) return nullptr;
    AddPropertyRow("c " + MomentText(item->As<Run>()->Start), item);
    AddPropertyRow("по " + MomentText(item->As<Run>()->End), item);
    return item;
}

JournalItem* ORVEL::AddCatalogEntry(JournalItem* parent, std::unique_ptr<JobDcl>&& entry) {
    if (!entry) return nullptr;
    const std::string name = entry->Name;
    return insertRecord(journal, parent, JournalPlace::Last(), JournalKind::CatalogEntry, name,
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
// its listing.
template <class R, class Read>
std::vector<StoredFolder<R>> readFolders(const std::string& folder, Read read) {
    std::vector<StoredFolder<R>> records;
    for (const FolderEntry& entry : ListFolder(folder)) {
        if (!entry.isFolder) continue;
        StoredFolder<R> stored{std::make_unique<R>(), ListFolder(entry.path + "/")};
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

void readFixedFrequencies(ORVEL& orvel) {
    auto scales = readFiles<UserSc>(ListFolder(orvel.ProgramDir + "SCALE/"), ".cfg",
                                    [&](UserSc& scale, const FolderEntry& file) {
                                        scale.Name = Stem(file.name);
                                        scale.FilePath = file.path;
                                        return scale.ReadFile(orvel, file.path);
                                    });
    orvel.journal.Reserve(scales.size() * kSpanItems);
    for (auto& scale : byStart(std::move(scales))) orvel.AddFixedFrequencyItem(std::move(scale));
    orvel.CollectScaleItems();
}

void readPhonograms(ORVEL& orvel) {
    auto phonograms = readFiles<UserFono>(ListFolder(orvel.ProgramDir + "FONO/"), ".cfg",
                                          [&](UserFono& phonogram, const FolderEntry& file) {
                                              phonogram.Name = Stem(file.name);
                                              phonogram.FilePath = file.path;
                                              return phonogram.ReadFile(orvel, file.path);
                                          });
    for (auto& phonogram : byName(std::move(phonograms)))
        orvel.AddPhonogramItem(std::move(phonogram), JournalPlace::Last());
}

// Every folder of DP is a range, with its etalons beside its diap.cfg.
void readRanges(ORVEL& orvel) {
    auto ranges = readFolders<UserDp>(
        orvel.ProgramDir + "DP/",
        [&](UserDp& range, const FolderEntry& folder, const std::vector<FolderEntry>& files) {
            range.FolderName = folder.name;
            range.FolderPath = folder.path + "/";
            range.FilePath = FindEntryIn(files, range.FolderPath, "diap.cfg");
            return range.ReadFile(orvel, range.FilePath);
        });
    orvel.journal.Reserve(ranges.size() * kSpanItems);
    for (auto& stored : byStart(std::move(ranges))) {
        JournalItem* item = orvel.AddRangeItem(std::move(stored.record));
        if (item == nullptr) continue;
        const std::string folder = item->As<UserDp>()->FolderPath;
        auto etalons =
            readFiles<Etl>(stored.files, ".etl", [&](Etl& etalon, const FolderEntry& file) {
                etalon.Name = Stem(file.name);
                etalon.Folder = folder;
                etalon.HeaderPath = file.path;
                return etalon.ReadHeader(orvel, file.path);
            });
        for (auto& etalon : byName(std::move(etalons)))
            orvel.AddEtalonItem(item, std::move(etalon), JournalPlace::Last());
    }
}

// Every folder of FREQ is a bank, with its measurement sets beside its freq.cfg.
void readBanks(ORVEL& orvel) {
    auto banks = readFolders<UserFreq>(
        orvel.ProgramDir + "FREQ/",
        [&](UserFreq& bank, const FolderEntry& folder, const std::vector<FolderEntry>& files) {
            bank.FolderName = folder.name;
            bank.FilePath = FindEntryIn(files, folder.path + "/", "freq.cfg");
            return bank.ReadFile(orvel, bank.FilePath);
        });
    for (auto& stored : byName(std::move(banks))) {
        JournalItem* item = orvel.AddBankItem(std::move(stored.record), JournalPlace::Last());
        if (item == nullptr) continue;
        auto sets = readFiles<Meg>(stored.files, ".etl", [&](Meg& set, const FolderEntry& file) {
            set.Name = Stem(file.name);
            set.HeaderPath = file.path;
            return set.ReadHeader(orvel, file.path);
        });
        for (auto& set : byName(std::move(sets)))
            orvel.AddMeasurementItem(item, std::move(set), JournalPlace::Last());
    }
}

// Every folder of JOB is a job, with its runs beside its job.cfg.
void readJobs(ORVEL& orvel) {
    auto jobs = readFolders<UserJob>(
        orvel.ProgramDir + "JOB/",
        [&](UserJob& job, const FolderEntry& folder, const std::vector<FolderEntry>& files) {
            job.FolderName = folder.name;
            job.Directory = folder.path + "/";
            job.File = FindEntryIn(files, job.Directory, "job.cfg");
            if (!job.ReadFile(orvel, job.File)) return false;
            if (folder.name == orvel.AutoexecJob) orvel.AutoexecJobName = job.Identifier;
            return true;
        });
    for (auto& stored : byName(std::move(jobs))) {
        JournalItem* item = orvel.AddJobItem(std::move(stored.record), JournalPlace::Last());
        if (item == nullptr) continue;
        auto runs = readFiles<Run>(stored.files, ".run", [&](Run& run, const FolderEntry& file) {
            run.File = file.path;
            return run.ReadFile(orvel, file.path);
        });
        for (auto& run : byName(std::move(runs)))
            orvel.AddRunItem(item, std::move(run), JournalPlace::Last());
    }
    orvel.FindJobIndex({});
}

void readGroups(ORVEL& orvel) {
    auto groups = readFolders<UserGrp>(
        orvel.ProgramDir + "GRP/",
        [&](UserGrp& group, const FolderEntry& folder, const std::vector<FolderEntry>& files) {
            group.FolderName = folder.name;
            group.FilePath = FindEntryIn(files, folder.path + "/", "grp.cfg");
            return group.ReadFile(orvel, group.FilePath);
        });
    for (auto& stored : byName(std::move(groups)))
        orvel.AddGroupItem(std::move(stored.record), JournalPlace::Last());
}

}  // namespace

void ORVEL::BuildJournal() {
    journal.SetSelectHandler([this](JournalItem* item) { OnJournalSelect(item); });

    EnterStage(6);
    RootItem = journal.Insert(nullptr, JournalPlace::Last(), specOf(JournalKind::Root, "ORVEL"));

    // The catalog of panel objects: the two fields with the values the operator used. The
    // other objects job lines can address are listed with the job executor.
    PanelFolder = addHeading(journal, RootItem, "Панель");
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
             ReadHistoryEntries(*this, kMainPanel, field.object, field.frequency))
            AddCatalogEntry(*field.item, std::make_unique<JobDcl>(value));
    }

    EnterStage(7);
    auto fixed = std::make_unique<UserSc>();
    fixed->Name = "ROOT";
    fixed->Identifier = "СПИСОК ПАРАМЕТРОВ ФИКСИРОВАННЫХ ЧАСТОТ";
    FixedFolder =
        addHeading(journal, RootItem, "Фиксированные частоты", kFixedSection, std::move(fixed));

    EnterStage(8);
    auto bank = std::make_unique<UserFreq>();
    const std::string bankDefaults = FindEntry(ProgramDir + "FREQ/", "freq.cfg");
    if (!bank->ReadFile(*this, bankDefaults)) {
        *bank = UserFreq{};
        bank->Identifier = "Значения параметров банков по умолчанию ";
        bank->Interval = 60;
        bank->Poll = 5;
    }
    bank->FolderName = "ROOT";
    bank->FilePath = bankDefaults;
    DefaultBank = bank.get();
    BankFolder = addHeading(journal, RootItem, "Банки", kBankSection, std::move(bank));

    EnterStage(9);
    auto range = std::make_unique<UserDp>();
    const std::string rangeDefaults = FindEntry(ProgramDir + "DP/", "diap.cfg");
    if (!range->ReadFile(*this, rangeDefaults)) {
        *range = UserDp{};
        range->Identifier = "Значения параметров диапазонов по умолчанию ";
        range->Cycles = 1;
    }
    range->FolderName = "ROOT";
    range->FolderPath = ProgramDir + "DP/";
    range->FilePath = rangeDefaults;
    DefaultRange = range.get();
    RangeFolder = addHeading(journal, RootItem, "Диапазоны", kRangeSection, std::move(range));

    GroupFolder = addHeading(journal, RootItem, "Группы");
    JobFolder = addHeading(journal, RootItem, "Задания");
    PhonogramFolder = addHeading(journal, RootItem, "Фонограммы");

    // The stored items; a header that cannot be read leaves its item out. Groups come last:
    // they show the ranges they name.
    readFixedFrequencies(*this);
    readPhonograms(*this);
    readRanges(*this);
    readBanks(*this);
    readJobs(*this);
    readGroups(*this);

    // The tree control shows the whole journal at once, rather than being told of every item.
    journalTree = std::make_unique<JournalTree>(journal, *op);
    journal.SetView(journalTree.get());
    journal.Expand(RootItem);
    journal.Select(RootItem);
}

void ORVEL::ShowJournalRoot() {
    journal.Select(RootItem);
    InfoFileShown = ProgramDir + "INFO/info.txt";
    PostPrivateMessage(subWindows.info, PostRefreshDisplay);
}

void ORVEL::CloseJournal() {
    if (pages[7] && tabctrl_1 != nullptr && tabctrl_1->Page(7) != pages[7].get())
        tabctrl_1->SetPage(7, pages[7].get());
    ShownParameterPanel = 0;
    journal.SetSelectHandler({});
    journal.SetView(nullptr);
    if (op != nullptr) op->Clear();
    journalTree.reset();
    // Nothing may point into the journal once it is gone.
    for (Bank& slot : ScanSlots) {
        slot.Range = nullptr;
        slot.EtalonRecord = nullptr;
    }
    SlotItems.fill(nullptr);
    Jobs.clear();
    Scales.clear();
    Etalons.clear();
    CurrentBank = nullptr;
    MeasurementSet = nullptr;
    EditJob = nullptr;
    SelectedRange = nullptr;
    SelectedBank = nullptr;
    SelectedFixed = nullptr;
    SelectedCatalogEntry = nullptr;
    DefaultBank = nullptr;
    DefaultRange = nullptr;
    RootItem = PanelFolder = FixedFolder = BankFolder = RangeFolder = nullptr;
    GroupFolder = JobFolder = PhonogramFolder = FrequencyFieldEntry = StepFieldEntry = nullptr;
    SelectedBankItem = EtalonParentItem = CurrentBankItem = EditJobItem = PhonogramItem = nullptr;
    journal.Clear();
}

// ---- files

std::string ORVEL::BankFolderPath(const UserFreq& bank) const {
    return ProgramDir + "FREQ/" + bank.FolderName + "/";
}

namespace {

bool makeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directory(path, error);
    return !error || std::filesystem::is_directory(path, error);
}

}  // namespace

bool ORVEL::WriteRangeFolder(UserDp& range) {
    const std::string folder = ProgramDir + "DP/" + range.FolderName;
    makeFolder(folder);
    range.FolderPath = folder + "/";
    range.FilePath = range.FolderPath + "diap.cfg";
    return range.WriteFile();
}

bool ORVEL::WriteBankFolder(UserFreq& bank) {
    const std::string folder = ProgramDir + "FREQ/" + bank.FolderName;
    makeFolder(folder);
    bank.FilePath = folder + "/freq.cfg";
    return bank.WriteFile();
}

bool ORVEL::WriteGroupFile(UserGrp& group) {
    const std::string folder = ProgramDir + "GRP/" + group.FolderName;
    makeFolder(folder);
    group.FilePath = folder + "/grp.cfg";
    return group.WriteFile();
}

bool ORVEL::WriteHistoryFile(JournalItem* entry) {
    if (!journal.Contains(entry) || !entry->Is(JournalKind::CatalogEntry)) return false;
    const JobDcl& field = *entry->As<JobDcl>();
    std::vector<uint32_t> values;
    for (const auto& child : entry->Children())
        if (child->Is(JournalKind::CatalogEntry)) values.push_back(child->As<JobDcl>()->Value);
    if (::WriteHistoryFile(HistoryFileName(ProgramDir, field.Panel, field.Object), values))
        return true;
    ShowError(23);
    return false;
}

// ---- journal events

void ORVEL::OnJournalSelect(JournalItem* item) {
    if (item == nullptr) return;
    SelectedSection = item->Section;
    switch (item->Section) {
        case kBankSection:
            SelectedBank = item->As<UserFreq>();
            SelectedBankItem = item;
            break;
        case kRangeSection:
            SelectedRange = item->As<UserDp>();
            EtalonParentItem = item;
            break;
        case kFixedSection:
            SelectedFixed = item->As<UserSc>();
            break;
        default:
            break;
    }
    if (WorkMode == 7) ShowParameterPanel();

    InfoGeneral = 0;
    InfoRowSelected = 0;
    switch (item->Kind) {
        case JournalKind::Row:
            InfoGeneral = 1;
            InfoRowSelected = 1;
            break;
        case JournalKind::Root:
            InfoFileShown = ProgramDir + "INFO/info.txt";
            break;
        case JournalKind::Fixed:
            InfoFileShown = ProgramDir + "SCALE/" + item->As<UserSc>()->Name + ".txt";
            break;
        case JournalKind::Range:
            InfoFileShown = item->As<UserDp>()->FolderPath + "info.txt";
            break;
        case JournalKind::Group:
            InfoFileShown = ProgramDir + "GRP/" + item->As<UserGrp>()->FolderName + "/info.txt";
            break;
        case JournalKind::Bank:
            InfoFileShown = BankFolderPath(*item->As<UserFreq>()) + "info.txt";
            break;
        case JournalKind::MeasurementSet:
            if (const UserFreq* bank = item->Parent()->As<UserFreq>())
                InfoFileShown = BankFolderPath(*bank) + item->As<Meg>()->Name + ".txt";
            break;
        case JournalKind::Etalon:
            InfoFileShown = item->As<Etl>()->Folder + item->As<Etl>()->Name + ".txt";
            break;
        case JournalKind::CatalogEntry: {
            const JobDcl& entry = *item->As<JobDcl>();
            InfoFileShown =
                FormatText("%sINFO/%u_%u.txt", ProgramDir.c_str(), entry.Panel, entry.Object);
            InfoGeneral = 1;
            break;
        }
        case JournalKind::Job:
            InfoFileShown = item->As<UserJob>()->Directory + "info.txt";
            break;
        case JournalKind::Phonogram:
            InfoFileShown = ProgramDir + "FONO/" + item->As<UserFono>()->Name + ".txt";
            break;
        case JournalKind::Folder:
            for (const HeadingNotes& notes : kHeadingNotes)
                if (item->Name == notes.heading) InfoFileShown = ProgramDir + "INFO/" + notes.file;
            InfoGeneral = 1;
            break;
        default:
            break;
    }
    PostPrivateMessage(subWindows.info, PostRefreshDisplay);
}

bool ORVEL::MayRenameJournalItem(const JournalItem* item) const {
    return journal.Contains(item) && item->Renamable;
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

void ORVEL::RenameJournalItem(JournalItem* item, const std::string& text) {
    if (!journal.Contains(item)) return;
    // The label goes back to the item's name when the new one is refused.
    if (!item->Renamable || text.empty() || !storableText(text)) {
        journal.SetName(item, item->Name);
        return;
    }
    if (text == item->Name) return;
    bool written = false;
    switch (item->Kind) {
        case JournalKind::Fixed:
            written =
                renameRecord(item->As<UserSc>(), text, [](UserSc& r) { return r.WriteHeader(); });
            break;
        case JournalKind::Range:
            written =
                renameRecord(item->As<UserDp>(), text, [](UserDp& r) { return r.WriteFile(); });
            break;
        case JournalKind::Group:
            written = renameRecord(item->As<UserGrp>(), text,
                                   [this](UserGrp& r) { return WriteGroupFile(r); });
            break;
        case JournalKind::Bank: {
            UserFreq* bank = item->As<UserFreq>();
            const bool working = bank != nullptr && bank == CurrentBank && BankName == item->Name;
            written = renameRecord(bank, text, [](UserFreq& r) { return r.WriteFile(); });
            // The working bank is known by its name: it keeps being the working bank.
            if (written && working) BankName = text;
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
            const bool edited = job != nullptr && job == EditJob && EditJobName == item->Name;
            written = renameRecord(job, text, [](UserJob& r) { return r.WriteFile(); });
            if (written && edited) EditJobName = text;
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
    journal.SetName(item, written ? text : item->Name);
}

void ORVEL::DropOnJournal(const std::string& dragText) {
    JournalItem* field = nullptr;
    uint32_t value = 0;
    bool frequency = false;
    if (dragText == "MAIN_FREQ") {
        field = FrequencyFieldEntry;
        value = Frequency;
        frequency = true;
    } else if (dragText == "MAIN_STEP") {
        field = StepFieldEntry;
        value = Step;
    }
    if (!journal.Contains(field)) return;
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
        journal.Expand(field);
        journal.Select(entry);
    }
    WriteHistoryFile(field);
}

// ---- lookups

void ORVEL::CollectScaleItems() {
    Scales.clear();
    if (FixedFolder == nullptr) return;
    for (const auto& child : FixedFolder->Children()) {
        if (Scales.size() >= kMaxScales) break;
        if (UserSc* scale = child->As<UserSc>(); child->Is(JournalKind::Fixed) && scale != nullptr)
            Scales.push_back(scale);
    }
}

void ORVEL::ShowScaleName() {
    if (statusBar == nullptr) return;
    statusBar->SetPartText(7, "");
    if (!PendingStatusText.empty()) {
        statusBar->SetPartText(7, PendingStatusText);
        PendingStatusText.clear();
        return;
    }
    // The list is in ascending order of start frequency, as the journal keeps it.
    for (const UserSc* scale : Scales) {
        if (scale->StartFrequency > Frequency) break;
        if (Frequency <= scale->EndFrequency) {
            statusBar->SetPartText(7, scale->Identifier);
            break;
        }
    }
}

void ORVEL::SelectScaleOfFrequency() {
    if (FixedFolder == nullptr) return;
    for (const auto& child : FixedFolder->Children()) {
        const UserSc* scale = child->As<UserSc>();
        if (child->Is(JournalKind::Fixed) && scale != nullptr &&
            scale->StartFrequency <= Frequency && Frequency <= scale->EndFrequency) {
            journal.Select(child.get());
            return;
        }
    }
}

int32_t ORVEL::FindJobIndex(const std::string& folderName) {
    Jobs.clear();
    int32_t found = 0;
    if (JobFolder == nullptr) return 0;
    for (const auto& child : JobFolder->Children()) {
        UserJob* job = child->As<UserJob>();
        if (!child->Is(JournalKind::Job) || job == nullptr) continue;
        Jobs.push_back(job);
        if (job->FolderName == folderName) found = int32_t(Jobs.size());
    }
    return found;
}

JournalItem* ORVEL::FindSlotRangeItem() const {
    if (RangeFolder == nullptr || SlotIndex < 0 || size_t(SlotIndex) >= ScanSlots.size())
        return nullptr;
    const Bank& slot = ScanSlots[size_t(SlotIndex)];
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

void ORVEL::ShowParameterPanel() {
    if (tabctrl_1 == nullptr) return;
    const auto panelOf = [this](uint32_t section) -> ui::Form* {
        switch (section) {
            case kRootSection:
                return settings.get();
            case kBankSection:
                return subWindows.pfreq;
            case kRangeSection:
                return subWindows.pdiap;
            case kFixedSection:
                return subWindows.base;
            default:
                return nullptr;
        }
    };
    if (ShownParameterPanel != int32_t(SelectedSection)) {
        if (SelectedSection == kRootSection) AutoexecIndex = FindJobIndex(AutoexecJob);
        // A section whose panel is not there shows the page's own form, which says that the
        // item has no parameters.
        ui::Form* panel = panelOf(SelectedSection);
        if (panel == nullptr) panel = pages[7].get();
        if (panel != nullptr && tabctrl_1->Page(7) != panel) {
            tabctrl_1->SetPage(7, panel);
            panel->Show();
        }
        ShownParameterPanel = int32_t(SelectedSection);
    }
    switch (ShownParameterPanel) {
        case kRootSection:
            PostPrivateMessage(settings.get(), PostRefreshDisplay);
            break;
        case kBankSection:
            PostPrivateMessage(subWindows.pfreq, PostRefreshDisplay);
            break;
        case kRangeSection:
            Etalons.clear();
            EtalonIndex = 0;
            if (SelectedRange != nullptr && SelectedRange->FolderName != "ROOT" &&
                journal.Contains(EtalonParentItem)) {
                for (const auto& child : EtalonParentItem->Children()) {
                    Etl* etalon = child->As<Etl>();
                    if (!child->Is(JournalKind::Etalon) || etalon == nullptr) continue;
                    Etalons.push_back(etalon);
                    if (etalon->Name == SelectedRange->Etalon)
                        EtalonIndex = int32_t(Etalons.size());
                }
            }
            PostPrivateMessage(subWindows.pdiap, PostRefreshDisplay);
            break;
        case kFixedSection:
            PostPrivateMessage(subWindows.base, PostRefreshDisplay);
            break;
        default:
            break;
    }
}

void ORVEL::PrepareRangeSlots() {
    SlotFrequencies.clear();
    SlotSteps.clear();
    if (RangeFolder != nullptr) {
        for (const auto& child : RangeFolder->Children()) {
            const UserDp* range = child->As<UserDp>();
            if (!child->Is(JournalKind::Range) || range == nullptr) continue;
            addDistinct(SlotFrequencies, range->StartFrequency);
            addDistinct(SlotFrequencies, range->EndFrequency);
            addDistinct(SlotSteps, range->Step);
        }
    }
    if (SlotIndex < 0 || size_t(SlotIndex) >= ScanSlots.size()) return;
    Bank& slot = ScanSlots[size_t(SlotIndex)];
    if (!slot.InUse) {
        slot.Start = RangeStart;
        slot.End = RangeEnd;
        slot.Step = Step;
        slot.Bandwidth = uint32_t(ModeValue);
        if (SelectionStart >= 0 && SelectionEnd >= 0) {
            slot.Start = uint32_t(SelectionStart);
            slot.End = uint32_t(SelectionEnd);
        }
    } else if (JobRunning && slot.Flag4 &&
               !Confirm("Результаты предыдущего сканирования будут утеряны.Подтверждаете?")) {
        return;
    }
    PostPrivateMessage(subWindows.diap, PostReloadView);
}
