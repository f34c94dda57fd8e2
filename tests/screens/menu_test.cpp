// The menu: which button the pointer is on, what the information area
// shows, the markers, and starting a world once.
#include <unistd.h>

#include <cstdlib>

#include "frontend/menu.h"
#include "screens/screen_fixture.h"

namespace {

class MenuTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        game.state = STATE_MENU;
    }
    void pointAt(int32_t x, int32_t y, int32_t button = BUTTON_NONE) {
        drawLog.clear();
        input = {x, y, button};
        frame();
    }
};

TEST_F(MenuTest, ButtonRowEdges) {
    struct Case {
        int32_t x, y, world;
    } cases[] = {
        {175, 230, -1}, {176, 230, 0}, {238, 230, 0}, {239, 230, 1}, {878, 230, 10}, {879, 230, -1},
        {1000, 230, -1}, {100, 230, -1}, {200, 200, -1}, {200, 201, 0}, {200, 263, 0}, {200, 264, -1},
        {INT32_MIN, 230, -1}, {INT32_MAX, 230, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(menuWorldAt(c.x, c.y), c.world) << c.x << "," << c.y;
}

TEST_F(MenuTest, InformationAreaFollowsThePointer) {
    game.bestScore[3] = 1234;
    pointAt(200, 200);
    EXPECT_NE(drawLog.findText("Level Select"), nullptr);
    EXPECT_NE(drawLog.findText("Unlock new ones... by finishing old ones!"), nullptr);

    pointAt(200 + 64 * 3, 230);
    EXPECT_EQ(drawLog.findText("Level Select"), nullptr);
    ASSERT_NE(drawLog.findText("World 3"), nullptr);
    EXPECT_NE(drawLog.findText("Getting Slightly tricky now....."), nullptr);
    const DrawCall* best = drawLog.findText("Highest Score : 1234");
    ASSERT_NE(best, nullptr);
    EXPECT_EQ(best->fx, 165);
    EXPECT_EQ(best->fy, 535);
    // World 3 has one description line: the empty one draws nothing.
    EXPECT_EQ(drawLog.of(DrawOp::PrintShadowed).size(), 2u + 8u) << "name, line 1, and the credits";

    // Past the last button, and left of the first, nothing at all is shown.
    pointAt(900, 230);
    EXPECT_EQ(drawLog.of(DrawOp::PrintShadowed).size(), 8u) << "only the credits";
    EXPECT_TRUE(drawLog.of(DrawOp::PrintValue).empty());
}

TEST_F(MenuTest, ButtonsAreTintedAndMarkedByProgress) {
    game.worldStatus[0] = WORLD_FINISHED;
    game.worldStatus[1] = WORLD_OPEN;
    game.worldStatus[2] = 5;
    pointAt(0, 0);
    const auto buttons = drawLog.spritesOf(FRAME_BUTTON);
    ASSERT_EQ(buttons.size(), 12u) << "eleven worlds, then the clock switch";
    EXPECT_EQ(buttons[11].x, MENU_CLOCK_LEFT);
    EXPECT_FLOAT_EQ(buttons[0].g, 1.0f);
    EXPECT_FLOAT_EQ(buttons[0].r, 0.0f);
    EXPECT_FLOAT_EQ(buttons[10].r, 1.0f);
    EXPECT_FLOAT_EQ(buttons[10].g, 0.0f);
    EXPECT_EQ(buttons[4].x, 175 + 64 * 4);
    const auto ticks = drawLog.spritesOf(FRAME_TICK);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].x, 175);
    EXPECT_EQ(drawLog.spritesOf(FRAME_CROSS).size(), 8u) << "worlds 3 to 10 are locked";
    EXPECT_EQ(drawLog.spritesOf(FRAME_MENU_TILE).size(), 32u * 24u);
    const auto pointer = drawLog.spritesOf(FRAME_POINTER);
    ASSERT_EQ(pointer.size(), 1u);
    EXPECT_EQ(drawLog.calls[drawLog.calls.size() - 2].frame, FRAME_POINTER) << "the pointer is drawn last";
}

TEST_F(MenuTest, OneLeftClickStartsAnOpenWorldOnce) {
    game.worldStatus[1] = WORLD_OPEN;
    game.score = 555;
    game.levelIndex = 4;
    pointAt(260, 230, BUTTON_LEFT);
    EXPECT_EQ(game.state, STATE_PLAY);
    EXPECT_EQ(game.worldIndex, 1);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.levelIndex, 0);
    EXPECT_EQ(game.clock, 99);
    ASSERT_EQ(drawLog.texturesLoaded.size(), 1u);
    EXPECT_EQ(drawLog.texturesLoaded[0], "gfx/bkgs/2.tga");
    const auto loading = drawLog.of(DrawOp::PrintShadowed);
    int messages = 0;
    for (const DrawCall& c : loading) messages += c.text == "Loading.... Please Wait";
    EXPECT_EQ(messages, 1);
    const DrawCall* message = drawLog.findText("Loading.... Please Wait");
    EXPECT_FALSE(message->afterSprite) << "printed first in its own frame";
    EXPECT_EQ(drawLog.framesBegun, 2) << "the loading message has a frame of its own, after the menu's";
    EXPECT_EQ(drawLog.framesEnded, 2);
}

TEST_F(MenuTest, ArrowsSelectTheWorldsThatStartAndEnterStartsTheSelectedOne) {
    game.worldStatus[0] = WORLD_FINISHED;
    game.worldStatus[1] = WORLD_OPEN;
    game.worldStatus[4] = 5;
    game.worldIndex = 1;
    struct Case {
        const char* keys;
        int32_t selected;  // -1: none shown
    } cases[] = {
        {"E", 1},  // the first key only shows the selection, on the world last played
        {"RR", 4}, {"RRR", 0}, {"RL", 0}, {"RLL", 4}, {"RU", 0}, {"RD", 4},
        {"Rm", -1},  // the pointer moved
    };
    for (const Case& c : cases) {
        changeState(STATE_MENU);
        pressKeys("m");
        pressKeys(c.keys);
        ASSERT_EQ(game.state, STATE_MENU) << c.keys;
        const auto frame = rectangleIn(1.0f, 1.0f, 0.2f);
        EXPECT_EQ(frame.first, c.selected < 0 ? -1 : MENU_BUTTON_LEFT + MENU_BUTTON_SIZE * c.selected) << c.keys;
        if (c.selected >= 0) {
            EXPECT_NE(drawLog.findText(game.worlds[c.selected].name), nullptr) << c.keys;
        }
    }
    pressKeys("RRE");
    EXPECT_EQ(game.state, STATE_PLAY);
    EXPECT_EQ(game.worldIndex, 4);
}

TEST_F(MenuTest, LockedWorldsAndOtherButtonsStartNothing) {
    game.worldStatus[0] = WORLD_OPEN;
    pointAt(200 + 64 * 5, 230, BUTTON_LEFT);  // world 5 is locked
    EXPECT_EQ(game.state, STATE_MENU);
    pointAt(200, 230, BUTTON_RIGHT);
    EXPECT_EQ(game.state, STATE_MENU);
    pointAt(200, 230, BUTTON_MIDDLE);
    EXPECT_EQ(game.state, STATE_MENU);
    pointAt(200, 264, BUTTON_LEFT);  // just below the row
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_TRUE(drawLog.texturesLoaded.empty());
}

TEST_F(MenuTest, AWorldStartGivesTheLastBackgroundBack) {
    // The worlds' pictures, one white pixel each, in a folder of the test's own.
    char* home = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    ASSERT_EQ(system("mkdir -p gfx/bkgs"), 0);
    const unsigned char pixel[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 255, 255, 255};
    for (const char* name : {"gfx/bkgs/1.tga", "gfx/bkgs/2.tga"}) {
        FILE* f = std::fopen(name, "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(pixel, 1, sizeof pixel, f);
        std::fclose(f);
    }
    game.worldStatus[0] = game.worldStatus[1] = WORLD_OPEN;
    levelBackgroundTexture = loadTga("gfx/bkgs/1.tga");  // as at start-up
    const int32_t atStartUp = levelBackgroundTexture;
    ASSERT_GE(atStartUp, 0);

    pointAt(260, 230, BUTTON_LEFT);  // world 1
    const int32_t first = levelBackgroundTexture;
    EXPECT_EQ(drawLog.texturesReleased, std::vector<int32_t>{atStartUp});
    EXPECT_EQ(sprites.frames[FRAME_BACKGROUND].texture, static_cast<uint32_t>(first));
    game.state = STATE_MENU;
    pointAt(200, 230, BUTTON_LEFT);  // world 0
    EXPECT_EQ(drawLog.texturesReleased, std::vector<int32_t>{first});

    // A picture that cannot be loaded still gives the last one back, and
    // leaves nothing to give back at the next start.
    ASSERT_EQ(unlink("gfx/bkgs/1.tga"), 0);
    const int32_t second = levelBackgroundTexture;
    for (int start = 0; start < 2; ++start) {
        game.state = STATE_MENU;
        testing::internal::CaptureStdout();
        pointAt(200, 230, BUTTON_LEFT);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(levelBackgroundTexture, -1);
        EXPECT_EQ(drawLog.texturesReleased, start == 0 ? std::vector<int32_t>{second} : std::vector<int32_t>{});
    }
    ASSERT_EQ(chdir(home), 0);
    std::free(home);
}

TEST_F(MenuTest, AStatusBeyondFinishedCanBeStartedWithoutAMarker) {
    game.worldStatus[2] = 5;
    pointAt(175 + 64 * 2 + 10, 230, BUTTON_LEFT);
    EXPECT_EQ(game.state, STATE_PLAY);
    EXPECT_EQ(game.worldIndex, 2);
}

// The pointed world's levels cleared in par or fewer pushes, of those with
// a par; pars come from the world's level file in levels/.
TEST_F(MenuTest, CountsTheLevelsClearedAtPar) {
    char* home = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    ASSERT_EQ(system("mkdir levels && { seq 2560 | sed s/.*/0/; printf '5\\n0\\n3\\n7\\n4\\n0\\n0\\n0\\n9\\n8\\n'; } >levels/Pars.txt"), 0);
    game.worlds[2].levelFile = "levels/Pars.txt";
    // At par, under it, over it, without a par, and another level file's.
    for (auto [level, pushes] : std::vector<std::pair<int32_t, int32_t>>{{1, 5}, {3, 2}, {4, 8}, {2, 1}})
        bestPushes.offer("Pars.txt", level, pushes);
    bestPushes.offer("Other.txt", 5, 1);
    pointAt(175 + 64 * 2 + 10, 230);
    EXPECT_NE(drawLog.findText("Cleared at par : 2 / 5"), nullptr);
    pointAt(175 + 64 * 3 + 10, 230);
    EXPECT_EQ(drawLog.of(DrawOp::PrintTwoValues).size(), 0u) << "a world whose level file gives no par";
    ASSERT_EQ(chdir(home), 0);
    std::free(home);
}

}  // namespace
