#include <gtest/gtest.h>

#include "state/key_value.h"

namespace {

TEST(KeyValueLines, SplitAtTheFirstEqualsSoValuesKeepTheirOwn) {
    auto kv = SplitKeyValue("Идентификатор=a=b=c");
    ASSERT_TRUE(kv);
    EXPECT_EQ(kv->key, "Идентификатор");
    EXPECT_EQ(kv->value, "a=b=c");
    kv = SplitKeyValue("Fн==5");
    ASSERT_TRUE(kv);
    EXPECT_EQ(kv->value, "=5");
}

TEST(KeyValueLines, WithoutKeyOrValueAreSkipped) {
    EXPECT_FALSE(SplitKeyValue("Шаг"));
    EXPECT_FALSE(SplitKeyValue("Шаг="));
    EXPECT_FALSE(SplitKeyValue("=250"));
    EXPECT_FALSE(SplitKeyValue(""));
}

TEST(KeyValueNumbers, ReadLikeTheFilesAlwaysHave) {
    EXPECT_EQ(ReadInteger("250"), 250);
    EXPECT_EQ(ReadInteger("  -12abc"), -12);
    EXPECT_EQ(ReadInteger("+7"), 7);
    EXPECT_EQ(ReadInteger("x1"), 0);
    EXPECT_EQ(ReadInteger("99999999999999999999999"), 1'000'000'000'000);  // no overflow
    EXPECT_EQ(ReadU32("-1"), 4294967295u);
    EXPECT_EQ(ReadU32("4294967295"), 4294967295u);
}

// A field's number is the number it can hold or none: never the low bits of a larger one.
TEST(KeyValueNumbers, AFieldHoldsNoNumberBeyondIt) {
    EXPECT_EQ(ReadFieldNumber(" +250x"), 250u);
    EXPECT_EQ(ReadFieldNumber("4294967295"), 4294967295u);
    for (const char* beyond : {"4294967296", "99999999999", "99999999999999999999999", "-5",
                               "-0", "x1", "", " ", "+"}) {
        EXPECT_FALSE(ReadFieldNumber(beyond)) << beyond;
        EXPECT_EQ(ReadNumberOrZero(beyond), 0u) << beyond;
    }
}

TEST(KeyValueFlags, AreSetOnlyByTheWordYes) {
    EXPECT_TRUE(ReadFlag("ДА"));
    EXPECT_FALSE(ReadFlag("НЕТ"));
    EXPECT_FALSE(ReadFlag("да"));
    EXPECT_FALSE(ReadFlag("ДА "));
}

}  // namespace
