#pragma once
// Value histories: the values the operator used in a main-window field (the current frequency,
// the current step), each a preset catalog entry under the field's entry, kept in a file of one
// value per line in the program folder.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "state/job_dcl.h"

class FDX;

// The history file of the field at `panel` and `object`: `programDir` + "%03u%03u.dat".
std::string HistoryFileName(const std::string& programDir, uint32_t panel, uint32_t object);

// The preset entry of `value` for the field at `panel` and `object`. Its name shows the value as
// a frequency in MHz ("%8.4f") or as a step in kHz ("%4.1f").
JobDcl HistoryEntry(uint32_t panel, uint32_t object, uint32_t value, bool frequency);

// The values of the field's history file under fdx.ProgramDir, in file order, each line read as
// the state files read a number (ReadNumberOrZero: a line beyond 32 bits, negative or no number
// at all is 0, never the part of it that fits); none when the file is missing or empty. The
// journal's presets and the main window's lists of the field both read them so.
std::vector<uint32_t> ReadHistoryValues(FDX& fdx, uint32_t panel, uint32_t object);

// The entries of those values.
std::vector<JobDcl> ReadHistoryEntries(FDX& fdx, uint32_t panel, uint32_t object, bool frequency);

// Writes `values` as the history file at `path`, one per line; false when it cannot be written,
// the old file then untouched.
bool WriteHistoryFile(const std::string& path, std::span<const uint32_t> values);
