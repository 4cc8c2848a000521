// A real OpenGL context for tests: one hidden-away GLUT window per test process.
// Needs an X display (./test starts Xvfb and exports DISPLAY).
#pragma once

// Creates the window and makes its context current, once per process.
void EnsureGLContext();

// The GLUT window of the context (0 before EnsureGLContext).
int TestWindowId();
