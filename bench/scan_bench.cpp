// orvel_scan_bench: the rate of a range scan through the real serial layer, end to end: the
// main window's scan engine, the receiver panel, the serial port with its reader thread and a
// pseudo-terminal, and the emulated receiver in a process of its own (so that the CPU time
// measured is the program's alone). It runs each model of the table below in turn.
//
// For ranges of 1,000 and 100,000 points (the IC-R10 only 1,000; the HF sets from 5 MHz, the
// others from 100 MHz) it reports, with the emulator answering at once: steps per second, the
// program's CPU time per step and its peak memory;
// and with the emulator's line-rate mode (every byte takes its time at the line's speed: 38400
// baud for the IC-PCR1000, 9600 with two stop bits for the AR3000A, 9600 for the AR8000, 19200
// for the others) the share of the rate the line allows that the scan reaches. For the IC-R8500 also the read-back of its AUTO bank when its own scan
// stops; for the IC-PCR1000 a scale scan with its band scope: 32 level cells a step, against
// the cells per second the line allows.
//
// Usage: orvel_scan_bench [--quick] [model ...]   (--quick: a few steps each, to see that it
// runs; models by their names, "AR8200": only those)

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/orvel.h"
#include "emulators/aor/ar3000a_emulator.h"
#include "emulators/aor/ar5000_emulator.h"
#include "emulators/aor/ar8000_emulator.h"
#include "emulators/aor/ar8200_emulator.h"
#include "emulators/civ/civ_emulator.h"
#include "emulators/pcr/pcr1000_emulator.h"
#include "receivers/icom/ic8500/ic8500.h"
#include "receivers/panel_registry.h"
#include "state/message_bus.h"
#include "ui/application.h"
#include "ui/message_box.h"
#include "ui/operator_input.h"
#include "ui/reply_event.h"

namespace {

constexpr int kBitsPerByte = 10;  // 8N1

// A model as the bench runs it.
struct Model {
    const char* name;
    const char* receiver;  // the model's name in the registry (ORVEL.INI's RECV)
    int speed;             // ORVEL.INI's SPEED
    int baud;              // of the line in line-rate mode
    int bitsPerByte;       // start, data and stop bits
    int bytesPerStep;      // of a range scan's step, both ways
    int syncMs;            // the panel's start-up synchronisation runs out within this
    bool longRange;        // a range of 100,000 points is timed too
    bool readBack;         // the read-back of the receiver's own scan is timed too
    bool bandScope;        // a scale scan with the band scope is timed too
    // Where the ranges begin, 100 Hz units (100 MHz).
    uint32_t rangeStart = 1'000'000;
};
// One step of an IC-R8500 scan on the line: the frequency set (its echo 11 bytes and the
// acknowledgement 6), the squelch query (7 and 8) and the level query (7 and 9).
constexpr Model kIcR8500{.name = "IC-R8500",
                         .receiver = "IC-R8500",
                         .speed = 5,
                         .baud = 19200,
                         .bitsPerByte = kBitsPerByte,
                         .bytesPerStep = 11 + 6 + 7 + 8 + 7 + 9,
                         .syncMs = 1500,
                         .longRange = true,
                         .readBack = true,
                         .bandScope = false};
// The IC-R10 has no squelch query: the frequency set and the level query.
constexpr Model kIcR10{.name = "IC-R10",
                       .receiver = "IC-R10",
                       .speed = 5,
                       .baud = 19200,
                       .bitsPerByte = kBitsPerByte,
                       .bytesPerStep = 11 + 6 + 7 + 9,
                       .syncMs = 1500,
                       .longRange = false,
                       .readBack = false,
                       .bandScope = false};
// The HF sets step as the IC-R8500 does; their ranges begin at 5 MHz.
constexpr Model kIc756Pro{.name = "IC-756PRO",
                          .receiver = "IC-756PRO",
                          .speed = 5,
                          .baud = 19200,
                          .bitsPerByte = kBitsPerByte,
                          .bytesPerStep = 11 + 6 + 7 + 8 + 7 + 9,
                          .syncMs = 1500,
                          .longRange = true,
                          .readBack = false,
                          .bandScope = false,
                          .rangeStart = 50'000};
constexpr Model kIcR75{.name = "IC-R75",
                       .receiver = "IC-R75",
                       .speed = 5,
                       .baud = 19200,
                       .bitsPerByte = kBitsPerByte,
                       .bytesPerStep = 11 + 6 + 7 + 8 + 7 + 9,
                       .syncMs = 1500,
                       .longRange = true,
                       .readBack = false,
                       .bandScope = false,
                       .rangeStart = 50'000};
// "RF100000000" and its empty acknowledgement (13 and 2), "LM" and its answer (4 and 7).
constexpr Model kAr5000{.name = "AR5000",
                        .receiver = "AR-5000",
                        .speed = 5,
                        .baud = 19200,
                        .bitsPerByte = kBitsPerByte,
                        .bytesPerStep = 13 + 2 + 4 + 7,
                        .syncMs = 1500,
                        .longRange = true,
                        .readBack = false,
                        .bandScope = false};
// "RF0100000000" and its empty acknowledgement (14 and 2), "LM" and its answer "LM%020" (4 and
// 8). The AR8600 is the same panel on the same line.
constexpr Model kAr8200{.name = "AR8200",
                        .receiver = "AR-8200",
                        .speed = 5,
                        .baud = 19200,
                        .bitsPerByte = kBitsPerByte,
                        .bytesPerStep = 14 + 2 + 4 + 8,
                        .syncMs = 1500,
                        .longRange = true,
                        .readBack = false,
                        .bandScope = false};
constexpr Model kAr8600 = [] {
    Model model = kAr8200;
    model.name = "AR8600";
    model.receiver = "AR-8600";
    return model;
}();
// "VA100000000" and its empty acknowledgement (13 and 2), "LM" and its answer (4 and 6), at
// the set's 9600 baud.
constexpr Model kAr8000{.name = "AR8000",
                        .receiver = "AR-8000",
                        .speed = 4,
                        .baud = 9600,
                        .bitsPerByte = kBitsPerByte,
                        .bytesPerStep = 13 + 2 + 4 + 6,
                        .syncMs = 1500,
                        .longRange = true,
                        .readBack = false,
                        .bandScope = false};
// "100.0000" CR and its prompt (9 and 1), "Y" CR and the level letter with CR LF and the
// prompt (2 and 4), on the set's line of two stop bits.
constexpr Model kAr3000a{.name = "AR3000A",
                         .receiver = "AR-3000A",
                         .speed = 4,
                         .baud = 9600,
                         .bitsPerByte = 11,
                         .bytesPerStep = 9 + 1 + 2 + 4,
                         .syncMs = 1500,
                         .longRange = true,
                         .readBack = false,
                         .bandScope = false};
// One step of an IC-PCR1000 scan with the squelch open: the K0 line (20 bytes) and G000 (6),
// then twice "I0?" (5) with I007 (6) and "I1?" (5) with its answer (6). Its synchronisation
// listens a second, then moves the set from 9600 to 38400 baud.
constexpr Model kIcPcr1000{.name = "IC-PCR1000",
                           .receiver = "IC-PCR1000",
                           .speed = 6,
                           .baud = 38400,
                           .bitsPerByte = kBitsPerByte,
                           .bytesPerStep = 20 + 6 + 2 * (5 + 6 + 5 + 6),
                           .syncMs = 3000,
                           .longRange = true,
                           .readBack = false,
                           .bandScope = true};
// One channel read back from the IC-R8500's memory: selected (8 and 6), read (10, and 30 with
// its record), measured (7 + 8 and 7 + 9).
constexpr int kBytesPerChannel = 8 + 6 + 10 + 30 + 7 + 8 + 7 + 9;
// A band-scope step of the IC-PCR1000's scale scan: the K0 line and G000, then the two block
// queries (with the line end sent twice, 10 bytes) and their answers of 32 cells (39 bytes).
constexpr int kScopeBytesPerStep = 20 + 6 + 2 * (10 + 39);
constexpr int kScopeCellsPerStep = 32;

double LineStepsPerSecond(int baud, int bytesPerStep, int bitsPerByte = kBitsPerByte) {
    return double(baud) / (bytesPerStep * bitsPerByte);
}

// The emulated receiver in a child process. Commands over a pipe: 'L' line-rate mode on,
// 'I' off (answers at once); the end of the pipe ends it.
template <class Emulator>
class EmulatorProcess {
  public:
    // What the receiver is like before the program starts.
    using Prepare = void (*)(Emulator&);

    explicit EmulatorProcess(Prepare prepare = nullptr) {
        int path[2];
        int command[2];
        if (::pipe(path) != 0 || ::pipe(command) != 0) std::exit(2);
        pid_ = ::fork();
        if (pid_ < 0) std::exit(2);
        if (pid_ == 0) {
            ::close(path[0]);
            ::close(command[1]);
            Serve(path[1], command[0], prepare);
        }
        ::close(path[1]);
        ::close(command[0]);
        command_ = command[1];
        char buffer[256] = {};
        const ssize_t n = ::read(path[0], buffer, sizeof buffer - 1);
        ::close(path[0]);
        if (n <= 0) std::exit(2);
        slavePath_.assign(buffer, std::size_t(n));
    }
    ~EmulatorProcess() {
        ::close(command_);
        ::waitpid(pid_, nullptr, 0);
    }
    const std::string& SlavePath() const { return slavePath_; }
    void SetLineRate(bool on) const {
        const char c = on ? 'L' : 'I';
        if (::write(command_, &c, 1) != 1) std::exit(2);
    }

  private:
    [[noreturn]] static void Serve(int pathOut, int commandIn, Prepare prepare) {
        Emulator emulator = MakeEmulator();
        if (prepare) prepare(emulator);
        emulator.Start();
        const std::string& slave = emulator.SlavePath();
        if (::write(pathOut, slave.data(), slave.size()) < 0) ::_exit(2);
        ::close(pathOut);
        char c = 0;
        while (::read(commandIn, &c, 1) == 1) emulator.SetLineRate(c == 'L');
        emulator.Stop();
        ::_exit(0);
    }

    static Emulator MakeEmulator();

    pid_t pid_ = -1;
    int command_ = -1;
    std::string slavePath_;
};

template <class Emulator>
Emulator EmulatorProcess<Emulator>::MakeEmulator() {
    return Emulator(emulators::SignalPlan{20, {}});
}

// The CI-V sets by their profile; the IC-R8500's is the default.
const emulators::CivProfile* civProfile = &emulators::kIcR8500;
template <>
emulators::CivEmulator EmulatorProcess<emulators::CivEmulator>::MakeEmulator() {
    return emulators::CivEmulator(*civProfile, emulators::SignalPlan{20, {}});
}

// The AR8200 emulator as the AR8200 or the AR8600.
emulators::Ar8200::Model ar8200Model = emulators::Ar8200::Model::Ar8200;
template <>
emulators::Ar8200Emulator EmulatorProcess<emulators::Ar8200Emulator>::MakeEmulator() {
    return emulators::Ar8200Emulator(emulators::SignalPlan{20, {}}, ar8200Model);
}

// A CI-V set with memory gets its scan edges and a full AUTO bank to read back.
void FillAutoBank(emulators::CivEmulator& emulator) {
    const emulators::CivProfile& set = *civProfile;
    if (set.memory.banks == 0) return;
    emulators::CivChannel channel;
    for (int i = 0; i < set.memory.channelsPerBank; ++i) {
        channel.frequencyHz = 100'000'000 + uint64_t(i) * 12'500;
        channel.name = "FIND " + std::to_string(i);
        emulator.SetChannel(set.memory.autoWriteBank, i, channel);
        if (i < 2) emulator.SetChannel(set.memory.edgeBank, i, channel);
    }
}

double CpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

long PeakMemoryKb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Result {
    int steps = 0;
    double seconds = 0;
    double cpuSeconds = 0;
};

// Times `steps` steps of the scan that start() begins, counted by its step code, after
// `warmUp` steps; then stops it.
Result TimeSteps(ORVEL& orvel, uint32_t stepCode, int warmUp, int steps,
                 const std::function<void()>& start) {
    int arrived = 0;
    Result result;
    std::chrono::steady_clock::time_point begin;
    double cpuBegin = 0;
    ui::ReplyEvent done;
    const ui::EventTable counter = {{ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
                                         if (e.code != stepCode) return false;
                                         if (++arrived == warmUp) {
                                             begin = std::chrono::steady_clock::now();
                                             cpuBegin = CpuSeconds();
                                         } else if (arrived == warmUp + steps) {
                                             result.seconds =
                                                 std::chrono::duration<double>(
                                                     std::chrono::steady_clock::now() - begin)
                                                     .count();
                                             result.cpuSeconds = CpuSeconds() - cpuBegin;
                                             result.steps = steps;
                                             done.Set();
                                         }
                                         return false;
                                     }}};
    orvel.AddHandlers(counter);
    start();
    done.Wait(3'600'000);
    orvel.scan.StartStopScan();
    ui::ServeFor(200);
    orvel.RemoveHandlers(counter);
    return result;
}

// Scans a range of `points` points from `start` in steps of 100 Hz.
Result ScanSteps(ORVEL& orvel, uint32_t start, uint32_t points, int warmUp, int steps) {
    UserDp range;
    range.StartFrequency = start;
    range.EndFrequency = range.StartFrequency + points - 1;
    range.Step = 1;
    range.Cycles = 1000;
    Bank& slot = orvel.ScanSlots[0];
    slot.Start = range.StartFrequency;
    slot.End = range.EndFrequency;
    slot.Step = range.Step;
    slot.Modulation = 'W';
    slot.Range = &range;
    slot.InUse = 1;
    slot.PointCount = 0;
    orvel.SlotIndex = 0;
    orvel.SwitchToTab(2);
    const Result result =
        TimeSteps(orvel, PostRangeScanStep, warmUp, steps, [&] { orvel.scan.StartStopScan(); });
    slot.InUse = 0;
    slot.Range = nullptr;
    return result;
}

// The IC-PCR1000's scale scan with its band scope, from 100 MHz.
Result ScopeScanSteps(ORVEL& orvel, int warmUp, int steps) {
    orvel.PcrScope = 1;
    orvel.Frequency = 1'000'000;
    orvel.SwitchToTab(0);
    const Result result =
        TimeSteps(orvel, PostScaleScanStep, warmUp, steps, [&] { orvel.scan.StartStopScan(); });
    orvel.PcrScope = 0;
    return result;
}

// The IC-R8500's own scan (range, auto-write) started and stopped: the stop reads the AUTO
// bank's 100 channels back; one step is one channel.
Result ReadBack(ORVEL& orvel) {
    Result result;
    auto* panel = dynamic_cast<IC8500*>(orvel.receiver.Panel());
    if (panel == nullptr) return result;
    CivScanSettings& scan = panel->Settings.Scan;
    scan = Ic8500Settings{}.Scan;
    scan.RangeScan = scan.Auto = true;
    panel->BankChannels[IC8500::kAutoBank] = IC8500::kBankSize;
    if (!panel->StartReceiverScan()) return result;
    ui::ServeFor(200);
    const auto begin = std::chrono::steady_clock::now();
    const double cpuBegin = CpuSeconds();
    panel->StopReceiverScan();
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    result.cpuSeconds = CpuSeconds() - cpuBegin;
    result.steps = int(IC8500::kBankSize);
    ui::ServeFor(200);
    return result;
}

void PrintRow(const char* what, const char* emulator, const Result& r, double lineRate,
              int cellsPerStep = 0) {
    const double rate = r.seconds > 0 ? r.steps / r.seconds : 0;
    const double cpuMs = r.steps > 0 ? r.cpuSeconds * 1000 / r.steps : 0;
    char line[64] = "-";
    if (lineRate > 0)
        std::snprintf(line, sizeof line, "%.1f %% of %.0f/s", rate / lineRate * 100, lineRate);
    char perSecond[64];
    std::snprintf(perSecond, sizeof perSecond, "%.*f", rate < 100 ? 1 : 0, rate);
    if (cellsPerStep > 0) {
        std::snprintf(perSecond, sizeof perSecond, "%.0f cells", rate * cellsPerStep);
        std::snprintf(line, sizeof line, "%.1f %% of %.0f cells/s", rate / lineRate * 100,
                      lineRate * cellsPerStep);
    }
    std::printf("| %s | %s | %d | %s | %s | %.3f ms | %.1f MB |\n", what, emulator, r.steps,
                perSecond, line, cpuMs, double(PeakMemoryKb()) / 1024.0);
    std::fflush(stdout);
}

// Starts the program on the emulator behind COM1 and runs the model's rows.
// The receiver type ORVEL.INI configures for the model: its row's in the registry.
int32_t ConfiguredType(const Model& model) {
    for (const PanelModel& row : panel_registry::Models())
        if (std::string_view(row.name) == model.receiver) return row.configuredType;
    return 0;
}

// The models named on the command line; none named: all.
std::vector<std::string> chosenModels;

template <class Emulator>
bool BenchModel(const Model& model, const EmulatorProcess<Emulator>& emulator,
                const std::filesystem::path& folder, bool quick) {
    if (!chosenModels.empty() &&
        std::find(chosenModels.begin(), chosenModels.end(), model.name) == chosenModels.end())
        return true;
    std::filesystem::remove(folder / "COM1");
    std::filesystem::create_symlink(emulator.SlavePath(), folder / "COM1");
    std::ofstream(folder / "ORVEL.INI", std::ios::binary | std::ios::trunc)
        << "COM=1\r\nSPEED=" << model.speed << "\r\nRECV=" << ConfiguredType(model) << "\r\n";
    emulator.SetLineRate(false);
    ORVEL orvel;
    if (!orvel.Create() || orvel.receiver.Panel() == nullptr) return false;
    ui::ServeFor(model.syncMs);

    const int warmUp = quick ? 5 : 100;
    const int instantSteps = quick ? 20 : 10'000;
    const int lineSteps = quick ? 10 : 400;
    const double lineRate = LineStepsPerSecond(model.baud, model.bytesPerStep, model.bitsPerByte);
    char lineName[64];
    std::snprintf(lineName, sizeof lineName, "%s, %d baud", model.name, model.baud);
    char instantName[64];
    std::snprintf(instantName, sizeof instantName, "%s, at once", model.name);
    bool ran = true;
    for (const uint32_t points : {1'000u, 100'000u}) {
        if (points > 1'000 && !model.longRange) continue;
        const char* range = points == 1'000 ? "1,000 points" : "100,000 points";
        // What the line still carries from the run before drains first.
        emulator.SetLineRate(false);
        ui::ServeFor(500);
        const Result instant = ScanSteps(orvel, model.rangeStart, points, warmUp, instantSteps);
        PrintRow(range, instantName, instant, 0);
        emulator.SetLineRate(true);
        ui::ServeFor(500);
        const Result line = ScanSteps(orvel, model.rangeStart, points, warmUp, lineSteps);
        PrintRow(range, lineName, line, lineRate);
        ran = ran && instant.steps != 0 && line.steps != 0;
    }
    for (const bool lineRate : {false, true}) {
        if (!model.readBack) break;
        emulator.SetLineRate(lineRate);
        ui::ServeFor(500);
        const Result readBack = ReadBack(orvel);
        PrintRow("AUTO read-back, 100 channels", lineRate ? lineName : instantName, readBack,
                 lineRate ? LineStepsPerSecond(model.baud, kBytesPerChannel) : 0);
        ran = ran && readBack.steps != 0;
    }
    if (model.bandScope) {
        emulator.SetLineRate(true);
        ui::ServeFor(500);
        const Result scope = ScopeScanSteps(orvel, warmUp, lineSteps);
        PrintRow("scale scan, band scope", lineName, scope,
                 LineStepsPerSecond(model.baud, kScopeBytesPerStep), kScopeCellsPerStep);
        ran = ran && scope.steps != 0;
    }
    orvel.Destroy();
    return ran;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::string(argv[1]) == "--quick";
    for (int i = quick ? 2 : 1; i < argc; ++i) chosenModels.emplace_back(argv[i]);
    // Before any thread: the children inherit nothing running.
    const EmulatorProcess<emulators::CivEmulator> ic8500(&FillAutoBank);
    civProfile = &emulators::kIcR10;
    const EmulatorProcess<emulators::CivEmulator> ic10;
    civProfile = &emulators::kIc756Pro;
    const EmulatorProcess<emulators::CivEmulator> ic756;
    civProfile = &emulators::kIcR75;
    const EmulatorProcess<emulators::CivEmulator> ic75;
    const EmulatorProcess<emulators::Ar5000Emulator> ar5000;
    const EmulatorProcess<emulators::Ar8200Emulator> ar8200;
    ar8200Model = emulators::Ar8200::Model::Ar8600;
    const EmulatorProcess<emulators::Ar8200Emulator> ar8600;
    const EmulatorProcess<emulators::Ar3000aEmulator> ar3000a;
    const EmulatorProcess<emulators::Ar8000Emulator> ar8000;
    // The IC-PCR1000 switched on at its power-up speed: the program moves it to 38400 baud.
    const EmulatorProcess<emulators::Pcr1000Emulator> pcr1000([](emulators::Pcr1000Emulator& e) {
        e.SetOffReportInterval(std::chrono::milliseconds(0));
        e.SwitchPowerByHand(true);
    });

    char folderName[] = "/tmp/orvel_scan_bench_XXXXXX";
    if (::mkdtemp(folderName) == nullptr) return 2;
    const std::filesystem::path folder = folderName;
    std::filesystem::current_path(folder);

    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::ToolkitApplication app(argc, argv);
    ui::Application::InstallFontSubstitutes();
    ui::ScriptedMessageBoxes boxes;  // nobody is there to click
    std::printf("| scan | emulator | steps | steps/s | line | CPU per step | peak memory |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    int status = 0;
    if (!BenchModel(kIcR8500, ic8500, folder, quick)) status = 1;
    if (!BenchModel(kIcR10, ic10, folder, quick)) status = 1;
    if (!BenchModel(kIc756Pro, ic756, folder, quick)) status = 1;
    if (!BenchModel(kIcR75, ic75, folder, quick)) status = 1;
    if (!BenchModel(kAr5000, ar5000, folder, quick)) status = 1;
    if (!BenchModel(kAr8200, ar8200, folder, quick)) status = 1;
    if (!BenchModel(kAr8600, ar8600, folder, quick)) status = 1;
    if (!BenchModel(kAr3000a, ar3000a, folder, quick)) status = 1;
    if (!BenchModel(kAr8000, ar8000, folder, quick)) status = 1;
    if (!BenchModel(kIcPcr1000, pcr1000, folder, quick)) status = 1;
    std::error_code ignored;
    std::filesystem::current_path("/", ignored);
    std::filesystem::remove_all(folder, ignored);
    return status;
}
