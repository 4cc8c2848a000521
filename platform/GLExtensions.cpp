#include "platform/GLExtensions.h"

PFNGLACTIVETEXTUREARBPROC g_glActiveTextureARB = nullptr;
PFNGLMULTITEXCOORD2FARBPROC g_glMultiTexCoord2fARB = nullptr;

void* GetGLProcAddress(const char*) { return nullptr; }
void SetGLProcAddressForTesting(void* (*)(const char*)) {}
