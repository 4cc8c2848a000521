#include "CourseCost.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>
#include <vector>

#include "base/Matrix.h"
#include "course/CourseData.h"
#include "course/CourseGrid.h"
#include "course/CourseRules.h"
#include "course/MarkerPlacement.h"
#include "course/QuadTree.h"

namespace {
// The game's view: a racer's camera (60 degrees up-down, near 0.1, far 512) in one half of the
// 640 x 480 window, its eye 2 above the track, looking level.
constexpr float kFieldOfView = 60.0f;
constexpr float kAspect = 640.0f / 240.0f;
constexpr float kNear = 0.1f;
constexpr float kFar = 512.0f;
constexpr float kEyeHeight = kTrackHeight + 2.0f;
constexpr int kHeadings = 72;

// What the busiest view costs, fitted to measured runs (640 x 480, on the default course, the
// figure-eight and drawn 64-, 128- and 256-wide courses). The peak resident memory is the game's
// as played (VmHWM of the game, and the bench's --as-played lap, with frames in flight as in a
// race): it grows by llvmpipe's copy of the texture state for each post and rope drawn, in both
// halves and in every frame the renderer still holds (about 180 MB with 353 markers at most in
// a view, 221-270 MB with 713, 350 MB with 1430). The frame time, as a multiple of the bench's
// reference scene's, grows with the markers (1.16 with 192, 4.07 with 1430).
constexpr double kBaseMegabytes = 130.0;
constexpr double kMegabytesPerMarker = 0.15;
constexpr double kBaseFrame = 0.71;
constexpr double kFramePerMarker = 0.00235;
// The frame-rate budget: the game at this share of the reference scene's frame rate.
constexpr double kBudgetShare = 0.8;

double FrameTime(int32_t markers) {
    return kBaseFrame + kFramePerMarker * markers;
}
}  // namespace

CourseCost CostOfCourse(CourseData& course) {
    std::ostringstream quiet;  // the layout's console notes are the checker's to give
    LayOutMarkers(course, quiet);

    float projection[16];
    PerspectiveMatrix(kFieldOfView, kAspect, kNear, kFar, projection);
    CourseCost cost;
    Frustum frustum;
    std::vector<int32_t> visibleX(course._quadTree.markerCount);
    std::vector<int32_t> visibleY(course._quadTree.markerCount);
    const float cell = CellSizeForWidth(course.GetWidth());
    for (int32_t x = 0; x < course.GetWidth(); ++x) {
        for (int32_t y = 0; y < course.GetLength(); ++y) {
            if (CellOrBlocked(course, x, y) == '1' || IsWallCell(course, x, y)) {
                continue;
            }
            for (int i = 0; i < kHeadings; ++i) {
                float view[16];
                LookAlongMatrix((x + 0.5f) * cell, kEyeHeight, (y + 0.5f) * cell,
                                2.0f * 3.14159265f * i / kHeadings, view);
                frustum.Update(projection, view);
                cost.mostInView = std::max(cost.mostInView,
                                           CollectVisibleMarkers(course._quadTree, frustum,
                                                                 visibleX.data(), visibleY.data()));
            }
        }
    }
    cost.peakMegabytes =
        static_cast<int32_t>(std::lround(kBaseMegabytes + kMegabytesPerMarker * cost.mostInView));
    cost.ratePercent = static_cast<int32_t>(
        std::lround(10.0 * FrameTime(kDefaultCourseMostInView) / FrameTime(cost.mostInView)) * 10);
    return cost;
}

bool IsHeavy(const CourseCost& cost) {
    return FrameTime(cost.mostInView) * kBudgetShare > 1.0;
}

std::vector<int32_t> SmallerCourseSizes(int32_t width) {
    std::vector<int32_t> sizes;
    for (const int32_t size : {128, 64}) {
        if (size < width) {
            sizes.push_back(size);
        }
    }
    return sizes;
}

std::string CostLine(const CourseCost& cost, const std::vector<int32_t>& smallerSizes) {
    std::ostringstream line;
    line << "the most markers any one view will hold: " << cost.mostInView
         << " (the default course: " << kDefaultCourseMostInView << ")";
    if (!IsHeavy(cost)) {
        line << "; on a machine without a GPU it runs as smoothly as the default course";
        return line.str();
    }
    line << "; heavy: on a machine without a GPU the game runs at about "
         << std::min(cost.ratePercent, 90)
         << " % of its frame rate on the default course where the most markers are in view, "
            "and needs about "
         << cost.peakMegabytes << " MB of memory; ";
    if (!smallerSizes.empty()) {
        line << "a smaller --size (";
        for (size_t i = 0; i < smallerSizes.size(); ++i) {
            line << (i > 0 ? " or " : "") << smallerSizes[i];
        }
        line << ") or ";
    }
    line << "bends instead of long straights keep fewer posts in view";
    return line.str();
}
