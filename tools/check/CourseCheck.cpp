#include "CourseCheck.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <utility>

#include "base/FramePacer.h"
#include "course/CourseData.h"
#include "course/CourseGrid.h"
#include "course/CourseRules.h"
#include "course/Fence.h"
#include "course/MarkerPlacement.h"
#include "course/Route.h"

namespace {
constexpr size_t kListedCells = 20;   // cells named one by one for each kind of warning

bool OnEdge(const CourseData& course, int32_t x, int32_t y) {
    return x == 0 || y == 0 || x == course.GetWidth() - 1 || y == course.GetLength() - 1;
}

// How many cells with `code` pass the test, and the first of them in file order.
template <typename Test>
int32_t FindCells(const CourseData& course, char code, Test test, int32_t& firstX, int32_t& firstY) {
    int32_t found = 0;
    for (int32_t x = 0; x < course.GetWidth(); ++x) {
        for (int32_t y = 0; y < course.GetLength(); ++y) {
            if (course.GetCell(x, y) == code && test(x, y)) {
                if (found == 0) {
                    firstX = x;
                    firstY = y;
                }
                ++found;
            }
        }
    }
    return found;
}

// Where a cell stands in the file: "line L, column C", counted from 1 as an editor does.
std::string Where(const std::vector<CellPlace>& places, const CourseData& course, int32_t x,
                  int32_t y) {
    const size_t index = static_cast<size_t>(x) * course.GetLength() + y;
    if (index >= places.size()) {
        return "cell " + std::to_string(x) + "," + std::to_string(y);
    }
    return "line " + std::to_string(places[index].line) + ", column " +
           std::to_string(places[index].column);
}

std::string StartCellProblem(int32_t count) {
    std::ostringstream line;
    if (count < 2) {
        line << count << (count == 1 ? " start cell" : " start cells")
             << " ('2'); the game needs 2 to 10 to place both racers and the race poles";
    } else if (count > kStartTableSize) {
        line << count << " start cells ('2'); the game has room for no more than "
             << kStartTableSize;
    }
    return line.str();
}

std::string MarkerCellProblem(const CourseData& course, const std::vector<CellPlace>& places) {
    int32_t x = 0;
    int32_t y = 0;
    const int32_t count = FindCells(course, ';', [](int32_t, int32_t) { return true; }, x, y);
    if (count == 0) {
        return "";
    }
    std::ostringstream line;
    line << count << " marker " << (count == 1 ? "cell" : "cells") << " (';') in the file, first at "
         << Where(places, course, x, y) << "; the game makes its markers from '0' cells itself";
    return line.str();
}

std::string EdgeProblem(const CourseData& course, const std::vector<CellPlace>& places) {
    int32_t x = 0;
    int32_t y = 0;
    const auto onEdge = [&course](int32_t cx, int32_t cy) { return OnEdge(course, cx, cy); };
    const int32_t count = FindCells(course, '0', onEdge, x, y);
    if (count == 0) {
        return "";
    }
    std::ostringstream line;
    line << count << " free " << (count == 1 ? "cell" : "cells") << " ('0') on the grid's edge, first at "
         << Where(places, course, x, y) << "; keep '0' cells off the edge";
    return line.str();
}

// A racer that starts on a wall cell is stopped and pushed back from its first frame on.
std::string StartOnWallProblem(const CourseData& course, const std::vector<CellPlace>& places) {
    int32_t xs[kStartTableSize];
    int32_t ys[kStartTableSize];
    const int32_t count = CollectStartCells(course, xs, ys, kStartTableSize);
    if (count < 2 || count > kStartTableSize) {
        return "";  // StartCellProblem says what is wrong
    }
    std::ostringstream line;
    for (int32_t racer = 1; racer <= 2; ++racer) {
        const int32_t entry = count / 2 - (racer - 1);
        if (IsWallCell(course, xs[entry], ys[entry])) {
            line << (line.tellp() > 0 ? "; " : "") << "racer " << racer
                 << " starts on a wall: the start cell at " << Where(places, course, xs[entry], ys[entry])
                 << " has blocked ground right after it, beyond its fence line";
        }
    }
    return line.str();
}

std::string WidthProblem(const CourseData& course) {
    const int32_t width = course.GetWidth();
    if (width <= kTerrainSize && kTerrainSize % width == 0) {
        return "";
    }
    std::ostringstream line;
    line << "width " << width << " does not divide 256: the markers stand every "
         << kTerrainSize / width << " units, but the cells that stop racers are 256 / " << width
         << " units wide";
    return line.str();
}

std::string LengthProblem(const CourseData& course) {
    if (course.GetLength() <= course.GetWidth()) {
        return "";
    }
    std::ostringstream line;
    line << "length " << course.GetLength() << " is greater than width " << course.GetWidth()
         << ": racers can drive off the grid";
    return line.str();
}

// True when a racer inside the fence reaches the blocked side neighbour (dx, dy) of cell
// (x, y) with no rope before it: from a little inside the cell, at the middle of their shared
// edge, a move a little into the blocked cell crosses no rope and ends on blocked ground
// outside the fence (a blocked corner that a diagonal rope leaves inside is drivable).
bool ReachesBlockedSide(const CourseData& course, const Fence& fence, int32_t x,
                        int32_t y, int32_t dx, int32_t dy) {
    const float size = CellSizeForWidth(course.GetWidth());
    const float edgeX = (static_cast<float>(x) + 0.5f + 0.5f * static_cast<float>(dx)) * size;
    const float edgeZ = (static_cast<float>(y) + 0.5f + 0.5f * static_cast<float>(dy)) * size;
    const float fromX = edgeX - static_cast<float>(dx) * 0.25f * size;
    const float fromZ = edgeZ - static_cast<float>(dy) * 0.25f * size;
    const float toX = edgeX + static_cast<float>(dx) * 0.25f * size;
    const float toZ = edgeZ + static_cast<float>(dy) * 0.25f * size;
    const GridCell blocked = WorldToCell(course, toX, toZ);
    return IsInsideFence(course, fence, fromX, fromZ) &&
           !MoveCrossesFence(fence, fromX, fromZ, toX, toZ) &&
           CellOrBlocked(course, blocked.x, blocked.y) == '1' &&
           !IsInsideFence(course, fence, toX, toZ);
}

// Cells a racer drives on that get neither a post nor the start, beside blocked ground or the
// grid's edge where no rope stands before it: a racer stops there against nothing it can see.
// Looked at before the marker rule, over the fence the game will build.
std::vector<std::pair<int32_t, int32_t>> InvisibleWalls(const CourseData& course,
                                                        const Fence& fence) {
    std::vector<std::pair<int32_t, int32_t>> cells;
    for (int32_t x = 0; x < course.GetWidth(); ++x) {
        for (int32_t y = 0; y < course.GetLength(); ++y) {
            const char code = course.GetCell(x, y);
            if (code == '1' || code == '0' || code == '2' || code == ';') {
                continue;  // blocked, or a post's or start cell, on the fence line
            }
            for (const auto& [dx, dy] : {std::pair{1, 0}, {0, 1}, {-1, 0}, {0, -1}}) {
                if (CellOrBlocked(course, x + dx, y + dy) == '1' &&
                    ReachesBlockedSide(course, fence, x, y, dx, dy)) {
                    cells.emplace_back(x, y);
                    break;
                }
            }
        }
    }
    return cells;
}

// The lowest and highest ground the game finds under each cell, from the samples its
// per-frame lookup maps to that cell.
struct GroundRange {
    int32_t low = 1 << 30;
    int32_t high = -1;
};

std::vector<GroundRange> GroundUnderCells(const CourseData& course, const unsigned char* heights) {
    const int32_t width = course.GetWidth();
    const int32_t length = course.GetLength();
    std::vector<GroundRange> ground(static_cast<size_t>(width) * length);
    for (int32_t z = 0; z < kTerrainSize; ++z) {
        for (int32_t x = 0; x < kTerrainSize; ++x) {
            const GridCell cell = WorldToCell(course, static_cast<float>(x), static_cast<float>(z));
            if (!course.Contains(cell.x, cell.y)) {
                continue;
            }
            const int32_t height = CourseData::GroundHeight(heights, kHeightDivisor, x, z);
            GroundRange& range = ground[static_cast<size_t>(cell.x) * length + cell.y];
            range.low = std::min(range.low, height);
            range.high = std::max(range.high, height);
        }
    }
    return ground;
}

void ListCells(std::vector<std::string>& warnings, const std::vector<std::string>& cells,
               const std::string& summary) {
    if (cells.empty()) {
        return;
    }
    for (size_t i = 0; i < cells.size() && i < kListedCells; ++i) {
        warnings.push_back(cells[i]);
    }
    std::ostringstream line;
    line << cells.size() << " " << summary;
    if (cells.size() > kListedCells) {
        line << " (the first " << kListedCells << " are listed)";
    }
    warnings.push_back(line.str());
}

void WarnAboutWalls(const CourseData& course, const Fence& fence,
                    const std::vector<CellPlace>& places, std::vector<std::string>& warnings) {
    std::vector<std::string> cells;
    for (const auto& [x, y] : InvisibleWalls(course, fence)) {
        cells.push_back(Where(places, course, x, y) + ": invisible wall: '" +
                        course.GetCell(x, y) +
                        "' borders blocked ground but gets no post or rope (make it '0')");
    }
    ListCells(warnings, cells, "drivable cells border blocked ground with no post or rope");
}

// A racer that starts on a rope's line (its start cell has blocked ground right before it, as
// the first of two or three start cells across the track does): no rope stops a move along its
// own line, so the racer drives along the rope as far as the next post. One on a wall is a
// problem already.
void WarnAboutStartsOnTheFence(const CourseData& course, const Fence& fence,
                               const std::vector<CellPlace>& places,
                               std::vector<std::string>& warnings) {
    int32_t xs[kStartTableSize];
    int32_t ys[kStartTableSize];
    const int32_t count = CollectStartCells(course, xs, ys, kStartTableSize);
    if (count < 2 || count > kStartTableSize) {
        return;
    }
    const float size = CellSizeForWidth(course.GetWidth());
    for (int32_t racer = 1; racer <= 2; ++racer) {
        const int32_t entry = count / 2 - (racer - 1);
        const int32_t x = xs[entry];
        const int32_t y = ys[entry];
        if (!IsWallCell(course, x, y) &&
            IsOnFenceLine(fence, static_cast<float>(x) * size, static_cast<float>(y) * size)) {
            warnings.push_back(Where(places, course, x, y) + ": racer " + std::to_string(racer) +
                               " starts on the fence line: its start cell has blocked ground "
                               "right before it, so it stands on a rope and can drive along it "
                               "as far as the next post (with 4 or more start cells across the "
                               "track both racers start inside the fence)");
        }
    }
}

void WarnAboutGround(const CourseData& course, const unsigned char* heights,
                     const std::vector<CellPlace>& places, std::vector<std::string>& warnings) {
    const std::vector<GroundRange> ground = GroundUnderCells(course, heights);
    std::vector<std::string> cells;
    for (int32_t x = 0; x < course.GetWidth(); ++x) {
        for (int32_t y = 0; y < course.GetLength(); ++y) {
            const GroundRange& range = ground[static_cast<size_t>(x) * course.GetLength() + y];
            if (course.GetCell(x, y) == '1' || range.high < 0 ||
                (range.low == kTrackHeight && range.high == kTrackHeight)) {
                continue;
            }
            std::ostringstream line;
            line << Where(places, course, x, y) << ": ground at height " << range.low;
            if (range.high != range.low) {
                line << " to " << range.high;
            }
            line << " under a drivable cell, not " << kTrackHeight;
            cells.push_back(line.str());
        }
    }
    ListCells(warnings, cells,
              "drivable cells are not on ground at height 15 (the markers float or sink there)");
}

// The race line for one thing in a race's way, naming its cells.
std::string RaceIssueLine(const CourseData& course, const std::vector<CellPlace>& places,
                          const RouteIssue& issue) {
    const std::string cell = Where(places, course, issue.cell.x, issue.cell.y);
    const std::string other = Where(places, course, issue.other.x, issue.other.y);
    std::ostringstream line;
    switch (issue.problem) {
    case RouteProblem::StartRowShort:
        line << "race: the start row at " << cell << " does not reach across the track: it "
             << "goes on at " << other << "; lay start cells from fence to fence";
        break;
    case RouteProblem::NoLoop:
        line << "race: no loop: nothing comes round from the start row (" << cell << " to "
             << other << ") back to it";
        break;
    case RouteProblem::Fork:
        line << "race: a fork at " << cell << ": racers could leave the route there";
        break;
    case RouteProblem::ShallowCrossing:
        line << "race: the track crosses itself at " << cell << " at "
             << static_cast<int32_t>(std::lround(issue.angle)) << " degrees, too flat to go "
             << "straight through (cross at " << static_cast<int32_t>(kShallowestCrossing)
             << " degrees or more)";
        break;
    }
    return line.str();
}
}  // namespace

std::vector<CellPlace> LocateCells(const std::string& text, int32_t width, int32_t length) {
    std::istringstream in(text);
    uint16_t readWidth = 0;
    uint16_t readLength = 0;
    std::vector<CellPlace> places;
    if (!ReadCourseDimensions(in, readWidth, readLength)) {
        return places;
    }
    const auto start = static_cast<size_t>(in.tellg());
    CellPlace here{1, 1};
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i >= start && !std::isspace(static_cast<unsigned char>(c))) {
            places.push_back(here);
            if (places.size() == static_cast<size_t>(width) * length) {
                break;
            }
        }
        here = c == '\n' ? CellPlace{here.line + 1, 1} : CellPlace{here.line, here.column + 1};
    }
    return places;
}

std::vector<std::string> RaceLines(const CourseData& course, const std::string& text) {
    const std::vector<CellPlace> places = LocateCells(text, course.GetWidth(), course.GetLength());
    const Route route = FindRoute(course);
    std::vector<std::string> lines;
    std::ostringstream summary;
    summary.setf(std::ios::fixed);
    summary.precision(1);
    if (route.points.empty()) {
        summary << "race: no route, so the course can be driven but not raced";
    } else {
        summary << "race: the route is " << static_cast<int32_t>(std::lround(route.length))
                << " units round (" << route.length / kTopSpeed / kTicksPerSecond
                << " s at top speed), with " << route.gates.size() << " gates";
    }
    lines.push_back(summary.str());
    for (size_t i = 0; i < route.issues.size() && i < kListedCells; ++i) {
        lines.push_back(RaceIssueLine(course, places, route.issues[i]));
    }
    if (route.issues.size() > kListedCells) {
        lines.push_back("race: " + std::to_string(route.issues.size()) +
                        " things in a race's way (the first " + std::to_string(kListedCells) +
                        " are listed)");
    }
    return lines;
}

CourseReport CheckCourse(CourseData& course, const std::string& text, const unsigned char* heights) {
    CourseReport report;
    report.startCells = CollectStartCells(course, nullptr, nullptr, 0);
    report.cellSize = kTerrainSize / course.GetWidth();
    const std::vector<CellPlace> places =
        LocateCells(text, course.GetWidth(), course.GetLength());
    for (const std::string& problem :
         {StartCellProblem(report.startCells), StartOnWallProblem(course, places),
          MarkerCellProblem(course, places), EdgeProblem(course, places), WidthProblem(course),
          LengthProblem(course)}) {
        if (!problem.empty()) {
            report.problems.push_back(problem);
        }
    }
    const Fence fence = BuildFence(course);
    WarnAboutStartsOnTheFence(course, fence, places, report.warnings);
    WarnAboutWalls(course, fence, places, report.warnings);
    if (heights) {
        WarnAboutGround(course, heights, places, report.warnings);
    }
    report.markers = MarkBorderCells(course);
    return report;
}
