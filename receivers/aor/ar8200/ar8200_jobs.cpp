// The AR8200's job commands 911..934.

#include <span>

#include "receivers/aor/ar8200/ar8200.h"
#include "state/message_bus.h"

namespace {

// Job values of "Выбор VFO" as the catalog names them: "VFO-A" 0, "VFO-B" 1, "VFO" 2.
constexpr int kVfoOfJobValue[] = {AR8200::kVfoA, AR8200::kVfoB, AR8200::kVfoF};

}  // namespace

// clang-format off
const JobCommand<AR8200> AR8200::kJobCommands[] = {
    {911, &AR8200::ReadBanksCommand},
    {912, &AR8200::WriteBanksCommand},
    {913, &AR8200::StoreCommand},
    {914, &AR8200::AttenuatorCommand},
    {915, &AR8200::SoundCommand},
    {916, &AR8200::DirectWriteCommand},
    {917, &AR8200::ClearCommand},
    {918, &AR8200::DisconnectCommand},
    {919, &AR8200::FixedLeftCommand},
    {920, &AR8200::FixedRightCommand},
    {921, &AR8200::PeakLeftCommand},
    {922, &AR8200::PeakRightCommand},
    {923, &AR8200::ViewStepCommand},
    {924, &AR8200::BankCommand},
    {925, &AR8200::SearchBankCommand},
    {926, &AR8200::ChannelChoiceCommand},
    {927, &AR8200::BoxCommand},
    {928, &AR8200::VfoCommand},
    {929, &AR8200::AutoCommand},
    {930, &AR8200::StartScanCommand},
    {931, &AR8200::ScanSettingsCommand},
    {932, &AR8200::SquelchValueCommand},
    {933, &AR8200::VoiceSquelchCommand},
    {934, &AR8200::LevelSquelchCommand},
};
// clang-format on

void AR8200::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<AR8200>>(kJobCommands), "Нет доступа к обьекту");
}

// With direct writing the receiver stands on the current banks and channel again.
void AR8200::AfterTransfer() {
    if (!DirectWrite) return;
    SelectBankForWalk(CurrentBank);
    ReadSearchBank(CurrentSearchBank);
    ReadChannel(CurrentBank, SelectedChannel());
    ShowBankList();
    ShowSearchBank();
}

void AR8200::ReadBanksCommand(JobStr&) {
    WholeMemory ? ReadAllBanks() : ReadCurrentBank();
    AfterTransfer();
}

void AR8200::WriteBanksCommand(JobStr&) {
    WholeMemory ? WriteAllBanks() : WriteCurrentBank();
    AfterTransfer();
}

void AR8200::AttenuatorCommand(JobStr& line) {
    fdx_->Attenuator = line.VAL != 0 ? 1 : 0;
    if (catt) catt->SetChecked(fdx_->Attenuator != 0);
    Answer(line, SetAttenuator());
    PostToOwner(PostReceiverState);
}

void AR8200::SoundCommand(JobStr& line) {
    fdx_->Sound = line.VAL != 0 ? 1 : 0;
    Answer(line, SendText(fdx_->Sound ? "MC0" : "MC1"));
    if (csound) csound->SetChecked(fdx_->Sound != 0);
}

// Switched on, the selected channel goes into the receiver at once.
void AR8200::DirectWriteCommand(JobStr& line) {
    DirectWrite = line.VAL != 0;
    if (cbank) cbank->SetChecked(DirectWrite);
    if (DirectWrite && !ChannelAt(CurrentBank, SelectedChannel()).Empty())
        Answer(line, SendChannel(CurrentBank, SelectedChannel()));
}

void AR8200::ClearCommand(JobStr& line) {
    if (Scanning)
        StopOwnScan();
    else
        ClearScaleCommand(line);
}

// "EX" lets the receiver go; the next press (or job) connects it again.
void AR8200::DisconnectCommand(JobStr& line) {
    if (off && off->Text() == "вкл") {
        off->SetText("выкл");
        PostToSelf(PostSyncReceiver);
        return;
    }
    Answer(line, SendText("EX"));
    if (off) off->SetText("вкл");
}

void AR8200::ChannelChoiceCommand(JobStr& line) {
    if (Refuse(line, kChannels - 1, kNoChannel)) return;
    BankPositions[static_cast<std::size_t>(CurrentBank)] = static_cast<int32_t>(line.VAL);
    ShowChannelBoxes();
    TuneToChannel();
}

// The box that chooses all banks or the current one ("пам").
void AR8200::BoxCommand(JobStr& line) {
    const bool on = line.VAL != 0;
    WholeMemory = on;
    if (mem) mem->SetChecked(on);
}

void AR8200::VfoCommand(JobStr& line) {
    const uint32_t value = line.VAL <= 2 ? line.VAL : 0;
    Answer(line, SelectVfo(kVfoOfJobValue[value]));
    if (Reply.State == AorState::Vfo) TakeReceiverState();
    FollowTuning();
    PostToOwner(PostReceiverState);
}

void AR8200::AutoCommand(JobStr& line) {
    if (cauto) cauto->SetChecked(line.VAL != 0);
    AutoOn = line.VAL != 0;
    Answer(line, SetAuto(AutoOn));
    PostToOwner(PostReceiverState);
}

void AR8200::ScanSettingsCommand(JobStr&) {
    PostToOwner(PostOpenScanSettings);
}

void AR8200::SquelchValueCommand(JobStr& line) {
    Answer(line, SetSquelch(line.VAL));
}
