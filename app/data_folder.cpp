#include "app/data_folder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>

#include "app/journal.h"
#include "state/text_file.h"

namespace fs = std::filesystem;

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

// True when the entry is a folder, or a link to one.
bool isFolder(const dirent& entry, const std::string& path) {
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Calls `visit(entry, name)` for every entry of `folder` as the file system gives them, names
// starting with "." left out. Read with the system's own calls: the start-up lists a folder for
// every stored item, and these ask the kernel least.
template <class Visit>
void readEntries(const std::string& folder, Visit visit) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (!name.empty() && name.front() != '.') visit(*entry, name);
    }
}

std::vector<FolderEntry> listEntries(const std::string& folder) {
    std::vector<FolderEntry> entries;
    readEntries(folder, [&](const dirent& entry, std::string_view name) {
        std::string path = folder + std::string(name);
        const bool folderEntry = isFolder(entry, path);
        entries.push_back({std::string(name), std::move(path), folderEntry});
    });
    return entries;
}

// The order of ListFolder.
bool namedBefore(std::string_view a, std::string_view b) {
    const int order = CompareJournalNames(a, b);
    return order != 0 ? order < 0 : a < b;
}

// A lookup of one name needs no sorted listing, nor a copy of every name: a folder of many
// thousand items is only read through, keeping the first match in the order of ListFolder.
class FirstNamed {
  public:
    explicit FirstNamed(std::string_view name) : name_(name) {}
    void Consider(std::string_view entry) {
        if (sameName(entry, name_) && (!found_ || namedBefore(entry, first_))) {
            first_ = entry;
            found_ = true;
        }
    }
    // The entry's path in `folder`; folder + name when there is none.
    std::string PathIn(const std::string& folder) const {
        return folder + std::string(found_ ? std::string_view(first_) : name_);
    }

  private:
    std::string_view name_;
    std::string first_;
    bool found_ = false;
};

}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries = listEntries(folder);
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return namedBefore(a.name, b.name);
    });
    return entries;
}

bool HasExtension(std::string_view name, std::string_view extension) {
    return name.size() > extension.size() &&
           sameName(name.substr(name.size() - extension.size()), extension);
}

std::string Stem(std::string_view name) {
    const auto dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string FindEntry(const std::string& folder, std::string_view name) {
    std::error_code error;
    if (fs::exists(folder + std::string(name), error)) return folder + std::string(name);
    FirstNamed first(name);
    readEntries(folder, [&](const dirent&, std::string_view entry) { first.Consider(entry); });
    return first.PathIn(folder);
}

std::string FindEntryIn(const std::vector<FolderEntry>& entries, const std::string& folder,
                        std::string_view name) {
    FirstNamed first(name);
    for (const FolderEntry& entry : entries) {
        if (entry.name == name) return entry.path;
        first.Consider(entry.name);
    }
    return first.PathIn(folder);
}

bool HasEntry(const std::string& folder, std::string_view name) {
    std::error_code error;
    if (fs::exists(folder + std::string(name), error)) return true;
    bool found = false;
    readEntries(folder, [&](const dirent&, std::string_view entry) {
        found = found || sameName(entry, name);
    });
    return found;
}

void RemoveFile(const std::string& folder, std::string_view name) {
    for (const FolderEntry& entry : listEntries(folder)) {
        if (entry.isFolder || !sameName(entry.name, name)) continue;
        std::error_code ignored;
        fs::remove(entry.path, ignored);
    }
}

void RemoveFiles(const std::string& folder, const std::string& name,
                 std::initializer_list<const char*> extensions) {
    for (const char* extension : extensions) RemoveFile(folder, name + extension);
}

void DropStaleTemporaries(std::vector<FolderEntry>& entries) {
    std::erase_if(entries, [&](const FolderEntry& entry) {
        if (entry.isFolder || !IsStaleTemporary(entry.name)) return false;
        std::error_code error;
        if (fs::symlink_status(entry.path, error).type() != fs::file_type::regular) return false;
        return fs::remove(entry.path, error) || !fs::exists(entry.path, error);
    });
}

void DropHeaderlessParts(std::vector<FolderEntry>& entries, std::span<const char* const> parts) {
    constexpr std::string_view kHeader = ".etl";
    // Copied in from a file system that ignores case, a set may spell its extensions in capitals.
    const auto number = [](std::string_view name) {
        std::string stem = Stem(name);
        std::transform(stem.begin(), stem.end(), stem.begin(), lower);
        return stem;
    };
    const auto isPart = [&](std::string_view name) {
        return std::any_of(parts.begin(), parts.end(),
                           [&](const char* part) { return HasExtension(name, part); });
    };
    std::set<std::string> headers;
    for (const FolderEntry& entry : entries)
        if (!entry.isFolder && HasExtension(entry.name, kHeader))
            headers.insert(number(entry.name));
    std::erase_if(entries, [&](const FolderEntry& entry) {
        if (entry.isFolder || !isPart(entry.name) || headers.contains(number(entry.name)))
            return false;
        std::error_code error;
        return fs::remove(entry.path, error) || !fs::exists(entry.path, error);
    });
}

void RemoveEmptyFolder(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    std::error_code error;
    if (fs::is_directory(path, error) && fs::is_empty(path, error) && !error)
        fs::remove(path, error);
}
