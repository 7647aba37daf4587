#include "state/channel_order.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "state/cp1251.h"
#include "state/user_freq.h"

namespace {

// A label in code page 1251 with its capitals made small: "Маяк" and "МАЯК" compare equal.
std::string FoldCase(const std::string& label) {
    std::string bytes = Utf8ToCp1251(label);
    for (char& c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 'A' && b <= 'Z') c = static_cast<char>(b + 32);
        if (b >= 0xC0 && b <= 0xDF) c = static_cast<char>(b + 32);
        if (b == 0xA8) c = static_cast<char>(0xB8);  // Ё
    }
    return bytes;
}

bool Less(const ChannelSortFields& x, const ChannelSortFields& y, ChannelColumn column) {
    if (column == ChannelColumn::Number) return x.number < y.number;
    const bool xOff = x.frequency == 0, yOff = y.frequency == 0;
    if (xOff != yOff) return yOff;
    switch (column) {
        case ChannelColumn::Frequency:
            return x.frequency < y.frequency;
        case ChannelColumn::Step:
            return x.step < y.step;
        case ChannelColumn::Mode:
            return ModeSortRank(x.mode) < ModeSortRank(y.mode);
        case ChannelColumn::Level:
            return x.level < y.level;
        case ChannelColumn::Attenuator:
            return !x.attenuator && y.attenuator;
        case ChannelColumn::Label:
            return x.label < y.label;  // folded before the sort
        case ChannelColumn::Number:
            break;
    }
    return false;
}

}  // namespace

int ModeSortRank(char letter) {
    constexpr std::string_view kOrder = "FWALUC";
    const std::size_t at = kOrder.find(letter);
    return at != std::string_view::npos ? int(at) : int(kOrder.size()) + int(uint8_t(letter));
}

ChannelSortFields SortFieldsOf(const Mt& channel) {
    return {channel.Frequency,       channel.Step,       channel.Modulation, channel.Work,
            channel.Attenuator != 0, channel.Identifier, channel.Number};
}

void SortChannelRows(std::vector<int32_t>& rows, ChannelColumn column,
                     const std::function<ChannelSortFields(int32_t record)>& fields) {
    // Each row's fields once, its label folded once, rather than at every comparison.
    std::vector<std::pair<ChannelSortFields, int32_t>> keyed;
    keyed.reserve(rows.size());
    for (const int32_t record : rows) {
        ChannelSortFields f = fields(record);
        if (column == ChannelColumn::Label) f.label = FoldCase(f.label);
        keyed.emplace_back(std::move(f), record);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [column](const auto& a, const auto& b) {
        return Less(a.first, b.first, column);
    });
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = keyed[i].second;
}
