// The files of the scale tag base: the field list, a field's values and an item's tags.
#include "state/scale_tags.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "state/cp1251.h"
#include "state/fdx.h"
#include "tests/state/record_files.h"
#include "tests/support/read_only_folder.h"

namespace {

class ScaleTags : public ::testing::Test {
  protected:
    ScaleTags() {
        std::filesystem::create_directories(dir.path() / "SCALE");
        fdx.ProgramDir = dir.path().string() + "/";
    }
    std::string Scale(const std::string& name) const { return dir.File("SCALE/" + name); }

    TempDir dir;
    FDX fdx;
};

TEST_F(ScaleTags, EachFileIsWrittenBackByteForByte) {
    WriteBytes(Scale("scale.tag"), Golden("scale.tag"));
    const std::vector<Field> fields = ReadFieldList(fdx);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[2], (Field{"Владелец", "FIELD003", {}}));
    std::filesystem::remove(Scale("scale.tag"));
    ASSERT_TRUE(WriteFieldList(fdx.ProgramDir, fields));
    EXPECT_EQ(ReadBytes(Scale("scale.tag")), Golden("scale.tag"));

    WriteBytes(Scale("FIELD000.tag"), Golden("FIELD000.tag"));
    EXPECT_EQ(ReadFieldValues(fdx, "FIELD000"), (std::vector<std::string>{"Связь", "Транкинг"}));
    ASSERT_TRUE(AppendFieldValue(fdx.ProgramDir, "FIELD000", "Такси"));
    EXPECT_EQ(ReadBytes(Scale("FIELD000.tag")), Golden("FIELD000.tag") + StoredLines({"Такси"}));

    WriteBytes(Scale("1455000.tag"), Golden("item.tag"));
    const std::vector<Field> tags = ReadItemTags(fdx, Scale("1455000.tag"), fields);
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0], (Field{"Канал", {}, "Связь"}));
    ASSERT_TRUE(WriteItemTags(ItemTagsPath(fdx.ProgramDir, "1455000"), tags));
    EXPECT_EQ(ReadBytes(Scale("1455000.tag")), Golden("item.tag"));
}

TEST_F(ScaleTags, ItemLinesWithoutAValueOrADefinedFieldAreSkipped) {
    const std::vector<Field> fields = {{"Канал", "FIELD000", {}}, {"Позывной", "FIELD001", {}}};
    WriteBytes(Scale("1.tag"), StoredLines({"Канал", "Канал\t", "Владелец\tАэропорт",
                                            "Позывной\tРубин\tлишнее", "Канал\t16"}));
    EXPECT_EQ(ReadItemTags(fdx, Scale("1.tag"), fields),
              (std::vector<Field>{{"Позывной", {}, "Рубин"}, {"Канал", {}, "16"}}));
    EXPECT_TRUE(ReadItemTags(fdx, Scale("absent.tag"), fields).empty());
}

// Quoted text is one part, whatever TAB or line end it holds: a caption "A<TAB>B" is no caption
// "A" with the value file "B". Written again, such a part is quoted and reads back the same.
TEST_F(ScaleTags, QuotedTextKeepsItsTabsAndIsWrittenBackQuoted) {
    WriteBytes(Scale("scale.tag"),
               StoredLines({"\"A\tB\"\tFIELD005", "'Жанна \"Д\"'\tFIELD001", "Канал\tFIELD000"}));
    const std::vector<Field> fields = ReadFieldList(fdx);
    EXPECT_EQ(fields, (std::vector<Field>{{"A\tB", "FIELD005", {}},
                                          {"Жанна \"Д\"", "FIELD001", {}},
                                          {"Канал", "FIELD000", {}}}));
    ASSERT_TRUE(WriteFieldList(fdx.ProgramDir, fields));
    EXPECT_EQ(ReadBytes(Scale("scale.tag")),
              StoredLines({"\"A\tB\"\tFIELD005", "'Жанна \"Д\"'\tFIELD001", "Канал\tFIELD000"}));
    EXPECT_EQ(ReadFieldList(fdx), fields);

    WriteBytes(Scale("1.tag"), StoredLines({"\"A\tB\"\t'x\ty'", "Канал\t\"16\r\n17\"",
                                            "\"Канал\"\t\"\"", "\"A\tB\"\tz\tлишнее"}));
    const std::vector<Field> tags = ReadItemTags(fdx, Scale("1.tag"), fields);
    EXPECT_EQ(tags, (std::vector<Field>{
                        {"A\tB", {}, "x\ty"}, {"Канал", {}, "16\r\n17"}, {"A\tB", {}, "z"}}));
    ASSERT_TRUE(WriteItemTags(Scale("1.tag"), tags));
    EXPECT_EQ(ReadItemTags(fdx, Scale("1.tag"), fields), tags);
    EXPECT_EQ(ReadBytes(Scale("1.tag")),
              StoredLines({"\"A\tB\"\t\"x\ty\"", "Канал\t\"16\r\n17\"", "\"A\tB\"\tz"}));
}

TEST_F(ScaleTags, NewFieldsTakeTheSmallestFreeNumberUntilAllAreTaken) {
    std::vector<Field> fields = {{"a", "FIELD000", {}}, {"b", "FIELD002", {}}};
    EXPECT_EQ(FreeFieldId(fields), "FIELD001");
    fields.clear();
    for (unsigned n = 0; n < kMaxFieldFiles; ++n) fields.push_back({"f", *FreeFieldId(fields), {}});
    EXPECT_EQ(fields.back().FileId, "FIELD998");
    EXPECT_FALSE(FreeFieldId(fields));
}

TEST_F(ScaleTags, TextThatWouldSplitALineOrLeaveTheFolderIsRefused) {
    EXPECT_TRUE(TagText("Аэропорт 2"));
    for (const char* bad : {"", "a/b", "a\\b", "a\tb", "a\rb", "a\nb", "\"a\"", "д'Арк"})
        EXPECT_FALSE(TagText(bad)) << bad;
}

TEST_F(ScaleTags, AValueFileTooLargeToReadIsNotReplaced) {
    const std::string big(kTextFileLimit + 1, 'x');
    WriteBytes(Scale("FIELD000.tag"), big);
    EXPECT_TRUE(AppendFieldValue(fdx.ProgramDir, "FIELD000", "Такси"));
    EXPECT_EQ(ReadBytes(Scale("FIELD000.tag")), big + "\r\n" + StoredLines({"Такси"}));
}

// A value file edited by hand: quotes, a blank line, lines ended by LF alone, the last
// one without its end. A new value goes after it; every byte before stays, and each line reads
// back as it stands.
TEST_F(ScaleTags, ANewValueIsAppendedAndTheValuesThereStayByteForByte) {
    const std::string before = Utf8ToCp1251(
        "Жанна д'Арк\r\n\r\n\"Буран\"\nа \"б\" 'в'\r\nc:\\путь\r\nпоследний");
    WriteBytes(Scale("FIELD007.tag"), before);
    ASSERT_TRUE(AppendFieldValue(fdx.ProgramDir, "FIELD007", "Такси"));
    ASSERT_TRUE(AppendFieldValue(fdx.ProgramDir, "FIELD007", "Рубин"));
    EXPECT_EQ(ReadBytes(Scale("FIELD007.tag")),
              before + "\r\n" + StoredLines({"Такси", "Рубин"}));
    EXPECT_EQ(ReadFieldValues(fdx, "FIELD007"),
              (std::vector<std::string>{"Жанна д'Арк", "\"Буран\"", "а \"б\" 'в'", "c:\\путь",
                                        "последний", "Такси", "Рубин"}));

    ASSERT_TRUE(AppendFieldValue(fdx.ProgramDir, "FIELD008", "Связь"));  // a field's first value
    EXPECT_EQ(ReadBytes(Scale("FIELD008.tag")), StoredLines({"Связь"}));
}

// A folder that takes nothing: the append fails, and the file stays as it was, or absent.
TEST_F(ScaleTags, AValueThatCannotBeAppendedLeavesTheFileAsItWas) {
    WriteBytes(Scale("FIELD000.tag"), StoredLines({"Связь"}));
    {
        const ReadOnlyFolder readOnly(dir.File("SCALE"));
        ::chmod(Scale("FIELD000.tag").c_str(), 0444);
        EXPECT_FALSE(AppendFieldValue(fdx.ProgramDir, "FIELD000", "Такси"));
        EXPECT_FALSE(AppendFieldValue(fdx.ProgramDir, "FIELD001", "Такси"));
    }
    EXPECT_EQ(ReadBytes(Scale("FIELD000.tag")), StoredLines({"Связь"}));
    EXPECT_FALSE(std::filesystem::exists(Scale("FIELD001.tag")));
}

}  // namespace
