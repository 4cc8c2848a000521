// A private Xvfb server for one test, on a display number it picks itself, so that tests
// can run side by side. Stopped when the object goes.
#pragma once

#include <string>

#include "Process.h"

class XServer {
public:
    XServer() = default;
    ~XServer() { Stop(); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Starts Xvfb with one screen of the given size ("WxHxDEPTH"); its log goes to logFile.
    // False (with the reason and the log) when it did not come up.
    // With resetWhenIdle the server resets whenever its last client goes, as xvfb-run's does.
    bool Start(const std::string& screen, const std::string& logFile, std::string* error,
               bool resetWhenIdle = false);
    void Stop() { _process.Stop(); }
    bool Running() { return _process.Running(); }

    // ":N", for the DISPLAY of the clients.
    const std::string& Display() const { return _display; }

private:
    Process _process;
    std::string _display;
};
