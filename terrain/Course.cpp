// The drawn course taken down, and the terrain start-up: heights, textures, markers, shader
// programs and their fixed values. A missing height file or a shader failure stops it with
// false (shader failures with a message box); a missing texture only leaves its sampler on
// texture name 0.
#include "terrain/Course.h"

#include <iostream>

#include "base/FramePacer.h"
#include "platform/MessageBox.h"
#include "terrain/Shaders.h"

CGcontext g_shaderContext = nullptr;
CGprofile g_vertexProfile = 0;
CGprofile g_fragmentProfile = 0;
CGprogram g_waveProgram = nullptr;
CGprogram g_fragProgram = nullptr;
CGparameter g_paramPosition = nullptr;
CGparameter g_paramWave = nullptr;
CGparameter g_paramModelViewProj = nullptr;
CGparameter g_paramGlobalAmbient = nullptr;
CGparameter g_paramLightColor = nullptr;
CGparameter g_paramLightPosition = nullptr;
CGparameter g_paramEyePosition = nullptr;
CGparameter g_paramKe = nullptr;
CGparameter g_paramKa = nullptr;
CGparameter g_paramKd = nullptr;
CGparameter g_paramKs = nullptr;
CGparameter g_paramShininess = nullptr;
CGparameter g_paramTexCoord0 = nullptr;
CGparameter g_paramTexCoord1 = nullptr;
CGparameter g_paramBase = nullptr;
CGparameter g_paramDetail = nullptr;

// The shader context and the visible lists go first, then (with CourseData) the height field
// and the grid.
Course::~Course() {
    if (g_shaderContext) {
        cgDestroyContext(g_shaderContext);
        g_shaderContext = nullptr;
    }
    delete[] _visibleX;
    delete[] _visibleY;
}

namespace {
bool CreateProfiles() {
    g_vertexProfile = cgGLGetLatestProfile(CG_GL_VERTEX);
    g_fragmentProfile = cgGLGetLatestProfile(CG_GL_FRAGMENT);
    if (g_vertexProfile == CG_PROFILE_UNKNOWN || g_fragmentProfile == CG_PROFILE_UNKNOWN) {
        ShowMessageBox("Invalid profile type", "Error");
        return false;
    }
    cgGLSetOptimalOptions(g_vertexProfile);
    cgGLSetOptimalOptions(g_fragmentProfile);
    return true;
}

bool CreatePrograms() {
    g_waveProgram = cgCreateProgramFromFile(g_shaderContext, CG_SOURCE, "Cg/Wave.cg",
                                            g_vertexProfile, "main", nullptr);
    g_fragProgram = cgCreateProgramFromFile(g_shaderContext, CG_SOURCE, "Cg/Frag.cg",
                                            g_fragmentProfile, "main", nullptr);
    const char* failure = !g_waveProgram ? "VERTEX SHADER ERROR"
                          : !g_fragProgram ? "PIXEL SHADER ERROR"
                                           : nullptr;
    if (failure) {
        const CGerror error = cgGetError();
        std::cout << failure << std::flush;   // on the console while the box waits
        ShowMessageBox(cgGetErrorString(error), "Error");
        return false;
    }
    cgGLLoadProgram(g_waveProgram);
    cgGLLoadProgram(g_fragProgram);
    return true;
}

// IN.position, texCoord0 and texCoord1 are never set: the vertex stream brings those values.
void LookUpParameters() {
    g_paramPosition = cgGetNamedParameter(g_waveProgram, "IN.position");
    g_paramWave = cgGetNamedParameter(g_waveProgram, "IN.wave");
    g_paramModelViewProj = cgGetNamedParameter(g_waveProgram, "ModelViewProj");
    g_paramGlobalAmbient = cgGetNamedParameter(g_fragProgram, "globalAmbient");
    g_paramLightColor = cgGetNamedParameter(g_fragProgram, "lightColor");
    g_paramLightPosition = cgGetNamedParameter(g_fragProgram, "lightPosition");
    g_paramEyePosition = cgGetNamedParameter(g_fragProgram, "eyePosition");
    g_paramKe = cgGetNamedParameter(g_fragProgram, "Ke");
    g_paramKa = cgGetNamedParameter(g_fragProgram, "Ka");
    g_paramKd = cgGetNamedParameter(g_fragProgram, "Kd");
    g_paramKs = cgGetNamedParameter(g_fragProgram, "Ks");
    g_paramShininess = cgGetNamedParameter(g_fragProgram, "shininess");
    g_paramTexCoord0 = cgGetNamedParameter(g_fragProgram, "texCoord0");
    g_paramTexCoord1 = cgGetNamedParameter(g_fragProgram, "texCoord1");
    g_paramBase = cgGetNamedParameter(g_fragProgram, "Base");
    g_paramDetail = cgGetNamedParameter(g_fragProgram, "Detail");
}

// The light and the eye sit at the centre of the terrain, at height 0.
void SetFixedValues() {
    const float globalAmbient[3] = {0.8f, 0.8f, 0.8f};
    const float lightColor[3] = {0.8f, 0.8f, 0.8f};
    const float lightPosition[3] = {128.0f, 0.0f, 128.0f};
    const float ke[3] = {0.2f, 0.2f, 0.3f};
    const float ka[3] = {0.8f, 0.8f, 0.8f};
    const float kd[3] = {0.8f, 0.8f, 0.8f};
    const float ks[3] = {0.0f, 0.0f, 0.0f};
    cgGLSetParameter3fv(g_paramGlobalAmbient, globalAmbient);
    cgGLSetParameter3fv(g_paramLightColor, lightColor);
    cgGLSetParameter3fv(g_paramLightPosition, lightPosition);
    cgGLSetParameter3f(g_paramEyePosition, 128.0f, 0.0f, 128.0f);
    cgGLSetParameter3fv(g_paramKe, ke);
    cgGLSetParameter3fv(g_paramKa, ka);
    cgGLSetParameter3fv(g_paramKd, kd);
    cgGLSetParameter3fv(g_paramKs, ks);
    cgGLSetParameter1f(g_paramShininess, 0.0f);
}
}  // namespace

bool Course::InitTerrain(const char* fileName, int32_t width, int32_t length) {
    if (!LoadHeights(fileName, width, length)) {
        return false;
    }
    std::cout << "Loaded terrain: " << fileName << std::endl;

    LoadTexture(_baseTexture, ImageFile::Tiff, "terrain_data/Terrain_Base.tif");
    LoadTexture(_detailTexture, ImageFile::Tiff, "terrain_data/Terrain_Detail.tif", GL_REPEAT);
    BuildMarkers();

    if (g_shaderContext) {
        cgDestroyContext(g_shaderContext);   // a second start-up replaces the first one's programs
    }
    g_shaderContext = cgCreateContext();
    if (!g_shaderContext) {
        ShowMessageBox("Failed To Create Cg Context", "Error");
        return false;
    }
    if (!CreateProfiles() || !CreatePrograms()) {
        return false;
    }
    LookUpParameters();
    SetFixedValues();
    cgGLSetTextureParameter(g_paramBase, _baseTexture.GetId());
    cgGLSetTextureParameter(g_paramDetail, _detailTexture.GetId());
    ComputeCellSize();
    // One pass before the first frame, a tick long: the wave starts at 0.01, and the first
    // clear wipes it.
    DrawTerrain(_heights, kOneTick);
    return true;
}
