#include "platform/Gamepads.h"

#include <cstdlib>
#include <iostream>

#include <SDL.h>

namespace {
// SDL is shut down once, when the game ends (it ends with exit() from a key callback).
void QuitSdl() {
    SDL_Quit();
}

SDL_JoystickID InstanceOf(SDL_GameController* pad) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
}
} // namespace

Gamepads::~Gamepads() {
    if (!_started) {
        return;
    }
    for (SDL_GameController*& pad : _pads) {
        if (pad) {
            SDL_GameControllerClose(pad);
            pad = nullptr;
        }
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool Gamepads::Start() {
    if (_started) {
        return true;
    }
    // The game keeps its own answer to Ctrl-C; the GLUT window is no SDL window, so SDL must
    // not take the pads for a program in the background; A and B are the bottom and right
    // face buttons on every pad, whatever their labels.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::cerr << "kestrun: no gamepads, the keyboard only (SDL: " << SDL_GetError() << ")"
                  << std::endl;
        return false;
    }
    static const bool quitAtExit = std::atexit(QuitSdl) == 0;
    (void)quitAtExit;
    _started = true;
    _lookForPads = true;
    return true;
}

void Gamepads::Poll() {
    if (!_started) {
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_CONTROLLERDEVICEADDED || event.type == SDL_JOYDEVICEADDED ||
            event.type == SDL_CONTROLLERDEVICEREMAPPED) {
            _lookForPads = true;
        }
    }
    ReleaseUnplugged();
    if (_lookForPads) {
        TakeNewPads();
    }
    for (int racer = 0; racer < kRacers; ++racer) {
        SDL_GameController* pad = _pads[racer];
        if (!pad) {
            continue;
        }
        PadState& state = _states[racer];
        state.connected = true;
        state.south = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_A) != 0;
        state.east = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_B) != 0;
        state.dpadLeft = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT) != 0;
        state.dpadRight = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) != 0;
        state.stickX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        state.leftTrigger = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
        state.rightTrigger = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    }
}

// A pad unplugged lets go of everything at once, and its racer is free for the next pad.
void Gamepads::ReleaseUnplugged() {
    for (int racer = 0; racer < kRacers; ++racer) {
        SDL_GameController* pad = _pads[racer];
        if (pad && !SDL_GameControllerGetAttached(pad)) {
            SDL_GameControllerClose(pad);
            _pads[racer] = nullptr;
            _states[racer] = PadState{};
            _lookForPads = true;
            std::cout << "Racer " << racer + 1 << ": gamepad removed" << std::endl;
        }
    }
}

// Connected pads in SDL's order take the free racers, lowest first; pads beyond two wait
// until a racer is free.
void Gamepads::TakeNewPads() {
    _lookForPads = false;
    const int devices = SDL_NumJoysticks();
    for (int device = 0; device < devices; ++device) {
        int free = -1;
        for (int racer = kRacers - 1; racer >= 0; --racer) {
            if (!_pads[racer]) {
                free = racer;
            }
        }
        if (free < 0) {
            return;
        }
        if (!SDL_IsGameController(device)) {
            continue;
        }
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
        bool taken = false;
        for (SDL_GameController* pad : _pads) {
            taken = taken || (pad && InstanceOf(pad) == id);
        }
        if (taken) {
            continue;
        }
        SDL_GameController* pad = SDL_GameControllerOpen(device);
        if (!pad) {
            continue;
        }
        _pads[free] = pad;
        const char* name = SDL_GameControllerName(pad);
        std::cout << "Racer " << free + 1 << ": gamepad " << (name ? name : "(no name)")
                  << std::endl;
    }
}
