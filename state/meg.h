#pragma once
// Measurement sets: the levels a bank scan measured on every channel of a bank, many
// measurements per channel. A set is a header file NNNN.etl and a levels file NNNN.meg of the same
// four-digit name in its bank's folder.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "state/moment.h"
#include "state/user_freq.h"

class FDX;

// The levels file's extension; the header is NNNN.etl.
inline constexpr const char* kLevelsExtension = ".meg";

// The most measurements a bank scan makes per channel (a scan without an interval).
inline constexpr uint32_t kMaxMeasurements = 64000;

// Header record of a measurement set.
struct Meg {
    std::string Identifier;         // also the text of the set's journal item
    std::string Name;               // the set's number "%04u", which names its two files
    std::string Date;               // day of the last header write, "dd/mm/yyyy"
    std::string Time;               // time of the last header write, "hh:mm"
    std::string HeaderPath;         // bank folder + Name + ".etl"
    uint32_t FrequencyCount = 0;    // channels measured, at most kMaxBankChannels
    uint32_t MeasurementCount = 0;  // measurements kept per channel, at most kMaxMeasurements
    Moment Start{};                 // first measurement
    Moment End{};                   // last measurement

    // Stamps Date and Time with the clock and writes HeaderPath whole; false when it cannot be
    // written, the old file then untouched.
    bool WriteHeader();

    // Fills the fields that the header file holds from the file at `path`, starting from the
    // defaults; Start and End change only by their lines. False, with the defaults, when the file
    // is missing, unreadable or empty. Name and path are left as they are.
    bool ReadHeader(FDX& fdx, const std::string& path);
};

// A bank channel as the levels file sees it: its frequency and its measurement array.
struct MeasuredChannel {
    uint32_t Frequency = 0;
    std::span<uint8_t> Levels;
};

// Writes the levels file: every channel in order, its frequency and the first `count` cells of its
// array. False when the file cannot be written.
bool WriteMeasurementLevels(const std::string& path, std::span<const MeasuredChannel> channels,
                            std::size_t count);

// Clears every channel's array and decodes the lines of a loaded levels file into them. A block
// goes to the channel of its frequency; when the bank holds a frequency more than once, the
// blocks of that frequency fill those channels in order. A block whose frequency has no channel
// left is skipped.
void ReadMeasurementLevels(const std::vector<std::string>& lines,
                           std::span<const MeasuredChannel> channels);

// Loads the levels file at `path` into `channels` (ReadMeasurementLevels). A file this program
// wrote for these channels loads whole whatever its size. False when the file cannot be read;
// the arrays are then cleared.
bool LoadMeasurementLevels(FDX& fdx, const std::string& path,
                           std::span<const MeasuredChannel> channels);
