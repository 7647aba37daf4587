#pragma once
// The program's end of an emulator's line, for the emulator tests: the slave side of its
// pseudo-terminal, raw, 8N1 at the speed the test sets. How long a read waits depends on who
// sends: an emulator on the test's clock (TestClock) sends in the turns the line gives it
// before each look, so what has not come after a turn does not come until the clock moves,
// and a read takes no time at all; an emulator program is waited for as long as it runs; an
// emulator serving on its own thread (the tests of real time alone) is waited for. No read
// has a deadline: what a slow machine delays still comes.

#include <fcntl.h>
#include <poll.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "emulators/common/pty_server.h"

// A clock of the test's own for an emulator (PtyServer::UseClock): it stands still until the
// test moves it, and the emulator then serves in the turns the test gives it.
class TestClock {
  public:
    using time_point = emulators::PtyServer::Clock::time_point;
    time_point Now() const { return now_; }
    void Advance(std::chrono::nanoseconds time) {
        now_ += std::chrono::duration_cast<emulators::PtyServer::Clock::duration>(time);
    }
    // Puts `set` on this clock; before it starts serving.
    void Drive(emulators::PtyServer& set) const {
        set.UseClock([this] { return now_; });
    }

  private:
    time_point now_{std::chrono::hours(1)};
};

// Who sends what the line reads.
struct LineSender {
    // An emulator on the test's clock: its turn.
    std::function<void()> turn;
    // An emulator program.
    pid_t program = -1;

    static LineSender TurnsOf(emulators::PtyServer& set) { return {[&set] { set.TakeTurn(); }}; }
    static LineSender Program(pid_t pid) { return {{}, pid}; }
};

// `set` on a clock of its own that stands still, serving in the turns the line gives it: what
// it would do in its own time never comes. Before it starts serving.
inline LineSender InTurns(emulators::PtyServer& set) {
    set.UseClock([] { return TestClock().Now(); });
    return LineSender::TurnsOf(set);
}

// Whether the program `pid` still runs (its end is left for the test to collect).
inline bool StillRuns(pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

class ProgramLine {
  public:
    explicit ProgramLine(const std::string& path, speed_t speed = B9600, LineSender sender = {})
        : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)), sender_(std::move(sender)) {
        SetSpeed(speed);
    }
    ProgramLine(const ProgramLine&) = delete;
    ProgramLine& operator=(const ProgramLine&) = delete;
    ~ProgramLine() { ::close(fd_); }

    void SetSpeed(speed_t speed, bool twoStopBits = false) const {
        termios line{};
        ::tcgetattr(fd_, &line);
        ::cfmakeraw(&line);
        ::cfsetispeed(&line, speed);
        ::cfsetospeed(&line, speed);
        line.c_cflag = twoStopBits ? (line.c_cflag | CSTOPB) : (line.c_cflag & ~tcflag_t{CSTOPB});
        ::tcsetattr(fd_, TCSANOW, &line);
    }

    void Send(std::string_view bytes) const {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void SendLine(std::string_view text) const { Send(std::string(text) + "\r\n"); }
    // Up to `count` bytes; fewer only when no more come: after a turn that brought nothing
    // new, or once the emulator program has ended.
    std::string Read(size_t count) const {
        std::string got;
        while (got.size() < count) {
            const size_t before = got.size();
            if (sender_.turn) sender_.turn();
            got += Available(count - got.size());
            if (got.size() >= count) break;
            if (sender_.turn) {
                if (got.size() == before) break;
                continue;
            }
            if (sender_.program > 0 && !StillRuns(sender_.program) && got.size() == before &&
                !Readable(0))
                break;
            // Waits for the next byte, looking now and then whether the program still runs.
            Readable(sender_.program > 0 ? 100 : -1);
        }
        return got;
    }
    // One line without its CR LF; what came so far and "<silence>" when nothing more comes.
    std::string ReadLine() const {
        std::string got;
        while (!got.ends_with("\r\n")) {
            const std::string byte = Read(1);
            if (byte.empty()) return got + "<silence>";
            got += byte;
        }
        return got.substr(0, got.size() - 2);
    }
    // Up to and with the first `end`; what came so far and "<silence>" when it does not come.
    std::string ReadUntil(char end) const {
        std::string got;
        while (!got.ends_with(end)) {
            const std::string byte = Read(1);
            if (byte.empty()) return got + "<silence>";
            got += byte;
        }
        return got;
    }
    std::string Exchange(std::string_view command) const {
        SendLine(command);
        return ReadLine();
    }
    // Nothing has come (the emulator on the test's clock has had its turn).
    bool NothingWaiting() const {
        if (sender_.turn) sender_.turn();
        return !Readable(0);
    }

  private:
    // A poll has the kernel hand over what is on its way through the terminal first.
    bool Readable(int timeoutMs) const {
        pollfd in{fd_, POLLIN, 0};
        return ::poll(&in, 1, timeoutMs) > 0 && (in.revents & POLLIN) != 0;
    }
    std::string Available(size_t most) const {
        std::string got;
        char buffer[256];
        while (got.size() < most && Readable(0)) {
            const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, most - got.size()));
            if (n <= 0) break;
            got.append(buffer, static_cast<size_t>(n));
        }
        return got;
    }

    int fd_;
    LineSender sender_;
};

// An emulator on the test's clock and the program's end of its line, for the tests of the text
// protocols.
template <typename Emulator>
class EmulatorOnLine : public ::testing::Test {
  protected:
    template <typename... Arguments>
    explicit EmulatorOnLine(Arguments&&... arguments)
        : emulator_(std::forward<Arguments>(arguments)...),
          line_(emulator_.SlavePath(), B9600, LineSender::TurnsOf(emulator_)) {
        clock_.Drive(emulator_);
        emulator_.Start();
    }

    // Each command line and the answer line it gets.
    void ExpectAnswers(std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
        for (const auto& [command, answer] : pairs)
            EXPECT_EQ(line_.Exchange(command), answer) << command;
    }

    TestClock clock_;
    Emulator emulator_;
    ProgramLine line_;
};
