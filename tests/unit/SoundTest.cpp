// The race's sound without a device: the mixer measured on what it mixes; the sound files
// and the volume setting the game reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "SoundMeasure.h"
#include "TempDir.h"
#include "platform/Sound.h"

namespace {
constexpr int kRate = 48000;
constexpr size_t kSpan = 8192;

std::vector<float> Sine(double frequency, size_t count) {
    std::vector<float> samples(count);
    for (size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<float>(std::sin(2.0 * M_PI * frequency * i / kRate));
    }
    return samples;
}

// Mixes `seconds` in the device's blocks of 512 frames.
StereoTrack MixFor(SoundMixer& mixer, double seconds) {
    std::vector<float> all(2 * static_cast<size_t>(std::ceil(seconds * kRate / 512)) * 512);
    for (size_t done = 0; done < all.size(); done += 1024) {
        mixer.Mix(all.data() + done, 512);
    }
    return SplitStereo(all.data(), all.size() / 2);
}

double Pitch(const std::vector<float>& x, size_t from) {
    return PeakFrequency(x, from, kSpan, kRate, 100, 1000);
}
} // namespace

// Racer 1's engine a 200 Hz loop, racer 2's 300 Hz: each louder on its own side, racer 1's
// gliding up to its top pitch and back without a jump in the samples (no click).
TEST(SoundMixer, EnginesGlideWithTheSpeedEachOnItsSide) {
    SoundMixer mixer(kRate);
    mixer.SetClip(SoundClip::Engine1, Sine(200.0, kRate / 2));
    mixer.SetClip(SoundClip::Engine2, Sine(300.0, kRate / 2));
    const StereoTrack idle = MixFor(mixer, 0.2);
    EXPECT_NEAR(200.0, Pitch(idle.left, 0), 4.0);
    EXPECT_NEAR(300.0, Pitch(idle.right, 0), 4.0);
    const double top = 200.0 * SoundMixer::kTopPitch;
    const float topStep = 2.0f * static_cast<float>(std::sin(M_PI * top / kRate));
    for (float speed : {1.0f, std::nanf("")}) { // full speed, then stopped (no speed at all)
        mixer.SetEngine(0, speed);
        mixer.SetEngine(7, 1.0f); // no such racer
        const StereoTrack glide = MixFor(mixer, 0.5);
        const std::vector<float>& left = glide.left;
        float step = 0.0f;
        for (size_t i = 1; i < left.size(); ++i)
            step = std::max(step, std::abs(left[i] - left[i - 1]));
        EXPECT_LE(step, topStep) << "a click at speed " << speed;
        EXPECT_NEAR(speed == 1.0f ? top : 200.0, Pitch(left, left.size() - kSpan), 4.0);
        EXPECT_LT(
            std::abs(PeakFrequency(left, 0, 1024, kRate, 100, 1000) - (speed == 1.0f ? 200 : top)),
            std::abs(top - 200) * 0.8)
            << "the pitch jumped instead of gliding";
        EXPECT_NEAR(300.0, PeakFrequency(glide.right, 0, kSpan, kRate, 250, 350), 4.0);
    }
}

// One-shots sound in the very next block, once, on their racer's side, at the loudness asked;
// a full queue refuses more rather than overwrite one not yet played.
TEST(SoundMixer, OneShotsPlayOnceFromTheNextBlockOnTheirSide) {
    SoundMixer mixer(kRate);
    mixer.SetClip(SoundClip::Wall, std::vector<float>(4800, 0.5f));
    ASSERT_TRUE(mixer.Play(SoundClip::Wall, 1, 0.25f));
    const StereoTrack knock = MixFor(mixer, 0.2);
    EXPECT_GT(Rms(knock.right, 0, 512), 1.5 * Rms(knock.left, 0, 512));
    EXPECT_EQ(0.0, Rms(knock.right, 4800, 4800)) << "a one-shot plays once";
    mixer.Play(SoundClip::Wall, 1, 0.5f); // two in one block, each on a voice of its own
    mixer.Play(SoundClip::Wall, 1, 0.5f);
    EXPECT_NEAR(4.0 * Rms(knock.right, 0, 512), Rms(MixFor(mixer, 0.01).right, 0, 512), 1e-4);
    for (int i = 0; i < SoundMixer::kQueueSize; ++i)
        EXPECT_TRUE(mixer.Play(SoundClip::Wall, 0, 1));
    EXPECT_FALSE(mixer.Play(SoundClip::Wall, 0, 1.0f));
    const StereoTrack crowd = MixFor(mixer, 0.2);
    EXPECT_LE(*std::max_element(crowd.left.begin(), crowd.left.end()), SoundMixer::kCeiling);
    EXPECT_TRUE(mixer.Play(SoundClip::Wall, 0, 1.0f)) << "mixing empties the queue";
    // The race's sounds through the game's calls, each its own clip: on its racer's side, or
    // in the middle for both.
    Sound sound;
    const struct { RaceSound cue; SoundClip clip; int racer; } kCues[] = {
        {RaceSound::Countdown, SoundClip::Countdown, kBothRacers},
        {RaceSound::Go, SoundClip::Go, kBothRacers}, {RaceSound::Lap, SoundClip::Lap, 0},
        {RaceSound::Finish, SoundClip::Finish, 1}};
    for (const auto& c : kCues) {
        sound.MixerForTesting().SetClip(c.clip, std::vector<float>(4800, 0.5f));
        sound.Race(c.cue, c.racer);
        const StereoTrack cue = MixFor(sound.MixerForTesting(), 0.2);
        const double left = Rms(cue.left, 0, 512), right = Rms(cue.right, 0, 512);
        EXPECT_TRUE(c.racer < 0 ? left > 0.3 && std::abs(left - right) < 1e-6
                                : (c.racer ? right / left : left / right) > 1.5) << int(c.clip);
        sound.MixerForTesting().SetClip(c.clip, {});
    }
}

// Both racers' knocks at once, a full-scale sound at full volume, are turned down to the
// ceiling together instead of clipping; a quiet knock after them is heard at its own loudness.
// At quit the mix fades out within a few milliseconds, never faster than the sound itself
// moves, and stays silent.
TEST(SoundMixer, LoudMomentsAreTurnedDownNotClippedAndQuitFadesOut) {
    // Both knocks over racer 1's engine at the top, and the same at a tenth of the volume.
    SoundMixer mixer(kRate);
    SoundMixer tenth(kRate);
    tenth.SetVolume(0.1f);
    StereoTrack both, quietly;
    for (auto [each, track] : {std::make_pair(&mixer, &both), std::make_pair(&tenth, &quietly)}) {
        each->SetClip(SoundClip::Wall, Sine(400.0, kRate / 10));
        each->SetClip(SoundClip::Engine1, Sine(200.0, kRate));
        each->SetEngine(0, 1.0f);
        MixFor(*each, 0.2);
        each->Play(SoundClip::Wall, 0, 1.0f);
        each->Play(SoundClip::Wall, 1, 1.0f);
        *track = MixFor(*each, 0.1);
    }
    float loudest = 0.0f;
    for (const std::vector<float>* side : {&both.left, &both.right}) {
        for (const float sample : *side) {
            loudest = std::max(loudest, std::fabs(sample));
        }
    }
    EXPECT_LE(loudest, SoundMixer::kCeiling);
    EXPECT_GT(loudest, 0.95f * SoundMixer::kCeiling) << "turned down, not silenced";
    // Both sides turned down together: left to right as at a tenth, so the racers keep places.
    double worst = 0.0;
    for (size_t i = 0; i < both.left.size(); ++i) {
        if (std::fabs(quietly.left[i]) > 0.01f && std::fabs(quietly.right[i]) > 0.01f) {
            worst = std::max(worst, std::fabs(double(both.left[i]) / both.right[i] /
                                              (double(quietly.left[i]) / quietly.right[i]) - 1.0));
        }
    }
    EXPECT_LT(worst, 0.01);

    SoundMixer quiet(kRate);
    quiet.SetClip(SoundClip::Wall, Sine(400.0, kRate / 10));
    quiet.Play(SoundClip::Wall, 0, 0.3f);
    const double alone = Rms(MixFor(quiet, 0.1).left, 0, 2400);
    MixFor(mixer, 0.3);  // the loud moment long past
    mixer.SetEngine(0, 0.0f);
    MixFor(mixer, 0.3);
    mixer.SetClip(SoundClip::Engine1, {});
    mixer.Play(SoundClip::Wall, 0, 0.3f);
    EXPECT_NEAR(alone, Rms(MixFor(mixer, 0.1).left, 0, 2400), 0.01 * alone);

    mixer.SetClip(SoundClip::Engine1, Sine(200.0, kRate));
    const StereoTrack before = MixFor(mixer, 0.2);
    float toneStep = 0.0f;
    for (size_t i = 1; i < before.left.size(); ++i) {
        toneStep = std::max(toneStep, std::fabs(before.left[i] - before.left[i - 1]));
    }
    mixer.FadeOut();
    const StereoTrack fade = MixFor(mixer, 0.1);
    const size_t faded = static_cast<size_t>(SoundMixer::kFadeSeconds * kRate) + 1;
    EXPECT_GT(std::fabs(fade.left[faded / 4]) + std::fabs(fade.left[faded / 4 + 50]), 0.0f);
    float fadeStep = std::fabs(fade.left[0] - before.left.back());
    for (size_t i = 1; i < fade.left.size(); ++i) {
        fadeStep = std::max(fadeStep, std::fabs(fade.left[i] - fade.left[i - 1]));
        if (i >= faded) {
            ASSERT_EQ(0.0f, fade.left[i]) << i;
        }
    }
    EXPECT_LE(fadeStep, toneStep * 1.05f);
    EXPECT_GE(mixer.SilentBlocksAfterFade(), 2);
}

TEST(SoundSettings, AnyWavReadAsMonoAtTheDeviceRateBadFilesRefused) {
    auto wav = [](int channels, size_t frames, const std::string& pcm = "") {
        auto bytes = [](uint32_t v, int n) { return std::string(reinterpret_cast<char*>(&v), n); };
        std::string data = pcm;
        for (size_t i = 0; pcm.empty() && i < frames * channels; ++i) {
            data += bytes(
                static_cast<uint16_t>(16000 * std::sin(2 * M_PI * 441 * (i / channels) / 22050)),
                2);
        }
        return "RIFF" + bytes(36 + data.size(), 4) + "WAVEfmt " + bytes(16, 4) + bytes(1, 2) +
               bytes(channels, 2) + bytes(22050, 4) + bytes(22050 * channels * 2, 4) +
               bytes(channels * 2, 2) + bytes(16, 2) + "data" + bytes(data.size(), 4) + data;
    };
    TempDir dir;
    std::vector<float> mono;
    std::string error;
    ASSERT_TRUE(LoadSound(dir.Write("a.wav", wav(2, 22050)), kRate, &mono, &error)) << error;
    EXPECT_NEAR(kRate, static_cast<double>(mono.size()), kRate * 0.01); // one second
    EXPECT_NEAR(16000.0 / 32768, ToneAmplitude(mono, 8000, kSpan, 441.0, kRate), 0.03);
    for (const std::string& bad : {std::string(), std::string("not a sound\n"),
                                   wav(1, 1000).substr(0, 30), wav(1, 0), wav(1, 22050 * 61)}) {
        const std::string path = bad.empty() ? dir.File("missing.wav") : dir.Write("bad.wav", bad);
        error.clear();
        EXPECT_FALSE(LoadSound(path, kRate, &mono, &error)) << bad.size() << " bytes";
        EXPECT_FALSE(error.empty());
    }
}
