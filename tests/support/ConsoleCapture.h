// Captures what the game writes to a standard stream while the capture is alive.
#pragma once

#include <iostream>
#include <sstream>
#include <string>

class StreamCapture {
public:
    explicit StreamCapture(std::ostream& stream)
        : _stream(stream), _previous(stream.rdbuf(_buffer.rdbuf())) {}
    ~StreamCapture() { _stream.rdbuf(_previous); }
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    std::string Text() const { return _buffer.str(); }
    void Clear() { _buffer.str(""); }

private:
    std::ostream& _stream;
    std::ostringstream _buffer;
    std::streambuf* _previous;
};

// Standard output (std::cout), where the game writes its console lines.
class ConsoleCapture : public StreamCapture {
public:
    ConsoleCapture() : StreamCapture(std::cout) {}
};

// Standard error (std::cerr).
class ErrorCapture : public StreamCapture {
public:
    ErrorCapture() : StreamCapture(std::cerr) {}
};

// The console text without the lines of texture loads and of the marker build, for tests
// of a later start-up step that do not care which assets the folder holds.
inline std::string WithoutAssetLines(const std::string& text) {
    std::string joined = text;
    // The raw-image message has no line end of its own.
    for (size_t at; (at = joined.find("Texture file not found: ")) != std::string::npos;) {
        const size_t end = joined.find("...Quitting.", at);
        if (end == std::string::npos) break;
        joined.erase(at, end + 12 - at);
    }
    std::istringstream in(joined);
    std::string result;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("loading TIFF texture: ", 0) == 0 || line.rfind("Error opening: ", 0) == 0 ||
            line.rfind("Texture map (", 0) == 0 || line.rfind("ERROR - unable to load", 0) == 0 ||
            line.rfind("Course::BuildMarkers() - ", 0) == 0 || line.empty()) {
            continue;
        }
        result += line;
        if (!in.eof()) result += '\n';
    }
    return result;
}
