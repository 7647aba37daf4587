#pragma once
// The order of a channel list sorted by one of its columns. The bank window, the compact
// channel list and the receiver panels' lists sort alike, each from its own records.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Mt;

// The columns a channel list sorts by, in the order the bank window shows them.
enum class ChannelColumn { Frequency, Step, Mode, Level, Attenuator, Label, Number };

// Where a channel of mode `letter` stands when a channel list is sorted by mode: F, W, A, L, U,
// C in this order, then any other letter by its byte.
int ModeSortRank(char letter);

// What a channel list compares of a channel.
struct ChannelSortFields {
    uint32_t frequency = 0;  // 0: switched off
    uint32_t step = 0;
    char mode = 0;
    int32_t level = 0;
    bool attenuator = false;
    std::string label;  // UTF-8
    int32_t number = 0;
};
ChannelSortFields SortFieldsOf(const Mt& channel);

// Sorts `rows` (the records a list shows, top to bottom) ascending by `column`, equal ones
// in the order they had: modes in the order of ModeSortRank, attenuator off first, labels
// whatever the letter case (Cyrillic letters too); a switched-off channel after every other,
// except by number. `fields` gives what a row's record holds.
void SortChannelRows(std::vector<int32_t>& rows, ChannelColumn column,
                     const std::function<ChannelSortFields(int32_t record)>& fields);
