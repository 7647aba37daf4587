#pragma once

#include <string>
#include <string_view>

// Stored files and the receivers' texts are Windows code page 1251; the program works in UTF-8.
// These two conversions are the only place that knows the code page.
//
// Byte 0x98 has no character in code page 1251. It is read as U+0098 (a C1 control) and U+0098 is
// written back as 0x98, so that every byte 0..255 survives a read and a write unchanged: a file
// that happens to hold such a byte is not altered by loading and saving it.

// Every byte maps to one character, so this never fails.
std::string Cp1251ToUtf8(std::string_view cp1251);

// A character that code page 1251 lacks is written as '?'; so is every byte of the input that is
// not part of a well-formed UTF-8 sequence (one '?' per such byte).
std::string Utf8ToCp1251(std::string_view utf8);
