// The view frustum: six planes taken from the clip matrix, and the point test with its slack.
#include "course/Frustum.h"

#include <cmath>

#include "base/Matrix.h"

namespace {
constexpr float kSlack = 20.0f;  // a point this far outside a plane, or farther, is out of view

// Plane = row 3 of the clip matrix plus `sign` times row `row`.
void SetPlane(float plane[4], const float clip[16], int row, float sign) {
    for (int column = 0; column < 4; ++column) {
        plane[column] = clip[4 * column + 3] + sign * clip[4 * column + row];
    }
}
}  // namespace

// Before the first update every plane is zero, so every point counts as inside.
void Frustum::Update(const float projection[16], const float modelview[16]) {
    float clip[16];
    MultiplyMatrices(projection, modelview, clip);
    const int rows[6] = {0, 0, 1, 1, 2, 2};                       // right, left, bottom, top, far, near
    const float signs[6] = {-1.0f, 1.0f, 1.0f, -1.0f, -1.0f, 1.0f};
    for (int plane = 0; plane < 6; ++plane) {
        SetPlane(_planes[plane], clip, rows[plane], signs[plane]);
        NormalizePlane(_planes, plane);
    }
}

bool Frustum::PointInside(float x, float y, float z) const {
    for (const float* plane : _planes) {
        if (plane[0] * x + plane[1] * y + plane[2] * z + plane[3] <= -kSlack) {
            return false;
        }
    }
    return true;
}

bool Frustum::BoxInside(const float low[3], const float high[3]) const {
    for (const float* plane : _planes) {
        float distance = plane[3];
        for (int axis = 0; axis < 3; ++axis) {
            distance += plane[axis] * (plane[axis] > 0.0f ? high[axis] : low[axis]);
        }
        if (distance <= -kSlack) {
            return false;
        }
    }
    return true;
}

// A plane without a normal (from a degenerate matrix) is left as it is.
void NormalizePlane(float planes[6][4], int index) {
    float* plane = planes[index];
    const float squares = plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2];
    const float length = static_cast<float>(std::sqrt(static_cast<double>(squares)));
    if (length == 0.0f) {
        return;
    }
    for (int i = 0; i < 4; ++i) {
        plane[i] /= length;
    }
}
