#include <gtest/gtest.h>

#include "app/input_state.h"
#include "app/key_state.h"
#include "app/shell.h"
#include "game/game_context.h"
#include "render/sprite_sheet.h"

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        game = GameContext{};
        input = {0, 0, BUTTON_NONE};
    }
};

constexpr int DOWN = 0;
constexpr int UP = 1;

TEST_F(InputTest, FirstPressOfAFrameWins) {
    onMouse(BUTTON_LEFT, DOWN, 10, 20);
    onMouse(BUTTON_RIGHT, DOWN, 30, 40);
    EXPECT_EQ(input.pendingButton, BUTTON_LEFT);
    EXPECT_EQ(input.mouseX, 30) << "the later press still moves the pointer";
    EXPECT_EQ(input.mouseY, 40);

    // The frame ends: the press is gone, and the next frame takes a new one.
    game.state = 0;
    onDisplay();
    EXPECT_EQ(input.pendingButton, BUTTON_NONE);
    onMouse(BUTTON_RIGHT, DOWN, 5, 6);
    EXPECT_EQ(input.pendingButton, BUTTON_RIGHT);
}

TEST_F(InputTest, ReleasesOnlyMoveThePointer) {
    onMouse(BUTTON_LEFT, UP, 100, 200);
    EXPECT_EQ(input.pendingButton, BUTTON_NONE);
    EXPECT_EQ(input.mouseX, 100);
    EXPECT_EQ(input.mouseY, 200);
    onMouse(BUTTON_MIDDLE, DOWN, 1, 2);
    EXPECT_EQ(input.pendingButton, BUTTON_MIDDLE);
}

TEST_F(InputTest, MotionWithAndWithoutAButtonMovesThePointer) {
    onMotion(300, 400);
    EXPECT_EQ(input.mouseX, 300);
    EXPECT_EQ(input.mouseY, 400);
    onPassiveMotion(7, 8);
    EXPECT_EQ(input.mouseX, 7);
    EXPECT_EQ(input.mouseY, 8);
    EXPECT_EQ(input.pendingButton, BUTTON_NONE);
}

TEST_F(InputTest, ThePointerIsMappedOntoTheLayoutAsThePictureIsStretched) {
    struct Case {
        int windowW, windowH;
        int x, y;            // window pixels
        int32_t layoutX, layoutY;
    };
    const Case cases[] = {
        {1024, 768, 0, 0, 0, 0},
        {1024, 768, 1023, 767, 1023, 767},  // one to one at the layout's own size
        {2048, 1536, 410, 464, 205, 232},   // world 0's button, drawn twice as large
        {2048, 1536, 2047, 1535, 1023, 767},
        {800, 600, 160, 181, 205, 232},     // world 0's button, drawn smaller
        {800, 600, 663, 414, 849, 530},     // the board's column 14, out of reach unmapped
        {800, 600, 799, 599, 1023, 767},
        {800, 600, -10, 700, -13, 896},     // dragged outside the window
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.windowW << "x" << c.windowH << " at " << c.x << ", " << c.y);
        setWindowSize(c.windowW, c.windowH);
        for (int callback = 0; callback < 3; ++callback) {
            input = {-1, -1, BUTTON_NONE};
            if (callback == 0) onMouse(BUTTON_LEFT, DOWN, c.x, c.y);
            if (callback == 1) onMotion(c.x, c.y);
            if (callback == 2) onPassiveMotion(c.x, c.y);
            EXPECT_EQ(input.mouseX, c.layoutX) << "callback " << callback;
            EXPECT_EQ(input.mouseY, c.layoutY) << "callback " << callback;
        }
    }
    // A window shrunk to nothing keeps the last size it had.
    setWindowSize(0, 0);
    onPassiveMotion(160, 181);
    EXPECT_EQ(input.mouseX, 205);
    setWindowSize(SCREEN_WIDTH, SCREEN_HEIGHT);
}

TEST_F(InputTest, EscapeGoesToTheMenuFromEveryOtherState) {
    for (int32_t state : {STATE_SPLASH, STATE_PLAY, STATE_LEVEL_COMPLETE, STATE_TIME_OVER, 0, 9}) {
        game.state = state;
        game.score = 77;
        game.clock = 42;
        game.levelIndex = 3;
        onKeyboard(KEY_ESCAPE, 0, 0);
        EXPECT_EQ(game.state, STATE_MENU) << "from state " << state;
        EXPECT_EQ(game.score, 77) << "the level is left as it is";
        EXPECT_EQ(game.clock, 42);
        EXPECT_EQ(game.levelIndex, 3);
    }
}

TEST_F(InputTest, OtherKeysAreIgnored) {
    game.state = STATE_PLAY;
    for (int key : {32, 113, 13, 0, 255}) onKeyboard(static_cast<unsigned char>(key), 0, 0);
    EXPECT_EQ(game.state, STATE_PLAY);
}

TEST_F(InputTest, EscapeOnTheMenuEndsTheGameWithStatusZero) {
    game.state = STATE_MENU;
    EXPECT_EXIT(onKeyboard(KEY_ESCAPE, 0, 0), ::testing::ExitedWithCode(0), "");
}

TEST(KeyStateTest, DownOrPressedSinceTheLastQuery) {
    KeyState keys;
    EXPECT_FALSE(keys.downOrPressedSinceLastQuery(' '));
    keys.press(' ');
    EXPECT_TRUE(keys.downOrPressedSinceLastQuery(' '));
    EXPECT_TRUE(keys.downOrPressedSinceLastQuery(' ')) << "still held";
    keys.release(' ');
    EXPECT_FALSE(keys.downOrPressedSinceLastQuery(' '));
    // A tap between two queries is not missed, and is answered once.
    keys.press(' ');
    keys.release(' ');
    EXPECT_TRUE(keys.downOrPressedSinceLastQuery(' '));
    EXPECT_FALSE(keys.downOrPressedSinceLastQuery(' '));
    // Other keys do not count as the space bar.
    keys.press('x');
    EXPECT_FALSE(keys.downOrPressedSinceLastQuery(' '));
}

}  // namespace
