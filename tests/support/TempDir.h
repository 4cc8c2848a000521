// A scratch folder for test files, removed with everything in it at the end of the test;
// optionally the working directory while it lives (the game reads assets relative to it).
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return _path; }
    // Full path of a file inside the folder.
    std::string File(const std::string& relative) const;
    // Writes a file (creating its folders) and returns its full path.
    std::string Write(const std::string& relative, const std::string& contents) const;
    // Makes this folder the working directory until the TempDir is destroyed.
    void Enter();

private:
    std::string _path;
    std::string _previousDir;
};

// The whole content of a file, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::string& path);
