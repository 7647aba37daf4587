// The HF sets' state files, "ICIC_756.<port>" and "IC75.<port>": the settings and the
// channel records between the head and the level scale, in the order each model writes them.

#include <algorithm>
#include <string_view>

#include "receivers/icom/ic756/hf_panel.h"
#include "state/key_value.h"

namespace {

// Flag keys, written "=ДА" while set, in the order they are written.
struct FlagKey {
    const char* key;
    bool HfSettings::*flag;
};
// clang-format off
constexpr FlagKey kNarrowKeys[] = {
    {"Fnar", &HfSettings::Fnar}, {"Cnar", &HfSettings::Cnar}, {"Rnar", &HfSettings::Rnar},
    {"Anar", &HfSettings::Anar}, {"Awide", &HfSettings::Awide},
};
constexpr FlagKey kScanKeysBeforePause[] = {
    {"Задержка", &HfSettings::Delay},
    {"Пропадание", &HfSettings::DropOut},
    {"Запрет", &HfSettings::NoReadBack},
    {"VSC", &HfSettings::Vsc},
    {"Прио", &HfSettings::Priority},
};
constexpr FlagKey kScanKeysAfterJob[] = {
    {"Сканирование_Диапазон", &HfSettings::RangeScan},
    {"Сканирование_Банка", &HfSettings::BankScan},
    {"Сканирование_Ручное", &HfSettings::ManualScan},
    {"Авто", &HfSettings::Auto},
    {"Выбор_каналов", &HfSettings::SelectedChannels},
    {"Выбор_мод", &HfSettings::SelectedModes},
    {"АРУ", &HfSettings::Agc},
    {"ПИК", &HfSettings::Preamp},
    {"ШУМ", &HfSettings::NoiseBlanker},
};
// Levels 0..255; "Уровень_Звук" is only read.
struct LevelKey {
    const char* key;
    uint32_t HfSettings::*level;
};
constexpr LevelKey kLevelKeys[] = {
    {"Умолчание_Звук", &HfSettings::DefaultSoundLevel},
    {"Уровень_Порог", &HfSettings::SquelchLevel},
    {"Уровень_Пик", &HfSettings::NoiseReduction},
    {"Уровень_Центр", &HfSettings::PbtShift},
};
// clang-format on
constexpr const char* kDirectWriteKey = "Запись";
constexpr const char* kFilterChoiceKey = "МодуляцияФильтр";
constexpr const char* kAttenuatorOffKey = "Атт0";
// The one table of channels is bank 0 of the keys the panels with banks share.
constexpr const char* kPositionKey = "Позиция_Банк0";
constexpr const char* kCountKey = "Каналов_Банк0";

}  // namespace

// The attenuator option the panel shows: a depth of the model's, or 0 (off, or a depth the
// model does not have).
uint32_t HfPanel::AttenuatorOption() const {
    if (!fdx_->Attenuator) return 0;
    for (const HfDepthKey& key : hf_.attenuatorKeys)
        if (key.db != 0 && key.db == fdx_->AttenuatorDb) return key.db;
    return 0;
}

bool HfPanel::WriteStateFile() {
    StateFileWriter file;
    StateFileHead head = CurrentHead();
    file.Head(head, [this](StateFileWriter& f) {
        if (hf_.r75Keys) f.Number(kFilterChoiceKey, static_cast<uint32_t>(Settings.FilterChoice));
    });
    SavedDate = head.Date;
    SavedTime = head.Time;
    WriteModelKeys(file);
    file.Scale(Scale);
    if (hf_.r75Keys) {
        file.Flag(kAttenuatorOffKey, AttenuatorOption() == 0);
        file.Flag(kDirectWriteKey, Settings.DirectWrite);
    }
    return file.Save(StateFilePath());
}

void HfPanel::WriteModelKeys(StateFileWriter& file) {
    const uint32_t option = AttenuatorOption();
    for (const HfDepthKey& key : hf_.attenuatorKeys) file.Flag(key.key, option == key.db);
    for (const HfDepthKey& key : hf_.defaultAttenuatorKeys)
        file.Flag(key.key, Settings.DefaultAttenuatorDb == key.db);
    if (hf_.narrowKeys)
        for (const FlagKey& key : kNarrowKeys) file.Flag(key.key, Settings.*key.flag);
    for (const FlagKey& key : kScanKeysBeforePause) file.Flag(key.key, Settings.*key.flag);
    file.Number("Пауза", Settings.PauseMode);
    file.Text("Задание", Settings.JobName);
    for (const FlagKey& key : kScanKeysAfterJob) file.Flag(key.key, Settings.*key.flag);
    for (const LevelKey& key : kLevelKeys) file.Number(key.key, Settings.*key.level);
    if (!hf_.r75Keys) file.Flag(kDirectWriteKey, Settings.DirectWrite);
    file.Number(kPositionKey, CurrentChannel);
    file.Number(kCountKey, ChannelsInUse);
    WriteChannelKeys(file, Channels, hf_.channels, /*countLine=*/hf_.r75Keys);
}

bool HfPanel::ReadStateFile() {
    FDX& s = *fdx_;
    // A flag key stands in the file only while its flag is set, so every flag the file can
    // hold starts off: a setting switched off stays off.
    HfSettings read = Settings;
    for (const FlagKey& key : kNarrowKeys) read.*key.flag = false;
    for (const FlagKey& key : kScanKeysBeforePause) read.*key.flag = false;
    for (const FlagKey& key : kScanKeysAfterJob) read.*key.flag = false;
    read.DirectWrite = false;
    read.SecondAntenna = false;
    bool attenuator = s.Attenuator != 0;
    uint32_t attenuatorDb = s.AttenuatorDb;
    uint32_t current = CurrentChannel;
    uint32_t inUse = ChannelsInUse;
    std::array<MemoryChannel, kChannelCount> channels = Channels;
    ChannelKeyReader channelKeys{channels, hf_.channels, LowerLimit, UpperLimit};

    const auto modelKey = [&](std::string_view key, std::string_view value) {
        for (const FlagKey& k : kNarrowKeys)
            if (key == k.key) read.*k.flag = true;
        for (const FlagKey& k : kScanKeysBeforePause)
            if (key == k.key) read.*k.flag = true;
        for (const FlagKey& k : kScanKeysAfterJob)
            if (key == k.key) read.*k.flag = true;
        for (const LevelKey& k : kLevelKeys)
            if (key == k.key) read.*k.level = std::min<uint32_t>(ReadU32(value), 255);
        if (key == "Уровень_Звук") read.AfLevel = std::min<uint32_t>(ReadU32(value), 255);
        if (key == "Ант2") read.SecondAntenna = true;
        if (key == kDirectWriteKey) read.DirectWrite = true;
        if (key == kFilterChoiceKey)
            read.FilterChoice =
                static_cast<int32_t>(std::min<uint32_t>(ReadU32(value), kWidestFilter));
        for (const HfDepthKey& k : hf_.attenuatorKeys) {
            if (key != k.key) continue;
            attenuator = k.db != 0;
            if (attenuator) attenuatorDb = k.db;
        }
        if (key == kAttenuatorOffKey) attenuator = false;
        for (const HfDepthKey& k : hf_.defaultAttenuatorKeys)
            if (key == k.key) read.DefaultAttenuatorDb = k.db;
        if (key == "Пауза") read.PauseMode = ReadU32(value);
        if (key == "Задание") read.JobName = value;
        if (key == kPositionKey) current = ReadU32(value);
        if (key == kCountKey)
            inUse = static_cast<uint32_t>(
                std::clamp<int64_t>(ReadInteger(value), 1, static_cast<int64_t>(kChannelCount)));
        channelKeys.Take(key, value);
    };
    const auto take = [&] {
        Settings = read;
        s.Attenuator = attenuator ? 1 : 0;
        s.AttenuatorDb = attenuatorDb;
        ChannelsInUse = inUse;
        CurrentChannel = std::min(current, inUse - 1);
        Channels = channels;
    };
    if (!ReadStateFileWith(modelKey, nullptr, take)) return false;
    SetSliders();
    return true;
}
