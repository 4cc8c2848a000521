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

const SoundFile kSoundFiles[4] = {
    {"engine1.wav", EngineLoop1},
    {"engine2.wav", EngineLoop2},
    {"pickup.wav", PickupChime},
    {"wall.wav", WallKnock},
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
