#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FDX;

// Fragments a phonogram holds at most: the working phonogram has room for no more.
inline constexpr uint32_t kMaxPhonogramFragments = 10000;

// One fragment of a phonogram: a stretch of the recorded sound with the frequency and the time at
// which it was recorded. Position, length and offset are in the phonogram window's player units.
struct Fragment {
    std::string Identifier;
    uint32_t Frequency = 0;  // 100 Hz
    std::string Date;
    std::string Time;
    uint32_t Position = 0;
    uint32_t Length = 0;
    uint32_t Offset = 0;
    uint32_t Hour = 0;
    uint32_t Minute = 0;
    uint32_t Second = 0;
    int32_t Mark = 0;  // 1 for every fragment read from a file
    std::string File;  // the fragment's own sound file, when the phonogram has one per fragment
};

// A phonogram: a sound recording cut into fragments, described by a ".cfg" file in the folder
// FONO.
struct UserFono {
    std::string Identifier;
    std::string Name;  // the name its files are made from under FONO
    std::string Date;
    std::string Time;
    std::string FilePath;             // full path of its description file
    uint32_t RecordRate = 0;          // 0 for 8000 Hz, 1 for 11025 Hz, 2 for 22050 Hz
    std::vector<Fragment> Fragments;  // at most kMaxPhonogramFragments
    uint8_t SeparateFiles = 0;        // each fragment has a sound file of its own, its File

    // Writes the description file at FilePath whole with Date and Time as they are; false when
    // it cannot be written, the old file then untouched.
    bool WriteFile() const;

    // Fills the fields and fragments that the description file holds from the file at `path`,
    // starting from the defaults. The fragments are every one the file holds, whatever its
    // "Кол-во" says, up to kMaxPhonogramFragments. A file this program wrote loads whole whatever
    // its size. False, with the defaults, when the file is missing, unreadable or empty. Name and
    // path are left as they are.
    bool ReadFile(FDX& fdx, const std::string& path);

    // The name of a new phonogram saved under `number` (1..9999): the first two and the fifth
    // and sixth characters of its date text, then the number as four digits. A "/" of the date
    // becomes "-", so that the name is a plain file name.
    static std::string NewName(std::string_view date, uint32_t number);
};
