#pragma once
// A CI-V set's memory: banks of channels, the banks' names, and the channel record as it
// travels after the channel's address (bank one BCD byte when the set has banks, channel two,
// most significant first), its fields in the profile's order (CivField). The IC-R8500's:
//   f1..f5   frequency, BCD least significant first
//   mm ff    mode and filter
//   ss p1 p2 step code and programmed step (100 Hz units, BCD least significant first; sent
//            with every code, used with the programmed one)
//   aa       attenuator 00, 10, 20, 30 (dB in BCD)
//   sf       scan flag: 00 none, 01 skip, 02 select, 03 skip and select
//   n1..n8   name, printable characters, blank-filled
// The IC-756PRO's: select (00|01), frequency, mode, filter, tone flags, repeater and squelch
// tones, ten characters of name; the IC-R75's: select, frequency, mode, filter, attenuator
// (00|20), preamplifier, antenna, eight characters of name.
// An empty channel is the single byte FF in place of the record, both ways.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "emulators/civ/civ_frame.h"
#include "emulators/civ/civ_profile.h"

namespace emulators {

inline constexpr uint8_t kEmptyChannel = 0xFF;
inline constexpr uint8_t kScanFlagSkip = 0x01;
inline constexpr uint8_t kScanFlagSelect = 0x02;

struct CivChannel {
    uint64_t frequencyHz = 0;  // 0: empty
    uint8_t mode = kModeFm;
    uint8_t filter = 0x01;
    int stepCode = 7;
    int programmedStep = 5;  // 100 Hz units
    int attenuatorDb = 0;
    uint8_t scanFlag = 0;
    uint8_t toneFlags = 0;
    int repeaterTone = 885;  // tenths of Hz
    int squelchTone = 885;
    uint8_t preamp = 0;
    uint8_t antenna = 0;
    std::string name;  // as long as the set's names, blank-filled

    bool Empty() const { return frequencyHz == 0; }
    bool Skipped() const { return (scanFlag & kScanFlagSkip) != 0; }
    bool Selected() const { return (scanFlag & kScanFlagSelect) != 0; }
    bool operator==(const CivChannel&) const = default;
};

class CivMemory {
  public:
    explicit CivMemory(const CivMemoryLayout& layout);

    int Banks() const { return layout_.banks; }
    // Channels each bank answers for: the layout's, or fewer (a test's smaller set).
    int Capacity() const { return capacity_; }
    void SetCapacity(int channels);
    // Channels are numbered as the set numbers them, from the layout's first channel.
    int FirstChannel() const { return layout_.firstChannel; }
    int EndChannel() const { return layout_.firstChannel + capacity_; }
    bool Has(int bank, int channel) const;

    // Unchecked: Has(bank, channel) first.
    CivChannel& At(int bank, int channel);
    const CivChannel& At(int bank, int channel) const;
    // Unchecked: 0 <= bank < Banks().
    std::string& Name(int bank) { return names_[static_cast<size_t>(bank)]; }
    const std::string& Name(int bank) const { return names_[static_cast<size_t>(bank)]; }

    // The record after the channel number, FF for an empty channel.
    Bytes Encode(const CivChannel& channel) const;
    // Empty when the record is not one the set takes (an FF alone is the empty channel).
    std::optional<CivChannel> Decode(std::span<const uint8_t> record,
                                     const CivProfile& profile) const;

    // Blank-filled or cut to `length`.
    static std::string Fit(std::string text, size_t length);

  private:
    static bool DecodeField(CivField field, std::span<const uint8_t> bytes,
                            const CivProfile& profile, CivChannel& channel);

    CivMemoryLayout layout_;
    int capacity_;
    std::vector<CivChannel> channels_;
    std::vector<std::string> names_;
};

}  // namespace emulators
