// orvel_startup_bench: the main window's start-up on a program folder holding many stored
// ranges, from the create to the window ready (the journal built and mirrored in the tree
// control, what the start posted served). The ranges are written by the program's own range
// writer, in folders named as the program names new ones; their start frequencies fall in any
// order and often tie, so the journal sorts them as it would an operator's folder.
//
// Usage: orvel_startup_bench [--quick] [Google Benchmark flags]
//   --quick: a small folder, once, to see that it runs (the tests do)

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "app/orvel.h"
#include "state/user_dp.h"
#include "tests/support/program_folder.h"
#include "ui/application.h"
#include "ui/message_box.h"
#include "ui/operator_input.h"
#include "ui/reply_event.h"

namespace {

// Fills the program folder's DP with `count` ranges between 0.1 and 3000 MHz; a fixed seed
// keeps every run on the same folder.
void writeRanges(const ProgramFolder& folder, int count) {
    std::mt19937 random(20010207);
    std::uniform_int_distribution<uint32_t> startKHz(100, 3'000'000);
    std::vector<uint32_t> numbers(3001, 0);  // the next number of each megahertz
    for (int i = 0; i < count; ++i) {
        UserDp range;
        // Whole 25 kHz steps: many ranges share a start.
        range.StartFrequency = startKHz(random) / 25 * 250;
        range.EndFrequency = range.StartFrequency + 10'000;
        range.Step = 250;
        range.Identifier = "Диапазон " + std::to_string(i);
        const uint32_t megahertz = range.StartFrequency / 10'000;
        char name[16];
        std::snprintf(name, sizeof name, "%04u%04u", megahertz, ++numbers[megahertz]);
        range.FolderName = name;
        range.FolderPath = folder.Dir() + "DP/" + name + "/";
        range.FilePath = range.FolderPath + "diap.cfg";
        std::filesystem::create_directories(range.FolderPath);
        if (!range.WriteFile()) throw std::runtime_error("a range was not written");
    }
}

// One start-up to the window ready; false when the journal does not hold every range.
bool startUp(int count, double& seconds) {
    ORVEL orvel;
    const auto begin = std::chrono::steady_clock::now();
    const bool created = orvel.Create();
    ui::ServePending();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const bool complete = created && orvel.store.RangeFolder != nullptr &&
                          orvel.store.RangeFolder->Children().size() == std::size_t(count);
    orvel.Destroy();
    return complete;
}

void BM_StartupWithRanges(benchmark::State& state) {
    const int count = int(state.range(0));
    const ProgramFolder folder;
    writeRanges(folder, count);
    // The files on disk and in the page cache before the clock runs, as for an operator who
    // starts the program again: what the writing left to the kernel would be timed otherwise.
    ::sync();
    const ui::ScriptedMessageBoxes boxes;  // nobody is there to click
    double seconds = 0;
    if (!startUp(count, seconds)) state.SkipWithError("the journal does not hold every range");
    std::vector<double> times;
    for (auto _ : state) {
        if (!startUp(count, seconds)) {
            state.SkipWithError("the journal does not hold every range");
            break;
        }
        state.SetIterationTime(seconds);
        times.push_back(seconds);
    }
    state.SetItemsProcessed(state.iterations() * count);
    // The machine is shared: the median start-up says more than the mean of a few.
    if (!times.empty()) {
        std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
        state.counters["median_ms"] = times[times.size() / 2] * 1000;
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0)
            quick = true;
        else
            args.push_back(argv[i]);
    }
    int count = int(args.size());

    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::ToolkitApplication app(count, args.data());
    ui::Application::InstallFontSubstitutes();

    auto* bench = benchmark::RegisterBenchmark("startup with ranges", BM_StartupWithRanges)
                      ->UseManualTime()
                      ->Unit(benchmark::kMillisecond);
    if (quick)
        bench->Arg(100)->Iterations(1);
    else
        bench->Arg(1'000)->Arg(10'000)->Arg(20'000)->Iterations(5);

    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
