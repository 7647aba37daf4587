// The emulator's line-rate mode: what the receiver sends takes its bytes' time on the line at
// the speed the program set on its end of the terminal, as on a real serial line.

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

#include <gtest/gtest.h>

#include "emulators/civ/ic8500_emulator.h"
#include "emulators/common/pseudo_terminal.h"
#include "tests/emulators/civ_line.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

using civ_line::Line;

// The level query: echo 7 bytes, answer FE FE E0 4A 15 02 l l FD.
constexpr char kLevelQuery[] = "FE FE 4A E0 15 02 FD";
constexpr size_t kEchoAndAnswer = 7 + 9;

// Reads `count` bytes (five seconds at most); the time the last of them came.
Clock::time_point ReadAll(const Line& line, size_t count) {
    EXPECT_EQ(line.Read(count).size(), count);
    return Clock::now();
}

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
    const auto done = ReadAll(line, kEchoAndAnswer);
    EXPECT_GE(done - sent, 16 * 8333us);
    EXPECT_LT(done - sent, 5s);
}

TEST(Ic8500LineRate, OffTheAnswerDoesNotWaitForTheLine) {
    emulators::Ic8500Emulator emulator;
    emulator.Start();
    const Line line(emulator.SlavePath(), B300);  // 33 ms a byte: 533 ms for the exchange
    const auto sent = Clock::now();
    line.Send(kLevelQuery);
    const auto done = ReadAll(line, kEchoAndAnswer);
    EXPECT_LT(done - sent, 16 * 33ms);
}

}  // namespace
