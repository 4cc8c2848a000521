// Start-up of the scene. A missing course fails start-up; missing images and terrain only
// print their lines; a driver without multitexturing ends the game at once.
#include "scene/World.h"

#include <cstdlib>
#include <iostream>

#include <GL/glut.h>

#include "platform/GLExtensions.h"

namespace {
const float kLight0Ambient[4] = {0.8f, 0.8f, 0.8f, 1.0f};
const float kLight0Diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
const float kLight1Position[4] = {10.0f, 10.0f, 0.0f, 1.0f};
const float kLight1Ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
const float kLight1Diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
const float kNoSpecular[4] = {0.0f, 0.0f, 0.0f, 1.0f};

void SetRenderState() {
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT, GL_FILL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_NORMALIZE);
}

// Fetches the two multitexture entry points; without them the terrain cannot be drawn, so the
// game ends here with a failure status.
void RequireMultitexture() {
    g_glActiveTextureARB =
        reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(GetGLProcAddress("glActiveTextureARB"));
    g_glMultiTexCoord2fARB =
        reinterpret_cast<PFNGLMULTITEXCOORD2FARBPROC>(GetGLProcAddress("glMultiTexCoord2fARB"));
    if (!g_glActiveTextureARB || !g_glMultiTexCoord2fARB) {
        std::cout << "Your current setups does not support multitexturing" << std::flush;
        std::exit(1);
    }
}

// Stores the fog values that each frame applies, and sets both lights. Neither light is
// switched on; the modelview matrix is still the identity here.
void SetFogAndLights(World& world) {
    const float fogColor[4] = {1.0f, 0.8f, 0.5f, 0.0f};
    for (int i = 0; i < 4; ++i) {
        world._fogColor[i] = fogColor[i];
    }
    world._fogMode = GL_LINEAR;
    world._lightPosition[0] = 128.0f;
    world._lightPosition[1] = 0.0f;
    world._lightPosition[2] = 128.0f;
    const float light0Position[4] = {world._lightPosition[0], world._lightPosition[1],
                                     world._lightPosition[2], 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light0Position);
    glLightfv(GL_LIGHT0, GL_AMBIENT, kLight0Ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kLight0Diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kNoSpecular);
    glLightfv(GL_LIGHT1, GL_POSITION, kLight1Position);
    glLightfv(GL_LIGHT1, GL_AMBIENT, kLight1Ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, kLight1Diffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, kNoSpecular);
}

}  // namespace

World::World() = default;
World::~World() = default;

void World::LeaveOutSky() {
    _skybox._displayList = 0;
}

bool World::Init(const char* skyboxPath, const char* courseFile) {
    _skybox.Generate(skyboxPath);
    const bool courseRead = _course.Init(courseFile);
    if (!courseRead) {
        std::cout << "World: ERROR initializing course" << std::endl;
    }
    Init();
    return courseRead;
}

bool World::Init() {
    _hudWidth = 640;
    _hudHeight = 480;
    _hudFont = GLUT_BITMAP_9_BY_15;
    _hudLastUpdate = 0;
    _hudFrames = 0;
    SetRenderState();
    RequireMultitexture();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
    SetFogAndLights(*this);
    if (!_course.InitTerrain("terrain_data/terrain1.raw", kTerrainSize, kTerrainSize)) {
        std::cout << "World::Init - ERROR initializing terrain data" << std::endl;
    }
    InitBillboards();
    return true;
}
