#pragma once
// The program's end of a CI-V emulator's line, for the emulator tests: frames written and
// read as hex text ("FE FE 4A E0 03 FD").

#include <cstdio>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "emulators/civ/civ_frame.h"
#include "tests/emulators/program_line.h"

namespace civ_line {

using emulators::Bytes;

inline Bytes FromHex(std::string_view hex) {
    Bytes bytes;
    std::istringstream in{std::string(hex)};
    unsigned byte = 0;
    while (in >> std::hex >> byte) bytes.push_back(static_cast<uint8_t>(byte));
    return bytes;
}

inline std::string ToHex(const Bytes& bytes) {
    std::string hex;
    char digits[4];
    for (const uint8_t byte : bytes) {
        std::snprintf(digits, sizeof digits, hex.empty() ? "%02X" : " %02X", byte);
        hex += digits;
    }
    return hex;
}

// The program's end of the line, in hex text.
class Line {
  public:
    explicit Line(const std::string& path, speed_t speed = B9600, LineSender sender = {})
        : line_(path, speed, std::move(sender)) {}

    void Send(std::string_view hex) const {
        const Bytes bytes = FromHex(hex);
        line_.Send(std::string(bytes.begin(), bytes.end()));
    }
    // Up to `count` bytes; fewer only when no more come (ProgramLine::Read).
    Bytes Read(size_t count) const {
        const std::string got = line_.Read(count);
        return Bytes(got.begin(), got.end());
    }
    bool NothingWaiting() const { return line_.NothingWaiting(); }

  private:
    ProgramLine line_;
};

// Reads as many bytes as `hex` holds and compares them.
inline ::testing::AssertionResult Receives(const Line& line, std::string_view hex) {
    const std::string got = ToHex(line.Read(FromHex(hex).size()));
    if (got == hex) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got \"" << got << "\", expected \"" << hex << "\"";
}

struct Exchange {
    const char* sent;
    const char* answer;
};

// Each frame and the bytes that answer it.
inline void ExpectAnswers(const Line& line, std::initializer_list<Exchange> exchanges) {
    for (const Exchange& exchange : exchanges) {
        line.Send(exchange.sent);
        EXPECT_TRUE(Receives(line, exchange.answer)) << exchange.sent;
    }
}

}  // namespace civ_line
