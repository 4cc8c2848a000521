#include "app/Game.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include <GL/freeglut.h>  // glutFullScreen, glutLeaveFullScreen and the frame sizes

#include "app/CourseMenu.h"
#include "app/GameCallbacks.h"
#include "app/LevelFile.h"
#include "base/TextFile.h"
#include "platform/Clock.h"
#include "platform/Heap.h"
#include "platform/QuitSignals.h"

Game* g_game = nullptr;

namespace {
constexpr const char* kWindowTitle = "Game Programming Kestrun";
constexpr const char* kSnapshotFile = "snapshot.jpg";

static_assert(sizeof(Game::_skyboxPath) == kLevelFieldSize, "level field size");
static_assert(sizeof(Game::_courseFile) == kLevelFieldSize, "level field size");

// A menu line that shows a racer's keys (the menu's font is Latin-1, as the key codes are).
std::string KeysLine(const char* racer, const RacerKeys& keys) {
    const auto key = [](unsigned char code) { return std::string(1, static_cast<char>(code)); };
    return std::string("   ") + racer + ": " + key(keys.accelerate) + " accelerate, " +
           key(keys.hold) + " hold, " + key(keys.left) + " / " + key(keys.right) + " turn";
}
} // namespace

void SetPadKeys(const PadState& pad, const RacerKeys& racerKeys, unsigned char keys[256]) {
    keys[racerKeys.accelerate] = pad.south || pad.rightTrigger >= kTriggerHalfWay;
    keys[racerKeys.hold] = pad.east || pad.leftTrigger >= kTriggerHalfWay;
    keys[racerKeys.left] = pad.dpadLeft || pad.stickX < -kStickDeadZone;
    keys[racerKeys.right] = pad.dpadRight || pad.stickX > kStickDeadZone;
}

void StartRacer(Camera& camera) {
    camera._speed = 0.0f;
    camera._heading = 0.0f;
    camera._baseHeight = 50.0f;
    camera._pitch = 0.0f;
    camera._acceleration = 0.005f;
    camera._turnRate = 0.1f;
}

void displayCallback() {
    g_game->Display();
}
void idleCallback() {
    g_game->Idle();
}
void reshapeCallback(int width, int height) {
    g_game->Reshape(width, height);
}
void keyboardCallback(unsigned char key, int x, int y) {
    g_game->KeyDown(key, x, y);
}
void keyboardUpCallback(unsigned char key, int x, int y) {
    g_game->KeyUp(key, x, y);
}
void specialCallback(int key, int x, int y) {
    g_game->SpecialKeyDown(key, x, y);
}
void menuCallback(int value) {
    if (value >= kFirstCourseValue) {
        ChooseCourse(value);
        return;
    }
    g_game->KeyDown(static_cast<unsigned char>(value), 0, 0);
}

Game::Game(const PlayerSettings& settings)
    : _windowWidth(640), _windowHeight(480), _minWindowSize(5), _windowId(-1), _width(0),
      _height(0), _halfHeight(0), _keys{}, _padKeys{}, _skyboxPath{}, _courseFile{},
      // Number, keys, pad, sound channel.
      _racers{{1, &_settings.racer1, 0, 0}, {2, &_settings.racer2, 1, 1}},
      _settings(settings), _pacer(settings.frameCap) {
    g_game = this;
}

Game::~Game() {
    if (_windowId > 0) {
        glutDestroyWindow(_windowId);
    }
}

bool Game::Init(const char* levelFile) {
    _levelFile = levelFile;
    if (!ReadLevel(levelFile)) {
        std::cout << "Game::Init() - ERROR loading level description." << std::endl;
        return false;
    }
    bool failed = false;
    if (!InitWindow()) {
        std::cout << "Game: ERROR initializing window" << std::endl;
        failed = true;
    }
    for (Racer& racer : _racers) {
        StartRacer(racer.camera);
    }
    _world._itemsOnCourse = _settings.itemsOnCourse;
    if (!_world.Init(_skyboxPath, _courseFile)) {
        std::cout << "Game: ERROR initializing world" << std::endl;
        failed = true;
    }
    // Each racer on the course's start place of its number.
    const CourseData& course = _world._course;
    const float startX[kRacerCount] = {course._start1X, course._start2X};
    const float startZ[kRacerCount] = {course._start1Z, course._start2Z};
    for (Racer& racer : _racers) {
        racer.camera._eye.x = startX[racer.number - 1];
        racer.camera._eye.z = startZ[racer.number - 1];
    }
    InitMenu();
    if (!failed) {
        _gamepads.Start();
        _sound.Start(_settings.volume);
    }
    return !failed;
}

void Game::MainLoop() {
    CatchQuitSignals();
    glutMainLoop();
}

void Game::Quit(int signal) {
    EndSound();
    if (signal != 0) {
        EndBySignal(signal);
    }
    std::exit(0);
}

bool Game::ReadLevel(const char* levelFile) {
    std::ifstream in;
    return OpenTextFile(in, "level description", levelFile, "Game::ReadLevel()", std::cout) &&
           ReadLevelFields(in, _skyboxPath, _courseFile);
}

bool Game::InitWindow() {
    KeepFreedHeapMemory();
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // A course switch hands over the window it left (app/CourseMenu.h).
    const HandedWindow handed = TakeHandedWindow(std::cerr);
    if (handed.given) {
        _windowWidth = handed.width;
        _windowHeight = handed.height;
        glutInitWindowPosition(handed.x, handed.y);
    }
    glutInitWindowSize(_windowWidth, _windowHeight);
    _windowId = glutCreateWindow(kWindowTitle);
    glutDisplayFunc(displayCallback);
    glutIdleFunc(idleCallback);
    glutReshapeFunc(reshapeCallback);
    glutKeyboardFunc(keyboardCallback);
    glutKeyboardUpFunc(keyboardUpCallback);
    glutSpecialFunc(specialCallback);
    glutIgnoreKeyRepeat(1);
    if (handed.given ? handed.fullscreen : _settings.fullscreen) {
        ToggleFullscreen();
    }
    if (handed.given) {
        _windowed = {handed.x, handed.y, handed.width, handed.height};
    }
    return true;
}

bool Game::InitMenu() {
    glutCreateMenu(menuCallback);
    glutAddMenuEntry(" # kestrun : Two-Player Race Game", 0);
    glutAddMenuEntry(KeysLine("Racer 1 (top)", _settings.racer1).c_str(), 0);
    glutAddMenuEntry(KeysLine("Racer 2 (bottom)", _settings.racer2).c_str(), 0);
    glutAddMenuEntry("", 0);
    glutAddMenuEntry("Capture Screen Snapshot (c)", kSnapshotKey);
    glutAddMenuEntry("", 0);
    glutAddMenuEntry("Quit (q)", kQuitKey);
    AddCourseMenu(_levelFile);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
    return true;
}

void Game::Idle() {
    if (const int signal = QuitSignalCaught()) {
        Quit(signal);
    }
    PollGamepads();
    // The wait comes before the redisplay, so the frame itself draws exactly as before.
    const int wait = _pacer.WaitMillis(ElapsedMillis());
    if (wait > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
    _frameTicks = _pacer.StartFrame(ElapsedMillis());
    glutPostRedisplay();
}

void Game::PollGamepads() {
    _gamepads.Poll();
    for (const Racer& racer : _racers) {
        SetPadKeys(_gamepads.State(racer.pad), *racer.keys, _padKeys);
    }
}

void Game::Reshape(int width, int height) {
    if (width <= _minWindowSize || height <= _minWindowSize) {
        std::cout << "Game::Reshape - bad window size: " << width << ", " << height << std::endl;
        return;
    }
    _width = static_cast<uint16_t>(width);
    _height = static_cast<uint16_t>(height);
    _halfHeight = static_cast<uint16_t>(_height / 2);
    const float aspect = static_cast<float>(static_cast<double>(_width) / _halfHeight);
    for (Racer& racer : _racers) {
        racer.camera.SetAspect(aspect);
        racer.camera.Apply();
    }
}

void Game::KeyDown(unsigned char key, int, int) {
    if (key == kEscapeKey || key == kQuitKey) {
        Quit();
    }
    if (key == kSnapshotKey) {
        std::cout << "Saving screen snapshot to: " << kSnapshotFile << std::endl;
        _CaptureImage(kSnapshotFile);
        return;
    }
    _keys[key] = 1;
}

void Game::KeyUp(unsigned char key, int, int) {
    _keys[key] = 0;
}

void Game::SetWindowSize(int32_t width, int32_t height) {
    _windowWidth = width;
    _windowHeight = height;
}

bool Game::WindowHasSize(int32_t width, int32_t height) const {
    return _width == width && _height == height;
}

RacerView Game::ViewOfRacer(int racer) const {
    const Camera& camera = _racers[racer - 1].camera;
    return RacerView{camera._eye.x, camera._eye.z, camera._heading, camera._acceleration == 0.0f};
}

void Game::SpecialKeyDown(int key, int, int) {
    if (key == GLUT_KEY_F11) {
        ToggleFullscreen();
    }
}

void Game::ToggleFullscreen() {
    if (glutGet(GLUT_FULL_SCREEN)) {
        glutLeaveFullScreen();
        glutPositionWindow(_windowed.x, _windowed.y);
        glutReshapeWindow(_windowed.width, _windowed.height);
        return;
    }
    // glutPositionWindow places the window's frame: the window less its border and title bar.
    const int border = glutGet(GLUT_WINDOW_BORDER_WIDTH);
    const int titleBar = glutGet(GLUT_WINDOW_HEADER_HEIGHT);
    _windowed = {glutGet(GLUT_WINDOW_X) - border, glutGet(GLUT_WINDOW_Y) - titleBar,
                 glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
    glutFullScreen();
    if (border == 0 && titleBar == 0) {
        // No window manager frames the window, so none makes it fullscreen: freeglut sizes it
        // to the screen where it stands. The corner is where it must stand.
        glutPositionWindow(0, 0);
    }
}

bool Game::_CaptureImage(const char*) {
    std::cout << "Game::_CaptureImage() needs 'libvornel'" << std::endl;
    return false;
}
