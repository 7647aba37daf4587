#pragma once

#include <cstdint>
#include <string>

#include "state/scan_pause.h"

class FDX;

// A range: a stored span of frequencies with the parameters of its scan, the file "diap.cfg" in
// its own folder under DP. Frequencies and steps are in units of 100 Hz.
struct UserDp {
    std::string Identifier;
    std::string FolderName;  // the range's folder under DP
    std::string FilePath;    // full path of its diap.cfg
    std::string FolderPath;  // full path of its folder, ending with "/"
    std::string Date;        // day of the last write, "dd/mm/yyyy"
    std::string Time;        // time of the last write, "hh:mm"
    uint32_t StartFrequency = 0;
    uint32_t EndFrequency = 0;
    uint32_t Step = 0;
    char Modulation = 'W';  // mode letter F, W, A, L, U, C or R; a code page 1251 byte
    uint8_t Attenuator = 0;
    uint8_t Exclusion = 0;
    uint8_t Selection = 0;
    uint8_t Fixing = 0;
    uint8_t Marker = 0;
    uint8_t Journal = 0;
    uint32_t Level = 0;  // level threshold
    uint32_t Waiting = kPauseOnly;  // "Ожидание": kPauseOnly ... kPauseMarker
    uint32_t WaitTime = 0;
    uint32_t Condition = kReleaseAfterWait;  // "Условие"
    uint32_t Processing = 0;
    std::string Etalon;  // identifier of the range's etalon
    uint32_t Cycles = 1;
    uint32_t Interval = 0;
    std::string Job;  // identifier of the job bound to the range

    // Stamps Date and Time with the clock and writes FilePath whole; false when it cannot be
    // written, the old file then untouched.
    bool WriteFile();

    // Fills the fields that diap.cfg holds from the file at `path`, starting from the defaults
    // (which take the current range parameters of `fdx`). False, with the defaults, when the
    // file is missing, unreadable or empty. Names and paths are left as they are.
    bool ReadFile(FDX& fdx, const std::string& path);
};
