#include "app/orvel_ini.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/cp1251.h"
#include "state/fdx.h"
#include "tests/state/temp_dir.h"

namespace {

std::string Golden(const std::string& name) {
    return ReadBytes(std::string(ORVEL_APP_GOLDEN_DIR) + "/" + name);
}

// The settings that golden/orvel.ini holds.
OrvelSettings GoldenSettings() {
    OrvelSettings s;
    s.PortIndex = 2;
    s.SpeedIndex = 5;
    s.ReceiverType = 11;
    s.PlusOffset = 70000;
    s.MinusOffset = 120500;
    s.OptAuto = true;
    s.OptSound = true;
    s.OptLg = true;
    s.OptDb = true;
    s.AutoexecJob = "0003";
    s.GroupStyle = GroupScanStyle::OneCycle;
    s.OptRecvSave = true;
    s.OptEndScan = true;
    s.OptSpy = true;
    return s;
}

class OrvelIni : public ::testing::Test {
  protected:
    void SetUp() override {
        fdx.ProgramDir = dir.path().string() + "/";
        fdx.MessageBox = [this](const FDX&, const MessageRequest& r) {
            shown.push_back(r.text);
            return true;
        };
    }
    // Puts an ORVEL.INI made of these UTF-8 lines, in code page 1251, into the folder.
    void Give(const std::string& utf8, const std::string& name = kOrvelIniName) {
        WriteBytes(dir.File(name), Utf8ToCp1251(utf8));
    }
    std::string Written() const { return Cp1251ToUtf8(ReadBytes(dir.File(kOrvelIniName))); }

    TempDir dir;
    FDX fdx;
    std::vector<std::string> shown;
};

TEST_F(OrvelIni, WritesKeysInOrderWithLinesOnlyForOptionsThatAreOn) {
    ASSERT_TRUE(WriteOrvelIni(fdx, GoldenSettings()));
    EXPECT_EQ(ReadBytes(dir.File("ORVEL.INI")), Golden("orvel.ini"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(OrvelIni, WritesOnlyTheNumbersWhenNoOptionJobOrStyleIsChosen) {
    ASSERT_TRUE(WriteOrvelIni(fdx, OrvelSettings{}));
    EXPECT_EQ(ReadBytes(dir.File("ORVEL.INI")),
              "COM=0\r\nSPEED=0\r\nRECV=0\r\nPLUS=70000\r\nMIN=70000\r\n");
}

TEST_F(OrvelIni, ReadsBackWhatItWrote) {
    ASSERT_TRUE(WriteOrvelIni(fdx, GoldenSettings()));
    ASSERT_TRUE(ReadOrvelIni(fdx));
    EXPECT_EQ(fdx.PortIndex, 2);
    EXPECT_EQ(fdx.SpeedIndex, 5);
    EXPECT_EQ(fdx.ReceiverType, 11);  // mapping it onto a panel is the start-up's step
    EXPECT_EQ(fdx.PlusOffset, 70000u);
    EXPECT_EQ(fdx.MinusOffset, 120500u);
    EXPECT_EQ(fdx.AutoexecJob, "0003");
    EXPECT_EQ(fdx.OptAuto, 1);
    EXPECT_EQ(fdx.OptMaxMon, 0);
    EXPECT_EQ(fdx.OptSound, 1);
    EXPECT_EQ(fdx.OptAllign, 0);
    EXPECT_EQ(fdx.OptLg, 1);
    EXPECT_EQ(fdx.OptDb, 1);
    EXPECT_EQ(fdx.OptNatural, 0);
    EXPECT_EQ(fdx.OptOneCycle, 1);
    EXPECT_EQ(fdx.OptOneMes, 0);
    EXPECT_EQ(fdx.OptRecvSave, 1);
    EXPECT_EQ(fdx.OptScanSave, 0);
    EXPECT_EQ(fdx.OptEndScan, 1);
    EXPECT_EQ(fdx.OptSpy, 1);
}

TEST_F(OrvelIni, LgSwitchesDbOnButAnotherValueSwitchesOffOnlyLg) {
    Give("LG=ДА\r\n");
    ASSERT_TRUE(ReadOrvelIni(fdx));
    EXPECT_EQ(fdx.OptLg, 1);
    EXPECT_EQ(fdx.OptDb, 1);

    Give("LG=НЕТ\r\n");
    ASSERT_TRUE(ReadOrvelIni(fdx));
    EXPECT_EQ(fdx.OptLg, 0);
    EXPECT_EQ(fdx.OptDb, 1);
}

TEST_F(OrvelIni, OneCycleOrOneMesSwitchNaturalOff) {
    for (const char* other : {"ONE_CYCLE", "ONE_MES"}) {
        Give(std::string("NATURAL=ДА\r\n") + other + "=ДА\r\n");
        ASSERT_TRUE(ReadOrvelIni(fdx));
        EXPECT_EQ(fdx.OptNatural, 0) << other;
    }
    fdx.OptOneMes = 0;
    Give("NATURAL=ДА\r\nONE_CYCLE=НЕТ\r\n");
    ASSERT_TRUE(ReadOrvelIni(fdx));
    EXPECT_EQ(fdx.OptNatural, 1);
    EXPECT_EQ(fdx.OptOneCycle, 0);
}

TEST_F(OrvelIni, OptionIsOnOnlyForExactlyYes) {
    for (const char* value : {"да", "1", "ДАА", "НЕТ"}) {
        fdx.OptSound = 1;
        Give(std::string("SOUND=") + value + "\r\n");
        ASSERT_TRUE(ReadOrvelIni(fdx));
        EXPECT_EQ(fdx.OptSound, 0) << value;
    }
}

TEST_F(OrvelIni, SkipsLinesWithoutValueAndIgnoresTheTitleAndUnknownKeys) {
    Give("PLUS\r\nPLUS=\r\nID=Станция 1\r\nplus=5\r\nMIN=5\r\nCOM=3\r\n");
    ASSERT_TRUE(ReadOrvelIni(fdx));
    EXPECT_EQ(fdx.PlusOffset, 70000u);
    EXPECT_EQ(fdx.MinusOffset, 5u);
    EXPECT_EQ(fdx.PortIndex, 3);
}

TEST_F(OrvelIni, NumbersReadAsTheirLeadingDigitsAndKeepTheirSign) {
    Give("SPEED=7x\r\nCOM=-1\r\nRECV=99999999999\r\nAUTOEXEC=0004=old\r\n");
    ASSERT_TRUE(ReadOrvelIni(fdx));
    EXPECT_EQ(fdx.SpeedIndex, 7);
    EXPECT_EQ(fdx.PortIndex, -1);
    EXPECT_EQ(fdx.ReceiverType, 2147483647);
    // A second "=" cuts the value.
    EXPECT_EQ(fdx.AutoexecJob, "0004");
}

TEST_F(OrvelIni, MissingOrEmptyFileLeavesTheStartValues) {
    EXPECT_FALSE(ReadOrvelIni(fdx));
    Give("");
    EXPECT_FALSE(ReadOrvelIni(fdx));
    EXPECT_EQ(fdx.PlusOffset, 70000u);
    EXPECT_EQ(fdx.MinusOffset, 70000u);
    EXPECT_EQ(fdx.ReceiverType, 0);
    EXPECT_EQ(fdx.OptRecvSave, 0);
    EXPECT_TRUE(shown.empty());
}

TEST_F(OrvelIni, FindsTheFileWhateverTheCaseOfItsName) {
    Give("COM=4\r\n", "orvel.Ini");
    ASSERT_TRUE(ReadOrvelIni(fdx));
    EXPECT_EQ(fdx.PortIndex, 4);
}

TEST_F(OrvelIni, ValueKeptFromAnOddFileIsWrittenBackAsItWasRead) {
    OrvelSettings s;
    s.SpeedIndex = -1;
    ASSERT_TRUE(WriteOrvelIni(fdx, s));
    EXPECT_NE(Written().find("SPEED=-1\r\n"), std::string::npos);
    ASSERT_TRUE(ReadOrvelIni(fdx));
    EXPECT_EQ(fdx.SpeedIndex, -1);
}

TEST_F(OrvelIni, UnwritableFolderShowsMessage1AndReportsFailure) {
    // A program folder that is a plain file cannot hold ORVEL.INI, whoever runs the test.
    WriteBytes(dir.File("notafolder"), "x");
    fdx.ProgramDir = dir.File("notafolder") + "/";
    EXPECT_FALSE(WriteOrvelIni(fdx, GoldenSettings()));
    EXPECT_EQ(shown, std::vector<std::string>{"Ошибка записи файла конфигуратора"});
}

TEST_F(OrvelIni, TakingOptionsOverLeavesReceiverPortAndSpeedForTheNextStart) {
    fdx.OptOneMes = 1;
    OrvelSettings s = GoldenSettings();
    s.GroupStyle = GroupScanStyle::None;
    TakeOverOptions(fdx, s);
    EXPECT_EQ(fdx.OptOneMes, 1);  // no style chosen: the group options stay
    EXPECT_EQ(fdx.PortIndex, 0);
    EXPECT_EQ(fdx.SpeedIndex, 0);
    EXPECT_EQ(fdx.ReceiverType, 0);
    EXPECT_EQ(fdx.MinusOffset, 120500u);
    EXPECT_EQ(fdx.AutoexecJob, "0003");

    s.GroupStyle = GroupScanStyle::Natural;
    TakeOverOptions(fdx, s);
    EXPECT_EQ(fdx.OptNatural, 1);
    EXPECT_EQ(fdx.OptOneMes, 0);
}

}  // namespace
