#include "ui/process.h"

#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>

#include <signal.h>
#include <unistd.h>

#include "ui/text.h"

namespace ui {

namespace {
// How long a program the application leaves behind is given to end when asked.
constexpr int kEndWaitMs = 2000;

// The process groups of the programs RunProcess waits for, innermost last.
std::vector<pid_t>& RunningGroups() {
    static std::vector<pid_t> groups;
    return groups;
}

// Ends the group the running program leads: SIGTERM to all of it, then SIGKILL when the program
// has not ended in its time.
void EndProgramGroup(QProcess& process) {
    const pid_t group = pid_t(process.processId());
    if (group <= 0) return;
    ::kill(-group, SIGTERM);
    if (process.waitForFinished(kEndWaitMs)) return;
    ::kill(-group, SIGKILL);
    process.waitForFinished(-1);
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // a word began, perhaps with an empty quoted part
    char quote = 0;       // the quote of the quoted part the line is in; 0 outside one
    for (const char c : line) {
        if (quote != 0 && c == quote) {
            quote = 0;
        } else if (quote == 0 && (c == '"' || c == '\'')) {
            quote = c;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && quote == 0) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

std::string FindProgram(const std::string& program, const std::string& folder) {
    const QString name = ToQt(program);
    if (name.isEmpty()) return {};
    if (name.contains('/'))
        return FromQt(QDir::isAbsolutePath(name) ? name : QDir(ToQt(folder)).filePath(name));
    if (!folder.empty()) {
        const QString inFolder = QStandardPaths::findExecutable(name, {ToQt(folder)});
        if (!inFolder.isEmpty()) return FromQt(inFolder);
    }
    return FromQt(QStandardPaths::findExecutable(name));
}

ProcessResult RunProcess(const std::vector<std::string>& command, const std::string& folder) {
    if (command.empty()) return {};
    const std::string program = FindProgram(command[0], folder);
    if (program.empty()) return {};
    QStringList arguments;
    for (size_t i = 1; i < command.size(); ++i) arguments << ToQt(command[i]);

    // The loop and the flags outlive the process: a process object that goes while its program
    // runs ends the program and tells of its end then.
    QEventLoop loop;
    bool ended = false;
    bool failedToStart = false;
    QProcess process;
    process.setProgram(ToQt(program));
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    // The program leads a process group of its own, so that what it starts (a script's
    // programs) can be ended with it.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    QObject::connect(&process, &QProcess::finished, [&] {
        ended = true;
        loop.quit();
    });
    QObject::connect(&process, &QProcess::errorOccurred, [&](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        failedToStart = ended = true;
        loop.quit();
    });
    process.start();
    // A start can fail before the loop runs; quitting a loop that has not begun is lost.
    if (!ended) {
        RunningGroups().push_back(pid_t(process.processId()));
        loop.exec();
        RunningGroups().pop_back();
    }
    if (failedToStart) return {};
    // The wait ended before the program: the application is quitting (its close, a logout).
    // The program and what it started are asked to end, then made to, so that the program's
    // end is not held up and nothing of the job runs on after it.
    if (!ended) EndProgramGroup(process);
    const int code = process.exitCode();
    return {true, process.exitStatus() == QProcess::CrashExit ? 128 + code : code};
}

void EndRunningPrograms() {
    for (const pid_t group : RunningGroups())
        if (group > 0) ::kill(-group, SIGTERM);
}

}  // namespace ui
