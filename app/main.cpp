// The entry point: checks the display and the command line, then runs the game.
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <GL/glut.h>

#include "app/Game.h"
#include "base/LastPlayed.h"
#include "base/SettingsFile.h"
#include "platform/Display.h"

namespace {
// The display GLUT will open: its "-display NAME" option, or null for $DISPLAY.
const char* RequestedDisplay(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-display") == 0) {
            return argv[i + 1];
        }
    }
    return nullptr;
}

// One line instead of GLUT's own fatal error.
void ReportNoDisplay(const char* displayName) {
    if (!displayName) {
        displayName = std::getenv("DISPLAY");
    }
    if (!displayName || displayName[0] == '\0') {
        std::cerr << "kestrun: no X display (DISPLAY is not set)";
    } else {
        std::cerr << "kestrun: cannot open the X display '" << displayName << "'";
    }
    std::cerr << "; without a screen, run it under Xvfb: xvfb-run -a kestrun (installed game) or "
                 "xvfb-run -a ./run (source tree)"
              << std::endl;
}

void PrintUsage(const char* program) {
    std::cout << std::endl;
    std::cout << "  USAGE: " << program << " <level>" << std::endl;
    std::cout << "   (please provide a level description file to load)" << std::endl;
    std::cout << std::endl;
}
} // namespace

int main(int argc, char** argv) {
    const char* displayName = RequestedDisplay(argc, argv);
    if (!DisplayAvailable(displayName)) {
        ReportNoDisplay(displayName);
        return 1;
    }
    if (displayName) {
        setenv("DISPLAY", displayName, 1);  // the display a course switch opens again
    }
    glutInit(&argc, argv);
    if (argc != 2) {
        PrintUsage(argv[0]);
        return 1;
    }
    PlayerSettings settings;  // the file's, then the environment's, with their problem lines
    LoadSettings(SettingsFilePath(), &settings, std::cerr);
    Game game(settings);
    if (!game.Init(argv[1])) {
        std::cout << "Error Initializing game." << std::endl;
        return 1;
    }
    std::string problem;  // the level started, for the launcher's next start without one
    if (!RememberLevel(argv[1], &problem)) {
        std::cerr << problem << std::endl;
    }
    game.MainLoop();
    return 0;
}
