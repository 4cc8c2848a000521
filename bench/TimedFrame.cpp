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

FramePart PartOf(FrameStep step) {
    switch (step) {
    case FrameStep::Clear: return kPartClear;
    case FrameStep::DrawSky: return kPartSky;
    case FrameStep::DrawTerrainAndMarkers: return kPartCourse;
    case FrameStep::DrawHud: return kPartText;
    case FrameStep::DrawItems: return kPartItems;
    case FrameStep::ApplyFog:
    case FrameStep::SwapBuffers: return kPartSwap;
    default: return kPartRules;
    }
}

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
    Course& course = game.GetWorld().GetCourse();
    const MarkerLists drawn = withoutMarkers ? course.LeaveOutMarkers() : MarkerLists{};
    PartTimer timer(millis);
    for (const FrameRow& row : kFrame) {
        timer.Run(PartOf(row.step), [&] { game.RunStep(row); });
    }
    if (withoutMarkers) {
        course.PutBackMarkers(drawn);
    }
}
