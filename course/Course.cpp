// The course grid and its file. Reading errors are reported on the console and by a false
// result; a failed read never leaves a half-read grid behind.
#include "course/Course.h"

#include <fstream>
#include <iomanip>
#include <iostream>
#include <new>

#include "base/Require.h"
#include "base/TextFile.h"

namespace {
// Index of cell (x, y) in the map, computed wide enough for the largest 16-bit grid.
size_t CellToMapIndex(int32_t x, int32_t y, uint16_t width) {
    return static_cast<size_t>(x) + static_cast<size_t>(y) * width;
}
}  // namespace

bool Course::Init(const char* fileName) {
    std::ifstream in;
    return OpenTextFile(in, "course", fileName, "Course::Init()") && Read(in);
}

namespace {
// Reads one unsigned 16-bit dimension in the stream's default integer syntax (decimal,
// 0x hexadecimal, 0 octal). A token that ends exactly at the end of the file counts as read.
// A minus sign is refused: the stream would wrap "-1" round to 65535.
bool ReadDimension(std::istream& in, uint16_t& value) {
    in >> std::ws;
    if (in.peek() == '-') {
        in.setstate(std::ios::failbit);
        return false;
    }
    in >> std::setbase(0) >> value;
    return !in.fail();
}
}  // namespace

bool ReadCourseDimensions(std::istream& in, uint16_t& width, uint16_t& length) {
    return ReadDimension(in, width) && !in.eof() && ReadDimension(in, length);
}

bool Course::Read(std::istream& in) {
    std::cout << "  dimensions: ";
    uint16_t width = 0;
    uint16_t length = 0;
    const bool dimensionsRead = ReadCourseDimensions(in, width, length);
    char* map = nullptr;
    if (dimensionsRead && width > 0 && length > 0) {
        map = new (std::nothrow) char[static_cast<size_t>(width) * length];
    }
    if (!map) {
        std::cout << "Course::Init() - ERROR reading course dimensions." << std::endl;
        return false;
    }
    std::cout << "( " << width << " x " << length << " )" << std::endl;

    delete[] _courseMap;
    _courseMap = map;
    _courseWidth = width;
    _courseLength = length;

    std::cout << "  map: " << std::endl;
    for (int32_t x = 0; x < _courseWidth; ++x) {
        for (int32_t y = 0; y < _courseLength; ++y) {
            char code = 0;
            if (!(in >> std::skipws >> code)) {
                std::cout << "Course::Init() - ERROR reading map data: " << x << "," << y
                          << std::endl;
                delete[] _courseMap;
                _courseMap = nullptr;
                _courseWidth = 0;
                _courseLength = 0;
                return false;
            }
            SetCell(x, y, code);
        }
    }
    Print(std::cout);
    _cellsPerUnit = static_cast<float>(_courseWidth / static_cast<double>(kTerrainSize));
    std::cout << "SUCCESS!" << std::endl;
    return true;
}

char Course::GetCell(int32_t x, int32_t y) const {
    KR_REQUIRE(x >= 0 && x < _courseWidth && y >= 0 && y < _courseLength, "course");
    return _courseMap[CellToMapIndex(x, y, _courseWidth)];
}

void Course::SetCell(int32_t x, int32_t y, char code) {
    KR_REQUIRE(x >= 0 && x < _courseWidth && y >= 0 && y < _courseLength, "course");
    _courseMap[CellToMapIndex(x, y, _courseWidth)] = code;
}

bool Course::Print(std::ostream& out) const {
    out << _courseWidth << " " << _courseLength << std::endl;
    for (int32_t x = 0; x < _courseWidth; ++x) {
        for (int32_t y = 0; y < _courseLength; ++y) {
            out << GetCell(x, y);
        }
        out << std::endl;
    }
    return out.good();
}

bool Course::Contains(int32_t x, int32_t y) const {
    return _courseMap != nullptr && x >= 0 && x < _courseWidth && y >= 0 && y < _courseLength;
}
