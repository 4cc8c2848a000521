// Terrain start-up and the terrain pass in a real context, with the shipped programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include "../unit/TiffTestFiles.h"
#include "ConsoleCapture.h"
#include "GLContext.h"
#include "RecordedBoxes.h"
#include "TempDir.h"
#include "base/FramePacer.h"
#include "terrain/Course.h"
#include "platform/GLExtensions.h"
#include "platform/MessageBox.h"
#include "terrain/Shaders.h"

namespace {
// Raw height of the test fields: water (0) for x below 128, the lowest land (20, world 2) above.
std::string HalfWaterField() {
    std::string field(kTerrainSize * kTerrainSize, '\0');
    for (int z = 0; z < kTerrainSize; ++z) {
        for (int x = kTerrainSize / 2; x < kTerrainSize; ++x) field[z * kTerrainSize + x] = 20;
    }
    return field;
}

class TerrainGL : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGLContext();
        g_glMultiTexCoord2fARB = glMultiTexCoord2f;   // the core name of the same entry point
        g_boxes.clear();
        g_wavePhase = 0.0f;  // as at start-up; earlier tests of the process ran passes
        SetMessageBoxForTesting(RecordBox);
        dir.Enter();
        dir.Write("terrain_data/terrain1.raw", HalfWaterField());
    }
    void TearDown() override { SetMessageBoxForTesting(nullptr); }

    void CopyProgram(const char* name) {
        dir.Write(std::string("Cg/") + name,
                  ReadFileBytes(std::string(KESTRUN_SOURCE_DIR "/data/Cg/") + name));
    }

    // Starts the terrain with the shipped programs.
    bool StartWithPrograms() {
        CopyProgram("Wave.cg");
        CopyProgram("Frag.cg");
        return course.InitTerrain("terrain_data/terrain1.raw", 256, 256);
    }

    // Starts the terrain and returns the console text.
    std::string Start(bool* result = nullptr) {
        ConsoleCapture console;
        const bool ok = course.InitTerrain("terrain_data/terrain1.raw", 256, 256);
        if (result) *result = ok;
        return console.Text();
    }

    TempDir dir;
    Course course;
};

GLuint SolidTexture(unsigned char r, unsigned char g, unsigned char b) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char pixels[4 * 4 * 3] = {
        r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b,
        r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b, r, g, b};
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

// Looks straight down on the whole terrain: a pixel (px, py) of the 256 x 256 viewport
// shows world x = px, z = 256 - py.
void LookDown() {
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-128, 128, -128, 128, 1, 500);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(128, 100, 128, 128, 0, 128, 0, 0, -1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
}

void SetFog(float start, float end) {
    const float color[4] = {1.0f, 0.8f, 0.5f, 0.0f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, color);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
}

// Solid base (150, 120, 80) and mid-grey detail textures on the programs' samplers, and the
// view straight down through fog that ends far beyond the terrain.
void TextureAndLookDown(GLuint textures[2]) {
    textures[0] = SolidTexture(150, 120, 80);
    textures[1] = SolidTexture(128, 128, 128);
    cgGLSetTextureParameter(g_paramBase, textures[0]);
    cgGLSetTextureParameter(g_paramDetail, textures[1]);
    LookDown();
    SetFog(1.0f, 5000.0f);
}

std::vector<unsigned char> DrawAndRead(Course& course) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    course.Draw(kOneTick);
    std::vector<unsigned char> pixels(256 * 256 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 256, 256, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

const unsigned char* Pixel(const std::vector<unsigned char>& pixels, int x, int y) {
    return &pixels[(static_cast<size_t>(y) * 256 + x) * 3];
}
}  // namespace

// --- start-up failures ---

TEST_F(TerrainGL, MissingHeightFileCreatesNoContextAndShowsNoBox) {
    std::filesystem::remove("terrain_data/terrain1.raw");
    CopyProgram("Wave.cg");
    CopyProgram("Frag.cg");
    bool ok = true;
    EXPECT_EQ("", Start(&ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(nullptr, g_shaderContext);
    EXPECT_TRUE(g_boxes.empty());
}

// Each way the programs fail to start: the failing one is named on the console, its Cg error
// is shown in one box, and what was made before the failure stays.
struct ShaderFailure {
    const char* name;
    const char* wave;      // text of Cg/Wave.cg: nullptr for none, "" for the shipped program
    bool fragment;         // the shipped Cg/Frag.cg is there
    const char* line;      // the console's last line
    CGerror error;         // its text is the box's text
    const char* logWords;  // each word (space-separated) stands in the compiler log on stderr
};

const ShaderFailure kShaderFailures[] = {
    {"MissingWave", nullptr, true, "VERTEX SHADER ERROR", CG_FILE_READ_ERROR, ""},
    {"BrokenWave", "#version 120\nvoid main() { gl_Position = vec4(undeclaredThing); }\n", true,
     "VERTEX SHADER ERROR", CG_COMPILER_ERROR, "Cg/Wave.cg undeclaredThing"},
    {"BothMissingNameOnlyTheWave", nullptr, false, "VERTEX SHADER ERROR", CG_FILE_READ_ERROR, ""},
    {"MissingFragment", "", false, "PIXEL SHADER ERROR", CG_FILE_READ_ERROR, ""},
};

class TerrainShaderFailure : public TerrainGL, public ::testing::WithParamInterface<ShaderFailure> {};

TEST_P(TerrainShaderFailure, NamesTheProgramAndShowsOneBox) {
    const ShaderFailure& failure = GetParam();
    if (failure.wave && *failure.wave) dir.Write("Cg/Wave.cg", failure.wave);
    if (failure.wave && !*failure.wave) CopyProgram("Wave.cg");
    if (failure.fragment) CopyProgram("Frag.cg");
    ErrorCapture errors;
    bool ok = true;
    EXPECT_EQ(std::string("Loaded terrain: terrain_data/terrain1.raw\n") + failure.line,
              WithoutAssetLines(Start(&ok)));
    EXPECT_FALSE(ok);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ(cgGetErrorString(failure.error), g_boxes[0].first);
    EXPECT_EQ("Error", g_boxes[0].second);
    EXPECT_NE(nullptr, g_shaderContext);
    EXPECT_EQ(0.0f, g_wavePhase);  // no pass ran
    std::istringstream words(failure.logWords);
    for (std::string word; words >> word;) {
        EXPECT_NE(std::string::npos, errors.Text().find(word)) << errors.Text();
    }
}

INSTANTIATE_TEST_SUITE_P(EachProgram, TerrainShaderFailure, ::testing::ValuesIn(kShaderFailures),
                         [](const ::testing::TestParamInfo<ShaderFailure>& info) {
                             return std::string(info.param.name);
                         });

// --- a successful start ---

TEST_F(TerrainGL, StartsWithoutTexturesAndRunsOnePass) {
    CopyProgram("Wave.cg");
    CopyProgram("Frag.cg");
    ErrorCapture errors;
    bool ok = false;
    const std::string console = Start(&ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(0u, console.rfind("Loaded terrain: terrain_data/terrain1.raw\n", 0)) << console;
    EXPECT_EQ(std::string::npos, console.find("ERROR")) << console;
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_EQ("", errors.Text());
    for (CGparameter parameter :
         {g_paramPosition, g_paramWave, g_paramModelViewProj, g_paramGlobalAmbient,
          g_paramLightColor, g_paramLightPosition, g_paramEyePosition, g_paramKe, g_paramKa,
          g_paramKd, g_paramKs, g_paramShininess, g_paramTexCoord0, g_paramTexCoord1, g_paramBase,
          g_paramDetail}) {
        EXPECT_NE(nullptr, parameter);
    }
    EXPECT_EQ(0.01f, g_wavePhase);
    EXPECT_FALSE(g_stripReversed);
    EXPECT_EQ(0u, CurrentProgram());   // the pass ends with the programs off

    // The detail texture did not load: its sampler unbinds unit 1 when enabled.
    GLuint stray = 0;
    glGenTextures(1, &stray);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, stray);
    glActiveTexture(GL_TEXTURE0);
    cgGLEnableTextureParameter(g_paramDetail);
    glActiveTexture(GL_TEXTURE1);
    const GLuint bound = BoundTexture();
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(0u, bound);
    glDeleteTextures(1, &stray);
}

TEST_F(TerrainGL, FixedValuesStayWhateverTheCameraDoes) {
    ASSERT_TRUE(StartWithPrograms());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(10, 5, 10, 200, 0, 40, 0, 1, 0);
    course.Draw(kOneTick);
    cgGLEnableProfile(g_vertexProfile);
    cgGLEnableProfile(g_fragmentProfile);
    const GLuint program = CurrentProgram();
    ASSERT_NE(0u, program);
    // The eye's place and Ks only made the highlight, which the material's Ks of 0 kept dark:
    // the programs no longer read them, so the linked pair keeps no value for them.
    struct Expected { const char* name; float x, y, z; };
    for (const Expected& e : {Expected{"lightPosition", 128, 0, 128},
                              Expected{"globalAmbient", 0.8f, 0.8f, 0.8f}, Expected{"Ke", 0.2f, 0.2f, 0.3f},
                              Expected{"Kd", 0.8f, 0.8f, 0.8f}}) {
        float values[3] = {-1, -1, -1};
        glGetUniformfv(program, glGetUniformLocation(program, e.name), values);
        EXPECT_EQ(e.x, values[0]) << e.name;
        EXPECT_EQ(e.y, values[1]) << e.name;
        EXPECT_EQ(e.z, values[2]) << e.name;
    }
    GLint units[2] = {-1, -1};
    glGetUniformiv(program, glGetUniformLocation(program, "Base"), &units[0]);
    glGetUniformiv(program, glGetUniformLocation(program, "Detail"), &units[1]);
    EXPECT_EQ(0, units[0]);
    EXPECT_EQ(1, units[1]);
    cgGLDisableProfile(g_vertexProfile);
    cgGLDisableProfile(g_fragmentProfile);
    glLoadIdentity();
}

TEST_F(TerrainGL, BaseTextureIsClampedAndDetailRepeated) {
    CopyProgram("Wave.cg");
    CopyProgram("Frag.cg");
    ASSERT_TRUE(WriteSolidTiff(dir.File("terrain_data/Terrain_Base.tif"), 4, 4, 150, 120, 80));
    ASSERT_TRUE(WriteSolidTiff(dir.File("terrain_data/Terrain_Detail.tif"), 4, 4, 90, 90, 90));
    Start();
    for (const auto& [texture, wrap] : {std::make_pair(&course._baseTexture, GL_CLAMP_TO_EDGE),
                                        std::make_pair(&course._detailTexture, GL_REPEAT)}) {
        ASSERT_NE(0u, texture->GetId());
        glBindTexture(GL_TEXTURE_2D, texture->GetId());
        for (GLenum axis : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
            GLint value = 0;
            glGetTexParameteriv(GL_TEXTURE_2D, axis, &value);
            EXPECT_EQ(wrap, value) << (wrap == GL_REPEAT ? "detail" : "base");
        }
    }
}

TEST_F(TerrainGL, WavePhaseGrowsByOneHundredthPerPass) {
    ASSERT_TRUE(StartWithPrograms());
    const int k = 7;
    for (int i = 0; i < k; ++i) course.Draw(kOneTick);
    float expected = 0.0f;
    for (int i = 0; i < k + 1; ++i) expected += 0.01f;
    EXPECT_EQ(expected, g_wavePhase);
    EXPECT_FALSE(g_stripReversed);
    EXPECT_EQ(10, course._heightDivisor);

    g_wavePhase = 262144.0f;   // from here on adding 0.01 changes nothing; it is never wrapped
    course.Draw(kOneTick);
    EXPECT_EQ(262144.0f, g_wavePhase);

    g_wavePhase = 1.0f;
    delete[] course._heights;
    course._heights = nullptr;
    course.Draw(kOneTick);
    EXPECT_EQ(1.0f, g_wavePhase);
}

// --- what the programs draw ---

TEST_F(TerrainGL, WaterMovesBetweenPassesAndLandStaysPut) {
    ASSERT_TRUE(StartWithPrograms());
    GLuint textures[2];
    TextureAndLookDown(textures);

    const std::vector<unsigned char> first = DrawAndRead(course);
    const std::vector<unsigned char> second = DrawAndRead(course);
    int waterChanged = 0;
    int waterPixels = 0;
    for (int y = 8; y < 248; y += 2) {
        for (int x = 8; x < 112; x += 2) {           // world x 8..112: water
            const unsigned char* a = Pixel(first, x, y);
            const unsigned char* b = Pixel(second, x, y);
            ++waterPixels;
            waterChanged += a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
            EXPECT_GT(a[2], a[0]) << "water is bluish at " << x << ", " << y;
        }
        for (int x = 144; x < 248; x += 2) {         // world x 144..248: land at height 2
            const unsigned char* a = Pixel(first, x, y);
            const unsigned char* b = Pixel(second, x, y);
            ASSERT_TRUE(a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) << "land moved at " << x << ", " << y;
            EXPECT_GT(a[0], 40) << "land is textured and lit at " << x << ", " << y;
            EXPECT_GT(a[0], a[2]);
        }
    }
    EXPECT_GT(waterChanged, waterPixels / 2);
    glDeleteTextures(2, textures);
}

// Land is lit by the game's vertex normals (which point down; the program turns them up):
// the light's ambient and emission, the diffuse light of the point light at (128, 0, 128),
// and a tint that dims steep ground. A valley whose sides face the light checks all three
// against the same sum worked out here, at the mesh's vertices.
TEST_F(TerrainGL, LandIsLitAsItsNormalsSay) {
    std::string valley(kTerrainSize * kTerrainSize, '\0');
    for (int i = 0; i < kTerrainSize * kTerrainSize; ++i) {
        valley[i] = static_cast<char>(20 + std::abs(i % kTerrainSize - 128));
    }
    dir.Write("terrain_data/terrain1.raw", valley);
    ASSERT_TRUE(StartWithPrograms());
    GLuint textures[2];
    TextureAndLookDown(textures);
    const std::vector<unsigned char> pixels = DrawAndRead(course);
    const float texel[3] = {150 / 255.0f * 128 / 255.0f, 120 / 255.0f * 128 / 255.0f,
                            80 / 255.0f * 128 / 255.0f};
    const float emission[3] = {0.2f, 0.2f, 0.3f};
    const float fogColor[3] = {1.0f, 0.8f, 0.5f};
    for (int x : {40, 96, 128, 168, 216}) {
        const Vec3 down = Course::VertexNormal(course._heights, x, 128);
        const float y = static_cast<float>(Course::GroundHeight(course._heights, 10, x, 128));
        const float toLight[3] = {128.0f - x, -y, 0.0f};
        const float along = -down.x * toLight[0] - down.y * toLight[1];
        const float diffuse = std::max(along, 0.0f) / std::hypot(toLight[0], toLight[1]);
        const float fog = (5000.0f - (100.0f - y)) / 4999.0f;
        for (int c = 0; c < 3; ++c) {
            const float lit = emission[c] + 0.64f + 0.64f * diffuse;
            const float colour = texel[c] * (1.3f - 0.7f * down.y) * lit;
            const float expected = 255 * (fog * colour + (1 - fog) * fogColor[c]);
            EXPECT_NEAR(expected, Pixel(pixels, x, 128)[c], 3) << "x " << x << ", channel " << c;
        }
    }
    glDeleteTextures(2, textures);
}

TEST_F(TerrainGL, TerrainFadesIntoTheLinearFog) {
    ASSERT_TRUE(StartWithPrograms());
    LookDown();
    SetFog(1.0f, 2.0f);   // everything lies beyond the fog's end
    const std::vector<unsigned char> fogged = DrawAndRead(course);
    for (int x : {30, 200}) {
        const unsigned char* p = Pixel(fogged, x, 128);
        EXPECT_EQ(255, p[0]);
        EXPECT_NEAR(204, p[1], 1);
        EXPECT_NEAR(128, p[2], 1);
    }
    SetFog(1.0f, 5000.0f);
    const std::vector<unsigned char> unfogged = DrawAndRead(course);
    const unsigned char* clear = Pixel(unfogged, 200, 128);
    EXPECT_LT(clear[1], 150);   // no texture here: dark land without the fog
}
