// orvel-civ-emulator: an ICOM receiver of the CI-V family on a pseudo-terminal, for trying the
// program without a receiver and for looking at what it sends.
//
// Usage: orvel-civ-emulator [options]
//   --model NAME    ic8500 (the default: IC-R8500, address 4A), ic10 (IC-R10, 52) or ic9000
//                   (IC-R9000, 52).
//   --address HH    the set's CI-V address in two hex digits, as set in its menu.
//   --link PATH     make PATH (for example workspace/COM1) a symbolic link to the emulator's
//                   terminal; a link left over from an earlier run (its device gone, or
//                   another pseudo-terminal) is replaced, anything else at PATH is left alone
//                   and the emulator does not start. The link is removed at exit.
//   --no-echo       answer like the set's direct RS-232 port: no echo of the received frames
//                   (the CI-V bus, the default, echoes every frame).
//   --noise LEVEL   noise floor of the signal plan, 0..255 (default 8).
//   --signal MHZ:LEVEL:WIDTH_KHZ
//                   a carrier of the signal plan: centre in MHz, peak level 0..255, width in
//                   kHz, within the model's range. Repeat for more; the first one replaces the
//                   built-in carriers (101.7, 127.5, 145.5, 156.8 and 433.92 MHz).
//   --announce MS   send the frequency and mode unsolicited (transceive) every MS ms.
//   --help          this text.
//
// The terminal's path goes to standard output (one line) for scripts; everything else to
// standard error. The emulator serves until SIGINT or SIGTERM, then removes its link and
// exits with 0; 1 on a bad option, 2 when the terminal or the link cannot be made.
//
// The set starts switched on at 101.7 MHz WFM, step 10 kHz, attenuator off, AF 128, squelch 0,
// its memory empty. Its squelch opens when the signal plan's level at the tuned frequency is
// above the squelch setting; what each model answers is listed in emulators/civ/civ_profile.h
// and emulators/civ/civ_emulator.h.

#include <signal.h>

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "emulators/civ/civ_emulator.h"

namespace {

std::atomic<emulators::CivEmulator*> gServing{nullptr};

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

// HH: two hex digits.
std::optional<uint8_t> ParseAddress(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 2 || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    // FE and FD frame the bus's frames, E0 is the controller, 00 everyone.
    if (value == 0x00 || value == 0xE0 || value >= 0xFD) return std::nullopt;
    return static_cast<uint8_t>(value);
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
    if (hz < 0 || hz > 1e10) return std::nullopt;
    return emulators::Signal{static_cast<uint64_t>(hz), *level,
                             static_cast<uint64_t>(std::round(*khz * 1e3))};
}

void PrintUsage() {
    std::fputs(
        "Usage: orvel-civ-emulator [--model ic8500|ic10|ic9000] [--address HH]\n"
        "                          [--link PATH] [--no-echo] [--noise LEVEL]\n"
        "                          [--signal MHZ:LEVEL:WIDTH_KHZ]... [--announce MS]\n"
        "An ICOM CI-V receiver (IC-R8500 at 4A unless told) on a pseudo-terminal; prints the\n"
        "terminal's path and serves until interrupted.\n",
        stderr);
}

}  // namespace

int main(int argc, char** argv) {
    std::string link;
    const emulators::CivProfile* profile = &emulators::kIcR8500;
    std::optional<uint8_t> address;
    bool echo = true;
    int announceMs = 0;
    emulators::SignalPlan plan = emulators::DefaultSignalPlan();
    bool ownSignals = false;

    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool good = true;
        if (option == "--help") {
            PrintUsage();
            return 0;
        } else if (option == "--model" && value) {
            profile = emulators::FindCivProfile(value);
            good = profile != nullptr;
            ++i;
        } else if (option == "--address" && value) {
            address = ParseAddress(value);
            good = address.has_value();
            ++i;
        } else if (option == "--no-echo") {
            echo = false;
        } else if (option == "--link" && value) {
            link = value;
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
        } else if (option == "--announce" && value) {
            const auto ms = ParseNumber<int>(value);
            good = ms && *ms > 0;
            if (good) announceMs = *ms;
            ++i;
        } else {
            good = false;
        }
        if (!good) {
            std::fprintf(stderr, "orvel-civ-emulator: bad or incomplete option %.*s\n",
                         static_cast<int>(option.size()), option.data());
            PrintUsage();
            return 1;
        }
    }

    for (const emulators::Signal& signal : plan.signals) {
        if (!profile->InRange(signal.frequencyHz)) {
            std::fprintf(stderr, "orvel-civ-emulator: the %.*s does not receive %.4f MHz\n",
                         static_cast<int>(profile->model.size()), profile->model.data(),
                         static_cast<double>(signal.frequencyHz) / 1e6);
            return 1;
        }
    }

    try {
        emulators::CivEmulator emulator(*profile, plan);
        if (address) emulator.SetAddress(*address);
        if (!link.empty()) emulator.LinkAs(link);
        emulator.SetEcho(echo);
        emulator.SetAnnounceInterval(std::chrono::milliseconds(announceMs));

        gServing = &emulator;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);

        std::printf("%s\n", emulator.SlavePath().c_str());
        std::fflush(stdout);
        std::fprintf(stderr, "%.*s emulator at %02X on %s%s%s, %s; stop with Ctrl+C.\n",
                     static_cast<int>(profile->model.size()), profile->model.data(),
                     emulator.Address(), emulator.SlavePath().c_str(),
                     link.empty() ? "" : ", linked as ", link.c_str(),
                     echo ? "CI-V bus with echo" : "no echo");
        emulator.Serve();
        gServing = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvel-civ-emulator: %s\n", error.what());
        return 2;
    }
    return 0;
}
