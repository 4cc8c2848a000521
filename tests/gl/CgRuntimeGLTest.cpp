// The shader runtime in a real context: values, the matrix, samplers and per-vertex input
// as the linked GLSL program sees them.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <GL/glext.h>

#include "ConsoleCapture.h"
#include "GLContext.h"
#include "TempDir.h"
#include "platform/Cg.h"

namespace {
const char* kProbeVertex = R"(#version 120
attribute vec4 IN_position;
attribute vec3 IN_wave;
uniform mat4 ModelViewProj;
varying vec3 wave;
void main() {
    wave = IN_wave;
    gl_Position = ModelViewProj * IN_position;
}
)";

const char* kProbeFragment = R"(#version 120
uniform vec3 tint;
uniform float gain;
uniform float textureWeight;
uniform sampler2D Base;
uniform sampler2D Detail;
varying vec3 wave;
void main() {
    vec3 textures = texture2D(Base, vec2(0.5)).rgb + texture2D(Detail, vec2(0.5)).rgb;
    gl_FragColor = vec4(wave * gain + tint + textures * textureWeight, 1.0);
}
)";

class CgRuntimeGL : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGLContext();
        dir.Write("probe.vert", kProbeVertex);
        dir.Write("probe.frag", kProbeFragment);
        context = cgCreateContext();
        vertex = cgCreateProgramFromFile(context, CG_SOURCE, dir.File("probe.vert").c_str(),
                                         cgGLGetLatestProfile(CG_GL_VERTEX), "main", nullptr);
        fragment = cgCreateProgramFromFile(context, CG_SOURCE, dir.File("probe.frag").c_str(),
                                           cgGLGetLatestProfile(CG_GL_FRAGMENT), "main", nullptr);
        ASSERT_NE(nullptr, vertex);
        ASSERT_NE(nullptr, fragment);
        cgGLLoadProgram(vertex);
        cgGLLoadProgram(fragment);
    }
    void TearDown() override {
        cgGLDisableProfile(CG_PROFILE_GLSLV);
        cgGLDisableProfile(CG_PROFILE_GLSLF);
        cgDestroyContext(context);
    }

    void BindBoth() {
        cgGLEnableProfile(CG_PROFILE_GLSLV);
        cgGLBindProgram(vertex);
        cgGLEnableProfile(CG_PROFILE_GLSLF);
        cgGLBindProgram(fragment);
    }

    static std::vector<float> Uniform(const char* name, int count) {
        std::vector<float> values(16, -99.0f);
        const GLint location = glGetUniformLocation(CurrentProgram(), name);
        EXPECT_GE(location, 0) << name;
        glGetUniformfv(CurrentProgram(), location, values.data());
        values.resize(static_cast<size_t>(count));
        return values;
    }

    static GLint SamplerUnit(const char* name) {
        GLint unit = -1;
        glGetUniformiv(CurrentProgram(), glGetUniformLocation(CurrentProgram(), name), &unit);
        return unit;
    }

    static GLuint TextureOnUnit(int unit) {
        const GLint active = GetInteger(GL_ACTIVE_TEXTURE);
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        const GLuint bound = BoundTexture();
        glActiveTexture(static_cast<GLenum>(active));
        return bound;
    }

    TempDir dir;
    CGcontext context = nullptr;
    CGprogram vertex = nullptr;
    CGprogram fragment = nullptr;
};
}  // namespace

TEST_F(CgRuntimeGL, ValuesSetBeforeAndAfterBindingReachTheProgram) {
    const float tint[3] = {0.1f, 0.2f, 0.3f};
    cgGLSetParameter3fv(cgGetNamedParameter(fragment, "tint"), tint);
    BindBoth();
    const GLuint linked = CurrentProgram();
    ASSERT_NE(0u, linked);
    EXPECT_EQ((std::vector<float>{0.1f, 0.2f, 0.3f}), Uniform("tint", 3));

    cgGLSetParameter1f(cgGetNamedParameter(fragment, "gain"), 0.75f);
    EXPECT_EQ(std::vector<float>{0.75f}, Uniform("gain", 1));

    // Off, a change is kept, and the same linked pair comes back with it.
    cgGLDisableProfile(CG_PROFILE_GLSLV);
    cgGLDisableProfile(CG_PROFILE_GLSLF);
    EXPECT_EQ(0u, CurrentProgram());
    cgGLSetParameter3f(cgGetNamedParameter(fragment, "tint"), 0.5f, 0.25f, 0.125f);
    BindBoth();
    EXPECT_EQ(linked, CurrentProgram());
    EXPECT_EQ((std::vector<float>{0.5f, 0.25f, 0.125f}), Uniform("tint", 3));
    EXPECT_EQ(std::vector<float>{0.75f}, Uniform("gain", 1));
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
}

TEST_F(CgRuntimeGL, StateMatrixIsProjectionTimesModelview) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1.0, 1.5, -0.75, 1.0, 1.0, 300.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(30.0f, 0.2f, 1.0f, 0.1f);
    glTranslatef(-128.0f, -12.0f, -40.0f);
    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    // OpenGL's own product as the reference.
    glPushMatrix();
    glLoadMatrixf(projection);
    glMultMatrixf(modelview);
    float expected[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, expected);
    glPopMatrix();

    cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "ModelViewProj"),
                                CG_GL_MODELVIEW_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY);
    BindBoth();
    const std::vector<float> actual = Uniform("ModelViewProj", 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(expected[i], actual[i], 1e-4f * (1.0f + std::abs(expected[i]))) << i;
    }
    glLoadIdentity();
}

TEST_F(CgRuntimeGL, SamplersTakeUnitsInLookupOrderAndBindTheirTextures) {
    CGparameter base = cgGetNamedParameter(fragment, "Base");
    CGparameter detail = cgGetNamedParameter(fragment, "Detail");
    EXPECT_EQ(base, cgGetNamedParameter(fragment, "Base"));   // a second look-up, same unit
    GLuint textures[2];
    glGenTextures(2, textures);
    cgGLSetTextureParameter(base, textures[0]);
    cgGLSetTextureParameter(detail, textures[1]);
    BindBoth();
    EXPECT_EQ(0, SamplerUnit("Base"));
    EXPECT_EQ(1, SamplerUnit("Detail"));

    glActiveTexture(GL_TEXTURE0);
    cgGLEnableTextureParameter(base);
    cgGLEnableTextureParameter(detail);
    EXPECT_EQ(textures[0], TextureOnUnit(0));
    EXPECT_EQ(textures[1], TextureOnUnit(1));
    EXPECT_EQ(GL_TEXTURE0, GetInteger(GL_ACTIVE_TEXTURE));

    cgGLDisableTextureParameter(detail);
    EXPECT_EQ(textures[0], TextureOnUnit(0));
    EXPECT_EQ(0u, TextureOnUnit(1));
    cgGLDisableTextureParameter(base);
    EXPECT_EQ(0u, TextureOnUnit(0));
    glDeleteTextures(2, textures);
}

TEST_F(CgRuntimeGL, PerVertexValueReachesTheProgramWithTheNextVertex) {
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT);  // taken back at the end
    glViewport(0, 0, 64, 32);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    CGparameter wave = cgGetNamedParameter(vertex, "IN.wave");
    ASSERT_NE(nullptr, wave);
    cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "ModelViewProj"),
                                CG_GL_MODELVIEW_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY);
    cgGLSetParameter1f(cgGetNamedParameter(fragment, "gain"), 1.0f);
    cgGLSetParameter3f(cgGetNamedParameter(fragment, "tint"), 0.0f, 0.0f, 0.0f);
    cgGLSetParameter1f(cgGetNamedParameter(fragment, "textureWeight"), 0.0f);
    BindBoth();
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    const float left[4][2] = {{-1, -1}, {0, -1}, {0, 1}, {-1, 1}};
    for (const auto& corner : left) {
        cgGLSetParameter3f(wave, 1.0f, 0.25f, 0.0f);
        glVertex2f(corner[0], corner[1]);
    }
    const float right[4][2] = {{0, -1}, {1, -1}, {1, 1}, {0, 1}};
    for (const auto& corner : right) {
        cgGLSetParameter3f(wave, 0.0f, 0.5f, 1.0f);
        glVertex2f(corner[0], corner[1]);
    }
    glEnd();
    unsigned char pixels[2][4] = {};
    glReadPixels(16, 16, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixels[0]);
    glReadPixels(48, 16, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixels[1]);
    EXPECT_EQ(255, pixels[0][0]);
    EXPECT_NEAR(64, pixels[0][1], 1);
    EXPECT_EQ(0, pixels[0][2]);
    EXPECT_EQ(0, pixels[1][0]);
    EXPECT_NEAR(128, pixels[1][1], 1);
    EXPECT_EQ(255, pixels[1][2]);
    glPopAttrib();
}

TEST_F(CgRuntimeGL, NamesAreLookedUpPerProgram) {
    EXPECT_NE(nullptr, cgGetNamedParameter(vertex, "IN.position"));
    EXPECT_NE(nullptr, cgGetNamedParameter(vertex, "IN_wave"));
    EXPECT_NE(nullptr, cgGetNamedParameter(fragment, "wave"));   // a varying: a name only
    EXPECT_EQ(nullptr, cgGetNamedParameter(vertex, "tint"));
    EXPECT_EQ(nullptr, cgGetNamedParameter(fragment, "IN.wave"));
    EXPECT_EQ(nullptr, cgGetNamedParameter(fragment, "Tint"));
    EXPECT_EQ(nullptr, cgGetNamedParameter(fragment, ""));
    EXPECT_EQ(nullptr, cgGetNamedParameter(fragment, nullptr));
}

TEST_F(CgRuntimeGL, OneStageAloneRunsWithTheFixedFunctionForTheOther) {
    cgGLEnableProfile(CG_PROFILE_GLSLF);
    cgGLBindProgram(fragment);
    const GLuint fragmentOnly = CurrentProgram();
    EXPECT_NE(0u, fragmentOnly);
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    cgGLBindProgram(vertex);
    EXPECT_NE(fragmentOnly, CurrentProgram());
    cgGLDisableProfile(CG_PROFILE_GLSLV);
    EXPECT_EQ(fragmentOnly, CurrentProgram());
    EXPECT_EQ(CG_NO_ERROR, cgGetError());
}

TEST_F(CgRuntimeGL, CompileFailureWritesTheCompilerLogToStandardError) {
    const std::string broken = dir.Write("broken.vert", "#version 120\nvoid main() { gl_Position = nonsense; }\n");
    ErrorCapture errors;
    EXPECT_EQ(nullptr, cgCreateProgramFromFile(context, CG_SOURCE, broken.c_str(), CG_PROFILE_GLSLV,
                                               "main", nullptr));
    EXPECT_EQ(CG_COMPILER_ERROR, cgGetError());
    EXPECT_NE(std::string::npos, errors.Text().find("broken.vert")) << errors.Text();
    EXPECT_NE(std::string::npos, errors.Text().find("nonsense")) << errors.Text();
}

TEST_F(CgRuntimeGL, DestroyingTheContextStopsItsProgramsAndForgetsTheirHandles) {
    CGparameter tint = cgGetNamedParameter(fragment, "tint");
    BindBoth();
    ASSERT_NE(0u, CurrentProgram());
    cgDestroyContext(context);
    EXPECT_EQ(0u, CurrentProgram());
    cgGLSetParameter3f(tint, 1.0f, 1.0f, 1.0f);   // stale handles are ignored
    cgGLBindProgram(vertex);
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    EXPECT_EQ(0u, CurrentProgram());
    EXPECT_EQ(nullptr, cgGetNamedParameter(fragment, "tint"));
    context = nullptr;
}
