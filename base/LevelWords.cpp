#include "base/LevelWords.h"

#include <istream>
#include <sstream>

namespace {
// Skips whitespace; true when a character other than whitespace follows.
bool SkipSpace(std::istream& in) {
    for (;;) {
        const int c = in.peek();
        if (c == std::istream::traits_type::eof()) {
            return false;
        }
        if (!IsLevelSpace(c)) {
            return true;
        }
        in.get();
    }
}
} // namespace

bool IsLevelSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool ReadLevelToken(std::istream& in, char (&field)[kLevelFieldSize]) {
    field[0] = '\0';
    if (!in.good() || !SkipSpace(in)) {
        return false;
    }
    std::size_t length = 0;
    for (int c = in.peek(); c != std::istream::traits_type::eof() && !IsLevelSpace(c);
         c = in.peek()) {
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

bool ReadsAsOneLevelWord(const std::string& text) {
    std::istringstream in(text);
    char field[kLevelFieldSize];
    return ReadLevelToken(in, field) && text == field;
}
