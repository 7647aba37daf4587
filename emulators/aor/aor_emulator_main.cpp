// orvel-aor-emulator: an AOR receiver on a pseudo-terminal, for trying the program without a
// receiver and for looking at what it sends.
//
// Usage: orvel-aor-emulator [options]
//   --model NAME    the receiver: ar5000 (the default; the only one so far).
//   --link PATH     make PATH (for example workspace/COM1) a symbolic link to the emulator's
//                   terminal; a link left over from an earlier run (its device gone, or
//                   another pseudo-terminal) is replaced, anything else at PATH is left alone
//                   and the emulator does not start. The link is removed at exit.
//   --line-rate     answer at the speed the program set on its port, as a real line does
//                   (by default answers leave at once).
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
// What the AR5000 answers is listed in emulators/aor/ar5000_emulator.h.

#include <signal.h>

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "emulators/aor/ar5000_emulator.h"

namespace {

std::atomic<emulators::AorEmulator*> gServing{nullptr};

void OnStopSignal(int) {
    if (auto* emulator = gServing.load()) emulator->RequestStop();
}

struct Model {
    std::string_view name;
    std::string_view title;
    uint64_t lowerHz;
    uint64_t upperHz;
    std::unique_ptr<emulators::AorEmulator> (*make)(emulators::SignalPlan plan);
};

const Model kModels[] = {
    {"ar5000", "AR5000", emulators::Ar5000::kLowerLimitHz, emulators::Ar5000::kUpperLimitHz,
     [](emulators::SignalPlan plan) -> std::unique_ptr<emulators::AorEmulator> {
         return std::make_unique<emulators::Ar5000Emulator>(std::move(plan));
     }},
};

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// MHZ:LEVEL:WIDTH_KHZ, within the model's range.
std::optional<emulators::Signal> ParseSignal(std::string_view text, const Model& model) {
    const size_t first = text.find(':');
    const size_t second = first == text.npos ? text.npos : text.find(':', first + 1);
    if (second == text.npos) return std::nullopt;
    const auto mhz = ParseNumber<double>(text.substr(0, first));
    const auto level = ParseNumber<int>(text.substr(first + 1, second - first - 1));
    const auto khz = ParseNumber<double>(text.substr(second + 1));
    if (!mhz || !level || !khz || *level < 0 || *level > 255 || *khz < 0) return std::nullopt;
    const double hz = std::round(*mhz * 1e6);
    if (hz < static_cast<double>(model.lowerHz) || hz > static_cast<double>(model.upperHz))
        return std::nullopt;
    return emulators::Signal{static_cast<uint64_t>(hz), *level,
                             static_cast<uint64_t>(std::round(*khz * 1e3))};
}

void PrintUsage() {
    std::fputs(
        "Usage: orvel-aor-emulator [--model ar5000] [--link PATH] [--line-rate]\n"
        "                          [--noise LEVEL] [--signal MHZ:LEVEL:WIDTH_KHZ]...\n"
        "An AOR receiver on a pseudo-terminal; prints the terminal's path and serves until\n"
        "interrupted.\n",
        stderr);
}

}  // namespace

int main(int argc, char** argv) {
    const Model* model = &kModels[0];
    std::string link;
    bool lineRate = false;
    emulators::SignalPlan plan = emulators::DefaultSignalPlan();
    std::vector<emulators::Signal> signals;
    std::optional<int> noise;

    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool good = true;
        if (option == "--help") {
            PrintUsage();
            return 0;
        } else if (option == "--line-rate") {
            lineRate = true;
        } else if (option == "--model" && value) {
            model = nullptr;
            for (const Model& known : kModels)
                if (known.name == value) model = &known;
            good = model != nullptr;
            ++i;
        } else if (option == "--link" && value) {
            link = value;
            ++i;
        } else if (option == "--noise" && value) {
            noise = ParseNumber<int>(value);
            good = noise && *noise >= 0 && *noise <= 255;
            ++i;
        } else if (option == "--signal" && value) {
            // Checked against the model's range once all options are in.
            const auto signal = ParseSignal(value, Model{"", "", 0, UINT64_MAX, nullptr});
            good = signal.has_value();
            if (good) signals.push_back(*signal);
            ++i;
        } else {
            good = false;
        }
        if (!good) {
            std::fprintf(stderr, "orvel-aor-emulator: bad or incomplete option %.*s\n",
                         static_cast<int>(option.size()), option.data());
            PrintUsage();
            return 1;
        }
    }
    for (const emulators::Signal& signal : signals)
        if (signal.frequencyHz < model->lowerHz || signal.frequencyHz > model->upperHz) {
            std::fprintf(stderr, "orvel-aor-emulator: a signal outside the %.*s's range\n",
                         static_cast<int>(model->title.size()), model->title.data());
            return 1;
        }
    if (!signals.empty()) plan.signals = signals;
    if (noise) plan.noiseFloor = *noise;

    try {
        const auto emulator = model->make(plan);
        if (!link.empty()) emulator->LinkAs(link);
        emulator->SetLineRate(lineRate);

        gServing = emulator.get();
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);

        std::printf("%s\n", emulator->SlavePath().c_str());
        std::fflush(stdout);
        std::fprintf(stderr, "%.*s emulator on %s%s%s%s; stop with Ctrl+C.\n",
                     static_cast<int>(model->title.size()), model->title.data(),
                     emulator->SlavePath().c_str(), link.empty() ? "" : ", linked as ",
                     link.c_str(), lineRate ? ", at line rate" : "");
        emulator->Serve();
        gServing = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvel-aor-emulator: %s\n", error.what());
        return 2;
    }
    return 0;
}
