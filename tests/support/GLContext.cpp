#include "GLContext.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <string>

namespace {
int g_window = 0;

// Between tests the test window's context goes back to the defaults of what the drawing code
// reads without setting it: the capabilities the game's render state turns on (tests of that
// state leave them on) are turned off again, and a test that leaves a program in use, another
// texture unit active or an off-screen target bound fails, as the game must not either.
class LeftStateCheck : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        if (g_window == 0 || glutGetWindow() != g_window) {
            return;  // no context yet, or a game window of the test is current
        }
        for (GLenum capability : {GL_DEPTH_TEST, GL_CULL_FACE, GL_BLEND, GL_ALPHA_TEST,
                                  GL_SCISSOR_TEST, GL_TEXTURE_2D, GL_LIGHTING, GL_FOG}) {
            glDisable(capability);
        }
        glDepthFunc(GL_LESS);
        std::string left;
        if (GetInteger(GL_CURRENT_PROGRAM) != 0) {
            left += " a program in use,";
            glUseProgram(0);
        }
        if (GetInteger(GL_ACTIVE_TEXTURE) != GL_TEXTURE0) {
            left += " another texture unit active,";
            glActiveTexture(GL_TEXTURE0);
        }
        if (GetInteger(GL_FRAMEBUFFER_BINDING) != 0) {
            left += " an off-screen target bound,";
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        }
        if (!left.empty()) {
            left.pop_back();
            ADD_FAILURE() << "the test left GL state behind:" << left;
        }
    }
};

const bool g_checkRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new LeftStateCheck);
    return true;
}();
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

GLuint CurrentProgram() {
    return static_cast<GLuint>(GetInteger(GL_CURRENT_PROGRAM));
}

GLuint BoundTexture() {
    return static_cast<GLuint>(GetInteger(GL_TEXTURE_BINDING_2D));
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
