#include "emulators/aor/aor_command.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace emulators {

namespace {

bool IsToken(std::string_view text) {
    return text.size() >= 2 && text[0] >= 'A' && text[0] <= 'Z' && text[1] >= 'A' && text[1] <= 'Z';
}

}  // namespace

std::optional<std::vector<AorField>> SplitFields(std::string_view line,
                                                 std::span<const std::string_view> restOfLine) {
    std::vector<AorField> fields;
    size_t at = 0;
    while (true) {
        while (at < line.size() && line[at] == ' ') ++at;
        if (at == line.size()) break;
        const std::string_view rest = line.substr(at);
        if (!IsToken(rest)) return std::nullopt;
        const std::string_view token = rest.substr(0, 2);
        if (std::find(restOfLine.begin(), restOfLine.end(), token) != restOfLine.end()) {
            fields.push_back({token, rest.substr(2)});
            break;
        }
        const size_t end = std::min(rest.find(' '), rest.size());
        fields.push_back({token, rest.substr(2, end - 2)});
        at += end;
    }
    return fields;
}

std::optional<uint64_t> ParseDigits(std::string_view text, size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value;
}

std::optional<uint64_t> ParseHz(std::string_view text, size_t maxDigits, uint64_t pointUnitHz) {
    const size_t point = text.find('.');
    if (point == text.npos) return ParseDigits(text, maxDigits);
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = text.substr(point + 1);
    size_t decimals = 0;
    for (uint64_t unit = pointUnitHz; unit > 1; unit /= 10) ++decimals;
    if (whole.empty() && fraction.empty()) return std::nullopt;
    if (fraction.size() > decimals) return std::nullopt;
    const auto wholeValue = whole.empty() ? std::optional<uint64_t>(0) : ParseDigits(whole, 6);
    const auto fractionValue =
        fraction.empty() ? std::optional<uint64_t>(0) : ParseDigits(fraction, decimals);
    if (!wholeValue || !fractionValue) return std::nullopt;
    uint64_t fractionUnit = pointUnitHz;
    for (size_t i = 0; i < fraction.size(); ++i) fractionUnit /= 10;
    return *wholeValue * pointUnitHz + *fractionValue * fractionUnit;
}

std::string PadLabel(std::string_view text, size_t width) {
    std::string label(text.substr(0, width));
    label.resize(width, ' ');
    return label;
}

std::string Format(const char* format, ...) {
    char buffer[256];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    if (length < 0) return {};
    return std::string(buffer, std::min(static_cast<size_t>(length), sizeof buffer - 1));
}

}  // namespace emulators
