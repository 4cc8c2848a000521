// Measures of recorded sound that know nothing of how the game makes it: loudness (RMS), the
// strength of one frequency (Goertzel over a Hann window) and the strongest one in a band.
#pragma once

#include <cmath>
#include <vector>

struct StereoTrack {
    std::vector<float> left, right;
};

inline StereoTrack SplitStereo(const float* frames, size_t count) {
    StereoTrack track;
    for (size_t i = 0; i < count; ++i) {
        track.left.push_back(frames[2 * i]);
        track.right.push_back(frames[2 * i + 1]);
    }
    return track;
}

inline double Rms(const std::vector<float>& samples, size_t from, size_t count) {
    double sum = 0.0;
    for (size_t i = from; i < from + count && i < samples.size(); ++i)
        sum += samples[i] * samples[i];
    return count ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}

// The amplitude of the sine at `frequency` in the stretch (1 for a full-scale sine).
inline double ToneAmplitude(const std::vector<float>& x, size_t from, size_t count,
                            double frequency, int rate) {
    const double c = 2.0 * std::cos(2.0 * M_PI * frequency / rate);
    double s1 = 0.0, s2 = 0.0;
    for (size_t i = 0; i < count && from + i < x.size(); ++i) {
        const double s0 =
            x[from + i] * (0.5 - 0.5 * std::cos(2.0 * M_PI * i / count)) + c * s1 - s2;
        s2 = s1, s1 = s0;
    }
    return 4.0 * std::sqrt(std::fmax(s1 * s1 + s2 * s2 - c * s1 * s2, 0.0)) /
           static_cast<double>(count);
}

// The strongest frequency from low to high (Hz), in steps of 2 Hz.
inline double PeakFrequency(const std::vector<float>& x, size_t from, size_t count, int rate,
                            double low, double high) {
    double best = low, strongest = -1.0;
    for (double f = low; f <= high; f += 2.0) {
        const double amplitude = ToneAmplitude(x, from, count, f, rate);
        if (amplitude > strongest)
            strongest = amplitude, best = f;
    }
    return best;
}
