#include "state/scale_tags.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "state/fdx.h"
#include "state/stored_lines.h"
#include "state/text_file.h"

namespace {

constexpr char kTab = '\t';
constexpr std::string_view kFieldPrefix = "FIELD";

// The first two TAB-separated parts of a line; none when it has no TAB.
std::optional<Field> splitLine(const std::vector<std::string>& parts) {
    if (parts.size() < 2) return std::nullopt;
    return Field{parts[0], {}, parts[1]};
}

// The lines of a tag file split at their TABs, quoted text kept together.
std::vector<std::vector<std::string>> loadLines(FDX& fdx, const std::string& path) {
    fdx.LoadFileName = path;
    if (!fdx.LoadTextFile()) return {};
    return SplitStoredFields(fdx.LoadedText, kTab);
}

bool writeLines(const std::string& path, const std::vector<std::array<std::string, 2>>& lines) {
    TextFileWriter out;
    for (const auto& line : lines) out.Fields(line, kTab);
    return out.Save(path);
}

}  // namespace

bool TagText(std::string_view text) {
    return !text.empty() && text.find_first_of("/\\\t\r\n\"'") == std::string_view::npos;
}

std::string FieldListPath(const std::string& programDir) {
    return programDir + "SCALE/scale.tag";
}

std::string FieldValuesPath(const std::string& programDir, const std::string& fileId) {
    return programDir + "SCALE/" + fileId + ".tag";
}

std::string ItemTagsPath(const std::string& programDir, const std::string& itemName) {
    return programDir + "SCALE/" + itemName + ".tag";
}

std::optional<std::string> FreeFieldId(const std::vector<Field>& fields) {
    std::array<bool, kMaxFieldFiles> used{};
    for (const Field& field : fields) {
        const std::string_view id = field.FileId;
        unsigned n = 0;
        const char* digits = id.data() + kFieldPrefix.size();
        if (id.size() == kFieldPrefix.size() + 3 && id.starts_with(kFieldPrefix) &&
            std::from_chars(digits, digits + 3, n).ptr == digits + 3 && n < kMaxFieldFiles)
            used[n] = true;
    }
    const auto free = std::find(used.begin(), used.end(), false);
    if (free == used.end()) return std::nullopt;
    char id[16];
    std::snprintf(id, sizeof id, "FIELD%03u", unsigned(free - used.begin()));
    return id;
}

std::vector<Field> ReadFieldList(FDX& fdx) {
    std::vector<Field> fields;
    for (const auto& line : loadLines(fdx, FieldListPath(fdx.ProgramDir))) {
        const std::optional<Field> parts = splitLine(line);
        if (!parts || parts->Caption.empty() || parts->Value.empty()) continue;
        fields.push_back({parts->Caption, parts->Value, {}});
    }
    return fields;
}

bool WriteFieldList(const std::string& programDir, const std::vector<Field>& fields) {
    std::vector<std::array<std::string, 2>> lines;
    for (const Field& field : fields) lines.push_back({field.Caption, field.FileId});
    return writeLines(FieldListPath(programDir), lines);
}

// One value a line, taken as it stands: a value file is no key=value file, and quotes in a
// value are part of it.
std::vector<std::string> ReadFieldValues(FDX& fdx, const std::string& fileId) {
    fdx.LoadFileName = FieldValuesPath(fdx.ProgramDir, fileId);
    std::vector<std::string> values;
    if (!fdx.LoadTextFile()) return values;
    const std::string_view text = fdx.LoadedText;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        if (end > start) values.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return values;
}

bool AppendFieldValue(const std::string& programDir, const std::string& fileId,
                      const std::string& value) {
    return AppendLine(FieldValuesPath(programDir, fileId), value);
}

std::vector<Field> ReadItemTags(FDX& fdx, const std::string& path,
                                const std::vector<Field>& fields) {
    std::vector<Field> tags;
    for (const auto& line : loadLines(fdx, path)) {
        const std::optional<Field> tag = splitLine(line);
        if (!tag || tag->Value.empty()) continue;
        if (std::any_of(fields.begin(), fields.end(),
                        [&](const Field& field) { return field.Caption == tag->Caption; }))
            tags.push_back(*tag);
    }
    return tags;
}

bool WriteItemTags(const std::string& path, const std::vector<Field>& tags) {
    std::vector<std::array<std::string, 2>> lines;
    for (const Field& tag : tags) lines.push_back({tag.Caption, tag.Value});
    return writeLines(path, lines);
}
