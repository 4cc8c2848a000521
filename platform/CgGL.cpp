#include "platform/Cg.h"

CGcontext cgCreateContext() { return nullptr; }
void cgDestroyContext(CGcontext) {}
CGprofile cgGLGetLatestProfile(CGGLenum) { return CG_PROFILE_UNKNOWN; }
void cgGLSetOptimalOptions(CGprofile) {}
CGprogram cgCreateProgramFromFile(CGcontext, CGenum, const char*, CGprofile, const char*,
                                  const char**) {
    return nullptr;
}
CGerror cgGetError() { return CG_NO_ERROR; }
const char* cgGetErrorString(CGerror) { return ""; }
void cgGLLoadProgram(CGprogram) {}
void cgGLBindProgram(CGprogram) {}
void cgGLEnableProfile(CGprofile) {}
void cgGLDisableProfile(CGprofile) {}
CGparameter cgGetNamedParameter(CGprogram, const char*) { return nullptr; }
void cgGLSetParameter1f(CGparameter, float) {}
void cgGLSetParameter3f(CGparameter, float, float, float) {}
void cgGLSetParameter3fv(CGparameter, const float*) {}
void cgGLSetStateMatrixParameter(CGparameter, CGGLenum, CGGLenum) {}
void cgGLSetTextureParameter(CGparameter, GLuint) {}
void cgGLEnableTextureParameter(CGparameter) {}
void cgGLDisableTextureParameter(CGparameter) {}
