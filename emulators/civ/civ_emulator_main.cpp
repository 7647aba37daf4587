// orvel-civ-emulator: an ICOM receiver of the CI-V family on a pseudo-terminal, for trying the
// program without a receiver and for looking at what it sends.
//
// Usage: orvel-civ-emulator [options]; besides those of every emulator program (--link,
// --silent, --noise, --signal, --trace, --help: emulators/common/program_shell.h)
//   --model NAME    ic8500 (the default: IC-R8500, address 4A), ic10 (IC-R10, 52), ic9000
//                   (IC-R9000, 52), ic756 (IC-756PRO, 5C) or ic75 (IC-R75, 5A).
//   --address HH    the set's CI-V address in two hex digits, as set in its menu.
//   --no-echo       answer like the set's direct RS-232 port: no echo of the received frames
//                   (the CI-V bus, the default, echoes every frame).
//   --announce MS   send the frequency and mode unsolicited (transceive) every MS ms.
//
// The set starts switched on (the IC-R8500 at 101.7 MHz WFM, the IC-756PRO at 14.2 MHz USB, the
// IC-R75 at 9.65 MHz AM), attenuator off, AF 128, squelch 0, its memory empty. The two HF sets
// have carriers of their own on the short waves (6.055, 9.65, 14.2, 21.5 and 27.185 MHz) unless
// --signal names others. Its squelch opens when the signal plan's level at the tuned frequency is
// above the squelch setting; what each model answers is listed in emulators/civ/civ_profile.h
// and emulators/civ/civ_emulator.h.

#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

#include "emulators/civ/civ_emulator.h"
#include "emulators/common/program_shell.h"

namespace {

// HH: two hex digits.
std::optional<uint8_t> ParseAddress(std::string_view text) {
    const auto value = text.size() == 2 ? emulators::ParseNumber<unsigned>(text, 16) : std::nullopt;
    // FE and FD frame the bus's frames, E0 is the controller, 00 everyone.
    if (!value || *value == 0x00 || *value == 0xE0 || *value >= 0xFD) return std::nullopt;
    return static_cast<uint8_t>(*value);
}

constexpr char kUsage[] =
    "Usage: orvel-civ-emulator [--model ic8500|ic10|ic9000|ic756|ic75] [--address HH]\n"
    "                          [--link PATH] [--no-echo] [--announce MS] [--trace] [--silent]\n"
    "                          [--noise LEVEL] [--signal MHZ:LEVEL:WIDTH_KHZ]...\n"
    "An ICOM CI-V receiver (IC-R8500 at 4A unless told) on a pseudo-terminal; prints the\n"
    "terminal's path and serves until interrupted.\n";

}  // namespace

int main(int argc, char** argv) {
    const emulators::CivProfile* profile = &emulators::kIcR8500;
    std::optional<uint8_t> address;
    bool echo = true;
    int announceMs = 0;
    const emulators::ProgramOption own[] = {
        {"--model", true,
         [&](std::string_view name) {
             profile = emulators::FindCivProfile(name);
             return profile != nullptr;
         }},
        {"--address", true,
         [&](std::string_view text) {
             address = ParseAddress(text);
             return address.has_value();
         }},
        {"--no-echo", false,
         [&](std::string_view) {
             echo = false;
             return true;
         }},
        {"--announce", true,
         [&](std::string_view text) {
             const auto ms = emulators::ParseNumber<int>(text);
             if (!ms || *ms <= 0) return false;
             announceMs = *ms;
             return true;
         }},
    };

    emulators::ProgramShell shell("orvel-civ-emulator", kUsage);
    if (const auto exit = shell.ReadOptions(argc, argv, own)) return *exit;
    shell.UseDefaultSignals(profile->DefaultPlan().signals);
    if (!shell.SignalsReceived(profile->model, [&](uint64_t hz) { return profile->InRange(hz); }))
        return 1;
    if (!address) address = profile->defaultAddress;

    char banner[64];
    std::snprintf(banner, sizeof banner, "%.*s emulator at %02X",
                  static_cast<int>(profile->model.size()), profile->model.data(), *address);
    return shell.Serve(
        [&] {
            auto emulator = std::make_unique<emulators::CivEmulator>(*profile, shell.Plan());
            emulator->SetAddress(*address);
            emulator->SetEcho(echo);
            emulator->SetAnnounceInterval(std::chrono::milliseconds(announceMs));
            emulator->SetTrace(shell.TraceOrNone());
            return emulator;
        },
        banner, echo ? "CI-V bus with echo" : "no echo");
}
