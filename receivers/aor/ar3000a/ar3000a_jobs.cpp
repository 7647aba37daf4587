// The AR3000A's job commands 111..128.

#include <span>

#include "receivers/aor/ar3000a/ar3000a.h"
#include "state/message_bus.h"

// clang-format off
const JobCommand<AR3000A> AR3000A::kJobCommands[] = {
    {111, &AR3000A::BankCommand},
    {112, &AR3000A::BankCommand},
    {113, &AR3000A::BankCommand},
    {114, &AR3000A::BankCommand},
    {115, &AR3000A::ReadCommand},
    {116, &AR3000A::WriteCommand},
    {117, &AR3000A::StoreCommand},
    {118, &AR3000A::AttenuatorCommand},
    {119, &AR3000A::SoundCommand},
    {120, &AR3000A::DirectCommand},
    {127, &AR3000A::ChannelCommand},
    {128, &AR3000A::WholeMemoryCommand},
};
constexpr FineScaleJobs kFineScaleJobs{.fixedLeft = 123, .fixedRight = 124, .peakLeft = 125,
                                       .peakRight = 126, .viewStep = 122, .clearScale = 121};
// clang-format on

void AR3000A::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<AR3000A>>(kJobCommands), kFineScaleJobs);
}

// 111..114: the bank by the command's own number.
void AR3000A::BankCommand(JobStr& line) {
    ChooseBank(static_cast<int>(line.OBJ) - 111);
}

void AR3000A::ReadCommand(JobStr&) {
    ReadBanks();
}

void AR3000A::WriteCommand(JobStr&) {
    WriteBanks();
}

void AR3000A::StoreCommand(JobStr&) {
    StoreCurrentSettings();
}

// A setting the receiver refused or did not answer fails its line, so that a COND line after
// it does not run as after a setting taken.
void AR3000A::AttenuatorCommand(JobStr& line) {
    fdx_->Attenuator = line.VAL != 0 ? 1 : 0;
    if (!SetAttenuator()) AnswerNoAccess(line);
    PostToOwner(PostReceiverState);
}

void AR3000A::SoundCommand(JobStr& line) {
    fdx_->Sound = line.VAL != 0 ? 1 : 0;
    if (!SetSound()) AnswerNoAccess(line);
}

void AR3000A::DirectCommand(JobStr& line) {
    SetDirectWrite(line.VAL != 0);
}

void AR3000A::ChannelCommand(JobStr& line) {
    if (Refuse(line, kChannels, kNoChannel)) return;
    SelectChannel(static_cast<int>(line.VAL));
}

void AR3000A::WholeMemoryCommand(JobStr& line) {
    WholeMemory = line.VAL != 0;
    if (pictb_1) pictb_1->SetChecked(WholeMemory);
}
