#include <gtest/gtest.h>

#include <cmath>

#include "app/Camera.h"
#include "base/FramePacer.h"

// Turn and Move also load the view; without a context those GL calls do nothing, and the
// matrices themselves are checked by the GL tests.

TEST(Camera, ConstructionValues) {
    Camera camera;
    EXPECT_FLOAT_EQ(128.0f, camera._eye.x);
    EXPECT_FLOAT_EQ(0.0f, camera._eye.y);
    EXPECT_FLOAT_EQ(128.0f, camera._eye.z);
    EXPECT_FLOAT_EQ(0.0f, camera._direction.x);
    EXPECT_FLOAT_EQ(0.0f, camera._direction.y);
    EXPECT_FLOAT_EQ(0.0f, camera._direction.z);
    EXPECT_FLOAT_EQ(1.0f, camera._up.y);
    EXPECT_FLOAT_EQ(60.0f, camera.fov);
    EXPECT_FLOAT_EQ(0.1f, camera.nearClip);
    EXPECT_FLOAT_EQ(512.0f, camera.farClip);
}

TEST(Camera, TurnPointsAlongTheHeadingAndKeepsTheVerticalPart) {
    Camera camera;
    camera._direction.y = 0.25f;
    camera.Turn(0.0f);
    EXPECT_FLOAT_EQ(0.0f, camera._direction.x);
    EXPECT_FLOAT_EQ(-1.0f, camera._direction.z);
    EXPECT_FLOAT_EQ(0.25f, camera._direction.y);
    camera.Turn(static_cast<float>(M_PI / 2));
    EXPECT_FLOAT_EQ(1.0f, camera._direction.x);
    EXPECT_NEAR(0.0f, camera._direction.z, 1e-6);
    camera.Turn(static_cast<float>(M_PI));
    EXPECT_NEAR(0.0f, camera._direction.x, 1e-6);
    EXPECT_FLOAT_EQ(1.0f, camera._direction.z);
}

TEST(Camera, FirstMoveBobsAboveTheBaseHeightAndAdvancesTheSharedPhase) {
    Camera::_bobPhase = 0.0f;
    Camera camera;
    camera._baseHeight = 50.0f;
    camera.Turn(0.0f);
    camera.Move(0.0f, kOneTick);
    EXPECT_NEAR(50.1788, camera._eye.y, 1e-4);
    EXPECT_FLOAT_EQ(128.0f, camera._eye.x);
    EXPECT_FLOAT_EQ(128.0f, camera._eye.z);
    EXPECT_FLOAT_EQ(0.01f, Camera::_bobPhase);
    Camera other;
    other._baseHeight = 50.0f;
    other.Move(0.0f, kOneTick); // the phase is shared: the second camera starts where the first left it
    EXPECT_FLOAT_EQ(static_cast<float>(std::sin(0.01f + 90.0) * 0.2 + 50.0), other._eye.y);
    EXPECT_FLOAT_EQ(0.02f, Camera::_bobPhase);
}

TEST(Camera, MoveGoesAlongTheLookDirectionOnTheGround) {
    Camera camera;
    camera._pitch = 0.5f;
    camera.Turn(0.0f);
    camera.Move(-1.0f, kOneTick); // backwards from looking toward -z
    EXPECT_FLOAT_EQ(129.0f, camera._eye.z);
    EXPECT_FLOAT_EQ(128.0f, camera._eye.x);
    EXPECT_FLOAT_EQ(0.5f, camera._direction.y); // the pitch is taken after the move
    camera.Turn(static_cast<float>(M_PI / 2));
    camera.Move(2.0f, kOneTick);
    EXPECT_FLOAT_EQ(130.0f, camera._eye.x);
    EXPECT_NEAR(129.0f, camera._eye.z, 1e-5);
}

TEST(Camera, BobbingStaysWithinTwoTenthsOfTheBase) {
    Camera camera;
    camera._baseHeight = 10.0f;
    for (int i = 0; i < 1000; ++i) {
        camera.Move(0.0f, kOneTick);
        ASSERT_LE(std::fabs(camera._eye.y - 10.0f), 0.2f + 1e-5f) << i;
    }
}

TEST(Camera, SettersStoreValidValues) {
    Camera camera;
    camera.SetPerspective(45.0f, 1.0f, 100.0f);
    camera.SetAspect(2.5f);
    EXPECT_FLOAT_EQ(45.0f, camera.fov);
    EXPECT_FLOAT_EQ(1.0f, camera.nearClip);
    EXPECT_FLOAT_EQ(100.0f, camera.farClip);
    EXPECT_FLOAT_EQ(2.5f, camera.aspect);
}

TEST(CameraDeathTest, BadProjectionValuesStopWithTheExpressionAndSource) {
    Camera camera;
    EXPECT_DEATH(camera.SetPerspective(0.0f, 0.1f, 512.0f), "fov > 0, file camera");
    EXPECT_DEATH(camera.SetPerspective(60.0f, -1.0f, 512.0f), "nearClip > 0, file camera");
    EXPECT_DEATH(camera.SetPerspective(60.0f, 0.1f, 0.0f), "farClip > 0, file camera");
    EXPECT_DEATH(camera.SetAspect(0.0f), "aspect > 0, file camera");
    EXPECT_DEATH(camera.SetAspect(std::nanf("")), "aspect > 0, file camera");
}
