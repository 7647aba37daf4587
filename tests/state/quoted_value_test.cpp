#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "state/fdx.h"
#include "state/text_file.h"
#include "tests/state/temp_dir.h"

namespace {

using ::testing::ElementsAre;

class QuotedValues : public ::testing::Test {
  protected:
    std::string WrittenBytes(std::string_view value) {
        TextFileWriter writer;
        writer.KeyValue("K", value);
        writer.KeyValue("Next", "1");
        EXPECT_TRUE(writer.Save(path));
        return ReadBytes(path);
    }

    std::vector<std::string> LoadedLines(std::string_view value) {
        WrittenBytes(value);
        fdx.LoadFileName = path;
        EXPECT_TRUE(fdx.LoadTextFile());
        return fdx.Lines;
    }

    TempDir dir;
    FDX fdx;
    std::string path = dir.File("diap.cfg");
};

TEST_F(QuotedValues, ReadBackUnchangedThroughTheLoader) {
    const std::string values[] = {
        "O'Brien = 1 \"x\"",
        "it's",
        "say \"hi\"",
        "две\r\nстроки",
        "\r",
        "\n\n",
        "\"",
        "'",
        "'\"",
        "\\\"",
        "\\'",
        "a \\ b 'c'",
        "ends with backslash\\'",
        "\"\\\\\"",
        "'quoted'",
    };
    for (const auto& value : values)
        EXPECT_THAT(LoadedLines(value), ElementsAre("K=" + value, "Next=1")) << value;
}

TEST_F(QuotedValues, PlainValuesAreWrittenAsTheyAre) {
    EXPECT_EQ(WrittenBytes("C:\\FONO\\ a=b  "), "K=C:\\FONO\\ a=b  \r\nNext=1\r\n");
    EXPECT_EQ(WrittenBytes(""), "K=\r\nNext=1\r\n");
}

TEST_F(QuotedValues, TakeTheQuoteTheValueLacks) {
    EXPECT_EQ(WrittenBytes("it's"), "K=\"it's\"\r\nNext=1\r\n");
    EXPECT_EQ(WrittenBytes("say \"hi\""), "K='say \"hi\"'\r\nNext=1\r\n");
    EXPECT_EQ(WrittenBytes("O'Brien = 1 \"x\""), "K=\"O'Brien = 1 \\\"x\\\"\"\r\nNext=1\r\n");
    EXPECT_EQ(WrittenBytes("a\r\nb\\"), "K=\"a\r\nb\\\\\"\r\nNext=1\r\n");
}

}  // namespace
