#include "ui/wav_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace ui {

namespace {

uint32_t Le(const unsigned char* p, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
    return value;
}

bool PutLe32(std::fstream& file, uint64_t offset, uint64_t value) {
    const uint32_t v = value > UINT32_MAX ? UINT32_MAX : uint32_t(value);
    const std::array<char, 4> bytes{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    file.seekp(std::streamoff(offset));
    file.write(bytes.data(), 4);
    return bool(file);
}

}  // namespace

std::optional<WavLayout> ReadWavLayout(const std::string& path) {
    std::error_code error;
    const uint64_t size = std::filesystem::file_size(path, error);
    std::ifstream file(path, std::ios::binary);
    unsigned char riff[12];
    if (error || !file.read(reinterpret_cast<char*>(riff), 12) ||
        std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return std::nullopt;
    WavLayout layout;
    bool format = false;
    for (uint64_t at = 12; at + 8 <= size;) {
        unsigned char head[8];
        file.seekg(std::streamoff(at));
        if (!file.read(reinterpret_cast<char*>(head), 8)) return std::nullopt;
        const uint64_t length = Le(head + 4, 4);
        if (std::memcmp(head, "fmt ", 4) == 0) {
            unsigned char fmt[16];
            if (length < 16 || !file.read(reinterpret_cast<char*>(fmt), 16) || Le(fmt, 2) != 1)
                return std::nullopt;
            layout.channels = uint16_t(Le(fmt + 2, 2));
            layout.sampleRate = Le(fmt + 4, 4);
            layout.bitsPerSample = uint16_t(Le(fmt + 14, 2));
            format = layout.channels > 0 && layout.sampleRate > 0 && layout.bitsPerSample > 0;
        } else if (std::memcmp(head, "fact", 4) == 0 && length >= 4) {
            layout.factOffset = at + 8;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!format) return std::nullopt;
            layout.dataOffset = at + 8;
            layout.dataBytes = size - layout.dataOffset;
            layout.declaredBytes = length;
            return layout;
        }
        at += 8 + length + (length & 1);  // chunks keep even offsets
    }
    return std::nullopt;
}

bool WriteWavSizes(const std::string& path, const WavLayout& layout, uint64_t dataBytes) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!file) return false;
    bool written = PutLe32(file, 4, layout.dataOffset + dataBytes - 8) &&
                   PutLe32(file, layout.dataOffset - 4, dataBytes);
    if (written && layout.factOffset != 0 && layout.BlockAlign() != 0)
        written = PutLe32(file, layout.factOffset, dataBytes / layout.BlockAlign());
    file.close();
    return written && !file.fail();
}

bool WriteEmptyWav(const std::string& path, uint32_t sampleRate) {
    std::string header;
    const auto u32 = [&header](uint32_t v) {
        for (int i = 0; i < 4; ++i) header += char(v >> (8 * i));
    };
    const auto u16 = [&header](uint16_t v) { header += {char(v), char(v >> 8)}; };
    header += "RIFF";
    u32(50);  // the rest of the file: up to the data chunk's size, no sound
    header += "WAVE";
    header += "fmt ";
    u32(18);
    u16(1);  // PCM
    u16(1);  // mono
    u32(sampleRate);
    u32(sampleRate);  // bytes a second at one byte a sample
    u16(1);           // block align
    u16(8);           // bits a sample
    u16(0);           // no extra format bytes
    header += "fact";
    u32(4);
    u32(0);  // samples
    header += "data";
    u32(0);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(header.data(), std::streamsize(header.size()));
    file.close();
    return !file.fail();
}

bool RepairWavSizes(const std::string& path) {
    const std::optional<WavLayout> layout = ReadWavLayout(path);
    if (!layout) return false;
    if (layout->declaredBytes == layout->dataBytes) return true;
    return WriteWavSizes(path, *layout, layout->dataBytes);
}

WavRecording::~WavRecording() {
    Finish();
}

bool WavRecording::Open(const std::string& path) {
    Finish();
    const std::optional<WavLayout> layout = ReadWavLayout(path);
    if (!layout) return false;
    // Appended writes go where the file ends, which is where its sound ends.
    fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd_ < 0) return false;
    layout_ = *layout;
    path_ = path;
    failed_ = false;
    return true;
}

uint64_t WavRecording::SoundMs() const {
    return layout_.ByteRate() ? layout_.dataBytes * 1000 / layout_.ByteRate() : 0;
}

bool WavRecording::Append(const char* data, std::size_t size) {
    if (fd_ < 0) return false;
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            failed_ = true;
            return false;
        }
        layout_.dataBytes += uint64_t(written);
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

bool WavRecording::Finish() {
    if (fd_ < 0) return false;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    const bool sized = WriteWavSizes(path_, layout_, layout_.dataBytes);
    return closed && sized && !failed_;
}

}  // namespace ui
