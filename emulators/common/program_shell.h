#pragma once
// What the emulator programs (orvel-<family>-emulator) share around their family's own
// options: the options every one of them takes, and serving the emulator until SIGINT or
// SIGTERM. They take
//   --link PATH     make PATH (for example workspace/COM1) a symbolic link to the emulator's
//                   terminal; a link left over from an earlier run (its device gone, or
//                   another pseudo-terminal) is replaced, anything else at PATH is left alone
//                   and the emulator does not start. The link is removed at exit.
//   --noise LEVEL   noise floor of the signal plan, 0..255 (default 8).
//   --silent        the set hears everything and answers nothing (a CI-V bus still echoes),
//                   as a receiver switched off at its own switch or with its lead cut.
//   --trace         write what the set hears ("> ") and what it sends ("< "), a line or a
//                   frame at a time, to standard error, each after the time of day in
//                   milliseconds, as it happens.
//   --signal MHZ:LEVEL:WIDTH_KHZ
//                   a carrier of the signal plan: centre in MHz, peak level 0..255, width in
//                   kHz, within the model's range. Repeat for more; the first one replaces the
//                   built-in carriers (101.7, 127.5, 145.5, 156.8 and 433.92 MHz).
//   --help          the usage.
// The terminal's path goes to standard output (one line) for scripts; everything else to
// standard error. The program exits with 0 after serving, 1 on a bad option, 2 when the
// terminal or the link cannot be made.

#include <charconv>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "emulators/common/pty_server.h"
#include "emulators/common/signal_plan.h"

namespace emulators {

// A number, the whole text.
template <typename Number>
std::optional<Number> ParseNumber(std::string_view text, int base = 10) {
    Number value{};
    const char* const end = text.data() + text.size();
    std::from_chars_result result;
    if constexpr (std::is_integral_v<Number>)
        result = std::from_chars(text.data(), end, value, base);
    else
        result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

// One of a family's own options.
struct ProgramOption {
    std::string_view name;  // "--model"
    bool takesValue;
    // Takes the value ("" for an option without one); false when it is bad.
    std::function<bool(std::string_view value)> take;
};

class ProgramShell {
  public:
    // `name` heads every message; `usage` goes out with --help and after a bad option.
    ProgramShell(std::string_view name, std::string_view usage) : name_(name), usage_(usage) {}

    // Reads the shared options and the family's `own`. An exit code when the program ends
    // here: 0 after --help, 1 after a bad or incomplete option.
    std::optional<int> ReadOptions(int argc, char** argv, std::span<const ProgramOption> own);
    // The signal plan of --noise and --signal.
    const SignalPlan& Plan() const { return plan_; }
    // With --trace, what writes the set's trace to standard error; empty without it.
    Trace TraceOrNone() const;
    // The model's own carriers in place of the built-in ones, unless --signal named some.
    void UseDefaultSignals(const std::vector<Signal>& signals) {
        if (!ownSignals_) plan_.signals = signals;
    }
    // False, after saying so, when a signal of the plan lies outside what `model` receives.
    bool SignalsReceived(std::string_view model,
                         const std::function<bool(uint64_t hz)>& receives) const;

    // Makes the emulator with `make`, links it, gives its path and `banner` ("AR5000
    // emulator", what follows the path after a comma), serves it until SIGINT or SIGTERM: 0,
    // or 2 when the terminal or the link cannot be made.
    int Serve(const std::function<std::unique_ptr<PtyServer>()>& make, const std::string& banner,
              const std::string& details = {}) const;

  private:
    void PrintUsage() const;

    std::string name_;
    std::string usage_;
    std::string link_;
    SignalPlan plan_ = DefaultSignalPlan();
    bool ownSignals_ = false;
    bool silent_ = false;
    bool trace_ = false;
};

}  // namespace emulators
