// orvel-aor-emulator: an AOR receiver on a pseudo-terminal, for trying the program without a
// receiver and for looking at what it sends.
//
// Usage: orvel-aor-emulator [options]; besides those of every emulator program (--link,
// --silent, --noise, --signal, --trace, --help: emulators/common/program_shell.h)
//   --model NAME    the receiver: ar5000 (the default), ar8200, ar8600, ar8000 or ar3000a.
//   --line-rate     answer at the speed the program set on its port, as a real line does
//                   (by default answers leave at once).
//   --refuse TOKENS answer "?" to every line whose command is one of the comma-separated
//                   tokens ("MX,SE"), as a set that will not take them.
//   --terse         (ar8200, ar8600) answer as tersely as the set may: a memory read that
//                   names a bank or a channel with an empty line, an empty search bank with a
//                   bare "---".
//   --silent-after LINES
//                   answer that many command lines, then nothing more, as a set unplugged or
//                   switched off part-way through (a read of its memory, a scan).
//   --silent-for SECONDS
//                   with --silent-after: the silence lasts that long, then the set answers
//                   again, as one plugged in again.
//   --garble COMMANDS[:COUNT]
//                   answer the lines of the comma-separated commands ("MR,SR"; the AR3000A's
//                   by their letter, "Z") with line noise, as a line that garbles them: the
//                   first COUNT such lines, or every one.
//
// What each answers is listed in emulators/aor/aor_set.h and in the model's own header
// (ar5000_emulator.h, ar8200_emulator.h, ar8000_emulator.h, ar3000a_emulator.h). The AR3000A
// needs a line of two stop bits: on one it answers nothing and says so on standard error.

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/aor/ar3000a_emulator.h"
#include "emulators/aor/ar5000_emulator.h"
#include "emulators/aor/ar8000_emulator.h"
#include "emulators/aor/ar8200_emulator.h"
#include "emulators/common/program_shell.h"

namespace {

struct Model {
    std::string_view name;
    std::string_view title;
    uint64_t lowerHz;
    uint64_t upperHz;
    std::unique_ptr<emulators::AorEmulator> (*make)(emulators::SignalPlan plan);
};

template <typename Emulator, auto... options>
std::unique_ptr<emulators::AorEmulator> Make(emulators::SignalPlan plan) {
    return std::make_unique<Emulator>(std::move(plan), options...);
}

using emulators::Ar3000a;
using emulators::Ar5000;
using emulators::Ar8000;
using emulators::Ar8200;

const Model kModels[] = {
    {"ar5000", "AR5000", Ar5000::kLowerLimitHz, Ar5000::kUpperLimitHz,
     Make<emulators::Ar5000Emulator>},
    {"ar8200", "AR8200", Ar8200::kLowerLimitHz, Ar8200::kUpperLimitHz,
     Make<emulators::Ar8200Emulator, Ar8200::Model::Ar8200>},
    {"ar8600", "AR8600", Ar8200::kLowerLimitHz, Ar8200::kUpperLimitHz,
     Make<emulators::Ar8200Emulator, Ar8200::Model::Ar8600>},
    {"ar8000", "AR8000", Ar8000::kLowerLimitHz, Ar8000::kUpperLimitHz,
     Make<emulators::Ar8000Emulator>},
    {"ar3000a", "AR3000A", Ar3000a::kLowerLimitHz, Ar3000a::kUpperLimitHz,
     Make<emulators::Ar3000aEmulator>},
};

constexpr char kUsage[] =
    "Usage: orvel-aor-emulator [--model ar5000|ar8200|ar8600|ar8000|ar3000a] [--link PATH]\n"
    "                          [--line-rate] [--trace] [--terse] [--refuse TOKENS]\n"
    "                          [--silent] [--silent-after LINES [--silent-for SECONDS]]\n"
    "                          [--garble COMMANDS[:COUNT]]\n"
    "                          [--noise LEVEL] [--signal MHZ:LEVEL:WIDTH_KHZ]...\n"
    "An AOR receiver on a pseudo-terminal; prints the terminal's path and serves until\n"
    "interrupted.\n";

}  // namespace

int main(int argc, char** argv) {
    const Model* model = &kModels[0];
    bool lineRate = false;
    bool terse = false;
    std::optional<size_t> silentAfter;
    std::vector<std::string> refused;
    std::optional<size_t> silentForSeconds;
    std::vector<std::string> garbled;
    std::optional<size_t> garbledCount;
    const auto count = [](std::string_view text, std::optional<size_t>& into) {
        size_t n = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
        into = n;
        return true;
    };
    const auto commands = [](std::string_view text, std::vector<std::string>& into) {
        for (size_t at = 0; at <= text.size();) {
            const size_t comma = std::min(text.find(',', at), text.size());
            if (comma == at) return false;
            into.emplace_back(text.substr(at, comma - at));
            at = comma + 1;
        }
        return true;
    };
    const emulators::ProgramOption own[] = {
        {"--model", true,
         [&](std::string_view name) {
             model = nullptr;
             for (const Model& known : kModels)
                 if (known.name == name) model = &known;
             return model != nullptr;
         }},
        {"--line-rate", false,
         [&](std::string_view) {
             lineRate = true;
             return true;
         }},
        {"--refuse", true, [&](std::string_view tokens) { return commands(tokens, refused); }},
        {"--terse", false,
         [&](std::string_view) {
             terse = true;
             return true;
         }},
        {"--silent-after", true, [&](std::string_view lines) { return count(lines, silentAfter); }},
        {"--silent-for", true,
         [&](std::string_view seconds) { return count(seconds, silentForSeconds); }},
        {"--garble", true,
         [&](std::string_view text) {
             const size_t colon = text.find(':');
             return (colon == text.npos || count(text.substr(colon + 1), garbledCount)) &&
                    commands(text.substr(0, colon), garbled);
         }},
    };

    emulators::ProgramShell shell("orvel-aor-emulator", kUsage);
    if (const auto exit = shell.ReadOptions(argc, argv, own)) return *exit;
    if (silentForSeconds && !silentAfter) {
        std::fprintf(stderr, "orvel-aor-emulator: --silent-for goes with --silent-after\n");
        return 1;
    }
    // Only the AR8200 and the AR8600 answer so tersely.
    if (terse && model->title != "AR8200" && model->title != "AR8600") {
        std::fprintf(stderr, "orvel-aor-emulator: --terse is the AR8200's and AR8600's\n");
        return 1;
    }
    if (!shell.SignalsReceived(model->title, [&](uint64_t hz) {
            return hz >= model->lowerHz && hz <= model->upperHz;
        }))
        return 1;

    const std::string banner = std::string(model->title) + " emulator";
    return shell.Serve(
        [&] {
            auto emulator = model->make(shell.Plan());
            emulator->SetLineRate(lineRate);
            emulator->SetReportLineFaults(true);
            emulator->SetTrace(shell.TraceOrNone());
            if (!refused.empty()) emulator->SetRefused(refused);
            if (silentAfter) {
                std::optional<std::chrono::milliseconds> silentFor;
                if (silentForSeconds) silentFor = std::chrono::seconds(*silentForSeconds);
                emulator->SetSilentAfter(*silentAfter, silentFor);
            }
            if (!garbled.empty()) emulator->SetGarbled(garbled, garbledCount);
            if (terse) {
                auto& set = static_cast<emulators::Ar8200Emulator&>(*emulator);
                set.SetMemoryReadAcknowledged(true);
                set.SetBareEmptySearchBanks(true);
            }
            return emulator;
        },
        banner, lineRate ? "at line rate" : "");
}
