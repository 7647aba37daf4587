#pragma once
// The AR5000's modes as the receiver knows them: a mode digit (MD) and a bandwidth digit
// (BW), and how the program's letters and filters map onto them and back.

#include <cstdint>
#include <optional>

#include "receivers/aor/aor_panel.h"

namespace ar5000 {

// Bandwidths of the digits BW0..BW6, 100 Hz units.
inline constexpr int32_t kBandwidths[] = {5, 30, 60, 150, 300, 1100, 2200};

// The digit of a bandwidth: up to 30 "1", 60 "2", 150 "3", 300 "4", 1100 "5", above "6".
inline char BandwidthDigit(int32_t bandwidth) {
    if (bandwidth < 31) return '1';
    if (bandwidth <= 60) return '2';
    if (bandwidth <= 150) return '3';
    if (bandwidth <= 300) return '4';
    if (bandwidth <= 1100) return '5';
    return '6';
}

// A mode as the receiver is set to it.
struct ModeSetting {
    char letter;
    int32_t filter;     // 0 normal, 1 narrow, 2 wide
    char modeDigit;     // MD
    int32_t bandwidth;  // 100 Hz units; its digit goes out as BW
};

// clang-format off
inline constexpr ModeSetting kModeSettings[] = {
    {'F', 0, '0', 150}, {'F', 1, '0', 60}, {'F', 2, '0', 300},
    {'W', 0, '0', 2200}, {'W', 1, '0', 1100},
    {'A', 0, '1', 150}, {'A', 1, '1', 60}, {'A', 2, '1', 300},
    {'L', 0, '2', 30}, {'U', 0, '3', 30}, {'C', 0, '4', 30},
};
// clang-format on

// The setting of a letter and filter; a filter the letter lacks gives its normal one. None
// for a letter the receiver does not have (R).
inline std::optional<ModeSetting> FindMode(char letter, int32_t filter) {
    std::optional<ModeSetting> normal;
    for (const ModeSetting& mode : kModeSettings) {
        if (mode.letter != letter) continue;
        if (mode.filter == filter) return mode;
        if (mode.filter == 0) normal = mode;
    }
    return normal;
}

// Letter and filter of what the receiver reports: MD0 with BW5/BW6 is wide FM (narrow,
// normal), MD0 with BW2/3/4 FM narrow, normal, wide, MD1 likewise AM; narrower than BW2 is
// narrow, AM wider than BW4 wide.
struct ReportedMode {
    char letter;
    int32_t filter;
};
inline ReportedMode ModeOfReply(char mdLetter, int32_t bandwidth) {
    const auto filterOf = [&] { return bandwidth <= 60 ? 1 : bandwidth <= 150 ? 0 : 2; };
    if (mdLetter == 'F') {
        if (bandwidth >= 1100) return {'W', bandwidth >= 2200 ? 0 : 1};
        return {'F', filterOf()};
    }
    if (mdLetter == 'A') return {'A', filterOf()};
    return {mdLetter, 0};
}

// The attenuator digit: off "0"; up to 10 dB "1"; up to 20 "2"; above (automatic) "F".
inline char AttenuatorDigit(bool on, uint32_t db) {
    if (!on) return '0';
    if (db <= 10) return '1';
    if (db <= 20) return '2';
    return 'F';
}

// The entries of the mode lists of a channel and a search bank.
// clang-format off
inline constexpr AorModeEntry kModeEntries[] = {
    {"F", 'F', 0, 150}, {"W", 'W', 0, 2200}, {"A", 'A', 0, 150}, {"L", 'L', 0, 30},
    {"U", 'U', 0, 30}, {"C", 'C', 0, 30}, {"nF", 'F', 1, 60}, {"wF", 'F', 2, 300},
    {"nW", 'W', 1, 1100}, {"nA", 'A', 1, 60}, {"wA", 'A', 2, 300},
};
// clang-format on

}  // namespace ar5000
