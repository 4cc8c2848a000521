#include "scene/World.h"

char g_hudText[64] = {};

void World::DrawHud(int) {}
void World::BeginOverlay() {}
void World::EndOverlay() {}
void World::DrawText(float, float, void*, const char*) {}
void World::CountHudDraw(int32_t) {}
