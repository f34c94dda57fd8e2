#include <gtest/gtest.h>

#include "game/game_context.h"

namespace {

class BoardQueryTest : public ::testing::Test {
protected:
    GameContext game;

    Block& place(int slot, int x, int y) {
        Block& b = game.blocks[slot];
        b.alive = 1;
        b.slot = slot;
        b.x = x;
        b.y = y;
        b.kind = 4;
        return b;
    }
};

TEST_F(BoardQueryTest, CellAtMapsPixelsToCells) {
    game.board[0][0] = 5;
    game.board[15][15] = 6;
    game.board[3][2] = 7;
    EXPECT_EQ(game.cellAt(384, 224), 5);
    EXPECT_EQ(game.cellAt(415, 255), 5);
    EXPECT_EQ(game.cellAt(895, 735), 6);
    EXPECT_EQ(game.cellAt(384 + 64 + 31, 224 + 96), 7);
}

TEST_F(BoardQueryTest, CellAtOffTheBoardIsSolid) {
    for (int r = 0; r < BOARD_SIZE; ++r)
        for (int c = 0; c < BOARD_SIZE; ++c) game.board[r][c] = CELL_EMPTY;
    // Just outside every edge, including the pixels that truncating division
    // would fold back onto row or column 0.
    EXPECT_EQ(game.cellAt(383, 300), 0);
    EXPECT_EQ(game.cellAt(360, 300), 0);
    EXPECT_EQ(game.cellAt(500, 223), 0);
    EXPECT_EQ(game.cellAt(500, 200), 0);
    EXPECT_EQ(game.cellAt(896, 300), 0);
    EXPECT_EQ(game.cellAt(500, 736), 0);
    EXPECT_EQ(game.cellAt(-100000, 99999), 0);
    EXPECT_EQ(game.cellAt(INT32_MIN, INT32_MAX), 0);
}

TEST_F(BoardQueryTest, BlockAtUsesAnOpen31PixelBox) {
    place(0, 416, 256);
    EXPECT_EQ(game.blockAt(417, 257), 0);
    EXPECT_EQ(game.blockAt(446, 286), 0);
    EXPECT_EQ(game.blockAt(416, 270), NO_BLOCK) << "the left edge is outside";
    EXPECT_EQ(game.blockAt(430, 256), NO_BLOCK) << "the top edge is outside";
    EXPECT_EQ(game.blockAt(447, 270), NO_BLOCK) << "31 pixels right is outside";
    EXPECT_EQ(game.blockAt(430, 287), NO_BLOCK) << "31 pixels below is outside";
}

TEST_F(BoardQueryTest, BlockAtFindsTheLowestLiveSlot) {
    place(7, 416, 256);
    place(3, 420, 260);
    EXPECT_EQ(game.blockAt(430, 270), 3);
    game.blocks[3].alive = 0;
    game.blocks[3].marked = 1;
    EXPECT_EQ(game.blockAt(430, 270), 7) << "dead blocks are ignored, marked or not";
    game.blocks[7].alive = 0;
    EXPECT_EQ(game.blockAt(430, 270), NO_BLOCK);
}

}  // namespace
