// The shader runtime's behaviour that needs no OpenGL context.
#include <gtest/gtest.h>

#include <string>

#include "TempDir.h"
#include "platform/Cg.h"

TEST(CgRuntime, NoContextMeansNoProfiles) {
    EXPECT_EQ(6145, cgGLGetLatestProfile(CG_GL_VERTEX));
    EXPECT_EQ(CG_PROFILE_UNKNOWN, cgGLGetLatestProfile(CG_GL_FRAGMENT));
}

TEST(CgRuntime, CreationFailuresLeaveTheirCodeOnce) {
    TempDir dir;
    CGcontext context = cgCreateContext();
    ASSERT_NE(nullptr, context);
    EXPECT_EQ(nullptr, cgCreateProgramFromFile(context, CG_SOURCE, dir.File("none.cg").c_str(),
                                               CG_PROFILE_GLSLV, "main", nullptr));
    EXPECT_EQ(CG_FILE_READ_ERROR, cgGetError());
    EXPECT_EQ(CG_NO_ERROR, cgGetError());

    const std::string file = dir.Write("a.cg", "void main() {}");
    EXPECT_EQ(nullptr, cgCreateProgramFromFile(context, CG_SOURCE, file.c_str(),
                                               CG_PROFILE_UNKNOWN, "main", nullptr));
    EXPECT_EQ(CG_INVALID_PROFILE_ERROR, cgGetError());
    EXPECT_EQ(nullptr, cgCreateProgramFromFile(nullptr, CG_SOURCE, file.c_str(),
                                               CG_PROFILE_GLSLV, "main", nullptr));
    EXPECT_EQ(CG_INVALID_CONTEXT_HANDLE_ERROR, cgGetError());
    // Without an OpenGL context nothing compiles.
    EXPECT_EQ(nullptr, cgCreateProgramFromFile(context, CG_SOURCE, file.c_str(),
                                               CG_PROFILE_GLSLV, "main", nullptr));
    EXPECT_EQ(CG_COMPILER_ERROR, cgGetError());
    cgDestroyContext(context);
    // A destroyed context is no context.
    EXPECT_EQ(nullptr, cgCreateProgramFromFile(context, CG_SOURCE, file.c_str(),
                                               CG_PROFILE_GLSLV, "main", nullptr));
    EXPECT_EQ(CG_INVALID_CONTEXT_HANDLE_ERROR, cgGetError());
}

TEST(CgRuntime, EveryCodeHasItsOwnText) {
    const std::string read = cgGetErrorString(CG_FILE_READ_ERROR);
    const std::string compile = cgGetErrorString(CG_COMPILER_ERROR);
    EXPECT_FALSE(read.empty());
    EXPECT_FALSE(compile.empty());
    EXPECT_NE(read, compile);
    EXPECT_NE(read, cgGetErrorString(CG_NO_ERROR));
    EXPECT_NE(read, cgGetErrorString(CG_INVALID_PROFILE_ERROR));
    EXPECT_STREQ("Unknown error.", cgGetErrorString(12345));
}

TEST(CgRuntime, NullHandlesAreIgnored) {
    const float values[3] = {1, 2, 3};
    EXPECT_EQ(nullptr, cgGetNamedParameter(nullptr, "IN.wave"));
    cgGLLoadProgram(nullptr);
    cgGLBindProgram(nullptr);
    cgGLSetParameter1f(nullptr, 1.0f);
    cgGLSetParameter3f(nullptr, 1.0f, 2.0f, 3.0f);
    cgGLSetParameter3fv(nullptr, values);
    cgGLSetStateMatrixParameter(nullptr, CG_GL_MODELVIEW_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY);
    cgGLSetTextureParameter(nullptr, 5);
    cgGLEnableTextureParameter(nullptr);
    cgGLDisableTextureParameter(nullptr);
    cgGLEnableProfile(CG_PROFILE_UNKNOWN);
    cgGLDisableProfile(0);
    cgDestroyContext(nullptr);
    EXPECT_EQ(CG_NO_ERROR, cgGetError());
}
