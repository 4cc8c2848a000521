// The level played last, kept in the player's state folder: the game keeps the level it
// starts, and the launcher, started with no level, starts it again.
#pragma once

#include <string>

// $XDG_STATE_HOME/kestrun/last-level (else ~/.local/state/kestrun/last-level); empty when
// there is no state folder.
std::string LastPlayedFile();

// Keeps the level file (by its full path, links resolved) as the one played last, written
// whole. False, with one line that says why in *problem, when it cannot be kept; what was
// kept before then stays.
bool RememberLevel(const std::string& levelFile, std::string* problem);

// The level kept last; empty when none is (or the file cannot be read).
std::string RememberedLevel();
