// Where what a player keeps lives, by the XDG rules, and writing such a file so that it is
// never left cut: settings in the config folder; records, replays and the player's own levels
// in the data folder; what was last played in the state folder.
#pragma once

#include <string>

// The game's folder under an XDG base folder: $<variable>/kestrun when the variable is an
// absolute path, else $HOME/<fallback>/kestrun (HOME absolute too); empty when neither is.
std::string PlayerFolder(const char* variable, const char* fallback);

// $XDG_CONFIG_HOME/kestrun, else ~/.config/kestrun.
std::string ConfigFolder();
// $XDG_DATA_HOME/kestrun, else ~/.local/share/kestrun: records/, replays/ and levels/.
std::string DataFolder();
// $XDG_STATE_HOME/kestrun, else ~/.local/state/kestrun.
std::string StateFolder();

// Writes `contents` as the whole file at `path`: makes its folders, writes under a temporary
// name in the same folder, flushes it to the disk and renames it into place, so that the file
// is either as it was or whole. False, with why in *reason, when any step fails (the
// temporary file is removed then).
bool WriteFileWhole(const std::string& path, const std::string& contents, std::string* reason);
