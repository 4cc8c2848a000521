#include "course/Course.h"
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

bool Course::InitTerrain(const char*, int32_t, int32_t) { return false; }
