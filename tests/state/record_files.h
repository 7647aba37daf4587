#pragma once
// Helpers of the tests of the stored-item files.

#include <initializer_list>
#include <string>
#include <string_view>

#include "state/cp1251.h"
#include "state/stamp_clock.h"
#include "tests/state/temp_dir.h"
#include "tests/support/file_size_limit.h"

// The expected bytes of a stored file, made apart from the program's own code page conversion.
inline std::string Golden(const std::string& name) {
    return ReadBytes(std::string(ORVEL_STATE_GOLDEN_DIR) + "/" + name);
}

// A stored file as written outside the program: the lines in code page 1251, CR LF.
inline std::string StoredLines(std::initializer_list<std::string_view> lines) {
    std::string bytes;
    for (const auto line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
    return bytes;
}

// Stamps every write with 7 March 2001, 09:05:30 while it lives.
class FixedStampClock {
  public:
    FixedStampClock() {
        StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
    }
    FixedStampClock(const FixedStampClock&) = delete;
    FixedStampClock& operator=(const FixedStampClock&) = delete;
    ~FixedStampClock() { StampClock::Set({}); }
};
