// The heads-up line of each half: overlay draws per second and seconds since start-up,
// refreshed at most about once a second and drawn over the 3-D view in a fixed 640 x 480 space.
#include <cstdio>

#include <GL/glut.h>

#include "base/Clock.h"
#include "scene/World.h"

char g_hudText[64] = {};

namespace {
constexpr int32_t kRefreshMillis = 1000;
// The text's baseline sits this many 768ths of the overlay height below its top.
constexpr int32_t kBaselineNumerator = 20;
constexpr int32_t kBaselineDenominator = 768;
}  // namespace

void World::CountHudDraw(int32_t now) {
    ++_hudFrames;
    _hudNow = now;
    const int32_t since = _hudNow - _hudLastUpdate;
    if (since <= kRefreshMillis) {
        return;
    }
    const double rate = _hudFrames * 1000.0 / since;
    std::snprintf(g_hudText, sizeof g_hudText, "FPS:%4.2f Time:%4.2f", rate, _hudNow / 1000.0);
    _hudLastUpdate = _hudNow;
    _hudFrames = 0;
}

void World::DrawHud(int) {
    CountHudDraw(ElapsedMillis());
    BeginOverlay();
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    const int32_t baseline = _hudHeight * kBaselineNumerator / kBaselineDenominator;
    DrawText(0.0f, static_cast<float>(baseline), _hudFont, g_hudText);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    EndOverlay();
}

void World::BeginOverlay() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, _hudWidth, _hudHeight, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
}

void World::EndOverlay() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void World::DrawText(float x, float y, void* font, const char* text) {
    glRasterPos2f(x, y);
    for (const char* c = text; *c != '\0'; ++c) {
        glutBitmapCharacter(font, static_cast<unsigned char>(*c));
    }
}
