#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include <GL/gl.h>

#include "GLContext.h"
#include "app/Camera.h"
#include "base/FramePacer.h"
#include "base/Matrix.h"

namespace {
using Matrix = std::array<float, 16>;

Matrix Current(GLenum which) {
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}

// The perspective matrix worked out by hand from the field of view and clip distances.
Matrix ExpectedPerspective(double fovDegrees, double aspect, double nearClip, double farClip) {
    const double f = 1.0 / std::tan(fovDegrees * M_PI / 360.0);
    Matrix m{};
    m[0] = static_cast<float>(f / aspect);
    m[5] = static_cast<float>(f);
    m[10] = static_cast<float>((farClip + nearClip) / (nearClip - farClip));
    m[11] = -1.0f;
    m[14] = static_cast<float>(2.0 * farClip * nearClip / (nearClip - farClip));
    return m;
}

Vec3 Transform(const Matrix& m, const Vec3& p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

void ExpectNear(const Vec3& expected, const Vec3& actual, float tolerance = 1e-3f) {
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}
} // namespace

TEST(CameraMatrix, ApplyLoadsThePerspectiveAndLeavesAnIdentityModelview) {
    EnsureGLContext();
    Camera camera;
    camera.SetAspect(800.0f / 300.0f);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(5.0f, 6.0f, 7.0f);
    camera.Apply();
    EXPECT_EQ(GL_MODELVIEW, GetInteger(GL_MATRIX_MODE));
    const Matrix projection = Current(GL_PROJECTION_MATRIX);
    const Matrix expected = ExpectedPerspective(60.0, 800.0 / 300.0, 0.1, 512.0);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(expected[i], projection[i], 1e-4f * (1.0f + std::fabs(expected[i]))) << i;
    }
    const Matrix modelview = Current(GL_MODELVIEW_MATRIX);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(i % 5 == 0 ? 1.0f : 0.0f, modelview[i]) << i;
    }
    // The checker's cost figure and the CPU bench build the same projection without GL.
    Matrix built{};
    PerspectiveMatrix(60.0f, 800.0f / 300.0f, 0.1f, 512.0f, built.data());
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(projection[i], built[i], 1e-4f * (1.0f + std::fabs(projection[i]))) << i;
    }
}

TEST(CameraMatrix, TurnLooksFromTheEyeAlongTheHeading) {
    EnsureGLContext();
    Camera camera;
    camera._eye = {100.0f, 20.0f, 50.0f};
    camera.Apply();
    camera.Turn(static_cast<float>(M_PI / 2)); // toward +x
    const Matrix view = Current(GL_MODELVIEW_MATRIX);
    ExpectNear({0, 0, 0}, Transform(view, camera._eye));
    ExpectNear({0, 0, -10}, Transform(view, {110.0f, 20.0f, 50.0f})); // straight ahead
    ExpectNear({0, 3, 0}, Transform(view, {100.0f, 23.0f, 50.0f}));   // up stays up
    // The same view built without GL, as the checker's cost figure and the CPU bench build it.
    for (float heading : {0.0f, 1.0f, static_cast<float>(M_PI / 2), 4.0f}) {
        camera.Turn(heading);
        const Matrix loaded = Current(GL_MODELVIEW_MATRIX);
        Matrix built{};
        LookAlongMatrix(camera._eye.x, camera._eye.y, camera._eye.z, heading, built.data());
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(loaded[i], built[i], 1e-4f * (1.0f + std::fabs(loaded[i]))) << heading;
        }
    }
}

TEST(CameraMatrix, MoveLoadsTheViewFromTheNewEye) {
    EnsureGLContext();
    Camera camera;
    camera._baseHeight = 50.0f;
    camera.Apply();
    camera.Turn(0.0f);
    camera.Move(4.0f, kOneTick);
    ExpectNear({128.0f, camera._eye.y, 124.0f}, camera._eye);
    const Matrix view = Current(GL_MODELVIEW_MATRIX);
    ExpectNear({0, 0, 0}, Transform(view, camera._eye));
    ExpectNear({0, 0, -1}, Transform(view, {128.0f, camera._eye.y, 123.0f}));
}

TEST(CameraMatrix, ProjectionValuesTakeEffectAtTheNextApply) {
    EnsureGLContext();
    Camera camera;
    camera.SetPerspective(90.0f, 1.0f, 100.0f);
    camera.SetAspect(2.0f);
    camera.Apply();
    const Matrix projection = Current(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(0.5f, projection[0], 1e-5f); // 1 / tan(45 degrees) / 2
    EXPECT_NEAR(1.0f, projection[5], 1e-5f);
    EXPECT_NEAR(-101.0f / 99.0f, projection[10], 1e-5f);
}
