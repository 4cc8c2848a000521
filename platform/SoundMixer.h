// The race's sound without a device: both engines, each following its racer's speed, and the
// one-shot sounds the game queues, mixed into stereo frames. The game's thread sets the
// engines' targets and queues sounds; the audio thread mixes. They share only atomics and a
// single-producer, single-consumer ring, so neither ever waits for the other.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

// The sounds the game plays, each a mono clip at the mixer's rate (empty: silent); the last
// four are the race's: the countdown's beep, the higher one at GO, the lap chime, the fanfare.
enum class SoundClip : uint8_t {
    Engine1, Engine2, Pickup, Wall, Countdown, Go, Lap, Finish, Count
};

class SoundMixer {
public:
    static constexpr int kRacers = 2;
    static constexpr int kQueueSize = 32;  // one-shots queued and not yet mixed
    static constexpr int kVoices = 8;      // one-shots heard at once

    // The engine's pitch (a factor on its clip's rate) and loudness at a standstill and at
    // full speed; between them it goes linearly with the speed.
    static constexpr float kIdlePitch = 1.0f;
    static constexpr float kTopPitch = 2.5f;
    static constexpr float kIdleGain = 0.35f;
    static constexpr float kTopGain = 0.8f;
    // How fast the engines follow: each step toward the target takes this long to go 63 %.
    static constexpr float kFollowSeconds = 0.04f;
    // Racer 1 a little to the left, racer 2 a little to the right (-1 left, 1 right).
    static constexpr float kPan[kRacers] = {-0.35f, 0.35f};
    // The loudest sample the mix ever holds (about -1 dB): louder moments, such as both
    // racers' knocks at once at full volume, are turned down to it (with a gain that comes back
    // over kReleaseSeconds) instead of clipping at full scale.
    static constexpr float kCeiling = 0.89f;
    static constexpr float kReleaseSeconds = 0.05f;
    // At quit the mix fades to silence over this long instead of stopping mid-wave.
    static constexpr float kFadeSeconds = 0.005f;

    explicit SoundMixer(int rate);

    // Set before mixing starts (the game loads the clips before it opens the device).
    void SetClip(SoundClip clip, std::vector<float> samples);
    // The master volume, 0 to 1.
    void SetVolume(float volume) { _volume.store(volume, std::memory_order_relaxed); }

    // --- the game's thread ---
    // The racer's speed as a share of the top speed (clamped to 0..1).
    void SetEngine(int racer, float speedShare);
    // Queues a one-shot for the racer's side at a loudness of 0 to 1; false when the queue
    // is full (the sound is dropped, the game goes on).
    bool Play(SoundClip clip, int racer, float loudness);

    // Starts the fade to silence (kFadeSeconds); every block mixed after it is silent.
    void FadeOut() { _fading.store(true, std::memory_order_release); }
    // How many whole blocks have been mixed silent since the fade ended.
    int SilentBlocksAfterFade() const { return _silentBlocks.load(std::memory_order_acquire); }

    // --- the audio thread ---
    // Writes `frames` interleaved stereo frames (left, right), each sample within kCeiling.
    void Mix(float* stereo, int frames);

private:
    struct Cue {
        SoundClip clip;
        float left;
        float right;
    };
    struct Voice {
        const std::vector<float>* clip = nullptr;
        size_t position = 0;
        float left = 0.0f;
        float right = 0.0f;
    };
    struct Engine {
        std::atomic<float> targetPitch{kIdlePitch};
        std::atomic<float> targetGain{kIdleGain};
        double position = 0.0;
        float pitch = kIdlePitch;
        float gain = kIdleGain;
    };

    void TakeCues();
    // Volume, the ceiling and the fade over the mixed block.
    void Finish(float* stereo, int frames);

    int _rate;
    float _follow;  // the share of the way to the target gone in one sample
    float _release;  // the share of the limiter's envelope kept from one sample to the next
    float _envelope = 0.0f;  // the recent peak the limiter turns down to the ceiling
    std::atomic<bool> _fading{false};
    float _fadeGain = 1.0f;
    std::atomic<int> _silentBlocks{0};
    std::vector<float> _clips[static_cast<int>(SoundClip::Count)];
    std::atomic<float> _volume{1.0f};
    Engine _engines[kRacers];
    Cue _queue[kQueueSize];
    std::atomic<uint32_t> _queueHead{0};  // written by the game's thread
    std::atomic<uint32_t> _queueTail{0};  // written by the audio thread
    Voice _voices[kVoices];
};

// Left and right gains of a position from -1 (left) to 1 (right), at equal power.
void PanGains(float pan, float* left, float* right);
