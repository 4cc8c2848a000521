#include "GemArt.h"

#include <cmath>

namespace {
constexpr int32_t kSubsamples = 4;  // per pixel and axis, for smooth outlines
constexpr double kHalfWidth = 0.62;  // the gem's extent in x and z (y is 0.95)
constexpr double kHalfHeight = 0.95;
constexpr double kTilt = 0.35;       // radians, toward the viewer, to show the upper facets
const Rgb kGemColour{0.10, 0.78, 0.42};

// The gem's orientation: a turn about y by `spin`, then a tilt about x.
struct Pose {
    double cosSpin, sinSpin, cosTilt, sinTilt;

    Dir ToWorld(Dir d) const {
        const Dir spun{cosSpin * d.x + sinSpin * d.z, d.y, -sinSpin * d.x + cosSpin * d.z};
        return {spun.x, cosTilt * spun.y - sinTilt * spun.z, sinTilt * spun.y + cosTilt * spun.z};
    }
    Dir ToGem(Dir d) const {
        const Dir untilted{d.x, cosTilt * d.y + sinTilt * d.z, -sinTilt * d.y + cosTilt * d.z};
        return {cosSpin * untilted.x - sinSpin * untilted.z, untilted.y,
                sinSpin * untilted.x + cosSpin * untilted.z};
    }
};

struct Hit {
    bool found;
    Dir normal;  // of the facet the view ray enters, in gem space
    int32_t facet;
};

// The view ray through (x, y) runs along -z. The gem is the solid
// |x| / kHalfWidth + |y| / kHalfHeight + |z| / kHalfWidth <= 1, eight half-spaces.
Hit CastRay(const Pose& pose, double x, double y) {
    const Dir origin = pose.ToGem({x, y, 4.0});
    const Dir direction = pose.ToGem({0.0, 0.0, -1.0});
    double enter = -1e9;
    double leave = 1e9;
    Hit hit{false, {0, 0, 0}, 0};
    for (int32_t facet = 0; facet < 8; ++facet) {
        const Dir n{(facet & 1 ? -1.0 : 1.0) / kHalfWidth, (facet & 2 ? -1.0 : 1.0) / kHalfHeight,
                    (facet & 4 ? -1.0 : 1.0) / kHalfWidth};
        const double along = Dot(n, direction);
        const double room = 1.0 - Dot(n, origin);
        if (along < 0.0 && room / along > enter) {
            enter = room / along;
            hit.normal = n;
            hit.facet = facet;
        } else if (along > 0.0 && room / along < leave) {
            leave = room / along;
        } else if (along == 0.0 && room < 0.0) {
            return hit;
        }
    }
    hit.found = enter <= leave;
    return hit;
}

Rgb Shade(const Pose& pose, const Hit& hit) {
    const Dir normal = Normalized(pose.ToWorld(hit.normal));
    const Dir light = Normalized({-0.45, 0.75, 0.55});
    const double diffuse = std::fmax(0.0, Dot(normal, light));
    // Mirror of the light about the normal, against the viewer at +z.
    const double mirrored = 2.0 * Dot(normal, light) * normal.z - light.z;
    const double specular = Power(std::fmax(0.0, mirrored), 24);
    const double facetTone = (hit.facet & 2) ? 0.85 : 1.05;  // lower facets a little darker
    const Rgb body = kGemColour * ((0.30 + 0.75 * diffuse) * facetTone);
    return body + Rgb{1.0, 1.0, 1.0} * (0.85 * specular);
}
}  // namespace

Canvas GemFrame(int32_t frame, int32_t size) {
    const double spin = (kPi / 2.0) * frame / kGemFrames;
    const Pose pose{Cosine(spin), Sine(spin), Cosine(kTilt), Sine(kTilt)};
    Canvas canvas(size, size);
    for (int32_t t = 0; t < size; ++t) {
        for (int32_t s = 0; s < size; ++s) {
            Rgb sum{0.0, 0.0, 0.0};
            int32_t covered = 0;
            for (int32_t j = 0; j < kSubsamples; ++j) {
                for (int32_t i = 0; i < kSubsamples; ++i) {
                    const double x = ((s + (i + 0.5) / kSubsamples) / size * 2.0 - 1.0) * 1.1;
                    const double y = ((t + (j + 0.5) / kSubsamples) / size * 2.0 - 1.0) * 1.1;
                    const Hit hit = CastRay(pose, x, y);
                    if (hit.found) {
                        sum = sum + Shade(pose, hit);
                        ++covered;
                    }
                }
            }
            // Transparent texels keep the gem's colour so that filtering leaves no dark rim.
            const Rgb colour = covered > 0 ? sum * (1.0 / covered) : kGemColour;
            canvas.Set(s, t, colour, covered / static_cast<double>(kSubsamples * kSubsamples));
        }
    }
    return canvas;
}
