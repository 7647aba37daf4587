#include "emulators/common/outgoing_queue.h"

#include <algorithm>
#include <utility>

namespace emulators {

bool OutgoingQueue::Push(Clock::time_point due, std::string bytes,
                         std::optional<std::chrono::nanoseconds> byteTime, uint32_t speed) {
    if (bytes_ + bytes.size() > kMostBytes) return false;
    if (byteTime) due = AfterTheLine(due, lineFree_, *byteTime, bytes.size());
    bytes_ += bytes.size();
    const auto place = std::upper_bound(
        pieces_.begin(), pieces_.end(), due,
        [](Clock::time_point time, const Piece& piece) { return time < piece.due; });
    pieces_.insert(place, Piece{due, std::move(bytes), speed});
    return true;
}

std::string_view OutgoingQueue::Pending(Clock::time_point now) const {
    if (pieces_.empty() || pieces_.front().due > now) return {};
    return std::string_view(pieces_.front().bytes).substr(written_);
}

void OutgoingQueue::Sent(size_t count) {
    written_ += count;
    if (written_ < pieces_.front().bytes.size()) return;
    bytes_ -= pieces_.front().bytes.size();
    pieces_.pop_front();
    written_ = 0;
}

OutgoingQueue::Clock::time_point OutgoingQueue::NextDue() const {
    return pieces_.empty() ? Clock::time_point::max() : pieces_.front().due;
}

}  // namespace emulators
