// A real OpenGL context for tests: one hidden-away GLUT window per test process, and the
// small things GL tests share.
// Needs an X display (./test starts Xvfb and exports DISPLAY).
#pragma once

#include <GL/gl.h>

#include <vector>

// Makes the test window's context current, creating the window the first time.
void EnsureGLContext();

// The GLUT window of the context (0 before EnsureGLContext).
int TestWindowId();

// One integer of the GL state.
GLint GetInteger(GLenum name);
// The program in use, and the 2-D texture bound on the active texture unit (0 for none).
GLuint CurrentProgram();
GLuint BoundTexture();

// Clears a size x size viewport to black and sets an orthographic view `half` units either side
// of its centre, looking toward -z from 0.1 to 100 units; leaves an identity modelview current.
void ClearToOrthoView(int size, double half);

// An off-screen colour and depth target, bound for drawing and reading while it lives.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    bool Complete() const;
    // RGBA bytes, bottom row first.
    std::vector<unsigned char> Read() const;

private:
    int _width;
    int _height;
    GLuint _framebuffer = 0;
    GLuint _renderbuffers[2] = {};
};
