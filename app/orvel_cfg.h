#pragma once
// ORVEL.CFG: what the operator set up in the main window, kept from one run of the program to
// the next: the macro and trigger jobs, the grid and printer options, the level calibration,
// the colours and the items that were loaded (range slots with their etalons, the bank or
// measurement set, the job, the group). Code page 1251, one "key=value" line each, CR LF,
// written whole when the main window closes. Reading does not load the items itself: it
// composes a start-up job that selects and loads them, which the job executor then runs.

class FDX;

inline constexpr const char* kOrvelCfgName = "ORVEL.CFG";

// Writes ORVEL.CFG into fdx.ProgramDir, stamped with the date and time of StampClock. Without
// a receiver type, or after a change that needs a restart, only the first part is written
// (date, time, macro, trigger, grid, logarithm, printer): nothing of the receiver's state is
// kept then. A file that cannot be written gives false (the close reports it); the old file is
// then left as it was. A file the start could neither read nor move aside stays as it is.
bool WriteOrvelCfg(FDX& fdx);

// Reads ORVEL.CFG from fdx.ProgramDir into fdx's fields and composes the start-up job in
// fdx.RunLines (fdx.JobLineCount lines): the items kept in the file when SCAN_SAVE is on, then
// the AUTOEXEC job loaded and started, or else the receiver's tab page selected. The run
// buffer is emptied first; a missing or empty file gives false and queues nothing, and one that
// cannot be read whole (over 500 Kb, or holding a NUL byte) is set aside
// (FDX::SetAsideUnreadFile), takes nothing and gives false.
bool ReadOrvelCfg(FDX& fdx);
