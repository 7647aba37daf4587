// orvel_startup_bench: the main window's start-up on a program folder holding many stored
// ranges, and on one holding as many groups of those ranges, from the create to the window ready
// (the journal built and mirrored in the tree control, what the start posted served). The ranges
// and groups are written by the program's own writers, in folders named as the program names new
// ones; the ranges' start frequencies fall in any order and often tie, so the journal sorts them
// as it would an operator's folder.
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
#include "state/user_grp.h"
#include "tests/support/program_folder.h"
#include "ui/application.h"
#include "ui/message_box.h"
#include "ui/operator_input.h"
#include "ui/reply_event.h"

namespace {

// Fills the program folder's DP with `count` ranges between 0.1 and 3000 MHz; a fixed seed
// keeps every run on the same folder. Returns the ranges' folder names.
std::vector<std::string> writeRanges(const ProgramFolder& folder, int count) {
    std::vector<std::string> folders;
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
        folders.push_back(name);
    }
    return folders;
}

// Fills the program folder's GRP with `count` groups of kRangesPerGroup ranges each, drawn from
// the `ranges` that writeRanges wrote; a group names its ranges by identifier, as the program
// writes them, but for one named by its folder, as a group file may.
constexpr int kRangesPerGroup = 4;

void writeGroups(const ProgramFolder& folder, int count, const std::vector<std::string>& ranges) {
    std::mt19937 random(20010208);
    std::uniform_int_distribution<std::size_t> rangeOf(0, ranges.size() - 1);
    for (int i = 0; i < count; ++i) {
        UserGrp group;
        group.Identifier = "Группа " + std::to_string(i);
        for (int k = 1; k < kRangesPerGroup; ++k)
            group.Ranges.push_back("Диапазон " + std::to_string(rangeOf(random)));
        group.Ranges.push_back(ranges[rangeOf(random)]);
        char name[16];
        std::snprintf(name, sizeof name, "%04d", i + 1);
        group.FolderName = name;
        group.FilePath = folder.Dir() + "GRP/" + name + "/grp.cfg";
        std::filesystem::create_directories(folder.Dir() + "GRP/" + name);
        if (!group.WriteFile()) throw std::runtime_error("a group was not written");
    }
}

// One start-up to the window ready; false when the journal does not hold every range (and
// every group, with a row for each range it names).
bool startUp(int count, double& seconds, int groups = 0) {
    ORVEL orvel;
    const auto begin = std::chrono::steady_clock::now();
    const bool created = orvel.Create();
    ui::ServePending();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    bool complete = created && orvel.store.RangeFolder != nullptr &&
                    orvel.store.RangeFolder->Children().size() == std::size_t(count) &&
                    orvel.store.GroupFolder != nullptr &&
                    orvel.store.GroupFolder->Children().size() == std::size_t(groups);
    // Its date and time, then a row for each range.
    for (std::size_t i = 0; complete && i < std::size_t(groups); ++i)
        complete = orvel.store.GroupFolder->Children()[i]->Children().size() ==
                   std::size_t(2 + kRangesPerGroup);
    orvel.Destroy();
    return complete;
}

// Times start-ups on a folder of `ranges` ranges and `groups` groups.
void timeStartups(benchmark::State& state, int ranges, int groups) {
    const ProgramFolder folder;
    writeGroups(folder, groups, writeRanges(folder, ranges));
    // The files on disk and in the page cache before the clock runs, as for an operator who
    // starts the program again: what the writing left to the kernel would be timed otherwise.
    ::sync();
    const ui::ScriptedMessageBoxes boxes;  // nobody is there to click
    double seconds = 0;
    const char* incomplete = "the journal does not hold every range and group";
    if (!startUp(ranges, seconds, groups)) state.SkipWithError(incomplete);
    std::vector<double> times;
    for (auto _ : state) {
        if (!startUp(ranges, seconds, groups)) {
            state.SkipWithError(incomplete);
            break;
        }
        state.SetIterationTime(seconds);
        times.push_back(seconds);
    }
    state.SetItemsProcessed(state.iterations() * (ranges + groups));
    // The machine is shared: the median start-up says more than the mean of a few.
    if (!times.empty()) {
        std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
        state.counters["median_ms"] = times[times.size() / 2] * 1000;
    }
}

void BM_StartupWithRanges(benchmark::State& state) {
    timeStartups(state, int(state.range(0)), 0);
}

// As many groups as ranges, each naming a few of them: the journal finds each group's ranges
// to show them under it.
void BM_StartupWithGroups(benchmark::State& state) {
    timeStartups(state, int(state.range(0)), int(state.range(0)));
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

    auto* ranges = benchmark::RegisterBenchmark("startup with ranges", BM_StartupWithRanges)
                       ->UseManualTime()
                       ->Unit(benchmark::kMillisecond);
    auto* groups = benchmark::RegisterBenchmark("startup with groups", BM_StartupWithGroups)
                       ->UseManualTime()
                       ->Unit(benchmark::kMillisecond);
    if (quick) {
        ranges->Arg(100)->Iterations(1);
        groups->Arg(100)->Iterations(1);
    } else {
        ranges->Arg(1'000)->Arg(10'000)->Arg(20'000)->Iterations(5);
        groups->Arg(1'000)->Arg(10'000)->Arg(25'000)->Iterations(5);
    }

    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
