#include "TerrainArt.h"

#include <cmath>

#include "Noise.h"
#include "course/CourseData.h"

namespace {
constexpr uint32_t kColourSeed = 0x434f4cu;
constexpr int32_t kDetailSize = 128;

size_t Index(int32_t x, int32_t z) {
    return static_cast<size_t>((z + kTerrainSize) % kTerrainSize) * kTerrainSize +
           (x + kTerrainSize) % kTerrainSize;
}

// Steepness in world height per world unit, from the designed heights (wrapping).
double Slope(const HeightField& field, int32_t x, int32_t z) {
    const double dx = field.smooth[Index(x + 1, z)] - field.smooth[Index(x - 1, z)];
    const double dz = field.smooth[Index(x, z + 1)] - field.smooth[Index(x, z - 1)];
    return std::sqrt(dx * dx + dz * dz) / 20.0;
}

Rgb NaturalColour(const HeightField& field, int32_t x, int32_t z) {
    const double h = field.smooth[Index(x, z)];
    const double u = x / static_cast<double>(kTerrainSize);
    const double v = z / static_cast<double>(kTerrainSize);
    const double patches = 0.5 + 0.5 * TileFbm(u, v, 8, 4, kColourSeed);
    const double grain = HashUnit(x, z, kColourSeed + 1);
    if (h < kWaterTopRaw + 1) {
        const Rgb deep{0.04, 0.16, 0.30};
        const Rgb shallow{0.10, 0.36, 0.46};
        return Mix(deep, shallow, Smoothstep(0.0, kWaterTopRaw + 1.0, h));
    }
    const Rgb sand = Mix(Rgb{0.74, 0.68, 0.48}, Rgb{0.80, 0.74, 0.56}, grain);
    const Rgb grass = Mix(Rgb{0.20, 0.42, 0.12}, Rgb{0.38, 0.54, 0.17}, patches);
    const Rgb rock = Mix(Rgb{0.42, 0.39, 0.35}, Rgb{0.55, 0.52, 0.47}, grain);
    const Rgb snow{0.92, 0.93, 0.96};
    Rgb colour = Mix(sand, grass, Smoothstep(38.0, 50.0, h));
    colour = Mix(colour, grass * 0.8, Smoothstep(180.0, 215.0, h));  // darker high meadows
    colour = Mix(colour, rock, Smoothstep(0.9, 1.6, Slope(field, x, z)));
    colour = Mix(colour, rock, Smoothstep(215.0, 232.0, h));
    colour = Mix(colour, snow, Smoothstep(236.0, 246.0, h));
    return colour * (0.94 + 0.12 * grain);
}

bool IsRoad(char code) { return code != '1'; }

// True when a side neighbour of the sample lies off the road.
bool AtRoadEdge(const std::vector<char>& cells, int32_t x, int32_t z) {
    return !IsRoad(cells[Index(x + 1, z)]) || !IsRoad(cells[Index(x - 1, z)]) ||
           !IsRoad(cells[Index(x, z + 1)]) || !IsRoad(cells[Index(x, z - 1)]);
}

Rgb RoadColour(const std::vector<char>& cells, int32_t x, int32_t z) {
    const double grain = HashUnit(x, z, kColourSeed + 2);
    if (cells[Index(x, z)] == '2') {
        const bool white = ((x / 2) + (z / 2)) % 2 == 0;
        return white ? Rgb{0.93, 0.93, 0.93} : Rgb{0.08, 0.08, 0.09};
    }
    if (AtRoadEdge(cells, x, z)) {
        const bool red = ((x + z) / 4) % 2 == 0;
        return red ? Rgb{0.78, 0.12, 0.10} : Rgb{0.92, 0.92, 0.90};
    }
    return Rgb{0.30, 0.29, 0.28} * (0.9 + 0.2 * grain);
}

Rgb TrailColour(int32_t x, int32_t z) {
    const double grain = HashUnit(x, z, kColourSeed + 3);
    return Mix(Rgb{0.50, 0.40, 0.27}, Rgb{0.60, 0.50, 0.35}, grain);
}
}  // namespace

Canvas TerrainBase(const HeightField& field, const std::vector<char>& paintedCells,
                   const std::vector<uint8_t>& trails) {
    Canvas canvas(kTerrainSize, kTerrainSize);
    for (int32_t z = 0; z < kTerrainSize; ++z) {
        for (int32_t x = 0; x < kTerrainSize; ++x) {
            Rgb colour = NaturalColour(field, x, z);
            if (IsRoad(paintedCells[Index(x, z)])) {
                colour = RoadColour(paintedCells, x, z);
            } else if (trails[Index(x, z)]) {
                colour = TrailColour(x, z);
            }
            canvas.Set(x, z, colour);
        }
    }
    return canvas;
}

Canvas TerrainDetail() {
    std::vector<double> grey(static_cast<size_t>(kDetailSize) * kDetailSize);
    double sum = 0.0;
    for (int32_t t = 0; t < kDetailSize; ++t) {
        for (int32_t s = 0; s < kDetailSize; ++s) {
            const double u = s / static_cast<double>(kDetailSize);
            const double v = t / static_cast<double>(kDetailSize);
            const double value = 0.14 * TileFbm(u, v, 16, 3, kColourSeed + 4) +
                                 0.16 * (HashUnit(s, t, kColourSeed + 5) - 0.5);
            grey[static_cast<size_t>(t) * kDetailSize + s] = value;
            sum += value;
        }
    }
    const double shift = 0.5 - sum / static_cast<double>(grey.size());
    Canvas canvas(kDetailSize, kDetailSize);
    for (int32_t t = 0; t < kDetailSize; ++t) {
        for (int32_t s = 0; s < kDetailSize; ++s) {
            const double g = grey[static_cast<size_t>(t) * kDetailSize + s] + shift;
            canvas.Set(s, t, Rgb{g, g, g});
        }
    }
    return canvas;
}
