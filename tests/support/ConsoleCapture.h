// Captures what the game writes to standard output (std::cout) while it is alive.
#pragma once

#include <iostream>
#include <sstream>
#include <string>

class ConsoleCapture {
public:
    ConsoleCapture() : _previous(std::cout.rdbuf(_buffer.rdbuf())) {}
    ~ConsoleCapture() { std::cout.rdbuf(_previous); }
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

    std::string Text() const { return _buffer.str(); }
    void Clear() { _buffer.str(""); }

private:
    std::ostringstream _buffer;
    std::streambuf* _previous;
};
