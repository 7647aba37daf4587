// The IC-R8500's part of its state file "IC8500.<port>": the settings and the bank part
// (the banks and their channel records) between the head and the level scale.

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "receivers/icom/civ_memory/civ_state_keys.h"
#include "receivers/icom/ic8500/ic8500.h"
#include "state/key_value.h"

namespace {

// Keys of the settings, in the order they are written.
using Flag = FlagKeyOf<Ic8500Settings>;
// clang-format off
constexpr Flag kFilterKeys[] = {
    {"Fnar", &Ic8500Settings::Fnar},
    {"Anar", &Ic8500Settings::Anar},
    {"Awide", &Ic8500Settings::Awide},
    {"Cnar", &Ic8500Settings::Cnar},
};
constexpr auto kSwitchKeys = CivSwitchKeys(&Ic8500Settings::Agc, &Ic8500Settings::PeakFilter,
                                           &Ic8500Settings::NoiseBlanker);
constexpr auto kLevelKeys = CivLevelKeys(
    &Ic8500Settings::DefaultAudioLevel, &Ic8500Settings::AudioLevel,
    &Ic8500Settings::SquelchThreshold, &Ic8500Settings::PeakSetting, &Ic8500Settings::CentreSetting);
constexpr Flag kBankFlagKeys[] = {
    {"Запись", &Ic8500Settings::DirectMode},
    {"Память", &Ic8500Settings::AllMemory},
};
// Every flag besides the scan's.
constexpr std::span<const Flag> kFlagKeys[] = {kFilterKeys, kSwitchKeys, kBankFlagKeys};
// The attenuator as the panel shows it (dB, 0 off), and the depth its switch takes.
constexpr ChoiceKey kAttenuatorKeys[] = {{0, "Атт0"}, {10, "Атт10"}, {20, "Атт20"}, {30, "Атт30"}};
constexpr ChoiceKey kDefaultDepthKeys[] = {{10, "Умолч_Атт10"}, {20, "Умолч_Атт20"}, {30, "Умолч_Атт30"}};
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
    file.Number("Банк", CurrentBank);
    WriteChoice(file, kAttenuatorKeys, AttenuatorOption());
    const uint32_t depth = Settings.DefaultAttenuatorDb == 20   ? 20
                           : Settings.DefaultAttenuatorDb == 30 ? 30
                                                                : 10;
    WriteChoice(file, kDefaultDepthKeys, depth);
    WriteFlags(file, Settings, kFilterKeys);
    WriteScanKeys(file, Settings.Scan, /*priorityAfterJob=*/true);
    WriteFlags(file, Settings, kSwitchKeys);
    WriteCivLevels(file, Settings, kLevelKeys, /*soundLevel=*/true);
    WriteFlags(file, Settings, kBankFlagKeys);

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
    for (const auto keys : kFlagKeys) ClearFlags(read, keys);
    ClearScanFlags(read.Scan);
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
        for (const auto keys : kFlagKeys) TakeFlag(key, read, keys);
        TakeLevel(key, value, read, kLevelKeys);
        TakeScanKey(key, value, read.Scan);
        if (const auto db = TakeChoice(key, kAttenuatorKeys)) {
            attenuator = *db != 0;
            if (attenuator) attenuatorDb = *db;
        }
        if (const auto db = TakeChoice(key, kDefaultDepthKeys)) read.DefaultAttenuatorDb = *db;
        if (key == "Банк") {
            const uint32_t number = ReadNumberOrZero(value);
            if (number <= kLastBank) bank = number;
        }

        if (const auto n = BankOfKey(key, kPositionKey)) positions[*n] = ReadNumberOrZero(value);
        // A bank has room for 100 channels, whatever a file says.
        if (const auto n = BankOfKey(key, kCountKey))
            counts[*n] = std::min<uint32_t>(ReadNumberOrZero(value), kBankSize);
        if (const auto n = BankOfKey(key, kNameKey); n && *n < kFirstFixedBank) names[*n] = value;
        channelKeys.Take(key, value);
    };
    if (!ReadStateFileKeys(modelKey)) return false;
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
    SetSliders();
    return true;
}
