#include "state/user_job.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "state/fdx.h"
#include "state/record_fields.h"
#include "state/stamp_clock.h"

namespace {

using enum FieldForm;

constexpr std::string_view kLineKey = "STR_NO";
constexpr std::string_view kCountKey = "Кол-во";

// The lines of one job line after its "STR_NO", in the order they are written.
constexpr RecordField<JobStr> kLineFields[] = {
    {"DCL", &JobStr::DCL},
    {"TAB", &JobStr::TAB},
    {"OBJ", &JobStr::OBJ},
    {"VAL", &JobStr::VAL, Plain, [](const JobStr& line) { return line.VAL != 0; }},
    {"STR", &JobStr::STR, Plain, [](const JobStr& line) { return !line.STR.empty(); }},
    {"COND", &JobStr::COND, PlusOnly},
    {"GET", &JobStr::GET, PlusOnly},
    {"PUT", &JobStr::PUT, PlusOnly},
    {"REQ", &JobStr::REQ, PlusOnly},
    {"STEP", &JobStr::STEP, PlusOnly},
    {"FREQ", &JobStr::FREQ, PlusOnly},
    {"STRING", &JobStr::STRING, PlusOnly},
    {"FILE", &JobStr::FILE, PlusOnly},
};

// The header lines other than the line count.
constexpr RecordField<UserJob> kHeaderFields[] = {
    {"Идентификатор", &UserJob::Identifier},
    {"Дата", &UserJob::Date},
    {"Время", &UserJob::Time},
};

// A line as its "STR_NO" opens it: a job line whose panel is not stored is on panel 4.
JobStr openedLine() {
    JobStr line;
    line.TAB = 4;
    return line;
}

// Walks the lines of a job.cfg. Lines are taken in file order; the numbers after "STR_NO" are
// not used.
class JobReader {
  public:
    explicit JobReader(UserJob& job) : job_(job), lines_(job.Lines) {}

    void Take(const KeyValue& kv) {
        if (kv.key == kCountKey) {
            // The lines are every one the file holds, whatever it counts.
            current_ = kNoLine;
        } else if (kv.key == kLineKey) {
            current_ = lines_.Open().value_or(kNoLine);
            if (current_ != kNoLine) job_.Lines[current_] = openedLine();
        } else if (!ReadField(job_, kHeaderFields, kv) && current_ < job_.Lines.size()) {
            ReadField(job_.Lines[current_], kLineFields, kv);
        }
    }

  private:
    UserJob& job_;
    StoredRecords<JobStr> lines_;
    static constexpr std::size_t kNoLine = SIZE_MAX;
    std::size_t current_ = kNoLine;  // the line that keys fill; none before its "STR_NO"
};

}  // namespace

bool UserJob::WriteFile() {
    StampNow(Date, Time);
    TextFileWriter out;
    out.KeyValue("Идентификатор", Identifier);
    out.KeyValue(kCountKey, std::to_string(Lines.size()));
    out.KeyValue("Дата", Date);
    out.KeyValue("Время", Time);
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        out.KeyValue(kLineKey, std::to_string(i));
        WriteFields(out, Lines[i], kLineFields);
    }
    return out.Save(File);
}

bool UserJob::ReadFile(FDX& fdx, const std::string& path) {
    Identifier = "Задание ???";
    Date = "00/00/00";
    Time = "00:00";
    Lines.clear();
    fdx.LoadFileName = path;
    if (!fdx.LoadTextFile() || fdx.Lines.empty()) return false;
    JobReader reader(*this);
    for (const auto& line : fdx.Lines)
        if (const auto kv = SplitKeyValue(line)) reader.Take(*kv);
    return true;
}

bool SaveJobFile(const std::string& programDir, UserJob& job) {
    const std::string folder = programDir + "JOB/" + job.FolderName;
    // An existing folder is no error; a folder that cannot be made fails the write below.
    std::error_code ignored;
    std::filesystem::create_directory(folder, ignored);
    job.Directory = folder + "/";
    job.File = job.Directory + "job.cfg";
    return job.WriteFile();
}
