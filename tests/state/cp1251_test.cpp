#include "state/cp1251.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::string byte(int value) {
    return std::string(1, static_cast<char>(value));
}

TEST(Cp1251, EveryByteRoundTripsThroughUtf8) {
    std::set<std::string> decoded;
    for (int value = 0; value < 256; ++value) {
        SCOPED_TRACE(value);
        const std::string utf8 = Cp1251ToUtf8(byte(value));
        EXPECT_EQ(Utf8ToCp1251(utf8), byte(value));
        decoded.insert(utf8);
    }
    EXPECT_EQ(decoded.size(), 256u) << "two bytes decode to the same character";
}

TEST(Cp1251, CyrillicWordMatchesStoredBytes) {
    const std::string stored = "\xC8\xE4\xE5\xED\xF2\xE8\xF4\xE8\xEA\xE0\xF2\xEE\xF0";
    EXPECT_EQ(Utf8ToCp1251("Идентификатор"), stored);
    EXPECT_EQ(Cp1251ToUtf8(stored), "Идентификатор");
}

TEST(Cp1251, PunctuationAndLettersOutsideTheAlphabetRun) {
    struct Pair {
        const char* cp1251;
        const char* utf8;
    };
    const Pair pairs[] = {
        {"\xA8", "Ё"}, {"\xB8", "ё"}, {"\xB9", "№"}, {"\x88", "€"}, {"\x97", "—"},
        {"\xAB", "«"}, {"\xBB", "»"}, {"\xC0", "А"}, {"\xFF", "я"}, {"\xA0", "\u00A0"},
        {"\xA5", "Ґ"}, {"\xB2", "І"}, {"\x80", "Ђ"}, {"\x9F", "џ"}, {"\x98", "\u0098"},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.utf8);
        EXPECT_EQ(Cp1251ToUtf8(pair.cp1251), pair.utf8);
        EXPECT_EQ(Utf8ToCp1251(pair.utf8), pair.cp1251);
    }
}

TEST(Cp1251, AsciiPassesUnchangedIncludingNul) {
    const std::string ascii("F=688000\r\n\0end", 15);
    EXPECT_EQ(Cp1251ToUtf8(ascii), ascii);
    EXPECT_EQ(Utf8ToCp1251(ascii), ascii);
}

TEST(Cp1251, CharacterWithoutByteBecomesQuestionMark) {
    EXPECT_EQ(Utf8ToCp1251("Ф中Ф"), "\xD4?\xD4");
    EXPECT_EQ(Utf8ToCp1251("😀"), "?");
    EXPECT_EQ(Utf8ToCp1251("é"), "?");
}

TEST(Cp1251, MalformedUtf8BecomesOneQuestionMarkPerByte) {
    EXPECT_EQ(Utf8ToCp1251("\xFF"), "?");
    EXPECT_EQ(Utf8ToCp1251("\x80"
                           "A"),
              "?A");
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??");            // overlong '/'
    EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), "???");       // surrogate
    EXPECT_EQ(Utf8ToCp1251("\xF4\x90\x80\x80"), "????");  // beyond U+10FFFF
    EXPECT_EQ(Utf8ToCp1251("A\xD0"), "A?");               // cut short at the end
    EXPECT_EQ(Utf8ToCp1251("\xE2\x82"
                           "A"),
              "??A");  // cut short before a letter
}

}  // namespace
