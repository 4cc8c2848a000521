// The terrain's shader state: one context, two profiles, two programs and their parameters,
// created by Course::InitTerrain and used by every terrain pass.
#pragma once

#include "platform/Cg.h"

extern CGcontext g_shaderContext;
extern CGprofile g_vertexProfile;
extern CGprofile g_fragmentProfile;
extern CGprogram g_waveProgram;
extern CGprogram g_fragProgram;

extern CGparameter g_paramPosition;
extern CGparameter g_paramWave;
extern CGparameter g_paramModelViewProj;
extern CGparameter g_paramGlobalAmbient;
extern CGparameter g_paramLightColor;
extern CGparameter g_paramLightPosition;
extern CGparameter g_paramEyePosition;
extern CGparameter g_paramKe;
extern CGparameter g_paramKa;
extern CGparameter g_paramKd;
extern CGparameter g_paramKs;
extern CGparameter g_paramShininess;
extern CGparameter g_paramTexCoord0;
extern CGparameter g_paramTexCoord1;
extern CGparameter g_paramBase;
extern CGparameter g_paramDetail;

// The wave phase fed to the vertex program; +kWaveStep a tick after every pass that draws.
extern float g_wavePhase;
constexpr float kWaveStep = 0.01f;
// Direction of the current band of the terrain strip.
extern bool g_stripReversed;
