#include "Noise.h"

#include <cmath>

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^
                 seed * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

double HashUnit(int32_t x, int32_t y, uint32_t seed) {
    return static_cast<double>(Hash(x, y, seed) >> 8) / 16777216.0;
}

namespace {
int32_t Wrap(int32_t v, int32_t period) {
    const int32_t m = v % period;
    return m < 0 ? m + period : m;
}

double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }
}  // namespace

double ValueNoise(double x, double y, int32_t period, uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int32_t x0 = Wrap(static_cast<int32_t>(fx), period);
    const int32_t y0 = Wrap(static_cast<int32_t>(fy), period);
    const int32_t x1 = Wrap(x0 + 1, period);
    const int32_t y1 = Wrap(y0 + 1, period);
    const double tx = Fade(x - fx);
    const double ty = Fade(y - fy);
    const double a = HashUnit(x0, y0, seed);
    const double b = HashUnit(x1, y0, seed);
    const double c = HashUnit(x0, y1, seed);
    const double d = HashUnit(x1, y1, seed);
    const double low = a + (b - a) * tx;
    const double high = c + (d - c) * tx;
    return low + (high - low) * ty;
}

double TileFbm(double u, double v, int32_t cells, int32_t octaves, uint32_t seed) {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int32_t octave = 0; octave < octaves; ++octave) {
        const int32_t period = cells << octave;
        sum += weight * (2.0 * ValueNoise(u * period, v * period, period, seed + octave) - 1.0);
        total += weight;
        weight *= 0.5;
    }
    return sum / total;
}
