// The AR8000's job commands 211..228.

#include <span>

#include "receivers/aor/ar8000/ar8000.h"

// Its own beside those both handhelds number alike (AorPanel::ServeHandheldJobs).
// clang-format off
const JobCommand<AR8000> AR8000::kJobCommands[] = {
    {224, &AR8000::ChooseBankCommand},
    {225, &AR8000::TuneChannelCommand},
    {226, &AR8000::WholeMemoryBoxCommand},
    {227, &AR8000::VfoCommand},
    {228, &AR8000::AutoCommand},
};
// clang-format on

void AR8000::ExecuteCommand() {
    ServeHandheldJobs(*this, std::span<const JobCommand<AR8000>>(kJobCommands));
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
