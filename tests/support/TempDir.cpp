#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "kestrun-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    _path = pattern;
}

TempDir::~TempDir() {
    if (!_previousDir.empty()) {
        std::error_code ignored;
        fs::current_path(_previousDir, ignored);
    }
    std::error_code ignored;
    fs::remove_all(_path, ignored);
}

std::string TempDir::File(const std::string& relative) const {
    return (fs::path(_path) / relative).string();
}

std::string TempDir::Write(const std::string& relative, const std::string& contents) const {
    const fs::path path = fs::path(_path) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << contents;
    return path.string();
}

void TempDir::Enter() {
    if (_previousDir.empty()) {
        _previousDir = fs::current_path().string();
    }
    fs::current_path(_path);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
