// What one half of the game window shows, measured by the colours the built data paints:
// sky and water are blue, grass green, the road grey, posts brown, ropes tan, the race pole
// red and white, the items bright green gems and the heads-up line pure white. The racers
// look level, so the horizon is the middle row of a half: sky above, ground below.
#pragma once

#include <string>
#include <vector>

#include "Image.h"

// The colour classes of the scene.
bool IsBlue(const Rgb& p);   // sky above the horizon, water below it
bool IsGround(const Rgb& p); // grass or road
bool IsPost(const Rgb& p);
bool IsRope(const Rgb& p);
bool IsPoleRed(const Rgb& p); // red stripes; the curbs are red too, but lie below the horizon
bool IsItem(const Rgb& p);
bool IsHudText(const Rgb& p); // the heads-up line is the only pure white of the scene

// Bands of a half of the given size.
Rect HudBand(int width, int height);   // where the heads-up line stands
Rect SkyBand(int width, int height);   // above the horizon, below the heads-up line
Rect LowBand(int width, int height);   // the lowest third: ground (or water) near the racer
Rect SceneBand(int width, int height); // everything but the heads-up line

// Pixel counts of one half.
struct ViewMeasure {
    int width = 0;
    int height = 0;
    int hudText = 0; // in the heads-up band
    int sky = 0;     // blue in the sky band
    int water = 0;   // blue in the low band
    int ground = 0;  // grass or road in the low band
    int posts = 0;
    int ropes = 0;
    int poleRed = 0; // red in the sky band
    int items = 0;

    int BandPixels(Rect band) const { return band.width * band.height; }
    // One line per count, for failure messages.
    std::string Describe() const;
};

ViewMeasure MeasureView(const Image& half);
ViewMeasure MeasureTop(const Image& window);
ViewMeasure MeasureBottom(const Image& window);
// Both halves show the heads-up line (at least a few glyphs' worth of its white).
bool ShowsHudInBothHalves(const Image& window);
// Expects the scene in both halves: sky above, ground below, posts.
void ExpectSceneInBothHalves(const Image& window);

// Columns with a near post (one at least a sixth of the half tall) in the scene band.
std::vector<bool> NearPostColumns(const Image& half);
// Mean colour of each column of the scene band.
ColumnProfile SceneProfile(const Image& half);
