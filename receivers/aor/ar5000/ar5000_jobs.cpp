// The AR5000's job commands 711..747.

#include <algorithm>
#include <span>

#include "receivers/aor/ar5000/ar5000.h"
#include "state/message_bus.h"

// clang-format off
const JobCommand<AR5000> AR5000::kJobCommands[] = {
    {711, &AR5000::ReadBankCommand},
    {712, &AR5000::WriteBankCommand},
    {713, &AR5000::StoreCommand},
    {714, &AR5000::SearchBankCommand},
    {715, &AR5000::VolumeCommand},
    {716, &AR5000::DirectCommand},
    {717, &AR5000::StopScanCommand},
    {718, &AR5000::DisconnectCommand},
    {724, &AR5000::BankCommand},
    {725, &AR5000::ChannelCommand},
    {726, &AR5000::WholeMemoryCommand},
    {727, &AR5000::VfoCommand},
    {728, &AR5000::AutoCommand},
    {729, &AR5000::Attenuator0Command},
    {730, &AR5000::Attenuator10Command},
    {731, &AR5000::Attenuator20Command},
    {732, &AR5000::AttenuatorAutoCommand},
    {733, &AR5000::NoiseSquelchCommand},
    {734, &AR5000::LevelSquelchCommand},
    {735, &AR5000::VoiceSquelchCommand},
    {736, &AR5000::SquelchLevelCommand},
    {737, &AR5000::OpenScanSettingsCommand},
    {738, &AR5000::ExtraFunctionsCommand},
    {739, &AR5000::StartScanCommand},
    {740, &AR5000::BandwidthCommand},
    {741, &AR5000::Antenna1Command},
    {742, &AR5000::Antenna2Command},
    {743, &AR5000::Antenna3Command},
    {744, &AR5000::Antenna4Command},
    {745, &AR5000::IfOffCommand},
    {746, &AR5000::If1Command},
    {747, &AR5000::If2Command},
};
// clang-format on

void AR5000::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<AR5000>>(kJobCommands),
                 kAorFineScaleJobs.From(700));
}

void AR5000::VolumeCommand(JobStr& line) {
    Volume = std::min<uint32_t>(line.VAL, 255);
    Answer(line, SendText(aor::Format("VL%03u", Volume)));
    ShowSquelch();
}

void AR5000::DisconnectCommand(JobStr&) {
    if (Port()) Port()->WriteString("QP\r\n");
}

void AR5000::VfoCommand(JobStr& line) {
    if (Refuse(line, kVfos, kNoBank)) return;
    Vfo = static_cast<int32_t>(line.VAL);
    Answer(line, SelectVfo(Vfo));
    FollowTuning();
}

void AR5000::AutoCommand(JobStr& line) {
    if (!AutoOn) SavedStep = fdx_->Step;
    AutoOn = true;
    if (cauto) cauto->SetChecked(true);
    Answer(line, SetAuto(true));
    PostToOwner(PostReceiverState);
}

void AR5000::SquelchLevelCommand(JobStr& line) {
    const uint32_t value = std::min<uint32_t>(line.VAL, 255);
    VoiceSquelch = LevelSquelch = NoiseSquelch = value;
    bool taken = SendText(aor::Format("DA%03u", value));
    taken = SendText(aor::Format("DB%03u", value)) && taken;
    taken = SendText(aor::Format("RQ%03u", value)) && taken;
    Answer(line, taken);
    ShowSquelch();
}

void AR5000::ExtraFunctionsCommand(JobStr&) {
    PostToOwner(PostOpenExtraFunctions);
}

void AR5000::BandwidthCommand(JobStr& line) {
    Bandwidth = static_cast<int32_t>(std::min<uint32_t>(line.VAL, 2200));
    Answer(line, SendBandwidth());
}
