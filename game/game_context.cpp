#include "game/game_context.h"

#include <cstring>

GameContext game;

int32_t levelIndex = 0;
int32_t elimDelay = 0;
int32_t clockSubTicks = 120;
uint8_t comboFlag = 1;

void resetGame() {
    std::memset(&game, 0, sizeof game);
    levelIndex = 0;
    elimDelay = 0;
    clockSubTicks = 120;
    comboFlag = 1;
}

int32_t GameContext::cellAt(int32_t px, int32_t py) const {
    // Truncating division, as the board rows and columns are counted from the
    // board's corner; a point left of or above it lands on a negative index
    // or on column 0 through truncation, so test the pixel range itself.
    if (px < BOARD_LEFT || py < BOARD_TOP) return 0;
    const int32_t column = (px - BOARD_LEFT) / CELL_PIXELS;
    const int32_t row = (py - BOARD_TOP) / CELL_PIXELS;
    if (column >= BOARD_SIZE || row >= BOARD_SIZE) return 0;
    return board[row][column];
}

int32_t GameContext::blockAt(int32_t px, int32_t py) const {
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        const Block& b = blocks[i];
        if (b.alive && b.x < px && px < b.x + 31 && b.y < py && py < b.y + 31) return i;
    }
    return NO_BLOCK;
}
