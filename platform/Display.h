// Whether an X display can be opened, asked before GLUT would fail with its own message.
#pragma once

bool DisplayAvailable();
