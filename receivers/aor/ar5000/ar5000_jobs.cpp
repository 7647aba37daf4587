// The AR5000's job commands 711..747.

#include <algorithm>
#include <span>

#include "receivers/aor/ar5000/ar5000.h"
#include "state/message_bus.h"

namespace {

constexpr const char* kNoBank = "Не существует указанного банка";
constexpr const char* kNoChannel = "Не существует канала для данного банка";

// A value the panel has no bank, channel or VFO for fails the line and changes nothing.
bool Refuse(JobStr& line, uint32_t last, const char* message) {
    if (line.VAL <= last) return false;
    line.Message = message;
    line.ReturnCode = 2;
    return true;
}

}  // namespace

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
    {719, &AR5000::FixedLeftCommand},
    {720, &AR5000::FixedRightCommand},
    {721, &AR5000::PeakLeftCommand},
    {722, &AR5000::PeakRightCommand},
    {723, &AR5000::ViewStepCommand},
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
    {737, &AR5000::ScanSettingsCommand},
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
    ServeJobLine(*this, std::span<const JobCommand<AR5000>>(kJobCommands));
}

// A setting the receiver refused ("?"), did not answer or that could not go out fails its
// line, so that a COND line after it does not run as after a setting taken.
void AR5000::Answer(JobStr& line, bool taken) {
    if (!taken) AnswerNoAccess(line);
}

void AR5000::ReadBankCommand(JobStr&) {
    ReadCurrentBank();
}

void AR5000::WriteBankCommand(JobStr&) {
    WriteCurrentBank();
}

void AR5000::StoreCommand(JobStr&) {
    StoreCurrentSettings();
}

void AR5000::SearchBankCommand(JobStr& line) {
    if (Refuse(line, kSearchBanks - 1, kNoBank)) return;
    CurrentSearchBank = static_cast<int32_t>(line.VAL);
    ShowSearchBank();
}

void AR5000::VolumeCommand(JobStr& line) {
    Volume = std::min<uint32_t>(line.VAL, 255);
    Answer(line, SendSetting(aor::Format("VL%03u", Volume)));
    ShowSquelch();
}

void AR5000::DirectCommand(JobStr&) {
    DirectWrite = true;
    if (cbank) cbank->SetChecked(true);
}

void AR5000::StopScanCommand(JobStr&) {
    StopOwnScan();
}

void AR5000::DisconnectCommand(JobStr&) {
    if (Port()) Port()->WriteString("QP\r\n");
}

void AR5000::BankCommand(JobStr& line) {
    if (Refuse(line, kBanks - 1, kNoBank)) return;
    CurrentBank = static_cast<int32_t>(line.VAL);
    rows_.clear();  // another bank shows in channel order
    ShowBankList();
}

void AR5000::ChannelCommand(JobStr& line) {
    if (Refuse(line, kChannels - 1, kNoChannel)) return;
    BankPositions[static_cast<std::size_t>(CurrentBank)] = static_cast<int32_t>(line.VAL);
    ShowChannelBoxes();
}

void AR5000::WholeMemoryCommand(JobStr&) {
    WholeMemory = true;
    if (mem) mem->SetChecked(true);
}

void AR5000::VfoCommand(JobStr& line) {
    if (Refuse(line, kVfos - 1, kNoBank)) return;
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

void AR5000::Attenuator0Command(JobStr& line) {
    Answer(line, ChooseAttenuator(0));
}

void AR5000::Attenuator10Command(JobStr& line) {
    Answer(line, ChooseAttenuator(10));
}

void AR5000::Attenuator20Command(JobStr& line) {
    Answer(line, ChooseAttenuator(20));
}

void AR5000::AttenuatorAutoCommand(JobStr& line) {
    Answer(line, ChooseAttenuator(255));
}

void AR5000::NoiseSquelchCommand(JobStr&) {
    ChooseSquelch(Squelch::Noise);
}

void AR5000::LevelSquelchCommand(JobStr&) {
    ChooseSquelch(Squelch::Level);
}

void AR5000::VoiceSquelchCommand(JobStr&) {
    ChooseSquelch(Squelch::Voice);
}

void AR5000::SquelchLevelCommand(JobStr& line) {
    const uint32_t value = std::min<uint32_t>(line.VAL, 255);
    VoiceSquelch = LevelSquelch = NoiseSquelch = value;
    bool taken = SendSetting(aor::Format("DA%03u", value));
    taken = SendSetting(aor::Format("DB%03u", value)) && taken;
    taken = SendSetting(aor::Format("RQ%03u", value)) && taken;
    Answer(line, taken);
    ShowSquelch();
}

void AR5000::ScanSettingsCommand(JobStr&) {
    PostToOwner(PostOpenScanSettings);
}

void AR5000::ExtraFunctionsCommand(JobStr&) {
    PostToOwner(PostOpenExtraFunctions);
}

void AR5000::StartScanCommand(JobStr&) {
    StartOwnScan();
}

void AR5000::BandwidthCommand(JobStr& line) {
    Bandwidth = static_cast<int32_t>(std::min<uint32_t>(line.VAL, 2200));
    Answer(line, SendBandwidth());
}

void AR5000::Antenna1Command(JobStr& line) {
    Answer(line, SendText("AN1"));
}

void AR5000::Antenna2Command(JobStr& line) {
    Answer(line, SendText("AN2"));
}

void AR5000::Antenna3Command(JobStr& line) {
    Answer(line, SendText("AN3"));
}

void AR5000::Antenna4Command(JobStr& line) {
    Answer(line, SendText("AN4"));
}

void AR5000::IfOffCommand(JobStr& line) {
    Answer(line, SendText("AI0"));
}

void AR5000::If1Command(JobStr& line) {
    Answer(line, SendText("AI1"));
}

void AR5000::If2Command(JobStr& line) {
    Answer(line, SendText("AI2"));
}
