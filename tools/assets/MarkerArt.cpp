#include "MarkerArt.h"

#include "Noise.h"

namespace {
constexpr int32_t kMarkerSize = 64;
constexpr uint32_t kMarkerSeed = 0x4d41524bu;

double Unit(int32_t i, int32_t size) { return (i + 0.5) / size; }
}  // namespace

Canvas PostWood() {
    Canvas canvas(kMarkerSize, kMarkerSize);
    for (int32_t t = 0; t < kMarkerSize; ++t) {
        for (int32_t s = 0; s < kMarkerSize; ++s) {
            const double u = Unit(s, kMarkerSize);
            const double v = Unit(t, kMarkerSize);
            // Grain runs along t; its lines wander a little from side to side.
            const double wander = 0.08 * TileFbm(u, v, 2, 3, kMarkerSeed);
            const double grain = 0.5 + 0.5 * Sine(2.0 * kPi * 7.0 * (u + wander));
            const double fibre = HashUnit(s, t / 3, kMarkerSeed + 1);
            const Rgb light{0.56, 0.38, 0.21};
            const Rgb dark{0.33, 0.21, 0.11};
            canvas.Set(s, t, Mix(light, dark, 0.65 * grain * grain + 0.25 * fibre));
        }
    }
    return canvas;
}

Canvas RopeStrands() {
    Canvas canvas(kMarkerSize, kMarkerSize);
    for (int32_t t = 0; t < kMarkerSize; ++t) {
        for (int32_t s = 0; s < kMarkerSize; ++s) {
            const double u = Unit(s, kMarkerSize);
            const double v = Unit(t, kMarkerSize);
            // Four strands twisted at 45 degrees: bright ridges, dark grooves between them.
            const double twist = 4.0 * (u + v);
            const double ridge = Sine(kPi * (twist - static_cast<int32_t>(twist)));
            const double fibre = HashUnit(s, t, kMarkerSeed + 2);
            const Rgb hemp{0.80, 0.68, 0.45};
            canvas.Set(s, t, hemp * (0.35 + 0.6 * ridge + 0.1 * fibre));
        }
    }
    return canvas;
}

Canvas PoleStripes() {
    Canvas canvas(kMarkerSize, kMarkerSize);
    const Rgb red{0.82, 0.08, 0.07};
    const Rgb white{0.95, 0.95, 0.93};
    for (int32_t t = 0; t < kMarkerSize; ++t) {
        for (int32_t s = 0; s < kMarkerSize; ++s) {
            // Diagonal bands, four across the picture, with softened borders.
            const double band = 4.0 * (Unit(s, kMarkerSize) + Unit(t, kMarkerSize));
            const double phase = band - static_cast<int32_t>(band);
            const double redness = Smoothstep(0.45, 0.55, phase) *
                                       (1.0 - Smoothstep(0.95, 1.05, phase)) +
                                   (1.0 - Smoothstep(-0.05, 0.05, phase));
            canvas.Set(s, t, Mix(white, red, redness));
        }
    }
    return canvas;
}

Canvas CourseQuad() {
    constexpr int32_t kSize = 128;
    Canvas canvas(kSize, kSize);
    for (int32_t t = 0; t < kSize; ++t) {
        for (int32_t s = 0; s < kSize; ++s) {
            const bool white = ((s / 16) + (t / 16)) % 2 == 0;
            const double grain = 0.04 * HashUnit(s, t, kMarkerSeed + 3);
            canvas.Set(s, t, white ? Rgb{0.92 + grain, 0.92 + grain, 0.92 + grain}
                                   : Rgb{0.08 + grain, 0.08 + grain, 0.09 + grain});
        }
    }
    return canvas;
}
