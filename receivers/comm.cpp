#include "receivers/comm.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>

#include "state/cp1251.h"
#include "state/message_bus.h"
#include "ui/application.h"
#include "ui/post.h"

namespace {

struct BaudEntry {
    uint32_t baud;
    speed_t speed;
};

// Rates every serial driver knows, ascending.
constexpr BaudEntry kBauds[] = {
    {300, B300},     {600, B600},     {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},   {9600, B9600},     {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

// The highest standard rate not above baud (the slowest for less); 0, which would hang
// up the line, gives the default 9600.
speed_t SpeedFor(uint32_t baud) {
    if (baud == 0) return B9600;
    speed_t speed = kBauds[0].speed;
    for (const BaudEntry& entry : kBauds)
        if (entry.baud <= baud) speed = entry.speed;
    return speed;
}

tcflag_t SizeFor(uint8_t byteSize) {
    switch (byteSize) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

// A write that makes no progress for this long is given up (a receiver that holds the
// line must not freeze the program).
constexpr int kWriteStallMs = 5000;

// The lock files this program holds now, whichever of its ports made them: one that names this
// program's process but is not among them was left by an earlier run whose number came back.
std::set<std::string>& LockFilesHeldHere() {
    static std::set<std::string> held;
    return held;
}

// The device's name as lock files carry it: "ttyUSB0" for /dev/ttyUSB0 (a COMn link followed),
// "pts_3" for /dev/pts/3.
std::string LockName(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path device = std::filesystem::canonical(path, ec);
    const std::string full = ec ? path : device.string();
    constexpr std::string_view kDevices = "/dev/";
    std::string name = full.starts_with(kDevices) ? full.substr(kDevices.size())
                                                  : std::filesystem::path(full).filename().string();
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

enum class LockOwner { Nobody, Stale, Us, Another, Making, Unreadable };

// The highest number a process can have here: one below the system's limit; the kernel's own
// ceiling when the limit cannot be read.
long HighestProcessNumber() {
    constexpr long kKernelCeiling = 4'194'304;
    long limit = 0;
    if (FILE* file = std::fopen("/proc/sys/kernel/pid_max", "re")) {
        if (std::fscanf(file, "%ld", &limit) != 1) limit = 0;
        std::fclose(file);
    }
    return (limit > 1 && limit <= kKernelCeiling ? limit : kKernelCeiling) - 1;
}

// The process a lock file names, from its bytes: as text (the usual ten characters and a newline,
// or a number between blanks, with a sign or ended by a NUL as some programs write it), or,
// four bytes with a NUL among them, as the number the machine holds in an int (the older binary
// form: a process number has a zero top byte). Nothing when it names no process there can be: no
// number, 0 or less, or above the highest process number (taken as it stands, such a number
// becomes another one, -1 or 0 among them, which signal every process or the program's own
// group).
std::optional<pid_t> LockHolder(std::string_view bytes) {
    long long number = 0;
    if (bytes.size() == sizeof(int32_t) && bytes.find('\0') != std::string_view::npos) {
        int32_t binary = 0;
        std::memcpy(&binary, bytes.data(), sizeof binary);
        number = binary;
    } else {
        constexpr std::string_view kBlanks = " \t\r\n";
        std::size_t first = bytes.find_first_not_of(kBlanks);
        if (first == std::string_view::npos) return std::nullopt;
        if (bytes[first] == '+') ++first;
        const char* const begin = bytes.data() + first;
        const char* const end = bytes.data() + bytes.size();
        const auto [past, error] = std::from_chars(begin, end, number);
        if (error != std::errc() ||
            (past != end && *past != '\0' && kBlanks.find(*past) == std::string_view::npos))
            return std::nullopt;
    }
    if (number <= 0 || number > HighestProcessNumber()) return std::nullopt;
    return static_cast<pid_t>(number);
}

// An empty lock file younger than this is one another program has made and not yet written its
// number into: it holds the port. Older, its maker died before it wrote.
constexpr int64_t kLockInTheMakingSeconds = 10;

struct LockJudgement {
    LockOwner owner = LockOwner::Nobody;
    pid_t pid = 0;  // the running holder's number (Another)
    int error = 0;  // why the file could not be read (Unreadable)
};

// An empty file made or touched within kLockInTheMakingSeconds (either way: a clock set back
// must not make every empty file young for good).
bool InTheMaking(int fd) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) return false;
    const int64_t age = int64_t(std::time(nullptr)) - int64_t(made.st_mtime);
    return made.st_size == 0 && age < kLockInTheMakingSeconds && age > -kLockInTheMakingSeconds;
}

// Who holds the lock file: nobody (there is none), a process that is gone (or a file that names
// none), this program, another program, another program still writing it (empty and young), or
// nobody can tell (a file that cannot be read, a link: it is not ours to judge).
LockJudgement OwnerOf(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return {};
        return {LockOwner::Unreadable, 0, errno};
    }
    char text[128] = {};
    const ssize_t n = ::read(fd, text, sizeof text);
    const int readError = errno;
    const bool making = n == 0 && InTheMaking(fd);
    ::close(fd);
    if (n < 0) return {LockOwner::Unreadable, 0, readError};
    if (making) return {LockOwner::Making};
    const std::optional<pid_t> pid =
        n > 0 ? LockHolder(std::string_view(text, std::size_t(n))) : std::nullopt;
    if (!pid) return {LockOwner::Stale};
    if (*pid == ::getpid())
        return {LockFilesHeldHere().contains(file) ? LockOwner::Us : LockOwner::Stale};
    // A process of another user answers EPERM: it runs.
    if (::kill(*pid, 0) == 0 || errno == EPERM) return {LockOwner::Another, *pid};
    return {LockOwner::Stale};
}

struct ErrorWords {
    int error;
    const char* words;
};

// The operator's words for why a device would not open, and why a lock file could not be read;
// the system's own for the rest.
constexpr ErrorWords kDeviceRefusals[] = {
    {ENOENT, "нет такого устройства"},
    {EACCES, "нет прав на доступ к устройству"},
    {EPERM, "нет прав на доступ к устройству"},
    {ENOTTY, "устройство не является последовательным портом"},
    {EBUSY, "устройство занято"},
    {EWOULDBLOCK, "занят другой программой"},
};
constexpr ErrorWords kUnreadLocks[] = {
    {ELOOP, "это символическая ссылка"},
    {EACCES, "нет прав на чтение"},
    {EPERM, "нет прав на чтение"},
};

template <std::size_t N>
std::string Words(const ErrorWords (&table)[N], int error) {
    for (const ErrorWords& entry : table)
        if (entry.error == error) return entry.words;
    return std::strerror(error);
}

// Why a lock file keeps the port from this program, in the operator's words; empty when it
// does not.
std::string LockRefusal(const std::string& file, const LockJudgement& judged) {
    switch (judged.owner) {
        case LockOwner::Us:
            return "уже открыт этой программой (" + file + ")";
        case LockOwner::Another:
            return "занят процессом " + std::to_string(judged.pid) + " (" + file + ")";
        case LockOwner::Making:
            return "занят другой программой, файл блокировки " + file + " еще пуст";
        case LockOwner::Unreadable:
            return "файл блокировки " + file + " не прочитан: " + Words(kUnreadLocks, judged.error);
        default:
            return {};
    }
}

// The lock file's number as it is written: ten characters and a newline.
std::string LockText() {
    char pid[16];
    const int length = std::snprintf(pid, sizeof pid, "%10ld\n", static_cast<long>(::getpid()));
    return std::string(pid, std::size_t(length));
}

// Makes `file` whole or not at all: the number goes into a temporary of this process, which is
// then linked under the lock file's name (failing, as an exclusive create does, where one is
// there), so nobody ever reads this program's lock file empty. errno tells a failure.
bool MakeLockFile(const std::string& folder, const std::string& file) {
    const std::string temporary = folder + "/LTMP." + std::to_string(::getpid());
    ::unlink(temporary.c_str());  // an earlier process of this number, killed making its own
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const std::string text = LockText();
    const bool written = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    const bool closed = ::close(fd) == 0;
    const bool linked = written && closed && ::link(temporary.c_str(), file.c_str()) == 0;
    const int error = written && closed ? errno : EIO;
    ::unlink(temporary.c_str());
    errno = error;
    return linked;
}

// The lock folders that exist, each once (/var/lock is mostly a link to /run/lock).
std::vector<std::string> ExistingFolders(const std::vector<std::string>& folders) {
    std::vector<std::string> found;
    for (const std::string& folder : folders) {
        std::error_code ec;
        const std::filesystem::path real = std::filesystem::canonical(folder, ec);
        if (ec || !std::filesystem::is_directory(real, ec)) continue;
        if (std::find(found.begin(), found.end(), real.string()) == found.end())
            found.push_back(real.string());
    }
    return found;
}

}  // namespace

std::string CommDevicePath(const std::string& programDir, int port) {
    if (port < 1 || port > 4) return {};
    const std::string name = "COM" + std::to_string(port);
    const std::filesystem::path entry = std::filesystem::path(programDir) / name;
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(entry, ec))) return entry.string();
    return "/dev/ttyS" + std::to_string(port - 1);
}

Comm::~Comm() {
    Close();
}

void Comm::Init() {
    Close();  // no port handle after Init, and no reader left behind
    Parity = kParityNone;
    ReadIndex = 0;
    WriteIndex = 0;
    RingSize = kRingSize;
    PortNumber = ConfiguredPort;
    ByteSize = ConfiguredByteSize;
    BaudRate = ConfiguredBaud;
    openedPath_.clear();
    openFailure_.clear();
    bytesWritten_ = 0;
}

bool Comm::Open() {
    return OpenPath(CommDevicePath(ProgramDir, PortNumber));
}

bool Comm::Reopen() {
    return openedPath_.empty() ? Open() : OpenPath(openedPath_);
}

// Whatever stops it, the operator is told why (OpenFailure).
bool Comm::OpenPath(const std::string& path) {
    if (IsOpen()) return Running;  // one port per Comm: the open one stays as it is
    Running = false;
    HungUp = false;  // a loss of an earlier link is no news once a new one is tried
    openFailure_.clear();
    if (!OpenDevice(path)) {
        openFailure_ = "Порт COM" + std::to_string(PortNumber) +
                       (path.empty() ? "" : " (" + path + ")") + " не открыт: " + openFailure_;
        return false;
    }
    openedPath_ = path;
    return true;
}

bool Comm::OpenDevice(const std::string& path) {
    if (path.empty()) {
        openFailure_ = "такого порта нет, есть COM1..COM4";
        return false;
    }
    // Non-blocking: the open does not wait for a carrier, and a write from the
    // user-interface thread proceeds while the reader waits.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        openFailure_ = Words(kDeviceRefusals, errno);
        return false;
    }
    if (!::isatty(fd)) openFailure_ = Words(kDeviceRefusals, ENOTTY);
    if (!openFailure_.empty() || !LockPort(path, fd)) {
        ::close(fd);
        return false;
    }
    // No exclusive mark (TIOCEXCL) on the device besides the locks: on a pseudo-terminal the
    // other end keeps it, so after a kill or a crash it would shut this program's next start
    // out, unless run by the superuser, whom it lets through all the same.
    fd_ = fd;
    ::tcflush(fd_, TCIOFLUSH);

    // DTR and RTS are raised while the line is configured.
    SetModemLine(TIOCM_DTR, true);
    SetModemLine(TIOCM_RTS, true);
    Discarding = true;
    if (!ApplyLine()) {
        openFailure_ = "порт не принял настройки линии";
        ClosePort();
        return false;
    }

    Running = true;
    SetModemLine(TIOCM_DTR, false);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ >= 0) {
        try {
            reader_ = std::thread(&Comm::CommReader, this);
        } catch (const std::system_error&) {
        }
    }
    if (!reader_.joinable()) {
        openFailure_ = "нет ресурсов для чтения порта";
        Running = false;
        ClosePort();
        return false;
    }
    Running = true;
    SetModemLine(TIOCM_DTR, true);
    return true;
}

// The device's flock comes first: a program that holds it may be making its lock file still, and
// its file is then judged only by one that could take the device from nobody.
bool Comm::LockPort(const std::string& path, int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        openFailure_ = Words(kDeviceRefusals, EWOULDBLOCK);
        return false;
    }
    const std::string name = "LCK.." + LockName(path);
    const std::vector<std::string> folders = ExistingFolders(LockFolders);
    for (const std::string& folder : folders) {
        const std::string file = folder + "/" + name;
        const LockJudgement judged = OwnerOf(file);
        openFailure_ = LockRefusal(file, judged);
        if (!openFailure_.empty()) return false;
        // A stale lock that cannot be removed leaves no room for ours there; the flock still
        // keeps the others off.
        if (judged.owner == LockOwner::Stale) ::unlink(file.c_str());
    }
    for (const std::string& folder : folders) {
        const std::string file = folder + "/" + name;
        if (!MakeLockFile(folder, file)) {
            // Made by another program since it was looked at: it holds the port now.
            if (errno == EEXIST) openFailure_ = LockRefusal(file, OwnerOf(file));
            if (!openFailure_.empty()) {
                UnlockPort();
                return false;
            }
            continue;  // a folder this program may not write to
        }
        lockFiles_.push_back(file);
        LockFilesHeldHere().insert(file);
    }
    return true;
}

void Comm::UnlockPort() {
    for (const std::string& file : lockFiles_) {
        // Only the file this program made: one another program put there meanwhile stays.
        if (OwnerOf(file).owner == LockOwner::Us) ::unlink(file.c_str());
        LockFilesHeldHere().erase(file);
    }
    lockFiles_.clear();
}

bool Comm::ApplyLine() {
    termios line{};
    if (::tcgetattr(fd_, &line) != 0) return false;
    // Raw bytes both ways: no echo, no line editing, no CR/LF translation, no XON/XOFF.
    ::cfmakeraw(&line);
    line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    line.c_cflag |= CLOCAL | CREAD | SizeFor(ByteSize);
    switch (Parity) {
        case kParityOdd:
            line.c_cflag |= PARENB | PARODD;
            break;
        case kParityEven:
            line.c_cflag |= PARENB;
            break;
        case kParityMark:
            line.c_cflag |= PARENB | PARODD | CMSPAR;
            break;
        case kParitySpace:
            line.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            break;
    }
    if (StopBits != kOneStopBit) line.c_cflag |= CSTOPB;
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    const speed_t speed = SpeedFor(BaudRate);
    if (::cfsetispeed(&line, speed) != 0 || ::cfsetospeed(&line, speed) != 0) return false;
    return ::tcsetattr(fd_, TCSANOW, &line) == 0;
}

void Comm::SetModemLine(int line, bool raise) {
    if (!IsOpen()) return;
    // Pseudo-terminals and some adapters have no modem lines; nothing depends on them.
    (void)::ioctl(fd_, raise ? TIOCMBIS : TIOCMBIC, &line);
}

void Comm::Close() {
    Running = false;
    if (reader_.joinable()) {
        const uint64_t one = 1;
        (void)!::write(wakeFd_, &one, sizeof one);
        reader_.join();
    }
    if (!IsOpen()) return;
    SetModemLine(TIOCM_DTR, false);
    ClosePort();
}

void Comm::ClosePort() {
    if (!IsOpen()) return;
    ::tcflush(fd_, TCIOFLUSH);
    // The flock goes with the descriptor.
    ::close(fd_);
    fd_ = -1;
    UnlockPort();
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
        wakeFd_ = -1;
    }
}

void Comm::EnableReceive() {
    Discarding = false;
    SetModemLine(TIOCM_DTR, true);
}

bool Comm::WriteString(std::string_view text) {
    const std::string bytes = Utf8ToCp1251(text);
    return WriteBytes(reinterpret_cast<const uint8_t*>(bytes.data()),
                      static_cast<uint32_t>(bytes.size()));
}

bool Comm::WriteBytes(const uint8_t* buffer, uint32_t count) {
    // Once the program closes, or its session ends, nothing more goes to the receiver: a
    // sequence broken off by the close (a sync, a bank walk, a speed search) must not send its
    // rest in one burst.
    if (!IsOpen() || ui::Application::Quitting() || ui::Application::SessionEnding()) return false;
    uint32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, buffer + done, count - done);
        if (n > 0) {
            done += static_cast<uint32_t>(n);
            bytesWritten_ += static_cast<uint64_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        // The output queue is full: wait until the line has taken some of it.
        pollfd out{fd_, POLLOUT, 0};
        int ready;
        do {
            ready = ::poll(&out, 1, kWriteStallMs);
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0 || (out.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return false;
    }
    return true;
}

void Comm::Purge() {
    if (IsOpen()) ::tcflush(fd_, TCIOFLUSH);
    ReadIndex.store(WriteIndex.load(std::memory_order_acquire), std::memory_order_release);
}

void Comm::CommFlushInput() {
    if (IsOpen()) ::tcflush(fd_, TCIFLUSH);
    ReadIndex.store(WriteIndex.load(std::memory_order_acquire), std::memory_order_release);
}

void Comm::CommSetLine(uint32_t baud, uint8_t byteSize, uint8_t parity, uint8_t stopBits) {
    BaudRate = baud;
    ByteSize = byteSize;
    Parity = parity;
    StopBits = stopBits;
    if (!IsOpen()) return;
    // The reader is joined before the port goes, so it never waits on a closed descriptor.
    if (!ApplyLine()) Close();
}

void Comm::CommSetRts(uint8_t flags) {
    SetModemLine(TIOCM_RTS, (flags & 2) != 0);
}

void Comm::StoreReceived(const uint8_t* bytes, size_t count) {
    uint32_t write = WriteIndex.load(std::memory_order_relaxed);
    for (size_t i = 0; i < count; ++i) {
        Ring[write] = bytes[i];
        const uint32_t next = (write + 1) % kRingSize;
        // Full: the byte stays in the free place and the next one overwrites it.
        if (next != ReadIndex.load(std::memory_order_acquire)) write = next;
    }
    WriteIndex.store(write, std::memory_order_release);
    if (Discarding) {
        ReadIndex.store(write, std::memory_order_release);
        return;
    }
    PostPrivateMessage(NotifyWindow, PostSerialData);
}

bool Comm::DeliveringForTesting() const {
    // In the order the news travels: the port's, then the reader's.
    if (Running && fd_ >= 0) {
        pollfd line{fd_, POLLIN, 0};
        if (::poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR)) != 0) return true;
    }
    return delivering_.load() != 0;
}

void Comm::CommReader() {
    uint8_t buffer[kRingSize];
    while (Running) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents != 0 || !Running) break;
        if ((fds[0].revents & POLLIN) != 0) {
            ++delivering_;
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0) StoreReceived(buffer, static_cast<size_t>(n));
            --delivering_;
            if (n > 0) continue;
            if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        } else if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) == 0) {
            continue;
        }
        // The device went away (an adapter unplugged): waiting on it would only spin. The
        // main window is told unless a Close is already taking the link down.
        ++delivering_;
        if (Running.exchange(false)) {
            HungUp = true;
            PostPrivateMessage(NotifyWindow, PostSerialData);
        }
        --delivering_;
        break;
    }
}
