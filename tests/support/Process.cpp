#include "Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace {
using Clock = std::chrono::steady_clock;

std::vector<std::string> BuildEnvironment(const EnvChanges& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (changes.count(name) == 0) {
            result.push_back(text);
        }
    }
    for (const auto& [name, value] : changes) {
        if (value) {
            result.push_back(name + "=" + *value);
        }
    }
    return result;
}

std::vector<char*> PointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

int OpenOrNull(const std::string& path, int flags) {
    return open(path.empty() ? "/dev/null" : path.c_str(), flags | O_CLOEXEC, 0644);
}

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void ExecChild(pid_t parent, char* const* argv, char* const* envp, const char* dir,
                            const int (&stdFds)[3], int inheritFd, int errorPipe) {
    prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlive the test process
    if (getppid() != parent) {
        _exit(127);
    }
    for (int target = 0; target < 3; ++target) {
        if (dup2(stdFds[target], target) < 0) {
            _exit(127);
        }
    }
    if (inheritFd >= 0) {
        fcntl(inheritFd, F_SETFD, 0);
    }
    if (dir && chdir(dir) != 0) {
        const int code = errno;
        (void)!write(errorPipe, &code, sizeof code);
        _exit(127);
    }
    execvpe(argv[0], argv, envp);
    const int code = errno;
    (void)!write(errorPipe, &code, sizeof code);
    _exit(127);
}

// Starts argv with the given standard descriptors; -1 and *error when it cannot.
pid_t Spawn(const std::vector<std::string>& args, const std::string& workDir, const EnvChanges& env,
            const int (&stdFds)[3], int inheritFd, std::string* error) {
    if (args.empty()) {
        *error = "no command";
        return -1;
    }
    std::vector<std::string> argTexts = args;
    std::vector<std::string> envTexts = BuildEnvironment(env);
    std::vector<char*> argv = PointersTo(argTexts);
    std::vector<char*> envp = PointersTo(envTexts);
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) {
        *error = std::string("pipe: ") + std::strerror(errno);
        return -1;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        close(errorPipe[0]);
        ExecChild(parent, argv.data(), envp.data(), workDir.empty() ? nullptr : workDir.c_str(),
                  stdFds, inheritFd, errorPipe[1]);
    }
    close(errorPipe[1]);
    if (pid < 0) {
        close(errorPipe[0]);
        *error = std::string("fork: ") + std::strerror(errno);
        return -1;
    }
    int code = 0;
    ssize_t got;
    do {
        got = read(errorPipe[0], &code, sizeof code);
    } while (got < 0 && errno == EINTR);
    close(errorPipe[0]);
    if (got == static_cast<ssize_t>(sizeof code)) {
        waitpid(pid, nullptr, 0);
        *error = "cannot start " + args[0] + " (in '" + workDir + "'): " + std::strerror(code);
        return -1;
    }
    return pid;
}

ExitStatus StatusFromWait(int raw) {
    ExitStatus status;
    status.finished = true;
    if (WIFEXITED(raw)) {
        status.exited = true;
        status.code = WEXITSTATUS(raw);
    } else if (WIFSIGNALED(raw)) {
        status.signal = WTERMSIG(raw);
    }
    return status;
}
} // namespace

std::string ExitStatus::Describe() const {
    if (!finished) {
        return "still running";
    }
    if (exited) {
        return "exited with status " + std::to_string(code);
    }
    return "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

Process::~Process() {
    Stop(Millis(2000));
}

bool Process::Start(const ProcessOptions& options, std::string* error) {
    const int fds[3] = {OpenOrNull(options.stdinFile, O_RDONLY),
                        OpenOrNull(options.stdoutFile, O_WRONLY | O_CREAT | O_TRUNC),
                        OpenOrNull(options.stderrFile, O_WRONLY | O_CREAT | O_TRUNC)};
    pid_t pid = -1;
    if (fds[0] < 0 || fds[1] < 0 || fds[2] < 0) {
        *error = std::string("cannot open the child's standard files: ") + std::strerror(errno);
    } else {
        pid = Spawn(options.argv, options.workDir, options.env, fds, options.inheritFd, error);
    }
    for (int fd : fds) {
        if (fd >= 0) {
            close(fd);
        }
    }
    _pid = pid;
    _status = ExitStatus();
    return pid > 0;
}

bool Process::Reap(int options) {
    if (_pid <= 0 || _status.finished) {
        return _status.finished;
    }
    int raw = 0;
    pid_t got;
    do {
        got = waitpid(_pid, &raw, options);
    } while (got < 0 && errno == EINTR);
    if (got == _pid) {
        _status = StatusFromWait(raw);
    } else if (got < 0) {
        _status.finished = true; // not our child any more: nothing left to wait for
    }
    return _status.finished;
}

bool Process::Running() {
    return _pid > 0 && !Reap(WNOHANG);
}

ExitStatus Process::Wait(Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!Reap(WNOHANG) && Clock::now() < deadline) {
        std::this_thread::sleep_for(Millis(10));
    }
    return _status;
}

ExitStatus Process::Stop(Millis grace) {
    if (!Running()) {
        return _status;
    }
    kill(_pid, SIGTERM);
    if (!Wait(grace).finished) {
        kill(_pid, SIGKILL);
        Reap(0);
    }
    return _status;
}

CommandResult RunCommand(const std::vector<std::string>& argv, const EnvChanges& env,
                         Millis timeout) {
    CommandResult result;
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) {
        result.err = "pipe failed";
        return result;
    }
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        result.err = "pipe failed";
        return result;
    }
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int fds[3] = {devNull, outPipe[1], errPipe[1]};
    std::string error;
    const pid_t pid = Spawn(argv, "", env, fds, -1, &error);
    close(devNull);
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        result.err = error;
        return result;
    }
    const auto deadline = Clock::now() + timeout;
    pollfd polls[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int openCount = 2;
    while (openCount > 0 && Clock::now() < deadline) {
        const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now());
        if (poll(polls, 2, static_cast<int>(left.count()) + 1) < 0 && errno != EINTR) {
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (polls[i].fd >= 0 && polls[i].revents != 0) {
                char buffer[4096];
                const ssize_t got = read(polls[i].fd, buffer, sizeof buffer);
                if (got > 0) {
                    sinks[i]->append(buffer, static_cast<size_t>(got));
                } else if (got == 0 || errno != EINTR) {
                    close(polls[i].fd);
                    polls[i].fd = -1;
                    --openCount;
                }
            }
        }
    }
    for (pollfd& entry : polls) {
        if (entry.fd >= 0) {
            close(entry.fd);
        }
    }
    int raw = 0;
    pid_t reaped = 0;
    while ((reaped = waitpid(pid, &raw, WNOHANG)) == 0 && Clock::now() < deadline) {
        std::this_thread::sleep_for(Millis(5));
    }
    if (reaped != pid) {
        kill(pid, SIGKILL); // timed out
        waitpid(pid, &raw, 0);
        return result;
    }
    result.status = StatusFromWait(raw);
    return result;
}
