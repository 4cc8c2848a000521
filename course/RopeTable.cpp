#include "course/RopeTable.h"

#include "course/CourseData.h"
#include "course/CourseGrid.h"

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

bool BlockedToward(const CourseData& course, int32_t x, int32_t y, int32_t k) {
    const NeighbourRow& row = kNeighbourRows[k & 7];
    return IsBlockedCell(course, x + row.dx, y + row.dy);
}

// How many cells along row k the post it joins lies: 1 for a post next to it, more past start
// cells on the fence line (sides only); 0 when there is none that way.
int32_t PostCellsAway(const CourseData& course, int32_t x, int32_t y, int32_t k) {
    const NeighbourRow& row = kNeighbourRows[k];
    if (IsPostCell(course, x + row.dx, y + row.dy)) {
        return 1;
    }
    if (row.angle % 90 != 0) {
        return 0;
    }
    int32_t cells = 1;
    while (IsFencedStart(course, x + cells * row.dx, y + cells * row.dy)) {
        ++cells;
    }
    return cells > 1 && IsPostCell(course, x + cells * row.dx, y + cells * row.dy) ? cells : 0;
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
}  // namespace

RopePlacement FirstRopePlacement() {
    return RopePlacement{90, 0.0f, 0.0f, RopeLength(90)};
}

RopePlacement PlaceRope(const CourseData& course, int32_t x, int32_t y) {
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
