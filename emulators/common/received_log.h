#pragma once
// What a set has received (frames, lines), for the tests to look at: the newest kKept, so
// that a long session does not grow without bound, and how many came since the last clear.

#include <cstddef>
#include <deque>
#include <utility>
#include <vector>

namespace emulators {

template <typename Entry>
class ReceivedLog {
  public:
    static constexpr size_t kKept = 10'000;

    void Add(Entry entry) {
        entries_.push_back(std::move(entry));
        if (entries_.size() > kKept) entries_.pop_front();
        ++count_;
    }
    // Oldest first.
    std::vector<Entry> Entries() const { return {entries_.begin(), entries_.end()}; }
    // Since the last clear, also those no longer kept.
    size_t Count() const { return count_; }
    void Clear() {
        entries_.clear();
        count_ = 0;
    }

  private:
    std::deque<Entry> entries_;
    size_t count_ = 0;
};

}  // namespace emulators
