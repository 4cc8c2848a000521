// 4 x 4 matrices as OpenGL keeps them: 16 floats, one column after another.
#pragma once

// product = a x b, the matrix that applies b and then a to a column vector (projection x
// modelview gives the clip matrix).
void MultiplyMatrices(const float a[16], const float b[16], float product[16]);
