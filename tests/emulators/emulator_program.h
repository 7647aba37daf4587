#pragma once
// An emulator program run as a script runs it: its terminal's path on standard output, served
// until SIGTERM.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern "C" char** environ;

struct Program {
    pid_t pid = -1;
    int out = -1;  // its standard output
};

// Standard error goes to /dev/null.
inline Program LaunchEmulator(const char* executable, const std::vector<std::string>& options) {
    std::vector<std::string> words{executable};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    Program program;
    if (::posix_spawn(&program.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        program.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    program.out = out[0];
    return program;
}

// The first line of its standard output, however long the program takes to start; what came
// of it when the program ends first.
inline std::string TerminalPath(const Program& program) {
    std::string path;
    for (char c = 0; c != '\n';) {
        if (::read(program.out, &c, 1) != 1) break;
        if (c != '\n') path += c;
    }
    return path;
}

inline int ExitCode(const Program& program) {
    int status = 0;
    ::waitpid(program.pid, &status, 0);
    ::close(program.out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
