#include "course/FenceGround.h"

#include <algorithm>

#include "course/CourseData.h"
#include "course/CourseGrid.h"

namespace {
constexpr uint8_t kMainDiagonal = 1;   // from the cell's corner (x, z) to (x + 1, z + 1)
constexpr uint8_t kOtherDiagonal = 2;  // from (x + 1, z) to (x, z + 1)
enum Side : uint8_t { kNotReached, kInside, kOutside };

// The ropes on the grid and the flood over the cells' parts.
class FenceGround {
public:
    explicit FenceGround(const CourseData& course)
        : _course(course), _width(course._courseWidth), _length(course._courseLength),
          _sideX(static_cast<size_t>(_width + 1) * _length, 0),
          _sideZ(static_cast<size_t>(_width) * (_length + 1), 0),
          _across(static_cast<size_t>(_width) * _length, 0),
          _side(_across.size() * 4, kNotReached) {}

    // Lays a rope on the grid, from its post to the one it joins.
    void Lay(const FenceRope& rope) {
        const int32_t x = rope.cellX;
        const int32_t y = rope.cellY;
        if (rope.joinsY == y) {
            for (int32_t cx = std::min(x, rope.joinsX); cx < std::max(x, rope.joinsX); ++cx) {
                if (cx >= 0 && cx < _width && y >= 0 && y <= _length) {
                    _sideZ[SideZ(cx, y)] = 1;
                }
            }
        } else if (rope.joinsX == x) {
            for (int32_t cy = std::min(y, rope.joinsY); cy < std::max(y, rope.joinsY); ++cy) {
                if (x >= 0 && x <= _width && cy >= 0 && cy < _length) {
                    _sideX[SideX(x, cy)] = 1;
                }
            }
        } else if (Contains(std::min(x, rope.joinsX), std::min(y, rope.joinsY))) {
            const bool main = rope.joinsX - x == rope.joinsY - y;
            _across[Cell(std::min(x, rope.joinsX), std::min(y, rope.joinsY))] |=
                main ? kMainDiagonal : kOtherDiagonal;
        }
    }

    // Starts the flood at the parts along both sides of a laid rope.
    void Seed(const FenceRope& rope) {
        const int32_t x = rope.cellX;
        const int32_t y = rope.cellY;
        if (rope.joinsY == y) {
            for (int32_t cx = std::min(x, rope.joinsX); cx < std::max(x, rope.joinsX); ++cx) {
                Reach(cx, y - 1, kHighZPart, rope.outZ < 0.0f ? kOutside : kInside);
                Reach(cx, y, kLowZPart, rope.outZ > 0.0f ? kOutside : kInside);
            }
        } else if (rope.joinsX == x) {
            for (int32_t cy = std::min(y, rope.joinsY); cy < std::max(y, rope.joinsY); ++cy) {
                Reach(x - 1, cy, kHighXPart, rope.outX < 0.0f ? kOutside : kInside);
                Reach(x, cy, kLowXPart, rope.outX > 0.0f ? kOutside : kInside);
            }
        } else {
            // Of the main diagonal, the low-z and high-x parts lie toward (1, -1); of the other,
            // the high-x and high-z parts toward (1, 1).
            const int32_t cx = std::min(x, rope.joinsX);
            const int32_t cy = std::min(y, rope.joinsY);
            const bool main = rope.joinsX - x == rope.joinsY - y;
            const bool towardOut = (main ? rope.outX - rope.outZ : rope.outX + rope.outZ) > 0.0f;
            const Side toward = towardOut ? kOutside : kInside;
            const Side away = towardOut ? kInside : kOutside;
            Reach(cx, cy, main ? kLowZPart : kHighZPart, toward);
            Reach(cx, cy, kHighXPart, toward);
            Reach(cx, cy, kLowXPart, away);
            Reach(cx, cy, main ? kHighZPart : kLowZPart, away);
        }
    }

    // Floods on from the seeds, part to part where no rope lies between them, in the order the
    // parts were reached.
    void Flood() {
        for (size_t next = 0; next < _pending.size(); ++next) {
            const size_t part = _pending[next];
            const Side side = static_cast<Side>(_side[part]);
            const int32_t cx = static_cast<int32_t>(part / 4 / _length);
            const int32_t cy = static_cast<int32_t>(part / 4 % _length);
            const uint8_t across = _across[part / 4];
            const bool main = (across & kMainDiagonal) != 0;
            const bool other = (across & kOtherDiagonal) != 0;
            // Within the cell across half a diagonal; to the next cell across a side.
            switch (part % 4) {
            case kLowXPart:
                ReachUnless(main, cx, cy, kLowZPart, side);
                ReachUnless(other, cx, cy, kHighZPart, side);
                ReachUnless(_sideX[SideX(cx, cy)], cx - 1, cy, kHighXPart, side);
                break;
            case kLowZPart:
                ReachUnless(main, cx, cy, kLowXPart, side);
                ReachUnless(other, cx, cy, kHighXPart, side);
                ReachUnless(_sideZ[SideZ(cx, cy)], cx, cy - 1, kHighZPart, side);
                break;
            case kHighXPart:
                ReachUnless(other, cx, cy, kLowZPart, side);
                ReachUnless(main, cx, cy, kHighZPart, side);
                ReachUnless(_sideX[SideX(cx + 1, cy)], cx + 1, cy, kLowXPart, side);
                break;
            default:
                ReachUnless(main, cx, cy, kHighXPart, side);
                ReachUnless(other, cx, cy, kLowXPart, side);
                ReachUnless(_sideZ[SideZ(cx, cy + 1)], cx, cy + 1, kLowZPart, side);
                break;
            }
        }
    }

    std::vector<uint8_t> InsideParts() const {
        std::vector<uint8_t> inside(_across.size(), 0);
        for (int32_t cx = 0; cx < _width; ++cx) {
            for (int32_t cy = 0; cy < _length; ++cy) {
                const bool open = !IsBlockedCell(_course, cx, cy);
                for (int32_t part = 0; part < 4; ++part) {
                    const uint8_t side = _side[Cell(cx, cy) * 4 + part];
                    if (side == kInside || (side == kNotReached && open)) {
                        inside[Cell(cx, cy)] |= static_cast<uint8_t>(1 << part);
                    }
                }
            }
        }
        return inside;
    }

private:
    bool Contains(int32_t cx, int32_t cy) const {
        return cx >= 0 && cx < _width && cy >= 0 && cy < _length;
    }
    size_t Cell(int32_t cx, int32_t cy) const { return static_cast<size_t>(cx) * _length + cy; }
    // The side x = cx of cell (cx, cy), and the side z = cy.
    size_t SideX(int32_t cx, int32_t cy) const { return static_cast<size_t>(cx) * _length + cy; }
    size_t SideZ(int32_t cx, int32_t cy) const {
        return static_cast<size_t>(cx) * (_length + 1) + cy;
    }

    bool MayEnter(int32_t cx, int32_t cy, Side side) const {
        if (_across[Cell(cx, cy)] != 0) {
            return true;
        }
        if (side == kInside) {
            return !IsBlockedCell(_course, cx, cy);
        }
        return IsBlockedCell(_course, cx, cy) || IsPostCell(_course, cx, cy) ||
               IsFencedStart(_course, cx, cy);
    }

    void Reach(int32_t cx, int32_t cy, int32_t part, Side side) {
        if (!Contains(cx, cy)) {
            return;
        }
        const size_t at = Cell(cx, cy) * 4 + part;
        if (_side[at] == kNotReached && MayEnter(cx, cy, side)) {
            _side[at] = side;
            _pending.push_back(at);
        }
    }

    void ReachUnless(bool rope, int32_t cx, int32_t cy, int32_t part, Side side) {
        if (!rope) {
            Reach(cx, cy, part, side);
        }
    }

    const CourseData& _course;
    int32_t _width;
    int32_t _length;
    std::vector<uint8_t> _sideX;    // a rope on the side x = X of cell (X, Y): X * length + Y
    std::vector<uint8_t> _sideZ;    // a rope on the side z = Y of cell (X, Y): X * (length + 1) + Y
    std::vector<uint8_t> _across;   // the diagonals of each cell that carry a rope
    std::vector<uint8_t> _side;     // each part's side, cell * 4 + part
    std::vector<size_t> _pending;   // the parts reached, in the order the flood reached them
};
}  // namespace

int32_t CellPartAt(float fx, float fz) {
    if (fz > fx) {
        return fx + fz > 1.0f ? kHighZPart : kLowXPart;
    }
    return fx + fz > 1.0f ? kHighXPart : kLowZPart;
}

std::vector<uint8_t> InsideParts(const CourseData& course, const std::vector<FenceRope>& ropes) {
    FenceGround ground(course);
    const auto sided = [](const FenceRope& rope) {
        return (rope.outX != 0.0f || rope.outZ != 0.0f) &&
               (rope.joinsX != rope.cellX || rope.joinsY != rope.cellY);
    };
    for (const FenceRope& rope : ropes) {
        if (sided(rope)) {
            ground.Lay(rope);
        }
    }
    for (const FenceRope& rope : ropes) {
        if (sided(rope)) {
            ground.Seed(rope);
        }
    }
    ground.Flood();
    return ground.InsideParts();
}
