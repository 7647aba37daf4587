#include "app/data_folder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/journal.h"

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

// The entries of `folder` as the file system gives them, names starting with "." left out.
// Read with the system's own calls: the start-up lists a folder for every stored item, and
// these ask the kernel least.
std::vector<FolderEntry> listEntries(const std::string& folder) {
    std::vector<FolderEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name.empty() || name.front() == '.') continue;
        std::string path = folder + std::string(name);
        const bool folderEntry = isFolder(*entry, path);
        entries.push_back({std::string(name), std::move(path), folderEntry});
    }
    return entries;
}

// The order of ListFolder.
bool listedBefore(const FolderEntry& a, const FolderEntry& b) {
    const int order = CompareJournalNames(a.name, b.name);
    return order != 0 ? order < 0 : a.name < b.name;
}

// The first entry named `name` in any letter case, in the order of ListFolder; null for none.
// A lookup needs no sorted listing: a folder of many thousand items is only read through.
const FolderEntry* firstNamed(const std::vector<FolderEntry>& entries, std::string_view name) {
    const FolderEntry* first = nullptr;
    for (const FolderEntry& entry : entries)
        if (sameName(entry.name, name) && (first == nullptr || listedBefore(entry, *first)))
            first = &entry;
    return first;
}

}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries = listEntries(folder);
    std::sort(entries.begin(), entries.end(), listedBefore);
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
    const std::vector<FolderEntry> entries = listEntries(folder);
    const FolderEntry* found = firstNamed(entries, name);
    return found != nullptr ? found->path : folder + std::string(name);
}

std::string FindEntryIn(const std::vector<FolderEntry>& entries, const std::string& folder,
                        std::string_view name) {
    for (const FolderEntry& entry : entries)
        if (entry.name == name) return entry.path;
    const FolderEntry* found = firstNamed(entries, name);
    return found != nullptr ? found->path : folder + std::string(name);
}

bool HasEntry(const std::string& folder, std::string_view name) {
    std::error_code error;
    if (fs::exists(folder + std::string(name), error)) return true;
    const std::vector<FolderEntry> entries = listEntries(folder);
    return std::any_of(entries.begin(), entries.end(),
                       [&](const FolderEntry& entry) { return sameName(entry.name, name); });
}

void RemoveFile(const std::string& folder, std::string_view name) {
    for (const FolderEntry& entry : listEntries(folder)) {
        if (entry.isFolder || !sameName(entry.name, name)) continue;
        std::error_code ignored;
        fs::remove(entry.path, ignored);
    }
}

void RemoveEmptyFolder(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    std::error_code error;
    if (fs::is_directory(path, error) && fs::is_empty(path, error) && !error)
        fs::remove(path, error);
}
