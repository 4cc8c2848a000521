// What a player sets for the game: the defaults, the ranges and the rules for reading a value,
// which the settings' rows (base/SettingsFile.h) apply for the game, the launcher (through
// kestrun-settings) and the tests.
#pragma once

#include <string>

constexpr int kDefaultVolume = 80;
constexpr int kLoudestVolume = 100;     // a volume is a whole number from 0 (silent) to this
constexpr int kDefaultFrameCap = 60;    // frames a second: the pace the game's rules are written for
constexpr int kHighestFrameCap = 1000;  // a cap is a whole number up to this, or 0 for none

// One racer's four controls, each a key code as GLUT reports it (case matters: "W" is not "w").
struct RacerKeys {
    unsigned char accelerate;
    unsigned char hold;
    unsigned char left;
    unsigned char right;
};

constexpr RacerKeys kRacer1Keys = {'w', 's', 'a', 'd'};
constexpr RacerKeys kRacer2Keys = {'i', 'k', 'j', 'l'};

// The keys the game keeps for itself; no racer may have them.
constexpr unsigned char kEscapeKey = 27;
constexpr unsigned char kQuitKey = 'q';
constexpr unsigned char kSnapshotKey = 'c';

// A whole number written in decimal digits alone, from `lowest` to `highest`. Leading zeros
// are allowed ("007" is 7); a sign, a space, a point or any other text is not. False for
// anything else, leaving *value as it was.
bool ReadWholeNumber(const char* text, int lowest, int highest, int* value);

// "yes" or "no", as written (fullscreen).
bool ReadYesNo(const char* text, bool* value);

// A racer's key: one printable character, ASCII or one of Latin-1 written in UTF-8 ("é" is the
// code 233, as X reports the key). A space cannot be written. The game's own keys are read
// too: the caller refuses them.
bool ReadKey(const std::string& text, unsigned char* key);
// The key as the settings file writes it (UTF-8).
std::string KeyText(unsigned char key);
bool IsGameKey(unsigned char key);

// The environment variable's value when it is set and not empty; null otherwise.
const char* EnvironmentSetting(const char* name);
