#include "Autopilot.h"

#include <cmath>

#include "app/FrameSteps.h"
#include "app/Game.h"
#include "base/Clock.h"

namespace {
int32_t g_frameMillis = 0;

int FrameClock() {
    return g_frameMillis;
}

// How far ahead a racer looks for blocked ground, world units, in steps of one unit.
constexpr int kLookAhead = 8;

bool BlockedAhead(const Course& course, const Camera& camera) {
    for (int distance = 1; distance <= kLookAhead; ++distance) {
        const float x = camera._eye.x + std::sin(camera._heading) * static_cast<float>(distance);
        const float z = camera._eye.z - std::cos(camera._heading) * static_cast<float>(distance);
        if (IsBlockedGround(course, x, z)) {
            return true;
        }
    }
    return false;
}

void Drive(Game& game, const Camera& camera, const RacerKeys& keys, unsigned char turnKey) {
    const bool blocked = BlockedAhead(game._world._course, camera);
    // A racer stopped by a wall answers the accelerate key only after a frame without it.
    const bool stopped = camera._acceleration == 0.0f;
    game._keys[keys.accelerate] = !blocked && !stopped ? 1 : 0;
    game._keys[keys.hold] = blocked && !stopped ? 1 : 0;
    game._keys[keys.left] = 0;
    game._keys[keys.right] = 0;
    game._keys[turnKey] = blocked ? 1 : 0;
}
}  // namespace

void UseFrameClock(int32_t startMillis) {
    g_frameMillis = startMillis;
    SetClockForTesting(FrameClock);
}

void AdvanceFrameClock() {
    g_frameMillis += kBenchFrameMillis;
}

void DriveBoth(Game& game) {
    Drive(game, game._camera1, kRacer1Keys, kRacer1Keys.right);
    Drive(game, game._camera2, kRacer2Keys, kRacer2Keys.left);
}
