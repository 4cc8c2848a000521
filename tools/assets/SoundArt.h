// The game's sounds, synthesised: each racer's engine loop, the pick-up chime, the knock of a
// wall, and the race's countdown beeps, lap chime and finish fanfare. Mono 16-bit samples at
// 44.1 kHz, the same bytes on every run.
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

// The countdown's beep at "3", "2" and "1": a short soft square-ish tone at 880 Hz, 0.16 s.
std::vector<int16_t> CountdownBeep();
// The beep at "GO": the same voice an octave higher (1760 Hz), held for 0.45 s.
std::vector<int16_t> GoBeep();
// A lap: three bell notes rising (C, E and G at 1047, 1319 and 1568 Hz), lower and longer
// than the pick-up's two, ringing out in 0.8 s.
std::vector<int16_t> LapChime();
// The finish: a brass-like call, three short notes rising to a long high C over a G,
// 1.6 s (G, C, E, then C and G).
std::vector<int16_t> FinishFanfare();

extern const SoundFile kSoundFiles[8];

// A canonical 44-byte-header PCM WAV file; false when it cannot be written.
bool WriteWav(const std::vector<int16_t>& samples, const std::string& path);
