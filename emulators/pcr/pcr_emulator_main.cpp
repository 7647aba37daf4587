// orvel-pcr-emulator: an ICOM IC-PCR1000 on a pseudo-terminal, for trying the program without
// a receiver and for looking at what it sends.
//
// Usage: orvel-pcr-emulator [options]; besides those of every emulator program (--link,
// --silent, --noise, --signal, --trace, --help: emulators/common/program_shell.h)
//   --speed N       the line speed the set starts at: 300, 1200, 4800, 9600 (the default, the
//                   set's own power-up speed), 19200 or 38400, as an earlier session left it.
//   --on            the set starts switched on (by default it is off and reports H100).
//
// What the set answers is listed in emulators/pcr/pcr1000_emulator.h. The program must set
// its end of the line to the set's speed: at another speed the set hears noise.

#include <memory>
#include <string>
#include <string_view>

#include "emulators/common/program_shell.h"
#include "emulators/pcr/pcr1000_emulator.h"

namespace {

using emulators::Pcr1000Emulator;

constexpr char kUsage[] =
    "Usage: orvel-pcr-emulator [--link PATH] [--speed N] [--on] [--trace] [--silent]\n"
    "                          [--noise LEVEL] [--signal MHZ:LEVEL:WIDTH_KHZ]...\n"
    "An IC-PCR1000 on a pseudo-terminal; prints the terminal's path and serves until\n"
    "interrupted.\n";

}  // namespace

int main(int argc, char** argv) {
    uint32_t speed = Pcr1000Emulator::kPowerUpSpeed;
    bool on = false;
    const emulators::ProgramOption own[] = {
        {"--speed", true,
         [&](std::string_view text) {
             const auto bits = emulators::ParseNumber<uint32_t>(text);
             if (!bits || !Pcr1000Emulator::HasLineSpeed(*bits)) return false;
             speed = *bits;
             return true;
         }},
        {"--on", false,
         [&](std::string_view) {
             on = true;
             return true;
         }},
    };

    emulators::ProgramShell shell("orvel-pcr-emulator", kUsage);
    if (const auto exit = shell.ReadOptions(argc, argv, own)) return *exit;
    if (!shell.SignalsReceived("IC-PCR1000", [](uint64_t hz) {
            return hz >= Pcr1000Emulator::kLowerLimitHz && hz <= Pcr1000Emulator::kUpperLimitHz;
        }))
        return 1;

    const std::string details =
        "at " + std::to_string(speed) + " baud, switched " + (on ? "on" : "off");
    return shell.Serve(
        [&] {
            auto emulator = std::make_unique<Pcr1000Emulator>(shell.Plan());
            emulator->SetLineSpeedByHand(speed);
            if (on) emulator->SwitchPowerByHand(true);
            emulator->SetTrace(shell.TraceOrNone());
            return emulator;
        },
        "IC-PCR1000 emulator", details);
}
