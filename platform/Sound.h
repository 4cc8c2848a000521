// The race heard through SDL's audio: one device, stereo float samples at 48 kHz, fed by a
// SoundMixer from the sounds in the data folder's sounds/. SDL stays inside this module.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/SoundMixer.h"

// Reads a WAV file (any format SDL reads) into mono float samples at `rate`. False, with the
// reason in *error, when the file is missing, not a WAV SDL can read, empty or over a minute.
bool LoadSound(const std::string& path, int rate, std::vector<float>* samples, std::string* error);

// The race's sounds: a beep at each number of the countdown ("3", "2", "1"), a higher one at
// "GO", a chime at each lap and a fanfare at each finish.
enum class RaceSound : uint8_t { Countdown, Go, Lap, Finish };
constexpr int kBothRacers = -1;  // a sound for both, heard in the middle

class Sound {
public:
    static constexpr int kRate = 48000;
    static constexpr int kDeviceFrames = 512;  // about 11 ms a callback

    Sound() = default;
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // At volume 0 opens nothing. Otherwise starts SDL's audio, loads the sounds (a missing or
    // bad file: one line, and that sound stays silent) and opens the device. When SDL cannot
    // start or open one, says so in one line ("kestrun: no sound (SDL: ...)") and returns
    // false: the game runs silent.
    bool Start(int volume, const std::string& folder = "sounds");

    // The game's thread, once a frame or at the event. Does nothing while no device (nor a
    // test's mixer) is open.
    void Engine(int racer, float speedShare);
    void Pickup(int racer);
    // A racer stopped by a wall at `strength`, its speed as a share of the top speed.
    void Knock(int racer, float strength);
    // One of the race's sounds on the racer's side, or centred for kBothRacers (the countdown).
    void Race(RaceSound sound, int racer);

    bool Playing() const { return _device != 0; }
    // Fades the sound out (SoundMixer::kFadeSeconds) and waits, a fifth of a second at most,
    // until the device has played the fade; the game quits after it.
    void FadeOut();
    // For tests, only while no device is open: a mixer at kRate, with no clips yet, that the
    // calls above feed as they feed a device's; the test sets its clips and mixes it itself.
    SoundMixer& MixerForTesting();
    // The audio thread's time in the callback so far, in seconds.
    double CallbackSeconds() const;

private:
    static void Callback(void* self, uint8_t* stream, int bytes);

    uint32_t _device = 0;
    std::unique_ptr<SoundMixer> _mixer;
    std::atomic<int64_t> _callbackNanos{0};
};
