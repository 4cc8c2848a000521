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
    for (Racer& racer : _racers) {
        UpdateRacer(racer, held, now, _frameTicks);
        _sound.Engine(racer.channel, racer.camera._speed / kTopSpeed);
    }
}

void Game::Display() {
    for (const FrameRow& row : kFrame) {
        RunStep(row);
    }
}

void Game::RunStep(const FrameRow& row) {
    Course& course = _world._course;
    // The racer the row names; the whole window's rows (racer 0) name none and use none.
    const auto racer = [&]() -> Racer& { return _racers[row.racer - 1]; };
    switch (row.step) {
    case FrameStep::Clear: glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); break;
    case FrameStep::UpdateRacers: Update(); break;
    case FrameStep::Viewport:
        // The halves from the top down: racer 1's above racer 2's.
        glViewport(0, (kRacerCount - racer().number) * _halfHeight, _width, _halfHeight);
        break;
    case FrameStep::MoveRacer: MoveRacer(racer().camera, _frameTicks); break;
    case FrameStep::TakeFrustum: course.UpdateFrustum(); break;  // from the current matrices
    case FrameStep::DrawSky: DrawSky(_world._skybox, racer().camera); break;
    case FrameStep::DrawTerrainAndMarkers: course.Draw(_frameTicks); break;
    case FrameStep::DrawHud: _world.DrawHud(racer().number, racer().hudText); break;
    case FrameStep::AnimateItems: AnimateItems(_frameTicks, _itemTicksCarried); break;
    case FrameStep::CollectPickups: {
        const Vec3& eye = racer().camera._eye;
        if (_world.CollectPickups(eye.x, eye.z) > 0) {
            _sound.Pickup(racer().channel);
        }
        break;
    }
    case FrameStep::StopAtWall: {
        // Stopped by the wall: moving before the step, standing after it.
        Camera& camera = racer().camera;
        const float speed = camera._speed;
        StopAtWall(course, camera, _frameTicks);
        if (speed > 0.0f && camera._speed == 0.0f) {
            _sound.Knock(racer().channel, speed / kTopSpeed);
        }
        break;
    }
    case FrameStep::FollowGround: FollowGround(course, racer().camera, _frameTicks); break;
    case FrameStep::DrawItems: DrawItems(_world); break;
    case FrameStep::ApplyFog: ApplyFog(_world); break;
    case FrameStep::SwapBuffers: glutSwapBuffers(); break;
    }
}
