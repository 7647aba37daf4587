// An emulator on a test's clock: it serves in the turns the test gives it, owes the program
// what is on its way in either direction, and does what it does in its own time when the
// test's clock gets there, however slowly the machine runs.

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "emulators/civ/ic8500_emulator.h"
#include "tests/emulators/civ_line.h"

namespace {

using namespace std::chrono_literals;
using civ_line::FromHex;
using civ_line::ToHex;

// The program's end as the program holds it: raw, locked.
class ProgramsPort {
  public:
    explicit ProgramsPort(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios line{};
        ::tcgetattr(fd_, &line);
        ::cfmakeraw(&line);
        ::tcsetattr(fd_, TCSANOW, &line);
        ::flock(fd_, LOCK_EX | LOCK_NB);
    }
    ProgramsPort(const ProgramsPort&) = delete;
    ProgramsPort& operator=(const ProgramsPort&) = delete;
    ~ProgramsPort() { ::close(fd_); }
    void Write(const std::string& hex) const {
        const emulators::Bytes bytes = FromHex(hex);
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // What has come, without waiting.
    std::string Taken() const {
        emulators::Bytes got;
        uint8_t buffer[256];
        for (pollfd in{fd_, POLLIN, 0}; ::poll(&in, 1, 0) > 0 && (in.revents & POLLIN);) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) break;
            got.insert(got.end(), buffer, buffer + n);
        }
        return ToHex(got);
    }

  private:
    int fd_;
};

class SetOnATestsClock : public ::testing::Test {
  protected:
    SetOnATestsClock() {
        clock_.Drive(set_);
        set_.SetEcho(false);
        set_.Start();
    }
    TestClock clock_;
    emulators::Ic8500Emulator set_;
    ProgramsPort port_{set_.SlavePath()};
};

// The bytes of a write reach the other end of the terminal by way of a kernel worker, counted
// nowhere until it has run: a set that looked only at what is counted would owe nothing, and
// a test's clock would move on, with the question or the answer on its way.
TEST_F(SetOnATestsClock, OwesWhatIsOnItsWayInEitherDirectionUntilTheProgramHasIt) {
    for (int round = 0; round < 200; ++round) {
        port_.Write("FE FE 4A E0 15 02 FD");
        ASSERT_TRUE(set_.Owes()) << "the question, round " << round;
        set_.TakeTurn();
        ASSERT_TRUE(set_.Owes()) << "the answer, round " << round;
        ASSERT_EQ(port_.Taken(), "FE FE E0 4A 15 02 01 90 FD") << round;
        ASSERT_FALSE(set_.Owes()) << round;
    }
}

TEST_F(SetOnATestsClock, AnswersOnlyInItsTurns) {
    port_.Write("FE FE 4A E0 03 FD");
    EXPECT_EQ(port_.Taken(), "");
    set_.TakeTurn();
    EXPECT_EQ(port_.Taken(), "FE FE E0 4A 03 00 00 70 01 01 FD");
}

// What the set does by itself is due by the test's clock: nothing is owed before, and the
// clock's next stop is when it falls due.
TEST_F(SetOnATestsClock, WhatItDoesInItsOwnTimeFallsDueByTheTestsClock) {
    set_.SetAnnounceInterval(100ms);
    EXPECT_EQ(set_.NextDue(), clock_.Now() + 100ms);
    clock_.Advance(99ms);
    EXPECT_FALSE(set_.Owes());
    set_.TakeTurn();
    EXPECT_EQ(port_.Taken(), "");
    clock_.Advance(1ms);
    EXPECT_TRUE(set_.Owes());
    set_.TakeTurn();
    EXPECT_EQ(port_.Taken(), "FE FE 00 4A 00 00 00 70 01 01 FD FE FE 00 4A 01 06 01 FD");
    EXPECT_EQ(set_.NextDue(), clock_.Now() + 100ms);
}

}  // namespace
