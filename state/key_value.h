#pragma once
// The one reader of key=value lines, shared by every stored-file reader.

#include <cstdint>
#include <optional>
#include <string_view>

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

// Splits a line at its first "=": the key is the text before it, the value all the rest
// (so a value may itself hold "="). A line without "=", with an empty key or with an
// empty value gives nothing: the record keeps its default for it.
std::optional<KeyValue> SplitKeyValue(std::string_view line);

// A number as the stored files hold it, read like atol: leading blanks, a sign, then the
// digits up to the first other character; no digits give 0. Saturates instead of
// overflowing.
int64_t ReadInteger(std::string_view text);

// A number for an unsigned 32-bit field: negative values wrap as the files always have
// ("-1" reads as 4294967295).
uint32_t ReadU32(std::string_view text);

// A number for an unsigned 32-bit field, read like ReadInteger: none when the text holds no
// number the field can hold (no digits, a sign before them, more than 4294967295).
std::optional<uint32_t> ReadFieldNumber(std::string_view text);

// The same for a field whose value goes on as it is read (a receiver's state file): a number
// beyond the field reads as a text that is no number, 0, and never as the part of it that
// happens to fit.
uint32_t ReadNumberOrZero(std::string_view text);

// A flag is set when its value is "ДА".
bool ReadFlag(std::string_view value);
