// A pad that SDL takes for a real one, for the game's started Gamepads to find when they poll.
#pragma once

#include <SDL.h>

// Its joystick takes SDL's game-controller numbering; SDL_JoystickDetachVirtual unplugs it.
// Another type (a wheel, a flight stick) is a joystick that is no game controller.
inline SDL_Joystick* PlugPad(const char* name,
                             SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION, desc.type = static_cast<Uint16>(type);
    desc.naxes = SDL_CONTROLLER_AXIS_MAX, desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX, desc.name = name;
    return SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
}
