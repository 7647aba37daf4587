#include "state/key_value.h"

#include <algorithm>

namespace {
// Beyond any number the files hold; keeps the arithmetic below from overflowing.
constexpr int64_t kNumberCeiling = 1'000'000'000'000;

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

std::optional<KeyValue> SplitKeyValue(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0 || equals + 1 == line.size())
        return std::nullopt;
    return KeyValue{line.substr(0, equals), line.substr(equals + 1)};
}

int64_t ReadInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        value = std::min(value * 10 + (text[i] - '0'), kNumberCeiling);
    return negative ? -value : value;
}

uint32_t ReadU32(std::string_view text) {
    return static_cast<uint32_t>(static_cast<uint64_t>(ReadInteger(text)));
}

std::optional<uint32_t> ReadFieldNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    if (i == text.size() || !IsDigit(text[i])) return std::nullopt;
    const int64_t value = ReadInteger(text.substr(i));
    if (value > int64_t{UINT32_MAX}) return std::nullopt;
    return static_cast<uint32_t>(value);
}

uint32_t ReadNumberOrZero(std::string_view text) {
    return ReadFieldNumber(text).value_or(0);
}

bool ReadFlag(std::string_view value) {
    return value == "ДА";
}
