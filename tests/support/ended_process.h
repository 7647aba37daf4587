#pragma once
// The number of a process that has ended, as a program killed in the middle of a save leaves it
// in the names of its temporaries.

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

inline pid_t EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    if (child < 0 || ::waitpid(child, nullptr, 0) != child)
        throw std::runtime_error("cannot run a child process");
    return child;
}
