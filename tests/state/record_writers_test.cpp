#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "state/fdx.h"
#include "state/user_dp.h"
#include "state/user_fono.h"
#include "state/user_freq.h"
#include "state/user_grp.h"
#include "state/user_sc.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A folder that is a regular file cannot take a new file, whoever runs the test.
TEST(StoredItemWriters, ReportFailureWhenTheFolderCannotTakeTheFile) {
    TempDir dir;
    WriteBytes(dir.File("DP"), "not a folder");
    const std::string path = dir.File("DP/item.cfg");

    UserDp range;
    range.FilePath = path;
    EXPECT_FALSE(range.WriteFile());
    UserFreq bank;
    bank.FilePath = path;
    bank.Channels.resize(1);
    EXPECT_FALSE(bank.WriteFile());
    UserGrp group;
    group.FilePath = path;
    EXPECT_FALSE(group.WriteFile());
    UserSc scale;
    scale.FilePath = path;
    EXPECT_FALSE(scale.WriteHeader());
    UserFono phonogram;
    phonogram.FilePath = path;
    EXPECT_FALSE(phonogram.WriteFile());

    EXPECT_THAT(dir.Entries(), ElementsAre("DP"));
    EXPECT_EQ(ReadBytes(dir.File("DP")), "not a folder");
}

// The letter is kept as its code page byte, so the scan's comparisons with 'F', 'W', ... hold for
// the letters it knows, and any other letter goes back to the file unchanged.
TEST(StoredItemWriters, AModeLetterOutsideLatinIsWrittenBackAsItWasRead) {
    TempDir dir;
    FDX fdx;
    const std::string path = dir.File("item.cfg");
    WriteBytes(path, StoredLines({"Модуляция=Ф "}));
    UserDp range;
    range.FilePath = path;
    ASSERT_TRUE(range.ReadFile(fdx, path));
    EXPECT_EQ(range.Modulation, '\xD4');
    ASSERT_TRUE(range.WriteFile());
    EXPECT_THAT(ReadBytes(path), HasSubstr(StoredLines({"Модуляция=Ф "})));

    WriteBytes(path, StoredLines({"Модуляция=я"}));
    UserSc scale;
    scale.FilePath = path;
    ASSERT_TRUE(scale.ReadFile(fdx, path));
    ASSERT_TRUE(scale.WriteHeader());
    EXPECT_THAT(ReadBytes(path), HasSubstr(StoredLines({"Модуляция=я "})));

    WriteBytes(path, StoredLines({"Кол-во=2", "F=1", "F_MOD=Ё", "F=2", "F_MOD=A"}));
    UserFreq bank;
    bank.FilePath = path;
    ASSERT_TRUE(bank.ReadFile(fdx, path));
    EXPECT_EQ(bank.Channels[1].Modulation, 'A');
    ASSERT_TRUE(bank.WriteFile());
    EXPECT_THAT(ReadBytes(path), HasSubstr(StoredLines({"F_MOD=Ё", "F=2", "F_STEP=0", "F_MOD=A"})));
}

}  // namespace
