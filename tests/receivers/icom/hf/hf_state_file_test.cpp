// The HF panels' state files: written at the close as each model orders its keys (golden
// files), read back, and written again to the same bytes; records beyond the table's room are
// dropped and the rest of the file is still read.

#include <gtest/gtest.h>

#include "tests/receivers/icom/hf/hf_fixture.h"
#include "tests/receivers/receiver_files.h"

namespace {

// Settings and channels off their defaults, the same for both models.
template <class Panel>
void SetAside(Panel& panel, FDX& state) {
    state.OptRecvSave = 1;
    state.Frequency = 96'500;
    state.Step = 50;
    state.Modulation = 'A';
    state.Attenuator = 1;
    state.AttenuatorDb = 20;
    HfSettings& s = panel.Settings;
    s.FilterChoice = 1;
    s.Cnar = s.Awide = true;
    s.Delay = s.Priority = true;
    s.Action = ScanStopAction::StartJob;
    s.JobName = "Обход";
    s.RangeScan = false;
    s.BankScan = s.SelectedChannels = true;
    s.Agc = s.NoiseBlanker = true;
    s.DefaultSoundLevel = 160;
    s.SquelchLevel = 32;
    s.NoiseReduction = 240;
    s.PbtShift = 128;
    s.DirectWrite = true;
    panel.CurrentChannel = 3;
    MemoryChannel& first = panel.Channels[0];
    first.Frequency = 142'000;
    first.Step = 10;
    first.Modulation = 'U';
    first.Label = "ABC";
    first.Select = first.Skip = true;
    MemoryChannel& edge = panel.Channels[HfPanel::kUpperEdge];
    edge.Frequency = 270'000;
    edge.Modulation = 'F';
    edge.Filter = 1;
    edge.Attenuator = true;
    edge.AttenuatorDb = 20;
    panel.Scale.SetCell(965, 180);
    panel.Scale.SetCell(966, 180);
    panel.ViewPosition = 90'000;
}

// Written, compared with the golden file, read back over the defaults (the model's attenuator
// depth among them), written again.
template <class Panel>
void ExpectRoundTrip(Panel& panel, const std::string& file, uint32_t defaultDepth) {
    const StampedAt7March2001 stamp;
    ASSERT_TRUE(panel.SaveStateFile());
    const std::string written = ReadBytes(file);
    EXPECT_EQ(written, ReceiverGolden("icom/hf", std::filesystem::path(file).filename()));
    const HfSettings settings = panel.Settings;
    const auto channels = panel.Channels;
    panel.Settings = HfSettings{};
    panel.Settings.DefaultAttenuatorDb = defaultDepth;
    for (MemoryChannel& channel : panel.Channels) channel = MemoryChannel{};
    panel.Scale.Clear();
    ASSERT_TRUE(panel.ReadStateFile());
    EXPECT_EQ(panel.Settings, settings);
    EXPECT_EQ(panel.CurrentChannel, 3u);
    EXPECT_EQ(panel.Scale.At(96'500), 180);
    ASSERT_TRUE(panel.SaveStateFile());
    EXPECT_EQ(ReadBytes(file), written);
    EXPECT_EQ(panel.Channels, channels);
}

TEST_F(Ic756OnAir, TheStateFileKeepsEverySettingInTheModelsOrder) {
    SetAside(panel, state);
    state.AttenuatorDb = 12;
    panel.Settings.DefaultAttenuatorDb = 18;
    panel.Channels[HfPanel::kUpperEdge].AttenuatorDb = 18;
    panel.Settings.FilterChoice = 0;  // the IC-756PRO does not keep it
    ExpectRoundTrip(panel, folder.Dir() + "ICIC_756.001", 6);
}

TEST_F(Ic75OnAir, TheStateFileKeepsEverySettingInTheModelsOrder) {
    SetAside(panel, state);
    // What the IC-R75 does not keep.
    panel.Settings.Cnar = panel.Settings.Awide = false;
    panel.Channels[0].Skip = false;
    panel.Settings.DefaultAttenuatorDb = 20;
    ExpectRoundTrip(panel, folder.Dir() + "IC75.001", 20);
}

TEST_F(Ic75OnAir, RecordsBeyondTheTableAreDroppedAndTheScaleStillRead) {
    std::vector<std::string_view> lines = {"Частот_Банков=120"};
    std::vector<std::string> records;
    for (int i = 0; i < 120; ++i) records.push_back("F=" + std::to_string(10'000 + i));
    for (const std::string& record : records) lines.push_back(record);
    lines.push_back("F_ID=LAST");
    lines.push_back("Измерения=6001");
    lines.push_back("FL=7");
    lines.push_back("FC=6000");
    std::string bytes;
    for (const auto line : lines) bytes += Cp1251Lines({line});
    WriteBytes(folder.Dir() + "IC75.001", bytes);
    ASSERT_TRUE(panel.ReadStateFile());
    EXPECT_EQ(panel.Channels[100].Frequency, 10'100u);
    EXPECT_EQ(panel.Channels[100].Label, "");
    EXPECT_EQ(panel.Scale.At(500'000), 7);
}

// A record count that cannot be one reads the records the file holds, rather than none and
// all 101 written empty at the close; a step beyond its field is no step, a label goes to the
// set's eight characters. The channels go to the set as read, and the close writes them so
// that the next start reads the same.
TEST_F(Ic75OnAir, ACountThatCannotBeOneReadsTheRecordsTheFileHolds) {
    StampedAt7March2001 clock;
    const std::string path = folder.Dir() + "IC75.001";
    state.OptRecvSave = 1;
    panel.Destroy();
    const std::string label(100, 'X');
    WriteBytes(path, Cp1251Lines({"Частот_Банков=-3", "F=142000", "F_STEP=99999999999",
                                  "F_ID=" + label, "F_MOD=U", "F=96500", "F_MOD=A"}));
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.Channels[0].Frequency, 142'000u);
    EXPECT_EQ(panel.Channels[0].Step, 0u);
    EXPECT_EQ(panel.Channels[0].Label, "XXXXXXXX");
    EXPECT_EQ(panel.Channels[1].Frequency, 96'500u);

    Click(panel.cb_1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(emulator.Channel(0, 1).frequencyHz, 14'200'000u);
    EXPECT_EQ(emulator.Channel(0, 1).name, "XXXXXXXX");
    EXPECT_EQ(emulator.Channel(0, 2).frequencyHz, 9'650'000u);

    panel.Destroy();
    const std::string written = ReadBytes(path);
    EXPECT_NE(Cp1251ToUtf8(written).find("Частот_Банков=101\r\nF=142000\r\nF_STEP=0\r\n"
                                         "F_ID=XXXXXXXX\r\nF_MOD=U\r\nF=96500\r\nF_STEP=0\r\n"
                                         "F_MOD=A\r\nF=0\r\n"),
              std::string::npos);
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.Destroy();
    EXPECT_EQ(ReadBytes(path), written);
}

// The same on the IC-756PRO, whose names have ten characters and whose file has no count.
TEST_F(Ic756OnAir, AHandEditedStateFileSendsTheSetWhatItHolds) {
    StampedAt7March2001 clock;
    const std::string path = folder.Dir() + "ICIC_756.001";
    state.OptRecvSave = 1;
    panel.Destroy();
    WriteBytes(path, Cp1251Lines({"Частот_Банков=-3", "F=142000", "F_STEP=-5",
                                  "F_ID=" + std::string(100, 'X'), "F_MOD=U"}));
    ASSERT_TRUE(panel.Create(&main, &state));
    EXPECT_EQ(panel.Channels[0].Step, 0u);
    EXPECT_EQ(panel.Channels[0].Label, "XXXXXXXXXX");

    Click(panel.cb_1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(emulator.Channel(0, 1).frequencyHz, 14'200'000u);
    EXPECT_EQ(emulator.Channel(0, 1).name, "XXXXXXXXXX");

    panel.Destroy();
    const std::string written = ReadBytes(path);
    EXPECT_NE(Cp1251ToUtf8(written).find("\r\nF=142000\r\nF_STEP=0\r\nF_ID=XXXXXXXXXX\r\n"
                                         "F_MOD=U\r\nF=0\r\n"),
              std::string::npos);
    ASSERT_TRUE(panel.Create(&main, &state));
    panel.Destroy();
    EXPECT_EQ(ReadBytes(path), written);
}

// A panel of the model made as the program starts, its state file read from `folder`.
template <class Panel>
class Started {
  public:
    Started(ui::Form& main, const std::string& folder) {
        state.Owner = &main;
        state.ProgramDir = folder;
        state.PortIndex = 1;
        state.OptRecvSave = 1;
        created = panel.Create(&main, &state);
    }
    FDX state;
    Panel panel;
    bool created = false;
};

// The sets always have 101 channels, whatever count a file gives; the file also holds the
// sound level and the second antenna, which neither set writes.
TEST_F(Ic75OnAir, AFileGivesNoChannelCountButItsSoundLevelAndAntenna) {
    WriteBytes(folder.Dir() + "IC75.001", Cp1251Lines({"Позиция_Банк0=100", "Каналов_Банк0=-3",
                                                       "Уровень_Звук=96", "Ант2=ДА"}));
    Started<IC75> started(main, folder.Dir());
    ASSERT_TRUE(started.created);
    IC75& read = started.panel;
    EXPECT_EQ(read.lv_1->RowCount(), 101);
    EXPECT_EQ(read.CurrentChannel, 100u);
    EXPECT_EQ(read.Settings.AfLevel, 96u);
    EXPECT_EQ(read.sd->Position(), 6);
    EXPECT_TRUE(read.Settings.SecondAntenna);
    EXPECT_TRUE(read.ant_2->IsChecked());
    ASSERT_TRUE(read.SaveStateFile());
    const std::string written = ReadBytes(folder.Dir() + "IC75.001");
    EXPECT_NE(written.find(Cp1251Lines({"Каналов_Банк0=101"})), std::string::npos);
    EXPECT_EQ(written.find(Utf8ToCp1251("Ант2")), std::string::npos);

    WriteBytes(folder.Dir() + "IC75.001", Cp1251Lines({"Каналов_Банк0=5"}));
    ASSERT_TRUE(panel.ReadStateFile());
    EXPECT_EQ(RunJob(1028, 101).ReturnCode, 0u);
    EXPECT_EQ(panel.CurrentChannel, 100u);
}

// A file that names no regime the set has: the range regime is what the panel shows, holds and
// starts.
TEST_F(Ic75OnAir, AFileWithoutARegimeGivesTheRangeRegime) {
    for (const char* line : {"Выбор_каналов=ДА", "Сканирование_Ручное=ДА"}) {
        WriteBytes(folder.Dir() + "IC75.001", Cp1251Lines({line}));
        Started<IC75> started(main, folder.Dir());
        ASSERT_TRUE(started.created);
        const HfSettings& read = started.panel.Settings;
        EXPECT_TRUE(read.RangeScan) << line;
        EXPECT_FALSE(read.BankScan || read.ManualScan) << line;
        EXPECT_TRUE(started.panel.scandiap->IsChecked()) << line;
    }

    emulators::CivChannel edge;
    edge.frequencyHz = 9'600'000;
    emulator.SetChannel(0, 100, edge);
    edge.frequencyHz = 9'700'000;
    emulator.SetChannel(0, 101, edge);
    ASSERT_TRUE(panel.ReadStateFile());
    emulator.ClearReceivedFrames();
    ASSERT_TRUE(panel.StartReceiverScan());
    EXPECT_EQ(Payloads(), (std::vector<std::string>{"0E00", "0ED3", "0E02"}));
}

TEST_F(Ic756OnAir, AFileWithoutARegimeGivesTheRangeRegimeAndKeepsTheDeltaF) {
    WriteBytes(folder.Dir() + "ICIC_756.001", Cp1251Lines({"Выбор_каналов=ДА"}));
    ASSERT_TRUE(panel.ReadStateFile());
    EXPECT_TRUE(panel.Settings.RangeScan);
    WriteBytes(folder.Dir() + "ICIC_756.001", Cp1251Lines({"Сканирование_Ручное=ДА"}));
    ASSERT_TRUE(panel.ReadStateFile());
    EXPECT_TRUE(panel.Settings.ManualScan);
    EXPECT_FALSE(panel.Settings.RangeScan);
}

}  // namespace
