#include "app/data_folder.h"

#include <algorithm>
#include <filesystem>

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

}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return entries;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        const std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') continue;
        std::error_code kindError;
        entries.push_back({name, folder + name, it->is_directory(kindError)});
    }
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const int order = CompareJournalNames(a.name, b.name);
        return order != 0 ? order < 0 : a.name < b.name;
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
    for (const FolderEntry& entry : ListFolder(folder))
        if (sameName(entry.name, name)) return entry.path;
    return folder + std::string(name);
}

bool HasEntry(const std::string& folder, std::string_view name) {
    std::error_code error;
    if (fs::exists(folder + std::string(name), error)) return true;
    for (const FolderEntry& entry : ListFolder(folder))
        if (sameName(entry.name, name)) return true;
    return false;
}

void RemoveFile(const std::string& folder, std::string_view name) {
    for (const FolderEntry& entry : ListFolder(folder)) {
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
