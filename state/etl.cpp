#include "state/etl.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "state/bank.h"
#include "state/fdx.h"
#include "state/key_value.h"
#include "state/level_array.h"
#include "state/record_fields.h"
#include "state/stamp_clock.h"
#include "state/text_file.h"

namespace {

// The header file in the order of its lines.
constexpr RecordField<Etl> kHeaderFields[] = {
    {"Идентификатор", &Etl::Identifier},
    {"Кол-во_точек", &Etl::PointCount},
    {"Кол-во_циклов", &Etl::CycleCount},
    {"Дата", &Etl::Date},
    {"Время", &Etl::Time},
};

// The etalon's arrays, by the kind of curve the range window compares with (FDX::EtalonKind;
// kind 4 is the etalon itself and has no file). Listed in the order they are written.
struct EtalonArray {
    int32_t kind;
    std::string_view extension;
    std::vector<uint8_t> Bank::*cells;
};
constexpr EtalonArray kEtalonArrays[] = {
    {0, kEtalonArrayExtensions[0], &Bank::Current},
    {1, kEtalonArrayExtensions[1], &Bank::Minimum},
    {2, kEtalonArrayExtensions[2], &Bank::Average},
    {3, kEtalonArrayExtensions[3], &Bank::Maximum},
    {5, kEtalonArrayExtensions[4], &Bank::Processed},
};

const EtalonArray* arrayOfKind(int32_t kind) {
    for (const auto& array : kEtalonArrays)
        if (array.kind == kind) return &array;
    return nullptr;
}

std::string arrayPath(const Etl& etl, const EtalonArray& array) {
    return etl.Folder + etl.Name + std::string(array.extension);
}

}  // namespace

bool Etl::WriteHeader() {
    StampNow(Date, Time);
    TextFileWriter out;
    WriteFields(out, *this, kHeaderFields);
    return out.Save(HeaderPath);
}

bool Etl::ReadHeader(FDX& fdx, const std::string& path) {
    ClearFields(*this, kHeaderFields);
    Identifier = "Измерения ?";
    Date = "00/00/00";
    Time = "00:00";
    fdx.LoadFileName = path;
    if (!fdx.LoadTextFile() || fdx.Lines.empty()) return false;
    for (const auto& line : fdx.Lines)
        if (const auto kv = SplitKeyValue(line)) ReadField(*this, kHeaderFields, *kv);
    // The point count bounds what is decoded into a slot's etalon array.
    PointCount = std::min<uint32_t>(PointCount, kBankPoints);
    return true;
}

bool WriteEtalonArrays(const Etl& etl, const Bank& slot) {
    bool allWritten = true;
    for (const auto& array : kEtalonArrays) {
        const auto& cells = slot.*array.cells;
        const auto points = std::min(slot.Points(), cells.size());
        if (!WriteLevelFile(arrayPath(etl, array), std::span(cells).first(points)))
            allWritten = false;
    }
    return allWritten;
}

bool FDX::LoadScale(int32_t slotIndex) {
    // Kind 4 compares with the etalon array itself, and a kind without a file has nothing to load:
    // the array stays as it is.
    const EtalonArray* array = arrayOfKind(EtalonKind);
    if (array == nullptr) return false;
    if (slotIndex < 0 || static_cast<std::size_t>(slotIndex) >= ScanSlots.size()) return false;
    Bank& slot = ScanSlots[static_cast<std::size_t>(slotIndex)];
    if (!slot.InUse || !slot.HasEtalon || slot.EtalonRecord == nullptr) return false;

    const Etl& etl = *slot.EtalonRecord;
    LoadFileName = arrayPath(etl, *array);
    LoadTextFile(std::max(kTextFileLimit, LevelLinesLimit(kBankPoints)));
    const auto points = std::min<std::size_t>(etl.PointCount, slot.Etalon.size());
    // A file that could not be read leaves the etalon's points cleared.
    ReadLevelLines(Lines, std::span(slot.Etalon).first(points));
    return true;
}
