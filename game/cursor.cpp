#include "game/cursor.h"

#include <cstdlib>

namespace {

bool movable(const Block& b) { return b.alive && (b.motion == MOTION_NORMAL || b.motion == MOTION_ROCK); }

bool validSlot(int32_t slot) { return slot >= 0 && slot < MAX_BLOCKS; }

// A block's column, and the row its middle is in, so a block in mid-fall
// counts in the row it mostly covers.
int32_t columnOf(const Block& b) { return (b.x - BOARD_LEFT) / CELL_PIXELS; }
int32_t rowOf(const Block& b) { return (b.y - BOARD_TOP + CELL_PIXELS / 2) / CELL_PIXELS; }

}  // namespace

bool cursorVisits(const GameContext& game, int32_t slot) {
    if (!validSlot(slot)) return false;
    const Block& b = game.blocks[slot];
    if (!movable(b) || b.marked) return false;
    // The same probe a push makes: tar right under the block holds it.
    const int32_t below = game.blockAt(b.x + 16, b.y + 33);
    return below == NO_BLOCK || game.blocks[below].motion != MOTION_ICKY;
}

int32_t cursorFirst(const GameContext& game) {
    for (int32_t i = 0; i < MAX_BLOCKS; ++i)
        if (cursorVisits(game, i)) return i;
    return NO_BLOCK;
}

int32_t cursorStep(const GameContext& game, int32_t from, CursorDirection direction) {
    if (!validSlot(from) || !game.blocks[from].alive) return from;
    const Block& here = game.blocks[from];
    const bool sideways = direction == CURSOR_LEFT || direction == CURSOR_RIGHT;
    const int32_t sign = (direction == CURSOR_RIGHT || direction == CURSOR_DOWN) ? 1 : -1;
    int32_t best = from;
    bool bestWrapped = true;
    int32_t bestCost = 0, bestAcross = 0;
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        if (i == from || !cursorVisits(game, i)) continue;
        const Block& b = game.blocks[i];
        const int32_t dColumn = columnOf(b) - columnOf(here);
        const int32_t dRow = rowOf(b) - rowOf(here);
        int32_t along = sign * (sideways ? dColumn : dRow);
        const int32_t across = std::abs(sideways ? dRow : dColumn);
        if (along == 0) continue;  // beside it the other way: the other arrows reach it
        const bool wrapped = along < 0;
        if (wrapped) along += BOARD_SIZE;
        const int32_t cost = along + 2 * across;
        // Ahead of any wrapped block; then the cheapest, the least across,
        // the lowest slot.
        const bool better = best == from || (!wrapped && bestWrapped) ||
                            (wrapped == bestWrapped &&
                             (cost < bestCost || (cost == bestCost && across < bestAcross)));
        if (better) {
            best = i;
            bestWrapped = wrapped;
            bestCost = cost;
            bestAcross = across;
        }
    }
    return best;
}

int32_t cursorNearest(const GameContext& game, int32_t x, int32_t y) {
    int32_t best = NO_BLOCK;
    int64_t bestDistance = 0;
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        if (!cursorVisits(game, i)) continue;
        const int64_t dx = game.blocks[i].x - x, dy = game.blocks[i].y - y;
        const int64_t distance = dx * dx + dy * dy;
        if (best == NO_BLOCK || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

int32_t cursorFollow(const GameContext& game, int32_t slot, int32_t lastX, int32_t lastY) {
    if (validSlot(slot) && movable(game.blocks[slot])) return slot;
    return cursorNearest(game, lastX, lastY);
}
