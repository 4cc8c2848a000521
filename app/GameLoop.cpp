// The game loop: one frame turns the keys into motion, then draws racer 1 in the top half
// and racer 2 in the bottom half, applying the game rules for each racer between the draws.
#include <GL/glut.h>

#include "app/FrameSteps.h"
#include "app/Game.h"

void Game::Update() {
    // A key and a pad holding the same control are one held control.
    unsigned char held[256];
    for (int key = 0; key < 256; ++key) {
        held[key] = _keys[key] | _padKeys[key];
    }
    UpdateRacer(_camera1, held, kRacer1Keys, _restart1);
    UpdateRacer(_camera2, held, kRacer2Keys, _restart2);
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
    case FrameStep::Update: Update(); break;
    case FrameStep::Viewport:
        glViewport(0, row.racer == 1 ? _halfHeight : 0, _width, _halfHeight);
        break;
    case FrameStep::Camera: MoveRacer(camera); break;
    case FrameStep::Frustum: course._frustum.Update(); break;
    case FrameStep::Sky: DrawSky(_world._skybox, camera); break;
    case FrameStep::Course: course.Draw(); break;
    case FrameStep::Hud: _world.DrawHud(row.racer); break;
    case FrameStep::Animate: AnimateItems(); break;
    case FrameStep::Pickups: _world.CollectPickups(camera._eye.x, camera._eye.z); break;
    case FrameStep::Wall: StopAtWall(course, camera); break;
    case FrameStep::Ground: FollowGround(course, camera); break;
    case FrameStep::Items: DrawItems(_world); break;
    case FrameStep::Fog: ApplyFog(_world); break;
    case FrameStep::Swap: glutSwapBuffers(); break;
    }
}
