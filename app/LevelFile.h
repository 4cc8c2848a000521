// Reads the level description: the sky-box directory and the course file, each into a field of
// kLevelFieldSize characters, reporting each on the console as it is read.
#pragma once

#include <iosfwd>

#include "base/LevelWords.h"

// Reads both fields and reports them as it goes: the "  skybox path: " and
// "  course filename: " lines, with "ERROR" in place of a field that could not be read.
bool ReadLevelFields(std::istream& in, char (&skyboxPath)[kLevelFieldSize],
                     char (&courseFile)[kLevelFieldSize]);
