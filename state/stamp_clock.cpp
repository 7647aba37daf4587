#include "state/stamp_clock.h"

#include <cstdio>
#include <ctime>
#include <utility>

namespace {

std::function<LocalTime()>& replacement() {
    static std::function<LocalTime()> now;
    return now;
}

LocalTime systemNow() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
            local.tm_hour, local.tm_min,     local.tm_sec};
}

}  // namespace

LocalTime StampClock::Now() {
    const auto& now = replacement();
    return now ? now() : systemNow();
}

void StampClock::Set(std::function<LocalTime()> now) {
    replacement() = std::move(now);
}

std::string StampDate(const LocalTime& time) {
    char text[40];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", time.Day, time.Month, time.Year);
    return text;
}

std::string StampTime(const LocalTime& time) {
    char text[24];
    std::snprintf(text, sizeof text, "%02d:%02d", time.Hour, time.Minute);
    return text;
}

void StampNow(std::string& date, std::string& time) {
    const LocalTime now = StampClock::Now();
    date = StampDate(now);
    time = StampTime(now);
}
