#include "course/Fence.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "course/CourseData.h"
#include "course/CourseGrid.h"
#include "course/FenceGround.h"
#include "course/RopeTable.h"

namespace {
constexpr float kHalfRootTwo = 0.70710678f;

// The unit direction of a rope at `angle` degrees about the vertical (a multiple of 45),
// counter-clockwise from +x as seen from above, so toward -z at 90. Worked out exactly: a
// cosine's leftover such as -4.4e-8 at 90 degrees would tilt the rope's outward normal, and a
// racer moving along the rope's line would count as heading out through it.
void RopeDirection(int32_t angle, float& dirX, float& dirZ) {
    static const float kCos[8] = {1.0f, kHalfRootTwo, 0.0f, -kHalfRootTwo,
                                  -1.0f, -kHalfRootTwo, 0.0f, kHalfRootTwo};
    const int32_t step = ((angle / 45) % 8 + 8) % 8;
    dirX = kCos[step];
    dirZ = -kCos[(step + 6) % 8];  // minus the sine: the cosine 90 degrees earlier
}

// The way out of the track at a cell: the sum of the directions to its blocked side neighbours.
void AddWayOut(const CourseData& course, int32_t x, int32_t y, float& outX, float& outZ) {
    outX += (IsBlockedCell(course, x + 1, y) ? 1.0f : 0.0f) - (IsBlockedCell(course, x - 1, y) ? 1.0f : 0.0f);
    outZ += (IsBlockedCell(course, x, y + 1) ? 1.0f : 0.0f) - (IsBlockedCell(course, x, y - 1) ? 1.0f : 0.0f);
}

// A point in a rope's own frame: u along it from its first end, s along its normal.
struct RopeFrame {
    float ux, uz;   // unit direction from end 0 to end 1
    float nx, nz;   // unit normal: away from the track, or any for a rope without a side
    float length;
    bool sided;
};

RopeFrame FrameOf(const FenceRope& rope) {
    RopeFrame frame{};
    const float dx = rope.x1 - rope.x0;
    const float dz = rope.z1 - rope.z0;
    frame.length = std::hypot(dx, dz);
    frame.ux = frame.length > 0.0f ? dx / frame.length : 1.0f;
    frame.uz = frame.length > 0.0f ? dz / frame.length : 0.0f;
    frame.sided = rope.outX != 0.0f || rope.outZ != 0.0f;
    frame.nx = frame.sided ? rope.outX : -frame.uz;
    frame.nz = frame.sided ? rope.outZ : frame.ux;
    return frame;
}

float Along(const FenceRope& rope, const RopeFrame& f, float x, float z) {
    return (x - rope.x0) * f.ux + (z - rope.z0) * f.uz;
}

float Across(const FenceRope& rope, const RopeFrame& f, float x, float z) {
    return (x - rope.x0) * f.nx + (z - rope.z0) * f.nz;
}

// Clips the move's parameter range [low, high] to where `start + t * step` lies in [min, max].
bool Clip(float start, float step, float min, float max, float& low, float& high) {
    if (step == 0.0f) {
        return start >= min && start <= max;
    }
    float a = (min - start) / step;
    float b = (max - start) / step;
    if (a > b) {
        std::swap(a, b);
    }
    low = std::max(low, a);
    high = std::min(high, b);
    return low <= high;
}

// True when (u, s), in the rope's frame, lies in the rope's band: the rope widened by
// kRopeHalfWidth on each side and at each end.
bool InBand(const RopeFrame& f, float u, float s) {
    return u >= -kRopeHalfWidth && u <= f.length + kRopeHalfWidth && std::fabs(s) <= kRopeHalfWidth;
}

// True when the move touches the rope's band.
bool TouchesBand(const RopeFrame& f, float u0, float s0, float u1, float s1) {
    float low = 0.0f;
    float high = 1.0f;
    return Clip(u0, u1 - u0, -kRopeHalfWidth, f.length + kRopeHalfWidth, low, high) &&
           Clip(s0, s1 - s0, -kRopeHalfWidth, kRopeHalfWidth, low, high);
}

bool RopeStopsMove(const FenceRope& rope, float ax, float az, float bx, float bz) {
    const RopeFrame f = FrameOf(rope);
    const float u0 = Along(rope, f, ax, az);
    const float s0 = Across(rope, f, ax, az);
    const float u1 = Along(rope, f, bx, bz);
    const float s1 = Across(rope, f, bx, bz);
    if (!TouchesBand(f, u0, s0, u1, s1)) {
        return false;
    }
    if (f.sided) {
        return s1 > s0;  // only toward the blocked side: on the line, back to the track is free
    }
    return !InBand(f, u0, s0);
}

// True when the move comes into a post from outside it: nearer to the post than kRopeHalfWidth
// somewhere along the move. No rope stops a move along its own line, the posts on that line do;
// a racer standing on a post may leave it.
bool MoveEntersPost(float postX, float postZ, float ax, float az, float bx, float bz) {
    const float radius2 = kRopeHalfWidth * kRopeHalfWidth;
    const float fromX = ax - postX;
    const float fromZ = az - postZ;
    if (fromX * fromX + fromZ * fromZ < radius2) {
        return false;
    }
    const float dx = bx - ax;
    const float dz = bz - az;
    const float length2 = dx * dx + dz * dz;
    const float t =
        length2 > 0.0f ? std::clamp(-(fromX * dx + fromZ * dz) / length2, 0.0f, 1.0f) : 0.0f;
    const float nearX = fromX + t * dx;
    const float nearZ = fromZ + t * dz;
    return nearX * nearX + nearZ * nearZ < radius2;
}
}  // namespace

Fence BuildFence(const CourseData& course) {
    Fence fence;
    const float cellSize = CellSizeForWidth(course._courseWidth);
    for (int32_t x = 0; x < course._courseWidth; ++x) {
        for (int32_t y = 0; y < course._courseLength; ++y) {
            if (!IsPostCell(course, x, y)) {
                continue;
            }
            const RopePlacement rope = PlaceRope(course, x, y);
            float dirX = 0.0f;
            float dirZ = 0.0f;
            RopeDirection(rope.angle, dirX, dirZ);
            const float centreX = static_cast<float>(x) * cellSize + 2.0f * rope.along * dirX +
                                  2.0f * rope.across * -dirZ;
            const float centreZ = static_cast<float>(y) * cellSize + 2.0f * rope.along * dirZ +
                                  2.0f * rope.across * dirX;
            const float postX = static_cast<float>(x) * cellSize;
            const float postZ = static_cast<float>(y) * cellSize;
            FenceRope piece{x, y, x, y, rope,
                            centreX - dirX * rope.length / 2.0f,
                            centreZ - dirZ * rope.length / 2.0f,
                            centreX + dirX * rope.length / 2.0f,
                            centreZ + dirZ * rope.length / 2.0f,
                            0.0f, 0.0f, postX, postZ, postX, postZ};
            // Which side is out: the way out at the marker and at every cell the rope reaches.
            float outX = 0.0f;
            float outZ = 0.0f;
            AddWayOut(course, x, y, outX, outZ);
            int32_t dx = 0;
            int32_t dy = 0;
            if (RopeNeighbour(course, x, y, dx, dy)) {
                piece.joinsX = x + dx;
                piece.joinsY = y + dy;
                piece.postX1 = static_cast<float>(x + dx) * cellSize;
                piece.postZ1 = static_cast<float>(y + dy) * cellSize;
                const int32_t steps = std::max(std::abs(dx), std::abs(dy));
                for (int32_t step = 1; step <= steps; ++step) {
                    AddWayOut(course, x + dx / steps * step, y + dy / steps * step, outX, outZ);
                }
            }
            const float normalX = dirZ;   // a normal of the rope; flipped to point out
            const float normalZ = -dirX;
            const float side = normalX * outX + normalZ * outZ;
            if (std::fabs(side) > 1e-3f) {
                piece.outX = side > 0.0f ? normalX : -normalX;
                piece.outZ = side > 0.0f ? normalZ : -normalZ;
            }
            fence.ropes.push_back(piece);
        }
    }
    fence.insideParts = InsideParts(course, fence.ropes);
    return fence;
}

// The ropes stand in scan order, x outermost: sorted by their markers' cells.
const FenceRope* RopeOfMarker(const Fence& fence, int32_t x, int32_t y) {
    const auto before = [](const FenceRope& rope, const std::pair<int32_t, int32_t>& cell) {
        return std::make_pair(rope.cellX, rope.cellY) < cell;
    };
    const auto at =
        std::lower_bound(fence.ropes.begin(), fence.ropes.end(), std::make_pair(x, y), before);
    return at != fence.ropes.end() && at->cellX == x && at->cellY == y ? &*at : nullptr;
}

void LayOutFence(CourseData& course) {
    course._fence = BuildFence(course);
}

bool MoveCrossesFence(const CourseData& course, float fromX, float fromZ, float toX, float toZ) {
    return MoveCrossesFence(course._fence, fromX, fromZ, toX, toZ);
}

bool MoveCrossesFence(const Fence& fence, float fromX, float fromZ, float toX, float toZ) {
    const float reach = std::hypot(toX - fromX, toZ - fromZ) + 16.0f;
    for (const FenceRope& rope : fence.ropes) {
        // Ropes are at most a few cells long: far ones are passed over without the geometry.
        if (std::fabs(rope.x0 - fromX) > reach + std::fabs(rope.x1 - rope.x0) ||
            std::fabs(rope.z0 - fromZ) > reach + std::fabs(rope.z1 - rope.z0)) {
            continue;
        }
        if (RopeStopsMove(rope, fromX, fromZ, toX, toZ) ||
            MoveEntersPost(rope.postX0, rope.postZ0, fromX, fromZ, toX, toZ)) {
            return true;
        }
    }
    return false;
}

bool IsOnFenceLine(const Fence& fence, float x, float z) {
    for (const FenceRope& rope : fence.ropes) {
        const RopeFrame f = FrameOf(rope);
        if (InBand(f, Along(rope, f, x, z), Across(rope, f, x, z))) {
            return true;
        }
    }
    return false;
}

bool IsInsideFence(const CourseData& course, float x, float z) {
    return IsInsideFence(course, course._fence, x, z);
}

bool IsInsideFence(const CourseData& course, const Fence& fence, float x, float z) {
    const GridCell cell = WorldToCell(course, x, z);
    if (!course.Contains(cell.x, cell.y)) {
        return false;
    }
    const size_t cells = static_cast<size_t>(course._courseWidth) * course._courseLength;
    if (fence.insideParts.size() != cells) {
        return !IsBlockedCell(course, cell.x, cell.y);  // no fence laid out for this grid
    }
    // The part of the cell the point lies in, by the sides of its two diagonals.
    const float fx = x * course._cellsPerUnit - static_cast<float>(cell.x);
    const float fz = z * course._cellsPerUnit - static_cast<float>(cell.y);
    const uint8_t inside =
        fence.insideParts[static_cast<size_t>(cell.x) * course._courseLength + cell.y];
    return ((inside >> CellPartAt(fx, fz)) & 1) != 0;
}

bool IsBlockedGround(const CourseData& course, float x, float z) {
    const GridCell cell = WorldToCell(course, x, z);
    return IsBlockedCell(course, cell.x, cell.y) && !IsInsideFence(course, x, z);
}
