#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "state/fdx.h"
#include "state/user_freq.h"
#include "tests/state/record_files.h"

namespace {

using ::testing::ElementsAre;

Mt Channel(uint32_t frequency, char mode, uint32_t step, std::string identifier = "") {
    Mt channel;
    channel.Frequency = frequency;
    channel.Modulation = mode;
    channel.Step = step;
    channel.Identifier = std::move(identifier);
    return channel;
}

class BankFile : public ::testing::Test {
  protected:
    // The bank of the golden freq.cfg, before its stamp.
    static UserFreq Sample() {
        UserFreq bank;
        bank.Identifier = "Банк частот-1";
        bank.StartFrequency = 1234500;
        bank.Level = 30;
        bank.Waiting = 1;
        bank.WaitTime = 10;
        bank.Poll = 5;
        bank.Interval = 60;
        Mt airport = Channel(1234500, 'A', 125, "Аэропорт");
        airport.Attenuator = 1;
        airport.QATT = 2;
        airport.QMOD = 3;
        Mt empty = Channel(0, 0, 125, "не пишется");
        Mt noAttenuatorValue = Channel(1560000, 'F', 250);
        noAttenuatorValue.Attenuator = 1;
        Mt attenuatorOff = Channel(4450000, 'U', 50, "x=y");
        attenuatorOff.QATT = 7;
        bank.Channels = {airport, empty, noAttenuatorValue, attenuatorOff};
        bank.ChannelCount = 4;
        return bank;
    }

    void Write(UserFreq bank) {
        bank.FilePath = path;
        EXPECT_TRUE(bank.WriteFile());
    }

    UserFreq Read() {
        UserFreq bank;
        EXPECT_TRUE(bank.ReadFile(fdx, path));
        return bank;
    }

    UserFreq ReadLines(std::initializer_list<std::string_view> lines) {
        WriteBytes(path, StoredLines(lines));
        return Read();
    }

    static std::vector<uint32_t> Frequencies(const UserFreq& bank) {
        std::vector<uint32_t> frequencies;
        for (const Mt& channel : bank.Channels) frequencies.push_back(channel.Frequency);
        return frequencies;
    }

    FixedStampClock clock;
    TempDir dir;
    FDX fdx;
    std::string path = dir.File("freq.cfg");
};

TEST_F(BankFile, WritesHeaderThenEachChannelWithItsOptionalLines) {
    Write(Sample());
    EXPECT_EQ(ReadBytes(path), Golden("freq.cfg"));
}

TEST_F(BankFile, BankWithoutChannelsHasNoCountLine) {
    UserFreq bank = Sample();
    bank.Channels.clear();
    bank.ChannelCount = 0;
    Write(bank);
    const std::string golden = Golden("freq.cfg");
    EXPECT_EQ(ReadBytes(path), golden.substr(0, golden.find("\xCA\xEE\xEB-\xE2\xEE=")));
    const UserFreq back = Read();
    EXPECT_EQ(back.ChannelCount, 0u);
    EXPECT_TRUE(back.Channels.empty());
}

// Written again, what was read gives the same bytes: every field came back, each into its own
// member (the golden write above pins the members).
TEST_F(BankFile, ReadsBackHeaderAndChannels) {
    WriteBytes(path, Golden("freq.cfg"));
    UserFreq bank = Read();
    ASSERT_EQ(bank.ChannelCount, 4u);
    ASSERT_EQ(bank.Channels.size(), 4u);
    const Mt& empty = bank.Channels[1];  // its "F=0" line alone
    EXPECT_EQ(empty.Frequency, 0u);
    EXPECT_EQ(empty.Modulation, 'W');
    EXPECT_EQ(empty.Number, 1);
    EXPECT_EQ(bank.Channels[3].QATT, 0u);  // not written without the attenuator
    bank.FilePath = dir.File("again.cfg");
    ASSERT_TRUE(bank.WriteFile());
    EXPECT_EQ(ReadBytes(bank.FilePath), Golden("freq.cfg"));
}

TEST_F(BankFile, MissingKeysKeepTheDefaults) {
    fdx.RangeStart = 777000;
    const UserFreq bank = ReadLines({"Уровень=12"});
    EXPECT_EQ(bank.Identifier, "Группа частот...???");
    EXPECT_EQ(bank.Date, "00/00/00");
    EXPECT_EQ(bank.Time, "00:00");
    EXPECT_EQ(bank.StartFrequency, 777000u);
    EXPECT_EQ(bank.Poll, 5u);
    EXPECT_EQ(bank.Level, 12u);
    EXPECT_EQ(bank.ChannelCount, 0u);
}

// A count that disagrees with the channels (a damaged line, a count of 0) drops none of them: the
// next write of the bank would lose them for good. The count line ends the channel before it.
TEST_F(BankFile, ChannelsOutsideTheCountAreReadWithTheirLines) {
    const UserFreq bank =
        ReadLines({"F=1", "F_ID=до Кол-во", "Кол-во=2", "F_STEP=5", "F=1000000", "F_ID=первый",
                   "F=2000000", "F_ID=второй", "F=3000000", "F_ID=третий", "F_MOD=A"});
    ASSERT_EQ(bank.ChannelCount, 4u);
    EXPECT_THAT(Frequencies(bank), ElementsAre(1u, 1000000u, 2000000u, 3000000u));
    EXPECT_EQ(bank.Channels[0].Identifier, "до Кол-во");
    EXPECT_EQ(bank.Channels[0].Step, 0u);
    EXPECT_EQ(bank.Channels[1].Identifier, "первый");
    EXPECT_EQ(bank.Channels[2].Modulation, 'W');
    EXPECT_EQ(bank.Channels[3].Identifier, "третий");
    EXPECT_EQ(bank.Channels[3].Modulation, 'A');
    EXPECT_EQ(bank.Channels[3].Number, 3);

    for (const auto count : {"Кол-во=0", "Кол-во=1", "Кол-во=-3", "Кол-во=x"}) {
        SCOPED_TRACE(count);
        WriteBytes(path, StoredLines({"Идентификатор=Посты", count, "F=1455000", "F_ID=Пост",
                                      "F=4339200", "F_MOD=A"}));
        UserFreq read = Read();
        ASSERT_EQ(read.ChannelCount, 2u);
        read.FilePath = path;
        ASSERT_TRUE(read.WriteFile());
        EXPECT_THAT(Frequencies(Read()), ElementsAre(1455000u, 4339200u));
        EXPECT_EQ(Read().Channels[0].Identifier, "Пост");
    }
}

TEST_F(BankFile, ChannelWithoutModeLetterIsWrittenWithW) {
    // A NUL letter would end the file for the loader and lose every channel after it.
    UserFreq bank;
    bank.Channels = {Channel(1000000, 0, 125), Channel(2000000, 'F', 250)};
    Write(bank);
    const UserFreq back = Read();
    ASSERT_EQ(back.Channels.size(), 2u);
    EXPECT_EQ(back.Channels[0].Modulation, 'W');
    EXPECT_EQ(back.Channels[1].Step, 250u);
}

TEST_F(BankFile, DuplicateFrequenciesReloadChannelByChannel) {
    UserFreq bank;
    bank.Channels = {Channel(1000000, 'F', 125, "первый"), Channel(1000000, 'A', 250, "второй")};
    Write(bank);
    const UserFreq back = Read();
    ASSERT_EQ(back.Channels.size(), 2u);
    EXPECT_EQ(back.Channels[0].Identifier, "первый");
    EXPECT_EQ(back.Channels[0].Modulation, 'F');
    EXPECT_EQ(back.Channels[1].Identifier, "второй");
    EXPECT_EQ(back.Channels[1].Step, 250u);
}

TEST_F(BankFile, ChannelsAreThoseTheFileHolds) {
    const UserFreq announcedOnly = ReadLines({"Кол-во=1000000000"});
    EXPECT_EQ(announcedOnly.ChannelCount, 0u);
    EXPECT_EQ(announcedOnly.Channels.capacity(), 0u);
    EXPECT_EQ(ReadLines({"Кол-во=5", "F=1", "F=2"}).ChannelCount, 2u);
    EXPECT_EQ(ReadLines({"Кол-во=-1", "F=1", "F=2"}).ChannelCount, 2u);

    // More than the working bank holds: the stored bank keeps them all when written again.
    std::string bytes = StoredLines({"Кол-во=1500"});
    for (int i = 1; i <= 1500; ++i) bytes += "F=" + std::to_string(i) + "\r\nF_STEP=1\r\n";
    WriteBytes(path, bytes);
    UserFreq bank = Read();
    ASSERT_EQ(bank.ChannelCount, 1500u);
    EXPECT_EQ(bank.Channels.back().Frequency, 1500u);
    bank.FilePath = path;
    ASSERT_TRUE(bank.WriteFile());
    EXPECT_EQ(Read().Channels.size(), 1500u);
}

}  // namespace
