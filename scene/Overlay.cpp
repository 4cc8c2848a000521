// The heads-up line of each half: overlay draws per second and seconds since start-up,
// refreshed at most about once a second and drawn over the 3-D view in a fixed 640 x 480 space.
#include <algorithm>
#include <cstdio>

#include <GL/glut.h>

#include "platform/Clock.h"
#include "scene/World.h"

char g_hudText[64] = {};

namespace {
constexpr int32_t kRefreshMillis = 1000;
// The text's baseline sits this many 768ths of the overlay height below its top...
constexpr int32_t kBaselineNumerator = 20;
constexpr int32_t kBaselineDenominator = 768;
// ...but never so high that the glyphs of the 9 x 15 font, which rise 11 pixel rows from the
// baseline's row and hang 3 below it, leave the half they are drawn in.
constexpr int32_t kGlyphRise = 11;
constexpr int32_t kGlyphDrop = 3;

// The baseline's distance below the top of a half `halfPixels` high, in overlay units: the
// fixed place where the line fits, else as low as fits (a half too small for the line shows
// what fits of it).
float BaselineInHalf(int32_t hudHeight, int32_t halfPixels) {
    const int32_t fixed = hudHeight * kBaselineNumerator / kBaselineDenominator;
    if (halfPixels <= 0) {
        return static_cast<float>(fixed);
    }
    const double perPixel = static_cast<double>(hudHeight) / halfPixels;
    const double lowest = std::max(halfPixels - kGlyphDrop, 0) * perPixel;
    const double highest = std::min(kGlyphRise * perPixel, lowest);
    return static_cast<float>(std::max(static_cast<double>(fixed), highest));
}

// The characters from the current raster position on; each moves it on.
void DrawCharacters(void* font, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        glutBitmapCharacter(font, static_cast<unsigned char>(*c));
    }
}
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

void World::DrawHud(int, const char* racerText) {
    CountHudDraw(ElapsedMillis());
    BeginOverlay();
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    // Bitmaps are not clipped by the viewport: the scissor keeps the line in its own half.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
    glEnable(GL_SCISSOR_TEST);
    DrawText(0.0f, BaselineInHalf(_hudHeight, viewport[3]), _hudFont, g_hudText);
    DrawCharacters(_hudFont, racerText);
    glDisable(GL_SCISSOR_TEST);
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
    DrawCharacters(font, text);
}
