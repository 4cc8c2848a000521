#include "base/PlayerFolders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace {
bool IsAbsolute(const char* path) {
    return path && path[0] == '/';
}

// Writes every byte to the open file, through short writes and interruptions.
bool WriteAll(int file, const std::string& contents) {
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t written = write(file, contents.data() + done, contents.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}
}  // namespace

std::string PlayerFolder(const char* variable, const char* fallback) {
    const char* base = std::getenv(variable);
    if (IsAbsolute(base)) {
        return std::string(base) + "/kestrun";
    }
    const char* home = std::getenv("HOME");
    if (IsAbsolute(home)) {
        return std::string(home) + "/" + fallback + "/kestrun";
    }
    return "";
}

std::string ConfigFolder() {
    return PlayerFolder("XDG_CONFIG_HOME", ".config");
}

std::string DataFolder() {
    return PlayerFolder("XDG_DATA_HOME", ".local/share");
}

std::string StateFolder() {
    return PlayerFolder("XDG_STATE_HOME", ".local/state");
}

bool WriteFileWhole(const std::string& path, const std::string& contents, std::string* reason) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.parent_path();
    std::error_code error;
    if (!folder.empty()) {
        fs::create_directories(folder, error);
        if (error) {
            *reason = "cannot make the folder " + folder.string() + ": " + error.message();
            return false;
        }
    }
    // The process's own temporary name: two games writing at once never write into one file.
    const fs::path partial =
        folder / ("." + target.filename().string() + "." + std::to_string(getpid()) + ".partial");
    const int file =
        open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file < 0) {
        *reason = "cannot write in " + folder.string() + ": " + std::strerror(errno);
        return false;
    }
    bool whole = WriteAll(file, contents) && fsync(file) == 0;
    int lastError = errno;
    if (close(file) != 0 && whole) {
        whole = false;
        lastError = errno;
    }
    if (whole && std::rename(partial.c_str(), path.c_str()) == 0) {
        return true;
    }
    if (whole) {
        lastError = errno;
    }
    *reason = "cannot write " + path + ": " + std::strerror(lastError);
    unlink(partial.c_str());
    return false;
}
