#include <gtest/gtest.h>

#include <GL/gl.h>

#include "GLContext.h"

// The tests' context must be a real one with the version the shaders need.
TEST(GLContext, IsCurrentAndOfferedByMesa) {
    EnsureGLContext();
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(nullptr, version);
    EXPECT_GE(version[0], '2');
}
