#include "app/Camera.h"

#include <cmath>

#include <GL/glu.h>

#include "base/Require.h"

float Camera::_bobPhase = 0.0f;

namespace {
constexpr float kBobStep = 0.01f;     // phase added by every move of any camera, a tick
constexpr double kBobAmplitude = 0.2; // eye height swing, world units
constexpr double kBobOffset = 90.0;   // added to the phase before the sine

void LookAlong(const Vec3& eye, const Vec3& direction, const Vec3& up) {
    glLoadIdentity();
    gluLookAt(eye.x, eye.y, eye.z, eye.x + direction.x, eye.y + direction.y, eye.z + direction.z,
              up.x, up.y, up.z);
}
} // namespace

Camera::Camera() : fov(60.0f), nearClip(0.1f), farClip(512.0f) {
    _eye = {128.0f, 0.0f, 128.0f};
    _moveFrom = _eye;
    _direction = {0.0f, 0.0f, 0.0f};
    _up = {0.0f, 1.0f, 0.0f};
}

Camera::~Camera() = default;

void Camera::SetPerspective(float fov, float nearClip, float farClip) {
    KR_REQUIRE(fov > 0, "camera");
    KR_REQUIRE(nearClip > 0, "camera");
    KR_REQUIRE(farClip > 0, "camera");
    this->fov = fov;
    this->nearClip = nearClip;
    this->farClip = farClip;
}

void Camera::SetAspect(float aspect) {
    KR_REQUIRE(aspect > 0, "camera");
    this->aspect = aspect;
}

void Camera::Apply() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov, aspect, nearClip, farClip);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Camera::Turn(float angle) {
    _direction.x = std::sin(angle);
    _direction.z = -std::cos(angle);
    LookAlong(_eye, _direction, _up);
}

void Camera::Move(float distance, float frameTicks) {
    _eye.z += _direction.z * distance;
    _eye.x += _direction.x * distance;
    _eye.y = static_cast<float>(std::sin(_bobPhase + kBobOffset) * kBobAmplitude + _baseHeight);
    _bobPhase += kBobStep * frameTicks;
    _direction.y = _pitch;
    LookAlong(_eye, _direction, _up);
}
