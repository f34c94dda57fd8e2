#include <gtest/gtest.h>

#include "app/input_state.h"
#include "app/key_state.h"
#include "app/shell.h"
#include "game/game_context.h"

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetGame();
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

TEST_F(InputTest, EscapeGoesToTheMenuFromEveryOtherState) {
    for (int32_t state : {STATE_SPLASH, STATE_PLAY, STATE_LEVEL_COMPLETE, STATE_TIME_OVER, 0, 9}) {
        game.state = state;
        game.score = 77;
        game.clock = 42;
        levelIndex = 3;
        onKeyboard(KEY_ESCAPE, 0, 0);
        EXPECT_EQ(game.state, STATE_MENU) << "from state " << state;
        EXPECT_EQ(game.score, 77) << "the level is left as it is";
        EXPECT_EQ(game.clock, 42);
        EXPECT_EQ(levelIndex, 3);
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
