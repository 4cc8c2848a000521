// The per-racer steps of a frame. Speeds are distances per tick (a 60th of a second, one frame
// at the frame rate's cap); only the growth of speed and of turning while a key is held is
// measured in time. A frame stands for the time it took, in ticks (base/FramePacer.h), and
// applies each per-tick amount for that long: a fraction of it below a tick, more above.
#include "app/FrameSteps.h"

#include <GL/gl.h>

#include "course/CourseData.h"
#include "course/CourseRules.h"
#include "course/Fence.h"
#include "scene/Skybox.h"
#include "scene/World.h"

namespace {
constexpr float kMaxSpeed = kTopSpeed;  // world units per tick
constexpr float kCoastAcceleration = 0.0007f;
constexpr int32_t kLastItemFrame = 40;

bool IsDown(const unsigned char keys[256], unsigned char key) {
    return keys[key] != 0;
}

void UpdateSpeed(Camera& camera, bool accelerate, bool hold, bool& accelRestart, float now,
                 float ticks) {
    if (accelerate) {
        if (accelRestart) {
            accelRestart = false;
            camera._accelStart = now;
        }
        camera._accelNow = now;
        camera._accelHeld = (camera._accelNow - camera._accelStart) / 1000.0f;
        camera._speed = static_cast<float>(camera._speed + camera._acceleration * 0.5 *
                                                               camera._accelHeld * ticks);
        if (camera._speed > kMaxSpeed) {
            camera._speed = kMaxSpeed;
        }
    } else if (hold) {
        // The speed stays, and a new press continues the old one's timing.
    } else {
        accelRestart = true;
        camera._acceleration = kCoastAcceleration;
        if (camera._speed > 0.0f) {
            // Slows by the last press's held time; a speed taken below 0 lasts one frame.
            camera._speed = static_cast<float>(camera._speed - camera._acceleration * 0.5 *
                                                                   camera._accelHeld * ticks);
        } else {
            camera._speed = 0.0f;
        }
    }
}

// One turn key. Both keys share the turn timing; pressing one restarts the other's.
void UpdateTurn(Camera& camera, bool down, float sign, bool& restart, bool& otherRestart,
                float now, float ticks) {
    if (!down) {
        restart = true;
        return;
    }
    if (restart) {
        restart = false;
        otherRestart = true;
        camera._turnStart = now;
    }
    camera._turnNow = now;
    camera._turnHeld = (camera._turnNow - camera._turnStart) / 1000.0f;
    camera._heading = static_cast<float>(
        camera._heading + sign * (camera._turnRate * 0.5 * camera._turnHeld) * ticks);
}
}  // namespace

void UpdateRacer(Racer& racer, const unsigned char keys[256], float nowMillis, float frameTicks) {
    Camera& camera = racer.camera;
    const RacerKeys& racerKeys = *racer.keys;
    RacerRestart& restart = racer.restart;
    UpdateSpeed(camera, IsDown(keys, racerKeys.accelerate), IsDown(keys, racerKeys.hold),
                restart.accelRestart, nowMillis, frameTicks);
    UpdateTurn(camera, IsDown(keys, racerKeys.left), -1.0f, restart.leftRestart,
               restart.rightRestart, nowMillis, frameTicks);
    UpdateTurn(camera, IsDown(keys, racerKeys.right), 1.0f, restart.rightRestart,
               restart.leftRestart, nowMillis, frameTicks);
}

void MoveRacer(Camera& camera, float frameTicks) {
    camera._moveFrom = camera._eye;
    camera.Turn(camera._heading);
    camera.Move(camera._speed * frameTicks, frameTicks);
}

void DrawSky(const Skybox& skybox, const Camera& camera) {
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glTranslatef(camera._eye.x, camera._eye.y, camera._eye.z);
    glCallList(skybox._displayList);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void AnimateItems(float frameTicks, float& carried) {
    carried += frameTicks;
    for (; carried >= 1.0f; carried -= 1.0f) {
        ++g_itemFrame;
        if (g_itemFrame > kLastItemFrame) {
            g_itemFrame = 0;
        }
    }
}

void StopAtWall(const CourseData& course, Camera& camera, float frameTicks) {
    const Vec3 from = camera._moveFrom;
    const Vec3 to = camera._eye;
    if (from.x == to.x && from.z == to.z) {
        return;  // a racer that did not move stays where it is
    }
    if (!MoveCrossesFence(course, from.x, from.z, to.x, to.z) &&
        !IsBlockedGround(course, to.x, to.z)) {
        return;
    }
    camera._acceleration = 0.0f;
    camera._speed = 0.0f;
    camera.Move(-1.0f, frameTicks);
    // Set back across a rope or onto blocked ground (a racer that backed into the fence, or a
    // tight corner behind it): it stays where it was before the move instead.
    if (MoveCrossesFence(course, from.x, from.z, camera._eye.x, camera._eye.z) ||
        IsBlockedGround(course, camera._eye.x, camera._eye.z)) {
        camera._eye.x = from.x;
        camera._eye.z = from.z;
    }
}

void FollowGround(const CourseData& course, Camera& camera, float frameTicks) {
    const int32_t ground = GroundHeight(course, static_cast<int32_t>(camera._eye.x),
                                        static_cast<int32_t>(camera._eye.z));
    camera._baseHeight = static_cast<float>(ground + 2);
    camera.Move(0.0f, frameTicks);  // sets the eye's height; also advances the shared bobbing
}

void DrawItems(World& world) {
    for (int i = 0; i < kItemCount; ++i) {
        const int32_t x = world._billboardX[i];
        const int32_t z = world._billboardZ[i];
        const int32_t y = GroundHeight(world._course, x, z) + 2;
        world.DrawBillboard(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z),
                            g_itemFrame);
    }
}

void ApplyFog(const World& world) {
    glFogi(GL_FOG_MODE, world._fogMode);
    glFogfv(GL_FOG_COLOR, world._fogColor);
    glFogf(GL_FOG_DENSITY, 0.15f);
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_START, 1.0f);
    glFogf(GL_FOG_END, 300.0f);
}
