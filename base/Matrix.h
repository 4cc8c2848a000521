// 4 x 4 matrices as OpenGL keeps them: 16 floats, one column after another.
#pragma once

// product = a x b, the matrix that applies b and then a to a column vector (projection x
// modelview gives the clip matrix).
void MultiplyMatrices(const float a[16], const float b[16], float product[16]);

// The projection gluPerspective makes: a vertical field of view in degrees, width / height,
// and the near and far clipping distances.
void PerspectiveMatrix(float fovDegrees, float aspect, float nearClip, float farClip, float m[16]);

// The view gluLookAt makes for an eye at (x, y, z) looking level along (sin h, 0, -cos h),
// heading h in radians (0 toward -z), with up (0, 1, 0).
void LookAlongMatrix(float x, float y, float z, float heading, float m[16]);
