#pragma once
// An AOR receiver behind a pseudo-terminal: the line engine of the family served on a thread,
// with the switches and faults a test needs. A model (Ar5000Emulator) adds its own hooks.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "emulators/aor/aor_line_engine.h"
#include "emulators/common/pseudo_terminal.h"

namespace emulators {

class AorEmulator {
  public:
    // Opens the pseudo-terminal (std::system_error when there is none); nothing is served
    // until Start or Serve.
    explicit AorEmulator(std::unique_ptr<AorModel> model);
    AorEmulator(const AorEmulator&) = delete;
    AorEmulator& operator=(const AorEmulator&) = delete;
    virtual ~AorEmulator();

    // The device the program opens as its port.
    const std::string& SlavePath() const { return pty_.slavePath(); }
    // See PseudoTerminal::LinkAs; the link goes when the emulator does.
    void LinkAs(const std::filesystem::path& link) { pty_.LinkAs(link); }

    // Serves on a thread of its own until Stop. Use either this or Serve, not both.
    void Start();
    void Stop();
    // Serves on the calling thread until RequestStop (or Stop from another thread).
    void Serve();
    // Safe in a signal handler.
    void RequestStop() noexcept;

    // Switches and test hooks, safe from any thread while serving.
    void SetSignalPlan(SignalPlan plan);
    // Line-rate mode (AorLineEngine::SetByteTime) at the speed, data, parity and stop bits
    // the program set on its end of the terminal.
    void SetLineRate(bool on);
    // Faults: see AorLineEngine.
    void SetSilent(bool silent);
    void SetGarbage(std::string garbage);
    void SetSplitLines(bool on, std::optional<std::chrono::milliseconds> lfDelay = std::nullopt);
    void ReleaseSplitLines();
    void SetRefused(std::vector<std::string> tokens);
    void SetRefuseAll(bool refuse);

    // The lines received, empty ones too, oldest first.
    std::vector<std::string> ReceivedLines() const;
    void ClearReceivedLines();
    // True as soon as `count` lines have been received since the last clear; false when
    // `timeout` passes first. Lets a test know a line has been dealt with.
    bool WaitForLines(size_t count, std::chrono::milliseconds timeout) const;

  protected:
    using Clock = AorModel::Clock;

    AorModel& Model() const { return *model_; }

    // Runs `action` with the serving loop held off, then lets the loop look again: a
    // change to the set may have something to send.
    template <typename Action>
    auto Locked(Action&& action) const {
        struct WakeAfter {
            const AorEmulator& emulator;
            ~WakeAfter() { emulator.Wake(); }
        } wake{*this};
        std::lock_guard lock(mutex_);
        return action();
    }

  private:
    void Wake() const noexcept;
    // Writes what is due; false when the terminal is full and the rest must wait for room.
    bool Flush(Clock::time_point now);
    void UpdateByteTime();

    PseudoTerminal pty_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> stop_{false};
    std::thread thread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable lineArrived_;
    std::unique_ptr<AorModel> model_;
    AorLineEngine engine_;
    bool lineRate_ = false;
};

}  // namespace emulators
