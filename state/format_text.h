#pragma once
// The program's texts made by printf formats ("%9.4f МГц"), kept exactly as the program has
// always shown and written them.

#include <string>

// The text of `format` with its arguments; checked by the compiler like printf.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
