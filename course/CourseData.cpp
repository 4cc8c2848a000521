// The course's data made and taken down, and the grid with its file. Reading errors are
// reported on the console and by a false result; a failed read never leaves a half-read grid.
#include "course/CourseData.h"

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

CourseData::CourseData()
    : _heights(nullptr), _start1X(kNoStartPosition), _start1Z(kNoStartPosition),
      _start2X(kNoStartPosition), _start2Z(kNoStartPosition), _heightDivisor(kHeightDivisor),
      _cellSize(0), _cellsPerUnit(0), _markerCount(0), _courseMap(nullptr), _courseWidth(0),
      _courseLength(0) {}

CourseData::~CourseData() {
    delete[] _heights;
    delete[] _courseMap;
}

bool CourseData::Init(const char* fileName) {
    return Init(fileName, std::cout);
}

bool CourseData::Init(const char* fileName, std::ostream& console) {
    std::ifstream in;
    return OpenTextFile(in, "course", fileName, "Course::Init()", console) && Read(in, console);
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

bool CourseData::Read(std::istream& in) {
    return Read(in, std::cout);
}

bool CourseData::Read(std::istream& in, std::ostream& console) {
    console << "  dimensions: ";
    uint16_t width = 0;
    uint16_t length = 0;
    const bool dimensionsRead = ReadCourseDimensions(in, width, length);
    char* map = nullptr;
    if (dimensionsRead && width > 0 && length > 0) {
        map = new (std::nothrow) char[static_cast<size_t>(width) * length];
    }
    if (!map) {
        console << "Course::Init() - ERROR reading course dimensions." << std::endl;
        return false;
    }
    console << "( " << width << " x " << length << " )" << std::endl;

    delete[] _courseMap;
    _courseMap = map;
    _courseWidth = width;
    _courseLength = length;

    console << "  map: " << std::endl;
    for (int32_t x = 0; x < _courseWidth; ++x) {
        for (int32_t y = 0; y < _courseLength; ++y) {
            char code = 0;
            if (!(in >> std::skipws >> code)) {
                console << "Course::Init() - ERROR reading map data: " << x << "," << y
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
    Print(console);
    _cellsPerUnit = static_cast<float>(_courseWidth / static_cast<double>(kTerrainSize));
    console << "SUCCESS!" << std::endl;
    return true;
}

char CourseData::GetCell(int32_t x, int32_t y) const {
    KR_REQUIRE(x >= 0 && x < _courseWidth && y >= 0 && y < _courseLength, "course");
    return _courseMap[CellToMapIndex(x, y, _courseWidth)];
}

void CourseData::SetCell(int32_t x, int32_t y, char code) {
    KR_REQUIRE(x >= 0 && x < _courseWidth && y >= 0 && y < _courseLength, "course");
    _courseMap[CellToMapIndex(x, y, _courseWidth)] = code;
}

bool CourseData::Print(std::ostream& out) const {
    out << _courseWidth << " " << _courseLength << std::endl;
    for (int32_t x = 0; x < _courseWidth; ++x) {
        for (int32_t y = 0; y < _courseLength; ++y) {
            out << GetCell(x, y);
        }
        out << std::endl;
    }
    return out.good();
}

float CellSizeForWidth(int32_t width) {
    return width > 0 ? static_cast<float>(kTerrainSize / width) : 0.0f;
}

void CourseData::ComputeCellSize() {
    _cellSize = CellSizeForWidth(_courseWidth);
}

bool CourseData::Contains(int32_t x, int32_t y) const {
    return _courseMap != nullptr && x >= 0 && x < _courseWidth && y >= 0 && y < _courseLength;
}
