#pragma once
// The scale tag base: named parameters (tags) that the operator gives the fixed-frequency
// spans. Three kinds of file in the folder SCALE, cp1251 text with CR LF line ends:
//   scale.tag        the defined fields in their order, "caption<TAB>FIELDnnn" per line;
//   FIELDnnn.tag     the values ever typed for field nnn, one per line;
//   <name>.tag       the tags of the fixed frequency <name>, "caption<TAB>value" per line.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FDX;

// A defined field, or a tag: the field's caption with its value file id ("FIELD%03u"), or
// with the value the item gives it.
struct Field {
    std::string Caption;
    std::string FileId;  // defined fields only
    std::string Value;   // tags only
    bool operator==(const Field&) const = default;
};

// Value files are numbered 0..998.
inline constexpr unsigned kMaxFieldFiles = 999;

// A caption, value or item name that can go into a tag line and a file name: not empty, and
// none of "/", "\", TAB, CR, LF (which would split a line, or lead a file name elsewhere)
// nor a quote character (which the reader takes for the start of a quoted stretch).
bool TagText(std::string_view text);

// The paths under `programDir`.
std::string FieldListPath(const std::string& programDir);
std::string FieldValuesPath(const std::string& programDir, const std::string& fileId);
std::string ItemTagsPath(const std::string& programDir, const std::string& itemName);

// The id "FIELD%03u" with the smallest number that no field of `fields` uses; none when all
// 999 are taken.
std::optional<std::string> FreeFieldId(const std::vector<Field>& fields);

// The defined fields in file order; lines without both parts are skipped. Loading goes through
// fdx.LoadTextFile.
std::vector<Field> ReadFieldList(FDX& fdx);
bool WriteFieldList(const std::string& programDir, const std::vector<Field>& fields);

// The values known for a field, in file order, each line as it stands.
std::vector<std::string> ReadFieldValues(FDX& fdx, const std::string& fileId);
// Adds `value` as a line at the end of the field's value file; the values there stay byte for
// byte.
bool AppendFieldValue(const std::string& programDir, const std::string& fileId,
                      const std::string& value);

// An item's tags: lines split at the TAB, a line without a value or whose caption is not one
// of `fields` skipped.
std::vector<Field> ReadItemTags(FDX& fdx, const std::string& path,
                                const std::vector<Field>& fields);
bool WriteItemTags(const std::string& path, const std::vector<Field>& tags);
