#pragma once
// The line side that the AOR receivers share, with no port of its own: bytes from the program
// in, reply bytes out with the time each is due. AorEmulator runs it on a pseudo-terminal;
// tests run it on a clock of their own.
//
// A command line ends with CR, LF or CR LF (a CR LF pair ends one line, not two); a model
// whose lines end with CR alone passes over LF. Empty lines are logged but not answered: the
// program's texts that already end in CR LF get a second CR LF, and the set must not answer
// that. A line longer than kLongestLine characters is answered "?". Every reply line goes out
// with CR LF, and the answer to a line with the model's prompt after it, if it has one.

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/common/received_log.h"
#include "emulators/common/signal_plan.h"
#include "emulators/common/trace.h"

namespace emulators {

// One receiver of the family: what it answers and what it says unasked.
class AorModel {
  public:
    using Clock = std::chrono::steady_clock;

    explicit AorModel(SignalPlan plan) : plan_(std::move(plan)) {}
    virtual ~AorModel() = default;

    // The reply lines, without CR LF, to one command line (without its end, never empty);
    // none when the set says nothing.
    virtual std::vector<std::string> Answer(std::string_view line, Clock::time_point now) = 0;
    // Lines the set sends unasked by `now`: its own scan stopping on a signal.
    virtual std::vector<std::string> Unsolicited(Clock::time_point now) = 0;
    // When Unsolicited may have something to say with nothing arriving; max for never.
    virtual Clock::time_point NextUnsolicited() const = 0;

    // False for a set whose command lines end with CR alone (LF is passed over).
    virtual bool LfEndsLine() const { return true; }
    // What follows every answer: the set is ready for the next line (">"); none by default.
    virtual std::string_view Prompt() const { return {}; }
    // The set takes only a line of two stop bits; on one it hears nothing but noise.
    virtual bool NeedsTwoStopBits() const { return false; }
    // The command a line carries, as faults name it (AorLineEngine::SetGarbled): its first two
    // letters ("MR"), or where the model's commands end in their letter, that letter ("Z").
    virtual std::string_view CommandOf(std::string_view line) const { return line.substr(0, 2); }

    void SetSignalPlan(SignalPlan plan) { plan_ = std::move(plan); }
    const SignalPlan& Plan() const { return plan_; }

  private:
    SignalPlan plan_;
};

class AorLineEngine {
  public:
    using Clock = AorModel::Clock;
    static constexpr size_t kLongestLine = 512;

    explicit AorLineEngine(AorModel& model) : model_(model) {}

    // Bytes from the program, arrived at `now`.
    void Receive(std::string_view bytes, Clock::time_point now);
    // Gives the set the word for what it says unasked.
    void Poll(Clock::time_point now);

    // The bytes due on the line at `now`, oldest first; empty when none. Sent says how many
    // of them went out.
    std::string_view Pending(Clock::time_point now) const;
    void Sent(size_t count);
    // When Pending or Poll next has something; max when nothing is due (a held LF waits for
    // ReleaseSplitLines).
    Clock::time_point NextDue() const;

    // Line-rate mode: each byte takes this long on the line, and the line is half-duplex:
    // what the program sends and what the set answers take their turns, one after the other.
    // Zero (the default) answers at once.
    void SetByteTime(std::chrono::nanoseconds byteTime) { byteTime_ = byteTime; }

    // Faults.
    // A silent set answers nothing and says nothing unasked (lines are still logged).
    void SetSilent(bool silent) {
        silent_ = silent;
        silentUntil_.reset();
    }
    // The set answers `lines` more command lines, then falls silent, as one unplugged or
    // switched off part-way through what the program asks of it: for `forTime` of its time
    // (then it answers again, as one plugged in again), or until SetSilent(false) wakes it.
    void SetSilentAfter(size_t lines,
                        std::optional<std::chrono::nanoseconds> forTime = std::nullopt) {
        answersLeft_ = lines;
        silentFor_ = forTime;
    }
    // The answers to lines of the listed commands (AorModel::CommandOf) come as line noise, as
    // a line that garbles them: the next `count` such lines, or every one. None listed: none.
    void SetGarbled(std::vector<std::string> commands, std::optional<size_t> count);
    // Written before every reply line.
    void SetGarbage(std::string garbage) { garbage_ = std::move(garbage); }
    // Every reply line goes out as its text and CR, and its LF apart: `lfDelay` later, or
    // without one held until ReleaseSplitLines. Everything after a held LF waits behind it.
    void SetSplitLines(bool on, std::optional<std::chrono::nanoseconds> lfDelay);
    void ReleaseSplitLines();
    // Lines whose command token is listed, or every line, are answered "?".
    void SetRefused(std::vector<std::string> tokens);
    void SetRefuseAll(bool refuse) { refuseAll_ = refuse; }

    // Trace: told every line as it is received ('>', empty ones too) and every reply line as it
    // is queued ('<', the stop reports the set sends unasked among them), without the ends.
    void SetTrace(Trace trace) { trace_ = std::move(trace); }

    // Every line received, empty ones too, without its end (see ReceivedLog).
    std::vector<std::string> ReceivedLines() const { return received_.Entries(); }
    size_t ReceivedCount() const { return received_.Count(); }
    void ClearReceivedLines() { received_.Clear(); }

  private:
    // A line nobody reads fills up; past this much waiting output new lines are dropped.
    static constexpr size_t kMostOutgoingBytes = 65'536;

    struct Outgoing {
        Clock::time_point due;
        std::string bytes;
        bool held = false;
    };

    void EndLine(Clock::time_point now);
    // A silence that lasts its time is over by `now`.
    void WakeBy(Clock::time_point now);
    bool Garbles(std::string_view line);
    std::string Noise(size_t length);
    void QueueLine(std::string_view line, Clock::time_point now);
    void QueuePrompt(Clock::time_point now);
    void Push(std::string bytes, Clock::time_point now, std::chrono::nanoseconds extraDelay,
              bool held);

    AorModel& model_;
    std::chrono::nanoseconds byteTime_{0};
    Clock::time_point lineFree_{};
    bool silent_ = false;
    std::optional<size_t> answersLeft_;  // SetSilentAfter
    std::optional<std::chrono::nanoseconds> silentFor_;
    std::optional<Clock::time_point> silentUntil_;
    std::set<std::string, std::less<>> garbled_;  // SetGarbled
    std::optional<size_t> garbledLeft_;
    uint32_t noise_ = 0x2545F491;
    std::string garbage_;
    bool split_ = false;
    std::optional<std::chrono::nanoseconds> lfDelay_;
    std::set<std::string, std::less<>> refused_;
    bool refuseAll_ = false;

    std::string partial_;
    bool overlong_ = false;
    bool afterCr_ = false;
    ReceivedLog<std::string> received_;
    Trace trace_;

    std::deque<Outgoing> outgoing_;
    size_t outgoingBytes_ = 0;
    size_t written_ = 0;  // of outgoing_.front()
};

}  // namespace emulators
