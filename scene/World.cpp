#include "scene/World.h"

World::World() = default;
World::~World() = default;
bool World::Init(const char*, const char*) { return false; }
bool World::Init() { return true; }
