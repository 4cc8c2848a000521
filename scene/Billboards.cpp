#include "scene/World.h"

int32_t g_itemFrame = 0;

void World::BuildBillboardList() {}
void World::DrawBillboard(float, float, float, int) {}
void World::BeginBillboard() {}
void World::EndBillboard() {}
void World::CollectPickups(float, float) {}
