#pragma once
// The clock that stamps stored items with the day and time of their writing. It reads the
// system's local time; tests replace it so that what is written is the same at every run.

#include <cstdint>
#include <functional>
#include <string>

// A moment of the local clock: day, month 1..12, full year, hour, minute, second.
struct LocalTime {
    int32_t Day = 1;
    int32_t Month = 1;
    int32_t Year = 1970;
    int32_t Hour = 0;
    int32_t Minute = 0;
    int32_t Second = 0;
};

class StampClock {
  public:
    static LocalTime Now();
    // Makes Now() answer through `now`; an empty function restores the system's local time.
    static void Set(std::function<LocalTime()> now);
};

// The "Дата" of a stored file: "dd/mm/yyyy".
std::string StampDate(const LocalTime& time);
// The "Время" of a stored file: "hh:mm".
std::string StampTime(const LocalTime& time);
// Sets a record's "Дата" and "Время" to the moment of writing.
void StampNow(std::string& date, std::string& time);
