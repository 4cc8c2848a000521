#include "app/LevelFile.h"

#include <iostream>
#include <istream>

namespace {
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

bool ReadLevelFields(std::istream& in, char (&skyboxPath)[kLevelFieldSize],
                     char (&courseFile)[kLevelFieldSize]) {
    return ReadReportedField(in, "  skybox path: ", skyboxPath) &&
           ReadReportedField(in, "  course filename: ", courseFile);
}
