// Feeds arbitrary bytes to the level reader: whatever it accepts or refuses, both fields stay
// zero-terminated within their 256 characters and hold no whitespace, and every word it reads
// passes the check the course tool makes before it writes a path into a level.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include "app/LevelFile.h"
#include "base/LevelWords.h"

namespace {
// A field is a token: terminated inside the field, no whitespace in it.
void CheckField(const char (&field)[kLevelFieldSize]) {
    const void* end = std::memchr(field, '\0', kLevelFieldSize);
    if (end == nullptr) {
        std::abort();
    }
    for (const char* c = field; *c != '\0'; ++c) {
        if (std::strchr(" \t\n\v\f\r", *c) != nullptr) {
            std::abort();
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::cout.setstate(std::ios::badbit);  // the reader's console lines are not of interest
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Sentinels that the reader must overwrite with a terminated token or an empty field.
    char skybox[kLevelFieldSize];
    char course[kLevelFieldSize];
    std::memset(skybox, 'x', sizeof skybox);
    std::memset(course, 'x', sizeof course);
    std::istringstream in(text);
    if (ReadLevelFields(in, skybox, course)) {
        CheckField(skybox);
        CheckField(course);
        // A field reported as read is never empty, unless its token began with a zero byte:
        // the reader takes bytes as they come, and the name then ends at once.
        if ((skybox[0] == '\0' || course[0] == '\0') && std::memchr(data, 0, size) == nullptr) {
            std::abort();
        }
    } else {
        CheckField(skybox);
    }

    // The token reader on its own, over the whole input: every call consumes or fails.
    std::istringstream tokens(text);
    char field[kLevelFieldSize];
    for (size_t calls = 0; ReadLevelToken(tokens, field); ++calls) {
        CheckField(field);
        if (field[0] != '\0' && !ReadsAsOneLevelWord(field)) {
            std::abort();  // a word read from a level does not read back as itself
        }
        if (calls > size) {
            std::abort();  // more tokens than bytes: the reader is not advancing
        }
    }
    return 0;
}
