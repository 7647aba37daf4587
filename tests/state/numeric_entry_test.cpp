#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "state/fdx.h"

namespace {

struct Typed {
    const char* text;
    uint32_t value;
};

constexpr uint32_t kMaxU32 = std::numeric_limits<uint32_t>::max();

// A typed frequency in MHz reads as hundreds of hertz, each part as atol reads it.
TEST(ParseMHz, ReadsTheWholeAndTheDecimalPartsAsTheProgramAlwaysHas) {
    // clang-format off
    const Typed cases[] = {
        {"7", 70000}, {"7.0005", 70005}, {"7.00005", 70000}, {"7.12345678", 71234},
        {"12.5", 125000}, {"12,05", 120500}, {"12.12345", 121234}, {"68.8", 688000},
        {"0.1", 1000}, {"7.", 70000}, {"7.10", 71000}, {"7.010", 70100},
        {"1,2.5", 15000},                               // a point wins: "1,2" reads as 1
        {".5", 5000}, {",5", 5000}, {".0005", 5},       // no whole part
        {"", 0}, {"abc", 0}, {".", 0}, {",", 0}, {"-", 0}, {" ", 0},
        {"  12.5", 125000}, {"+12.5", 125000}, {"12MHz", 120000}, {"12.5kHz", 125000},
        {"12.-5", 0}, {"-12.5", 0},                     // negative values give zero
        {"429496.7295", kMaxU32}, {"429496.7296", kMaxU32},
        {"99999999999999999999999999999", kMaxU32},    // the largest frequency
        {"1.1111111111111111111111111", 11111},        // 25 digits: 21 cut
        {"1.111111111111111111111111111", 10000},      // 27: an overlong fraction is zero
    };
    // clang-format on
    for (const Typed& typed : cases)
        EXPECT_EQ(FDX::ParseMHz(typed.text), typed.value) << '"' << typed.text << '"';
}

// A typed step in kHz keeps its first decimal.
TEST(ParseKHz, KeepsTheFirstDecimal) {
    // clang-format off
    const Typed cases[] = {
        {"25", 250}, {"12.5", 125}, {"12.25", 122}, {"12.05", 120}, {"0.05", 0}, {"6,25", 62},
        {"12.999", 129}, {"7000", 70000}, {".5", 5}, {",5", 5},
        {"", 0}, {"kHz", 0}, {"-5", 0}, {"5.-1", 0},
        {"99999999999999999999999999999", kMaxU32},    // the largest step
    };
    // clang-format on
    for (const Typed& typed : cases)
        EXPECT_EQ(FDX::ParseKHz(typed.text), typed.value) << '"' << typed.text << '"';
}

}  // namespace
