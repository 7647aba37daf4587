#include "state/fdx.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <utility>

#include "state/cp1251.h"
#include "state/stored_lines.h"
#include "state/text_file.h"
#include "state/user_freq.h"

namespace {

// Start-up calibration: 8.0 dB per 16 raw levels, 0.0 dB at raw level 0.
constexpr int32_t kStartCalibrationStep = 80;

enum StampField { kDay, kMonth, kYear, kHour, kMinute, kSecond };

// The series' calendar: every fourth year is a leap year, without the century exceptions.
int64_t daysInMonth(int64_t month, int64_t year) {
    switch (month) {
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 2:
            return year % 4 == 0 ? 29 : 28;
        default:
            return 31;
    }
}

// With that calendar four years are always 1461 days and the dates repeat.
constexpr int64_t kDaysPerLeapCycle = 4 * 365 + 1;

void nextDay(int64_t& day, int64_t& month, int64_t& year) {
    if (++day <= daysInMonth(month, year)) return;
    day = 1;
    if (++month <= 12) return;
    month = 1;
    ++year;
}

int32_t saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

FDX::FDX() : TextBuffer(kTextFileLimit) {
    for (std::size_t k = 0; k < Calibration.size(); ++k)
        Calibration[k] = static_cast<int32_t>(k) * kStartCalibrationStep;
    BuildLevelTable();
}

FDX::~FDX() = default;

bool FDX::LoadTextFile(std::size_t limit) {
    Lines.clear();
    LoadedText.clear();
    LoadedBytes = 0;
    CutAtNul = false;

    // Asked before opening, so that a name that is not a plain file (a folder, a pipe) is refused
    // without waiting on it.
    struct stat info {};
    if (::stat(LoadFileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > limit) return false;

    // Only a caller that allows larger files than usual makes the buffer grow.
    if (TextBuffer.size() < size) TextBuffer.resize(size);
    const std::optional<std::size_t> read =
        ReadFileStart(LoadFileName, std::span(TextBuffer.data(), std::size_t(size)));
    if (!read) return false;
    LoadedBytes = *read;

    // The text ends at a NUL byte, as it always has for the program's files.
    std::string_view text(TextBuffer.data(), *read);
    const std::size_t nul = text.find('\0');
    CutAtNul = nul != std::string_view::npos;
    text = text.substr(0, nul);
    LoadedText = Cp1251ToUtf8(text);
    ForEachStoredPart(text, std::nullopt, [this](std::string& raw, bool) {
        if (!raw.empty()) Lines.push_back(Cp1251ToUtf8(raw));
    });
    return true;
}

void FDX::ReplaceChannelLevels(std::vector<std::vector<uint8_t>> levels) {
    for (ViewSource& source : ViewSources) {
        for (const std::vector<uint8_t>& history : ChannelLevels) {
            if (source.Levels != &history) continue;
            source.Levels = nullptr;
            source.Count = 0;
        }
    }
    ChannelLevels = std::move(levels);
}

void FDX::MeasurementTime(int n) {
    const int64_t poll = CurrentBank != nullptr ? CurrentBank->Poll : 0;
    int64_t second = int64_t{std::max(n, 0)} * poll + MeasurementStart[kSecond];
    int64_t minute = MeasurementStart[kMinute];
    int64_t hour = MeasurementStart[kHour];
    int64_t day = MeasurementStart[kDay];
    int64_t month = MeasurementStart[kMonth];
    int64_t year = MeasurementStart[kYear];

    // Carry whole minutes, hours and days at once rather than a second at a time: a long series
    // with a long poll period spans many days.
    int64_t days = 0;
    if (second >= 60) {
        minute += second / 60;
        second %= 60;
        if (minute > 59) {
            hour += minute / 60;
            minute %= 60;
            if (hour > 23) {
                days = hour / 24;
                hour %= 24;
            }
        }
    }
    year += 4 * (days / kDaysPerLeapCycle);
    for (days %= kDaysPerLeapCycle; days > 0; --days) nextDay(day, month, year);

    MeasurementStamp = {saturate(day),  saturate(month),  saturate(year),
                        saturate(hour), saturate(minute), saturate(second)};
}
