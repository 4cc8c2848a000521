#include "GLContext.h"

#include <link.h>
#include <dlfcn.h>

#include <GL/glut.h>

namespace {
int g_window = 0;

// Keeps every library loaded so far in memory for good. The GL driver is loaded on demand
// and unloaded at exit; pinned, its allocations keep their module names in leak reports,
// which the suppression file can then match.
int PinLibrary(struct dl_phdr_info* info, size_t, void*) {
    if (info->dlpi_name && info->dlpi_name[0] != '\0') {
        dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
    return 0;
}
}  // namespace

void EnsureGLContext() {
    if (g_window != 0) {
        return;
    }
    int argc = 1;
    char name[] = "kestrun-gl-test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(640, 480);
    g_window = glutCreateWindow("kestrun test");
    glutDisplayFunc([] {});
    dl_iterate_phdr(PinLibrary, nullptr);
}

int TestWindowId() {
    return g_window;
}
