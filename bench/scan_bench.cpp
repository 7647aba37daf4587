// orvel_scan_bench: the rate of a range scan through the real serial layer, end to end: the
// main window's scan engine, a receiver panel, the serial port with its reader thread and a
// pseudo-terminal, and the emulated receiver in a process of its own (so that the CPU time
// measured is the program's alone). Each receiver of the table below is measured in turn.
//
// For ranges of 1,000 and 100,000 points (the IC-R10 only 1,000) it reports, with the emulator
// answering at once: steps per second, the program's CPU time per step and its peak memory; and
// with the emulator's line-rate mode (every byte takes its time at the line's 19200 baud) the
// share of the rate the line allows that the scan reaches. The same for the IC-R8500's
// read-back of its AUTO bank when its own scan stops.
//
// Usage: orvel_scan_bench [--quick]   (--quick: a few steps each, to see that it runs)

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/orvel.h"
#include "emulators/aor/ar5000_emulator.h"
#include "emulators/civ/civ_emulator.h"
#include "receivers/icom/ic8500/ic8500.h"
#include "state/message_bus.h"
#include "ui/application.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"

namespace {

constexpr int kBitsPerByte = 10;  // 8N1
constexpr int kBaud = 19200;

// Serves an emulated receiver in the child process: see EmulatorProcess.
using ServeFunction = void (*)(int pathOut, int commandIn);

// A receiver measured: its type in ORVEL.INI, the bytes one scan step puts on the line and its
// emulator.
struct Receiver {
    const char* name;
    const char* recv;
    int bytesPerStep;
    ServeFunction serve;
    bool longRange;  // also a range of 100,000 points
    bool readBack;   // the read-back of the receiver's own scan (the IC-R8500)
};

// What the line allows at 19200 baud for so many bytes a step.
double LinePerSecond(int bytes) {
    return double(kBaud) / (bytes * kBitsPerByte);
}

// One channel read back from the IC-R8500's memory: selected (8 and 6), read (10, and 30 with
// its record), measured (7 + 8 and 7 + 9).
constexpr int kBytesPerChannel = 8 + 6 + 10 + 30 + 7 + 8 + 7 + 9;

// The emulated receiver in a child process. Commands over a pipe: 'L' line-rate mode on,
// 'I' off (answers at once); the end of the pipe ends it.
class EmulatorProcess {
  public:
    explicit EmulatorProcess(ServeFunction serve) {
        int path[2];
        int command[2];
        if (::pipe(path) != 0 || ::pipe(command) != 0) std::exit(2);
        pid_ = ::fork();
        if (pid_ < 0) std::exit(2);
        if (pid_ == 0) {
            ::close(path[0]);
            ::close(command[1]);
            serve(path[1], command[0]);
            ::_exit(0);
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

    // Serves the emulator until the end of the command pipe.
    template <class Emulator>
    static void Serve(Emulator& emulator, int pathOut, int commandIn) {
        emulator.Start();
        const std::string& slave = emulator.SlavePath();
        if (::write(pathOut, slave.data(), slave.size()) < 0) ::_exit(2);
        ::close(pathOut);
        char c = 0;
        while (::read(commandIn, &c, 1) == 1) emulator.SetLineRate(c == 'L');
        emulator.Stop();
    }
    template <class Emulator>
    static void ServeQuiet(int pathOut, int commandIn) {
        Emulator emulator(emulators::SignalPlan{20, {}});
        Serve(emulator, pathOut, commandIn);
    }
    // A CI-V set; one with memory has its scan edges and a full AUTO bank to read back.
    template <const emulators::CivProfile& set>
    static void ServeCiv(int pathOut, int commandIn) {
        emulators::CivEmulator emulator(set, emulators::SignalPlan{20, {}});
        if (set.memory.banks > 0) {
            emulators::CivChannel channel;
            for (int i = 0; i < set.memory.channelsPerBank; ++i) {
                channel.frequencyHz = 100'000'000 + uint64_t(i) * 12'500;
                channel.name = "FIND " + std::to_string(i);
                emulator.SetChannel(set.memory.autoWriteBank, i, channel);
                if (i < 2) emulator.SetChannel(set.memory.edgeBank, i, channel);
            }
        }
        Serve(emulator, pathOut, commandIn);
    }

  private:
    pid_t pid_ = -1;
    int command_ = -1;
    std::string slavePath_;
};

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

// Scans a range of `points` points from 100 MHz in steps of 100 Hz and times `steps` steps
// after `warmUp` steps.
Result ScanSteps(ORVEL& orvel, uint32_t points, int warmUp, int steps) {
    UserDp range;
    range.StartFrequency = 1'000'000;
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

    int arrived = 0;
    Result result;
    std::chrono::steady_clock::time_point begin;
    double cpuBegin = 0;
    ui::ReplyEvent done;
    const ui::EventTable counter = {{ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
                                         if (e.code != PostRangeScanStep) return false;
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
    orvel.StartStopScan();
    done.Wait(3'600'000);
    orvel.StartStopScan();
    ui::ServeFor(200);
    orvel.RemoveHandlers(counter);
    slot.InUse = 0;
    slot.Range = nullptr;
    return result;
}

// The IC-R8500's own scan (range, auto-write) started and stopped: the stop reads the AUTO
// bank's 100 channels back; one step is one channel.
Result ReadBack(ORVEL& orvel) {
    Result result;
    auto* panel = dynamic_cast<IC8500*>(orvel.Panel());
    if (panel == nullptr) return result;
    Ic8500ScanSettings& scan = panel->Settings.Scan;
    scan = Ic8500ScanSettings{};
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

// clang-format off
const Receiver kReceivers[] = {
    // The frequency set (its echo 11 bytes and the acknowledgement 6), the squelch query (7
    // and 8) and the level query (7 and 9).
    {"IC-R8500", "4", 11 + 6 + 7 + 8 + 7 + 9, &EmulatorProcess::ServeCiv<emulators::kIcR8500>,
     true, true},
    // The IC-R10 has no squelch query: the frequency set and the level query.
    {"IC-R10", "3", 11 + 6 + 7 + 9, &EmulatorProcess::ServeCiv<emulators::kIcR10>, false, false},
    // "RF100000000" and its empty acknowledgement (13 and 2), "LM" and its answer (4 and 7).
    {"AR5000", "7", 13 + 2 + 4 + 7, &EmulatorProcess::ServeQuiet<emulators::Ar5000Emulator>,
     true, false},
};
// clang-format on

// allowed: what the line allows a second; 0 when the emulator answers at once.
void PrintRow(const Receiver& receiver, const char* range, const char* emulator, const Result& r,
              double allowed) {
    const double rate = r.seconds > 0 ? r.steps / r.seconds : 0;
    const double cpuMs = r.steps > 0 ? r.cpuSeconds * 1000 / r.steps : 0;
    char line[64] = "-";
    if (allowed > 0)
        std::snprintf(line, sizeof line, "%.1f %% of %.0f/s", rate / allowed * 100, allowed);
    std::printf("| %s | %s | %s | %d | %.*f | %s | %.3f ms | %.1f MB |\n", receiver.name, range,
                emulator, r.steps, rate < 100 ? 1 : 0, rate, line, cpuMs,
                double(PeakMemoryKb()) / 1024.0);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::string(argv[1]) == "--quick";
    // Before any thread: the children inherit nothing running.
    std::vector<std::unique_ptr<EmulatorProcess>> emulators;
    for (const Receiver& receiver : kReceivers)
        emulators.push_back(std::make_unique<EmulatorProcess>(receiver.serve));

    char folderName[] = "/tmp/orvel_scan_bench_XXXXXX";
    if (::mkdtemp(folderName) == nullptr) return 2;
    const std::filesystem::path folder = folderName;
    std::filesystem::current_path(folder);

    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::Application::InstallFontSubstitutes();
    ui::ScriptedMessageBoxes boxes;  // nobody is there to click
    int status = 0;
    std::printf(
        "| receiver | range | emulator | steps | steps/s | line | CPU per step | peak memory |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (std::size_t r = 0; r < std::size(kReceivers); ++r) {
        const Receiver& receiver = kReceivers[r];
        const EmulatorProcess& emulator = *emulators[r];
        std::filesystem::remove(folder / "COM1");
        std::filesystem::create_symlink(emulator.SlavePath(), folder / "COM1");
        std::ofstream(folder / "ORVEL.INI", std::ios::binary)
            << "COM=1\r\nSPEED=5\r\nRECV=" << receiver.recv << "\r\n";
        ORVEL orvel;
        if (!orvel.Create() || orvel.Panel() == nullptr) return 2;
        ui::ServeFor(1500);  // the panel's start-up synchronisation

        const int warmUp = quick ? 5 : 100;
        const int instantSteps = quick ? 20 : 10'000;
        const int lineSteps = quick ? 10 : 400;
        for (const uint32_t points : {1'000u, 100'000u}) {
            if (points > 1'000 && !receiver.longRange) continue;
            const char* range = points == 1'000 ? "1,000 points" : "100,000 points";
            // What the line still carries from the run before drains first.
            emulator.SetLineRate(false);
            ui::ServeFor(500);
            const Result instant = ScanSteps(orvel, points, warmUp, instantSteps);
            PrintRow(receiver, range, "at once", instant, 0);
            emulator.SetLineRate(true);
            ui::ServeFor(500);
            const Result line = ScanSteps(orvel, points, warmUp, lineSteps);
            PrintRow(receiver, range, "19200 baud", line, LinePerSecond(receiver.bytesPerStep));
            if (instant.steps == 0 || line.steps == 0) status = 1;
        }
        for (const bool lineRate : receiver.readBack ? std::vector{false, true} : std::vector<bool>{}) {
            emulator.SetLineRate(lineRate);
            ui::ServeFor(500);
            const Result readBack = ReadBack(orvel);
            PrintRow(receiver, "AUTO read-back, 100 channels", lineRate ? "19200 baud" : "at once",
                     readBack, lineRate ? LinePerSecond(kBytesPerChannel) : 0);
            if (readBack.steps == 0) status = 1;
        }
        orvel.Destroy();
    }
    // The last child holds the pipes of those forked before it: it ends first.
    while (!emulators.empty()) emulators.pop_back();
    std::error_code ignored;
    std::filesystem::current_path("/", ignored);
    std::filesystem::remove_all(folder, ignored);
    return status;
}
