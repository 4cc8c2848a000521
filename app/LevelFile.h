// Reads the level description: two whitespace-separated tokens, the sky-box directory and
// the course file, each into a field of kLevelFieldSize characters.
#pragma once

#include <cstddef>
#include <iosfwd>

constexpr std::size_t kLevelFieldSize = 256; // 255 characters and the terminating zero

// Takes the next whitespace-separated token into field. False when there is no token or
// the token does not fit (more than kLevelFieldSize - 1 characters); the field then holds
// what fitted. A token that ends at the end of the stream counts as read.
bool ReadLevelToken(std::istream& in, char (&field)[kLevelFieldSize]);

// Reads both fields and reports them as it goes: the "  skybox path: " and
// "  course filename: " lines, with "ERROR" in place of a field that could not be read.
bool ReadLevelFields(std::istream& in, char (&skyboxPath)[kLevelFieldSize],
                     char (&courseFile)[kLevelFieldSize]);
