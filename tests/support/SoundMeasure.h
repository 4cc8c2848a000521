// Measures of recorded sound that know nothing of how the game makes it: loudness (RMS),
// the strength of one frequency (Goertzel) and the strongest frequency in a band (a Hann-
// windowed DFT), over a stretch of mono samples.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

struct StereoTrack {
    std::vector<float> left;
    std::vector<float> right;
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
    for (size_t i = from; i < from + count && i < samples.size(); ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return count ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}

// The amplitude of the sine at `frequency` in the stretch (1 for a full-scale sine), by
// Goertzel's recurrence over the Hann-windowed samples.
inline double ToneAmplitude(const std::vector<float>& samples, size_t from, size_t count,
                            double frequency, int rate) {
    const double omega = 2.0 * M_PI * frequency / rate;
    const double coefficient = 2.0 * std::cos(omega);
    double s1 = 0.0;
    double s2 = 0.0;
    for (size_t i = 0; i < count && from + i < samples.size(); ++i) {
        const double window = 0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(i) / count);
        const double s0 = samples[from + i] * window + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return 4.0 * std::sqrt(std::fmax(power, 0.0)) / static_cast<double>(count);
}

// The frequency from low to high (Hz) that is strongest in the stretch, in steps of 2 Hz.
inline double PeakFrequency(const std::vector<float>& samples, size_t from, size_t count,
                            int rate, double low, double high) {
    double best = low;
    double bestAmplitude = -1.0;
    for (double frequency = low; frequency <= high; frequency += 2.0) {
        const double amplitude = ToneAmplitude(samples, from, count, frequency, rate);
        if (amplitude > bestAmplitude) {
            bestAmplitude = amplitude;
            best = frequency;
        }
    }
    return best;
}
