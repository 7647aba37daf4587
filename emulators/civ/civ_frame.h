#pragma once
// The receiver's side of the CI-V framing: a frame scanner for what the controller sends,
// a frame builder for what the receiver answers, and the BCD forms of the IC-R8500's data.
// Written apart from the panels' own link on purpose: when both sides shared one codec, a
// fault in it would cancel out and every exchange would still look right.
//
// A frame on the bus is FE FE, destination address, source address, command, optional
// sub-command and data, FD. Data never carries FE or FD (BCD digits, codes, printable names).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace emulators {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kPreamble = 0xFE;
inline constexpr uint8_t kEndOfMessage = 0xFD;
inline constexpr uint8_t kOk = 0xFB;  // "OK" in the command position
inline constexpr uint8_t kNg = 0xFA;  // "NG": refused
inline constexpr uint8_t kControllerAddress = 0xE0;
inline constexpr uint8_t kBroadcastAddress = 0x00;

// FE FE to from body... FD.
Bytes BuildFrame(uint8_t to, uint8_t from, std::span<const uint8_t> body);

// Picks whole frames out of the byte stream the controller writes. Bytes outside a frame
// (line noise, a lone FE) are stepped over; an FE inside a frame abandons it and starts a
// new preamble, as a collision on the bus would; a frame without a body or longer than any
// command of the set is dropped.
class FrameScanner {
  public:
    // Takes one byte; true when it ended a frame, which Frame() then holds (FE FE ... FD).
    bool Feed(uint8_t byte);
    const Bytes& Frame() const { return frame_; }

  private:
    static constexpr size_t kLongestBody = 64;
    int preambles_ = 0;
    bool inBody_ = false;
    Bytes body_;
    Bytes frame_;
};

// Frequencies: five bytes, least significant first, two decimal digits a byte (1 Hz digit in
// the low nibble of the first byte). 145.0 MHz is 00 00 00 45 01.
Bytes EncodeBcdLeastFirst(uint64_t value, size_t byteCount);
// Empty when a nibble is not a decimal digit.
std::optional<uint64_t> DecodeBcdLeastFirst(std::span<const uint8_t> bytes);

// Levels: four digits in two bytes, most significant first. 255 is 02 55.
Bytes EncodeBcdMostFirst(uint64_t value, size_t byteCount);
std::optional<uint64_t> DecodeBcdMostFirst(std::span<const uint8_t> bytes);

}  // namespace emulators
