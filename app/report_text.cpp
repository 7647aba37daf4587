#include "app/report_text.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "app/format_text.h"
#include "receivers/panel_registry.h"
#include "state/scan_pause.h"
#include "state/text_file.h"

namespace {

// Catalogs nest only so deep; a folder listing goes no deeper than this many levels.
constexpr int kMaxFolderDepth = 20;

// The band scope of the receiver's page: a page with one has a report of its own.
BandScope ScopeOf(const FDX& fdx) {
    return panel_registry::Traits(fdx.ReceiverType).bandScope;
}

// The curve kinds by name, as the range page's report names the two curves shown.
constexpr std::array<const char*, 6> kCurveNames = {
    "текущие значения",      "минимальные значения", "усредненные значения",
    "максимальные значения", "эталонные значения",   "результат обработки",
};

// Panel names of job lines, by TAB; a panel without a name (8, or one the program does not
// know) shows an empty cell.
constexpr std::array<const char*, 11> kJobPanelNames = {
    "Приемник", "Банк",      "Диапазоны", "Группа", "Задание", "Текст",
    "Сигнал",   "Параметры", "",          "Журнал", "Главная",
};

constexpr std::array<const char*, 9> kProcessingTexts = {
    nullptr,
    "Обработка \t разница (мин - эталон)",
    "Обработка \t разница (средн - эталон)",
    "Обработка \t разница (макс - эталон)",
    "Обработка \t разница (эталон - мин)",
    "Обработка \t разница (эталон - средн)",
    "Обработка \t разница (эталон - макс)",
    "Обработка \t разница (макс - мин)",
    "Обработка \t разница (средн - мин)",
};

// What a scan does when it meets a signal, by its waiting code (a range knows codes 1..4, a
// bank 1 and 2; any other code waits), and how it goes on, by its condition.
constexpr std::array<const char*, 5> kRangeActions = {"Ожидание", "Вып.задание ", "Звуковой сигнал",
                                                      "Запись частоты в банк",
                                                      "Отметка частоты маркером"};
constexpr std::array<const char*, 3> kBankActions = {"Ожидание", "Вып.задание ", "Звуковой сигнал"};
constexpr std::array<const char*, 3> kContinueTexts = {"по истечению времени", nullptr,
                                                       "только по кнопке РЕЖИМ"};

// Day, month, year, hour, minute, second of a measurement moment.
enum { kDay, kMonth, kYear, kHour, kMinute, kSecond };

ReportColumns Table(std::initializer_list<int32_t> widths) {
    ReportColumns columns;
    columns.table = 1;
    columns.count = int32_t(widths.size());
    std::copy(widths.begin(), widths.end(), columns.widths.begin());
    return columns;
}

double MHz(uint32_t frequency) {
    return frequency / 10000.0;
}

double KHz(uint32_t step) {
    return step / 10.0;
}

unsigned U(int64_t value) {
    return unsigned(std::clamp<int64_t>(value, 0, UINT32_MAX));
}

template <class Moment>
std::string DateOf(const Moment& t) {
    return FormatText("%02u/%02u/%04u", U(t[kDay]), U(t[kMonth]), U(t[kYear]));
}

template <class Moment>
std::string TimeOf(const Moment& t) {
    return FormatText("%02u:%02u:%02u", U(t[kHour]), U(t[kMinute]), U(t[kSecond]));
}

const char* CurveName(int32_t kind) {
    return kind >= 0 && std::size_t(kind) < kCurveNames.size() ? kCurveNames[std::size_t(kind)]
                                                               : "";
}

// ---- the tab page

void ReceiverLines(const FDX& fdx, const ReportMoment& moment, std::vector<std::string>& out) {
    out.push_back(FormatText("Частота \t %10.4f", MHz(fdx.Frequency)));
    out.push_back(FormatText("Модуляция \t %c ", fdx.Modulation));
    out.push_back(FormatText("Ширина полосы \t %4.1f", (fdx.ScopeSpan / 2) / 10.0));
    out.push_back(FormatText(ScopeOf(fdx) == BandScope::Equaliser ? "Шаг эквалайзера \t %4.1f"
                                                                  : "Шаг анализатора \t %4.1f",
                             KHz(fdx.ScopeStep)));
    out.push_back("Дата \t " + moment.date + " ");
    out.push_back("Время \t " + moment.time + " ");
}

// The series ends with its last measurement.
void BankLines(FDX& fdx, std::vector<std::string>& out) {
    const auto start = fdx.MeasurementStart;
    fdx.MeasurementTime(std::max(fdx.MeasurementCount - 1, 0));
    const auto end = fdx.MeasurementStamp;
    out.push_back("Дата начала измерений \t " + DateOf(start));
    out.push_back("Время начала измерений \t " + TimeOf(start));
    out.push_back("Дата конца измерений \t " + DateOf(end));
    out.push_back("Время конца измерений \t " + TimeOf(end));
    const uint32_t poll = fdx.CurrentBank != nullptr ? fdx.CurrentBank->Poll : 0;
    out.push_back(FormatText("Шаг опроса \t %u сек", poll));
}

void RangeSlotLines(const FDX& fdx, const Bank& slot, std::vector<std::string>& out) {
    out.push_back(FormatText("Начальная частота \t %10.4f", MHz(slot.Start)));
    out.push_back(FormatText("Конечная частота \t %10.4f", MHz(slot.End)));
    out.push_back(FormatText("Шаг пересторойки \t %4.1f", KHz(slot.Step)));
    out.push_back(FormatText("Модуляция \t %c ", slot.Modulation));
    out.push_back(FormatText("Пройдено циклов \t %u", slot.CycleCount));
    out.push_back(
        fdx.OptDb ? FormatText("Уровень визира \t %3.1f дБ", fdx.LevelToDb(slot.SightLevel) / 10.0)
                  : FormatText("Уровень визира \t %u", unsigned(slot.SightLevel)));
    out.push_back(std::string("Цвет\t") + CurveName(fdx.MainCurveKind));
    out.push_back(std::string("Фон\t") + CurveName(fdx.SecondCurveKind));
}

const Bank* ShownSlot(const FDX& fdx) {
    if (fdx.SlotIndex < 0 || std::size_t(fdx.SlotIndex) >= fdx.ScanSlots.size()) return nullptr;
    return &fdx.ScanSlots[std::size_t(fdx.SlotIndex)];
}

// ---- the selected item

std::string Indent(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "|  ";
    return text;
}

// Everything under `parent`, depth first, each item under its parent and indented by its
// depth. Text rows are left out but what hangs under them is not; catalog entries are listed
// only in a listing of a heading.
void FolderLines(const JournalItem& parent, int depth, bool catalog,
                 std::vector<std::string>& out) {
    if (depth > kMaxFolderDepth) return;
    for (const auto& child : parent.Children()) {
        const bool listed =
            !child->Is(JournalKind::Row) && (catalog || !child->Is(JournalKind::CatalogEntry));
        if (listed) out.push_back(Indent(depth) + child->Name);
        FolderLines(*child, depth + 1, catalog, out);
    }
}

void ScaleLines(const FDX& fdx, std::vector<std::string>& out) {
    out.push_back("Фиксированные частоты:");
    out.push_back("N\t Название \t Нач частота\t Кон частота\t Шаг\t Модуляция");
    unsigned n = 0;
    for (const UserSc* scale : fdx.Scales) {
        if (scale == nullptr) continue;
        out.push_back(FormatText("%u\t %s\t %10.4f\t %10.4f\t %5.1f\t %c ", ++n,
                                 scale->Identifier.c_str(), MHz(scale->StartFrequency),
                                 MHz(scale->EndFrequency), KHz(scale->Step), scale->Modulation));
    }
}

// The name of the job a range or bank runs while it waits, named by its folder or its
// identifier as the scans look it up; empty when no stored job has that name.
std::string BoundJobName(FDX& fdx, ItemStore& store, const std::string& job) {
    const int32_t index = store.FindJobIndex(job);
    if (index >= 1 && std::size_t(index) <= fdx.Jobs.size())
        return fdx.Jobs[std::size_t(index - 1)]->Identifier;
    for (const UserJob* stored : fdx.Jobs)
        if (!job.empty() && stored->Identifier == job) return stored->Identifier;
    return {};
}

// The lines of a scan's wait, alike for ranges and banks but for their separators: the
// action (with the job's name when it runs one), the waiting time and how the scan goes on.
void WaitLines(std::span<const char* const> actions, const std::string& actionHead,
               const std::string& separator, uint32_t waiting, const std::string& job,
               uint32_t waitTime, uint32_t condition, std::vector<std::string>& out) {
    const char* action = waiting < actions.size() ? actions[waiting] : actions[0];
    out.push_back(actionHead + " " + action + (waiting == kPauseRunJob ? job : ""));
    out.push_back("Время ожидания " + separator + FormatText(" %u сек", waitTime));
    if (condition >= kContinueTexts.size()) return;
    out.push_back("Продолжение сканирования " + separator + " " +
                  (condition == kReleaseSignalGone
                       ? FormatText("по пропаданию сигнала на %u сек", waitTime)
                       : std::string(kContinueTexts[condition])));
}

std::string Threshold(const FDX& fdx, uint32_t level, const char* separator, const char* unit) {
    if (fdx.OptDb)
        return FormatText("Уровень ожидания %s %3.1f дБ", separator, fdx.LevelToDb(level) / 10.0);
    return FormatText("Уровень ожидания %s %u%s", separator, level, unit);
}

void RangeLines(FDX& fdx, ItemStore& store, const JournalItem& item, const UserDp& range,
                std::vector<std::string>& out) {
    const std::string job = BoundJobName(fdx, store, range.Job);
    // The working record has no etalons of its own.
    std::vector<const Etl*> etalons;
    if (range.FolderName != "ROOT")
        for (const auto& child : item.Children())
            if (const Etl* etalon = child->As<Etl>(); child->Is(JournalKind::Etalon) && etalon)
                etalons.push_back(etalon);
    const Etl* ownEtalon = nullptr;
    for (const Etl* etalon : etalons)
        if (ownEtalon == nullptr && etalon->Name == range.Etalon) ownEtalon = etalon;

    out.push_back("Диапазон \t " + range.Identifier);
    out.push_back(FormatText("Начальная частота \t %10.4f", MHz(range.StartFrequency)));
    out.push_back(FormatText("Конечная частота \t %10.4f", MHz(range.EndFrequency)));
    out.push_back(FormatText("Шаг пересторойки \t %4.1f", KHz(range.Step)));
    out.push_back(FormatText("Модуляция \t %c ", range.Modulation));
    out.push_back(FormatText("Кол-во циклов \t %u", range.Cycles));
    out.push_back("Дата записи \t " + range.Date);
    out.push_back("Время записи \t " + range.Time);
    out.push_back(range.Marker ? "Уровень ожидания \t по визиру"
                               : Threshold(fdx, range.Level, "\t", ""));
    WaitLines(kRangeActions, "Действия по паузе\t", "\t", range.Waiting, job, range.WaitTime,
              range.Condition, out);
    if (range.Processing < kProcessingTexts.size() && kProcessingTexts[range.Processing])
        out.push_back(kProcessingTexts[range.Processing]);
    if (range.Attenuator) out.push_back("Аттенюатор \t включать при сканировании");
    if (range.Selection) out.push_back("Сканировать \t только фиксированные частоты");
    if (range.Exclusion) out.push_back("Сканировать \t с исключением фиксированных частот");
    if (range.Fixing) out.push_back("Сканировать \t с ожиданием на фиксированных частотах");
    if (ownEtalon != nullptr)
        out.push_back("Загружать вместе с эталоном \t " + ownEtalon->Identifier);
    for (const Etl* etalon : etalons) out.push_back("Эталон \t " + etalon->Identifier);
}

void GroupLines(ItemStore& store, const UserGrp& group, std::vector<std::string>& out) {
    out.push_back("Имя группы диапазонов : " + group.Identifier);
    out.push_back("Дата записи : " + group.Date);
    out.push_back("Время записи : " + group.Time);
    out.push_back("N\t Диапазон \t Нач частота\t Кон частота\t Шаг\t Модуляция\t Атт");
    for (std::size_t i = 0; i < group.Ranges.size() && i < kScanSlotCount; ++i) {
        const JournalItem* item = store.FindRangeItem(group.Ranges[i]);
        const UserDp* range = item != nullptr ? item->As<UserDp>() : nullptr;
        if (range == nullptr) continue;  // a range deleted since keeps its number unused
        out.push_back(FormatText("%u\t %s\t %10.4f\t %10.4f\t %5.1f\t %c \t %s", unsigned(i + 1),
                                 range->Identifier.c_str(), MHz(range->StartFrequency),
                                 MHz(range->EndFrequency), KHz(range->Step), range->Modulation,
                                 range->Attenuator ? "+" : "-"));
    }
}

void BankLines(FDX& fdx, ItemStore& store, const UserFreq& bank, std::vector<std::string>& out) {
    const std::string job = BoundJobName(fdx, store, bank.Job);
    out.push_back("Имя банка : " + bank.Identifier);
    out.push_back("Дата записи : " + bank.Date);
    out.push_back("Время записи : " + bank.Time);
    out.push_back(Threshold(fdx, bank.Level, ":", " ед"));
    WaitLines(kBankActions, "Действия по паузе :", ":", bank.Waiting, job, bank.WaitTime,
              bank.Condition, out);
    out.push_back(FormatText("Интервал измерений : %u мин", bank.Interval));
    out.push_back(FormatText("Шаг опроса : %u сек", bank.Poll));
    out.push_back(FormatText("Количество частот : %u ", unsigned(bank.Channels.size())));
    out.push_back("N\t Частота(МГц)\t Шаг(кГц)\t Мод\t Атт\t Комментарий");
    unsigned n = 0;
    for (const Mt& channel : bank.Channels)
        out.push_back(FormatText("%u\t %10.4f\t %5.1f\t %c \t %s\t", ++n, MHz(channel.Frequency),
                                 KHz(channel.Step), channel.Modulation,
                                 channel.Attenuator ? "+" : "-") +
                      channel.Identifier);
}

void MeasurementLines(const Meg& set, const UserFreq* bank, std::vector<std::string>& out) {
    out.push_back("Имя банка : " + (bank != nullptr ? bank->Identifier : std::string()));
    out.push_back("Идентификатор измерений : " + set.Identifier);
    out.push_back("Дата записи: " + set.Date);
    out.push_back("Время записи : " + set.Time);
    out.push_back("Дата начала измерений : " + DateOf(set.Start));
    out.push_back("Время начала измерений : " + TimeOf(set.Start));
    out.push_back("Дата конца измерений : " + DateOf(set.End));
    out.push_back("Время конца измерений : " + TimeOf(set.End));
    out.push_back(FormatText("Шаг опроса : %u сек", bank != nullptr ? bank->Poll : 0u));
    out.push_back(FormatText("Количество шагов : %u", set.MeasurementCount));
}

void EtalonLines(const Etl& etalon, const UserDp* range, std::vector<std::string>& out) {
    const UserDp none;
    const UserDp& r = range != nullptr ? *range : none;
    out.push_back("Диапазон : " + r.Identifier);
    out.push_back(FormatText("Начальная частота : %10.4f", MHz(r.StartFrequency)));
    out.push_back(FormatText("Конечная частота : %10.4f", MHz(r.EndFrequency)));
    out.push_back(FormatText("Шаг пересторойки : %4.1f", KHz(r.Step)));
    out.push_back("Идентификатор эталона : " + etalon.Identifier);
    out.push_back(FormatText("Общее количество шагов : %u", etalon.PointCount));
    out.push_back(FormatText("Пройдено циклов : %u", etalon.CycleCount));
    out.push_back("Дата записи : " + etalon.Date);
    out.push_back("Время записи : " + etalon.Time);
}

std::string JobValue(const JobStr& line) {
    if (!line.REQ) return {};
    if (line.STRING || line.FILE) return line.STR;
    if (line.FREQ) return FormatText("%10.4f", MHz(line.VAL));
    if (line.STEP) return FormatText("%4.1f", KHz(line.VAL));
    return FormatText("%u", line.VAL);
}

void JobLines(const UserJob& job, std::vector<std::string>& out) {
    out.push_back("Имя задания : " + job.Identifier);
    out.push_back("Дата записи : " + job.Date);
    out.push_back("Время записи : " + job.Time);
    out.push_back("N\t Усл\t Панель\t Обьект-Действие \t Значение");
    unsigned n = 0;
    for (const JobStr& line : job.Lines) {
        const char* panel = line.TAB < kJobPanelNames.size() ? kJobPanelNames[line.TAB] : "";
        out.push_back(FormatText("%u\t %s\t %s\t ", ++n, line.COND ? "+" : "-", panel) + line.DCL +
                      " \t " + JobValue(line));
    }
}

const char* RateText(uint32_t rate) {
    switch (rate) {
        case 1:
            return "Скорость записи : 11 кБт/сек";
        case 2:
            return "Скорость записи : 22 кБт/сек";
        default:
            return "Скорость записи : 8 кБт/сек";
    }
}

void PhonogramLines(const FDX& fdx, const UserFono& fono, std::vector<std::string>& out) {
    out.push_back("Имя фонограммы : " + fono.Identifier);
    out.push_back("Дата создания : " + fono.Date);
    out.push_back("Время создания : " + fono.Time);
    out.push_back("Имя WAV файла : " + fdx.ProgramDir + "FONO/" + fono.Name + ".wav");
    out.push_back(RateText(fono.RecordRate));
    out.push_back("N\t Название фрагмента\t Частота \t Дата записи \t Время записи\t Длит (сек)");
    unsigned n = 0;
    for (const Fragment& f : fono.Fragments) {
        const unsigned seconds = U(int64_t{f.Hour} * 3600 + int64_t{f.Minute} * 60 + f.Second);
        out.push_back(FormatText("%u\t", n++) + f.Identifier +
                      FormatText("\t%10.4f\t", MHz(f.Frequency)) + f.Date + "\t" + f.Time +
                      FormatText("\t%u", seconds));
    }
}

template <class R>
const R* ParentRecord(const JournalItem& item) {
    return item.Parent() != nullptr ? item.Parent()->As<R>() : nullptr;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    TextFileWriter file;
    for (const std::string& line : lines) file.Line(line);
    return file.Save(path);
}

}  // namespace

std::vector<std::string> PanelReportLines(FDX& fdx, const ReportMoment& moment) {
    std::vector<std::string> lines;
    const auto hasLines = [&] {
        fdx.PanelTextEmpty = 0;
        fdx.PanelTextReady = 1;
        fdx.PanelColumns = Table({50, 50});
    };
    switch (fdx.WorkMode) {
        case kScaleMode:
            if (ScopeOf(fdx) == BandScope::None) break;
            ReceiverLines(fdx, moment, lines);
            hasLines();
            break;
        case kBankMode:
            if (!fdx.HistoriesAllocated) break;
            BankLines(fdx, lines);
            hasLines();
            break;
        case kRangeMode:
            if (const Bank* slot = ShownSlot(fdx); slot != nullptr && slot->HasData()) {
                RangeSlotLines(fdx, *slot, lines);
                hasLines();
            }
            break;
        case kGroupMode:
            fdx.PanelTextEmpty = std::none_of(fdx.ScanSlots.begin(), fdx.ScanSlots.end(),
                                              [](const Bank& slot) { return slot.HasData(); });
            break;
        case kTextMode:
            // The text page prints the notes file it shows, not a report of its own.
            if (fdx.InfoFileShown.empty()) break;
            fdx.PanelTextFile = fdx.InfoFileShown;
            fdx.PanelTextEmpty = 0;
            fdx.PanelTextReady = 1;
            break;
        default:
            break;
    }
    return lines;
}

ItemReport ItemReportLines(FDX& fdx, ItemStore& store, const JournalItem* item) {
    ItemReport report;
    if (item == nullptr || item->Is(JournalKind::Row) || item->Is(JournalKind::CatalogEntry))
        return report;
    report.written = true;
    std::vector<std::string>& out = report.lines;
    switch (item->Kind) {
        case JournalKind::Root:
        case JournalKind::Folder:
            out.push_back(item->Name);
            FolderLines(*item, 1, item->Is(JournalKind::Folder), out);
            break;
        case JournalKind::Fixed:
            ScaleLines(fdx, out);
            report.columns = Table({5, 55, 15, 15, 5, 5});
            break;
        case JournalKind::Range:
            if (const UserDp* range = item->As<UserDp>())
                RangeLines(fdx, store, *item, *range, out);
            report.columns = Table({50, 50});
            break;
        case JournalKind::Group:
            if (const UserGrp* group = item->As<UserGrp>()) GroupLines(store, *group, out);
            report.columns = Table({5, 45, 15, 15, 10, 5, 5});
            break;
        case JournalKind::Bank:
            if (const UserFreq* bank = item->As<UserFreq>()) BankLines(fdx, store, *bank, out);
            report.columns = Table({5, 20, 10, 5, 5, 45});
            break;
        case JournalKind::MeasurementSet:
            if (const Meg* set = item->As<Meg>())
                MeasurementLines(*set, ParentRecord<UserFreq>(*item), out);
            break;
        case JournalKind::Etalon:
            if (const Etl* etalon = item->As<Etl>())
                EtalonLines(*etalon, ParentRecord<UserDp>(*item), out);
            break;
        case JournalKind::Job:
            if (const UserJob* job = item->As<UserJob>()) JobLines(*job, out);
            report.columns = Table({10, 5, 15, 35, 35});
            break;
        case JournalKind::Phonogram:
            if (const UserFono* fono = item->As<UserFono>()) PhonogramLines(fdx, *fono, out);
            report.columns = Table({5, 20, 15, 25, 25, 10});
            break;
        default:
            break;
    }
    return report;
}

void WriteReportTexts(FDX& fdx, ItemStore& store, const JournalItem* selected,
                      const ReportMoment& moment) {
    const std::string panelFile = fdx.ProgramDir + "PRINTF.TXT";
    const std::string itemFile = fdx.ProgramDir + "PRINT.TXT";
    fdx.PanelTextFile = panelFile;
    fdx.ItemTextFile = itemFile;
    fdx.ItemTextAbsent = 1;
    fdx.PanelTextEmpty = 1;
    fdx.ItemTextReady = 0;
    fdx.PanelTextReady = 0;
    fdx.PanelColumns = {};
    fdx.ItemColumns = {};

    const std::vector<std::string> panel = PanelReportLines(fdx, moment);
    if (!WriteLines(panelFile, panel)) {
        fdx.PanelTextFile = panelFile;
        fdx.PanelTextEmpty = 1;
        fdx.PanelTextReady = 0;
        fdx.PanelColumns = {};
    }
    const ItemReport item = ItemReportLines(fdx, store, selected);
    if (item.written && WriteLines(itemFile, item.lines)) {
        fdx.ItemTextAbsent = 0;
        fdx.ItemTextReady = 1;
        fdx.ItemColumns = item.columns;
    }
}
