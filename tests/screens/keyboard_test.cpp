// The keyboard's cursor on tutorial boards, driven key by key through the
// shell as the program drives it, and seen where the play screen draws it.
#include "screens/screen_fixture.h"

namespace {

class KeyboardTest : public ScreenTest {
protected:
    // The cell of the block the cursor is drawn round, or {-1, -1}.
    std::pair<int32_t, int32_t> cursorCell() {
        const auto corner = rectangleIn(0.3f, 1.0f, 1.0f);
        if (corner.first < 0) return corner;
        const int32_t half = CELL_PIXELS / 2;
        return {(corner.first + half - BOARD_LEFT) / CELL_PIXELS, (corner.second + half - BOARD_TOP) / CELL_PIXELS};
    }
};

TEST_F(KeyboardTest, CursorStepsToTheNearestBlockWrapsFollowsAndMovesOnWhenItsBlockGoes) {
    game.loadLevelSet(TOLVANE_LEVEL_DIR "/Tutorial.txt");
    struct Case {
        int32_t level;  // of the tutorial, from 1
        const char* keys;
        int32_t column, row;
    } cases[] = {
        // Level 4: a rock over a block in column 4, a rock in 7 and a block in 11 on row 9, a pit under column 9.
        {4, "R", 4, 8},           // the first key only shows the cursor, on the level's first block
        {4, "RR", 7, 9},          // a column and a row away comes before seven columns
        {4, "RD", 4, 9},
        {4, "RU", 4, 9},          // nothing above: on from the bottom
        {4, "RL", 11, 9},         // nothing left: on from the right wall
        {4, "RRRR", 4, 9},        // past the last on the right, on from the left wall in its own row
        {4, "RLzz..........................", 9, 10},  // pushed into the pit, it falls with the cursor on it
        // Level 5: the blocks standing on tar are passed over.
        {5, "RL", 8, 6},
        {5, "RD", 8, 9},
        // Level 1: b a . . a b on one row.
        {1, "RLLzz.........................", 5, 9},  // the pair goes: on to the nearest block left
        {1, "RLLZ", 9, 9},        // a push between ticks waits for the tick
        {1, "RLLZ.", 8, 9},
        {1, "RLLzu", 9, 9},       // undone, the block and the cursor go back
        {1, "RLLzr", 5, 9},       // the dustbin: the cursor starts the level again too
        {1, "RLLpzp.", 9, 9},     // paused, Z pushes nothing
        {1, "RLm", -1, -1},       // the pointer moved: the cursor hides
    };
    for (const Case& c : cases) {
        pressKeys("m");  // the mouse was last used
        game.levelIndex = c.level - 1;
        game.installLevel(c.level - 1);
        changeState(STATE_PLAY);
        pressKeys(c.keys);
        EXPECT_EQ(cursorCell(), std::make_pair(c.column, c.row)) << "level " << c.level << ", keys " << c.keys;
    }
}

}  // namespace
