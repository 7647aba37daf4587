#include "state/user_grp.h"

#include "state/fdx.h"
#include "state/record_fields.h"

namespace {

constexpr std::string_view kCountKey = "Кол-во";
constexpr std::string_view kRangeKey = "Диапазон";

// The header of grp.cfg in the order of its lines; "Кол-во" and the ranges follow.
constexpr RecordField<UserGrp> kGroupFields[] = {
    {"Идентификатор", &UserGrp::Identifier},
    {"Дата", &UserGrp::Date},
    {"Время", &UserGrp::Time},
};

void setDefaults(UserGrp& group) {
    ClearFields(group, kGroupFields);
    group.Identifier = "Группа ???";
    group.Date = "00/00/00";
    group.Time = "00:00";
    group.Ranges.clear();
}

}  // namespace

bool UserGrp::WriteFile() const {
    TextFileWriter out;
    WriteFields(out, *this, kGroupFields);
    out.KeyValue(kCountKey, std::to_string(Ranges.size()));
    for (const auto& range : Ranges) out.KeyValue(kRangeKey, range);
    return out.Save(FilePath);
}

bool UserGrp::ReadFile(FDX& fdx, const std::string& path) {
    setDefaults(*this);
    fdx.LoadFileName = path;
    if (!fdx.LoadTextFile() || fdx.Lines.empty()) return false;
    // The ranges are every one the file names, whatever its "Кол-во" says.
    StoredRecords<std::string> ranges(Ranges);
    for (const auto& line : fdx.Lines) {
        const auto kv = SplitKeyValue(line);
        if (!kv || kv->key == kCountKey) continue;
        if (kv->key == kRangeKey) {
            if (const auto i = ranges.Open()) Ranges[*i] = kv->value;
        } else {
            ReadField(*this, kGroupFields, *kv);
        }
    }
    return true;
}
