// The signals that end the game from outside: Ctrl-C in its terminal (SIGINT), kill's SIGTERM
// and its terminal closing (SIGHUP). The handler only notes the signal; the game loop asks for
// it every frame and ends the game as q does, the sound fading out, and then by that signal,
// so that the shell or the parent sees how the game ended.
#pragma once

// Catches the three signals from now on. Each is caught once: a second while the game ends
// ends it at once.
void CatchQuitSignals();

// The signal caught, or 0 while none has come.
int QuitSignalCaught();

// Ends the process by `signal`, with that signal's default action.
[[noreturn]] void EndBySignal(int signal);
