// The AR8000's job commands 211..228.

#include <span>

#include "receivers/aor/ar8000/ar8000.h"
#include "state/message_bus.h"

// clang-format off
const JobCommand<AR8000> AR8000::kJobCommands[] = {
    {211, &AR8000::ReadBanksCommand},
    {212, &AR8000::WriteBanksCommand},
    {213, &AR8000::StoreCommand},
    {214, &AR8000::AttenuatorCommand},
    {215, &AR8000::SoundCommand},
    {216, &AR8000::DirectWriteCommand},
    {217, &AR8000::ClearCommand},
    {218, &AR8000::DisconnectCommand},
    {219, &AR8000::FixedLeftCommand},
    {220, &AR8000::FixedRightCommand},
    {221, &AR8000::PeakLeftCommand},
    {222, &AR8000::PeakRightCommand},
    {223, &AR8000::ViewStepCommand},
    {224, &AR8000::ChooseBankCommand},
    {225, &AR8000::ChannelCommand},
    {226, &AR8000::BoxCommand},
    {227, &AR8000::VfoCommand},
    {228, &AR8000::AutoCommand},
};
// clang-format on

void AR8000::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<AR8000>>(kJobCommands), "Нет доступа к обьекту");
}

// With direct writing the receiver stands on the current bank and channel again.
void AR8000::AfterTransfer() {
    if (!DirectWrite) return;
    SelectBankForWalk(CurrentBank);
    ReadChannel(CurrentBank, SelectedChannel());
    ShowBankList();
}

void AR8000::ReadBanksCommand(JobStr&) {
    WholeMemory ? ReadAllBanks() : ReadCurrentBank();
    AfterTransfer();
}

void AR8000::WriteBanksCommand(JobStr&) {
    WholeMemory ? WriteAllBanks() : WriteCurrentBank();
    AfterTransfer();
}

void AR8000::AttenuatorCommand(JobStr& line) {
    fdx_->Attenuator = line.VAL != 0 ? 1 : 0;
    if (catt) catt->SetChecked(fdx_->Attenuator != 0);
    Answer(line, SetAttenuator());
    PostToOwner(PostReceiverState);
}

void AR8000::SoundCommand(JobStr& line) {
    fdx_->Sound = line.VAL != 0 ? 1 : 0;
    Answer(line, SendText(fdx_->Sound ? "MC0" : "MC1"));
    if (csound) csound->SetChecked(fdx_->Sound != 0);
}

void AR8000::DirectWriteCommand(JobStr& line) {
    DirectWrite = line.VAL != 0;
    if (cbank) cbank->SetChecked(DirectWrite);
}

// As the button: it stops the set's own scan while one runs.
void AR8000::ClearCommand(JobStr& line) {
    if (Scanning)
        StopOwnScan();
    else
        ClearScaleCommand(line);
}

// "EX" lets the receiver go; the next press (or job) connects it again.
void AR8000::DisconnectCommand(JobStr& line) {
    if (off && off->Text() == "вкл") {
        off->SetText("выкл");
        PostToSelf(PostSyncReceiver);
        return;
    }
    Answer(line, SendText("EX"));
    if (off) off->SetText("вкл");
}

// The search bank goes with the bank.
void AR8000::ChooseBankCommand(JobStr& line) {
    BankCommand(line);
    if (line.ReturnCode != 0) return;
    CurrentSearchBank = CurrentBank;
    ShowSearchBank();
    ShowSearchBankName();
}

// The box that chooses all banks or the current one ("пам").
void AR8000::BoxCommand(JobStr& line) {
    WholeMemory = line.VAL != 0;
    if (mem) mem->SetChecked(WholeMemory);
}

void AR8000::VfoCommand(JobStr& line) {
    Answer(line, SwitchVfo());
}

void AR8000::AutoCommand(JobStr& line) {
    Answer(line, ChooseAuto(line.VAL != 0));
}
