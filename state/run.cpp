#include "state/run.h"

#include "state/fdx.h"
#include "state/record_fields.h"
#include "state/stamp_clock.h"

namespace {

// The lines before the start and end of the run, in the order they are written.
constexpr RecordField<Run> kHeaderFields[] = {
    {"Идентификатор", &Run::Identifier},
    {"Дата", &Run::Date},
    {"Время", &Run::Time},
};

}  // namespace

bool Run::WriteFile() {
    StampNow(Date, Time);
    TextFileWriter out;
    WriteFields(out, *this, kHeaderFields);
    WriteMomentLines(out, Start, End);
    return out.Save(File);
}

bool Run::ReadFile(FDX& fdx, const std::string& path) {
    Identifier = "Запуск ???";
    Date = "00/00/00";
    Time = "00:00";
    fdx.LoadFileName = path;
    if (!fdx.LoadTextFile() || fdx.Lines.empty()) return false;
    for (const auto& line : fdx.Lines)
        if (const auto kv = SplitKeyValue(line); kv && !ReadField(*this, kHeaderFields, *kv))
            ReadMomentLine(*kv, Start, End);
    return true;
}
