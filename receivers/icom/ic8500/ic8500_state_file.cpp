// The IC-R8500's part of its state file "IC8500.<port>": the settings and the bank part
// between the head and the level scale.

#include <algorithm>
#include <string_view>
#include <utility>

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

// Keys of the bank part: the position, count and name of each bank ("Позиция_Банк3"), the
// number of channel records and the fields of a record.
constexpr std::string_view kBankKeyStems[] = {"Позиция_Банк", "Каналов_Банк", "Имя_Банк"};
constexpr std::string_view kChannelKeys[] = {"Частот_Банков", "F",     "F_ATT",  "F_QATT",
                                             "F_STEP",        "F_SEL", "F_SKIP", "F_ID",
                                             "F_MOD",         "F_QMOD"};

bool IsBankPartKey(std::string_view key) {
    if (std::find(std::begin(kChannelKeys), std::end(kChannelKeys), key) != std::end(kChannelKeys))
        return true;
    for (const std::string_view stem : kBankKeyStems) {
        if (!key.starts_with(stem) || key.size() == stem.size()) continue;
        const std::string_view number = key.substr(stem.size());
        if (number.find_first_not_of("0123456789") == std::string_view::npos) return true;
    }
    return false;
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
    file.Lines(StoredBankPart);
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
    };
    KeptStateLines bankPart{IsBankPartKey, {}};
    const auto take = [&] {
        Settings = read;
        StoredBankPart = std::move(bankPart.Lines);
        CurrentBank = bank;
        s.Attenuator = attenuator ? 1 : 0;
        s.AttenuatorDb = attenuatorDb;
    };
    if (!ReadStateFileWith(modelKey, &bankPart, take)) return false;
    SetSliders();
    return true;
}
