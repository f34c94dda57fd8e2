// The quick ways of drawing give exactly the pictures of the plain ones.
// Text from the glyph atlas against the glyph lists, layers put back against
// layers drawn, pictures sampled without their mipmaps where they are not
// drawn smaller: every screen is drawn both ways by the real OpenGL backend
// offscreen (Mesa's llvmpipe), after the game's own start-up in its runtime
// directory, and every byte of the buffer must agree, at the game's own
// window size and at larger, smaller and stretched ones.
#include <GL/osmesa.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/frame_timer.h"
#include "app/input_state.h"
#include "app/shell.h"
#include "frontend/menu.h"
#include "frontend/splash.h"
#include "game/game_context.h"
#include "render/bitmap_font.h"
#include "render/sprite_sheet.h"

namespace {

constexpr int BUFFER_WIDTH = 2048;
constexpr int BUFFER_HEIGHT = 1536;
uint8_t buffer[BUFFER_WIDTH * BUFFER_HEIGHT * 4];

// Time stands still: no frame here is granted a tick, so a screen drawn
// twice shows the same moment twice.
int64_t stillCounter() { return 0; }
void noSleep(int64_t) {}

class GameStarted : public testing::Environment {
public:
    void SetUp() override {
        // BGRA, as an X server holds a window; SAME_PIXELS_ORDER=rgba for
        // the other order, where a kept layer goes back by another road.
        const char* order = std::getenv("SAME_PIXELS_ORDER");
        const bool rgba = order != nullptr && std::strcmp(order, "rgba") == 0;
        context_ = OSMesaCreateContextExt(rgba ? OSMESA_RGBA : OSMESA_BGRA, 16, 0, 0, nullptr);
        ASSERT_NE(context_, nullptr);
        ASSERT_TRUE(OSMesaMakeCurrent(context_, buffer, GL_UNSIGNED_BYTE, BUFFER_WIDTH, BUFFER_HEIGHT));
        glViewport(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
        ASSERT_EQ(chdir(TOLVANE_DATA_DIR), 0);
        loadResources();
        std::printf("\n");
        setPerformanceCounter({stillCounter, 1000000000, noSleep});
        resetTickClock(tickClock, TICK_INTERVAL);
    }

private:
    OSMesaContext context_ = nullptr;
};

testing::Environment* const started = testing::AddGlobalTestEnvironment(new GameStarted);

void quickWays(bool on) {
    font.useAtlas = on;
    sprites.keepsLayers = on;
    sprites.minifiesByNeed = on;
}

std::vector<uint8_t> drawn(const std::function<void()>& scene) {
    scene();
    runScreenFrame();
    input.pendingButton = BUTTON_NONE;
    glFinish();
    return std::vector<uint8_t>(buffer, buffer + sizeof buffer);
}

// The first pixel in which two pictures differ, for the failure message.
std::string firstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    size_t differing = 0, first = a.size();
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) {
            ++differing;
            if (first == a.size()) first = i;
        }
    if (differing == 0) return "the same";
    const size_t pixel = first / 4;
    char text[160];
    std::snprintf(text, sizeof text, "%zu bytes differ; the first at buffer x %zu, y %zu (from the bottom): %d against %d",
                  differing, pixel % BUFFER_WIDTH, pixel / BUFFER_WIDTH, a[first], b[first]);
    return text;
}

struct Size {
    int width, height;
};

// The game's own size, a larger one, a smaller one (where every picture
// is drawn smaller than itself and needs its mipmaps) and a stretched one.
const Size SIZES[] = {{1024, 768}, {2048, 1536}, {800, 600}, {1600, 700}};

// Draws a scene the plain way, then twice the quick way (the first keeps
// the layer, the second puts it back), at every size; all three the same.
void expectSamePictures(const char* name, const std::function<void()>& scene, bool hasLayer = true) {
    for (const Size& size : SIZES) {
        glViewport(0, 0, size.width, size.height);
        quickWays(false);
        const std::vector<uint8_t> plain = drawn(scene);
        quickWays(true);
        const std::vector<uint8_t> keeping = drawn(scene);
        const uint32_t putBack = sprites.layersPutBack;
        const std::vector<uint8_t> puttingBack = drawn(scene);
        EXPECT_EQ(firstDifference(plain, keeping), "the same") << name << " at " << size.width << "x" << size.height
                                                               << ", the layer drawn and kept";
        EXPECT_EQ(firstDifference(plain, puttingBack), "the same")
            << name << " at " << size.width << "x" << size.height << ", the layer put back";
        EXPECT_EQ(sprites.layersPutBack - putBack, hasLayer ? 1u : 0u) << name << ": the second frame puts a layer back";
    }
    glViewport(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    quickWays(true);
}

void splash(int phase, float fade) {
    game.state = STATE_SPLASH;
    splashPhase = phase;
    splashFade = fade;
    splashTicks = 10;
}

void menuWithPointer(int x, int y) {
    game.state = STATE_MENU;
    input = {x, y, BUTTON_NONE};
}

// Level n of world w as the player finds it, the pointer over the board.
void level(int w, int n) {
    // A world start loads the background anew, which no kept layer survives.
    static int started = -1;
    game.worldStatus[w] = WORLD_OPEN;
    if (started != w || game.worldIndex != w) startWorld(game, w);
    started = w;
    game.startFreshLevel(n);
    game.state = STATE_PLAY;
    input = {600, 420, BUTTON_NONE};
}

// A level in motion: its first block pushed, and some ticks run, so blocks
// fall, trails fade and, a while later, like blocks blink.
void levelInMotion(int w, int n, int ticks) {
    level(w, n);
    for (const Block& b : game.blocks)
        if (b.alive && b.motion == MOTION_NORMAL) {
            input = {b.x + 16, b.y + 16, BUTTON_LEFT};
            break;
        }
    for (int t = 0; t < ticks; ++t) {
        TickEvents events;
        game.playTick(Click{input.pendingButton, input.mouseX, input.mouseY}, events);
        input.pendingButton = BUTTON_NONE;
    }
    game.state = STATE_PLAY;
}

TEST(TheQuickWays, DrawTheSplashAsThePlainOnes) {
    expectSamePictures("the maker's line fading in", [] { splash(0, 0.4f); }, false);
    expectSamePictures("the maker's line in white", [] { splash(0, 0.0f); }, false);
    expectSamePictures("the splash picture under its veil", [] { splash(1, 0.6f); });
    expectSamePictures("the splash picture", [] { splash(1, 0.0f); });
}

TEST(TheQuickWays, DrawTheMenuAsThePlainOnes) {
    for (int w = 0; w < PLAYED_WORLDS; ++w) game.worldStatus[w] = w < 3 ? WORLD_FINISHED : w < 8 ? WORLD_OPEN : WORLD_LOCKED;
    expectSamePictures("the menu's help", [] { menuWithPointer(600, 650); });
    for (int w : {0, 4, 10}) {
        const std::string name = "the menu pointing at world " + std::to_string(w);
        expectSamePictures(name.c_str(), [w] { menuWithPointer(MENU_BUTTON_LEFT + MENU_BUTTON_SIZE * w + 30, 232); });
    }
}

TEST(TheQuickWays, DrawEveryLessonAsThePlainOnes) {
    for (int n = 0; n < PLAYED_LEVELS; ++n) {
        const std::string name = "tutorial level " + std::to_string(n + 1);
        expectSamePictures(name.c_str(), [n] { level(0, n); });
    }
}

TEST(TheQuickWays, DrawPlayInMotionAsThePlainOnes) {
    for (int ticks : {3, 12, 40, 90}) {
        const std::string name = "world 10 level 9, " + std::to_string(ticks) + " ticks after a push";
        expectSamePictures(name.c_str(), [ticks] { levelInMotion(10, 8, ticks); });
    }
    expectSamePictures("world 5 level 1 in motion", [] { levelInMotion(5, 0, 25); });
}

TEST(TheQuickWays, DrawLevelCompleteAndTimeOverAsThePlainOnes) {
    expectSamePictures("level complete", [] {
        level(3, 2);
        game.state = STATE_LEVEL_COMPLETE;
    });
    expectSamePictures("time over", [] {
        level(7, 4);
        game.clock = 0;
        game.state = STATE_TIME_OVER;
        input = {520, 390, BUTTON_NONE};
    });
}

TEST(TheQuickWays, NeverPutBackALayerOfAnotherPicture) {
    // The same board over another background: the layer kept with the first
    // picture must not come back.
    level(2, 0);
    quickWays(true);
    drawn([] {});
    const uint32_t background = sprites.frames[FRAME_BACKGROUND].texture;
    sprites.setupFrames(512, 384, sprites.frames[FRAME_SPLASH].texture, 512, 384, FRAME_BACKGROUND, FRAME_BACKGROUND);
    const uint32_t putBack = sprites.layersPutBack;
    const std::vector<uint8_t> quick = drawn([] {});
    EXPECT_EQ(sprites.layersPutBack, putBack);
    quickWays(false);
    EXPECT_EQ(firstDifference(drawn([] {}), quick), "the same");
    quickWays(true);
    sprites.setupFrames(512, 384, background, 512, 384, FRAME_BACKGROUND, FRAME_BACKGROUND);
}

TEST(TheQuickWays, LeaveTheRasterPositionWhereTheGlyphListsLeaveIt) {
    // Measures of a line's end read it there.
    const char* line = "Sometimes Rock-Blocks can be useful to build bridges over Icky-Blocks ";
    GLfloat ends[2][4];
    for (int atlas = 0; atlas < 2; ++atlas) {
        font.useAtlas = atlas == 1;
        sprites.beginFrame();
        sprites.drawSprite(FRAME_POINTER, -100, -100);
        sprites.printShadowed(350, 610, line, 1, 1, 0);
        glGetFloatv(GL_CURRENT_RASTER_POSITION, ends[atlas]);
        sprites.endFrame();
    }
    font.useAtlas = true;
    EXPECT_EQ(ends[0][0], ends[1][0]);
    EXPECT_EQ(ends[0][1], ends[1][1]);
    EXPECT_GT(ends[1][0], 900.0f) << "the line's end, far to the right";
}

}  // namespace
