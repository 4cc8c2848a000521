// The game's sounds, synthesised: each racer's engine loop, the pick-up chime and the knock of
// a wall. Mono 16-bit samples at 44.1 kHz, the same bytes on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kSoundRate = 44100;

struct SoundFile {
    const char* name;  // under the data folder's sounds/
    std::vector<int16_t> (*make)();
};

// Racer 1: a deep, buzzy 80 Hz loop (all harmonics); racer 2: a hollow 110 Hz one (odd
// harmonics). Each holds a whole number of periods, so it loops without a seam; the game
// raises its pitch with the racer's speed.
std::vector<int16_t> EngineLoop1();
std::vector<int16_t> EngineLoop2();
// Two bell tones high above the engines (2637 and 3520 Hz), dying away in 0.4 s.
std::vector<int16_t> PickupChime();
// A dull thump (55 Hz) under a short burst of bright noise, 0.25 s.
std::vector<int16_t> WallKnock();

extern const SoundFile kSoundFiles[4];

// A canonical 44-byte-header PCM WAV file; false when it cannot be written.
bool WriteWav(const std::vector<int16_t>& samples, const std::string& path);
