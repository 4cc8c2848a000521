#include "platform/SoundMixer.h"

#include <algorithm>
#include <cmath>

namespace {
float Clamp01(float value) {
    return value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value;
}
}  // namespace

void PanGains(float pan, float* left, float* right) {
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * 3.14159265f;
    *left = std::cos(angle);
    *right = std::sin(angle);
}

SoundMixer::SoundMixer(int rate)
    : _rate(rate), _follow(1.0f - std::exp(-1.0f / (kFollowSeconds * static_cast<float>(rate)))),
      _release(std::exp(-1.0f / (kReleaseSeconds * static_cast<float>(rate)))) {}

void SoundMixer::SetClip(SoundClip clip, std::vector<float> samples) {
    _clips[static_cast<int>(clip)] = std::move(samples);
}

void SoundMixer::SetEngine(int racer, float speedShare) {
    if (racer < 0 || racer >= kRacers) {
        return;
    }
    const float share = std::isfinite(speedShare) ? Clamp01(speedShare) : 0.0f;
    _engines[racer].targetPitch.store(kIdlePitch + (kTopPitch - kIdlePitch) * share,
                                      std::memory_order_relaxed);
    _engines[racer].targetGain.store(kIdleGain + (kTopGain - kIdleGain) * share,
                                     std::memory_order_relaxed);
}

bool SoundMixer::Play(SoundClip clip, int racer, float loudness) {
    const uint32_t head = _queueHead.load(std::memory_order_relaxed);
    if (head - _queueTail.load(std::memory_order_acquire) >= kQueueSize) {
        return false;
    }
    Cue& cue = _queue[head % kQueueSize];
    cue.clip = clip;
    const float gain = std::isfinite(loudness) ? Clamp01(loudness) : 0.0f;
    PanGains(racer >= 0 && racer < kRacers ? kPan[racer] : 0.0f, &cue.left, &cue.right);
    cue.left *= gain;
    cue.right *= gain;
    _queueHead.store(head + 1, std::memory_order_release);
    return true;
}

// Queued one-shots take free voices; with every voice busy, the one nearest its end gives way.
void SoundMixer::TakeCues() {
    uint32_t tail = _queueTail.load(std::memory_order_relaxed);
    const uint32_t head = _queueHead.load(std::memory_order_acquire);
    for (; tail != head; ++tail) {
        const Cue& cue = _queue[tail % kQueueSize];
        const std::vector<float>& clip = _clips[static_cast<int>(cue.clip)];
        if (clip.empty()) {
            continue;
        }
        Voice* chosen = &_voices[0];
        for (Voice& voice : _voices) {
            const size_t left = voice.clip ? voice.clip->size() - voice.position : 0;
            const size_t chosenLeft = chosen->clip ? chosen->clip->size() - chosen->position : 0;
            if (left < chosenLeft) {
                chosen = &voice;
            }
        }
        *chosen = Voice{&clip, 0, cue.left, cue.right};
    }
    _queueTail.store(tail, std::memory_order_release);
}

void SoundMixer::Mix(float* stereo, int frames) {
    TakeCues();
    std::fill(stereo, stereo + 2 * static_cast<size_t>(frames), 0.0f);
    for (int racer = 0; racer < kRacers; ++racer) {
        Engine& engine = _engines[racer];
        const std::vector<float>& clip =
            _clips[static_cast<int>(racer == 0 ? SoundClip::Engine1 : SoundClip::Engine2)];
        const float targetPitch = engine.targetPitch.load(std::memory_order_relaxed);
        const float targetGain = engine.targetGain.load(std::memory_order_relaxed);
        if (clip.size() < 2) {
            engine.pitch = targetPitch;
            engine.gain = targetGain;
            continue;
        }
        float left = 0.0f;
        float right = 0.0f;
        PanGains(kPan[racer], &left, &right);
        const double length = static_cast<double>(clip.size());
        for (int frame = 0; frame < frames; ++frame) {
            // Pitch and loudness glide sample by sample: no steps to click or buzz.
            engine.pitch += (targetPitch - engine.pitch) * _follow;
            engine.gain += (targetGain - engine.gain) * _follow;
            const size_t index = static_cast<size_t>(engine.position);
            const float between = static_cast<float>(engine.position - static_cast<double>(index));
            const float a = clip[index];
            const float b = clip[index + 1 < clip.size() ? index + 1 : 0];
            const float sample = (a + (b - a) * between) * engine.gain;
            stereo[2 * frame] += sample * left;
            stereo[2 * frame + 1] += sample * right;
            engine.position += engine.pitch;
            while (engine.position >= length) {
                engine.position -= length;
            }
        }
    }
    for (Voice& voice : _voices) {
        if (!voice.clip) {
            continue;
        }
        const size_t count = std::min(voice.clip->size() - voice.position, static_cast<size_t>(frames));
        for (size_t i = 0; i < count; ++i) {
            const float sample = (*voice.clip)[voice.position + i];
            stereo[2 * i] += sample * voice.left;
            stereo[2 * i + 1] += sample * voice.right;
        }
        voice.position += count;
        if (voice.position >= voice.clip->size()) {
            voice.clip = nullptr;
        }
    }
    Finish(stereo, frames);
}

void SoundMixer::Finish(float* stereo, int frames) {
    const float volume = Clamp01(_volume.load(std::memory_order_relaxed));
    const bool fading = _fading.load(std::memory_order_acquire);
    const float fadeStep = 1.0f / (kFadeSeconds * static_cast<float>(_rate));
    const bool silentBefore = _fadeGain <= 0.0f;
    for (int frame = 0; frame < frames; ++frame) {
        float& left = stereo[2 * frame];
        float& right = stereo[2 * frame + 1];
        left *= volume;
        right *= volume;
        // Both sides turned down together, so the racers keep their places.
        const float peak = std::max(std::fabs(left), std::fabs(right));
        _envelope = std::isfinite(peak) ? std::max(peak, _envelope * _release) : _envelope;
        const float gain = _envelope > kCeiling ? kCeiling / _envelope : 1.0f;
        if (fading) {
            _fadeGain = std::max(0.0f, _fadeGain - fadeStep);
        }
        left = std::clamp(left * gain * _fadeGain, -kCeiling, kCeiling);
        right = std::clamp(right * gain * _fadeGain, -kCeiling, kCeiling);
    }
    if (silentBefore) {
        _silentBlocks.fetch_add(1, std::memory_order_acq_rel);
    }
}
