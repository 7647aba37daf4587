#pragma once
// The program's end of an emulator's line, for the emulator tests: the slave side of its
// pseudo-terminal, raw, 8N1 at the speed the test sets. A read waits five seconds at most, so
// that an answer that does not come fails the test instead of hanging it.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

class ProgramLine {
  public:
    explicit ProgramLine(const std::string& path, speed_t speed = B9600)
        : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
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
    // Up to `count` bytes; fewer only when nothing more comes for five seconds.
    std::string Read(size_t count) const {
        std::string got;
        while (got.size() < count) {
            pollfd in{fd_, POLLIN, 0};
            if (::poll(&in, 1, 5000) <= 0) break;
            char byte;
            if (::read(fd_, &byte, 1) != 1) break;
            got += byte;
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
    bool NothingWaiting() const {
        pollfd in{fd_, POLLIN, 0};
        return ::poll(&in, 1, 0) == 0;
    }

  private:
    int fd_;
};

// An emulator serving on its own thread and the program's end of its line, for the tests of
// the text protocols.
template <typename Emulator>
class EmulatorOnLine : public ::testing::Test {
  protected:
    template <typename... Arguments>
    explicit EmulatorOnLine(Arguments&&... arguments)
        : emulator_(std::forward<Arguments>(arguments)...), line_(emulator_.SlavePath()) {
        emulator_.Start();
    }

    // Each command line and the answer line it gets.
    void ExpectAnswers(std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
        for (const auto& [command, answer] : pairs)
            EXPECT_EQ(line_.Exchange(command), answer) << command;
    }

    Emulator emulator_;
    ProgramLine line_;
};
