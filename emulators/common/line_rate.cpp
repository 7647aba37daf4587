#include "emulators/common/line_rate.h"

#include <sys/prctl.h>

#include <algorithm>
#include <cstdint>

namespace emulators {

namespace {

constexpr int64_t kAwakeBeforeDueNs = 300'000;
constexpr int64_t kLongestWaitNs = 60'000'000'000;

}  // namespace

LineClock::time_point AfterTheLine(LineClock::time_point due, LineClock::time_point& lineFree,
                                   std::chrono::nanoseconds byteTime, size_t byteCount) {
    const auto onLine = byteTime * static_cast<int64_t>(byteCount);
    lineFree = std::max(due, lineFree) + std::chrono::duration_cast<LineClock::duration>(onLine);
    return lineFree;
}

timespec WaitUntil(LineClock::time_point next, LineClock::time_point now, bool lineRate) {
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(next - now);
    int64_t ns = std::clamp<int64_t>(left.count(), 0, kLongestWaitNs);
    if (lineRate) ns = std::max<int64_t>(ns - kAwakeBeforeDueNs, 0);
    return {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

void UseExactTimers() {
    ::prctl(PR_SET_TIMERSLACK, 1UL);
}

}  // namespace emulators
