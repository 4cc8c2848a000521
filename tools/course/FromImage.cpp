#include "FromImage.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>

#include "check/CourseCheck.h"
#include "check/CourseCost.h"
#include "course/CourseData.h"

namespace {
enum class Ground : uint8_t { Blocked, Track, Red, Start };

struct Cell {
    int32_t x;
    int32_t y;
};

// Where each cell lies in the picture: line x covers rows Row(x) to Row(x + 1) - 1, column y
// covers picture columns Column(y) to Column(y + 1) - 1.
struct Sampling {
    uint32_t width;
    uint32_t height;
    int32_t size;

    uint32_t Row(int32_t x) const { return static_cast<uint32_t>(uint64_t(x) * height / size); }
    uint32_t Column(int32_t y) const { return static_cast<uint32_t>(uint64_t(y) * width / size); }
    // Cells x0..x1, y0..y1 as pixels, x across from the left and y down from the top.
    std::string Pixels(int32_t x0, int32_t x1, int32_t y0, int32_t y1) const {
        std::ostringstream text;
        text << "pixels x " << Column(y0) << ".." << Column(y1 + 1) - 1 << ", y " << Row(x0) << ".."
             << Row(x1 + 1) - 1;
        return text.str();
    }
};

struct Box {
    int32_t x0, x1, y0, y1;
};

Box BoxOf(const std::vector<Cell>& cells) {
    Box box{cells[0].x, cells[0].x, cells[0].y, cells[0].y};
    for (const Cell& cell : cells) {
        box = Box{std::min(box.x0, cell.x), std::max(box.x1, cell.x), std::min(box.y0, cell.y),
                  std::max(box.y1, cell.y)};
    }
    return box;
}

class Grid {
public:
    explicit Grid(int32_t size) : _size(size), _cells(size_t(size) * size, Ground::Blocked) {}
    int32_t Size() const { return _size; }
    bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < _size && y < _size; }
    Ground Get(int32_t x, int32_t y) const {
        return Inside(x, y) ? _cells[size_t(x) * _size + y] : Ground::Blocked;
    }
    void Set(int32_t x, int32_t y, Ground ground) { _cells[size_t(x) * _size + y] = ground; }
    bool Drivable(int32_t x, int32_t y) const { return Get(x, y) != Ground::Blocked; }

    // The connected pieces of the cells that pass the test; `diagonal` joins corners too.
    template <typename Test> std::vector<std::vector<Cell>> Pieces(Test test, bool diagonal) const {
        std::vector<std::vector<Cell>> pieces;
        std::vector<bool> seen(_cells.size(), false);
        for (int32_t x = 0; x < _size; ++x) {
            for (int32_t y = 0; y < _size; ++y) {
                if (seen[size_t(x) * _size + y] || !test(x, y)) {
                    continue;
                }
                seen[size_t(x) * _size + y] = true;
                std::vector<Cell> piece{{x, y}};
                for (size_t next = 0; next < piece.size(); ++next) {
                    const Cell here = piece[next];
                    for (int32_t dx = -1; dx <= 1; ++dx) {
                        for (int32_t dy = -1; dy <= 1; ++dy) {
                            const Cell near{here.x + dx, here.y + dy};
                            if ((dx == 0 && dy == 0) || (!diagonal && dx != 0 && dy != 0) ||
                                !Inside(near.x, near.y) || seen[size_t(near.x) * _size + near.y] ||
                                !test(near.x, near.y)) {
                                continue;
                            }
                            seen[size_t(near.x) * _size + near.y] = true;
                            piece.push_back(near);
                        }
                    }
                }
                pieces.push_back(std::move(piece));
            }
        }
        return pieces;
    }

private:
    int32_t _size;
    std::vector<Ground> _cells;
};

enum class Shade { Dark, Light, Red };

Shade ShadeOf(const uint8_t* pixel) {
    const int r = pixel[0];
    const int g = pixel[1];
    const int b = pixel[2];
    if (pixel[3] < kOpaqueAlpha) {
        return Shade::Dark;
    }
    if (r - std::max(g, b) >= kRedMargin) {
        return Shade::Red;
    }
    return 299 * r + 587 * g + 114 * b >= kLightLuminance * 1000 ? Shade::Light : Shade::Dark;
}

// A cell from the pixels it covers: on the start stroke when a third of them are red, else track
// when more of them are light than dark.
Ground GroundOf(uint64_t dark, uint64_t light, uint64_t red) {
    return red * kRedShareDivisor >= dark + light + red ? Ground::Red
           : light > dark                               ? Ground::Track
                                                        : Ground::Blocked;
}

// Where the red pixels of the picture lie, whether or not they make a cell red.
struct RedPixels {
    uint64_t count = 0;
    uint32_t left = UINT32_MAX, right = 0, top = UINT32_MAX, bottom = 0;
};

Grid Sample(const Picture& picture, const Sampling& at, RedPixels& red) {
    Grid grid(at.size);
    for (int32_t x = 0; x < at.size; ++x) {
        for (int32_t y = 0; y < at.size; ++y) {
            uint64_t counts[3] = {0, 0, 0};
            for (uint32_t row = at.Row(x); row < at.Row(x + 1); ++row) {
                for (uint32_t column = at.Column(y); column < at.Column(y + 1); ++column) {
                    const Shade shade = ShadeOf(picture.At(column, row));
                    ++counts[static_cast<int>(shade)];
                    if (shade == Shade::Red) {
                        red = RedPixels{red.count + 1, std::min(red.left, column),
                                        std::max(red.right, column), std::min(red.top, row),
                                        std::max(red.bottom, row)};
                    }
                }
            }
            grid.Set(x, y, GroundOf(counts[0], counts[1], counts[2]));
        }
    }
    return grid;
}

// A dark track drawn on light paper: the light part reaches all four edges of the picture and
// covers more of it than the dark part, as paper does and a track drawn as asked never does.
bool ColoursSwapped(const Grid& grid) {
    const int32_t last = grid.Size() - 1;
    bool edges[4] = {false, false, false, false};  // top, bottom, left, right
    int64_t light = 0;
    for (int32_t x = 0; x <= last; ++x) {
        for (int32_t y = 0; y <= last; ++y) {
            if (grid.Get(x, y) != Ground::Track) {
                continue;
            }
            ++light;
            edges[0] = edges[0] || x == 0;
            edges[1] = edges[1] || x == last;
            edges[2] = edges[2] || y == 0;
            edges[3] = edges[3] || y == last;
        }
    }
    const int64_t cells = int64_t(last + 1) * (last + 1);
    return edges[0] && edges[1] && edges[2] && edges[3] && 2 * light > cells;
}

// The grid's edge is blocked ground, whatever the picture holds there.
void BlockTheEdge(Grid& grid, const Sampling& at, CourseFromPicture& report) {
    std::vector<Cell> cut;
    const int32_t last = grid.Size() - 1;
    for (int32_t x = 0; x <= last; ++x) {
        for (int32_t y = 0; y <= last; ++y) {
            if (x == 0 || y == 0 || x == last || y == last) {
                if (grid.Drivable(x, y)) {
                    cut.push_back({x, y});
                }
                grid.Set(x, y, Ground::Blocked);
            }
        }
    }
    if (!cut.empty()) {
        std::ostringstream line;
        line << "the track reaches the picture's edge in " << cut.size()
             << (cut.size() == 1 ? " cell" : " cells") << ", first at "
             << at.Pixels(cut[0].x, cut[0].x, cut[0].y, cut[0].y)
             << "; the course's edge is blocked ground, so the track ends one cell inside";
        report.warnings.push_back(line.str());
    }
}

// Red cells of a stroke become track on the lines where the picture shows track just left or
// right of the stroke, and blocked ground elsewhere (a stroke drawn past the track's edges).
// Returns, per line of the stroke's box, whether it lies on track.
std::vector<bool> SettleStroke(Grid& grid, const std::vector<Cell>& stroke, const Box& box) {
    std::vector<bool> onTrack(size_t(box.x1 - box.x0 + 1), false);
    for (int32_t x = box.x0; x <= box.x1; ++x) {
        onTrack[x - box.x0] =
            grid.Get(x, box.y0 - 1) == Ground::Track || grid.Get(x, box.y1 + 1) == Ground::Track;
    }
    for (const Cell& cell : stroke) {
        grid.Set(cell.x, cell.y, onTrack[cell.x - box.x0] ? Ground::Track : Ground::Blocked);
    }
    return onTrack;
}

// The start row: lines x0..x1 of column y, with blocked ground beyond both ends.
struct StartRow {
    int32_t x0, x1, y;
};

// The first cell that keeps the start row from spanning a stretch of track, said with its
// place in the picture; empty when the row spans one.
std::string FirstCellOffTheStretch(const Grid& grid, const StartRow& start, const Sampling& at) {
    const auto pixels = [&at](int32_t x, int32_t y) { return at.Pixels(x, x, y, y); };
    const int32_t y = start.y;
    if (grid.Drivable(start.x0 - 1, y)) {
        return "there is track above it, at " + pixels(start.x0 - 1, y);
    }
    if (grid.Drivable(start.x1 + 1, y)) {
        return "there is track below it, at " + pixels(start.x1 + 1, y);
    }
    for (int32_t x = start.x0; x <= start.x1; ++x) {
        const bool left = grid.Drivable(x, y - 1);
        const bool right = grid.Drivable(x, y + 1);
        const bool end = x == start.x0 || x == start.x1;
        if ((!left && !right) || (!end && !left)) {
            return "there is no track left of it at " + pixels(x, y - 1);
        }
        if (!end && !right) {
            return "there is no track right of it at " + pixels(x, y + 1);
        }
    }
    return "";
}

// Finds the start stroke, turns it into start cells and checks that it crosses a left-right
// stretch of track. Returns false when there is no start row to drive a lap from.
bool PlaceStart(Grid& grid, const Sampling& at, const RedPixels& red, CourseFromPicture& report,
                StartRow& start) {
    const auto isRed = [&grid](int32_t x, int32_t y) { return grid.Get(x, y) == Ground::Red; };
    const std::vector<std::vector<Cell>> strokes = grid.Pieces(isRed, true);
    for (const std::vector<Cell>& stroke : strokes) {
        SettleStroke(grid, stroke, BoxOf(stroke));
    }
    const uint32_t cellRows = std::max<uint32_t>(1, at.height / uint32_t(at.size));
    if (strokes.empty() && red.count >= cellRows) {
        // Red that makes no cell red: a stroke narrower than a cell needs, wherever it lies,
        // two thirds of a cell, so that one of the two cells it may straddle is a third red.
        const double cellColumns = double(at.width) / at.size;
        const auto needed = static_cast<uint32_t>(std::ceil(cellColumns * 2 / 3));
        std::ostringstream line;
        line << "no start stroke: the red at pixels x " << red.left << ".." << red.right << ", y "
             << red.top << ".." << red.bottom << " is too thin for the " << at.size << " x "
             << at.size << " grid (a cell is " << cellColumns
             << " pixels across, and a third of it must be red); draw the stroke at least "
             << needed << " pixels wide";
        report.problems.push_back(line.str());
        return false;
    }
    if (strokes.empty()) {
        report.problems.push_back(
            "no start stroke: draw a red line up-down across a stretch of track that runs "
            "left-right, where the racers start (they drive off toward the left)");
        return false;
    }
    if (strokes.size() > 1) {
        std::ostringstream line;
        line << strokes.size() << " red strokes, at ";
        for (size_t i = 0; i < strokes.size() && i < 5; ++i) {
            const Box box = BoxOf(strokes[i]);
            line << (i > 0 ? "; " : "") << at.Pixels(box.x0, box.x1, box.y0, box.y1);
        }
        line << (strokes.size() > 5 ? "; ..." : "") << ": draw one start stroke";
        report.problems.push_back(line.str());
        return false;
    }
    const std::vector<Cell>& stroke = strokes[0];
    const Box box = BoxOf(stroke);
    const std::string where = "the start stroke at " + at.Pixels(box.x0, box.x1, box.y0, box.y1);
    if (box.y1 - box.y0 > box.x1 - box.x0) {
        report.problems.push_back(where + " runs left-right; draw it up-down across a stretch "
                                          "of track that runs left-right");
        return false;
    }
    // Its start column: the column of the stroke with the most red cells, the first of equals.
    std::vector<int32_t> perColumn(size_t(box.y1 - box.y0 + 1), 0);
    for (const Cell& cell : stroke) {
        ++perColumn[cell.y - box.y0];
    }
    const int32_t y =
        box.y0 + static_cast<int32_t>(std::max_element(perColumn.begin(), perColumn.end()) -
                                      perColumn.begin());
    std::vector<bool> redInColumn(size_t(box.x1 - box.x0 + 1), false);
    for (const Cell& cell : stroke) {
        redInColumn[cell.x - box.x0] = redInColumn[cell.x - box.x0] || cell.y == y;
    }
    std::vector<int32_t> lines;
    for (int32_t x = box.x0; x <= box.x1; ++x) {
        if (redInColumn[x - box.x0] && grid.Get(x, y) == Ground::Track) {
            grid.Set(x, y, Ground::Start);
            lines.push_back(x);
        }
    }
    if (lines.empty()) {
        report.problems.push_back(where + " lies on no track; draw it across the track");
        return false;
    }
    start = StartRow{lines.front(), lines.back(), y};
    const auto cells = static_cast<int32_t>(lines.size());
    if (cells != start.x1 - start.x0 + 1) {
        report.problems.push_back(where + " crosses the track more than once; draw it across "
                                          "one stretch of track");
        return false;
    }
    const std::string crossing = "the start stroke at " +
                                 at.Pixels(start.x0, start.x1, start.y, start.y) + " crosses " +
                                 std::to_string(cells) + (cells == 1 ? " cell" : " cells");
    if (cells < kFewestStartCells || cells > kStartTableSize) {
        report.problems.push_back(
            crossing + " of track; it must cross " + std::to_string(kFewestStartCells) + " to " +
            std::to_string(kStartTableSize) +
            " (4 is best), so draw it where the track is that wide: the racers and the race poles "
            "stand on these cells");
    }
    // The stroke spans the track from blocked ground to blocked ground, with track beside it
    // on both sides. Where the stretch runs aslant (up to about 30 degrees from left-right) its
    // edges step by a cell from one column to the next, so beside the stroke's two end cells
    // track is needed on one side only.
    const std::string failed = FirstCellOffTheStretch(grid, start, at);
    if (!failed.empty()) {
        report.problems.push_back(
            crossing + " but does not cross a left-right stretch of track from its dark edge to "
                       "its dark edge, with track on both sides of it: " + failed +
            "; draw it up-down across the whole track where the track runs within about 30 "
            "degrees of left-right");
        return false;
    }
    if (cells >= kFewestStartCells && cells <= kStartTableSize) {
        std::ostringstream note;
        note << "start: " << cells << " cells at " << at.Pixels(start.x0, start.x1, y, y)
             << "; the racers drive off toward the left";
        report.notes.push_back(note.str());
    }
    return true;
}

// True when a lap closes: from the cells just left of the start row, over drivable cells that
// are neither start cells nor `left out`, a racer reaches a cell just right of it.
template <typename LeftOut>
bool LapCloses(const Grid& grid, const StartRow& start, LeftOut leftOut) {
    const int32_t size = grid.Size();
    std::vector<bool> seen(size_t(size) * size, false);
    std::vector<Cell> queue;
    const auto visit = [&](int32_t x, int32_t y) {
        if (grid.Drivable(x, y) && grid.Get(x, y) != Ground::Start && !leftOut(x, y) &&
            !seen[size_t(x) * size + y]) {
            seen[size_t(x) * size + y] = true;
            queue.push_back({x, y});
        }
    };
    for (int32_t x = start.x0; x <= start.x1; ++x) {
        visit(x, start.y - 1);
    }
    for (size_t next = 0; next < queue.size(); ++next) {
        const Cell here = queue[next];
        visit(here.x + 1, here.y);
        visit(here.x - 1, here.y);
        visit(here.x, here.y + 1);
        visit(here.x, here.y - 1);
    }
    for (int32_t x = start.x0; x <= start.x1; ++x) {
        if (grid.Inside(x, start.y + 1) && seen[size_t(x) * size + start.y + 1]) {
            return true;
        }
    }
    return false;
}

// How wide the track is drawn, in pixels: for each light (or red) pixel the shorter of the two
// runs of such pixels through it, across and up-down, and the median of those. 0 when the
// picture has no light pixel.
double TrackPixelWidth(const Picture& picture) {
    const uint32_t width = picture.width;
    const uint32_t height = picture.height;
    std::vector<uint16_t> across(size_t(width) * height, 0);
    const auto onTrack = [&picture](uint32_t column, uint32_t row) {
        return ShadeOf(picture.At(column, row)) != Shade::Dark;
    };
    // The run across through each pixel, then the shorter of it and the run up-down.
    for (uint32_t row = 0; row < height; ++row) {
        for (uint32_t column = 0; column < width;) {
            uint32_t end = column;
            while (end < width && onTrack(end, row)) {
                ++end;
            }
            for (uint32_t c = column; c < end; ++c) {
                across[size_t(row) * width + c] = uint16_t(std::min<uint32_t>(end - column, 65535));
            }
            column = end == column ? column + 1 : end;
        }
    }
    std::vector<uint64_t> widths;  // how many pixels have each local width
    uint64_t count = 0;
    for (uint32_t column = 0; column < width; ++column) {
        for (uint32_t row = 0; row < height;) {
            uint32_t end = row;
            while (end < height && onTrack(column, end)) {
                ++end;
            }
            for (uint32_t r = row; r < end; ++r) {
                const uint32_t local = std::min<uint32_t>(end - row, across[size_t(r) * width + column]);
                if (widths.size() <= local) {
                    widths.resize(local + 1, 0);
                }
                ++widths[local];
                ++count;
            }
            row = end == row ? row + 1 : end;
        }
    }
    uint64_t seen = 0;
    for (size_t local = 0; local < widths.size(); ++local) {
        seen += widths[local];
        if (count > 0 && 2 * seen >= count) {
            return double(local);
        }
    }
    return 0.0;
}

// The drivable cells that a square of kNarrowestTrack x kNarrowestTrack drivable cells covers.
std::vector<bool> WideCells(const Grid& grid) {
    const int32_t size = grid.Size();
    const int32_t side = kNarrowestTrack;
    std::vector<bool> wide(size_t(size) * size, false);
    for (int32_t x = 0; x + side <= size; ++x) {
        for (int32_t y = 0; y + side <= size; ++y) {
            bool square = true;
            for (int32_t i = 0; i < side * side && square; ++i) {
                square = grid.Drivable(x + i / side, y + i % side);
            }
            for (int32_t i = 0; i < side * side && square; ++i) {
                wide[size_t(x + i / side) * size + y + i % side] = true;
            }
        }
    }
    return wide;
}

// A straight stretch of track as drawn: the pixels whose centres lie within half its width of
// its centre line (from -half up to, not including, +half across it, so that a stretch drawn
// along the rows or columns covers exactly its width in pixels).
struct Stretch {
    double centreU, centreV;  // a point of the centre line: across, down, in pixels
    double normalU, normalV;  // the unit normal of the centre line
    double half;

    // How many of the columns [c0, c1) of pixel row `row` lie on the stretch.
    uint32_t PixelsInRow(uint32_t row, uint32_t c0, uint32_t c1) const {
        const double along = normalV * (row + 0.5 - centreV);
        double first = c0, end = c1;  // the columns on it: [first, end)
        if (std::fabs(normalU) < 1e-12) {
            end = along >= -half && along < half ? end : first;
        } else {
            const double a = centreU + (-half - along) / normalU - 0.5;
            const double b = centreU + (half - along) / normalU - 0.5;
            // a column c lies on it when c is in [a, b) (normal toward +u) or (b, a]
            first = std::max(first, normalU > 0 ? std::ceil(a) : std::floor(b) + 1.0);
            end = std::min(end, normalU > 0 ? std::ceil(b) : std::floor(a) + 1.0);
        }
        return end > first ? static_cast<uint32_t>(end - first) : 0;
    }
};

// The grid's first `lines` x `columns` cells read from a picture that holds nothing but the
// stretch, light on dark, by the rule that reads a drawing.
Grid SampleStretch(const Sampling& at, const Stretch& stretch, int32_t lines, int32_t columns) {
    Grid grid(at.size);
    for (int32_t x = 0; x < lines; ++x) {
        for (int32_t y = 0; y < columns; ++y) {
            uint64_t light = 0;
            for (uint32_t row = at.Row(x); row < at.Row(x + 1); ++row) {
                light += stretch.PixelsInRow(row, at.Column(y), at.Column(y + 1));
            }
            const uint64_t all =
                uint64_t(at.Row(x + 1) - at.Row(x)) * (at.Column(y + 1) - at.Column(y));
            grid.Set(x, y, GroundOf(all - light, light, 0));
        }
    }
    return grid;
}

// True when straight stretches `width` pixels wide, in every direction and at every place
// against the cells, read as track that the width rule finds wide all along: squares of
// kNarrowestTrack x kNarrowestTrack track cells join from one end of the stretch to the other.
// Each runs through a window of 16 x 8 cells, left-right (or up-down, in 8 x 16 cells),
// aslant by up to 45 degrees on the grid, and is tried at four places across the cells.
bool StretchesReadWide(const Sampling& at, uint32_t width) {
    constexpr int32_t kLong = 16, kShort = 8, kSlants = 30, kShifts = 4;
    const double cellU = double(at.width) / at.size, cellV = double(at.height) / at.size;
    const double shiftStep = std::max(cellU, cellV) / kShifts;
    for (const bool upDown : {false, true}) {
        const int32_t lines = upDown ? kShort : kLong, columns = upDown ? kLong : kShort;
        for (int32_t slant = -kSlants; slant <= kSlants; ++slant) {
            // The direction on the grid, in cells, and so in pixels.
            const double angle = std::atan(1.0) * slant / kSlants;
            const double alongU = (upDown ? std::sin(angle) : std::cos(angle)) * cellU;
            const double alongV = (upDown ? std::cos(angle) : std::sin(angle)) * cellV;
            const double normalU = -alongV / std::hypot(alongU, alongV);
            const double normalV = alongU / std::hypot(alongU, alongV);
            for (int32_t shift = 0; shift < kShifts; ++shift) {
                const double across = shift * shiftStep;
                const Stretch stretch{at.Column(columns) / 2.0 + normalU * across,
                                      at.Row(lines) / 2.0 + normalV * across, normalU, normalV,
                                      width / 2.0};
                const Grid grid = SampleStretch(at, stretch, lines, columns);
                const std::vector<bool> wide = WideCells(grid);
                const auto isWide = [&](int32_t x, int32_t y) {
                    return wide[size_t(x) * at.size + y];
                };
                const auto joins = [&](const std::vector<Cell>& piece) {
                    const auto atEnd = [&](int32_t end) {
                        return std::any_of(piece.begin(), piece.end(), [&](const Cell& cell) {
                            return (upDown ? cell.x : cell.y) == end;
                        });
                    };
                    return atEnd(0) && atEnd(kShort - 1);
                };
                const std::vector<std::vector<Cell>> pieces = grid.Pieces(isWide, false);
                if (std::none_of(pieces.begin(), pieces.end(), joins)) {
                    return false;
                }
            }
        }
    }
    return true;
}

// The narrowest track, in whole pixels, that reads as kNarrowestTrack cells or more whichever
// way it runs: what the tool asks a player to draw. It is a pixel wider than the narrowest
// stretches that read wide: a stretch drawn between the places tried can cover a pixel less
// of some rows or columns.
uint32_t AdvisedTrackWidth(const Sampling& at) {
    const double cellPixels = double(std::max(at.width, at.height)) / at.size;
    // Too thin along the rows and columns below kNarrowestTrack cells; wide enough aslant too
    // well before twice that.
    uint32_t thin = static_cast<uint32_t>(kNarrowestTrack * cellPixels) - 1;
    uint32_t wide = static_cast<uint32_t>(std::ceil(2 * kNarrowestTrack * cellPixels));
    while (wide - thin > 1) {
        const uint32_t middle = thin + (wide - thin) / 2;
        (StretchesReadWide(at, middle) ? wide : thin) = middle;
    }
    return wide + 1;
}

// How the advice reads in a problem line.
std::string DrawItAsAdvised(const Sampling& at) {
    return "draw it at least " + std::to_string(AdvisedTrackWidth(at)) + " pixels wide (" +
           std::to_string(kNarrowestTrack) + " cells whichever way it runs)";
}

// The drivable cells are one piece, and the lap from just left of the start row comes round to
// just right of it without crossing the start row. Returns whether the lap closes. A track
// drawn thinner than a cell (which comes out a cell wide at most, falls apart or vanishes) is
// told so, with the width to draw it at.
bool CheckLoop(const Grid& grid, const Sampling& at, const StartRow* start, double trackWidth,
               CourseFromPicture& report) {
    const auto drivable = [&grid](int32_t x, int32_t y) { return grid.Drivable(x, y); };
    std::vector<std::vector<Cell>> pieces = grid.Pieces(drivable, false);
    const double cellPixels = double(std::max(at.width, at.height)) / at.size;
    if (trackWidth > 0.0 && trackWidth < cellPixels) {
        std::ostringstream line;
        line.precision(3);
        line << "the track is too thin for the " << at.size << " x " << at.size
             << " grid: it is drawn about " << trackWidth << " pixels wide, and a cell is "
             << cellPixels << " pixels across, so ";
        if (pieces.empty()) {
            line << "no cell holds more track than ground";
        } else if (pieces.size() == 1) {
            line << "it comes out a cell wide at most";
        } else {
            line << "it falls apart into " << pieces.size() << " pieces";
        }
        line << "; " << DrawItAsAdvised(at);
        report.problems.push_back(line.str());
        return false;
    }
    if (pieces.empty()) {
        report.problems.push_back("no track: draw the track in a light colour on dark ground");
        return false;
    }
    if (pieces.size() > 1) {
        // The piece named last is the one with the start row, or else the largest.
        const auto main = std::find_if(pieces.begin(), pieces.end(), [&](const auto& piece) {
            return start && std::any_of(piece.begin(), piece.end(), [&](const Cell& cell) {
                       return cell.x == start->x0 && cell.y == start->y;
                   });
        });
        const auto larger = [](const auto& a, const auto& b) { return a.size() < b.size(); };
        std::iter_swap(
            main != pieces.end() ? main : std::max_element(pieces.begin(), pieces.end(), larger),
            pieces.end() - 1);
        std::ostringstream line;
        line << "the track is in " << pieces.size() << " pieces; apart from the main one: ";
        for (size_t i = 0; i + 1 < pieces.size() && i < 5; ++i) {
            const Box box = BoxOf(pieces[i]);
            line << (i > 0 ? "; " : "") << at.Pixels(box.x0, box.x1, box.y0, box.y1);
        }
        line << (pieces.size() > 6 ? "; ..." : "")
             << ". The track must be one closed loop: join them or paint them dark";
        report.problems.push_back(line.str());
    }
    if (!start) {
        return false;
    }
    if (LapCloses(grid, *start, [](int32_t, int32_t) { return false; })) {
        return true;
    }
    report.problems.push_back(
        "the track does not come round: driving off to the left of the start stroke at " +
        at.Pixels(start->x0, start->x1, start->y, start->y) +
        " never leads back to its right side; the track must be one closed loop");
    return false;
}

// A narrow place: drivable cells that no square of kNarrowestTrack x kNarrowestTrack drivable
// cells covers, through which every lap has to go. (Narrow cells a lap can go round, such as a
// single cell jutting out of a jagged edge, do no harm.)
void CheckWidth(const Grid& grid, const Sampling& at, const StartRow& start,
                CourseFromPicture& report) {
    const int32_t size = grid.Size();
    const std::vector<bool> wide = WideCells(grid);
    const auto narrow = [&](int32_t x, int32_t y) {
        return grid.Drivable(x, y) && !wide[size_t(x) * size + y];
    };
    std::string advice;  // worked out once, for the first narrow place
    for (const std::vector<Cell>& piece : grid.Pieces(narrow, true)) {
        std::vector<bool> inPiece(size_t(size) * size, false);
        for (const Cell& cell : piece) {
            inPiece[size_t(cell.x) * size + cell.y] = true;
        }
        if (LapCloses(grid, start,
                      [&](int32_t x, int32_t y) { return inPiece[size_t(x) * size + y]; })) {
            continue;
        }
        const Box box = BoxOf(piece);
        std::ostringstream line;
        advice = advice.empty() ? DrawItAsAdvised(at) : advice;
        line << "the track is narrower than " << kNarrowestTrack << " cells at "
             << at.Pixels(box.x0, box.x1, box.y0, box.y1) << "; " << advice;
        report.problems.push_back(line.str());
    }
}

std::string CourseText(const Grid& grid) {
    const int32_t size = grid.Size();
    std::string text = std::to_string(size) + " " + std::to_string(size) + "\n";
    for (int32_t x = 0; x < size; ++x) {
        for (int32_t y = 0; y < size; ++y) {
            const Ground ground = grid.Get(x, y);
            text += ground == Ground::Blocked ? '1' : ground == Ground::Start ? '2' : '0';
        }
        text += '\n';
    }
    return text;
}

CourseFromPicture MakeCourse(const Picture& picture, int32_t size, bool suggestSizes);

// The course checker's rules, on the grid as the game's reader reads it back, and its cost. For
// a heavy course a smaller --size is suggested only where the same picture makes a course.
void CheckAsTheGameReadsIt(const std::string& text, const Picture& picture, bool suggestSizes,
                           CourseFromPicture& report) {
    CourseData course;
    std::ostringstream echo;
    std::istringstream in(text);
    const bool read = course.Read(in, echo);
    if (!read) {
        report.problems.push_back("the game cannot read the course made: " + echo.str());
        return;
    }
    const CourseReport checked = CheckCourse(course, text, nullptr);
    for (const std::string& problem : checked.problems) {
        report.problems.push_back("course: " + problem);
    }
    for (const std::string& warning : checked.warnings) {
        report.warnings.push_back("course: " + warning);
    }
    report.notes.push_back("the game will build " + std::to_string(checked.markers) +
                           " markers (a post and a rope each)");
    const CourseCost cost = CostOfCourse(course);
    std::vector<int32_t> sizes;
    if (suggestSizes && IsHeavy(cost)) {
        for (const int32_t size : SmallerCourseSizes(course.GetWidth())) {
            if (MakeCourse(picture, size, false).problems.empty()) {
                sizes.push_back(size);
            }
        }
    }
    report.notes.push_back(CostLine(cost, sizes));
    const std::vector<std::string> race = RaceLines(course, text);
    report.notes.insert(report.notes.end(), race.begin(), race.end());
}
}  // namespace

bool IsCourseSize(int32_t size) {
    return size >= 16 && size <= kTerrainSize && kTerrainSize % size == 0;
}

CourseFromPicture CourseFromImage(const Picture& picture, int32_t size) {
    return MakeCourse(picture, size, true);
}

namespace {
CourseFromPicture MakeCourse(const Picture& picture, int32_t size, bool suggestSizes) {
    CourseFromPicture report;
    const Sampling at{picture.width, picture.height, size};
    std::ostringstream read;
    read << picture.width << " x " << picture.height << " pixels read as " << size << " x " << size
         << " cells";
    report.notes.push_back(read.str());
    if (picture.width != picture.height) {
        const bool wide = picture.width > picture.height;
        std::ostringstream line;
        line.precision(3);
        line << "the picture is " << picture.width << " x " << picture.height
             << " pixels, not square: it is stretched to the square grid, a cell covering "
             << double(picture.width) / size << " pixels across and "
             << double(picture.height) / size << " down, so what is drawn "
             << (wide ? "up-down" : "across") << " comes out "
             << double(std::max(picture.width, picture.height)) /
                    std::min(picture.width, picture.height)
             << " times as long against what is drawn " << (wide ? "across" : "up-down")
             << "; crop or pad the picture square to keep its shape";
        report.warnings.push_back(line.str());
    }
    RedPixels red;
    Grid grid = Sample(picture, at, red);
    if (ColoursSwapped(grid)) {
        report.problems.push_back(
            "the colours are the wrong way round: the light part covers most of the picture and "
            "reaches all four edges, like paper, so the track looks dark on light ground; draw "
            "the track in a light colour on dark ground (invert the picture's colours, then draw "
            "the start stroke red again)");
        return report;
    }
    BlockTheEdge(grid, at, report);
    StartRow start{};
    const bool hasStart = PlaceStart(grid, at, red, report, start);
    if (CheckLoop(grid, at, hasStart ? &start : nullptr, TrackPixelWidth(picture), report)) {
        CheckWidth(grid, at, start, report);
    }
    if (!report.problems.empty()) {
        return report;
    }
    const std::string text = CourseText(grid);
    CheckAsTheGameReadsIt(text, picture, suggestSizes, report);
    if (report.problems.empty()) {
        report.courseText = text;
    }
    return report;
}
}  // namespace
