#include "scene/Random.h"

uint32_t g_randomState = 1;

int NextRandom() {
    g_randomState = g_randomState * 214013u + 2531011u;
    return static_cast<int>((g_randomState >> 16) & 0x7FFFu);
}

void ResetRandom() {
    g_randomState = 1;
}
