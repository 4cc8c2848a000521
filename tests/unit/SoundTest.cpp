// The race's sound without a device: the mixer's engines, one-shots and volume, measured on
// what it mixes; the sound files the game reads; the volume setting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "SoundMeasure.h"
#include "TempDir.h"
#include "platform/Sound.h"
#include "platform/SoundMixer.h"

namespace {
constexpr int kRate = 48000;

std::vector<float> Sine(double frequency, double seconds) {
    std::vector<float> samples(static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<float>(std::sin(2.0 * M_PI * frequency * i / kRate));
    }
    return samples;
}

// Mixes `seconds` in the device's blocks and returns both channels.
StereoTrack MixFor(SoundMixer& mixer, double seconds, int block = 512) {
    std::vector<float> all;
    std::vector<float> frames(2 * static_cast<size_t>(block));
    for (int done = 0; done < seconds * kRate; done += block) {
        mixer.Mix(frames.data(), block);
        all.insert(all.end(), frames.begin(), frames.end());
    }
    return SplitStereo(all.data(), all.size() / 2);
}

// Engines of 200 Hz (racer 1) and 300 Hz (racer 2), each loop a whole number of periods.
std::unique_ptr<SoundMixer> EngineMixer() {
    auto mixer = std::make_unique<SoundMixer>(kRate);
    mixer->SetClip(SoundClip::Engine1, Sine(200.0, 0.5));
    mixer->SetClip(SoundClip::Engine2, Sine(300.0, 0.5));
    return mixer;
}

float LargestStep(const std::vector<float>& samples) {
    float largest = 0.0f;
    for (size_t i = 1; i < samples.size(); ++i) {
        largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    }
    return largest;
}
}  // namespace

TEST(SoundMixer, EnginesFollowTheSpeedSmoothlyEachOnItsSide) {
    auto mixer = EngineMixer();
    const StereoTrack idle = MixFor(*mixer, 0.5);
    // Standing: each engine at its own pitch, racer 1 louder on the left, racer 2 on the right.
    EXPECT_NEAR(200.0, PeakFrequency(idle.left, 0, 8192, kRate, 100, 1000), 4.0);
    EXPECT_NEAR(300.0, PeakFrequency(idle.right, 0, 8192, kRate, 100, 1000), 4.0);
    EXPECT_GT(ToneAmplitude(idle.left, 0, 8192, 200, kRate),
              1.3 * ToneAmplitude(idle.right, 0, 8192, 200, kRate));
    EXPECT_GT(ToneAmplitude(idle.right, 0, 8192, 300, kRate),
              1.3 * ToneAmplitude(idle.left, 0, 8192, 300, kRate));

    // Racer 1 at full speed at once: its pitch and loudness glide up, with no jump in the
    // samples larger than the fastest tone's own steps (no click), and settle at the top.
    mixer->SetEngine(0, 1.0f);
    const StereoTrack rising = MixFor(*mixer, 0.5);
    const double top = 200.0 * SoundMixer::kTopPitch;
    const float topStep = 2.0f * static_cast<float>(std::sin(M_PI * top / kRate));
    EXPECT_LE(LargestStep(rising.left), topStep);
    const double early = PeakFrequency(rising.left, 0, 1024, kRate, 100, 1000);
    EXPECT_LT(early, top * 0.8) << "the pitch jumped instead of gliding";
    EXPECT_NEAR(top, PeakFrequency(rising.left, rising.left.size() - 8192, 8192, kRate, 100, 1000),
                4.0);
    EXPECT_GT(Rms(rising.left, rising.left.size() - 8192, 8192), 1.5 * Rms(idle.left, 0, 8192));
    // Racer 2 stood still all along.
    EXPECT_NEAR(300.0, PeakFrequency(rising.right, rising.right.size() - 8192, 8192, kRate, 250, 350),
                4.0);

    // Stopped by a wall: back to the idle pitch, smoothly; nonsense speeds are taken as none.
    mixer->SetEngine(0, std::nanf(""));
    mixer->SetEngine(5, 1.0f);
    const StereoTrack falling = MixFor(*mixer, 0.5);
    EXPECT_LE(LargestStep(falling.left), topStep);
    EXPECT_NEAR(200.0, PeakFrequency(falling.left, falling.left.size() - 8192, 8192, kRate, 100, 1000),
                4.0);
}

TEST(SoundMixer, OneShotsSoundInTheNextBlockOnTheirRacersSide) {
    SoundMixer mixer(kRate);
    mixer.SetClip(SoundClip::Pickup, Sine(3000.0, 0.1));
    mixer.SetClip(SoundClip::Wall, std::vector<float>(4800, 0.5f));
    EXPECT_EQ(0.0, Rms(MixFor(mixer, 0.05).left, 0, 2400));  // no engines loaded: silence
    ASSERT_TRUE(mixer.Play(SoundClip::Pickup, 1, 1.0f));
    const StereoTrack chime = MixFor(mixer, 0.2);
    EXPECT_GT(Rms(chime.right, 0, 512), 0.3) << "not heard in the first block";
    EXPECT_GT(Rms(chime.right, 0, 4800), 1.3 * Rms(chime.left, 0, 4800)) << "racer 2 is right";
    EXPECT_EQ(0.0, Rms(chime.right, 4800, 4800)) << "a one-shot plays once";
    // A knock's loudness follows what it is given; more sounds than voices overlap safely.
    mixer.Play(SoundClip::Wall, 0, 0.25f);
    const double soft = Rms(MixFor(mixer, 0.11).left, 0, 480);
    mixer.Play(SoundClip::Wall, 0, 1.0f);
    EXPECT_NEAR(4.0 * soft, Rms(MixFor(mixer, 0.01).left, 0, 480), 1e-3);
    for (int i = 0; i < SoundMixer::kQueueSize; ++i) {
        EXPECT_TRUE(mixer.Play(SoundClip::Wall, 0, 1.0f));
    }
    EXPECT_FALSE(mixer.Play(SoundClip::Wall, 0, 1.0f)) << "the queue holds only so many";
    const StereoTrack crowd = MixFor(mixer, 0.2);
    EXPECT_LE(*std::max_element(crowd.left.begin(), crowd.left.end()), 1.0f) << "clipped to 1";
    EXPECT_TRUE(mixer.Play(SoundClip::Pickup, 0, 1.0f)) << "the queue empties as it is mixed";
}

TEST(SoundMixer, VolumeScalesEverything) {
    auto full = EngineMixer();
    auto half = EngineMixer();
    half->SetVolume(0.5f);
    auto none = EngineMixer();
    none->SetVolume(0.0f);
    const double loud = Rms(MixFor(*full, 0.1).left, 0, 4800);
    EXPECT_NEAR(0.5 * loud, Rms(MixFor(*half, 0.1).left, 0, 4800), 1e-4);
    EXPECT_EQ(0.0, Rms(MixFor(*none, 0.1).left, 0, 4800));
}

namespace {
// A WAV file of 16-bit samples as a paint program or sound editor writes it.
std::string Wav(int rate, int channels, const std::vector<int16_t>& samples) {
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string data;
    for (int16_t s : samples) data += u16(static_cast<uint16_t>(s));
    return "RIFF" + u32(36 + data.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(channels) +
           u32(rate) + u32(rate * channels * 2) + u16(channels * 2) + u16(16) + "data" +
           u32(data.size()) + data;
}
}  // namespace

TEST(SoundFile, ReadsAnyRateAndChannelsAsMonoAtTheDeviceRateAndRefusesTheRest) {
    TempDir dir;
    std::vector<int16_t> stereo;
    for (int i = 0; i < 22050; ++i) {
        const auto value = static_cast<int16_t>(16000 * std::sin(2.0 * M_PI * 441.0 * i / 22050));
        stereo.push_back(value);
        stereo.push_back(value);
    }
    std::vector<float> samples;
    std::string error;
    ASSERT_TRUE(LoadSound(dir.Write("a.wav", Wav(22050, 2, stereo)), kRate, &samples, &error)) << error;
    EXPECT_NEAR(kRate, static_cast<double>(samples.size()), kRate * 0.01);  // one second
    EXPECT_NEAR(441.0, PeakFrequency(samples, 8000, 8192, kRate, 300, 600), 4.0);
    EXPECT_NEAR(16000.0 / 32768.0, ToneAmplitude(samples, 8000, 8192, 441.0, kRate), 0.03);

    const struct {
        const char* name;
        std::string bytes;  // empty: no file
    } bad[] = {{"missing.wav", ""},
               {"text.wav", "this is not a sound\n"},
               {"cut.wav", Wav(44100, 1, std::vector<int16_t>(1000, 1)).substr(0, 30)},
               {"silent.wav", Wav(44100, 1, {})},
               {"long.wav", Wav(1000, 1, std::vector<int16_t>(61000, 1))}};
    for (const auto& file : bad) {
        const std::string path = file.bytes.empty() ? dir.File(file.name) : dir.Write(file.name, file.bytes);
        error.clear();
        EXPECT_FALSE(LoadSound(path, kRate, &samples, &error)) << file.name;
        EXPECT_FALSE(error.empty()) << file.name;
    }
}

TEST(SoundVolume, ReadsAWholeNumberFrom0To100) {
    const struct {
        const char* setting;
        int volume;
        bool complains;
    } rows[] = {{nullptr, 80, false}, {"", 80, false},    {"0", 0, false},    {"100", 100, false},
                {"35", 35, false},    {"101", 80, true},  {"-1", 80, true},   {"loud", 80, true},
                {"50%", 80, true},    {" 50", 80, true},  {"+5", 80, true},   {"99999999999999999999", 80, true}};
    for (const auto& row : rows) {
        std::string problem;
        EXPECT_EQ(row.volume, ParseVolume(row.setting, &problem)) << (row.setting ? row.setting : "unset");
        EXPECT_EQ(row.complains, !problem.empty()) << (row.setting ? row.setting : "unset");
    }
}
