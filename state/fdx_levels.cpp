// Level calibration, the level axis, and the parsers of typed frequencies and steps.

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "state/fdx.h"
#include "state/key_value.h"

namespace {

constexpr int kLastLevel = 255;
constexpr int kLevelsPerSegment = 16;  // raw levels between two calibration points
constexpr int kGridIntervals = 8;
constexpr int kAxisPerInterval = 32;  // axis positions between two grid lines

// Grid steps in tenths of dB, finest first; the first that covers the calibrated span in at most
// eight intervals is taken, the last whatever the span.
constexpr int64_t kGridSteps[] = {50, 100, 200, 400};

int32_t truncateToInt32(double value) {
    return static_cast<int32_t>(std::clamp<double>(value, std::numeric_limits<int32_t>::min(),
                                                   std::numeric_limits<int32_t>::max()));
}

int32_t saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int64_t gridStep(int64_t span) {
    for (int64_t step : kGridSteps) {
        if (span / step <= kGridIntervals) return step;
    }
    return kGridSteps[std::size(kGridSteps) - 1];
}

// --- Typed numbers

struct NumberParts {
    std::string_view whole;
    std::string_view fraction = "0";
};

// Splits at `separator` into non-empty segments: the first is the whole part, the second the
// fraction. A text that begins with the separator (".5") has no whole part, so its first segment
// is the fraction.
void splitAt(std::string_view text, char separator, NumberParts& parts) {
    if (text.find(separator) == std::string_view::npos) return;
    std::vector<std::string_view> segments;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) segments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (text.front() == separator) {
        parts.whole = {};
        if (!segments.empty()) parts.fraction = segments[0];
        return;
    }
    if (!segments.empty()) parts.whole = segments[0];
    if (segments.size() > 1) parts.fraction = segments[1];
}

// Only four decimals fit the program's units: digits are cut from the right until the fraction
// is below 10000; a fraction that needs 23 cuts counts as 0.
constexpr int64_t kFractionLimit = 10000;
constexpr int kMaxCuts = 23;
constexpr std::size_t kMaxLeadingZeros = 5;

struct TypedNumber {
    int64_t whole;
    int64_t fraction;  // 0..9999, or negative
    int64_t scale;     // 10 to the power of the fraction's leading zeros
};

TypedNumber readTypedNumber(std::string_view text) {
    NumberParts parts{text};
    // Either separator is accepted; a point wins over a comma.
    splitAt(text, ',', parts);
    splitAt(text, '.', parts);

    int cuts = 0;
    while (cuts < kMaxCuts && ReadInteger(parts.fraction) >= kFractionLimit) {
        parts.fraction.remove_suffix(1);
        ++cuts;
    }
    if (cuts == kMaxCuts) parts.fraction = "0";

    // Leading zeros tell how far below the point the typed digits lie.
    const std::size_t zeros =
        std::min({parts.fraction.find_first_not_of('0'), parts.fraction.size(), kMaxLeadingZeros});
    int64_t scale = 1;
    for (std::size_t z = 0; z < zeros; ++z) scale *= 10;
    return {ReadInteger(parts.whole), ReadInteger(parts.fraction), scale};
}

uint32_t clampToU32(int64_t value) {
    return static_cast<uint32_t>(
        std::clamp<int64_t>(value, 0, std::numeric_limits<uint32_t>::max()));
}

}  // namespace

int32_t FDX::LevelToDb(uint32_t raw) const {
    raw = std::min<uint32_t>(raw, kLastLevel);
    const uint32_t k = raw / kLevelsPerSegment;
    const double low = Calibration[k];
    const double high = Calibration[k + 1];
    return truncateToInt32(low + (high - low) * 0.0625 * (raw - kLevelsPerSegment * k));
}

uint32_t FDX::DbToLevel(int32_t tenthsDb) const {
    const auto& table = Calibration;
    if (tenthsDb < table.front() || tenthsDb > table.back()) return 0;
    for (std::size_t k = 0; k + 1 < table.size(); ++k) {
        if (table[k] <= tenthsDb && tenthsDb < table[k + 1]) {
            const double segment = static_cast<double>(table[k + 1]) - table[k];
            const double above = static_cast<double>(tenthsDb) - table[k];
            const double level =
                std::abs(160.0 / segment * above / 10.0 + double(kLevelsPerSegment * k));
            return static_cast<uint32_t>(std::min<double>(level, kLastLevel));
        }
    }
    return 0;  // the value is the table's top, or the table does not rise there
}

bool FDX::CalibrationFits(const std::array<int32_t, 17>& table) {
    return std::is_sorted(table.begin(), table.end()) && table.front() >= -kCalibrationLimit &&
           table.back() <= kCalibrationLimit &&
           int64_t{table.back()} - table.front() >= kLeastCalibrationSpan;
}

uint32_t FDX::NearestLevel(int32_t tenthsDb) const {
    uint32_t nearest = 0;
    int64_t distance = std::numeric_limits<int64_t>::max();
    for (uint32_t raw = 0; raw <= kLastLevel; ++raw) {
        const int64_t d = std::abs(int64_t{LevelToDb(raw)} - tenthsDb);
        if (d < distance) {
            distance = d;
            nearest = raw;
        }
    }
    return nearest;
}

void FDX::BuildLevelTable() {
    const int64_t span = std::abs(int64_t{Calibration.back()} - Calibration.front());
    const int64_t step = gridStep(span);
    const int64_t first = Calibration.front() / step * step;
    for (std::size_t j = 0; j < LevelGrid.size(); ++j)
        LevelGrid[j] = saturate(first + static_cast<int64_t>(j) * step);

    // Place every raw level that a point of the axis converts to at that point.
    LevelAxis.fill(0);
    for (int j = 0; j < kGridIntervals; ++j) {
        const double bottom = LevelGrid[j];
        const double height = static_cast<double>(LevelGrid[j + 1]) - LevelGrid[j];
        for (int k = 0; k < kAxisPerInterval; ++k) {
            const uint32_t raw = DbToLevel(truncateToInt32(bottom + height * k * 0.03125));
            if (raw > 0 && raw < kLastLevel) LevelAxis[raw] = kAxisPerInterval * j + k;
        }
    }

    // The walk above never reaches raw level 255, the strongest signal, and would leave it at the
    // bottom of the axis. It goes where its calibrated level lies on the grid, clamped to the
    // axis, and never below the levels beneath it.
    const int64_t top = (int64_t{LevelToDb(kLastLevel)} - LevelGrid[0]) * kAxisPerInterval / step;
    int32_t highestBelow = 0;
    for (int raw = kLastLevel - 1; raw > 0 && highestBelow == 0; --raw)
        highestBelow = LevelAxis[raw];
    LevelAxis[kLastLevel] =
        std::max(saturate(std::clamp<int64_t>(top, 0, kLastLevel)), highestBelow);

    // Raw levels that no axis point converted to are spread evenly between their neighbours.
    // Raw level 0 is the bottom of the axis and is never placed, so the walk starts above it.
    int p = 0;
    int32_t q = 0;
    for (int i = 1; i <= kLastLevel; ++i) {
        const int32_t entry = LevelAxis[i];
        if (entry == 0 && i != kLastLevel) continue;
        const int32_t d = entry == 0 ? 0 : (entry - q) / (i - p);
        for (int b = p + 1; b < i; ++b) LevelAxis[b] = q + d * (b - p);
        p = i;
        q = entry;
    }
}

int32_t FDX::LevelAxisAt(int64_t raw) const {
    return LevelAxis[static_cast<std::size_t>(std::clamp<int64_t>(raw, 0, kLastLevel))];
}

uint32_t FDX::ParseMHz(std::string_view text) {
    const TypedNumber number = readTypedNumber(text);
    if (number.fraction < 0) return 0;
    // Ten-thousandths of a MHz, from however many decimals were typed.
    int64_t term = number.fraction / number.scale;
    if (number.fraction < 10) {
        term = number.fraction * 1000 / number.scale;
    } else if (number.fraction < 100) {
        term = number.fraction * 100 / number.scale;
    } else if (number.fraction < 1000) {
        term = number.fraction * 10 / number.scale;
    }
    return clampToU32(number.whole * 10000 + term);
}

uint32_t FDX::ParseKHz(std::string_view text) {
    const TypedNumber number = readTypedNumber(text);
    if (number.fraction < 0) return 0;
    // Tenths of a kHz: the first decimal typed.
    int64_t term = number.fraction / number.scale;
    if (number.fraction >= 1000) {
        term /= 1000;
    } else if (number.fraction >= 100) {
        term /= 100;
    } else if (number.fraction >= 10) {
        term /= 10;
    }
    return clampToU32(number.whole * 10 + term);
}
