// The AR8200's state file "AR8200.<port>": the head with the mode's variant, the panel's
// settings, then the memory part (the 1000 channels, the level scale, the current search bank
// and the 40 search banks). The file stays after it was read: a crash before the close would
// otherwise lose every bank.

#include <algorithm>
#include <string>
#include <string_view>

#include "receivers/aor/ar8200/ar8200.h"
#include "state/key_value.h"

namespace {

using Kind = AorScanSettings::Kind;
using Own = AR8200::Settings;
using Scan = AorScanSettings;

// The flags and levels in the order they are written, in runs between the other keys; a flag
// stands in the file only while it is set.
constexpr FlagKeyOf<Scan> kDelayFlag[] = {{"Задержка", &Scan::DelayOn}};
constexpr FlagKeyOf<Scan> kHoldFlag[] = {{"Запрет", &Scan::Hold}};
constexpr FlagKeyOf<Own> kVoiceFlag[] = {{"VSC", &Own::VoiceSquelch}};
constexpr FlagKeyOf<Scan> kLevelFlag[] = {{"SLVL", &Scan::LevelBox}};
constexpr LevelKeyOf<Own> kLevels[] = {{"Сигнал", &Own::LevelValue}, {"Голос", &Own::VoiceValue}};
constexpr FlagKeyOf<Own> kTwoVfoFlag[] = {{"Сканирование_2VFO", &Own::TwoVfoScan}};
constexpr FlagKeyOf<Scan> kScanFlags[] = {{"Выбор_каналов", &Scan::SelectScan},
                                          {"Выбор_мод", &Scan::ModeScan}};
constexpr FlagKeyOf<Own> kVariantFlags[] = {
    {"Fnar", &Own::Fnar}, {"Anar", &Own::Anar}, {"Awide", &Own::Awide}};

}  // namespace

bool AR8200::WriteStateFile() {
    const FDX& s = *fdx_;
    Scan& scan = ScanSettings;
    scan.LevelBox = !Options.VoiceSquelch;
    const auto filter = [&](StateFileWriter& w) {
        w.Text("Мод_точно", std::to_string(std::clamp(s.Filter, 0, kWidestFilter)) + " ");
    };
    const auto modelKeys = [&](StateFileWriter& file) {
        WriteFlags(file, scan, kDelayFlag);
        file.Number("Время_задержки", scan.Delay);
        WriteFlags(file, scan, kHoldFlag);
        WriteFlags(file, Options, kVoiceFlag);
        WriteFlags(file, scan, kLevelFlag);
        WriteLevels(file, Options, kLevels);
        file.Number("Пауза", scan.Pause);
        file.Text("Задание", scan.JobName);
        file.Flag("Сканирование_Диапазон", scan.kind == Kind::Search);
        file.Flag("Сканирование_VFO", scan.kind == Kind::Vfo);
        WriteFlags(file, Options, kTwoVfoFlag);
        file.Flag("Сканирование_Банка", scan.kind == Kind::MemoryBanks);
        WriteFlags(file, scan, kScanFlags);
        WriteFlags(file, Options, kVariantFlags);
        file.Number("Модуляция", Options.ScanModeChoice);
    };
    return WriteHandheldStateFile(/*links=*/false, modelKeys, filter);
}

// Every number that picks a place (a bank, a channel, a search bank, a step of the fine
// scale) or a setting of the receiver (squelch, pause, delay) is checked: a file edited by
// hand must not reach outside the panel's tables or send the receiver what it cannot take.
bool AR8200::ReadStateFile() {
    FDX& s = *fdx_;
    Scan scan = ScanSettings;
    Settings options = Options;
    const FlagKeysOf<Scan> scanFlags[] = {kDelayFlag, kHoldFlag, kLevelFlag, kScanFlags};
    const FlagKeysOf<Own> optionFlags[] = {kVoiceFlag, kTwoVfoFlag, kVariantFlags};
    for (const FlagKeysOf<Scan> keys : scanFlags) ClearFlags(scan, keys);
    for (const FlagKeysOf<Own> keys : optionFlags) ClearFlags(options, keys);
    bool searchKind = false, bankKind = false;
    int32_t filter = s.Filter;

    const auto modelKey = [&](std::string_view key, std::string_view value) {
        if (TakeLevel(key, value, options, kLevels)) return;
        for (const FlagKeysOf<Scan> keys : scanFlags)
            if (TakeFlag(key, scan, keys)) return;
        for (const FlagKeysOf<Own> keys : optionFlags)
            if (TakeFlag(key, options, keys)) return;
        const uint32_t number = ReadNumberOrZero(value);
        if (key == "Мод_точно") {
            filter = static_cast<int32_t>(std::min<uint32_t>(number, kWidestFilter));
        } else if (key == "Время_задержки") {
            scan.Delay = number <= kMostDelay || number == kHold ? number : 0;
        } else if (key == "Пауза") {
            scan.Pause = std::min(number, kMostPause);
        } else if (key == "Задание") {
            scan.JobName = value;
        } else if (key == "Модуляция") {
            if (number <= kAllModes) options.ScanModeChoice = number;
        } else {
            searchKind = searchKind || key == "Сканирование_Диапазон";
            bankKind = bankKind || key == "Сканирование_Банка";
        }
    };
    return ReadHandheldStateFile(modelKey, [&] {
        s.Filter = filter;
        scan.kind = searchKind ? Kind::Search : bankKind ? Kind::MemoryBanks : Kind::Vfo;
        ScanSettings = scan;
        Options = options;
    });
}
