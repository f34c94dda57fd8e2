#include "game/game_context.h"

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

int32_t stateAfter(int32_t state, const TickEvents& events) {
    for (int32_t i = 0; i < events.count; ++i) {
        switch (events.list[i]) {
        case EVENT_TIME_OVER: state = STATE_TIME_OVER; break;
        case EVENT_LEVEL_CLEARED: state = STATE_LEVEL_COMPLETE; break;
        // A restart in the tick the time runs out puts the level back in
        // play with its clock at 0: the next tick runs out of time again.
        case EVENT_RESTARTED:
        case EVENT_NEXT_LEVEL: state = STATE_PLAY; break;
        case EVENT_WORLD_FINISHED: state = STATE_MENU; break;
        default: break;
        }
    }
    return state;
}

// [SECTION] Worlds and progress

void GameContext::beginWorld(int32_t j) {
    worldIndex = j;
    score = 0;
    levelIndex = 0;
    clock = LEVEL_CLOCK;
    installLevel(levelIndex);
}

void GameContext::retryLevel() {
    // A retry starts the whole run's score again, not only the level's.
    score = 0;
    clock = LEVEL_CLOCK;
    installLevel(levelIndex);
}

void GameContext::unlockNextWorld() {
    for (int w = 0; w < OPENABLE_WORLDS; ++w) {
        if (worldStatus[w] == WORLD_LOCKED) {
            worldStatus[w] = WORLD_OPEN;
            return;
        }
    }
}

void GameContext::finishWorld() {
    if (worldIndex < 0 || worldIndex >= WORLD_COUNT) return;
    if (worldStatus[worldIndex] == WORLD_OPEN) unlockNextWorld();
    worldStatus[worldIndex] = WORLD_FINISHED;
    // A relaxed world's score has the whole clock counted in at every level.
    if (!relaxedClock && bestScore[worldIndex] < score) bestScore[worldIndex] = score;
}
