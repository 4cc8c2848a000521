// The application object: owns the world and both racers, and is the target of every
// GLUT callback (reached through g_game).
#pragma once

#include <cstdint>
#include <string>

#include "app/Camera.h"
#include "app/Racer.h"
#include "base/FramePacer.h"
#include "base/SettingsFile.h"
#include "platform/Gamepads.h"
#include "platform/Sound.h"
#include "scene/World.h"

struct FrameRow;

// What a driver sees of its racer: where it stands on the ground, which way it looks (radians,
// 0 toward -z) and whether a wall has just stopped it.
struct RacerView {
    float x;
    float z;
    float heading;
    bool stopped;
};

class Game {
public:
    // The player's settings in force (their keys, fullscreen, volume, frame cap and items), as
    // LoadSettings works them out from the settings file and the environment.
    explicit Game(const PlayerSettings& settings = PlayerSettings());
    virtual ~Game();

    bool Init(const char* levelFile);
    // Runs the frames until the game ends; SIGINT, SIGTERM and SIGHUP end it as q does.
    void MainLoop();
    // Ends the game, every way it ends (q, Esc, the menu's Quit, a signal): the sound fades out,
    // then the process ends with status 0, or by the signal that asked it to.
    [[noreturn]] void Quit(int signal = 0);

    bool ReadLevel(const char* levelFile);

    bool InitWindow();
    bool InitMenu();
    // Quits when a signal asked it to; otherwise polls the pads, waits until the frame rate's
    // cap lets the next frame start, takes the ticks it stands for into _frameTicks, then asks
    // for it.
    void Idle();
    // Reads each racer's pad into its entries of _padKeys.
    void PollGamepads();
    void Reshape(int width, int height);
    void KeyDown(unsigned char key, int x, int y);
    void KeyUp(unsigned char key, int x, int y);
    // F11 switches between fullscreen and the window; other special keys do nothing.
    void SpecialKeyDown(int key, int x, int y);
    // Covers the screen, or gives the window back its size and place from before.
    void ToggleFullscreen();

    void Display();
    void Update();
    // Runs one row of the frame table (app/FrameSteps.h): a step of the whole window, or one
    // that works on the racer the row names.
    void RunStep(const FrameRow& row);

    bool _CaptureImage(const char* fileName);

    // --- what the benchmark asks of a running game ---
    // The size the window opens with; before Init.
    void SetWindowSize(int32_t width, int32_t height);
    // True once GLUT has given the window this size.
    bool WindowHasSize(int32_t width, int32_t height) const;
    // Racer 1 or 2 as its driver sees it; the benchmark's autopilot steers by it.
    RacerView ViewOfRacer(int racer) const;
    World& GetWorld() { return _world; }
    const World& GetWorld() const { return _world; }
    const Sound& GetSound() const { return _sound; }

    int32_t _windowWidth;
    int32_t _windowHeight;
    int32_t _minWindowSize;
    int32_t _windowId;
    uint16_t _width;
    uint16_t _height;
    uint16_t _halfHeight;
    unsigned char _keys[256];
    // The racers' keys as their pads hold them; a control is held when its entry is set here
    // or in _keys.
    unsigned char _padKeys[256];
    std::string _levelFile;  // the level file as the game was given it
    char _skyboxPath[256];
    char _courseFile[256];

    Gamepads _gamepads;
    // The engines follow the racers' speeds; pick-ups and walls are heard as they happen.
    Sound _sound;
    World _world;
    // The racers, racer 1 first; each camera is also reachable by its racer's name.
    Racer _racers[kRacerCount];
    Camera& _camera1 = _racers[0].camera;
    Camera& _camera2 = _racers[1].camera;

    PlayerSettings _settings;
    // The window's frame place and size before fullscreen, where F11 brings it back.
    struct WindowPlace {
        int x, y, width, height;
    } _windowed = {};

    FramePacer _pacer;  // the cap on the frame rate (_settings.frameCap) and each frame's ticks
    // The ticks the frame being drawn stands for, handed to each step that needs them; one
    // until the pacer says otherwise.
    float _frameTicks = kOneTick;
    float _itemTicksCarried = 0.0f;  // the part of a tick the item animation has not stepped yet
};

extern Game* g_game;

// Gives a racer its starting motion: standing, eye at height 50, level, accelerating factor
// 0.005, turning factor 0.1. Its place comes from the course.
void StartRacer(Camera& camera);

// How far a pad's controls must go: the left stick turns beyond a quarter of its travel either
// way (the dead zone), a trigger acts from half way.
constexpr int16_t kStickDeadZone = 8192;
constexpr int16_t kTriggerHalfWay = 16384;

// Sets the racer's four entries of a key table from its pad: A or the right trigger
// accelerates, B or the left trigger holds, the d-pad or the left stick turns. No other button
// does anything.
void SetPadKeys(const PadState& pad, const RacerKeys& racerKeys, unsigned char keys[256]);
