#include "scene/Skybox.h"

Skybox::Skybox() = default;
Skybox::~Skybox() = default;
bool Skybox::Generate(const char*) { return true; }
