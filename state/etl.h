#pragma once
// Etalons: a frozen copy of the level arrays of one loaded range slot, which the range window
// compares a scan with. An etalon is a header file NNNN.etl with the arrays NNNN.cur, .min, .sum,
// .max and .obr in its range's folder.

#include <cstdint>
#include <string>

struct Bank;
class FDX;

// The extensions of an etalon's array files beside its header, in the order they are written.
inline constexpr const char* kEtalonArrayExtensions[] = {".cur", ".min", ".sum", ".max", ".obr"};

// Header record of an etalon.
struct Etl {
    std::string Identifier;   // also the text of the etalon's journal item
    std::string Name;         // the etalon's number "%04u", which names its files
    std::string Folder;       // folder of the range it belongs to, ending with "/"
    std::string Date;         // day of the last header write, "dd/mm/yyyy"
    std::string Time;         // time of the last header write, "hh:mm"
    std::string HeaderPath;   // Folder + Name + ".etl"
    uint32_t PointCount = 0;  // cells of each level array, at most kBankPoints
    uint32_t CycleCount = 0;  // scan cycles the arrays were gathered over

    // Stamps Date and Time with the clock and writes HeaderPath whole; false when it cannot be
    // written, the old file then untouched.
    bool WriteHeader();

    // Fills the fields that the header file holds from the file at `path`, starting from the
    // defaults. False, with the defaults, when the file is missing, unreadable or empty. Name,
    // folder and path are left as they are.
    bool ReadHeader(FDX& fdx, const std::string& path);
};

// Writes the five level arrays of `slot` (current, minimum, average, maximum, processed; the
// slot's points each) as the etalon's files, in that order; the header is written after them, so
// that an etalon with a header has all its arrays. A file that cannot be written does not stop
// the others; the result is true only when all five were written.
bool WriteEtalonArrays(const Etl& etl, const Bank& slot);
