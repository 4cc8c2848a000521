#include "scene/World.h"

World::World() = default;
World::~World() = default;
bool World::Init(const char*, const char*) { return true; }
bool World::Init() { return true; }
