// Whether an X display can be opened, asked before GLUT would fail with its own message.
#pragma once

// displayName is GLUT's "-display NAME" option; null means $DISPLAY.
bool DisplayAvailable(const char* displayName);

// Called as a menu of the current window opens and closes: while it is shown, the button's
// release over it comes to the menu's own window. freeglut reads a release that comes to the
// game's window (where the button went down) as if that window stood in the screen's top left
// corner, so that over a menu of a window anywhere else it chose another entry, or none.
void LetMenusTakeTheirClicks(bool menuShown);
