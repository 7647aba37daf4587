#include "receivers/icom/civ_memory/civ_scan_settings.h"

#include "receivers/state_file.h"
#include "state/key_value.h"

namespace {

using ScanFlag = FlagKeyOf<CivScanSettings>;
// clang-format off
constexpr ScanFlag kResumeFlags[] = {
    {"Задержка", &CivScanSettings::Delay},
    {"Пропадание", &CivScanSettings::DropOut},
    {"Запрет", &CivScanSettings::NoReadBack},
    {"VSC", &CivScanSettings::Vsc},
};
constexpr ScanFlag kPriorityFlag[] = {{"Прио", &CivScanSettings::Priority}};
constexpr ScanFlag kRegimeFlags[] = {
    {"Сканирование_Диапазон", &CivScanSettings::RangeScan},
    {"Сканирование_Банка", &CivScanSettings::BankScan},
    {"Сканирование_Ручное", &CivScanSettings::ManualScan},
    {"Авто", &CivScanSettings::Auto},
    {"Выбор_каналов", &CivScanSettings::SelectedChannels},
    {"Выбор_мод", &CivScanSettings::SelectedModes},
};
// clang-format on
constexpr const char* kPauseKey = "Пауза";
constexpr const char* kJobKey = "Задание";

}  // namespace

void WriteScanKeys(StateFileWriter& file, const CivScanSettings& scan, bool priorityAfterJob) {
    WriteFlags(file, scan, kResumeFlags);
    if (!priorityAfterJob) WriteFlags(file, scan, kPriorityFlag);
    file.Number(kPauseKey, static_cast<uint32_t>(scan.Action));
    file.Text(kJobKey, scan.JobName);
    if (priorityAfterJob) WriteFlags(file, scan, kPriorityFlag);
    WriteFlags(file, scan, kRegimeFlags);
}

void ClearScanFlags(CivScanSettings& scan) {
    ClearFlags(scan, kResumeFlags);
    ClearFlags(scan, kPriorityFlag);
    ClearFlags(scan, kRegimeFlags);
}

bool TakeScanKey(std::string_view key, std::string_view value, CivScanSettings& scan) {
    if (key == kPauseKey) {
        scan.Action = ScanStopSettings::ActionOf(ReadNumberOrZero(value));
        return true;
    }
    if (key == kJobKey) {
        scan.JobName = value;
        return true;
    }
    return TakeFlag(key, scan, kResumeFlags) || TakeFlag(key, scan, kPriorityFlag) ||
           TakeFlag(key, scan, kRegimeFlags);
}

void SettleRegime(CivScanSettings& scan, bool manualRegime) {
    if (!manualRegime) scan.ManualScan = false;
    if (!scan.RangeScan && !scan.BankScan && !scan.ManualScan) scan.RangeScan = true;
}
