// Gamepads, one per racer, through SDL's game-controller layer: the first pad drives racer 1,
// the second racer 2, and a pad keeps its racer while it is connected. SDL stays inside this
// module; the game reads plain per-racer states.
#pragma once

#include <cstdint>

struct _SDL_GameController;

// What one racer's pad holds, in SDL's units: sticks -32768 (left) to 32767 (right),
// triggers 0 (released) to 32767 (pressed fully). All zero while no pad drives the racer.
struct PadState {
    bool connected = false;
    bool south = false;  // A
    bool east = false;   // B
    bool dpadLeft = false;
    bool dpadRight = false;
    int16_t stickX = 0;  // the left stick
    int16_t leftTrigger = 0;
    int16_t rightTrigger = 0;
};

class Gamepads {
public:
    static constexpr int kRacers = 2;

    Gamepads() = default;
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Starts SDL's game-controller layer (no window, no sound). When it cannot start, says
    // so in one line on standard error and returns false: the pads then stay released.
    bool Start();

    // Takes SDL's events, gives pads plugged in to the free racers (printing "Racer N:
    // gamepad NAME") and lets unplugged ones go ("Racer N: gamepad removed"), then reads
    // each racer's pad. Does nothing before Start.
    void Poll();

    // Racer 1's pad is index 0, racer 2's index 1.
    const PadState& State(int racer) const { return _states[racer]; }

private:
    void ReleaseUnplugged();
    void TakeNewPads();

    bool _started = false;
    bool _lookForPads = true;
    _SDL_GameController* _pads[kRacers] = {};
    PadState _states[kRacers];
};
