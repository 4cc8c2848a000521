#include "base/Matrix.h"

#include <algorithm>
#include <cmath>

void MultiplyMatrices(const float a[16], const float b[16], float product[16]) {
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a[4 * k + row] * b[4 * column + k];
            }
            product[4 * column + row] = sum;
        }
    }
}

void PerspectiveMatrix(float fovDegrees, float aspect, float nearClip, float farClip, float m[16]) {
    const float f = 1.0f / std::tan(fovDegrees * 3.14159265f / 360.0f);
    std::fill(m, m + 16, 0.0f);
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (farClip + nearClip) / (nearClip - farClip);
    m[11] = -1.0f;
    m[14] = 2.0f * farClip * nearClip / (nearClip - farClip);
}

void LookAlongMatrix(float x, float y, float z, float heading, float m[16]) {
    // Rows: side (cos h, 0, sin h), up, back; then the eye moved to the origin.
    const float s = std::sin(heading);
    const float c = std::cos(heading);
    const float view[16] = {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
    std::copy(view, view + 16, m);
    m[12] = -(c * x + s * z);
    m[13] = -y;
    m[14] = s * x - c * z;
}
