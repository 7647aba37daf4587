// orvel-aor-emulator: an AOR receiver on a pseudo-terminal, for trying the program without a
// receiver and for looking at what it sends.
//
// Usage: orvel-aor-emulator [options]; besides those of every emulator program (--link,
// --noise, --signal, --help: emulators/common/program_shell.h)
//   --model NAME    the receiver: ar5000 (the default; the only one so far).
//   --line-rate     answer at the speed the program set on its port, as a real line does
//                   (by default answers leave at once).
//
// What the AR5000 answers is listed in emulators/aor/ar5000_emulator.h.

#include <memory>
#include <string_view>

#include "emulators/aor/ar5000_emulator.h"
#include "emulators/common/program_shell.h"

namespace {

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

constexpr char kUsage[] =
    "Usage: orvel-aor-emulator [--model ar5000] [--link PATH] [--line-rate]\n"
    "                          [--noise LEVEL] [--signal MHZ:LEVEL:WIDTH_KHZ]...\n"
    "An AOR receiver on a pseudo-terminal; prints the terminal's path and serves until\n"
    "interrupted.\n";

}  // namespace

int main(int argc, char** argv) {
    const Model* model = &kModels[0];
    bool lineRate = false;
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
    };

    emulators::ProgramShell shell("orvel-aor-emulator", kUsage);
    if (const auto exit = shell.ReadOptions(argc, argv, own)) return *exit;
    if (!shell.SignalsReceived(model->title, [&](uint64_t hz) {
            return hz >= model->lowerHz && hz <= model->upperHz;
        }))
        return 1;

    const std::string banner = std::string(model->title) + " emulator";
    return shell.Serve(
        [&] {
            auto emulator = model->make(shell.Plan());
            emulator->SetLineRate(lineRate);
            return emulator;
        },
        banner, lineRate ? "at line rate" : "");
}
