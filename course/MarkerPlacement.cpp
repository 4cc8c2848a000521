#include "course/MarkerPlacement.h"

#include <algorithm>
#include <iostream>

#include "course/CourseData.h"
#include "course/CourseRules.h"
#include "course/Fence.h"

namespace {
// One row of the rope direction table: the neighbour looked at and the values it sets.
struct NeighbourRow {
    int32_t dx;
    int32_t dy;
    int32_t angle;
    float along;
    float across;
    float length;
};

// The eight neighbours, counter-clockwise from +x (angle 45 k for row k), with the values each
// sets on 4-unit cells: the rope points at that neighbour's post and reaches from behind its
// own post to past the neighbour's (0.5 units past both, but for the two diagonal rows that
// always did reach both posts, which keep their values).
constexpr float kDiagonalAlong = 1.41421356f;    // half of the 4 * sqrt(2) between the posts
constexpr float kDiagonalLength = 6.65685425f;   // 4 * sqrt(2) + 1
const NeighbourRow kNeighbourRows[8] = {
    {1, 0, 0, 1.0f, 0.0f, 5.0f},     {1, -1, 45, 1.2f, 0.0f, 7.0f},
    {0, -1, 90, 1.0f, 0.0f, 5.0f},   {-1, -1, 135, 1.0f, 0.0f, 7.0f},
    {-1, 0, 180, 1.0f, 0.0f, 5.0f},  {-1, 1, 225, kDiagonalAlong, 0.0f, kDiagonalLength},
    {0, 1, 270, 1.0f, 0.0f, 5.0f},   {1, 1, 315, kDiagonalAlong, 0.0f, kDiagonalLength},
};
constexpr float kTableCellSize = 4.0f;  // the cell size the table's offsets and lengths are for

// A marker, or a '0' cell the marker build will make one: the answer is the same before and
// after the build.
bool IsPost(const CourseData& course, int32_t x, int32_t y) {
    const char code = CellOrBlocked(course, x, y);
    return code == ';' || (code == '0' && HasBlockedSide(course, x, y));
}

// A start cell on the fence line: the race pole stands where a post would.
bool IsFencedStart(const CourseData& course, int32_t x, int32_t y) {
    return CellOrBlocked(course, x, y) == '2' && HasBlockedSide(course, x, y);
}

bool BlockedToward(const CourseData& course, int32_t x, int32_t y, int32_t k) {
    const NeighbourRow& row = kNeighbourRows[k & 7];
    return CellOrBlocked(course, x + row.dx, y + row.dy) == '1';
}

// How many cells along row k the post it joins lies: 1 for a post next to it, more past start
// cells on the fence line (sides only); 0 when there is none that way.
int32_t PostCellsAway(const CourseData& course, int32_t x, int32_t y, int32_t k) {
    const NeighbourRow& row = kNeighbourRows[k];
    if (IsPost(course, x + row.dx, y + row.dy)) {
        return 1;
    }
    if (row.angle % 90 != 0) {
        return 0;
    }
    int32_t cells = 1;
    while (IsFencedStart(course, x + cells * row.dx, y + cells * row.dy)) {
        ++cells;
    }
    return cells > 1 && IsPost(course, x + cells * row.dx, y + cells * row.dy) ? cells : 0;
}

// The neighbour the rope joins: the next post along the fence, always the same way round (with
// the blocked ground on the rope's left as seen from above, -z up and +x right): from where the
// blocked ground around the marker ends, clockwise through its neighbours. So every post's rope
// goes to a different post and the ropes join up round every corner. A marker with no blocked
// neighbour (a ';' of the course file) takes the first post in table order.
const NeighbourRow* ChooseNeighbour(const CourseData& course, int32_t x, int32_t y, int32_t& cells) {
    int32_t first = 0;
    while (first < 8 && !(BlockedToward(course, x, y, first) &&
                          !BlockedToward(course, x, y, first + 7))) {
        ++first;
    }
    for (int32_t step = 1; step <= 8; ++step) {
        const int32_t k = first < 8 ? (first + 8 - step) & 7 : step - 1;
        cells = PostCellsAway(course, x, y, k);
        if (cells > 0) {
            return &kNeighbourRows[k];
        }
    }
    return nullptr;
}

bool HasGrid(const CourseData& course) {
    return course._courseMap != nullptr && course._courseWidth > 0 && course._courseLength > 0;
}

WorldSpot SpotOf(const int32_t* xs, const int32_t* ys, int32_t entry, float cellSize) {
    return WorldSpot{static_cast<float>(xs[entry]) * cellSize,
                     static_cast<float>(ys[entry]) * cellSize};
}

// Room for every marker cell the grid holds, also those the course file brought along.
void AllocateVisibleLists(CourseData& course, int32_t markers) {
    delete[] course._visibleX;
    delete[] course._visibleY;
    course._visibleX = new int32_t[markers];
    course._visibleY = new int32_t[markers];
    course._visibleCountX = 0;
    course._visibleCountY = 0;
}
}  // namespace

RopePlacement FirstRopePlacement() {
    return RopePlacement{90, 0.0f, 0.0f, RopeLength(90)};
}

RopePlacement PlaceRope(const CourseData& course, int32_t x, int32_t y, const RopePlacement&) {
    const float cellSize = CellSizeForWidth(course._courseWidth);
    int32_t cells = 1;
    const NeighbourRow* row = ChooseNeighbour(course, x, y, cells);
    if (row == nullptr) {
        const RopePlacement first = FirstRopePlacement();
        return RopePlacement{first.angle, first.along, first.across,
                             first.length * cellSize / kTableCellSize};
    }
    if (cellSize == kTableCellSize && cells == 1) {
        return RopePlacement{row->angle, row->along, row->across, row->length};
    }
    // On other cells, or over start cells: centred between the posts, 0.5 units past both.
    const float diagonal = row->angle % 90 == 0 ? 1.0f : kDiagonalAlong;
    const float span = static_cast<float>(cells) * cellSize * diagonal;
    return RopePlacement{row->angle, span / 4.0f, 0.0f, span + 1.0f};
}

bool RopeNeighbour(const CourseData& course, int32_t x, int32_t y, int32_t& dx, int32_t& dy) {
    int32_t cells = 1;
    const NeighbourRow* row = ChooseNeighbour(course, x, y, cells);
    if (row == nullptr) {
        return false;
    }
    dx = row->dx * cells;
    dy = row->dy * cells;
    return true;
}

float RopeLength(int32_t angle) {
    for (const NeighbourRow& row : kNeighbourRows) {
        if (row.angle == angle) {
            return row.length;
        }
    }
    return 5.0f;
}

float CellSizeForWidth(int32_t width) {
    return width > 0 ? static_cast<float>(kTerrainSize / width) : 0.0f;
}

void PlaceRacers(const int32_t* xs, const int32_t* ys, int32_t count, float cellSize,
                 WorldSpot& racer1, WorldSpot& racer2) {
    if (count <= 0) {
        racer1 = racer2 = WorldSpot{kNoStartPosition, kNoStartPosition};
        return;
    }
    const int32_t half = count / 2;
    racer1 = SpotOf(xs, ys, half, cellSize);
    racer2 = SpotOf(xs, ys, std::max(half - 1, 0), cellSize);
}

int32_t PlaceRacePoles(const int32_t* xs, const int32_t* ys, int32_t count, float cellSize,
                       WorldSpot poles[2]) {
    if (count <= 0) {
        return 0;
    }
    poles[0] = SpotOf(xs, ys, 0, cellSize);
    if (count == 1) {
        return 1;
    }
    poles[1] = SpotOf(xs, ys, count - 1, cellSize);
    return 2;
}

std::string StartCellNote(int32_t found) {
    const std::string origin = "Course::BuildMarkers() - ";
    if (found <= 0) {
        return origin + "no start cells: both racers start at (128, 128), no race pole is drawn.";
    }
    if (found == 1) {
        return origin + "one start cell: both racers start on it.";
    }
    if (found > kStartTableSize) {
        return origin + std::to_string(found) + " start cells: only the first " +
               std::to_string(kStartTableSize) + " are used.";
    }
    return "";
}

int32_t g_startX[kStartTableSize];
int32_t g_startY[kStartTableSize];
int32_t g_startCount = 0;

void CourseData::ComputeCellSize() {
    _cellSize = CellSizeForWidth(_courseWidth);
}

void LayOutMarkers(CourseData& course) {
    LayOutMarkers(course, std::cout);
}

void LayOutMarkers(CourseData& course, std::ostream& console) {
    course.ComputeCellSize();
    course._markerCount = 0;
    g_startCount = 0;
    int32_t found = 0;
    const bool hasGrid = HasGrid(course);
    if (hasGrid) {
        course._markerCount = MarkBorderCells(course);
        LayOutFence(course);
        found = CollectStartCells(course, g_startX, g_startY, kStartTableSize);
        g_startCount = std::min(found, kStartTableSize);
    }
    const std::string note = StartCellNote(found);
    if (!note.empty()) {
        console << note << std::endl;
    }

    WorldSpot racer1{};
    WorldSpot racer2{};
    PlaceRacers(g_startX, g_startY, g_startCount, course._cellSize, racer1, racer2);
    course._start1X = racer1.x;
    course._start1Z = racer1.z;
    course._start2X = racer2.x;
    course._start2Z = racer2.z;

    AllocateVisibleLists(course, hasGrid ? CountCells(course, ';') : 0);
    course.BuildQuadTree(course._quadTree, 0.0f, 0.0f, kTerrainSize, kTerrainSize, 4);
}
