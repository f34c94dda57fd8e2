// Pictures loaded and drawn by real OpenGL, read back pixel by pixel: the
// sprite lands where the screen convention puts it, at its natural size it
// shows the picture's own pixels whatever the picture's size, and fades,
// tints, mirrors and transparent texels behave as players see them.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "offscreen.h"
#include "render/sprite_sheet.h"
#include "tga_test_files.h"

namespace {

using offscreen::pixelAt;
using offscreen::readScreen;
using offscreen::Rgba;

std::vector<uint8_t> opaqueNoise(int w, int h, uint32_t seed) {
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = (i % 4 == 3) ? 255 : tga_test::noise(seed + i);
    return rgba;
}

// The frame a test draws with; every test registers its own picture here.
constexpr int FRAME_UNDER_TEST = 1;

int worstDifference(const Rgba& a, const uint8_t* b) {
    int worst = std::abs(a.r - b[0]);
    worst = std::max(worst, std::abs(a.g - b[1]));
    return std::max(worst, std::abs(a.b - b[2]));
}

// [SECTION] Loading

TEST(TextureLoad, LevelZeroIsThePictureItselfAndStaysBound) {
    struct Size {
        int w, h;
    };
    for (const Size s : {Size{257, 103}, Size{32, 32}, Size{512, 384}, Size{250, 125}}) {
        SCOPED_TRACE(std::to_string(s.w) + "x" + std::to_string(s.h));
        const std::vector<uint8_t> rgba = opaqueNoise(s.w, s.h, 11);
        const int32_t texture = offscreen::loadPicture("level0.tga", s.w, s.h, rgba);
        ASSERT_GT(texture, 0);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, texture);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
        EXPECT_EQ(value, GL_LINEAR);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
        EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
        EXPECT_EQ(value, GL_REPEAT);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
        EXPECT_EQ(value, GL_REPEAT);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        ASSERT_EQ(w, s.w);
        ASSERT_EQ(h, s.h);
        std::vector<uint8_t> level0(rgba.size());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, level0.data());
        EXPECT_EQ(level0, rgba);
    }
}

TEST(TextureLoad, RefusedFilesMakeNoTextureAndMissingOnesSaySo) {
    const int32_t before = offscreen::loadPicture("before.tga", 2, 2, opaqueNoise(2, 2, 1));
    ASSERT_GT(before, 0);

    std::vector<uint8_t> rle = tga_test::encodeRgba(2, 2, opaqueNoise(2, 2, 1), 32, false);
    rle[2] = 10;
    const std::string rlePath = tga_test::scratchDir() + "/rle.tga";
    tga_test::writeFile(rlePath, rle);
    std::vector<uint8_t> truncated = tga_test::encodeRgba(4, 4, opaqueNoise(4, 4, 1), 32, false);
    truncated.resize(truncated.size() - 1);
    const std::string shortPath = tga_test::scratchDir() + "/short.tga";
    tga_test::writeFile(shortPath, truncated);
    const std::string missing = tga_test::scratchDir() + "/missing.tga";

    testing::internal::CaptureStdout();
    EXPECT_EQ(loadTga(rlePath.c_str()), -1);
    EXPECT_EQ(loadTga(shortPath.c_str()), -1);
    EXPECT_EQ(loadTga(missing.c_str()), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "unable to open file " + missing + "\n");
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, before) << "a refused file binds nothing new";
    // No name was used up by the refused files.
    const int32_t after = offscreen::loadPicture("after.tga", 2, 2, opaqueNoise(2, 2, 2));
    EXPECT_EQ(after, before + 1);
}

// [SECTION] Natural size is pixel exact

TEST(SpriteDraw, NaturalSizeShowsThePicturesOwnPixelsForEverySize) {
    struct Case {
        int w, h;
        int x, y;
        bool topRowFirst;
    };
    const Case cases[] = {
        {257, 103, 3, 5, false},  {250, 125, 700, 600, true}, {240, 128, 511, 2, false},
        {256, 448, 10, 300, true}, {512, 384, 500, 380, false}, {32, 32, 0, 0, false},
        {256, 256, 768, 512, true}, {256, 64, 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        const std::vector<uint8_t> rgba = opaqueNoise(c.w, c.h, static_cast<uint32_t>(c.w * 7 + c.h));
        const int32_t texture = offscreen::loadPicture("natural.tga", c.w, c.h, rgba, c.topRowFirst);
        sprites.setupFrames(c.w, c.h, static_cast<uint32_t>(texture), c.w, c.h, FRAME_UNDER_TEST,
                            FRAME_UNDER_TEST);
        offscreen::beginFrameOn(0, 0, 0);
        sprites.drawSprite(FRAME_UNDER_TEST, c.x, c.y);
        sprites.endFrame();
        const std::vector<uint8_t> screen = readScreen();
        int worst = 0;
        for (int r = 0; r < c.h; ++r)
            for (int col = 0; col < c.w; ++col) {
                const int sx = c.x + col, sy = SCREEN_HEIGHT - 1 - (c.y + r);
                if (sx >= SCREEN_WIDTH || sy < 0) continue;
                worst = std::max(worst, worstDifference(pixelAt(screen, sx, sy),
                                                        &rgba[(static_cast<size_t>(r) * c.w + col) * 4]));
            }
        EXPECT_LE(worst, 1);
    }
}

TEST(SpriteDraw, TileFourteenCoversItsCellExactly) {
    // A tileset strip of sixteen flat tiles, tile n in grey n * 15.
    std::vector<uint8_t> strip(512 * 32 * 4);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 512; ++x) {
            uint8_t* p = &strip[(static_cast<size_t>(y) * 512 + x) * 4];
            p[0] = p[1] = p[2] = static_cast<uint8_t>((x / 32 + 1) * 15);
            p[3] = 255;
        }
    const int32_t texture = offscreen::loadPicture("tiles.tga", 512, 32, strip);
    sprites.setupFrames(512, 32, static_cast<uint32_t>(texture), 32, 32, 1, 16);
    offscreen::beginFrameOn(0, 0, 1);
    sprites.drawSprite(FRAME_POINTER, 100, 200);
    sprites.endFrame();
    const std::vector<uint8_t> screen = readScreen();
    // 2D x 100 to 132 and y 536 to 568: pixels 100..131 and rows 536..567.
    for (int y = 530; y < 575; ++y)
        for (int x = 95; x < 140; ++x) {
            const Rgba p = pixelAt(screen, x, y);
            const bool inside = x >= 100 && x < 132 && y >= 536 && y < 568;
            if (inside) {
                ASSERT_NEAR(p.r, 14 * 15, 1) << x << "," << y;
                ASSERT_NEAR(p.b, 14 * 15, 1) << x << "," << y;
            } else {
                ASSERT_EQ(p.r, 0) << x << "," << y;
                ASSERT_EQ(p.b, 255) << x << "," << y;
            }
        }
}

TEST(SpriteDraw, NegativeWidthMirrorsTheIllustration) {
    // Columns run red 0 to 255 left to right, so each column names itself.
    std::vector<uint8_t> manga(256 * 448 * 4);
    for (int y = 0; y < 448; ++y)
        for (int x = 0; x < 256; ++x) {
            uint8_t* p = &manga[(static_cast<size_t>(y) * 256 + x) * 4];
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(255 - x);
            p[2] = 128;
            p[3] = 255;
        }
    const int32_t texture = offscreen::loadPicture("manga.tga", 256, 448, manga);
    sprites.setupFrames(256, 448, static_cast<uint32_t>(texture), 256, 448, FRAME_MASCOT, FRAME_MASCOT);
    offscreen::beginFrameOn(0, 0, 0);
    sprites.drawSpriteScaled(FRAME_MASCOT, 1064, 550, -256, 433);
    sprites.endFrame();
    const std::vector<uint8_t> screen = readScreen();
    // Screen x 808 to 1064: the picture's right edge at 808, its left edge
    // (at 1064) beyond the screen. 2D y from 768 - 550 = 218 down.
    EXPECT_EQ(pixelAt(screen, 807, 100).b, 0);
    // The squeeze to 433 rows mixes in a little of the next mipmap level,
    // which at the picture's edge wraps round to its other side.
    EXPECT_NEAR(pixelAt(screen, 808, 100).r, 255, 4);
    for (int x = 809; x < SCREEN_WIDTH; ++x) {
        const Rgba p = pixelAt(screen, x, 100);
        ASSERT_NEAR(p.r, 255 - (x - 808), 1) << x;
        ASSERT_NEAR(p.g, x - 808, 1) << x;
    }
    EXPECT_EQ(pixelAt(screen, 900, 217).b, 128);
    EXPECT_EQ(pixelAt(screen, 900, 218).b, 0);
}

// [SECTION] Fades, tints and transparency

class Blending : public testing::Test {
protected:
    void SetUp() override {
        // Left half fully transparent, right half opaque noise.
        picture = opaqueNoise(64, 32, 99);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) picture[(static_cast<size_t>(y) * 64 + x) * 4 + 3] = 0;
        const int32_t texture = offscreen::loadPicture("half.tga", 64, 32, picture);
        sprites.setupFrames(64, 32, static_cast<uint32_t>(texture), 64, 32, FRAME_UNDER_TEST, FRAME_UNDER_TEST);
    }
    const uint8_t* texel(int x, int y) const { return &picture[(static_cast<size_t>(y) * 64 + x) * 4]; }
    static constexpr float BG_R = 0.2f, BG_G = 0.6f, BG_B = 1.0f;
    static constexpr int BG[3] = {51, 153, 255};
    std::vector<uint8_t> picture;
};

// Draws at screen (300, 400): picture pixel (x, y) lands on 2D (300 + x, 367 - y).
constexpr int AT_X = 300, AT_Y = 400;
int rowOf(int y) { return SCREEN_HEIGHT - 1 - (AT_Y + y); }

TEST_F(Blending, FadedDrawsBlendByTheirOpacityAndKeepIt) {
    offscreen::beginFrameOn(BG_R, BG_G, BG_B);
    sprites.drawSpriteFaded(FRAME_UNDER_TEST, AT_X, AT_Y, 0.0f);
    const std::vector<uint8_t> untouched = readScreen();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.0f) << "the fade's colour stays current";
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            const Rgba p = pixelAt(untouched, AT_X + x, rowOf(y));
            ASSERT_TRUE(p.r == BG[0] && p.g == BG[1] && p.b == BG[2]) << x << "," << y;
        }

    sprites.drawSpriteFaded(FRAME_UNDER_TEST, AT_X, AT_Y, 0.5f);
    sprites.endFrame();
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
    const std::vector<uint8_t> half = readScreen();
    for (int y = 0; y < 32; ++y)
        for (int x = 32; x < 64; ++x) {
            const Rgba p = pixelAt(half, AT_X + x, rowOf(y));
            const uint8_t* t = texel(x, y);
            ASSERT_NEAR(p.r, (t[0] + BG[0]) / 2.0, 1.01) << x << "," << y;
            ASSERT_NEAR(p.g, (t[1] + BG[1]) / 2.0, 1.01) << x << "," << y;
            ASSERT_NEAR(p.b, (t[2] + BG[2]) / 2.0, 1.01) << x << "," << y;
        }
}

TEST_F(Blending, TintMultipliesThePictureAndWhiteComesBack) {
    offscreen::beginFrameOn(BG_R, BG_G, BG_B);
    sprites.setColour(0.3f, 0.3f, 0.3f, 0.3f);
    sprites.drawSpriteTinted(FRAME_UNDER_TEST, AT_X, AT_Y, 1.0f, 0.5f, 0.0f);
    sprites.endFrame();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
    EXPECT_FLOAT_EQ(colour[1], 1.0f);
    EXPECT_FLOAT_EQ(colour[2], 1.0f);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);
    const std::vector<uint8_t> screen = readScreen();
    for (int y = 0; y < 32; ++y)
        for (int x = 32; x < 64; ++x) {
            const Rgba p = pixelAt(screen, AT_X + x, rowOf(y));
            ASSERT_NEAR(p.r, texel(x, y)[0], 1) << x << "," << y;
            ASSERT_NEAR(p.g, texel(x, y)[1] * 0.5, 1.01) << x << "," << y;
            ASSERT_EQ(p.b, 0) << x << "," << y;
        }
}

TEST_F(Blending, TransparentTexelsNeverChangeTheScreen) {
    offscreen::beginFrameOn(BG_R, BG_G, BG_B);
    sprites.drawSprite(FRAME_UNDER_TEST, AT_X, AT_Y);
    sprites.drawSpriteTinted(FRAME_UNDER_TEST, AT_X, AT_Y, 5.0f, 5.0f, 5.0f);
    sprites.drawSpriteFaded(FRAME_UNDER_TEST, AT_X, AT_Y, 1.0f);
    sprites.drawSpriteScaled(FRAME_UNDER_TEST, AT_X, AT_Y, 64, 32);
    // Even with depth writes and blending off before the draws.
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    sprites.drawSprite(FRAME_UNDER_TEST, AT_X, AT_Y);
    sprites.endFrame();
    const std::vector<uint8_t> screen = readScreen();
    // Away from the seam, where filtering mixes in the opaque half.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 31; ++x) {
            const Rgba p = pixelAt(screen, AT_X + x, rowOf(y));
            ASSERT_TRUE(p.r == BG[0] && p.g == BG[1] && p.b == BG[2]) << x << "," << y;
        }
}

// [SECTION] State the draws leave behind

TEST(SpriteDraw, LeavesBlendingOnDepthWritesOffAndTheModelViewSelected) {
    const int32_t texture = offscreen::loadPicture("state.tga", 8, 8, opaqueNoise(8, 8, 3));
    sprites.setupFrames(8, 8, static_cast<uint32_t>(texture), 8, 8, FRAME_UNDER_TEST, FRAME_UNDER_TEST);
    glEnable(GL_TEXTURE_2D);
    offscreen::beginFrameOn(0, 0, 0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    // A frame outside the table draws nothing and leaves the matrix mode.
    sprites.drawSprite(FRAME_TABLE_SIZE, 0, 0);
    sprites.drawSpriteScaled(-1, 0, 0, 1024, 768);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    sprites.drawSpriteScaled(FRAME_UNDER_TEST, 0, 0, 1024, 768);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint factor = 0;
    glGetIntegerv(GL_BLEND_SRC, &factor);
    EXPECT_EQ(factor, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &factor);
    EXPECT_EQ(factor, GL_ONE_MINUS_SRC_ALPHA);
    GLboolean depthWrites = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_FALSE(depthWrites);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    GLint env = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    EXPECT_EQ(env, GL_MODULATE);
    sprites.endFrame();
    // The whole screen was covered by the stretched picture.
    const std::vector<uint8_t> screen = readScreen();
    int black = 0;
    for (size_t i = 0; i < screen.size(); i += 4) black += screen[i] == 0 && screen[i + 1] == 0 && screen[i + 2] == 0;
    EXPECT_LT(black, 100);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
