#include "HeightDesign.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "ArtMath.h"
#include "Noise.h"
#include "course/CourseData.h"
#include "course/CourseGrid.h"
#include "course/CourseRules.h"
#include "course/Fence.h"

namespace {
// Flat ground reaches 8 units past the free cells: that covers every corner of each 8 x 8
// mesh square a free cell touches, so the drawn ground is level wherever racers drive.
constexpr double kFlatRadius = 8.0;
constexpr uint32_t kGroundSeed = 0x4b455354u;

size_t Index(int32_t x, int32_t z) { return static_cast<size_t>(z) * kTerrainSize + x; }

// Outside the course loop the land climbs into hills and ridges, in raw units.
double Hills(int32_t x, int32_t z, double distance) {
    const double u = x / static_cast<double>(kTerrainSize);
    const double v = z / static_cast<double>(kTerrainSize);
    const double rise = Smoothstep(kFlatRadius, kFlatRadius + 30.0, distance);
    const double ridges = 1.0 - std::fabs(TileFbm(u, v, 4, 5, kGroundSeed));
    const double lumps = 0.5 + 0.5 * TileFbm(u, v, 8, 3, kGroundSeed + 1);
    return kTrackRaw + rise * (35.0 + 45.0 * ridges + 25.0 * lumps);
}

// Inside the loop the ground slopes down into lakes, whose beds lie at world height 0 to 1.
double Lakes(int32_t x, int32_t z, double distance) {
    const double u = x / static_cast<double>(kTerrainSize);
    const double v = z / static_cast<double>(kTerrainSize);
    const double bed = 6.0 + 12.0 * (0.5 + 0.5 * TileFbm(u, v, 16, 2, kGroundSeed + 2));
    return Mix(kTrackRaw, bed, Smoothstep(kFlatRadius, kFlatRadius + 12.0, distance));
}

// For each sample (x, z), `code` of the cell under it as the game looks it up, or `outside`.
template <typename Code>
std::vector<char> SampleCells(const CourseData& course, char outside, Code code) {
    std::vector<char> cells(static_cast<size_t>(kTerrainSize) * kTerrainSize, outside);
    for (int32_t z = 0; z < kTerrainSize; ++z) {
        for (int32_t x = 0; x < kTerrainSize; ++x) {
            const GridCell cell = WorldToCell(course, static_cast<float>(x), static_cast<float>(z));
            if (course.Contains(cell.x, cell.y)) {
                cells[Index(x, z)] = code(cell.x, cell.y);
            }
        }
    }
    return cells;
}
}  // namespace

std::vector<char> CellsUnderSamples(const CourseData& course) {
    return SampleCells(course, '1', [&](int32_t x, int32_t y) { return course.GetCell(x, y); });
}

std::vector<char> RoadUnderSamples(const CourseData& course) {
    const Fence fence = BuildFence(course);
    std::vector<char> cells = CellsUnderSamples(course);
    for (int32_t z = 0; z < kTerrainSize; ++z) {
        for (int32_t x = 0; x < kTerrainSize; ++x) {
            // The sample's middle: the game takes this sample as the ground over its square.
            const bool inside = IsInsideFence(course, fence, static_cast<float>(x) + 0.5f,
                                              static_cast<float>(z) + 0.5f);
            char& code = cells[Index(x, z)];
            code = !inside ? '1' : code == '1' ? '0' : code;
        }
    }
    return cells;
}

std::vector<uint8_t> FreeSamples(const std::vector<char>& cells) {
    std::vector<uint8_t> free(cells.size());
    std::transform(cells.begin(), cells.end(), free.begin(),
                   [](char code) { return code != '1' ? 1 : 0; });
    return free;
}

namespace {
// Distance along x, within each row, to the nearest mark of that row (wrapping), or `far`.
std::vector<double> RowDistances(const std::vector<uint8_t>& marks, double far) {
    std::vector<double> row(marks.size(), far);
    for (int32_t z = 0; z < kTerrainSize; ++z) {
        int32_t last = -1;
        for (int32_t x = 0; x < 2 * kTerrainSize; ++x) {
            const size_t i = Index(x % kTerrainSize, z);
            last = marks[i] ? x : last;
            if (last >= 0) {
                row[i] = std::min(row[i], static_cast<double>(x - last));
            }
        }
        last = -1;
        for (int32_t x = 2 * kTerrainSize - 1; x >= 0; --x) {
            const size_t i = Index(x % kTerrainSize, z);
            last = marks[i] ? x : last;
            if (last >= 0) {
                row[i] = std::min(row[i], static_cast<double>(last - x));
            }
        }
    }
    return row;
}
}  // namespace

std::vector<double> DistanceField(const std::vector<uint8_t>& marks, int32_t cap) {
    const double far = 4.0 * kTerrainSize;
    const std::vector<double> row = RowDistances(marks, far);
    std::vector<double> distance(marks.size(), cap);
    for (int32_t z = 0; z < kTerrainSize; ++z) {
        for (int32_t x = 0; x < kTerrainSize; ++x) {
            double best = static_cast<double>(cap) * cap;
            for (int32_t dz = -cap; dz <= cap; ++dz) {
                const int32_t zz = ((z + dz) % kTerrainSize + kTerrainSize) % kTerrainSize;
                const double g = row[Index(x, zz)];
                best = std::min(best, g * g + static_cast<double>(dz) * dz);
            }
            distance[Index(x, z)] = std::sqrt(best);
        }
    }
    return distance;
}

std::vector<uint8_t> InfieldSamples(const CourseData& course) {
    const int32_t width = course.GetWidth();
    const int32_t length = course.GetLength();
    // Flood the blocked cells from the grid's border; blocked cells the flood never reaches
    // are enclosed by the course.
    std::vector<uint8_t> outside(static_cast<size_t>(width) * length, 0);
    std::vector<std::pair<int32_t, int32_t>> pending;
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y < length; ++y) {
            if (x == 0 || y == 0 || x == width - 1 || y == length - 1) {
                pending.emplace_back(x, y);
            }
        }
    }
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        const size_t cell = static_cast<size_t>(y) * width + x;
        if (!course.Contains(x, y) || outside[cell] || course.GetCell(x, y) != '1') {
            continue;
        }
        outside[cell] = 1;
        pending.insert(pending.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    const std::vector<char> enclosed = SampleCells(course, 0, [&](int32_t x, int32_t y) {
        return static_cast<char>(course.GetCell(x, y) == '1' &&
                                 !outside[static_cast<size_t>(y) * width + x]);
    });
    return std::vector<uint8_t>(enclosed.begin(), enclosed.end());
}

HeightField DesignHeights(const std::vector<double>& distanceToCourse,
                          const std::vector<uint8_t>& infield) {
    HeightField field;
    field.smooth.resize(distanceToCourse.size());
    field.raw.resize(distanceToCourse.size());
    for (int32_t z = 0; z < kTerrainSize; ++z) {
        for (int32_t x = 0; x < kTerrainSize; ++x) {
            const size_t i = Index(x, z);
            const double distance = distanceToCourse[i];
            const double height =
                Clamp(infield[i] ? Lakes(x, z, distance) : Hills(x, z, distance), 0.0, 250.0);
            field.smooth[i] = height;
            field.raw[i] = static_cast<uint8_t>(Clamp(std::floor(height + 0.5), 0.0, 255.0));
        }
    }
    return field;
}
