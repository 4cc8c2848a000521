// The player's settings file, $XDG_CONFIG_HOME/kestrun/settings: plain text, one
// "name = value" a line, "#" comment lines and blank lines, read by the game at start-up and
// shown by kestrun-settings. Nothing in it is fatal: a missing file says nothing; each line
// that is wrong (an unknown name, a bad value, a key given to two controls or kept by the
// game) gets one line naming the file and the line, and its setting keeps its default; a file
// that cannot be read gets one line and every setting its default.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "base/Settings.h"

// What the player chose; each value its default until the file says otherwise.
struct PlayerSettings {
    RacerKeys racer1 = kRacer1Keys;
    RacerKeys racer2 = kRacer2Keys;
    int volume = kDefaultVolume;
    bool fullscreen = false;
    int frameCap = kDefaultFrameCap;
    bool itemsOnCourse = false;  // items = course: every item where a racer can drive
};

// One name the file may set.
struct SettingRow {
    std::string name;
    const char* environment;  // the variable that wins over the file, or null
    // Takes a value into the settings, or returns what is wrong with it, to follow the name
    // ("must be yes or no, not 'maybe'").
    std::function<std::string(const std::string& value, PlayerSettings* settings)> read;
    // The value in force, as the file writes it.
    std::function<std::string(const PlayerSettings& settings)> show;
};

// Every name the file may set, in the order kestrun-settings shows them.
const std::vector<SettingRow>& SettingRows();

// For each setting the file gave, the line it stands on.
using SettingLines = std::map<std::string, int>;

// Reads a settings file into *settings, writing a line to `problems` for each line that is
// wrong, in the order of the file; fileName names the file in those lines. A name given twice
// takes its last value.
SettingLines ReadSettings(std::istream& in, const std::string& fileName, PlayerSettings* settings,
                          std::ostream& problems);

// Where the file is: $XDG_CONFIG_HOME/kestrun/settings when XDG_CONFIG_HOME is an absolute
// path, else $HOME/.config/kestrun/settings; empty when neither is.
std::string SettingsFilePath();

// Reads the file at path; nothing for an empty path or no file there.
SettingLines LoadSettings(const std::string& path, PlayerSettings* settings,
                          std::ostream& problems);
