// Whether an X display can be opened, asked before GLUT would fail with its own message.
#pragma once

// displayName is GLUT's "-display NAME" option; null means $DISPLAY.
bool DisplayAvailable(const char* displayName);
