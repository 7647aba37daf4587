#include "app/orvel_cfg.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "app/orvel.h"
#include "app/panel_catalog.h"
#include "state/etl.h"
#include "state/fdx.h"
#include "state/key_value.h"
#include "state/meg.h"
#include "state/stamp_clock.h"
#include "state/text_file.h"
#include "state/user_dp.h"
#include "state/user_freq.h"
#include "state/user_job.h"

namespace {

// Panel codes and objects of the lines the start-up job is made of.
constexpr uint32_t kRangesPanel = 2;
constexpr uint32_t kJournalPanel = 9;
constexpr uint32_t kMainPanel = 10;
constexpr uint32_t kReceiverPage = 0;  // main-window objects 0..7 select that tab page
constexpr uint32_t kBankPage = 1;
constexpr uint32_t kRangesPage = 2;
constexpr uint32_t kJobPage = 4;
constexpr uint32_t kLoadButton = 13;
constexpr uint32_t kStartButton = 17;
constexpr uint32_t kFirstSlotButton = 15;  // the range window's "Кнопка  1 Диапазон"
// Journal lines select an item by its kind.
constexpr uint32_t kSelectRange = 3;
constexpr uint32_t kSelectBank = 6;
constexpr uint32_t kSelectMeasurements = 7;
constexpr uint32_t kSelectEtalon = 8;
constexpr uint32_t kSelectJob = 11;

constexpr std::string_view kYes = "ДА";
// The grid and the logarithmic scale have always been written in this spelling; the reader
// takes any value.
constexpr std::string_view kYesMixedCase = "Да";

constexpr std::string_view kSlotWithEtalonKey = "Диапазон_эталон";
constexpr std::string_view kSlotKey = "Диапазон";

// clang-format off
// Calibration point T[k] is kept under kCalibrationKeys[k]: point n is T[2n-2], point nA T[2n-1].
constexpr std::string_view kCalibrationKeys[] = {
    "Позиция_калибровки1", "Позиция_калибровки1A", "Позиция_калибровки2", "Позиция_калибровки2A",
    "Позиция_калибровки3", "Позиция_калибровки3A", "Позиция_калибровки4", "Позиция_калибровки4A",
    "Позиция_калибровки5", "Позиция_калибровки5A", "Позиция_калибровки6", "Позиция_калибровки6A",
    "Позиция_калибровки7", "Позиция_калибровки7A", "Позиция_калибровки8", "Позиция_калибровки8A",
    "Позиция_калибровки9",
};

// Flags that a line sets whatever its value.
struct FlagKey {
    std::string_view key;
    uint8_t FDX::*field;
};
constexpr FlagKey kFlagKeys[] = {
    {"Принтер", &FDX::PrinterSet},
    {"Принтер_журнал", &FDX::PrinterJournal},
    {"Принтер_альбом", &FDX::PrinterLandscape},
    {"Сетка", &FDX::ShowGrid},
};

struct TextKey {
    std::string_view key;
    std::string FDX::*field;
};
constexpr TextKey kTextKeys[] = {
    {"Фонт", &FDX::PrinterFont},
    {"Макро", &FDX::MacroJobName},
    {"Тригер", &FDX::TriggerJobName},
};
// clang-format on

static_assert(std::size(kCalibrationKeys) == std::tuple_size_v<decltype(FDX::Calibration)>);

constexpr std::string_view kDamagedCalibration =
    "Калибровка уровня в файле конфигуратора повреждена. Принята калибровка приемника";

int32_t readInt32(std::string_view text) {
    return static_cast<int32_t>(std::clamp<int64_t>(ReadInteger(text),
                                                    std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// The slot number of a key "<prefix><n>" for the slots 0..11, as the writer spells it.
std::optional<std::size_t> slotOfKey(std::string_view key, std::string_view prefix) {
    if (!key.starts_with(prefix)) return std::nullopt;
    const std::string_view number = key.substr(prefix.size());
    for (std::size_t slot = 0; slot < kScanSlotCount; ++slot)
        if (number == std::to_string(slot)) return slot;
    return std::nullopt;
}

// Builds the start-up job in the run buffer, one line after the other, never beyond its size.
class StartupJob {
  public:
    explicit StartupJob(FDX& fdx) : fdx_(fdx) { fdx_.JobLineCount = 0; }

    // A line made from the catalog entry of `object` on `panel`; an object the catalog lacks
    // adds nothing.
    void Catalog(uint32_t panel, uint32_t object, bool cond = false) {
        if (auto entry = FindCatalogEntry(fdx_.ReceiverType, panel, object))
            Append(CatalogLine(*entry, cond));
    }
    // A line selecting the stored item `name` of a kind in the journal.
    void Journal(uint32_t selection, std::string_view name) {
        JobDcl entry;
        entry.Name = name;
        entry.Panel = kJournalPanel;
        entry.Object = selection;
        Append(CatalogLine(entry, false));
    }
    // Shows the tab page, selects the item and loads it; the load is skipped when the item is
    // no longer there.
    void RestoreItem(uint32_t page, uint32_t selection, std::string_view name) {
        Catalog(kMainPanel, page);
        Journal(selection, name);
        Catalog(kMainPanel, kLoadButton, true);
    }
    void RestoreSlot(std::size_t slot, uint32_t selection, std::string_view name) {
        Catalog(kMainPanel, kRangesPage);
        Catalog(kRangesPanel, kFirstSlotButton + uint32_t(slot));
        Journal(selection, name);
        Catalog(kMainPanel, kLoadButton, true);
    }

  private:
    void Append(JobStr line) {
        const std::size_t index = std::size_t(fdx_.JobLineCount);
        if (index >= kMaxJobLines) return;
        if (fdx_.RunLines.size() <= index) fdx_.RunLines.resize(index + 1);
        fdx_.RunLines[index] = std::move(line);
        ++fdx_.JobLineCount;
    }

    FDX& fdx_;
};

// The keys of the items the start-up job loads.
bool isItemKey(std::string_view key) {
    return key == "Банк" || key == "Измерения" || key == "Задание" ||
           slotOfKey(key, kSlotWithEtalonKey) || slotOfKey(key, kSlotKey);
}

// What only SCAN_SAVE restores: the colours, the group and the loaded items.
void readScanState(FDX& fdx, StartupJob& job, std::string_view key, std::string_view value) {
    if (isItemKey(key)) fdx.UnrestoredItems.emplace_back(key, value);
    if (key == "Цвет") {
        fdx.ForeColor = ReadU32(value);
    } else if (key == "Фон") {
        fdx.BackColor = ReadU32(value);
    } else if (key == "Группа") {
        fdx.GroupName = value;
    } else if (key == "Банк") {
        job.RestoreItem(kBankPage, kSelectBank, value);
    } else if (key == "Измерения") {
        job.RestoreItem(kBankPage, kSelectMeasurements, value);
    } else if (key == "Задание") {
        job.RestoreItem(kJobPage, kSelectJob, value);
    } else if (const auto slot = slotOfKey(key, kSlotWithEtalonKey)) {
        job.RestoreSlot(*slot, kSelectEtalon, value);
    } else if (const auto slot = slotOfKey(key, kSlotKey)) {
        job.RestoreSlot(*slot, kSelectRange, value);
    }
}

void readLine(FDX& fdx, StartupJob& job, std::string_view line) {
    const auto pair = SplitKeyValue(line);
    if (!pair) return;
    const auto [key, value] = *pair;
    for (const FlagKey& flag : kFlagKeys)
        if (key == flag.key) fdx.*flag.field = 1;
    for (const TextKey& text : kTextKeys)
        if (key == text.key) fdx.*text.field = value;
    if (key == "Разрешение_X") fdx.PrinterResolution = ReadU32(value);
    for (std::size_t k = 0; k < std::size(kCalibrationKeys); ++k)
        if (key == kCalibrationKeys[k]) fdx.Calibration[k] = readInt32(value);
    if (fdx.OptScanSave) readScanState(fdx, job, key, value);
}

// A point between two others that the file leaves at 0 lies halfway between them.
void fillCalibrationMidpoints(FDX& fdx) {
    auto& t = fdx.Calibration;
    for (std::size_t k = 1; k + 1 < t.size(); k += 2)
        if (t[k] == 0) t[k] = int32_t(t[k - 1] + (int64_t{t[k + 1]} - t[k - 1]) / 2);
}

// A file without calibration leaves the receiver's own as it was; one whose calibration is
// damaged (falling, beyond the limits, too narrow) would put every level shown in dB, and the
// calibration window's arithmetic, out of bounds: the receiver's own stays, and the operator
// hears of it in a notice that the start-up job does not wait behind.
void keepSoundCalibration(FDX& fdx, const std::array<int32_t, 17>& before) {
    const bool read = std::any_of(fdx.Lines.begin(), fdx.Lines.end(), [](const std::string& line) {
        const auto pair = SplitKeyValue(line);
        return pair && std::find(std::begin(kCalibrationKeys), std::end(kCalibrationKeys),
                                 pair->key) != std::end(kCalibrationKeys);
    });
    if (read && FDX::CalibrationFits(fdx.Calibration)) return;
    fdx.Calibration = before;
    if (read) fdx.NoticeErrorText(std::string(kDamagedCalibration));
}

// The lines of the items not yet restored that `matches` names, as they were read.
template <class Matches>
void writeUnrestored(TextFileWriter& file, const FDX& fdx, Matches matches) {
    for (const auto& [key, value] : fdx.UnrestoredItems)
        if (matches(key)) file.KeyValue(key, value);
}

}  // namespace

bool ReadOrvelCfg(FDX& fdx) {
    StartupJob job(fdx);
    fdx.UnrestoredItems.clear();
    fdx.LoadFileName = fdx.ProgramDir + kOrvelCfgName;
    if (!fdx.LoadTextFile() || fdx.CutAtNul) {
        fdx.SetAsideUnreadFile(fdx.LoadFileName);
        return false;
    }
    if (fdx.Lines.empty()) return false;
    const auto before = fdx.Calibration;
    // A file may hold only the points 1..9; the points between them are then made halfway
    // rather than left at start-up values that need not fit the file's points.
    for (std::size_t k = 1; k < fdx.Calibration.size(); k += 2) fdx.Calibration[k] = 0;
    for (const std::string& line : fdx.Lines) readLine(fdx, job, line);
    fillCalibrationMidpoints(fdx);
    keepSoundCalibration(fdx, before);
    if (!fdx.AutoexecJobName.empty()) {
        job.RestoreItem(kJobPage, kSelectJob, fdx.AutoexecJobName);
        job.Catalog(kMainPanel, kStartButton);
    } else {
        job.Catalog(kMainPanel, kReceiverPage);
    }
    return true;
}

bool WriteOrvelCfg(FDX& fdx) {
    const std::string path = fdx.ProgramDir + kOrvelCfgName;
    if (fdx.KeepsUnread(path)) return true;  // the operator heard of it at the start
    const LocalTime now = StampClock::Now();
    TextFileWriter file;
    file.KeyValue("Дата", StampDate(now));
    file.KeyValue("Время", StampTime(now));
    file.KeyValue("Макро", fdx.MacroJobName);
    file.KeyValue("Тригер", fdx.TriggerJobName);
    if (fdx.ShowGrid) file.KeyValue("Сетка", kYesMixedCase);
    if (fdx.OptLg) file.KeyValue("Логарифм", kYesMixedCase);
    if (fdx.PrinterSet) {
        file.KeyValue("Принтер", kYes);
        if (fdx.PrinterJournal) file.KeyValue("Принтер_журнал", kYes);
        if (fdx.PrinterLandscape) file.KeyValue("Принтер_альбом", kYes);
        file.KeyValue("Разрешение_X", std::to_string(fdx.PrinterResolution));
        file.KeyValue("Фонт", fdx.PrinterFont);
    }

    // The receiver's state is kept only for the receiver it was gathered with.
    if (fdx.ReceiverType != 0 && !fdx.RestartPending) {
        for (std::size_t k = 0; k < std::size(kCalibrationKeys); ++k)
            file.KeyValue(kCalibrationKeys[k], std::to_string(fdx.Calibration[k]));
        file.KeyValue("Цвет", std::to_string(fdx.ForeColor));
        file.KeyValue("Фон", std::to_string(fdx.BackColor));
        for (std::size_t i = 0; i < std::min(fdx.ScanSlots.size(), kScanSlotCount); ++i) {
            const Bank& slot = fdx.ScanSlots[i];
            if (!slot.InUse) {
                writeUnrestored(file, fdx, [i](std::string_view key) {
                    return slotOfKey(key, kSlotWithEtalonKey) == i || slotOfKey(key, kSlotKey) == i;
                });
                continue;
            }
            const std::string range =
                slot.Range != nullptr ? slot.Range->Identifier : slot.Identifier;
            const std::string number = std::to_string(i);
            if (slot.HasEtalon && slot.EtalonRecord != nullptr)
                file.KeyValue(std::string(kSlotWithEtalonKey) + number,
                              range + ">>" + slot.EtalonRecord->Identifier);
            else
                file.KeyValue(std::string(kSlotKey) + number, range);
        }
        if (fdx.BankStored && fdx.CurrentBank != nullptr) {
            // A measurement set deleted since it was loaded leaves its bank to be restored.
            if (fdx.MeasurementSetSaved && fdx.MeasurementSet != nullptr)
                file.KeyValue("Измерения",
                              fdx.CurrentBank->Identifier + ">>" + fdx.MeasurementSet->Identifier);
            else
                file.KeyValue("Банк", fdx.CurrentBank->Identifier);
        } else {
            writeUnrestored(file, fdx, [](std::string_view key) {
                return key == "Банк" || key == "Измерения";
            });
        }
        if (fdx.EditJobStored && fdx.EditJob != nullptr)
            file.KeyValue("Задание", fdx.EditJob->Identifier);
        else
            writeUnrestored(file, fdx, [](std::string_view key) { return key == "Задание"; });
        file.KeyValue("Группа", fdx.GroupName);
    }

    return file.Save(path);
}

bool ORVEL::LoadConfig() {
    return ReadOrvelCfg(*this);
}

bool ORVEL::SaveConfig() {
    return WriteOrvelCfg(*this);
}
