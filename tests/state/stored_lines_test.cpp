// How the text of a stored file falls into lines and, in the tag files, into fields.
#include "state/stored_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::vector<std::string>>;

TEST(StoredFields, ASeparatorOutsideQuotesEndsAFieldAndOneInsideStaysInIt) {
    const struct {
        const char* what;
        std::string text;
        Lines lines;
    } cases[] = {
        {"fields at the TAB", "A\tB\tC\r\nD", {{"A", "B", "C"}, {"D"}}},
        {"a quoted TAB stays", "\"A\tB\"\tFIELD005", {{"A\tB", "FIELD005"}}},
        {"quotes mid-field too", "x\"A\tB\"y\tz", {{"xA\tBy", "z"}}},
        {"a quoted line end stays", "'a\r\nb'\tc\nd\te", {{"a\r\nb", "c"}, {"d", "e"}}},
        {"a lone quote joins the lines after it", "\"a\tb\r\nc\td", {{"a\tb\r\nc\td"}}},
        {"escapes inside quotes only", "\"a\\\"\t\\\\\"\tb\\\"c", {{"a\"\t\\", "b\\\"c"}}},
        {"empty fields stay, empty lines go",
         "\tB\r\n\r\n\t\r\n\"\"\r\nC\t",
         {{"", "B"}, {"", ""}, {"C", ""}}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitStoredFields(c.text, '\t'), c.lines) << c.what;
}

}  // namespace
