// What a player sets for the game, and the one rule for reading each value, shared by the
// game, the launcher (through kestrun-settings) and the tests.
#pragma once

constexpr int kDefaultVolume = 80;
constexpr int kLoudestVolume = 100;

// A whole number written in decimal digits alone, from `lowest` to `highest`. Leading zeros
// are allowed ("007" is 7); a sign, a space, a point or any other text is not. False for
// anything else, leaving *value as it was.
bool ReadWholeNumber(const char* text, int lowest, int highest, int* value);

// A volume: a whole number from 0 (silent) to kLoudestVolume.
bool ReadVolume(const char* text, int* volume);
