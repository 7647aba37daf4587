// The AR8000's state file "AR8000.<port>": the head, the panel's settings with the links of
// its own scan, then the memory part (the 1000 channels, the level scale, the current search
// bank and the 20 search banks). The file stays after it was read: a crash before the close
// would otherwise lose every bank.

#include <span>
#include <string>
#include <string_view>

#include "receivers/aor/ar8000/ar8000.h"
#include "state/key_value.h"

namespace {

using Kind = AorScanSettings::Kind;

// Flags of the scan settings in the order they are written.
using FlagKey = FlagKeyOf<AorScanSettings>;
constexpr FlagKey kFlagsBeforeDelay[] = {{"Задержка", &AorScanSettings::DelayOn}};
constexpr FlagKey kFlagsAfterDelay[] = {{"VSC", &AorScanSettings::Voice},
                                        {"SLVL", &AorScanSettings::LevelBox}};
constexpr FlagKey kFlagsAfterKinds[] = {{"Выбор_каналов", &AorScanSettings::SelectScan},
                                        {"Выбор_мод", &AorScanSettings::ModeScan}};
constexpr std::span<const FlagKey> kFlagKeys[] = {kFlagsBeforeDelay, kFlagsAfterDelay,
                                                  kFlagsAfterKinds};

}  // namespace

// "Сигнал" keeps the threshold of the level analysis (the AR8200 its level squelch there),
// "Пауза" what a stop of the own scan does ("режим пауза" .. "занести частоту в банк").
bool AR8000::WriteStateFile() {
    const AorScanSettings& scan = ScanSettings;
    return WriteHandheldStateFile(/*links=*/true, [&](StateFileWriter& file) {
        WriteFlags(file, scan, kFlagsBeforeDelay);
        file.Number("Время_задержки", DelaySeconds);
        WriteFlags(file, scan, kFlagsAfterDelay);
        file.Number("Сигнал", Threshold);
        file.Number("Пауза", static_cast<uint32_t>(scan.Action));
        file.Text("Задание", scan.JobName);
        file.Flag("Сканирование_Диапазон", scan.kind != Kind::MemoryBanks);
        file.Flag("Сканирование_Банка", scan.kind == Kind::MemoryBanks);
        WriteFlags(file, scan, kFlagsAfterKinds);
        file.Number("Мод_тип", scan.ModeChoice);
    });
}

// Every number that picks a place (a bank, a channel, a step of the fine scale) or a setting
// the receiver is sent (the mode, the delay) is checked: a file edited by hand must not reach
// outside the panel's tables or send the receiver what it cannot take.
bool AR8000::ReadStateFile() {
    FDX& s = *fdx_;
    AorScanSettings scan = ScanSettings;
    for (const std::span<const FlagKey> keys : kFlagKeys) ClearFlags(scan, keys);
    bool bankKind = false;
    uint32_t threshold = Threshold, delay = DelaySeconds;

    const auto modelKey = [&](std::string_view key, std::string_view value) {
        const uint32_t number = ReadNumberOrZero(value);
        for (const std::span<const FlagKey> keys : kFlagKeys) TakeFlag(key, scan, keys);
        if (key == kSearchLinksKey) {
            scan.SearchLinks = LinkLetters(value);
        } else if (key == kMemoryLinksKey) {
            scan.MemoryLinks = LinkLetters(value);
        } else if (key == "Время_задержки") {
            if (number >= kShortestDelay && number <= kLongestDelay) delay = number;
        } else if (key == "Сигнал") {
            if (number >= kLowestThreshold && number <= kHighestThreshold) threshold = number;
        } else if (key == "Пауза") {
            scan.Action = ScanStopSettings::ActionOf(number);
        } else if (key == "Задание") {
            scan.JobName = value;
        } else if (key == "Сканирование_Банка") {
            bankKind = true;
        } else if (key == "Мод_тип") {
            if (number < kModeDigits.size()) scan.ModeChoice = number;
        }
    };
    return ReadHandheldStateFile(modelKey, [&] {
        // A mode the set lacks would go out as WFM: the program's mode says so.
        if (kModeDigits.find(s.Modulation) == std::string_view::npos) s.Modulation = 'W';
        s.Filter = 0;
        scan.kind = bankKind ? Kind::MemoryBanks : Kind::Search;
        ScanSettings = scan;
        Threshold = threshold;
        DelaySeconds = delay;
        Bandwidth = ModeParameter(s.Modulation);
    });
}
