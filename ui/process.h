#pragma once
// Running another program, as a job line does: from an argument list and never through a
// shell, so a job line's text reaches the program as it is written.

#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct ProcessResult {
    bool started = false;  // false: the program could not be started (missing, not executable)
    int exitCode = 0;      // a program ended by a signal gives 128 + the signal, as shells do
};

// Splits a line into words as a command line is split: blanks (spaces, tabs) separate words;
// a part in double or single quotes keeps its blanks and the quotes go ("C:\My progs\x.exe" -a
// -> [C:\My progs\x.exe] [-a]; sh -c 'exit 3' -> [sh] [-c] [exit 3]; "" is an empty word; an
// open quote runs to the end); inside one kind of quotes the other is a plain character. There
// are no escapes: backslashes are plain characters, as a stored job's path may hold them.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Where `program` is: a name with a "/" as given (a relative one under `folder`); a bare
// name in `folder` first, then along PATH. Empty when a bare name is found nowhere.
std::string FindProgram(const std::string& program, const std::string& folder);

// Starts command[0] (found by FindProgram in `folder`) with the rest of `command` as its
// arguments and waits for it to end, without a limit. The wait is a nested message loop on
// real time: posted codes, input and painting are served meanwhile, so the windows stay
// alive; when the application quits meanwhile (its close, a logout), the program is ended with
// the programs it started, its process group (SIGTERM, then SIGKILL), and its result given. The
// program's input is empty; its output goes where the program's own goes.
ProcessResult RunProcess(const std::vector<std::string>& command, const std::string& folder = {});

// Asks the programs RunProcess waits for, with what they started, to end (SIGTERM to their
// process groups), for a process that ends at once without returning to their waits.
void EndRunningPrograms();

}  // namespace ui
