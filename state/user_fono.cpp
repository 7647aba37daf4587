#include "state/user_fono.h"

#include <algorithm>
#include <cstdio>
#include <variant>

#include "state/fdx.h"
#include "state/record_fields.h"

namespace {

constexpr std::string_view kCountKey = "Кол-во";
constexpr std::string_view kSeparateFilesKey = "File";
constexpr std::string_view kSeparateFilesValue = "Y";  // any value reads as set
constexpr std::string_view kFragmentKey = "F";         // starts a fragment's lines

// The header of the description file in the order of its lines; "Кол-во", "File" and the
// fragments follow.
constexpr RecordField<UserFono> kPhonogramFields[] = {
    {"Идентификатор", &UserFono::Identifier},
    {"Дата", &UserFono::Date},
    {"Время", &UserFono::Time},
    {"Скорость", &UserFono::RecordRate},
};

// The lines of a fragment after its "F" line, in their order; "F_FILE" follows when the
// phonogram has a sound file per fragment.
constexpr RecordField<Fragment> kFragmentFields[] = {
    {"F_ID", &Fragment::Identifier}, {"F_DATE", &Fragment::Date},     {"F_TIME", &Fragment::Time},
    {"F_POS", &Fragment::Position},  {"F_LENGTH", &Fragment::Length}, {"F_OFF", &Fragment::Offset},
    {"F_HOUR", &Fragment::Hour},     {"F_MIN", &Fragment::Minute},    {"F_SEC", &Fragment::Second},
};
constexpr RecordField<Fragment> kFragmentFileField[] = {{"F_FILE", &Fragment::File}};

// What the writer puts into a value at most: a number is "%lu" of 32 bits; a name or a stamp
// (identifier, date, time) is no longer than a file name may be (NAME_MAX), a fragment's sound
// file no longer than a path (PATH_MAX).
constexpr std::size_t kWidestNumber = 10;
constexpr std::size_t kLongestName = 255;
constexpr std::size_t kLongestPath = 4096;

// The longest line of a key: the key (counted in UTF-8, never fewer bytes than in the file), "=",
// the value and CR LF.
constexpr std::size_t longestLine(std::string_view key, std::size_t value) {
    return key.size() + 1 + value + 2;
}

// The longest lines of a table whose texts take at most `text` bytes.
template <class R, std::size_t N>
constexpr std::size_t longestLines(const RecordField<R> (&fields)[N], std::size_t text) {
    std::size_t bytes = 0;
    for (const auto& field : fields) {
        const bool isText = std::holds_alternative<std::string R::*>(field.member);
        bytes += longestLine(field.key, isText ? text : kWidestNumber);
    }
    return bytes;
}

// The largest description file the writer makes: the header, then as many fragments as a
// phonogram holds, every line at its longest. The reader allows this much, so that a phonogram
// the program wrote is never too large for it to read back.
constexpr std::size_t kLongestDescription =
    longestLines(kPhonogramFields, kLongestName) + longestLine(kCountKey, kWidestNumber) +
    longestLine(kSeparateFilesKey, kSeparateFilesValue.size()) +
    kMaxPhonogramFragments *
        (longestLine(kFragmentKey, kWidestNumber) + longestLines(kFragmentFields, kLongestName) +
         longestLines(kFragmentFileField, kLongestPath));

void setDefaults(UserFono& phonogram) {
    ClearFields(phonogram, kPhonogramFields);
    phonogram.Identifier = "Фонограмма...???";
    phonogram.Date = "00/00/00";
    phonogram.Time = "00:00";
    phonogram.Fragments.clear();
    phonogram.SeparateFiles = 0;
}

// Reads the lines of the description file in file order: each "F" line starts the next fragment
// and the F_ lines fill the fragment last started. The fragments are every one the file holds,
// whatever its "Кол-во" says, up to kMaxPhonogramFragments; a block beyond those is dropped with
// its lines, which must not fall on the last fragment.
class PhonogramReader {
  public:
    explicit PhonogramReader(UserFono& phonogram)
        : phonogram_(phonogram), fragments_(phonogram.Fragments, kMaxPhonogramFragments) {}

    void Apply(const KeyValue& line) {
        if (line.key == kCountKey) {
            current_ = kNone;
        } else if (line.key == kFragmentKey) {
            startFragment(ReadU32(line.value));
        } else if (line.key == kSeparateFilesKey) {
            phonogram_.SeparateFiles = 1;
        } else if (!readFragmentField(line)) {
            ReadField(phonogram_, kPhonogramFields, line);
        }
    }

  private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    void startFragment(uint32_t frequency) {
        const auto opened = fragments_.Open();
        current_ = opened.value_or(kNone);
        if (!opened) return;
        Fragment& fragment = phonogram_.Fragments[current_];
        fragment.Frequency = frequency;
        fragment.Mark = 1;
    }

    bool readFragmentField(const KeyValue& line) {
        if (current_ == kNone) return false;
        Fragment& fragment = phonogram_.Fragments[current_];
        return ReadField(fragment, kFragmentFields, line) ||
               ReadField(fragment, kFragmentFileField, line);
    }

    UserFono& phonogram_;
    StoredRecords<Fragment> fragments_;
    std::size_t current_ = kNone;  // fragment the F_ lines fill
};

}  // namespace

bool UserFono::WriteFile() const {
    TextFileWriter out;
    WriteFields(out, *this, kPhonogramFields);
    out.KeyValue(kCountKey, std::to_string(Fragments.size()));
    if (SeparateFiles != 0) out.KeyValue(kSeparateFilesKey, kSeparateFilesValue);
    for (const Fragment& fragment : Fragments) {
        out.KeyValue(kFragmentKey, std::to_string(fragment.Frequency));
        WriteFields(out, fragment, kFragmentFields);
        if (SeparateFiles != 0) WriteFields(out, fragment, kFragmentFileField);
    }
    return out.Save(FilePath);
}

bool UserFono::ReadFile(FDX& fdx, const std::string& path) {
    setDefaults(*this);
    fdx.LoadFileName = path;
    if (!fdx.LoadTextFile(std::max(kTextFileLimit, kLongestDescription)) || fdx.Lines.empty())
        return false;
    PhonogramReader reader(*this);
    for (const auto& line : fdx.Lines)
        if (const auto kv = SplitKeyValue(line)) reader.Apply(*kv);
    return true;
}

std::string UserFono::NewName(std::string_view date, uint32_t number) {
    std::string name;
    name.append(date.substr(0, 2)).append(date.substr(std::min<std::size_t>(4, date.size()), 2));
    std::replace(name.begin(), name.end(), '/', '-');
    std::replace(name.begin(), name.end(), '\\', '-');
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04u", number);
    return name + digits;
}
