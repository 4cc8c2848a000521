// Drawing into an off-screen target and reading GL state back, for tests with a context.
#pragma once

#include <cstddef>
#include <vector>

#include <GL/gl.h>

// An off-screen colour and depth target, bound for drawing and reading while it lives.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height) : _width(width), _height(height) {
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
    ~OffscreenTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteRenderbuffers(2, _renderbuffers);
        glDeleteFramebuffers(1, &_framebuffer);
    }
    bool Complete() const {
        return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    // RGBA bytes, bottom row first.
    std::vector<unsigned char> Read() const {
        std::vector<unsigned char> pixels(static_cast<size_t>(_width) * _height * 4);
        glReadPixels(0, 0, _width, _height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

private:
    int _width;
    int _height;
    GLuint _framebuffer = 0;
    GLuint _renderbuffers[2] = {};
};

inline GLint GetInteger(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}
