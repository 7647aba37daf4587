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

using civ_line::Line;

// The level query: echo 7 bytes, answer FE FE E0 4A 15 02 l l FD.
constexpr char kLevelQuery[] = "FE FE 4A E0 15 02 FD";
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

// On the set's own clock, which the test moves: 8.33 ms a byte at 1200 Bd, the echo's 7 bytes
// first, then the answer's 9.
TEST(Ic8500LineRate, EchoAndAnswerLeaveOnlyAfterTheirBytesTimeOneAfterTheOther) {
    emulators::Ic8500Emulator emulator;
    emulator.SetLineRate(true);
    TestClock clock;
    clock.Drive(emulator);
    emulator.Start();
    const Line line(emulator.SlavePath(), B1200, LineSender::TurnsOf(emulator));
    constexpr auto kByte = std::chrono::nanoseconds(8'333'333);
    line.Send(kLevelQuery);
    EXPECT_TRUE(line.NothingWaiting());  // heard now
    clock.Advance(7 * kByte - 1us);
    EXPECT_TRUE(line.NothingWaiting());
    clock.Advance(1us);
    EXPECT_EQ(line.Read(kEchoAndAnswer).size(), 7u);  // the echo alone
    clock.Advance(9 * kByte - 1us);
    EXPECT_TRUE(line.NothingWaiting());
    clock.Advance(1us);
    EXPECT_EQ(line.Read(kEchoAndAnswer).size(), 9u);
}

// Off, the bytes take no time: all of them come with the clock standing still.
TEST(Ic8500LineRate, OffTheAnswerDoesNotWaitForTheLine) {
    emulators::Ic8500Emulator emulator;
    const LineSender turns = InTurns(emulator);
    emulator.Start();
    const Line line(emulator.SlavePath(), B300, turns);
    line.Send(kLevelQuery);
    EXPECT_EQ(line.Read(kEchoAndAnswer).size(), kEchoAndAnswer);
}

}  // namespace
