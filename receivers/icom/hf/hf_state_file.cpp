// The HF sets' state files, "ICIC_756.<port>" and "IC75.<port>": the settings and the
// channel records between the head and the level scale, in the order each model writes them.

#include <algorithm>
#include <string_view>

#include "receivers/icom/civ_memory/civ_state_keys.h"
#include "receivers/icom/hf/hf_panel.h"
#include "state/key_value.h"

namespace {

// Keys of the settings besides the scan's, in the order they are written.
using Flag = FlagKeyOf<HfSettings>;
// clang-format off
constexpr Flag kNarrowKeys[] = {
    {"Fnar", &HfSettings::Fnar}, {"Cnar", &HfSettings::Cnar}, {"Rnar", &HfSettings::Rnar},
    {"Anar", &HfSettings::Anar}, {"Awide", &HfSettings::Awide},
};
constexpr auto kSwitchKeys =
    CivSwitchKeys(&HfSettings::Agc, &HfSettings::Preamp, &HfSettings::NoiseBlanker);
constexpr auto kLevelKeys =
    CivLevelKeys(&HfSettings::DefaultSoundLevel, &HfSettings::AfLevel, &HfSettings::SquelchLevel,
                 &HfSettings::NoiseReduction, &HfSettings::PbtShift);
constexpr const char* kDirectWriteKey = "Запись";
// Read but written by neither model ("Ант2"), or written where the model puts it ("Запись").
constexpr Flag kOtherFlagKeys[] = {
    {"Ант2", &HfSettings::SecondAntenna},
    {kDirectWriteKey, &HfSettings::DirectWrite},
};
// clang-format on
// What a file may hold, whatever the model writes.
constexpr std::span<const Flag> kFlagKeys[] = {kNarrowKeys, kSwitchKeys, kOtherFlagKeys};
constexpr const char* kFilterChoiceKey = "МодуляцияФильтр";
constexpr const char* kAttenuatorOffKey = "Атт0";
// The one table of channels is bank 0 of the keys the panels with banks share.
constexpr const char* kPositionKey = "Позиция_Банк0";
constexpr const char* kCountKey = "Каналов_Банк0";

}  // namespace

bool HfPanel::WriteStateFile() {
    StateFileWriter file;
    WriteHead(file, [this](StateFileWriter& f) {
        if (hf_.filterChoiceKey)
            f.Number(kFilterChoiceKey, static_cast<uint32_t>(Settings.FilterChoice));
    });
    WriteModelKeys(file);
    file.Scale(Scale);
    if (hf_.keysAfterScale) {
        file.Flag(kAttenuatorOffKey, AttenuatorOption() == 0);
        file.Flag(kDirectWriteKey, Settings.DirectWrite);
    }
    return file.Save(StateFilePath());
}

void HfPanel::WriteModelKeys(StateFileWriter& file) {
    WriteChoice(file, hf_.attenuatorKeys, AttenuatorOption());
    WriteChoice(file, hf_.defaultAttenuatorKeys, Settings.DefaultAttenuatorDb);
    if (hf_.narrowKeys) WriteFlags(file, Settings, kNarrowKeys);
    WriteScanKeys(file, Settings, /*priorityAfterJob=*/false);
    WriteFlags(file, Settings, kSwitchKeys);
    WriteCivLevels(file, Settings, kLevelKeys, /*soundLevel=*/false);
    if (!hf_.keysAfterScale) file.Flag(kDirectWriteKey, Settings.DirectWrite);
    file.Number(kPositionKey, CurrentChannel);
    file.Number(kCountKey, kChannelCount);
    WriteChannelKeys(file, Channels, hf_.channels, hf_.channelCountKey);
}

bool HfPanel::ReadStateFile() {
    FDX& s = *fdx_;
    // A flag key stands in the file only while its flag is set, so every flag the file can
    // hold starts off: a setting switched off stays off.
    HfSettings read = Settings;
    ClearScanFlags(read);
    for (const auto keys : kFlagKeys) ClearFlags(read, keys);
    bool attenuator = s.Attenuator != 0;
    uint32_t attenuatorDb = s.AttenuatorDb;
    uint32_t current = CurrentChannel;
    std::array<MemoryChannel, kChannelCount> channels = Channels;
    ChannelKeyReader channelKeys{channels, hf_.channels, LowerLimit, UpperLimit};

    const auto modelKey = [&](std::string_view key, std::string_view value) {
        TakeScanKey(key, value, read);
        for (const auto keys : kFlagKeys) TakeFlag(key, read, keys);
        TakeLevel(key, value, read, kLevelKeys);
        if (key == kFilterChoiceKey)
            read.FilterChoice =
                static_cast<int32_t>(std::min<uint32_t>(ReadNumberOrZero(value), kWidestFilter));
        if (const auto db = TakeChoice(key, hf_.attenuatorKeys)) {
            attenuator = *db != 0;
            if (attenuator) attenuatorDb = *db;
        }
        if (key == kAttenuatorOffKey) attenuator = false;
        if (const auto db = TakeChoice(key, hf_.defaultAttenuatorKeys))
            read.DefaultAttenuatorDb = *db;
        // The sets always have 101 channels: a count the file gives ("Каналов_Банк0") is not
        // taken.
        if (key == kPositionKey) current = ReadNumberOrZero(value);
        channelKeys.Take(key, value);
    };
    if (!ReadStateFileKeys(modelKey)) return false;
    SettleRegime(read, /*manualRegime=*/hf_.manualScan != nullptr);
    Settings = read;
    s.Attenuator = attenuator ? 1 : 0;
    s.AttenuatorDb = attenuatorDb;
    CurrentChannel = std::min(current, kChannelCount - 1);
    Channels = channels;
    SetSliders();
    return true;
}
