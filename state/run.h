#pragma once

#include <string>

#include "state/moment.h"

class FDX;

// A run of a job: the period it ran, described by a ".run" file beside the job's job.cfg.
struct Run {
    std::string Identifier;
    std::string Text;
    std::string Date;  // day of the last write, "dd/mm/yyyy"
    std::string Time;  // time of the last write, "hh:mm"
    std::string File;  // full path of the ".run" file
    Moment Start{};
    Moment End{};

    // Stamps Date and Time with the clock and writes File whole; false when it cannot be written,
    // the old file then untouched.
    bool WriteFile();

    // Fills the identifier, date, time, start and end from the file at `path`, starting from the
    // defaults; Start and End change only by their lines. False, with the defaults, when the file
    // is missing, unreadable or empty. Text and path are left as they are.
    bool ReadFile(FDX& fdx, const std::string& path);
};
