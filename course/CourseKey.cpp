#include "course/CourseKey.h"

#include <cstdint>
#include <filesystem>
#include <fstream>

std::string CourseKey(const std::string& contents) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const char byte : contents) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3ull;
    }
    static const char kDigits[] = "0123456789abcdef";
    std::string key(16, '0');
    for (int digit = 15; digit >= 0; --digit, hash >>= 4) {
        key[static_cast<size_t>(digit)] = kDigits[hash & 0xf];
    }
    return key;
}

std::string CourseFileKey(const std::string& path) {
    std::error_code error;
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, error)) {
        in.open(path, std::ios::binary);
    }
    std::string contents;
    char block[4096];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        contents.append(block, static_cast<size_t>(in.gcount()));
    }
    return in.is_open() && !in.bad() ? CourseKey(contents) : "";
}
