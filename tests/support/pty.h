#pragma once
// A pseudo-terminal pair for tests of the serial link: the program opens the slave side
// as its port (through a COMn link in the program folder), the test plays the receiver on
// the master side.

#include <errno.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "emulators/common/pseudo_terminal.h"

class PtyPair {
  public:
    PtyPair() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        slaveName_ = name;
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;
    ~PtyPair() {
        CloseMaster();
        ::close(slave_);
    }

    // The receiver goes away (an adapter unplugged): the slave side sees a hang-up.
    void CloseMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

    int master() const { return master_; }
    // The test keeps the slave open too: the device stays alive while the program opens
    // and closes it, and its line settings can be read back.
    int slave() const { return slave_; }
    const std::string& slaveName() const { return slaveName_; }

    // Makes `link` (e.g. <program folder>/COM1) a symbolic link to the slave side.
    void LinkAs(const std::filesystem::path& link) const {
        std::filesystem::create_symlink(slaveName_, link);
    }

    // The slave's line settings as the program left them.
    termios SlaveLine() const {
        termios line{};
        if (::tcgetattr(slave_, &line) != 0) throw std::runtime_error("tcgetattr failed");
        return line;
    }

    // Bytes sent to the program that it has not read yet, those on their way through the
    // terminal among them (a poll has the kernel hand them over first), counted while the
    // program holds its port (locked: nobody else reads them), and the line has not hung up.
    // A test on virtual time lets no time pass meanwhile.
    bool ProgramHasUnread() const {
        pollfd in{slave_, POLLIN, 0};
        return ::poll(&in, 1, 0) > 0 && (in.revents & (POLLIN | POLLHUP)) == POLLIN &&
               emulators::HeldAsAPort(slave_);
    }

    // Sends bytes to the program, as the receiver would.
    void Send(std::string_view bytes) const {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) throw std::runtime_error("write to the pseudo-terminal failed");
            done += static_cast<size_t>(n);
        }
    }

    // Reads what the program wrote until `count` bytes have come, however long they take (no
    // deadline a slow machine could miss); fewer only when the line fails.
    std::string Receive(size_t count) const {
        std::string got;
        char buffer[4096];
        while (got.size() < count) {
            pollfd in{master_, POLLIN, 0};
            const int ready = ::poll(&in, 1, -1);
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) break;
            const size_t want = std::min(sizeof buffer, count - got.size());
            const ssize_t n = ::read(master_, buffer, want);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got.append(buffer, static_cast<size_t>(n));
        }
        return got;
    }

    // Whatever the program wrote that is already there, without waiting.
    std::string ReceivePending() const {
        std::string got;
        char buffer[4096];
        for (;;) {
            pollfd in{master_, POLLIN, 0};
            if (::poll(&in, 1, 0) <= 0 || (in.revents & POLLIN) == 0) break;
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            got.append(buffer, static_cast<size_t>(n));
        }
        return got;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
};
