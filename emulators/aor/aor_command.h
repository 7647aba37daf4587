#pragma once
// Command lines of the AOR receivers as the receiver reads them, and the records the sets
// keep. Written apart from the panels' own line link on purpose: a fault shared by both sides
// would cancel out and every exchange would still look right.
//
// A command line is fields separated by blanks, each a two-letter upper-case token and its
// value: "RF145500000", "MD0", "MX005 RF145500000 AU0 ST12500 MD0 BW3 MP0 TM   CALLS".
// Some tokens take the rest of the line as their value, blanks and all: the labels (TM, TT)
// and the bank-link lists (BS, BM).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace emulators {

struct AorField {
    std::string_view token;
    std::string_view value;
};

// The fields of `line`; nullopt when one of them does not start with a token.
std::optional<std::vector<AorField>> SplitFields(std::string_view line,
                                                 std::span<const std::string_view> restOfLine);

// A decimal number of 1..maxDigits digits and nothing else.
std::optional<uint64_t> ParseDigits(std::string_view text, size_t maxDigits);

// Hz as up to maxDigits digits ("145500000"), or with a decimal point in units of pointUnitHz
// ("145.5" with 1'000'000: MHz), at most as many decimals as the unit has.
std::optional<uint64_t> ParseHz(std::string_view text, size_t maxDigits, uint64_t pointUnitHz);

// A label as the set keeps it: `width` characters, cut or filled with blanks on the right.
std::string PadLabel(std::string_view text, size_t width);

// snprintf into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Receive settings kept with a VFO, a memory channel and a search bank, as command digits.
struct AorSettings {
    uint32_t stepHz = 12'500;
    char mode = '0';        // MD
    char bandwidth = '3';   // BW
    char attenuator = '0';  // AT: 0 off, 1 10 dB, 2 20 dB, F automatic
    bool autoMode = false;  // AU
    bool operator==(const AorSettings&) const = default;
};

struct AorVfo {
    uint64_t frequencyHz = 0;
    AorSettings settings;
    bool operator==(const AorVfo&) const = default;
};

// A memory channel; frequency 0 is an empty one.
struct AorChannel {
    uint64_t frequencyHz = 0;
    AorSettings settings;
    std::string label;
    bool skip = false;    // MP: passed over by the memory scan
    bool select = false;  // GA: taken by the select scan
    bool Empty() const { return frequencyHz == 0; }
    bool operator==(const AorChannel&) const = default;
};

// A search bank; both limits 0 is an empty one.
struct AorSearchBank {
    uint64_t lowerHz = 0;
    uint64_t upperHz = 0;
    AorSettings settings;
    std::string label;
    bool Empty() const { return lowerHz == 0 && upperHz == 0; }
    bool operator==(const AorSearchBank&) const = default;
};

}  // namespace emulators
