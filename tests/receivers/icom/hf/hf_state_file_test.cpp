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
    s.PauseMode = 2;
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

}  // namespace
