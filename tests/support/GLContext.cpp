#include "GLContext.h"

#include <GL/glut.h>

namespace {
int g_window = 0;
}  // namespace

void EnsureGLContext() {
    if (g_window != 0) {
        glutSetWindow(g_window);  // a game window an earlier test opened may have been current
        return;
    }
    int argc = 1;
    char name[] = "kestrun-gl-test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(640, 480);
    g_window = glutCreateWindow("kestrun test");
    glutDisplayFunc([] {});
}

int TestWindowId() {
    return g_window;
}

GLint GetInteger(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

void ClearToOrthoView(int size, double half) {
    glViewport(0, 0, size, size);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

OffscreenTarget::OffscreenTarget(int width, int height) : _width(width), _height(height) {
    glGenFramebuffers(1, &_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, _framebuffer);
    glGenRenderbuffers(2, _renderbuffers);
    glBindRenderbuffer(GL_RENDERBUFFER, _renderbuffers[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              _renderbuffers[0]);
    glBindRenderbuffer(GL_RENDERBUFFER, _renderbuffers[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              _renderbuffers[1]);
}

OffscreenTarget::~OffscreenTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(2, _renderbuffers);
    glDeleteFramebuffers(1, &_framebuffer);
}

bool OffscreenTarget::Complete() const {
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

std::vector<unsigned char> OffscreenTarget::Read() const {
    std::vector<unsigned char> pixels(static_cast<size_t>(_width) * _height * 4);
    glReadPixels(0, 0, _width, _height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
