#include "emulators/common/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace emulators {

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void MakeRaw(int fd, const char* what) {
    termios line{};
    if (::tcgetattr(fd, &line) != 0) ThrowErrno(what);
    ::cfmakeraw(&line);
    if (::tcsetattr(fd, TCSANOW, &line) != 0) ThrowErrno(what);
}

bool IsLeftOver(const std::filesystem::path& link) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(link, error);
    if (error) return false;
    const auto resolved = target.is_absolute() ? target : link.parent_path() / target;
    if (!std::filesystem::exists(resolved, error)) return true;
    return resolved.lexically_normal().string().starts_with("/dev/pts/");
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) ThrowErrno("posix_openpt");
    char name[128] = {};
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
        const int error = errno;
        ::close(master_);
        throw std::system_error(error, std::generic_category(), "pseudo-terminal slave");
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        const int error = errno;
        ::close(master_);
        throw std::system_error(error, std::generic_category(), slavePath_);
    }
    try {
        // The line discipline sits on the slave side: without raw mode it would echo the
        // receiver's own replies back to it and translate CR and LF bytes.
        MakeRaw(slave_, "raw mode of the slave");
        MakeRaw(master_, "raw mode of the master");
        const int flags = ::fcntl(master_, F_GETFL);
        if (flags < 0 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0)
            ThrowErrno("non-blocking master");
    } catch (...) {
        ::close(slave_);
        ::close(master_);
        throw;
    }
}

PseudoTerminal::~PseudoTerminal() {
    RemoveLink();
    ::close(slave_);
    ::close(master_);
}

void PseudoTerminal::LinkAs(const std::filesystem::path& link) {
    RemoveLink();
    std::error_code error;
    const auto status = std::filesystem::symlink_status(link, error);
    if (std::filesystem::exists(status)) {
        if (!std::filesystem::is_symlink(status) || !IsLeftOver(link))
            throw std::runtime_error(link.string() + " exists and is not a left-over link");
        std::filesystem::remove(link);
    }
    std::filesystem::create_symlink(slavePath_, link);
    link_ = link;
}

namespace {

// Bits per second of a termios speed code.
uint32_t BitsPerSecond(speed_t speed) {
    struct Speed {
        speed_t code;
        uint32_t bits;
    };
    // clang-format off
    static constexpr Speed kSpeeds[] = {
        {B50, 50},         {B75, 75},         {B110, 110},       {B134, 134},
        {B150, 150},       {B200, 200},       {B300, 300},       {B600, 600},
        {B1200, 1200},     {B1800, 1800},     {B2400, 2400},     {B4800, 4800},
        {B9600, 9600},     {B19200, 19200},   {B38400, 38400},   {B57600, 57600},
        {B115200, 115200}, {B230400, 230400}, {B460800, 460800}, {B921600, 921600},
    };
    // clang-format on
    for (const Speed& entry : kSpeeds)
        if (entry.code == speed) return entry.bits;
    return 0;
}

}  // namespace

std::chrono::nanoseconds PseudoTerminal::ByteTime() const {
    termios line{};
    if (::tcgetattr(slave_, &line) != 0) return {};
    const uint32_t speed = BitsPerSecond(::cfgetospeed(&line));
    if (speed == 0) return {};
    uint32_t data = 8;
    switch (line.c_cflag & CSIZE) {
        case CS5:
            data = 5;
            break;
        case CS6:
            data = 6;
            break;
        case CS7:
            data = 7;
            break;
        default:
            break;
    }
    const uint32_t bits =
        1 + data + ((line.c_cflag & PARENB) ? 1 : 0) + ((line.c_cflag & CSTOPB) ? 2 : 1);
    return std::chrono::nanoseconds(int64_t{bits} * 1'000'000'000 / speed);
}

namespace {

// Whether `fd` has bytes to read. A write to one side of the terminal reaches the other by way
// of a kernel worker, and until it has run the bytes are counted nowhere (FIONREAD says 0); a
// poll has the kernel hand over what is on its way first.
bool Readable(int fd) {
    pollfd in{fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&in, 1, 0);
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && (in.revents & POLLIN) != 0;
}

}  // namespace

bool PseudoTerminal::SetHasUnread() const {
    return Readable(master_);
}

bool PseudoTerminal::ProgramHasUnread() const {
    return Readable(slave_) && HeldAsAPort(slave_);
}

bool HeldAsAPort(int fd) {
    struct stat device {};
    if (::fstat(fd, &device) != 0) return false;
    // A lock's line: "1: FLOCK  ADVISORY  WRITE 3642 00:1a:3 0 EOF", the file named by the
    // major and minor number of its file system (hex) and its inode; a waiter's has "->" after
    // the number.
    char file[64];
    std::snprintf(file, sizeof file, "%02x:%02x:%llu", ::major(device.st_dev),
                  ::minor(device.st_dev), static_cast<unsigned long long>(device.st_ino));
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, pid, lockedFile;
        fields >> number >> kind >> mode >> access >> pid >> lockedFile;
        if (kind == "FLOCK" && access == "WRITE" && lockedFile == file) return true;
    }
    return false;
}

uint32_t PseudoTerminal::LineSpeed() const {
    termios line{};
    if (::tcgetattr(slave_, &line) != 0) return 0;
    return BitsPerSecond(::cfgetospeed(&line));
}

int PseudoTerminal::StopBits() const {
    termios line{};
    if (::tcgetattr(slave_, &line) != 0) return 1;
    return (line.c_cflag & CSTOPB) ? 2 : 1;
}

void PseudoTerminal::RemoveLink() noexcept {
    if (link_.empty()) return;
    std::error_code error;
    if (std::filesystem::read_symlink(link_, error) == slavePath_ && !error)
        std::filesystem::remove(link_, error);
    link_.clear();
}

}  // namespace emulators
