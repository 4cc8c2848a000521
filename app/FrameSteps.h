// The frame as one table of named steps, and the steps themselves: the key-driven update of
// speed and heading, and the drawing and game-rule steps that make up each half of the window.
#pragma once

#include <cstdint>

#include "app/Camera.h"
#include "app/Game.h"

class Course;
class Skybox;
class World;

// The named steps of a frame. Those between Viewport and Items make up one racer's half.
enum class FrameStep : uint8_t {
    Clear, Update, Viewport, Camera, Frustum, Sky, Course, Hud, Animate, Pickups, Wall, Ground,
    Items, Fog, Swap
};

// One step of the frame and the racer it works for; racer 0 is the whole window.
struct FrameRow {
    int racer;
    FrameStep step;
};

// The frame, top to bottom: Game::Display runs these rows, and the benchmark times each one.
inline constexpr FrameRow kFrame[] = {
    {0, FrameStep::Clear}, {0, FrameStep::Update},
    // Racer 1, top half: the course right after the sky, seen from where the camera step left it.
    {1, FrameStep::Viewport}, {1, FrameStep::Camera}, {1, FrameStep::Frustum},
    {1, FrameStep::Sky}, {1, FrameStep::Course}, {1, FrameStep::Hud}, {1, FrameStep::Animate},
    {1, FrameStep::Pickups}, {1, FrameStep::Wall}, {1, FrameStep::Ground}, {1, FrameStep::Items},
    // Racer 2, bottom half: no Animate (one item image a frame); course after wall and ground.
    {2, FrameStep::Viewport}, {2, FrameStep::Camera}, {2, FrameStep::Frustum},
    {2, FrameStep::Sky}, {2, FrameStep::Hud}, {2, FrameStep::Pickups}, {2, FrameStep::Wall},
    {2, FrameStep::Ground}, {2, FrameStep::Course}, {2, FrameStep::Items},
    {0, FrameStep::Fog}, {0, FrameStep::Swap},
};

// Speed, hold, slowing down and turning of one racer from its four keys. The key table is
// indexed by key code; a non-zero entry is a key that is down. Time comes from ElapsedMillis().
void UpdateRacer(Camera& camera, const unsigned char keys[256], const RacerKeys& racerKeys,
                 RacerRestart& restart);

// Turns the camera to its heading and moves it by its speed: where the racer actually moves.
void MoveRacer(Camera& camera);

// The sky box around the racer's eye, behind everything drawn after it.
void DrawSky(const Skybox& skybox, const Camera& camera);

// Advances the item animation counter through 1, 2, ..., 40, 0, 1, ...
void AnimateItems();

// A racer on blocked ground stops dead, loses its acceleration and is set back one unit.
void StopAtWall(const Course& course, Camera& camera);

// Puts the racer's eye two units above the ground under it (plus the bobbing of Move).
void FollowGround(const Course& course, Camera& camera);

// Draws the twenty items, each two units above the ground at its place.
void DrawItems(World& world);

// The fog values of the world; they take effect from the next frame on.
void ApplyFog(const World& world);
