// The words of a level file, as the game reads them: whitespace-separated words, the sky-box
// folder first and the course file second, each read into a field of kLevelFieldSize bytes.
// The game, the course checker and the course tool all read and write levels by this rule.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

constexpr std::size_t kLevelFieldSize = 256; // 255 characters and the terminating zero

// The characters that separate a level's words: space, tab, line feed, vertical tab, form
// feed and carriage return.
bool IsLevelSpace(int c);

// Takes the next whitespace-separated token into field. False when there is no token or
// the token does not fit (more than kLevelFieldSize - 1 characters); the field then holds
// what fitted. A token that ends at the end of the stream counts as read.
bool ReadLevelToken(std::istream& in, char (&field)[kLevelFieldSize]);

// True when text, written as a word of a level, reads back as itself: it is not empty, holds
// no whitespace (nor a zero byte) and fits its field.
bool ReadsAsOneLevelWord(const std::string& text);
