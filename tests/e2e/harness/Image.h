// Screenshots for the end-to-end tests: an RGB image read from a binary PPM (P6) file,
// cut into regions, and summarised by small statistics that tests compare.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Mean and spread of a region; spread is the standard deviation of a channel's values,
// averaged over the three channels (0 for a region of one colour).
struct RegionStats {
    double meanR = 0;
    double meanG = 0;
    double meanB = 0;
    double spread = 0;
    int distinctColors = 0;
    int pixels = 0;

    double Brightness() const { return (meanR + meanG + meanB) / 3.0; }
};

// A colour class: true for the pixels that belong to it.
using ColourTest = std::function<bool(const Rgb&)>;

// The mean colour of each column of a region, left to right.
using ColumnProfile = std::vector<std::array<double, 3>>;

class Image {
public:
    Image() = default;
    Image(int width, int height) : _width(width), _height(height), _pixels(width * height) {}

    // Replaces the image by the PPM in text; false (with the reason) when it is not one.
    bool ParsePpm(const std::string& text, std::string* error);
    bool LoadPpm(const std::string& path, std::string* error);
    bool SavePpm(const std::string& path) const;

    int Width() const { return _width; }
    int Height() const { return _height; }
    bool Empty() const { return _pixels.empty(); }
    const Rgb& At(int x, int y) const { return _pixels[y * _width + x]; }
    void Set(int x, int y, Rgb colour) { _pixels[y * _width + x] = colour; }

    // The part of the image inside rect (clipped to the image).
    Image Crop(Rect rect) const;
    RegionStats Stats(Rect rect) const;
    RegionStats Stats() const { return Stats({0, 0, _width, _height}); }
    // The two halves as the game splits its window: with an odd height the topmost row
    // belongs to neither.
    Rect TopHalf() const { return {0, _height - 2 * (_height / 2), _width, _height / 2}; }
    Rect BottomHalf() const { return {0, _height - _height / 2, _width, _height / 2}; }
    // Mean absolute difference per channel between two images of the same size (-1 if not).
    static double MeanDifference(const Image& a, const Image& b);

    // How many pixels of the region pass the test.
    int Count(Rect rect, const ColourTest& test) const;
    // For each column of the region: does it hold at least minCount pixels that pass? A
    // vertical shift of the picture (the racers' bobbing) leaves this alone; a sideways one
    // (turning, or posts passing by) does not.
    std::vector<bool> FilledColumns(Rect rect, const ColourTest& test, int minCount) const;
    ColumnProfile Profile(Rect rect) const;

private:
    int _width = 0;
    int _height = 0;
    std::vector<Rgb> _pixels; // rows top to bottom
};

// Columns that are filled in one list and not in the other (lists of different length
// count every column of the longer one past the shorter).
int ColumnsChanged(const std::vector<bool>& a, const std::vector<bool>& b);
// Mean absolute difference per channel of a[x] and b[x + shift] over the columns both have.
double ProfileDifference(const ColumnProfile& a, const ColumnProfile& b, int shift = 0);
// The shift, within +-maxShift and keeping at least half of the columns, for which b best
// matches a: positive when the picture has moved to the right from a to b.
int BestShift(const ColumnProfile& a, const ColumnProfile& b, int maxShift);
