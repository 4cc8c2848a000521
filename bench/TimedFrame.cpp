#include "TimedFrame.h"

#include <chrono>
#include <cstdint>

#include <GL/glut.h>

#include "app/FrameSteps.h"
#include "app/Game.h"

const char* const kFramePartNames[kPartCount] = {"clear", "rules", "sky", "course",
                                                 "text",  "items", "swap"};

namespace {
using Clock = std::chrono::steady_clock;

// Times one part: waits for the work before it, runs it, waits for its own work.
class PartTimer {
public:
    explicit PartTimer(double* millis) : _millis(millis) {}

    template <typename Work>
    void Run(FramePart part, Work work) {
        glFinish();
        const Clock::time_point start = Clock::now();
        work();
        glFinish();
        _millis[part] += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }

private:
    double* _millis;
};
}  // namespace

void DrawTimedFrame(Game& game, bool withoutMarkers, double millis[kPartCount]) {
    Course& course = game._world._course;
    World& world = game._world;
    const GLuint lists[3] = {course._poleList, course._postList, course._ropeList};
    if (withoutMarkers) {
        course._poleList = course._postList = course._ropeList = 0;
    }
    PartTimer timer(millis);

    timer.Run(kPartClear, [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
    timer.Run(kPartRules, [&] { game.Update(); });

    // Racer 1, top half.
    timer.Run(kPartRules, [&] {
        glViewport(0, game._halfHeight, game._width, game._halfHeight);
        MoveRacer(game._camera1);
        course._frustum.Update();
    });
    timer.Run(kPartSky, [&] { DrawSky(world._skybox, game._camera1); });
    timer.Run(kPartCourse, [&] { course.Draw(); });
    timer.Run(kPartText, [&] { world.DrawHud(1); });
    timer.Run(kPartRules, [&] {
        AnimateItems();
        world.CollectPickups(game._camera1._eye.x, game._camera1._eye.z);
        StopAtWall(course, game._camera1);
        FollowGround(course, game._camera1);
    });
    timer.Run(kPartItems, [&] { DrawItems(world); });

    // Racer 2, bottom half.
    timer.Run(kPartRules, [&] {
        glViewport(0, 0, game._width, game._halfHeight);
        MoveRacer(game._camera2);
        course._frustum.Update();
    });
    timer.Run(kPartSky, [&] { DrawSky(world._skybox, game._camera2); });
    timer.Run(kPartText, [&] { world.DrawHud(2); });
    timer.Run(kPartRules, [&] {
        world.CollectPickups(game._camera2._eye.x, game._camera2._eye.z);
        StopAtWall(course, game._camera2);
        FollowGround(course, game._camera2);
    });
    timer.Run(kPartCourse, [&] { course.Draw(); });
    timer.Run(kPartItems, [&] { DrawItems(world); });

    timer.Run(kPartSwap, [&] {
        ApplyFog(world);
        glutSwapBuffers();
    });

    course._poleList = lists[0];
    course._postList = lists[1];
    course._ropeList = lists[2];
}
