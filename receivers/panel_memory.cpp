// What the panels with memory banks share: the bracket around the receiver's own scan and
// around the transfers of its memory, what the panel does when that scan stops on a signal,
// a bank of the panel's exchanged with the working bank, and the current settings stored
// into a channel.

#include "receivers/comm.h"
#include "receivers/memory_channel.h"
#include "receivers/panel.h"

namespace {

constexpr int kNothingToStore = 12;  // "Не задано ни одной частоты в банке для записи"

}  // namespace

void ReceiverPanel::PanelWorkStarted(const std::string& status) {
    fdx_->PanelStatusText = status;
    PostToOwner(PostScanStartedByPanel);
    PostToSelf(PostLockControls);
}

void ReceiverPanel::PanelWorkEnded() {
    PostToOwner(PostScanStoppedByPanel);
    PostToSelf(PostUnlockControls);
}

bool ReceiverPanel::Transfer(const std::string& status, const std::function<bool()>& work) {
    // Posted codes are served later: the Wait window finds the status already set.
    PostToOwner(PostShowWait);
    PanelWorkStarted(status);
    const bool answered = work();
    // A port that hung up (the set unplugged) is closed by the main window, which tells the
    // loss itself, once: the transfer cut by it says nothing more.
    const Comm* port = Port();
    const bool portLost = port && !port->IsOpen() && !port->OpenedPath().empty();
    if (!answered && !portLost) fdx_->ShowError(kReceiverSilent);
    PanelWorkEnded();
    PostToOwner(PostHideWait);
    return answered;
}

void ReceiverPanel::ActOnScanStop(uint32_t action, const std::string& jobName) {
    switch (ScanStopSettings::ActionOf(action)) {
        case ScanStopAction::Beep:
            PostToOwner(PostBeep);
            break;
        case ScanStopAction::StartJob:
            if (jobName.empty()) break;
            fdx_->PanelJobName = jobName;
            PostToOwner(PostPanelStartJob);
            break;
        case ScanStopAction::IntoBank:
            PostToOwner(PostPanelReload);
            break;
        case ScanStopAction::Pause:
            break;
    }
}

bool ReceiverPanel::StoreSettingsInto(MemoryChannel& channel) {
    return SettingsIntoChannel(*fdx_, channel, *MemoryLayout(), LowerLimit, UpperLimit);
}

void ReceiverPanel::TakeBankItem() {
    TakeWorkingBank(*fdx_, CurrentBankChannels(), *MemoryLayout(), LowerLimit, UpperLimit);
    BankItemTaken();
}

void ReceiverPanel::GiveBankItem() {
    if (GiveWorkingBank(*fdx_, CurrentBankChannels()) == 0)
        fdx_->ShowError(kNothingToStore);
    else
        PostToOwner(PostSaveBank);
}

const Bank* ReceiverPanel::ShownRangeSlot() const {
    const FDX& s = *fdx_;
    if (s.SlotIndex < 0 || static_cast<std::size_t>(s.SlotIndex) >= s.ScanSlots.size())
        return nullptr;
    const Bank& slot = s.ScanSlots[static_cast<std::size_t>(s.SlotIndex)];
    return slot.InUse ? &slot : nullptr;
}
