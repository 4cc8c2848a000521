#include "XServer.h"

#include "TempDir.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
// Xvfb writes its display number and a line end to the -displayfd descriptor once it
// accepts clients.
bool ReadDisplayNumber(int fd, Millis timeout, std::string* number) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd entry = {fd, POLLIN, 0};
        const auto left =
            std::chrono::duration_cast<Millis>(deadline - std::chrono::steady_clock::now());
        const int ready = poll(&entry, 1, static_cast<int>(left.count()) + 1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        char c;
        if (read(fd, &c, 1) != 1) {
            return false; // the server ended before it was ready
        }
        if (c == '\n') {
            return !number->empty();
        }
        number->push_back(c);
    }
    return false;
}
} // namespace

bool XServer::Start(const std::string& screen, const std::string& logFile, std::string* error,
                    bool resetWhenIdle) {
    int displayPipe[2];
    if (pipe2(displayPipe, O_CLOEXEC) != 0) {
        *error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    ProcessOptions options;
    options.argv = {"Xvfb",      "-displayfd", std::to_string(displayPipe[1]),
                    "-screen",   "0",          screen,
                    "-nolisten", "tcp",        "-noreset"};
    if (resetWhenIdle) {
        options.argv.pop_back();
    }
    options.stderrFile = logFile;
    options.inheritFd = displayPipe[1];
    const bool started = _process.Start(options, error);
    close(displayPipe[1]);
    std::string number;
    const bool ready = started && ReadDisplayNumber(displayPipe[0], Millis(30000), &number);
    close(displayPipe[0]);
    if (!started) {
        return false;
    }
    if (!ready) {
        const ExitStatus status = _process.Stop();
        *error = "Xvfb did not come up (" + status.Describe() + "): " + ReadFileBytes(logFile);
        return false;
    }
    _display = ":" + number;
    return true;
}
