// The player's settings and the one place where the settings in force are worked out: each
// setting's default, then the settings file, $XDG_CONFIG_HOME/kestrun/settings, then the
// setting's environment variable (the launcher turns its own options into those variables, so
// they win over one the player set). The file is UTF-8 text, one "name = value" a line, "#"
// comment lines, blank lines, and a "#" comment after a value. Nothing in it is fatal: a missing
// file says nothing; each wrong line (an unknown name, a bad value, a key given to two controls
// or kept by the game) and each refused variable gets one line naming what is wrong and the
// value in force, and costs only itself; a file that cannot be read gets one line.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "base/Settings.h"

// What the player chose; each value its default until the file or the environment says
// otherwise.
struct PlayerSettings {
    RacerKeys racer1 = kRacer1Keys;
    RacerKeys racer2 = kRacer2Keys;
    int volume = kDefaultVolume;
    bool fullscreen = false;
    int frameCap = kDefaultFrameCap;
    bool itemsOnCourse = false; // items = course: every item where a racer can drive
};

// One setting: its name in the file, its variable, and its rule.
struct SettingRow {
    std::string name;
    const char* environment; // the variable that wins over the file, or null
    // Takes a value into the settings, or returns what is wrong with it, to follow the name
    // ("must be yes or no, not 'maybe'").
    std::function<std::string(const std::string& value, PlayerSettings* settings)> read;
    // The value in force, as the file writes it.
    std::function<std::string(const PlayerSettings& settings)> show;
};

// Every setting, in the order kestrun-settings shows them.
const std::vector<SettingRow>& SettingRows();

// Where a setting in force comes from: a line of the file, or an environment variable.
struct SettingSource {
    int line = 0;
    const char* variable = nullptr;
};
// By name; a setting that is not there has its default.
using SettingSources = std::map<std::string, SettingSource>;

// Works out the settings in force into *settings from the settings file `in` (fileName names
// it in the problem lines) and the environment, and writes the problem lines to `problems`:
// the file's first few in the order of the file, how many more there are, then the refused
// variables'.
SettingSources ReadSettings(std::istream& in, const std::string& fileName, PlayerSettings* settings,
                            std::ostream& problems);

// Where the file is: $XDG_CONFIG_HOME/kestrun/settings when XDG_CONFIG_HOME is an absolute
// path, else $HOME/.config/kestrun/settings; empty when neither is.
std::string SettingsFilePath();

// ReadSettings on the file at path; no file there (or an empty path) reads as an empty file.
SettingSources LoadSettings(const std::string& path, PlayerSettings* settings,
                            std::ostream& problems);

// The settings as a settings file that gives them again: one line each, in columns, with where
// it comes from as a comment ("# default", "# the file, line 3", "# KESTRUN_VOLUME").
void WriteSettings(const PlayerSettings& settings, const SettingSources& sources,
                   std::ostream& out);
