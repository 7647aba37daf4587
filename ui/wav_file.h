#pragma once
// The chunks of a PCM WAV file that a recording appends to. Everything after the data
// chunk's header is taken as sound: the recorder writes there, and a recording cut short
// keeps what reached the file.

#include <cstddef>
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

// A recording onto the end of a PCM WAV file. Each block of sound goes to the file as it is
// handed over, with no buffer of the program's in between, so a program killed while recording
// leaves in the file all the sound it had been given; Finish then writes the sizes in.
class WavRecording {
  public:
    WavRecording() = default;
    ~WavRecording();
    WavRecording(const WavRecording&) = delete;
    WavRecording& operator=(const WavRecording&) = delete;

    // Opens `path` to append after the sound it holds; false when it is no such WAV file or
    // cannot be written.
    bool Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    const WavLayout& Layout() const { return layout_; }
    // The sound bytes the file holds, those it had included.
    uint64_t SoundBytes() const { return layout_.dataBytes; }
    uint64_t SoundMs() const;
    // False when the file did not take all of it (a full disk); what it took stays.
    bool Append(const char* data, std::size_t size);
    // Writes the sizes and closes the file; false when a write before, the sizes or the
    // close failed.
    bool Finish();

  private:
    int fd_ = -1;
    bool failed_ = false;
    WavLayout layout_;
    std::string path_;
};

}  // namespace ui
