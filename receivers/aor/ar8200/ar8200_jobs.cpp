// The AR8200's job commands 911..934: its own; those both handhelds number alike are the AOR
// core's (aor_jobs.cpp).

#include <span>

#include "receivers/aor/ar8200/ar8200.h"
#include "state/message_bus.h"

namespace {

// Job values of "Выбор VFO" as the catalog names them: "VFO-A" 0, "VFO-B" 1, "VFO" 2.
constexpr int kVfoOfJobValue[] = {AR8200::kVfoA, AR8200::kVfoB, AR8200::kVfoF};

}  // namespace

// Its own beside those both handhelds number alike (AorPanel::ExecuteCommand).
std::span<const JobCommand<AR8200>> AR8200::OwnJobs() {
    // clang-format off
    static constexpr JobCommand<AR8200> kOwnJobs[] = {
        {925, &AR8200::SearchBankCommand},
        {926, &AR8200::TuneChannelCommand},
        {927, &AR8200::WholeMemoryBoxCommand},
        {928, &AR8200::VfoCommand},
        {929, &AR8200::AutoCommand},
        {930, &AR8200::StartScanCommand},
        {931, &AR8200::ScanSettingsCommand},
        {932, &AR8200::SquelchValueCommand},
        {933, &AR8200::VoiceSquelchCommand},
        {934, &AR8200::LevelSquelchCommand},
    };
    // clang-format on
    return kOwnJobs;
}

// Switched on, the selected channel goes into the receiver at once.
void AR8200::DirectWriteSwitched(JobStr& line) {
    if (DirectWrite && !ChannelAt(CurrentBank, SelectedChannel()).Empty())
        Answer(line, SendChannel(CurrentBank, SelectedChannel()));
}

void AR8200::VfoCommand(JobStr& line) {
    const uint32_t value = line.VAL <= 2 ? line.VAL : 0;
    Answer(line, SelectVfo(kVfoOfJobValue[value]));
    if (Reply.State == AorState::Vfo) TakeReceiverState();
    FollowTuning();
    PostToOwner(PostReceiverState);
}

void AR8200::AutoCommand(JobStr& line) {
    Answer(line, SwitchAuto(line.VAL != 0));
    PostToOwner(PostReceiverState);
}

void AR8200::ScanSettingsCommand(JobStr&) {
    PostToOwner(PostOpenScanSettings);
}

void AR8200::SquelchValueCommand(JobStr& line) {
    Answer(line, SetSquelch(line.VAL));
}
