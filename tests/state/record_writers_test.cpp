#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "state/user_dp.h"
#include "state/user_fono.h"
#include "state/user_freq.h"
#include "state/user_grp.h"
#include "state/user_sc.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::ElementsAre;

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

}  // namespace
