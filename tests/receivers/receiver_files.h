#pragma once
// Helpers of the receiver tests for stored files: a fixed stamp clock, files written in the
// stored format (code page 1251, CR LF) by the test itself, and the golden files beside the tests.

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "state/cp1251.h"
#include "state/stamp_clock.h"
#include "tests/state/temp_dir.h"

// Stamps every write with 7 March 2001, 09:05:30 while it lives.
class StampedAt7March2001 {
  public:
    StampedAt7March2001() {
        StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
    }
    StampedAt7March2001(const StampedAt7March2001&) = delete;
    StampedAt7March2001& operator=(const StampedAt7March2001&) = delete;
    ~StampedAt7March2001() { StampClock::Set({}); }
};

// The lines in code page 1251, each ended CR LF.
inline std::string Cp1251Lines(std::initializer_list<std::string_view> lines) {
    std::string bytes;
    for (const auto line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
    return bytes;
}

// The bytes of a golden file of the receiver tests (tests/receivers/<sub>/golden/<name>).
// The folder comes from the build: __FILE__ is relative when the compiler cache rewrites paths.
inline std::string ReceiverGolden(const std::string& sub, const std::string& name) {
    const std::filesystem::path here = ORVEL_RECEIVER_TESTS_DIR;
    return ReadBytes((here / sub / "golden" / name).string());
}
