// OpenGL extension entry points, looked up once after the window exists.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// The address of an OpenGL entry point, or nullptr when the driver has none.
void* GetGLProcAddress(const char* name);

// Replaces the lookup (for tests of a driver without an entry point); nullptr restores it.
void SetGLProcAddressForTesting(void* (*lookup)(const char* name));

extern PFNGLACTIVETEXTUREARBPROC g_glActiveTextureARB;
extern PFNGLMULTITEXCOORD2FARBPROC g_glMultiTexCoord2fARB;
