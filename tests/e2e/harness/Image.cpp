#include "Image.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unordered_set>

namespace {
// Reads the next header number of a PPM, skipping whitespace and # comments.
bool NextHeaderNumber(const std::string& text, size_t& pos, long& value) {
    for (;;) {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) {
            ++pos;
        }
        if (pos < text.size() && text[pos] == '#') {
            while (pos < text.size() && text[pos] != '\n') {
                ++pos;
            }
            continue;
        }
        break;
    }
    const size_t start = pos;
    value = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) &&
           pos - start < 9) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return pos > start;
}
} // namespace

bool Image::ParsePpm(const std::string& text, std::string* error) {
    size_t pos = 2;
    long width = 0;
    long height = 0;
    long maxValue = 0;
    if (text.compare(0, 2, "P6") != 0 || !NextHeaderNumber(text, pos, width) ||
        !NextHeaderNumber(text, pos, height) || !NextHeaderNumber(text, pos, maxValue)) {
        *error = "not a binary PPM (P6) file";
        return false;
    }
    if (width <= 0 || height <= 0 || maxValue <= 0 || maxValue > 65535 || pos >= text.size() ||
        !std::isspace(static_cast<unsigned char>(text[pos]))) {
        *error = "bad PPM header";
        return false;
    }
    ++pos; // the single whitespace before the samples
    const size_t sampleBytes = maxValue > 255 ? 2 : 1;
    const size_t needed = static_cast<size_t>(width) * height * 3 * sampleBytes;
    if (text.size() - pos < needed) {
        *error = "PPM data is cut short";
        return false;
    }
    *this = Image(static_cast<int>(width), static_cast<int>(height));
    const unsigned char* data = reinterpret_cast<const unsigned char*>(text.data() + pos);
    for (size_t i = 0; i < _pixels.size(); ++i) {
        uint8_t channel[3];
        for (int c = 0; c < 3; ++c) {
            const size_t at = (i * 3 + c) * sampleBytes;
            const long sample = sampleBytes == 2 ? data[at] * 256 + data[at + 1] : data[at];
            channel[c] = static_cast<uint8_t>(sample * 255 / maxValue);
        }
        _pixels[i] = {channel[0], channel[1], channel[2]};
    }
    return true;
}

bool Image::LoadPpm(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParsePpm(text, error);
}

bool Image::SavePpm(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << _width << " " << _height << "\n255\n";
    for (const Rgb& pixel : _pixels) {
        out.put(static_cast<char>(pixel.r)).put(static_cast<char>(pixel.g));
        out.put(static_cast<char>(pixel.b));
    }
    return static_cast<bool>(out);
}

Image Image::Crop(Rect rect) const {
    const int x0 = std::clamp(rect.x, 0, _width);
    const int y0 = std::clamp(rect.y, 0, _height);
    const int x1 = std::clamp(rect.x + rect.width, x0, _width);
    const int y1 = std::clamp(rect.y + rect.height, y0, _height);
    Image part(x1 - x0, y1 - y0);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            part.Set(x - x0, y - y0, At(x, y));
        }
    }
    return part;
}

RegionStats Image::Stats(Rect rect) const {
    const Image part = Crop(rect);
    RegionStats stats;
    stats.pixels = part._width * part._height;
    if (stats.pixels == 0) {
        return stats;
    }
    double sum[3] = {0, 0, 0};
    double squares[3] = {0, 0, 0};
    std::unordered_set<uint32_t> colours;
    for (const Rgb& p : part._pixels) {
        sum[0] += p.r;
        sum[1] += p.g;
        sum[2] += p.b;
        squares[0] += double(p.r) * p.r;
        squares[1] += double(p.g) * p.g;
        squares[2] += double(p.b) * p.b;
        colours.insert(uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b);
    }
    const double n = stats.pixels;
    stats.meanR = sum[0] / n;
    stats.meanG = sum[1] / n;
    stats.meanB = sum[2] / n;
    double variance = 0;
    for (int c = 0; c < 3; ++c) {
        variance += std::max(0.0, squares[c] / n - (sum[c] / n) * (sum[c] / n));
    }
    stats.spread = std::sqrt(variance / 3);
    stats.distinctColors = static_cast<int>(colours.size());
    return stats;
}

double Image::MeanDifference(const Image& a, const Image& b) {
    if (a._width != b._width || a._height != b._height) {
        return -1;
    }
    if (a._pixels.empty()) {
        return 0;
    }
    double total = 0;
    for (size_t i = 0; i < a._pixels.size(); ++i) {
        total += std::abs(a._pixels[i].r - b._pixels[i].r) +
                 std::abs(a._pixels[i].g - b._pixels[i].g) +
                 std::abs(a._pixels[i].b - b._pixels[i].b);
    }
    return total / (3.0 * a._pixels.size());
}

int Image::Count(Rect rect, const ColourTest& test) const {
    const Image part = Crop(rect);
    int count = 0;
    for (const Rgb& p : part._pixels) {
        count += test(p) ? 1 : 0;
    }
    return count;
}

std::vector<bool> Image::FilledColumns(Rect rect, const ColourTest& test, int minCount) const {
    const Image part = Crop(rect);
    std::vector<bool> filled(part._width, false);
    for (int x = 0; x < part._width; ++x) {
        int count = 0;
        for (int y = 0; y < part._height; ++y) {
            count += test(part.At(x, y)) ? 1 : 0;
        }
        filled[x] = count >= minCount;
    }
    return filled;
}

ColumnProfile Image::Profile(Rect rect) const {
    const Image part = Crop(rect);
    ColumnProfile profile(part._width, {0.0, 0.0, 0.0});
    if (part._height == 0) {
        return profile;
    }
    for (int x = 0; x < part._width; ++x) {
        for (int y = 0; y < part._height; ++y) {
            const Rgb& p = part.At(x, y);
            profile[x][0] += p.r;
            profile[x][1] += p.g;
            profile[x][2] += p.b;
        }
        for (double& channel : profile[x]) {
            channel /= part._height;
        }
    }
    return profile;
}

int ColumnsChanged(const std::vector<bool>& a, const std::vector<bool>& b) {
    const size_t common = std::min(a.size(), b.size());
    int changed = static_cast<int>(std::max(a.size(), b.size()) - common);
    for (size_t x = 0; x < common; ++x) {
        changed += a[x] != b[x] ? 1 : 0;
    }
    return changed;
}

double ProfileDifference(const ColumnProfile& a, const ColumnProfile& b, int shift) {
    const int width = static_cast<int>(std::min(a.size(), b.size()));
    const int first = std::max(0, -shift);
    const int end = std::min(width, width - shift);
    if (end <= first) {
        return -1;
    }
    double total = 0;
    for (int x = first; x < end; ++x) {
        for (int c = 0; c < 3; ++c) {
            total += std::abs(a[x][c] - b[x + shift][c]);
        }
    }
    return total / (3.0 * (end - first));
}

int BestShift(const ColumnProfile& a, const ColumnProfile& b, int maxShift) {
    const int width = static_cast<int>(std::min(a.size(), b.size()));
    int best = 0;
    double bestDifference = ProfileDifference(a, b, 0);
    for (int shift = -maxShift; shift <= maxShift; ++shift) {
        if (width - std::abs(shift) < (width + 1) / 2) {
            continue;
        }
        const double difference = ProfileDifference(a, b, shift);
        if (difference >= 0 && difference < bestDifference) {
            bestDifference = difference;
            best = shift;
        }
    }
    return best;
}
