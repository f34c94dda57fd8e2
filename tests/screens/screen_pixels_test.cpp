// The game's own screens drawn by the real OpenGL backend in an offscreen
// Mesa context (llvmpipe), after the game's own start-up in its runtime
// directory: the pictures, the font and the levels it really loads. What is
// checked is what the player sees of the texts.
#include <GL/osmesa.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "app/input_state.h"
#include "app/shell.h"
#include "frontend/play_screen.h"
#include "frontend/menu.h"
#include "frontend/splash.h"
#include "game/game_context.h"
#include "render/sprite_sheet.h"

namespace {

// Twice as wide as the screen. The game draws into the left 1024 columns,
// its viewport; a line of text that runs past the screen's right edge goes
// on into the right half, where it can be seen.
constexpr int BUFFER_WIDTH = 2 * SCREEN_WIDTH;
uint8_t buffer[BUFFER_WIDTH * SCREEN_HEIGHT * 4];

struct Rgb {
    int r, g, b;
    int sum() const { return r + g + b; }
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    friend std::ostream& operator<<(std::ostream& out, const Rgb& c) {
        return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
    }
};

class GameStarted : public testing::Environment {
public:
    void SetUp() override {
        context_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
        ASSERT_NE(context_, nullptr);
        ASSERT_TRUE(OSMesaMakeCurrent(context_, buffer, GL_UNSIGNED_BYTE, BUFFER_WIDTH, SCREEN_HEIGHT));
        glViewport(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
        ASSERT_EQ(chdir(TOLVANE_DATA_DIR), 0);
        loadResources();
        std::printf("\n");
    }

private:
    OSMesaContext context_ = nullptr;
};

testing::Environment* const started = testing::AddGlobalTestEnvironment(new GameStarted);

// A pixel in the screen convention (origin top-left, y down); x may lie
// beyond the screen, in the buffer's right half.
Rgb pixel(const std::vector<uint8_t>& all, int x, int y) {
    const uint8_t* p = &all[(static_cast<size_t>(SCREEN_HEIGHT - 1 - y) * BUFFER_WIDTH + x) * 4];
    return {p[0], p[1], p[2]};
}

std::vector<uint8_t> readBuffer() {
    std::vector<uint8_t> all(sizeof buffer);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, BUFFER_WIDTH, SCREEN_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, all.data());
    return all;
}

// The brightest pixel of a region of the screen.
Rgb brightest(const std::vector<uint8_t>& all, int left, int top, int right, int bottom) {
    Rgb best{0, 0, 0};
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (pixel(all, x, y).sum() > best.sum()) best = pixel(all, x, y);
    return best;
}

// Where the coloured copy of a shadowed line ends, as the raster position
// stands after the print, in screen units; its black copy ends 2.56 further right.
float shadowedLineEnd(const ShadowedLine& line) {
    sprites.beginFrame();
    sprites.drawSprite(FRAME_POINTER, -100, -100);  // as on every screen: a sprite comes first
    printLine(line);
    GLfloat raster[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    sprites.endFrame();
    return raster[0] + 2.56f;
}

TEST(TheSplash, TheMakersLineFadesInToWhite) {
    // The splash's first phase draws no sprite at all, so the text is the
    // first thing the run draws after the last picture was loaded.
    game.state = STATE_SPLASH;
    splashPhase = 0;
    splashFade = 1.0f;
    splashTicks = 0;
    runScreenFrame();
    EXPECT_EQ(brightest(readBuffer(), 380, 300, 800, 350).sum(), 0) << "the first frame is black on black";
    for (int frame = 1; frame <= 100; ++frame) runScreenFrame();
    ASSERT_EQ(splashPhase, 0) << "the first phase lasts 501 ticks";
    ASSERT_EQ(splashFade, 0.0f);
    const Rgb ink = brightest(readBuffer(), 380, 300, 800, 350);
    EXPECT_EQ(ink, (Rgb{255, 255, 255})) << "the brightest ink of the line";
}

TEST(TheMenu, TextsHaveExactlyTheColoursTheyAskFor) {
    game.state = STATE_MENU;
    input = {600, 100, BUTTON_NONE};
    runScreenFrame();
    const std::vector<uint8_t> all = readBuffer();
    auto count = [&](int left, int top, int right, int bottom, Rgb colour) {
        int n = 0;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) n += pixel(all, x, y) == colour;
        return n;
    };
    // "Credits" in white, the first role lines in yellow, "Level Select" in magenta.
    EXPECT_GT(count(530, 380, 640, 410, {255, 255, 255}), 40);
    EXPECT_GT(count(530, 430, 900, 490, {255, 255, 0}), 100);
    EXPECT_GT(count(120, 360, 300, 390, {255, 0, 255}), 40);
}

TEST(EveryLine, EndsInsideTheScreen) {
    std::vector<ShadowedLine> lines;
    for (const Lesson& lesson : LESSONS) {
        lines.push_back({350, 610, lesson.title, 1, 0, 1});
        for (int i = 0; i < 3; ++i) lines.push_back({350, 630.0f + 20 * i, lesson.lines[i], 1, 1, 0});
    }
    for (const ShadowedLine& line : CREDITS) lines.push_back(line);
    for (const ShadowedLine& line : MENU_HELP) lines.push_back(line);
    for (int w = 0; w < PLAYED_WORLDS; ++w) {
        lines.push_back({100, 350, game.worlds[w].name, 1, 0, 1});
        lines.push_back({100, 400, game.worlds[w].line1, 0, 1, 1});
        lines.push_back({100, 425, game.worlds[w].line2, 0, 1, 1});
    }
    lines.push_back({510, 230, "Time Over!", 1, 0, 0});
    lines.push_back({510, 260, "Try Again?", 0, 1, 0});
    float widest = 0;
    for (const ShadowedLine& line : lines) {
        const float end = shadowedLineEnd(line);
        widest = std::max(widest, end);
        EXPECT_LE(end, SCREEN_WIDTH) << "\"" << line.text << "\" runs to x " << end;
    }
    std::printf("the line reaching furthest right ends at x %.1f\n", widest);
}

TEST(EveryScreen, DrawsNoTextPastTheRightEdge) {
    // A clear colour the game never draws, so even a black shadow shows.
    glClearColor(0.25f, 0.0f, 0.25f, 1.0f);
    auto nothingBeyondTheEdge = [](const std::string& what) {
        const std::vector<uint8_t> all = readBuffer();
        const Rgb clear = pixel(all, BUFFER_WIDTH - 1, 0);
        int spilled = 0;
        for (int y = 0; y < SCREEN_HEIGHT; ++y)
            for (int x = SCREEN_WIDTH; x < BUFFER_WIDTH; ++x) spilled += !(pixel(all, x, y) == clear);
        EXPECT_EQ(spilled, 0) << what << ": pixels drawn past the right edge";
    };
    game.worldStatus[0] = WORLD_OPEN;
    startWorld(game, 0);
    input = {700, 100, BUTTON_NONE};
    for (game.levelIndex = 0; game.levelIndex < PLAYED_LEVELS; ++game.levelIndex) {
        sprites.beginFrame();
        drawPlayScreen(game, Click{BUTTON_NONE, input.mouseX, input.mouseY});
        sprites.endFrame();
        nothingBeyondTheEdge("tutorial level " + std::to_string(game.levelIndex));
    }
    game.levelIndex = 0;
    game.state = STATE_TIME_OVER;
    runScreenFrame();
    nothingBeyondTheEdge("time over");
    game.state = STATE_MENU;
    for (int w = -1; w < PLAYED_WORLDS; ++w) {
        input = {w < 0 ? 600 : MENU_BUTTON_LEFT + 30 + MENU_BUTTON_SIZE * w, w < 0 ? 100 : 230, BUTTON_NONE};
        runScreenFrame();
        nothingBeyondTheEdge(w < 0 ? "menu help" : "menu at world " + std::to_string(w));
    }
    glClearColor(0, 0, 0, 0);
}

}  // namespace
