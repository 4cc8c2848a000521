// What a player sets for the game, and the one rule for reading each value, shared by the
// game, the launcher (through kestrun-settings) and the tests.
#pragma once

constexpr int kDefaultVolume = 80;
constexpr int kLoudestVolume = 100;
constexpr int kDefaultFrameCap = 60;    // frames a second: the pace the game's rules are written for
constexpr int kHighestFrameCap = 1000;

// A whole number written in decimal digits alone, from `lowest` to `highest`. Leading zeros
// are allowed ("007" is 7); a sign, a space, a point or any other text is not. False for
// anything else, leaving *value as it was.
bool ReadWholeNumber(const char* text, int lowest, int highest, int* value);

// A volume: a whole number from 0 (silent) to kLoudestVolume.
bool ReadVolume(const char* text, int* volume);

// A cap on the frame rate: a whole number from 1 to kHighestFrameCap frames a second, or 0 for
// none (frames back to back, one tick each, as the benchmarks run them).
bool ReadFrameCap(const char* text, int* framesPerSecond);
