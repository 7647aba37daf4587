#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Reads the file at `path` from its start into `buffer`, at most its size, with the system's own
// calls and no stream buffer between (the start-up reads a file for every stored item). The
// count read, less than the buffer at the end of a shorter file; nothing when the file cannot be
// opened or read.
std::optional<std::size_t> ReadFileStart(const std::string& path, std::span<char> buffer);

// What the name of a stored file set aside ends with: one the program could not read, or read
// only up to a NUL byte, kept from the save that would replace it with less.
inline constexpr std::string_view kUnreadMark = ".не_прочитан";

// True when the file at `path` can be read and holds a NUL byte: the program reads its text only
// up to it (FDX::LoadTextFile).
bool HoldsNulByte(const std::string& path);

// Collects the lines of a stored text file and writes them as the program's files are written:
// code page 1251, every line ended by CR LF, the file replaced whole. Every writer of a stored
// file goes through here, so that no writer can leave a half-written file behind.
class TextFileWriter {
  public:
    // `utf8` is one line without its line end.
    void Line(std::string_view utf8);
    // Adds `utf8` as it is, with the line ends it holds and no other: a file whose lines are
    // separated otherwise or not ended (print.hdr), a notes text.
    void Text(std::string_view utf8);
    // Adds the line "key=value". A value holding a quote character, CR or LF is written quoted,
    // so that FDX::LoadTextFile reads it back unchanged; any other value is written as it is.
    void KeyValue(std::string_view key, std::string_view value);
    // Adds one line of `fields` separated by `separator` (a TAB). A field holding a quote
    // character, CR, LF or the separator is written quoted, so that SplitStoredFields reads it
    // back unchanged; any other is written as it is.
    void Fields(std::span<const std::string> fields, char separator);

    // Writes the file at `path`, replacing an existing one only once the new content is complete
    // on disk. Returns false when anything fails; the old file is then untouched and no
    // temporary file remains. An existing file that holds a NUL byte is copied aside first
    // (to a name as MoveAside gives it, with kUnreadMark): what the program wrote from it was read
    // only up to the NUL, and the rest would be lost; when no copy can be made the save fails, and
    // a save that fails after the copy removes it. `path` holds the old file or the new one at
    // every moment. Whoever SetKeptBesideNotice names is told where the copy went.
    bool Save(const std::string& path) const;

  private:
    std::string content_;  // encoded bytes, line ends included
};

// Told of every file a save kept beside under kUnreadMark: the file's path and its new name
// (FDX::TellFilesKeptBeside); nobody by default.
using KeptBesideNotice = std::function<void(const std::string& path, const std::string& aside)>;
void SetKeptBesideNotice(KeptBesideNotice notice);

// Writes `bytes` as they are into the file at `path` as every stored file is written: whole into a
// temporary beside it (named as RemoveStaleTemporaries knows them), which then takes the name.
// With `replace` false a file already at `path` stays and the save fails (a printout never
// replaces an earlier one). False when anything fails; no temporary then remains.
bool SaveFileWhole(const std::string& path, std::string_view bytes, bool replace = true);

// Moves the file at `path` aside, to the first free name of `path` + `mark`, `path` + `mark` +
// "2", ... (never replacing a file). The name it now has; empty when it could not be moved.
std::string MoveAside(const std::string& path, std::string_view mark);

// Adds `utf8` as one line at the end of the file at `path` (made when missing), as the program
// writes lines: code page 1251, ended by CR LF. The lines already there stay byte for byte; a
// last line without its end gets one first. Returns false when anything fails; the file is then
// as it was. For a file that only ever grows by a line, such as the values of a tag field.
bool AppendLine(const std::string& path, std::string_view utf8);

// True when a file can be made and written in `folder` (ending with "/"), as every save there
// needs: false for a folder that is read-only, gone, or on a full disk. Leaves nothing behind.
bool CanWriteIn(const std::string& folder);

// Removes what interrupted saves left behind: the temporaries that TextFileWriter::Save names
// path + ".tmp" + process number + "_" + n, in the program folder itself, in each of its
// `dataFolders` and in their items' folders. A temporary whose process still runs (this one
// included) may be a save in progress and stays. Left in place, such files would also keep a
// deleted item's folder from being removed.
void RemoveStaleTemporaries(const std::string& programDir,
                            std::span<const char* const> dataFolders);
// True when `name` is one of those temporaries and its process has ended. The caller checks
// that the entry is a plain file.
bool IsStaleTemporary(std::string_view name);
