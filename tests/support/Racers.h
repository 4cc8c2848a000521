// Racers as the game starts them, for tests that drive them without Game::Init.
#pragma once

#include "app/Camera.h"

// Standing, eye at height 50, level, accelerating factor 0.005, turning factor 0.1.
inline void StartRacer(Camera& camera) {
    camera._speed = 0.0f;
    camera._heading = 0.0f;
    camera._baseHeight = 50.0f;
    camera._pitch = 0.0f;
    camera._acceleration = 0.005f;
    camera._turnRate = 0.1f;
}

// The same, standing at (x, z).
inline void StartRacerAt(Camera& camera, float x, float z) {
    StartRacer(camera);
    camera._eye.x = x;
    camera._eye.z = z;
}
