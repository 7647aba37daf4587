// The emulator's line-rate mode: what the receiver sends takes its bytes' time on the line at
// the speed the program set on its end of the terminal, as on a real serial line.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "emulators/civ/ic8500_emulator.h"
#include "emulators/common/pseudo_terminal.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The program's end of the line, raw, at `speed` with 8 data bits, no parity, one stop bit.
class Line {
  public:
    Line(const std::string& path, speed_t speed) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios line{};
        ::tcgetattr(fd_, &line);
        ::cfmakeraw(&line);
        ::cfsetispeed(&line, speed);
        ::cfsetospeed(&line, speed);
        ::tcsetattr(fd_, TCSANOW, &line);
    }
    ~Line() { ::close(fd_); }
    void Send(const emulators::Bytes& bytes) const {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Reads `count` bytes (five seconds at most); the time the last of them came.
    Clock::time_point ReadAll(size_t count) const {
        size_t got = 0;
        while (got < count) {
            pollfd in{fd_, POLLIN, 0};
            if (::poll(&in, 1, 5000) <= 0) break;
            uint8_t buffer[64];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        EXPECT_EQ(got, count);
        return Clock::now();
    }

  private:
    int fd_;
};

// The level query: FE FE 4A E0 15 02 FD. Echo 7 bytes, answer FE FE E0 4A 15 02 l l FD.
const emulators::Bytes kLevelQuery = {0xFE, 0xFE, 0x4A, 0xE0, 0x15, 0x02, 0xFD};
constexpr size_t kEchoAndAnswer = 7 + 9;

TEST(PseudoTerminalLine, AByteTakesItsStartDataAndStopBitsAtTheSetSpeed) {
    emulators::PseudoTerminal pty;
    const int fd = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY);
    termios line{};
    ::tcgetattr(fd, &line);
    ::cfmakeraw(&line);
    ::cfsetospeed(&line, B9600);
    line.c_cflag |= CSTOPB;  // 8N2, as the AR3000A has it: 11 bits a byte
    ::tcsetattr(fd, TCSANOW, &line);
    EXPECT_EQ(pty.ByteTime(), std::chrono::nanoseconds(1'145'833));
    ::cfsetospeed(&line, B19200);
    line.c_cflag &= ~CSTOPB;  // 8N1: 10 bits
    ::tcsetattr(fd, TCSANOW, &line);
    EXPECT_EQ(pty.ByteTime(), std::chrono::nanoseconds(520'833));
    ::close(fd);
}

TEST(Ic8500LineRate, EchoAndAnswerLeaveOnlyAfterTheirBytesTimeOneAfterTheOther) {
    emulators::Ic8500Emulator emulator;
    emulator.SetLineRate(true);
    emulator.Start();
    const Line line(emulator.SlavePath(), B1200);  // 8.33 ms a byte
    const auto sent = Clock::now();
    line.Send(kLevelQuery);
    const auto done = line.ReadAll(kEchoAndAnswer);
    EXPECT_GE(done - sent, 16 * 8333us);
    EXPECT_LT(done - sent, 5s);
}

TEST(Ic8500LineRate, OffTheAnswerDoesNotWaitForTheLine) {
    emulators::Ic8500Emulator emulator;
    emulator.Start();
    const Line line(emulator.SlavePath(), B300);  // 33 ms a byte: 533 ms for the exchange
    const auto sent = Clock::now();
    line.Send(kLevelQuery);
    const auto done = line.ReadAll(kEchoAndAnswer);
    EXPECT_LT(done - sent, 16 * 33ms);
}

}  // namespace
