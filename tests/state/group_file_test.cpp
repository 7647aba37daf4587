#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "state/fdx.h"
#include "state/user_grp.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class GroupFile : public ::testing::Test {
  protected:
    UserGrp ReadLines(std::initializer_list<std::string_view> lines) {
        WriteBytes(path, StoredLines(lines));
        UserGrp group;
        EXPECT_TRUE(group.ReadFile(fdx, path));
        return group;
    }

    FixedStampClock clock;
    TempDir dir;
    FDX fdx;
    std::string path = dir.File("grp.cfg");
};

TEST_F(GroupFile, WritesItsOwnDateAndTimeAndEveryRange) {
    UserGrp group;
    group.Identifier = "Группа N 0001 ";
    group.Date = "06/03/2001";  // set by whoever makes the group, not by the clock
    group.Time = "18:40";
    group.Ranges = {"0001", "0003"};
    group.FilePath = path;
    ASSERT_TRUE(group.WriteFile());
    EXPECT_EQ(ReadBytes(path), Golden("grp.cfg"));

    UserGrp back;
    ASSERT_TRUE(back.ReadFile(fdx, path));
    EXPECT_EQ(back.Identifier, "Группа N 0001 ");
    EXPECT_EQ(back.Date, "06/03/2001");
    EXPECT_EQ(back.Time, "18:40");
    EXPECT_THAT(back.Ranges, ElementsAre("0001", "0003"));
}

TEST_F(GroupFile, MissingKeysKeepTheDefaults) {
    const UserGrp group = ReadLines({"Диапазон=0001"});
    EXPECT_EQ(group.Identifier, "Группа ???");
    EXPECT_EQ(group.Date, "00/00/00");
    EXPECT_EQ(group.Time, "00:00");
    EXPECT_THAT(group.Ranges, ElementsAre("0001"));  // without a "Кол-во" as well
}

// A count that disagrees with the ranges drops none of them: a rename writes the group again.
TEST_F(GroupFile, RangesAreThoseTheFileHoldsWhateverItsCount) {
    EXPECT_THAT(ReadLines({"Кол-во=3", "Диапазон=0001", "Диапазон=0002"}).Ranges,
                ElementsAre("0001", "0002"));
    for (const auto count : {"Кол-во=1", "Кол-во=0", "Кол-во=-3"})
        EXPECT_THAT(ReadLines({count, "Диапазон=0001", "Диапазон=0002"}).Ranges,
                    ElementsAre("0001", "0002"))
            << count;
    EXPECT_EQ(ReadLines({"Кол-во=1000000000"}).Ranges.capacity(), 0u);

    // More than there are range slots: the group keeps them all.
    std::string bytes = StoredLines({"Кол-во=4294967295"});
    for (int i = 1; i <= 20; ++i) bytes += StoredLines({"Диапазон=" + std::to_string(i)});
    WriteBytes(path, bytes);
    UserGrp group;
    ASSERT_TRUE(group.ReadFile(fdx, path));
    ASSERT_EQ(group.Ranges.size(), 20u);
    EXPECT_EQ(group.Ranges.back(), "20");
}

}  // namespace
