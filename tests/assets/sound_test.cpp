// The sounds as the game's sound bank loads them: they decode, run for the
// right time at the mixing rate, sit at balanced levels, and the music
// loops without a gap or a click.
#include "generated_assets.h"

#include "audio/sound_bank.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct Decoded {
    bool ok = false;
    std::vector<double> left;  // the left channel, -1 to 1 (the effects are mono)
    double seconds() const { return left.size() / 44100.0; }
};

// Loads a file into a slot of the game's own sound bank and reads it back.
Decoded decode(int slot, const std::string& relativePath) {
    Decoded d;
    const GeneratedAssets& assets = generatedAssets();
    if (!assets.ok) return d;
    soundBank.initAudio();
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&rate, &format, &channels) || rate != 44100 || format != AUDIO_S16SYS || channels != 2)
        return d;
    if (!soundBank.loadSample(slot, (assets.first + "/" + relativePath).c_str())) return d;
    const Mix_Chunk* chunk = soundBank.samples[slot];
    const Sint16* s = reinterpret_cast<const Sint16*>(chunk->abuf);
    const size_t frames = chunk->alen / 4;
    d.left.resize(frames);
    for (size_t i = 0; i < frames; ++i) d.left[i] = s[2 * i] / 32768.0;
    d.ok = true;
    return d;
}

double rms(const std::vector<double>& v, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count; ++i) sum += v[i] * v[i];
    return std::sqrt(sum / count);
}

double peak(const std::vector<double>& v) {
    double p = 0;
    for (double s : v) p = std::max(p, std::fabs(s));
    return p;
}

// Level of the loud part of an effect: the 50 ms around its peak.
double effectLevel(const std::vector<double>& v) {
    const size_t at = std::max_element(v.begin(), v.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); }) - v.begin();
    const size_t from = at > 1102 ? at - 1102 : 0;
    return rms(v, from, std::min<size_t>(2205, v.size() - from));
}

struct EffectSpec {
    int slot;
    const char* path;
};

const EffectSpec EFFECTS[] = {
    {SOUND_BLEEP, "sound/BLEEP.mp3"},     {SOUND_POP, "sound/pop.wav"},         {SOUND_TIMEUP, "sound/timeup.wav"},
    {SOUND_RESTART, "sound/restart.wav"}, {SOUND_FINISH, "sound/finish.wav"},
};

const Decoded& music() {
    static const Decoded decoded = decode(SOUND_MUSIC, "sound/music.mp3");
    return decoded;
}

TEST(Sounds, FilesAreStoredAtTheMixingRate) {
    const GeneratedAssets& assets = generatedAssets();
    ASSERT_TRUE(assets.ok);
    for (const char* wav : {"sound/pop.wav", "sound/timeup.wav", "sound/restart.wav", "sound/finish.wav"}) {
        const std::vector<unsigned char> f = readWholeFile(assets.first + "/" + wav);
        ASSERT_GE(f.size(), 44u) << wav;
        EXPECT_EQ(std::string(f.begin(), f.begin() + 4), "RIFF") << wav;
        EXPECT_EQ(f[24] | (f[25] << 8) | (f[26] << 16), 44100) << wav;
        EXPECT_EQ(f[34], 16) << wav;
    }
    for (const char* mp3 : {"sound/BLEEP.mp3", "sound/music.mp3"}) {
        const std::vector<unsigned char> f = readWholeFile(assets.first + "/" + mp3);
        ASSERT_GE(f.size(), 4u) << mp3;
        // The first frame header: MPEG-1 layer III, sample-rate index 0 (44100 Hz).
        EXPECT_EQ(f[0], 0xFF) << mp3;
        EXPECT_EQ(f[1] & 0xFE, 0xFA) << mp3;
        EXPECT_EQ((f[2] >> 2) & 3, 0) << mp3;
    }
}

TEST(Sounds, EffectsDecodeAndAreShortWithCleanEnds) {
    for (const EffectSpec& e : EFFECTS) {
        SCOPED_TRACE(e.path);
        const Decoded d = decode(e.slot, e.path);
        ASSERT_TRUE(d.ok);
        EXPECT_GT(d.seconds(), 0.05);
        EXPECT_LT(d.seconds(), 0.5);
        // It sounds at once, the moment the event happens...
        size_t first = 0;
        while (first < d.left.size() && std::fabs(d.left[first]) < 0.01) ++first;
        EXPECT_LT(first, 441u) << "starts within 10 ms";
        // ...and dies away to nothing, so it ends without a click.
        double tail = 0;
        for (size_t i = d.left.size() - 88; i < d.left.size(); ++i) tail = std::max(tail, std::fabs(d.left[i]));
        EXPECT_LT(tail, 0.02);
    }
}

TEST(Sounds, LevelsAreBalancedAgainstTheMusic) {
    const Decoded& m = music();
    ASSERT_TRUE(m.ok);
    const double musicLevel = rms(m.left, 0, m.left.size());
    EXPECT_GT(musicLevel, 0.05) << "about -26 dBFS";
    EXPECT_LT(musicLevel, 0.25) << "about -12 dBFS";
    EXPECT_LT(peak(m.left), 0.99) << "the music never clips";
    for (const EffectSpec& e : EFFECTS) {
        SCOPED_TRACE(e.path);
        const Decoded d = decode(e.slot, e.path);
        ASSERT_TRUE(d.ok);
        EXPECT_LT(peak(d.left), 0.5);
        EXPECT_LT(effectLevel(d.left), musicLevel * 2.5) << "the effect would drown the music";
        EXPECT_GT(effectLevel(d.left), musicLevel * 0.4) << "the effect would be lost under the music";
    }
    // A four-block elimination starts four bleeps in the same tick.
    const Decoded bleep = decode(SOUND_BLEEP, "sound/BLEEP.mp3");
    ASSERT_TRUE(bleep.ok);
    EXPECT_LT(4 * peak(bleep.left), 1.0);
}

TEST(Music, RunsOneToTwoMinutes) {
    const Decoded& m = music();
    ASSERT_TRUE(m.ok);
    EXPECT_GE(m.seconds(), 60.0);
    EXPECT_LE(m.seconds(), 120.0);
}

TEST(Music, EndJoinsTheStartWithoutAGapOrAClick) {
    const Decoded& m = music();
    ASSERT_TRUE(m.ok);
    const std::vector<double>& v = m.left;
    const size_t n = v.size(), window = 1323;  // 30 ms
    ASSERT_GT(n, 20 * window);
    const double overall = rms(v, 0, n);

    // No silence on either side of the join, as a gap would leave.
    const double before = rms(v, n - window, window), after = rms(v, 0, window);
    EXPECT_GT(before, overall * 0.15);
    EXPECT_GT(after, overall * 0.15);

    // The level changes at the join no more than it does anywhere inside the tune.
    double steepest = 0;
    for (size_t at = window; at + window <= n; at += window) {
        const double a = rms(v, at - window, window), b = rms(v, at, window);
        if (a > 0 && b > 0) steepest = std::max(steepest, std::fabs(std::log(b / a)));
    }
    EXPECT_LE(std::fabs(std::log(after / before)), steepest);

    // No click: the step from the last sample to the first is no bigger
    // than the steps the tune takes 99 times in 100 inside.
    std::vector<double> steps;
    for (size_t i = 1; i < n; ++i) steps.push_back(std::fabs(v[i] - v[i - 1]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
    EXPECT_LE(std::fabs(v[0] - v[n - 1]), steps[steps.size() * 99 / 100]);
}

}  // namespace
