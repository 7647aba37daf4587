#include "emulators/common/program_shell.h"

#include <signal.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>
#include <string>
#include <utility>

namespace emulators {

namespace {

std::atomic<PtyServer*> gServing{nullptr};

void OnStopSignal(int) {
    if (auto* emulator = gServing.load()) emulator->RequestStop();
}

// MHZ:LEVEL:WIDTH_KHZ
std::optional<Signal> ParseSignal(std::string_view text) {
    const size_t first = text.find(':');
    const size_t second = first == text.npos ? text.npos : text.find(':', first + 1);
    if (second == text.npos) return std::nullopt;
    const auto mhz = ParseNumber<double>(text.substr(0, first));
    const auto level = ParseNumber<int>(text.substr(first + 1, second - first - 1));
    const auto khz = ParseNumber<double>(text.substr(second + 1));
    if (!mhz || !level || !khz || *level < 0 || *level > 255 || *khz < 0) return std::nullopt;
    const double hz = std::round(*mhz * 1e6);
    if (hz < 0 || hz > 1e10) return std::nullopt;
    return Signal{static_cast<uint64_t>(hz), *level, static_cast<uint64_t>(std::round(*khz * 1e3))};
}

// "12:34:56.789 > RF0145500000": what the set heard or sent. A byte that is no printable ASCII
// character shows as "\xFE": a line of another protocol's bytes reads as what it is.
void PrintTrace(char direction, std::string_view text) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        char escaped[8];
        if (byte >= 0x20 && byte < 0x7F)
            shown += c;
        else if (std::snprintf(escaped, sizeof escaped, "\\x%02X", byte) > 0)
            shown += escaped;
    }
    std::fprintf(stderr, "%02d:%02d:%02d.%03d %c %s\n", local.tm_hour, local.tm_min, local.tm_sec,
                 static_cast<int>(millis), direction, shown.c_str());
}

const ProgramOption* Find(std::span<const ProgramOption> options, std::string_view name) {
    for (const ProgramOption& option : options)
        if (option.name == name) return &option;
    return nullptr;
}

}  // namespace

std::optional<int> ProgramShell::ReadOptions(int argc, char** argv,
                                             std::span<const ProgramOption> own) {
    const ProgramOption shared[] = {
        {"--link", true,
         [&](std::string_view path) {
             link_ = path;
             return true;
         }},
        {"--noise", true,
         [&](std::string_view text) {
             const auto level = ParseNumber<int>(text);
             if (!level || *level < 0 || *level > 255) return false;
             plan_.noiseFloor = *level;
             return true;
         }},
        {"--silent", false,
         [&](std::string_view) {
             silent_ = true;
             return true;
         }},
        {"--trace", false,
         [&](std::string_view) {
             trace_ = true;
             return true;
         }},
        {"--signal", true,
         [&](std::string_view text) {
             const auto signal = ParseSignal(text);
             if (!signal) return false;
             if (!std::exchange(ownSignals_, true)) plan_.signals.clear();
             plan_.signals.push_back(*signal);
             return true;
         }},
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--help") {
            PrintUsage();
            return 0;
        }
        const ProgramOption* option = Find(shared, name);
        if (!option) option = Find(own, name);
        const bool complete = option && (!option->takesValue || i + 1 < argc);
        if (!complete || !option->take(option->takesValue ? argv[++i] : "")) {
            std::fprintf(stderr, "%s: bad or incomplete option %.*s\n", name_.c_str(),
                         static_cast<int>(name.size()), name.data());
            PrintUsage();
            return 1;
        }
    }
    return std::nullopt;
}

Trace ProgramShell::TraceOrNone() const {
    return trace_ ? Trace(PrintTrace) : Trace();
}

bool ProgramShell::SignalsReceived(std::string_view model,
                                   const std::function<bool(uint64_t hz)>& receives) const {
    for (const Signal& signal : plan_.signals) {
        if (receives(signal.frequencyHz)) continue;
        std::fprintf(stderr, "%s: the %.*s does not receive %.4f MHz\n", name_.c_str(),
                     static_cast<int>(model.size()), model.data(),
                     static_cast<double>(signal.frequencyHz) / 1e6);
        return false;
    }
    return true;
}

int ProgramShell::Serve(const std::function<std::unique_ptr<PtyServer>()>& make,
                        const std::string& banner, const std::string& details) const {
    try {
        const std::unique_ptr<PtyServer> emulator = make();
        if (silent_) emulator->SetSilent(true);
        if (!link_.empty()) emulator->LinkAs(link_);

        gServing = emulator.get();
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);

        std::printf("%s\n", emulator->SlavePath().c_str());
        std::fflush(stdout);
        std::fprintf(stderr, "%s on %s%s%s%s%s%s; stop with Ctrl+C.\n", banner.c_str(),
                     emulator->SlavePath().c_str(), link_.empty() ? "" : ", linked as ",
                     link_.c_str(), details.empty() ? "" : ", ", details.c_str(),
                     silent_ ? ", silent" : "");
        emulator->Serve();
        gServing = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", name_.c_str(), error.what());
        return 2;
    }
    return 0;
}

void ProgramShell::PrintUsage() const {
    std::fputs(usage_.c_str(), stderr);
}

}  // namespace emulators
