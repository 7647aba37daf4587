#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "state/job_str.h"

class FDX;

// Lines the job editor and the run buffer hold at most. A stored job may hold more: loading it
// takes its first lines, and the job itself keeps them all.
inline constexpr std::size_t kMaxJobLines = 1000;

// A job: a named list of job lines, the file job.cfg in its own folder under JOB.
struct UserJob {
    std::string Identifier;  // name shown in the journal; "Задание N %u" for a new job
    std::string FolderName;  // the job's folder under JOB, "%04u"
    std::string Date;        // day of the last write, "dd/mm/yyyy"
    std::string Time;        // time of the last write, "hh:mm"
    std::string File;        // full path of its job.cfg
    std::string Directory;   // full path of its folder, ending with "/"
    std::vector<JobStr> Lines;

    // Stamps Date and Time with the clock and writes File whole; false when it cannot be written,
    // the old file then untouched.
    bool WriteFile();

    // Fills the identifier, date, time and lines from the file at `path`, starting from the
    // defaults. The lines are every one the file holds, whatever its "Кол-во" says. False, with
    // the defaults, when the file is missing, unreadable or empty. Names and paths are left as
    // they are.
    bool ReadFile(FDX& fdx, const std::string& path);
};

// Saves `job` in its folder under `programDir` + "JOB/", making the folder when it is missing,
// and sets the job's Directory and File to it first.
bool SaveJobFile(const std::string& programDir, UserJob& job);
