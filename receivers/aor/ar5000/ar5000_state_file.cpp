// The AR5000's state file "AR5000.<port>": the head, the panel's settings, the 1000 memory
// channels, the level scale's count, the 20 search banks, then the level runs.

#include <algorithm>
#include <string_view>

#include "receivers/aor/ar5000/ar5000.h"
#include "state/key_value.h"

namespace {

using Kind = AorScanSettings::Kind;

// Flag keys of the scan settings, in the order they are written.
using FlagKey = FlagKeyOf<AorScanSettings>;
constexpr FlagKey kFlagsBeforeDelay[] = {{"Задержка", &AorScanSettings::DelayOn}};
constexpr FlagKey kFlagsAfterDelay[] = {{"Запрет", &AorScanSettings::Hold},
                                        {"VSC", &AorScanSettings::Voice},
                                        {"SLVL", &AorScanSettings::LevelBox}};
constexpr uint32_t kMostPause = 60;
constexpr uint32_t kMostDelay = 99;
constexpr uint32_t kLastModeChoice = 4;

}  // namespace

bool AR5000::WriteStateFile() {
    StateFileWriter file;
    WriteHead(file);
    const AorScanSettings& scan = ScanSettings;
    WriteBankKeys(file, /*links=*/true);
    file.Number("Атт", aor::AttenuatorOption(fdx_->Attenuator != 0, fdx_->AttenuatorDb));
    file.Number("Звук", Volume);
    file.Flag("Запись", DirectWrite);
    WriteFlags(file, scan, kFlagsBeforeDelay);
    file.Number("Время_задержки", scan.Delay);
    WriteFlags(file, scan, kFlagsAfterDelay);
    file.Number("Сигнал", static_cast<uint32_t>(scan.Action));
    file.Number("Пауза", scan.Pause);
    file.Text("Задание", scan.JobName);
    file.Flag("Сканирование_Диапазон", scan.kind == Kind::Search);
    file.Flag("Сканирование_Банка", scan.kind == Kind::MemoryBanks);
    file.Flag("Выбор_каналов", scan.SelectScan);
    file.Number("Мод_тип", scan.ModeChoice);

    // The depth and the filter are kept too: without them the next bank write after a
    // restart would change the receiver's channels.
    WriteMemoryKeys(file);
    file.Flag("Выбор_мод", scan.ModeScan);
    file.ScaleRuns(Scale);
    return file.Save(StateFilePath());
}

// Every number that picks a place (a bank, a channel, a record, a step of the fine scale) is
// checked: a file edited by hand or written by another version must not reach outside the
// panel's tables.
bool AR5000::ReadStateFile() {
    FDX& s = *fdx_;
    // A flag key stands in the file only while its flag is set: every one starts off.
    AorScanSettings scan = ScanSettings;
    ClearFlags(scan, kFlagsBeforeDelay);
    ClearFlags(scan, kFlagsAfterDelay);
    scan.SelectScan = scan.ModeScan = false;
    bool searchKind = false, bankKind = false, direct = false;
    uint32_t attenuator = aor::AttenuatorOption(s.Attenuator != 0, s.AttenuatorDb);
    uint32_t volume = Volume;
    AorMemoryKeys memory(*this);

    const auto modelKey = [&](std::string_view key, std::string_view value) {
        if (memory.Take(key, value)) return;
        const uint32_t number = ReadNumberOrZero(value);
        TakeFlag(key, scan, kFlagsBeforeDelay);
        TakeFlag(key, scan, kFlagsAfterDelay);
        if (key == kSearchLinksKey) {
            scan.SearchLinks = value;
        } else if (key == kMemoryLinksKey) {
            scan.MemoryLinks = value;
        } else if (key == "Атт") {
            attenuator = number == 10 || number == 20 || number == 255 ? number : 0;
        } else if (key == "Звук") {
            volume = std::min<uint32_t>(number, 255);
        } else if (key == "Запись") {
            direct = true;
        } else if (key == "Время_задержки") {
            scan.Delay = std::min(number, kMostDelay);
        } else if (key == "Сигнал") {
            scan.Action = ScanStopSettings::ActionOf(number);
        } else if (key == "Пауза") {
            scan.Pause = std::min(number, kMostPause);
        } else if (key == "Задание") {
            scan.JobName = value;
        } else if (key == "Сканирование_Диапазон") {
            searchKind = true;
        } else if (key == "Сканирование_Банка") {
            bankKind = true;
        } else if (key == "Выбор_каналов") {
            scan.SelectScan = true;
        } else if (key == "Мод_тип") {
            scan.ModeChoice = number <= kLastModeChoice ? number : 0;
        } else if (key == "Выбор_мод") {
            scan.ModeScan = true;
        }
    };
    if (!ReadStateFileKeys(modelKey)) return false;
    scan.kind = searchKind ? Kind::Search : bankKind ? Kind::MemoryBanks : Kind::Vfo;
    ScanSettings = scan;
    DirectWrite = direct;
    // The attenuator as its option says: the option and the program state agree, so that
    // the next display and the next write keep it.
    s.Attenuator = attenuator != 0 ? 1 : 0;
    s.AttenuatorDb = attenuator;
    Volume = volume;
    TakeMemoryKeys(memory);
    return true;
}
