#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "state/fdx.h"
#include "state/user_fono.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

Fragment Piece(uint32_t frequency, std::string identifier, std::string time, uint32_t position,
               uint32_t length, uint32_t hour, uint32_t minute, uint32_t second) {
    Fragment fragment;
    fragment.Frequency = frequency;
    fragment.Identifier = std::move(identifier);
    fragment.Date = "07/03/2001";
    fragment.Time = std::move(time);
    fragment.Position = position;
    fragment.Length = length;
    fragment.Offset = position;
    fragment.Hour = hour;
    fragment.Minute = minute;
    fragment.Second = second;
    return fragment;
}

class PhonogramFile : public ::testing::Test {
  protected:
    // The phonogram of the golden files.
    static UserFono Sample() {
        UserFono phonogram;
        phonogram.Identifier = "07/03/2001 Фонограмма 1";
        phonogram.Date = "07/03/2001";
        phonogram.Time = "09:05:10";
        phonogram.RecordRate = 1;
        phonogram.Fragments = {Piece(1234500, "Фрагмент 1", "09:05:10", 0, 15000, 9, 5, 10),
                               Piece(1560000, "Фрагмент 2", "09:07:00", 15000, 4200, 9, 7, 0)};
        phonogram.Fragments[0].File = "/orvel/FONO/0730001.wav";
        phonogram.Fragments[1].File = "/orvel/FONO/0730002.wav";
        return phonogram;
    }

    void Write(UserFono phonogram) {
        phonogram.FilePath = path;
        EXPECT_TRUE(phonogram.WriteFile());
    }

    UserFono Read() {
        UserFono phonogram;
        EXPECT_TRUE(phonogram.ReadFile(fdx, path));
        return phonogram;
    }

    UserFono ReadLines(std::initializer_list<std::string_view> lines) {
        WriteBytes(path, StoredLines(lines));
        return Read();
    }

    FixedStampClock clock;  // a stamp would show in the golden files: the caller dates them
    TempDir dir;
    FDX fdx;
    std::string path = dir.File("0730001.cfg");
};

TEST_F(PhonogramFile, SingleFilePhonogramHasNoFileLines) {
    Write(Sample());
    EXPECT_EQ(ReadBytes(path), Golden("fono_single.cfg"));
}

TEST_F(PhonogramFile, SeparateFilesAddTheFlagAndEachFragmentsFile) {
    UserFono phonogram = Sample();
    phonogram.SeparateFiles = 1;
    Write(phonogram);
    EXPECT_EQ(ReadBytes(path), Golden("fono_separate.cfg"));
}

// Written again, what was read gives the same bytes: every field came back, each into its own
// member (the golden writes above pin the members).
TEST_F(PhonogramFile, ReadsBackHeaderAndFragments) {
    WriteBytes(path, Golden("fono_separate.cfg"));
    UserFono phonogram = Read();
    ASSERT_EQ(phonogram.Fragments.size(), 2u);
    EXPECT_EQ(phonogram.Fragments[1].Mark, 1);
    phonogram.FilePath = dir.File("again.cfg");
    ASSERT_TRUE(phonogram.WriteFile());
    EXPECT_EQ(ReadBytes(phonogram.FilePath), Golden("fono_separate.cfg"));
}

TEST_F(PhonogramFile, EmptyPhonogramWritesItsHeaderAlone) {
    UserFono phonogram = Sample();
    phonogram.Fragments.clear();
    Write(phonogram);
    fdx.LoadFileName = path;
    ASSERT_TRUE(fdx.LoadTextFile());
    EXPECT_EQ(fdx.Lines.size(), 5u);
    EXPECT_EQ(fdx.Lines.back(), "Кол-во=0");
    EXPECT_TRUE(Read().Fragments.empty());

    phonogram.SeparateFiles = 1;
    Write(phonogram);
    ASSERT_TRUE(fdx.LoadTextFile());
    EXPECT_EQ(fdx.Lines.size(), 6u);
    EXPECT_EQ(fdx.Lines.back(), "File=Y");
}

// A count that disagrees with the blocks drops none of them, nor lets one fall on another: the
// next save of the phonogram would lose them for good.
TEST_F(PhonogramFile, BlockBeyondTheCountIsAFragmentOfItsOwn) {
    const UserFono phonogram =
        ReadLines({"F_ID=ничей", "Кол-во=2", "F=1000000", "F_ID=первый", "F=2000000", "F_ID=второй",
                   "F_POS=5", "F=3000000", "F_ID=третий", "F_LENGTH=7"});
    ASSERT_EQ(phonogram.Fragments.size(), 3u);
    EXPECT_EQ(phonogram.Fragments[0].Identifier, "первый");
    EXPECT_EQ(phonogram.Fragments[1].Frequency, 2000000u);
    EXPECT_EQ(phonogram.Fragments[1].Identifier, "второй");
    EXPECT_EQ(phonogram.Fragments[1].Position, 5u);
    EXPECT_EQ(phonogram.Fragments[1].Length, 0u);
    EXPECT_EQ(phonogram.Fragments[2].Identifier, "третий");
    EXPECT_EQ(phonogram.Fragments[2].Length, 7u);
    EXPECT_EQ(phonogram.Fragments[2].Mark, 1);
    EXPECT_EQ(ReadLines({"Кол-во=0", "F=1", "F=2"}).Fragments.size(), 2u);
    EXPECT_EQ(ReadLines({"F=1", "F=2"}).Fragments.size(), 2u);
}

TEST_F(PhonogramFile, MissingKeysKeepTheDefaultsAndAnyFileValueSetsTheFlag) {
    UserFono phonogram = ReadLines({"Скорость=2", "File=N"});
    EXPECT_EQ(phonogram.Identifier, "Фонограмма...???");
    EXPECT_EQ(phonogram.Date, "00/00/00");
    EXPECT_EQ(phonogram.Time, "00:00");
    EXPECT_EQ(phonogram.RecordRate, 2u);
    EXPECT_EQ(phonogram.SeparateFiles, 1);
    EXPECT_TRUE(phonogram.Fragments.empty());
    EXPECT_EQ(ReadLines({"Скорость=2"}).SeparateFiles, 0);
}

TEST_F(PhonogramFile, FragmentsAreThoseTheFileHoldsUpToTheLimit) {
    EXPECT_EQ(ReadLines({"Кол-во=1000000000"}).Fragments.capacity(), 0u);
    EXPECT_EQ(ReadLines({"Кол-во=3", "F=1", "F=2"}).Fragments.size(), 2u);

    std::string bytes = StoredLines({"Кол-во=4294967295"});
    for (uint32_t i = 1; i <= kMaxPhonogramFragments + 1; ++i)
        bytes += StoredLines({"F=" + std::to_string(i)});
    bytes += StoredLines({"F_ID=лишний"});
    WriteBytes(path, bytes);
    const UserFono phonogram = Read();
    ASSERT_EQ(phonogram.Fragments.size(), kMaxPhonogramFragments);
    EXPECT_EQ(phonogram.Fragments.back().Frequency, kMaxPhonogramFragments);
    EXPECT_EQ(phonogram.Fragments.back().Identifier, "");  // the block beyond goes whole
}

TEST_F(PhonogramFile, TheLargestPhonogramTheProgramWritesReadsBackWhole) {
    UserFono phonogram = Sample();
    phonogram.SeparateFiles = 1;
    phonogram.Fragments.resize(kMaxPhonogramFragments, phonogram.Fragments[1]);
    phonogram.Fragments.back().Identifier = "Последний фрагмент";
    Write(phonogram);
    ASSERT_GT(ReadBytes(path).size(), kTextFileLimit);

    const UserFono back = Read();
    ASSERT_EQ(back.Fragments.size(), kMaxPhonogramFragments);
    EXPECT_EQ(back.Fragments.back().Identifier, "Последний фрагмент");
    EXPECT_EQ(back.Fragments.back().File, "/orvel/FONO/0730002.wav");
}

TEST(PhonogramName, IsAPlainFileNameFromTheDate) {
    EXPECT_EQ(UserFono::NewName("15/12/2003", 1), "152-0001");
    EXPECT_EQ(UserFono::NewName("07-03-2001", 9999), "073-9999");
    EXPECT_THAT(UserFono::NewName("1/2/3\\4", 12), Not(HasSubstr("/")));
    EXPECT_EQ(UserFono::NewName("7", 5), "70005");
    EXPECT_EQ(UserFono::NewName("", 5), "0005");
}

}  // namespace
