// Starting a program in the game's place: the same process, folder and environment, as a
// course switch does once the window's place is handed over and the sound has faded out.
#pragma once

#include <string>
#include <vector>

// The game's own program file; empty when the system does not say.
std::string OwnProgram();

// Replaces the process with `program`, given `args` (its name first). The files the game opened
// (the display, the pads) close on the way: the libraries open them close-on-exec, and the old
// window goes with its connection. Returns only when the program cannot be started, with why.
std::string ReplaceProcess(const std::string& program, const std::vector<std::string>& args);

// Why `program` cannot be started (it is not there, or not a program the game may run); empty
// when it can.
std::string CannotRun(const std::string& program);
