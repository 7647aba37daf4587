// The IC-R8500's job commands 411..435.

#include <span>

#include "receivers/icom/ic8500/ic8500.h"

// The model's own; the commands the memory core shares are added from the job base 400.
std::span<const JobCommand<IC8500>> IC8500::OwnJobs() {
    // clang-format off
    static constexpr JobCommand<IC8500> kRows[] = {
        {415, &IC8500::DepthCommand<0>},
        {416, &IC8500::DepthCommand<1>},
        {417, &IC8500::DepthCommand<2>},
        {422, &IC8500::PowerCommand},
        {427, &IC8500::BankCommand},
        {428, &IC8500::ChannelCommand},
        {433, &IC8500::DirectBoxCommand},
        {435, &IC8500::OpenScanSettingsCommand},
    };
    // clang-format on
    return kRows;
}

void IC8500::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<IC8500>>(jobs_),
                 kIcomFineScaleJobs.From(kJobBase));
}

// A setting the receiver does not take leaves the line done all the same: the job goes on as
// after a setting taken, and a set that keeps refusing is found by the rejections the timer
// tick counts (standby). A bank or channel the panel does not have fails the line, and so do
// a transfer the receiver did not answer or did not take whole, and a scan it did not start
// (their messages).

void IC8500::PowerCommand(JobStr& line) {
    // The panel takes the state the line asks for whatever the answer, unlike the power
    // button, which waits for the set to take it.
    if (line.VAL == 0) {
        Exchange("1800", civ::kPowerSet);
        if (!Standby) EnterStandby();
    } else if (Standby) {
        Exchange("1801", civ::kPowerSet);
        LeaveStandby();
    }
}

void IC8500::BankCommand(JobStr& line) {
    if (Refuse(line, kBankCount, kNoBank)) return;
    ChooseBank(line.VAL);
}

void IC8500::ChannelCommand(JobStr& line) {
    if (Refuse(line, BankChannels[CurrentBank], kNoChannel)) return;
    BankPositions[CurrentBank] = line.VAL;
    if (lv_1) lv_1->SelectRow(RowOf(line.VAL));
    ShowChannel();
    if (Settings.DirectMode) SelectChannel(line.VAL);
}

void IC8500::DirectBoxCommand(JobStr& line) {
    SwitchDirectWrite(line.VAL != 0, /*apply=*/false);
}
