#include "platform/Sound.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <SDL.h>
#include <dlfcn.h>

namespace {
// The sound that plays through the open device, if any.
Sound* g_playing = nullptr;

// SDL is shut down once, when the game ends (it ends with exit() from a key callback); this
// also closes the device and ends the audio thread. The sound fades out first, and the device
// plays the fade to its end, so that the race does not stop mid-wave with a click.
void QuitSdl() {
    if (g_playing) {
        g_playing->FadeOut();
    }
    SDL_Quit();
}

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// ALSA's library, which SDL loads when it looks for a sound card, prints its own lines for
// every card it cannot open; the game says why there is no sound in one line of its own.
void SilenceAlsaLibrary() {
    static void* const alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (!alsa) {
        return;
    }
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetErrorHandler = int (*)(ErrorHandler);
    const auto set = reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (set) {
        set(IgnoreAlsaMessage);
    }
}

constexpr uint32_t kLongestSound = 60;  // seconds

struct SoundFile {
    SoundClip clip;
    const char* name;
};
constexpr SoundFile kSoundFiles[] = {
    {SoundClip::Engine1, "engine1.wav"},
    {SoundClip::Engine2, "engine2.wav"},
    {SoundClip::Pickup, "pickup.wav"},
    {SoundClip::Wall, "wall.wav"},
    {SoundClip::Countdown, "countdown.wav"},
    {SoundClip::Go, "go.wav"},
    {SoundClip::Lap, "lap.wav"},
    {SoundClip::Finish, "finish.wav"},
};
}  // namespace

bool LoadSound(const std::string& path, int rate, std::vector<float>* samples, std::string* error) {
    SDL_AudioSpec wav;
    uint8_t* buffer = nullptr;
    uint32_t bytes = 0;
    if (!SDL_LoadWAV(path.c_str(), &wav, &buffer, &bytes)) {
        *error = SDL_GetError();
        return false;
    }
    const uint32_t frameBytes = SDL_AUDIO_BITSIZE(wav.format) / 8 * wav.channels;
    const uint32_t frames = frameBytes ? bytes / frameBytes : 0;
    if (frames == 0 || wav.freq <= 0 || frames / static_cast<uint32_t>(wav.freq) > kLongestSound) {
        SDL_FreeWAV(buffer);
        *error = frames == 0 ? "no samples" : "longer than a minute";
        return false;
    }
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, AUDIO_F32SYS, 1, rate) < 0) {
        SDL_FreeWAV(buffer);
        *error = SDL_GetError();
        return false;
    }
    std::vector<uint8_t> work(static_cast<size_t>(bytes) * static_cast<size_t>(cvt.len_mult));
    std::memcpy(work.data(), buffer, bytes);
    SDL_FreeWAV(buffer);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(bytes);
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0) {
        *error = SDL_GetError();
        return false;
    }
    const int outBytes = cvt.needed ? cvt.len_cvt : cvt.len;
    samples->resize(static_cast<size_t>(outBytes) / sizeof(float));
    std::memcpy(samples->data(), work.data(), samples->size() * sizeof(float));
    if (samples->empty()) {
        *error = "no samples";
        return false;
    }
    return true;
}

Sound::~Sound() {
    if (g_playing == this) {
        g_playing = nullptr;
    }
    if (_device != 0) {
        SDL_CloseAudioDevice(_device);
        _device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool Sound::Start(int volume, const std::string& folder) {
    if (_device != 0 || volume <= 0) {
        return _device != 0;
    }
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SilenceAlsaLibrary();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::cerr << "kestrun: no sound (SDL: " << SDL_GetError() << ")" << std::endl;
        return false;
    }
    static const bool quitAtExit = std::atexit(QuitSdl) == 0;
    (void)quitAtExit;
    auto mixer = std::make_unique<SoundMixer>(kRate);
    for (const SoundFile& file : kSoundFiles) {
        const std::string path = folder + "/" + file.name;
        std::vector<float> samples;
        std::string error;
        if (!LoadSound(path, kRate, &samples, &error)) {
            std::cerr << "kestrun: no sound from " << path << " (" << error << ")" << std::endl;
            continue;
        }
        mixer->SetClip(file.clip, std::move(samples));
    }
    mixer->SetVolume(static_cast<float>(volume) / 100.0f);
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = kDeviceFrames;
    want.callback = Callback;
    want.userdata = this;
    _mixer = std::move(mixer);
    _device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (_device == 0) {
        std::cerr << "kestrun: no sound (SDL: " << SDL_GetError() << ")" << std::endl;
        _mixer.reset();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(_device, 0);
    g_playing = this;
    return true;
}

void Sound::FadeOut() {
    if (_device == 0 || !_mixer) {
        return;
    }
    _mixer->FadeOut();
    // Two silent blocks after the fade: the one holding its end has gone to the device. A
    // device that stopped calling back is not waited for long.
    const uint64_t giveUp = SDL_GetTicks64() + 200;
    while (_mixer->SilentBlocksAfterFade() < 2 && SDL_GetTicks64() < giveUp) {
        SDL_Delay(1);
    }
}

void Sound::Callback(void* self, uint8_t* stream, int bytes) {
    Sound& sound = *static_cast<Sound*>(self);
    const auto start = std::chrono::steady_clock::now();
    sound._mixer->Mix(reinterpret_cast<float*>(stream), bytes / static_cast<int>(2 * sizeof(float)));
    const auto spent = std::chrono::steady_clock::now() - start;
    sound._callbackNanos.fetch_add(
        std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count(),
        std::memory_order_relaxed);
}

void Sound::Engine(int racer, float speedShare) {
    if (_mixer) {
        _mixer->SetEngine(racer, speedShare);
    }
}

void Sound::Pickup(int racer) {
    if (_mixer) {
        _mixer->Play(SoundClip::Pickup, racer, 1.0f);
    }
}

void Sound::Knock(int racer, float strength) {
    if (_mixer) {
        // Even a crawl into the wall is heard; at full speed it is as loud as it gets.
        _mixer->Play(SoundClip::Wall, racer, 0.3f + 0.7f * strength);
    }
}

void Sound::Race(RaceSound sound, int racer) {
    static constexpr SoundClip kClips[] = {SoundClip::Countdown, SoundClip::Go, SoundClip::Lap,
                                           SoundClip::Finish};
    if (_mixer && sound <= RaceSound::Finish) {
        _mixer->Play(kClips[static_cast<int>(sound)], racer, 1.0f);
    }
}

SoundMixer& Sound::MixerForTesting() {
    if (!_mixer) {
        _mixer = std::make_unique<SoundMixer>(kRate);
    }
    return *_mixer;
}

double Sound::CallbackSeconds() const {
    return static_cast<double>(_callbackNanos.load(std::memory_order_relaxed)) * 1e-9;
}
