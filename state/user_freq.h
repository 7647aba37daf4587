#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/scan_pause.h"

class FDX;

// Channels the working bank of the main window holds at most. A stored bank may hold more: loading
// it takes its first channels.
inline constexpr uint32_t kMaxBankChannels = 1000;

// One channel of a bank. Frequencies and steps are in units of 100 Hz.
struct Mt {
    uint32_t Frequency = 0;
    uint32_t Step = 0;
    char Modulation = 0;  // mode letter F, W, A, L, U, C or R; a code page 1251 byte
    std::string Identifier;
    int32_t Work = 0;    // the channel's last level (raw), as the bank window shows it; 0
                         // whenever a channel is read or copied
    int32_t Number = 0;  // the channel's position in its bank, from 0
    uint8_t Attenuator = 0;
    uint8_t Select = 0;  // the receiver panels' select and skip flags (the file keeps neither)
    uint8_t Skip = 0;
    uint32_t QMOD = 0;  // receiver-specific mode value kept for the receiver panels
    uint32_t QATT = 0;  // receiver-specific attenuator value kept for the receiver panels
};

// A bank: a stored list of fixed frequencies with the parameters of its measurement series.
struct UserFreq {
    std::string Identifier;
    std::string FolderName;  // the bank's folder under FREQ
    std::string Date;        // day of the last write, "dd/mm/yyyy"
    std::string Time;        // time of the last write, "hh:mm"
    std::string FilePath;    // full path of the bank's freq.cfg
    std::string Spare;
    uint32_t StartFrequency = 0;  // frequency of the first channel when the bank was made
    // The number of Channels, as the reader leaves it; the writer writes Channels whole.
    uint32_t ChannelCount = 0;
    uint32_t Interval = 0;  // duration of a measurement series in minutes
    uint32_t Poll = 0;      // seconds between two measurements
    uint32_t Level = 0;     // level threshold
    uint32_t Waiting = kPauseOnly;  // "Ожидание": kPauseOnly, kPauseRunJob or kPauseBeep
    uint32_t WaitTime = 0;
    uint32_t Condition = kReleaseAfterWait;  // "Условие"
    std::vector<Mt> Channels;
    std::string Job;  // identifier of the job bound to the bank

    // Stamps Date and Time with the clock and writes FilePath whole; false when it cannot be
    // written, the old file then untouched.
    bool WriteFile();

    // Fills the fields and channels that freq.cfg holds from the file at `path`, starting from
    // the defaults (the start frequency is the current range start of `fdx`). The channels are
    // every one the file holds, whatever its "Кол-во" says. False, with the defaults, when the
    // file is missing, unreadable or empty. Names and paths are left as they are.
    bool ReadFile(FDX& fdx, const std::string& path);
};
