// The IC-R8500's part of its state file "IC8500.<port>": the settings and the bank part
// (the banks and their channel records) between the head and the level scale.

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "receivers/icom/ic8500/ic8500.h"
#include "state/key_value.h"

namespace {

// Flag keys of the state file, in the order they are written.
struct FlagKey {
    const char* key;
    bool Ic8500Settings::*flag;
};
// clang-format off
constexpr FlagKey kFilterKeys[] = {
    {"Fnar", &Ic8500Settings::Fnar},
    {"Anar", &Ic8500Settings::Anar},
    {"Awide", &Ic8500Settings::Awide},
    {"Cnar", &Ic8500Settings::Cnar},
};
struct ScanFlagKey {
    const char* key;
    bool Ic8500ScanSettings::*flag;
};
constexpr ScanFlagKey kScanKeysBeforePause[] = {
    {"Задержка", &Ic8500ScanSettings::Delay},
    {"Пропадание", &Ic8500ScanSettings::DropOut},
    {"Запрет", &Ic8500ScanSettings::NoReadBack},
    {"VSC", &Ic8500ScanSettings::Vsc},
};
constexpr ScanFlagKey kScanKeysAfterJob[] = {
    {"Прио", &Ic8500ScanSettings::Priority},
    {"Сканирование_Диапазон", &Ic8500ScanSettings::RangeScan},
    {"Сканирование_Банка", &Ic8500ScanSettings::BankScan},
    {"Сканирование_Ручное", &Ic8500ScanSettings::ManualScan},
    {"Авто", &Ic8500ScanSettings::Auto},
    {"Выбор_каналов", &Ic8500ScanSettings::SelectedChannels},
    {"Выбор_мод", &Ic8500ScanSettings::SelectedModes},
};
constexpr FlagKey kSwitchKeys[] = {
    {"АРУ", &Ic8500Settings::Agc},
    {"ПИК", &Ic8500Settings::PeakFilter},
    {"ШУМ", &Ic8500Settings::NoiseBlanker},
};
struct LevelKey {
    const char* key;
    uint32_t Ic8500Settings::*level;
};
constexpr LevelKey kLevelKeys[] = {
    {"Умолчание_Звук", &Ic8500Settings::DefaultAudioLevel},
    {"Уровень_Звук", &Ic8500Settings::AudioLevel},
    {"Уровень_Порог", &Ic8500Settings::SquelchThreshold},
    {"Уровень_Пик", &Ic8500Settings::PeakSetting},
    {"Уровень_Центр", &Ic8500Settings::CentreSetting},
};
constexpr FlagKey kBankFlagKeys[] = {
    {"Запись", &Ic8500Settings::DirectMode},
    {"Память", &Ic8500Settings::AllMemory},
};
struct DepthKey {
    const char* key;
    uint32_t db;
};
constexpr DepthKey kAttenuatorKeys[] = {{"Атт0", 0}, {"Атт10", 10}, {"Атт20", 20}, {"Атт30", 30}};
constexpr DepthKey kDefaultDepthKeys[] = {{"Умолч_Атт10", 10}, {"Умолч_Атт20", 20}, {"Умолч_Атт30", 30}};
// clang-format on

// The bank part: each bank's selected position, channel count and (banks 0..19) name, then
// the channel records of banks 0..23 in full and the one record of PRIO.
constexpr std::string_view kPositionKey = "Позиция_Банк";
constexpr std::string_view kCountKey = "Каналов_Банк";
constexpr std::string_view kNameKey = "Имя_Банк";
constexpr uint32_t kStoredRecords = IC8500::kPrioBank * IC8500::kBankSize + 1;

// The bank of a key "<stem><bank>"; nothing for another key or a bank the panel lacks.
std::optional<uint32_t> BankOfKey(std::string_view key, std::string_view stem) {
    if (!key.starts_with(stem) || key.size() == stem.size()) return std::nullopt;
    const std::string_view number = key.substr(stem.size());
    if (number.size() > 2 || number.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const auto bank = static_cast<uint32_t>(ReadInteger(number));
    return bank < static_cast<uint32_t>(IC8500::kBankCount) ? std::optional(bank) : std::nullopt;
}

}  // namespace

void IC8500::WriteModelKeys(StateFileWriter& file) {
    const FDX& s = *fdx_;
    file.Number("Банк", CurrentBank);
    const uint32_t option = AttenuatorOption(s);
    for (const DepthKey& key : kAttenuatorKeys) file.Flag(key.key, option == key.db);
    const uint32_t depth = Settings.DefaultAttenuatorDb == 20   ? 20
                           : Settings.DefaultAttenuatorDb == 30 ? 30
                                                                : 10;
    for (const DepthKey& key : kDefaultDepthKeys) file.Flag(key.key, depth == key.db);
    for (const FlagKey& key : kFilterKeys) file.Flag(key.key, Settings.*key.flag);
    for (const ScanFlagKey& key : kScanKeysBeforePause) file.Flag(key.key, Settings.Scan.*key.flag);
    file.Number("Пауза", Settings.Scan.PauseMode);
    file.Text("Задание", Settings.Scan.JobName);
    for (const ScanFlagKey& key : kScanKeysAfterJob) file.Flag(key.key, Settings.Scan.*key.flag);
    for (const FlagKey& key : kSwitchKeys) file.Flag(key.key, Settings.*key.flag);
    for (const LevelKey& key : kLevelKeys) file.Number(key.key, Settings.*key.level);
    for (const FlagKey& key : kBankFlagKeys) file.Flag(key.key, Settings.*key.flag);

    for (uint32_t bank = 0; bank <= kLastBank; ++bank) {
        const std::string number = std::to_string(bank);
        file.Number(std::string(kPositionKey) + number, BankPositions[bank]);
        file.Number(std::string(kCountKey) + number, BankChannels[bank]);
        if (bank < kFirstFixedBank) file.Text(std::string(kNameKey) + number, BankNames[bank]);
    }
    WriteChannelKeys(file, std::span(Channels).first(kStoredRecords), kChannelLayout);
}

bool IC8500::ReadStateFile() {
    FDX& s = *fdx_;

    // A flag key stands in the file only while its flag is set, so every flag the file can
    // hold starts off: a setting switched off stays off.
    Ic8500Settings read = Settings;
    for (const FlagKey& key : kFilterKeys) read.*key.flag = false;
    for (const ScanFlagKey& key : kScanKeysBeforePause) read.Scan.*key.flag = false;
    for (const ScanFlagKey& key : kScanKeysAfterJob) read.Scan.*key.flag = false;
    for (const FlagKey& key : kSwitchKeys) read.*key.flag = false;
    for (const FlagKey& key : kBankFlagKeys) read.*key.flag = false;
    uint32_t bank = CurrentBank;
    bool attenuator = s.Attenuator != 0;
    uint32_t attenuatorDb = s.AttenuatorDb;
    std::array<uint32_t, kBankCount> positions = BankPositions;
    std::array<uint32_t, kBankCount> counts = BankChannels;
    std::array<std::string, kBankCount> names = BankNames;
    std::vector<MemoryChannel> channels = Channels;
    ChannelKeyReader channelKeys{std::span(channels).first(kStoredRecords), kChannelLayout,
                                 LowerLimit, UpperLimit};

    const auto modelKey = [&](std::string_view key, std::string_view value) {
        for (const FlagKey& k : kFilterKeys)
            if (key == k.key) read.*k.flag = true;
        for (const ScanFlagKey& k : kScanKeysBeforePause)
            if (key == k.key) read.Scan.*k.flag = true;
        for (const ScanFlagKey& k : kScanKeysAfterJob)
            if (key == k.key) read.Scan.*k.flag = true;
        for (const FlagKey& k : kSwitchKeys)
            if (key == k.key) read.*k.flag = true;
        for (const FlagKey& k : kBankFlagKeys)
            if (key == k.key) read.*k.flag = true;
        for (const LevelKey& k : kLevelKeys)
            if (key == k.key) read.*k.level = ClampLevel(ReadU32(value));
        for (const DepthKey& k : kAttenuatorKeys) {
            if (key != k.key) continue;
            attenuator = k.db != 0;
            if (attenuator) attenuatorDb = k.db;
        }
        for (const DepthKey& k : kDefaultDepthKeys)
            if (key == k.key) read.DefaultAttenuatorDb = k.db;
        if (key == "Банк") {
            const uint32_t number = ReadU32(value);
            if (number <= kLastBank) bank = number;
        }
        if (key == "Пауза") read.Scan.PauseMode = ReadU32(value);
        if (key == "Задание") read.Scan.JobName = value;

        if (const auto n = BankOfKey(key, kPositionKey)) positions[*n] = ReadU32(value);
        // A bank has room for 100 channels, whatever a file says.
        if (const auto n = BankOfKey(key, kCountKey))
            counts[*n] = static_cast<uint32_t>(
                std::clamp<int64_t>(ReadInteger(value), 0, static_cast<int64_t>(kBankSize)));
        if (const auto n = BankOfKey(key, kNameKey); n && *n < kFirstFixedBank) names[*n] = value;
        channelKeys.Take(key, value);
    };
    const auto take = [&] {
        Settings = read;
        CurrentBank = bank;
        s.Attenuator = attenuator ? 1 : 0;
        s.AttenuatorDb = attenuatorDb;
        BankChannels = counts;
        // The selected channel is one the bank counts.
        for (uint32_t n = 0; n <= kLastBank; ++n)
            BankPositions[n] = std::min(positions[n], std::max(counts[n], 1u) - 1);
        BankNames = names;
        Channels = std::move(channels);
    };
    if (!ReadStateFileWith(modelKey, nullptr, take)) return false;
    SetSliders();
    return true;
}
