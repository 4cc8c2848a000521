#include "SoundArt.h"

#include <cmath>
#include <fstream>
#include <iostream>

namespace {
constexpr double kPi = 3.14159265358979323846;

int16_t ToSample(double value) {
    const double clamped = value > 1.0 ? 1.0 : value < -1.0 ? -1.0 : value;
    return static_cast<int16_t>(std::lround(clamped * 32767.0));
}

// Half a second of a tone of `harmonics` partials (every one, or the odd ones only), partial k
// at 1/k of the fundamental's amplitude, with a slow rumble of the loudness: 5 cycles in the
// loop, so the loop stays seamless.
std::vector<int16_t> Engine(double fundamental, int harmonics, bool oddOnly, double rumble) {
    const int32_t count = kSoundRate / 2;
    std::vector<int16_t> samples(static_cast<size_t>(count));
    double norm = 0.0;
    for (int k = 1; k <= harmonics; k += oddOnly ? 2 : 1) {
        norm += 1.0 / k;
    }
    for (int32_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSoundRate;
        double value = 0.0;
        for (int k = 1; k <= harmonics; k += oddOnly ? 2 : 1) {
            value += std::sin(2.0 * kPi * fundamental * k * t) / k;
        }
        const double swell = 1.0 - rumble * 0.5 * (1.0 - std::cos(2.0 * kPi * 10.0 * t));
        samples[static_cast<size_t>(i)] = ToSample(0.8 * swell * value / norm);
    }
    return samples;
}

// Rises from 0 to 1 over x from 0 to 1 with no corner at either end.
double Ease(double x) {
    return x <= 0.0 ? 0.0 : x >= 1.0 ? 1.0 : 0.5 - 0.5 * std::cos(kPi * x);
}

// A note added into `wave` from `start` seconds for `length`: harmonics k = 1, 2, ... (the odd
// ones only when `oddOnly`) at 1/k^tilt of the first, up to 16 kHz, rising over `attack` and
// falling to silence over `release` at its end; with `vibrato` the pitch wobbles a little
// (0.4 % at 5.5 Hz) once the note has sounded for a quarter second.
struct Note {
    double start;
    double length;
    double frequency;
    double gain;
};
void AddNote(std::vector<double>& wave, const Note& note, bool oddOnly, double tilt, double attack,
             double release, bool vibrato) {
    const int32_t first = static_cast<int32_t>(note.start * kSoundRate);
    const int32_t count = static_cast<int32_t>(note.length * kSoundRate);
    double phase = 0.0;  // in cycles of the fundamental
    for (int32_t i = 0; i < count && static_cast<size_t>(first + i) < wave.size(); ++i) {
        const double t = static_cast<double>(i) / kSoundRate;
        const double wobble =
            vibrato ? 0.004 * Ease((t - 0.25) / 0.2) * std::sin(2.0 * kPi * 5.5 * t) : 0.0;
        phase += note.frequency * (1.0 + wobble) / kSoundRate;
        double value = 0.0;
        for (int k = 1; k * note.frequency < 16000.0; k += oddOnly ? 2 : 1) {
            value += std::sin(2.0 * kPi * k * phase) / std::pow(k, tilt);
        }
        const double edges = Ease(t / attack) * Ease((note.length - t) / release);
        wave[static_cast<size_t>(first + i)] += note.gain * edges * value;
    }
}

// A bell struck at `start`: its note dying away over `ring` seconds, and a bright partial at
// 2.76 times the note dying three times as fast, as a struck bar sounds.
void AddBell(std::vector<double>& wave, double start, double frequency, double ring) {
    for (size_t i = static_cast<size_t>(start * kSoundRate); i < wave.size(); ++i) {
        const double t = static_cast<double>(i) / kSoundRate - start;
        const double strike = Ease(t / 0.003);
        const double note = std::sin(2.0 * kPi * frequency * t) * std::exp(-t / ring);
        const double bright = std::sin(2.0 * kPi * 2.76 * frequency * t) * std::exp(-3 * t / ring);
        wave[i] += strike * (note + 0.3 * bright);
    }
}

// The wave scaled so that its loudest sample is `peak` (below full scale: nothing clips), and
// faded out over its last 20 ms so that it ends in silence.
std::vector<int16_t> Scaled(std::vector<double> wave, double peak) {
    const size_t fade = kSoundRate / 50;
    for (size_t i = 0; i < wave.size() && i < fade; ++i) {
        wave[wave.size() - 1 - i] *= Ease(static_cast<double>(i) / fade);
    }
    double loudest = 0.0;
    for (const double value : wave) {
        loudest = std::fmax(loudest, std::fabs(value));
    }
    std::vector<int16_t> samples;
    for (const double value : wave) {
        samples.push_back(ToSample(loudest > 0.0 ? value * peak / loudest : 0.0));
    }
    return samples;
}

std::vector<double> Silence(double seconds) {
    return std::vector<double>(static_cast<size_t>(seconds * kSoundRate), 0.0);
}

// A beep: a soft square-ish tone (odd harmonics falling off faster than a square's).
std::vector<int16_t> Beep(double frequency, double length) {
    std::vector<double> wave = Silence(length);
    AddNote(wave, {0.0, length, frequency, 1.0}, true, 1.6, 0.005, 0.04, false);
    return Scaled(wave, 0.6);
}

// A fixed pseudo-random sequence in -1..1 (a 32-bit linear congruential generator).
double Noise(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
}
}  // namespace

std::vector<int16_t> EngineLoop1() {
    return Engine(80.0, 5, false, 0.15);
}

std::vector<int16_t> EngineLoop2() {
    return Engine(110.0, 5, true, 0.25);
}

std::vector<int16_t> PickupChime() {
    const int32_t count = kSoundRate * 2 / 5;
    std::vector<int16_t> samples(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSoundRate;
        const double attack = std::fmin(1.0, t / 0.004);
        // The second tone enters 60 ms after the first: a rising two-note chime.
        const double first = std::sin(2.0 * kPi * 2637.0 * t) * std::exp(-t / 0.12);
        const double second =
            t < 0.06 ? 0.0 : std::sin(2.0 * kPi * 3520.0 * (t - 0.06)) * std::exp(-(t - 0.06) / 0.12);
        samples[static_cast<size_t>(i)] = ToSample(0.45 * attack * (first + second));
    }
    return samples;
}

std::vector<int16_t> WallKnock() {
    const int32_t count = kSoundRate / 4;
    std::vector<int16_t> samples(static_cast<size_t>(count));
    uint32_t state = 0x4b6e6f63u;
    double previous = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSoundRate;
        const double thump = std::sin(2.0 * kPi * 55.0 * t) * std::exp(-t / 0.06);
        // White noise through a first difference: its energy lies in the high band.
        const double white = Noise(state);
        const double bright = (white - previous) * 0.5 * std::exp(-t / 0.02);
        previous = white;
        const double attack = std::fmin(1.0, t / 0.002);
        samples[static_cast<size_t>(i)] = ToSample(attack * (0.7 * thump + 0.5 * bright));
    }
    return samples;
}

std::vector<int16_t> CountdownBeep() {
    return Beep(880.0, 0.16);
}

std::vector<int16_t> GoBeep() {
    return Beep(1760.0, 0.45);
}

std::vector<int16_t> LapChime() {
    std::vector<double> wave = Silence(0.8);
    AddBell(wave, 0.0, 1046.5, 0.25);
    AddBell(wave, 0.09, 1318.5, 0.25);
    AddBell(wave, 0.18, 1568.0, 0.3);
    return Scaled(wave, 0.55);
}

std::vector<int16_t> FinishFanfare() {
    std::vector<double> wave = Silence(1.6);
    const Note kCall[] = {
        {0.00, 0.14, 392.0, 0.8},  {0.15, 0.14, 523.25, 0.8}, {0.30, 0.14, 659.25, 0.8},
        {0.45, 1.15, 1046.5, 1.0}, {0.45, 1.15, 784.0, 0.6},
    };
    for (const Note& note : kCall) {
        AddNote(wave, note, false, 1.5, 0.015, note.length > 1.0 ? 0.35 : 0.03, note.length > 1.0);
    }
    return Scaled(wave, 0.7);
}

const SoundFile kSoundFiles[8] = {
    {"engine1.wav", EngineLoop1},     {"engine2.wav", EngineLoop2},
    {"pickup.wav", PickupChime},      {"wall.wav", WallKnock},
    {"countdown.wav", CountdownBeep}, {"go.wav", GoBeep},
    {"lap.wav", LapChime},            {"finish.wav", FinishFanfare},
};

namespace {
void Put32(std::ofstream& out, uint32_t value) {
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8),
                           static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
    out.write(bytes, 4);
}
void Put16(std::ofstream& out, uint16_t value) {
    const char bytes[2] = {static_cast<char>(value), static_cast<char>(value >> 8)};
    out.write(bytes, 2);
}
}  // namespace

bool WriteWav(const std::vector<int16_t>& samples, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    Put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kSoundRate);
    Put32(out, kSoundRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, dataBytes);
    for (int16_t sample : samples) {
        Put16(out, static_cast<uint16_t>(sample));
    }
    out.close();
    if (!out) {
        std::cout << "kestrun-assets: cannot write " << path << std::endl;
    }
    return static_cast<bool>(out);
}
