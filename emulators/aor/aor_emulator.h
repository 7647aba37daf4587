#pragma once
// An AOR receiver behind a pseudo-terminal: the line engine of the family served on a thread,
// with the switches and faults a test needs. A model (Ar5000Emulator) adds its own hooks.
// In line-rate mode (PtyServer::SetLineRate) the engine takes its byte time from the speed
// the program set (AorLineEngine::SetByteTime).

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/aor/aor_line_engine.h"
#include "emulators/common/pty_server.h"

namespace emulators {

class AorEmulator : public PtyServer {
  public:
    explicit AorEmulator(std::unique_ptr<AorModel> model);
    ~AorEmulator() override;

    // Switches and test hooks, safe from any thread while serving.
    void SetSignalPlan(SignalPlan plan);
    // Faults: see AorLineEngine.
    void SetSilent(bool silent) override;
    void SetSilentAfter(size_t lines,
                        std::optional<std::chrono::milliseconds> forTime = std::nullopt);
    void SetGarbled(std::vector<std::string> commands, std::optional<size_t> count = std::nullopt);
    void SetGarbage(std::string garbage);
    void SetSplitLines(bool on, std::optional<std::chrono::milliseconds> lfDelay = std::nullopt);
    void ReleaseSplitLines();
    void SetRefused(std::vector<std::string> tokens);
    void SetRefuseAll(bool refuse);
    // A set that needs two stop bits hears a line of one as noise: it answers nothing, counts
    // the bytes, and with reports on says so on standard error once a time the line goes wrong.
    size_t GarbledBytes() const;
    // True as soon as `count` bytes have been heard as noise; false when `timeout` passes.
    bool WaitForGarbledBytes(size_t count, std::chrono::milliseconds timeout) const;
    void SetReportLineFaults(bool on);
    // See AorLineEngine::SetTrace; called on the serving thread with the lock held.
    void SetTrace(Trace trace);

    // The bytes the program wrote to the set (heard as noise too) and those the set wrote back
    // to it, since the set was made.
    struct Traffic {
        size_t fromProgram = 0;
        size_t toProgram = 0;
    };
    Traffic LineTraffic() const;

    // The lines received, empty ones too, oldest first.
    std::vector<std::string> ReceivedLines() const;
    void ClearReceivedLines();
    // True as soon as `count` lines have been received since the last clear; false when
    // `timeout` passes first. Lets a test know a line has been dealt with.
    bool WaitForLines(size_t count, std::chrono::milliseconds timeout) const;

  protected:
    AorModel& Model() const { return *model_; }

  private:
    void Receive(std::string_view bytes, Clock::time_point now) override;
    void Tick(Clock::time_point now) override;
    std::string_view Pending(Clock::time_point now) override { return engine_.Pending(now); }
    void Sent(size_t count) override {
        traffic_.toProgram += count;
        engine_.Sent(count);
    }
    Clock::time_point NextSend() const override { return engine_.NextDue(); }
    void UpdateByteTime();

    std::unique_ptr<AorModel> model_;
    AorLineEngine engine_;
    size_t garbledBytes_ = 0;
    Traffic traffic_;
    bool reportLineFaults_ = false;
    bool lineFaultReported_ = false;
};

}  // namespace emulators
