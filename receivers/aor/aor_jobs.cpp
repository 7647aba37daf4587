// The job commands that the AOR sets with an attenuator box, a sound box and a connection
// button (the AR8000 and the AR8200) serve alike, the button's click, and the tuning to a
// channel they share.

#include "receivers/aor/aor_panel.h"
#include "state/message_bus.h"

namespace {

// The connection button's captions: connected, let go.
constexpr const char* kConnected = "выкл";
constexpr const char* kLetGo = "вкл";

}  // namespace

// Numbered from the model's jobBase.
void AorPanel::TakeHandheldJobs() {
    // clang-format off
    static constexpr JobCommand<AorPanel> kHandheldJobs[] = {
        {11, &AorPanel::ReadMemoryCommand},
        {12, &AorPanel::WriteMemoryCommand},
        {13, &AorPanel::StoreCommand},
        {14, &AorPanel::AttenuatorBoxCommand},
        {15, &AorPanel::SoundBoxCommand},
        {16, &AorPanel::DirectWriteCommand},
        {17, &AorPanel::ClearOrStopCommand},
        {18, &AorPanel::ConnectionCommand},
        {24, &AorPanel::BankCommand},
    };
    // clang-format on
    AddJobs(jobs_, kHandheldJobs, model_.jobBase);
}

void AorPanel::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<AorPanel>>(jobs_),
                 kAorFineScaleJobs.From(model_.jobBase), kNoAccessSpeltWithSoftSign);
}

void AorPanel::DirectWriteCommand(JobStr& line) {
    DirectWrite = line.VAL != 0;
    if (cbank) cbank->SetChecked(DirectWrite);
    DirectWriteSwitched(line);
}

void AorPanel::OnConnectButton() {
    JobStr line;
    ConnectionCommand(line);
}

void AorPanel::ReadMemoryCommand(JobStr&) {
    WholeMemory ? ReadAllBanks() : ReadCurrentBank();
    StandOnCurrentChannel();
}

void AorPanel::WriteMemoryCommand(JobStr&) {
    StandOnCurrentChannel(WholeMemory ? WriteAllBanks() : WriteCurrentBank());
}

// With direct writing the receiver stands on the current bank, search bank and channel again
// after a transfer.
void AorPanel::StandOnCurrentChannel(const Unwritten& unwritten) {
    if (!DirectWrite) return;
    GoToCurrentPlaces(unwritten);
    ShowBankList();
    ShowSearchBank();
}

void AorPanel::GoToCurrentPlaces(const Unwritten& unwritten) {
    const int channel = SelectedChannel();
    const MemoryChannel channelKept = ChannelAt(CurrentBank, channel);
    const AorSearchBank searchKept = CurrentSearch();
    SelectBankForWalk(CurrentBank);
    ReadSearchBank(CurrentSearchBank);
    ReadChannel(CurrentBank, channel);
    if (unwritten.HoldsChannel(CurrentBank, channel)) ChannelAt(CurrentBank, channel) = channelKept;
    if (unwritten.HoldsSearchBank(CurrentSearchBank)) CurrentSearch() = searchKept;
}

// A switch the receiver does not take fails the line with its own message (SwitchAttenuator,
// SwitchSound).
void AorPanel::AttenuatorBoxCommand(JobStr& line) {
    SwitchAttenuator(line.VAL != 0);
    PostToOwner(PostReceiverState);
}

void AorPanel::SoundBoxCommand(JobStr& line) {
    SwitchSound(line.VAL != 0);
}

// The sets mute with "MC1" while the sound is off.
bool AorPanel::SendMute() {
    return SendText(fdx_->Sound ? "MC0" : "MC1");
}

void AorPanel::WholeMemoryBoxCommand(JobStr& line) {
    WholeMemory = line.VAL != 0;
    if (mem) mem->SetChecked(WholeMemory);
}

void AorPanel::ClearOrStopCommand(JobStr&) {
    if (Scanning)
        StopOwnScan();
    else
        Fine.ConfirmClear();
}

// The caption says what the receiver took: a receiver that refused "EX" or did not answer it
// is still connected, and the operator, or the job line, is told so.
void AorPanel::ConnectionCommand(JobStr& line) {
    if (off && off->Text() == kLetGo) {
        off->SetText(kConnected);
        PostToSelf(PostSyncReceiver);
        return;
    }
    if (!SendText("EX")) {
        Answer(line, false);
        fdx_->ShowError(kReceiverSilent);
        return;
    }
    if (off) off->SetText(kLetGo);
}

void AorPanel::TuneChannelCommand(JobStr& line) {
    if (Refuse(line, static_cast<uint32_t>(BankSize()), kNoChannel)) return;
    BankPositions[static_cast<std::size_t>(CurrentBank)] = static_cast<int32_t>(line.VAL);
    ShowChannelBoxes();
    TuneToChannel();
}

void AorPanel::TuneToChannel() {
    const int channel = SelectedChannel();
    if (DirectWrite) ReadChannel(CurrentBank, channel);
    MemoryChannel& record = ChannelAt(CurrentBank, channel);
    if (record.Empty()) return;
    FDX& s = *fdx_;
    ChannelIntoSettings(record, s);
    SetFrequencyWait();
    SetStep();
    SetAttenuator();
    SendChannelMode(record);
    s.Level = ReadLevel();
    if (s.Level >= 0) record.Level = s.Level;
    ShowSelectedRow();
    PostToOwner(PostReceiverState);
}
