#include "CoursePicture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "course/CourseData.h"
#include "course/CourseRules.h"
#include "course/Fence.h"
#include "course/MarkerPlacement.h"

namespace {
struct Colour {
    uint8_t r, g, b;
};

constexpr Colour kBlocked{40, 72, 40};
constexpr Colour kTrack{222, 204, 160};
constexpr Colour kWall{196, 150, 104};
constexpr Colour kStart{214, 40, 40};
constexpr Colour kPost{20, 20, 20};
constexpr Colour kRope{96, 56, 24};
constexpr Colour kPole{255, 255, 255};
constexpr Colour kRacer1{70, 150, 255};
constexpr Colour kRacer2{255, 220, 0};
constexpr Colour kWater{40, 90, 190};
constexpr int32_t kWaterHeight = 1;  // world height of the water's surface and below

class Canvas {
public:
    Canvas(int32_t columns, int32_t rows) : picture(uint32_t(columns), uint32_t(rows)) {}

    void Put(int32_t column, int32_t row, Colour colour) {
        if (column < 0 || row < 0 || column >= int32_t(picture.width) ||
            row >= int32_t(picture.height)) {
            return;
        }
        uint8_t* pixel = picture.At(uint32_t(column), uint32_t(row));
        pixel[0] = colour.r;
        pixel[1] = colour.g;
        pixel[2] = colour.b;
        pixel[3] = 255;
    }
    // A square of side 2 * half + 1 around a point.
    void Square(int32_t column, int32_t row, int32_t half, Colour colour) {
        for (int32_t r = row - half; r <= row + half; ++r) {
            for (int32_t c = column - half; c <= column + half; ++c) {
                Put(c, r, colour);
            }
        }
    }
    // A straight line `thickness` pixels wide between two points.
    void Line(int32_t c0, int32_t r0, int32_t c1, int32_t r1, int32_t thickness, Colour colour) {
        const int32_t steps = std::max(std::abs(c1 - c0), std::abs(r1 - r0));
        for (int32_t i = 0; i <= steps; ++i) {
            const int32_t c = steps == 0 ? c0 : c0 + (c1 - c0) * i / steps;
            const int32_t r = steps == 0 ? r0 : r0 + (r1 - r0) * i / steps;
            for (int32_t dr = 0; dr < thickness; ++dr) {
                for (int32_t dc = 0; dc < thickness; ++dc) {
                    Put(c + dc - thickness / 2, r + dr - thickness / 2, colour);
                }
            }
        }
    }
    // A triangle pointing left (toward column 0) with its middle at the point.
    void LeftArrow(int32_t column, int32_t row, int32_t half, Colour colour) {
        for (int32_t c = column - half; c <= column + half; ++c) {
            const int32_t reach = (c - (column - half)) / 2;
            for (int32_t r = row - reach; r <= row + reach; ++r) {
                Put(c, r, colour);
            }
        }
    }

    Picture picture;
};

Colour GroundColour(const unsigned char* heights, int32_t worldX, int32_t worldZ) {
    const int32_t h = CourseData::GroundHeight(heights, kHeightDivisor, worldX, worldZ);
    if (h <= kWaterHeight) {
        return kWater;
    }
    return Colour{static_cast<uint8_t>(30 + 2 * h), static_cast<uint8_t>(60 + 3 * h),
                  static_cast<uint8_t>(30 + 1.5 * h)};
}

bool IsMarker(const CourseData& course, int32_t x, int32_t y) {
    return course.Contains(x, y) && course.GetCell(x, y) == ';';
}
}  // namespace

int32_t CellPixels(int32_t width, int32_t length) {
    return std::max<int32_t>(1, 512 / std::max<int32_t>({width, length, 1}));
}

Picture DrawCourse(CourseData& course, const unsigned char* heights) {
    const int32_t width = course.GetWidth();
    const int32_t length = course.GetLength();
    const int32_t s = CellPixels(width, length);
    const float cellSize = CellSizeForWidth(width);
    Canvas canvas(length * s, width * s);

    // The cells, and the ground under the blocked ones. Walls are found before the marker
    // rule turns post cells into ';' (the answer is the same either way).
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y < length; ++y) {
            const char code = course.GetCell(x, y);
            const Colour fill = code == '1'                ? kBlocked
                                : code == '2'              ? kStart
                                : IsWallCell(course, x, y) ? kWall
                                                           : kTrack;
            for (int32_t r = x * s; r < (x + 1) * s; ++r) {
                for (int32_t c = y * s; c < (y + 1) * s; ++c) {
                    const bool ground = code == '1' && heights;
                    canvas.Put(c, r,
                               ground ? GroundColour(heights, int32_t((r + 0.5f) * cellSize / s),
                                                     int32_t((c + 0.5f) * cellSize / s))
                                      : fill);
                }
            }
        }
    }

    // Posts at their cells' low corners, and the ropes where the game draws them: the fence,
    // each rope from its post to the one its rope table picks.
    MarkBorderCells(course);
    course.ComputeCellSize();
    const int32_t thickness = std::max(1, s / 8);
    const auto pixel = [&](float world) {
        return static_cast<int32_t>(std::lround(world / cellSize * s));
    };
    for (const FenceRope& rope : BuildFence(course).ropes) {
        if (s >= 4) {
            canvas.Line(pixel(rope.z0), pixel(rope.x0), pixel(rope.z1), pixel(rope.x1), thickness,
                        kRope);
        }
    }
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y < length; ++y) {
            if (IsMarker(course, x, y)) {
                canvas.Square(y * s, x * s, s / 8, kPost);
            }
        }
    }

    // The race poles and the racers, placed as the game places them.
    int32_t xs[kStartTableSize];
    int32_t ys[kStartTableSize];
    const int32_t found = CollectStartCells(course, xs, ys, kStartTableSize);
    const int32_t used = std::min(found, kStartTableSize);
    const auto column = [&](float z) {
        return static_cast<int32_t>(std::lround(z / cellSize * s));
    };
    const auto row = [&](float worldX) {
        return static_cast<int32_t>(std::lround(worldX / cellSize * s));
    };
    WorldSpot poles[2];
    for (int32_t i = 0; i < PlaceRacePoles(xs, ys, used, cellSize, poles); ++i) {
        canvas.Square(column(poles[i].z), row(poles[i].x), s / 4, kPole);
    }
    WorldSpot racer1{};
    WorldSpot racer2{};
    PlaceRacers(xs, ys, used, cellSize, racer1, racer2);
    canvas.LeftArrow(column(racer2.z), row(racer2.x), s * 2 / 5, kRacer2);
    canvas.LeftArrow(column(racer1.z), row(racer1.x), s * 2 / 5, kRacer1);
    return std::move(canvas.picture);
}
