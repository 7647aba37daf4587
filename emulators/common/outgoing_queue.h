#pragma once
// What a set has to send, each piece due at its own time, for a PtyServer's Pending and Sent.
// Pieces leave in the order of their times: an answer held back by latency lets the echo and
// the reports due before it go first. In line-rate mode a piece leaves only once the line
// has carried it after what was queued before it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "emulators/common/line_rate.h"

namespace emulators {

class OutgoingQueue {
  public:
    using Clock = LineClock;
    // A line nobody reads fills up; past this much waiting output new pieces are dropped
    // rather than kept without bound.
    static constexpr size_t kMostBytes = 65536;

    // Queues `bytes` due at `due`, or with `byteTime` (PtyServer::LineByteTime) after the
    // line has carried what is queued, at that time a byte. `speed` is the line speed the set
    // sends them at, for a set that keeps its own. False, and nothing queued, when full.
    bool Push(Clock::time_point due, std::string bytes,
              std::optional<std::chrono::nanoseconds> byteTime, uint32_t speed = 0);
    // The rest of the first piece once it is due at `now`; empty when none is.
    std::string_view Pending(Clock::time_point now) const;
    // The speed that piece was queued with.
    uint32_t PendingSpeed() const { return pieces_.front().speed; }
    // `count` bytes of it have gone out; once all have, the next piece is first.
    void Sent(size_t count);
    // When the first piece is due; max when none waits.
    Clock::time_point NextDue() const;

  private:
    struct Piece {
        Clock::time_point due;
        std::string bytes;
        uint32_t speed;
    };

    std::deque<Piece> pieces_;
    size_t bytes_ = 0;
    size_t written_ = 0;            // of pieces_.front()
    Clock::time_point lineFree_{};  // when the line has carried what is queued (line rate)
};

}  // namespace emulators
