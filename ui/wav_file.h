#pragma once
// The chunks of a PCM WAV file that a recording appends to. Everything after the data
// chunk's header is taken as sound: the recorder writes there, and a recording cut short
// keeps what reached the file.

#include <cstdint>
#include <optional>
#include <string>

namespace ui {

struct WavLayout {
    uint32_t sampleRate = 0;
    uint16_t channels = 0;
    uint16_t bitsPerSample = 0;
    uint64_t dataOffset = 0;  // of the first sound byte
    uint64_t dataBytes = 0;   // from there to the end of the file
    uint64_t factOffset = 0;  // of the fact chunk's sample count; 0: the file has none
    // The data chunk's size as its header gives it.
    uint64_t declaredBytes = 0;

    uint32_t BlockAlign() const { return channels * ((bitsPerSample + 7u) / 8u); }
    uint32_t ByteRate() const { return sampleRate * BlockAlign(); }
};

// None unless the file is a RIFF WAVE file of PCM sound with a format and a data chunk.
std::optional<WavLayout> ReadWavLayout(const std::string& path);
// Writes the sizes that `dataBytes` of sound make into the RIFF, data and fact chunks.
bool WriteWavSizes(const std::string& path, const WavLayout& layout, uint64_t dataBytes);

// Creates (or empties) the file a new phonogram recording starts from: 8-bit mono PCM at
// `sampleRate`, a fact chunk, no sound yet; 58 bytes.
bool WriteEmptyWav(const std::string& path, uint32_t sampleRate);
// A recording cut short (the program killed) leaves its sound in the file but the sizes of
// the empty file in the header: they are made to count all the sound the file holds. False
// when the file is no such WAV file or cannot be written; a file whose sizes are right stays
// untouched.
bool RepairWavSizes(const std::string& path);

}  // namespace ui
