#include <gtest/gtest.h>

#include <string>

#include "state/fdx.h"
#include "state/user_sc.h"
#include "tests/state/record_files.h"

namespace {

class ScaleFile : public ::testing::Test {
  protected:
    FixedStampClock clock;
    TempDir dir;
    FDX fdx;
    std::string path = dir.File("1460000.cfg");
};

TEST_F(ScaleFile, WritesHeaderStampedAndReadsItBack) {
    UserSc scale;
    scale.Identifier = "146.0000-174.0000";
    scale.Name = "1460000";
    scale.FilePath = path;
    scale.StartFrequency = 1460000;
    scale.EndFrequency = 1740000;
    scale.Step = 125;
    scale.Modulation = 'F';
    ASSERT_TRUE(scale.WriteHeader());
    EXPECT_EQ(ReadBytes(path), Golden("scale.cfg"));

    UserSc back;
    ASSERT_TRUE(back.ReadFile(fdx, path));
    EXPECT_EQ(back.Identifier, "146.0000-174.0000");
    EXPECT_EQ(back.StartFrequency, 1460000u);
    EXPECT_EQ(back.EndFrequency, 1740000u);
    EXPECT_EQ(back.Step, 125u);
    EXPECT_EQ(back.Modulation, 'F');
    EXPECT_EQ(back.Date, "07/03/2001");
    EXPECT_EQ(back.Time, "09:05");
}

TEST_F(ScaleFile, MissingKeysKeepTheDefaultsWithADashedDate) {
    fdx.RangeStart = 1000000;
    fdx.RangeEnd = 1100000;
    fdx.RangeStep = 50;
    fdx.RangeMode = 'U';
    WriteBytes(path, StoredLines({"Шаг=25"}));
    UserSc scale;
    ASSERT_TRUE(scale.ReadFile(fdx, path));
    EXPECT_EQ(scale.Identifier, "Частоты...???");
    EXPECT_EQ(scale.Date, "00-00-00");
    EXPECT_EQ(scale.Time, "00:00");
    EXPECT_EQ(scale.StartFrequency, 1000000u);
    EXPECT_EQ(scale.EndFrequency, 1100000u);
    EXPECT_EQ(scale.Step, 25u);
    EXPECT_EQ(scale.Modulation, 'U');
    EXPECT_FALSE(scale.ReadFile(fdx, dir.File("absent.cfg")));
    EXPECT_EQ(scale.Step, 50u);
}

}  // namespace
