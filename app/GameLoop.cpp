// The game loop: one frame turns the keys into motion, then draws racer 1 in the top half
// and racer 2 in the bottom half, applying the game rules for each racer between the draws.
#include <GL/glut.h>

#include "app/FrameSteps.h"
#include "app/Game.h"
#include "platform/Clock.h"

void Game::Update() {
    // A key and a pad holding the same control are one held control.
    unsigned char held[256];
    for (int key = 0; key < 256; ++key) {
        held[key] = _keys[key] | _padKeys[key];
    }
    const float now = static_cast<float>(ElapsedMillis());
    UpdateRacer(_camera1, held, _settings.racer1, _restart1, now, _frameTicks);
    UpdateRacer(_camera2, held, _settings.racer2, _restart2, now, _frameTicks);
    _sound.Engine(0, _camera1._speed / kTopSpeed);
    _sound.Engine(1, _camera2._speed / kTopSpeed);
}

void Game::Display() {
    for (const FrameRow& row : kFrame) {
        RunStep(row);
    }
}

void Game::RunStep(const FrameRow& row) {
    Course& course = _world._course;
    Camera& camera = row.racer == 2 ? _camera2 : _camera1;
    switch (row.step) {
    case FrameStep::Clear: glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); break;
    case FrameStep::UpdateRacers: Update(); break;
    case FrameStep::Viewport:
        glViewport(0, row.racer == 1 ? _halfHeight : 0, _width, _halfHeight);
        break;
    case FrameStep::MoveRacer: MoveRacer(camera, _frameTicks); break;
    case FrameStep::TakeFrustum: course.UpdateFrustum(); break;  // from the current matrices
    case FrameStep::DrawSky: DrawSky(_world._skybox, camera); break;
    case FrameStep::DrawTerrainAndMarkers: course.Draw(_frameTicks); break;
    case FrameStep::DrawHud: _world.DrawHud(row.racer); break;
    case FrameStep::AnimateItems: AnimateItems(_frameTicks, _itemTicksCarried); break;
    case FrameStep::CollectPickups:
        if (_world.CollectPickups(camera._eye.x, camera._eye.z) > 0) {
            _sound.Pickup(row.racer - 1);
        }
        break;
    case FrameStep::StopAtWall: {
        // Stopped by the wall: moving before the step, standing after it.
        const float speed = camera._speed;
        StopAtWall(course, camera, _frameTicks);
        if (speed > 0.0f && camera._speed == 0.0f) {
            _sound.Knock(row.racer - 1, speed / kTopSpeed);
        }
        break;
    }
    case FrameStep::FollowGround: FollowGround(course, camera, _frameTicks); break;
    case FrameStep::DrawItems: DrawItems(_world); break;
    case FrameStep::ApplyFog: ApplyFog(_world); break;
    case FrameStep::SwapBuffers: glutSwapBuffers(); break;
    }
}
