// The title of the game's window, by which tests and tools find it on the display.
#pragma once

constexpr const char* kGameTitle = "Game Programming Kestrun";
