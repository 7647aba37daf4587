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

TEST(ParseMHz, DecimalsBecomeHundredsOfHertz) {
    const Typed cases[] = {
        {"7", 70000},     {"7.0005", 70005}, {"7.00005", 70000},   {"7.12345678", 71234},
        {"12.5", 125000}, {"12,05", 120500}, {"12.12345", 121234}, {"68.8", 688000},
        {"0.1", 1000},    {"7.", 70000},     {"7.10", 71000},      {"7.010", 70100},
    };
    for (const Typed& typed : cases)
        EXPECT_EQ(FDX::ParseMHz(typed.text), typed.value) << typed.text;
}

TEST(ParseMHz, PointWinsOverComma) {
    // The whole part "1,2" reads as 1.
    EXPECT_EQ(FDX::ParseMHz("1,2.5"), 15000u);
}

TEST(ParseMHz, TextStartingWithSeparatorHasNoWholePart) {
    EXPECT_EQ(FDX::ParseMHz(".5"), 5000u);
    EXPECT_EQ(FDX::ParseMHz(",5"), 5000u);
    EXPECT_EQ(FDX::ParseMHz(".0005"), 5u);
}

TEST(ParseMHz, TextWithoutDigitsGivesZero) {
    for (const char* text : {"", "abc", ".", ",", "-", " "})
        EXPECT_EQ(FDX::ParseMHz(text), 0u) << text;
}

TEST(ParseMHz, ReadsLikeAtol) {
    EXPECT_EQ(FDX::ParseMHz("  12.5"), 125000u);
    EXPECT_EQ(FDX::ParseMHz("+12.5"), 125000u);
    EXPECT_EQ(FDX::ParseMHz("12MHz"), 120000u);
    EXPECT_EQ(FDX::ParseMHz("12.5kHz"), 125000u);
}

TEST(ParseMHz, NegativeValuesGiveZero) {
    EXPECT_EQ(FDX::ParseMHz("12.-5"), 0u);
    EXPECT_EQ(FDX::ParseMHz("-12.5"), 0u);
}

TEST(ParseMHz, HugeNumbersStopAtTheLargestFrequency) {
    EXPECT_EQ(FDX::ParseMHz("429496.7295"), kMaxU32);
    EXPECT_EQ(FDX::ParseMHz("429496.7296"), kMaxU32);
    EXPECT_EQ(FDX::ParseMHz("99999999999999999999999999999"), kMaxU32);
}

TEST(ParseMHz, OverlongFractionCountsAsZero) {
    EXPECT_EQ(FDX::ParseMHz("1.1111111111111111111111111"), 11111u);    // 25 digits: 21 cuts
    EXPECT_EQ(FDX::ParseMHz("1.111111111111111111111111111"), 10000u);  // 27 digits: 23 cuts
}

TEST(ParseKHz, FirstDecimalIsKept) {
    const Typed cases[] = {
        {"25", 250}, {"12.5", 125}, {"12.25", 122},  {"12.05", 120},
        {"0.05", 0}, {"6,25", 62},  {"12.999", 129}, {"7000", 70000},
    };
    for (const Typed& typed : cases)
        EXPECT_EQ(FDX::ParseKHz(typed.text), typed.value) << typed.text;
}

TEST(ParseKHz, TextStartingWithSeparatorHasNoWholePart) {
    EXPECT_EQ(FDX::ParseKHz(".5"), 5u);
    EXPECT_EQ(FDX::ParseKHz(",5"), 5u);
}

TEST(ParseKHz, TextWithoutDigitsOrNegativeGivesZero) {
    for (const char* text : {"", "kHz", "-5", "5.-1"}) EXPECT_EQ(FDX::ParseKHz(text), 0u) << text;
}

TEST(ParseKHz, HugeNumbersStopAtTheLargestStep) {
    EXPECT_EQ(FDX::ParseKHz("99999999999999999999999999999"), kMaxU32);
}

}  // namespace
