#include "state/stored_lines.h"

#include <utility>

std::vector<std::vector<std::string>> SplitStoredFields(std::string_view text, char separator) {
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> fields;
    ForEachStoredPart(text, separator, [&](std::string& raw, bool endsLine) {
        fields.push_back(std::move(raw));
        if (!endsLine) return;
        if (fields.size() > 1 || !fields.front().empty()) lines.push_back(std::move(fields));
        fields.clear();
    });
    return lines;
}
