// orvel_memory_read_bench: the read of an AOR set's whole memory, as the panel's read button
// with the whole-memory box ticked does it, through the main window, the real serial layer and
// a pseudo-terminal, against the emulated receiver answering at its line's speed: every byte
// takes its time, 19200 baud for the AR5000 and the AR8200, 9600 for the AR8000 and 9600 with
// two stop bits for the AR3000A. The set holds something in every other channel and search
// bank.
//
// For each model it reports the bytes on the line both ways, the seconds the read takes, and
// the seconds those bytes alone take on the line.
//
// Usage: orvel_memory_read_bench [--quick] [model ...]   (--quick: the set answers at once, to
// see that it runs; models by their names, "AR8000": only those)

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/orvel.h"
#include "emulators/aor/ar3000a_emulator.h"
#include "emulators/aor/ar5000_emulator.h"
#include "emulators/aor/ar8000_emulator.h"
#include "emulators/aor/ar8200_emulator.h"
#include "receivers/aor/aor_panel.h"
#include "receivers/aor/ar3000a/ar3000a.h"
#include "receivers/aor/ar8000/ar8000.h"
#include "receivers/aor/ar8200/ar8200.h"
#include "receivers/panel_registry.h"
#include "ui/application.h"
#include "ui/message_box.h"
#include "ui/operator_input.h"

namespace {

// A model as the bench runs it.
struct Model {
    const char* name;
    const char* receiver;  // the model's name in the registry (ORVEL.INI's RECV)
    int speed;             // ORVEL.INI's SPEED
    int baud;
    int bitsPerByte;  // start, data and stop bits
};

constexpr Model kAr5000{"AR5000", "AR-5000", 5, 19200, 10};
constexpr Model kAr8200{"AR8200", "AR-8200", 5, 19200, 10};
constexpr Model kAr8000{"AR8000", "AR-8000", 4, 9600, 10};
constexpr Model kAr3000a{"AR3000A", "AR-3000A", 4, 9600, 11};

int32_t ConfiguredType(const Model& model) {
    for (const PanelModel& row : panel_registry::Models())
        if (std::string_view(row.name) == model.receiver) return row.configuredType;
    return 0;
}

// Every other channel and search bank of a set of the line link holds something.
void Fill(emulators::AorSetEmulator& emulator, int banks, int channels, int searchBanks,
          std::size_t labelWidth) {
    for (int bank = 0; bank < banks; ++bank)
        for (int channel = 0; channel < channels; channel += 2) {
            const std::string label = "K" + std::to_string(channel);
            emulator.SetChannel(
                bank, channel,
                {100'000'000 + uint64_t(bank * channels + channel) * 25'000,
                 emulators::AorSettings{}, std::string(labelWidth - label.size(), ' ') + label});
        }
    for (int bank = 0; bank < searchBanks; bank += 2)
        emulator.SetSearchBank(
            bank, {uint64_t(100'000'000 + bank * 1'000'000),
                   uint64_t(100'500'000 + bank * 1'000'000), emulators::AorSettings{}, "S"});
}

void Fill(emulators::Ar3000aEmulator& emulator) {
    for (int bank = 0; bank < emulators::Ar3000a::kBanks; ++bank)
        for (int channel = 0; channel < emulators::Ar3000a::kChannels; channel += 2)
            emulator.SetChannel(bank, channel,
                                {100'000'000 + uint64_t(bank * 100 + channel) * 25'000});
}

// The panel's read of the whole memory; false when the panel is not an AOR set's.
bool ReadWholeMemory(ReceiverPanel* panel) {
    if (auto* line = dynamic_cast<AorPanel*>(panel)) {
        line->WholeMemory = true;
        line->ReadAllBanks();
        return true;
    }
    if (auto* ar3000a = dynamic_cast<AR3000A*>(panel)) {
        ar3000a->WholeMemory = true;
        ar3000a->ReadBanks();
        return true;
    }
    return false;
}

std::vector<std::string> chosenModels;

template <class Emulator>
bool BenchModel(const Model& model, Emulator& emulator, const std::filesystem::path& folder,
                bool quick) {
    if (!chosenModels.empty() &&
        std::find(chosenModels.begin(), chosenModels.end(), model.name) == chosenModels.end())
        return true;
    emulator.SetLineRate(!quick);
    emulator.Start();
    std::filesystem::remove(folder / "COM1");
    std::filesystem::create_symlink(emulator.SlavePath(), folder / "COM1");
    std::ofstream(folder / "ORVEL.INI", std::ios::binary | std::ios::trunc)
        << "COM=1\r\nSPEED=" << model.speed << "\r\nRECV=" << ConfiguredType(model) << "\r\n";
    ORVEL orvel;
    if (!orvel.Create() || orvel.receiver.Panel() == nullptr) return false;
    ui::ServeFor(1500);  // the start-up synchronisation

    const auto before = emulator.LineTraffic();
    const auto begin = std::chrono::steady_clock::now();
    const bool read = ReadWholeMemory(orvel.receiver.Panel());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const auto after = emulator.LineTraffic();
    ui::ServeFor(200);
    orvel.Destroy();
    emulator.Stop();

    const std::size_t sent = after.fromProgram - before.fromProgram;
    const std::size_t answered = after.toProgram - before.toProgram;
    const double lineSeconds = double(sent + answered) * model.bitsPerByte / model.baud;
    std::printf("| %s | %s | %zu | %zu | %zu | %.1f s | %.1f s |\n", model.name,
                quick ? "at once" : (std::to_string(model.baud) + " baud").c_str(), sent, answered,
                sent + answered, seconds, lineSeconds);
    std::fflush(stdout);
    return read && sent > 0 && answered > 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::string(argv[1]) == "--quick";
    for (int i = quick ? 2 : 1; i < argc; ++i) chosenModels.emplace_back(argv[i]);

    char folderName[] = "/tmp/orvel_memory_read_bench_XXXXXX";
    if (::mkdtemp(folderName) == nullptr) return 2;
    const std::filesystem::path folder = folderName;
    std::filesystem::current_path(folder);

    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::ToolkitApplication app(argc, argv);
    ui::ScriptedMessageBoxes boxes;  // nobody is there to click
    const emulators::SignalPlan plan{20, {}};
    std::printf(
        "| model | line | bytes sent | bytes answered | bytes in all | read | "
        "line time of the bytes |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    int status = 0;
    {
        emulators::Ar5000Emulator ar5000(plan);
        Fill(ar5000, emulators::Ar5000::kMemoryBanks, emulators::Ar5000::kChannels,
             emulators::Ar5000::kSearchBanks, emulators::Ar5000::kLabelWidth);
        if (!BenchModel(kAr5000, ar5000, folder, quick)) status = 1;
    }
    {
        emulators::Ar8200Emulator ar8200(plan);
        Fill(ar8200, emulators::Ar8200::kMemoryBanks, emulators::Ar8200::kChannels,
             emulators::Ar8200::kSearchBanks, AR8200::kLabelWidth);
        if (!BenchModel(kAr8200, ar8200, folder, quick)) status = 1;
    }
    {
        emulators::Ar8000Emulator ar8000(plan);
        Fill(ar8000, emulators::Ar8000::kBanks, emulators::Ar8000::kChannels,
             emulators::Ar8000::kBanks, AR8000::kLabelWidth);
        if (!BenchModel(kAr8000, ar8000, folder, quick)) status = 1;
    }
    {
        emulators::Ar3000aEmulator ar3000a(plan);
        Fill(ar3000a);
        if (!BenchModel(kAr3000a, ar3000a, folder, quick)) status = 1;
    }
    std::error_code ignored;
    std::filesystem::current_path("/", ignored);
    std::filesystem::remove_all(folder, ignored);
    return status;
}
