#include "state/user_dp.h"

#include "state/fdx.h"
#include "state/record_fields.h"
#include "state/stamp_clock.h"

namespace {

using enum FieldForm;

// diap.cfg in the order of its lines.
constexpr RecordField<UserDp> kRangeFields[] = {
    {"Идентификатор", &UserDp::Identifier},
    {"Fн", &UserDp::StartFrequency},
    {"Fк", &UserDp::EndFrequency},
    {"Шаг", &UserDp::Step},
    {"Модуляция", &UserDp::Modulation, LetterBlank},
    {"Дата", &UserDp::Date},
    {"Время", &UserDp::Time},
    {"Уровень", &UserDp::Level},
    {"Ожидание", &UserDp::Waiting},
    {"Время_ожидания", &UserDp::WaitTime},
    {"Условие", &UserDp::Condition},
    {"Обработка", &UserDp::Processing},
    {"Циклов", &UserDp::Cycles},
    {"Интервал", &UserDp::Interval},
    {"Эталон", &UserDp::Etalon},
    {"Задание", &UserDp::Job},
    {"Атт", &UserDp::Attenuator, YesOnly},
    {"Выделение", &UserDp::Selection, YesNo},
    {"Исключение", &UserDp::Exclusion, YesNo},
    {"Фиксирование", &UserDp::Fixing, YesNo},
    {"Маркер", &UserDp::Marker, YesNo},
    {"Журнал", &UserDp::Journal, YesNo},
};

void setDefaults(UserDp& range, const FDX& fdx) {
    ClearFields(range, kRangeFields);
    range.Identifier = "Диапазон...???";
    range.Date = "00/00/00";
    range.Time = "00:00";
    range.StartFrequency = fdx.RangeStart;
    range.EndFrequency = fdx.RangeEnd;
    range.Step = fdx.RangeStep;
    range.Modulation = fdx.RangeMode;
    range.Cycles = 1;
}

}  // namespace

bool UserDp::WriteFile() {
    StampNow(Date, Time);
    TextFileWriter out;
    WriteFields(out, *this, kRangeFields);
    return out.Save(FilePath);
}

bool UserDp::ReadFile(FDX& fdx, const std::string& path) {
    setDefaults(*this, fdx);
    fdx.LoadFileName = path;
    if (!fdx.LoadTextFile() || fdx.Lines.empty()) return false;
    for (const auto& line : fdx.Lines)
        if (const auto kv = SplitKeyValue(line)) ReadField(*this, kRangeFields, *kv);
    return true;
}
