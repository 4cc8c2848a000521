// The order of a frame's steps as the game's rules give it, written out here apart from the
// game's own table (app/FrameSteps.h) so that tests can hold the game to it.
#pragma once

#include "app/FrameSteps.h"

// Clear and update; racer 1's half: viewport, camera, frustum, sky, course, hud, animate,
// pickups, wall, ground, items; racer 2's half: viewport, camera, frustum, sky, hud, pickups,
// wall, ground, course, items; then fog and swap.
inline constexpr FrameRow kRulesFrameOrder[] = {
    {0, FrameStep::Clear}, {0, FrameStep::UpdateRacers},
    {1, FrameStep::Viewport}, {1, FrameStep::MoveRacer}, {1, FrameStep::TakeFrustum},
    {1, FrameStep::DrawSky}, {1, FrameStep::DrawTerrainAndMarkers}, {1, FrameStep::DrawHud},
    {1, FrameStep::AnimateItems}, {1, FrameStep::CollectPickups}, {1, FrameStep::StopAtWall},
    {1, FrameStep::FollowGround}, {1, FrameStep::DrawItems},
    {2, FrameStep::Viewport}, {2, FrameStep::MoveRacer}, {2, FrameStep::TakeFrustum},
    {2, FrameStep::DrawSky}, {2, FrameStep::DrawHud}, {2, FrameStep::CollectPickups},
    {2, FrameStep::StopAtWall}, {2, FrameStep::FollowGround},
    {2, FrameStep::DrawTerrainAndMarkers}, {2, FrameStep::DrawItems},
    {0, FrameStep::ApplyFog}, {0, FrameStep::SwapBuffers},
};
