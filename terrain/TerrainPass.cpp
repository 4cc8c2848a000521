// The terrain and water pass: the whole mesh as one strip through the wave and fragment
// programs, then the course markers with the programs off.
#include "terrain/Course.h"
#include "platform/GLExtensions.h"
#include "terrain/Shaders.h"
#include "terrain/TerrainStrip.h"

float g_wavePhase = 0.0f;
bool g_stripReversed = false;

// Always true: a course without a height field simply draws nothing.
bool Course::Draw(float frameTicks) {
    DrawTerrain(_heights, frameTicks);
    return true;
}

void Course::DrawTerrain(const unsigned char* field, float frameTicks) {
    _heightDivisor = kHeightDivisor;   // stored anew every pass, heights or not: it never changes
    if (!field) {
        return;
    }
    cgGLSetStateMatrixParameter(g_paramModelViewProj, CG_GL_MODELVIEW_PROJECTION_MATRIX,
                                CG_GL_MATRIX_IDENTITY);
    cgGLEnableProfile(g_vertexProfile);
    cgGLBindProgram(g_waveProgram);
    cgGLEnableProfile(g_fragmentProfile);
    cgGLBindProgram(g_fragProgram);
    cgGLEnableTextureParameter(g_paramBase);
    cgGLEnableTextureParameter(g_paramDetail);

    glBegin(GL_TRIANGLE_STRIP);
    WalkTerrainStrip(field, _heightDivisor, [this](const TerrainVertex& vertex) {
        cgGLSetParameter3f(g_paramWave, g_wavePhase, 1.0f, 1.0f);
        glNormal3f(vertex.normal.x, vertex.normal.y, vertex.normal.z);
        SetTerrainTexCoord(static_cast<float>(vertex.x), static_cast<float>(vertex.z));
        glVertex3f(static_cast<float>(vertex.x), vertex.height, static_cast<float>(vertex.z));
    });
    g_wavePhase += kWaveStep * frameTicks;
    glEnd();

    cgGLDisableTextureParameter(g_paramBase);
    cgGLDisableTextureParameter(g_paramDetail);
    cgGLDisableProfile(g_vertexProfile);
    cgGLDisableProfile(g_fragmentProfile);
    DrawMarkers();
}

void Course::SetTerrainTexCoord(float x, float z) {
    if (!g_glMultiTexCoord2fARB) {
        return;   // the entry point is fetched at start-up, before the first pass
    }
    g_glMultiTexCoord2fARB(GL_TEXTURE0_ARB, x / kTerrainSize, z / kTerrainSize);
    g_glMultiTexCoord2fARB(GL_TEXTURE1_ARB, x / kTerrainSize, z / kTerrainSize);
}
