// The IC-R8500's own scan: the start sequence the scan settings ask for, what the panel does
// when the receiver stops on a signal, and the read-back of what the scan found.

#include "receivers/icom/ic8500/ic8500.h"
#include "state/message_bus.h"

namespace {

constexpr const char* kShowAutoQuestion = "Обнаруженные частоты в банке AUTO.Отобразить?";

}  // namespace

bool IC8500::SendScanStart() {
    const CivScanSettings& scan = Settings.Scan;
    // The whole sequence goes out whatever the receiver answers; its scan command decides.
    SendScanCommand("0E00");
    SendScanCommand(scan.Vsc ? "0EC1" : "0EC0");
    SendScanCommand(scan.Delay ? "0ED3" : scan.DropOut ? "0ED1" : "0ED0");
    if (scan.Priority) SendScanCommand("0E42");
    // A manual scan is the operator's at the set: the receiver only had to take the settings.
    // Without a regime nothing starts.
    bool started = scan.ManualScan;
    if (scan.RangeScan) {
        // The receiver fills AUTO afresh with what it finds.
        if (scan.Auto)
            for (uint32_t position = 0; position < kBankSize; ++position)
                Channel(kAutoBank, position).Frequency = 0;
        started = SendScanCommand(scan.Auto ? "0E04" : "0E02");
    } else if (scan.BankScan) {
        SelectBank(CurrentBank);
        for (uint32_t position = 0; position < BankChannels[CurrentBank]; ++position)
            Channel(CurrentBank, position).Level = 0;
        started = SendScanCommand(scan.SelectedChannels ? "0E23"
                                  : scan.SelectedModes  ? "0E24"
                                                        : "0E22");
    }
    ShowChannels();
    return started;
}

// The receiver stopped on a signal: what the pause mode asks for.
void IC8500::OnFrequencyReport() {
    if (ReceiverScanRunning) ActOnScanStop(Settings.Scan);
}

void IC8500::ReadBackAfterScan() {
    const CivScanSettings& scan = Settings.Scan;
    const bool autoWrite = scan.RangeScan && scan.Auto;
    if (!scan.NoReadBack && (autoWrite || scan.BankScan)) {
        const uint32_t before = CurrentBank;
        if (autoWrite) CurrentBank = kAutoBank;
        uint32_t found = 0;
        if (SelectBank(CurrentBank)) {
            for (uint32_t position = 0; position < BankChannels[CurrentBank]; ++position) {
                if (ReadChannel(CurrentBank, position) != ChannelResult::Done) break;
                if (Channel(CurrentBank, position).Frequency != 0) ++found;
            }
        }
        if (autoWrite && found > 0 && !fdx_->Confirm(kShowAutoQuestion)) CurrentBank = before;
    }
    SelectChannel(BankPositions[CurrentBank]);
    ShowBank();
    if (Settings.DirectMode && SelectBank(CurrentBank)) SelectChannel(BankPositions[CurrentBank]);
}
