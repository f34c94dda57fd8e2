// Text on real OpenGL: where each print's baseline starts in both matrix
// modes, what reaches the screen, and what a print leaves behind for the
// rest of the frame.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "offscreen.h"
#include "render/bitmap_font.h"
#include "render/sprite_sheet.h"

namespace {

using offscreen::pixelAt;
using offscreen::readScreen;

struct Point {
    float x, y;
};

// The raster position in the screen convention (origin top-left, y down).
Point rasterOnScreen() {
    GLfloat p[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, p);
    return {p[0], SCREEN_HEIGHT - p[1]};
}

bool rasterValid() {
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    return valid == GL_TRUE;
}

struct Box {
    int left = SCREEN_WIDTH, right = -1, top = SCREEN_HEIGHT, bottom = -1;  // screen rows, y down
    int count = 0;
    bool empty() const { return count == 0; }
};

// Where pixels of one colour lie, in screen rows.
Box boxOf(const std::vector<uint8_t>& screen, int r, int g, int b) {
    Box box;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            const offscreen::Rgba p = pixelAt(screen, x, y);
            if (p.r != r || p.g != g || p.b != b) continue;
            const int row = SCREEN_HEIGHT - 1 - y;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, row);
            box.bottom = std::max(box.bottom, row);
            ++box.count;
        }
    return box;
}

constexpr int FRAME_ANY = 2;

class Printing : public testing::Test {
protected:
    void SetUp() override {
        static int32_t texture = 0;
        if (texture == 0) {
            texture = offscreen::loadPicture("dot.tga", 1, 1, {255, 255, 255, 255});
            sprites.setupFrames(1, 1, static_cast<uint32_t>(texture), 1, 1, FRAME_ANY, FRAME_ANY);
        }
        // Grey, so both the black shadow and white text show.
        offscreen::beginFrameOn(0.5f, 0.5f, 0.5f);
        glDisable(GL_TEXTURE_2D);
    }
    void TearDown() override { sprites.endFrame(); }
    // A sprite off the screen: it changes no pixel but selects the model-view stack.
    static void drawSpriteAside() { sprites.drawSprite(FRAME_ANY, -50, -50); }

    // How far the raster position moves for one print of a text: the print
    // is made once with an empty text, to find its start, and once with it.
    template <typename Print>
    static float advanceOf(Print print) {
        print(false);
        const float start = rasterOnScreen().x;
        print(true);
        return rasterOnScreen().x - start;
    }
};

TEST_F(Printing, BaselinesStartWhereTheLayoutPutsThem) {
    struct Case {
        const char* what;
        bool afterSprite;
        int kind;  // 0 printValue, 1 printTwoValues, 2 printShadowed (the coloured copy)
        float x, y;
        Point expected;
    };
    const Case cases[] = {
        {"score left of the screen", true, 0, -50, 200, {82.88f, 252.16f}},
        {"time beside it", true, 0, 100, 200, {202.88f, 252.16f}},
        {"problem number", true, 1, 500, 100, {522.88f, 172.16f}},
        {"value before any sprite", false, 0, 100, 200, {182.4f, 267.52f}},
        {"two values before any sprite", false, 1, 0, 0, {102.4f, 107.52f}},
        {"shadowed after a sprite", true, 2, 400, 300, {425.6f - 2.56f, 319.2f - 1.92f}},
        {"shadowed as the frame's first drawing", false, 2, 400, 300, {400.0f - 2.56f, 338.4f - 1.92f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sprites.beginFrame();
        if (c.afterSprite) drawSpriteAside();
        if (c.kind == 0) sprites.printValue(c.x, c.y, "", 0);
        if (c.kind == 1) sprites.printTwoValues(c.x, c.y, "", 0, 0);
        if (c.kind == 2) sprites.printShadowed(c.x, c.y, "", 1, 1, 1);
        sprites.endFrame();
        ASSERT_TRUE(rasterValid());
        const Point p = rasterOnScreen();
        EXPECT_NEAR(p.x, c.expected.x, 0.01);
        EXPECT_NEAR(p.y, c.expected.y, 0.01);
    }
}

TEST_F(Printing, TheShadowLiesToTheLowerRightOfTheText) {
    drawSpriteAside();
    sprites.printShadowed(400, 300, "I", 1, 1, 1);
    const std::vector<uint8_t> screen = readScreen();
    const Box black = boxOf(screen, 0, 0, 0);
    const Box white = boxOf(screen, 255, 255, 255);
    ASSERT_FALSE(black.empty());
    ASSERT_FALSE(white.empty());
    // The black copy's baseline starts at (425.6, 319.2): the I stands on it.
    EXPECT_NEAR(black.bottom, 319, 1);
    EXPECT_GE(black.left, 425);
    EXPECT_LE(black.left, 432);
    // The coloured copy 2.56 left and 1.92 up.
    EXPECT_TRUE(white.right == black.right - 2 || white.right == black.right - 3) << white.right;
    EXPECT_TRUE(white.bottom == black.bottom - 1 || white.bottom == black.bottom - 2) << white.bottom;
    // A capital of a font whose whole cell is 22 pixels high.
    const int capital = white.bottom - white.top + 1;
    EXPECT_GE(capital, 12);
    EXPECT_LE(capital, 17);
}

TEST_F(Printing, ALineStartingOffTheScreenIsNotDrawnAtAll) {
    const std::vector<uint8_t> before = readScreen();
    drawSpriteAside();
    // Starts at x -4.4: the rest of the line would lie on the screen.
    sprites.printShadowed(-30, 300, "WWWWWWWWWW", 1, 1, 1);
    EXPECT_FALSE(rasterValid());
    // Starts below the bottom edge.
    sprites.printValue(100, 850, "Score : %d", 12345);
    EXPECT_FALSE(rasterValid());
    EXPECT_TRUE(readScreen() == before);

    // Starting at x 5.6 it is drawn; one that runs past the right edge is cut there.
    sprites.printShadowed(-20, 300, "WWWW", 1, 1, 1);
    sprites.printShadowed(980, 400, "WWWWWWWW", 1, 1, 1);
    const std::vector<uint8_t> after = readScreen();
    const Box white = boxOf(after, 255, 255, 255);
    EXPECT_LE(white.left, 12);
    EXPECT_GE(white.right, SCREEN_WIDTH - 8);
}

TEST_F(Printing, DoubledPercentSignDrawsOneSign) {
    drawSpriteAside();
    auto shadowed = [](const char* text) {
        return advanceOf([text](bool t) { sprites.printShadowed(100, 100, t ? text : "", 1, 1, 1); });
    };
    const float one = advanceOf([](bool t) { sprites.printValue(100, 100, t ? "%c" : "", '%'); });
    EXPECT_GT(one, 0.0f);
    EXPECT_FLOAT_EQ(shadowed("%%"), one);
    EXPECT_FLOAT_EQ(shadowed("%%%%"), 2 * one);
    EXPECT_FLOAT_EQ(shadowed("5%%"), shadowed("5") + one);
}

TEST_F(Printing, LinesAreCutAt255Characters) {
    drawSpriteAside();
    const float one = advanceOf([](bool t) { sprites.printValue(0, 100, t ? "I" : "", 0); });
    ASSERT_GT(one, 0.0f);
    for (const auto& [length, drawn] : {std::pair{254, 254}, std::pair{255, 255}, std::pair{300, 255}}) {
        const std::string line(static_cast<size_t>(length), 'I');
        EXPECT_FLOAT_EQ(advanceOf([&](bool t) { sprites.printValue(0, 100, t ? line.c_str() : "", 0); }),
                        drawn * one)
            << length;
        EXPECT_FLOAT_EQ(
            advanceOf([&](bool t) { sprites.printShadowed(0, 100, t ? line.c_str() : "", 1, 1, 1); }),
            drawn * one)
            << length;
    }
    // A value that makes the line too long is cut with it.
    const std::string format = std::string(250, 'I') + "%d";
    EXPECT_FLOAT_EQ(advanceOf([&](bool t) { sprites.printValue(0, 100, t ? format.c_str() : "", 11111111); }),
                    250 * one + advanceOf([](bool t) { sprites.printValue(0, 100, t ? "11111" : "", 0); }));
}

TEST_F(Printing, APrintLeavesListBaseMatricesAndModeAsItFoundThem) {
    for (bool afterSprite : {false, true}) {
        SCOPED_TRACE(afterSprite ? "model-view selected" : "projection selected");
        sprites.beginFrame();
        if (afterSprite) drawSpriteAside();
        glListBase(4321);
        GLint modeBefore = 0;
        glGetIntegerv(GL_MATRIX_MODE, &modeBefore);
        GLfloat modelView[16], projection[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
        glGetFloatv(GL_PROJECTION_MATRIX, projection);

        sprites.printValue(10, 10, "Time : %d", 99);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
        sprites.printTwoValues(10, 50, "Problem : %d - %d", 1, 9);
        sprites.printShadowed(10, 90, "World 1", 0.25f, 0.5f, 0.75f);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[0], 0.25f);
        EXPECT_FLOAT_EQ(colour[2], 0.75f);

        GLint listBase = 0, mode = 0;
        glGetIntegerv(GL_LIST_BASE, &listBase);
        EXPECT_EQ(listBase, 4321);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, modeBefore);
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_EQ(std::memcmp(m, modelView, sizeof m), 0);
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        EXPECT_EQ(std::memcmp(m, projection, sizeof m), 0);
        glListBase(0);
        sprites.endFrame();
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Printing, EveryCodeHasAGlyphOfAProportionalFace) {
    ASSERT_NE(font.listBase, 0u);
    for (int c = 0; c < FONT_GLYPH_COUNT; ++c) ASSERT_TRUE(glIsList(font.listBase + c)) << c;
    ASSERT_NE(font.resolvedFace, nullptr);
    // Arial's metrics, from the Debian package fonts-liberation2.
    EXPECT_NE(std::strstr(font.resolvedFace, "LiberationSans-Regular"), nullptr) << font.resolvedFace;

    drawSpriteAside();
    auto advance = [](const char* text) {
        return advanceOf([text](bool t) { sprites.printValue(100, 100, t ? text : "", 0); });
    };
    EXPECT_LT(advance("i"), advance("W")) << "a proportional face";
    EXPECT_EQ(advance(""), 0.0f);

    // The Western code page: the euro sign and accented letters have glyphs
    // of their own, and an accent stands above its letter.
    EXPECT_EQ(windows1252ToUnicode(0x80), 0x20ACu);
    EXPECT_EQ(windows1252ToUnicode(0x92), 0x2019u);
    EXPECT_EQ(windows1252ToUnicode(0x9F), 0x0178u);
    EXPECT_EQ(windows1252ToUnicode(0x81), 0x81u);
    EXPECT_EQ(windows1252ToUnicode(0xE9), 0xE9u);
    EXPECT_EQ(windows1252ToUnicode('A'), static_cast<uint32_t>('A'));

    auto drawnAlone = [](const char* text) {
        offscreen::beginFrameOn(0.5f, 0.5f, 0.5f);
        drawSpriteAside();
        sprites.printValue(300, 300, text, 0);
        sprites.endFrame();
        return boxOf(readScreen(), 255, 255, 255);
    };
    const Box e = drawnAlone("e");
    const Box eAcute = drawnAlone("\xE9");
    const Box euro = drawnAlone("\x80");
    const Box capitalE = drawnAlone("E");
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(eAcute.bottom, e.bottom);
    EXPECT_LT(eAcute.top, e.top - 2);
    ASSERT_FALSE(euro.empty());
    EXPECT_NE(euro.count, capitalE.count);
    // And an empty text draws nothing.
    const Box nothing = drawnAlone("");
    EXPECT_TRUE(nothing.empty());
    offscreen::beginFrameOn(0.5f, 0.5f, 0.5f);
}

TEST(FontLifetime, TheDestructorDeletesItsLists) {
    auto other = std::make_unique<BitmapFont>();
    other->setHeight(22);
    const uint32_t base = other->buildFont(GAME_FACE);
    ASSERT_NE(base, 0u);
    EXPECT_NE(base, font.listBase);
    EXPECT_TRUE(glIsList(base));
    EXPECT_TRUE(glIsList(base + 255));
    // A second build replaces the lists of the first.
    const uint32_t rebuilt = other->buildFont(GAME_FACE);
    if (rebuilt != base) {
        EXPECT_FALSE(glIsList(base));
    }
    other.reset();
    EXPECT_FALSE(glIsList(rebuilt));
    EXPECT_FALSE(glIsList(rebuilt + 255));
    EXPECT_TRUE(glIsList(font.listBase)) << "the game's own font keeps its lists";
}

}  // namespace
