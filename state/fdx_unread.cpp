// Stored files the program writes back (ORVEL.CFG, ORVEL.INI, a receiver's state file) that were
// there but could not be read whole: kept from the next save.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

#include "state/fdx.h"
#include "state/format_text.h"
#include "state/text_file.h"

namespace {

constexpr std::string_view kDefaultsTaken = " не прочитан: приняты значения по умолчанию. ";

// "500 Кб", "16 Мб": a limit as the operator reads sizes.
std::string SizeText(std::size_t bytes) {
    constexpr std::size_t kKb = 1024, kMb = 1024 * 1024;
    if (bytes >= kMb) return FormatText("%zu Мб", bytes / kMb);
    return FormatText("%zu Кб", bytes / kKb);
}

bool Readable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// Why a plain file of `size` bytes at `path` was not read whole, as the notice puts it between
// the file's name and kDefaultsTaken; none when it reads whole.
std::optional<std::string> WhyUnread(const std::string& path, std::uint64_t size,
                                     std::size_t limit) {
    if (size > limit) return " больше " + SizeText(limit) + " и";
    if (!Readable(path)) return "";
    // The text ends at a NUL byte, and the rest of the file would be lost with the next save.
    if (HoldsNulByte(path)) return " содержит нулевой байт и";
    return std::nullopt;
}

}  // namespace

std::string FDX::ShownName(const std::string& path) const {
    return path.starts_with(ProgramDir) ? path.substr(ProgramDir.size()) : path;
}

void FDX::TellFilesKeptBeside() {
    SetKeptBesideNotice([this](const std::string& path, const std::string& aside) {
        NoticeErrorText("Файл " + ShownName(path) +
                        " содержит нулевой байт и прочитан только до него. Прежний файл "
                        "сохранен как " +
                        ShownName(aside));
    });
}

bool FDX::SetAsideUnreadFile(const std::string& path, std::size_t limit) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const std::optional<std::string> why =
        WhyUnread(path, static_cast<std::uint64_t>(info.st_size), limit);
    if (!why) return false;

    std::string text = "Файл " + ShownName(path) + *why + std::string(kDefaultsTaken);
    const std::string aside = MoveAside(path, kUnreadMark);
    if (!aside.empty()) {
        text += "Файл сохранен как " + ShownName(aside);
    } else {
        UnreadFiles.push_back(path);
        text += "Переименовать его не удалось: при выходе он не будет перезаписан";
    }
    NoticeErrorText(std::move(text));
    return true;
}

bool FDX::KeepsUnread(const std::string& path) const {
    return std::find(UnreadFiles.begin(), UnreadFiles.end(), path) != UnreadFiles.end();
}
