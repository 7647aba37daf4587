// orvel-pcr-emulator: an ICOM IC-PCR1000 on a pseudo-terminal, for trying the program without
// a receiver and for looking at what it sends.
//
// Usage: orvel-pcr-emulator [options]
//   --link PATH     make PATH (for example workspace/COM1) a symbolic link to the emulator's
//                   terminal; a link left over from an earlier run (its device gone, or
//                   another pseudo-terminal) is replaced, anything else at PATH is left alone
//                   and the emulator does not start. The link is removed at exit.
//   --speed N       the line speed the set starts at: 300, 1200, 4800, 9600 (the default, the
//                   set's own power-up speed), 19200 or 38400, as an earlier session left it.
//   --on            the set starts switched on (by default it is off and reports H100).
//   --noise LEVEL   noise floor of the signal plan, 0..255 (default 8).
//   --signal MHZ:LEVEL:WIDTH_KHZ
//                   a carrier of the signal plan: centre in MHz, peak level 0..255, width in
//                   kHz. Repeat for more; the first one replaces the built-in carriers (101.7,
//                   127.5, 145.5, 156.8 and 433.92 MHz).
//   --help          this text.
//
// The terminal's path goes to standard output (one line) for scripts; everything else to
// standard error. The emulator serves until SIGINT or SIGTERM, then removes its link and
// exits with 0; 1 on a bad option, 2 when the terminal or the link cannot be made.
//
// What the set answers is listed in emulators/pcr/pcr1000_emulator.h. The program must set
// its end of the line to the set's speed: at another speed the set hears noise.

#include <signal.h>

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "emulators/pcr/pcr1000_emulator.h"

namespace {

using emulators::Pcr1000Emulator;

std::atomic<Pcr1000Emulator*> gServing{nullptr};

void OnStopSignal(int) {
    if (auto* emulator = gServing.load()) emulator->RequestStop();
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// MHZ:LEVEL:WIDTH_KHZ
std::optional<emulators::Signal> ParseSignal(std::string_view text) {
    const size_t first = text.find(':');
    const size_t second = first == text.npos ? text.npos : text.find(':', first + 1);
    if (second == text.npos) return std::nullopt;
    const auto mhz = ParseNumber<double>(text.substr(0, first));
    const auto level = ParseNumber<int>(text.substr(first + 1, second - first - 1));
    const auto khz = ParseNumber<double>(text.substr(second + 1));
    if (!mhz || !level || !khz || *level < 0 || *level > 255 || *khz < 0) return std::nullopt;
    const double hz = std::round(*mhz * 1e6);
    if (hz < Pcr1000Emulator::kLowerLimitHz || hz > Pcr1000Emulator::kUpperLimitHz)
        return std::nullopt;
    return emulators::Signal{static_cast<uint64_t>(hz), *level,
                             static_cast<uint64_t>(std::round(*khz * 1e3))};
}

void PrintUsage() {
    std::fputs(
        "Usage: orvel-pcr-emulator [--link PATH] [--speed N] [--on] [--noise LEVEL]\n"
        "                          [--signal MHZ:LEVEL:WIDTH_KHZ]...\n"
        "An IC-PCR1000 on a pseudo-terminal; prints the terminal's path and serves until\n"
        "interrupted.\n",
        stderr);
}

}  // namespace

int main(int argc, char** argv) {
    std::string link;
    uint32_t speed = Pcr1000Emulator::kPowerUpSpeed;
    bool on = false;
    emulators::SignalPlan plan = emulators::DefaultSignalPlan();
    bool ownSignals = false;

    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool good = true;
        if (option == "--help") {
            PrintUsage();
            return 0;
        } else if (option == "--on") {
            on = true;
        } else if (option == "--link" && value) {
            link = value;
            ++i;
        } else if (option == "--speed" && value) {
            const auto bits = ParseNumber<uint32_t>(value);
            good = bits.has_value();
            if (good) speed = *bits;
            ++i;
        } else if (option == "--noise" && value) {
            const auto level = ParseNumber<int>(value);
            good = level && *level >= 0 && *level <= 255;
            if (good) plan.noiseFloor = *level;
            ++i;
        } else if (option == "--signal" && value) {
            const auto signal = ParseSignal(value);
            good = signal.has_value();
            if (good) {
                if (!ownSignals) plan.signals.clear();
                ownSignals = true;
                plan.signals.push_back(*signal);
            }
            ++i;
        } else {
            good = false;
        }
        if (!good) {
            std::fprintf(stderr, "orvel-pcr-emulator: bad or incomplete option %.*s\n",
                         static_cast<int>(option.size()), option.data());
            PrintUsage();
            return 1;
        }
    }

    try {
        Pcr1000Emulator emulator(plan);
        if (!emulator.SetLineSpeedByHand(speed)) {
            std::fprintf(stderr, "orvel-pcr-emulator: the set has no speed of %u baud\n", speed);
            PrintUsage();
            return 1;
        }
        if (on) emulator.SwitchPowerByHand(true);
        if (!link.empty()) emulator.LinkAs(link);

        gServing = &emulator;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);

        std::printf("%s\n", emulator.SlavePath().c_str());
        std::fflush(stdout);
        std::fprintf(stderr,
                     "IC-PCR1000 emulator on %s%s%s at %u baud, switched %s; stop with Ctrl+C.\n",
                     emulator.SlavePath().c_str(), link.empty() ? "" : ", linked as ", link.c_str(),
                     speed, on ? "on" : "off");
        emulator.Serve();
        gServing = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvel-pcr-emulator: %s\n", error.what());
        return 2;
    }
    return 0;
}
