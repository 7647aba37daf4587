#pragma once

#include <cstdint>
#include <string>

class FDX;

// A scale header: a stored fixed-frequency span, a ".cfg" file in the folder SCALE named after
// its start frequency. Frequencies and steps are in units of 100 Hz.
struct UserSc {
    std::string Identifier;
    std::string Name;      // the start frequency as a decimal number; the file's name
    std::string FilePath;  // full path of its .cfg file
    std::string Date;      // day of the last write, "dd/mm/yyyy"
    std::string Time;      // time of the last write, "hh:mm"
    uint32_t StartFrequency = 0;
    uint32_t EndFrequency = 0;
    uint32_t Step = 0;
    char Modulation = 'W';  // mode letter F, W, A, L, U, C or R; a code page 1251 byte

    // Stamps Date and Time with the clock and writes FilePath whole; false when it cannot be
    // written, the old file then untouched.
    bool WriteHeader();

    // Fills the fields that the header file holds from the file at `path`, starting from the
    // defaults (which take the current range parameters of `fdx`). False, with the defaults,
    // when the file is missing, unreadable or empty. Name and path are left as they are.
    bool ReadFile(FDX& fdx, const std::string& path);
};
