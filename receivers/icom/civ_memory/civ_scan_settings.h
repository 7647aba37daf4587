#pragma once
// The receiver's own scan as the operator sets it up on a CI-V set with a memory, and what the
// panel does when that scan stops on a signal: the settings dialogs and the panels edit it,
// the state file keeps it.

#include <string_view>

#include "receivers/scan_stop.h"

class StateFileWriter;

// The stop's action and job first ("Пауза", "Задание").
struct CivScanSettings : ScanStopSettings {
    // After a stop the scan goes on after a delay, or once the signal has gone; with
    // NoReadBack a stop ends it, and nothing is read back.
    bool Delay = false;       // "Задержка"
    bool DropOut = false;     // "Пропадание"
    bool NoReadBack = false;  // "Запрет"
    bool Vsc = false;         // "VSC": voice-squelch control
    bool Priority = false;    // "Прио": the priority channel watched
    // The regime, one at a time: between the programmed edges, over the memory, or the
    // operator's own at the set (delta F).
    bool RangeScan = true;          // "Сканирование_Диапазон"
    bool BankScan = false;          // "Сканирование_Банка"
    bool ManualScan = false;        // "Сканирование_Ручное"
    bool Auto = false;              // "Авто": what the range scan finds goes into a bank
    bool SelectedChannels = false;  // "Выбор_каналов": the selected channels only
    bool SelectedModes = false;     // "Выбор_мод": the channels of the current mode only

    friend bool operator==(const CivScanSettings&, const CivScanSettings&) = default;
};

// The keys in a state file, in the order they are written: "Задержка", "Пропадание",
// "Запрет", "VSC", "Прио", "Пауза", "Задание", then the regime's and the channel choice's
// flags; with priorityAfterJob "Прио" follows "Задание" (the IC-R8500's order).
void WriteScanKeys(StateFileWriter& file, const CivScanSettings& scan, bool priorityAfterJob);
// Before a file is read: a flag stands in the file only while set, so every flag starts off.
void ClearScanFlags(CivScanSettings& scan);
// One key of a file; false when it is none of these.
bool TakeScanKey(std::string_view key, std::string_view value, CivScanSettings& scan);
// Once a file was read: a regime the model lacks (manualRegime false: the delta-F scan) is
// dropped, and with none left the scan takes the range regime, so that the panel holds the
// regime it shows and a start has a regime to start.
void SettleRegime(CivScanSettings& scan, bool manualRegime);
