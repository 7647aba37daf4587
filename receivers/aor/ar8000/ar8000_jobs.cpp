// The AR8000's job commands 211..228.

#include <span>

#include "receivers/aor/ar8000/ar8000.h"

// clang-format off
const JobCommand<AR8000> AR8000::kJobCommands[] = {
    {211, &AR8000::ReadMemoryCommand},
    {212, &AR8000::WriteMemoryCommand},
    {213, &AR8000::StoreCommand},
    {214, &AR8000::AttenuatorBoxCommand},
    {215, &AR8000::SoundBoxCommand},
    {216, &AR8000::DirectWriteCommand},
    {217, &AR8000::ClearOrStopCommand},
    {218, &AR8000::ConnectionCommand},
    {224, &AR8000::ChooseBankCommand},
    {225, &AR8000::TuneChannelCommand},
    {226, &AR8000::WholeMemoryBoxCommand},
    {227, &AR8000::VfoCommand},
    {228, &AR8000::AutoCommand},
};
// clang-format on

void AR8000::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<AR8000>>(kJobCommands),
                 kAorFineScaleJobs.From(200), kNoAccessSpeltWithSoftSign);
}

void AR8000::DirectWriteCommand(JobStr& line) {
    DirectWrite = line.VAL != 0;
    if (cbank) cbank->SetChecked(DirectWrite);
}

// The search bank goes with the bank.
void AR8000::ChooseBankCommand(JobStr& line) {
    BankCommand(line);
    if (line.ReturnCode != 0) return;
    CurrentSearchBank = CurrentBank;
    ShowSearchBank();
    ShowSearchBankName();
}

void AR8000::VfoCommand(JobStr& line) {
    Answer(line, SwitchVfo());
}

void AR8000::AutoCommand(JobStr& line) {
    Answer(line, ChooseAuto(line.VAL != 0));
}
