#pragma once
// The line-rate timing the emulators share: bytes that take their time on the line one after
// the other, and the serving loop's wait for the next bytes due, exact to the line.

#include <time.h>

#include <chrono>
#include <cstddef>

namespace emulators {

using LineClock = std::chrono::steady_clock;

// When `byteCount` bytes, free to leave at `due`, have gone out on a line that is busy until
// `lineFree` and takes `byteTime` a byte; `lineFree` moves on to that time. Nothing overtakes
// what is already on the line.
LineClock::time_point AfterTheLine(LineClock::time_point due, LineClock::time_point& lineFree,
                                   std::chrono::nanoseconds byteTime, size_t byteCount);

// The timeout of the serving loop's wait from `now` until `next` (a minute at most). A timed
// wait wakes up to a tenth of a millisecond late: in line-rate mode the last stretch before
// bytes are due is left to be waited out awake, or the line would run slower than its rate.
timespec WaitUntil(LineClock::time_point next, LineClock::time_point now, bool lineRate);

// Timed waits as exact as the kernel makes them (its default slack is 50 us), for the thread
// that serves a line.
void UseExactTimers();

}  // namespace emulators
