// The generator's own parts on small, known input: the picture writer, the
// WAV writer and the loop cutter.
#include "canvas.h"
#include "sounds.h"

#include "render/tga_image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

std::string scratchFile(const char* name) {
    const std::string unique = "tolvane-makers-" + std::to_string(getpid()) + "-" + name;
    return (std::filesystem::temp_directory_path() / unique).string();
}

TEST(PictureWriter, StoresStraightAlphaAndTheTopRowFirst) {
    Canvas canvas(4, 2);
    cairo_t* cr = canvas.cr();
    cairo_rectangle(cr, 0, 0, 4, 1);
    cairo_set_source_rgba(cr, 1.0, 0.5, 0.0, 0.5);  // half see-through orange on the top row
    cairo_fill(cr);
    const std::string path = scratchFile("alpha.tga");
    ASSERT_TRUE(canvas.writeTga(path, true));
    TgaImage image;
    ASSERT_EQ(decodeTgaFile(path.c_str(), image), TGA_OK);
    std::remove(path.c_str());
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 2);
    // Cairo keeps colour multiplied by alpha; the file must not.
    const unsigned char* top = image.pixels.data();
    EXPECT_NEAR(top[0], 255, 1);
    EXPECT_NEAR(top[1], 128, 2);
    EXPECT_EQ(top[2], 0);
    EXPECT_NEAR(top[3], 128, 1);
    const unsigned char* bottom = image.pixels.data() + 4 * 4;
    EXPECT_EQ(bottom[3], 0);
    EXPECT_EQ(bottom[0] + bottom[1] + bottom[2], 0);
}

TEST(PictureWriter, OpaquePicturesAre24BitWithTheirColoursAsPainted) {
    Canvas canvas(3, 3);
    cairo_t* cr = canvas.cr();
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_paint(cr);
    cairo_rectangle(cr, 0, 2, 3, 1);
    cairo_set_source_rgb(cr, 1, 1, 0);
    cairo_fill(cr);
    const std::string path = scratchFile("opaque.tga");
    ASSERT_TRUE(canvas.writeTga(path, false));
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TgaImage image;
    ASSERT_EQ(decodeTgaFile(path.c_str(), image), TGA_OK);
    std::remove(path.c_str());
    ASSERT_EQ(file.size(), 18u + 3 * 3 * 3);
    EXPECT_EQ(file[16], 24);
    const unsigned char* first = image.pixels.data();
    const unsigned char* last = image.pixels.data() + (2 * 3) * 4;
    EXPECT_EQ((std::vector<int>{first[0], first[1], first[2], first[3]}), (std::vector<int>{0, 0, 255, 255}));
    EXPECT_EQ((std::vector<int>{last[0], last[1], last[2], last[3]}), (std::vector<int>{255, 255, 0, 255}));
}

TEST(WavWriter, WritesRoundedClippedSixteenBitSamples) {
    Pcm pcm;
    pcm.channels = 2;
    pcm.samples = {0.0f, 0.5f, -0.5f, 1.5f, -2.0f, 1.0f};
    const std::string path = scratchFile("tone.wav");
    ASSERT_TRUE(writeWav(path, pcm));
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    ASSERT_EQ(f.size(), 44u + 12u);
    auto u16 = [&](size_t at) { return f[at] | (f[at + 1] << 8); };
    auto u32 = [&](size_t at) { return static_cast<uint32_t>(u16(at) | (u16(at + 2) << 16)); };
    EXPECT_EQ(u32(4), 36u + 12u);
    EXPECT_EQ(u16(22), 2);        // channels
    EXPECT_EQ(u32(24), 44100u);   // rate
    EXPECT_EQ(u32(28), 44100u * 4u);
    EXPECT_EQ(u32(40), 12u);      // data bytes
    const int expected[6] = {0, 16384, -16384, 32767, -32767, 32767};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(static_cast<int16_t>(u16(44 + 2 * i)), expected[i]) << i;
}

// A stand-in render: a tone whose second playing differs a little from the
// first, as the reverb makes it.
Pcm twoPlayings(size_t period) {
    Pcm pcm;
    pcm.channels = 2;
    for (size_t i = 0; i < 2 * period + 500; ++i) {
        const double shimmer = i >= period ? 0.2 * std::sin(i * 0.003) : 0.0;
        const float v = static_cast<float>(std::sin(i * 0.05) + shimmer);
        pcm.samples.push_back(v);
        pcm.samples.push_back(-v);
    }
    return pcm;
}

TEST(LoopCutter, TakesOnePeriodWhoseLastFrameLeadsIntoItsFirst) {
    const size_t period = 10000, fade = 1000;
    const Pcm twice = twoPlayings(period);
    const Pcm loop = cutLoop(twice, period, fade);
    ASSERT_EQ(loop.channels, 2);
    ASSERT_EQ(loop.frames(), period);
    // Before the blend it is the second playing untouched.
    for (size_t i = 0; i < period - fade; i += 97) EXPECT_EQ(loop.samples[2 * i], twice.samples[2 * (period + i)]);
    // The last frame is the one that came just before the cut, so going
    // round the loop continues as smoothly as the render itself did.
    EXPECT_NEAR(loop.samples[2 * (period - 1)], twice.samples[2 * (period - 1)], 1e-6);
    EXPECT_NEAR(loop.samples[2 * (period - 1) + 1], twice.samples[2 * (period - 1) + 1], 1e-6);
    EXPECT_EQ(loop.samples[0], twice.samples[2 * period]);
    // The blend itself has no step bigger than the tone's own.
    double biggest = 0;
    for (size_t i = 1; i < period; ++i)
        biggest = std::max(biggest, std::fabs(static_cast<double>(loop.samples[2 * i] - loop.samples[2 * (i - 1)])));
    EXPECT_LT(biggest, 0.06);
}

TEST(LoopCutter, RefusesARenderShorterThanTwoPeriods) {
    const Pcm twice = twoPlayings(1000);
    EXPECT_TRUE(cutLoop(twice, 1300, 100).samples.empty());
    EXPECT_TRUE(cutLoop(twice, 1000, 1001).samples.empty());
}

TEST(MusicLevel, ReachesTheTargetUnlessAPeakWouldPassTheCeiling) {
    Pcm steady;
    steady.samples.assign(1000, 0.01f);
    levelMusic(steady, 0.12, 0.89);
    EXPECT_NEAR(steady.samples[0], 0.12, 1e-6);

    Pcm spiky;
    spiky.samples.assign(1000, 0.01f);
    spiky.samples[500] = 0.5f;
    levelMusic(spiky, 0.12, 0.89);
    EXPECT_NEAR(spiky.samples[500], 0.89, 1e-6);

    Pcm quiet;
    quiet.samples.assign(10, 0.0f);
    levelMusic(quiet, 0.12, 0.89);
    EXPECT_EQ(quiet.samples[3], 0.0f);
}

}  // namespace
