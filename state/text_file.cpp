#include "state/text_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>

#include "state/cp1251.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

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
        temporary = path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The content must be on disk before the rename, or a crash could leave an empty file in place of
// the old one.
bool writeAndRename(Descriptor& file, const std::string& temporary, const std::string& path,
                    std::string_view content) {
    return writeAll(file.get(), content) && ::fsync(file.get()) == 0 && file.close() &&
           ::rename(temporary.c_str(), path.c_str()) == 0;
}

// Makes the rename itself survive a power failure. The new file is already in place when this
// runs, so a failure here does not make the save a failure.
void syncFolder(const std::string& path) {
    Descriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
}

// The loader takes " and ' as quotes and CR and LF as line ends, so a value holding any of them
// would come back cut or changed; such a value goes into a quoted stretch.
bool needsQuotes(std::string_view value) {
    return value.find_first_of("\"'\r\n") != std::string_view::npos;
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

bool TextFileWriter::Save(const std::string& path) const {
    std::string temporary;
    Descriptor file(createTemporary(path, temporary));
    if (file.get() < 0) return false;
    if (!writeAndRename(file, temporary, path, content_)) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(path);
    return true;
}
