// The AR8000's job commands 211..228: its own; those both handhelds number alike are the AOR
// core's (aor_jobs.cpp).

#include <span>

#include "receivers/aor/ar8000/ar8000.h"

// Its own beside those both handhelds number alike (AorPanel::ExecuteCommand).
std::span<const JobCommand<AR8000>> AR8000::OwnJobs() {
    // clang-format off
    static constexpr JobCommand<AR8000> kOwnJobs[] = {
        {225, &AR8000::TuneChannelCommand},
        {226, &AR8000::WholeMemoryBoxCommand},
        {227, &AR8000::VfoCommand},
        {228, &AR8000::AutoCommand},
    };
    // clang-format on
    return kOwnJobs;
}

void AR8000::VfoCommand(JobStr& line) {
    Answer(line, SwitchVfo());
}

void AR8000::AutoCommand(JobStr& line) {
    Answer(line, ChooseAuto(line.VAL != 0));
}
