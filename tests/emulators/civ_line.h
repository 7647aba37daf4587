#pragma once
// The program's end of a CI-V emulator's line, for the emulator tests: frames written and
// read as hex text ("FE FE 4A E0 03 FD").

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "emulators/civ/civ_frame.h"

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

// The program's end of the line.
class Line {
  public:
    explicit Line(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios line{};
        ::tcgetattr(fd_, &line);
        ::cfmakeraw(&line);
        ::tcsetattr(fd_, TCSANOW, &line);
    }
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;
    ~Line() { ::close(fd_); }

    void Send(std::string_view hex) const {
        const Bytes bytes = FromHex(hex);
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Up to `count` bytes; fewer only when nothing more comes for five seconds.
    Bytes Read(size_t count) const {
        Bytes got;
        while (got.size() < count) {
            pollfd in{fd_, POLLIN, 0};
            if (::poll(&in, 1, 5000) <= 0) break;
            uint8_t byte;
            if (::read(fd_, &byte, 1) != 1) break;
            got.push_back(byte);
        }
        return got;
    }
    bool NothingWaiting() const {
        pollfd in{fd_, POLLIN, 0};
        return ::poll(&in, 1, 0) == 0;
    }

  private:
    int fd_;
};

// Reads as many bytes as `hex` holds and compares them.
inline ::testing::AssertionResult Receives(const Line& line, std::string_view hex) {
    const std::string got = ToHex(line.Read(FromHex(hex).size()));
    if (got == hex) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got \"" << got << "\", expected \"" << hex << "\"";
}

}  // namespace civ_line
