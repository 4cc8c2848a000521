#include "GLContext.h"

#include <GL/glut.h>

namespace {
int g_window = 0;
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
}

int TestWindowId() {
    return g_window;
}
