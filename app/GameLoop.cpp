// The game loop: one frame turns the keys into motion, then draws racer 1 in the top half
// and racer 2 in the bottom half, applying the game rules for each racer between the draws.
#include <GL/glut.h>

#include "app/FrameSteps.h"
#include "app/Game.h"

void Game::Update() {
    UpdateRacer(_camera1, _keys, kRacer1Keys, _restart1);
    UpdateRacer(_camera2, _keys, kRacer2Keys, _restart2);
}

void Game::Display() {
    Course& course = _world._course;

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Update();

    // Racer 1, top half: the course is drawn right after the sky, with the view as moved.
    glViewport(0, _halfHeight, _width, _halfHeight);
    MoveRacer(_camera1);
    course._frustum.Update();
    DrawSky(_world._skybox, _camera1);
    course.Draw();
    _world.DrawHud(1);
    AnimateItems();
    _world.CollectPickups(_camera1._eye.x, _camera1._eye.z);
    StopAtWall(course, _camera1);
    FollowGround(course, _camera1);
    DrawItems(_world);

    // Racer 2, bottom half: the course is drawn after the wall and ground steps.
    glViewport(0, 0, _width, _halfHeight);
    MoveRacer(_camera2);
    course._frustum.Update();
    DrawSky(_world._skybox, _camera2);
    _world.DrawHud(2);
    _world.CollectPickups(_camera2._eye.x, _camera2._eye.z);
    StopAtWall(course, _camera2);
    FollowGround(course, _camera2);
    course.Draw();
    DrawItems(_world);

    ApplyFog(_world);
    glutSwapBuffers();
}
