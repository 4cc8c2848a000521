// One racer's first-person view, which is also the racer: eye, look direction and
// projection, plus the motion state that the per-frame update drives.
#pragma once

#include "base/Vec3.h"

class Camera {
public:
    Camera();
    virtual ~Camera();

    // Not called by the game, which keeps the constructor's values; kept as the camera's
    // checked setter of its projection values (the camera tests use it).
    void SetPerspective(float fov, float nearClip, float farClip);
    void SetAspect(float aspect);
    // Loads the projection; leaves the modelview matrix current.
    void Apply();
    // Points the camera along a heading (radians) and loads the view into the current matrix.
    void Turn(float angle);
    // Moves the eye along the look direction, bobs its height and loads the view into the
    // current matrix. Every call, even Move(0), advances the bobbing phase of both cameras by
    // its step for each of the frame's ticks (base/FramePacer.h).
    void Move(float distance, float frameTicks);

    // Motion state (set by Game::Init and Game::Update).
    float _speed = 0.0f;        // world units per tick
    float _heading = 0.0f;      // radians; 0 looks toward -z
    float _baseHeight = 0.0f;   // eye height before bobbing
    float _pitch = 0.0f;        // copied into _direction.y by Move
    float _acceleration = 0.0f;
    float _accelStart = 0.0f;   // ms, start of the current forward press
    float _accelNow = 0.0f;     // ms, latest frame with the forward key down
    float _accelHeld = 0.0f;    // seconds between the two
    float _turnRate = 0.0f;
    float _turnStart = 0.0f;    // ms
    float _turnNow = 0.0f;      // ms
    float _turnHeld = 0.0f;     // seconds

    Vec3 _eye;
    Vec3 _moveFrom;  // the eye before this frame's move (set by MoveRacer, read by the wall step)
    Vec3 _direction;
    Vec3 _up;

    float fov;
    float nearClip;
    float farClip;
    float aspect = 1.0f;

    // Bobbing phase shared by every camera; each Move advances it by 0.01 a tick of its frame.
    static float _bobPhase;
};
