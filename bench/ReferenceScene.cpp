#include "ReferenceScene.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <GL/freeglut.h>

namespace {
constexpr int kBands = 32;
constexpr int kStep = 8;
constexpr int kMeshes = 300;
constexpr int kQuads = 20;
constexpr int kMeshRings = 9;
constexpr int kMeshSides = 9;   // 8 x 9 x 2 = 144 side triangles, plus 6 on the end

const char* const kVertexSource = R"(#version 120
varying vec2 base;
varying vec2 detail;
void main() {
    base = gl_MultiTexCoord0.st;
    detail = gl_MultiTexCoord1.st * 32.0;
    gl_Position = ftransform();
})";

const char* const kFragmentSource = R"(#version 120
uniform sampler2D Base;
uniform sampler2D Detail;
varying vec2 base;
varying vec2 detail;
void main() {
    gl_FragColor = texture2D(Base, base) * texture2D(Detail, detail) * 2.0;
})";

// A texture of `size` texels with a pattern, RGBA, linear filtering, no mipmaps.
unsigned MakeTexture(int size, uint8_t alpha) {
    std::vector<uint8_t> pixels(static_cast<size_t>(size) * size * 4);
    for (int t = 0; t < size; ++t) {
        for (int s = 0; s < size; ++s) {
            uint8_t* p = &pixels[(static_cast<size_t>(t) * size + s) * 4];
            p[0] = static_cast<uint8_t>((s * 7 + t * 3) & 255);
            p[1] = static_cast<uint8_t>((s * 5) ^ (t * 9));
            p[2] = static_cast<uint8_t>(128 + ((s + t) & 63));
            p[3] = alpha ? alpha : static_cast<uint8_t>(((s - size / 2) * (s - size / 2) +
                                                         (t - size / 2) * (t - size / 2)) <
                                                                size * size / 4
                                                            ? 255
                                                            : 0);
        }
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    return id;
}

GLuint Compile(GLenum stage, const char* source) {
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

float Height(int x, int z) {
    return 8.0f + 6.0f * std::sin(x * 0.05f) * std::cos(z * 0.04f);
}
}  // namespace

void ReferenceScene::Init() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    _skyTexture = MakeTexture(256, 255);
    _baseTexture = MakeTexture(256, 255);
    _detailTexture = MakeTexture(128, 255);
    _meshTexture = MakeTexture(64, 255);
    _quadTexture = MakeTexture(128, 0);

    _skyList = glGenLists(1);
    glNewList(_skyList, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, _skyTexture);
    const float c[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                           {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    const int faces[6][4] = {{0, 1, 2, 3}, {5, 4, 7, 6}, {4, 0, 3, 7},
                             {1, 5, 6, 2}, {3, 2, 6, 7}, {4, 5, 1, 0}};
    const float st[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    for (const auto& face : faces) {
        for (int i = 0; i < 4; ++i) {
            glTexCoord2fv(st[i]);
            glVertex3fv(c[face[i]]);
        }
    }
    glEnd();
    glEndList();

    // A tube along x, 150 triangles, sent corner by corner as the game's meshes are.
    _meshList = glGenLists(1);
    glNewList(_meshList, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, _meshTexture);
    glBegin(GL_TRIANGLES);
    auto corner = [](int ring, int side) {
        const float angle = 6.2831853f * side / kMeshSides;
        glNormal3f(0.0f, std::cos(angle), std::sin(angle));
        glTexCoord2f(static_cast<float>(ring) / (kMeshRings - 1),
                     static_cast<float>(side) / kMeshSides);
        glVertex3f(static_cast<float>(ring) / (kMeshRings - 1) - 0.5f, 0.2f * std::cos(angle),
                   0.2f * std::sin(angle));
    };
    for (int ring = 0; ring + 1 < kMeshRings; ++ring) {
        for (int side = 0; side < kMeshSides; ++side) {
            corner(ring, side);
            corner(ring + 1, side);
            corner(ring + 1, side + 1);
            corner(ring, side);
            corner(ring + 1, side + 1);
            corner(ring, side + 1);
        }
    }
    for (int side = 1; side + 1 < kMeshSides; ++side) {
        corner(0, 0);
        corner(0, side + 1);
        corner(0, side);
    }
    glEnd();
    glEndList();

    _program = glCreateProgram();
    glAttachShader(_program, Compile(GL_VERTEX_SHADER, kVertexSource));
    glAttachShader(_program, Compile(GL_FRAGMENT_SHADER, kFragmentSource));
    glLinkProgram(_program);
    glUseProgram(_program);
    glUniform1i(glGetUniformLocation(_program, "Base"), 0);
    glUniform1i(glGetUniformLocation(_program, "Detail"), 1);
    glUseProgram(0);
    glPopAttrib();
}

void ReferenceScene::DrawHalf(int width, int halfHeight, int originY, float eyeX, float eyeZ) {
    glViewport(0, originY, width, halfHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, static_cast<double>(width) / halfHeight, 0.1, 512.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eyeX, 17.0, eyeZ, eyeX + std::sin(_phase), 17.0, eyeZ - std::cos(_phase), 0, 1, 0);

    // Sky.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(eyeX, 17.0f, eyeZ);
    glCallList(_skyList);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);

    // Terrain strip through the program.
    glUseProgram(_program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, _baseTexture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, _detailTexture);
    glActiveTexture(GL_TEXTURE0);
    glBegin(GL_TRIANGLE_STRIP);
    for (int band = 0; band < kBands; ++band) {
        for (int row = 0; row <= 256; row += kStep) {
            for (int side = 0; side < 2; ++side) {
                const int x = band * kStep + (side == 0 ? kStep : 0);
                const int z = band % 2 ? 256 - row : row;
                const float s = x / 256.0f;
                const float t = z / 256.0f;
                glNormal3f(0.0f, 1.0f, 0.0f);
                glMultiTexCoord2f(GL_TEXTURE0, s, t);
                glMultiTexCoord2f(GL_TEXTURE1, s, t);
                glVertex3f(static_cast<float>(x), Height(x, z), static_cast<float>(z));
            }
        }
    }
    glEnd();
    glUseProgram(0);

    // Posts and ropes stand-in: 300 meshes round a loop.
    for (int i = 0; i < kMeshes; ++i) {
        const float angle = 6.2831853f * i / kMeshes;
        glPushMatrix();
        glTranslatef(128.0f + 90.0f * std::cos(angle), 17.0f, 128.0f + 90.0f * std::sin(angle));
        glRotatef(angle * 57.29578f, 0.0f, 1.0f, 0.0f);
        glScalef(5.0f, 2.0f, 2.0f);
        glCallList(_meshList);
        glPopMatrix();
    }

    // Items.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, _quadTexture);
    for (int i = 0; i < kQuads; ++i) {
        const float x = 40.0f + (i * 37 % 180);
        const float z = 40.0f + (i * 53 % 180);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3f(x - 1, 16, z);
        glTexCoord2f(1, 0);
        glVertex3f(x + 1, 16, z);
        glTexCoord2f(1, 1);
        glVertex3f(x + 1, 18, z);
        glTexCoord2f(0, 1);
        glVertex3f(x - 1, 18, z);
        glEnd();
    }
    glDisable(GL_BLEND);

    // Text.
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 480, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRasterPos2f(0.0f, 12.0f);
    glutBitmapString(GLUT_BITMAP_9_BY_15,
                     reinterpret_cast<const unsigned char*>("FPS:85.00 Time:12.34"));
}

void ReferenceScene::Draw(int width, int height) {
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    _phase = 6.2831853f * static_cast<float>(_frame % kViewsPerTurn) / kViewsPerTurn;
    DrawHalf(width, height / 2, height / 2, 40.0f, 88.0f);
    DrawHalf(width, height / 2, 0, 40.0f, 84.0f);
    ++_frame;

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    glUseProgram(static_cast<GLuint>(program));
    glutSwapBuffers();
}
