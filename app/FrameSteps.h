// The frame as one table of named steps, and the steps themselves: the key-driven update of
// speed and heading, and the drawing and game-rule steps that make up each half of the window.
#pragma once

#include <cstdint>

#include "app/Camera.h"
#include "app/Game.h"
#include "app/Racer.h"
#include "base/WorldUnits.h"  // kTopSpeed

class CourseData;
class Skybox;
class World;

// The named steps of a frame, each named after what it does. Those between Viewport and
// DrawItems make up one racer's half.
enum class FrameStep : uint8_t {
    Clear, UpdateRacers, Viewport, MoveRacer, TakeFrustum, DrawSky, DrawTerrainAndMarkers,
    DrawHud, AnimateItems, CollectPickups, StopAtWall, FollowGround, DrawItems, ApplyFog,
    SwapBuffers
};

// One step of the frame and the racer it works for; racer 0 is the whole window.
struct FrameRow {
    int racer;
    FrameStep step;
};

// The frame, top to bottom: Game::Display runs these rows, and the benchmark times each one.
inline constexpr FrameRow kFrame[] = {
    {0, FrameStep::Clear}, {0, FrameStep::UpdateRacers},
    // Racer 1, top half: the course right after the sky, seen from where the racer moved to.
    {1, FrameStep::Viewport}, {1, FrameStep::MoveRacer}, {1, FrameStep::TakeFrustum},
    {1, FrameStep::DrawSky}, {1, FrameStep::DrawTerrainAndMarkers}, {1, FrameStep::DrawHud},
    {1, FrameStep::AnimateItems}, {1, FrameStep::CollectPickups}, {1, FrameStep::StopAtWall},
    {1, FrameStep::FollowGround}, {1, FrameStep::DrawItems},
    // Racer 2, bottom half: no AnimateItems (one item image a frame); the course after the
    // wall and ground steps, with the frustum taken before them.
    {2, FrameStep::Viewport}, {2, FrameStep::MoveRacer}, {2, FrameStep::TakeFrustum},
    {2, FrameStep::DrawSky}, {2, FrameStep::DrawHud}, {2, FrameStep::CollectPickups},
    {2, FrameStep::StopAtWall}, {2, FrameStep::FollowGround},
    {2, FrameStep::DrawTerrainAndMarkers}, {2, FrameStep::DrawItems},
    {0, FrameStep::ApplyFog}, {0, FrameStep::SwapBuffers},
};

// The steps below take the time their frame stands for as arguments: `frameTicks`, the ticks of
// base/FramePacer.h (one at the cap of 60), by which every per-tick amount is multiplied, and
// for the update the game's clock at the frame, in milliseconds. None reads a clock or a pacer.

// Speed, hold, slowing down and turning of one racer from its four keys. The key table is
// indexed by key code; a non-zero entry is a key that is down. How long a key has been held is
// measured on the clock readings `nowMillis` of successive frames.
void UpdateRacer(Racer& racer, const unsigned char keys[256], float nowMillis, float frameTicks);

// Turns the camera to its heading and moves it by its speed times the frame's ticks: where the
// racer actually moves. Remembers where it was in camera._moveFrom.
void MoveRacer(Camera& camera, float frameTicks);

// The sky box around the racer's eye, behind everything drawn after it.
void DrawSky(const Skybox& skybox, const Camera& camera);

// Advances the item animation counter g_itemFrame through 1, 2, ..., 40, 0, 1, ..., a step for
// every whole tick that the frame's ticks and the part of a tick `carried` from earlier frames
// make up; what is left over stays in `carried` for the next frame.
void AnimateItems(float frameTicks, float& carried);

// A racer whose move crossed the fence (course/Fence.h), or ended on blocked ground outside it,
// stops dead: speed and acceleration 0 (accelerating again needs a new press), set back one
// unit along its look, or, were that beyond the fence, back where it was before the move. A
// racer that did not move is left alone. The move is from camera._moveFrom to camera._eye.
void StopAtWall(const CourseData& course, Camera& camera, float frameTicks);

// Puts the racer's eye two units above the ground under it (plus the bobbing of Move; the
// Move(0) that sets the height also advances the bobbing phase of both cameras).
void FollowGround(const CourseData& course, Camera& camera, float frameTicks);

// Draws the twenty items, each two units above the ground at its place.
void DrawItems(World& world);

// The fog values of the world; they take effect from the next frame on.
void ApplyFog(const World& world);
