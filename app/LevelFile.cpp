#include "app/LevelFile.h"

#include <iostream>
#include <istream>

namespace {
bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips whitespace; true when a character other than whitespace follows.
bool SkipSpace(std::istream& in) {
    for (;;) {
        const int c = in.peek();
        if (c == std::istream::traits_type::eof()) {
            return false;
        }
        if (!IsSpace(c)) {
            return true;
        }
        in.get();
    }
}

// Writes the prompt, reads one field and finishes the line with the field or "ERROR".
bool ReadReportedField(std::istream& in, const char* prompt, char (&field)[kLevelFieldSize]) {
    std::cout << prompt;
    if (!ReadLevelToken(in, field)) {
        std::cout << "ERROR" << std::endl;
        return false;
    }
    std::cout << field << std::endl;
    return true;
}
} // namespace

bool ReadLevelToken(std::istream& in, char (&field)[kLevelFieldSize]) {
    field[0] = '\0';
    if (!in.good() || !SkipSpace(in)) {
        return false;
    }
    std::size_t length = 0;
    for (int c = in.peek(); c != std::istream::traits_type::eof() && !IsSpace(c); c = in.peek()) {
        if (length + 1 >= kLevelFieldSize) {
            field[length] = '\0';
            return false;
        }
        field[length++] = static_cast<char>(in.get());
    }
    field[length] = '\0';
    // A token cut short by a read error is not a token.
    return !in.bad();
}

bool ReadLevelFields(std::istream& in, char (&skyboxPath)[kLevelFieldSize],
                     char (&courseFile)[kLevelFieldSize]) {
    return ReadReportedField(in, "  skybox path: ", skyboxPath) &&
           ReadReportedField(in, "  course filename: ", courseFile);
}
