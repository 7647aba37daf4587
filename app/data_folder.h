#pragma once
// The data folders under the program folder as the journal reads them. Folders copied in from
// a file system that ignores case may spell names and extensions in any letter case ("DIAP.CFG",
// "0001.Etl"), so lookups here ignore the case of Latin letters; files the program writes keep
// its own spelling.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct FolderEntry {
    std::string name;  // as on disk
    std::string path;  // folder + name
    bool isFolder = false;
};

// The entries of `folder` (ending with "/"), names starting with "." left out, in the order of
// the journal's names (CompareJournalNames): the order the journal is built in does not depend
// on the file system. None when the folder cannot be read.
std::vector<FolderEntry> ListFolder(const std::string& folder);

// True when `name` ends with `extension` (".cfg"), letter case aside.
bool HasExtension(std::string_view name, std::string_view extension);
// The name without its last extension.
std::string Stem(std::string_view name);

// The path of the entry of `folder` named `name` in any letter case; folder + name when there
// is none.
std::string FindEntry(const std::string& folder, std::string_view name);
// The same lookup in entries ListFolder gave for `folder`, without asking the file system again:
// the entry spelled exactly so, else the first named so in any letter case.
std::string FindEntryIn(const std::vector<FolderEntry>& entries, const std::string& folder,
                        std::string_view name);
// True when `folder` holds an entry named `name` in any letter case.
bool HasEntry(const std::string& folder, std::string_view name);
// Removes every file of `folder` named `name` in any letter case. A file that is missing or
// cannot be removed is passed over.
void RemoveFile(const std::string& folder, std::string_view name);
// Removes the files `name` + each of `extensions` of `folder`, in that order (RemoveFile).
void RemoveFiles(const std::string& folder, const std::string& name,
                 std::initializer_list<const char*> extensions);
// Removes from a folder and from `entries`, its listing, the temporaries that saves cut short
// left behind (IsStaleTemporary), so that a listing made anyway does the start-up's sweep.
void DropStaleTemporaries(std::vector<FolderEntry>& entries);
// A stored result set (an etalon, a measurement set) is a header NNNN.etl and its part files,
// NNNN + each of `parts`; a save writes the parts first and the header last, so a save cut short
// leaves parts without their header, which nothing lists or loads. Removes those from a folder
// and from `entries`, its listing, and nothing else: a header stays whatever parts it lacks (a
// deletion cut short, a set copied from elsewhere; it loads with the missing arrays cleared),
// and so do the notes NNNN.txt, whatever is beside them.
void DropHeaderlessParts(std::vector<FolderEntry>& entries, std::span<const char* const> parts);
// Removes the folder (given with or without its "/") when it is empty; else it stays.
void RemoveEmptyFolder(const std::string& folder);
