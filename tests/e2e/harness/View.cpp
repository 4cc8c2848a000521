#include "View.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

bool IsBlue(const Rgb& p) {
    return p.b > p.g && p.g > p.r && p.b >= p.r + 40;
}

bool IsItem(const Rgb& p) {
    return p.g >= p.r + 60 && p.g >= p.b + 50 && p.b + 10 >= p.r;
}

bool IsGround(const Rgb& p) {
    const bool grass = p.g > p.r && p.g >= p.b + 15 && !IsItem(p);
    const bool road =
        std::abs(p.r - p.g) <= 12 && std::abs(p.g - p.b) <= 12 && std::max({p.r, p.g, p.b}) < 140;
    return grass || road;
}

// Posts are a darker, redder brown (green about two thirds of red) than the ropes' tan.
bool IsPost(const Rgb& p) {
    return p.r > p.g && p.g > p.b && p.r >= 60 && p.r < 190 && p.g >= p.b + 20 &&
           p.g * 100 < p.r * 78;
}

bool IsRope(const Rgb& p) {
    return p.r > p.g && p.g > p.b && p.r >= 140 && p.r >= p.b + 40 && p.g * 100 >= p.r * 78;
}

bool IsPoleRed(const Rgb& p) {
    return p.r >= 150 && p.g < 110 && p.b < 110 && p.r >= p.g + 80;
}

bool IsHudText(const Rgb& p) {
    return p.r == 255 && p.g == 255 && p.b == 255;
}

namespace {
// The heads-up line's baseline is 2.5 % of the half's height below its top; the glyphs
// reach a few rows below it.
int HudRows(int height) {
    return height / 40 + 5;
}
} // namespace

Rect HudBand(int width, int height) {
    return {0, 0, std::min(width, 320), HudRows(height)};
}

Rect SkyBand(int width, int height) {
    const int top = HudRows(height);
    return {0, top, width, std::max(0, height / 2 - height / 12 - top)};
}

Rect LowBand(int width, int height) {
    return {0, height * 2 / 3, width, height - height * 2 / 3};
}

Rect SceneBand(int width, int height) {
    const int top = HudRows(height);
    return {0, top, width, std::max(0, height - top)};
}

std::string ViewMeasure::Describe() const {
    std::ostringstream text;
    text << "half " << width << " x " << height << ": hud text " << hudText << ", sky " << sky
         << ", water " << water << ", ground " << ground << " of "
         << BandPixels(LowBand(width, height)) << ", posts " << posts << ", ropes " << ropes
         << ", pole red " << poleRed << ", items " << items;
    return text.str();
}

ViewMeasure MeasureView(const Image& half) {
    const int w = half.Width();
    const int h = half.Height();
    ViewMeasure view;
    view.width = w;
    view.height = h;
    view.hudText = half.Count(HudBand(w, h), IsHudText);
    view.sky = half.Count(SkyBand(w, h), IsBlue);
    view.water = half.Count(LowBand(w, h), IsBlue);
    view.ground = half.Count(LowBand(w, h), IsGround);
    view.posts = half.Count(SceneBand(w, h), IsPost);
    view.ropes = half.Count(SceneBand(w, h), IsRope);
    view.poleRed = half.Count(SkyBand(w, h), IsPoleRed);
    view.items = half.Count(SceneBand(w, h), IsItem);
    return view;
}

ViewMeasure MeasureTop(const Image& window) {
    return MeasureView(window.Crop(window.TopHalf()));
}

ViewMeasure MeasureBottom(const Image& window) {
    return MeasureView(window.Crop(window.BottomHalf()));
}

bool ShowsHudInBothHalves(const Image& window) {
    constexpr int kMinTextPixels = 60; // about six glyphs of "FPS:..."
    return !window.Empty() && MeasureTop(window).hudText >= kMinTextPixels &&
           MeasureBottom(window).hudText >= kMinTextPixels;
}

void ExpectSceneInBothHalves(const Image& window) {
    for (const ViewMeasure& view : {MeasureTop(window), MeasureBottom(window)}) {
        EXPECT_GT(view.sky, view.BandPixels(SkyBand(view.width, view.height)) / 3)
            << view.Describe();
        EXPECT_GT(view.ground, view.BandPixels(LowBand(view.width, view.height)) / 2)
            << view.Describe();
        EXPECT_GT(view.posts, 0) << view.Describe();
    }
}

std::vector<bool> NearPostColumns(const Image& half) {
    return half.FilledColumns(SceneBand(half.Width(), half.Height()), IsPost,
                              std::max(1, half.Height() / 6));
}

ColumnProfile SceneProfile(const Image& half) {
    return half.Profile(SceneBand(half.Width(), half.Height()));
}
