#include "platform/Relaunch.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <unistd.h>

std::string OwnProgram() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "" : program.string();
}

std::string ReplaceProcess(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    return std::strerror(errno);
}

std::string CannotRun(const std::string& program) {
    if (program.empty()) {
        return "the system does not say where it is";
    }
    return access(program.c_str(), X_OK) == 0 ? "" : std::strerror(errno);
}
