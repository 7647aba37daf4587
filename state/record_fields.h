#pragma once
// The stored files of the records are key=value lines. A record describes its lines once, as a
// table of fields in the order they are written; the same table reads them back, so that a key is
// never written one way and read another.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "state/key_value.h"
#include "state/text_file.h"

// How a field's value is written and read. Texts and numbers are written as they are ("%s",
// "%lu") and numbers read like atol. A mode letter is held as a char that is its code page 1251
// byte, so that any letter a file holds ("Ф" as well as 'F') is written back as it was read, and
// the scan compares it with 'F', 'W', ... as a plain char.
enum class FieldForm {
    Plain,
    Letter,       // a mode letter "%c"; read as the value's first character
    LetterBlank,  // a mode letter followed by one blank, "%c "
    YesNo,        // a flag written "ДА" or "НЕТ"
    YesOnly,      // a flag written "ДА", its line only when it is set
    PlusOnly,     // a flag written "+", its line only when it is set; read as set by "+"
};

template <class R>
struct RecordField {
    std::string_view key;
    std::variant<std::string R::*, uint32_t R::*, char R::*, uint8_t R::*> member;
    FieldForm form = FieldForm::Plain;
    // The line is written only when this holds for the record; always when null.
    bool (*written)(const R&) = nullptr;
};

// The line of one field, or none when its form leaves it out.
void FieldValueOut(TextFileWriter& out, std::string_view key, FieldForm form,
                   const std::string& value);
void FieldValueOut(TextFileWriter& out, std::string_view key, FieldForm form, uint32_t value);
void FieldValueOut(TextFileWriter& out, std::string_view key, FieldForm form, char value);
void FieldValueOut(TextFileWriter& out, std::string_view key, FieldForm form, uint8_t value);

// One field's value read from its line's value text.
void FieldValueIn(std::string_view text, FieldForm form, std::string& value);
void FieldValueIn(std::string_view text, FieldForm form, uint32_t& value);
void FieldValueIn(std::string_view text, FieldForm form, char& value);
void FieldValueIn(std::string_view text, FieldForm form, uint8_t& value);

// Writes the lines of `fields` for `record`, in table order.
template <class R, std::size_t N>
void WriteFields(TextFileWriter& out, const R& record, const RecordField<R> (&fields)[N]) {
    for (const auto& field : fields) {
        if (field.written != nullptr && !field.written(record)) continue;
        std::visit([&](auto member) { FieldValueOut(out, field.key, field.form, record.*member); },
                   field.member);
    }
}

// Empties every field of the table: texts empty, numbers, letters and flags 0.
template <class R, std::size_t N>
void ClearFields(R& record, const RecordField<R> (&fields)[N]) {
    for (const auto& field : fields)
        std::visit([&](auto member) { record.*member = {}; }, field.member);
}

// Fills the field whose key the line has; false when no field of the table has it.
template <class R, std::size_t N>
bool ReadField(R& record, const RecordField<R> (&fields)[N], const KeyValue& line) {
    for (const auto& field : fields) {
        if (field.key != line.key) continue;
        std::visit([&](auto member) { FieldValueIn(line.value, field.form, record.*member); },
                   field.member);
        return true;
    }
    return false;
}

// A list of records in a stored file, each opened by its start line. The file's count line
// ("Кол-во") says how many follow, but a count that disagrees with them (0, a count cut short or
// lost with a damaged line) must not drop a record the file holds: the next write of the item
// would lose it for good. So the list is every record the file holds, never more than `limit`;
// a count alone allocates nothing.
template <class T>
class StoredRecords {
  public:
    explicit StoredRecords(std::vector<T>& records, std::size_t limit = SIZE_MAX)
        : records_(records), limit_(limit) {}

    // A start line: the index of the new, value-initialised record; none beyond the limit.
    std::optional<std::size_t> Open() {
        if (records_.size() >= limit_) return std::nullopt;
        records_.emplace_back();
        return records_.size() - 1;
    }

  private:
    std::vector<T>& records_;
    std::size_t limit_;
};
