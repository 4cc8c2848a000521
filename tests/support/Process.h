// Child processes for the end-to-end tests: started with their own arguments, working
// folder, environment and output files, waited for with a timeout, and always ended and
// reaped by their owner (they also die with the test process if it is killed).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

using Millis = std::chrono::milliseconds;

// How a child ended, or that it had not ended when the wait gave up.
struct ExitStatus {
    bool finished = false; // false: still running when the wait ended
    bool exited = false;   // ended through exit(); code holds the status
    int code = -1;
    int signal = 0; // the signal that ended it, when it did not exit

    bool ExitedWith(int expected) const { return finished && exited && code == expected; }
    std::string Describe() const;
};

// Environment changes for a child: a value sets the variable, nullopt removes it.
using EnvChanges = std::map<std::string, std::optional<std::string>>;

struct ProcessOptions {
    std::vector<std::string> argv; // argv[0] is looked up in PATH when it has no slash
    std::string workDir;           // empty: the test's own working folder
    EnvChanges env;
    std::string stdinFile;  // empty: /dev/null
    std::string stdoutFile; // empty: /dev/null
    std::string stderrFile; // empty: /dev/null
    int inheritFd = -1;     // one more descriptor the child keeps open
};

class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // False (with the reason in *error) when the child could not be started.
    bool Start(const ProcessOptions& options, std::string* error);
    bool Started() const { return _pid > 0; }
    pid_t Pid() const { return _pid; }
    // True while the child has not ended (reaps it if it has).
    bool Running();
    ExitStatus Wait(Millis timeout);
    // Ends the child: SIGTERM, then SIGKILL after a grace period; reaps it. Safe to repeat.
    ExitStatus Stop(Millis grace = Millis(3000));
    const ExitStatus& Status() const { return _status; }

private:
    bool Reap(int options);

    pid_t _pid = -1;
    ExitStatus _status;
};

// Result of a short helper command run to its end.
struct CommandResult {
    ExitStatus status;
    std::string out;
    std::string err;

    bool Ok() const { return status.ExitedWith(0); }
};

// Runs a command to its end with the given environment changes, collecting its output;
// a command still running after the timeout is killed (status.finished is then false).
CommandResult RunCommand(const std::vector<std::string>& argv, const EnvChanges& env,
                         Millis timeout);
