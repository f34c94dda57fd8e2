// The player's clicks: the dustbin restart and the one-cell pushes.
#include "game/game_context.h"

namespace {

// The dustbin icon's active area, an open rectangle inside its 64-pixel box.
constexpr int32_t DUSTBIN_LEFT = 260;
constexpr int32_t DUSTBIN_TOP = 520;
constexpr int32_t DUSTBIN_SIZE = 64;

constexpr double TRAIL_ALPHA_STEP = 0.04;

// Strictly inside a block's full 32-pixel box; its edge pixels do not count.
bool insideBox(const Block& block, int32_t px, int32_t py) {
    return block.x < px && px < block.x + CELL_PIXELS && block.y < py && py < block.y + CELL_PIXELS;
}

}  // namespace

void GameContext::handleClick(const Click& click, TickEvents& events) {
    const int32_t button = click.button;
    if (button == BUTTON_NONE) return;
    const int32_t mx = click.x;
    const int32_t my = click.y;

    if (button == BUTTON_LEFT && DUSTBIN_LEFT < mx && mx < DUSTBIN_LEFT + DUSTBIN_SIZE && DUSTBIN_TOP < my &&
        my < DUSTBIN_TOP + DUSTBIN_SIZE) {
        events.add(EVENT_RESTARTED);
        installLevel(levelIndex);
    }

    // Any click on a block, moved or not, spends the chain bonus. One click
    // moves one block at most: should two blocks ever overlap under the
    // pointer, the first that moves takes the click.
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        Block& block = blocks[i];
        if (!block.alive || !insideBox(block, mx, my)) continue;
        const int32_t oldX = block.x;
        if (button == BUTTON_LEFT) {
            pushLeft(block, events);
            comboFlag = 0;
        } else if (button == BUTTON_RIGHT) {
            pushRight(block, events);
            comboFlag = 0;
        }
        if (block.x != oldX) return;
    }
}

namespace {

// Would another live block hold the centre of this block standing at (x, y)?
bool centreTaken(const GameContext& g, const Block& block, int32_t x, int32_t y) {
    for (int32_t j = 0; j < MAX_BLOCKS; ++j) {
        const Block& other = g.blocks[j];
        if (other.alive && j != block.slot && insideBox(other, x + 16, y + 16)) return true;
    }
    return false;
}

// Would this block, standing at (x, y), overlap another live block at all?
bool overlapsAny(const GameContext& g, const Block& block, int32_t x, int32_t y) {
    for (int32_t j = 0; j < MAX_BLOCKS; ++j) {
        const Block& other = g.blocks[j];
        if (other.alive && j != block.slot && other.x < x + CELL_PIXELS && x < other.x + CELL_PIXELS &&
            other.y < y + CELL_PIXELS && y < other.y + CELL_PIXELS)
            return true;
    }
    return false;
}

// One push, by +32 (right) or -32 (left). The target column must be open
// floor at the block's top edge and at its middle, no other block may hold
// the block's new centre, and where the block comes to stand it may overlap
// no other block: an ordinary block pushed in mid-fall is lifted to the top
// of its row, which may be another block's cell, and a block left overlapping
// one below would be pushed up out of it, into whatever stands above.
void push(GameContext& g, Block& block, int32_t step, int32_t trailDirection, TickEvents& events) {
    if (block.motion == MOTION_LIFT || block.motion == MOTION_ICKY) return;
    // Tar holds whatever stands on it.
    const int32_t below = g.blockAt(block.x + 16, block.y + 33);
    if (below != NO_BLOCK && g.blocks[below].motion == MOTION_ICKY) return;

    const int32_t oldX = block.x;
    const int32_t newX = block.x + step;
    if (g.cellAt(newX, block.y) == CELL_EMPTY && g.cellAt(newX, block.y + 16) == CELL_EMPTY) {
        const int32_t landedY = block.motion == MOTION_NORMAL ? block.y - block.y % CELL_PIXELS : block.y;
        if (!centreTaken(g, block, newX, block.y) && !overlapsAny(g, block, newX, landedY)) block.x = newX;
    }
    if (block.x != oldX) {
        g.spawnTrail(block.x, block.y, trailDirection, block.kind);
        g.snapToRow(block.slot);
        events.add(EVENT_PUSHED);
    }
    // Even a refused push makes the board wait before matching.
    g.settleTicks = SETTLE_TICKS;
}

}  // namespace

void GameContext::pushLeft(Block& block, TickEvents& events) {
    push(*this, block, -CELL_PIXELS, TRAIL_BEHIND_LEFT_PUSH, events);
}

void GameContext::pushRight(Block& block, TickEvents& events) {
    push(*this, block, CELL_PIXELS, TRAIL_BEHIND_RIGHT_PUSH, events);
}

void GameContext::spawnTrail(int32_t x, int32_t y, int32_t direction, int32_t kind) {
    // The smear runs back towards where the block came from, fading as it goes.
    float alpha = 1.0f;
    for (Trail& trail : trails) {
        trail.x = x;
        trail.y = y;
        trail.active = 1;
        trail.alpha = alpha;
        trail.kind = kind;
        if (direction == TRAIL_BEHIND_RIGHT_PUSH) --x;
        if (direction == TRAIL_BEHIND_LEFT_PUSH) ++x;
        alpha = static_cast<float>(alpha - TRAIL_ALPHA_STEP);
    }
}

void GameContext::snapToRow(int32_t slot) {
    // A block pushed in mid-fall lands on the top of the row its top edge is in.
    if (slot < 0 || slot >= MAX_BLOCKS) return;
    Block& block = blocks[slot];
    if (block.motion != MOTION_NORMAL) return;
    const int32_t offset = block.y % CELL_PIXELS;
    if (offset != 0) block.y -= offset;
}
