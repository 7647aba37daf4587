#include "state/text_file.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <optional>

#include "state/cp1251.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
// A temporary is named path + kTemporaryMark + process number + "_" + n.
constexpr std::string_view kTemporaryMark = ".tmp";

// Closes the descriptor when the scope ends, whatever path is taken out of it.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closing can report a failed delayed write, so the writer checks it.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::optional<std::size_t> ReadFileStart(const std::string& path, std::span<char> buffer) {
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return std::nullopt;
    std::size_t read = 0;
    while (read < buffer.size()) {
        const ssize_t got = ::read(file.get(), buffer.data() + read, buffer.size() - read);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        read += std::size_t(got);
    }
    return read;
}

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Opens a new file beside `path` under a name nobody else uses. O_EXCL never reuses a stranger's
// file; the mode lets the umask decide the permissions as for any other file the program makes.
int createTemporary(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporary = path + std::string(kTemporaryMark) + std::to_string(::getpid()) + "_" +
                    std::to_string(counter++);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process that made a temporary of createTemporary, from its name; none for any other name.
std::optional<pid_t> temporaryOwner(std::string_view name) {
    const auto mark = name.rfind(kTemporaryMark);
    if (mark == std::string_view::npos || mark == 0) return std::nullopt;
    const std::string_view tail = name.substr(mark + kTemporaryMark.size());
    const auto underscore = tail.find('_');
    if (underscore == std::string_view::npos) return std::nullopt;
    const std::string_view number = tail.substr(0, underscore);
    if (!allDigits(number) || !allDigits(tail.substr(underscore + 1))) return std::nullopt;
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), pid);
    if (error != std::errc() || pid <= 0) return std::nullopt;
    return pid;
}

// Signal 0 only asks whether the process exists (this one always does); one we may not signal
// exists all the same.
bool processRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

void removeStaleTemporariesIn(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::vector<fs::path> stale;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code kind;
        if (IsStaleTemporary(it->path().filename().string()) &&
            it->symlink_status(kind).type() == fs::file_type::regular)
            stale.push_back(it->path());
    }
    for (const auto& path : stale) fs::remove(path, error);
}

// A rename that never replaces a file: false, errno EEXIST, when `to` is taken.
bool renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without that rename: a new link fails on a taken name all the same.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

// The content must be on disk before the rename, or a crash could leave an empty file in place of
// the old one.
bool writeAndRename(Descriptor& file, const std::string& temporary, const std::string& path,
                    std::string_view content, bool replace) {
    if (!writeAll(file.get(), content) || ::fsync(file.get()) != 0 || !file.close()) return false;
    return replace ? ::rename(temporary.c_str(), path.c_str()) == 0
                   : renameNoReplace(temporary, path);
}

// Makes the rename itself survive a power failure. The new file is already in place when this
// runs, so a failure here does not make the save a failure.
void syncFolder(const std::string& path) {
    Descriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
}

// The loader takes " and ' as quotes and CR and LF as line ends (and a line's fields end at their
// separator), so a value holding any of them would come back cut or changed; such a value goes
// into a quoted stretch.
bool needsQuotes(std::string_view value, std::optional<char> separator = std::nullopt) {
    return value.find_first_of("\"'\r\n") != std::string_view::npos ||
           (separator && value.find(*separator) != std::string_view::npos);
}

// Inside a stretch the loader keeps line ends and the other quote character as they are, and reads
// a backslash followed by the quote or by a backslash as that second character. The quote is the
// one the value lacks where it can be, so that its own quotes need no backslash.
void appendQuoted(std::string& line, std::string_view value) {
    const char quote =
        value.find('"') != std::string_view::npos && value.find('\'') == std::string_view::npos
            ? '\''
            : '"';
    line += quote;
    for (const char c : value) {
        if (c == quote || c == '\\') line += '\\';
        line += c;
    }
    line += quote;
}

}  // namespace

void TextFileWriter::Line(std::string_view utf8) {
    content_ += Utf8ToCp1251(utf8);
    content_ += kLineEnd;
}

void TextFileWriter::Text(std::string_view utf8) {
    content_ += Utf8ToCp1251(utf8);
}

void TextFileWriter::KeyValue(std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append("=");
    if (needsQuotes(value)) {
        appendQuoted(line, value);
    } else {
        line.append(value);
    }
    Line(line);
}

void TextFileWriter::Fields(std::span<const std::string> fields, char separator) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += separator;
        if (needsQuotes(fields[i], separator)) {
            appendQuoted(line, fields[i]);
        } else {
            line += fields[i];
        }
    }
    Line(line);
}

bool AppendLine(const std::string& path, std::string_view utf8) {
    struct stat info {};
    const bool existed = ::stat(path.c_str(), &info) == 0;
    Descriptor file(::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
    if (file.get() < 0) return false;
    const off_t size = ::lseek(file.get(), 0, SEEK_END);
    char last = '\n';
    bool appended = size >= 0 && (size == 0 || ::pread(file.get(), &last, 1, size - 1) == 1);
    if (appended) {
        std::string bytes = last == '\n' || last == '\r' ? std::string() : std::string(kLineEnd);
        bytes += Utf8ToCp1251(utf8);
        bytes += kLineEnd;
        appended = writeAll(file.get(), bytes) && ::fsync(file.get()) == 0;
    }
    appended = file.close() && appended;
    if (appended) return true;
    // A line cut short by a full disk would run into the next one appended.
    int undone = 0;
    if (!existed)
        undone = ::unlink(path.c_str());
    else if (size >= 0)
        undone = ::truncate(path.c_str(), size);
    static_cast<void>(undone);
    return false;
}

bool HoldsNulByte(const std::string& path) {
    // Only a plain file: opening a pipe would wait for its writer.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return false;
    std::array<char, 64 * 1024> block;
    for (;;) {
        const ssize_t got = ::read(file.get(), block.data(), block.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        if (std::memchr(block.data(), '\0', std::size_t(got)) != nullptr) return true;
    }
}

namespace {

// Gives the file `from` the first free name of `path` + `mark`, `path` + `mark` + "2", ...
// (never replacing a file): the name it now has, empty when none could be given.
std::string renameAside(const std::string& from, const std::string& path, std::string_view mark) {
    constexpr int kAsideNames = 10;
    for (int n = 1; n <= kAsideNames; ++n) {
        const std::string aside = path + std::string(mark) + (n > 1 ? std::to_string(n) : "");
        if (renameNoReplace(from, aside)) {
            syncFolder(aside);
            return aside;
        }
        if (errno != EEXIST) break;
    }
    return {};
}

bool copyInto(int to, const std::string& from) {
    const Descriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (source.get() < 0) return false;
    std::array<char, 64 * 1024> block;
    for (;;) {
        const ssize_t got = ::read(source.get(), block.data(), block.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (!writeAll(to, std::string_view(block.data(), std::size_t(got)))) return false;
    }
}

// Copies the file at `path`, whole and on disk, to the first free name as renameAside gives
// them, leaving the file where it is. The copy's name; empty when none was made.
std::string copyAside(const std::string& path, std::string_view mark) {
    std::string temporary;
    Descriptor file(createTemporary(path, temporary));
    if (file.get() < 0) return {};
    std::string aside;
    if (copyInto(file.get(), path) && ::fsync(file.get()) == 0 && file.close())
        aside = renameAside(temporary, path, mark);
    if (aside.empty()) ::unlink(temporary.c_str());
    return aside;
}

KeptBesideNotice& KeptBesideListener() {
    static KeptBesideNotice notice;
    return notice;
}
}  // namespace

void SetKeptBesideNotice(KeptBesideNotice notice) {
    KeptBesideListener() = std::move(notice);
}

bool TextFileWriter::Save(const std::string& path) const {
    // The program read such a file only up to its NUL: written over, the rest would be gone. It
    // is copied aside rather than moved, so that a kill between the two steps still finds the
    // file under its own name.
    std::string aside;
    if (HoldsNulByte(path)) {
        aside = copyAside(path, kUnreadMark);
        if (aside.empty()) return false;
    }
    if (!SaveFileWhole(path, content_)) {
        // The file is still there as it was, for the next save to copy aside.
        if (!aside.empty()) ::unlink(aside.c_str());
        return false;
    }
    if (!aside.empty() && KeptBesideListener()) KeptBesideListener()(path, aside);
    return true;
}

bool SaveFileWhole(const std::string& path, std::string_view bytes, bool replace) {
    std::string temporary;
    Descriptor file(createTemporary(path, temporary));
    if (file.get() < 0) return false;
    if (!writeAndRename(file, temporary, path, bytes, replace)) {
        const int error = errno;  // a taken name is told to the caller
        ::unlink(temporary.c_str());
        errno = error;
        return false;
    }
    syncFolder(path);
    return true;
}

std::string MoveAside(const std::string& path, std::string_view mark) {
    return renameAside(path, path, mark);
}

bool CanWriteIn(const std::string& folder) {
    std::string probe;
    Descriptor file(createTemporary(folder + "ORVEL", probe));
    if (file.get() < 0) return false;
    const bool written = writeAll(file.get(), "\n") && file.close();
    ::unlink(probe.c_str());
    return written;
}

bool IsStaleTemporary(std::string_view name) {
    const auto owner = temporaryOwner(name);
    return owner && !processRuns(*owner);
}

void RemoveStaleTemporaries(const std::string& programDir,
                            std::span<const char* const> dataFolders) {
    namespace fs = std::filesystem;
    removeStaleTemporariesIn(programDir);
    for (const char* name : dataFolders) {
        const fs::path folder = fs::path(programDir) / name;
        removeStaleTemporariesIn(folder);
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            std::error_code kind;
            if (it->is_directory(kind)) removeStaleTemporariesIn(it->path());
        }
    }
}
