// Racers as the game starts them, for tests that drive them without Game::Init.
#pragma once

#include "app/Camera.h"
#include "app/Game.h"

// The game's starting motion, standing at (x, z).
inline void StartRacerAt(Camera& camera, float x, float z) {
    StartRacer(camera);
    camera._eye.x = x;
    camera._eye.z = z;
}
