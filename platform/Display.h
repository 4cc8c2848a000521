// Whether an X display can be opened, asked before GLUT would fail with its own message.
#pragma once

bool DisplayAvailable();
// The same for a named display (GLUT's "-display NAME" option); null means $DISPLAY.
bool DisplayAvailable(const char* displayName);
