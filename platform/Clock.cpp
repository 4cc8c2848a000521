#include "platform/Clock.h"

#include <GL/glut.h>

namespace {
int (*g_testClock)() = nullptr;
}

int ElapsedMillis() {
    return g_testClock ? g_testClock() : glutGet(GLUT_ELAPSED_TIME);
}

void SetClockForTesting(int (*clock)()) {
    g_testClock = clock;
}
