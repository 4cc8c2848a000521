// The extension lookup of the X window system (GLX), behind the game's own function.
#include "platform/GLExtensions.h"

#include <GL/glx.h>

PFNGLACTIVETEXTUREARBPROC g_glActiveTextureARB = nullptr;
PFNGLMULTITEXCOORD2FARBPROC g_glMultiTexCoord2fARB = nullptr;

namespace {
void* (*g_lookupForTesting)(const char* name) = nullptr;
}  // namespace

void* GetGLProcAddress(const char* name) {
    if (g_lookupForTesting) {
        return g_lookupForTesting(name);
    }
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

void SetGLProcAddressForTesting(void* (*lookup)(const char* name)) {
    g_lookupForTesting = lookup;
}
