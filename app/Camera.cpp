#include "app/Camera.h"

float Camera::_bobPhase = 0.0f;

Camera::Camera() : fov(60.0f), nearClip(0.1f), farClip(512.0f) {
    _eye = {128.0f, 0.0f, 128.0f};
    _up = {0.0f, 1.0f, 0.0f};
}
Camera::~Camera() = default;
void Camera::SetPerspective(float, float, float) {}
void Camera::SetAspect(float) {}
void Camera::Apply() {}
void Camera::Turn(float) {}
void Camera::Move(float) {}
