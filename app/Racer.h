// One racer: everything it has of its own. The game holds one record per racer, and each step
// of the frame takes the racer it works on.
#pragma once

#include "app/Camera.h"
#include "base/Settings.h"

// Racer 1 drives in the top half of the window, racer 2 in the bottom half.
constexpr int kRacerCount = 2;

// The press-restart flags the update keeps per racer.
struct RacerRestart {
    bool accelRestart = true;
    bool leftRestart = true;
    bool rightRestart = true;
};

struct Racer {
    Racer() = default;
    Racer(int number, const RacerKeys* keys, int pad, int channel)
        : number(number), keys(keys), pad(pad), channel(channel) {}

    int number = 1;                        // 1 or 2, as the frame table names it
    const RacerKeys* keys = &kRacer1Keys;  // its four controls, where the player's settings keep them
    int pad = 0;                           // its gamepad: Gamepads::State's index
    int channel = 0;                       // its side of the sound: Sound's racer index
    Camera camera;                         // its view, and its motion
    RacerRestart restart;
    // Its own words in its half, after the line both halves show; none yet.
    char hudText[32] = {};
};
