// The IC-R8500 panel with a port that is not open: the test puts the receiver's bytes into
// the receive ring itself, and checks the state file.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "receivers/state_file.h"
#include "state/cp1251.h"
#include "tests/receivers/icom/ic8500/ic8500_fixture.h"
#include "tests/receivers/receiver_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

class Ic8500Offline : public ::testing::Test {
  protected:
    void SetUp() override {
        comm.Discarding = false;
        state.Owner = &main;
        state.Port = &comm;
        state.ProgramDir = folder.Dir();
        state.PortIndex = 1;
    }
    void TearDown() override { panel.Destroy(); }

    void Receive(const Bytes& bytes) { comm.StoreReceived(bytes.data(), bytes.size()); }
    std::string Path() const { return folder.File("IC8500.001"); }

    ProgramFolder folder;
    MainStandIn main;
    FDX state;
    Comm comm;
    IC8500 panel;
};

TEST_F(Ic8500Offline, FramesBehindAReportedFrequencyInTheSamePassAreKept) {
    ASSERT_TRUE(panel.Create(&main, &state));
    Receive({0xFE, 0xFE, 0x00, 0x4A, 0x00, 0x00, 0x00, 0x00, 0x45, 0x01, 0xFD,    // 145.0 MHz
             0xFE, 0xFE, 0x00, 0x4A, 0x01, 0x02, 0x02, 0xFD,                      // AM
             0xFE, 0xFE, 0x00, 0x4A, 0x00, 0x00, 0x50, 0x12, 0x46, 0x01, 0xFD});  // 146.125
    panel.Poll(false);
    ui::ServePending();
    EXPECT_EQ(state.Frequency, 1'461'250u);
    EXPECT_EQ(state.Modulation, 'A');
    EXPECT_EQ(state.Filter, 0);
    EXPECT_EQ(panel.width->Text(), "5.5");
    // One report per pass, however many frames moved the frequency.
    EXPECT_EQ(main.Count(PostFrequencyChanged), 1);
    EXPECT_EQ(main.Count(PostModulationChanged), 1);
    EXPECT_EQ(comm.ReadIndex, comm.WriteIndex);
}

TEST_F(Ic8500Offline, AModeWithoutItsFilterByteHasTheNormalFilterAndFrequenciesAreHeldToTheLimits) {
    ASSERT_TRUE(panel.Create(&main, &state));
    Receive({0xFE, 0xFE, 0x00, 0x4A, 0x01, 0x05, 0xFD,                            // FM
             0xFE, 0xFE, 0x00, 0x4A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x30, 0xFD});  // 3 GHz
    panel.Poll(false);
    EXPECT_EQ(state.Modulation, 'F');
    EXPECT_EQ(state.Filter, 0);
    EXPECT_EQ(state.Frequency, IC8500::kUpperLimit);
}

TEST_F(Ic8500Offline, TheBankArrowsWrapAroundTheTwentyFiveBanks) {
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.updwbnum->Press(-1);
    EXPECT_EQ(panel.CurrentBank, 24u);
    EXPECT_EQ(panel.bnum->Text(), "24");
    EXPECT_EQ(panel.updwbnum->Position(), 24);
    panel.updwbnum->Press(+1);
    panel.updwbnum->Press(+1);
    EXPECT_EQ(panel.CurrentBank, 1u);
    EXPECT_EQ(panel.bname->SelectedIndex(), 1);
}

TEST_F(Ic8500Offline, TheIdentityAnswerSetsTheAddressItCameWith) {
    ASSERT_TRUE(panel.Create(&main, &state));
    ASSERT_TRUE(panel.Link.Send("1900", civ::kIdentityCommand));
    Receive({0xFE, 0xFE, 0xE0, 0x4A, 0x19, 0x00, 0x4A, 0xFD});
    EXPECT_TRUE(panel.Poll(false));
    EXPECT_EQ(panel.Link.ReceiverAddress, 0x4A);
    EXPECT_EQ(panel.Link.AddressText, "4A");
}

TEST_F(Ic8500Offline, CreatesWithItsLimitsCalibrationAndAStateOfItsOwnWhenGivenNone) {
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.LowerLimit, 1000u);
    EXPECT_EQ(panel.UpperLimit, 20'000'000u);
    EXPECT_EQ(panel.Scale.CellCount(), 200'001u);
    EXPECT_EQ(panel.Scale.FillWindow, 100);
    EXPECT_EQ(state.Calibration[16], 600);
    EXPECT_EQ(state.Calibration[9], 108);
    EXPECT_EQ(state.BuildingControls, 1);
    EXPECT_EQ(panel.PendingCommand, ReceiverPanel::NoExchange);
    EXPECT_EQ(panel.bname->Count(), 25);
    EXPECT_EQ(panel.bname->StringAt(23), "PROG");
    EXPECT_FALSE(panel.Create(&main, &state));  // once

    IC8500 own;
    ASSERT_TRUE(own.Create(&main, nullptr));
    ASSERT_NE(own.State(), nullptr);
    EXPECT_NE(own.State(), &state);
}

// Settings of every kind, as the golden file holds them.
void GiveGoldenSettings(IC8500& panel, FDX& state) {
    state.Frequency = 1'450'000;
    state.Step = 125;
    state.Modulation = 'F';
    state.Attenuator = 1;
    state.AttenuatorDb = 20;
    panel.ViewStep = 1000;
    panel.ViewPosition = 1'400'000;
    panel.CurrentBank = 3;
    Ic8500Settings& s = panel.Settings;
    s.DefaultAttenuatorDb = 30;
    s.Fnar = s.Cnar = true;
    s.Scan.DropOut = true;
    s.Scan.Action = ScanStopAction::StartJob;
    s.Scan.JobName = "Ночь";
    s.Agc = true;
    s.AudioLevel = 64;
    s.SquelchThreshold = 32;
    s.PeakSetting = 5;
    s.CentreSetting = 7;
    s.DirectMode = s.AllMemory = true;
    panel.Scale.SetCell(14'500, 90);
    panel.Scale.SetCell(14'501, 120);
    panel.Scale.SetCell(14'502, 120);
    panel.Scale.SetCell(200'000, 33);

    panel.BankNames[0] = "AIR";
    panel.BankNames[1] = "Пост";
    panel.BankChannels[3] = 12;
    panel.BankPositions[3] = 5;
    MemoryChannel& air = panel.Channel(0, 0);
    air.Frequency = 1'450'000;
    air.Modulation = 'F';
    air.Filter = 1;
    air.Step = 125;
    air.Attenuator = true;
    air.AttenuatorDb = 20;
    air.Select = true;
    air.Label = "ABC";
    air.Level = 99;  // measured, not kept
    MemoryChannel& skipped = panel.Channel(3, 5);
    skipped.Frequency = 4'339'200;
    skipped.Modulation = 'A';
    skipped.Step = 250;
    skipped.Skip = true;
    MemoryChannel& prio = panel.Channel(IC8500::kPrioBank, 0);
    prio.Frequency = 1'215'000;
    prio.Step = 10;
    prio.Label = "Вышка";
    // Records beyond the one of PRIO have no place in the file.
    panel.Channel(IC8500::kPrioBank, 1).Frequency = 1'000'000;
}

TEST_F(Ic8500Offline, StateFileHoldsItsKeysInOrder) {
    StampedAt7March2001 clock;
    ASSERT_TRUE(panel.Create(&main, &state));
    GiveGoldenSettings(panel, state);
    ASSERT_TRUE(panel.WriteStateFile());
    EXPECT_EQ(ReadBytes(Path()), ReceiverGolden("icom/ic8500", "IC8500.001"));
    EXPECT_EQ(panel.SavedDate, "07/03/2001");
    EXPECT_EQ(panel.SavedTime, "09:05");
}

TEST_F(Ic8500Offline, StateFileIsWrittenAtTheEndAndReadAtTheStartWholeAndBig) {
    state.OptRecvSave = 1;
    ASSERT_TRUE(panel.Create(&main, &state));
    GiveGoldenSettings(panel, state);
    // Switched off by the operator: must stay off, though they start on.
    panel.Settings.Scan.Delay = false;
    panel.Settings.Scan.RangeScan = false;
    panel.Settings.Scan.Auto = false;
    panel.Settings.Scan.JobName = "Ночь \"КВ\"";
    for (int64_t c = 0; c < 200'001; ++c)
        panel.Scale.SetCell(c, static_cast<uint8_t>((c * 7919) % 256));
    const Ic8500Settings settings = panel.Settings;
    const std::vector<uint8_t> cells = panel.Scale.Cells();
    // The file keeps no levels, and no PRIO record but the first.
    std::vector<MemoryChannel> channels = panel.Channels;
    for (MemoryChannel& channel : channels) channel.Level = 0;
    channels[2401].Frequency = 0;
    const auto banks = std::tuple(panel.BankChannels, panel.BankPositions, panel.BankNames);
    panel.Destroy();
    ASSERT_GT(ReadBytes(Path()).size(), kTextFileLimit);

    FDX fresh;
    fresh.Owner = &main;
    fresh.ProgramDir = folder.Dir();
    fresh.PortIndex = 1;
    fresh.OptRecvSave = 1;
    IC8500 again;
    ASSERT_TRUE(again.Create(&main, &fresh));
    EXPECT_EQ(again.Settings, settings);
    EXPECT_TRUE(again.Channels == channels);
    EXPECT_EQ(std::tuple(again.BankChannels, again.BankPositions, again.BankNames), banks);
    EXPECT_EQ(again.Scale.Cells(), cells);
    EXPECT_EQ(fresh.Frequency, 1'450'000u);
    EXPECT_EQ(fresh.Step, 125u);
    EXPECT_EQ(fresh.Modulation, 'F');
    EXPECT_EQ(fresh.Attenuator, 1);
    EXPECT_EQ(fresh.AttenuatorDb, 20u);
    EXPECT_EQ(again.ViewStep, 1000u);
    EXPECT_EQ(again.CurrentBank, 3u);
    EXPECT_EQ(again.step->SelectedIndex(), 3);
    EXPECT_EQ(again.porog->Position(), 2);
    EXPECT_EQ(again.zvuk->Position(), 4);
    EXPECT_TRUE(again.catt20->IsChecked());
    EXPECT_TRUE(again.faru->IsChecked());
    again.Destroy();
}

TEST_F(Ic8500Offline, ValuesFromTheFileAreHeldToWhatThePanelCanUse) {
    WriteBytes(Path(), Cp1251Lines({"Ft=999999999", "Шаг_просмотра=7",
                                    "Позиция_просмотра=4000000000", "Банк=99", "Уровень_Звук=999",
                                    "Атт10=ДА", "Атт0=ДА", "Fnar=", "Умолч_Атт10=ДА",
                                    "Умолч_Атт20=ДА", "Измерения=200001", "FL=300", "FC=2"}));
    state.OptRecvSave = 1;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(state.Frequency, IC8500::kUpperLimit);
    EXPECT_EQ(panel.ViewStep, 100u);
    EXPECT_LE(panel.ViewPosition, IC8500::kUpperLimit);
    EXPECT_EQ(panel.CurrentBank, 0u);
    EXPECT_EQ(panel.Settings.AudioLevel, 255u);
    EXPECT_EQ(state.Attenuator, 0);  // the last attenuator key read
    EXPECT_FALSE(panel.Settings.Fnar);
    EXPECT_EQ(panel.Settings.DefaultAttenuatorDb, 20u);  // the last one read
    EXPECT_EQ(panel.Scale.Cell(2), 255);
    EXPECT_EQ(panel.Scale.Cell(3), 0);
    panel.Destroy();

    WriteBytes(Path(), Cp1251Lines({"Ft=5"}));
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(state.Frequency, IC8500::kLowerLimit);
}

// The bank part of a state file brought from another station: the positions, counts and names of
// the 25 banks, then the 2401 channel records, some with every field, the first labelled
// `beacon`.
std::string BankPart(const std::string& beacon) {
    std::vector<std::string> lines;
    for (int bank = 0; bank < 25; ++bank) {
        const std::string n = std::to_string(bank);
        lines.push_back("Позиция_Банк" + n + "=" + std::to_string(bank < 20 ? bank % 3 : 0));
        lines.push_back("Каналов_Банк" + n + "=" + std::to_string(bank < 20 ? 40 : 1));
        if (bank == 4)
            lines.push_back("Имя_Банк4=");  // a bank without a name
        else if (bank < 20)
            lines.push_back("Имя_Банк" + n + "=Пост" + n);
    }
    lines.push_back("Частот_Банков=2401");
    for (int record = 0; record < 2401; ++record) {
        if (record % 97 != 0) {
            lines.push_back("F=0");
            continue;
        }
        lines.push_back("F=" + std::to_string(1'000'000 + record * 125));
        for (const char* field : {"F_ATT=+", "F_QATT=20", "F_STEP=125", "F_SEL=+", "F_SKIP=+"})
            lines.push_back(field);
        lines.push_back(record == 0 ? "F_ID=" + beacon : "F_ID=CH" + std::to_string(record));
        lines.push_back("F_MOD=A");
        lines.push_back("F_QMOD=1");
    }
    std::string bytes;
    for (const std::string& line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
    return bytes;
}

TEST_F(Ic8500Offline, TheBankPartOfTheStateFileSurvivesAStartAndAClose) {
    StampedAt7March2001 clock;
    // The beacon's label is longer than the set's eight characters: it is read as the set
    // holds it.
    const std::string bank = BankPart("Маяк Сев");
    WriteBytes(Path(), Cp1251Lines({"Ft=1450000", "Банк=2", "Память=ДА"}) + BankPart("Маяк Север") +
                           Cp1251Lines({"Измерения=200001", "FL=7", "FC=200000"}));
    state.OptRecvSave = 1;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.BankNames[3], "Пост3");
    EXPECT_EQ(panel.BankPositions[5], 2u);
    EXPECT_EQ(panel.BankChannels[20], 1u);
    const MemoryChannel& beacon = panel.Channel(0, 0);
    EXPECT_EQ(beacon.Frequency, 1'000'000u);
    EXPECT_EQ(beacon.Label, "Маяк Сев");
    EXPECT_TRUE(beacon.Attenuator && beacon.Select && beacon.Skip);
    EXPECT_EQ(beacon.AttenuatorDb, 20u);
    EXPECT_EQ(beacon.Modulation, 'A');
    EXPECT_EQ(beacon.Filter, 1);
    EXPECT_EQ(panel.Channel(IC8500::kProgBank, 28).Frequency, 1'000'000u + 2328u * 125u);
    panel.Destroy();
    // Byte for byte, after the panel's own keys and before the level scale.
    const std::string written = ReadBytes(Path());
    EXPECT_NE(written.find(Cp1251Lines({"Память=ДА"}) + bank + Utf8ToCp1251("Измерения=200001")),
              std::string::npos);

    // And again after a second start: nothing of it is lost or doubled.
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.Destroy();
    EXPECT_EQ(ReadBytes(Path()), written);
}

// Counts and positions from a file index the panel's records: they are held to what a bank
// has room for.
TEST_F(Ic8500Offline, BankCountsAndPositionsFromTheFileAreHeldToTheBanksRoom) {
    WriteBytes(Path(), Cp1251Lines({"Каналов_Банк24=5000", "Позиция_Банк24=4000",
                                    "Каналов_Банк3=-1", "Позиция_Банк3=7", "Каналов_Банк2=10",
                                    "Позиция_Банк2=10", "Позиция_Банк25=1", "Каналов_Банк99=1",
                                    "Частот_Банков=99999", "F=1000000", "F_MOD=Я", "F_QMOD=9"}));
    state.OptRecvSave = 1;
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.BankChannels[24], 100u);
    EXPECT_EQ(panel.BankPositions[24], 99u);
    EXPECT_EQ(panel.BankChannels[3], 0u);
    EXPECT_EQ(panel.BankPositions[3], 0u);
    EXPECT_EQ(panel.BankPositions[2], 9u);
    EXPECT_EQ(panel.Channel(0, 0).Modulation, 'W');  // a letter the program does not have
    EXPECT_EQ(panel.Channel(0, 0).Filter, 2);
    // The last channel of PRIO is the panel's last record.
    EXPECT_EQ(&panel.Channel(24, panel.BankPositions[24]), &panel.Channels.back());
    panel.Destroy();

    // Only 2401 records are read, however many the file announces.
    std::string big = Cp1251Lines({"Частот_Банков=99999"});
    for (int record = 0; record < 2500; ++record) big += Cp1251Lines({"F=1000000"});
    WriteBytes(Path(), big);
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.Channel(24, 0).Frequency, 1'000'000u);
    EXPECT_EQ(panel.Channel(24, 1).Frequency, 0u);
}

TEST_F(Ic8500Offline, WithoutTheOptionNoStateFileIsReadOrWritten) {
    WriteBytes(Path(), Cp1251Lines({"Ft=1450000", "Fnar=ДА"}));
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_FALSE(panel.Settings.Fnar);
    panel.Settings.Cnar = true;
    panel.Destroy();
    EXPECT_EQ(Cp1251ToUtf8(ReadBytes(Path())), "Ft=1450000\r\nFnar=ДА\r\n");
}

}  // namespace
