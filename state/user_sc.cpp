#include "state/user_sc.h"

#include "state/fdx.h"
#include "state/record_fields.h"
#include "state/stamp_clock.h"

namespace {

// The scale header file in the order of its lines.
constexpr RecordField<UserSc> kScaleFields[] = {
    {"Идентификатор", &UserSc::Identifier},
    {"Fн", &UserSc::StartFrequency},
    {"Fк", &UserSc::EndFrequency},
    {"Шаг", &UserSc::Step},
    {"Модуляция", &UserSc::Modulation, FieldForm::LetterBlank},
    {"Дата", &UserSc::Date},
    {"Время", &UserSc::Time},
};

void setDefaults(UserSc& scale, const FDX& fdx) {
    ClearFields(scale, kScaleFields);
    scale.Identifier = "Частоты...???";
    scale.Date = "00-00-00";  // unlike the other records' "00/00/00"
    scale.Time = "00:00";
    scale.StartFrequency = fdx.RangeStart;
    scale.EndFrequency = fdx.RangeEnd;
    scale.Step = fdx.RangeStep;
    scale.Modulation = fdx.RangeMode;
}

}  // namespace

bool UserSc::WriteHeader() {
    StampNow(Date, Time);
    TextFileWriter out;
    WriteFields(out, *this, kScaleFields);
    return out.Save(FilePath);
}

bool UserSc::ReadFile(FDX& fdx, const std::string& path) {
    setDefaults(*this, fdx);
    fdx.LoadFileName = path;
    if (!fdx.LoadTextFile() || fdx.Lines.empty()) return false;
    for (const auto& line : fdx.Lines)
        if (const auto kv = SplitKeyValue(line)) ReadField(*this, kScaleFields, *kv);
    return true;
}
