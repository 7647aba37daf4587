#include "emulators/aor/aor_emulator.h"

#include <cstdio>

namespace emulators {

AorEmulator::AorEmulator(std::unique_ptr<AorModel> model)
    : model_(std::move(model)), engine_(*model_) {}

AorEmulator::~AorEmulator() {
    Stop();
}

void AorEmulator::UpdateByteTime() {
    // The program may change the speed of its end at any time.
    engine_.SetByteTime(LineByteTime().value_or(std::chrono::nanoseconds{}));
}

void AorEmulator::Tick(Clock::time_point now) {
    UpdateByteTime();
    engine_.Poll(now);
}

void AorEmulator::Receive(std::string_view bytes, Clock::time_point now) {
    UpdateByteTime();
    traffic_.fromProgram += bytes.size();
    if (model_->NeedsTwoStopBits() && Terminal().StopBits() != 2) {
        garbledBytes_ += bytes.size();
        if (reportLineFaults_ && !lineFaultReported_)
            std::fputs(
                "orvel-aor-emulator: the line is set to one stop bit; the receiver needs "
                "two and hears nothing but noise\n",
                stderr);
        lineFaultReported_ = true;
        return;
    }
    lineFaultReported_ = false;
    engine_.Receive(bytes, now);
}

size_t AorEmulator::GarbledBytes() const {
    const auto lock = Listened();
    return garbledBytes_;
}

bool AorEmulator::WaitForGarbledBytes(size_t count, std::chrono::milliseconds timeout) const {
    return WaitFor(timeout, [&] { return garbledBytes_ >= count; });
}

void AorEmulator::SetReportLineFaults(bool on) {
    Locked([&] { reportLineFaults_ = on; });
}

void AorEmulator::SetTrace(Trace trace) {
    Locked([&] { engine_.SetTrace(std::move(trace)); });
}

void AorEmulator::SetSignalPlan(SignalPlan plan) {
    Locked([&] { model_->SetSignalPlan(std::move(plan)); });
}

void AorEmulator::SetSilent(bool silent) {
    Locked([&] { engine_.SetSilent(silent); });
}

void AorEmulator::SetSilentAfter(size_t lines, std::optional<std::chrono::milliseconds> forTime) {
    Locked([&] {
        engine_.SetSilentAfter(
            lines, forTime ? std::optional<std::chrono::nanoseconds>(*forTime) : std::nullopt);
    });
}

void AorEmulator::SetGarbled(std::vector<std::string> commands, std::optional<size_t> count) {
    Locked([&] { engine_.SetGarbled(std::move(commands), count); });
}

AorEmulator::Traffic AorEmulator::LineTraffic() const {
    const auto lock = Listened();
    return traffic_;
}

void AorEmulator::SetGarbage(std::string garbage) {
    Locked([&] { engine_.SetGarbage(std::move(garbage)); });
}

void AorEmulator::SetSplitLines(bool on, std::optional<std::chrono::milliseconds> lfDelay) {
    Locked([&] {
        engine_.SetSplitLines(
            on, lfDelay ? std::optional<std::chrono::nanoseconds>(*lfDelay) : std::nullopt);
    });
}

void AorEmulator::ReleaseSplitLines() {
    Locked([&] { engine_.ReleaseSplitLines(); });
}

void AorEmulator::SetRefused(std::vector<std::string> tokens) {
    Locked([&] { engine_.SetRefused(std::move(tokens)); });
}

void AorEmulator::SetRefuseAll(bool refuse) {
    Locked([&] { engine_.SetRefuseAll(refuse); });
}

std::vector<std::string> AorEmulator::ReceivedLines() const {
    const auto lock = Listened();
    return engine_.ReceivedLines();
}

void AorEmulator::ClearReceivedLines() {
    const auto lock = Listened();
    engine_.ClearReceivedLines();
}

bool AorEmulator::WaitForLines(size_t count, std::chrono::milliseconds timeout) const {
    return WaitFor(timeout, [&] { return engine_.ReceivedCount() >= count; });
}

}  // namespace emulators
