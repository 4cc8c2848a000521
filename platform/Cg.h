// Our shader runtime: the small set of operations the terrain needs from a shader toolkit
// (context, profiles, programs compiled from source files, named parameters, state-matrix
// and texture parameters), implemented on OpenGL 2.0 GLSL. Names and constants follow the
// toolkit the terrain code was first written against, so that code reads the same.
#pragma once

#include <GL/gl.h>

typedef struct CgContextRecord* CGcontext;
typedef struct CgProgramRecord* CGprogram;
typedef struct CgParameterRecord* CGparameter;
typedef int CGprofile;
typedef int CGerror;
typedef int CGenum;
typedef int CGGLenum;

enum : int {
    CG_NO_ERROR = 0,
    CG_COMPILER_ERROR = 1,
    CG_INVALID_PARAMETER_ERROR = 2,
    CG_INVALID_PROFILE_ERROR = 3,
    CG_FILE_READ_ERROR = 4,
    CG_INVALID_CONTEXT_HANDLE_ERROR = 5,
    CG_INVALID_PROGRAM_HANDLE_ERROR = 6,
};

constexpr CGGLenum CG_GL_VERTEX = 8;
constexpr CGGLenum CG_GL_FRAGMENT = 9;
constexpr CGprofile CG_PROFILE_UNKNOWN = 6145;
constexpr CGprofile CG_PROFILE_GLSLV = 7007;  // our GLSL 1.20 vertex profile
constexpr CGprofile CG_PROFILE_GLSLF = 7008;  // our GLSL 1.20 fragment profile
constexpr CGenum CG_SOURCE = 4112;
constexpr CGGLenum CG_GL_MODELVIEW_PROJECTION_MATRIX = 7;
constexpr CGGLenum CG_GL_MATRIX_IDENTITY = 0;

CGcontext cgCreateContext();
void cgDestroyContext(CGcontext context);
CGprofile cgGLGetLatestProfile(CGGLenum profileClass);
void cgGLSetOptimalOptions(CGprofile profile);
CGprogram cgCreateProgramFromFile(CGcontext context, CGenum programType, const char* fileName,
                                  CGprofile profile, const char* entry, const char** args);
CGerror cgGetError();
const char* cgGetErrorString(CGerror error);
void cgGLLoadProgram(CGprogram program);
void cgGLBindProgram(CGprogram program);
void cgGLEnableProfile(CGprofile profile);
void cgGLDisableProfile(CGprofile profile);
CGparameter cgGetNamedParameter(CGprogram program, const char* name);
void cgGLSetParameter1f(CGparameter parameter, float x);
void cgGLSetParameter3f(CGparameter parameter, float x, float y, float z);
void cgGLSetParameter3fv(CGparameter parameter, const float* values);
void cgGLSetStateMatrixParameter(CGparameter parameter, CGGLenum matrix, CGGLenum transform);
void cgGLSetTextureParameter(CGparameter parameter, GLuint texture);
void cgGLEnableTextureParameter(CGparameter parameter);
void cgGLDisableTextureParameter(CGparameter parameter);
